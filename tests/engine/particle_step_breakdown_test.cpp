// The breakdown of one particle's step must be the step the sweep takes: its terms add up, in the
// same floats, to the velocity change the sweep makes, and the record it predicts is the sweep's.

#include "engine/gl_recorder.h"
#include "engine/particle_step_breakdown.h"
#include "engine/pass_observer.h"
#include "engine/simulation.h"
#include "engine/simulation_wide.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

using namespace lumidor;

namespace {

using TSweep = TSweepFunction;

std::vector<TSweep> Sweeps() {
    return SupportedSweeps();
}

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Every float field of the two records, bit for bit (NaN and -0 included).
void ExpectSameRecord(const TParticle& expected, const TParticle& actual, const std::string& where) {
    const auto* e = reinterpret_cast<const unsigned char*>(&expected);
    const auto* a = reinterpret_cast<const unsigned char*>(&actual);
    // The bytes after the two flags are padding.
    const std::size_t compared = offsetof(TParticle, FadeIn) + 1;
    EXPECT_EQ(std::memcmp(e, a, compared), 0) << where;
    EXPECT_TRUE(SameBits(expected.Velocity.x, actual.Velocity.x) &&
                SameBits(expected.Velocity.y, actual.Velocity.y) &&
                SameBits(expected.Velocity.z, actual.Velocity.z))
        << where << ": velocity " << actual.Velocity.x << " " << actual.Velocity.y << " " << actual.Velocity.z
        << " predicted " << expected.Velocity.x << " " << expected.Velocity.y << " " << expected.Velocity.z;
}

// A busy system: every kind of term, all magnet modes (one inert, one out of reach), a floor to bounce
// on with friction, air resistance, fading, debug tips, and particles that die in the step.
TParticleEffectContainer BusySystem(unsigned seed, int particles) {
    std::mt19937 random(seed);
    auto uniform = [&](float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(random);
    };
    auto vector = [&](float low, float high) {
        return TVector3{uniform(low, high), uniform(low, high), uniform(low, high)};
    };
    TParticleEffectContainer container;
    SetWind(container, {0.5f, -0.25f, 0.125f});
    AddMagnetPoint(container, {0.5f, 0.0f, 0.0f}, 2.5f, 4.0f); // mode 1
    SetMagnetMode(container, 0, AddMagnetPoint(container, {-0.5f, 0.5f, 0.0f}, 3.0f, -6.0f));
    SetMagnetMode(container, 2, AddMagnetPoint(container, {0.0f, -0.5f, 0.5f}, 1.5f, 2.0f));
    SetMagnetMode(container, 3, AddMagnetPoint(container, {0.0f, 0.0f, 0.0f}, 9.0f, 5.0f)); // inert
    AddMagnetPoint(container, {40.0f, 0.0f, 0.0f}, 1.0f, 5.0f);                             // out of reach
    // A tiny mode-2 magnet so strong that its shared scale overflows for the particle next to it.
    SetMagnetMode(container, 2, AddMagnetPoint(container, {0.0f, 0.0f, 0.0f}, 1e-3f, 1e30f));
    SetCollisionWorld(
        container,
        std::make_shared<HDataArray>(HDataArray{{0.0f, 0.1f, 0.0f}, {0.2f, 0.0f, -0.1f}, {0.0f, 0.1f, 0.3f}}),
        {-2.0f, -1.0f, -2.0f}, 2.0f, 2.0f);
    SetWorldFriction(container, {0.2f, 0.4f, 0.1f});
    ToggleDebugMode(container);
    SetDebugScale(container, 0.2f);
    for (int k = 0; k < particles; ++k) {
        // Every fourth particle sits on the ground, falling into it.
        TVector3 position = vector(-1.8f, 1.8f);
        if (k % 4 == 0) position.y = -1.0f;
        if (k == 1) position = {0.0f, 1e-9f, 0.0f};
        AddParticle(container, position, {0.2f, 0.2f, 0.0f}, vector(0, 1), 0, uniform(0.5f, 3.0f));
        const std::int32_t i = ParticleCount(container) - 1;
        SetParticleForce(container, vector(-4, 4), i);
        SetParticleMass(container, i, uniform(0.5f, 3.0f));
        if (k % 7 == 2) SetParticleMass(container, i, 1e30f); // the target speed's shared product overflows
        SetParticleVelocity(container, k % 4 == 0 ? TVector3{0.5f, -2.0f, 0.25f} : vector(-2, 2), i);
        SetParticleInertia(container, vector(0.1f, 3.0f), i);
        SetParticleEnlargement(container, vector(-0.1f, 0.3f), i);
        if (k % 3 == 0) SetParticleAirResistance(container, i, uniform(0.0f, 1.0f));
        if (k % 5 == 0) SetParticleFading(container, true, true, i);
        SetParticleBeginFadeOut(container, i, uniform(0.0f, 0.9f));
        SetParticleEndFadeIn(container, i, uniform(0.0f, 0.3f));
        container.Particles[std::size_t(i)].MagnetImpulse = vector(-1, 1);
        container.Particles[std::size_t(i)].LifeLeft = uniform(-0.02f, 3.0f); // some die this step
    }
    return container;
}

} // namespace

