// The still pass of a paused frame must draw exactly what a pass of no time on a copy draws (the
// copy thrown away afterwards), on every width, streaming build and thread count, and must leave
// every particle and event as it was.

#include "engine/gl_recorder.h"
#include "engine/particle_container.h"
#include "engine/particle_step_breakdown.h"
#include "engine/random.h"
#include "engine/simulation.h"
#include "engine/simulation_wide.h"
#include "sweep_scene.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

using namespace lumidor;

namespace {

// Particles of every kind a paused frame meets: on and above the ground's band, fading in and out,
// tiles in and out of the atlas, and (with `deadEvery`) some whose life is already below zero,
// the first and the last among them.
void AddParticles(TParticleEffectContainer& scene, std::int32_t count, std::int32_t deadEvery) {
    for (std::int32_t i = 0; i < count; ++i) {
        const float life = 0.5f + 2.0f * R();
        AddParticle(scene, {6 * R() - 3, -1.0f + 0.6f * R(), 6 * R() - 3}, {0.2f + R(), 0.2f + R(), 0},
                    {R(), R(), R()}, std::int32_t(10 * R()) - 1, life);
        RandomizeParticle(scene, i);
        SetParticleVelocity(scene, {R() - 0.5f, 2 * R() - 1, R() - 0.5f}, i);
        SetParticleFading(scene, i % 3 != 0, i % 2 == 0, i);
        const bool dead = deadEvery > 0 && (i % deadEvery == 0 || i == count - 1);
        scene.Particles[std::size_t(i)].LifeLeft = dead ? -R() - 0.01f : life * R();
    }
}

void AddCurves(TParticleEffectContainer& scene, std::int32_t flipbookTiles) {
    scene.Life.ColorKeys = {{1.0f, {0, 0, 1}}, {0.0f, {1, 0.5f, 0}}}; // out of order: the pass sorts
    scene.Life.AlphaKeys = {{0.0f, 0.0f}, {0.3f, 1.0f}, {1.0f, 0.2f}};
    scene.Life.SizeKeys = {{0.5f, 2.0f, 1.0f}};
    scene.Life.Flipbook = {1, flipbookTiles, 1.5f};
}

// An angle (some outside [-180, 180), which a pass wraps) and a spin for every particle.
void AddTurns(TParticleEffectContainer& scene) {
    for (std::int32_t i = 0; i < ParticleCount(scene); ++i)
        SetParticleRotation(scene, i, 900 * R() - 450, 2000 * R() - 1000);
}

struct TStillScene {
    const char* Name;
    std::function<void(TParticleEffectContainer&)> Make;
};

void PrintTo(const TStillScene& scene, std::ostream* out) {
    *out << scene.Name;
}

// The scenes, built with GL installed so that they have a buffer to draw into.
const std::vector<TStillScene>& Scenes() {
    static const std::vector<TStillScene> scenes = {
        {"ground band",
         [](TParticleEffectContainer& s) {
             auto flat = std::make_shared<const HDataArray>(HDataArray{{0.0f, 0.0f}, {0.0f, 0.0f}});
             SetCollisionWorld(s, flat, {-5.0f, 0.0f, -5.0f}, 10.0f, 10.0f);
             for (std::int32_t i = 0; i < 37; ++i) {
                 AddParticle(s, {0.1f * float(i) - 1.8f, 0.01f * float(i % 25), -0.0f}, {0.1f, 0.1f, 0},
                             {1, 1, 1}, 0, 2.0f);
                 SetParticleVelocity(s, {0.0f, i % 2 ? 1.0f : -1.0f, -0.0f}, i);
             }
         }},
        {"every path, debug lines",
         [](TParticleEffectContainer& s) {
             s = MakeEveryPathScene();
             AddParticles(s, 301, 0);
         }},
        {"dead particles, debug lines",
         [](TParticleEffectContainer& s) {
             s = MakeEveryPathScene();
             AddParticles(s, 203, 5);
         }},
        {"curves and a short flipbook",
         [](TParticleEffectContainer& s) {
             s = MakeEveryPathScene();
             s.DebugMode = false;
             AddCurves(s, 6);
             AddParticles(s, 150, 7);
         }},
        {"curves and a long flipbook",
         [](TParticleEffectContainer& s) {
             s = MakeEveryPathScene();
             AddCurves(s, 40);
             AddParticles(s, 99, 0);
         }},
        {"events enabled",
         [](TParticleEffectContainer& s) {
             s = MakeEveryPathScene();
             s.Events.Enabled = true;
             s.Events.Deaths = {{{1, 2, 3}, {4, 5, 6}}};
             AddParticles(s, 120, 4);
         }},
        {"every particle dead",
         [](TParticleEffectContainer& s) {
             s = MakeEveryPathScene();
             AddParticles(s, 20, 1);
         }},
        {"large: streaming and threads",
         [](TParticleEffectContainer& s) {
             s = MakeEveryPathScene();
             s.DebugMode = false;
             AddCurves(s, 4);
             AddParticles(s, 120011, 997);
         }},
        {"turned, tinted keys",
         [](TParticleEffectContainer& s) {
             s = MakeEveryPathScene();
             AddCurves(s, 6);
             s.Life.TintColorKeys = true;
             AddParticles(s, 150, 7);
             AddTurns(s);
         }},
        {"stretched",
         [](TParticleEffectContainer& s) {
             s = MakeEveryPathScene();
             s.Stretch = 0.2f;
             AddParticles(s, 77, 6);
             AddTurns(s);
             SetParticleVelocity(s, {0.0f, 0.0f, 0.0f}, 3); // at rest: upright
         }},
        {"flow: turbulence, vortex, dying on the ground",
         [](TParticleEffectContainer& s) {
             s = MakeEveryPathScene();
             s.Flow = {{2.0f, 0.8f, 0.5f}, {{0.3f, 0.0f, 0.2f}, {0.2f, 1.0f, 0.0f}, 90.0f, 0.5f}, 1.5};
             s.DieOnGround = true;
             s.Events.Enabled = true;
             AddCurves(s, 6);
             AddParticles(s, 140, 9);
         }},
        {"large: turned, streaming and threads",
         [](TParticleEffectContainer& s) {
             s = MakeEveryPathScene();
             s.DebugMode = false;
             AddParticles(s, 120011, 997);
             AddTurns(s);
         }},
    };
    return scenes;
}

// Byte for byte; empty arrays may have no storage at all, which memcmp must not be given.
bool SameMemory(const void* a, const void* b, std::size_t bytes) {
    return bytes == 0 || std::memcmp(a, b, bytes) == 0;
}

bool SameBytes(const std::vector<TDebugLine>& a, const std::vector<TDebugLine>& b) {
    return a.size() == b.size() && SameMemory(a.data(), b.data(), a.size() * sizeof(TDebugLine));
}

bool SameEvents(const std::vector<TParticleEvent>& a, const std::vector<TParticleEvent>& b) {
    return a.size() == b.size() && SameMemory(a.data(), b.data(), a.size() * sizeof(TParticleEvent));
}

// Every call with the same name and the same argument bits.
bool SameCalls(const std::vector<TGLCall>& a, const std::vector<TGLCall>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].Name != b[i].Name || a[i].Args.size() != b[i].Args.size()) return false;
        if (!SameMemory(a[i].Args.data(), b[i].Args.data(), a[i].Args.size() * sizeof(double))) return false;
    }
    return true;
}

