// A program without GL: every path a headless user takes (containers, setters, magnets, the sweep,
// UpdateAndDraw, scripts with textures, terrain) must make no GL call. The recording fake is
// installed and then marked "not set up", so any call that slipped through would be recorded.

#include "engine/gl_recorder.h"
#include "lumidor/lumidor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace lumidor {
namespace {

namespace fs = std::filesystem;

class Headless : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallGLRecorder();
        GL.Ready = false; // the pointers are there, but the program never set GL up
    }
    void TearDown() override { InstallGLRecorder(); }
};

void FillContainer(TParticleEffectContainer& container, int count) {
    for (int i = 0; i < count; ++i) {
        AddParticle(container, {float(i % 10) * 0.1f, 0, 0}, {0.2f, 0.2f, 0}, {1, 0.5f, 0.25f}, i % 8, 2.0f);
        SetParticleForce(container, {0, -1, 0}, i);
        SetParticleMass(container, i, 2.0f);
        SetParticleVelocity(container, {0, 4, 0}, i);
        SetParticleFading(container, true, false, i);
    }
}

TEST_F(Headless, ContainerSettersMagnetsAndSweepMakeNoGLCall) {
    TParticleEffectContainer container;
    SetTextureProperties(container, 0, 2, 4);
    FillContainer(container, 1000);
    AddMagnetPoint(container, {0, 2, 0}, 5.0f, 3.0f);
    SetWind(container, {0.5f, 0, 0});
    EXPECT_EQ(container.VertexBuffer, 0u);
    EXPECT_EQ(container.BufferCapacity, 0);

    std::vector<TParticleVertex> vertices(4 * 1000);
    std::int32_t written = 0;
    for (int frame = 0; frame < 30; ++frame)
        written = SimulateParticles(container, 0.02f, TCameraAxes{}, vertices.data());
    EXPECT_EQ(written, 4000);
    EXPECT_GT(container.Particles[0].Position.y, 0.5f) << "launched upwards at 2 units per second";
    UpdateAndDraw(container, 0.02f); // no buffer: simulates only
    EXPECT_EQ(ParticleCount(container), 1000);
    EXPECT_TRUE(GLRecorder().Calls.empty()) << GLRecorder().Calls.front().Name;
}

TEST_F(Headless, FirstParticleAfterGLIsSetUpGetsABufferForAllParticles) {
    TParticleEffectContainer container;
    FillContainer(container, 25);
    GL.Ready = true;
    FillContainer(container, 1);
    EXPECT_EQ(RecordedGLCallNames(), (std::vector<std::string>{"DeleteBuffersARB", "GenBuffersARB"}));
    EXPECT_NE(container.VertexBuffer, 0u);
    EXPECT_EQ(container.BufferCapacity, 4 * 25 + 40);
    UpdateAndDraw(container, 0.01f);
    EXPECT_EQ(CountGLCalls("DrawArrays"), 1);
    EXPECT_EQ(GLRecorder().LastMappedCopy.size(),
              std::size_t(container.BufferCapacity) * sizeof(TParticleVertex));
}

TEST_F(Headless, ScriptWithTextureLoadsRunsAndLogsAsWithGL) {
    const fs::path dir = fs::temp_directory_path() / ("lumidor_headless_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    {
        std::string tga(18, '\0');
        tga[2] = 2, tga[12] = 2, tga[14] = 2, tga[16] = 24;
        tga += std::string(2 * 2 * 3, char(200));
        std::ofstream(dir / "tex.tga", std::ios::binary) << tga;
        std::ofstream(dir / "s.psc") << "continiuous(true);\nloadtexture('" << (dir / "tex.tga").string()
                                     << "');\nsetnewparticletype();\ntextureproperties(1, 1);\n"
                                        "particlecount(50);\nlifelength(1, 1);\n";
    }
    TParticleScript headless;
    const TScriptLoadReport report = LoadScriptWithReport(headless, (dir / "s.psc").string());
    AdvanceScript(headless, {0, 0, 0}, 0.05f);
    AdvanceScript(headless, {0, 0, 0}, 0.05f);
    EXPECT_TRUE(GLRecorder().Calls.empty()) << GLRecorder().Calls.front().Name;
    EXPECT_TRUE(report.TextureLoaded);
    EXPECT_EQ(headless.Texture, 0u) << "decoded, not uploaded";
    ASSERT_EQ(headless.Containers.size(), 1u);
    EXPECT_EQ(ParticleCount(headless.Containers[0]), 50) << headless.DebugLog;

    InstallGLRecorder();
    TParticleScript withGL;
    LoadScript(withGL, (dir / "s.psc").string());
    EXPECT_EQ(headless.DebugLog, withGL.DebugLog);
    EXPECT_NE(withGL.Texture, 0u);
    fs::remove_all(dir);
}

TEST_F(Headless, TextureUploadAndTerrainListAreSkipped) {
    const std::uint8_t pixels[4 * 3] = {};
    EXPECT_EQ(MakeMipmappedTexture(2, 2, GL_RGB, pixels), 0u);

    TRgbImage picture{4, 4, std::vector<std::uint8_t>(4 * 4 * 3, 128)};
    THeightMapTerrain terrain;
    BuildHeightMap(terrain, picture, 4, 10.0f, 0.03f, 1);
    CompileTerrainList(terrain);
    EXPECT_EQ(terrain.DisplayList, 0u);
    DrawTerrain(terrain);
    ASSERT_TRUE(terrain.Heights);
    TParticleEffectContainer container;
    const float cell = TerrainCellSize(terrain);
    SetCollisionWorld(container, TerrainHeights(terrain), {0, 0, 0}, cell, cell);
    EXPECT_TRUE(HasCollision(container.World));
    EXPECT_TRUE(GLRecorder().Calls.empty()) << GLRecorder().Calls.front().Name;
}

TEST_F(Headless, DemoHeightMapAndGlyphSheetLoadWithoutGL) {
    THeightMapTerrain terrain;
    LoadHeightMap(terrain, LUMIDOR_SOURCE_DIR "/data/hm.bmp", 64, 15.0f, 0.03f, 2);
    EXPECT_EQ(terrain.GridSize, 64);
    EXPECT_EQ(terrain.DisplayList, 0u);

    TParticleFont font;
    LoadGlyphs(font, ReadBitmapFile(LUMIDOR_SOURCE_DIR "/data/fonts/font.bmp"), 40, 0.5f, false, false);
    EXPECT_FALSE(font.Letters[int('A')].Points.empty());
    SetTileAndLife(font, 0, 1.0f, 1.0f);
    SetText(font, "Headless");
    UpdateAndDraw(font, {-2, 0, 0}, 0.5f, 0.02f);
    EXPECT_GT(ParticleCount(font.Effect), 0);
    EXPECT_TRUE(GLRecorder().Calls.empty()) << GLRecorder().Calls.front().Name;
}

} // namespace
} // namespace lumidor
