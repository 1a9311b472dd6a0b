// The timeline without a display: the state logic (speed, pause, steps, seek clamping, the slider's
// range), and on the recording GL fake its effect on the demo's effects: seeks that repeat, steps that
// continue a seek exactly, still frames that change no particle and draw nothing silently, and the
// examples with their ground.

#include "app/core/effects_startup.h"
#include "app/core/example_scripts.h"
#include "app/core/live_scripts.h"
#include "app/core/timeline.h"
#include "app/core/timeline_control.h"
#include "effects/effect_slots.h"
#include "effects/effects.h"
#include "effects/frame_time.h"
#include "effects/preset_timeline.h"
#include "engine/collision_world.h"
#include "engine/gl_recorder.h"
#include "engine/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <vector>

using namespace lumidor;
namespace fs = std::filesystem;

namespace {

/// Position, velocity and remaining life of every particle, in container order.
std::vector<float> StateOf(const TParticleEffectContainer& container) {
    std::vector<float> state;
    for (std::int32_t i = 0; i < ParticleCount(container); ++i) {
        const TParticle p = container.Particles[std::size_t(i)];
        for (float value :
             {p.Position.x, p.Position.y, p.Position.z, p.Velocity.x, p.Velocity.y, p.Velocity.z, p.LifeLeft})
            state.push_back(value);
    }
    return state;
}

std::vector<float> StateOf(const TParticleScript& script) {
    std::vector<float> state;
    for (const TParticleEffectContainer& container : script.Containers) {
        const std::vector<float> one = StateOf(container);
        state.push_back(float(one.size()));
        state.insert(state.end(), one.begin(), one.end());
    }
    return state;
}

/// The demo's effects on the GL fake, run from the data folder.
class TimelineEffects : public ::testing::Test {
  protected:
    void SetUp() override {
        previousDirectory = fs::current_path();
        fs::current_path(LUMIDOR_SOURCE_DIR "/data");
        InstallGLRecorder();
        GLRecorder().Recording = false;
        ResetEffectsForTesting();
        InitEffects();
        Timeline = TTimeline{};
        Timeline.Seed = 42;
        CancelTimelineWork();
        TimelineWorkBudgetMs = 0.0;
        PlayedScripts.clear();
        FrameTime = 0.0f;
    }
    void TearDown() override {
        CancelTimelineWork();
        TimelineWorkBudgetMs = 0.0;
        PlayedScripts.clear();
        Timeline = TTimeline{};
        ResetEffectsForTesting();
        fs::current_path(previousDirectory);
    }
    // One frame as the demo's effect pass runs it: the timeline's frame, then the current effect.
    void Frame(float frameTime) {
        FrameTime = frameTime;
        const TTimelineFrame frame = BeginTimelineFrame();
        if (frame.Still) {
            DrawEffectStill(CurrentEffect);
        } else if (CurrentEffect >= FirstPlayedSlot) {
            RunPlayedScript(CurrentEffect, FrameTime);
        } else {
            RunEffectSlot(CurrentEffect, TEffectCallbacks{});
        }
        EndTimelineFrame();
    }

    fs::path previousDirectory;
};

} // namespace

TEST(Timeline, SpeedIsClampedAndScalesTheFrameTime) {
    TTimeline timeline;
    for (const auto& [asked, kept] : {std::pair{0.1f, 0.25f},
                                      {10.0f, 4.0f},
                                      {2.0f, 2.0f},
                                      {-1.0f, 0.25f},
                                      {std::numeric_limits<float>::quiet_NaN(), 1.0f},
                                      {std::numeric_limits<float>::infinity(), 4.0f}}) {
        SetTimelineSpeed(timeline, asked);
        EXPECT_EQ(timeline.Speed, kept) << asked;
    }
    SetTimelineSpeed(timeline, 0.5f);
    EXPECT_FLOAT_EQ(NextTimelineFrame(timeline, 0.04f).Dt, 0.02f);
    SetTimelineSpeed(timeline, 1.0f);
    const float odd = 0.0123456789f;
    EXPECT_EQ(NextTimelineFrame(timeline, odd).Dt, odd) << "normal speed passes the host's time on exactly";
    EXPECT_FALSE(NextTimelineFrame(timeline, odd).Still);
}

