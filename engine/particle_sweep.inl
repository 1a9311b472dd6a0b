// The particle sweep, written once for any number of lanes. A translation unit includes it inside
// an anonymous namespace after defining LUMIDOR_SWEEP_LANES (4, 8 or 16), built for that width;
// with LUMIDOR_SWEEP_STREAMING set as well, eight lanes write the vertices with streaming stores.
// Lanes are particles: one operation advances the same quantity of kLanes particles. Every lane
// runs the same IEEE operations in the same order, so the result does not depend on the width.
// Sixteen lanes (AVX-512) span two blocks of particles; rows and flags are handled as two halves.

/// Particles a group advances at once.
constexpr int kLanes = LUMIDOR_SWEEP_LANES;
#ifndef LUMIDOR_SWEEP_STREAMING
#define LUMIDOR_SWEEP_STREAMING 0
#endif
static_assert(!LUMIDOR_SWEEP_STREAMING || kLanes == 8, "streaming stores are built for eight lanes");
/// One float per lane.
using TLanes = float __attribute__((vector_size(4 * kLanes)));
/// One 32-bit integer per lane; a true comparison sets all its bits.
using TMask = std::int32_t __attribute__((vector_size(4 * kLanes)));

// The sweep's helpers are forced inline so each compiled variant of the sweep gets its own copy.
#define LUMIDOR_SWEEP_INLINE inline __attribute__((always_inline))
// Short loops over lanes, rows and corners are unrolled, so their values stay in registers instead
// of going through an array on the stack.
#define LUMIDOR_UNROLL _Pragma("GCC unroll 8")

/// x, y and z of kLanes vectors.
struct TLanes3 {
    TLanes x, y, z;
};

/// x, y and z of kLanes masks or float bits.
struct TMask3 {
    TMask x, y, z;
};

/// What the target speed of one axis multiplies the force, the wind and the impulse by.
struct TTargetFactors {
    TLanes Force, Wind, Impulse;
};

// value - 0 is value itself for every float (value + 0 would turn -0 into +0), so this is a plain broadcast.
LUMIDOR_SWEEP_INLINE TLanes Splat(float value) {
    return value - TLanes{};
}
LUMIDOR_SWEEP_INLINE TLanes Abs(TLanes v) {
    return TLanes(TMask(v) & 0x7fffffff);
}
LUMIDOR_SWEEP_INLINE TLanes Select(TMask mask, TLanes ifTrue, TLanes ifFalse) {
    return TLanes((TMask(ifTrue) & mask) | (TMask(ifFalse) & ~mask));
}
#if LUMIDOR_SWEEP_LANES == 16
// The low and high eight lanes of a sixteen-lane vector, and the vector from its halves.
using THalf = float __attribute__((vector_size(32)));
using THalfMask = std::int32_t __attribute__((vector_size(32)));
template <typename Vector> LUMIDOR_SWEEP_INLINE auto LowHalf(Vector v) {
    return __builtin_shufflevector(v, v, 0, 1, 2, 3, 4, 5, 6, 7);
}
template <typename Vector> LUMIDOR_SWEEP_INLINE auto HighHalf(Vector v) {
    return __builtin_shufflevector(v, v, 8, 9, 10, 11, 12, 13, 14, 15);
}
template <typename Half> LUMIDOR_SWEEP_INLINE auto Joined(Half low, Half high) {
    return __builtin_shufflevector(low, high, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
}
#elif LUMIDOR_SWEEP_LANES == 8
using THalf = TLanes;
#endif

LUMIDOR_SWEEP_INLINE bool Any(TMask mask) {
#if LUMIDOR_SWEEP_LANES == 16
    return _mm512_test_epi32_mask(__m512i(mask), __m512i(mask)) != 0;
#elif LUMIDOR_SWEEP_LANES == 8
    return _mm256_movemask_ps(__m256(mask)) != 0;
#elif defined(__SSE__)
    return _mm_movemask_ps(__m128(mask)) != 0;
#else
    std::int32_t any = 0;
    for (int lane = 0; lane < kLanes; ++lane)
        any |= mask[lane];
    return any != 0;
#endif
}

/// Correctly rounded square root of each lane.
LUMIDOR_SWEEP_INLINE TLanes Sqrt(TLanes v) {
#if LUMIDOR_SWEEP_LANES == 16
    return TLanes(_mm512_sqrt_ps(__m512(v)));
#elif LUMIDOR_SWEEP_LANES == 8
    return TLanes(_mm256_sqrt_ps(__m256(v)));
#elif defined(__SSE__)
    return TLanes(_mm_sqrt_ps(__m128(v)));
#else
    TLanes root;
    for (int lane = 0; lane < kLanes; ++lane)
        root[lane] = std::sqrt(v[lane]);
    return root;
#endif
}

#if LUMIDOR_SWEEP_LANES >= 8
// The 4 x 4 transpose within each 128-bit half: with row i of the rows in the low half and row
// i + 4 in the high half, it gives the columns in lane order, and the other way round.
LUMIDOR_SWEEP_INLINE void TransposeHalves(THalf r0, THalf r1, THalf r2, THalf r3, THalf& c0, THalf& c1,
                                          THalf& c2, THalf& c3) {
    const THalf xy01 = __builtin_shufflevector(r0, r1, 0, 8, 1, 9, 4, 12, 5, 13);
    const THalf xy23 = __builtin_shufflevector(r2, r3, 0, 8, 1, 9, 4, 12, 5, 13);
    const THalf zw01 = __builtin_shufflevector(r0, r1, 2, 10, 3, 11, 6, 14, 7, 15);
    const THalf zw23 = __builtin_shufflevector(r2, r3, 2, 10, 3, 11, 6, 14, 7, 15);
    c0 = __builtin_shufflevector(xy01, xy23, 0, 1, 8, 9, 4, 5, 12, 13);
    c1 = __builtin_shufflevector(xy01, xy23, 2, 3, 10, 11, 6, 7, 14, 15);
    c2 = __builtin_shufflevector(zw01, zw23, 0, 1, 8, 9, 4, 5, 12, 13);
    c3 = __builtin_shufflevector(zw01, zw23, 2, 3, 10, 11, 6, 7, 14, 15);
}

// Eight lanes from eight 16-byte rows.
LUMIDOR_SWEEP_INLINE void EightColumnsOf(const TRow* rows, THalf& c0, THalf& c1, THalf& c2, THalf& c3) {
    TransposeHalves(__builtin_shufflevector(rows[0], rows[4], 0, 1, 2, 3, 4, 5, 6, 7),
                    __builtin_shufflevector(rows[1], rows[5], 0, 1, 2, 3, 4, 5, 6, 7),
                    __builtin_shufflevector(rows[2], rows[6], 0, 1, 2, 3, 4, 5, 6, 7),
                    __builtin_shufflevector(rows[3], rows[7], 0, 1, 2, 3, 4, 5, 6, 7), c0, c1, c2, c3);
}
#endif

// Lane vectors from 16-byte rows (one row per lane).
LUMIDOR_SWEEP_INLINE void ColumnsOf(const TRow (&rows)[kLanes], TLanes& c0, TLanes& c1, TLanes& c2,
                                    TLanes& c3) {
#if LUMIDOR_SWEEP_LANES == 16
    THalf low[4], high[4];
    EightColumnsOf(rows, low[0], low[1], low[2], low[3]);
    EightColumnsOf(rows + 8, high[0], high[1], high[2], high[3]);
    c0 = Joined(low[0], high[0]);
    c1 = Joined(low[1], high[1]);
    c2 = Joined(low[2], high[2]);
    c3 = Joined(low[3], high[3]);
#elif LUMIDOR_SWEEP_LANES == 8
    EightColumnsOf(rows, c0, c1, c2, c3);
#else
    Transpose(rows[0], rows[1], rows[2], rows[3], c0, c1, c2, c3);
#endif
}

#if LUMIDOR_SWEEP_LANES == 4
// Stores the columns as rows: row i, 16 bytes, at out + i * stride, for the first `lanes` rows.
LUMIDOR_SWEEP_INLINE void StoreAsRows(TLanes c0, TLanes c1, TLanes c2, TLanes c3, unsigned char* out,
                                      std::size_t stride, int lanes) {
    TRow rows[4];
    Transpose(c0, c1, c2, c3, rows[0], rows[1], rows[2], rows[3]);
    LUMIDOR_UNROLL
    for (int i = 0; i < 4; ++i) {
        if (i < lanes) std::memcpy(out + stride * std::size_t(i), &rows[i], sizeof rows[i]);
    }
}
#endif

// kLanes consecutive particles starting at lane `Lane` of a block (0, or 4 for the second half of
// a block on four lanes; sixteen lanes are two whole blocks): each field of the group is one vector
// load from the block, or two from the two blocks.
struct TGroup {
    TParticleBlock* Block;
    TParticleColdBlock* Cold; // the block's colour and debug tip
    std::size_t Lane;
    float* LifeLeft; // the first particle's, followed by the others'
};

// The group's values of one field, `values` pointing at the first in the group's first block.
template <typename Vector, typename Value> LUMIDOR_SWEEP_INLINE Vector LoadField(const Value* values) {
#if LUMIDOR_SWEEP_LANES == 16
    // The second block's half goes in with one load-and-insert rather than a load and a join.
    const auto* first = reinterpret_cast<const unsigned char*>(values);
    const __m512 low = _mm512_castps256_ps512(_mm256_loadu_ps(reinterpret_cast<const float*>(first)));
    const __m256 high = _mm256_loadu_ps(reinterpret_cast<const float*>(first + sizeof(TParticleBlock)));
    return Vector(_mm512_insertf32x8(low, high, 1));
#else
    Vector lanes;
    std::memcpy(&lanes, values, sizeof lanes);
    return lanes;
#endif
}

LUMIDOR_SWEEP_INLINE TLanes Load(const float* values) {
    return LoadField<TLanes>(values);
}

// Block: the kind of block `values` lies in, whose second one follows it.
template <typename Block = TParticleBlock> LUMIDOR_SWEEP_INLINE void Store(float* values, TLanes lanes) {
#if LUMIDOR_SWEEP_LANES == 16
    const THalf low = LowHalf(lanes);
    std::memcpy(values, &low, sizeof low);
    // The high half goes to the second block as the upper eight lanes of a masked store of the
    // whole register, which needs no shuffle to extract it first.
    auto* highHalf = reinterpret_cast<unsigned char*>(values) + sizeof(Block);
    _mm512_mask_storeu_ps(highHalf - sizeof(THalf), 0xff00, __m512(lanes));
#else
    std::memcpy(values, &lanes, sizeof lanes);
#endif
}

// The group's remaining lives, which lie side by side whatever the width.
LUMIDOR_SWEEP_INLINE TLanes LoadLives(const float* lives) {
    TLanes lanes;
    std::memcpy(&lanes, lives, sizeof lanes);
    return lanes;
}

LUMIDOR_SWEEP_INLINE void StoreLives(float* lives, TLanes lanes) {
    std::memcpy(lives, &lanes, sizeof lanes);
}

LUMIDOR_SWEEP_INLINE TLanes3 Load3(const TBlockVector3& field, std::size_t lane) {
    return {Load(field.x + lane), Load(field.y + lane), Load(field.z + lane)};
}

template <typename Block = TParticleBlock>
LUMIDOR_SWEEP_INLINE void Store3(TBlockVector3& field, std::size_t lane, const TLanes3& value) {
    Store<Block>(field.x + lane, value.x);
    Store<Block>(field.y + lane, value.y);
    Store<Block>(field.z + lane, value.z);
}

// A flag of each particle (bool bytes, 0 or 1) as a mask.
LUMIDOR_SWEEP_INLINE TMask FlagMask(const bool* flags) {
#if LUMIDOR_SWEEP_LANES == 16
    const __m128i low = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(flags));
    const __m128i high = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(
        reinterpret_cast<const unsigned char*>(flags) + sizeof(TParticleBlock)));
    return TMask(_mm512_cvtepu8_epi32(_mm_unpacklo_epi64(low, high))) != 0;
