// The texture readers end to end on files, with the recording GL fake and a recording message
// handler: which reader runs, the exact messages, the GL calls and what reaches gluBuild2DMipmaps.

#include "textures/textures.h"

#include "engine/gl_recorder.h"
#include "engine/message.h"
#include "tests/textures/test_images.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace lumidor;
using namespace lumidor::testing;

namespace {

struct TShownMessage {
    std::string Text, Caption;
    TMessageIcon Icon;
};
std::vector<TShownMessage> shownMessages;

void RecordMessage(const std::string& text, const std::string& caption, TMessageIcon icon) {
    shownMessages.push_back({text, caption, icon});
}

class TextureReaders : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallGLRecorder();
        shownMessages.clear();
        previousHandler = SetMessageHandler(&RecordMessage);
        directory = std::filesystem::path(::testing::TempDir()) /
                    ("lumidor_textures_" +
                     std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(directory);
    }
    void TearDown() override {
        SetMessageHandler(previousHandler);
        std::filesystem::remove_all(directory);
    }
    std::string Write(const std::string& name, const TBytes& bytes) {
        const std::string path = (directory / name).string();
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }
    // Loads and expects failure with exactly one message and no GL call at all.
    void ExpectRefused(const std::string& path, const std::string& text, const std::string& caption) {
        GLuint texture = 77;
        EXPECT_FALSE(LoadTextureFile(path, texture));
        EXPECT_EQ(texture, 77u);
        ASSERT_EQ(shownMessages.size(), 1u) << path;
        EXPECT_EQ(shownMessages[0].Text, text);
        EXPECT_EQ(shownMessages[0].Caption, caption);
        EXPECT_EQ(shownMessages[0].Icon, TMessageIcon::None);
        EXPECT_TRUE(GLRecorder().Calls.empty());
        shownMessages.clear();
    }

    TMessageHandler previousHandler = nullptr;
    std::filesystem::path directory;
};

} // namespace

TEST_F(TextureReaders, MakeMipmappedTextureCallsGlInOrder) {
    const std::uint8_t pixels[3 * 3 * 2] = {};
    EXPECT_EQ(MakeMipmappedTexture(3, 2, GL_RGB, pixels), 1u);
    EXPECT_EQ(MakeMipmappedTexture(1, 1, GL_RGBA, pixels), 2u);
    const std::vector<std::string> once = {"GenTextures",       "BindTexture",   "TexEnvi",
                                           "TexParameteri",     "TexParameteri", "PixelStorei",
                                           "gluBuild2DMipmaps", "PixelStorei"};
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(RecordedGLCallNames(), twice);
    const auto& calls = GLRecorder().Calls;
    EXPECT_EQ(calls[1].Args, (std::vector<double>{GL_TEXTURE_2D, 1}));
    EXPECT_EQ(calls[2].Args, (std::vector<double>{GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE}));
    EXPECT_EQ(calls[3].Args, (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR}));
    EXPECT_EQ(calls[4].Args,
              (std::vector<double>{GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR}));
    EXPECT_EQ(calls[5].Args, (std::vector<double>{GL_UNPACK_ALIGNMENT, 1}));
    EXPECT_EQ(calls[6].Args, (std::vector<double>{GL_TEXTURE_2D, 3, 3, 2, GL_RGB, GL_UNSIGNED_BYTE}));
    EXPECT_EQ(calls[7].Args, (std::vector<double>{GL_UNPACK_ALIGNMENT, 4}));
    EXPECT_EQ(calls[14].Args, (std::vector<double>{GL_TEXTURE_2D, GL_RGBA, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE}));
}

TEST_F(TextureReaders, EachFormatUploadsItsPixels) {
    const TPicture picture = MakePattern(5, 3);
    const std::string bmp = Write("a.bmp", MakeBmp(picture, {.ZeroImageSize = true}));
    const std::string tga24 = Write("b.tga", MakeTga(picture, {.Bits = 24, .RunLength = true}));
    const std::string tga32 = Write("c.tga", MakeTga(picture, {.Bits = 32}));
    const std::string jpg = Write("d.jpg", MakeJpeg(picture));
    GLuint texture = 0;
    for (const std::string& path : {bmp, tga24, tga32, jpg}) {
        ASSERT_TRUE(LoadTextureFile(path, texture)) << path;
        EXPECT_EQ(texture, GLuint(GLRecorder().Uploads.size()));
    }
    EXPECT_TRUE(shownMessages.empty());
    const auto& uploads = GLRecorder().Uploads;
    ASSERT_EQ(uploads.size(), 4u);
    for (int i : {0, 1}) {
        EXPECT_EQ(uploads[i].InternalFormat, 3);
        EXPECT_EQ(uploads[i].Format, GLenum(GL_RGB));
        EXPECT_EQ(uploads[i].Pixels, PictureBytes(picture, 3));
    }
    EXPECT_EQ(uploads[2].InternalFormat, GL_RGBA);
    EXPECT_EQ(uploads[2].Pixels, PictureBytes(picture, 4));
    EXPECT_EQ(uploads[3].Format, GLenum(GL_RGBA));
    EXPECT_EQ(uploads[3].Width, 5);
    EXPECT_EQ(uploads[3].Height, 3);
}

