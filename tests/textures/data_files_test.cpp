// The committed demo data: every picture loads with the engine's own readers and has the shape
// the demo relies on.

#include "textures/decoders.h"
#include "textures/file_bytes.h"

#include <gtest/gtest.h>

using namespace lumidor;

namespace {

TImage LoadData(const std::string& relative) {
    const std::string path = std::string(LUMIDOR_SOURCE_DIR) + "/data/" + relative;
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(ReadFileBytes(path, bytes), TFileReadStatus::Ok) << path;
    const std::string ending = relative.substr(relative.size() - 4);
    const TDecodeResult result = ending == ".tga"   ? DecodeTga(bytes, path)
                                 : ending == ".bmp" ? DecodeBmp(bytes)
                                                    : DecodeJpeg(bytes, path);
    EXPECT_TRUE(result.Ok) << result.Text;
    return result.Image;
}

std::uint8_t At(const TImage& image, int x, int yFromTop, int channel) {
    const std::size_t row = std::size_t(image.Height - 1 - yFromTop);
    return image.Pixels[(row * std::size_t(image.Width) + std::size_t(x)) * std::size_t(image.Channels) +
                        std::size_t(channel)];
}

} // namespace

TEST(DataFiles, AtlasTilesFadeOutBeforeTheirBorders) {
    const TImage atlas = LoadData("textures.tga");
    ASSERT_EQ(atlas.Width, 512);
    ASSERT_EQ(atlas.Height, 256);
    ASSERT_EQ(atlas.Channels, 4);
    for (int tile = 0; tile < 8; ++tile) {
        const int left = (tile % 4) * 128, top = (tile / 4) * 128;
        int opaque = 0;
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x) {
                const std::uint8_t alpha = At(atlas, left + x, top + y, 3);
                if (x < 2 || y < 2 || x > 125 || y > 125) {
                    ASSERT_EQ(alpha, 0) << "tile " << tile;
                }
                opaque += alpha > 64; // a quarter opaque reads clearly; the smoke puff is thin
            }
        EXPECT_GT(opaque, 100) << "tile " << tile << " has no visible shape";
    }
}

TEST(DataFiles, HeightMapFontAndLogoHaveTheirSizes) {
    const TImage heights = LoadData("hm.bmp");
    EXPECT_EQ(heights.Width, 256);
    EXPECT_EQ(heights.Height, 256);
    for (std::size_t i = 0; i < heights.Pixels.size(); i += 3) {
        ASSERT_EQ(heights.Pixels[i], heights.Pixels[i + 1]);
        ASSERT_EQ(heights.Pixels[i], heights.Pixels[i + 2]);
    }

    const TImage font = LoadData("fonts/font.bmp");
    ASSERT_EQ(font.Width, 512);
    ASSERT_EQ(font.Height, 256);
    auto litPixels = [&](int code, int fromX) {
        int lit = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = fromX; x < 32; ++x)
                lit += At(font, (code % 16) * 32 + x, (code / 16) * 32 + y, 0) > 0;
        return lit;
    };
    EXPECT_EQ(litPixels(13, 0), 0); // carriage return: the line break has no glyph
    EXPECT_EQ(litPixels(' ', 0), 0);
    for (int code = '!'; code <= '~'; ++code) {
        EXPECT_GT(litPixels(code, 0), 10) << char(code);
        // The first character's cell starts just left of the view: ink begins 10 pixels in.
        EXPECT_EQ(litPixels(code, 0), litPixels(code, 10)) << char(code) << " would be cut at the left edge";
        EXPECT_EQ(litPixels(code, 26), 0)
            << char(code) << " reaches into the next character at half-cell spacing";
    }

    const TImage logo = LoadData("logos/LDStrip800x276.jpg");
    EXPECT_EQ(logo.Width, 800);
    EXPECT_EQ(logo.Height, 276);
}