#elif LUMIDOR_SWEEP_LANES == 8
    const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(flags));
    return TMask(_mm256_cvtepu8_epi32(bytes)) != 0;
#else
    unsigned char bytes[kLanes];
    std::memcpy(bytes, flags, sizeof bytes);
    TMask set{};
    for (int lane = 0; lane < kLanes; ++lane)
        set[lane] = bytes[lane];
    return set != 0;
#endif
}

// Everything the sweep reads from the container, fetched once per pass.
struct TPassConstants {
    float Dt = 0.0f;
    TLanes3 Wind{};
    const TMagnetPoint* Magnets = nullptr;
    std::size_t MagnetCount = 0;
    const TCollisionConvexWorld* World = nullptr; // null: no collision
    float InverseCellX = 0, InverseCellZ = 0;     // 1 / cell size, hoisted out of the sweep
    float LastCellX = 0, LastCellZ = 0;           // highest cell index per axis
    TLanes3 KeptAfterBounce{};                    // 1 - world friction
    bool HasSharedTarget = false;                 // the first particle's inertia and mass, as below
    TMask3 SharedInertiaBits{};                   // its inertia, bit for bit
    TMask SharedMassBits{};                       // its mass, bit for bit
    TTargetFactors SharedFactors[3]{};            // its target factors per axis
    TLanes3 SharedImpulseKept{};                  // its 1 - dt / inertia
    bool FlatZeroGround = false;                  // a small grid whose heights are all zero and normals alike
    TLanes3 FlatNormal{};                         // its normal
    bool Debug = false;
    float DebugScale = 0.0f;
    TVector3 CornerAxes[4]; // sx * Right + sy * Up per corner
    const TTextureTile* Tiles = nullptr;
    std::uint32_t TileCount = 0;
};

constexpr float kLargestFloat = 3.40282347e38f;

// Used for a particle whose tile is outside the table (or a container without tiles): the whole
// texture, corners as a 1 x 1 atlas lays them out.
constexpr TTextureTile wholeTexture{{1, 0, 0, 1}, {1, 1, 0, 0}};

LUMIDOR_SWEEP_INLINE TLanes3 Splat3(const TVector3& v) {
    return {Splat(v.x), Splat(v.y), Splat(v.z)};
}

static_assert(sizeof(TParticleVertex) * 4 == 6 * sizeof(TRow), "four vertices are six rows");

// What the fading reads that the motion needs as well.
struct TFaded {
    TLanes Alpha; // opacity drawn this frame
    TLanes Mass;
    TLanes AirResistance;
};

// The fields the ageing and the fading read.
struct TTail {
    TLanes Mass, LifeLength, LifeLeft, FadeIn, FadeOut, BeginFadeOut, EndFadeIn, AirResistance;
    TMask FadeOutOn, FadeInOn;
};

