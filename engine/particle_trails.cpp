// The ribbons of a container's trails, written as quads from the particles and their recorded points
// with no GL: a pure function of the container and the camera's axes, which rendering.cpp draws.

#include "engine/particle_trails.h"

#include "engine/particle_blocks.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace lumidor {

namespace {

// The whole texture, for a tile outside the atlas (as the particles' own vertices take it).
constexpr TTextureTile kWholeTexture{{1, 0, 0, 1}, {1, 1, 0, 0}};

TVector3 Cross(const TVector3& a, const TVector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// One trail as it is drawn: its points from the head back, how much of the head's width and opacity
// each keeps, and their sides.
struct TRibbon {
    TVector3 Points[kMostTrailPoints];
    float Remaining[kMostTrailPoints];
    TVector3 Sides[kMostTrailPoints];
    std::size_t Count = 0;
};

// Unit sides across each point's segment (towards the older neighbour; the last point's towards the
// newer) and the direction to the eye; a segment with no side (zero length, or seen end on) takes
// its neighbour's, and a ribbon with none at all lies along the camera's right.
void FindSides(TRibbon& ribbon, const TVector3& toEye, const TVector3& right) {
    const std::size_t n = ribbon.Count;
    std::size_t firstFound = n;
    bool previousFound = false;
    for (std::size_t i = 0; i < n; ++i) {
        const TVector3& a = ribbon.Points[i + 1 < n ? i : i - 1];
        const TVector3& b = ribbon.Points[i + 1 < n ? i + 1 : i];
        TVector3 side = Cross({a.x - b.x, a.y - b.y, a.z - b.z}, toEye);
        const float length = std::sqrt(side.x * side.x + side.y * side.y + side.z * side.z);
        if (length > 0.0f && length <= std::numeric_limits<float>::max()) {
            const float inverse = 1.0f / length;
            side = {side.x * inverse, side.y * inverse, side.z * inverse};
            firstFound = std::min(firstFound, i);
            previousFound = true;
        } else if (previousFound) {
            side = ribbon.Sides[i - 1];
        }
        ribbon.Sides[i] = side;
    }
    const TVector3 lead = firstFound < n ? ribbon.Sides[firstFound] : right;
    for (std::size_t i = 0; i < std::min(firstFound, n); ++i)
        ribbon.Sides[i] = lead;
}

static_assert(std::endian::native == std::endian::little,
              "vertex colour bytes are packed into the low bits first");

// A point's two corners and their colour: the vertex bytes R, G, B, A, kept as the float they make.
struct TRibbonEdge {
    float Color;
    TVector3 Left, Right;
};

// The quad between a point and the next older one: the newer point's left and right corners, then
// the older's right and left. Ribbons take some twenty times the bytes of the particles' own
// vertices, far more than the caches hold: with `stream` (16-byte aligned vertices, as a mapped
// buffer and a TVertexBuffer are) the quad leaves as six rows of streaming stores, built in registers,
// so its lines are not read in first only to be overwritten.
void StoreQuad(const TRibbonEdge& newer, const TRibbonEdge& older, float leftU, float rightU, float v,
               TParticleVertex* out, bool stream) {
#if defined(__SSE2__)
    if (stream) {
        auto* to = reinterpret_cast<float*>(out);
        _mm_stream_ps(to, _mm_setr_ps(leftU, v, newer.Color, newer.Left.x));
        _mm_stream_ps(to + 4, _mm_setr_ps(newer.Left.y, newer.Left.z, rightU, v));
        _mm_stream_ps(to + 8, _mm_setr_ps(newer.Color, newer.Right.x, newer.Right.y, newer.Right.z));
        _mm_stream_ps(to + 12, _mm_setr_ps(rightU, v, older.Color, older.Right.x));
        _mm_stream_ps(to + 16, _mm_setr_ps(older.Right.y, older.Right.z, leftU, v));
        _mm_stream_ps(to + 20, _mm_setr_ps(older.Color, older.Left.x, older.Left.y, older.Left.z));
        return;
    }
#else
    (void)stream;
#endif
    const float floats[24] = {leftU,  v, newer.Color, newer.Left.x,  newer.Left.y,  newer.Left.z,
                              rightU, v, newer.Color, newer.Right.x, newer.Right.y, newer.Right.z,
                              rightU, v, older.Color, older.Right.x, older.Right.y, older.Right.z,
                              leftU,  v, older.Color, older.Left.x,  older.Left.y,  older.Left.z};
    static_assert(sizeof floats == 4 * sizeof(TParticleVertex));
    std::memcpy(out, floats, sizeof floats);
}

} // namespace

std::size_t TrailVertexCapacity(const TParticleEffectContainer& container) {
    if (container.Particles.empty() || container.Trail.Points < 2) return 0;
    const TParticleTrailHistory& trail = container.Particles.Blocks().Trail;
    return std::min(container.Particles.size(), trail.Slots) * std::size_t(trail.Ring) * 4;
}

std::size_t WriteTrailVertices(const TParticleEffectContainer& container, const TCameraAxes& camera,
                               TParticleVertex* vertices, std::size_t room) {
    const TParticleArray& particles = container.Particles;
    if (particles.empty() || !vertices || container.Trail.Points < 2) return 0;
    const TParticleStorage& storage = particles.Blocks();
    const TParticleTrailHistory& trail = storage.Trail;
    const float width = container.Trail.Width;
    const double seconds = container.Trail.Seconds;
    if (trail.Ring == 0 || !(width > 0.0f) || !std::isfinite(width) || !(seconds > 0.0) ||
        !std::isfinite(seconds))
        return 0;
    const double interval = seconds / double(trail.Ring);
    const auto ring = std::size_t(trail.Ring);
    const TVector3 toEye = Cross(camera.Right, camera.Up);
    const std::size_t slots = std::min(particles.size(), trail.Slots);
    TRibbon ribbon;
    std::size_t written = 0;
    const bool stream = reinterpret_cast<std::uintptr_t>(vertices) % 16 == 0;
    const bool keyed = !container.Life.ColorKeys.empty() || !container.Life.AlphaKeys.empty();
    for (std::size_t slot = 0; slot < slots; ++slot) {
        const std::size_t owned = trail.Owned[slot];
        if (owned == 0 || storage.LifeLeft[slot] < 0.0f) continue;
        const TParticleBlock& block = storage.Blocks[slot / kParticleBlockLanes];
        const std::size_t lane = slot % kParticleBlockLanes;
        ribbon.Points[0] = {block.Position.x[lane], block.Position.y[lane], block.Position.z[lane]};
        // The recorded points no older than Seconds, newest first, walking the ring backwards.
        const TVector3* row = trail.Positions.data() + slot * ring;
        std::size_t entry = std::size_t(trail.Newest), n = 1;
        double oldest = 0.0;
        for (; n <= owned; ++n) {
            const double age = trail.Clock + double(n - 1) * interval;
            if (age > seconds) break;
            oldest = age;
            ribbon.Points[n] = row[entry];
            entry = entry == 0 ? ring - 1 : entry - 1;
        }
        if (n < 2) continue;
        if (written + 4 * (n - 1) > room) break;
        ribbon.Count = n;
        // 1 at the head, 0 at the tail, linear in age (in even steps when the ages are all zero).
        for (std::size_t i = 0; i + 1 < n; ++i) {
            const double age = i == 0 ? 0.0 : trail.Clock + double(i - 1) * interval;
            ribbon.Remaining[i] = float(oldest > 0.0 ? 1.0 - age / oldest : 1.0 - double(i) / double(n - 1));
        }
        ribbon.Remaining[n - 1] = 0.0f;
        FindSides(ribbon, toEye, camera.Right);

        const std::int32_t tileIndex = block.Tile[lane];
        const TTextureTile& tile = std::uint32_t(tileIndex) < container.TextureTiles.size()
                                       ? container.TextureTiles[std::size_t(tileIndex)]
                                       : kWholeTexture;
        const float leftU = tile.U[1], rightU = tile.U[0], middleV = 0.5f * (tile.V[0] + tile.V[2]);
        std::uint32_t colorBytes = block.ColorBytes[lane];
        float alpha = float(ColorChannelByte(block.Alpha[lane]));
        if (keyed) {
            // The ribbon takes the colour and opacity the particle is drawn with, its keys' included.
            const TLifeSample drawn =
                SampleLifeCurves(container.Life, block.LifeLength[lane], storage.LifeLeft[slot]);
            if (drawn.HasColor) {
                TVector3 c = drawn.Color;
                if (container.Life.TintColorKeys) {
                    const TBlockVector3& own = storage.Cold[slot / kParticleBlockLanes].Color;
                    c = {c.x * own.x[lane], c.y * own.y[lane], c.z * own.z[lane]};
                }
                colorBytes = std::uint32_t(ColorChannelByte(c.x)) |
                             std::uint32_t(ColorChannelByte(c.y)) << 8 |
                             std::uint32_t(ColorChannelByte(c.z)) << 16;
            }
            alpha = float(ColorChannelByte(block.Alpha[lane] * drawn.AlphaFactor));
        }
        TRibbonEdge newer{};
        for (std::size_t i = 0; i < n; ++i) {
            const float remaining = ribbon.Remaining[i];
            const float half = 0.5f * width * remaining;
            const TVector3& p = ribbon.Points[i];
            const TVector3& side = ribbon.Sides[i];
            const std::uint32_t rgba = colorBytes | std::uint32_t(alpha * remaining) << 24;
            float color; // the bytes as they lie in a vertex (memcpy: the browser's libc++ has no bit_cast)
            std::memcpy(&color, &rgba, sizeof color);
            const TRibbonEdge edge{color,
                                   {p.x - side.x * half, p.y - side.y * half, p.z - side.z * half},
                                   {p.x + side.x * half, p.y + side.y * half, p.z + side.z * half}};
            if (i > 0) {
                StoreQuad(newer, edge, leftU, rightU, middleV, vertices + written, stream);
                written += 4;
            }
            newer = edge;
        }
    }
#if defined(__SSE2__)
    if (stream)
        _mm_sfence(); // streaming stores are weakly ordered: done before the vertices count as written
#endif
    return written;
}

} // namespace lumidor
