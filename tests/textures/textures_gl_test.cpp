// Textures in a real GL (Mesa): what lands in mipmap level 0 must equal the decoded pixels, also
// for RGB rows whose width is not a multiple of GL's default unpack alignment.

#include "textures/textures.h"

#include "engine/message.h"
#include "tests/gl/gl_context.h"
#include "tests/textures/test_images.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace lumidor;
using namespace lumidor::testing;

namespace {

TBytes LevelZero(GLuint texture, GLenum format, int width, int height) {
    TBytes pixels(std::size_t(width) * std::size_t(height) * (format == GL_RGBA ? 4 : 3));
    GL.BindTexture(GL_TEXTURE_2D, texture);
    GL.PixelStorei(GL_PACK_ALIGNMENT, 1);
    GL.GetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    GL.Finish();
    return pixels;
}

GLint LevelSize(GLuint texture, GLint level, GLenum which) {
    GLint value = -1;
    GL.BindTexture(GL_TEXTURE_2D, texture);
    GL.GetTexLevelParameteriv(GL_TEXTURE_2D, level, which, &value);
    return value;
}

} // namespace

TEST(TexturesGL, LevelZeroHoldsTheFilePixels) {
    ASSERT_TRUE(EnsureGLContext());
    const std::string directory = ::testing::TempDir();
    // Power-of-two sizes, so GLU uploads the pixels unscaled.
    const TPicture rgbPicture = MakePattern(8, 4);
    const TPicture rgbaPicture = MakePattern(16, 8);
    const std::string bmp = directory + "/lumidor_gl.bmp";
    const std::string tga = directory + "/lumidor_gl.tga";
    ASSERT_TRUE(WriteBytes(bmp, MakeBmp(rgbPicture)));
    ASSERT_TRUE(WriteBytes(tga, MakeTga(rgbaPicture, {.Bits = 32, .RunLength = true, .TopOrigin = true})));

    GLuint rgbTexture = 0, rgbaTexture = 0;
    ASSERT_TRUE(LoadTextureFile(bmp, rgbTexture));
    ASSERT_TRUE(LoadTextureFile(tga, rgbaTexture));
    EXPECT_NE(rgbTexture, 0u);
    EXPECT_NE(rgbaTexture, rgbTexture);
    EXPECT_EQ(LevelZero(rgbTexture, GL_RGB, 8, 4), PictureBytes(rgbPicture, 3));
    EXPECT_EQ(LevelZero(rgbaTexture, GL_RGBA, 16, 8), PictureBytes(rgbaPicture, 4));
    // A full chain: the 16 x 8 texture ends in a 1 x 1 level 4.
    EXPECT_EQ(LevelSize(rgbaTexture, 4, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(LevelSize(rgbaTexture, 4, GL_TEXTURE_HEIGHT), 1);
    EXPECT_EQ(GL.GetError(), GLenum(GL_NO_ERROR));
    std::filesystem::remove(bmp);
    std::filesystem::remove(tga);
}

TEST(TexturesGL, NarrowRgbRowsAreNotSkewed) {
    ASSERT_TRUE(EnsureGLContext());
    // Rows of 3 and 6 bytes: with GL's default alignment of 4 each row would be read from the
    // wrong offset. Power-of-two sizes keep GLU from scaling, so level 0 must match exactly.
    for (int width : {1, 2}) {
        const TPicture picture = MakePattern(width, 4);
        const TBytes pixels = PictureBytes(picture, 3);
        const GLuint texture = MakeMipmappedTexture(std::uint16_t(width), 4, GL_RGB, pixels.data());
        ASSERT_EQ(LevelSize(texture, 0, GL_TEXTURE_WIDTH), width);
        EXPECT_EQ(LevelZero(texture, GL_RGB, width, 4), pixels) << "width " << width;
    }
    GLint alignment = 0;
    GL.GetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
}
