// Start-up of the shared systems (atlas, floor, blend factors, terrain grid), the effect slots the
// menu offers, and the GL work the presets do around their updates.

#include "effects/effect_slots.h"
#include "effects/text_effect.h"
#include "effects_fixture.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <unistd.h>

using namespace lumidor;
using namespace lumidor::testing;

namespace {

namespace fs = std::filesystem;

/// Runs a test body inside a fresh temporary directory (the start-up reads relative paths).
class TempDirectory {
  public:
    TempDirectory() {
        previous = fs::current_path();
        path = fs::temp_directory_path() /
               ("lumidor_effects_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::create_directories(path);
        fs::current_path(path);
    }
    ~TempDirectory() {
        fs::current_path(previous);
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    const fs::path& Path() const { return path; }

  private:
    static inline int counter = 0;
    fs::path previous, path;
};

void WriteBytes(const fs::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

/// An uncompressed 24-bit TGA of w x h grey pixels.
std::vector<std::uint8_t> GreyTga(int w, int h) {
    std::vector<std::uint8_t> bytes(18 + std::size_t(w * h * 3), 128);
    const std::uint8_t header[18] = {0,
                                     0,
                                     2,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     std::uint8_t(w),
                                     std::uint8_t(w >> 8),
                                     std::uint8_t(h),
                                     std::uint8_t(h >> 8),
                                     24,
                                     0};
    std::copy(std::begin(header), std::end(header), bytes.begin());
    return bytes;
}

/// A 24-bit BMP of w x h pixels (w a multiple of 4, so rows need no padding) with grey level x + y.
std::vector<std::uint8_t> GradientBmp(int w, int h) {
    const std::uint32_t pixelBytes = std::uint32_t(w * h * 3), fileSize = 54 + pixelBytes;
    std::vector<std::uint8_t> b(54, 0);
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int k = 0; k < 4; ++k)
            b[at + std::size_t(k)] = std::uint8_t(v >> (8 * k));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, fileSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, std::uint32_t(w));
    put32(22, std::uint32_t(h));
    b[26] = 1;
    b[28] = 24;
    put32(34, pixelBytes);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const auto g = std::uint8_t(x + y);
            b.insert(b.end(), {g, g, g});
        }
    }
    return b;
}

using Startup = EffectsTest;

TEST_F(Startup, MissingAtlasIsReportedAndTheSystemsAreStillSetUp) {
    ResetEffectsForTesting();
    TempDirectory dir;
    InitEffects();
    EXPECT_EQ(ShownMessages(), std::vector<std::string>{"TGA Texture|File not found  - textures.tga"});
    EXPECT_EQ(AtlasTexture, 0u);

    for (const TParticleEffectContainer* c :
         {&FloorEffect, &AdditiveEffect, &TerrainEffect, &TextFont.Effect}) {
        ASSERT_EQ(c->TextureTiles.size(), 8u);
        // Tile 5 is row 1, column 1 of the 2 x 4 atlas.
        EXPECT_FLOAT_EQ(c->TextureTiles[5].U[0], 0.5f);
        EXPECT_FLOAT_EQ(c->TextureTiles[5].V[0], 0.5f);
        EXPECT_FLOAT_EQ(c->TextureTiles[5].U[2], 0.25f);
        EXPECT_FLOAT_EQ(c->TextureTiles[5].V[2], 0.0f);
    }
    EXPECT_EQ(FloorEffect.BlendSrc, GLenum(GL_SRC_ALPHA));
    EXPECT_EQ(FloorEffect.BlendDst, GLenum(GL_DST_ALPHA));
    EXPECT_EQ(AdditiveEffect.BlendSrc, GLenum(GL_SRC_ALPHA));
    EXPECT_EQ(AdditiveEffect.BlendDst, GLenum(GL_ONE));
    EXPECT_EQ(TerrainEffect.BlendSrc, GLenum(GL_SRC_ALPHA));
    EXPECT_EQ(TerrainEffect.BlendDst, GLenum(GL_DST_ALPHA));

    // The floor: a flat 2 x 2 grid at y = -1.1 over x and z from -5 to 5.
    ASSERT_TRUE(FloorEffect.World.Heights);
    EXPECT_EQ(*FloorEffect.World.Heights, (HDataArray{{0, 0}, {0, 0}}));
    ExpectVec(FloorEffect.World.Origin, {-5, -1.1f, -5}, "Origin", 0);
    EXPECT_EQ(FloorEffect.World.CellSizeX, 10.0f);
    EXPECT_EQ(FloorEffect.World.CellSizeZ, 10.0f);
    ExpectVec(FloorEffect.World.WorldFriction, {0.2f, 0.4f, 0.2f}, "WorldFriction", 0);
    EXPECT_FALSE(AdditiveEffect.World.Heights);
    EXPECT_FALSE(TerrainEffect.World.Heights) << "the terrain grid comes with InitTerrainEffect";
}

