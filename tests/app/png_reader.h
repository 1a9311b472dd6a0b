#pragma once
// Reads a PNG written by the demo back into RGB bytes, top row first.

#include <cstdint>
#include <string>
#include <vector>

namespace lumidor::testing {

struct TPngPicture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Rgb;

    /// The red, green and blue bytes of pixel (x, y), y counted from the top.
    const std::uint8_t* At(int x, int y) const { return Rgb.data() + (std::size_t(y) * Width + x) * 3; }
};

/// False when the file is missing or not a PNG.
bool ReadPng(const std::string& fileName, TPngPicture& picture);

} // namespace lumidor::testing
