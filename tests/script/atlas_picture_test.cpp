// The atlas picture of lumidor-psc --atlas: where each tile lies (tile 0 at the top left, rows
// running downwards, as textureproperties numbers them), the number written in each tile, the
// borders, the enlargement and a PNG that reads back as the picture.

#include "tools/psc/atlas_command.h"
#include "tools/psc/atlas_picture.h"

#include "tests/app/png_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

using namespace lumidor;

namespace {

struct TAtlasCase {
    int Width;
    int Height;
    std::int32_t Rows;
    std::int32_t Columns;
};

// Sides that divide evenly, so every tile's place is a whole number of pixels.
const TAtlasCase Cases[] = {{8, 4, 2, 4}, {6, 9, 3, 2}, {12, 12, 1, 3}, {10, 10, 5, 1}, {256, 128, 2, 4}};

/// The tile (row from the top, column from the left) an independent reading gives pixel (x, y), y
/// counted from the top.
std::int32_t TileAt(const TAtlasCase& c, int x, int yFromTop) {
    return (yFromTop * c.Rows / c.Height) * c.Columns + x * c.Columns / c.Width;
}

std::array<std::uint8_t, 4> TileColor(std::int32_t tile) {
    return {std::uint8_t(30 + 13 * tile), std::uint8_t(200 - 11 * tile), std::uint8_t(90 + 7 * tile), 255};
}

/// An RGBA texture, bottom row first as the decoders give it, each tile filled with its own colour.
TImage TiledTexture(const TAtlasCase& c) {
    TImage image{c.Width, c.Height, 4, {}};
    for (int row = 0; row < c.Height; ++row) // memory order: the bottom row first
        for (int x = 0; x < c.Width; ++x) {
            const auto color = TileColor(TileAt(c, x, c.Height - 1 - row));
            image.Pixels.insert(image.Pixels.end(), color.begin(), color.end());
        }
    return image;
}

const std::uint8_t* Pixel(const TAtlasPicture& picture, int x, int y) {
    return &picture.Rgb[(std::size_t(y) * std::size_t(picture.Width) + std::size_t(x)) * 3];
}

bool IsColor(const std::uint8_t* pixel, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return pixel[0] == r && pixel[1] == g && pixel[2] == b;
}

/// Whether `number` is written at some font size in the box at (x, y): every glyph cell white where
/// the glyph has a pixel and black where it has none.
bool NumberWrittenAt(const TAtlasPicture& picture, int x, int y, const std::string& number) {
    for (int size = 1; size <= 4; ++size) {
        bool all = x + AtlasNumberBoxWidth(int(number.size()), size) <= picture.Width &&
                   y + AtlasNumberBoxHeight(size) <= picture.Height;
        for (std::size_t i = 0; all && i < number.size(); ++i) {
            const auto rows = AtlasDigitRows(number[i] - '0');
            for (int row = 0; all && row < 5; ++row)
                for (int column = 0; all && column < 3; ++column) {
                    const bool on = (rows[std::size_t(row)] >> (2 - column)) & 1;
                    const std::uint8_t* p =
                        Pixel(picture, x + size + (4 * int(i) + column) * size, y + size + row * size);
                    all = on ? IsColor(p, 255, 255, 255) : IsColor(p, 0, 0, 0);
                }
        }
        if (all) return true;
    }
    return false;
}

} // namespace

TEST(AtlasPicture, TilesRunLeftToRightThenDownFromTheTopLeft) {
    for (const TAtlasCase& c : Cases) {
        const auto rects = AtlasTileRects(c.Width, c.Height, c.Rows, c.Columns);
        ASSERT_EQ(rects.size(), std::size_t(c.Rows * c.Columns));
        const int tileWidth = c.Width / c.Columns;
        const int tileHeight = c.Height / c.Rows;
        for (std::int32_t t = 0; t < c.Rows * c.Columns; ++t) {
            const TAtlasTileRect& r = rects[std::size_t(t)];
            EXPECT_EQ(r.X0, (t % c.Columns) * tileWidth) << c.Width << "x" << c.Height << " tile " << t;
            EXPECT_EQ(r.Y0, (t / c.Columns) * tileHeight) << c.Width << "x" << c.Height << " tile " << t;
            EXPECT_EQ(r.X1 - r.X0, tileWidth);
            EXPECT_EQ(r.Y1 - r.Y0, tileHeight);
        }
    }
}

