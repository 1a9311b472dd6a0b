#pragma once
// Particles that turn and stretch, over lanes of any width: the angle's step, sine and cosine of
// degrees, and the corners of a turned or stretched quad. Only + - * / and square roots, one IEEE
// operation per lane each (no library call per lane), so every width and the one-lane step
// breakdown give the same bits.
//
// The angle. Each step adds spin x dt and wraps the sum into [-180, 180): a - 360 floor((a + 180) /
// 360), nudged by 360 where rounding leaves it just outside; an angle that is NaN or infinite
// becomes 0. A long run so keeps the angle's full precision.
//
// Sine and cosine of an angle a in degrees: k = nearest integer to a / 90, r = a - 90 k (within
// +-45 degrees), t = r pi / 180; sin t and cos t by minimax polynomials on [-pi/4, pi/4] (error
// about 1e-7), then the quadrant k mod 4 swaps them and sets their signs. sin 0 is 0 and cos 0 is 1
// exactly, and so are the quadrants' ends (90 gives 1 and 0).
//
// A quad's corners. An unturned particle of drawn width w and height h, centre P, seen along the
// camera's unit axes R (right) and U (up), has at corner (sx, sy) = (1, 1), (-1, 1), (-1, -1),
// (1, -1) (top-right, top-left, bottom-left, bottom-right):
//     corner = P + ((sx R.x + sy U.x) w/2, (sx R.y + sy U.y) h/2, (sx R.z + sy U.z) h/2).
// Turned (a Rotating container, Stretch 0) by its angle a, counter-clockwise as the camera sees it,
// with c = cos a, s = sin a, q = h / w and q' = w / h (each one division):
//     p  = sx c - sy (q s),   p' = sx (s q') + sy c
//     corner = P + ((p R.x + p' U.x) w/2, (p R.y + p' U.y) h/2, (p R.z + p' U.z) h/2)
// which is the w x h rectangle turned by a, then drawn as an unturned particle's corners are; with
// the camera's axes along world x and y it is the rectangle turned. At a = 0 (c = 1, s = 0) p and
// p' are sx and sy exactly, so the corners are the unturned ones bit for bit. Where w or h is 0 (or
// not finite) q is taken as 1.
// Stretched (Stretch > 0; the angle plays no part): the velocity V as the camera sees it is
// v = (V . R, V . U), its speed |v| = sqrt(v.x^2 + v.y^2). Where |v| > 0 (and finite),
// d = v x (1 / |v|) and L = h + Stretch |v|; elsewhere d = (0, 1) and L = h (upright, unstretched).
// With the half lengths taken into d's components, along = (d.x L/2, d.y L/2) and
// across = (d.y w/2, d.x w/2):
//     (w/2) N = across.x R - across.y U     (across the motion)
//     (L/2) D = along.x R + along.y U       (along it)
//     corner  = P + sx (w/2) N + sy (L/2) D
// so the quad's length L lies along the motion, its width w across it, in the plane of R and U
// (where the unturned formula scales world x by w and world y and z by h, this one does not).

#include "engine/simd_lanes.h"
#include "engine/vector.h"

