// The debugging aids' pure parts: the --stats line and its collection around the passes, the frame
// history, --record's file names and folder, --stats and --record on the command line, and the gizmo
// geometry in window pixels.

#include "app/core/command_line.h"
#include "app/core/debug_tools.h"
#include "app/core/effect_menu.h"
#include "app/core/effects_startup.h"
#include "app/debug/debug_gizmos.h"
#include "app/debug/frame_statistics.h"
#include "app/desktop/recording.h"
#include "demo_camera.h"
#include "effects/effects.h"
#include "effects/preset_timeline.h"
#include "engine/gl_recorder.h"
#include "engine/particle_step_breakdown.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <unistd.h>

using namespace lumidor;

namespace {

std::filesystem::path TempPath(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("lumidor_" + std::to_string(::getpid()) + "_" + name);
}

using lumidor::testing::DemoCamera;

// The recording GL table, answering the matrix and viewport queries as the demo's camera does, and
// counting the projection queries: only the debugging aids ask for the projection.
int projectionQueries = 0;
void (*recordedGetIntegerv)(GLenum, GLint*) = nullptr;

void InstallDemoCameraGL() {
    InstallGLRecorder();
    projectionQueries = 0;
    recordedGetIntegerv = GL.GetIntegerv;
    GL.GetFloatv = [](GLenum pname, GLfloat* params) {
        const TScreenView camera = DemoCamera();
        projectionQueries += pname == GL_PROJECTION_MATRIX;
        const float* matrix = pname == GL_PROJECTION_MATRIX ? camera.Projection : camera.Modelview;
        std::copy(matrix, matrix + 16, params);
    };
    GL.GetIntegerv = [](GLenum pname, GLint* params) {
        if (pname != GL_VIEWPORT) return recordedGetIntegerv(pname, params);
        const GLint viewport[4] = {0, 0, 800, 600};
        std::copy(viewport, viewport + 4, params);
    };
}

// One effect pass of the demo's hook around a pass of FloorEffect: `still` draws it as it stands.
void FloorEffectPass(bool still) {
    BeginDebugView(still);
    if (still) {
        DrawContainerStill(FloorEffect);
    } else {
        UpdateAndDraw(FloorEffect, 1.0f / 60.0f);
    }
    EndDebugView();
}

} // namespace

TEST(FrameStatistics, OneJsonLinePerFrameWithEscapedNamesAndNullForNonFiniteTimes) {
    TFrameStats frame;
    frame.Frame = 3;
    frame.Dt = 0.0333f;
    frame.Slot = 10;
    frame.Systems = {{"Terrain\"Effect\\", 7, 7, 0, 1.25}, {"Tab\there", 5, 0, 2, 0.5}};
    frame.EngineMs = 2.0;
    frame.FrameMs = std::numeric_limits<double>::infinity();
    EXPECT_EQ(
        FrameStatsJson(frame),
        "{\"frame\":3,\"dt\":0.0333,\"slot\":10,\"particles\":12,\"systems\":["
        "{\"name\":\"Terrain\\\"Effect\\\\\",\"live\":7,\"pass_ms\":1.250},"
        "{\"name\":\"Tab\\u0009here\",\"live\":5,\"pass_ms\":0.500}],\"engine_ms\":2.000,\"frame_ms\":null}");
    EXPECT_EQ(TotalParticles(frame), 12);
    EXPECT_EQ(ParticlesPerSecond(frame), 0.0); // an infinite frame simulates nothing per second
    frame.FrameMs = 0.0;
    EXPECT_EQ(ParticlesPerSecond(frame), 0.0);
    frame.FrameMs = 10.0;
    EXPECT_DOUBLE_EQ(ParticlesPerSecond(frame), 700.0); // the particles swept, not the live ones
    frame.Systems.clear();
    EXPECT_NE(FrameStatsJson(frame).find("\"particles\":0,\"systems\":[]"), std::string::npos);
}

