// Running the newer commands: bursts on the script's clock, emitter shapes and the outward launch,
// sub-emitters fed by hand-filled events (with the chain guard), ScriptFinished, prewarm, and
// restarting and seeking, which must give exactly what a fresh start gives.

#include "engine/gl_recorder.h"
#include "engine/random.h"
#include "script/particle_script.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

using namespace lumidor;

namespace {

/// test::MakeScript's types with lives of 1 to 2 s, a spread of start positions and velocities and
/// a downward force.
TParticleScript MakeScript(int types, bool continuous) {
    TParticleScript script = test::MakeScript(types, continuous);
    for (std::size_t t = 0; t < std::size_t(types); ++t) {
        script.Ranges[t].Life = {1.0f, 2.0f};
        script.VectorRanges[t].Velocity = {{1, 1, 1}, {0, 2, 0}};
        script.VectorRanges[t].Position = {{0.5f, 0.5f, 0.5f}, {0, 0, 0}};
        script.Vectors[t].Force = {0, -1, 0};
    }
    return script;
}

/// A fountain: one continuous type of 200 particles living 1 to 2 seconds.
TParticleScript Fountain() {
    TParticleScript script = MakeScript(1, true);
    script.Values[0].NumParticles = 200.0f;
    return script;
}

void ExpectSameParticles(const TParticleScript& a, const TParticleScript& b) {
    ASSERT_EQ(a.Containers.size(), b.Containers.size());
    for (std::size_t t = 0; t < a.Containers.size(); ++t) {
        ASSERT_EQ(ParticleCount(a.Containers[t]), ParticleCount(b.Containers[t])) << "type " << t;
        for (std::size_t i = 0; i < a.Containers[t].Particles.size(); ++i) {
            const TParticle p = a.Containers[t].Particles[i];
            const TParticle q = b.Containers[t].Particles[i];
            // Bit for bit: the same draws in the same order, the same steps.
            ASSERT_EQ(std::memcmp(&p.Position, &q.Position, sizeof p.Position), 0) << t << ":" << i;
            ASSERT_EQ(std::memcmp(&p.Velocity, &q.Velocity, sizeof p.Velocity), 0) << t << ":" << i;
            ASSERT_EQ(std::memcmp(&p.LifeLeft, &q.LifeLeft, sizeof p.LifeLeft), 0) << t << ":" << i;
            ASSERT_EQ(std::memcmp(&p.Size, &q.Size, sizeof p.Size), 0) << t << ":" << i;
        }
    }
    EXPECT_EQ(a.Time, b.Time);
}

class ScriptTimeline : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallGLRecorder();
        SeedRandom(77);
    }
};

} // namespace

TEST_F(ScriptTimeline, BurstsFireOnceWhenTheClockReachesThem) {
    TParticleScript script = MakeScript(1, false);
    script.Ranges[0].Life = {0.0f, 100.0f};
    script.Emission[0].Bursts = {{0.0f, 10}, {0.5f, 3}, {1.0f, 4, 0.25f, 2}};
    const float dt = 0.1f;
    AdvanceScript(script, {}, dt); // time 0: the burst at 0 fires on the first frame
    EXPECT_EQ(ParticleCount(script.Containers[0]), 10);
    for (int frame = 1; frame < 5; ++frame)
        AdvanceScript(script, {}, dt);
    EXPECT_EQ(ParticleCount(script.Containers[0]), 10); // time 0.4 at the last frame's start
    AdvanceScript(script, {}, dt);
    EXPECT_EQ(ParticleCount(script.Containers[0]), 13);
    // One big step passes every repeat: each fires, none twice.
    AdvanceScript(script, {}, 10.0f);
    AdvanceScript(script, {}, dt);
    EXPECT_EQ(ParticleCount(script.Containers[0]), 13 + 3 * 4);
    AdvanceScript(script, {}, 1e30f);
    AdvanceScript(script, {}, dt);
    EXPECT_EQ(ParticleCount(script.Containers[0]), 0); // all lived out; nothing fired again
    EXPECT_TRUE(ScriptFinished(script));
}

