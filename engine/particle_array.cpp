#include "engine/particle_array.h"

#include "engine/particle_physics.h"
#include "engine/simulation.h"

#include <cmath>
#include <cstddef>
#include <cstring>

namespace lumidor {

// Every field of a particle kept in its block, by kind (LifeLeft, Color and DebugTip are kept
// apart); each use below expands one line per field.
#define LUMIDOR_SCALAR_FIELDS(X)                                                                             \
    X(Tile)                                                                                                  \
    X(Mass)                                                                                                  \
    X(LifeLength)                                                                                            \
    X(Alpha) X(FadeInAlpha) X(FadeOutAlpha) X(BeginFadeOut) X(EndFadeIn) X(AirResistance) X(FadeOut) X(FadeIn)
#define LUMIDOR_VECTOR_FIELDS(X)                                                                             \
    X(Position)                                                                                              \
    X(MagnetImpulse) X(Force) X(Velocity) X(Inertia) X(Enlargement) X(Size) X(MagnetForce)

namespace {

TVector3 ReadVector(const TBlockVector3& field, std::size_t lane) {
    return {field.x[lane], field.y[lane], field.z[lane]};
}

void WriteVector(TBlockVector3& field, std::size_t lane, const TVector3& value) {
    field.x[lane] = value.x;
    field.y[lane] = value.y;
    field.z[lane] = value.z;
}

TParticle ReadRecord(const TParticleBlock& block, const TParticleColdBlock& cold, float lifeLeft,
                     std::size_t lane) {
    TParticle record;
    record.LifeLeft = lifeLeft;
    record.Color = ReadVector(cold.Color, lane);
    record.DebugTip = ReadVector(cold.DebugTip, lane);
#define LUMIDOR_READ_SCALAR(field) record.field = block.field[lane];
#define LUMIDOR_READ_VECTOR(field) record.field = ReadVector(block.field, lane);
    LUMIDOR_SCALAR_FIELDS(LUMIDOR_READ_SCALAR)
    LUMIDOR_VECTOR_FIELDS(LUMIDOR_READ_VECTOR)
#undef LUMIDOR_READ_SCALAR
#undef LUMIDOR_READ_VECTOR
    return record;
}

void WriteRecord(TParticleBlock& block, TParticleColdBlock& cold, float& lifeLeft, std::size_t lane,
                 const TParticle& record) {
    lifeLeft = record.LifeLeft;
    WriteVector(cold.DebugTip, lane, record.DebugTip);
#define LUMIDOR_WRITE_SCALAR(field) block.field[lane] = record.field;
#define LUMIDOR_WRITE_VECTOR(field) WriteVector(block.field, lane, record.field);
    LUMIDOR_SCALAR_FIELDS(LUMIDOR_WRITE_SCALAR)
    LUMIDOR_VECTOR_FIELDS(LUMIDOR_WRITE_VECTOR)
#undef LUMIDOR_WRITE_SCALAR
#undef LUMIDOR_WRITE_VECTOR
    SetBlockColor(block, cold, lane, record.Color);
    SetBlockInertiaAndMass(block, lane, record.Inertia, record.Mass);
}

// The shared divisor of the target speed on one axis, as the sweep's physics forms it.
float TargetInverseOf(float inertia, float mass) {
    return physics::TargetInverse<4>(lanes::Splat<4>(inertia), lanes::Splat<4>(mass))[0];
}

template <typename T> bool SameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

void SetBlockColor(TParticleBlock& block, TParticleColdBlock& cold, std::size_t lane, const TVector3& color) {
    WriteVector(cold.Color, lane, color);
    block.ColorBytes[lane] = std::uint32_t(ColorChannelByte(color.x)) |
                             std::uint32_t(ColorChannelByte(color.y)) << 8 |
                             std::uint32_t(ColorChannelByte(color.z)) << 16;
}

void SetBlockInertiaAndMass(TParticleBlock& block, std::size_t lane, const TVector3& inertia, float mass) {
    WriteVector(block.Inertia, lane, inertia);
    block.Mass[lane] = mass;
    WriteVector(block.TargetInverse, lane,
                {TargetInverseOf(inertia.x, mass), TargetInverseOf(inertia.y, mass),
                 TargetInverseOf(inertia.z, mass)});
}

TParticleView::operator TParticle() const {
    return ReadRecord(Block, Cold, LifeLeft, Lane);
}

TParticleView& TParticleView::operator=(const TParticle& record) {
    WriteRecord(Block, Cold, LifeLeft, Lane, record);
    return *this;
}

TParticleView& TParticleView::operator=(const TParticleView& other) {
    return *this = TParticle(other);
}

TParticle TParticleArray::operator[](std::size_t index) const {
    const std::size_t block = index / kParticleBlockLanes;
    return ReadRecord(BlockStore[block], ColdStore[block], LifeStore[index], index % kParticleBlockLanes);
}

void TParticleArray::Grow(std::size_t blocks) {
    BlockStore.resize(blocks);
    ColdStore.resize(blocks);
    LifeStore.resize(blocks * kParticleBlockLanes);
}

void TParticleArray::push_back(const TParticle& particle) {
    // Blocks come in pairs: a sweep may read sixteen lanes from two blocks.
    if (Count == BlockStore.size() * kParticleBlockLanes) Grow(BlockStore.size() + 2);
    const std::size_t block = Count / kParticleBlockLanes;
    WriteRecord(BlockStore[block], ColdStore[block], LifeStore[Count], Count % kParticleBlockLanes, particle);
    ++Count;
}

void TParticleArray::clear() {
    Count = 0;
}

void TParticleArray::resize(std::size_t count) {
    if (count <= Count) {
        Count = count;
        return;
    }
    const std::size_t blocks = (count + 2 * kParticleBlockLanes - 1) / (2 * kParticleBlockLanes) * 2;
    BlockStore.reserve(blocks);
    ColdStore.reserve(blocks);
    LifeStore.reserve(blocks * kParticleBlockLanes);
    while (Count < count)
        push_back(TParticle{});
}

// A block is rows of eight 4-byte lanes, but for one row holding the two flags' eight bytes each.
constexpr std::size_t kRowBytes = 4 * kParticleBlockLanes;
constexpr std::size_t kFlagRow = offsetof(TParticleBlock, FadeOut) / kRowBytes;
static_assert(offsetof(TParticleBlock, FadeOut) % kRowBytes == 0 &&
                  offsetof(TParticleBlock, FadeIn) ==
                      offsetof(TParticleBlock, FadeOut) + kParticleBlockLanes &&
                  offsetof(TParticleBlock, Alpha) == offsetof(TParticleBlock, FadeOut) + kRowBytes,
              "the flags share one row");
static_assert(sizeof(TParticleBlock) % kRowBytes == 0);
static_assert(sizeof(TParticleBlock) == 19 * 64, "a block is whole cache lines, with no padding to read");
static_assert(sizeof(TParticleColdBlock) == 3 * 64 && sizeof(TParticleColdBlock) % kRowBytes == 0);

void CopyParticle(TParticleFields particles, std::size_t from, std::size_t to) {
    // Lane by lane, derived values included: a dying particle's slot takes the last one as it is.
    particles.LifeLeft[to] = particles.LifeLeft[from];
    const auto* source =
        reinterpret_cast<const unsigned char*>(particles.Blocks + from / kParticleBlockLanes);
    auto* target = reinterpret_cast<unsigned char*>(particles.Blocks + to / kParticleBlockLanes);
    const std::size_t fromLane = from % kParticleBlockLanes, toLane = to % kParticleBlockLanes;
    for (std::size_t row = 0; row < sizeof(TParticleBlock) / kRowBytes; ++row) {
        const std::size_t base = row * kRowBytes;
        if (row == kFlagRow) {
            target[base + toLane] = source[base + fromLane];
            target[base + kParticleBlockLanes + toLane] = source[base + kParticleBlockLanes + fromLane];
        } else {
            std::memcpy(target + base + 4 * toLane, source + base + 4 * fromLane, 4);
        }
    }
    const auto* coldSource =
        reinterpret_cast<const unsigned char*>(particles.Cold + from / kParticleBlockLanes);
    auto* coldTarget = reinterpret_cast<unsigned char*>(particles.Cold + to / kParticleBlockLanes);
    for (std::size_t base = 0; base < sizeof(TParticleColdBlock); base += kRowBytes)
        std::memcpy(coldTarget + base + 4 * toLane, coldSource + base + 4 * fromLane, 4);
}

bool SameParticleBits(const TParticle& x, const TParticle& y) {
#define LUMIDOR_SAME_FIELD(field)                                                                            \
    if (!SameBits(x.field, y.field)) return false;
    LUMIDOR_SAME_FIELD(LifeLeft)
    LUMIDOR_SAME_FIELD(Color)
    LUMIDOR_SAME_FIELD(DebugTip)
    LUMIDOR_SCALAR_FIELDS(LUMIDOR_SAME_FIELD)
    LUMIDOR_VECTOR_FIELDS(LUMIDOR_SAME_FIELD)
#undef LUMIDOR_SAME_FIELD
    return true;
}

bool SameParticleBits(const TParticleArray& a, const TParticleArray& b, std::size_t count) {
    if (a.size() < count || b.size() < count) return false;
    for (std::size_t i = 0; i < count; ++i) {
        if (!SameParticleBits(a[i], b[i])) return false;
    }
    return true;
}

bool SameParticleBits(const TParticleArray& a, const TParticleArray& b) {
    return a.size() == b.size() && SameParticleBits(a, b, a.size());
}

} // namespace lumidor
