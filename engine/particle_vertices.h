#pragma once
// The billboard vertices of a group of particles: four corners a particle, 24 floats (per corner
// U V C X Y Z, GL_T2F_C4UB_V3F), built as 24 lane vectors, one per float, and turned into the
// particles' rows by transposes. The transposes depend on the instruction set, so each width has one
// block (TVertexLayout<4>: SSE or portable, <8>: AVX2, <16>: AVX-512).

#include "engine/particle_container.h"
#include "engine/simd_lanes.h"

#include <bit>
#include <cstdint>

namespace lumidor::vertices {
namespace {

using namespace lanes;

static_assert(sizeof(TParticleVertex) * 4 == 6 * sizeof(TRow), "four vertices are six rows");

/// Everything the vertices read from the container and the camera, fetched once per pass.
struct TVertexPass {
    TVector3 CornerAxes[4]; // sx * Right + sy * Up per corner
    const TTextureTile* Tiles = nullptr;
    std::uint32_t TileCount = 0;
};

// Used for a particle whose tile is outside the table (or a container without tiles): the whole
// texture, corners as a 1 x 1 atlas lays them out.
constexpr TTextureTile kWholeTexture{{1, 0, 0, 1}, {1, 1, 0, 0}};

/// How a width turns rows into lanes and vertex columns into the particles' vertices.
template <int Width, bool Streaming> struct TVertexLayout;

// ---- Four lanes ----------------------------------------------------------------------------
template <> struct TVertexLayout<4, false> {
    using Lanes = TLanes<4>;
    // Lane vectors from rows (one row per lane).
    static LUMIDOR_LANES_INLINE void Columns(const TRow (&rows)[4], Lanes& c0, Lanes& c1, Lanes& c2,
                                             Lanes& c3) {
        Transpose(rows[0], rows[1], rows[2], rows[3], c0, c1, c2, c3);
    }
    // Each run of four columns as the lanes' 16-byte rows, six rows a particle.
    static LUMIDOR_LANES_INLINE void Store(const Lanes (&columns)[24], int lanes, TParticleVertex* out) {
        auto* bytes = reinterpret_cast<unsigned char*>(out);
        LUMIDOR_UNROLL
        for (int row = 0; row < 6; ++row) {
            TRow rows[4];
            Transpose(columns[4 * row], columns[4 * row + 1], columns[4 * row + 2], columns[4 * row + 3],
                      rows[0], rows[1], rows[2], rows[3]);
            LUMIDOR_UNROLL
            for (int i = 0; i < 4; ++i) {
                if (i < lanes)
                    std::memcpy(bytes + sizeof(TRow) * std::size_t(row) +
                                    4 * sizeof(TParticleVertex) * std::size_t(i),
                                &rows[i], sizeof rows[i]);
            }
        }
    }
    static LUMIDOR_LANES_INLINE void Finish() {}
};

#if defined(__AVX2__)
// The 4 x 4 transpose within each 128-bit half: with row i of the rows in the low half and row
// i + 4 in the high half, it gives the columns in lane order, and the other way round.
LUMIDOR_LANES_INLINE void TransposeHalves(TLanes<8> r0, TLanes<8> r1, TLanes<8> r2, TLanes<8> r3,
                                          TLanes<8>& c0, TLanes<8>& c1, TLanes<8>& c2, TLanes<8>& c3) {
    const TLanes<8> xy01 = __builtin_shufflevector(r0, r1, 0, 8, 1, 9, 4, 12, 5, 13);
    const TLanes<8> xy23 = __builtin_shufflevector(r2, r3, 0, 8, 1, 9, 4, 12, 5, 13);
    const TLanes<8> zw01 = __builtin_shufflevector(r0, r1, 2, 10, 3, 11, 6, 14, 7, 15);
    const TLanes<8> zw23 = __builtin_shufflevector(r2, r3, 2, 10, 3, 11, 6, 14, 7, 15);
    c0 = __builtin_shufflevector(xy01, xy23, 0, 1, 8, 9, 4, 5, 12, 13);
    c1 = __builtin_shufflevector(xy01, xy23, 2, 3, 10, 11, 6, 7, 14, 15);
    c2 = __builtin_shufflevector(zw01, zw23, 0, 1, 8, 9, 4, 5, 12, 13);
    c3 = __builtin_shufflevector(zw01, zw23, 2, 3, 10, 11, 6, 7, 14, 15);
}

// Eight lanes from eight rows.
LUMIDOR_LANES_INLINE void EightColumnsOf(const TRow* rows, TLanes<8>& c0, TLanes<8>& c1, TLanes<8>& c2,
                                         TLanes<8>& c3) {
    TransposeHalves(__builtin_shufflevector(rows[0], rows[4], 0, 1, 2, 3, 4, 5, 6, 7),
                    __builtin_shufflevector(rows[1], rows[5], 0, 1, 2, 3, 4, 5, 6, 7),
                    __builtin_shufflevector(rows[2], rows[6], 0, 1, 2, 3, 4, 5, 6, 7),
                    __builtin_shufflevector(rows[3], rows[7], 0, 1, 2, 3, 4, 5, 6, 7), c0, c1, c2, c3);
}

// ---- Eight lanes: AVX2 (or AVX-512's encodings), plain or streaming stores -------------------
// Columns 4g .. 4g + 3 become quads[6 i + g], whose 128-bit part j holds floats 4g .. 4g + 3 of
// particle 4j + i. Particles 4j .. 4j + 3 take 24 quads in a row, so register m of them is part j of
// quads [2 m, 2 m + 2).
template <bool Streaming> struct TVertexLayout<8, Streaming> {
    using Lanes = TLanes<8>;
    static LUMIDOR_LANES_INLINE void Columns(const TRow (&rows)[8], Lanes& c0, Lanes& c1, Lanes& c2,
                                             Lanes& c3) {
        EightColumnsOf(rows, c0, c1, c2, c3);
    }
    static LUMIDOR_LANES_INLINE void Quads(const Lanes (&columns)[24], int g, __m256 (&quads)[24]) {
        const __m256 c0 = __m256(columns[4 * g]), c1 = __m256(columns[4 * g + 1]);
        const __m256 c2 = __m256(columns[4 * g + 2]), c3 = __m256(columns[4 * g + 3]);
        const __m256 t0 = _mm256_unpacklo_ps(c0, c1), t1 = _mm256_unpackhi_ps(c0, c1);
        const __m256 t2 = _mm256_unpacklo_ps(c2, c3), t3 = _mm256_unpackhi_ps(c2, c3);
        quads[g] = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(1, 0, 1, 0));
        quads[6 + g] = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(3, 2, 3, 2));
        quads[12 + g] = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(1, 0, 1, 0));
        quads[18 + g] = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(3, 2, 3, 2));
    }
    // Register m for both particle fours, within `floats` floats (24 x lanes end on a whole register).
    static LUMIDOR_LANES_INLINE void StoreRegister(const __m256 (&quads)[24], int m, int floats, float* out) {
        const __m256 rows[2] = {_mm256_permute2f128_ps(quads[2 * m], quads[2 * m + 1], 0x20),
                                _mm256_permute2f128_ps(quads[2 * m], quads[2 * m + 1], 0x31)};
        LUMIDOR_UNROLL
        for (int j = 0; j < 2; ++j) {
            const int first = 4 * (24 * j + 2 * m);
            if (first + 8 > floats) continue;
            if constexpr (Streaming) {
                _mm256_stream_ps(out + first, rows[j]);
            } else {
                _mm256_storeu_ps(out + first, rows[j]);
            }
        }
    }
    // Eight-lane registers are half lines: they leave in address order, so that each line is
    // complete while it is still in the write buffers.
    static LUMIDOR_LANES_INLINE void Store(const Lanes (&columns)[24], int lanes, TParticleVertex* out) {
        __m256 quads[24];
        LUMIDOR_UNROLL
        for (int g = 0; g < 6; ++g)
            Quads(columns, g, quads);
        LUMIDOR_UNROLL
        for (int m = 0; m < 12; ++m)
            StoreRegister(quads, m, 24 * lanes, reinterpret_cast<float*>(out));
    }
    // Streaming stores are weakly ordered: each thread fences its own before its part counts as done.
    static LUMIDOR_LANES_INLINE void Finish() {
        if constexpr (Streaming) _mm_sfence();
    }
};
#endif

