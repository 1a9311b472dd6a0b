// Magic water, the ring of flames with its fountain (Effect 1), the pulsing fountain (Effect 2),
// snow, the terrain stress test and the floor under the third script. Several of them tilt the
// modelview matrix (which the frame loop reloads every frame), draw fixed geometry or change a
// container setting around its update.

#include "effects/effects.h"
#include "effects/preset_helpers.h"
#include "engine/collision_world.h"
#include "engine/random.h"

#include <cmath>
#include <cstdint>

namespace lumidor {

using presets::Missing;
using presets::Newest;

namespace {

/// A random whole angle 0..360 degrees, in radians.
double RandomTheta() {
    return presets::Radians(double(Random(361)));
}

void AddWaterDrop() {
    TParticleEffectContainer& c = AdditiveEffect;
    const TVector3 position{R() - 0.5f, 1.0f, 0.0f};
    const float life = R() / 5.0f + 0.45f;
    AddParticle(c, position, {0.2f, 0.2f, 0.0f}, {0.35f, 0.4f, 0.5f}, 3, life);
    const std::int32_t i = Newest(c);
    SetParticleForce(c, {0.0f, -9.81f, 0.0f}, i);
    SetParticleInertia(c, {0.1f, 0.1f, 0.1f}, i);
    SetParticleMass(c, i, 0.5f);
    SetParticleFading(c, false, false, i);
    SetParticleVelocity(c, {R() * 0.5f - 0.25f, -R() * 0.25f, R() / 2.0f}, i);
}

void AddWaterSplash() {
    TParticleEffectContainer& c = FloorEffect;
    const TVector3 position{R() * 1.2f - 0.6f, -1.0f, 0.0f};
    const float life = R() / 2.0f + 0.5f;
    AddParticle(c, position, {0.4f, 0.4f, 0.0f}, {0.3f, 0.333f, 1.0f}, 1, life);
    const std::int32_t i = Newest(c);
    SetParticleEnlargement(c, {1.0f, 1.0f, 1.0f}, i);
    SetParticleInertia(c, {0.1f, 0.1f, 0.1f}, i);
    SetParticleMass(c, i, 0.5f);
}

// Effect 1: one flame on a ring of radius 0.5, drifting outwards at 0.2.
void AddRingFlame() {
    TParticleEffectContainer& c = FloorEffect;
    const double theta = RandomTheta();
    const float cosT = float(std::cos(theta));
    const float sinT = float(std::sin(theta));
    const float life = R() * 2.0f;
    AddParticle(c, {cosT / 2.0f, -0.8f, sinT / 2.0f}, {0.2f, 0.2f, 0.0f}, {1.0f, 0.4f, 0.1f}, 1, life);
    const std::int32_t i = Newest(c);
    SetParticleForce(c, {R() * 0.25f - 0.125f, 0.0f, R() * 0.25f - 0.125f}, i);
    SetParticleInertia(c, {0.1f, 0.1f, 0.1f}, i);
    SetParticleEnlargement(c, {0.1f, 0.1f, 0.0f}, i);
    SetParticleMass(c, i, 1.0f);
    SetParticleVelocity(c, {cosT / 5.0f, 0.0f, sinT / 5.0f}, i);
}

// Effect 1: one drop of the fountain in the middle of the ring.
void AddFountainDrop() {
    TParticleEffectContainer& c = AdditiveEffect;
    const double theta = RandomTheta();
    const float life = R();
    AddParticle(c, {0.0f, -0.8f, 0.0f}, {0.2f, 0.2f, 0.0f}, {0.14f, 0.15f, 0.2f}, 6, life);
    const std::int32_t i = Newest(c);
    SetParticleForce(c, {0.0f, -9.81f, 0.0f}, i);
    SetParticleInertia(c, {0.4f, 0.4f, 0.4f}, i);
    SetParticleMass(c, i, 1.0f);
    SetParticleBeginFadeOut(c, i, 0.7f);
    SetParticleVelocity(c, {float(std::cos(theta)), R() / 2.0f + 4.0f, float(std::sin(theta))}, i);
}

// Effect 2: one drop whose sideways speed swings with sin(EffectTimer).
void AddPulsingDrop() {
    TParticleEffectContainer& c = FloorEffect;
    const double theta = RandomTheta();
    const float cosT = float(std::cos(theta));
    const float sinT = float(std::sin(theta));
    const float life = R() * 3.0f + 2.0f;
    AddParticle(c, {cosT / 30.0f, -0.8f, sinT / 30.0f}, {0.2f, 0.2f, 0.0f}, {0.1f, 0.12f, 0.17f}, 4, life);
    const std::int32_t i = Newest(c);
    SetParticleForce(c, {0.0f, -3.0f, 0.0f}, i);
    SetParticleInertia(c, {1.0f, 1.0f, 1.0f}, i);
    SetParticleEnlargement(c, {0.1f, 0.1f, 0.0f}, i);
    SetParticleMass(c, i, 1.0f);
    SetParticleBeginFadeOut(c, i, 0.9f);
    const float swing = std::sin(EffectTimer);
    SetParticleVelocity(c, {cosT * swing, 2.0f, sinT * swing}, i);
}

void AddSnowFlake() {
    TParticleEffectContainer& c = FloorEffect;
    const TVector3 position{R() * 10.0f - 5.0f, 3.0f, R() * 5.0f - 2.5f};
    const float life = R() * 4.0f;
    AddParticle(c, position, {0.1f, 0.1f, 0.0f}, {0.9f, 0.9f, 1.0f}, 3, life);
    const std::int32_t i = Newest(c);
    SetParticleForce(c, {0.0f, -1.0f, 0.0f}, i);
    SetParticleVelocity(c, {0.0f, -R(), 0.0f}, i);
    SetParticleInertia(c, {0.1f, 0.1f, 0.1f}, i);
    SetParticleEnlargement(c, {0.0f, 0.0f, 0.0f}, i);
    SetParticleMass(c, i, 1.0f);
    SetParticleBeginFadeOut(c, i, 0.8f);
}

/// The timer folded into [0, 6.2831) with four decimals. The truncation is done in double
/// precision, so it cannot overflow however long the timer has been running.
float FoldedPhase(float timer) {
    const double steps = std::trunc(double(timer) * 10000.0);
    return float(std::fmod(steps, 62831.0) / 10000.0);
}

void AddStressParticle(float phi) {
    TParticleEffectContainer& c = TerrainEffect;
    const float life = R() * 4.0f + 4.0f;
    AddParticle(c, {0.0f, 0.0f, 0.0f}, {0.2f, 0.2f, 0.0f}, {0.7f, 0.75f, 1.0f}, 6, life);
    const std::int32_t i = Newest(c);
    SetParticleForce(c, {0.0f, -9.81f, 0.0f}, i);
    SetParticleInertia(c, {1.0f, 1.0f, 1.0f}, i);
    SetParticleMass(c, i, 0.7f);
    const TVector3 velocity{R() + 3.0f * std::sin(phi) - 0.5f, R(), R() + 3.0f * std::cos(phi) - 0.5f};
    SetParticleVelocity(c, velocity, i);
    SetParticleBeginFadeOut(c, i, 0.7f);
}

/// Friction while Effect 2 and Snow update: a particle touching the floor loses all its speed.
constexpr TVector3 StickyFloor{1.0f, 1.0f, 1.0f};
/// Friction that Effect 2 and Snow leave behind for every later preset using FloorEffect.
constexpr TVector3 SettledFloorFriction{0.1f, 0.6f, 0.1f};

} // namespace

float StressTestPhase(float timer) {
    return FoldedPhase(timer);
}

void MagicWaterPreset() {
    UpdateAndDraw(AdditiveEffect, FrameTime);
    UpdateAndDraw(FloorEffect, FrameTime);
    for (std::int32_t k = Missing(AdditiveEffect, 800); k > 0; --k)
        AddWaterDrop();
    for (std::int32_t k = Missing(FloorEffect, 30); k > 0; --k)
        AddWaterSplash();
}

void presets::Effect1View() {
    GL.Rotatef(25.0f, 1.0f, 0.0f, 0.0f);
}

void presets::Effect2View() {
    GL.Rotatef(10.0f, 1.0f, 0.0f, 0.0f);
}

void presets::StressTestScene() {
    GL.Translatef(0.0f, 3.0f, -5.0f);
    GL.Rotatef(45.0f, 1.0f, 0.0f, 0.0f);

    // The lit terrain, written into the depth buffer so that the particles hide behind its hills.
    GL.Enable(GL_LIGHTING);
    GL.Enable(GL_LIGHT0);
    GL.Disable(GL_TEXTURE_2D);
    GL.DepthMask(GL_TRUE);
    GL.PushMatrix();
    GL.Translatef(TerrainOrigin.x, TerrainOrigin.y, TerrainOrigin.z);
    DrawTerrain(TerrainMap);
    GL.PopMatrix();
    GL.DepthMask(GL_FALSE);
    GL.Disable(GL_LIGHTING);
    GL.Enable(GL_TEXTURE_2D);
}

void Effect1Preset() {
    EffectTimer += FrameTime;
    const std::int32_t flamesBefore = ParticleCount(FloorEffect);
    presets::Effect1View();
    UpdateAndDraw(FloorEffect, FrameTime);
    UpdateAndDraw(AdditiveEffect, FrameTime);
    if (flamesBefore <= 299) {
        for (std::int32_t k = 300 - flamesBefore; k > 0; --k)
            AddRingFlame();
    }
    for (std::int32_t k = Missing(AdditiveEffect, 2000); k > 0; --k)
        AddFountainDrop();
}

void Effect2Preset() {
    EffectTimer += FrameTime;
    const std::int32_t dropsBefore = ParticleCount(FloorEffect);
    presets::Effect2View();
    SetWorldFriction(FloorEffect, StickyFloor);
    UpdateAndDraw(FloorEffect, FrameTime);
    SetWorldFriction(FloorEffect, SettledFloorFriction);
    if (dropsBefore <= 1999) {
        for (std::int32_t k = 2000 - dropsBefore; k > 0; --k)
            AddPulsingDrop();
    }
}

void SnowPreset() {
    EffectTimer += FrameTime;
    SetWorldFriction(FloorEffect, StickyFloor);
    UpdateAndDraw(FloorEffect, FrameTime);
    for (std::int32_t k = Missing(FloorEffect, 10000); k > 0; --k)
        AddSnowFlake();
    SetWorldFriction(FloorEffect, SettledFloorFriction);
}

void StressTestPreset() {
    presets::StressTestScene();

    EffectTimer += FrameTime;
    const float phi = FoldedPhase(EffectTimer);
    for (std::int32_t k = Missing(TerrainEffect, 10000); k > 0; --k)
        AddStressParticle(phi);
    UpdateAndDraw(TerrainEffect, FrameTime);
}

void ScriptFloorPreset() {
    GL.DepthMask(GL_TRUE);
    GL.Color3f(0.1f, 0.1f, 0.3f);
    GL.Disable(GL_TEXTURE_2D);
    GL.Begin(GL_QUADS);
    GL.TexCoord2f(0.0f, 0.0f);
    GL.Vertex3f(-10.0f, -0.51f, 5.0f);
    GL.TexCoord2f(1.0f, 0.0f);
    GL.Vertex3f(10.0f, -0.51f, 5.0f);
    GL.TexCoord2f(1.0f, 1.0f);
    GL.Vertex3f(10.0f, -0.51f, -5.0f);
    GL.TexCoord2f(0.0f, 1.0f);
    GL.Vertex3f(-10.0f, -0.51f, -5.0f);
    GL.End();
    GL.Enable(GL_TEXTURE_2D);
    GL.DepthMask(GL_FALSE);
}

} // namespace lumidor