TEST_F(ScriptTimeline, AHugeStepFiresEveryRepeatOnceWithoutOverflow) {
    TParticleScript script = MakeScript(1, false);
    script.Ranges[0].Life = {0.0f, 1e6f};
    script.Emission[0].Bursts = {{0.0f, 2, 0.5f, 1000}};
    AdvanceScript(script, {}, 1e30f); // fires at time 0; the pass then ends those particles' lives
    EXPECT_EQ(ParticleCount(script.Containers[0]), 0);
    AdvanceScript(script, {}, 0.1f);
    EXPECT_EQ(ParticleCount(script.Containers[0]), 2 * 1000);
    EXPECT_EQ(script.Emission[0].Bursts[0].Fired, 1001);
    AdvanceScript(script, {}, 1e30f);
    AdvanceScript(script, {}, 0.1f);
    EXPECT_EQ(ParticleCount(script.Containers[0]), 0);
    EXPECT_TRUE(ScriptFinished(script));
}

TEST_F(ScriptTimeline, ShapesPlaceParticlesAndOutwardLaunchesThem) {
    const TVector3 origin{10, 20, 30};
    for (const TEmitterShape shape :
         {TEmitterShape::Sphere, TEmitterShape::SphereShell, TEmitterShape::Disc, TEmitterShape::Ring}) {
        TParticleScript script = MakeScript(1, false);
        script.Values[0].NumParticles = 500.0f;
        script.Values[0].Mass = 2.0f;
        script.VectorRanges[0].Position = {{9, 9, 9}, {1, 2, 3}}; // the spread plays no part
        script.VectorRanges[0].Velocity = {};
        script.Emission[0].Emitter = {shape, 2.0f, 4.0f};
        EmitParticles(script, origin);
        const TVector3 centre{11, 22, 33};
        float farthest = 0.0f;
        for (const TParticle& p : script.Containers[0].Particles) {
            const TVector3 d{p.Position.x - centre.x, p.Position.y - centre.y, p.Position.z - centre.z};
            const float r = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
            farthest = std::max(farthest, r);
            if (shape == TEmitterShape::SphereShell || shape == TEmitterShape::Ring) {
                EXPECT_NEAR(r, 2.0f, 1e-4f);
            } else {
                EXPECT_LE(r, 2.0f + 1e-4f);
            }
            if (shape == TEmitterShape::Disc || shape == TEmitterShape::Ring) {
                EXPECT_EQ(p.Position.y, 22.0f);
            }
            // Velocity: 4 out of the centre, divided by the mass.
            const float speed = VectorLength(p.Velocity);
            EXPECT_NEAR(speed, 2.0f, 1e-4f);
            if (r > 0.1f) {
                EXPECT_NEAR(p.Velocity.x * 2.0f / 4.0f, d.x / r, 1e-3f);
                EXPECT_NEAR(p.Velocity.y * 2.0f / 4.0f, d.y / r, 1e-3f);
                EXPECT_NEAR(p.Velocity.z * 2.0f / 4.0f, d.z / r, 1e-3f);
            }
        }
        EXPECT_GT(farthest, 1.8f) << int(shape); // the whole radius is used
    }
}

TEST_F(ScriptTimeline, BoxKeepsItsDrawsAndOutwardPushesFromItsMiddle) {
    TParticleScript plain = MakeScript(1, false);
    plain.Values[0].NumParticles = 50.0f;
    plain.Ranges[0].RandomSize = {1.0f, 2.0f};
    TParticleScript pushed = plain;
    pushed.Emission[0].Emitter.OutwardSpeed = 3.0f;
    SeedRandom(5);
    EmitParticles(plain, {});
    SeedRandom(5);
    EmitParticles(pushed, {});
    for (std::size_t i = 0; i < 50; ++i) {
        const TParticle a = plain.Containers[0].Particles[i];
        const TParticle b = pushed.Containers[0].Particles[i];
        EXPECT_EQ(std::memcmp(&a.Position, &b.Position, sizeof a.Position), 0);
        EXPECT_EQ(a.LifeLeft, b.LifeLeft);
        EXPECT_EQ(a.Size.x, b.Size.x);
        const TVector3 away{a.Position.x - 0.25f, a.Position.y - 0.25f, a.Position.z - 0.25f};
        const float length = VectorLength(away);
        const TVector3 push{b.Velocity.x - a.Velocity.x, b.Velocity.y - a.Velocity.y,
                            b.Velocity.z - a.Velocity.z};
        EXPECT_NEAR(VectorLength(push), 3.0f, 1e-4f);
        EXPECT_NEAR(push.x * length / 3.0f, away.x, 1e-4f);
        EXPECT_NEAR(push.y * length / 3.0f, away.y, 1e-4f);
    }
}