TEST_F(Startup, AtlasTextureGoesToEverySystemAndTheFont) {
    ResetEffectsForTesting();
    TempDirectory dir;
    WriteBytes(dir.Path() / "textures.tga", GreyTga(8, 4));
    InitEffects();
    EXPECT_TRUE(ShownMessages().empty());
    ASSERT_NE(AtlasTexture, 0u);
    EXPECT_EQ(FloorEffect.Texture, AtlasTexture);
    EXPECT_EQ(AdditiveEffect.Texture, AtlasTexture);
    EXPECT_EQ(TerrainEffect.Texture, AtlasTexture);
    EXPECT_EQ(TextFont.Effect.Texture, AtlasTexture);
}

TEST_F(Startup, TerrainGridBecomesTheTerrainSystemsWorld) {
    TempDirectory dir;
    WriteBytes(dir.Path() / "hm.bmp", GradientBmp(32, 32));
    GLRecorder().Recording = false; // the display list alone is half a million calls
    InitTerrainEffect();
    GLRecorder().Recording = true;
    ExpectVec(TerrainOrigin, {-7.5f, -5, -7.5f}, "TerrainOrigin", 0);
    ExpectVec(TerrainFriction, {0.5f, 0.5f, 0.5f}, "TerrainFriction", 0);
    EXPECT_EQ(TerrainMap.GridSize, 256);
    EXPECT_EQ(TerrainMap.SideLength, 15.0f);
    EXPECT_EQ(TerrainMap.HeightScale, 0.03f);
    EXPECT_NE(TerrainMap.DisplayList, 0u);
    // Shared, not copied: the collision world reads the terrain's own grid.
    ASSERT_TRUE(TerrainMap.Heights);
    EXPECT_EQ(TerrainEffect.World.Heights.get(), TerrainMap.Heights.get());
    EXPECT_EQ(TerrainEffect.World.CellSizeX, 0.05859375f);
    EXPECT_EQ(TerrainEffect.World.CellSizeZ, 0.05859375f);
    ExpectVec(TerrainEffect.World.Origin, {-7.5f, -5, -7.5f}, "World.Origin", 0);
    ExpectVec(TerrainEffect.World.WorldFriction, {0.5f, 0.5f, 0.5f}, "WorldFriction", 0);
}

TEST_F(Startup, UnreadableHeightMapStopsBeforeTheCollisionWorld) {
    TempDirectory dir;
    EXPECT_THROW(InitTerrainEffect(), std::runtime_error);
    EXPECT_FALSE(TerrainEffect.World.Heights);
    ExpectVec(TerrainEffect.World.WorldFriction, {0, 0, 0}, "WorldFriction", 0);
    // The stress test still runs: no terrain is drawn, the particles fall without a ground.
    StressTestPreset();
    EXPECT_EQ(CountGLCalls("CallList"), 0);
    EXPECT_EQ(ParticleCount(TerrainEffect), 10000);
}

