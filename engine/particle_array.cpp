#include "engine/particle_array.h"

#include "engine/particle_blocks.h"
#include "engine/particle_physics.h"
#include "engine/simulation.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

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

TParticleBlock& HotBlock(TParticleStorage& storage, std::size_t index) {
    return storage.Blocks[index / kParticleBlockLanes];
}

TParticleColdBlock& ColdBlock(TParticleStorage& storage, std::size_t index) {
    return storage.Cold[index / kParticleBlockLanes];
}

TParticleTurnBlock& TurnBlock(TParticleStorage& storage, std::size_t index) {
    return storage.Turn[index / kParticleBlockLanes];
}

// The view of particle `index`'s value in `field`, the field of the block holding it.
TVector3View FieldView(TBlockVector3& field, std::size_t index) {
    const std::size_t lane = index % kParticleBlockLanes;
    return {field.x[lane], field.y[lane], field.z[lane]};
}

TConstVector3View ConstFieldView(const TBlockVector3& field, std::size_t index) {
    const std::size_t lane = index % kParticleBlockLanes;
    return {field.x[lane], field.y[lane], field.z[lane]};
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

TParticleView::TParticleView(TParticleStorage& storage, std::size_t index)
    : Tile(HotBlock(storage, index).Tile[index % kParticleBlockLanes]),
      Position(FieldView(HotBlock(storage, index).Position, index)),
      DebugTip(FieldView(ColdBlock(storage, index).DebugTip, index)),
      MagnetImpulse(FieldView(HotBlock(storage, index).MagnetImpulse, index)),
      Force(FieldView(HotBlock(storage, index).Force, index)),
      Velocity(FieldView(HotBlock(storage, index).Velocity, index)),
      Inertia(ConstFieldView(HotBlock(storage, index).Inertia, index)),
      Enlargement(FieldView(HotBlock(storage, index).Enlargement, index)),
      Size(FieldView(HotBlock(storage, index).Size, index)),
      Color(ConstFieldView(ColdBlock(storage, index).Color, index)),
      MagnetForce(FieldView(HotBlock(storage, index).MagnetForce, index)),
      Mass(HotBlock(storage, index).Mass[index % kParticleBlockLanes]),
      LifeLength(HotBlock(storage, index).LifeLength[index % kParticleBlockLanes]),
      LifeLeft(storage.LifeLeft[index]), Alpha(HotBlock(storage, index).Alpha[index % kParticleBlockLanes]),
      FadeInAlpha(HotBlock(storage, index).FadeInAlpha[index % kParticleBlockLanes]),
      FadeOutAlpha(HotBlock(storage, index).FadeOutAlpha[index % kParticleBlockLanes]),
      BeginFadeOut(HotBlock(storage, index).BeginFadeOut[index % kParticleBlockLanes]),
      EndFadeIn(HotBlock(storage, index).EndFadeIn[index % kParticleBlockLanes]),
      AirResistance(HotBlock(storage, index).AirResistance[index % kParticleBlockLanes]),
      FadeOut(HotBlock(storage, index).FadeOut[index % kParticleBlockLanes]),
      FadeIn(HotBlock(storage, index).FadeIn[index % kParticleBlockLanes]),
      Angle(TurnBlock(storage, index).Angle[index % kParticleBlockLanes]),
      Spin(TurnBlock(storage, index).Spin[index % kParticleBlockLanes]), Storage(storage), Index(index) {}

TParticleView::operator TParticle() const {
    const std::size_t block = Index / kParticleBlockLanes;
    return ReadRecord(Storage.Blocks[block], Storage.Cold[block], LifeLeft, Index % kParticleBlockLanes);
}

TParticleView& TParticleView::operator=(const TParticle& record) {
    const std::size_t block = Index / kParticleBlockLanes;
    WriteRecord(Storage.Blocks[block], Storage.Cold[block], LifeLeft, Index % kParticleBlockLanes, record);
    return *this;
}

TParticleView& TParticleView::operator=(const TParticleView& other) {
    *this = TParticle(other);
    Angle = other.Angle;
    Spin = other.Spin;
    return *this;
}

TParticleArray::TParticleArray() = default;

TParticleArray::TParticleArray(const TParticleArray& other)
    : Storage(other.Storage ? std::make_unique<TParticleStorage>(*other.Storage) : nullptr),
      Count(other.Count) {}

TParticleArray::TParticleArray(TParticleArray&& other) noexcept
    : Storage(std::move(other.Storage)), Count(std::exchange(other.Count, 0)) {}

TParticleArray& TParticleArray::operator=(const TParticleArray& other) {
    if (this != &other) *this = TParticleArray(other);
    return *this;
}

TParticleArray& TParticleArray::operator=(TParticleArray&& other) noexcept {
    Storage = std::move(other.Storage);
    Count = std::exchange(other.Count, 0);
    return *this;
}

TParticleArray::~TParticleArray() = default;

TParticleView TParticleArray::operator[](std::size_t index) {
    return {*Storage, index};
}

TParticle TParticleArray::operator[](std::size_t index) const {
    const std::size_t block = index / kParticleBlockLanes;
    return ReadRecord(Storage->Blocks[block], Storage->Cold[block], Storage->LifeLeft[index],
                      index % kParticleBlockLanes);
}

TParticleFields TParticleArray::Fields() {
    if (!Storage) return {nullptr, nullptr, nullptr, nullptr, nullptr};
    return {Storage->Blocks.data(), Storage->Cold.data(), Storage->LifeLeft.data(), Storage->Turn.data(),
            Storage->Trail.Ring > 0 ? &Storage->Trail : nullptr};
}

void AdviseHugePages(void* p, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Advice only: where the kernel has no huge pages the memory is simply used as it comes.
    madvise(p, bytes, MADV_HUGEPAGE);
#else
    (void)p;
    (void)bytes;
#endif
}

TParticleStorage& TParticleArray::Grow(std::size_t blocks) {
    if (!Storage) Storage = std::make_unique<TParticleStorage>();
    Storage->Blocks.resize(blocks);
    Storage->Cold.resize(blocks);
    Storage->Turn.resize(blocks);
    Storage->LifeLeft.resize(blocks * kParticleBlockLanes);
    FitTrailHistory(*Storage);
    return *Storage;
}

void TParticleArray::push_back(const TParticle& particle) {
    // Blocks come in pairs: a sweep may read sixteen lanes from two blocks.
    const std::size_t blocks = Storage ? Storage->Blocks.size() : 0;
    TParticleStorage& storage = Count == blocks * kParticleBlockLanes ? Grow(blocks + 2) : *Storage;
    const std::size_t block = Count / kParticleBlockLanes;
    WriteRecord(storage.Blocks[block], storage.Cold[block], storage.LifeLeft[Count],
                Count % kParticleBlockLanes, particle);
    // A record carries no angle: a new particle starts unturned.
    storage.Turn[block].Angle[Count % kParticleBlockLanes] = 0.0f;
    storage.Turn[block].Spin[Count % kParticleBlockLanes] = 0.0f;
    ClearTrails(storage.Trail, Count, Count + 1);
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
    if (!Storage) Storage = std::make_unique<TParticleStorage>();
    Storage->Blocks.reserve(blocks);
    Storage->Cold.reserve(blocks);
    Storage->Turn.reserve(blocks);
    Storage->LifeLeft.reserve(blocks * kParticleBlockLanes);
    while (Count < count)
        push_back(TParticle{});
}

std::size_t TParticleArray::AppendUnwritten(std::size_t count) {
    const std::size_t first = Count;
    const std::size_t pair = 2 * kParticleBlockLanes;
    const std::size_t blocks = (first + count + pair - 1) / pair * 2;
    // The vectors grow their capacity geometrically, so that appending in turns stays linear.
    if (!Storage || Storage->Blocks.size() < blocks) Grow(blocks);
    ClearTrails(Storage->Trail, first, first + count);
    Count += count;
    return first;
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
static_assert(sizeof(TParticleTurnBlock) == 64, "a turn block is one cache line");

void CopyParticle(TParticleFields source, std::size_t from, TParticleFields target, std::size_t to) {
    // Lane by lane, derived values included: a dying particle's slot takes the last one as it is.
    target.LifeLeft[to] = source.LifeLeft[from];
    const auto* hotSource =
        reinterpret_cast<const unsigned char*>(source.Blocks + from / kParticleBlockLanes);
    auto* hotTarget = reinterpret_cast<unsigned char*>(target.Blocks + to / kParticleBlockLanes);
    const std::size_t fromLane = from % kParticleBlockLanes, toLane = to % kParticleBlockLanes;
    for (std::size_t row = 0; row < sizeof(TParticleBlock) / kRowBytes; ++row) {
        const std::size_t base = row * kRowBytes;
        if (row == kFlagRow) {
            hotTarget[base + toLane] = hotSource[base + fromLane];
            hotTarget[base + kParticleBlockLanes + toLane] = hotSource[base + kParticleBlockLanes + fromLane];
        } else {
            std::memcpy(hotTarget + base + 4 * toLane, hotSource + base + 4 * fromLane, 4);
        }
    }
    const auto* coldSource = reinterpret_cast<const unsigned char*>(source.Cold + from / kParticleBlockLanes);
    auto* coldTarget = reinterpret_cast<unsigned char*>(target.Cold + to / kParticleBlockLanes);
    for (std::size_t base = 0; base < sizeof(TParticleColdBlock); base += kRowBytes)
        std::memcpy(coldTarget + base + 4 * toLane, coldSource + base + 4 * fromLane, 4);
    const TParticleTurnBlock& turnSource = source.Turn[from / kParticleBlockLanes];
    TParticleTurnBlock& turnTarget = target.Turn[to / kParticleBlockLanes];
    turnTarget.Angle[toLane] = turnSource.Angle[fromLane];
    turnTarget.Spin[toLane] = turnSource.Spin[fromLane];
    if (target.Trail) CopyTrail(source.Trail, from, *target.Trail, to);
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
        const std::size_t block = i / kParticleBlockLanes, lane = i % kParticleBlockLanes;
        const TParticleTurnBlock &x = a.Blocks().Turn[block], &y = b.Blocks().Turn[block];
        if (!SameBits(x.Angle[lane], y.Angle[lane]) || !SameBits(x.Spin[lane], y.Spin[lane])) return false;
    }
    return true;
}

bool SameParticleBits(const TParticleArray& a, const TParticleArray& b) {
    return a.size() == b.size() && SameParticleBits(a, b, a.size());
}

} // namespace lumidor
