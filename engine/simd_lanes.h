#pragma once
// Lanes for the particle sweep: one float (or one 32-bit mask) per particle, for four, eight or sixteen
// particles at once, and the few operations the sweep needs on them. Everything that depends on an
// instruction set stands in one block per set (TLaneSet<4>: SSE or portable, <8>: AVX2, <16>:
// AVX-512); the rest is written once over any width. Arithmetic is the compiler's vector arithmetic,
// one IEEE operation per lane and per operator, so every width rounds alike.
//
// Everything here lives in an anonymous namespace: each translation unit, built with its own
// instruction set, keeps its own copies, and the linker can never hand a baseline caller a copy
// compiled for AVX2 or AVX-512.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#if defined(__SSE__)
#include <immintrin.h>
#endif

// Lane operations are forced inline so that each compiled sweep gets its own copy in registers.
#define LUMIDOR_LANES_INLINE inline __attribute__((always_inline))
// Short loops over lanes, rows and corners are unrolled, so their values stay in registers instead
// of going through an array on the stack.
#define LUMIDOR_UNROLL _Pragma("GCC unroll 8")

namespace lumidor::lanes {
namespace {

/// Four floats: one row of a 4 x 4 transpose (a texture tile's corners, four vertex floats).
using TRow = float __attribute__((vector_size(16)));

/// The lane types of one width and the operations that need its instruction set.
template <int Width> struct TLaneSet;

// ---- Four lanes: SSE on x86-64, plain loops elsewhere ------------------------------------------
template <> struct TLaneSet<4> {
    using Float = float __attribute__((vector_size(16)));
    using Mask = std::int32_t __attribute__((vector_size(16)));

    static LUMIDOR_LANES_INLINE bool Any(Mask mask) {
#if defined(__SSE__)
        return _mm_movemask_ps(__m128(mask)) != 0;
#else
        std::int32_t any = 0;
        for (int lane = 0; lane < 4; ++lane)
            any |= mask[lane];
        return any != 0;
#endif
    }
    static LUMIDOR_LANES_INLINE Float Sqrt(Float v) {
#if defined(__SSE__)
        return Float(_mm_sqrt_ps(__m128(v)));
#else
        Float root;
        for (int lane = 0; lane < 4; ++lane)
            root[lane] = std::sqrt(v[lane]);
        return root;
#endif
    }
    // Four values from `first` on (one half: `spread` is for the sixteen-lane split).
    template <typename Vector> static LUMIDOR_LANES_INLINE Vector Load(const void* first, std::size_t) {
        Vector lanes;
        std::memcpy(&lanes, first, sizeof lanes);
        return lanes;
    }
    static LUMIDOR_LANES_INLINE void Store(void* first, std::size_t, Float lanes) {
        std::memcpy(first, &lanes, sizeof lanes);
    }
    // Lane i takes table[index[i]] of four entries.
    static LUMIDOR_LANES_INLINE Float Lookup(const float* table, Mask index) {
        return Float{table[index[0]], table[index[1]], table[index[2]], table[index[3]]};
    }
#if defined(__SSE2__)
    static LUMIDOR_LANES_INLINE Float Max(Float a, Float b) {
        return Float(_mm_max_ps(__m128(a), __m128(b)));
    }
    static LUMIDOR_LANES_INLINE Float Min(Float a, Float b) {
        return Float(_mm_min_ps(__m128(a), __m128(b)));
    }
    static LUMIDOR_LANES_INLINE Mask Truncate(Float v) {
        return Mask(_mm_cvttps_epi32(__m128(v)));
    }
#else
    static LUMIDOR_LANES_INLINE Float Max(Float a, Float b) {
        return a > b ? a : b;
    }
    static LUMIDOR_LANES_INLINE Float Min(Float a, Float b) {
        return a < b ? a : b;
    }
    static LUMIDOR_LANES_INLINE Mask Truncate(Float v) {
        // The conversion is only defined in range: the others take what the SSE instruction gives.
        const Mask inRange = (v > Float{} - 2147483648.0f) & (v < Float{} + 2147483648.0f);
        const Float safe = inRange ? v : Float{};
        return inRange ? __builtin_convertvector(safe, Mask) : Mask{} + INT32_MIN;
    }
#endif
    // Bool bytes (0 or 1) as a mask.
    static LUMIDOR_LANES_INLINE Mask Flags(const bool* first, std::size_t) {
        unsigned char bytes[4];
        std::memcpy(bytes, first, sizeof bytes);
        Mask set{};
        for (int lane = 0; lane < 4; ++lane)
            set[lane] = bytes[lane];
        return set != 0;
    }
};

#if defined(__AVX2__)
// ---- Eight lanes: AVX2 ---------------------------------------------------------------------
template <> struct TLaneSet<8> {
    using Float = float __attribute__((vector_size(32)));
    using Mask = std::int32_t __attribute__((vector_size(32)));

    static LUMIDOR_LANES_INLINE bool Any(Mask mask) { return _mm256_movemask_ps(__m256(mask)) != 0; }
    static LUMIDOR_LANES_INLINE Float Sqrt(Float v) { return Float(_mm256_sqrt_ps(__m256(v))); }
    template <typename Vector> static LUMIDOR_LANES_INLINE Vector Load(const void* first, std::size_t) {
        Vector lanes;
        std::memcpy(&lanes, first, sizeof lanes);
        return lanes;
    }
    static LUMIDOR_LANES_INLINE void Store(void* first, std::size_t, Float lanes) {
        std::memcpy(first, &lanes, sizeof lanes);
    }
    static LUMIDOR_LANES_INLINE Float Lookup(const float* table, Mask index) {
        return Float(_mm256_permutevar8x32_ps(_mm256_loadu_ps(table), __m256i(index)));
    }
    static LUMIDOR_LANES_INLINE Float Max(Float a, Float b) {
        return Float(_mm256_max_ps(__m256(a), __m256(b)));
    }
    static LUMIDOR_LANES_INLINE Float Min(Float a, Float b) {
        return Float(_mm256_min_ps(__m256(a), __m256(b)));
    }
    static LUMIDOR_LANES_INLINE Mask Truncate(Float v) { return Mask(_mm256_cvttps_epi32(__m256(v))); }
    static LUMIDOR_LANES_INLINE Mask Flags(const bool* first, std::size_t) {
        const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(first));
        return Mask(_mm256_cvtepu8_epi32(bytes)) != 0;
    }
};
#endif

#if defined(__AVX512F__) && defined(__AVX512VL__) && defined(__AVX512DQ__) && defined(__AVX512BW__)
// ---- Sixteen lanes: AVX-512 ----------------------------------------------------------------
// Sixteen lanes are two halves of eight, the second `spread` bytes after the first (particles live
// in blocks of eight: a group of sixteen spans two blocks).
template <> struct TLaneSet<16> {
    using Float = float __attribute__((vector_size(64)));
    using Mask = std::int32_t __attribute__((vector_size(64)));
    using Half = float __attribute__((vector_size(32)));

    static LUMIDOR_LANES_INLINE bool Any(Mask mask) {
        return _mm512_test_epi32_mask(__m512i(mask), __m512i(mask)) != 0;
    }
    static LUMIDOR_LANES_INLINE Float Sqrt(Float v) { return Float(_mm512_sqrt_ps(__m512(v))); }
    // The second half goes in with one load-and-insert rather than a load and a join.
    template <typename Vector>
    static LUMIDOR_LANES_INLINE Vector Load(const void* first, std::size_t spread) {
        const auto* low = static_cast<const unsigned char*>(first);
        const __m512 wide = _mm512_castps256_ps512(_mm256_loadu_ps(reinterpret_cast<const float*>(low)));
        const __m256 high = _mm256_loadu_ps(reinterpret_cast<const float*>(low + spread));
        return Vector(_mm512_insertf32x8(wide, high, 1));
    }
    // The high half leaves as the upper eight lanes of a masked store of the whole register, which
    // needs no shuffle to extract it first.
    static LUMIDOR_LANES_INLINE void Store(void* first, std::size_t spread, Float lanes) {
        const Half low = __builtin_shufflevector(lanes, lanes, 0, 1, 2, 3, 4, 5, 6, 7);
        std::memcpy(first, &low, sizeof low);
        auto* high = static_cast<unsigned char*>(first) + spread;
        _mm512_mask_storeu_ps(high - sizeof(Half), 0xff00, __m512(lanes));
    }
    static LUMIDOR_LANES_INLINE Float Lookup(const float* table, Mask index) {
        return Float(_mm512_permutexvar_ps(__m512i(index), _mm512_loadu_ps(table)));
    }
    static LUMIDOR_LANES_INLINE Float Max(Float a, Float b) {
        return Float(_mm512_max_ps(__m512(a), __m512(b)));
    }
    static LUMIDOR_LANES_INLINE Float Min(Float a, Float b) {
        return Float(_mm512_min_ps(__m512(a), __m512(b)));
    }
    static LUMIDOR_LANES_INLINE Mask Truncate(Float v) { return Mask(_mm512_cvttps_epi32(__m512(v))); }
    static LUMIDOR_LANES_INLINE Mask Flags(const bool* first, std::size_t spread) {
        const __m128i low = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(first));
        const __m128i high = _mm_loadl_epi64(
            reinterpret_cast<const __m128i*>(reinterpret_cast<const unsigned char*>(first) + spread));
        return Mask(_mm512_cvtepu8_epi32(_mm_unpacklo_epi64(low, high))) != 0;
    }
};
#endif

