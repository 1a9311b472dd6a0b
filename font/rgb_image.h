#pragma once
// A decoded picture as plain RGB bytes, the form in which bitmaps reach the engine (glyph sheets,
// height maps) without the engine knowing how the file was read.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumidor {

/// Width x Height pixels, 3 bytes each (red, green, blue), rows top first, no padding.
struct TRgbImage {
    std::int32_t Width = 0;           ///< pixels, >= 0
    std::int32_t Height = 0;          ///< pixels, >= 0
    std::vector<std::uint8_t> Pixels; ///< Width * Height * 3 bytes
};

/// True when (x, y) (x to the right, y downwards, 0-based) lies inside the picture.
inline bool ContainsPixel(const TRgbImage& image, std::int64_t x, std::int64_t y) {
    return x >= 0 && y >= 0 && x < image.Width && y < image.Height;
}

/// First of the three bytes of pixel (x, y); the pixel must lie inside the picture.
inline const std::uint8_t* PixelAt(const TRgbImage& image, std::int64_t x, std::int64_t y) {
    return image.Pixels.data() + (std::size_t(y) * std::size_t(image.Width) + std::size_t(x)) * 3;
}

} // namespace lumidor
