// The particle atlas: eight soft white sprites; the particle colour tints them and alpha carries
// their shape. Each tile is painted as a function of (u, v) in [-1, 1], v upwards.

#include "tools/datagen/pictures.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace lumidor::datagen {

namespace {

constexpr float Pi = 3.14159265f;

struct TTexel {
    float Luminance = 1.0f;
    float Alpha = 0.0f;
};

float Gauss(float x, float width) {
    return std::exp(-(x / width) * (x / width));
}

float SegmentDistance(float px, float py, float ax, float ay, float bx, float by) {
    const float dx = bx - ax, dy = by - ay;
    const float t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

TTexel Ring(float u, float v) {
    const float r = std::hypot(u, v);
    return {1.0f, Gauss(r - 0.62f, 0.12f) + 0.12f * Gauss(r, 0.55f)};
}

TTexel SmokePuff(float u, float v) {
    // A lumpy outline from low-frequency noise, soft billows inside, a little lighter on top.
    const float lumps = FractalNoise(u * 1.6f + 11.0f, v * 1.6f + 7.0f, 2, 17);
    const float r = std::hypot(u, v) / (0.7f + 0.32f * lumps);
    const float body = Gauss(r, 0.7f) * SmoothStep(1.1f, 0.6f, r);
    const float billows = FractalNoise(u * 2.6f + 3.0f, v * 2.6f + 5.0f, 3, 29);
    // Thin: smoke presets stack hundreds of puffs with additive blending.
    return {0.8f + 0.14f * billows + 0.06f * v, 0.45f * body * (0.62f + 0.38f * billows)};
}

TTexel SoftSquare(float u, float v) {
    const float m = std::pow(std::pow(std::abs(u), 4.0f) + std::pow(std::abs(v), 4.0f), 0.25f);
    return {1.0f, SmoothStep(0.86f, 0.42f, m)};
}

// Alpha of one tongue of flame: a round bulb of `radius` around (x, bulbY) drawn up into a point
// at tipY, bending sideways more the higher it gets.
float Tongue(float u, float v, float x, float bulbY, float radius, float tipY, float bend) {
    const float rise = std::clamp((v - bulbY) / (tipY - bulbY), 0.0f, 1.0f);
    const float across = u - x - bend * rise * rise;
    float halfWidth = 0.0f;
    if (v < bulbY)
        halfWidth = std::sqrt(std::max(0.0f, radius * radius - (v - bulbY) * (v - bulbY)));
    else
        halfWidth = radius * std::pow(1.0f - rise, 1.4f);
    const float ragged = 0.8f + 0.4f * FractalNoise(u * 3.0f + x * 7.0f, v * 2.0f - 1.0f, 3, 53);
    return SmoothStep(1.0f, 0.15f, std::abs(across) / std::max(halfWidth * ragged, 1e-4f));
}

TTexel Flame(float u, float v) {
    const float main = Tongue(u, v, 0.0f, -0.4f, 0.5f, 0.88f, 0.1f);
    const float left = Tongue(u, v, -0.24f, -0.42f, 0.3f, 0.42f, -0.14f);
    const float right = Tongue(u, v, 0.22f, -0.45f, 0.28f, 0.32f, 0.16f);
    const float core = Tongue(u, v, 0.0f, -0.44f, 0.3f, 0.35f, 0.04f);
    // The base burns thinner, as a flame does where it meets its fuel.
    const float base = SmoothStep(-0.82f, -0.55f, v);
    // Tongues merge like light, not like stacked paper.
    const float alpha = (1.0f - (1.0f - main) * (1.0f - 0.8f * left) * (1.0f - 0.8f * right)) * base;
    return {0.72f + 0.28f * core, std::min(1.0f, alpha * (0.85f + 0.15f * core))};
}

TTexel Glow(float u, float v) {
    const float r = std::hypot(u, v);
    return {1.0f, std::min(1.0f, 0.95f * Gauss(r, 0.26f) + 0.3f * Gauss(r, 0.55f))};
}

TTexel Spark(float u, float v) {
    const float r = std::hypot(u, v);
    const float streak = Gauss(u, 0.06f + 0.05f * Gauss(v, 0.3f)) * Gauss(v, 0.62f);
    return {1.0f, std::min(1.0f, 0.9f * streak + Gauss(r, 0.13f) + 0.22f * Gauss(r, 0.4f))};
}

TTexel StarFlash(float u, float v) {
    const float r = std::hypot(u, v);
    float alpha = Gauss(r, 0.14f) + 0.35f * Gauss(r, 0.36f);
    for (int k = 0; k < 4; ++k) {
        const float angle = float(k) * Pi / 4.0f;
        const float along = std::abs(u * std::cos(angle) + v * std::sin(angle));
        const float across = -u * std::sin(angle) + v * std::cos(angle);
        const bool main = k % 2 == 0;
        const float length = main ? 0.8f : 0.48f;
        const float taper = std::max(0.0f, 1.0f - along / length);
        alpha += (main ? 1.0f : 0.7f) * taper * taper * Gauss(across, 0.012f + 0.05f * taper);
    }
    return {1.0f, std::min(1.0f, alpha)};
}

TTexel Snowflake(float u, float v) {
    float d = 10.0f;
    for (int k = 0; k < 6; ++k) {
        const float angle = Pi / 2.0f + float(k) * Pi / 3.0f;
        const float dx = std::cos(angle), dy = std::sin(angle);
        d = std::min(d, SegmentDistance(u, v, 0.0f, 0.0f, 0.8f * dx, 0.8f * dy));
        for (auto [at, length] : std::array<std::pair<float, float>, 2>{{{0.36f, 0.24f}, {0.6f, 0.16f}}})
            for (float side : {-1.0f, 1.0f}) {
                const float branch = angle + side * Pi / 3.0f;
                d = std::min(d, SegmentDistance(u, v, at * dx, at * dy, at * dx + length * std::cos(branch),
                                                at * dy + length * std::sin(branch)));
            }
    }
    const float r = std::hypot(u, v);
    return {1.0f,
            std::min(1.0f, SmoothStep(0.05f, 0.022f, d) + 0.3f * Gauss(d, 0.09f) + 0.5f * Gauss(r, 0.12f))};
}

using TTileFunction = TTexel (*)(float, float);
constexpr std::array<TTileFunction, 8> Tiles = {Ring, SmokePuff, SoftSquare, Flame,
                                                Glow, Spark,     StarFlash,  Snowflake};

} // namespace

TCanvas MakeAtlas() {
    constexpr int Columns = 4, Rows = 2, Samples = 3;
    TCanvas atlas = MakeCanvas(Columns * AtlasTileSize, Rows * AtlasTileSize, 4);
    const float half = AtlasTileSize / 2.0f;
    for (int tile = 0; tile < Columns * Rows; ++tile) {
        const int left = (tile % Columns) * AtlasTileSize, top = (tile / Columns) * AtlasTileSize;
        for (int py = 0; py < AtlasTileSize; ++py)
            for (int px = 0; px < AtlasTileSize; ++px) {
                // Supersampled, so thin strokes stay smooth; alpha-weighted luminance.
                float alpha = 0.0f, light = 0.0f;
                for (int sy = 0; sy < Samples; ++sy)
                    for (int sx = 0; sx < Samples; ++sx) {
                        const float u = (float(px) + (float(sx) + 0.5f) / Samples - half) / half;
                        const float v = -(float(py) + (float(sy) + 0.5f) / Samples - half) / half;
                        // Every sprite fades out before the tile edge (and the mipmaps' neighbours).
                        const float window = SmoothStep(0.97f, 0.82f, std::hypot(u, v));
                        const TTexel texel = Tiles[std::size_t(tile)](u, v);
                        const float a = std::clamp(texel.Alpha, 0.0f, 1.0f) * window;
                        alpha += a;
                        light += a * texel.Luminance;
                    }
                alpha /= Samples * Samples;
                float* pixel = PixelAt(atlas, left + px, top + py);
                const float luminance = alpha > 1e-4f ? light / (alpha * Samples * Samples) : 1.0f;
                // Fully transparent texels stay white, so filtering never pulls in a dark fringe.
                const bool clear = alpha < 0.5f / 255.0f;
                pixel[0] = pixel[1] = pixel[2] = clear ? 1.0f : luminance;
                pixel[3] = clear ? 0.0f : alpha;
            }
    }
    return atlas;
}

TCanvas MakeHeightMap() {
    constexpr int Size = 256;
    TCanvas map = MakeCanvas(Size, Size, 1);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const float nx = float(x) / Size, ny = float(y) / Size;
            const float hills = FractalNoise(nx * 3.5f + 1.3f, ny * 3.5f + 2.1f, 4, 7);
            const float swell =
                0.5f + 0.5f * std::sin(nx * 2.0f * Pi * 0.8f + 0.6f) * std::cos(ny * 2.0f * Pi * 0.6f);
            // A river valley winding across, and a smaller dell in one corner.
            const float riverY = 0.52f + 0.16f * std::sin(nx * 2.0f * Pi * 1.1f + 0.4f);
            const float valley = SmoothStep(0.2f, 0.0f, std::abs(ny - riverY));
            const float dell = SmoothStep(0.22f, 0.0f, std::hypot(nx - 0.2f, ny - 0.18f));
            map.Values[std::size_t(y * Size + x)] =
                0.55f * hills + 0.35f * swell - 0.45f * valley - 0.25f * dell;
        }
    BoxBlur(map, 4, 3);
    const auto [low, high] = std::minmax_element(map.Values.begin(), map.Values.end());
    const float lowest = *low, range = *high - *low;
    // Grey 20..200: hills up to 5.4 world units above the valley floor at the demo's height scale.
    for (float& value : map.Values)
        value = (20.0f + 180.0f * (value - lowest) / range) / 255.0f;
    return map;
}

} // namespace lumidor::datagen
