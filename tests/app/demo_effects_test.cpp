// The demo's effects layer without a display: start-up order and failure, the effect pass and
// banner calls, the menu handlers, the properties window's sliders, and the benchmark's counts.

#include "app/core/effect_menu.h"
#include "app/core/effect_pass.h"
#include "app/core/effects_startup.h"
#include "app/core/properties_window.h"
#include "app/desktop/benchmark.h"
#include "effects/effects.h"
#include "effects/text_effect.h"
#include "engine/gl_recorder.h"
#include "engine/message.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <unistd.h>

using namespace lumidor;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> messages;
void RecordMessage(const std::string& text, const std::string& caption, TMessageIcon) {
    messages.push_back(caption + ": " + text);
}

// Every global of the effects and of the demo back to its program-start state, the GL fake in.
class DemoEffects : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallGLRecorder();
        ResetEffectsForTesting();
        Scripts = {};
        CurrentEffect = 0;
        LogoTexture = 0;
        DebugMode1Checked = false;
        Properties = TProperties{};
        WindVector = WorldFrictionVector = TVector3{};
        messages.clear();
        previousHandler = SetMessageHandler(&RecordMessage);
        previousDirectory = fs::current_path();
    }
    void TearDown() override {
        fs::current_path(previousDirectory);
        SetMessageHandler(previousHandler);
    }

    // A folder of the demo's data files, for tests that take one away.
    fs::path CopyOfData() {
        const fs::path copy = fs::temp_directory_path() / ("lumidor_data_" + std::to_string(::getpid()));
        fs::remove_all(copy);
        fs::copy(LUMIDOR_SOURCE_DIR "/data", copy, fs::copy_options::recursive);
        return copy;
    }

    static void ExpectVector(const TVector3& v, float x, float y, float z) {
        EXPECT_NEAR(v.x, x, 1e-6f);
        EXPECT_NEAR(v.y, y, 1e-6f);
        EXPECT_NEAR(v.z, z, 1e-6f);
    }

    TMessageHandler previousHandler = nullptr;
    fs::path previousDirectory;
};

std::vector<TGLCall> CallsNamed(const std::string& name) {
    std::vector<TGLCall> found;
    for (const TGLCall& call : GLRecorder().Calls)
        if (call.Name == name) found.push_back(call);
    return found;
}

} // namespace

TEST_F(DemoEffects, StartupLoadsEverythingInOrderFromTheWorkingDirectory) {
    fs::current_path(LUMIDOR_SOURCE_DIR "/data");
    CurrentEffect = 7;
    RunEffectsStartup();

    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_NE(AtlasTexture, 0u);
    EXPECT_FALSE(TerrainMap.Heights == nullptr);
    EXPECT_GT(TextFont.TextLength, 0);
    EXPECT_EQ(CurrentEffect, 0);
    for (const TParticleScript& script : Scripts) {
        EXPECT_FALSE(script.Containers.empty());
        EXPECT_NE(script.DebugLog.find("ParticleScript"), std::string::npos);
    }
    EXPECT_NE(LogoTexture, 0u);
    ASSERT_FALSE(GLRecorder().Uploads.empty());
    EXPECT_EQ(GLRecorder().Uploads.back().Width, 800); // the logo is the last texture
    EXPECT_EQ(GLRecorder().Uploads.back().Height, 276);

    // Material, then light, each parameter in its order; lighting itself stays off.
    std::vector<std::pair<std::string, std::vector<double>>> lighting;
    for (const TGLCall& call : GLRecorder().Calls)
        if (call.Name == "Materialfv" || call.Name == "Materialf" || call.Name == "Lightfv")
            lighting.push_back({call.Name, {call.Args[0], call.Args[1]}});
    const std::vector<std::pair<std::string, std::vector<double>>> expected = {
        {"Materialfv", {GL_FRONT, GL_SPECULAR}}, {"Materialf", {GL_FRONT, GL_SHININESS}},
        {"Materialfv", {GL_FRONT, GL_AMBIENT}},  {"Materialfv", {GL_FRONT, GL_DIFFUSE}},
        {"Lightfv", {GL_LIGHT0, GL_AMBIENT}},    {"Lightfv", {GL_LIGHT0, GL_DIFFUSE}},
        {"Lightfv", {GL_LIGHT0, GL_POSITION}}};
    EXPECT_EQ(lighting, expected);
    EXPECT_EQ(CallsNamed("Materialf")[0].Args[2], 50.0);
    EXPECT_EQ(CountGLCalls("Enable") - CountGLCalls("Disable"), 0) << "start-up enables nothing for good";
}

