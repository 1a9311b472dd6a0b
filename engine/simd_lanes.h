#pragma once
// Four-lane float vectors for the particle sweep. Lanes are four particles: one operation advances
// the same quantity of all four. GCC and Clang map these onto SSE (x86-64) or NEON (ARM) registers.

#include <cmath>
#include <cstdint>
#include <cstring>
#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace lumidor::lanes {

using TLanes = float __attribute__((vector_size(16)));
using TMask = std::int32_t __attribute__((vector_size(16))); ///< all bits set in a true lane

/// x, y and z of four vectors.
struct TLanes3 {
    TLanes x, y, z;
};

inline __attribute__((always_inline)) TLanes Splat(float value) { return TLanes{value, value, value, value}; }
inline __attribute__((always_inline)) TLanes Abs(TLanes v) { return TLanes(TMask(v) & 0x7fffffff); }
inline __attribute__((always_inline)) TLanes Select(TMask mask, TLanes ifTrue, TLanes ifFalse) {
    return TLanes((TMask(ifTrue) & mask) | (TMask(ifFalse) & ~mask));
}
/// Correctly rounded square root of each lane.
inline __attribute__((always_inline)) TLanes Sqrt(TLanes v) {
#if defined(__SSE__)
    return TLanes(_mm_sqrt_ps(__m128(v)));
#else
    return TLanes{std::sqrt(v[0]), std::sqrt(v[1]), std::sqrt(v[2]), std::sqrt(v[3])};
#endif
}
inline __attribute__((always_inline)) bool Any(TMask mask) { return (mask[0] | mask[1] | mask[2] | mask[3]) != 0; }

/// Columns of the 4 x 4 matrix whose rows are r0 .. r3.
inline __attribute__((always_inline)) void Transpose(TLanes r0, TLanes r1, TLanes r2, TLanes r3, TLanes& c0, TLanes& c1, TLanes& c2, TLanes& c3) {
    const TLanes xy01 = __builtin_shufflevector(r0, r1, 0, 4, 1, 5);
    const TLanes xy23 = __builtin_shufflevector(r2, r3, 0, 4, 1, 5);
    const TLanes zw01 = __builtin_shufflevector(r0, r1, 2, 6, 3, 7);
    const TLanes zw23 = __builtin_shufflevector(r2, r3, 2, 6, 3, 7);
    c0 = __builtin_shufflevector(xy01, xy23, 0, 1, 4, 5);
    c1 = __builtin_shufflevector(xy01, xy23, 2, 3, 6, 7);
    c2 = __builtin_shufflevector(zw01, zw23, 0, 1, 4, 5);
    c3 = __builtin_shufflevector(zw01, zw23, 2, 3, 6, 7);
}

/// Four consecutive floats starting `offset` bytes into a record (bytes of the record, so reading
/// across member boundaries is well defined; callers keep offset + 16 within the record).
template <typename Record> inline __attribute__((always_inline)) TLanes LoadRow(const Record* record, std::size_t offset) {
    TLanes row;
    std::memcpy(&row, reinterpret_cast<const unsigned char*>(record) + offset, sizeof row);
    return row;
}

} // namespace lumidor::lanes
