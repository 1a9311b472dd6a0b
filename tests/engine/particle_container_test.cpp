#include "engine/gl_recorder.h"
#include "engine/particle_blocks.h"
#include "engine/particle_container.h"
#include "engine/simulation.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

using namespace lumidor;

namespace {

class ContainerTest : public ::testing::Test {
  protected:
    void SetUp() override { InstallGLRecorder(); }

    std::int32_t Add(TVector3 position = {}, float life = 2.0f) {
        AddParticle(container, position, {1, 1, 0}, {1, 1, 1}, 0, life);
        return ParticleCount(container) - 1;
    }

    TParticleEffectContainer container{};
};

} // namespace

TEST_F(ContainerTest, NewParticleHasTheDocumentedDefaults) {
    AddParticle(container, {1, 2, 3}, {0.5f, 0.25f, 0}, {1, 0.5f, 0}, 3, 4.0f);
    ASSERT_EQ(ParticleCount(container), 1);
    const TParticle& p = container.Particles[0];
    EXPECT_EQ(p.Tile, 3);
    EXPECT_EQ(p.Position.y, 2.0f);
    EXPECT_EQ(p.Size.x, 0.5f);
    EXPECT_EQ(p.Color.y, 0.5f);
    EXPECT_EQ(p.LifeLength, 4.0f);
    EXPECT_EQ(p.LifeLeft, 4.0f);
    EXPECT_EQ(p.Inertia.x, 1.0f);
    EXPECT_EQ(p.Inertia.z, 1.0f);
    EXPECT_EQ(p.Mass, 1.0f);
    EXPECT_EQ(p.FadeOutAlpha, 1.0f);
    EXPECT_EQ(p.FadeInAlpha, 0.0f);
    EXPECT_TRUE(p.FadeIn);
    EXPECT_TRUE(p.FadeOut);
    EXPECT_EQ(p.Velocity.x, 0.0f);
    EXPECT_EQ(p.AirResistance, 0.0f);
}

TEST_F(ContainerTest, BufferGrowsByTenParticlesAndReplacesItsName) {
    EXPECT_EQ(container.BufferCapacity, 0);
    Add();
    EXPECT_EQ(container.BufferCapacity, 40);
    const GLuint first = container.VertexBuffer;
    EXPECT_NE(first, 0u);
    for (int i = 0; i < 9; ++i)
        Add();
    EXPECT_EQ(container.BufferCapacity, 40);
    EXPECT_EQ(container.VertexBuffer, first);
    Add(); // the eleventh
    EXPECT_EQ(container.BufferCapacity, 80);
    EXPECT_NE(container.VertexBuffer, first);
    for (int i = 0; i < 10; ++i)
        Add(); // the twenty-first
    EXPECT_EQ(container.BufferCapacity, 120);
    EXPECT_EQ(CountGLCalls("GenBuffersARB"), 3);
    EXPECT_EQ(CountGLCalls("DeleteBuffersARB"), 3); // the first deletes name 0, which is harmless
    EXPECT_EQ(GLRecorder().Buffers.size(), 1u);     // old names are really released
}

TEST_F(ContainerTest, ParticleSetters) {
    const std::int32_t i = Add();
    SetParticleVelocity(container, {2, 4, 6}, i);
    EXPECT_EQ(container.Particles[0].Velocity.z, 6.0f);
    SetParticleMass(container, i, -2.0f);
    EXPECT_EQ(container.Particles[0].Mass, 2.0f);
    SetParticleVelocity(container, {2, 4, 6}, i);
    EXPECT_EQ(container.Particles[0].Velocity.x, 1.0f);
    EXPECT_EQ(container.Particles[0].Velocity.y, 2.0f);
    EXPECT_EQ(container.Particles[0].Velocity.z, 3.0f);

    SetParticleInertia(container, {0.05f, 1, -3}, i);
    EXPECT_EQ(container.Particles[0].Inertia.x, 0.1f);
    EXPECT_EQ(container.Particles[0].Inertia.y, 1.0f);
    EXPECT_EQ(container.Particles[0].Inertia.z, 0.1f);

    SetParticleEndFadeIn(container, i, 0.2f);
    EXPECT_EQ(container.Particles[0].FadeOutAlpha, 0.0f);
    SetParticleEndFadeIn(container, i, 0.0f);
    EXPECT_EQ(container.Particles[0].FadeOutAlpha, 1.0f);
    SetParticleFading(container, true, false, i);
    EXPECT_EQ(container.Particles[0].FadeOutAlpha, 1.0f);
    SetParticleFading(container, false, true, i);
    EXPECT_FALSE(container.Particles[0].FadeOut);
    EXPECT_EQ(container.Particles[0].FadeOutAlpha, 0.0f);
}

