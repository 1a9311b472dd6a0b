#pragma once
// The flow terms of a particle step, over lanes of any width (see engine/particle_physics.h):
// turbulence, a curl-noise acceleration that stirs particles without gathering them anywhere, and
// the vortex, a turn about an axis with a pull towards it. Both are built from integer hashing and
// IEEE + - * / and square roots in a fixed order; what needs a sine or a cosine is worked out once a
// pass in scalar code of its own (no libm), so every width, thread count and processor gets the
// same bits.
//
// The turbulence's potential is value noise on the integer lattice of q = (p - (0, Speed Time, 0)) /
// Scale: the field drifts along +y at Speed units a second, its features Scale units apart. One hash
// of each cell corner gives the three channels of the potential, weighted by the quintic fade
// 6t^5 - 15t^4 + 10t^3, whose analytic derivative gives the gradients. The acceleration is the curl
// of the potential in lattice units, so it is divergence-free and the same size at every Scale,
// normalised so that Strength is the field's typical peak: 95 % of the field is weaker (its root
// mean square is about 0.6 Strength, its very largest about 2 Strength).

#include "engine/particle_container.h"
#include "engine/simd_lanes.h"

#include <cmath>
#include <cstdint>

namespace lumidor::physics {
namespace {

using namespace lanes;

// ---- Lattice and hashing -------------------------------------------------------------------

/// Unsigned 32-bit lanes of one width: the hash wraps modulo 2^32.
template <int W> struct TUnsignedOf;
template <> struct TUnsignedOf<4> { using Type = std::uint32_t __attribute__((vector_size(16))); };
template <> struct TUnsignedOf<8> { using Type = std::uint32_t __attribute__((vector_size(32))); };
template <> struct TUnsignedOf<16> { using Type = std::uint32_t __attribute__((vector_size(64))); };
template <int W> using TUnsignedLanes = typename TUnsignedOf<W>::Type;

// Lattice coordinates are clamped to +-2^22, where a float still holds every integer and truncation
// is exact; farther out (and for NaN, which the clamp turns into the low end) the field is that of
// the edge.
constexpr float kLatticeLimit = 4194304.0f;

// Odd multipliers spreading each axis's cell index over the word, and the corner hash's mixing
// multiplier.
constexpr std::uint32_t kHashX = 0x8da6b343u, kHashY = 0xd8163841u, kHashZ = 0xcb1ab31fu;
constexpr std::uint32_t kMix = 0x846ca68bu;

/// One axis of a lattice point: its cell's hash term and the fraction within the cell, in [0, 1).
template <int W> struct TLatticeAxis {
    TUnsignedLanes<W> Low, High; // the cell's lower and upper corner's hash terms
    TLanes<W> Fraction;
};

// Floor by truncation: a negative coordinate that is not whole truncates upwards, one too high.
template <int W> LUMIDOR_LANES_INLINE TLatticeAxis<W> LatticeAxis(TLanes<W> q, std::uint32_t multiplier) {
    const TLanes<W> limit = Splat<W>(kLatticeLimit);
    const TLanes<W> clamped = Min(Max(q, Splat<W>(-kLatticeLimit)), limit);
    TMask<W> cell = Truncate(clamped);
    cell = cell + TMask<W>(__builtin_convertvector(cell, TLanes<W>) > clamped);
    const TUnsignedLanes<W> low = TUnsignedLanes<W>(cell) * multiplier;
    return {low, low + multiplier, clamped - __builtin_convertvector(cell, TLanes<W>)};
}

// The corner's hash from the xor of its axes' terms: an xorshift brings the high bits down, the
// multiply spreads every bit upwards.
template <int W> LUMIDOR_LANES_INLINE TUnsignedLanes<W> MixCorner(TUnsignedLanes<W> h) {
    return (h ^ (h >> 15)) * kMix;
}

// Ten bits of the hash as the top of a float's mantissa with the exponent of 1: a number in [1, 2)
// in steps of 2^-10, with no conversion (one shift, one and-or).
constexpr std::uint32_t kMantissaTop = 0x007fe000u, kExponentOfOne = 0x3f800000u;
template <int W> LUMIDOR_LANES_INLINE TLanes<W> TenBits(TUnsignedLanes<W> shifted) {
    return TLanes<W>((shifted & kMantissaTop) | kExponentOfOne);
}

/// The three channels of the potential at one corner, in [1, 2): the hash's bits 22 to 31, 12 to 21
/// and 2 to 11. Only their differences count, so the offset of 1 drops out.
template <int W> struct TCornerValues { TLanes<W> A, B, C; };
template <int W> LUMIDOR_LANES_INLINE TCornerValues<W> CornerValues(TUnsignedLanes<W> h) {
    return {TenBits<W>(h >> 9), TenBits<W>(h << 1), TenBits<W>(h << 11)};
}

// ---- Noise and curl ------------------------------------------------------------------------

/// The quintic fade of each axis's fraction and its derivative.
template <int W> struct TFade3 {
    TLanes<W> X, Y, Z;    // the faded fractions
    TLanes<W> DX, DY, DZ; // their derivatives
};
template <int W> LUMIDOR_LANES_INLINE void QuinticFade(TLanes<W> t, TLanes<W>& fade, TLanes<W>& slope) {
    const TLanes<W> t2 = t * t;
    fade = t2 * t * ((t * Splat<W>(6.0f) - Splat<W>(15.0f)) * t + Splat<W>(10.0f));
    const TLanes<W> bend = t * (t - Splat<W>(1.0f));
    slope = bend * bend * Splat<W>(30.0f);
}

// The gradient of one channel whose corner values are c[x + 2y + 4z], the noise being
// k0 + k1 u + k2 v + k3 w + k4 uv + k5 vw + k6 uw + k7 uvw in the faded fractions.
template <int W>
LUMIDOR_LANES_INLINE TLanes3<W> ChannelGradient(const TLanes<W> (&c)[8], const TFade3<W>& f, TLanes<W> uv,
                                                TLanes<W> vw, TLanes<W> uw) {
    const TLanes<W> k1 = c[1] - c[0], k2 = c[2] - c[0], k3 = c[4] - c[0];
    const TLanes<W> alongXNearY = c[3] - c[2], alongXNearZ = c[5] - c[4];
    const TLanes<W> k4 = alongXNearY - k1;
    const TLanes<W> k5 = (c[6] - c[4]) - k2;
    const TLanes<W> k6 = alongXNearZ - k1;
    const TLanes<W> k7 = (((c[7] - c[6]) - alongXNearZ) - alongXNearY) + k1;
    return {f.DX * ((k1 + k4 * f.Y) + (k6 * f.Z + k7 * vw)), f.DY * ((k2 + k4 * f.X) + (k5 * f.Z + k7 * uw)),
            f.DZ * ((k3 + k6 * f.X) + (k5 * f.Y + k7 * uv))};
}

// Curl of the potential (corner values in [1, 2)) at the lattice point q; times kCurlToUnit, 95 % of
// the field is below 1.
template <int W> LUMIDOR_LANES_INLINE TLanes3<W> RawCurl(const TLanes3<W>& q) {
    const TLatticeAxis<W> x = LatticeAxis<W>(q.x, kHashX);
    const TLatticeAxis<W> y = LatticeAxis<W>(q.y, kHashY);
    const TLatticeAxis<W> z = LatticeAxis<W>(q.z, kHashZ);
    TLanes<W> a[8], b[8], c[8];
    const TUnsignedLanes<W> xy[4] = {x.Low ^ y.Low, x.High ^ y.Low, x.Low ^ y.High, x.High ^ y.High};
    LUMIDOR_UNROLL
    for (int corner = 0; corner < 8; ++corner) {
        const TCornerValues<W> values =
            CornerValues<W>(MixCorner<W>(xy[corner & 3] ^ (corner < 4 ? z.Low : z.High)));
        a[corner] = values.A;
        b[corner] = values.B;
        c[corner] = values.C;
    }
    TFade3<W> f;
    QuinticFade<W>(x.Fraction, f.X, f.DX);
    QuinticFade<W>(y.Fraction, f.Y, f.DY);
    QuinticFade<W>(z.Fraction, f.Z, f.DZ);
    const TLanes<W> uv = f.X * f.Y, vw = f.Y * f.Z, uw = f.X * f.Z;
    const TLanes3<W> ga = ChannelGradient<W>(a, f, uv, vw, uw);
    const TLanes3<W> gb = ChannelGradient<W>(b, f, uv, vw, uw);
    const TLanes3<W> gc = ChannelGradient<W>(c, f, uv, vw, uw);
    // Potential (a, b, c): curl = (dc/dy - db/dz, da/dz - dc/dx, db/dx - da/dy).
    return {gc.y - gb.z, ga.z - gc.x, gb.x - ga.y};
}

/// What turns RawCurl into the unit field: 2 (the values span 1 where the unit field's span 2) over the
/// size 95 % of the raw field stays under (measured over many stretches of the field;
/// tests/engine/flow_test.cpp holds it).
constexpr float kCurlToUnit = 2.0f / 3.1f;

// ---- The pass's flow constants -------------------------------------------------------------

/// Whether a turbulence stirs at all: a strength other than 0, a scale above 0, all finite. (Stricter
/// than UsesExtendedStep's test, which takes such a container to the extended step all the same.)
inline bool TurbulenceStirs(const TTurbulence& turbulence) {
    return turbulence.Strength != 0.0f && std::isfinite(turbulence.Strength) && turbulence.Scale > 0.0f &&
           std::isfinite(turbulence.Scale) && std::isfinite(turbulence.Speed);
}

/// Whether a vortex moves anything: a finite axis other than zero and a finite speed or pull other
/// than 0 (stricter than UsesExtendedStep's test, as above).
inline bool VortexSwirls(const TVortex& vortex) {
    const TVector3& axis = vortex.Axis;
    const bool axisUsable = std::isfinite(axis.x) && std::isfinite(axis.y) && std::isfinite(axis.z) &&
                            (axis.x != 0.0f || axis.y != 0.0f || axis.z != 0.0f) &&
                            std::isfinite(vortex.Center.x) && std::isfinite(vortex.Center.y) &&
                            std::isfinite(vortex.Center.z);
    const bool moves = (vortex.Speed != 0.0f && std::isfinite(vortex.Speed)) ||
                       (vortex.Pull != 0.0f && std::isfinite(vortex.Pull));
    return axisUsable && moves;
}

constexpr double Factorial(int n) {
    return n <= 1 ? 1.0 : double(n) * Factorial(n - 1);
}

/// cos and sin of an angle in degrees, with IEEE double operations only (std::fmod is exact), then
/// rounded to float: the same bits on every machine and library.
inline void CosSinDegrees(double degrees, float& cosine, float& sine) {
    double turned = std::fmod(degrees, 360.0);
    if (turned < 0.0) turned += 360.0;
    // The nearest quarter turn, then at most 45 degrees from it, where the series converge fast.
    const int quarter = int(turned / 90.0 + 0.5);
    const double r = (turned - 90.0 * double(quarter)) * (3.14159265358979323846 / 180.0);
    const double r2 = r * r;
    double s = 1.0 / 6227020800.0, c = 1.0 / 87178291200.0; // 1/13!, 1/14!
    for (int n = 11; n >= 1; n -= 2) {
        // s = 1 - r^2/(2*3) (1 - r^2/(4*5) (...)) from the inside out; c likewise with even terms.
        s = 1.0 / Factorial(n) - r2 * s;
        c = 1.0 / Factorial(n + 1) - r2 * c;
    }
    s = r * s;
    c = 1.0 - r2 * c;
    const double quarterCos[4] = {c, -s, -c, s}, quarterSin[4] = {s, c, -s, -c};
    cosine = float(quarterCos[quarter & 3]);
    sine = float(quarterSin[quarter & 3]);
}

/// Everything the flow terms read, fetched once per pass.
template <int W> struct TFlowPass {
    bool Turbulent = false;        // the turbulence stirs (TurbulenceStirs)
    float InverseScale = 0.0f;     // 1 / Scale: world units to lattice units
    float Drift = 0.0f;            // Speed Time: how far the field has drifted up, world units
    float TurbulenceFactor = 0.0f; // Strength kCurlToUnit: RawCurl to units per second per second
    bool Swirls = false;           // the vortex moves particles (VortexSwirls)
    bool Turns = false;            // it turns them (a turn other than none this pass)
    bool Pulls = false;            // it pulls or pushes them (Pull dt other than 0)
    TVector3 Center, Axis;         // a point of the axis, the axis of unit length
    float Cos = 1.0f, Sin = 0.0f;  // of this pass's turn, Speed dt degrees
    float PullStep = 0.0f;         // Pull dt, units towards the axis
    bool DieOnGround = false;      // lanes that meet the ground stop and end their lives
};

/// The flow's pass constants for `container` and time step `dt`.
template <int W> TFlowPass<W> MakeFlowPass(const TParticleEffectContainer& container, float dt) {
    TFlowPass<W> pass;
    const TParticleFlow& flow = container.Flow;
    pass.DieOnGround = container.DieOnGround;
    if (TurbulenceStirs(flow.Turbulence)) {
        const TTurbulence& turbulence = flow.Turbulence;
        pass.Turbulent = true;
        pass.InverseScale = 1.0f / turbulence.Scale;
        const double drift = double(turbulence.Speed) * flow.Time;
        pass.Drift = std::isfinite(drift) ? float(drift) : 0.0f;
        pass.TurbulenceFactor = turbulence.Strength * kCurlToUnit;
    }
    const TVortex& vortex = flow.Vortex;
    if (VortexSwirls(vortex)) {
        pass.Swirls = true;
        pass.Center = vortex.Center;
        // Normalised in double, so that an axis of any finite size (even one whose square overflows
        // a float) gives the same unit axis.
        const double x = vortex.Axis.x, y = vortex.Axis.y, z = vortex.Axis.z;
        const double length = std::sqrt(x * x + y * y + z * z);
        pass.Axis = {float(x / length), float(y / length), float(z / length)};
        const double degrees = double(vortex.Speed) * double(dt);
        pass.Turns = std::isfinite(degrees) && degrees != 0.0; // a NaN time step turns nothing
        if (pass.Turns) CosSinDegrees(degrees, pass.Cos, pass.Sin);
        pass.PullStep = std::isfinite(vortex.Pull) ? vortex.Pull * dt : 0.0f;
        pass.Pulls = pass.PullStep != 0.0f && std::isfinite(pass.PullStep);
    }
    return pass;
}

// ---- The terms -----------------------------------------------------------------------------

/// The turbulence's acceleration on particles at `position`, units per second per second.
template <int W>
LUMIDOR_LANES_INLINE TLanes3<W> TurbulenceAcceleration(const TFlowPass<W>& pass, const TLanes3<W>& position) {
    const TLanes<W> inverse = Splat<W>(pass.InverseScale);
    const TLanes3<W> q{position.x * inverse, (position.y - Splat<W>(pass.Drift)) * inverse,
                       position.z * inverse};
    return RawCurl<W>(q) * Splat<W>(pass.TurbulenceFactor);
}

/// Where the vortex takes particles at `position` in this pass: turned about the axis by the pass's
/// angle (Rodrigues' rotation of the offset from the axis), then moved along that offset towards the
/// axis by PullStep, never past it (a negative step pushes away; a particle on the axis stays).
template <int W> LUMIDOR_LANES_INLINE TLanes3<W> Swirl(const TFlowPass<W>& pass, const TLanes3<W>& position) {
    if (!pass.Turns && !pass.Pulls) return position; // a pass of no time moves nothing, to the bit
    const TLanes3<W> center = Splat3<W>(pass.Center), axis = Splat3<W>(pass.Axis);
    const TLanes3<W> offset = position - center;
    const TLanes3<W> along = axis * Dot(axis, offset);
    TLanes3<W> across = offset - along;
    if (pass.Turns) {
        const TLanes3<W> normal{axis.y * across.z - axis.z * across.y, axis.z * across.x - axis.x * across.z,
                                axis.x * across.y - axis.y * across.x};
        across = across * Splat<W>(pass.Cos) + normal * Splat<W>(pass.Sin);
    }
    if (pass.Pulls) {
        const TLanes<W> zero = Splat<W>(0.0f);
        const TLanes<W> distance = Sqrt(Dot(across, across));
        const TLanes<W> left = Max(distance - Splat<W>(pass.PullStep), zero);
        across = across * Select(distance > zero, left / distance, Splat<W>(1.0f));
    }
    return center + along + across;
}

} // namespace
} // namespace lumidor::physics