TEST_F(TextureReaders, ExtensionPicksTheReaderInAnyCase) {
    for (const char* name : {"m.jpg", "m.JPG", "m.Jpg"})
        ExpectRefused((directory / name).string(),
                      "Couldn't load JPG - \"" + (directory / name).string() + "\"", "BMP Unit");
    ExpectRefused((directory / "m.BmP").string(), "Error opening " + (directory / "m.BmP").string(),
                  "BMP Unit");
    ExpectRefused((directory / "m.tGa").string(), "File not found  - " + (directory / "m.tGa").string(),
                  "TGA Texture");
    // Endings of none of the three formats: nothing loads and nothing is shown, even for files
    // that exist and would decode.
    const std::string jpeg = Write("real.jpeg", MakeJpeg(MakePattern(4, 4)));
    for (const std::string& name : {jpeg, std::string("a"), std::string(""), std::string("x.png")}) {
        GLuint texture = 5;
        EXPECT_FALSE(LoadTextureFile(name, texture));
        EXPECT_EQ(texture, 5u);
    }
    EXPECT_TRUE(shownMessages.empty());
    EXPECT_TRUE(GLRecorder().Calls.empty());
}

TEST_F(TextureReaders, FailureTableMessages) {
    const TPicture picture = MakePattern(4, 4);
    TBytes palette = MakeBmp(picture, {.ColoursUsed = 4});
    palette.resize(60);
    ExpectRefused(Write("p.bmp", palette), "Error reading palette", "BMP Unit");
    TBytes data = MakeBmp(picture);
    data.resize(data.size() - 3);
    ExpectRefused(Write("d.bmp", data), "Error reading bitmap data", "BMP Unit");
    ExpectRefused(Write("bad.jpg", TBytes(100, 0xFF)),
                  "Couldn't load JPG - \"" + (directory / "bad.jpg").string() + "\"", "BMP Unit");

    const std::string quoted = "\"" + (directory / "t.tga").string() + "\"";
    TBytes type1 = MakeTga(picture, {.Bits = 24});
    type1[2] = 1;
    type1[1] = 1;
    ExpectRefused(Write("t.tga", type1), "Couldn't load " + quoted + ". Only 24 and 32bit TGA supported.",
                  "TGA File Error");
    TBytes mapped = MakeTga(picture, {.Bits = 24});
    mapped[1] = 1;
    ExpectRefused(Write("t.tga", mapped),
                  "Couldn't load " + quoted + ". Colormapped TGA files not supported.", "TGA File Error");
    TBytes sixteen = MakeTga(picture, {.Bits = 24});
    sixteen[16] = 16;
    ExpectRefused(Write("t.tga", sixteen),
                  "Couldn't load " + quoted + ". Only 24 and 32 bit TGA files supported.", "TGA File Error");
    for (bool runLength : {false, true}) {
        TBytes cut = MakeTga(picture, {.Bits = 32, .RunLength = runLength});
        cut.resize(cut.size() - 1);
        ExpectRefused(Write("t.tga", cut), "Couldn't read file " + quoted + ".", "TGA File Error");
    }
    // A directory with a texture's name exists but cannot be read as a file.
    std::filesystem::create_directory(directory / "folder.tga");
    ExpectRefused((directory / "folder.tga").string(),
                  "Couldn't read file \"" + (directory / "folder.tga").string() + "\".", "TGA File Error");
}

TEST_F(TextureReaders, BackslashNamesOpenAndShowAsGiven) {
    Write("w.tga", MakeTga(MakePattern(2, 2), {.Bits = 24}));
    std::filesystem::create_directories(directory / "sub");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(directory);
    GLuint texture = 0;
    EXPECT_TRUE(LoadTextureFile(".\\w.tga", texture));
    EXPECT_EQ(texture, 1u);
    EXPECT_FALSE(LoadTextureFile(".\\sub\\none.tga", texture));
    std::filesystem::current_path(previous);
    ASSERT_EQ(shownMessages.size(), 1u);
    EXPECT_EQ(shownMessages[0].Text, "File not found  - .\\sub\\none.tga");
}