LUMIDOR_SWEEP_INLINE TTail GatherTail(TGroup group) {
    const TParticleBlock& block = *group.Block;
    const std::size_t lane = group.Lane;
    TTail tail;
    tail.Mass = Load(block.Mass + lane);
    tail.LifeLength = Load(block.LifeLength + lane);
    tail.LifeLeft = LoadLives(group.LifeLeft);
    tail.FadeIn = Load(block.FadeInAlpha + lane);
    tail.FadeOut = Load(block.FadeOutAlpha + lane);
    tail.BeginFadeOut = Load(block.BeginFadeOut + lane);
    tail.EndFadeIn = Load(block.EndFadeIn + lane);
    tail.AirResistance = Load(block.AirResistance + lane);
    tail.FadeOutOn = FlagMask(block.FadeOut + lane);
    tail.FadeInOn = FlagMask(block.FadeIn + lane);
    return tail;
}

// Both ramps are evaluated for every lane and kept only where their window applies, fade-in second
// so that it wins; a flag that is off leaves its half untouched. Writes LifeLeft as the tail holds it.
LUMIDOR_SWEEP_INLINE TFaded Fade(TGroup group, const TTail& tail) {
    const TLanes lifeLength = tail.LifeLength, lifeLeft = tail.LifeLeft;
    const TLanes lived = lifeLength - lifeLeft;
    const TLanes fadeOutStart = lifeLength * tail.BeginFadeOut;
    const TLanes fadeInEnd = lifeLength * tail.EndFadeIn;
    const TMask fadingOut = tail.FadeOutOn & (fadeOutStart <= lived);
    TLanes fadeOut = Select(fadingOut, lifeLeft / (lifeLength - fadeOutStart), tail.FadeOut);
    TLanes fadeIn = Select(fadingOut, Splat(0.0f), tail.FadeIn);
    const TMask fadingIn = tail.FadeInOn & (fadeInEnd >= lived);
    fadeIn = Select(fadingIn, lived / fadeInEnd, fadeIn);
    fadeOut = Select(fadingIn, Splat(0.0f), fadeOut);
    const TLanes alpha = fadeIn + fadeOut;

    TParticleBlock& block = *group.Block;
    const std::size_t lane = group.Lane;
    StoreLives(group.LifeLeft, lifeLeft);
    Store(block.Alpha + lane, alpha);
    Store(block.FadeInAlpha + lane, fadeIn);
    Store(block.FadeOutAlpha + lane, fadeOut);
    return {alpha, tail.Mass, tail.AirResistance};
}

LUMIDOR_SWEEP_INLINE TLanes3 MagnetPull(const TPassConstants& pass, const TLanes3& position) {
    TLanes3 total{Splat(0), Splat(0), Splat(0)};
    for (std::size_t k = 0; k < pass.MagnetCount; ++k) {
        const TMagnetPoint& magnet = pass.Magnets[k];
        if (magnet.Mode < 0 || magnet.Mode > 2) continue; // any other mode is inert
        TLanes3 delta{position.x - magnet.Position.x, position.y - magnet.Position.y,
                      position.z - magnet.Position.z};
        const TLanes distance = Sqrt(delta.x * delta.x + delta.y * delta.y + delta.z * delta.z);
        const TMask inRange = ~TMask(distance > Splat(magnet.Radius)); // exactly at the radius counts
        if (!Any(inRange)) continue;
        const TLanes gravity = Splat(magnet.Gravity);
        const TLanes one = Splat(1.0f);
        if (magnet.Mode == 0) {
            // Per axis back towards the magnet, strongest where the particle is nearly level with it.
            const TLanes radius = Splat(magnet.Radius);
            const TLanes falloff = distance + one;
            for (TLanes* axis : {&delta.x, &delta.y, &delta.z}) {
                const TLanes above = (*axis - radius) / falloff * gravity;
                const TLanes below = (*axis + radius) / falloff * gravity;
                *axis = Select(*axis > Splat(0.0f), above, Select(*axis < Splat(0.0f), below, *axis));
            }
        } else {
            // Normalised offset (zero stays zero) times G / (d + 1) in mode 1, times G in mode 2.
            const TLanes divisor = Select(distance == Splat(0.0f), one, distance);
            const TLanes scale =
                magnet.Mode == 1 ? gravity / ((distance + one) * divisor) : gravity / divisor;
            // One division serves all three axes. Where the scale overflows (a huge gravity next to
            // the magnet), normalise first and scale after, as the step is written: the pull then
            // stays finite wherever it is.
            const TMask overflow = ~TMask(Abs(scale) <= Splat(kLargestFloat));
            if (Any(overflow)) {
                for (TLanes* axis : {&delta.x, &delta.y, &delta.z}) {
                    TLanes separate = *axis / divisor * gravity;
                    if (magnet.Mode == 1) separate = separate / (distance + one);
                    *axis = Select(overflow, separate, *axis * scale);
                }
            } else {
                delta.x = delta.x * scale;
                delta.y = delta.y * scale;
                delta.z = delta.z * scale;
            }
        }
        total.x += Select(inRange, delta.x, Splat(0));
        total.y += Select(inRange, delta.y, Splat(0));
        total.z += Select(inRange, delta.z, Splat(0));
    }
    return total;
}

// Floor of grid coordinates, by truncation where they are non-negative (floorf is a library call
// on baseline x86-64); values too large to truncate exactly are whole already.
LUMIDOR_SWEEP_INLINE TLanes WholePart(TLanes coordinate) {
    const TMask truncatable = (coordinate >= Splat(0.0f)) & (coordinate < Splat(8388608.0f));
    const TLanes truncated = __builtin_convertvector(
        __builtin_convertvector(Select(truncatable, coordinate, Splat(0.0f)), TMask), TLanes);
    if (!Any(~truncatable)) return truncated;
    TLanes result = truncated;
    for (int lane = 0; lane < kLanes; ++lane) {
        if (!truncatable[lane]) result[lane] = std::floor(coordinate[lane]);
    }
    return result;
}

LUMIDOR_SWEEP_INLINE TLanes ClampCell(TLanes whole, float lastCell) {
    const TLanes low = Select(whole >= Splat(0.0f), whole, Splat(0.0f)); // NaN becomes 0 here
    return Select(low < Splat(lastCell), low, Splat(lastCell));
}

// The bilinear surface height under each predicted point over the grid, and its cell's normal.
LUMIDOR_SWEEP_INLINE void GroundUnder(const TPassConstants& pass, TLanes predictedX, TLanes predictedZ,
                                      TMask inside, TLanes& surface, TLanes3& normal) {
    const TCollisionConvexWorld& world = *pass.World;
    const TVector3& origin = world.Origin;
    const TLanes gridX = (predictedX - Splat(origin.x)) * Splat(pass.InverseCellX);
    const TLanes gridZ = (predictedZ - Splat(origin.z)) * Splat(pass.InverseCellZ);
    const TLanes wholeX = WholePart(gridX);
    const TLanes wholeZ = WholePart(gridZ);
    const TLanes cellX = ClampCell(wholeX, pass.LastCellX);
    const TLanes cellZ = ClampCell(wholeZ, pass.LastCellZ);
    const TLanes fractionX = gridX - wholeX;
    const TLanes fractionZ = gridZ - wholeZ;

    // The four corner heights, at (x, z), (x, z + 1), (x + 1, z), (x + 1, z + 1), and the normal.
    const HDataArray& heights = *world.Heights;
    TLanes h00, h01, h10, h11;
    // Usually every lane over the ground stands on one cell (always on a one-cell floor): one lookup.
    int reference = 0;
    while (!inside[reference])
        ++reference;
    const TMask otherCell =
        inside & ((cellX != Splat(cellX[reference])) | (cellZ != Splat(cellZ[reference])));
    if (!Any(otherCell)) {
        const auto x = std::size_t(cellX[reference]);
        const auto z = std::size_t(cellZ[reference]);
        const float* column0 = heights[x].data() + z;
        const float* column1 = heights[x + 1].data() + z;
        const TVector3& n = world.Normals[x][z];
        h00 = Splat(column0[0]);
        h01 = Splat(column0[1]);
        h10 = Splat(column1[0]);
        h11 = Splat(column1[1]);
        normal = Splat3(n);
    } else {
        for (int lane = 0; lane < kLanes; ++lane) {
            const auto x = std::size_t(cellX[lane]);
            const auto z = std::size_t(cellZ[lane]);
            const float* column0 = heights[x].data() + z;
            const float* column1 = heights[x + 1].data() + z;
            const TVector3& n = world.Normals[x][z];
            h00[lane] = column0[0];
            h01[lane] = column0[1];
            h10[lane] = column1[0];
            h11[lane] = column1[1];
            normal.x[lane] = n.x;
            normal.y[lane] = n.y;
            normal.z[lane] = n.z;
        }
    }
    const TLanes one = Splat(1.0f);
    const TLanes nearEdge = (one - fractionX) * h00 + fractionX * h10;
    const TLanes farEdge = (one - fractionX) * h01 + fractionX * h11;
    surface = (one - fractionZ) * nearEdge + fractionZ * farEdge + Splat(origin.y);
}

