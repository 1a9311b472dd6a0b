// lumidor-script-textures: writes the textures of the demo scripts, computed from formulas, as
// uncompressed 32-bit TGA files (white colour, shape in alpha, so the particle colour tints them).
//
//   lumidor-script-textures DATA_DIR   writes DATA_DIR/scripts/lumina.tga, mist.tga and blast.tga
//
// lumina.tga: 2 rows x 4 columns of 64 x 64 tiles, numbered left to right, top row first:
//   0 soft glow, 1 firefly (hot core and halo), 2 four-point sparkle, 3 bubble ring,
//   4 droplet, 5 petal, 6 hexagonal bokeh disc, 7 comet streak.
// mist.tga: one 128 x 128 cloud puff with a soft edge.
// blast.tga: 2 rows x 4 columns of 64 x 64 tiles, the frames 0 to 7 of an explosion for a flipbook: a
//   dense ball that swells, frays and thins into a hollow ring of smoke.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr float Pi = 3.14159265f;

/// Alpha of a shape at (x, y) in [-1, 1]^2, y up; 0..1.
using TShape = std::function<float(float x, float y)>;

float Smooth(float edge0, float edge1, float v) {
    const float t = std::clamp((v - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

float Glow(float x, float y) {
    const float r = std::sqrt(x * x + y * y);
    return std::pow(std::max(0.0f, 1 - r), 2.2f);
}

float Firefly(float x, float y) {
    const float r = std::sqrt(x * x + y * y);
    return std::min(1.0f, std::exp(-r * r * 60) + 0.45f * std::pow(std::max(0.0f, 1 - r), 3.0f));
}

float Sparkle(float x, float y) {
    const float r = std::sqrt(x * x + y * y);
    const float rays = std::exp(-std::abs(x) * 28) * std::max(0.0f, 1 - std::abs(y)) +
                       std::exp(-std::abs(y) * 28) * std::max(0.0f, 1 - std::abs(x));
    return std::min(1.0f, rays + std::exp(-r * r * 40));
}

float Bubble(float x, float y) {
    const float r = std::sqrt(x * x + y * y);
    const float rim = std::exp(-std::pow((r - 0.78f) * 11, 2.0f));
    const float highlight = std::exp(-((x + 0.3f) * (x + 0.3f) + (y - 0.35f) * (y - 0.35f)) * 60) * 0.8f;
    return std::min(1.0f, rim + 0.12f * Smooth(0.85f, 0.7f, r) + highlight);
}

float Droplet(float x, float y) {
    // A round bottom drawn out into a point at the top.
    const float yy = y + 0.3f;
    const float width = yy < 0 ? 0.55f : 0.55f * std::max(0.0f, 1 - yy / 1.1f);
    const float d = yy < 0 ? std::sqrt(x * x + yy * yy) / 0.55f : (width > 0 ? std::abs(x) / width : 2.0f);
    return Smooth(1.0f, 0.6f, d) * (0.55f + 0.45f * Smooth(0.4f, -0.6f, y));
}

float Petal(float x, float y) {
    // An ellipse tilted by 30 degrees with a brighter middle vein.
    const float c = std::cos(Pi / 6), s = std::sin(Pi / 6);
    const float u = c * x + s * y, v = -s * x + c * y;
    const float d = std::sqrt(u * u / 0.8f + v * v / 0.18f);
    return Smooth(1.0f, 0.75f, d) * (0.6f + 0.4f * std::exp(-v * v * 80));
}

float Hexagon(float x, float y) {
    // A bokeh disc: a regular hexagon, faint inside, with a brighter rim.
    float d = 0;
    for (int k = 0; k < 6; ++k) {
        const float angle = float(k) * Pi / 3 + Pi / 6;
        d = std::max(d, x * std::cos(angle) + y * std::sin(angle));
    }
    d /= 0.85f;
    return Smooth(1.0f, 0.93f, d) * (0.35f + 0.65f * Smooth(0.6f, 0.97f, d));
}

float Streak(float x, float y) {
    // A bright head at the top fading into a long tail downwards.
    const float head = std::exp(-(x * x + (y - 0.6f) * (y - 0.6f)) * 45);
    const float tail = std::exp(-x * x * 160) * Smooth(-0.95f, 0.6f, y) * Smooth(0.95f, 0.6f, y);
    return std::min(1.0f, head + 0.8f * tail);
}

/// Deterministic value noise for the mist, octaves summed.
float Noise(float x, float y) {
    auto hash = [](int ix, int iy) {
        std::uint32_t h = std::uint32_t(ix) * 374761393u + std::uint32_t(iy) * 668265263u;
        h = (h ^ (h >> 13)) * 1274126177u;
        return float((h ^ (h >> 16)) & 0xffff) / 65535.0f;
    };
    float sum = 0, amplitude = 0.5f, frequency = 4;
    for (int octave = 0; octave < 4; ++octave) {
        const float fx = x * frequency, fy = y * frequency;
        const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
        const float tx = Smooth(0, 1, fx - float(ix)), ty = Smooth(0, 1, fy - float(iy));
        const float top = hash(ix, iy) + (hash(ix + 1, iy) - hash(ix, iy)) * tx;
        const float bottom = hash(ix, iy + 1) + (hash(ix + 1, iy + 1) - hash(ix, iy + 1)) * tx;
        sum += amplitude * (top + (bottom - top) * ty);
        amplitude *= 0.5f;
        frequency *= 2;
    }
    return sum;
}

float Mist(float x, float y) {
    const float r = std::sqrt(x * x + y * y);
    return std::clamp(Smooth(1.0f, 0.2f, r) * (Noise(x + 1, y + 1) * 1.6f - 0.25f), 0.0f, 1.0f);
}

/// Frame `frame` (0..7) of the explosion: the ball grows, its edge frays with noise, its middle empties
/// and the whole thins out.
float BlastFrame(int frame, float x, float y) {
    const float p = float(frame) / 7.0f;
    const float r = std::sqrt(x * x + y * y);
    const float radius = 0.35f + 0.55f * p;
    const float fray = (Noise(x * 0.7f + 3.0f + p, y * 0.7f + 5.0f) - 0.5f) * (0.25f + 0.35f * p);
    const float ball = Smooth(radius, radius * 0.6f, r + fray);
    const float hollow = 1.0f - p * Smooth(radius * 0.75f, 0.0f, r);
    return ball * hollow * (1.0f - 0.55f * p) * (0.75f + 0.5f * Noise(x + 7.0f * p, y + 2.0f));
}

/// Writes a columns x rows atlas of `tile`-pixel tiles; tile 0 is the top-left one.
bool WriteAtlas(const std::string& path, int columns, int rows, int tile, const std::vector<TShape>& shapes) {
    const int width = columns * tile, height = rows * tile;
    std::vector<std::uint8_t> bytes(18, 0);
    bytes[2] = 2; // uncompressed true colour
    bytes[12] = std::uint8_t(width & 255);
    bytes[13] = std::uint8_t(width >> 8);
    bytes[14] = std::uint8_t(height & 255);
    bytes[15] = std::uint8_t(height >> 8);
    bytes[16] = 32;
    bytes[17] = 8; // 8 alpha bits, bottom-left origin
    // Rows are stored bottom first.
    for (int py = height - 1; py >= 0; --py) {
        for (int px = 0; px < width; ++px) {
            const int index = (py / tile) * columns + px / tile;
            const float x = (float(px % tile) + 0.5f) / float(tile) * 2 - 1;
            const float y = 1 - (float(py % tile) + 0.5f) / float(tile) * 2;
            const float alpha = std::clamp(shapes[std::size_t(index)](x, y), 0.0f, 1.0f);
            bytes.insert(bytes.end(), {255, 255, 255, std::uint8_t(std::lround(alpha * 255))});
        }
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::vector<TShape> BlastFrames() {
    std::vector<TShape> frames;
    for (int frame = 0; frame < 8; ++frame)
        frames.push_back([frame](float x, float y) { return BlastFrame(frame, x, y); });
    return frames;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lumidor-script-textures DATA_DIR\n");
        return 2;
    }
    const std::filesystem::path scripts = std::filesystem::path(argv[1]) / "scripts";
    std::filesystem::create_directories(scripts);
    const bool ok = WriteAtlas((scripts / "lumina.tga").string(), 4, 2, 64,
                               {Glow, Firefly, Sparkle, Bubble, Droplet, Petal, Hexagon, Streak}) &&
                    WriteAtlas((scripts / "mist.tga").string(), 1, 1, 128, {Mist}) &&
                    WriteAtlas((scripts / "blast.tga").string(), 4, 2, 64, BlastFrames());
    if (!ok) {
        std::fprintf(stderr, "lumidor-script-textures: cannot write into %s\n", scripts.string().c_str());
        return 1;
    }
    return 0;
}
