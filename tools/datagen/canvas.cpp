#include "tools/datagen/canvas.h"

#include <algorithm>
#include <cmath>

namespace lumidor::datagen {

TCanvas MakeCanvas(int width, int height, int channels) {
    return {width, height, channels,
            std::vector<float>(std::size_t(width) * std::size_t(height) * std::size_t(channels))};
}

float* PixelAt(TCanvas& canvas, int x, int y) {
    return canvas.Values.data() +
           (std::size_t(y) * std::size_t(canvas.Width) + std::size_t(x)) * std::size_t(canvas.Channels);
}

std::vector<std::uint8_t> ToBytes(const TCanvas& canvas) {
    std::vector<std::uint8_t> bytes(canvas.Values.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = std::uint8_t(std::lround(std::clamp(canvas.Values[i], 0.0f, 1.0f) * 255.0f));
    return bytes;
}

float SmoothStep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float Hash01(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    std::uint32_t h = a * 0x8DA6B343u ^ b * 0xD8163841u ^ c * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return float(h >> 8) / float(1u << 24);
}

float ValueNoise(float x, float y, std::uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const auto ix = std::uint32_t(std::int32_t(fx)), iy = std::uint32_t(std::int32_t(fy));
    auto fade = [](float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); };
    const float tx = fade(x - fx), ty = fade(y - fy);
    const float a = Hash01(ix, iy, seed), b = Hash01(ix + 1, iy, seed);
    const float c = Hash01(ix, iy + 1, seed), d = Hash01(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float FractalNoise(float x, float y, int octaves, std::uint32_t seed) {
    float sum = 0.0f, weight = 0.5f, total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * ValueNoise(x, y, seed + std::uint32_t(i) * 101u);
        total += weight;
        x *= 2.0f;
        y *= 2.0f;
        weight *= 0.5f;
    }
    return sum / total;
}

void BoxBlur(TCanvas& canvas, int radius, int passes) {
    std::vector<float> line;
    const int channels = canvas.Channels;
    auto blurLine = [&](float* first, int count, std::ptrdiff_t step) {
        line.resize(std::size_t(count) * std::size_t(channels));
        for (int i = 0; i < count; ++i)
            for (int c = 0; c < channels; ++c)
                line[std::size_t(i * channels + c)] = first[i * step + c];
        for (int i = 0; i < count; ++i)
            for (int c = 0; c < channels; ++c) {
                // Averaged over the samples inside the picture, so edges keep their level.
                float sum = 0.0f;
                int samples = 0;
                for (int j = std::max(0, i - radius); j <= std::min(count - 1, i + radius); ++j, ++samples)
                    sum += line[std::size_t(j * channels + c)];
                first[i * step + c] = sum / float(samples);
            }
    };
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < canvas.Height; ++y)
            blurLine(PixelAt(canvas, 0, y), canvas.Width, channels);
        for (int x = 0; x < canvas.Width; ++x)
            blurLine(PixelAt(canvas, x, 0), canvas.Height, std::ptrdiff_t(canvas.Width) * channels);
    }
}

} // namespace lumidor::datagen