namespace lumidor::turn {
namespace {

using namespace lanes;

/// floor(v) per lane, for lanes within the 32-bit integer range.
template <int W> LUMIDOR_LANES_INLINE TLanes<W> Floor(TLanes<W> v) {
    const TLanes<W> truncated = __builtin_convertvector(Truncate(v), TLanes<W>);
    return Select(truncated > v, truncated - Splat<W>(1.0f), truncated);
}

/// The angle a (degrees) wrapped into [-180, 180); NaN and infinities (and angles past about 10^11
/// degrees) give 0.
template <int W> LUMIDOR_LANES_INLINE TLanes<W> WrapDegrees(TLanes<W> a) {
    const TLanes<W> full = Splat<W>(360.0f), half = Splat<W>(180.0f);
    // Commonly the angle is inside already: one comparison and nothing else.
    const TMask<W> inside = (a >= -half) & (a < half);
    if (!Any(~inside)) return a;
    const TLanes<W> turns = Floor<W>((a + half) * Splat<W>(1.0f / 360.0f));
    TLanes<W> wrapped = a - turns * full;
    wrapped = Select(wrapped >= half, wrapped - full, wrapped);
    wrapped = Select(wrapped < -half, wrapped + full, wrapped);
    return Select((wrapped >= -half) & (wrapped < half), wrapped, Splat<W>(0.0f));
}

/// One step of the angle: angle + spin x dt, wrapped.
template <int W> LUMIDOR_LANES_INLINE TLanes<W> AdvanceAngle(TLanes<W> angle, TLanes<W> spin, TLanes<W> dt) {
    return WrapDegrees<W>(angle + spin * dt);
}

/// Sine and cosine of `degrees` (a wrapped angle: within [-180, 180)).
template <int W>
LUMIDOR_LANES_INLINE void SinCosDegrees(TLanes<W> degrees, TLanes<W>& sine, TLanes<W>& cosine) {
    const TMask<W> quadrant = Truncate(Floor<W>(degrees * Splat<W>(1.0f / 90.0f) + Splat<W>(0.5f)));
    const TLanes<W> r = degrees - __builtin_convertvector(quadrant, TLanes<W>) * Splat<W>(90.0f);
    const TLanes<W> t = r * Splat<W>(0.017453292519943295f);
    const TLanes<W> z = t * t;
    // Minimax polynomials on [-pi/4, pi/4] (the single-precision ones of the Cephes library).
    const TLanes<W> s = t + t * z *
                                (Splat<W>(-1.6666654611e-1f) +
                                 z * (Splat<W>(8.3321608736e-3f) + z * Splat<W>(-1.9515295891e-4f)));
    const TLanes<W> c = Splat<W>(1.0f) - z * Splat<W>(0.5f) +
                        z * z *
                            (Splat<W>(4.166664568298827e-2f) +
                             z * (Splat<W>(-1.388731625493765e-3f) + z * Splat<W>(2.443315711809948e-5f)));
    // Quadrant 0: (s, c); 1: (c, -s); 2: (-s, -c); 3: (-c, s).
    const TMask<W> swap = (quadrant & 1) != 0;
    const TLanes<W> sinPart = Select(swap, c, s), cosPart = Select(swap, s, c);
    sine = Select((quadrant & 2) != 0, -sinPart, sinPart);
    cosine = Select(((quadrant + 1) & 2) != 0, -cosPart, cosPart);
}

/// How a pass draws its quads.
enum class TTurnMode { Upright, Turned, Stretched };

/// What the corners read from the container and the camera, fetched once per pass.
struct TTurnPass {
    TTurnMode Mode = TTurnMode::Upright;
    float Stretch = 0.0f;
    TVector3 Right{1, 0, 0}, Up{0, 1, 0};
};

/// The pass's turning for a container with `rotating` and `stretch`, seen along `right` and `up`.
inline TTurnPass MakeTurnPass(bool rotating, float stretch, const TVector3& right, const TVector3& up) {
    TTurnPass pass;
    pass.Mode = stretch > 0.0f ? TTurnMode::Stretched : rotating ? TTurnMode::Turned : TTurnMode::Upright;
    pass.Stretch = stretch;
    pass.Right = right;
    pass.Up = up;
    return pass;
}

/// Offsets from the centre of the four corners (top-right, top-left, bottom-left, bottom-right).
template <int W> using TCornerOffsets = TLanes3<W>[4];

/// The corners of quads of drawn `width` and `height` turned by `angle` (wrapped degrees).
template <int W>
LUMIDOR_LANES_INLINE void TurnedCorners(const TTurnPass& pass, TLanes<W> width, TLanes<W> height,
                                        TLanes<W> angle, TCornerOffsets<W>& out) {
    TLanes<W> sine, cosine;
    SinCosDegrees<W>(angle, sine, cosine);
    const TLanes<W> halfX = width * Splat<W>(0.5f), halfY = height * Splat<W>(0.5f);
    const TLanes<W> one = Splat<W>(1.0f);
    TLanes<W> ratio = height / width, inverse = width / height;
    const TLanes<W> big = Splat<W>(3.4028235e38f);
    const TMask<W> usable = (Abs(ratio) <= big) & (Abs(inverse) <= big) & (ratio != Splat<W>(0.0f));
    ratio = Select(usable, ratio, one);
    inverse = Select(usable, inverse, one);
    const TLanes3<W> right = Splat3<W>(pass.Right), up = Splat3<W>(pass.Up);
    const TLanes<W> qs = ratio * sine, sq = sine * inverse;
    // Corner (1, 1): p = c - q s, p' = s / q + c; corner (-1, 1): p = -c - q s, p' = -s / q + c.
    const TLanes<W> p[2] = {cosine - qs, -cosine - qs};
    const TLanes<W> pp[2] = {sq + cosine, -sq + cosine};
    LUMIDOR_UNROLL
    for (int corner = 0; corner < 2; ++corner) {
        const TLanes3<W> offset{(p[corner] * right.x + pp[corner] * up.x) * halfX,
                                (p[corner] * right.y + pp[corner] * up.y) * halfY,
                                (p[corner] * right.z + pp[corner] * up.z) * halfY};
        out[corner] = offset;
        out[corner + 2] = {-offset.x, -offset.y, -offset.z};
    }
}

/// The corners of quads of drawn `width` and `height` laid along `velocity` as the camera sees it.
template <int W>
LUMIDOR_LANES_INLINE void StretchedCorners(const TTurnPass& pass, TLanes<W> width, TLanes<W> height,
                                           const TLanes3<W>& velocity, TCornerOffsets<W>& out) {
    const TLanes3<W> right = Splat3<W>(pass.Right), up = Splat3<W>(pass.Up);
    const TLanes<W> vx = Dot(velocity, right), vy = Dot(velocity, up);
    const TLanes<W> speed = Sqrt(vx * vx + vy * vy);
    const TMask<W> moving = (speed > Splat<W>(0.0f)) & (speed <= Splat<W>(3.4028235e38f));
    const TLanes<W> inverse = Splat<W>(1.0f) / speed;
    const TLanes<W> dx = Select(moving, vx * inverse, Splat<W>(0.0f));
    const TLanes<W> dy = Select(moving, vy * inverse, Splat<W>(1.0f));
    const TLanes<W> length = Select(moving, height + Splat<W>(pass.Stretch) * speed, height);
    const TLanes<W> halfWidth = width * Splat<W>(0.5f), halfLength = length * Splat<W>(0.5f);
    // (w/2) N and (L/2) D, the half lengths taken into d's components first.
    const TLanes<W> alongX = dx * halfLength, alongY = dy * halfLength;
    const TLanes<W> acrossX = dy * halfWidth, acrossY = dx * halfWidth;
    const TLanes3<W> a{acrossX * right.x - acrossY * up.x, acrossX * right.y - acrossY * up.y,
                       acrossX * right.z - acrossY * up.z};
    const TLanes3<W> b{alongX * right.x + alongY * up.x, alongX * right.y + alongY * up.y,
                       alongX * right.z + alongY * up.z};
    out[0] = a + b;
    out[1] = b - a;
    out[2] = {-out[0].x, -out[0].y, -out[0].z};
    out[3] = a - b;
}

} // namespace
} // namespace lumidor::turn