// ---- Any width -----------------------------------------------------------------------------

/// One float per lane.
template <int Width> using TLanes = typename TLaneSet<Width>::Float;
/// One 32-bit integer per lane; a true comparison sets all its bits.
template <int Width> using TMask = typename TLaneSet<Width>::Mask;
/// The width of a lane vector type.
template <typename Vector> constexpr int kWidthOf = int(sizeof(Vector) / 4);

// value - 0 is value itself for every float (value + 0 would turn -0 into +0): a plain broadcast.
template <int Width> LUMIDOR_LANES_INLINE TLanes<Width> Splat(float value) {
    return value - TLanes<Width>{};
}
/// Every lane true or every lane false.
template <int Width> LUMIDOR_LANES_INLINE TMask<Width> SplatMask(bool value) {
    return TMask<Width>{} - std::int32_t(value);
}
template <typename Mask> LUMIDOR_LANES_INLINE bool Any(Mask mask) {
    return TLaneSet<kWidthOf<Mask>>::Any(mask);
}
/// Correctly rounded square root of each lane.
template <typename Lanes> LUMIDOR_LANES_INLINE Lanes Sqrt(Lanes v) {
    return TLaneSet<kWidthOf<Lanes>>::Sqrt(v);
}
template <typename Lanes> LUMIDOR_LANES_INLINE Lanes Abs(Lanes v) {
    using Mask = TMask<kWidthOf<Lanes>>;
    return Lanes(Mask(v) & 0x7fffffff);
}
template <typename Mask, typename Lanes>
LUMIDOR_LANES_INLINE Lanes Select(Mask mask, Lanes ifTrue, Lanes ifFalse) {
    return Lanes((Mask(ifTrue) & mask) | (Mask(ifFalse) & ~mask));
}
/// a > b ? a : b per lane (b where either is NaN), one instruction where there is one.
template <typename Lanes> LUMIDOR_LANES_INLINE Lanes Max(Lanes a, Lanes b) {
    return TLaneSet<kWidthOf<Lanes>>::Max(a, b);
}
/// a < b ? a : b per lane (b where either is NaN).
template <typename Lanes> LUMIDOR_LANES_INLINE Lanes Min(Lanes a, Lanes b) {
    return TLaneSet<kWidthOf<Lanes>>::Min(a, b);
}
/// Each lane truncated toward zero to an integer; lanes outside the 32-bit range and NaN give
/// INT32_MIN, as x86's conversion does (a plain conversion is undefined there).
template <typename Lanes> LUMIDOR_LANES_INLINE TMask<kWidthOf<Lanes>> Truncate(Lanes v) {
    return TLaneSet<kWidthOf<Lanes>>::Truncate(v);
}
/// Lane i takes table[index[i]]: one shuffle of a table of Width entries (every index below Width).
template <int Width> LUMIDOR_LANES_INLINE TLanes<Width> Lookup(const float* table, TMask<Width> index) {
    return TLaneSet<Width>::Lookup(table, index);
}
/// Lanes of floats or integers from `first` on; with sixteen lanes the second eight lie `spread`
/// bytes after the first.
template <int Width, typename Vector = TLanes<Width>>
LUMIDOR_LANES_INLINE Vector LoadSpread(const void* first, std::size_t spread) {
    return TLaneSet<Width>::template Load<Vector>(first, spread);
}
template <int Width>
LUMIDOR_LANES_INLINE void StoreSpread(void* first, std::size_t spread, TLanes<Width> lanes) {
    TLaneSet<Width>::Store(first, spread, lanes);
}
/// Bool bytes (0 or 1) as a mask, the second eight of sixteen `spread` bytes after the first.
template <int Width> LUMIDOR_LANES_INLINE TMask<Width> FlagsSpread(const bool* first, std::size_t spread) {
    return TLaneSet<Width>::Flags(first, spread);
}
/// Lanes of consecutive floats, whatever the width.
template <int Width> LUMIDOR_LANES_INLINE TLanes<Width> LoadContiguous(const float* first) {
    TLanes<Width> lanes;
    std::memcpy(&lanes, first, sizeof lanes);
    return lanes;
}
template <int Width> LUMIDOR_LANES_INLINE void StoreContiguous(float* first, TLanes<Width> lanes) {
    std::memcpy(first, &lanes, sizeof lanes);
}

