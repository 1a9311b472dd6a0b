// The three demo scripts drawn by real OpenGL (Mesa) through the demo's camera: each must load
// without error, reach its particle count and light a fair part of the picture without washing
// it out. With LUMIDOR_TEST_PICTURES=DIR set, the pictures are also written to DIR.

#include "effects/effects.h"
#include "engine/gl_api.h"
#include "engine/random.h"
#include "script/particle_script.h"
#include "tests/gl/gl_context.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

using namespace lumidor;

namespace {

constexpr int Width = 320;
constexpr int Height = 240;

struct TPictureStats {
    double LitFraction = 0;       ///< pixels clearly brighter than the background
    double SaturatedFraction = 0; ///< pixels with a channel at 255
};

int Difference(const std::uint8_t* p, int r, int g, int b) {
    return std::abs(p[0] - r) + std::abs(p[1] - g) + std::abs(p[2] - b);
}

/// Lit: neither the black clear colour nor the floor's (0.1, 0.1, 0.3).
TPictureStats Measure(const std::vector<std::uint8_t>& pixels) {
    TPictureStats stats;
    const std::size_t count = pixels.size() / 4;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &pixels[i * 4];
        if (Difference(p, 0, 0, 0) > 24 && Difference(p, 26, 26, 77) > 24) stats.LitFraction += 1;
        if (p[0] == 255 || p[1] == 255 || p[2] == 255) stats.SaturatedFraction += 1;
    }
    stats.LitFraction /= double(count);
    stats.SaturatedFraction /= double(count);
    return stats;
}

/// The demo's frame set-up: 45 degree perspective, camera 5 units back, depth writes off.
void BeginFrame() {
    GL.MatrixMode(GL_PROJECTION);
    GL.LoadIdentity();
    GL.gluPerspective(45.0, double(Width) / double(Height), 0.1, 100.0);
    GL.MatrixMode(GL_MODELVIEW);
    GL.LoadIdentity();
    GL.ClearColor(0, 0, 0, 0);
    GL.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GL.Translatef(0, 0, -5);
    GL.DepthMask(GL_FALSE);
}

class DemoScriptsGL : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(DemoScriptsGL, LoadsCleanlyAndLightsThePicture) {
    ASSERT_TRUE(lumidor::testing::EnsureGLContext(Width, Height));
    GL.Viewport(0, 0, Width, Height);
    GL.Enable(GL_DEPTH_TEST);
    GL.Enable(GL_TEXTURE_2D);
    const int number = GetParam();
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(LUMIDOR_SOURCE_DIR) / "data");

    TParticleScript script;
    const std::string name = "ParticleScript" + std::to_string(number);
    const TScriptLoadReport report = LoadScriptWithReport(script, ".\\scripts\\" + name + ".psc");
    std::filesystem::current_path(previous);
    ASSERT_EQ(report.ErrorCount, 0) << script.DebugLog;
    ASSERT_TRUE(script.Continuous);

    SeedRandom(42);
    constexpr float dt = 1.0f / 60.0f;
    for (int frame = 0; frame < 150; ++frame) {
        BeginFrame();
        if (number == 3) ScriptFloorPreset();
        AdvanceScript(script, {}, dt);
        GL.DepthMask(GL_TRUE);
    }
    const std::vector<std::uint8_t> pixels = lumidor::testing::ReadBackBuffer(Width, Height);
    lumidor::testing::KeepPicture(pixels, Width, Height, name);

    std::int64_t live = 0, target = 0;
    for (std::size_t t = 0; t < script.Containers.size(); ++t) {
        live += ParticleCount(script.Containers[t]);
        target += std::int64_t(script.Values[t].NumParticles);
    }
    EXPECT_GE(live, target * 9 / 10);
    EXPECT_GE(target, number == 3 ? 20000 : 2500);

    const TPictureStats stats = Measure(pixels);
    EXPECT_GT(stats.LitFraction, 0.05);
    EXPECT_LT(stats.SaturatedFraction, 0.25);
}

INSTANTIATE_TEST_SUITE_P(Scripts, DemoScriptsGL, ::testing::Values(1, 2, 3));
