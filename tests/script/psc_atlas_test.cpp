// lumidor-psc --atlas run as a program: the picture of the demo's lumina.tga (the one the language
// reference shows), and every bad operand refused with status 2 and a message that names it.

#include "psc_run.h"

#include "tests/app/png_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

/// A 24-bit uncompressed TGA of `width` x `height` grey pixels.
std::string GreyTga(int width, int height) {
    std::string bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = char(width);
    bytes[14] = char(height);
    bytes[16] = 24;
    return bytes + std::string(std::size_t(width * height * 3), char(120));
}

} // namespace

TEST_F(Psc, AtlasOfTheDemoTextureIsWritten) {
    const std::string texture = std::string(LUMIDOR_SOURCE_DIR) + "/data/scripts/lumina.tga";
    const TRun run = RunPsc(dir, "--atlas '" + texture + "' 2 4 lumina.png");
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "wrote lumina.png: 2 x 4 tiles of 256 x 128 pixels, tile 0 at the top left, shown "
                       "512 x 256\n");
    EXPECT_EQ(run.Err, "");

    lumidor::testing::TPngPicture written;
    ASSERT_TRUE(lumidor::testing::ReadPng((dir / "lumina.png").string(), written));
    // The language reference shows this very picture.
    lumidor::testing::TPngPicture shown;
    ASSERT_TRUE(lumidor::testing::ReadPng(LUMIDOR_SOURCE_DIR "/docs/screenshots/lumina_atlas.png", shown));
    EXPECT_EQ(written.Width, shown.Width);
    EXPECT_EQ(written.Rgb, shown.Rgb);
}

TEST_F(Psc, AtlasRefusesBadOperandsWithStatusTwo) {
    Write("t.tga", GreyTga(8, 4));
    Write("broken.tga", std::string(18, '\0'));
    Write("s.psc", "setnewparticletype();\n");
    std::filesystem::create_directory(dir / "folder.tga");
    struct TCase {
        std::string Arguments;
        std::string Message;
    };
    const TCase cases[] = {
        {"", "--atlas needs FILE ROWS COLUMNS OUT.png"},
        {"t.tga 2 4 o.png extra", "--atlas needs FILE ROWS COLUMNS OUT.png"},
        {"none.tga 2 4 o.png", "\"none.tga\" not found"},
        {"folder.tga 2 4 o.png", "\"folder.tga\" cannot be read"},
        {"s.psc 2 4 o.png", "\"s.psc\" is not a texture the engine reads"},
        {"broken.tga 2 4 o.png", "Couldn't load \"broken.tga\". Only 24 and 32bit TGA supported."},
        {"t.tga 0 4 o.png", "ROWS \"0\" is not a whole number from 1 to 65536"},
        {"t.tga 2 -1 o.png", "COLUMNS \"-1\" is not a whole number from 1 to 65536"},
        {"t.tga two 4 o.png", "ROWS \"two\" is not a whole number"},
        {"t.tga 2 65537 o.png", "COLUMNS \"65537\" is not a whole number"},
        {"t.tga 300 300 o.png", "300 x 300 tiles are more than the 65536 textureproperties allows"},
        {"t.tga 2 4 o.jpg", "the picture's name \"o.jpg\" does not end in .png"},
        {"t.tga 2 4 missing/o.png", "cannot write \"missing/o.png\": No such file or directory"},
    };
    for (const TCase& c : cases) {
        const TRun run = RunPsc(dir, "--atlas " + c.Arguments);
        EXPECT_EQ(run.Status, 2) << c.Arguments;
        EXPECT_NE(run.Err.find("lumidor-psc: "), std::string::npos) << c.Arguments;
        EXPECT_NE(run.Err.find(c.Message), std::string::npos) << c.Arguments << ": " << run.Err;
        EXPECT_EQ(run.Out, "") << c.Arguments;
        EXPECT_FALSE(std::filesystem::exists(dir / "o.png")) << c.Arguments;
    }
    // The same texture with good operands is drawn.
    EXPECT_EQ(RunPsc(dir, "--atlas t.tga 2 4 o.png").Status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "o.png"));
}
