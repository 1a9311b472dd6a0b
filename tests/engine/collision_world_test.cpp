#include "engine/collision_world.h"
#include "engine/gl_recorder.h"
#include "engine/particle_container.h"
#include "engine/simulation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>

using namespace lumidor;

namespace {

// The demo's floor: a 2 x 2 grid of zeros at (-5, -1.1, -5) with cells of 10.
TParticleEffectContainer MakeFloor(TVector3 friction) {
    TParticleEffectContainer container{};
    SetCollisionWorld(container, std::make_shared<HDataArray>(2, std::vector<float>(2, 0.0f)),
                      {-5, -1.1f, -5}, 10.0f, 10.0f);
    SetWorldFriction(container, friction);
    return container;
}

TParticle ParticleAt(TVector3 position, TVector3 velocity) {
    TParticle particle;
    particle.Position = position;
    particle.Velocity = velocity;
    return particle;
}

} // namespace

TEST(CollisionWorld, FlatFloorHasOneUpwardNormal) {
    const TParticleEffectContainer floor = MakeFloor({});
    ASSERT_EQ(floor.World.Normals.size(), 1u);
    EXPECT_NEAR(floor.World.Normals[0][0].y, 1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(floor.World.Extent.x, 10.0f);
    EXPECT_FLOAT_EQ(floor.World.Extent.z, 10.0f);
    EXPECT_TRUE(HasCollision(floor.World));
}

TEST(CollisionWorld, BounceMirrorsAndLosesPerAxis) {
    const float frictions[3][3] = {{0.2f, 0.4f, 0.2f}, {0, 0, 0}, {1, 1, 1}};
    const float expected[3][3] = {{0.8f, 1.2f, 0}, {1, 2, 0}, {0, 0, 0}};
    for (int c = 0; c < 3; ++c) {
        const TParticleEffectContainer floor = MakeFloor({frictions[c][0], frictions[c][1], frictions[c][2]});
        TParticle particle = ParticleAt({0, -1, 0}, {1, -2, 0});
        CollideWithWorld(floor.World, particle, 0.01f);
        EXPECT_NEAR(particle.Velocity.x, expected[c][0], 1e-5f);
        EXPECT_NEAR(particle.Velocity.y, expected[c][1], 1e-5f);
        EXPECT_NEAR(particle.Velocity.z, expected[c][2], 1e-5f);
        EXPECT_FLOAT_EQ(particle.Position.y, -1.0f); // the test never moves the particle
    }
}

TEST(CollisionWorld, ContactBandAndBorders) {
    const TParticleEffectContainer floor = MakeFloor({});
    TParticle above = ParticleAt({0, -1.1f + 0.25f, 0}, {0, -0.001f, 0});
    CollideWithWorld(floor.World, above, 0.0f);
    EXPECT_FLOAT_EQ(above.Velocity.y, -0.001f);
    TParticle inside = ParticleAt({0, -1.1f - 0.15f, 0}, {0, -1, 0});
    CollideWithWorld(floor.World, inside, 0.0f);
    EXPECT_NEAR(inside.Velocity.y, 1.0f, 1e-6f);
    TParticle outside = ParticleAt({5.5f, -1.1f, 0}, {0, -1, 0});
    CollideWithWorld(floor.World, outside, 0.0f);
    EXPECT_FLOAT_EQ(outside.Velocity.y, -1.0f);
    TParticle onBorder = ParticleAt({5.0f, -1.1f, -5.0f}, {0, -1, 0});
    CollideWithWorld(floor.World, onBorder, 0.0f);
    EXPECT_NEAR(onBorder.Velocity.y, 1.0f, 1e-6f);
    TParticle still = ParticleAt({0, -1.1f, 0}, {0, 0, 0});
    CollideWithWorld(floor.World, still, 0.1f);
    EXPECT_EQ(still.Velocity.y, 0.0f);
}

TEST(CollisionWorld, RestingParticleIsTurnedAgainEveryFrame) {
    const TParticleEffectContainer floor = MakeFloor({});
    TParticle particle = ParticleAt({0, -1.1f, 0}, {0, -0.1f, 0});
    CollideWithWorld(floor.World, particle, 0.01f);
    EXPECT_GT(particle.Velocity.y, 0.0f);
    CollideWithWorld(floor.World, particle, 0.01f);
    EXPECT_LT(particle.Velocity.y, 0.0f);
}

TEST(CollisionWorld, SlopedGridUsesBilinearHeightAndSharedHeights) {
    auto heights = std::make_shared<HDataArray>(3, std::vector<float>(3, 0.0f));
    for (int x = 0; x < 3; ++x)
        for (int z = 0; z < 3; ++z)
            (*heights)[x][z] = float(x); // rises by 1 per unit along x
    TParticleEffectContainer container{};
    SetCollisionWorld(container, heights, {0, 0, 0}, 1.0f, 1.0f);
    EXPECT_NEAR(container.World.Normals[1][1].x, -std::sqrt(0.5f), 1e-6f);
    TParticle particle = ParticleAt({1.5f, 1.6f, 0.5f}, {0, -1, 0}); // surface 1.5, inside the band
    CollideWithWorld(container.World, particle, 0.0f);
    EXPECT_NE(particle.Velocity.y, -1.0f);
    (*heights)[1][0] = (*heights)[2][0] = (*heights)[1][1] = (*heights)[2][1] = 10.0f; // raised later
    TParticle later = ParticleAt({1.5f, 1.6f, 0.5f}, {0, -1, 0});
    CollideWithWorld(container.World, later, 0.0f);
    EXPECT_EQ(later.Velocity.y, -1.0f); // the new heights are seen
}

TEST(CollisionWorld, EmptyOrRaggedGridsNeverReadOutside) {
    TParticleEffectContainer container{};
    EXPECT_FALSE(HasCollision(container.World));
    SetCollisionWorld(container, std::make_shared<HDataArray>(), {}, 1.0f, 1.0f);
    EXPECT_FALSE(HasCollision(container.World));
    HDataArray ragged(3, std::vector<float>(3, 0.0f));
    ragged[2].resize(2); // the last column is short: only one row of cells exists everywhere
    SetCollisionWorld(container, std::make_shared<HDataArray>(ragged), {}, 1.0f, 1.0f);
    ASSERT_TRUE(HasCollision(container.World));
    EXPECT_FLOAT_EQ(container.World.Extent.x, 2.0f);
    EXPECT_FLOAT_EQ(container.World.Extent.z, 1.0f);
    TParticle particle = ParticleAt({1.5f, 0.0f, 0.5f}, {0, -1, 0});
    CollideWithWorld(container.World, particle, 0.0f);
    EXPECT_NEAR(particle.Velocity.y, 1.0f, 1e-6f);
    TParticle beyond = ParticleAt({1.5f, 0.0f, 1.5f}, {0, -1, 0});
    CollideWithWorld(container.World, beyond, 0.0f);
    EXPECT_EQ(beyond.Velocity.y, -1.0f);
    // Longer along z than along x: cut to a square.
    SetCollisionWorld(container, std::make_shared<HDataArray>(2, std::vector<float>(4, 0.0f)), {}, 1.0f,
                      1.0f);
    EXPECT_FLOAT_EQ(container.World.Extent.x, 1.0f);
    EXPECT_FLOAT_EQ(container.World.Extent.z, 1.0f);
}

TEST(CollisionWorld, NaNPredictedPositionIsOutside) {
    const TParticleEffectContainer floor = MakeFloor({});
    // Inside the band but for one coordinate, whether the NaN is in the position or comes from inf x 0.
    for (const auto& [position, velocity] : {std::pair<TVector3, TVector3>{{NAN, -1.0f, 0.0f}, {0, -1, 0}},
                                             {{0.0f, -1.0f, NAN}, {0, -1, 0}},
                                             {{0.0f, -1.0f, 0.0f}, {INFINITY, -1, 0}}}) {
        TParticle particle = ParticleAt(position, velocity);
        CollideWithWorld(floor.World, particle, 0.0f);
        EXPECT_EQ(particle.Velocity.y, -1.0f) << position.x << ' ' << position.z << ' ' << velocity.x;
    }
}

TEST(CollisionWorld, PassBouncesOnTheFloor) {
    InstallGLRecorder();
    TParticleEffectContainer floor = MakeFloor({0.2f, 0.4f, 0.2f});
    AddParticle(floor, {0, -1.0f, 0}, {1, 1, 0}, {1, 1, 1}, 0, 5.0f);
    floor.Particles[0].Velocity = {1, -2, 0};
    SimulateParticles(floor, 0.01f, TCameraAxes{}, nullptr);
    EXPECT_NEAR(floor.Particles[0].Velocity.y, 1.2f, 1e-5f);
}