TEST_F(ScriptTimeline, SubEmittersTurnEventsIntoParticlesOfTheTargetType) {
    TParticleScript script = MakeScript(2, false);
    script.Emission[0].SubEmitters = {{TScriptEvent::Death, 1, 3}, {TScriptEvent::Bounce, 0, 2}};
    script.VectorRanges[1].Position = {};
    // A pass asks for events only for a type with sub-emitters.
    AdvanceScript(script, {}, 0.01f);
    EXPECT_TRUE(script.Containers[0].Events.Enabled);
    EXPECT_FALSE(script.Containers[1].Events.Enabled);

    script.Containers[0].Events.Deaths = {{{1, 2, 3}, {0, 9, 0}}, {{-4, 0, 0}, {}}};
    script.Containers[0].Events.Bounces = {{{5, 0, 5}, {}}};
    RunSubEmitters(script);
    ASSERT_EQ(ParticleCount(script.Containers[1]), 6);
    // With no "position" they start exactly where the event was, with their own type's velocity.
    EXPECT_EQ(script.Containers[1].Particles[0].Position.x, 1.0f);
    EXPECT_EQ(script.Containers[1].Particles[2].Position.z, 3.0f);
    EXPECT_EQ(script.Containers[1].Particles[3].Position.x, -4.0f);
    for (const TParticle& p : script.Containers[1].Particles)
        EXPECT_LT(p.Velocity.y, 3.0f); // 2 + R: nothing of the parent's 9
    // The bounce spawns into its own type, around the bounce (its own "position" box).
    ASSERT_EQ(ParticleCount(script.Containers[0]), 2);
    EXPECT_GE(script.Containers[0].Particles[0].Position.x, 5.0f);
    EXPECT_LT(script.Containers[0].Particles[0].Position.x, 5.5f);

    // The next pass clears the events: nothing is spawned twice.
    AdvanceScript(script, {}, 0.01f);
    EXPECT_EQ(ParticleCount(script.Containers[1]), 6);
    EXPECT_TRUE(script.Containers[0].Events.Deaths.empty());
}

TEST_F(ScriptTimeline, ChainsAreBoundedWithOneLogLine) {
    TParticleScript script = MakeScript(1, false);
    script.DebugLog = "log\r\r1 error(s) detected.";
    script.Emission[0].SubEmitters = {{TScriptEvent::Death, 0, MaxScriptSubEmitterCount}};
    script.Containers[0].Events.Deaths.assign(std::size_t(MaxScriptSubParticlesPerStep / 100),
                                              TParticleEvent{});
    RunSubEmitters(script);
    EXPECT_EQ(ParticleCount(script.Containers[0]), MaxScriptSubParticlesPerStep);
    const std::string line = "\rRuntime: sub-emitters are held to " +
                             std::to_string(MaxScriptSubParticlesPerStep) + " new particles per frame and " +
                             std::to_string(MaxScriptParticlesPerScript) +
                             " particles per script - further particles are dropped (do particle types spawn "
                             "each other without end?)\r";
    EXPECT_EQ(script.DebugLog, "log\r\r1 error(s) detected." + line);
    RunSubEmitters(script);
    EXPECT_EQ(ParticleCount(script.Containers[0]), 2 * MaxScriptSubParticlesPerStep);
    EXPECT_EQ(script.DebugLog, "log\r\r1 error(s) detected." + line); // one line, however often it bites

    // Within the limits no line is written.
    TParticleScript small = MakeScript(2, false);
    small.Emission[0].SubEmitters = {{TScriptEvent::Death, 1, 5}};
    small.Containers[0].Events.Deaths.assign(10, TParticleEvent{});
    RunSubEmitters(small);
    EXPECT_EQ(ParticleCount(small.Containers[1]), 50);
    EXPECT_TRUE(small.DebugLog.empty());
}