TEST_F(Startup, ResetForTestingRestoresTheZeroState) {
    FirePreset();
    Spiral1Preset();
    EffectTimer = 3;
    RocketExploded = true;
    ResetEffectsForTesting();
    EXPECT_EQ(ParticleCount(FloorEffect), 0);
    EXPECT_EQ(ParticleCount(AdditiveEffect), 0);
    EXPECT_TRUE(FloorEffect.TextureTiles.empty());
    EXPECT_FALSE(FloorEffect.World.Heights);
    EXPECT_EQ(EffectTimer, 0.0f);
    EXPECT_FALSE(RocketExploded);
}

// Effect slots -----------------------------------------------------------------------------

TEST(EffectSlots, MenuListsEverySlotOnceWithItsCaption) {
    std::set<int> slots;
    for (const TEffectSlot& entry : EffectMenu)
        slots.insert(entry.Slot);
    EXPECT_EQ(slots.size(), 19u);
    EXPECT_EQ(*slots.begin(), 0);
    EXPECT_EQ(*slots.rbegin(), 18);
    EXPECT_STREQ(EffectMenu[0].Caption, "Fire (300)");
    EXPECT_EQ(EffectMenu[1].Slot, 14);
    EXPECT_STREQ(EffectMenu[1].Caption, "Smoke 1 (200)");
    EXPECT_EQ(EffectMenu[2].Slot, 1);
    EXPECT_STREQ(EffectMenu[2].Caption, "Smoke 2 (200)");
    EXPECT_EQ(EffectMenu[8].Slot, 15);
    EXPECT_STREQ(EffectMenu[8].Caption, "Spiral 3 (800)");
    EXPECT_STREQ(EffectMenu[9].Caption, "Aflamed Magnesium (41 - 46)");
    EXPECT_STREQ(EffectMenu[15].Caption, "Stresstest Script (20000)");
    EXPECT_STREQ(EffectMenu[16].Caption, "Snow (10000)");
    EXPECT_EQ(EffectMenu[16].Slot, 16);
    EXPECT_STREQ(EffectMenu[17].Caption, "Text (~6000)");
    EXPECT_STREQ(EffectMenu[18].Caption, "Firework");
    EXPECT_STREQ(EffectSlotCaption(2), "Explosion (116)");
    EXPECT_STREQ(EffectSlotCaption(19), "");
    EXPECT_STREQ(EffectSlotCaption(-1), "");
}

using Slots = EffectsTest;

TEST_F(Slots, EachSlotRunsItsPreset) {
    struct TCase {
        int Slot;
        int Floor, Additive, Terrain;
        std::int32_t FirstTile; ///< tile of the first particle of the first non-empty system
    };
    const TCase cases[] = {{0, 300, 20, 0, 3},  {1, 200, 0, 0, 1},    {2, 0, 0, 0, -1},
                           {3, 400, 0, 0, 3},   {4, 30, 800, 0, 1},   {5, 0, 1200, 0, 4},
                           {6, 0, 1200, 0, 4},  {7, 0, 41, 0, 1},     {8, 300, 2000, 0, 1},
                           {9, 2000, 0, 0, 4},  {10, 0, 0, 10000, 6}, {14, 200, 0, 0, 1},
                           {15, 0, 1200, 0, 4}, {16, 10000, 0, 0, 3}, {18, 71, 1, 0, 3}};
    for (const TCase& k : cases) {
        ResetEffectsForTesting();
        InitEffects();
        FrameTime = 0; // nothing dies, so every count is exactly what the first frame emitted
        ASSERT_TRUE(RunEffectSlot(k.Slot, {})) << "slot " << k.Slot;
        // Magnesium's rare sparks may land in FloorEffect on any frame.
        if (k.Slot != 7) {
            EXPECT_EQ(ParticleCount(FloorEffect), k.Floor) << "slot " << k.Slot;
        }
        EXPECT_EQ(ParticleCount(AdditiveEffect), k.Additive) << "slot " << k.Slot;
        EXPECT_EQ(ParticleCount(TerrainEffect), k.Terrain) << "slot " << k.Slot;
        const TParticleEffectContainer& first = k.Floor      ? FloorEffect
                                                : k.Additive ? AdditiveEffect
                                                             : TerrainEffect;
        if (k.FirstTile >= 0) {
            EXPECT_EQ(first.Particles[0].Tile, k.FirstTile) << "slot " << k.Slot;
        }
    }
    // Spirals 1 and 3 lay out dots living 8 s, Spiral 2 dots living 5 s; Spiral 3 starts at y = -1.8.
    ResetEffectsForTesting();
    InitEffects();
    RunEffectSlot(6, {});
    EXPECT_EQ(AdditiveEffect.Particles[0].LifeLength, 5.0f);
    ResetEffectsForTesting();
    InitEffects();
    RunEffectSlot(15, {});
    EXPECT_NEAR(AdditiveEffect.Particles[0].Position.y, -1.8f, 0.01f);
}