TEST(ParticleStepBreakdown, TermsAddUpToTheVelocityChangeTheSweepMakesForEveryParticle) {
    InstallGLRecorder();
    const float dt = 1.0f / 30.0f;
    int bounced = 0, accelerated = 0, magnetised = 0, died = 0, checked = 0;
    for (TSweep sweep : Sweeps()) {
        for (unsigned seed = 1; seed <= 6; ++seed) {
            const TParticleEffectContainer start = BusySystem(seed, 37); // groups of 4 and 8 and a short tail
            for (std::int32_t index = 0; index < ParticleCount(start); ++index) {
                TParticleEffectContainer container = start;
                const TParticleStepBreakdown step = BreakDownParticleStep(container, index, dt);
                ASSERT_EQ(step.Index, index);
                sweep(container, dt, TCameraAxes{}, nullptr, TTaskRunner{});
                const std::int32_t after = FindParticleAfterStep(container, step);
                const std::string where =
                    "seed " + std::to_string(seed) + ", particle " + std::to_string(index);
                if (step.Dies) {
                    EXPECT_EQ(after, -1) << where;
                    EXPECT_LT(ParticleCount(container), ParticleCount(start)) << where;
                    ++died;
                    continue;
                }
                ASSERT_GE(after, 0) << where << ": the predicted record is nowhere in the system";
                const TParticle moved = ReadParticle(container, after);
                ExpectSameRecord(step.After, moved, where);

                // The velocity change, rebuilt from the reported terms alone.
                const TVector3 terms[3] = {step.ForceTerm, step.WindTerm, step.MagnetTerm};
                TVector3 forces{};
                for (const TMagnetContribution& magnet : step.Magnets)
                    forces = {forces.x + magnet.Force.x, forces.y + magnet.Force.y,
                              forces.z + magnet.Force.z};
                EXPECT_TRUE(SameBits(forces.x, step.MagnetForce.x) &&
                            SameBits(forces.y, step.MagnetForce.y) && SameBits(forces.z, step.MagnetForce.z))
                    << where;
                for (int axis = 0; axis < 3; ++axis) {
                    auto of = [axis](const TVector3& v) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; };
                    const float target = of(terms[0]) + of(terms[1]) + of(terms[2]);
                    float velocity = of(step.Before.Velocity);
                    if (step.Accelerated[axis]) velocity = velocity + target * dt;
                    if (step.Bounced) velocity = of(step.VelocityAfterBounce);
                    velocity = velocity * step.AirKept;
                    EXPECT_TRUE(SameBits(velocity, of(moved.Velocity)))
                        << where << " axis " << axis << ": " << velocity << " vs " << of(moved.Velocity);
                    accelerated += step.Accelerated[axis];
                }
                bounced += step.Bounced;
                for (const TMagnetContribution& magnet : step.Magnets)
                    magnetised += magnet.InRange;
                ++checked;
            }
        }
    }
    // The systems really exercise every term.
    EXPECT_GT(bounced, 10);
    EXPECT_GT(accelerated, 100);
    EXPECT_GT(magnetised, 100);
    EXPECT_GT(died, 5);
    EXPECT_GT(checked, 150);
}

