// The three decoders on files built in memory: correct pixels for every supported layout, and a
// message (never a crash or an oversized allocation) for damaged or hostile files.

#include "textures/decoders.h"

#include "tests/textures/test_images.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace lumidor;
using namespace lumidor::testing;

namespace {

void PutU32(TBytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + std::size_t(i)] = std::uint8_t(value >> (8 * i));
}

void ExpectImage(const TDecodeResult& result, const TPicture& picture, int channels) {
    ASSERT_TRUE(result.Ok) << result.Text;
    EXPECT_EQ(result.Image.Width, picture.Width);
    EXPECT_EQ(result.Image.Height, picture.Height);
    EXPECT_EQ(result.Image.Channels, channels);
    EXPECT_EQ(result.Image.Pixels, PictureBytes(picture, channels));
}

void ExpectFailure(const TDecodeResult& result, const std::string& text, const std::string& caption) {
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Text, text);
    EXPECT_EQ(result.Caption, caption);
    EXPECT_TRUE(result.Image.Pixels.empty());
}

const std::string TgaName = "x.tga";
const std::string TgaUnreadable = "Couldn't read file \"x.tga\".";

} // namespace

TEST(DecodeBmp, ReadsPaddedRowsBottomUpAndTopDown) {
    for (int width : {1, 2, 3, 4, 5, 7}) {
        const TPicture picture = MakePattern(width, 3);
        ExpectImage(DecodeBmp(MakeBmp(picture)), picture, 3);
        ExpectImage(DecodeBmp(MakeBmp(picture, {.TopDown = true})), picture, 3);
    }
}

TEST(DecodeBmp, ZeroImageSizeSkippedPaletteAndLongerHeader) {
    const TPicture picture = MakePattern(8, 4);
    ExpectImage(DecodeBmp(MakeBmp(picture, {.ZeroImageSize = true})), picture, 3);
    ExpectImage(DecodeBmp(MakeBmp(picture, {.ColoursUsed = 3})), picture, 3);
    // A 124-byte information header: the pixels start where the data offset says.
    ExpectImage(DecodeBmp(MakeBmp(picture, {.ExtraHeader = 84})), picture, 3);
}

TEST(DecodeBmp, FileEndingInsideTableOrDataIsRefused) {
    const TPicture picture = MakePattern(4, 4);
    TBytes palette = MakeBmp(picture, {.ColoursUsed = 2});
    PutU32(palette, 46, 0xFFFFFFFFu); // the table would reach far beyond the file
    ExpectFailure(DecodeBmp(palette), "Error reading palette", "BMP Unit");
    TBytes shortData = MakeBmp(picture);
    shortData.pop_back();
    ExpectFailure(DecodeBmp(shortData), "Error reading bitmap data", "BMP Unit");
}

TEST(DecodeBmp, RefusesBadHeadersSizesAndFormats) {
    const TPicture picture = MakePattern(5, 2);
    const TBytes good = MakeBmp(picture);
    ExpectFailure(DecodeBmp(TBytes(good.begin(), good.begin() + 53)), "Error reading bitmap header",
                  "BMP Unit");

    TBytes smallSize = good;
    PutU32(smallSize, 34, 5 * 2 * 3 - 1); // smaller than width x height x 3
    ExpectFailure(DecodeBmp(smallSize), "Invalid bitmap image size", "BMP Unit");
    PutU32(smallSize, 34, 5 * 2 * 3); // enough only without the row padding
    ExpectFailure(DecodeBmp(smallSize), "Invalid bitmap image size", "BMP Unit");

    for (std::uint32_t width : {0u, 0xFFFFFFFFu, 70000u, 0x80000000u}) {
        TBytes bad = good;
        PutU32(bad, 18, width);
        ExpectFailure(DecodeBmp(bad), "Invalid bitmap dimensions", "BMP Unit");
    }
    for (std::uint32_t height : {0u, 0x80000000u, 65536u}) {
        TBytes bad = good;
        PutU32(bad, 22, height);
        ExpectFailure(DecodeBmp(bad), "Invalid bitmap dimensions", "BMP Unit");
    }
    // Within the side limit but beyond the pixel cap: refused before any allocation.
    TBytes huge = good;
    PutU32(huge, 18, 60000);
    PutU32(huge, 22, 60000);
    ExpectFailure(DecodeBmp(huge), "Invalid bitmap dimensions", "BMP Unit");

    TBytes eightBit = good;
    eightBit[28] = 8;
    ExpectFailure(DecodeBmp(eightBit), "Only uncompressed 24 bit bitmaps supported", "BMP Unit");
    TBytes compressed = good;
    compressed[30] = 1;
    ExpectFailure(DecodeBmp(compressed), "Only uncompressed 24 bit bitmaps supported", "BMP Unit");
}

