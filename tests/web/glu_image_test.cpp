// The WebGL renderer's gluBuild2DMipmaps arithmetic, natively: GLU's power-of-two rounding, the
// base size within the largest texture, unpacking aligned rows and the box-filter scaling.

#include "web/glu_image.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

using namespace lumidor::web;

namespace {

bool IsPowerOfTwo(int value) {
    return value > 0 && (value & (value - 1)) == 0;
}

TEST(WebGluImage, SidesRoundToTheNearestPowerOfTwoHalfwayUp) {
    EXPECT_EQ(NearestPowerOfTwo(1), 1);
    EXPECT_EQ(NearestPowerOfTwo(3), 4);
    EXPECT_EQ(NearestPowerOfTwo(5), 4);
    EXPECT_EQ(NearestPowerOfTwo(6), 8);
    EXPECT_EQ(NearestPowerOfTwo(255), 256);
    EXPECT_EQ(NearestPowerOfTwo(383), 256);
    EXPECT_EQ(NearestPowerOfTwo(384), 512);
    // Against the rule itself: the nearer neighbour, 3 x 2^k (halfway) going up.
    for (int value = 1; value <= 70000; ++value) {
        const int rounded = NearestPowerOfTwo(value);
        ASSERT_TRUE(IsPowerOfTwo(rounded)) << value << " -> " << rounded;
        int below = 1;
        while (below * 2 <= value)
            below *= 2;
        const int expected = value - below < below * 2 - value ? below : below * 2;
        ASSERT_EQ(rounded, expected) << value;
    }
}

TEST(WebGluImage, RoundingNeverOverflows) {
    EXPECT_EQ(NearestPowerOfTwo(0), 0);
    EXPECT_EQ(NearestPowerOfTwo(-7), 0);
    EXPECT_EQ(NearestPowerOfTwo(1 << 30), 1 << 30);
    EXPECT_EQ(NearestPowerOfTwo((1 << 29) * 3 - 1), 1 << 30);
    // 2^31 is no int: the largest power an int holds instead.
    EXPECT_EQ(NearestPowerOfTwo((1 << 29) * 3), 1 << 30);
    EXPECT_EQ(NearestPowerOfTwo(INT_MAX), 1 << 30);
}

TEST(WebGluImage, TheBaseLevelFitsTheLargestTexture) {
    EXPECT_EQ(MipmapBaseSize(100, 60, 0), (TImageSize{128, 64}));
    EXPECT_EQ(MipmapBaseSize(256, 256, 256), (TImageSize{256, 256}));
    EXPECT_EQ(MipmapBaseSize(1000, 600, 256), (TImageSize{256, 128})) << "both sides halve together";
    EXPECT_EQ(MipmapBaseSize(4096, 2, 1024), (TImageSize{1024, 1})) << "a side never goes below 1";
    EXPECT_EQ(MipmapBaseSize(0, 16, 1024), (TImageSize{0, 0}));
    EXPECT_EQ(MipmapBaseSize(16, -1, 1024), (TImageSize{0, 0}));
}

TEST(WebGluImage, AlignedRowsAreUnpackedWithoutReadingPastTheLastRow) {
    // 3 x 2 RGB at alignment 4: rows of 9 bytes start every 12; the last row has no padding, and
    // the sanitizer build catches a read of it.
    std::vector<std::uint8_t> data(12 + 9);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = std::uint8_t(i);
    const std::vector<std::uint8_t> packed = UnpackRows(data.data(), 3, 2, 3, 4);
    ASSERT_EQ(packed.size(), 18u);
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(packed[i], data[i]);
        EXPECT_EQ(packed[9 + i], data[12 + i]);
    }
    // 7 one-byte pixels a row at alignment 8: rows every 8 bytes.
    std::vector<std::uint8_t> expected(data.begin(), data.begin() + 7);
    expected.insert(expected.end(), data.begin() + 8, data.begin() + 15);
    EXPECT_EQ(UnpackRows(data.data(), 7, 2, 1, 8), expected);
    EXPECT_EQ(UnpackRows(data.data(), 7, 1, 3, 1), std::vector<std::uint8_t>(data.begin(), data.end()));