TEST(FrameStatistics, HistoryKeepsTheLast300FramesOldestFirst) {
    TFrameHistory history;
    TFrameStats frame;
    for (int k = 1; k <= 305; ++k) {
        frame.FrameMs = k;
        frame.EngineMs = k / 2.0;
        AddToHistory(history, frame);
        if (k == 2) {
            EXPECT_EQ(InTimeOrder(history, history.FrameMs), (std::vector<float>{1, 2}));
        }
    }
    const std::vector<float> ordered = InTimeOrder(history, history.FrameMs);
    ASSERT_EQ(ordered.size(), 300u);
    EXPECT_EQ(ordered.front(), 6.0f);
    EXPECT_EQ(ordered.back(), 305.0f);
    EXPECT_EQ(InTimeOrder(history, history.EngineMs).back(), 152.5f);
}

TEST(FrameStatistics, PassesOfAFrameAreCountedAndWrittenAsOneLine) {
    InstallGLRecorder();
    ResetEffectsForTesting();
    const std::filesystem::path file = TempPath("stats.jsonl");
    std::string error;
    ASSERT_TRUE(OpenStatsFile(file.string(), error)) << error;
    InstallDebugTools();
    for (int frame = 0; frame < 2; ++frame) {
        BeginEffectPassStatistics();
        UpdateAndDraw(FloorEffect, 0.1f);
        // Emitted after the pass, as most presets do: counted as live at the end of the effect pass.
        for (int k = 0; k < 3; ++k)
            AddParticle(FloorEffect, {}, {1, 1, 0}, {1, 1, 1}, 0, 5.0f);
        AddMagnetPoint(AdditiveEffect, {}, 1.0f, 1.0f);
        UpdateAndDraw(AdditiveEffect, 0.1f);
        TParticleEffectContainer unnamed;
        UpdateAndDraw(unnamed, 0.1f);
        EndEffectPassStatistics();
        EndFrameStatistics(12.5);
        UpdateAndDraw(TerrainEffect, 0.1f); // outside the effect pass: not part of any frame
    }
    RemoveDebugTools();
    EXPECT_TRUE(CloseStatsFile());
    const TFrameStats& last = DebugTools.Last;
    ASSERT_EQ(last.Systems.size(), 3u);
    EXPECT_EQ(last.Systems[0].Name, "FloorEffect");
    EXPECT_EQ(last.Systems[0].Swept, 3);
    EXPECT_EQ(last.Systems[0].Live, 6);
    EXPECT_EQ(last.Systems[1].Name, "AdditiveEffect");
    EXPECT_EQ(last.Systems[1].Magnets, 2);
    EXPECT_EQ(last.Systems[2].Name, "System");
    EXPECT_EQ(last.FrameMs, 12.5);

    std::ifstream in(file);
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(in, line))
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find("\"particles\":6,"), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find("{\"name\":\"FloorEffect\",\"live\":6,"), std::string::npos) << lines[1];
    std::filesystem::remove(file);
    ResetEffectsForTesting();
}

