// The atlas picture of lumidor-psc --atlas: each tile found by its own colour where textureproperties
// puts it (tile 0 at the top left, rows running downwards), its number and border, the enlargement,
// and a PNG that reads back as the picture.

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
    int Width, Height;
    std::int32_t Rows, Columns;
};

// Sides that divide evenly, so every tile's place is a whole number of pixels.
const TAtlasCase Cases[] = {{8, 4, 2, 4}, {6, 9, 3, 2}, {12, 12, 1, 3}, {10, 10, 5, 1}, {256, 128, 2, 4}};

/// The tile (row from the top, column from the left) an independent reading gives pixel (x, y), y
/// counted from the top.
std::int32_t TileAt(const TAtlasCase& c, int x, int yFromTop) {
    return (yFromTop * c.Rows / c.Height) * c.Columns + x * c.Columns / c.Width;
}

std::array<std::uint8_t, 4> TileColor(std::int32_t t) {
    return {std::uint8_t(30 + 13 * t), std::uint8_t(200 - 11 * t), std::uint8_t(90 + 7 * t), 255};
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

TEST(AtlasPicture, SmallTilesAreEnlargedWithinTheLargestSideAndLeftUnnumbered) {
    EXPECT_EQ(AtlasPictureScale(256, 128, 2, 4), 2);      // 64-pixel tiles reach 96 at twice the size
    EXPECT_EQ(AtlasPictureScale(100, 100, 100, 100), 81); // one-pixel tiles: stopped by the 8192 side
    std::int64_t unnumbered = 0;
    const TAtlasPicture strip =
        MakeAtlasPicture({4096, 1, 3, std::vector<std::uint8_t>(4096 * 3)}, 1, 4096, unnumbered);
    EXPECT_EQ(strip.Width, 8192);
    EXPECT_EQ(unnumbered, 4096); // two-pixel tiles have no room for a number
}

TEST(AtlasPicture, WrittenPngReadsBackAsThePicture) {
    std::int64_t unnumbered = 0;
    const TAtlasPicture picture = MakeAtlasPicture(TiledTexture({6, 9, 3, 2}), 3, 2, unnumbered);
    const std::string file =
        std::filesystem::temp_directory_path() / ("atlas-" + std::to_string(getpid()) + ".png");
    std::string error;
    ASSERT_TRUE(WriteAtlasPng(file, picture, error)) << error;
    lumidor::testing::TPngPicture read;
    ASSERT_TRUE(lumidor::testing::ReadPng(file, read));
    std::filesystem::remove(file);
    EXPECT_EQ(read.Width, picture.Width);
    EXPECT_EQ(read.Rgb, picture.Rgb);
}