// The ground: a velocity whose predicted position lies over the grid and within 0.2 of the bilinear
// surface is mirrored at the cell's plane and loses a share per axis. The mirror uses
// (2 n (n.d) - d) |V| = V - 2 (n.V) n for d = -V / |V|, which needs no square root.
LUMIDOR_SWEEP_INLINE TLanes3 Collide(const TPassConstants& pass, const TLanes3& position,
                                     const TLanes3& velocity) {
    const TCollisionConvexWorld& world = *pass.World;
    const TLanes dt = Splat(pass.Dt);
    const TLanes predictedX = position.x + velocity.x * dt;
    const TLanes predictedY = position.y + velocity.y * dt;
    const TLanes predictedZ = position.z + velocity.z * dt;
    const TVector3& origin = world.Origin;
    // Points exactly on the border are inside.
    const TMask inside = (predictedX >= Splat(origin.x)) & (predictedX <= Splat(origin.x + world.Extent.x)) &
                         (predictedZ >= Splat(origin.z)) & (predictedZ <= Splat(origin.z + world.Extent.z));
    if (!Any(inside)) return velocity;

    TLanes surface;
    TLanes3 normal;
    if (pass.FlatZeroGround) {
        // Every height is zero: each bilinear term is a zero, so the surface is Origin.y (a zero
        // of either sign where Origin.y is one, which compares alike), and every cell's normal is one.
        surface = Splat(origin.y);
        normal = pass.FlatNormal;
    } else {
        GroundUnder(pass, predictedX, predictedZ, inside, surface, normal);
    }
    const TMask outsideBand = (predictedY > surface + Splat(0.2f)) | (predictedY < surface - Splat(0.2f));
    const TMask bounce = inside & ~outsideBand;

    const TLanes twiceAlong =
        Splat(2.0f) * (normal.x * velocity.x + normal.y * velocity.y + normal.z * velocity.z);
    return {Select(bounce, (velocity.x - normal.x * twiceAlong) * pass.KeptAfterBounce.x, velocity.x),
            Select(bounce, (velocity.y - normal.y * twiceAlong) * pass.KeptAfterBounce.y, velocity.y),
            Select(bounce, (velocity.z - normal.z * twiceAlong) * pass.KeptAfterBounce.z, velocity.z)};
}

// Sixteen lanes are bound by their operations: a group whose particles share the pass's inertia
// and mass takes its target factors (36 multiplies and adds) and impulse decay (three divisions)
// from the pass. The eight- and four-lane builds have half as many registers, and there keeping the
// pass's constants would cost spills instead.
constexpr bool kSharedTargetShortcut = kLanes == 16;

// Target speed per axis: A = F / (I + 1) + W / (10 I m + 1) + M / (I m + 1). One division for the
// three quotients: 1/a = bc / abc and so on, within a few float roundings; 1 / abc is kept per
// particle (TargetInverse) since inertia and mass change only through the setters. From abc = 2^126
// on, 1 / abc would be subnormal, zero or NaN (abc infinite): a huge mass would lose the force term,
// which does not depend on mass at all. Such lanes hold NaN there and take SeparateTarget.
LUMIDOR_SWEEP_INLINE TTargetFactors TargetFactors(TLanes inertia, TLanes mass, TLanes inverse) {
    const TLanes one = Splat(1.0f);
    const TLanes a = inertia + one;
    const TLanes b = inertia * Splat(10.0f) * mass + one;
    const TLanes c = inertia * mass + one;
    return {b * c * inverse, a * c * inverse, a * b * inverse};
}

LUMIDOR_SWEEP_INLINE TLanes SharedTarget(TLanes force, TLanes wind, TLanes impulse,
                                         const TTargetFactors& factors) {
    return force * factors.Force + wind * factors.Wind + impulse * factors.Impulse;
}

LUMIDOR_SWEEP_INLINE TLanes SeparateTarget(TLanes force, TLanes wind, TLanes impulse, TLanes inertia,
                                           TLanes mass) {
    const TLanes one = Splat(1.0f);
    return force / (inertia + one) + wind / (inertia * Splat(10.0f) * mass + one) +
           impulse / (inertia * mass + one);
}

// Whether every particle of the group has the first particle's inertia and mass, as the particles
// of an effect usually do: their target factors and impulse decay are then the ones worked out once
// a pass from the same numbers.
LUMIDOR_SWEEP_INLINE bool SharesFirstParticle(const TPassConstants& pass, const TLanes3& inertia,
                                              TLanes mass) {
    if (!kSharedTargetShortcut || !pass.HasSharedTarget) return false;
    const TMask3& bits = pass.SharedInertiaBits;
    const TMask same = (TMask(inertia.x) == bits.x) & (TMask(inertia.y) == bits.y) &
                       (TMask(inertia.z) == bits.z) & (TMask(mass) == pass.SharedMassBits);
    return !Any(~same);
}

LUMIDOR_SWEEP_INLINE TLanes3 Target(const TPassConstants& pass, bool sharesFirst, const TLanes3& force,
                                    const TLanes3& impulse, const TLanes3& inertia, TLanes mass,
                                    const TLanes3& inverse) {
    const TLanes3& wind = pass.Wind;
    if (sharesFirst) {
        return {SharedTarget(force.x, wind.x, impulse.x, pass.SharedFactors[0]),
                SharedTarget(force.y, wind.y, impulse.y, pass.SharedFactors[1]),
                SharedTarget(force.z, wind.z, impulse.z, pass.SharedFactors[2])};
    }
    const TMask huge = (inverse.x != inverse.x) | (inverse.y != inverse.y) | (inverse.z != inverse.z);
    const TLanes3 shared{SharedTarget(force.x, wind.x, impulse.x, TargetFactors(inertia.x, mass, inverse.x)),
                         SharedTarget(force.y, wind.y, impulse.y, TargetFactors(inertia.y, mass, inverse.y)),
                         SharedTarget(force.z, wind.z, impulse.z, TargetFactors(inertia.z, mass, inverse.z))};
    if (!Any(huge)) return shared;
    return {Select(huge, SeparateTarget(force.x, wind.x, impulse.x, inertia.x, mass), shared.x),
            Select(huge, SeparateTarget(force.y, wind.y, impulse.y, inertia.y, mass), shared.y),
            Select(huge, SeparateTarget(force.z, wind.z, impulse.z, inertia.z, mass), shared.z)};
}