#if defined(__AVX512F__) && defined(__AVX512VL__) && defined(__AVX512DQ__) && defined(__AVX512BW__)
// ---- Sixteen lanes: AVX-512 ----------------------------------------------------------------
// As eight lanes, with four 128-bit parts a register: register m of particles 4j .. 4j + 3 is part j
// of quads [4 m, 4 m + 4).
template <> struct TVertexLayout<16, false> {
    using Lanes = TLanes<16>;
    static LUMIDOR_LANES_INLINE void Columns(const TRow (&rows)[16], Lanes& c0, Lanes& c1, Lanes& c2,
                                             Lanes& c3) {
        TLanes<8> low[4], high[4];
        EightColumnsOf(rows, low[0], low[1], low[2], low[3]);
        EightColumnsOf(rows + 8, high[0], high[1], high[2], high[3]);
        Lanes* columns[4] = {&c0, &c1, &c2, &c3};
        LUMIDOR_UNROLL
        for (int i = 0; i < 4; ++i)
            *columns[i] = __builtin_shufflevector(low[i], high[i], 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,
                                                  13, 14, 15);
    }
    static LUMIDOR_LANES_INLINE void Quads(const Lanes (&columns)[24], int g, __m512 (&quads)[24]) {
        const __m512 c0 = __m512(columns[4 * g]), c1 = __m512(columns[4 * g + 1]);
        const __m512 c2 = __m512(columns[4 * g + 2]), c3 = __m512(columns[4 * g + 3]);
        const __m512 t0 = _mm512_unpacklo_ps(c0, c1), t1 = _mm512_unpackhi_ps(c0, c1);
        const __m512 t2 = _mm512_unpacklo_ps(c2, c3), t3 = _mm512_unpackhi_ps(c2, c3);
        quads[g] = _mm512_shuffle_ps(t0, t2, _MM_SHUFFLE(1, 0, 1, 0));
        quads[6 + g] = _mm512_shuffle_ps(t0, t2, _MM_SHUFFLE(3, 2, 3, 2));
        quads[12 + g] = _mm512_shuffle_ps(t1, t3, _MM_SHUFFLE(1, 0, 1, 0));
        quads[18 + g] = _mm512_shuffle_ps(t1, t3, _MM_SHUFFLE(3, 2, 3, 2));
    }
    // Register m for every particle four, within `floats` floats; the last may be a partial register.
    static LUMIDOR_LANES_INLINE void StoreRegister(const __m512 (&quads)[24], int m, int floats, float* out) {
        const __m512 u0 = _mm512_shuffle_f32x4(quads[4 * m], quads[4 * m + 1], _MM_SHUFFLE(1, 0, 1, 0));
        const __m512 u1 = _mm512_shuffle_f32x4(quads[4 * m], quads[4 * m + 1], _MM_SHUFFLE(3, 2, 3, 2));
        const __m512 u2 = _mm512_shuffle_f32x4(quads[4 * m + 2], quads[4 * m + 3], _MM_SHUFFLE(1, 0, 1, 0));
        const __m512 u3 = _mm512_shuffle_f32x4(quads[4 * m + 2], quads[4 * m + 3], _MM_SHUFFLE(3, 2, 3, 2));
        const __m512 rows[4] = {_mm512_shuffle_f32x4(u0, u2, _MM_SHUFFLE(2, 0, 2, 0)),
                                _mm512_shuffle_f32x4(u0, u2, _MM_SHUFFLE(3, 1, 3, 1)),
                                _mm512_shuffle_f32x4(u1, u3, _MM_SHUFFLE(2, 0, 2, 0)),
                                _mm512_shuffle_f32x4(u1, u3, _MM_SHUFFLE(3, 1, 3, 1))};
        LUMIDOR_UNROLL
        for (int j = 0; j < 4; ++j) {
            const int first = 4 * (24 * j + 4 * m);
            if (first + 16 <= floats) {
                _mm512_storeu_ps(out + first, rows[j]);
            } else if (first < floats) {
                _mm512_mask_storeu_ps(out + first, __mmask16((1u << (floats - first)) - 1), rows[j]);
            }
        }
    }
    // Whether register m needs only floats 0 .. 15 of its particles (quads with g < 4).
    static constexpr bool NeedsOnlyFirstFourQuads(int m) {
        for (int q = 4 * m; q < 4 * (m + 1); ++q) {
            if (q % 6 >= 4) return false;
        }
        return true;
    }
    // Registers are whole cache lines, so the order of the stores does not matter to memory: those
    // built from the first 16 floats of each particle leave before the last eight floats are
    // transposed, which keeps fewer quads live at once.
    static LUMIDOR_LANES_INLINE void Store(const Lanes (&columns)[24], int lanes, TParticleVertex* out) {
        const int floats = 24 * lanes;
        auto* at = reinterpret_cast<float*>(out);
        __m512 quads[24];
        LUMIDOR_UNROLL
        for (int g = 0; g < 4; ++g)
            Quads(columns, g, quads);
        LUMIDOR_UNROLL
        for (int m = 0; m < 6; ++m) {
            if (NeedsOnlyFirstFourQuads(m)) StoreRegister(quads, m, floats, at);
        }
        Quads(columns, 4, quads);
        Quads(columns, 5, quads);
        LUMIDOR_UNROLL
        for (int m = 0; m < 6; ++m) {
            if (!NeedsOnlyFirstFourQuads(m)) StoreRegister(quads, m, floats, at);
        }
    }
    static LUMIDOR_LANES_INLINE void Finish() {}
};
#endif

