// Time in whole steps: a seek lands exactly where played steps do, anywhere up to an hour and off the
// step grid; seeks from checkpoints and in slices give the bits of a seek from the start; a prewarm's
// work is bounded; what the caps hold back is said in the debugger log.

#include "engine/gl_recorder.h"
#include "engine/random.h"
#include "script/particle_script.h"
#include "script/script_seek.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace lumidor;

namespace {

/// A few particles that live a second or so, bursts every 2.5 s and a prewarm: cheap enough to play an
/// hour, busy enough that a step out of place changes the particles.
TParticleScript SmallScript() {
    TParticleScript script = test::MakeScript(1, true);
    script.Values[0].NumParticles = 6.0f;
    script.Ranges[0].Life = {0.5f, 0.7f};
    script.VectorRanges[0].Velocity = {{1, 1, 1}, {0, 2, 0}};
    script.Vectors[0].Force = {0, -1, 0};
    script.Emission.resize(1);
    script.Emission[0].Bursts = {{0.3f, 3, 2.5f, 100000}};
    script.Prewarm = 0.5f;
    return script;
}

/// Every bit of every particle, the clock and the bursts fired.
void ExpectSameState(const TParticleScript& a, const TParticleScript& b, const std::string& where) {
    ASSERT_EQ(a.Containers.size(), b.Containers.size()) << where;
    for (std::size_t t = 0; t < a.Containers.size(); ++t) {
        ASSERT_EQ(a.Containers[t].Particles.size(), b.Containers[t].Particles.size()) << where;
        for (std::size_t i = 0; i < a.Containers[t].Particles.size(); ++i) {
            const TParticle p = a.Containers[t].Particles[i], q = b.Containers[t].Particles[i];
            ASSERT_TRUE(SameParticleBits(p, q)) << where << ", particle " << i;
        }
    }
    EXPECT_EQ(a.Time, b.Time) << where;
    for (std::size_t t = 0; t < a.Emission.size(); ++t)
        for (std::size_t k = 0; k < a.Emission[t].Bursts.size(); ++k)
            EXPECT_EQ(a.Emission[t].Bursts[k].Fired, b.Emission[t].Bursts[k].Fired) << where;
}

class ScriptSeek : public ::testing::Test {
  protected:
    void SetUp() override { InstallGLRecorder().Recording = false; }
};

TEST_F(ScriptSeek, SeekingToNStepsIsNPlayedStepsUpToAnHour) {
    // One played run, compared at times on both sides of where a float step count used to slip
    // (about 1,920 steps), and at one hour.
    TParticleScript played = SmallScript();
    SeedRandom(5);
    std::int64_t stepsPlayed = 0;
    for (const std::int64_t n :
         {std::int64_t(0), std::int64_t(1), std::int64_t(600), std::int64_t(1900), std::int64_t(2000),
          std::int64_t(2400), std::int64_t(3600), std::int64_t(100'000), MaxFixedSteps}) {
        for (; stepsPlayed < n; ++stepsPlayed)
            AdvanceScript(played, {1, 0, 0}, ScriptStepSeconds);
        TParticleScript sought = SmallScript();
        const TRandomState playing = SaveRandom(); // the played run's draws go on after the seek
        SeekScriptSteps(sought, {1, 0, 0}, n, 5);
        RestoreRandom(playing);
        if (n == 0) {
            // No frame played yet: the seek still stands after the prewarm, as the first frame starts.
            EXPECT_EQ(sought.PrewarmStepsRun, 30);
            EXPECT_EQ(ScriptPlayedSeconds(sought), 0.0);
            continue;
        }
        ExpectSameState(sought, played, "step " + std::to_string(n));
        EXPECT_EQ(ScriptPlayedSeconds(sought), double(n) * double(ScriptStepSeconds));
    }
    // Past an hour a seek stays at the hour.
    TParticleScript beyond = SmallScript();
    SeekScriptSteps(beyond, {1, 0, 0}, MaxFixedSteps + 500, 5);
    ExpectSameState(beyond, played, "past an hour");
}

TEST_F(ScriptSeek, OffTheGridASeekGoesToTheNearestStepAndStepsAfterItAddUp) {
    EXPECT_EQ(StepsForSeconds(0.51), 31);
    EXPECT_EQ(StepsForSeconds(2000.0 / 60.0), 2000);
    EXPECT_EQ(StepsForSeconds(-1.0), 0);
    EXPECT_EQ(StepsForSeconds(1e30), MaxFixedSteps);
    for (const double t : {0.51, 7.777, 40.004}) {
        TParticleScript a = SmallScript();
        SeekScript(a, {}, t, 9);
        for (int k = 0; k < 3; ++k)
            AdvanceScript(a, {}, ScriptStepSeconds);
        TParticleScript b = SmallScript();
        SeekScript(b, {}, t + 3.0 / 60.0, 9);
        ExpectSameState(a, b, "seek(" + std::to_string(t) + ") + 3 steps");
        TParticleScript c = SmallScript();
        SeekScriptSteps(c, {}, StepsForSeconds(t) + 3, 9);
        ExpectSameState(a, c, "the same in steps");
    }
}

TEST_F(ScriptSeek, SeeksFromCheckpointsAndInSlicesHaveTheBitsOfASeekFromTheStart) {
    for (const std::size_t budget : {MaxScriptCheckpointBytes, std::size_t(4096)}) {
        TScriptSeeker seeker;
        seeker.ByteBudget = budget;
        TParticleScript script = SmallScript();
        BeginScriptSeek(seeker, script, {0, 1, 0}, 700, 3);
        while (!ContinueScriptSeek(seeker, script, 1000)) {
        }
        EXPECT_LE(seeker.BytesHeld, budget);
        EXPECT_FALSE(seeker.Checkpoints.empty());
        if (budget < MaxScriptCheckpointBytes) {
            EXPECT_GT(seeker.Spacing, ScriptCheckpointSpacing) << "thinned";
        }
        for (const int target : {0, 61, 130, 599, 700, 300, 1200}) {
            BeginScriptSeek(seeker, script, {0, 1, 0}, target, 3);
            // Slices of 7 steps with other draws between them, as frames of the demo would make.
            while (!ContinueScriptSeek(seeker, script, 7))
                R();
            TParticleScript fresh = SmallScript();
            SeekScriptSteps(fresh, {0, 1, 0}, target, 3);
            ExpectSameState(script, fresh, "to " + std::to_string(target));
            const float next = R();
            SeekScriptSteps(fresh, {0, 1, 0}, target, 3);
            EXPECT_EQ(next, R()) << "the generator too";
        }
        // Another seed or origin does not reuse the checkpoints.
        BeginScriptSeek(seeker, script, {0, 1, 0}, 300, 4);
        while (!ContinueScriptSeek(seeker, script, 1000)) {
        }
        TParticleScript other = SmallScript();
        SeekScriptSteps(other, {0, 1, 0}, 300, 4);
        ExpectSameState(script, other, "another seed");
    }
}

TEST_F(ScriptSeek, APrewarmStopsAtItsWorkLimitWithOneLogLine) {
    TParticleScript script = SmallScript();
    script.Values[0].NumParticles = 200.0f;
    script.Prewarm = 60.0f;
    script.PrewarmWorkLimit = 20'000;
    AdvanceScript(script, {}, 0.0f);
    EXPECT_LT(script.PrewarmStepsRun, 200);
    EXPECT_GE(script.PrewarmWork, script.PrewarmWorkLimit);
    EXPECT_NE(script.DebugLog.find("Runtime: prewarm stopped after "), std::string::npos) << script.DebugLog;
    EXPECT_NE(script.DebugLog.find(" of 60 s - it reached its most work (20000 particle-steps); the script "
                                   "plays on from there\r"),
              std::string::npos)
        << script.DebugLog;
    // A restart and a seek stop at the same place and write no second line.
    const std::size_t logged = script.DebugLog.size();
    TParticleScript sought = script;
    SeekScriptSteps(sought, {}, 0, 1);
    EXPECT_EQ(sought.PrewarmStepsRun, script.PrewarmStepsRun);
    EXPECT_EQ(sought.DebugLog.size(), logged);
}

TEST_F(ScriptSeek, ABurstAtTheCapCreatesWhatFitsAndSaysHowManyItDropped) {
    TParticleScript script = test::MakeScript(1, false);
    script.Ranges[0].Life = {0.0f, 100.0f};
    script.Emission.resize(1);
    script.Emission[0].Bursts = {{0.0f, MaxScriptParticlesPerScript - 10}, {0.1f, 25, 0.1f, 3}};
    for (int frame = 0; frame < 6; ++frame)
        AdvanceScript(script, {}, 0.05f);
    EXPECT_EQ(ParticleCount(script.Containers[0]), MaxScriptParticlesPerScript);
    EXPECT_EQ(
        script.DebugLog,
        "Runtime: a burst of particle type 0 at 0.1 s dropped 15 of 25 particles - the script holds its "
        "most particles (1000000 a type, 1000000 in all); later drops of this burst are not logged\r");
}

TEST_F(ScriptSeek, ARetiredScriptStopsCollectingEvents) {
    TParticleScript script = SmallScript();
    script.Emission[0].SubEmitters = {{TScriptEvent::Death, 0, 1}};
    for (int frame = 0; frame < 60; ++frame)
        AdvanceScript(script, {}, 0.05f);
    ASSERT_TRUE(script.Containers[0].Events.Enabled);
    StopScriptEmission(script);
    EXPECT_FALSE(script.Containers[0].Events.Enabled);
    for (int frame = 0; frame < 60; ++frame)
        AdvanceScript(script, {}, 0.05f);
    EXPECT_TRUE(script.Containers[0].Events.Deaths.empty());
}

TEST_F(ScriptSeek, AScriptsLengthIsKnownWhenItsEmissionEnds) {
    struct TCase {
        const char* Name;
        void (*Change)(TParticleScript&);
        std::optional<double> Length;
    };
    const TCase cases[] = {
        {"continuous", [](TParticleScript&) {}, std::nullopt},
        {"one burst: its time plus the longest life",
         [](TParticleScript& s) {
             s.Continuous = false;
             s.Emission[0].Bursts = {{2.0f, 5}};
         },
         2.0 + 1.2 - 0.5},
        {"repeats",
         [](TParticleScript& s) {
             s.Continuous = false;
             s.Emission[0].Bursts = {{1.0f, 5, 0.5f, 4}};
         },
         3.0 + 1.2 - 0.5},
        {"a sub-emitted type lives after its owner",
         [](TParticleScript& s) {
             s.Continuous = false;
             s.Prewarm = 0.0f;
             s.Emission[0].Bursts = {{1.0f, 5}};
             s.Emission[0].SubEmitters = {{TScriptEvent::Death, 1, 2}};
         },
         1.0 + 1.2 + 3.0},
        {"a chain that goes round",
         [](TParticleScript& s) {
             s.Continuous = false;
             s.Emission[0].Bursts = {{1.0f, 5}};
             s.Emission[0].SubEmitters = {{TScriptEvent::Death, 0, 2}};
         },
         std::nullopt},
        {"nothing to emit", [](TParticleScript& s) { s.Continuous = false; }, 0.0},
    };
    for (const TCase& c : cases) {
        TParticleScript script = SmallScript();
        script.Containers.emplace_back();
        script.Values.emplace_back();
        script.Ranges.push_back({{1.0f, 2.0f}, {}, {}, {}, {}});
        script.Vectors.emplace_back();
        script.VectorRanges.emplace_back();
        script.Emission.emplace_back();
        script.Emission[0].Bursts.clear();
        c.Change(script);
        const std::optional<double> length = ScriptLength(script);
        ASSERT_EQ(length.has_value(), c.Length.has_value()) << c.Name;
        if (length) {
            EXPECT_NEAR(*length, *c.Length, 1e-6) << c.Name;
        }
    }
}

/// SmallScript with a rate, a local type, tints and turning, following a circle: every piece of state
/// these add must come back in a seek.
TParticleScript MovingScript() {
    TParticleScript script = SmallScript();
    script.EmitterPath = TEmitterPath::Circle;
    script.Look.resize(1);
    TScriptLook& look = script.Look[0];
    look.Used = true;
    look.HasRate = true;
    look.Rate = 37.5f;
    look.Local = true;
    look.HasTint = true;
    look.TintFirst = {1, 0.5f, 0};
    look.TintSecond = {0, 1, 1};
    look.HasRotation = true;
    look.Rotation = {360, -10};
    look.HasSpin = true;
    look.Spin = {90, 5};
    return script;
}

void ExpectSameLook(const TParticleScript& a, const TParticleScript& b, const std::string& where) {
    ASSERT_EQ(a.Look.size(), b.Look.size()) << where;
    for (std::size_t t = 0; t < a.Look.size(); ++t) {
        EXPECT_EQ(a.Look[t].RateCarry, b.Look[t].RateCarry) << where;
        EXPECT_EQ(a.Look[t].HasLastOrigin, b.Look[t].HasLastOrigin) << where;
        EXPECT_EQ(a.Look[t].LastOrigin.x, b.Look[t].LastOrigin.x) << where;
        EXPECT_EQ(a.Look[t].LastOrigin.z, b.Look[t].LastOrigin.z) << where;
    }
}

TEST_F(ScriptSeek, ASeekOfAMovingScriptWithARateIsPlayBitForBit) {
    TParticleScript played = MovingScript();
    SeedRandom(6);
    std::int64_t stepsPlayed = 0;
    for (const std::int64_t n : {std::int64_t(1), std::int64_t(45), std::int64_t(240), std::int64_t(601)}) {
        for (; stepsPlayed < n; ++stepsPlayed)
            AdvanceScript(played, {0, 1, 0}, ScriptStepSeconds);
        const TRandomState playing = SaveRandom();
        TParticleScript sought = MovingScript();
        SeekScriptSteps(sought, {0, 1, 0}, n, 6);
        RestoreRandom(playing);
        ExpectSameState(sought, played, "step " + std::to_string(n));
        ExpectSameLook(sought, played, "step " + std::to_string(n));
        EXPECT_GT(ParticleCount(sought.Containers[0]), 0);
    }
    // A restart starts the rate's carry afresh: played again, the script matches a fresh seek.
    RestartScript(played);
    SeedRandom(6);
    for (int k = 0; k < 45; ++k)
        AdvanceScript(played, {0, 1, 0}, ScriptStepSeconds);
    TParticleScript again = MovingScript();
    SeekScriptSteps(again, {0, 1, 0}, 45, 6);
    ExpectSameState(again, played, "after a restart");
    ExpectSameLook(again, played, "after a restart");
    // From checkpoints, in slices, back and forth: the bits of a seek from the start.
    TScriptSeeker seeker;
    TParticleScript script = MovingScript();
    BeginScriptSeek(seeker, script, {0, 1, 0}, 600, 2);
    while (!ContinueScriptSeek(seeker, script, 1000)) {
    }
    ASSERT_GT(seeker.Checkpoints.size(), 2u);
    for (const int target : {130, 599, 61, 600}) {
        BeginScriptSeek(seeker, script, {0, 1, 0}, target, 2);
        while (!ContinueScriptSeek(seeker, script, 7))
            R();
        TParticleScript fresh = MovingScript();
        SeekScriptSteps(fresh, {0, 1, 0}, target, 2);
        ExpectSameState(script, fresh, "to " + std::to_string(target));
        ExpectSameLook(script, fresh, "to " + std::to_string(target));
        // The next frames agree too (the carry and the last origin came back with the checkpoint).
        const TRandomState before = SaveRandom();
        for (int k = 0; k < 5; ++k)
            AdvanceScript(script, {0, 1, 0}, ScriptStepSeconds);
        RestoreRandom(before);
        for (int k = 0; k < 5; ++k)
            AdvanceScript(fresh, {0, 1, 0}, ScriptStepSeconds);
        ExpectSameState(script, fresh, "5 frames after " + std::to_string(target));
    }
}

} // namespace