TEST_F(ContainerTest, ToggleDebugModeFixesAMissingScale) {
    EXPECT_TRUE(ToggleDebugMode(container));
    EXPECT_EQ(container.DebugScale, 1.0f);
    EXPECT_FALSE(ToggleDebugMode(container));
    EXPECT_EQ(container.DebugScale, 1.0f);
    SetDebugScale(container, 0.2f);
    ToggleDebugMode(container);
    EXPECT_EQ(container.DebugScale, 0.2f);
}

TEST_F(ContainerTest, MagnetPointsByIdLastMatchWinsAndIdsAreReused) {
    EXPECT_EQ(AddMagnetPoint(container, {}, -3.0f, 1.0f), 0);
    EXPECT_EQ(container.MagnetPoints[0].Radius, 3.0f);
    EXPECT_EQ(container.MagnetPoints[0].Mode, 1);
    EXPECT_EQ(AddMagnetPoint(container, {}, 1.0f, 1.0f), 1);
    EXPECT_EQ(AddMagnetPoint(container, {}, 1.0f, 1.0f), 2);
    RemoveMagnetPoint(container, 0);
    ASSERT_EQ(container.MagnetPoints.size(), 2u);
    EXPECT_EQ(container.MagnetPoints[0].Id, 2);
    EXPECT_EQ(container.MagnetPoints[1].Id, 1);
    EXPECT_EQ(AddMagnetPoint(container, {}, 1.0f, 1.0f), 2);
    SetMagnetGravity(container, 2, 7.0f);
    EXPECT_EQ(container.MagnetPoints[2].Gravity, 7.0f);
    EXPECT_EQ(container.MagnetPoints[0].Gravity, 1.0f);

    SetMagnetRadius(container, 1, -4.0f); // stored unchanged, unlike AddMagnetPoint
    EXPECT_EQ(container.MagnetPoints[1].Radius, -4.0f);
    SetMagnetMode(container, 0, 1);
    SetMagnetPosition(container, {1, 2, 3}, 1);
    EXPECT_EQ(container.MagnetPoints[1].Mode, 0);
    EXPECT_EQ(container.MagnetPoints[1].Position.z, 3.0f);
    SetMagnetGravity(container, 42, 1.0f); // unknown ids are ignored
    RemoveMagnetPoint(container, 42);
    EXPECT_EQ(container.MagnetPoints.size(), 3u);
}

TEST_F(ContainerTest, TextureTilesOfAnAtlas) {
    SetTextureProperties(container, 9, 1, 1);
    ASSERT_EQ(container.TextureTiles.size(), 1u);
    const float expectedU[4] = {1, 0, 0, 1}, expectedV[4] = {1, 1, 0, 0};
    for (int k = 0; k < 4; ++k) {
        EXPECT_FLOAT_EQ(container.TextureTiles[0].U[k], expectedU[k]);
        EXPECT_FLOAT_EQ(container.TextureTiles[0].V[k], expectedV[k]);
    }
    EXPECT_EQ(container.Texture, 9u);

    SetTextureProperties(container, 3, 2, 4);
    ASSERT_EQ(container.TextureTiles.size(), 8u);
    const TTextureTile& tile5 = container.TextureTiles[5];
    const float u5[4] = {0.5f, 0.25f, 0.25f, 0.5f}, v5[4] = {0.5f, 0.5f, 0, 0};
    for (int k = 0; k < 4; ++k) {
        EXPECT_FLOAT_EQ(tile5.U[k], u5[k]);
        EXPECT_FLOAT_EQ(tile5.V[k], v5[k]);
    }
    EXPECT_FLOAT_EQ(container.TextureTiles[0].V[0], 1.0f); // tile 0 is the top-left of the image
}

namespace {

/// Every byte of the particle storage a setter could reach through the first block: the lanes past
/// the count included, which hold no particle and must stay as they are.
std::vector<std::uint8_t> FirstBlockBytes(TParticleEffectContainer& container) {
    const TParticleFields fields = container.Particles.Fields();
    std::vector<std::uint8_t> bytes;
    const auto append = [&](const void* data, std::size_t size) {
        const auto* first = static_cast<const std::uint8_t*>(data);
        bytes.insert(bytes.end(), first, first + size);
    };
    append(fields.Blocks, sizeof(TParticleBlock));
    append(fields.Cold, sizeof(TParticleColdBlock));
    append(fields.LifeLeft, sizeof(float) * kParticleBlockLanes);
    return bytes;
}

} // namespace