TEST_F(ScriptTimeline, FinishedOnlyWithNothingLiveAndNothingToCome) {
    EXPECT_TRUE(ScriptFinished(TParticleScript{}));
    TParticleScript fountain = Fountain();
    EXPECT_FALSE(ScriptFinished(fountain)); // continuous top-up ahead
    fountain.Values[0].NumParticles = 0.5f;
    EXPECT_TRUE(ScriptFinished(fountain));

    TParticleScript once = MakeScript(1, false);
    once.Ranges[0].Life = {0.0f, 0.3f};
    once.Emission[0].Bursts = {{0.2f, 4}};
    EXPECT_FALSE(ScriptFinished(once));
    AdvanceScript(once, {}, 0.1f);
    AdvanceScript(once, {}, 0.1f);
    EXPECT_FALSE(ScriptFinished(once)); // the burst is still ahead
    AdvanceScript(once, {}, 0.1f);
    EXPECT_EQ(ParticleCount(once.Containers[0]), 4);
    EXPECT_FALSE(ScriptFinished(once));
    for (int frame = 0; frame < 5; ++frame)
        AdvanceScript(once, {}, 0.1f);
    EXPECT_TRUE(ScriptFinished(once));

    TParticleScript stopped = Fountain();
    stopped.Emission[0].Bursts = {{5.0f, 4}};
    stopped.Emission[0].SubEmitters = {{TScriptEvent::Death, 0, 1}};
    StopScriptEmission(stopped);
    EXPECT_TRUE(ScriptFinished(stopped));
    EXPECT_TRUE(stopped.Emission[0].SubEmitters.empty());
}

TEST_F(ScriptTimeline, PrewarmStartsAScriptAsIfItHadRun) {
    // Prewarm 0 changes nothing.
    TParticleScript plain = Fountain();
    TParticleScript zero = Fountain();
    zero.Prewarm = 0.0f;
    SeedRandom(3);
    AdvanceScript(plain, {}, 0.02f);
    SeedRandom(3);
    AdvanceScript(zero, {}, 0.02f);
    ExpectSameParticles(plain, zero);

    // A prewarmed fountain's first frame holds particles of every age, as a running one does.
    TParticleScript warm = Fountain();
    warm.Prewarm = 3.0f;
    const int drawsBefore = CountGLCalls("DrawArrays");
    AdvanceScript(warm, {}, 0.02f);
    EXPECT_NEAR(warm.Time, 3.02, 1e-4);
    float oldest = 0.0f;
    for (const TParticle& p : warm.Containers[0].Particles)
        oldest = std::max(oldest, p.LifeLength - p.LifeLeft);
    EXPECT_GT(oldest, 0.9f);
    EXPECT_GT(ParticleCount(warm.Containers[0]), 180);
    // Prewarm is drawn by nobody: one draw for the one frame.
    EXPECT_EQ(CountGLCalls("DrawArrays"), drawsBefore + 1);

    // A huge prewarm (beyond what the loader lets through) is held to the longest one.
    TParticleScript huge = Fountain();
    huge.Prewarm = 1e30f;
    AdvanceScript(huge, {}, 0.0f);
    EXPECT_NEAR(huge.Time, MaxScriptPrewarmSeconds, 1e-3);
}

TEST_F(ScriptTimeline, SeekingIsDeterministicAndMatchesPlayedFrames) {
    TParticleScript base = Fountain();
    base.Prewarm = 0.5f;
    base.Emission[0].Bursts = {{0.25f, 30, 0.5f, 3}};
    base.Emission[0].Emitter = {TEmitterShape::Sphere, 1.0f, 2.0f};

    TParticleScript a = base;
    TParticleScript b = base;
    SeekScript(a, {1, 0, 0}, 1.5, 42);
    AdvanceScript(b, {}, 0.3f); // some history that the seek must throw away
    SeekScript(b, {1, 0, 0}, 1.5, 42);
    ExpectSameParticles(a, b);
    EXPECT_GT(ParticleCount(a.Containers[0]), 200);

    // The same as a restart, the seed, and 90 frames of the same step played.
    TParticleScript played = base;
    AdvanceScript(played, {}, 0.1f);
    RestartScript(played);
    SeedRandom(42);
    for (int frame = 0; frame < 90; ++frame)
        AdvanceScript(played, {1, 0, 0}, ScriptStepSeconds);
    ExpectSameParticles(a, played);

    // A different seed gives other particles; seeking to 0 is a fresh start with its prewarm.
    TParticleScript other = base;
    SeekScript(other, {1, 0, 0}, 1.5, 43);
    EXPECT_NE(other.Containers[0].Particles[0].Position.x, a.Containers[0].Particles[0].Position.x);
    TParticleScript start = base;
    SeekScript(start, {}, 0.0, 1);
    EXPECT_NEAR(start.Time, 0.5, 1e-5);
    EXPECT_TRUE(start.Started);
    // Bad arguments are clamped, not looped on.
    SeekScript(start, {}, -5.0, 1, -1.0f);
    EXPECT_NEAR(start.Time, 0.5, 1e-5);
    SeekScript(start, {}, std::nan(""), 1, 0.0f);
    EXPECT_NEAR(start.Time, 0.5, 1e-5);
}

