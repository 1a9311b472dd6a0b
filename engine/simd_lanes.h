#pragma once
// Rows of four floats for the particle sweep: a 16-byte slice of a record (a vector field and the
// float after it) or four corners of a billboard. GCC and Clang map them onto SSE or NEON registers.

#include <cstdint>
#include <cstring>

namespace lumidor::lanes {

using TRow = float __attribute__((vector_size(16)));
using TRowMask = std::int32_t __attribute__((vector_size(16)));

/// Columns of the 4 x 4 matrix whose rows are r0 .. r3.
inline __attribute__((always_inline)) void Transpose(TRow r0, TRow r1, TRow r2, TRow r3, TRow& c0, TRow& c1,
                                                     TRow& c2, TRow& c3) {
    const TRow xy01 = __builtin_shufflevector(r0, r1, 0, 4, 1, 5);
    const TRow xy23 = __builtin_shufflevector(r2, r3, 0, 4, 1, 5);
    const TRow zw01 = __builtin_shufflevector(r0, r1, 2, 6, 3, 7);
    const TRow zw23 = __builtin_shufflevector(r2, r3, 2, 6, 3, 7);
    c0 = __builtin_shufflevector(xy01, xy23, 0, 1, 4, 5);
    c1 = __builtin_shufflevector(xy01, xy23, 2, 3, 6, 7);
    c2 = __builtin_shufflevector(zw01, zw23, 0, 1, 4, 5);
    c3 = __builtin_shufflevector(zw01, zw23, 2, 3, 6, 7);
}

/// Four consecutive floats starting `offset` bytes into a record (bytes of the record, so reading
/// across member boundaries is well defined; callers keep offset + 16 within the record).
template <typename Record>
inline __attribute__((always_inline)) TRow LoadRow(const Record* record, std::size_t offset) {
    TRow row;
    std::memcpy(&row, reinterpret_cast<const unsigned char*>(record) + offset, sizeof row);
    return row;
}

} // namespace lumidor::lanes