// ---- Any width -----------------------------------------------------------------------------

/// Colour channels to bytes: x 255, truncated toward zero, low 8 bits kept. Lanes whose product does
/// not fit a 32-bit integer (and NaN) give 0: their INT32_MIN has no low bits.
template <int W> LUMIDOR_LANES_INLINE TMask<W> ChannelBytes(TLanes<W> channel) {
    return Truncate(channel * Splat<W>(255.0f)) & 0xff;
}

LUMIDOR_LANES_INLINE const TTextureTile& TileOf(const TVertexPass& pass, std::int32_t index) {
    return std::uint32_t(index) < pass.TileCount ? pass.Tiles[index] : kWholeTexture;
}

/// The pass's corner axes and tiles for `container` seen along `right` and `up`.
inline TVertexPass MakeVertexPass(const TParticleEffectContainer& container, const TVector3& right,
                                  const TVector3& up) {
    TVertexPass pass;
    static constexpr float cornerSigns[4][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
    for (int corner = 0; corner < 4; ++corner) {
        const float sx = cornerSigns[corner][0], sy = cornerSigns[corner][1];
        pass.CornerAxes[corner] = {sx * right.x + sy * up.x, sx * right.y + sy * up.y,
                                   sx * right.z + sy * up.z};
    }
    pass.Tiles = container.TextureTiles.data();
    pass.TileCount = std::uint32_t(container.TextureTiles.size());
    return pass;
}

/// The corners of a short flipbook's tiles by place in the book, so that a group whose lanes show
/// different tiles takes each corner with one lookup instead of fetching every lane's tile.
constexpr int kMostLookedUpTiles = 16;
struct TBookCorners {
    int Tiles = 0; // the book's length; 0 when it is longer than kMostLookedUpTiles
    float U[4][kMostLookedUpTiles] = {};
    float V[4][kMostLookedUpTiles] = {};
};

/// The corners of tiles first .. first + count - 1 (each as TileOf gives it).
inline TBookCorners MakeBookCorners(const TVertexPass& pass, std::int32_t first, std::int32_t count) {
    TBookCorners book;
    if (count < 1 || count > kMostLookedUpTiles) return book;
    book.Tiles = count;
    for (std::int32_t place = 0; place < count; ++place) {
        // Done in 64 bits: first + place may pass the int range, which TileOf refuses anyway.
        const std::int64_t index = std::int64_t(first) + place;
        const TTextureTile& tile = index <= INT32_MAX ? TileOf(pass, std::int32_t(index)) : kWholeTexture;
        for (int corner = 0; corner < 4; ++corner) {
            book.U[corner][place] = tile.U[corner];
            book.V[corner][place] = tile.V[corner];
        }
    }
    return book;
}

/// Each lane's tile corners from the pass's tiles.
template <int W, bool Streaming>
LUMIDOR_LANES_INLINE void TileCorners(const TVertexPass& pass, TMask<W> tiles, TLanes<W> (&u)[4],
                                      TLanes<W> (&v)[4]) {
    const std::int32_t firstTile = tiles[0];
    if (!Any(tiles != firstTile)) {
        // Commonly the whole group draws one tile.
        const TTextureTile& tile = TileOf(pass, firstTile);
        LUMIDOR_UNROLL
        for (int corner = 0; corner < 4; ++corner) {
            u[corner] = Splat<W>(tile.U[corner]);
            v[corner] = Splat<W>(tile.V[corner]);
        }
        return;
    }
    TRow uRows[W], vRows[W];
    LUMIDOR_UNROLL
    for (int lane = 0; lane < W; ++lane) {
        const TTextureTile& tile = TileOf(pass, tiles[lane]);
        uRows[lane] = LoadRow(tile.U);
        vRows[lane] = LoadRow(tile.V);
    }
    TVertexLayout<W, Streaming>::Columns(uRows, u[0], u[1], u[2], u[3]);
    TVertexLayout<W, Streaming>::Columns(vRows, v[0], v[1], v[2], v[3]);
}

/// Each lane's tile corners from a book of at most W tiles at its place in the book.
template <int W>
LUMIDOR_LANES_INLINE void BookCorners(const TBookCorners& book, TMask<W> places, TLanes<W> (&u)[4],
                                      TLanes<W> (&v)[4]) {
    static_assert(W <= kMostLookedUpTiles);
    LUMIDOR_UNROLL
    for (int corner = 0; corner < 4; ++corner) {
        u[corner] = Lookup<W>(book.U[corner], places);
        v[corner] = Lookup<W>(book.V[corner], places);
    }
}

/// Writes the four vertices of the first `lanes` particles: centre `position`, `size` (x scales the
/// horizontal offset, y the others), opacity `alpha`, colour bytes R G B and tile corners per lane.
template <int W, bool Streaming>
LUMIDOR_LANES_INLINE void WriteQuadCorners(const TVertexPass& pass, const TLanes3<W>& position,
                                           const TLanes3<W>& size, TLanes<W> alpha, TMask<W> colorBytes,
                                           const TLanes<W> (&u)[4], const TLanes<W> (&v)[4], int lanes,
                                           TParticleVertex* out) {
    static_assert(std::endian::native == std::endian::little,
                  "vertex colour bytes are packed into the low bits first");
    const TMask<W> packed = colorBytes | ChannelBytes<W>(alpha) << 24; // R, G, B, A in memory order
    const TLanes<W> halfX = size.x * Splat<W>(0.5f);
    const TLanes<W> halfY = size.y * Splat<W>(0.5f);
    TLanes<W> columns[24];
    LUMIDOR_UNROLL
    for (int corner = 0; corner < 4; ++corner) {
        const TVector3& axes = pass.CornerAxes[corner];
        TLanes<W>* vertex = columns + 6 * corner;
        vertex[0] = u[corner];
        vertex[1] = v[corner];
        vertex[2] = TLanes<W>(packed);
        vertex[3] = position.x + Splat<W>(axes.x) * halfX;
        vertex[4] = position.y + Splat<W>(axes.y) * halfY;
        vertex[5] = position.z + Splat<W>(axes.z) * halfY;
    }
    TVertexLayout<W, Streaming>::Store(columns, lanes, out);
}

/// Writes the four vertices of the first `lanes` particles as WriteQuadCorners does, each corner at
/// `position` + its offset (a turned or stretched quad: engine/particle_turn.h).
template <int W, bool Streaming>
LUMIDOR_LANES_INLINE void WriteQuadOffsets(const TLanes3<W>& position, const TLanes3<W> (&offsets)[4],
                                           TLanes<W> alpha, TMask<W> colorBytes, const TLanes<W> (&u)[4],
                                           const TLanes<W> (&v)[4], int lanes, TParticleVertex* out) {
    const TMask<W> packed = colorBytes | ChannelBytes<W>(alpha) << 24; // R, G, B, A in memory order
    TLanes<W> columns[24];
    LUMIDOR_UNROLL
    for (int corner = 0; corner < 4; ++corner) {
        TLanes<W>* vertex = columns + 6 * corner;
        vertex[0] = u[corner];
        vertex[1] = v[corner];
        vertex[2] = TLanes<W>(packed);
        vertex[3] = position.x + offsets[corner].x;
        vertex[4] = position.y + offsets[corner].y;
        vertex[5] = position.z + offsets[corner].z;
    }
    TVertexLayout<W, Streaming>::Store(columns, lanes, out);
}

/// WriteQuadCorners with each lane's corners taken from its atlas tile.
template <int W, bool Streaming>
LUMIDOR_LANES_INLINE void WriteQuads(const TVertexPass& pass, const TLanes3<W>& position,
                                     const TLanes3<W>& size, TLanes<W> alpha, TMask<W> colorBytes,
                                     TMask<W> tiles, int lanes, TParticleVertex* out) {
    TLanes<W> u[4], v[4];
    TileCorners<W, Streaming>(pass, tiles, u, v);
    WriteQuadCorners<W, Streaming>(pass, position, size, alpha, colorBytes, u, v, lanes, out);
}

} // namespace
} // namespace lumidor::vertices