TEST(FrameStatistics, AStatsFileThatCannotBeCreatedSaysWhy) {
    std::string error;
    EXPECT_FALSE(OpenStatsFile((TempPath("no_such_folder") / "x.jsonl").string(), error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_TRUE(CloseStatsFile()); // nothing open, nothing lost
}

TEST(Recording, FramesAreNumberedFromOneInTheFolder) {
    EXPECT_EQ(RecordFramePath("clip", 1), "clip/frame_000001.png");
    EXPECT_EQ(RecordFramePath("clip/", 42), "clip/frame_000042.png");
    EXPECT_EQ(RecordFramePath("clip", 1234567), "clip/frame_1234567.png");

    const std::filesystem::path folder = TempPath("record") / "nested";
    EXPECT_TRUE(PrepareRecordFolder(folder.string()));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(PrepareRecordFolder(folder.string())); // an existing folder is fine
    const std::filesystem::path file = folder / "plain_file";
    std::ofstream(file) << "x";
    EXPECT_FALSE(PrepareRecordFolder(file.string()));
    std::filesystem::remove_all(TempPath("record"));
}

TEST(CommandLine, StatsAndRecordTakeANameAndRecordingIsNoBenchmark) {
    TCommandLineResult result = ParseCommandLine({"--stats", "s.jsonl", "--record=clip", "--frames", "5"});
    ASSERT_EQ(result.Action, TCommandLineAction::Run) << result.Error;
    EXPECT_EQ(result.Options.StatsFile, "s.jsonl");
    EXPECT_EQ(result.Options.RecordFolder, "clip");
    EXPECT_EQ(ParseCommandLine({"--stats", "s.jsonl", "--benchmark"}).Action, TCommandLineAction::Run);

    result = ParseCommandLine({"--record", "clip", "--benchmark"});
    EXPECT_EQ(result.Action, TCommandLineAction::Fail);
    EXPECT_EQ(result.Error, "--record cannot be combined with --benchmark, which runs every effect in turn");
    EXPECT_EQ(ParseCommandLine({"--stats="}).Error, "--stats expects a file name, got \"\"");
    EXPECT_EQ(ParseCommandLine({"--record"}).Error, "--record needs a value");
    EXPECT_NE(CommandLineUsage().find("--stats FILE.jsonl"), std::string::npos);
    EXPECT_NE(CommandLineUsage().find("--record FOLDER"), std::string::npos);
}

TEST(DebugGizmos, ProjectionMatchesTheDemoCamera) {
    const TScreenView view = DemoCamera();
    float x = 0, y = 0;
    ASSERT_TRUE(ProjectToWindow(view, {0, 0, 0}, x, y));
    EXPECT_NEAR(x, 400.0f, 1e-3f);
    EXPECT_NEAR(y, 300.0f, 1e-3f);
    // The top edge of the view at the origin's depth is 5 tan(22.5 degrees) up.
    ASSERT_TRUE(ProjectToWindow(view, {0, 5.0f * std::tan(22.5f * 3.14159265f / 180.0f), 0}, x, y));
    EXPECT_NEAR(y, 0.0f, 1e-2f);
    EXPECT_FALSE(ProjectToWindow(view, {0, 0, 6.0f}, x, y)); // behind the camera
}

TEST(DebugGizmos, MagnetCirclesFaceTheCameraInTheColourOfWhatTheyDo) {
    TMagnetPoint magnet;
    magnet.Radius = 1.0f;
    magnet.Gravity = 2.0f;
    magnet.Mode = 1;
    EXPECT_EQ(MagnetAction(magnet), TMagnetAction::Pushes);
    magnet.Mode = 2;
    EXPECT_EQ(MagnetAction(magnet), TMagnetAction::Pushes);
    magnet.Mode = 0;
    EXPECT_EQ(MagnetAction(magnet), TMagnetAction::Pulls); // per axis back towards the magnet
    magnet.Gravity = -2.0f;
    EXPECT_EQ(MagnetAction(magnet), TMagnetAction::Pushes);
    magnet.Mode = 1;
    EXPECT_EQ(MagnetAction(magnet), TMagnetAction::Pulls);
    magnet.Mode = 3;
    EXPECT_EQ(MagnetAction(magnet), TMagnetAction::Inert);
    magnet.Mode = 1;
    magnet.Gravity = 0.0f;
    EXPECT_EQ(MagnetAction(magnet), TMagnetAction::Inert);

    // Facing the camera, the circle is round on screen: every point one radius's pixels from the centre.
    const TScreenView view = DemoCamera();
    magnet.Gravity = -1.0f;
    std::vector<TScreenLine> lines;
    AddMagnetCircle(lines, view, magnet);
    ASSERT_EQ(lines.size(), std::size_t(kMagnetCircleSegments + 2));
    const float pixelsPerUnit = 300.0f / (5.0f * std::tan(22.5f * 3.14159265f / 180.0f));
    for (int k = 0; k < kMagnetCircleSegments; ++k)
        EXPECT_NEAR(std::hypot(lines[std::size_t(k)].X0 - 400.0f, lines[std::size_t(k)].Y0 - 300.0f),
                    pixelsPerUnit, 0.05f);
    EXPECT_GT(lines[0].B, lines[0].R); // pull: blue
    magnet.Gravity = 1.0f;
    lines.clear();
    AddMagnetCircle(lines, view, magnet);
    EXPECT_GT(lines[0].R, lines[0].B); // push: orange
}

TEST(DebugGizmos, GroundGridFollowsTheHeightFieldAroundTheParticles) {
    InstallGLRecorder();
    TParticleEffectContainer container;
    const TScreenView view = DemoCamera();
    std::vector<TScreenLine> lines;
    AddGroundGrid(lines, view, container.World, -1, 1, -1, 1);
    EXPECT_TRUE(lines.empty()); // no collision world

    // A ramp: height x along x.
    SetCollisionWorld(container, std::make_shared<HDataArray>(HDataArray{{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}),
                      {-1, -2, -1}, 1.0f, 1.0f);
    EXPECT_FLOAT_EQ(GroundHeight(container.World, 0.5f, 0.25f), -0.5f); // 1.5 along the ramp, origin -2
    EXPECT_FLOAT_EQ(GroundHeight(container.World, -9.0f, 0.0f), -2.0f); // the border height outside
    EXPECT_FLOAT_EQ(GroundHeight(container.World, 9.0f, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(GroundHeight(container.World, std::nanf(""), 0.0f), -2.0f);

    AddGroundGrid(lines, view, container.World, 5, 6, 5, 6);
    EXPECT_TRUE(lines.empty()); // the box misses the world
    AddGroundGrid(lines, view, container.World, -0.5f, 0.5f, -0.5f, 0.5f);
    // At least 8 spans each way, so that a one-cell floor still reads as a grid.
    EXPECT_EQ(lines.size(), std::size_t(2 * 9 * 8));
    float x = 0, y = 0;
    ASSERT_TRUE(ProjectToWindow(view, {-0.5f, -1.5f, -0.5f}, x, y)); // the ramp's height at x = -0.5
    EXPECT_NEAR(lines[0].X0, x, 1e-3f);
    EXPECT_NEAR(lines[0].Y0, y, 1e-3f);

    // A big grid is thinned to kGroundGridLines lines each way.
    HDataArray big(200, std::vector<float>(200, 0.0f));
    SetCollisionWorld(container, std::make_shared<HDataArray>(big), {-10, 0, -10}, 0.1f, 0.1f);
    lines.clear();
    AddGroundGrid(lines, view, container.World, -10, 10, -10, 0); // all in front of the camera
    EXPECT_EQ(lines.size(), std::size_t(2 * kGroundGridLines * (kGroundGridLines - 1)));
}

TEST(DebugTools, AClickPicksInAnyModeAndAPausedFrameKeepsTheStepLastTaken) {
    InstallDemoCameraGL();
    ResetEffectsForTesting();
    InstallDebugTools();
    CurrentEffect = 16;
    DebugMode1Checked = false;
    AddParticle(FloorEffect, {0.0f, 0.5f, 0.0f}, {0.1f, 0.1f, 0}, {1, 1, 1}, 0, 5.0f);
    SetParticleForce(FloorEffect, {0.0f, -3.0f, 0.0f}, 0);
    float x = 0, y = 0;
    ASSERT_TRUE(ProjectToWindow(DemoCamera(), {0.0f, 0.5f, 0.0f}, x, y));

    FloorEffectPass(false); // nobody picks: the passes are not looked at
    EXPECT_EQ(projectionQueries, 0);
    RequestPick(x + 3.0f, y);
    FloorEffectPass(false);
    ASSERT_TRUE(DebugTools.Inspecting) << "a click picks without debug mode";
    EXPECT_EQ(DebugTools.Inspected.System, "FloorEffect");

    FloorEffectPass(false); // the frame of a step: 1/60 s run
    const TInspectedParticle& inspected = DebugTools.Inspected;
    ASSERT_TRUE(inspected.StepSeen);
    const TParticle stepped = inspected.Record;
    EXPECT_LT(inspected.Step.After.Velocity.y, inspected.Step.Before.Velocity.y);
    for (int frame = 0; frame < 3; ++frame) {
        FloorEffectPass(true); // paused: drawn as it stands
        EXPECT_TRUE(inspected.Running);
        EXPECT_EQ(inspected.Step.Dt, 1.0f / 60.0f);
        EXPECT_EQ(inspected.Step.After.Velocity.y, stepped.Velocity.y);
        EXPECT_EQ(inspected.Record.Position.y, stepped.Position.y);
    }

    // Debug mode on keeps the inspection; switching it off ends it.
    DebugMode1Checked = true;
    FloorEffectPass(false);
    EXPECT_TRUE(DebugTools.Inspecting);
    DebugMode1Checked = false;
    FloorEffectPass(false);
    EXPECT_FALSE(DebugTools.Inspecting);
    RemoveDebugTools();
    ResetEffectsForTesting();
}
