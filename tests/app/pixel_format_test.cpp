#include "app/desktop/gl_extensions.h"
#include "app/desktop/pixel_format.h"

#include <gtest/gtest.h>

using namespace lumidor;

namespace {

void ExpectBits(int bitsPerPixel, int red, int green, int blue, int alpha) {
    const TColourBits bits = SplitColourBits(bitsPerPixel);
    EXPECT_EQ(bits.Red, red) << bitsPerPixel;
    EXPECT_EQ(bits.Green, green) << bitsPerPixel;
    EXPECT_EQ(bits.Blue, blue) << bitsPerPixel;
    EXPECT_EQ(bits.Alpha, alpha) << bitsPerPixel;
}

} // namespace

TEST(PixelFormat, ColourDepthSplitsIntoChannels) {
    ExpectBits(32, 8, 8, 8, 8);
    ExpectBits(24, 8, 8, 8, 0);
    ExpectBits(16, 5, 6, 5, 0);
    ExpectBits(15, 5, 5, 5, 0);
    ExpectBits(8, 3, 3, 2, 0);
    ExpectBits(64, 16, 16, 16, 16);
    ExpectBits(100000, 16, 16, 16, 16);
    ExpectBits(0, 0, 0, 0, 0);
    ExpectBits(-32, 0, 0, 0, 0);
}

TEST(PixelFormat, FewerColourBitsAreTriedInTurn) {
    EXPECT_EQ(ColourBitCandidates(32), (std::vector<int>{32, 24, 16, 0}));
    EXPECT_EQ(ColourBitCandidates(48), (std::vector<int>{48, 32, 24, 16, 0}));
    EXPECT_EQ(ColourBitCandidates(24), (std::vector<int>{24, 16, 0}));
    EXPECT_EQ(ColourBitCandidates(16), (std::vector<int>{16, 0}));
    EXPECT_EQ(ColourBitCandidates(8), (std::vector<int>{8, 0}));
    EXPECT_EQ(ColourBitCandidates(0), (std::vector<int>{0}));
}

TEST(GLExtensions, MatchesWholeNamesOnly) {
    const char* list = "GL_ARB_multitexture GL_ARB_vertex_buffer_object_rgb32 GL_EXT_bgra";
    EXPECT_FALSE(HasGLExtension(list, "GL_ARB_vertex_buffer_object"));
    EXPECT_TRUE(HasGLExtension(list, "GL_ARB_multitexture"));
    EXPECT_TRUE(HasGLExtension(list, "GL_EXT_bgra"));
    EXPECT_TRUE(HasGLExtension("GL_A GL_ARB_vertex_buffer_object ", "GL_ARB_vertex_buffer_object"));
    EXPECT_FALSE(HasGLExtension(nullptr, "GL_EXT_bgra"));
    EXPECT_FALSE(HasGLExtension("", "GL_EXT_bgra"));
    EXPECT_FALSE(HasGLExtension("GL_EXT_bgr", "GL_EXT_bgra"));
}