// Climb towards a positive target speed by `step`; a negative target accelerates without bound.
LUMIDOR_SWEEP_INLINE TLanes Accelerate(TLanes velocity, TLanes target, TLanes step) {
    return Select(Abs(velocity - target) > step, velocity + step, velocity);
}

// Debug tip: one more acceleration step where it stays within the target's size.
LUMIDOR_SWEEP_INLINE TLanes TipVelocity(TLanes velocity, TLanes target, TLanes step) {
    return Select(Abs(velocity - step) <= Abs(target), velocity + step, velocity);
}

// What the vertices are built from.
struct TDrawn {
    TMask Tiles, ColorBytes;
    TLanes3 Position, Size;
};

LUMIDOR_SWEEP_INLINE void Move(const TPassConstants& pass, TGroup group, const TFaded& faded, TDrawn& drawn) {
    TParticleBlock& block = *group.Block;
    const std::size_t lane = group.Lane;
    const TLanes dt = Splat(pass.Dt);
    const TLanes one = Splat(1.0f);
    drawn.Tiles = LoadField<TMask>(block.Tile + lane);
    drawn.ColorBytes = LoadField<TMask>(block.ColorBytes + lane);
    TLanes3 position = Load3(block.Position, lane);
    const TLanes3 magnetForce =
        pass.MagnetCount ? MagnetPull(pass, position) : TLanes3{Splat(0), Splat(0), Splat(0)};
    TLanes3 impulse = Load3(block.MagnetImpulse, lane);
    impulse = {impulse.x + magnetForce.x, impulse.y + magnetForce.y, impulse.z + magnetForce.z};

    const TLanes3 force = Load3(block.Force, lane);
    const TLanes3 inertia = Load3(block.Inertia, lane);
    const TLanes mass = faded.Mass;
    const bool sharesFirst = SharesFirstParticle(pass, inertia, mass);
    const TLanes3 target =
        Target(pass, sharesFirst, force, impulse, inertia, mass, Load3(block.TargetInverse, lane));
    const TLanes3 step{target.x * dt, target.y * dt, target.z * dt};

    TLanes3 velocity = Load3(block.Velocity, lane);
    velocity = {Accelerate(velocity.x, target.x, step.x), Accelerate(velocity.y, target.y, step.y),
                Accelerate(velocity.z, target.z, step.z)};
    if (pass.World) velocity = Collide(pass, position, velocity);
    const TLanes kept = one - faded.AirResistance * dt;
    velocity = {velocity.x * kept, velocity.y * kept, velocity.z * kept};
    position = {position.x + velocity.x * dt, position.y + velocity.y * dt, position.z + velocity.z * dt};
    const TLanes3 impulseKept =
        sharesFirst ? pass.SharedImpulseKept
                    : TLanes3{one - dt / inertia.x, one - dt / inertia.y, one - dt / inertia.z};
    impulse = {impulse.x * impulseKept.x, impulse.y * impulseKept.y, impulse.z * impulseKept.z};

    Store3(block.Position, lane, position);
    if (pass.Debug) {
        const TLanes scale = Splat(pass.DebugScale);
        Store3<TParticleColdBlock>(group.Cold->DebugTip, lane,
                                   {position.x + TipVelocity(velocity.x, target.x, step.x) * scale,
                                    position.y + TipVelocity(velocity.y, target.y, step.y) * scale,
                                    position.z + TipVelocity(velocity.z, target.z, step.z) * scale});
    }
    // Only the decay of this step's magnet force stays in the impulse.
    Store3(block.MagnetImpulse, lane,
           {impulse.x - magnetForce.x, impulse.y - magnetForce.y, impulse.z - magnetForce.z});
    Store3(block.Velocity, lane, velocity);
    const TLanes3 size = Load3(block.Size, lane);
    const TLanes3 enlargement = Load3(block.Enlargement, lane);
    drawn.Size = {size.x + enlargement.x * dt, size.y + enlargement.y * dt, size.z + enlargement.z * dt};
    Store3(block.Size, lane, drawn.Size);
    drawn.Position = position;
    Store3(block.MagnetForce, lane, magnetForce);
}

// Colour channels to bytes: x 255, truncated toward zero, low 8 bits kept. Lanes whose product does
// not fit a 32-bit integer (and NaN) become 0 before the conversion, which is only defined in range.
LUMIDOR_SWEEP_INLINE TMask ChannelBytes(TLanes channel) {
    const TLanes scaled = channel * Splat(255.0f);
    const TMask inRange = (scaled > Splat(-2147483648.0f)) & (scaled < Splat(2147483648.0f));
    return __builtin_convertvector(Select(inRange, scaled, Splat(0.0f)), TMask) & 0xff;
}

#if LUMIDOR_SWEEP_LANES >= 8
#if LUMIDOR_SWEEP_LANES == 16
using TWide = __m512;
#else
using TWide = __m256;
#endif
constexpr int kPartsPerRegister = kLanes / 4; // 128-bit parts

// Columns 4g .. 4g + 3 as quads[6 i + g], whose part j holds floats 4g .. 4g + 3 of particle 4j + i.
LUMIDOR_SWEEP_INLINE void QuadsOfColumns(const TLanes (&columns)[24], int g, TWide (&quads)[24]) {
    const TWide c0 = TWide(columns[4 * g]), c1 = TWide(columns[4 * g + 1]);
    const TWide c2 = TWide(columns[4 * g + 2]), c3 = TWide(columns[4 * g + 3]);
#if LUMIDOR_SWEEP_LANES == 16
    const TWide t0 = _mm512_unpacklo_ps(c0, c1), t1 = _mm512_unpackhi_ps(c0, c1);
    const TWide t2 = _mm512_unpacklo_ps(c2, c3), t3 = _mm512_unpackhi_ps(c2, c3);
    quads[g] = _mm512_shuffle_ps(t0, t2, _MM_SHUFFLE(1, 0, 1, 0));
    quads[6 + g] = _mm512_shuffle_ps(t0, t2, _MM_SHUFFLE(3, 2, 3, 2));
    quads[12 + g] = _mm512_shuffle_ps(t1, t3, _MM_SHUFFLE(1, 0, 1, 0));
    quads[18 + g] = _mm512_shuffle_ps(t1, t3, _MM_SHUFFLE(3, 2, 3, 2));
#else
    const TWide t0 = _mm256_unpacklo_ps(c0, c1), t1 = _mm256_unpackhi_ps(c0, c1);
    const TWide t2 = _mm256_unpacklo_ps(c2, c3), t3 = _mm256_unpackhi_ps(c2, c3);
    quads[g] = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(1, 0, 1, 0));
    quads[6 + g] = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(3, 2, 3, 2));
    quads[12 + g] = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(1, 0, 1, 0));
    quads[18 + g] = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(3, 2, 3, 2));
#endif
}