TEST(AtlasPicture, EachTileShowsItsOwnPixelsItsNumberAndABorder) {
    for (const TAtlasCase& c : Cases) {
        std::int64_t unnumbered = -1;
        const TAtlasPicture picture = MakeAtlasPicture(TiledTexture(c), c.Rows, c.Columns, unnumbered);
        const int scale = picture.Width / c.Width;
        ASSERT_EQ(picture.Height, c.Height * scale);
        EXPECT_EQ(unnumbered, 0);
        const auto rects = AtlasTileRects(picture.Width, picture.Height, c.Rows, c.Columns);
        for (std::int32_t t = 0; t < c.Rows * c.Columns; ++t) {
            const TAtlasTileRect& r = rects[std::size_t(t)];
            const std::string where =
                std::to_string(c.Width) + "x" + std::to_string(c.Height) + " tile " + std::to_string(t);
            // The tile's lower-right part: no border there, no number box.
            const auto color = TileColor(t);
            EXPECT_TRUE(IsColor(Pixel(picture, r.X1 - 3, r.Y1 - 3), color[0], color[1], color[2])) << where;
            EXPECT_TRUE(IsColor(Pixel(picture, r.X0, (r.Y0 + r.Y1) / 2), 255, 214, 0)) << where;
            EXPECT_TRUE(IsColor(Pixel(picture, (r.X0 + r.X1) / 2, r.Y1 - 1), 255, 214, 0)) << where;
            EXPECT_TRUE(NumberWrittenAt(picture, r.X0 + 1, r.Y0 + 1, std::to_string(t))) << where;
            EXPECT_FALSE(NumberWrittenAt(picture, r.X0 + 1, r.Y0 + 1, std::to_string(t + 1))) << where;
        }
    }
}

TEST(AtlasPicture, TransparentPartsLieOverACheckerboard) {
    TImage texture{2, 1, 4, {10, 20, 30, 0, 10, 20, 30, 255}};
    std::int64_t unnumbered = 0;
    const TAtlasPicture picture = MakeAtlasPicture(texture, 1, 1, unnumbered);
    const int scale = picture.Width / 2;
    // Lower-right corner of each texel, away from the border and the number.
    const std::uint8_t* clear = Pixel(picture, scale - 2, picture.Height - 2);
    EXPECT_TRUE(IsColor(clear, 40, 40, 40) || IsColor(clear, 64, 64, 64));
    EXPECT_TRUE(IsColor(Pixel(picture, 2 * scale - 2, picture.Height - 2), 10, 20, 30));
}

TEST(AtlasPicture, SmallTilesAreEnlargedWithinTheLargestSide) {
    struct TScaleCase {
        TAtlasCase Atlas;
        int Scale;
    };
    const TScaleCase cases[] = {
        {{256, 128, 2, 4}, 2},     // 64-pixel tiles reach 96 at twice the size
        {{16, 8, 2, 4}, 24},       // 4-pixel tiles
        {{4096, 4096, 1, 1}, 1},   // large tiles stay as they are
        {{100, 100, 100, 100}, 81} // one-pixel tiles: stopped by the 8192-pixel side
    };
    for (const TScaleCase& c : cases)
        EXPECT_EQ(AtlasPictureScale(c.Atlas.Width, c.Atlas.Height, c.Atlas.Rows, c.Atlas.Columns), c.Scale)
            << c.Atlas.Width << "x" << c.Atlas.Height << " in " << c.Atlas.Rows << "x" << c.Atlas.Columns;

    TImage strip{4096, 1, 3, std::vector<std::uint8_t>(4096 * 3, 100)};
    std::int64_t unnumbered = 0;
    const TAtlasPicture picture = MakeAtlasPicture(strip, 1, 4096, unnumbered);
    EXPECT_EQ(picture.Width, 8192);
    EXPECT_EQ(unnumbered, 4096); // two-pixel tiles have no room for a number
}

TEST(AtlasPicture, WrittenPngReadsBackAsThePicture) {
    std::int64_t unnumbered = 0;
    const TAtlasPicture picture = MakeAtlasPicture(TiledTexture({6, 9, 3, 2}), 3, 2, unnumbered);
    const std::string file =
        (std::filesystem::temp_directory_path() / ("atlas-" + std::to_string(getpid()) + ".png")).string();
    std::string error;
    ASSERT_TRUE(WriteAtlasPng(file, picture, error)) << error;
    lumidor::testing::TPngPicture read;
    ASSERT_TRUE(lumidor::testing::ReadPng(file, read));
    std::filesystem::remove(file);
    EXPECT_EQ(read.Width, picture.Width);
    EXPECT_EQ(read.Height, picture.Height);
    EXPECT_EQ(read.Rgb, picture.Rgb);
    EXPECT_FALSE(WriteAtlasPng("/nonexistent-folder/a.png", picture, error));
    EXPECT_FALSE(error.empty());
}
