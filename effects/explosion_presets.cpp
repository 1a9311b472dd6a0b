// Burst presets driven by the shared EffectTimer: an explosion every 2 s at the origin, and the
// firework's 2.5 s cycle of launch, trail, burst and glitter.

#include "effects/effects.h"
#include "effects/preset_helpers.h"
#include "engine/random.h"

#include <cmath>

namespace lumidor {

using presets::Missing;
using presets::Newest;
using presets::Radians;

namespace {

// Explosion ---------------------------------------------------------------------------------

/// Values of one group of the explosion burst.
struct TBurstGroup {
    int Count;
    TVector3 Size, Color;
    std::int32_t Tile;
    float LifeScale, LifeOffset; ///< life = R * LifeScale + LifeOffset
    bool HasForce;
    TVector3 Force;
    bool HasEnlargement;
    TVector3 Enlargement;
    bool HasInertia;
    TVector3 Inertia;
    bool HasVelocity; ///< mass and velocity are set together
    float Mass;
    float SpeedScale; ///< each velocity axis: R * SpeedScale - SpeedScale / 2
    bool HasFadeOut;
    float BeginFadeOut;
};

// Fire cloud, smoke, embers, sparks and flash, in emission order. The zero inertia of the first
// two groups is raised to 0.1 per axis by the setter.
// clang-format off
const TBurstGroup BurstGroups[] = {
    {80, {0.5f, 0.5f, 0}, {0.7f, 0.3f, 0.1f}, 1, 1.0f, 0.3f, true, {0, -0.025f, 0}, true, {0.1f, 0.1f, 0.1f},
     true, {0, 0, 0}, true, 0.2f, 0.4f, false, 0},
    {15, {0.5f, 0.5f, 0}, {0.3f, 0.3f, 0.3f}, 1, 1.0f, 1.0f, true, {0, -0.025f, 0}, true, {3, 3, 3}, true,
     {0, 0, 0}, true, 0.1f, 0.3f, false, 0},
    {50, {0.2f, 0.2f, 0}, {1, 0.6f, 0}, 4, 0.5f, 0.1f, false, {}, false, {}, true, {1, 1, 1}, true, 0.1f, 1.0f,
     false, 0},
    {20, {0.5f, 0.5f, 0}, {1, 0.5f, 0}, 5, 1.0f, 2.5f, true, {0, -9.81f, 0}, false, {}, true, {1, 1, 1}, true,
     1.0f, 5.0f, false, 0},
    {1, {10, 10, 0}, {0.9f, 0.9f, 1}, 6, 0.0f, 0.15f, false, {}, true, {-30, -30, 0}, false, {}, false, 1.0f,
     0.0f, true, 0.4f},
};
// clang-format on

void EmitBurstGroup(const TBurstGroup& g) {
    TParticleEffectContainer& c = FloorEffect;
    for (int k = 0; k < g.Count; ++k) {
        // The flash has a fixed life and draws no random number for it.
        const float life = g.LifeScale != 0.0f ? R() * g.LifeScale + g.LifeOffset : g.LifeOffset;
        AddParticle(c, {0, 0, 0}, g.Size, g.Color, g.Tile, life);
        const std::int32_t i = Newest(c);
        if (g.HasForce) SetParticleForce(c, g.Force, i);
        if (g.HasEnlargement) SetParticleEnlargement(c, g.Enlargement, i);
        if (g.HasInertia) SetParticleInertia(c, g.Inertia, i);
        if (g.HasVelocity) {
            SetParticleMass(c, i, g.Mass);
            const float half = g.SpeedScale / 2.0f;
            SetParticleVelocity(
                c, {R() * g.SpeedScale - half, R() * g.SpeedScale - half, R() * g.SpeedScale - half}, i);
        }
        if (g.HasFadeOut) SetParticleBeginFadeOut(c, i, g.BeginFadeOut);
    }
}

// Firework ----------------------------------------------------------------------------------

/// The shared values of every burst particle (both rings); v is the velocity argument.
void AddBurstParticle(const TVector3& color, const TVector3& v) {
    TParticleEffectContainer& c = FloorEffect;
    const float life = R() * 0.1f + 1.5f;
    AddParticle(c, RocketPosition, {0.4f, 0.4f, 0.0f}, color, 4, life);
    const std::int32_t i = Newest(c);
    SetParticleForce(c, {0.0f, -1.0f, 0.0f}, i);
    SetParticleInertia(c, {0.1f, 0.1f, 0.1f}, i);
    SetParticleMass(c, i, 2.0f);
    SetParticleVelocity(c, v, i);
    SetParticleBeginFadeOut(c, i, 0.8f);
}

/// A unit direction in the x-y plane drawn at random, and a random speed in [0, 1).
void RandomDirection(TVector3& d, float& s) {
    d = TVector3{R() - 0.5f, R() - 0.5f, 0.0f};
    Normalize(d);
    s = R();
}

void LaunchRocket() {
    RocketDirection.dx = 0.4f - R() * 0.8f;
    RocketDirection.dy = R() * 0.25f + 0.75f;
    TParticleEffectContainer& c = AdditiveEffect;
    AddParticle(c, {0.0f, -2.0f, 0.0f}, {0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 1.0f}, 6, 0.75f);
    const std::int32_t i = Newest(c);
    SetParticleVelocity(c, {3.0f * RocketDirection.dx, 3.0f * RocketDirection.dy, 0.0f}, i);
    SetParticleFading(c, false, false, i);
}

void EmitTrail(float t) {
    // Computed from the launch direction rather than read from the rocket particle.
    RocketPosition.x = 3.0f * RocketDirection.dx * t;
    RocketPosition.y = 3.0f * RocketDirection.dy * t - 2.0f;
    TParticleEffectContainer& c = FloorEffect;
    for (std::int32_t k = Missing(c, 71); k > 0; --k) {
        const float life = R() * 0.25f;
        AddParticle(c, RocketPosition, {0.05f, 0.05f, 0.0f}, {1.0f, 0.6f, 0.3f}, 3, life);
        const std::int32_t i = Newest(c);
        SetParticleForce(c, {0.0f, 3.0f, 0.0f}, i);
        SetParticleEnlargement(c, {0.1f, 0.1f, 0.0f}, i);
        SetParticleInertia(c, {0.1f, 0.1f, 0.1f}, i);
        SetParticleMass(c, i, 1.0f);
        SetParticleBeginFadeOut(c, i, 0.2f);
    }
}

void Burst() {
    const float rocketVx = 3.0f * RocketDirection.dx;
    const float rocketVy = 3.0f * RocketDirection.dy;
    const std::int32_t shape = Random(3);

    const TVector3 firstColor{R(), R(), R()};
    for (int i = 0; i < 50; ++i) {
        TVector3 d;
        float s = 0.0f;
        if (shape == 0) {
            RandomDirection(d, s);
        } else if (shape == 1) {
            // 60 i radians, not degrees: the directions scatter over the whole circle.
            const double a = 60.0 * i;
            d = TVector3{float(std::cos(a)), float(std::sin(a)), 0.0f};
            s = 1.0f;
        } else {
            const double a = presets::Radians((i % 10) * 36.0);
            d = TVector3{float(std::sin(a)), float(std::cos(a)), 0.0f};
            s = float(i / 5) * 0.1f;
        }
        AddBurstParticle(firstColor, {s * d.x + rocketVx, s * d.y + rocketVy, 0.0f});
    }

    const TVector3 secondColor{R(), R(), R()};
    for (int i = 0; i < 50; ++i) {
        TVector3 d;
        float s = 0.0f;
        if (shape != 2) {
            RandomDirection(d, s);
        } else {
            const double a = presets::Radians((i % 5) * 72.0);
            d = TVector3{float(std::sin(a)), float(std::cos(a)), 0.0f};
            Normalize(d);
            s = float(i / 5) * 0.1f;
        }
        AddBurstParticle(secondColor, {(s + 1.0f) * d.x + rocketVx, (s + 1.0f) * d.y + rocketVy, 0.0f});
    }

    TParticleEffectContainer& c = FloorEffect;
    AddParticle(c, RocketPosition, {3.0f, 3.0f, 0.0f}, {1.0f, 0.9f, 0.8f}, 6, 0.1f);
    const std::int32_t flash = Newest(c);
    SetParticleInertia(c, {0.1f, 0.1f, 0.1f}, flash);
    SetParticleEnlargement(c, {-10.0f, -10.0f, -10.0f}, flash);
    SetParticleMass(c, flash, 1.0f);
    SetParticleBeginFadeOut(c, flash, 0.8f);

    RocketExploded = true;
}

void EmitGlitter() {
    TParticleEffectContainer& c = AdditiveEffect;
    for (std::int32_t k = Missing(c, 11); k > 0; --k) {
        TVector3 d{R() - 0.5f, R() - 0.5f, 0.0f};
        Normalize(d);
        const float r = R();
        const TVector3 position{r * d.x + RocketPosition.x + 0.7f * RocketDirection.dx,
                                r * d.y + RocketPosition.y + 0.7f * RocketDirection.dy, 0.0f};
        AddParticle(c, position, {0.4f, 0.4f, 0.0f}, {0.8f, 0.9f, 1.0f}, 4, 0.025f);
        const std::int32_t i = Newest(c);
        SetParticleInertia(c, {0.1f, 0.1f, 0.1f}, i);
        SetParticleMass(c, i, 1.0f);
        SetParticleBeginFadeOut(c, i, 0.8f);
    }
}

} // namespace

void ExplosionPreset() {
    EffectTimer += FrameTime;
    UpdateAndDraw(FloorEffect, FrameTime);
    if (EffectTimer >= 2.0f) {
        EffectTimer = 0.0f;
        for (const TBurstGroup& group : BurstGroups)
            EmitBurstGroup(group);
    }
}

void FireworkPreset() {
    const float t = EffectTimer;
    if (t == 0.0f) LaunchRocket();
    if (t < 0.75f) EmitTrail(t);
    if (t >= 0.75f && !RocketExploded) Burst();
    if (t > 1.2f && t < 1.9f) EmitGlitter();
    EffectTimer += FrameTime;
    if (EffectTimer >= 2.5f) {
        EffectTimer = 0.0f;
        RocketExploded = false;
    }
    UpdateAndDraw(FloorEffect, FrameTime);
    UpdateAndDraw(AdditiveEffect, FrameTime);
}

} // namespace lumidor
