// The sizes and pixels gluBuild2DMipmaps would upload, computed on the CPU for the WebGL renderer,
// which then lets WebGL make the smaller levels.

#include "web/glu_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lumidor::web {

int NearestPowerOfTwo(int value) {
    if (value <= 0) return 0;
    constexpr int kLargest = 1 << 30;
    int power = 1;
    for (;;) {
        if (value == 1) return power;
        if (value == 3) return power >= kLargest / 2 ? kLargest : power * 4; // 3 x 2^29 and up would overflow
        value >>= 1;
        power *= 2;
    }
}

TImageSize MipmapBaseSize(int width, int height, int maxSize) {
    if (width < 1 || height < 1) return {};
    TImageSize size{NearestPowerOfTwo(width), NearestPowerOfTwo(height)};
    while (maxSize > 0 && (size.Width > maxSize || size.Height > maxSize)) {
        size.Width = std::max(1, size.Width / 2);
        size.Height = std::max(1, size.Height / 2);
    }
    return size;
}

std::vector<std::uint8_t> UnpackRows(const std::uint8_t* data, int width, int height, int channels,
                                     int alignment) {
    const bool knownAlignment = alignment == 1 || alignment == 2 || alignment == 4 || alignment == 8;
    if (!data || width < 1 || height < 1 || channels < 1 || !knownAlignment) return {};
    const std::size_t rowBytes = std::size_t(width) * std::size_t(channels);
    const std::size_t stride =
        (rowBytes + std::size_t(alignment) - 1) / std::size_t(alignment) * std::size_t(alignment);
    std::vector<std::uint8_t> packed(rowBytes * std::size_t(height));
    // The last row is read only as far as its pixels: GL reads no padding after it.
    for (std::size_t y = 0; y < std::size_t(height); ++y)
        std::memcpy(packed.data() + y * rowBytes, data + y * stride, rowBytes);
    return packed;
}

std::vector<std::uint8_t> ScaleImage(const std::uint8_t* in, int width, int height, int channels,
                                     int newWidth, int newHeight) {
    if (!in || width < 1 || height < 1 || channels < 1 || newWidth < 1 || newHeight < 1) return {};
    std::vector<std::uint8_t> out(std::size_t(newWidth) * std::size_t(newHeight) * std::size_t(channels));
    const float sx = float(width) / float(newWidth), sy = float(height) / float(newHeight);
    for (int y = 0; y < newHeight; ++y)
        for (int x = 0; x < newWidth; ++x) {
            // The new pixel's footprint in source pixels: [x0, x1) x [y0, y1).
            const float x0 = float(x) * sx, x1 = x0 + sx, y0 = float(y) * sy, y1 = y0 + sy;
            for (int c = 0; c < channels; ++c) {
                float sum = 0.0f, weight = 0.0f;
                for (int iy = int(y0); iy < int(std::ceil(y1)) && iy < height; ++iy)
                    for (int ix = int(x0); ix < int(std::ceil(x1)) && ix < width; ++ix) {
                        const float wx = std::min(x1, float(ix + 1)) - std::max(x0, float(ix));
                        const float wy = std::min(y1, float(iy + 1)) - std::max(y0, float(iy));
                        const float w = std::max(wx, 0.0f) * std::max(wy, 0.0f);
                        sum += w * float(in[(std::size_t(iy) * std::size_t(width) + std::size_t(ix)) *
                                                std::size_t(channels) +
                                            std::size_t(c)]);
                        weight += w;
                    }
                out[(std::size_t(y) * std::size_t(newWidth) + std::size_t(x)) * std::size_t(channels) +
                    std::size_t(c)] = std::uint8_t(weight > 0.0f ? std::lround(sum / weight) : 0);
            }
        }
    return out;
}

} // namespace lumidor::web