TEST(Timeline, PauseStandsStillAndStepsRunOneFixedStepEach) {
    TTimeline timeline;
    ToggleTimelinePause(timeline);
    TTimelineFrame frame = NextTimelineFrame(timeline, 0.05f);
    EXPECT_TRUE(frame.Still);
    EXPECT_EQ(frame.Dt, 0.0f);
    EXPECT_EQ(timeline.PresetSeconds, 0.0);

    StepTimeline(timeline);
    StepTimeline(timeline);
    for (int k = 0; k < 2; ++k) {
        frame = NextTimelineFrame(timeline, 0.05f);
        EXPECT_FALSE(frame.Still);
        EXPECT_EQ(frame.Dt, TimelineStepSeconds) << "a step ignores the host's frame time and the speed";
    }
    EXPECT_TRUE(NextTimelineFrame(timeline, 0.05f).Still);
    EXPECT_NEAR(timeline.PresetSeconds, 2.0 * TimelineStepSeconds, 1e-9);

    // A step while running pauses; resuming drops the steps not yet run; a held key queues a bounded number.
    TTimeline running;
    StepTimeline(running);
    EXPECT_TRUE(running.Paused);
    for (int k = 0; k < 5000; ++k)
        StepTimeline(running);
    EXPECT_EQ(running.StepsPending, 600);
    ToggleTimelinePause(running);
    EXPECT_FALSE(running.Paused);
    EXPECT_EQ(running.StepsPending, 0);
}

TEST(Timeline, SeeksGoToTheNearestStepAreHandedOutOnceAndDroppedWhenTheEffectChanges) {
    TTimeline timeline;
    FollowTimelineEffect(timeline, 3);
    for (const auto& [asked, kept] : {std::pair<double, std::int64_t>{-5.0, 0},
                                      {1e9, MaxTimelineSeekSteps},
                                      {2.5, 150},
                                      {0.51, 31},
                                      {2000.0 / 60.0, 2000},
                                      {std::numeric_limits<double>::quiet_NaN(), 0}}) {
        SeekTimeline(timeline, asked);
        const TTimelineFrame frame = NextTimelineFrame(timeline, 0.0f);
        ASSERT_TRUE(frame.SeekTo.has_value());
        EXPECT_EQ(*frame.SeekTo, kept) << asked;
        EXPECT_EQ(timeline.PresetSeconds, SecondsOfSteps(kept)) << "the time shown is the step's";
        EXPECT_FALSE(NextTimelineFrame(timeline, 0.0f).SeekTo.has_value());
    }
    RestartTimeline(timeline);
    FollowTimelineEffect(timeline, 3); // the same effect keeps it
    EXPECT_EQ(timeline.SeekPending, 0);
    timeline.PresetSeconds = 7.0;
    FollowTimelineEffect(timeline, 4);
    EXPECT_FALSE(timeline.SeekPending.has_value()) << "a seek asked for another effect is dropped";
    EXPECT_EQ(timeline.PresetSeconds, 0.0);
}

TEST(Timeline, TheSliderSpansTheEffectsLengthOrTheLongestSeekFromTheStart) {
    for (const auto& [length, end] :
         {std::pair<std::optional<double>, double>{std::nullopt, MaxTimelineSeekSeconds},
          {11.2, 12.0},
          {3.0, 3.0},
          {0.0, 1.0},
          {0.2, 1.0},
          {75.0, MaxTimelineSeekSeconds},
          {std::numeric_limits<double>::quiet_NaN(), MaxTimelineSeekSeconds}})
        EXPECT_EQ(TimelineSliderEnd(length), end) << length.value_or(-1.0);
}

TEST_F(TimelineEffects, APresetSeekRepeatsAndAStepAfterItIsTheSameAsALongerSeek) {
    CurrentEffect = 2; // Explosion: a burst every 2 s
    for (int k = 0; k < 30; ++k)
        Frame(0.02f); // whatever ran before does not matter
    ASSERT_TRUE(SeekEffect(2, 2.5));
    const std::vector<float> first = StateOf(FloorEffect);
    EXPECT_GT(first.size(), 0u);
    EXPECT_NEAR(EffectTimer, 0.5f, 0.02f) << "one burst at 2 s, half a second ago";
    ASSERT_TRUE(SeekEffect(2, 2.5));
    EXPECT_EQ(StateOf(FloorEffect), first);

    // Seek to 2 s, then three single steps: the particles of a seek to 2.05 s.
    SeekTimeline(Timeline, 2.0);
    Frame(0.02f);
    ToggleTimelinePause(Timeline);
    for (int k = 0; k < 3; ++k)
        StepTimeline(Timeline);
    for (int k = 0; k < 5; ++k)
        Frame(0.02f); // three steps, then still frames
    const std::vector<float> stepped = StateOf(FloorEffect);
    ASSERT_TRUE(SeekEffect(2, 2.0 + 4.0 * TimelineStepSeconds));
    EXPECT_EQ(stepped, StateOf(FloorEffect));
}