TEST_F(ContainerTest, ParticleSettersIgnoreAnIndexOutOfRange) {
    for (int k = 0; k < 3; ++k)
        Add({float(k), 0, 0}, 1.0f + float(k));
    const std::vector<std::uint8_t> before = FirstBlockBytes(container);
    // Negative, the count itself (a lane of the first block that holds no particle), the next block,
    // and the far ends of the index type.
    for (const std::int32_t index : {-1, 3, 7, 8, 1 << 20, INT32_MAX, INT32_MIN}) {
        SCOPED_TRACE(index);
        SetParticleForce(container, {9, 9, 9}, index);
        SetParticleVelocity(container, {9, 9, 9}, index);
        SetParticleEnlargement(container, {9, 9, 9}, index);
        SetParticleInertia(container, {9, 9, 9}, index);
        SetParticleMass(container, index, 9.0f);
        SetParticleBeginFadeOut(container, index, 0.5f);
        SetParticleEndFadeIn(container, index, 0.5f);
        SetParticleAirResistance(container, index, 9.0f);
        SetParticleFading(container, false, true, index);
        RemoveParticle(container, index);
        EXPECT_EQ(ParticleCount(container), 3);
        EXPECT_TRUE(FirstBlockBytes(container) == before) << "a particle or a free lane was written";
    }
    // The setters still reach the last valid index.
    SetParticleForce(container, {9, 9, 9}, 2);
    EXPECT_EQ(container.Particles[2].Force.y, 9.0f);
    RemoveParticle(container, 2);
    EXPECT_EQ(ParticleCount(container), 2);

    TParticleEffectContainer empty;
    RemoveParticle(empty, 0); // nothing to remove: no count below zero
    SetParticleMass(empty, 0, 1.0f);
    EXPECT_EQ(ParticleCount(empty), 0);
}

TEST_F(ContainerTest, MagnetSettersIgnoreAnIdNoPointHolds) {
    AddMagnetPoint(container, {1, 2, 3}, 4.0f, 5.0f);
    AddMagnetPoint(container, {6, 7, 8}, 9.0f, 10.0f);
    const std::vector<TMagnetPoint> before = container.MagnetPoints;
    for (const std::int32_t id : {-1, 2, 3, INT32_MAX, INT32_MIN}) {
        SCOPED_TRACE(id);
        SetMagnetRadius(container, id, 0.5f);
        SetMagnetGravity(container, id, 0.5f);
        SetMagnetPosition(container, {0.5f, 0.5f, 0.5f}, id);
        SetMagnetMode(container, 2, id);
        RemoveMagnetPoint(container, id);
        ASSERT_EQ(container.MagnetPoints.size(), before.size());
        for (std::size_t k = 0; k < before.size(); ++k) {
            EXPECT_EQ(container.MagnetPoints[k].Radius, before[k].Radius);
            EXPECT_EQ(container.MagnetPoints[k].Gravity, before[k].Gravity);
            EXPECT_EQ(container.MagnetPoints[k].Position.x, before[k].Position.x);
            EXPECT_EQ(container.MagnetPoints[k].Mode, before[k].Mode);
            EXPECT_EQ(container.MagnetPoints[k].Id, before[k].Id);
        }
    }
}

TEST_F(ContainerTest, AtlasWithoutTilesAndTilesOutsideItDrawTheWholeTexture) {
    SetTextureProperties(container, 5, 2, 2);
    SetTextureProperties(container, 6, 0, 4);
    EXPECT_TRUE(container.TextureTiles.empty());
    EXPECT_EQ(container.Texture, 6u);
    SetTextureProperties(container, 7, -3, INT32_MIN);
    EXPECT_TRUE(container.TextureTiles.empty());

    SetTextureProperties(container, 7, 1, 2);
    for (const std::int32_t tile : {-1, 2, INT32_MAX, 1}) // the last one is valid: the right half
        AddParticle(container, {}, {1, 1, 0}, {1, 1, 1}, tile, 10.0f);
    std::vector<TParticleVertex> vertices(4 * 4);
    SimulateParticles(container, 0.0f, TCameraAxes{}, vertices.data());
    // Corner order top-right, top-left, bottom-left, bottom-right.
    for (int particle = 0; particle < 3; ++particle) {
        SCOPED_TRACE(particle);
        EXPECT_EQ(vertices[4 * particle + 0].U, 1.0f);
        EXPECT_EQ(vertices[4 * particle + 1].U, 0.0f);
        EXPECT_EQ(vertices[4 * particle + 0].V, 1.0f);
        EXPECT_EQ(vertices[4 * particle + 2].V, 0.0f);
    }
    EXPECT_EQ(vertices[12 + 1].U, 0.5f);
}