TEST(ParticleStepBreakdown, NamedTermsFollowTheMotionRules) {
    InstallGLRecorder();
    TParticleEffectContainer container;
    AddParticle(container, {0, 2, 0}, {1, 1, 0}, {1, 1, 1}, 0, 10.0f);
    SetParticleForce(container, {0, 5, 0}, 0);
    SetMagnetMode(container, 2, AddMagnetPoint(container, {0, 0, 0}, 5.0f, 1.0f));
    SetMagnetMode(container, 3, AddMagnetPoint(container, {0, 0, 0}, 5.0f, 1.0f));
    TParticleStepBreakdown step = BreakDownParticleStep(container, 0, 0.25f);
    EXPECT_FLOAT_EQ(step.ForceTerm.y, 2.5f); // F / (I + 1)
    ASSERT_EQ(step.Magnets.size(), 2u);
    EXPECT_TRUE(step.Magnets[0].InRange);
    EXPECT_FLOAT_EQ(step.Magnets[0].Force.y, 1.0f); // mode 2, G 1, straight above
    EXPECT_FLOAT_EQ(step.Magnets[0].Distance, 2.0f);
    EXPECT_FALSE(step.Magnets[1].InRange);    // mode 3 is inert
    EXPECT_FLOAT_EQ(step.MagnetTerm.y, 0.5f); // M / (I m + 1)
    EXPECT_TRUE(step.Accelerated[1]);
    EXPECT_FALSE(step.Bounced);

    // Beyond its target speed the velocity is left alone.
    container.Particles[0].Velocity = {0, 3.0f, 0};
    step = BreakDownParticleStep(container, 0, 0.25f);
    EXPECT_FALSE(step.Accelerated[1]);
    EXPECT_EQ(step.After.Velocity.y, 3.0f);

    EXPECT_EQ(BreakDownParticleStep(container, 1, 0.25f).Index, -1);
    EXPECT_EQ(BreakDownParticleStep(container, -1, 0.25f).Index, -1);
}

TEST(ParticleStepBreakdown, TheParticleIsFoundWhereRemovalMovedIt) {
    InstallGLRecorder();
    TParticleEffectContainer container;
    for (int k = 0; k < 6; ++k)
        AddParticle(container, {float(k), 0, 0}, {1, 1, 0}, {1, 1, 1}, 0, 1.0f);
    container.Particles[1].LifeLeft = 0.01f; // dies: the last particle takes its slot
    const TParticleStepBreakdown last = BreakDownParticleStep(container, 5, 0.1f);
    const TParticleStepBreakdown dying = BreakDownParticleStep(container, 1, 0.1f);
    EXPECT_TRUE(dying.Dies);
    SimulateParticles(container, 0.1f, TCameraAxes{}, nullptr);
    EXPECT_EQ(FindParticleAfterStep(container, last), 1);
    EXPECT_EQ(ReadParticle(container, 1).Position.x, 5.0f);
    EXPECT_EQ(FindParticleAfterStep(container, dying), -1);
}

TEST(PassObserver, SeesEveryPassAroundItAndNothingOnceRemoved) {
    InstallGLRecorder();
    struct TSeen {
        int Before = 0, After = 0;
        std::int32_t CountBefore = -1, CountAfter = -1;
    } seen;
    TPassObserver observer;
    observer.Context = &seen;
    observer.BeforePass = [](TParticleEffectContainer& c, float, void* context) {
        auto& s = *static_cast<TSeen*>(context);
        ++s.Before;
        s.CountBefore = ParticleCount(c);
    };
    observer.AfterPass = [](TParticleEffectContainer& c, float, void* context) {
        auto& s = *static_cast<TSeen*>(context);
        ++s.After;
        s.CountAfter = ParticleCount(c);
    };
    TParticleEffectContainer empty, one;
    AddParticle(one, {}, {1, 1, 0}, {1, 1, 1}, 0, 0.05f);
    SetPassObserver(&observer);
    UpdateAndDraw(empty, 0.1f); // no buffer object: the short way through
    UpdateAndDraw(one, 0.1f);   // the particle dies in the pass
    SetPassObserver(nullptr);
    UpdateAndDraw(one, 0.1f);
    EXPECT_EQ(seen.Before, 2);
    EXPECT_EQ(seen.After, 2);
    EXPECT_EQ(seen.CountBefore, 1);
    EXPECT_EQ(seen.CountAfter, 0);
}