TEST_F(DemoEffects, StartupErrorStopsTheSequenceAtItsStep) {
    const fs::path data = CopyOfData();
    fs::remove(data / "hm.bmp");
    fs::current_path(data);
    CurrentEffect = 5;
    try {
        RunEffectsStartup();
        ADD_FAILURE() << "a missing height map must stop the start-up";
    } catch (const std::exception& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot read the bitmap \".\\hm.bmp\": ", 0), 0u)
            << error.what();
    }
    EXPECT_NE(AtlasTexture, 0u);       // the step before ran
    EXPECT_EQ(TextFont.TextLength, 0); // the later ones did not
    EXPECT_EQ(CurrentEffect, 5);
    EXPECT_TRUE(Scripts[0].Containers.empty());
    EXPECT_EQ(CountGLCalls("Lightfv"), 0);
    EXPECT_EQ(LogoTexture, 0u);

    // A missing logo is only reported: the start-up completes and the banner stays untextured.
    fs::current_path(previousDirectory);
    ResetEffectsForTesting();
    const fs::path second = CopyOfData();
    fs::remove(second / "logos" / "LDStrip800x276.jpg");
    fs::current_path(second);
    RunEffectsStartup();
    EXPECT_EQ(messages,
              (std::vector<std::string>{"BMP Unit: Couldn't load JPG - \".\\logos\\LDStrip800x276.jpg\""}));
    EXPECT_EQ(LogoTexture, 0u);
    EXPECT_FALSE(Scripts[2].Containers.empty());
    fs::current_path(previousDirectory);
    fs::remove_all(second);
}

TEST_F(DemoEffects, EffectPassRunsTheSlotWithoutDepthWritesThenTheBanner) {
    LogoTexture = 42;
    TFrameView view;
    view.ClientWidth = 800;
    view.ClientHeight = 600;
    view.OuterWidth = 808; // a framed window: the banner reaches past the client area
    CurrentEffect = 19;    // outside the table: nothing runs between the depth-mask calls
    RunEffectPass(view);
    const std::vector<std::string> expected = {
        "DepthMask",  "DepthMask",    "MatrixMode",  "LoadIdentity", "Ortho",     "Viewport",
        "MatrixMode", "LoadIdentity", "BindTexture", "Enable",       "BlendFunc", "Color4f",
        "Begin",      "TexCoord2f",   "Vertex2f",    "TexCoord2f",   "Vertex2f",  "TexCoord2f",
        "Vertex2f",   "TexCoord2f",   "Vertex2f",    "End",          "Disable"};
    EXPECT_EQ(RecordedGLCallNames(), expected);
    const std::vector<TGLCall>& calls = GLRecorder().Calls;
    EXPECT_EQ(calls[0].Args, (std::vector<double>{GL_FALSE}));
    EXPECT_EQ(calls[1].Args, (std::vector<double>{GL_TRUE}));
    EXPECT_EQ(calls[2].Args, (std::vector<double>{GL_PROJECTION}));
    EXPECT_EQ(calls[4].Args, (std::vector<double>{0, 800, 600, 0, 0, 100}));
    EXPECT_EQ(calls[5].Args, (std::vector<double>{0, 0, 800, 600}));
    EXPECT_EQ(calls[8].Args, (std::vector<double>{GL_TEXTURE_2D, 42}));
    EXPECT_EQ(calls[9].Args, (std::vector<double>{GL_BLEND}));
    EXPECT_EQ(calls[10].Args, (std::vector<double>{GL_SRC_ALPHA, GL_DST_ALPHA}));
    EXPECT_EQ(calls[11].Args, (std::vector<double>{1, 1, 1, 1}));
    EXPECT_EQ(calls[12].Args, (std::vector<double>{GL_QUADS}));
    const std::vector<std::vector<double>> corners = {{0, 1}, {508, 0},     {0, 0}, {508, 103.5},
                                                      {1, 0}, {808, 103.5}, {1, 1}, {808, 0}};
    for (std::size_t i = 0; i < corners.size(); ++i)
        EXPECT_EQ(calls[13 + i].Args, corners[i]) << "corner call " << i;
    EXPECT_EQ(calls[22].Args, (std::vector<double>{GL_BLEND}));

    // A script slot runs its script at the origin with FrameTime: slot 12 is the second script.
    InstallGLRecorder();
    FrameTime = 0.1f;
    Scripts[1].Containers.resize(1);
    Scripts[1].Continuous = true;
    Scripts[1].Values.resize(1);
    Scripts[1].Values[0].NumParticles = 5;
    Scripts[1].Ranges.resize(1);
    Scripts[1].Ranges[0].Life.Base = 1.0f;
    Scripts[1].Vectors.resize(1);
    Scripts[1].VectorRanges.resize(1);
    EXPECT_TRUE(RunCurrentEffect(12));
    EXPECT_EQ(ParticleCount(Scripts[1].Containers[0]), 5);
    EXPECT_FALSE(RunCurrentEffect(-1));
}