    EXPECT_TRUE(UnpackRows(data.data(), 3, 2, 3, 3).empty()) << "GL has no alignment of 3";
    EXPECT_TRUE(UnpackRows(data.data(), 3, 2, 3, 0).empty());
    EXPECT_TRUE(UnpackRows(nullptr, 3, 2, 3, 4).empty());
    EXPECT_TRUE(UnpackRows(data.data(), 0, 2, 3, 4).empty());
}

TEST(WebGluImage, ShrinkingAveragesTheCoveredPixels) {
    // 4 x 4 grey to 2 x 2: each new pixel the mean of one 2 x 2 block, rounded to nearest.
    const std::vector<std::uint8_t> image = {0,  1,  10,  11,  //
                                             1,  1,  10,  11,  //
                                             50, 52, 255, 255, //
                                             54, 56, 255, 254};
    EXPECT_EQ(ScaleImage(image.data(), 4, 4, 1, 2, 2), (std::vector<std::uint8_t>{1, 11, 53, 255}));

    // 3 to 2: the middle pixel is split between both, each new pixel covering 1.5 source pixels.
    const std::vector<std::uint8_t> row = {0, 30, 90};
    EXPECT_EQ(ScaleImage(row.data(), 3, 1, 1, 2, 1), (std::vector<std::uint8_t>{10, 70}));

    // Everything to one pixel: the mean of the whole image, channel by channel.
    const std::vector<std::uint8_t> rgb = {255, 0, 10, 255, 0, 20, 0, 100, 30, 0, 100, 40};
    EXPECT_EQ(ScaleImage(rgb.data(), 2, 2, 3, 1, 1), (std::vector<std::uint8_t>{128, 50, 25}));
}

TEST(WebGluImage, EnlargingCoversEachSourcePixelInProportion) {
    const std::vector<std::uint8_t> pixel = {7, 200, 33, 90};
    const std::vector<std::uint8_t> enlarged = ScaleImage(pixel.data(), 1, 1, 4, 4, 2);
    ASSERT_EQ(enlarged.size(), 4u * 2u * 4u);
    for (std::size_t i = 0; i < enlarged.size(); ++i)
        EXPECT_EQ(enlarged[i], pixel[i % 4]) << "byte " << i;

    const std::vector<std::uint8_t> two = {0, 255};
    EXPECT_EQ(ScaleImage(two.data(), 2, 1, 1, 4, 1), (std::vector<std::uint8_t>{0, 0, 255, 255}));

    // 3 to 4: new pixels cover 0.75 source pixels, the inner two straddling a boundary.
    const std::vector<std::uint8_t> row = {0, 90, 180};
    EXPECT_EQ(ScaleImage(row.data(), 3, 1, 1, 4, 1), (std::vector<std::uint8_t>{0, 60, 120, 180}));

    const std::vector<std::uint8_t> image = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(ScaleImage(image.data(), 3, 2, 1, 3, 2), image) << "the same size changes nothing";
}

TEST(WebGluImage, NoSizeOrNoImageGivesNothing) {
    const std::vector<std::uint8_t> image = {1, 2, 3, 4};
    EXPECT_TRUE(ScaleImage(image.data(), 2, 2, 1, 0, 2).empty());
    EXPECT_TRUE(ScaleImage(image.data(), 2, 2, 1, 2, -4).empty()) << "not a huge allocation";
    EXPECT_TRUE(ScaleImage(image.data(), 0, 2, 1, 2, 2).empty());
    EXPECT_TRUE(ScaleImage(image.data(), 2, 2, 0, 2, 2).empty());
    EXPECT_TRUE(ScaleImage(nullptr, 2, 2, 1, 2, 2).empty());
}

} // namespace