// Particles 4j .. 4j + 3 take 24 quads in a row, so register m of them is part j of quads
// [P m, P m + P) for P parts a register. Stores register m for every j, within `floats` floats.
LUMIDOR_SWEEP_INLINE void StoreQuadRegister(const TWide (&quads)[24], int m, int floats, float* out) {
    TWide rows[kPartsPerRegister];
#if LUMIDOR_SWEEP_LANES == 16
    const TWide u0 = _mm512_shuffle_f32x4(quads[4 * m], quads[4 * m + 1], _MM_SHUFFLE(1, 0, 1, 0));
    const TWide u1 = _mm512_shuffle_f32x4(quads[4 * m], quads[4 * m + 1], _MM_SHUFFLE(3, 2, 3, 2));
    const TWide u2 = _mm512_shuffle_f32x4(quads[4 * m + 2], quads[4 * m + 3], _MM_SHUFFLE(1, 0, 1, 0));
    const TWide u3 = _mm512_shuffle_f32x4(quads[4 * m + 2], quads[4 * m + 3], _MM_SHUFFLE(3, 2, 3, 2));
    rows[0] = _mm512_shuffle_f32x4(u0, u2, _MM_SHUFFLE(2, 0, 2, 0));
    rows[1] = _mm512_shuffle_f32x4(u0, u2, _MM_SHUFFLE(3, 1, 3, 1));
    rows[2] = _mm512_shuffle_f32x4(u1, u3, _MM_SHUFFLE(2, 0, 2, 0));
    rows[3] = _mm512_shuffle_f32x4(u1, u3, _MM_SHUFFLE(3, 1, 3, 1));
#else
    rows[0] = _mm256_permute2f128_ps(quads[2 * m], quads[2 * m + 1], 0x20);
    rows[1] = _mm256_permute2f128_ps(quads[2 * m], quads[2 * m + 1], 0x31);
#endif
    LUMIDOR_UNROLL
    for (int j = 0; j < kPartsPerRegister; ++j) {
        const int first = 4 * (24 * j + kPartsPerRegister * m); // first float of this register
        float* at = out + first;
        if (first + 4 * kPartsPerRegister <= floats) {
#if LUMIDOR_SWEEP_LANES == 16
            _mm512_storeu_ps(at, rows[j]);
#elif LUMIDOR_SWEEP_STREAMING
            _mm256_stream_ps(at, rows[j]);
#else
            _mm256_storeu_ps(at, rows[j]);
#endif
        }
#if LUMIDOR_SWEEP_LANES == 16
        // 24 x lanes floats end on a whole eight-float register, so only sixteen lanes split one.
        else if (first < floats) {
            _mm512_mask_storeu_ps(at, __mmask16((1u << (floats - first)) - 1), rows[j]);
        }
#endif
    }
}

// Whether register m needs only floats 0 .. 15 of its particles (quads with g < 4).
[[maybe_unused]] constexpr bool NeedsOnlyFirstFourQuads(int m) {
    for (int q = kPartsPerRegister * m; q < kPartsPerRegister * (m + 1); ++q) {
        if (q % 6 >= 4) return false;
    }
    return true;
}

// The 24 vertex columns of the group (column c holds float c of every particle's 24) stored as the
// particles' vertices, one particle after another, for the first `lanes` particles. First a 4 x 4
// transpose within each 128-bit part of four columns gives every particle's 16-byte quarter-rows;
// then a transpose of 128-bit parts puts each particle's six after one another, so the vertices
// leave in whole-register stores.
LUMIDOR_SWEEP_INLINE void StoreVertexColumns(const TLanes (&columns)[24], int lanes, float* out) {
    const int floats = 24 * lanes;
    TWide quads[24];
#if LUMIDOR_SWEEP_LANES == 16
    // Sixteen-lane registers are whole cache lines, so the order of the stores does not matter to
    // memory: the registers built from the first 16 floats of each particle leave before the last
    // eight floats are transposed, which keeps fewer quads live at once.
    LUMIDOR_UNROLL
    for (int g = 0; g < 4; ++g)
        QuadsOfColumns(columns, g, quads);
    LUMIDOR_UNROLL
    for (int m = 0; m < 24 / kPartsPerRegister; ++m) {
        if (NeedsOnlyFirstFourQuads(m)) StoreQuadRegister(quads, m, floats, out);
    }
    QuadsOfColumns(columns, 4, quads);
    QuadsOfColumns(columns, 5, quads);
    LUMIDOR_UNROLL
    for (int m = 0; m < 24 / kPartsPerRegister; ++m) {
        if (!NeedsOnlyFirstFourQuads(m)) StoreQuadRegister(quads, m, floats, out);
    }
#else
    // Eight-lane registers are half lines: they leave in address order, so that each line is
    // complete while it is still in the write buffers.
    LUMIDOR_UNROLL
    for (int g = 0; g < 6; ++g)
        QuadsOfColumns(columns, g, quads);
    LUMIDOR_UNROLL
    for (int m = 0; m < 24 / kPartsPerRegister; ++m)
        StoreQuadRegister(quads, m, floats, out);
#endif
}
#endif

// The four vertices of each particle, 24 floats: per corner U V C X Y Z. They are built as 24 lane
// vectors and turned into six 16-byte rows per particle.
LUMIDOR_SWEEP_INLINE const TTextureTile& TileOf(const TPassConstants& pass, std::int32_t index) {
    return std::uint32_t(index) < pass.TileCount ? pass.Tiles[index] : wholeTexture;
}

LUMIDOR_SWEEP_INLINE void WriteQuads(const TPassConstants& pass, const TDrawn& drawn, TLanes alpha, int lanes,
                                     TParticleVertex* out) {
    const TLanes3& position = drawn.Position;
    const TLanes3& size = drawn.Size;
    const TMask tiles = drawn.Tiles;
    static_assert(std::endian::native == std::endian::little,
                  "vertex colour bytes are packed into the low bits first");
    const TMask packed = drawn.ColorBytes | ChannelBytes(alpha)
                                                << 24; // R, G, B, A in memory order (little-endian)
    TLanes u[4], v[4];
    const std::int32_t firstTile = tiles[0];
    if (!Any(tiles != firstTile)) {
        // Commonly the whole group draws one tile.
        const TTextureTile& tile = TileOf(pass, firstTile);
        LUMIDOR_UNROLL
        for (int corner = 0; corner < 4; ++corner) {
            u[corner] = Splat(tile.U[corner]);
            v[corner] = Splat(tile.V[corner]);
        }
    } else {
        TRow uRows[kLanes], vRows[kLanes];
        LUMIDOR_UNROLL
        for (int lane = 0; lane < kLanes; ++lane) {
            const TTextureTile& tile = TileOf(pass, tiles[lane]);
            uRows[lane] = LoadRow(tile.U, 0);
            vRows[lane] = LoadRow(tile.V, 0);
        }
        ColumnsOf(uRows, u[0], u[1], u[2], u[3]);
        ColumnsOf(vRows, v[0], v[1], v[2], v[3]);
    }

    // The size scales the offset per world axis: x by Size.x, y and z by Size.y.
    const TLanes halfX = size.x * Splat(0.5f);
    const TLanes halfY = size.y * Splat(0.5f);
    TLanes columns[24];
    LUMIDOR_UNROLL
    for (int corner = 0; corner < 4; ++corner) {
        const TVector3& axes = pass.CornerAxes[corner];
        TLanes* vertex = columns + 6 * corner;
        vertex[0] = u[corner];
        vertex[1] = v[corner];
        vertex[2] = TLanes(packed);
        vertex[3] = position.x + Splat(axes.x) * halfX;
        vertex[4] = position.y + Splat(axes.y) * halfY;
        vertex[5] = position.z + Splat(axes.z) * halfY;
    }
#if LUMIDOR_SWEEP_LANES >= 8
    StoreVertexColumns(columns, lanes, reinterpret_cast<float*>(out));
#else
    auto* bytes = reinterpret_cast<unsigned char*>(out);
    LUMIDOR_UNROLL
    for (int row = 0; row < 6; ++row) {
        StoreAsRows(columns[4 * row], columns[4 * row + 1], columns[4 * row + 2], columns[4 * row + 3],
                    bytes + sizeof(TRow) * std::size_t(row), 4 * sizeof(TParticleVertex), lanes);
    }
#endif
}