TEST_F(ScriptTimeline, RestartDoesWhatAFreshStartDoes) {
    TParticleScript fresh = Fountain();
    fresh.Emission[0].Bursts = {{0.0f, 20}};
    TParticleScript reused = fresh;
    for (int frame = 0; frame < 30; ++frame)
        AdvanceScript(reused, {}, 0.05f);
    RestartScript(reused);
    EXPECT_EQ(reused.Time, 0.0);
    EXPECT_EQ(reused.Emission[0].Bursts[0].Fired, 0);
    EXPECT_EQ(ParticleCount(reused.Containers[0]), 0);
    SeedRandom(9);
    for (int frame = 0; frame < 10; ++frame)
        AdvanceScript(fresh, {}, 0.05f);
    SeedRandom(9);
    for (int frame = 0; frame < 10; ++frame)
        AdvanceScript(reused, {}, 0.05f);
    ExpectSameParticles(fresh, reused);
}

TEST_F(ScriptTimeline, ExampleScriptsLoadCleanAndPlay) {
    const std::string data = LUMIDOR_SOURCE_DIR "/data";
    for (const char* name : {"firework", "campfire", "explosion"}) {
        SCOPED_TRACE(name);
        const std::string file = std::string("scripts/examples/") + name + ".psc";
        TParticleScript script;
        const TScriptLoadReport report = LoadScriptWithReport(script, file, data + "/" + file, data);
        EXPECT_EQ(report.ErrorCount, 0) << script.DebugLog;
        ASSERT_GE(script.Containers.size(), 3u);
        AdvanceScript(script, {}, ScriptStepSeconds);
        EXPECT_FALSE(ScriptFinished(script));
        // Each has something on screen on its first frame: bursts at 0, or a prewarmed fire.
        EXPECT_GT(ParticleCount(script.Containers[0]), 10);
        if (std::string(name) == "campfire") {
            EXPECT_GT(script.Time, 2.0);
            // Prewarmed: flames of every age, not a first frame's newborns.
            float oldest = 0.0f;
            for (const TParticle& p : script.Containers[0].Particles)
                oldest = std::max(oldest, p.LifeLength - p.LifeLeft);
            EXPECT_GT(oldest, 0.3f);
        }
        if (std::string(name) == "explosion") {
            EXPECT_EQ(script.Containers[0].Life.Flipbook.TileCount, 8);
            EXPECT_EQ(ParticleCount(script.Containers[1]), 120);
        }
    }
}

TEST_F(ScriptTimeline, ScriptsWithoutNewerCommandsRunAsTheyAlwaysDid) {
    // A demo script through AdvanceScript, against the step it always was: top-up, then every
    // container's pass. Particles and log stay the same bit for bit.
    const std::string data = LUMIDOR_SOURCE_DIR "/data";
    TParticleScript advanced;
    LoadScriptWithReport(advanced, "scripts/ParticleScript1.psc", data + "/scripts/ParticleScript1.psc",
                         data);
    TParticleScript classic = advanced;
    SeedRandom(21);
    for (int frame = 0; frame < 40; ++frame)
        AdvanceScript(advanced, {0, 1, 0}, 0.03f);
    SeedRandom(21);
    for (int frame = 0; frame < 40; ++frame) {
        if (classic.Continuous) EmitParticles(classic, {0, 1, 0});
        for (TParticleEffectContainer& container : classic.Containers)
            UpdateAndDraw(container, 0.03f);
    }
    classic.Time = advanced.Time; // the clock is the one new thing
    ExpectSameParticles(advanced, classic);
    EXPECT_EQ(advanced.DebugLog, classic.DebugLog);
    for (const TParticleEffectContainer& container : advanced.Containers)
        EXPECT_FALSE(container.Events.Enabled);
}
