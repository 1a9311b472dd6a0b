// The particle array keeps the particles in blocks of eight; callers still see a vector of records:
// stable indices on append, swap-with-last removal, views that write through, and derived values
// (vertex colour bytes, the target divisor) that follow every way a record can be set.

#include "engine/gl_recorder.h"
#include "engine/particle_container.h"
#include "engine/simulation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

using namespace lumidor;

namespace {

TParticleEffectContainer WithParticles(int count) {
    InstallGLRecorder();
    TParticleEffectContainer container{};
    for (int i = 0; i < count; ++i)
        AddParticle(container, {float(i), 0, 0}, {1, 1, 0}, {0.5f, 0.25f, float(i) / 32}, i % 4,
                    1.0f + float(i));
    return container;
}

// Vertices and particles after one step of each container, side by side.
void ExpectSameStep(TParticleEffectContainer& a, TParticleEffectContainer& b) {
    std::vector<TParticleVertex> va(4 * a.Particles.size()), vb(4 * b.Particles.size());
    const std::int32_t written = SimulateParticles(a, 0.1f, TCameraAxes{}, va.data());
    ASSERT_EQ(written, SimulateParticles(b, 0.1f, TCameraAxes{}, vb.data()));
    EXPECT_EQ(std::memcmp(va.data(), vb.data(), std::size_t(written) * sizeof(TParticleVertex)), 0);
    EXPECT_TRUE(SameParticleBits(a.Particles, b.Particles));
}

} // namespace

TEST(ParticleArray, IndicesSurviveGrowthAndRemovalSwapsTheLastIn) {
    TParticleEffectContainer container = WithParticles(19); // three blocks, the last one short
    for (int i = 0; i < 19; ++i)
        EXPECT_EQ(container.Particles[std::size_t(i)].Position.x, float(i));
    container.Particles.back().DebugTip = {1, 2, 3}; // kept apart from the block, with the colour
    const TParticle last = container.Particles.back();
    RemoveParticle(container, 3);
    ASSERT_EQ(ParticleCount(container), 18);
    EXPECT_TRUE(SameParticleBits(container.Particles[3], last));
    RemoveParticle(container, 17); // the last one itself
    ASSERT_EQ(ParticleCount(container), 17);
    AddParticle(container, {99, 0, 0}, {}, {}, 0, 1);
    EXPECT_EQ(container.Particles[std::size_t(ParticleCount(container) - 1)].Position.x, 99.0f);
    EXPECT_EQ(container.Particles[16].Position.x, 16.0f);

    container.Particles.resize(30); // appends particles as AddParticle leaves them before any setter
    EXPECT_EQ(container.Particles[29].Mass, 1.0f);
    EXPECT_EQ(container.Particles[29].Inertia.y, 1.0f);
    container.Particles.clear();
    EXPECT_TRUE(container.Particles.empty());
}

TEST(ParticleArray, ViewsWriteThroughAndConstAccessCopies) {
    TParticleEffectContainer container = WithParticles(10);
    TParticleView ninth = container.Particles[9];
    ninth.Velocity = {0, 2, 0};
    ninth.LifeLeft = 0.5f;
    container.Particles[8] = container.Particles[9]; // copies the record, does not rebind
    container.Particles[8].Position.x = 80.0f;
    EXPECT_EQ(container.Particles[9].Position.x, 9.0f);
    EXPECT_EQ(container.Particles[8].Velocity.y, 2.0f);

    const TParticleEffectContainer& readOnly = container;
    const TParticle before = readOnly.Particles[9];
    SimulateParticles(container, 0.25f, TCameraAxes{}, nullptr);
    EXPECT_EQ(before.LifeLeft, 0.5f);
    EXPECT_EQ(container.Particles[9].LifeLeft, 0.25f);
    EXPECT_EQ(container.Particles[9].Position.y, 0.5f);
}

TEST(ParticleArray, WholeRecordsStepAndDrawAsParticlesMadeWithTheSetters) {
    // Colour, inertia and mass are read only in a view because the sweep keeps values derived from
    // them; a record stored whole, pushed or copied by removal must carry those values along.
    TParticleEffectContainer bySetters{}, byRecords = WithParticles(11);
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 11; ++i) {
            AddParticle(bySetters, {0, float(i), 0}, {1, 1, 0}, {1.2f, 0.5f, float(i) / 10}, 0, 3.0f);
            const std::int32_t index = ParticleCount(bySetters) - 1;
            SetParticleInertia(bySetters, {0.5f, float(i), 2.0f}, index);
            SetParticleMass(bySetters, index, -float(i));
            SetParticleForce(bySetters, {0, -9.81f, 1}, index);
            const TParticle record = bySetters.Particles.back();
            if (round == 0)
                byRecords.Particles[std::size_t(i)] = record; // overwrites a particle made differently
            else
                byRecords.Particles.push_back(record);
        }
    }
    // A mass so large that the shared divisor of the target speed overflows takes the slow path.
    SetParticleMass(bySetters, 0, 3e38f);
    byRecords.Particles[0] = bySetters.Particles[0];
    RemoveParticle(bySetters, 1);
    RemoveParticle(byRecords, 1);
    ExpectSameStep(bySetters, byRecords);
    EXPECT_TRUE(std::isfinite(bySetters.Particles[0].Position.y));
}

TEST(ParticleArray, CopiesAreIndependentValuesAndAMovedFromArrayIsEmpty) {
    TParticleEffectContainer original = WithParticles(19);
    TParticleEffectContainer copy = original;
    ASSERT_TRUE(SameParticleBits(copy.Particles, original.Particles));
    copy.Particles[3].Position.x = 300.0f; // the copy owns its particles...
    AddParticle(copy, {99, 0, 0}, {}, {}, 0, 1);
    EXPECT_EQ(original.Particles[3].Position.x, 3.0f);
    EXPECT_EQ(original.Particles.size(), 19u);
    TParticleEffectContainer twin = original; // ...and steps exactly as the original does
    ExpectSameStep(original, twin);

    TParticleArray moved = std::move(copy.Particles);
    ASSERT_EQ(moved.size(), 20u);
    EXPECT_EQ(moved[3].Position.x, 300.0f);
    EXPECT_EQ(moved.back().Position.x, 99.0f);
    // A moved-from array holds nothing and takes new particles.
    EXPECT_TRUE(copy.Particles.empty());
    EXPECT_EQ(SimulateParticles(copy, 0.1f, TCameraAxes{}, nullptr), 0);
    AddParticle(copy, {5, 0, 0}, {}, {}, 0, 1);
    ASSERT_EQ(ParticleCount(copy), 1);
    EXPECT_EQ(copy.Particles[0].Position.x, 5.0f);

    moved = original.Particles; // a copy over a larger array
    EXPECT_TRUE(SameParticleBits(moved, original.Particles));
    const TParticleArray& alias = moved;
    moved = alias; // assigning an array to itself keeps it
    EXPECT_TRUE(SameParticleBits(moved, original.Particles));
    TParticleArray other;
    other = std::move(moved);
    EXPECT_TRUE(SameParticleBits(other, original.Particles));
    EXPECT_TRUE(moved.empty());
    other = TParticleArray{}; // an array that never held a particle copies and assigns as empty
    EXPECT_TRUE(other.empty());
    other.resize(3);
    EXPECT_EQ(other[2].Mass, 1.0f);
}