TEST(DecodeTga, AllFourStoragesGiveTheSamePixels) {
    const TPicture picture = MakePattern(7, 5);
    for (bool runLength : {false, true}) {
        ExpectImage(DecodeTga(MakeTga(picture, {.Bits = 24, .RunLength = runLength}), TgaName), picture, 3);
        ExpectImage(DecodeTga(MakeTga(picture, {.Bits = 32, .RunLength = runLength}), TgaName), picture, 4);
    }
}

TEST(DecodeTga, RunPacketsRepeatOnePixel) {
    TPicture flat{200, 3, {}};
    for (int i = 0; i < 600; ++i)
        flat.Rgba.insert(flat.Rgba.end(), {10, 20, 30, 40});
    const TBytes file = MakeTga(flat, {.Bits = 32, .RunLength = true});
    EXPECT_LT(file.size(), 18u + 5u * 6u); // a handful of run packets
    ExpectImage(DecodeTga(file, TgaName), flat, 4);
}

TEST(DecodeTga, SkipsImageIdAndHonoursTopLeftOrigin) {
    const TPicture picture = MakePattern(6, 4);
    ExpectImage(DecodeTga(MakeTga(picture, {.Bits = 24, .ImageId = "made by a test"}), TgaName), picture, 3);
    ExpectImage(DecodeTga(MakeTga(picture, {.Bits = 32, .RunLength = true, .TopOrigin = true}), TgaName),
                picture, 4);
    TBytes mirrored = MakeTga(MakePattern(2, 1), {.Bits = 24});
    mirrored[17] = 0x10; // right-to-left pixel order
    const TDecodeResult result = DecodeTga(mirrored, TgaName);
    ASSERT_TRUE(result.Ok);
    EXPECT_EQ(result.Image.Pixels,
              (TBytes{mirrored[23], mirrored[22], mirrored[21], mirrored[20], mirrored[19], mirrored[18]}));
}

TEST(DecodeTga, HeaderChecksComeInTypeColourMapDepthOrder) {
    const TBytes good = MakeTga(MakePattern(2, 2), {.Bits = 24});
    TBytes colourMappedType = good;
    colourMappedType[2] = 1;
    colourMappedType[1] = 1;
    ExpectFailure(DecodeTga(colourMappedType, TgaName),
                  "Couldn't load \"x.tga\". Only 24 and 32bit TGA supported.", "TGA File Error");
    TBytes withMap = good;
    withMap[1] = 1;
    withMap[16] = 16;
    ExpectFailure(DecodeTga(withMap, TgaName),
                  "Couldn't load \"x.tga\". Colormapped TGA files not supported.", "TGA File Error");
    for (std::uint8_t bits : {16, 8, 25, 31, 48}) {
        TBytes depth = good;
        depth[16] = bits;
        ExpectFailure(DecodeTga(depth, TgaName),
                      "Couldn't load \"x.tga\". Only 24 and 32 bit TGA files supported.", "TGA File Error");
    }
    TBytes empty = good;
    empty[12] = 0;
    ExpectFailure(DecodeTga(empty, TgaName), "Couldn't load \"x.tga\". Image size not supported.",
                  "TGA File Error");
    ExpectFailure(DecodeTga(TBytes(good.begin(), good.begin() + 17), TgaName), TgaUnreadable,
                  "TGA File Error");
}