TEST_F(Slots, ScriptSlotsCallBackIntoTheApplication) {
    std::vector<int> ran;
    TEffectCallbacks callbacks;
    callbacks.AdvanceScript = [&](int index) { ran.push_back(index); };
    EXPECT_TRUE(RunEffectSlot(11, callbacks));
    EXPECT_TRUE(RunEffectSlot(12, callbacks));
    EXPECT_EQ(CountGLCalls("Begin"), 0);
    EXPECT_TRUE(RunEffectSlot(13, callbacks));
    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(CountGLCalls("Begin"), 1) << "slot 13 draws the floor first";
    // Without a callback the script slots draw only the floor.
    EXPECT_TRUE(RunEffectSlot(11, {}));
    EXPECT_TRUE(RunEffectSlot(13, {}));
    EXPECT_EQ(CountGLCalls("Begin"), 2);
}

TEST_F(Slots, OutOfRangeSlotsDrawNothing) {
    GLRecorder().Calls.clear();
    for (int slot : {-1, 19, 100})
        EXPECT_FALSE(RunEffectSlot(slot, {}));
    EXPECT_TRUE(GLRecorder().Calls.empty());
    EXPECT_EQ(ParticleCount(FloorEffect), 0);
    EXPECT_EQ(EffectTimer, 0.0f);
}

TEST_F(Slots, TextSlotWithoutAFontDrawsNothingAndDoesNotCrash) {
    EXPECT_TRUE(RunEffectSlot(17, {}));
    EXPECT_EQ(ParticleCount(TextFont.Effect), 0);
}

// GL work around the updates ---------------------------------------------------------------

std::vector<TGLCall> CallsBefore(const std::string& name) {
    std::vector<TGLCall> calls;
    for (const TGLCall& call : GLRecorder().Calls) {
        if (call.Name == name) break;
        calls.push_back(call);
    }
    return calls;
}

void ExpectCall(const TGLCall& call, const std::string& name, std::vector<double> args) {
    EXPECT_EQ(call.Name, name);
    ASSERT_EQ(call.Args.size(), args.size()) << name;
    for (std::size_t k = 0; k < args.size(); ++k)
        EXPECT_NEAR(call.Args[k], args[k], 1e-6) << name << " arg " << k;
}

using PresetGL = EffectsTest;

TEST_F(PresetGL, EffectsOneAndTwoTiltTheViewBeforeTheirUpdate) {
    FirePreset(); // give both systems buffers so their updates draw
    GLRecorder().Calls.clear();
    Effect1Preset();
    auto before = CallsBefore("BindBufferARB");
    ASSERT_FALSE(before.empty());
    ExpectCall(before.front(), "Rotatef", {25, 1, 0, 0});
    EXPECT_EQ(CountGLCalls("Rotatef"), 1);

    GLRecorder().Calls.clear();
    Effect2Preset();
    before = CallsBefore("BindBufferARB");
    ASSERT_FALSE(before.empty());
    ExpectCall(before.front(), "Rotatef", {10, 1, 0, 0});
    EXPECT_EQ(CountGLCalls("Rotatef"), 1);
}

