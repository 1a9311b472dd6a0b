// Flame and smoke presets: steadily replenished particles rising from a small source.
// Random numbers are drawn into locals one statement at a time (braced lists evaluate left to
// right) so that a seed gives the same effect whatever the compiler's argument order.

#include "effects/effects.h"
#include "effects/preset_helpers.h"
#include "engine/random.h"

namespace lumidor {

using presets::Missing;
using presets::Newest;

namespace {

// Fire: dark smoke above the flames, drawn additively.
void AddFireSmoke() {
    TParticleEffectContainer& c = AdditiveEffect;
    const TVector3 position{R() * 0.5f - 0.25f, -0.25f, R() - 0.5f};
    const float life = R() * 2.0f;
    AddParticle(c, position, {0.5f, 0.5f, 0.0f}, {0.1f, 0.1f, 0.1f}, 1, life);
    const std::int32_t i = Newest(c);
    SetParticleForce(c, {0.0f, 5.0f, 0.0f}, i);
    SetParticleEnlargement(c, {1.4f, 1.4f, 0.0f}, i);
    SetParticleInertia(c, {0.1f, 0.1f, 0.1f}, i);
    SetParticleMass(c, i, 1.0f);
    SetParticleVelocity(c, {R() - 0.5f, R() * 0.5f, R() - 0.5f}, i);
    SetParticleBeginFadeOut(c, i, 0.2f);
    SetParticleEndFadeIn(c, i, 0.2f);
}

// Fire: one flame tongue in a 0.5 x 1 patch at y = -0.5.
void AddFireFlame() {
    TParticleEffectContainer& c = FloorEffect;
    const TVector3 position{R() * 0.5f - 0.25f, -0.5f, R() - 0.5f};
    const float life = R();
    AddParticle(c, position, {0.5f, 0.5f, 0.0f}, {1.0f, 0.6f, 0.3f}, 3, life);
    const std::int32_t i = Newest(c);
    SetParticleForce(c, {0.0f, 5.0f, 0.0f}, i);
    SetParticleEnlargement(c, {0.1f, 0.1f, 0.0f}, i);
    SetParticleInertia(c, {0.1f, 0.1f, 0.1f}, i);
    SetParticleMass(c, i, 1.0f);
    SetParticleVelocity(c, {R() - 0.5f, R() * 0.5f, R() - 0.5f}, i);
    SetParticleBeginFadeOut(c, i, 0.2f);
}

void AddSmoke2Puff() {
    TParticleEffectContainer& c = FloorEffect;
    const TVector3 position{R() - 0.5f, -0.5f, 0.0f};
    const float life = R() * 2.0f + 1.0f;
    AddParticle(c, position, {0.6f, 0.6f, 0.0f}, {0.1f, 0.1f, 0.1f}, 1, life);
    const std::int32_t i = Newest(c);
    SetParticleForce(c, {0.0f, 1.0f, 0.0f}, i);
    SetParticleEnlargement(c, {0.2f, 0.2f, 0.2f}, i);
    SetParticleInertia(c, {1.0f, 1.0f, 1.0f}, i);
    SetParticleBeginFadeOut(c, i, 0.6f);
    SetParticleMass(c, i, 0.05f);
    SetParticleVelocity(c, {R() * 0.05f - 0.025f, R() * 0.05f - 0.025f, R() * 0.05f - 0.025f}, i);
}

void AddSmoke1Puff() {
    TParticleEffectContainer& c = FloorEffect;
    const TVector3 position{R() * 6.0f - 3.0f, R() * 4.0f - 2.0f, R()};
    const float life = R() * 2.0f + 2.0f;
    AddParticle(c, position, {0.6f, 0.6f, 0.0f}, {0.05f, 0.05f, 0.05f}, 1, life);
    const std::int32_t i = Newest(c);
    SetParticleForce(c, {0.0f, 0.0f, 0.0f}, i);
    SetParticleEnlargement(c, {1.0f, 1.0f, 1.0f}, i);
    SetParticleInertia(c, {1.0f, 1.0f, 1.0f}, i);
    SetParticleMass(c, i, 0.05f);
    SetParticleFading(c, true, true, i);
    SetParticleVelocity(c, {R() * 0.05f - 0.025f, 0.0f, R() * 0.05f - 0.025f}, i);
    SetParticleEndFadeIn(c, i, 0.1f);
    SetParticleBeginFadeOut(c, i, 0.9f);
}

void AddBurnerFlame() {
    TParticleEffectContainer& c = FloorEffect;
    const float life = R() / 2.0f + 0.1f;
    AddParticle(c, {0.0f, -0.5f, 0.0f}, {0.6f, 0.6f, 0.0f}, {0.1f, 0.3f, 0.7f}, 3, life);
    const std::int32_t i = Newest(c);
    SetParticleForce(c, {0.0f, 20.0f, 0.0f}, i);
    SetParticleEnlargement(c, {0.2f, 0.2f, 0.2f}, i);
    SetParticleInertia(c, {0.0f, 0.0f, 0.0f}, i);
    SetParticleMass(c, i, 0.5f);
    // The z offset is ten times the x offset on purpose: the flame leans away from the viewer.
    SetParticleVelocity(c, {R() * 0.05f - 0.025f, 0.0f, R() * 0.05f - 0.25f}, i);
}

void AddMagnesiumSmoke() {
    TParticleEffectContainer& c = AdditiveEffect;
    const float life = R() * 2.0f;
    AddParticle(c, {0.0f, 0.0f, 0.0f}, {0.2f, 0.2f, 0.0f}, {0.1f, 0.12f, 0.15f}, 1, life);
    const std::int32_t i = Newest(c);
    SetParticleForce(c, {0.0f, 2.0f, 0.0f}, i);
    SetParticleInertia(c, {0.1f, 0.1f, 0.1f}, i);
    SetParticleEnlargement(c, {0.7f, 0.7f, 0.0f}, i);
    SetParticleMass(c, i, 0.2f);
    SetParticleVelocity(c, {R() * 0.2f - 0.1f, 0.0f, R() * 0.2f - 0.1f}, i);
}

void AddMagnesiumSpark() {
    TParticleEffectContainer& c = FloorEffect;
    const float life = R() * 2.0f;
    AddParticle(c, {0.0f, 0.0f, 0.0f}, {0.2f, 0.2f, 0.0f}, {0.7f, 0.4f, 0.1f}, 5, life);
    const std::int32_t i = Newest(c);
    SetParticleForce(c, {0.0f, -9.1f, 0.0f}, i);
    SetParticleInertia(c, {0.4f, 0.4f, 0.4f}, i);
    SetParticleMass(c, i, 0.7f);
    SetParticleVelocity(c, {R() * 2.0f - 1.0f, R(), R() * 2.0f - 1.0f}, i);
}

void AddMagnesiumFlash(float width) {
    TParticleEffectContainer& c = FloorEffect;
    AddParticle(c, {0.0f, 0.0f, 0.0f}, {width, width, 0.0f}, {1.0f, 1.0f, 1.0f}, 6, 0.05f);
    // Full opacity for the whole of its short life.
    SetParticleFading(c, false, false, Newest(c));
}

} // namespace

void FirePreset() {
    UpdateAndDraw(FloorEffect, FrameTime);
    UpdateAndDraw(AdditiveEffect, FrameTime);
    for (std::int32_t k = Missing(AdditiveEffect, 20); k > 0; --k)
        AddFireSmoke();
    for (std::int32_t k = Missing(FloorEffect, 300); k > 0; --k)
        AddFireFlame();
}

void Smoke2Preset() {
    UpdateAndDraw(FloorEffect, FrameTime);
    for (std::int32_t k = Missing(FloorEffect, 200); k > 0; --k)
        AddSmoke2Puff();
}

void Smoke1Preset() {
    UpdateAndDraw(FloorEffect, FrameTime);
    for (std::int32_t k = Missing(FloorEffect, 200); k > 0; --k)
        AddSmoke1Puff();
}

void BurnerPreset() {
    UpdateAndDraw(FloorEffect, FrameTime);
    for (std::int32_t k = Missing(FloorEffect, 400); k > 0; --k)
        AddBurnerFlame();
}

void AflamedMagnesiumPreset() {
    EffectTimer += FrameTime;
    // Counted before the updates: smoke that dies this frame is replaced in the next one.
    const std::int32_t smokeBefore = ParticleCount(AdditiveEffect);
    UpdateAndDraw(FloorEffect, FrameTime);
    UpdateAndDraw(AdditiveEffect, FrameTime);
    if (smokeBefore <= 40) {
        for (std::int32_t k = 41 - smokeBefore; k > 0; --k)
            AddMagnesiumSmoke();
    }
    // One spark shower in 600 frames on average.
    if (Random(600) == 2) {
        for (int k = 0; k < 5; ++k)
            AddMagnesiumSpark();
    }
    if (EffectTimer >= 0.05f) {
        EffectTimer = 0.0f;
        AddMagnesiumFlash(R() + 1.0f);
    }
}

} // namespace lumidor