TEST(DecodeTga, ShortOrMalformedPixelDataIsUnreadable) {
    const TPicture picture = MakePattern(5, 5);
    for (bool runLength : {false, true}) {
        TBytes cut = MakeTga(picture, {.Bits = 32, .RunLength = runLength});
        cut.pop_back();
        ExpectFailure(DecodeTga(cut, TgaName), TgaUnreadable, "TGA File Error");
        TBytes idTooLong = MakeTga(picture, {.Bits = 32, .RunLength = runLength});
        idTooLong[0] = 255;
        ExpectFailure(DecodeTga(idTooLong, TgaName), TgaUnreadable, "TGA File Error");
    }
    // A run of 128 pixels into a 2 x 2 image: the packet runs past the image.
    TBytes overrun = MakeTga(MakePattern(2, 2), {.Bits = 24, .RunLength = true});
    overrun.resize(18);
    overrun.insert(overrun.end(), {0xFF, 1, 2, 3, 0xFF, 1, 2, 3});
    ExpectFailure(DecodeTga(overrun, TgaName), TgaUnreadable, "TGA File Error");
    // A raw packet announcing more pixels than the file holds.
    TBytes rawShort = overrun;
    rawShort.resize(18);
    rawShort.insert(rawShort.end(), {0x03, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    ExpectFailure(DecodeTga(rawShort, TgaName), TgaUnreadable, "TGA File Error");
}

TEST(DecodeTga, HugeHeaderWithTinyDataIsRefusedBeforeAllocating) {
    TBytes file = MakeTga(MakePattern(1, 1), {.Bits = 32, .RunLength = true});
    file[12] = file[13] = file[14] = file[15] = 0xFF; // 65535 x 65535, 16 GiB of RGBA
    ExpectFailure(DecodeTga(file, TgaName), "Couldn't load \"x.tga\". Image size not supported.",
                  "TGA File Error");
    file[12] = file[14] = 0x00;
    file[13] = file[15] = 0x10; // 4096 x 4096: allowed size, but 5 bytes cannot fill it
    ExpectFailure(DecodeTga(file, TgaName), TgaUnreadable, "TGA File Error");
}

namespace {

// JPEG is lossy: compare within a tolerance, on a picture of flat blocks.
TPicture Quadrants(int width, int height) {
    TPicture picture{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool top = y >= height / 2, right = x >= width / 2;
            const std::uint8_t r = top ? 230 : 20, g = right ? 200 : 40, b = top != right ? 180 : 60;
            picture.Rgba.insert(picture.Rgba.end(), {r, g, b, 77});
        }
    return picture;
}

void ExpectNearPixel(const TImage& image, int x, int y, int r, int g, int b) {
    const std::uint8_t* p =
        image.Pixels.data() + (std::size_t(y) * std::size_t(image.Width) + std::size_t(x)) * 4;
    EXPECT_NEAR(p[0], r, 8) << x << "," << y;
    EXPECT_NEAR(p[1], g, 8) << x << "," << y;
    EXPECT_NEAR(p[2], b, 8) << x << "," << y;
}

const std::string JpegMessage = "Couldn't load JPG - \"x.jpg\"";

} // namespace

TEST(DecodeJpeg, GivesRgbaBottomRowFirstWithOpaqueAlpha) {
    const TPicture picture = Quadrants(32, 16);
    for (TJpegKind kind : {TJpegKind::Rgb, TJpegKind::Progressive}) {
        const TDecodeResult result = DecodeJpeg(MakeJpeg(picture, kind), "x.jpg");
        ASSERT_TRUE(result.Ok);
        ASSERT_EQ(result.Image.Width, 32);
        ASSERT_EQ(result.Image.Height, 16);
        ASSERT_EQ(result.Image.Channels, 4);
        for (std::size_t i = 3; i < result.Image.Pixels.size(); i += 4)
            ASSERT_EQ(result.Image.Pixels[i], 255);
        ExpectNearPixel(result.Image, 2, 1, 20, 40, 60);     // bottom left comes first
        ExpectNearPixel(result.Image, 29, 1, 20, 200, 180);  // bottom right
        ExpectNearPixel(result.Image, 2, 14, 230, 40, 180);  // top left
        ExpectNearPixel(result.Image, 29, 14, 230, 200, 60); // top right
    }
}

TEST(DecodeJpeg, GreyAndCmykFilesLoadAsRgb) {
    const TPicture picture = Quadrants(16, 16);
    const TDecodeResult grey = DecodeJpeg(MakeJpeg(picture, TJpegKind::Grey), "x.jpg");
    ASSERT_TRUE(grey.Ok);
    ExpectNearPixel(grey.Image, 2, 2, 40, 40, 40);
    ExpectNearPixel(grey.Image, 13, 13, 200, 200, 200);
    const TDecodeResult cmyk = DecodeJpeg(MakeJpeg(picture, TJpegKind::Cmyk), "x.jpg");
    ASSERT_TRUE(cmyk.Ok);
    ExpectNearPixel(cmyk.Image, 2, 2, 20, 40, 60);
    ExpectNearPixel(cmyk.Image, 13, 13, 230, 200, 60);
}

TEST(DecodeJpeg, DamagedFilesGiveTheJpegMessage) {
    const TBytes good = MakeJpeg(Quadrants(64, 64));
    ExpectFailure(DecodeJpeg({}, "x.jpg"), JpegMessage, "BMP Unit");
    ExpectFailure(DecodeJpeg(TBytes{'n', 'o', 't', ' ', 'j', 'p', 'g'}, "x.jpg"), JpegMessage, "BMP Unit");
    ExpectFailure(DecodeJpeg(TBytes(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2)), "x.jpg"),
                  JpegMessage, "BMP Unit");
    // Damage inside the entropy-coded data is tolerated; the picture keeps its size.
    TBytes scrambled = good;
    for (std::size_t i = scrambled.size() / 2; i < scrambled.size() / 2 + 40; ++i)
        scrambled[i] ^= 0x5A;
    const TDecodeResult result = DecodeJpeg(scrambled, "x.jpg");
    if (result.Ok)
        EXPECT_EQ(result.Image.Pixels.size(), 64u * 64u * 4u);
    else
        EXPECT_EQ(result.Text, JpegMessage);
}

TEST(DecodeJpeg, PixelCapRefusesBeforeDecoding) {
    const TBytes file = MakeJpeg(Quadrants(64, 64));
    EXPECT_TRUE(DecodeJpeg(file, "x.jpg", 64 * 64).Ok);
    ExpectFailure(DecodeJpeg(file, "x.jpg", 64 * 64 - 1), JpegMessage, "BMP Unit");
}