TEST_F(DemoEffects, MenuHandlersSelectToggleShowAndKeepTheFontOutOfDebugMode) {
    SelectEffect(16);
    EXPECT_EQ(CurrentEffect, 16);
    Scripts[0].Containers.resize(2);
    Scripts[2].Containers.resize(1);

    DebugMode1Click();
    EXPECT_TRUE(DebugMode1Checked);
    for (const TParticleEffectContainer* shared : {&FloorEffect, &AdditiveEffect, &TerrainEffect}) {
        EXPECT_TRUE(shared->DebugMode);
        EXPECT_EQ(shared->DebugScale, 0.2f);
    }
    EXPECT_TRUE(Scripts[0].Containers[0].DebugMode && Scripts[0].Containers[1].DebugMode);
    EXPECT_TRUE(Scripts[2].Containers[0].DebugMode);
    EXPECT_FALSE(TextFont.Effect.DebugMode);

    DebugMode1Click();
    EXPECT_FALSE(DebugMode1Checked);
    EXPECT_FALSE(FloorEffect.DebugMode || AdditiveEffect.DebugMode || TerrainEffect.DebugMode);
    EXPECT_EQ(TerrainEffect.DebugScale, 0.2f); // the scale is set on every click
    EXPECT_FALSE(Scripts[0].Containers[1].DebugMode);

    Properties1Click();
    EXPECT_TRUE(Properties.Visible);
    EXPECT_FALSE(Properties.BringForward);
    Properties1Click(); // already shown: brought forward
    EXPECT_TRUE(Properties.BringForward);
}

TEST_F(DemoEffects, SliderPositionsMapToWindAndFriction) {
    EXPECT_FLOAT_EQ(WindComponent(0), -10.0f);
    EXPECT_FLOAT_EQ(WindComponent(50), 0.0f);
    EXPECT_FLOAT_EQ(WindComponent(51), 0.2f);
    EXPECT_FLOAT_EQ(WindComponent(100), 10.0f);
    EXPECT_FLOAT_EQ(FrictionComponent(0), 0.0f);
    EXPECT_FLOAT_EQ(FrictionComponent(37), 0.37f);
    EXPECT_FLOAT_EQ(FrictionComponent(100), 1.0f);
    for (const TTrackBarLayout& layout : TrackBarLayouts)
        EXPECT_EQ(Properties.Positions[std::size_t(&layout - TrackBarLayouts.data())], 50) << layout.Label;
    EXPECT_STREQ(TrackBarLayouts[0].Label, "Wind X:");
    EXPECT_STREQ(TrackBarLayouts[5].Label, "World friction Z:");
}

