#pragma once
// The curves over a particle's life (engine/particle_life.h) over lanes of any width: the age
// fraction, the keys' piecewise-linear values and the flipbook's tile. The sweep's vertex stage runs
// them for containers that have curves; SampleLifeCurves runs them on one lane for the inspector and
// for tests, so the two cannot drift.

#include "engine/particle_container.h"
#include "engine/simd_lanes.h"

#include <algorithm>
#include <cmath>

namespace lumidor::life {
namespace {

using namespace lanes;

// Segments whose 1 / (t1 - t0) the pass keeps; later ones divide per group.
constexpr std::size_t kKeptSegments = 16;
// Lists of up to this many keys also keep their pieces side by side, so that a lane vector at least
// as wide as the list picks each lane's piece with one lookup instead of visiting every segment.
constexpr std::size_t kLookedUpKeys = 16;

// The values of a key, by component.
inline float KeyValue(const TLifeColorKey& key, int c) {
    return c == 0 ? key.Color.x : c == 1 ? key.Color.y : key.Color.z;
}
inline float KeyValue(const TLifeAlphaKey& key, int) {
    return key.Alpha;
}
inline float KeyValue(const TLifeSizeKey& key, int c) {
    return c == 0 ? key.Width : key.Height;
}
template <typename TKey> constexpr int kKeyValues = 1;
template <> constexpr int kKeyValues<TLifeColorKey> = 3;
template <> constexpr int kKeyValues<TLifeSizeKey> = 2;

/// One key list as the pass reads it.
template <typename TKey> struct TKeyList {
    const TKey* Keys = nullptr;
    std::size_t Count = 0;
    float Inverse[kKeptSegments] = {}; // 1 / (t1 - t0) of the first segments, 0 where t1 <= t0
    bool OneRamp = false;              // two keys, the second later: one segment, nothing to choose
    // Piece p of a list of at most kLookedUpKeys keys: p = 0 holds the first key flat, p >= 1 is
    // the segment from key p - 1 to key p (held flat at key p where the two share a time). A lane
    // takes the piece after the last key time it has reached.
    float PieceStart[kLookedUpKeys] = {};
    float PieceInverse[kLookedUpKeys] = {};
    float PieceFrom[kKeyValues<TKey>][kLookedUpKeys] = {};
    float PieceTo[kKeyValues<TKey>][kLookedUpKeys] = {};
};

/// What the vertex stage reads of a container's curves, fetched once per pass.
struct TLifePass {
    TKeyList<TLifeColorKey> Color;
    TKeyList<TLifeAlphaKey> Alpha;
    TKeyList<TLifeSizeKey> Size;
    bool Flipbook = false;
    float FirstTile = 0.0f;
    float TileCount = 1.0f;
    float InverseTileCount = 1.0f;
    float Steps = 1.0f;         // tiles shown over one life, Cycles x TileCount
    float LastStep = 0.0f;      // the step shown at f = 1
    bool TintColorKeys = false; // colour keys are multiplied by each particle's own colour
};

// Steps are counted in floats converted through 32-bit integers: beyond this they are capped (a
// flipbook that fast changes tile many times a pixel's frame anyway).
constexpr float kMostFlipbookSteps = 1073741824.0f;

/// Whether a container draws through its curves.
inline bool HasLifeCurves(const TParticleLifeCurves& life) {
    return !life.ColorKeys.empty() || !life.AlphaKeys.empty() || !life.SizeKeys.empty() ||
           life.Flipbook.TileCount > 0;
}

// Stable insertion by time, in place (no allocation in a pass): keys put in by hand out of order
// read as the loader's sorted ones would; equal times keep their order.
template <typename TKey> void SortKeysByTime(std::vector<TKey>& keys) {
    const auto earlier = [](const TKey& a, const TKey& b) { return a.Time < b.Time; };
    if (std::is_sorted(keys.begin(), keys.end(), earlier)) return;
    for (std::size_t i = 1; i < keys.size(); ++i) {
        const TKey key = keys[i];
        std::size_t j = i;
        for (; j > 0 && key.Time < keys[j - 1].Time; --j)
            keys[j] = keys[j - 1];
        keys[j] = key;
    }
}

// 1 / (t1 - t0) of a segment whose times rise; 0 (unused) where they do not.
template <typename TKey> float SegmentInverse(const TKey& from, const TKey& to) {
    return to.Time > from.Time ? 1.0f / (to.Time - from.Time) : 0.0f;
}

template <typename TKey> TKeyList<TKey> MakeKeyList(std::vector<TKey>& keys) {
    SortKeysByTime(keys);
    TKeyList<TKey> list;
    list.Keys = keys.data();
    list.Count = keys.size();
    for (std::size_t i = 0; i + 1 < keys.size() && i < kKeptSegments; ++i)
        list.Inverse[i] = SegmentInverse(keys[i], keys[i + 1]);
    list.OneRamp = keys.size() == 2 && keys[1].Time > keys[0].Time;
    if (keys.size() > kLookedUpKeys) return list;
    for (std::size_t piece = 0; piece < keys.size(); ++piece) {
        // A flat piece is its key's value at both ends with an inverse of 0: from x 1 + to x 0.
        const bool rising = piece > 0 && keys[piece].Time > keys[piece - 1].Time;
        const TKey& from = rising ? keys[piece - 1] : keys[piece];
        list.PieceStart[piece] = rising ? from.Time : 0.0f;
        list.PieceInverse[piece] = rising ? SegmentInverse(from, keys[piece]) : 0.0f;
        for (int c = 0; c < kKeyValues<TKey>; ++c) {
            list.PieceFrom[c][piece] = KeyValue(from, c);
            list.PieceTo[c][piece] = KeyValue(keys[piece], c);
        }
    }
    return list;
}

/// The pass's view of `life`, its key lists sorted first if they were not.
inline TLifePass MakeLifePass(TParticleLifeCurves& life) {
    TLifePass pass;
    pass.Color = MakeKeyList(life.ColorKeys);
    pass.Alpha = MakeKeyList(life.AlphaKeys);
    pass.Size = MakeKeyList(life.SizeKeys);
    pass.TintColorKeys = life.TintColorKeys;
    const TFlipbook& book = life.Flipbook;
    // NaN or non-positive cycles play no flipbook rather than an undefined tile.
    if (book.TileCount > 0 && book.Cycles > 0.0f) {
        pass.Flipbook = true;
        pass.FirstTile = float(book.FirstTile);
        pass.TileCount = float(book.TileCount);
        pass.InverseTileCount = 1.0f / pass.TileCount;
        pass.Steps = std::min(book.Cycles * pass.TileCount, kMostFlipbookSteps);
        pass.LastStep = std::max(std::ceil(pass.Steps) - 1.0f, 0.0f);
    }
    return pass;
}

/// f = (life - lifeLeft) / life clamped to [0, 1]; NaN (a zero life) counts as birth.
template <int W> LUMIDOR_LANES_INLINE TLanes<W> AgeFraction(TLanes<W> lifeLength, TLanes<W> lifeLeft) {
    const TLanes<W> f = (lifeLength - lifeLeft) / lifeLength;
    return Min(Max(f, Splat<W>(0.0f)), Splat<W>(1.0f));
}

/// The components of `list` (sorted, count >= 1) at f: flat before the first key and after the
/// last, linear between neighbours; where two keys share a time the later one holds from it on.
/// Every way below computes a lane's value with the same operations on the same numbers.
template <int W, typename TKey>
LUMIDOR_LANES_INLINE void Interpolate(const TKeyList<TKey>& list, TLanes<W> f,
                                      TLanes<W> (&out)[kKeyValues<TKey>]) {
    constexpr int N = kKeyValues<TKey>;
    const TKey* keys = list.Keys;
    const std::size_t count = list.Count;
    const TLanes<W> zero = Splat<W>(0.0f), one = Splat<W>(1.0f);
    // from x (1 - s) + to x s gives each key's value exactly at its ends.
    if (list.OneRamp) {
        // Before the first key s is 0, which gives the first key's value.
        const TLanes<W> s = Min(Max((f - Splat<W>(keys[0].Time)) * Splat<W>(list.Inverse[0]), zero), one);
        const TLanes<W> rest = one - s;
        for (int c = 0; c < N; ++c)
            out[c] = Splat<W>(KeyValue(keys[0], c)) * rest + Splat<W>(KeyValue(keys[1], c)) * s;
        return;
    }
    if (count > 1 && count <= std::size_t(W) && count <= kLookedUpKeys) {
        TMask<W> piece{};
        for (std::size_t i = 0; i + 1 < count; ++i)
            piece -= f >= Splat<W>(keys[i].Time); // a true comparison is -1
        const TLanes<W> start = Lookup<W>(list.PieceStart, piece);
        const TLanes<W> inverse = Lookup<W>(list.PieceInverse, piece);
        const TLanes<W> s = Min(Max((f - start) * inverse, zero), one);
        const TLanes<W> rest = one - s;
        for (int c = 0; c < N; ++c)
            out[c] = Lookup<W>(list.PieceFrom[c], piece) * rest + Lookup<W>(list.PieceTo[c], piece) * s;
        return;
    }
    for (int c = 0; c < N; ++c)
        out[c] = Splat<W>(KeyValue(keys[0], c));
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const TKey& from = keys[i];
        const TKey& to = keys[i + 1];
        const TMask<W> reached = f >= Splat<W>(from.Time);
        if (!Any(reached)) break; // later keys start later still
        if (to.Time > from.Time) {
            const float inverse = i < kKeptSegments ? list.Inverse[i] : SegmentInverse(from, to);
            const TLanes<W> s = Min(Max((f - Splat<W>(from.Time)) * Splat<W>(inverse), zero), one);
            const TLanes<W> rest = one - s;
            for (int c = 0; c < N; ++c)
                out[c] = Select(reached, Splat<W>(KeyValue(from, c)) * rest + Splat<W>(KeyValue(to, c)) * s,
                                out[c]);
        } else {
            for (int c = 0; c < N; ++c)
                out[c] = Select(reached, Splat<W>(KeyValue(to, c)), out[c]);
        }
    }
}

/// The flipbook's place in its book at f: floor(f x Cycles x TileCount) mod TileCount, except that
/// f = 1 shows the last step of the life (the last tile when Cycles is whole), not the first again.
template <int W> LUMIDOR_LANES_INLINE TLanes<W> FlipbookPlace(const TLifePass& pass, TLanes<W> f) {
    TLanes<W> step = f * Splat<W>(pass.Steps); // 0 .. Steps, so it converts exactly
    step = __builtin_convertvector(__builtin_convertvector(step, TMask<W>), TLanes<W>);
    step = Min(step, Splat<W>(pass.LastStep));
    const TLanes<W> count = Splat<W>(pass.TileCount);
    const TLanes<W> cycles = __builtin_convertvector(
        __builtin_convertvector(step * Splat<W>(pass.InverseTileCount), TMask<W>), TLanes<W>);
    TLanes<W> within = step - cycles * count;
    // The quotient's rounding may be one off either way; past 2^24 steps floats are coarse, and
    // the tile is only kept in the book.
    within = Select(within < Splat<W>(0.0f), within + count, within);
    within = Select(within >= count, within - count, within);
    return Min(Max(within, Splat<W>(0.0f)), count - Splat<W>(1.0f));
}

/// The flipbook's place in its book at f, as an integer.
template <int W> LUMIDOR_LANES_INLINE TMask<W> FlipbookPlaces(const TLifePass& pass, TLanes<W> f) {
    return __builtin_convertvector(FlipbookPlace<W>(pass, f), TMask<W>);
}

/// The flipbook's tile at f.
template <int W> LUMIDOR_LANES_INLINE TMask<W> FlipbookTile(const TLifePass& pass, TLanes<W> f) {
    return __builtin_convertvector(FlipbookPlace<W>(pass, f) + Splat<W>(pass.FirstTile), TMask<W>);
}

/// The colour keys' colour at f (pass.Color.Count > 0).
template <int W> LUMIDOR_LANES_INLINE TLanes3<W> ColorAt(const TLifePass& pass, TLanes<W> f) {
    TLanes<W> rgb[3];
    Interpolate<W>(pass.Color, f, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

/// What the keys draw for a group: each term is applied only where the container has it.
template <int W> struct TLifeDrawn {
    TLanes<W> Alpha;
    TLanes<W> Width, Height;
    TMask<W> ColorBytes;
};

/// Applies the keys at f to what the step left for drawing: colour keys replace the colour, alpha
/// keys multiply the fading opacity, size keys replace the drawn width and height (the particle's
/// own size, grown by its enlargement, is kept and comes back when the keys are removed).
/// `channelBytes` turns a colour channel into its vertex byte. `tint` (when not null) multiplies the
/// keys' colour channel by channel before that: the particles' own colours, for TintColorKeys. The
/// flipbook, which replaces the tile, is the caller's: FlipbookTile or FlipbookPlaces.
template <int W, typename TChannelBytes>
LUMIDOR_LANES_INLINE void ApplyLifeKeys(const TLifePass& pass, TLanes<W> f, TChannelBytes channelBytes,
                                        TLifeDrawn<W>& drawn, const TLanes3<W>* tint = nullptr) {
    if (pass.Color.Count) {
        TLanes3<W> rgb = ColorAt<W>(pass, f);
        if (tint) rgb = rgb * *tint;
        drawn.ColorBytes = channelBytes(rgb.x) | channelBytes(rgb.y) << 8 | channelBytes(rgb.z) << 16;
    }
    if (pass.Alpha.Count) {
        TLanes<W> alpha[1];
        Interpolate<W>(pass.Alpha, f, alpha);
        drawn.Alpha = drawn.Alpha * alpha[0];
    }
    if (pass.Size.Count) {
        TLanes<W> size[2];
        Interpolate<W>(pass.Size, f, size);
        drawn.Width = size[0];
        drawn.Height = size[1];
    }
}

} // namespace
} // namespace lumidor::life
