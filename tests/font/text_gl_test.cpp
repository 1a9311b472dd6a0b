// The Text preset drawn by Mesa at the demo's default window size, through the demo's camera.
#include "effects/text_effect.h"

#include "effects/frame_time.h"
#include "engine/message.h"
#include "engine/random.h"
#include "tests/gl/gl_context.h"
#include "tests/terrain/test_bitmaps.h"
#include "textures/textures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace lumidor {
namespace {

namespace fs = std::filesystem;

constexpr int Width = 800;
constexpr int Height = 600;

// Bars standing in for glyphs when the demo's sheet has not been generated.
void WriteBarSheet(const fs::path& directory) {
    TRgbImage sheet = testing::SolidImage(512, 256, 0, 0, 0);
    for (int g = 33; g < 127; ++g)
        for (int y = 6; y < 26; ++y)
            for (int x = 12; x < 16; ++x)
                testing::SetPixel(sheet, (g % 16) * 32 + x, (g / 16) * 32 + y, 255, 255, 255);
    fs::create_directories(directory / "fonts");
    testing::WriteBmp24((directory / "fonts" / "font.bmp").string(), sheet);
}

TEST(TextGL, TheMessageFillsFourLinesInTheUpperPartOfTheView) {
    if (!testing::EnsureGLContext(Width, Height)) GTEST_SKIP() << "no OpenGL context (run under xvfb-run)";
    SetMessageHandler([](const std::string&, const std::string&, TMessageIcon) {});
    SeedRandom(42);

    const fs::path previous = fs::current_path();
    const fs::path data = fs::path(LUMIDOR_SOURCE_DIR) / "data";
    fs::path directory = data;
    if (!fs::exists(data / "fonts" / "font.bmp")) {
        directory = fs::path(::testing::TempDir()) / "text_gl";
        WriteBarSheet(directory);
    }
    fs::current_path(directory);
    GLuint atlas = 0;
    if (fs::exists("textures.tga")) LoadTextureFile("textures.tga", atlas);
    InitTextEffect();
    fs::current_path(previous);
    SetTextureProperties(TextFont, atlas, 2, 4);

    GL.Enable(GL_DEPTH_TEST);
    GL.Enable(GL_TEXTURE_2D);
    GL.ClearColor(0, 0, 0, 1);
    FrameTime = 1.0f / 60;
    for (int frame = 0; frame < 90; ++frame) {
        testing::ResetMatrices(Width, Height);
        GL.MatrixMode(GL_PROJECTION);
        GL.gluPerspective(45, double(Width) / Height, 0.05, 100);
        GL.MatrixMode(GL_MODELVIEW);
        GL.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GL.Translatef(0, 0, -5);
        GL.DepthMask(GL_FALSE);
        TextPreset();
        GL.DepthMask(GL_TRUE);
    }
    EXPECT_EQ(GL.GetError(), GLenum(GL_NO_ERROR));
    const std::vector<std::uint8_t> rgba = testing::ReadBackBuffer(Width, Height);
    lumidor::testing::KeepPicture(rgba, Width, Height, "text_preset");

    // World y 2 - 0.45 k for line k maps to rows (2.071 - y) / 4.142 * 600 from the top.
    int lines[5] = {};
    int warm = 0; // orange particles, or white where many overlap and the blend saturates
    int lit = 0;
    int atEdges = 0; // lit pixels in the first or last column: a letter cut by the view
    for (int row = 0; row < Height; ++row) {
        for (int x = 0; x < Width; ++x) {
            const std::uint8_t* p = &rgba[std::size_t(((Height - 1 - row) * Width + x) * 4)];
            if (p[0] < 40) continue;
            ++lit;
            if (x == 0 || x == Width - 1) ++atEdges;
            if (p[0] >= p[1] && p[1] >= p[2]) ++warm;
            lines[std::min(4, std::max(0, (row - 10) / 65))]++;
        }
    }
    EXPECT_GT(lit, 2000);
    EXPECT_GT(warm, lit * 9 / 10);
    for (int k = 0; k < 4; ++k)
        EXPECT_GT(lines[k], 200) << "line " << k;
    EXPECT_LT(lines[4], lit / 50); // nothing much below the fourth line
    EXPECT_EQ(atEdges, 0);
}

} // namespace
} // namespace lumidor