// Fades, moves and writes one group; vertices of the first `lanes` particles only.
LUMIDOR_SWEEP_INLINE void Advance(const TPassConstants& pass, TGroup group, const TTail& tail, int lanes,
                                  TParticleVertex* vertices) {
    const TFaded faded = Fade(group, tail);
    TDrawn drawn;
    Move(pass, group, faded, drawn);
    if (vertices) WriteQuads(pass, drawn, faded.Alpha, lanes, vertices);
}

void SetWorld(TPassConstants& pass, const TCollisionConvexWorld& world) {
    pass.World = HasCollision(world) ? &world : nullptr;
    if (!pass.World) return;
    pass.InverseCellX = 1.0f / world.CellSizeX;
    pass.InverseCellZ = 1.0f / world.CellSizeZ;
    pass.LastCellX = float(world.Normals.size() - 1);
    pass.LastCellZ = float(world.Normals[0].size() - 1);
    pass.KeptAfterBounce = {Splat(1.0f - world.WorldFriction.x), Splat(1.0f - world.WorldFriction.y),
                            Splat(1.0f - world.WorldFriction.z)};
    // The demo's floors are flat zero grids of a few points; they are checked every pass (the grid is
    // shared and may change), larger grids are not worth the scan.
    // The fraction within a cell must be a number in [0, 1) wherever a point is over the grid.
    const HDataArray& heights = *world.Heights;
    if (heights.size() > 8) return;
    for (const float value : {pass.InverseCellX, pass.InverseCellZ, world.CellSizeX, world.CellSizeZ,
                              world.Origin.x, world.Origin.z, world.Extent.x, world.Extent.z}) {
        if (!std::isfinite(value)) return;
    }
    if (!(world.CellSizeX > 0.0f && world.CellSizeZ > 0.0f)) return;
    const TVector3& first = world.Normals[0][0];
    for (const std::vector<float>& column : heights) {
        for (const float height : column) {
            if (height != 0.0f) return;
        }
    }
    for (const std::vector<TVector3>& column : world.Normals) {
        for (const TVector3& normal : column) {
            if (std::memcmp(&normal, &first, sizeof normal) != 0) return;
        }
    }
    pass.FlatZeroGround = true;
    pass.FlatNormal = Splat3(first);
}

// The first particle's target factors, unless its inertia and mass take the overflow path.
[[maybe_unused]] void SetSharedTarget(TPassConstants& pass, const TParticleArray& particles) {
    if (particles.empty()) return;
    const TParticleBlock& block = particles.Blocks()[0];
    const TLanes3 inertia{Splat(block.Inertia.x[0]), Splat(block.Inertia.y[0]), Splat(block.Inertia.z[0])};
    const TLanes3 inverse{Splat(block.TargetInverse.x[0]), Splat(block.TargetInverse.y[0]),
                          Splat(block.TargetInverse.z[0])};
    const TLanes mass = Splat(block.Mass[0]);
    if (inverse.x[0] != inverse.x[0] || inverse.y[0] != inverse.y[0] || inverse.z[0] != inverse.z[0]) return;
    pass.HasSharedTarget = true;
    pass.SharedInertiaBits = {TMask(inertia.x), TMask(inertia.y), TMask(inertia.z)};
    pass.SharedMassBits = TMask(mass);
    pass.SharedFactors[0] = TargetFactors(inertia.x, mass, inverse.x);
    pass.SharedFactors[1] = TargetFactors(inertia.y, mass, inverse.y);
    pass.SharedFactors[2] = TargetFactors(inertia.z, mass, inverse.z);
    const TLanes one = Splat(1.0f), dt = Splat(pass.Dt);
    pass.SharedImpulseKept = {one - dt / inertia.x, one - dt / inertia.y, one - dt / inertia.z};
}