// What the paused frame drew by copying: a pass of no time on the container, then its particles and
// events put back.
void DrawByCopying(TParticleEffectContainer& container) {
    TParticleArray particles = container.Particles;
    TParticleEventLog events = container.Events;
    UpdateAndDraw(container, 0.0f);
    container.Particles = std::move(particles);
    container.Events = std::move(events);
}

struct TFrame {
    std::vector<TGLCall> Calls;
    std::vector<std::uint8_t> Vertices;
};

TFrame Drawn(TParticleEffectContainer& container, void (*draw)(TParticleEffectContainer&)) {
    GLRecorder().Calls.clear();
    draw(container);
    return {GLRecorder().Calls, GLRecorder().LastMappedCopy};
}

// The debug lines a pass leaves in the particles, as the still pass reports them.
std::vector<TDebugLine> LinesOf(const TParticleArray& particles) {
    std::vector<TDebugLine> lines;
    for (const TParticle& particle : particles)
        lines.push_back({particle.Position, particle.DebugTip, particle.Color});
    return lines;
}

class StillPass : public ::testing::TestWithParam<TStillScene> {
  protected:
    void SetUp() override {
        InstallGLRecorder();
        SeedRandom(7);
        GetParam().Make(scene);
        ASSERT_NE(scene.VertexBuffer, 0u);
    }
    void TearDown() override { SetTaskRunner(TTaskRunner{}); }

    TParticleEffectContainer scene{};
};