TEST_F(TimelineEffects, AStillFrameDrawsButMovesNoParticleAndASeekDrawsNothing) {
    CurrentEffect = 16; // Snow: flakes resting on the floor bounce even in a pass with no time
    for (int k = 0; k < 120; ++k)
        Frame(0.05f);
    const std::vector<float> before = StateOf(FloorEffect);
    ASSERT_GT(before.size(), 0u);
    GLRecorder().Recording = true;
    GLRecorder().Calls.clear();
    ToggleTimelinePause(Timeline);
    Frame(0.05f);
    EXPECT_EQ(StateOf(FloorEffect), before);
    EXPECT_EQ(CountGLCalls("DrawArrays"), 1) << "the paused frame is drawn";

    GLRecorder().Calls.clear();
    ASSERT_TRUE(SeekEffect(16, 1.0));
    EXPECT_EQ(CountGLCalls("DrawArrays"), 0);
    EXPECT_EQ(CountGLCalls("Begin"), 0);
    EXPECT_EQ(CountGLCalls("PushMatrix"), CountGLCalls("PopMatrix"));
    EXPECT_GT(ParticleCount(FloorEffect), 0);
    EXPECT_NE(StateOf(FloorEffect), before);
    Frame(0.05f);
    EXPECT_EQ(CountGLCalls("DrawArrays"), 1) << "drawing is back after the seek";
}

TEST_F(TimelineEffects, AStillPassPutsBackAParticleThatAPassWithNoTimeWouldBounce) {
    // A particle rising through the ground's collision band: even a pass of no time reflects it.
    TParticleEffectContainer container;
    auto flat = std::make_shared<const HDataArray>(HDataArray{{0.0f, 0.0f}, {0.0f, 0.0f}});
    SetCollisionWorld(container, flat, {-5.0f, 0.0f, -5.0f}, 10.0f, 10.0f);
    AddParticle(container, {0.0f, 0.1f, 0.0f}, {0.1f, 0.1f, 0.0f}, {1.0f, 1.0f, 1.0f}, 0, 2.0f);
    SetParticleVelocity(container, {0.0f, 1.0f, 0.0f}, 0);
    TParticleEffectContainer moved = container;
    UpdateAndDraw(moved, 0.0f);
    ASSERT_NE(StateOf(moved), StateOf(container)) << "the case a still pass has to undo";
    const std::vector<float> before = StateOf(container);
    DrawContainerStill(container);
    EXPECT_EQ(StateOf(container), before);
}

TEST_F(TimelineEffects, RestartingPresetsClearsTheSharedSystemsAndState) {
    CurrentEffect = 18;
    for (int k = 0; k < 50; ++k)
        Frame(0.02f);
    ASSERT_GT(ParticleCount(FloorEffect), 0);
    RestartPresets();
    EXPECT_EQ(ParticleCount(FloorEffect) + ParticleCount(AdditiveEffect) + ParticleCount(TerrainEffect), 0);
    EXPECT_EQ(EffectTimer, 0.0f);
    EXPECT_FALSE(RocketExploded);
    EXPECT_TRUE(HasCollision(FloorEffect.World)) << "settings stay";
    for (int slot = 0; slot < 19; ++slot)
        EXPECT_TRUE(PresetTimeline(slot).CanSeek) << slot;
    EXPECT_FALSE(PresetTimeline(19).CanSeek);
    EXPECT_FALSE(DrawPresetStill(-1));
}

