// A script's particles are created in one go (AddParticles); they must be, bit for bit and draw for
// draw, those AddParticle and the setters made one particle at a time.

#include "engine/particle_container.h"
#include "engine/portable_math.h"
#include "engine/random.h"
#include "script/particle_script.h"
#include "script/script_runtime_detail.h"
#include "script/script_scanner.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

using namespace lumidor;

namespace {

TVector3 Scaled(const TVector3& v, float k) {
    return {v.x * k, v.y * k, v.z * k};
}

// One particle made as the runtime made it before: AddParticle and eight setters, the draws in order.
void CreateBySetters(TParticleScript& script, std::size_t type, const TVector3& origin) {
    TParticleEffectContainer& container = script.Containers[type];
    const TScriptValues& values = script.Values[type];
    const TScriptRanges& ranges = script.Ranges[type];
    const TScriptVectors& vectors = script.Vectors[type];
    const TScriptVectorRange& place = script.VectorRanges[type].Position;
    const TScriptVectorRange& speed = script.VectorRanges[type].Velocity;
    const TScriptEmitter emitter = script.Emission[type].Emitter;
    TVector3 position, outward;
    if (emitter.Shape == TEmitterShape::Box) {
        position = {R() * place.Spread.x + place.Base.x + origin.x, 0, 0};
        position.y = R() * place.Spread.y + place.Base.y + origin.y;
        position.z = R() * place.Spread.z + place.Base.z + origin.z;
        if (emitter.OutwardSpeed != 0.0f) {
            const TVector3 away =
                VectorSub(position, VectorAdd(VectorAdd(origin, place.Base), Scaled(place.Spread, 0.5f)));
            if (VectorLength(away) > 0.0f) outward = Scaled(away, 1.0f / VectorLength(away));
        }
    } else {
        float distance = 0.0f;
        if (emitter.Shape == TEmitterShape::Sphere || emitter.Shape == TEmitterShape::SphereShell) {
            const float height = 2.0f * R() - 1.0f;
            float sine = 0.0f, cosine = 1.0f;
            PortableSinCosDegrees(360.0f * R(), sine, cosine);
            const float across = std::sqrt(std::max(0.0f, 1.0f - height * height));
            outward = {across * cosine, height, across * sine};
            distance =
                emitter.Shape == TEmitterShape::Sphere ? emitter.Radius * PortableCbrt(R()) : emitter.Radius;
        } else {
            float sine = 0.0f, cosine = 1.0f;
            PortableSinCosDegrees(360.0f * R(), sine, cosine);
            outward = {cosine, 0.0f, sine};
            distance =
                emitter.Shape == TEmitterShape::Disc ? emitter.Radius * std::sqrt(R()) : emitter.Radius;
        }
        position = VectorAdd(VectorAdd(origin, place.Base), Scaled(outward, distance));
    }
    TVector3 velocity{R() * speed.Spread.x + speed.Base.x, 0, 0};
    velocity.y = R() * speed.Spread.y + speed.Base.y;
    velocity.z = R() * speed.Spread.z + speed.Base.z;
    if (emitter.OutwardSpeed != 0.0f) velocity = VectorAdd(velocity, Scaled(outward, emitter.OutwardSpeed));
    TVector3 size{ranges.Size.First, ranges.Size.Second, 0.0f};
    if (ranges.RandomSize.First < ranges.RandomSize.Second) {
        const float s = R() * (ranges.RandomSize.Second - ranges.RandomSize.First) + ranges.RandomSize.First;
        size = {s, s, 0.0f};
    }
    const float life = R() * ranges.Life.Spread + ranges.Life.Base;
    const std::int32_t lastTile = std::max(std::int32_t(container.TextureTiles.size()) - 1, 0);
    const std::int32_t tile = std::clamp(TruncToInt32(values.TextureTile), 0, lastTile);
    AddParticle(container, position, size, vectors.Color, tile, life);
    const std::int32_t i = ParticleCount(container) - 1;
    SetParticleForce(container, vectors.Force, i);
    SetParticleInertia(container, vectors.Inertia, i);
    SetParticleEnlargement(container, {ranges.Enlargement.First, ranges.Enlargement.Second, 0.0f}, i);
    SetParticleMass(container, i, values.Mass);
    SetParticleFading(container, script.FadeOut, script.FadeIn, i);
    SetParticleBeginFadeOut(container, i, values.BeginFadeOut);
    SetParticleEndFadeIn(container, i, values.EndFadeIn);
    SetParticleAirResistance(container, i, values.AirResistance);
    if (values.Mass == 0.0f)
        container.Particles[std::size_t(i)].Velocity = velocity;
    else
        SetParticleVelocity(container, velocity, i);
}

struct TCreationCase {
    const char* Name;
    std::function<void(TParticleScript&)> Set;
};

const std::vector<TCreationCase>& Cases() {
    static const std::vector<TCreationCase> cases = {
        {"box", [](TParticleScript&) {}},
        {"mass 0", [](TParticleScript& s) { s.Values[0].Mass = 0.0f; }},
        {"negative mass", [](TParticleScript& s) { s.Values[0].Mass = -2.5f; }},
        {"random size open",
         [](TParticleScript& s) {
             s.Ranges[0].RandomSize = {0.2f, 0.9f};
         }},
        {"random size closed",
         [](TParticleScript& s) {
             s.Ranges[0].RandomSize = {0.9f, 0.2f};
         }},
        {"sphere",
         [](TParticleScript& s) {
             s.Emission[0].Emitter = {TEmitterShape::Sphere, 2.0f, 0.0f};
         }},
        {"shell, outward",
         [](TParticleScript& s) {
             s.Emission[0].Emitter = {TEmitterShape::SphereShell, 1.5f, 3.0f};
         }},
        {"disc",
         [](TParticleScript& s) {
             s.Emission[0].Emitter = {TEmitterShape::Disc, 2.0f, 0.0f};
         }},
        {"ring, inward",
         [](TParticleScript& s) {
             s.Emission[0].Emitter = {TEmitterShape::Ring, 1.0f, -2.0f};
         }},
        {"box, outward",
         [](TParticleScript& s) {
             s.Emission[0].Emitter = {TEmitterShape::Box, 0.0f, 1.5f};
         }},
        {"fade in only, end of fade-in",
         [](TParticleScript& s) {
             s.FadeOut = false;
             s.FadeIn = true;
             s.Values[0].EndFadeIn = 0.3f;
         }},
        {"fade out only",
         [](TParticleScript& s) {
             s.FadeOut = true;
             s.FadeIn = false;
             s.Values[0].BeginFadeOut = 0.6f;
         }},
        {"no fading, end of fade-in",
         [](TParticleScript& s) {
             s.FadeOut = false;
             s.FadeIn = false;
             s.Values[0].EndFadeIn = 0.5f;
         }},
        {"both fadings",
         [](TParticleScript& s) {
             s.FadeOut = true;
             s.FadeIn = true;
         }},
        {"tile past the table", [](TParticleScript& s) { s.Values[0].TextureTile = 99.0f; }},
        {"negative tile", [](TParticleScript& s) { s.Values[0].TextureTile = -3.0f; }},
        {"NaN tile, small and NaN inertia",
         [](TParticleScript& s) {
             s.Values[0].TextureTile = std::numeric_limits<float>::quiet_NaN();
             s.Vectors[0].Inertia = {0.01f, std::numeric_limits<float>::quiet_NaN(), 3.0f};
         }},
    };
    return cases;
}

// A type with every setting the creation reads.
TParticleScript MakeTypeScript(const TCreationCase& creation) {
    TParticleScript script = test::MakeScript(1, true);
    TScriptValues& values = script.Values[0];
    values.Mass = 1.5f;
    values.NumParticles = 45;
    values.AirResistance = 0.2f;
    values.BeginFadeOut = 0.7f;
    values.TextureTile = 3.0f;
    script.Ranges[0].Life = {1.5f, 0.5f};
    script.Ranges[0].Size = {0.3f, 0.4f};
    script.Ranges[0].Enlargement = {0.1f, 0.2f};
    script.Vectors[0] = {{0, -9.8f, 0}, {1, 0.5f, 0.25f}, {0.05f, 0.4f, 2.0f}, {}};
    script.VectorRanges[0].Velocity = {{1, 2, 1}, {-0.5f, 1, -0.5f}};
    script.VectorRanges[0].Position = {{0.5f, 0.2f, 0.5f}, {-0.25f, 0, -0.25f}};
    creation.Set(script);
    return script;
}

using ScriptCaps = test::ScriptFixture;

class ScriptParticleCreation : public test::ScriptFixture,
                               public ::testing::WithParamInterface<TCreationCase> {};

TEST_P(ScriptParticleCreation, MakesTheSettersRecordsWithTheSameDraws) {
    const TVector3 origin{1.0f, -2.0f, 0.5f};
    TParticleScript bulk = MakeTypeScript(GetParam());
    TParticleScript setters = MakeTypeScript(GetParam());
    // Five already there: the new particles start inside a block.
    SeedRandom(3);
    for (int i = 0; i < 5; ++i)
        CreateBySetters(bulk, 0, origin);
    SeedRandom(3);
    for (int i = 0; i < 5; ++i)
        CreateBySetters(setters, 0, origin);

    SeedRandom(11);
    EmitParticles(bulk, origin);
    const float nextAfterBulk = R();
    SeedRandom(11);
    for (int i = 0; i < 40; ++i)
        CreateBySetters(setters, 0, origin);
    EXPECT_EQ(R(), nextAfterBulk) << "as many draws";

    const TParticleEffectContainer& made = bulk.Containers[0];
    const TParticleEffectContainer& expected = setters.Containers[0];
    ASSERT_EQ(ParticleCount(made), 45);
    EXPECT_TRUE(SameParticleBits(made.Particles, expected.Particles));
    EXPECT_EQ(made.BufferCapacity, expected.BufferCapacity);
    for (std::int32_t i = 0; i < ParticleCount(made); ++i)
        ASSERT_TRUE(SameParticleBits(made.Particles[std::size_t(i)], expected.Particles[std::size_t(i)]))
            << i;
}

INSTANTIATE_TEST_SUITE_P(Settings, ScriptParticleCreation, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<TCreationCase>& info) {
                             std::string name;
                             for (const char c : std::string(info.param.Name))
                                 if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                             return name;
                         });

TEST_F(ScriptCaps, CreatingParticlesKeepsTheCapsAndCountsWhatItMade) {
    TParticleScript script = MakeTypeScript(Cases()[0]);
    std::int64_t held = MaxScriptParticlesPerScript - 17;
    EXPECT_EQ(script_detail::CreateParticles(script, 0, {}, 100, held), 17);
    EXPECT_EQ(held, MaxScriptParticlesPerScript);
    EXPECT_EQ(ParticleCount(script.Containers[0]), 17);
    EXPECT_EQ(script_detail::CreateParticles(script, 0, {}, 100, held), 0);
    held = 0;
    EXPECT_EQ(script_detail::CreateParticles(script, 0, {}, -4, held), 0);
    EXPECT_EQ(ParticleCount(script.Containers[0]), 17);
}

} // namespace