TEST_P(StillPass, DrawsTheCopysPictureAndLeavesEveryParticleAndEvent) {
    const TParticleEffectContainer before = scene;
    const TFrame copied = Drawn(scene, &DrawByCopying);
    ASSERT_TRUE(SameParticleBits(scene.Particles, before.Particles));
    for (const TTaskRunner& runner : {TTaskRunner{}, ShuffledRunner(3, 5)}) {
        SetTaskRunner(runner);
        const TFrame still = Drawn(scene, &DrawParticlesStill);
        EXPECT_EQ(still.Vertices, copied.Vertices) << "threads " << runner.Threads;
        EXPECT_TRUE(SameCalls(still.Calls, copied.Calls)) << "threads " << runner.Threads;
        EXPECT_TRUE(SameParticleBits(scene.Particles, before.Particles));
        EXPECT_TRUE(SameEvents(scene.Events.Deaths, before.Events.Deaths));
        EXPECT_TRUE(SameEvents(scene.Events.Bounces, before.Events.Bounces));
    }
}

TEST_P(StillPass, EveryWidthAndThreadCountWritesWhatItsOwnPassOfNoTimeWrites) {
    const std::size_t count = scene.Particles.size();
    const TCameraAxes camera{{0.6f, 0.0f, -0.8f}, {0.0f, 1.0f, 0.0f}};
    for (const TSweepVariant& variant : SweepVariants()) {
        if (!variant.Supported()) continue;
        for (const TTaskRunner& runner : {TTaskRunner{}, ShuffledRunner(4, 3)}) {
            const std::string what =
                std::string(variant.Name) + ", threads " + std::to_string(runner.Threads);
            TParticleEffectContainer moved = scene;
            TVertexBuffer expected(4 * count), written(4 * count);
            TSweepContext context;
            const std::int32_t expectedCount =
                variant.Run(context, moved, 0.0f, camera, expected.data(), runner);
            std::vector<TDebugLine> lines(count);
            const TParticleArray particles = scene.Particles;
            const std::int32_t writtenCount =
                variant.Still(context, scene, camera, written.data(), lines.data(), runner);
            ASSERT_EQ(writtenCount, expectedCount) << what;
            EXPECT_EQ(std::memcmp(written.data(), expected.data(),
                                  std::size_t(writtenCount) * sizeof(TParticleVertex)),
                      0)
                << what;
            lines.resize(std::size_t(writtenCount / 4));
            if (scene.DebugMode) {
                EXPECT_TRUE(SameBytes(lines, LinesOf(moved.Particles))) << what;
            }
            EXPECT_TRUE(SameParticleBits(scene.Particles, particles)) << what;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scenes, StillPass, ::testing::ValuesIn(Scenes()),
                         [](const ::testing::TestParamInfo<TStillScene>& info) {
                             std::string name;
                             for (const char c : std::string(info.param.Name))
                                 if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                             return name;
                         });

TEST(StillPassScenes, TheCasesAStillPassMustUndoAreThere) {
    InstallGLRecorder();
    SeedRandom(7);
    for (const TStillScene& still : Scenes()) {
        TParticleEffectContainer scene{};
        still.Make(scene);
        TParticleEffectContainer moved = scene;
        UpdateAndDraw(moved, 0.0f);
        EXPECT_FALSE(SameParticleBits(moved.Particles, scene.Particles)) << still.Name;
    }
}

TEST(StillPassInspection, AParticleInspectedWhilePausedStaysWhereItIs) {
    // Inside the ground's band: a pass of no time would reflect it, the still pass leaves it.
    InstallGLRecorder();
    TParticleEffectContainer container;
    auto flat = std::make_shared<const HDataArray>(HDataArray{{0.0f, 0.0f}, {0.0f, 0.0f}});
    SetCollisionWorld(container, flat, {-5.0f, 0.0f, -5.0f}, 10.0f, 10.0f);
    for (std::int32_t i = 0; i < 3; ++i) {
        AddParticle(container, {float(i), 0.1f, 0.0f}, {0.1f, 0.1f, 0.0f}, {1, 1, 1}, 0, 2.0f);
        SetParticleVelocity(container, {0.0f, 1.0f, 0.0f}, i);
    }
    const TParticleStepBreakdown step = BreakDownParticleStep(container, 1, 0.0f);
    ASSERT_FALSE(SameParticleBits(step.After, step.Before)) << "the case that needs the still rule";
    DrawParticlesStill(container);
    EXPECT_EQ(FindParticleAfterStep(container, step), 1);
    UpdateAndDraw(container, 0.0f);
    EXPECT_EQ(FindParticleAfterStep(container, step), 1) << "after a real pass too";
    const TParticleStepBreakdown moving = BreakDownParticleStep(container, 1, 0.1f);
    EXPECT_EQ(FindParticleAfterStep(container, moving), -1) << "a pass with time that has not run";
}

} // namespace
