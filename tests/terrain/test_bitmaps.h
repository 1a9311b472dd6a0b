#pragma once
// Writes small Windows bitmaps by hand so the tests need no image library and no data files.

#include "font/rgb_image.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace lumidor::testing {

/// A picture of the given size filled with one colour.
inline TRgbImage SolidImage(std::int32_t width, std::int32_t height, std::uint8_t red, std::uint8_t green,
                            std::uint8_t blue) {
    TRgbImage image{width, height, {}};
    for (std::int64_t i = 0; i < std::int64_t(width) * height; ++i) {
        image.Pixels.insert(image.Pixels.end(), {red, green, blue});
    }
    return image;
}

/// Sets pixel (x, y), y downwards.
inline void SetPixel(TRgbImage& image, std::int32_t x, std::int32_t y, std::uint8_t red, std::uint8_t green,
                     std::uint8_t blue) {
    std::uint8_t* pixel =
        image.Pixels.data() + (std::size_t(y) * std::size_t(image.Width) + std::size_t(x)) * 3;
    pixel[0] = red;
    pixel[1] = green;
    pixel[2] = blue;
}

namespace detail {
inline void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}
inline void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xffff);
    Put16(out, value >> 16);
}
inline void Header(std::vector<std::uint8_t>& out, const TRgbImage& image, std::uint32_t bits,
                   std::uint32_t paletteBytes, std::uint32_t imageBytes) {
    const std::uint32_t offset = 14 + 40 + paletteBytes;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageBytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, std::uint32_t(image.Width));
    Put32(out, std::uint32_t(image.Height)); // positive: bottom row first
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, 0); // BI_RGB
    Put32(out, imageBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, paletteBytes / 4);
    Put32(out, 0);
}
inline void Save(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
} // namespace detail

/// Saves `image` as an uncompressed 24-bit bitmap (rows bottom first, padded to 4 bytes).
inline void WriteBmp24(const std::string& path, const TRgbImage& image) {
    const std::uint32_t stride = (std::uint32_t(image.Width) * 3 + 3) & ~3u;
    std::vector<std::uint8_t> out;
    detail::Header(out, image, 24, 0, stride * std::uint32_t(image.Height));
    for (std::int32_t y = image.Height - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (std::int32_t x = 0; x < image.Width; ++x) {
            const std::uint8_t* pixel = PixelAt(image, x, y);
            out.insert(out.end(), {pixel[2], pixel[1], pixel[0]}); // stored blue, green, red
        }
        out.resize(start + stride, 0);
    }
    detail::Save(path, out);
}

/// Saves `image` as an 8-bit bitmap with a grey palette (entry i = grey i); uses each pixel's red.
inline void WriteBmp8Grey(const std::string& path, const TRgbImage& image) {
    const std::uint32_t stride = (std::uint32_t(image.Width) + 3) & ~3u;
    std::vector<std::uint8_t> out;
    detail::Header(out, image, 8, 256 * 4, stride * std::uint32_t(image.Height));
    for (std::uint32_t i = 0; i < 256; ++i)
        out.insert(out.end(), {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0});
    for (std::int32_t y = image.Height - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (std::int32_t x = 0; x < image.Width; ++x)
            out.push_back(PixelAt(image, x, y)[0]);
        out.resize(start + stride, 0);
    }
    detail::Save(path, out);
}

} // namespace lumidor::testing