TEST_F(TimelineEffects, WithABudgetASeekGoesOnOverFramesCanBeReplacedAndLandsWhereAnAtOnceSeekDoes) {
    CurrentEffect = 2; // Explosion
    ASSERT_TRUE(SeekEffect(2, 1.0));
    const std::vector<float> atOnce = StateOf(FloorEffect);
    TakeFrameClockRestart(); // the start-up's loads
    Frame(0.02f);
    EXPECT_FALSE(TakeFrameClockRestart()) << "a frame without timeline work keeps its clock";

    TimelineWorkBudgetMs = 1e-9;   // a step a frame
    ToggleTimelinePause(Timeline); // so the frame that ends the work adds no time of its own
    Frame(0.02f);
    EXPECT_FALSE(TakeFrameClockRestart());
    SeekTimeline(Timeline, 50.0);
    for (int k = 0; k < 5; ++k)
        Frame(0.02f);
    EXPECT_EQ(TimelineWorkText(), "Seeking 0.08 s of 50 s");
    EXPECT_TRUE(TakeFrameClockRestart());
    SeekTimeline(Timeline, 1.0); // replaces the long one
    int frames = 0;
    for (; !TimelineWorkText().empty() && frames < 1000; ++frames)
        Frame(0.02f);
    EXPECT_EQ(frames, 60) << "a step in each frame";
    EXPECT_EQ(StateOf(FloorEffect), atOnce);
    EXPECT_NEAR(EffectTimeline(2).Seconds, 1.0, 1e-9);
    ToggleTimelinePause(Timeline);
    Frame(0.02f);
    EXPECT_TRUE(TakeFrameClockRestart()) << "resuming is not the effect's time";
}

TEST_F(TimelineEffects, WithABudgetAPrewarmGoesOnOverFramesThenThePlayStarts) {
    TimelineWorkBudgetMs = 1e-9;
    const int slot = PlayExampleScript(ExampleScripts[1]); // the campfire: prewarm(2)
    TParticleScript& script = PlayedScripts[0].Script;
    ASSERT_EQ(script.Prewarm, 2.0f);
    Frame(0.02f);
    EXPECT_EQ(TimelineWorkText(), "Prewarming 0 %");
    for (int k = 0; k < 59; ++k)
        Frame(0.02f);
    EXPECT_EQ(TimelineWorkText(), "Prewarming 50 %");
    EXPECT_TRUE(ScriptWarmingUp(script));
    EXPECT_EQ(EffectTimeline(slot).Seconds, 0.0);
    for (int k = 0; k < 60; ++k)
        Frame(0.02f);
    EXPECT_EQ(TimelineWorkText(), "");
    EXPECT_FALSE(ScriptWarmingUp(script));
    EXPECT_NEAR(script.Time, 2.0 + 0.02, 1e-5) << "120 prewarm steps, then the frame that ended them ran";
}

TEST_F(TimelineEffects, AnExampleSeeksAndStepsAsItsRuntimeDoes) {
    const int slot = PlayExampleScript(ExampleScripts[0]); // the firework
    ASSERT_EQ(slot, FirstPlayedSlot);
    ASSERT_EQ(CurrentEffect, slot);
    TParticleScript& script = PlayedScripts[0].Script;
    ASSERT_EQ(script.Containers.size(), 3u);
    ASSERT_TRUE(SeekEffect(slot, 1.5));
    const std::vector<float> seeked = StateOf(script);
    EXPECT_GT(ParticleCount(script.Containers[1]), 0) << "the second shell bursts at 1.2 s";
    EXPECT_NEAR(EffectTimeline(slot).Seconds, 1.5, 1e-6);

    ASSERT_TRUE(SeekEffect(slot, 1.0));
    ToggleTimelinePause(Timeline);
    for (int k = 0; k < 30; ++k)
        StepTimeline(Timeline);
    for (int k = 0; k < 31; ++k)
        Frame(0.5f);
    EXPECT_EQ(StateOf(script), seeked);
    EXPECT_NEAR(EffectTimeline(slot).Seconds, 1.5, 1e-5);

    // Still frames keep the clock and the particles.
    Frame(0.5f);
    EXPECT_EQ(StateOf(script), seeked);
    EXPECT_FALSE(EffectTimeline(slot).Finished);

    // A slot with no script cannot seek, and says why.
    const TEffectTimeline none = EffectTimeline(FirstPlayedSlot + 5);
    EXPECT_FALSE(none.CanSeek);
    EXPECT_FALSE(none.Reason.empty());
    EXPECT_FALSE(SeekEffect(FirstPlayedSlot + 5, 1.0));
}

