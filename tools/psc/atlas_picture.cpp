#include "tools/psc/atlas_picture.h"

#include "engine/particle_container.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace lumidor {

namespace {

constexpr std::uint8_t BorderColor[3] = {255, 214, 0};
constexpr int CheckerCell = 8; ///< pixels of a checkerboard square under transparent parts

/// The picture's pixel at (x, y), top row first.
std::uint8_t* PixelAt(TAtlasPicture& picture, int x, int y) {
    return &picture.Rgb[(std::size_t(y) * std::size_t(picture.Width) + std::size_t(x)) * 3];
}

void Fill(TAtlasPicture& picture, int x0, int y0, int x1, int y1, const std::uint8_t* color) {
    for (int y = std::max(y0, 0); y < std::min(y1, picture.Height); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, picture.Width); ++x)
            std::copy(color, color + 3, PixelAt(picture, x, y));
}

/// The texture enlarged by `scale`, turned top row first; alpha mixes it over a dark checkerboard,
/// so that a texture whose shape lies in its alpha alone still shows it.
void DrawTexture(TAtlasPicture& picture, const TImage& texture, int scale) {
    const int channels = texture.Channels;
    for (int y = 0; y < picture.Height; ++y) {
        const int sourceRow = texture.Height - 1 - y / scale; // the image's first row is its bottom
        for (int x = 0; x < picture.Width; ++x) {
            const std::uint8_t* source =
                &texture
                     .Pixels[(std::size_t(sourceRow) * std::size_t(texture.Width) + std::size_t(x / scale)) *
                             std::size_t(channels)];
            std::uint8_t* target = PixelAt(picture, x, y);
            const int alpha = channels == 4 ? source[3] : 255;
            const int checker = ((x / CheckerCell + y / CheckerCell) & 1) != 0 ? 64 : 40;
            for (int c = 0; c < 3; ++c)
                target[c] = std::uint8_t((source[c] * alpha + checker * (255 - alpha) + 127) / 255);
        }
    }
}

void DrawFrame(TAtlasPicture& picture, const TAtlasTileRect& rect) {
    Fill(picture, rect.X0, rect.Y0, rect.X1, rect.Y0 + 1, BorderColor);
    Fill(picture, rect.X0, rect.Y1 - 1, rect.X1, rect.Y1, BorderColor);
    Fill(picture, rect.X0, rect.Y0, rect.X0 + 1, rect.Y1, BorderColor);
    Fill(picture, rect.X1 - 1, rect.Y0, rect.X1, rect.Y1, BorderColor);
}

/// Writes `number` at font scale `size` in a black box whose top-left corner is (x, y).
void DrawNumber(TAtlasPicture& picture, int x, int y, const std::string& number, int size) {
    static constexpr std::uint8_t Black[3] = {0, 0, 0};
    static constexpr std::uint8_t White[3] = {255, 255, 255};
    Fill(picture, x, y, x + AtlasNumberBoxWidth(int(number.size()), size), y + AtlasNumberBoxHeight(size),
         Black);
    for (std::size_t i = 0; i < number.size(); ++i) {
        const std::array<std::uint8_t, 5> rows = AtlasDigitRows(number[i] - '0');
        const int left = x + size + int(i) * 4 * size;
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < 3; ++column)
                if ((rows[std::size_t(row)] >> (2 - column)) & 1)
                    Fill(picture, left + column * size, y + size + row * size, left + (column + 1) * size,
                         y + size + (row + 1) * size, White);
    }
}

} // namespace

std::array<std::uint8_t, 5> AtlasDigitRows(int digit) {
    static constexpr std::uint8_t Glyphs[10][5] = {
        {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
        {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
    };
    const auto& glyph = Glyphs[std::clamp(digit, 0, 9)];
    return {glyph[0], glyph[1], glyph[2], glyph[3], glyph[4]};
}

int AtlasNumberBoxWidth(int digits, int size) {
    return (4 * digits + 1) * size;
}

int AtlasNumberBoxHeight(int size) {
    return 7 * size;
}

std::vector<TAtlasTileRect> AtlasTileRects(int width, int height, std::int32_t rows, std::int32_t columns) {
    TParticleEffectContainer atlas;
    SetTextureProperties(atlas, 0, rows, columns);
    std::vector<TAtlasTileRect> rects;
    rects.reserve(atlas.TextureTiles.size());
    for (const TTextureTile& tile : atlas.TextureTiles) {
        const auto [minU, maxU] = std::minmax({tile.U[0], tile.U[1], tile.U[2], tile.U[3]});
        const auto [minV, maxV] = std::minmax({tile.V[0], tile.V[1], tile.V[2], tile.V[3]});
        // V = 1 is the texture's top, the picture's first row.
        rects.push_back(
            {int(std::lround(double(minU) * width)), int(std::lround((1.0 - double(maxV)) * height)),
             int(std::lround(double(maxU) * width)), int(std::lround((1.0 - double(minV)) * height))});
    }
    return rects;
}

int AtlasPictureScale(int width, int height, std::int32_t rows, std::int32_t columns) {
    const double tileSide = std::min(double(width) / columns, double(height) / rows);
    const int wanted = tileSide >= AtlasTargetTileSide ? 1 : int(std::ceil(AtlasTargetTileSide / tileSide));
    const int fits = MaxAtlasPictureSide / std::max(width, height);
    return std::max(1, std::min(wanted, fits));
}

TAtlasPicture MakeAtlasPicture(const TImage& texture, std::int32_t rows, std::int32_t columns,
                               std::int64_t& unnumbered) {
    const int scale = AtlasPictureScale(texture.Width, texture.Height, rows, columns);
    TAtlasPicture picture;
    picture.Width = texture.Width * scale;
    picture.Height = texture.Height * scale;
    picture.Rgb.resize(std::size_t(picture.Width) * std::size_t(picture.Height) * 3);
    DrawTexture(picture, texture, scale);

    const std::vector<TAtlasTileRect> rects = AtlasTileRects(picture.Width, picture.Height, rows, columns);
    for (const TAtlasTileRect& rect : rects)
        DrawFrame(picture, rect);
    // One font size for every tile: the largest of 1..4 a tile of the smaller side has room for.
    const double tileSide = std::min(double(picture.Width) / columns, double(picture.Height) / rows);
    const int size = std::clamp(int(tileSide / 32), 1, 4);
    unnumbered = 0;
    for (std::size_t t = 0; t < rects.size(); ++t) {
        const TAtlasTileRect& rect = rects[t];
        const std::string number = std::to_string(t);
        // Inside the frame, with a pixel of the tile left beside and below the box.
        if (AtlasNumberBoxWidth(int(number.size()), size) + 3 > rect.X1 - rect.X0 ||
            AtlasNumberBoxHeight(size) + 3 > rect.Y1 - rect.Y0) {
            ++unnumbered;
            continue;
        }
        DrawNumber(picture, rect.X0 + 1, rect.Y0 + 1, number, size);
    }
    return picture;
}

} // namespace lumidor
