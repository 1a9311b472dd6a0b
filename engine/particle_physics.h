#pragma once
// The physics of one particle step, written once over lanes of any width: ageing, fading, the magnet
// points' pull, the target speed, the acceleration, the ground's bounce and the move. The sweep runs
// it on four, eight or sixteen particles at once; the inspector's step breakdown and the one-particle
// helpers run the very same functions on one lane (through Splat), so no second copy can drift.
// Every operation is one IEEE operation per lane in a fixed order and the engine is built without
// contraction, so the result does not depend on the width.

#include "engine/particle_container.h"
#include "engine/particle_flow.h"
#include "engine/simd_lanes.h"

#include <cstring>

namespace lumidor::physics {
namespace {

using namespace lanes;

constexpr float kLargestFloat = 3.40282347e38f;

// ---- Life and opacity ----------------------------------------------------------------------

/// The life left after this step; below zero the particle dies before it moves.
template <typename Lanes> LUMIDOR_LANES_INLINE Lanes Age(Lanes lifeLeft, float dt) {
    return lifeLeft - Splat<kWidthOf<Lanes>>(dt);
}
template <typename Lanes> LUMIDOR_LANES_INLINE auto Dies(Lanes agedLifeLeft) {
    return agedLifeLeft < Splat<kWidthOf<Lanes>>(0.0f);
}

/// What the fading reads (LifeLeft already aged).
template <int W> struct TFadeInputs {
    TLanes<W> Mass, LifeLength, LifeLeft, FadeIn, FadeOut, BeginFadeOut, EndFadeIn, AirResistance;
    TMask<W> FadeOutOn, FadeInOn;
};
/// The two ramps and the opacity drawn this frame.
template <int W> struct TFade { TLanes<W> FadeIn, FadeOut, Alpha; };

// Both ramps are evaluated for every lane and kept only where their window applies, fade-in second
// so that it wins; a flag that is off leaves its half untouched.
template <int W> LUMIDOR_LANES_INLINE TFade<W> Fade(const TFadeInputs<W>& in) {
    const TLanes<W> lifeLength = in.LifeLength, lifeLeft = in.LifeLeft, zero = Splat<W>(0.0f);
    const TLanes<W> lived = lifeLength - lifeLeft;
    const TLanes<W> fadeOutStart = lifeLength * in.BeginFadeOut;
    const TLanes<W> fadeInEnd = lifeLength * in.EndFadeIn;
    const TMask<W> fadingOut = in.FadeOutOn & (fadeOutStart <= lived);
    TLanes<W> fadeOut = Select(fadingOut, lifeLeft / (lifeLength - fadeOutStart), in.FadeOut);
    TLanes<W> fadeIn = Select(fadingOut, zero, in.FadeIn);
    const TMask<W> fadingIn = in.FadeInOn & (fadeInEnd >= lived);
    fadeIn = Select(fadingIn, lived / fadeInEnd, fadeIn);
    fadeOut = Select(fadingIn, zero, fadeOut);
    return {fadeIn, fadeOut, fadeIn + fadeOut};
}

// ---- Magnet points -------------------------------------------------------------------------

/// Whether a magnet point's mode acts at all.
LUMIDOR_LANES_INLINE bool MagnetActs(const TMagnetPoint& magnet) {
    return magnet.Mode >= 0 && magnet.Mode <= 2;
}
/// The offset from the magnet to the particle.
template <int W>
LUMIDOR_LANES_INLINE TLanes3<W> MagnetOffset(const TMagnetPoint& magnet, const TLanes3<W>& position) {
    return position - Splat3<W>(magnet.Position);
}
template <int W> LUMIDOR_LANES_INLINE TLanes<W> Length(const TLanes3<W>& v) {
    return Sqrt(Dot(v, v));
}
/// Exactly at the radius counts.
template <int W> LUMIDOR_LANES_INLINE TMask<W> InMagnetRange(const TMagnetPoint& magnet, TLanes<W> distance) {
    return ~TMask<W>(distance > Splat<W>(magnet.Radius));
}

// An acting magnet's pull on a particle at `delta` from it, `distance` away (in range or not).
template <int W>
LUMIDOR_LANES_INLINE TLanes3<W> MagnetPullAt(const TMagnetPoint& magnet, TLanes3<W> delta,
                                             TLanes<W> distance) {
    const TLanes<W> gravity = Splat<W>(magnet.Gravity);
    const TLanes<W> one = Splat<W>(1.0f), zero = Splat<W>(0.0f);
    if (magnet.Mode == 0) {
        // Per axis back towards the magnet, strongest where the particle is nearly level with it.
        const TLanes<W> radius = Splat<W>(magnet.Radius);
        const TLanes<W> falloff = distance + one;
        for (TLanes<W>* axis : {&delta.x, &delta.y, &delta.z}) {
            const TLanes<W> above = (*axis - radius) / falloff * gravity;
            const TLanes<W> below = (*axis + radius) / falloff * gravity;
            *axis = Select(*axis > zero, above, Select(*axis < zero, below, *axis));
        }
        return delta;
    }
    // Normalised offset (zero stays zero) times G / (d + 1) in mode 1, times G in mode 2.
    const TLanes<W> divisor = Select(distance == zero, one, distance);
    const TLanes<W> scale = magnet.Mode == 1 ? gravity / ((distance + one) * divisor) : gravity / divisor;
    // One division serves all three axes. Where the scale overflows (a huge gravity next to the
    // magnet), normalise first and scale after: the pull then stays finite wherever it is.
    const TMask<W> overflow = ~TMask<W>(Abs(scale) <= Splat<W>(kLargestFloat));
    if (!Any(overflow)) return delta * scale;
    for (TLanes<W>* axis : {&delta.x, &delta.y, &delta.z}) {
        TLanes<W> separate = *axis / divisor * gravity;
        if (magnet.Mode == 1) separate = separate / (distance + one);
        *axis = Select(overflow, separate, *axis * scale);
    }
    return delta;
}

/// Sum, in array order, of the magnet points' pull on particles at `position`.
template <int W>
LUMIDOR_LANES_INLINE TLanes3<W> MagnetPull(const TMagnetPoint* magnets, std::size_t count,
                                           const TLanes3<W>& position) {
    const TLanes<W> zero = Splat<W>(0.0f);
    TLanes3<W> total{zero, zero, zero};
    for (std::size_t k = 0; k < count; ++k) {
        const TMagnetPoint& magnet = magnets[k];
        if (!MagnetActs(magnet)) continue;
        const TLanes3<W> delta = MagnetOffset(magnet, position);
        const TLanes<W> distance = Length(delta);
        const TMask<W> inRange = InMagnetRange<W>(magnet, distance);
        if (!Any(inRange)) continue;
        total = total + Select3(inRange, MagnetPullAt(magnet, delta, distance), TLanes3<W>{zero, zero, zero});
    }
    return total;
}

// ---- Target speed and acceleration ---------------------------------------------------------

// Target speed per axis: A = F / (I + 1) + W / (10 I m + 1) + M / (I m + 1). One division for the
// three quotients: 1/a = bc / abc and so on, within a few float roundings; 1 / abc is kept per
// particle (TargetInverse) since inertia and mass change only through the setters. From abc = 2^126
// on, 1 / abc would be subnormal, zero or NaN (abc infinite): a huge mass would lose the force term,
// which does not depend on mass at all. Such lanes hold NaN there and divide term by term.
template <int W> struct TTargetDivisors {
    TLanes<W> A, B, C; // I + 1, 10 I m + 1, I m + 1
};
template <int W> LUMIDOR_LANES_INLINE TTargetDivisors<W> TargetDivisors(TLanes<W> inertia, TLanes<W> mass) {
    const TLanes<W> one = Splat<W>(1.0f);
    return {inertia + one, inertia * Splat<W>(10.0f) * mass + one, inertia * mass + one};
}
/// 1 / (a (b c)) of one axis, NaN where a (b c) reaches 2^126 (or is NaN).
template <int W> LUMIDOR_LANES_INLINE TLanes<W> TargetInverse(TLanes<W> inertia, TLanes<W> mass) {
    const TTargetDivisors<W> d = TargetDivisors<W>(inertia, mass);
    const TLanes<W> abc = d.A * (d.B * d.C);
    return Select(abc < Splat<W>(0x1p126f), Splat<W>(1.0f) / abc, Splat<W>(__builtin_nanf("")));
}

/// What the target speed of one axis multiplies the force, the wind and the impulse by.
template <int W> struct TTargetFactors { TLanes<W> Force, Wind, Impulse; };
template <int W>
LUMIDOR_LANES_INLINE TTargetFactors<W> TargetFactors(TLanes<W> inertia, TLanes<W> mass, TLanes<W> inverse) {
    const TTargetDivisors<W> d = TargetDivisors<W>(inertia, mass);
    return {d.B * d.C * inverse, d.A * d.C * inverse, d.A * d.B * inverse};
}

/// The three terms of the target speed, per axis; the target is (Force + Wind) + Impulse.
template <int W> struct TTargetTerms { TLanes3<W> Force, Wind, Impulse; };
template <int W> LUMIDOR_LANES_INLINE TLanes3<W> TargetOf(const TTargetTerms<W>& terms) {
    return terms.Force + terms.Wind + terms.Impulse;
}

// The terms from each axis's factors of the shared divisor.
template <int W>
LUMIDOR_LANES_INLINE TTargetTerms<W> TargetTerms(const TLanes3<W>& force, const TLanes3<W>& wind,
                                                 const TLanes3<W>& impulse, const TTargetFactors<W>& x,
                                                 const TTargetFactors<W>& y, const TTargetFactors<W>& z) {
    return {{force.x * x.Force, force.y * y.Force, force.z * z.Force},
            {wind.x * x.Wind, wind.y * y.Wind, wind.z * z.Wind},
            {impulse.x * x.Impulse, impulse.y * y.Impulse, impulse.z * z.Impulse}};
}

// The terms with the three divisions one by one.
template <int W>
LUMIDOR_LANES_INLINE TTargetTerms<W> SeparateTargetTerms(const TLanes3<W>& force, const TLanes3<W>& wind,
                                                         const TLanes3<W>& impulse, const TLanes3<W>& inertia,
                                                         TLanes<W> mass) {
    const TTargetDivisors<W> x = TargetDivisors<W>(inertia.x, mass);
    const TTargetDivisors<W> y = TargetDivisors<W>(inertia.y, mass);
    const TTargetDivisors<W> z = TargetDivisors<W>(inertia.z, mass);
    return {{force.x / x.A, force.y / y.A, force.z / z.A},
            {wind.x / x.B, wind.y / y.B, wind.z / z.B},
            {impulse.x / x.C, impulse.y / y.C, impulse.z / z.C}};
}

/// The target's terms for particles with `inertia`, `mass` and their TargetInverse.
template <int W>
LUMIDOR_LANES_INLINE TTargetTerms<W> TargetTerms(const TLanes3<W>& force, const TLanes3<W>& wind,
                                                 const TLanes3<W>& impulse, const TLanes3<W>& inertia,
                                                 TLanes<W> mass, const TLanes3<W>& inverse) {
    const TTargetTerms<W> shared = TargetTerms(
        force, wind, impulse, TargetFactors<W>(inertia.x, mass, inverse.x),
        TargetFactors<W>(inertia.y, mass, inverse.y), TargetFactors<W>(inertia.z, mass, inverse.z));
    const TMask<W> huge = (inverse.x != inverse.x) | (inverse.y != inverse.y) | (inverse.z != inverse.z);
    if (!Any(huge)) return shared;
    const TTargetTerms<W> separate = SeparateTargetTerms(force, wind, impulse, inertia, mass);
    return {Select3(huge, separate.Force, shared.Force), Select3(huge, separate.Wind, shared.Wind),
            Select3(huge, separate.Impulse, shared.Impulse)};
}

/// Where the velocity climbs towards the target: |V - A| > A dt.
template <int W>
LUMIDOR_LANES_INLINE TMask3<W> Accelerates(const TLanes3<W>& velocity, const TLanes3<W>& target,
                                           const TLanes3<W>& step) {
    return {Abs(velocity.x - target.x) > step.x, Abs(velocity.y - target.y) > step.y,
            Abs(velocity.z - target.z) > step.z};
}
// Climb towards a positive target speed by `step`; a negative target accelerates without bound.
template <int W>
LUMIDOR_LANES_INLINE TLanes3<W> Accelerate(const TLanes3<W>& velocity, const TMask3<W>& climbs,
                                           const TLanes3<W>& step) {
    const TLanes3<W> faster = velocity + step;
    return {Select(climbs.x, faster.x, velocity.x), Select(climbs.y, faster.y, velocity.y),
            Select(climbs.z, faster.z, velocity.z)};
}
// Debug tip: one more acceleration step where it stays within the target's size.
template <int W>
LUMIDOR_LANES_INLINE TLanes3<W> TipVelocity(const TLanes3<W>& velocity, const TLanes3<W>& target,
                                            const TLanes3<W>& step) {
    const TLanes3<W> slower = velocity - step, faster = velocity + step;
    return {Select(Abs(slower.x) <= Abs(target.x), faster.x, velocity.x),
            Select(Abs(slower.y) <= Abs(target.y), faster.y, velocity.y),
            Select(Abs(slower.z) <= Abs(target.z), faster.z, velocity.z)};
}

/// 1 - air resistance dt: what the velocity keeps on every axis.
template <int W> LUMIDOR_LANES_INLINE TLanes<W> AirKept(TLanes<W> airResistance, TLanes<W> dt) {
    return Splat<W>(1.0f) - airResistance * dt;
}
/// 1 - dt / inertia: what the magnet impulse keeps per axis.
template <int W> LUMIDOR_LANES_INLINE TLanes3<W> ImpulseKept(const TLanes3<W>& inertia, TLanes<W> dt) {
    const TLanes<W> one = Splat<W>(1.0f);
    return {one - dt / inertia.x, one - dt / inertia.y, one - dt / inertia.z};
}

/// The move: the air takes its share of the velocity, which then carries the particle.
template <int W>
LUMIDOR_LANES_INLINE void Move(TLanes3<W>& position, TLanes3<W>& velocity, TLanes<W> airKept, TLanes<W> dt) {
    velocity = velocity * airKept;
    position = position + velocity * dt;
}

/// Everything the step reads from the container, fetched once per pass.
template <int W> struct TMotionPass {
    float Dt = 0.0f;
    TLanes3<W> Wind{};
    const TMagnetPoint* Magnets = nullptr;
    std::size_t MagnetCount = 0;
    const TCollisionConvexWorld* World = nullptr; // null: no collision
    float InverseCellX = 0, InverseCellZ = 0;     // 1 / cell size, hoisted out of the sweep
    float LastCellX = 0, LastCellZ = 0;           // highest cell index per axis
    TLanes3<W> KeptAfterBounce{};                 // 1 - world friction
    bool FlatZeroGround = false;                  // a small grid whose heights are all zero and normals alike
    TLanes3<W> FlatNormal{};                      // its normal
    bool HasSharedTarget = false;                 // the first particle's inertia and mass, as below
    TMask3<W> SharedInertiaBits{};                // its inertia, bit for bit
    TMask<W> SharedMassBits{};                    // its mass, bit for bit
    TTargetFactors<W> SharedFactorsX{}, SharedFactorsY{}, SharedFactorsZ{}; // its target factors per axis
    TLanes3<W> SharedImpulseKept{};                                         // its 1 - dt / inertia
    bool Debug = false;
    float DebugScale = 0.0f;
    bool Turns = false;  // the container is Rotating: the extended step advances the angles
    TFlowPass<W> Flow{}; // turbulence, vortex, dying on the ground: read only by the extended step
};

} // namespace
} // namespace lumidor::physics