/// x, y and z of a vector per lane. Each operator is one IEEE operation per axis, so `a + b * s`
/// rounds exactly as the three spelled-out lines would.
template <int Width> struct TLanes3 { TLanes<Width> x, y, z; };
/// x, y and z of a mask per lane.
template <int Width> struct TMask3 { TMask<Width> x, y, z; };

template <int W> LUMIDOR_LANES_INLINE TLanes3<W> operator+(const TLanes3<W>& a, const TLanes3<W>& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
template <int W> LUMIDOR_LANES_INLINE TLanes3<W> operator-(const TLanes3<W>& a, const TLanes3<W>& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
/// Per axis.
template <int W> LUMIDOR_LANES_INLINE TLanes3<W> operator*(const TLanes3<W>& a, const TLanes3<W>& b) {
    return {a.x * b.x, a.y * b.y, a.z * b.z};
}
template <int W> LUMIDOR_LANES_INLINE TLanes3<W> operator*(const TLanes3<W>& a, TLanes<W> s) {
    return {a.x * s, a.y * s, a.z * s};
}
/// (a.x b.x + a.y b.y) + a.z b.z
template <int W> LUMIDOR_LANES_INLINE TLanes<W> Dot(const TLanes3<W>& a, const TLanes3<W>& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
template <int W>
LUMIDOR_LANES_INLINE TLanes3<W> Select3(TMask<W> mask, const TLanes3<W>& ifTrue, const TLanes3<W>& ifFalse) {
    return {Select(mask, ifTrue.x, ifFalse.x), Select(mask, ifTrue.y, ifFalse.y),
            Select(mask, ifTrue.z, ifFalse.z)};
}
template <int W, typename Vector3> LUMIDOR_LANES_INLINE TLanes3<W> Splat3(const Vector3& v) {
    return {Splat<W>(v.x), Splat<W>(v.y), Splat<W>(v.z)};
}
/// Columns of the 4 x 4 matrix whose rows are r0 .. r3 (and rows of the one whose columns they are).
LUMIDOR_LANES_INLINE void Transpose(TRow r0, TRow r1, TRow r2, TRow r3, TRow& c0, TRow& c1, TRow& c2,
                                    TRow& c3) {
    const TRow xy01 = __builtin_shufflevector(r0, r1, 0, 4, 1, 5);
    const TRow xy23 = __builtin_shufflevector(r2, r3, 0, 4, 1, 5);
    const TRow zw01 = __builtin_shufflevector(r0, r1, 2, 6, 3, 7);
    const TRow zw23 = __builtin_shufflevector(r2, r3, 2, 6, 3, 7);
    c0 = __builtin_shufflevector(xy01, xy23, 0, 1, 4, 5);
    c1 = __builtin_shufflevector(xy01, xy23, 2, 3, 6, 7);
    c2 = __builtin_shufflevector(zw01, zw23, 0, 1, 4, 5);
    c3 = __builtin_shufflevector(zw01, zw23, 2, 3, 6, 7);
}

/// Four consecutive floats from `first` on.
LUMIDOR_LANES_INLINE TRow LoadRow(const float* first) {
    TRow row;
    std::memcpy(&row, first, sizeof row);
    return row;
}

} // namespace
} // namespace lumidor::lanes
