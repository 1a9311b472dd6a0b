#pragma once
// Sine, cosine and cube root for what particles are made from (emitter shapes, paths), worked out with
// IEEE operations alone, each rounded once, so that every build (any C library, x86-64 or WebAssembly)
// gives the same bits for the same script. The C library's sin, cos and cbrt differ in their last bit
// from one library to another.

#include "engine/particle_turn.h"

#include <cstdint>
#include <cstring>

namespace lumidor {

/// Sine and cosine of `degrees` (any angle; NaN and infinities count as 0), error about 1e-7.
inline void PortableSinCosDegrees(float degrees, float& sine, float& cosine) {
    lanes::TLanes<4> s, c;
    turn::SinCosDegrees<4>(turn::WrapDegrees<4>(lanes::Splat<4>(degrees)), s, c);
    sine = s[0];
    cosine = c[0];
}

/// Cube root of `x`, correct to the float's precision; 0 for 0, negatives and NaN, x itself for +inf.
inline float PortableCbrt(float x) {
    if (!(x > 0.0f)) return 0.0f;
    if (x > 3.4028234e38f) return x;
    // A first guess within a few per cent from the bits (the exponent divided by three), then Newton's
    // steps in double, each squaring the error: 5e-2, 3e-3, 7e-6, 5e-11.
    std::uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    bits = bits / 3u + 0x2a5137a0u;
    float guess;
    std::memcpy(&guess, &bits, sizeof guess);
    const double value = x;
    double y = guess;
    for (int step = 0; step < 4; ++step)
        y -= (y * y * y - value) / (3.0 * y * y);
    return float(y);
}

} // namespace lumidor