TEST_F(PresetGL, StressTestDrawsTheLitTerrainFirst) {
    TerrainOrigin = {-7.5f, -5, -7.5f};
    TerrainMap.DisplayList = 42;
    GLRecorder().Calls.clear();
    StressTestPreset();
    const auto& calls = GLRecorder().Calls;
    ASSERT_GE(calls.size(), 14u);
    ExpectCall(calls[0], "Translatef", {0, 3, -5});
    ExpectCall(calls[1], "Rotatef", {45, 1, 0, 0});
    ExpectCall(calls[2], "Enable", {GL_LIGHTING});
    ExpectCall(calls[3], "Enable", {GL_LIGHT0});
    ExpectCall(calls[4], "Disable", {GL_TEXTURE_2D});
    ExpectCall(calls[5], "DepthMask", {GL_TRUE});
    ExpectCall(calls[6], "PushMatrix", {});
    ExpectCall(calls[7], "Translatef", {-7.5, -5, -7.5});
    ExpectCall(calls[8], "CallList", {42});
    ExpectCall(calls[9], "PopMatrix", {});
    ExpectCall(calls[10], "DepthMask", {GL_FALSE});
    ExpectCall(calls[11], "Disable", {GL_LIGHTING});
    ExpectCall(calls[12], "Enable", {GL_TEXTURE_2D});
    // Then the particles: the top-up precedes the update, so they are drawn in this same frame.
    EXPECT_EQ(CountGLCalls("DrawArrays"), 1);
    EXPECT_EQ(ParticleCount(TerrainEffect), 10000);
}

TEST_F(PresetGL, ScriptFloorIsOneDarkBlueQuad) {
    GLRecorder().Calls.clear();
    ScriptFloorPreset();
    const auto& calls = GLRecorder().Calls;
    ASSERT_EQ(calls.size(), 15u);
    ExpectCall(calls[0], "DepthMask", {GL_TRUE});
    ExpectCall(calls[1], "Color3f", {0.1f, 0.1f, 0.3f});
    ExpectCall(calls[2], "Disable", {GL_TEXTURE_2D});
    ExpectCall(calls[3], "Begin", {GL_QUADS});
    ExpectCall(calls[4], "TexCoord2f", {0, 0});
    ExpectCall(calls[5], "Vertex3f", {-10, -0.51f, 5});
    ExpectCall(calls[6], "TexCoord2f", {1, 0});
    ExpectCall(calls[7], "Vertex3f", {10, -0.51f, 5});
    ExpectCall(calls[8], "TexCoord2f", {1, 1});
    ExpectCall(calls[9], "Vertex3f", {10, -0.51f, -5});
    ExpectCall(calls[10], "TexCoord2f", {0, 1});
    ExpectCall(calls[11], "Vertex3f", {-10, -0.51f, -5});
    ExpectCall(calls[12], "End", {});
    ExpectCall(calls[13], "Enable", {GL_TEXTURE_2D});
    ExpectCall(calls[14], "DepthMask", {GL_FALSE});
}

TEST_F(PresetGL, ContainersAreDrawnInTheirPresetsOrder) {
    FirePreset();
    MagicWaterPreset(); // both systems now have buffers
    const auto boundBuffers = [] {
        std::vector<GLuint> names;
        for (const TGLCall& call : GLRecorder().Calls) {
            if (call.Name == "BindBufferARB" && call.Args[1] != 0) names.push_back(GLuint(call.Args[1]));
        }
        return names;
    };
    // Top-ups may replace a buffer name, so the names are read right before each frame.
    GLuint floorBuffer = FloorEffect.VertexBuffer, additiveBuffer = AdditiveEffect.VertexBuffer;
    GLRecorder().Calls.clear();
    FirePreset();
    EXPECT_EQ(boundBuffers(), (std::vector<GLuint>{floorBuffer, additiveBuffer}));
    floorBuffer = FloorEffect.VertexBuffer;
    additiveBuffer = AdditiveEffect.VertexBuffer;
    GLRecorder().Calls.clear();
    MagicWaterPreset();
    EXPECT_EQ(boundBuffers(), (std::vector<GLuint>{additiveBuffer, floorBuffer}));
}

} // namespace
