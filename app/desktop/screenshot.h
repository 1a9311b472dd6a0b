#pragma once
// Screenshots: the back buffer read before the swap and written as a PNG file.

#include <cstdint>
#include <string>
#include <vector>

namespace lumidor {

/// An RGB picture, top row first, 3 bytes per pixel.
struct TRgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;
};

/// Reverses the row order of a picture of `height` rows of `rowBytes` bytes each.
void FlipRows(std::vector<std::uint8_t>& pixels, std::size_t rowBytes, int height);

/// The back buffer's lower-left width x height pixels as a top-down RGB picture (glFinish first).
TRgbImage ReadBackBufferImage(int width, int height);

/// Writes the picture as PNG; false with `error` set when the file cannot be written.
bool WritePng(const std::string& fileName, const TRgbImage& image, std::string& error);

} // namespace lumidor
