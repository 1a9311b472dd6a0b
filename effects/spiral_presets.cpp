// Magnet spirals: 1200 motionless dots laid out once per cycle in AdditiveEffect and twisted by a
// pulsing magnet point at the origin that exists only while the container is updated.

#include "effects/effects.h"
#include "effects/preset_helpers.h"

#include <cmath>

namespace lumidor {

namespace {

enum class TSpiralLayout { Spokes, SineStrands };

/// What tells the three spirals apart.
struct TSpiralSettings {
    TSpiralLayout Layout;
    float LifeLength;   ///< seconds; all dots of a layout die together
    bool ResetVelocity; ///< SetParticleVelocity (0, 0, 0) is called on every dot
    float BeginFadeOut; ///< fraction of life
    float MagnetRadius;
    float GravityOffset; ///< gravity = |sin(EffectTimer)| * 25 - GravityOffset
    std::int32_t MagnetMode;
};

constexpr TSpiralSettings Spiral1{TSpiralLayout::Spokes, 8.0f, true, 0.5f, 3.5f, 10.0f, 1};
constexpr TSpiralSettings Spiral2{TSpiralLayout::Spokes, 5.0f, false, 0.5f, 3.5f, 5.0f, 0};
constexpr TSpiralSettings Spiral3{TSpiralLayout::SineStrands, 8.0f, true, 0.8f, 4.0f, 5.0f, 2};

/// 60 spokes (6 degrees apart) of 20 dots each.
void LayOutPattern(const TSpiralSettings& settings) {
    TParticleEffectContainer& c = AdditiveEffect;
    for (int spoke = 0; spoke < 60; ++spoke) {
        const double a = presets::Radians(spoke * 6.0);
        const float p = float(std::cos(a) / 2.0);
        const float q = float(std::sin(a) / 2.0);
        for (int j = 1; j <= 20; ++j) {
            const float fj = float(j);
            const TVector3 position = settings.Layout == TSpiralLayout::Spokes
                                          ? TVector3{fj * p * 0.3f, fj * q * 0.3f, 0.0f}
                                          : TVector3{std::sin(fj * p * 0.3f), fj * 0.2f - 2.0f, 0.0f};
            AddParticle(c, position, {0.2f, 0.2f, 0.0f}, {0.6f, 0.6f, 1.0f}, 4, settings.LifeLength);
            const std::int32_t i = presets::Newest(c);
            if (settings.ResetVelocity) SetParticleVelocity(c, {0.0f, 0.0f, 0.0f}, i);
            SetParticleBeginFadeOut(c, i, settings.BeginFadeOut);
            SetParticleInertia(c, {2.0f, 2.0f, 2.0f}, i);
        }
    }
}

void RunSpiral(const TSpiralSettings& settings) {
    EffectTimer += FrameTime;
    // A new pattern only once every particle in the container, ours or another preset's, is gone.
    if (ParticleCount(AdditiveEffect) == 0) LayOutPattern(settings);
    const float gravity = std::abs(std::sin(EffectTimer)) * 25.0f - settings.GravityOffset;
    MagnetId = AddMagnetPoint(AdditiveEffect, {0.0f, 0.0f, 0.0f}, settings.MagnetRadius, gravity);
    SetMagnetMode(AdditiveEffect, settings.MagnetMode, MagnetId);
    UpdateAndDraw(AdditiveEffect, FrameTime);
    RemoveMagnetPoint(AdditiveEffect, MagnetId);
}

} // namespace

void Spiral1Preset() {
    RunSpiral(Spiral1);
}
void Spiral2Preset() {
    RunSpiral(Spiral2);
}
void Spiral3Preset() {
    RunSpiral(Spiral3);
}

} // namespace lumidor