TEST_F(TimelineEffects, ExamplesAreFoundByNameAndBouncingTypesGetAGround) {
    EXPECT_EQ(FindExampleScript("firework"), "scripts/examples/firework.psc");
    EXPECT_EQ(FindExampleScript("CampFire.psc"), "scripts/examples/campfire.psc");
    EXPECT_EQ(FindExampleScript("explosion"), "scripts/examples/explosion.psc");
    EXPECT_FALSE(FindExampleScript("fireworks").has_value());
    EXPECT_FALSE(FindExampleScript("").has_value());
    EXPECT_FALSE(FindExampleScript(".psc").has_value());
    EXPECT_EQ(ExampleScriptNames(), "firework, campfire, explosion, fountain, spell or smoke");
    for (const TExampleScript& example : ExampleScripts)
        EXPECT_TRUE(fs::is_regular_file(example.File)) << example.File;

    // The campfire's sparks (type 1, the only type with "onbounce") start on a disc at y = -1.15.
    PlayExampleScript(ExampleScripts[1]);
    const TParticleScript& campfire = PlayedScripts.back().Script;
    ASSERT_EQ(campfire.Containers.size(), 4u);
    for (std::size_t type = 0; type < 4; ++type)
        EXPECT_EQ(HasCollision(campfire.Containers[type].World), type == 1) << type;
    EXPECT_NEAR(campfire.Containers[1].World.Origin.y, -1.15f - PlayedScriptGroundGap, 1e-6f);
    // A firework has no bounce: no ground.
    const int firework = PlayExampleScript(ExampleScripts[0]);
    for (const TParticleEffectContainer& container :
         PlayedScripts[std::size_t(firework - FirstPlayedSlot)].Script.Containers)
        EXPECT_FALSE(HasCollision(container.World));

    // The lowest start point: a box's negative spread, a ball's radius; a disc is flat.
    TParticleScript script;
    script.VectorRanges.resize(1);
    script.Emission.resize(1);
    script.VectorRanges[0].Position.Base = {0.0f, -1.0f, 0.0f};
    script.VectorRanges[0].Position.Spread = {0.0f, -0.5f, 0.0f};
    EXPECT_NEAR(ScriptGroundHeight(script, 0, {0.0f, 2.0f, 0.0f}), 0.5f - PlayedScriptGroundGap, 1e-6f);
    script.Emission[0].Emitter = {TEmitterShape::SphereShell, -0.3f, 0.0f};
    EXPECT_NEAR(ScriptGroundHeight(script, 0, {}), -1.3f - PlayedScriptGroundGap, 1e-6f);
    script.Emission[0].Emitter.Shape = TEmitterShape::Ring;
    EXPECT_NEAR(ScriptGroundHeight(script, 0, {}), -1.0f - PlayedScriptGroundGap, 1e-6f);
}

TEST(PlayedScriptGround, AScriptWithItsOwnGroundGetsNoneFromTheDemoAndTiltedDiscsReachDown) {
    TParticleScript script;
    script.Containers.resize(1);
    script.VectorRanges.resize(1);
    script.Emission.resize(1);
    script.Look.resize(1);
    script.Emission[0].SubEmitters = {{TScriptEvent::Bounce, 0, 1}};
    TParticleScript owned = script;
    owned.HasGround = true;
    EXPECT_EQ(GiveBouncingTypesAGround(owned, {}), 0);
    EXPECT_FALSE(HasCollision(owned.Containers[0].World));
    EXPECT_EQ(GiveBouncingTypesAGround(script, {}), 1);
    EXPECT_TRUE(HasCollision(script.Containers[0].World));

    // A disc of radius 2 turned on its side reaches 2 below its centre; tilted by 45 degrees, 2 sin 45.
    script.Emission[0].Emitter = {TEmitterShape::Disc, 2.0f, 0.0f};
    const struct {
        TVector3 Axis;
        float Below;
    } cases[] = {
        {{0, 1, 0}, 0.0f}, {{1, 0, 0}, 2.0f}, {{0, 1, 1}, 2.0f * std::sqrt(0.5f)}, {{0, -3, 0}, 0.0f}};
    for (const auto& c : cases) {
        script.Look[0].Used = true;
        script.Look[0].HasShapeAxis = true;
        script.Look[0].ShapeAxis = c.Axis;
        EXPECT_NEAR(ScriptGroundHeight(script, 0, {}), -c.Below - PlayedScriptGroundGap, 1e-6f) << c.Below;
    }
}