TEST_F(DemoEffects, WindSlidersSendTheWholeVectorToTheSharedSystemsOnly) {
    SetWorldFriction(TerrainEffect, {0.5f, 0.5f, 0.5f});
    SetWorldFriction(FloorEffect, {0.2f, 0.4f, 0.2f});
    Scripts[1].Containers.resize(1);
    ShowProperties(Properties);
    Button1Click(Properties);
    ExpectVector(FloorEffect.Wind, 0, 0, 0); // showing and closing sends nothing

    Properties.Positions[0] = 100;
    TrackBarChange(Properties, 1);
    for (const TParticleEffectContainer* shared : {&FloorEffect, &AdditiveEffect, &TerrainEffect})
        ExpectVector(shared->Wind, 10, 0, 0);
    Properties.Positions[1] = 0;
    TrackBarChange(Properties, 2);
    for (const TParticleEffectContainer* shared : {&FloorEffect, &AdditiveEffect, &TerrainEffect})
        ExpectVector(shared->Wind, 10, -10, 0);
    ExpectVector(WindVector, 10, -10, 0);
    ExpectVector(TextFont.Effect.Wind, 0, 0, 0);
    ExpectVector(Scripts[1].Containers[0].Wind, 0, 0, 0);
    ExpectVector(TerrainEffect.World.WorldFriction, 0.5f, 0.5f, 0.5f); // wind leaves friction alone

    // A friction slider sends all three friction positions, to the terrain system only.
    Properties.Positions[4] = 0;
    TrackBarChange(Properties, 5);
    ExpectVector(WorldFrictionVector, 0.5f, 0, 0.5f);
    ExpectVector(TerrainEffect.World.WorldFriction, 0.5f, 0, 0.5f);
    ExpectVector(FloorEffect.World.WorldFriction, 0.2f, 0.4f, 0.2f);
    ExpectVector(AdditiveEffect.World.WorldFriction, 0, 0, 0);
    ExpectVector(FloorEffect.Wind, 10, -10, 0); // friction leaves wind alone

    // Hidden and shown again: positions and engine values unchanged.
    Button1Click(Properties);
    ShowProperties(Properties);
    EXPECT_EQ(Properties.Positions[0], 100);
    ExpectVector(TerrainEffect.Wind, 10, -10, 0);
    TrackBarChange(Properties, 7); // no such slider
    ExpectVector(WindVector, 10, -10, 0);
}

TEST_F(DemoEffects, BenchmarkCountsTheSystemsOfTheSlotAndPrintsAligned) {
    FloorEffect.Particles.resize(3);
    AdditiveEffect.Particles.resize(4);
    TerrainEffect.Particles.resize(5);
    TextFont.Effect.Particles.resize(100);
    Scripts[0].Containers.resize(2);
    Scripts[0].Containers[1].Particles.resize(1000);
    Scripts[2].Containers.resize(1);
    Scripts[2].Containers[0].Particles.resize(20000);
    EXPECT_EQ(LiveParticles(0), 12);
    EXPECT_EQ(LiveParticles(17), 112);
    EXPECT_EQ(LiveParticles(11), 1012);
    EXPECT_EQ(LiveParticles(12), 12);
    EXPECT_EQ(LiveParticles(13), 20012);

    TBenchmarkRow row{13, "Stresstest Script (20000)", 20012, 11.8434, 184.5};
    EXPECT_EQ(BenchmarkHeader(), "slot  effect                       particles  engine ms   total ms\n");
    EXPECT_EQ(BenchmarkLine(row), "  13  Stresstest Script (20000)        20012     11.843    184.500\n");
    EXPECT_EQ(BenchmarkLine(row).size(), BenchmarkHeader().size());
}