TPassConstants MakePass(const TParticleEffectContainer& container, float dt, const TCameraAxes& camera) {
    TPassConstants pass;
    pass.Dt = dt;
    pass.Wind = Splat3(container.Wind);
    pass.Magnets = container.MagnetPoints.data();
    pass.MagnetCount = container.MagnetPoints.size();
    SetWorld(pass, container.World);
    pass.Debug = container.DebugMode;
    pass.DebugScale = container.DebugScale;
    static constexpr float cornerSigns[4][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
    for (int corner = 0; corner < 4; ++corner) {
        const float sx = cornerSigns[corner][0], sy = cornerSigns[corner][1];
        pass.CornerAxes[corner] = {sx * camera.Right.x + sy * camera.Up.x,
                                   sx * camera.Right.y + sy * camera.Up.y,
                                   sx * camera.Right.z + sy * camera.Up.z};
    }
    if (kSharedTargetShortcut) SetSharedTarget(pass, container.Particles);
    pass.Tiles = container.TextureTiles.data();
    pass.TileCount = std::uint32_t(container.TextureTiles.size());
    return pass;
}

// Streaming stores are weakly ordered: each thread fences its own before its part counts as done.
LUMIDOR_SWEEP_INLINE void FinishStreaming() {
#if LUMIDOR_SWEEP_STREAMING
    _mm_sfence();
#endif
}

// The group that starts at particle `index` (a multiple of kLanes).
LUMIDOR_SWEEP_INLINE TGroup GroupAt(TParticleFields particles, std::size_t index) {
    const std::size_t block = index / kParticleBlockLanes;
    return {particles.Blocks + block, particles.Cold + block, index % kParticleBlockLanes,
            particles.LifeLeft + index};
}

// Where the one-thread sweep puts a particle: particle `Source` ends the pass in slot `Hole`.
struct TMove {
    std::size_t Hole, Source;
};

// Scratch of the sweep, kept between frames so that a frame allocates nothing.
struct TParallelScratch {
    std::vector<std::vector<std::size_t>> Dead; // per range, ascending
    std::vector<TMove> Moves;                   // ascending holes
};

// First index of range r of `ranges` equal ranges over count items.
LUMIDOR_SWEEP_INLINE std::size_t RangeStart(std::size_t count, std::size_t ranges, std::size_t r) {
    return count * r / ranges;
}

// The same, rounded down to a whole pair of blocks, so that no block is written by two ranges.
LUMIDOR_SWEEP_INLINE std::size_t BlockRangeStart(std::size_t count, std::size_t ranges, std::size_t r) {
    constexpr std::size_t pair = 2 * kParticleBlockLanes; // a group of any width lies within one
    return r == ranges ? count : RangeStart(count, ranges, r) / pair * pair;
}

// Lists, ascending, the particles of [start, end) that die this frame: those whose life drops below
// zero, with the same operation as the step.
void ListTheDead(const float* lifeLeft, float dt, std::size_t start, std::size_t end,
                 std::vector<std::size_t>& dead) {
    dead.clear();
    std::size_t index = start;
    for (; index + kLanes <= end; index += kLanes) {
        const TMask dying = LoadLives(lifeLeft + index) - Splat(dt) < Splat(0.0f);
        if (!Any(dying)) continue;
        for (int lane = 0; lane < kLanes; ++lane) {
            if (dying[lane]) dead.push_back(index + std::size_t(lane));
        }
    }
    for (; index < end; ++index) {
        if (lifeLeft[index] - dt < 0.0f) dead.push_back(index);
    }
}

// A move also copies colour and debug tip, from a cold block the sweep does not otherwise read into
// another: fetched a couple of moves ahead, their lines are there when needed instead of stalling
// the stream of blocks.
constexpr std::ptrdiff_t kColdBlocksFetchedAhead = 2;

LUMIDOR_SWEEP_INLINE void FetchColdBlocks(TParticleFields particles, const TMove& move) {
    for (const std::size_t index : {move.Hole, move.Source}) {
        const auto* cold = reinterpret_cast<const char*>(particles.Cold + index / kParticleBlockLanes);
        for (std::size_t line = 0; line < sizeof(TParticleColdBlock); line += 64)
            __builtin_prefetch(cold + line);
    }
}

// Fills the holes among particles [first, first + lanes) from `move` on (ascending holes), each with
// its particle, not yet stepped, from above the final count, as the one-thread sweep's swap-removal
// would, just before the step brings the group's block into the cache anyway; then steps the group.
LUMIDOR_SWEEP_INLINE void FillAndStepGroup(const TPassConstants& pass, TParticleFields particles,
                                           std::size_t first, int lanes, const TMove*& move,
                                           const TMove* movesEnd, TParticleVertex* out) {
    const std::size_t groupEnd = first + std::size_t(lanes);
    for (; move != movesEnd && move->Hole < groupEnd; ++move) {
        if (movesEnd - move > kColdBlocksFetchedAhead)
            FetchColdBlocks(particles, move[kColdBlocksFetchedAhead]);
        CopyParticle(particles, move->Source, move->Hole);
    }
    for (std::size_t pad = groupEnd; pad < first + std::size_t(kLanes); ++pad)
        CopyParticle(particles, groupEnd - 1, pad);
    const TGroup group = GroupAt(particles, first);
    TTail tail = GatherTail(group);
    tail.LifeLeft = tail.LifeLeft - Splat(pass.Dt);
    Advance(pass, group, tail, lanes, out);
}

// Ages, fades, moves and writes particles [start, end) (start a multiple of the block size), all of
// which live on once their holes are filled (vertices of slot i at vertices + 4 (i - start)).
void StepFillingHoles(const TPassConstants& pass, TParticleFields particles, std::size_t start,
                      std::size_t end, const TMove* move, const TMove* movesEnd, TParticleVertex* vertices) {
    const auto out = [&](std::size_t first) { return vertices ? vertices + 4 * (first - start) : nullptr; };
    // Whole groups with the lane count known, which leaves out every check for a short group.
    std::size_t first = start;
    for (; end - first >= std::size_t(kLanes); first += kLanes)
        FillAndStepGroup(pass, particles, first, kLanes, move, movesEnd, out(first));
    if (first < end) FillAndStepGroup(pass, particles, first, int(end - first), move, movesEnd, out(first));
}

// Runs body(r) for every range r of `ranges`: on the host's workers, or here when there is one. The
// callback the host gets holds only a reference to the body, which std::function keeps without
// allocating.
template <typename Body>
LUMIDOR_SWEEP_INLINE void ForEachRange(const TTaskRunner& runner, std::size_t ranges, const Body& body) {
    if (ranges == 1) {
        body(std::int32_t(0));
    } else {
        runner.RunRanges(std::int32_t(ranges), [&body](std::int32_t r) { body(r); });
    }
}

// The sweep, on one thread or on the host's workers, with the result of ageing the particles in
// order and letting each dead one take the last particle in its place. Which particles die this
// frame depends only on each one's own life, and a particle's step does not depend on its slot. So
// the dead are listed from the lives alone first; those swap-removals are worked out from the lists
// (every hole below the final count takes the highest surviving particle from above it); and then
// the final particles are stepped where they end up, each hole filled just before its group is
// stepped, when the step is about to bring its block into the cache anyway.
std::size_t SweepInRanges(const TPassConstants& pass, TParticleFields particles, std::size_t count,
                          TParticleVertex* vertices, const TTaskRunner& runner, std::size_t ranges) {
    // The ranges run on other threads: they must reach this thread's scratch through a reference.
    static thread_local TParallelScratch callerScratch;
    TParallelScratch& scratch = callerScratch;
    // Lists are only ever added, so that containers swept with different numbers of ranges in one
    // frame do not free and allocate them again; the first `ranges` are this sweep's.
    if (scratch.Dead.size() < ranges) scratch.Dead.resize(ranges);
    const auto lists = std::span(scratch.Dead).first(ranges);
    ForEachRange(runner, ranges, [&](std::int32_t r) {
        ListTheDead(particles.LifeLeft, pass.Dt, RangeStart(count, ranges, std::size_t(r)),
                    RangeStart(count, ranges, std::size_t(r) + 1), lists[std::size_t(r)]);
    });

    std::size_t deaths = 0;
    for (const auto& dead : lists)
        deaths += dead.size();
    const std::size_t survivors = count - deaths;
    // Holes ascending; sources from the top down, skipping the dead (found from the last list back).
    scratch.Moves.clear();
    std::size_t source = count;
    std::size_t topList = ranges, topDead = 0; // next dead index from the top: Dead[topList - 1][topDead - 1]
    const auto nextDeadFromTop = [&]() -> std::size_t {
        while (topDead == 0 && topList > 0)
            topDead = lists[--topList].size();
        return topDead ? lists[topList][topDead - 1] : count;
    };
    for (const auto& dead : lists) {
        for (const std::size_t hole : dead) {
            if (hole >= survivors) break;
            for (;;) {
                --source;
                if (nextDeadFromTop() != source) break;
                --topDead;
            }
            scratch.Moves.push_back({hole, source});
        }
    }

    const TMove* moves = scratch.Moves.data();
    const TMove* movesEnd = moves + scratch.Moves.size();
    if (ranges == 1) {
        StepFillingHoles(pass, particles, 0, survivors, moves, movesEnd, vertices);
        return survivors;
    }
    // The ranges write only below the final count and read the holes' particles from above it. The
    // last group, if it is not whole, is stepped once they are all done: its spare lanes are written
    // as well, and those lie above the final count.
    const auto firstMoveFrom = [&](std::size_t index) {
        return std::lower_bound(moves, movesEnd, index,
                                [](const TMove& m, std::size_t i) { return m.Hole < i; });
    };
    const std::size_t whole = survivors / kLanes * kLanes;
    ForEachRange(runner, ranges, [&](std::int32_t r) {
        const std::size_t start = BlockRangeStart(whole, ranges, std::size_t(r));
        const std::size_t end = BlockRangeStart(whole, ranges, std::size_t(r) + 1);
        StepFillingHoles(pass, particles, start, end, firstMoveFrom(start), movesEnd,
                         vertices ? vertices + 4 * start : nullptr);
        FinishStreaming();
    });
    StepFillingHoles(pass, particles, whole, survivors, firstMoveFrom(whole), movesEnd,
                     vertices ? vertices + 4 * whole : nullptr);
    return survivors;
}

// The whole sweep: ages, removes, fades, moves and writes every particle of the container.
std::int32_t Sweep(TParticleEffectContainer& container, float dt, const TCameraAxes& camera,
                   TParticleVertex* vertices, const TTaskRunner& runner) {
    const TPassConstants pass = MakePass(container, dt, camera);
    TParticleArray& particles = container.Particles;
    const std::size_t count = particles.size();
    const std::size_t minimum = std::size_t(std::max<std::int32_t>(runner.MinimumParticlesPerRange, 1));
    const std::size_t ranges = runner.RunRanges && runner.Threads > 1
                                   ? std::min<std::size_t>(std::size_t(runner.Threads) * 4, count / minimum)
                                   : 1;
    const std::size_t survivors =
        SweepInRanges(pass, particles.Fields(), count, vertices, runner, std::max<std::size_t>(ranges, 1));
    FinishStreaming();
    particles.resize(survivors);
    return std::int32_t(4 * survivors);
}
