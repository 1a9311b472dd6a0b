#pragma once
// The particles of a container, kept in blocks of eight with each field's eight values side by
// side, so that the sweep reads one field of eight particles as one vector. Callers address
// particles by index, as in a vector of TParticle: a mutable index gives a view whose fields are
// references into the blocks, a const index gives a copy of the record.

#include "engine/vector.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace lumidor {

/// Allocates on 64-byte boundaries, as a driver maps a vertex buffer.
template <typename T> struct TCacheLineAllocator {
    using value_type = T; ///< what is allocated
    TCacheLineAllocator() = default;
    /// Rebinding, as containers do.
    template <typename U> TCacheLineAllocator(const TCacheLineAllocator<U>&) {}
    /// Room for n values.
    T* allocate(std::size_t n) {
        return static_cast<T*>(::operator new (n * sizeof(T), std::align_val_t{64}));
    }
    /// Returns what allocate gave.
    void deallocate(T* p, std::size_t) { ::operator delete (p, std::align_val_t{64}); }
    /// Every instance frees what any other allocated.
    bool operator==(const TCacheLineAllocator&) const { return true; }
};

/// One billboard particle. Defaults are those AddParticle gives a new particle.
struct TParticle {
    std::int32_t Tile = 0;      ///< index into the container's TextureTiles
    TVector3 Position;          ///< centre of the billboard, world units
    TVector3 DebugTip;          ///< far end of the debug line; written only in debug mode
    TVector3 MagnetImpulse;     ///< decaying accumulator through which magnet points act
    TVector3 Force;             ///< per-axis driving force: acceleration and target speed
    TVector3 Velocity;          ///< units per second
    TVector3 Inertia{1, 1, 1};  ///< per-axis inertia, >= 0.1 when set through the setter
    TVector3 Enlargement;       ///< growth of Size per second
    TVector3 Size;              ///< x: extent along world x; y: along world y and z; z never drawn
    TVector3 Color;             ///< red, green, blue in 0..1
    TVector3 MagnetForce;       ///< magnet contributions of the current step
    float Mass = 1.0f;          ///< never negative
    float LifeLength = 0.0f;    ///< total life, seconds
    float LifeLeft = 0.0f;      ///< remaining life, seconds; removed once below 0
    float Alpha = 0.0f;         ///< opacity drawn this frame: FadeInAlpha + FadeOutAlpha
    float FadeInAlpha = 0.0f;   ///< contribution of the fade-in ramp
    float FadeOutAlpha = 1.0f;  ///< contribution of the fade-out ramp
    float BeginFadeOut = 0.0f;  ///< fraction of LifeLength after which fading out starts
    float EndFadeIn = 0.0f;     ///< fraction of LifeLength over which fading in runs
    float AirResistance = 0.0f; ///< fraction of velocity lost per second
    bool FadeOut = true;        ///< fade-out ramp enabled
    bool FadeIn = true;         ///< fade-in ramp enabled
};

/// Particles per block.
constexpr std::size_t kParticleBlockLanes = 8;

/// One vector field of a block: the eight x values, then the eight y and the eight z values.
struct TBlockVector3 {
    float x[kParticleBlockLanes]; ///< x of each particle of the block
    float y[kParticleBlockLanes]; ///< y of each particle of the block
    float z[kParticleBlockLanes]; ///< z of each particle of the block
};

/// Eight particles, field by field (see TParticle for each field's meaning), plus two values derived
/// from fields that only change through AddParticle and the setters. Every array is 32 bytes, so each
/// field of a block is one aligned 8-lane (or two 4-lane) vector. The fields follow the order in which
/// the per-frame sweep first touches them, so that it reads each block front to back, which is what
/// the processor's prefetchers follow from main memory. LifeLeft, Color and DebugTip are kept apart.
/// LifeLeft lives in one array for the whole array of particles (TParticleFields), so that which
/// particles die in a frame can be found by reading four bytes a particle. Colour and debug tip, which
/// the sweep writes only in debug mode, live in blocks of their own (TParticleColdBlock): inside the
/// block, the prefetchers streamed their three lines in from main memory with the rest although the
/// sweep never read them. A block is exactly 19 cache lines, and the sweep reads every one.
struct alignas(64) TParticleBlock {
    float Mass[kParticleBlockLanes];               ///< TParticle::Mass of each particle
    float LifeLength[kParticleBlockLanes];         ///< TParticle::LifeLength of each particle
    float FadeInAlpha[kParticleBlockLanes];        ///< TParticle::FadeInAlpha of each particle
    float FadeOutAlpha[kParticleBlockLanes];       ///< TParticle::FadeOutAlpha of each particle
    float BeginFadeOut[kParticleBlockLanes];       ///< TParticle::BeginFadeOut of each particle
    float EndFadeIn[kParticleBlockLanes];          ///< TParticle::EndFadeIn of each particle
    float AirResistance[kParticleBlockLanes];      ///< TParticle::AirResistance of each particle
    bool FadeOut[kParticleBlockLanes];             ///< TParticle::FadeOut of each particle
    bool FadeIn[kParticleBlockLanes];              ///< TParticle::FadeIn of each particle
    alignas(32) float Alpha[kParticleBlockLanes];  ///< TParticle::Alpha of each particle
    std::int32_t Tile[kParticleBlockLanes];        ///< TParticle::Tile of each particle
    std::uint32_t ColorBytes[kParticleBlockLanes]; ///< Color as R, G, B bytes of a vertex (alpha byte 0)
    TBlockVector3 Position;                        ///< TParticle::Position of each particle
    TBlockVector3 MagnetImpulse;                   ///< TParticle::MagnetImpulse of each particle
    TBlockVector3 Force;                           ///< TParticle::Force of each particle
    TBlockVector3 Inertia;                         ///< TParticle::Inertia of each particle
    /// Per axis 1 / ((I + 1) (10 I m + 1) (I m + 1)) of the particle's inertia and mass, the shared
    /// divisor of its target speed; NaN where that product reaches 2^126 (or is NaN).
    TBlockVector3 TargetInverse;
    TBlockVector3 Velocity;    ///< TParticle::Velocity of each particle
    TBlockVector3 Size;        ///< TParticle::Size of each particle
    TBlockVector3 Enlargement; ///< TParticle::Enlargement of each particle
    TBlockVector3 MagnetForce; ///< TParticle::MagnetForce of each particle
};

/// The fields of the eight particles of a TParticleBlock that the sweep only writes in debug mode
/// and otherwise leaves alone: colour (the block keeps its vertex bytes) and debug tip.
struct alignas(64) TParticleColdBlock {
    TBlockVector3 Color;    ///< TParticle::Color of each particle
    TBlockVector3 DebugTip; ///< TParticle::DebugTip of each particle
};

/// One particle's vector field inside a block: x, y and z refer to the block's values.
struct TVector3View {
    float& x; ///< the particle's x
    float& y; ///< the particle's y
    float& z; ///< the particle's z

    /// The view of `field` for the particle in `lane`.
    TVector3View(TBlockVector3& field, std::size_t lane)
        : x(field.x[lane]), y(field.y[lane]), z(field.z[lane]) {}
    /// The view of the same field (views are not rebound: see operator=).
    TVector3View(const TVector3View&) = default;
    /// The current value.
    operator TVector3() const { return {x, y, z}; }
    /// Stores a value into the block.
    TVector3View& operator=(const TVector3& value) {
        x = value.x;
        y = value.y;
        z = value.z;
        return *this;
    }
    /// Stores the other view's value (it is not rebound).
    TVector3View& operator=(const TVector3View& other) { return *this = TVector3(other); }
};

/// A read-only view of one particle's vector field: for the fields set only through AddParticle
/// and the setters, which keep the values derived from them up to date.
struct TConstVector3View {
    const float& x; ///< the particle's x
    const float& y; ///< the particle's y
    const float& z; ///< the particle's z

    /// The view of `field` for the particle in `lane`.
    TConstVector3View(const TBlockVector3& field, std::size_t lane)
        : x(field.x[lane]), y(field.y[lane]), z(field.z[lane]) {}
    /// The current value.
    operator TVector3() const { return {x, y, z}; }
};

/// One particle inside the array, field by field as in TParticle; every field refers to the block.
/// Color, Inertia and Mass are read only: set them with AddParticle, SetParticleInertia and
/// SetParticleMass, or assign a whole record. A view stays valid until the array grows.
struct TParticleView {
    std::int32_t& Tile;         ///< TParticle::Tile
    TVector3View Position;      ///< TParticle::Position
    TVector3View DebugTip;      ///< TParticle::DebugTip
    TVector3View MagnetImpulse; ///< TParticle::MagnetImpulse
    TVector3View Force;         ///< TParticle::Force
    TVector3View Velocity;      ///< TParticle::Velocity
    TConstVector3View Inertia;  ///< TParticle::Inertia
    TVector3View Enlargement;   ///< TParticle::Enlargement
    TVector3View Size;          ///< TParticle::Size
    TConstVector3View Color;    ///< TParticle::Color
    TVector3View MagnetForce;   ///< TParticle::MagnetForce
    const float& Mass;          ///< TParticle::Mass
    float& LifeLength;          ///< TParticle::LifeLength
    float& LifeLeft;            ///< TParticle::LifeLeft
    float& Alpha;               ///< TParticle::Alpha
    float& FadeInAlpha;         ///< TParticle::FadeInAlpha
    float& FadeOutAlpha;        ///< TParticle::FadeOutAlpha
    float& BeginFadeOut;        ///< TParticle::BeginFadeOut
    float& EndFadeIn;           ///< TParticle::EndFadeIn
    float& AirResistance;       ///< TParticle::AirResistance
    bool& FadeOut;              ///< TParticle::FadeOut
    bool& FadeIn;               ///< TParticle::FadeIn

    /// The view of the particle in `lane` of `block` and of `cold`, whose remaining life is `lifeLeft`.
    TParticleView(TParticleBlock& block, TParticleColdBlock& cold, float& lifeLeft, std::size_t lane)
        : Tile(block.Tile[lane]), Position(block.Position, lane), DebugTip(cold.DebugTip, lane),
          MagnetImpulse(block.MagnetImpulse, lane), Force(block.Force, lane), Velocity(block.Velocity, lane),
          Inertia(block.Inertia, lane), Enlargement(block.Enlargement, lane), Size(block.Size, lane),
          Color(cold.Color, lane), MagnetForce(block.MagnetForce, lane), Mass(block.Mass[lane]),
          LifeLength(block.LifeLength[lane]), LifeLeft(lifeLeft), Alpha(block.Alpha[lane]),
          FadeInAlpha(block.FadeInAlpha[lane]), FadeOutAlpha(block.FadeOutAlpha[lane]),
          BeginFadeOut(block.BeginFadeOut[lane]), EndFadeIn(block.EndFadeIn[lane]),
          AirResistance(block.AirResistance[lane]), FadeOut(block.FadeOut[lane]), FadeIn(block.FadeIn[lane]),
          Block(block), Cold(cold), Lane(lane) {}
    /// The view of the same particle (views are not rebound: see operator=).
    TParticleView(const TParticleView&) = default;
    /// The current record.
    operator TParticle() const;
    /// Stores a whole record into the block.
    TParticleView& operator=(const TParticle& record);
    /// Stores the other particle's record (the view is not rebound).
    TParticleView& operator=(const TParticleView& other);

  private:
    TParticleBlock& Block;
    TParticleColdBlock& Cold;
    std::size_t Lane;
};

/// Stores `color` (0..1 per channel) for the particle in `lane` of `cold`, and its vertex bytes in `block`.
void SetBlockColor(TParticleBlock& block, TParticleColdBlock& cold, std::size_t lane, const TVector3& color);
/// Stores inertia and mass for the particle in `lane` of `block`, with the target divisor they give.
void SetBlockInertiaAndMass(TParticleBlock& block, std::size_t lane, const TVector3& inertia, float mass);

/// Where the particles of an array live: particle i is lane i % 8 of Blocks[i / 8] and of
/// Cold[i / 8], and its remaining life is LifeLeft[i].
struct TParticleFields {
    TParticleBlock* Blocks;   ///< every field but LifeLeft, Color and DebugTip, eight particles a block
    TParticleColdBlock* Cold; ///< Color and DebugTip, eight particles a block
    float* LifeLeft;          ///< TParticle::LifeLeft of each particle, in index order
};

/// The particle array: appending keeps earlier indices, removal is swap-with-last, and the last
/// index is the particle added last. Lanes past the count in the last block hold no particle.
class TParticleArray {
  public:
    /// Number of particles.
    std::size_t size() const { return Count; }
    /// True without particles.
    bool empty() const { return Count == 0; }
    /// The particle at `index` (< size()), as a view into the blocks.
    TParticleView operator[](std::size_t index) {
        return {BlockStore[index / kParticleBlockLanes], ColdStore[index / kParticleBlockLanes],
                LifeStore[index], index % kParticleBlockLanes};
    }
    /// The block holding particle `index` (< size()); the particle is its lane index % 8.
    TParticleBlock& BlockOf(std::size_t index) { return BlockStore[index / kParticleBlockLanes]; }
    /// A copy of the particle at `index` (< size()).
    TParticle operator[](std::size_t index) const;
    /// The particle added last; the array must not be empty.
    TParticleView back() { return (*this)[Count - 1]; }
    /// A copy of the particle added last; the array must not be empty.
    TParticle back() const { return (*this)[Count - 1]; }
    /// Appends a particle at index size().
    void push_back(const TParticle& particle);
    /// Removes the last particle.
    void pop_back() { --Count; }
    /// Removes every particle; the blocks stay allocated for the next ones.
    void clear();
    /// Keeps the first `count` particles, or appends default particles up to `count`.
    void resize(std::size_t count);

    /// The blocks; particle i is lane i % 8 of block i / 8 (its remaining life, colour and debug tip are
    /// in Fields()).
    TParticleBlock* Blocks() { return BlockStore.data(); }
    /// The blocks, read only.
    const TParticleBlock* Blocks() const { return BlockStore.data(); }
    /// The blocks, the cold blocks and the remaining lives, for code that works on many particles at once.
    TParticleFields Fields() { return {BlockStore.data(), ColdStore.data(), LifeStore.data()}; }
    /// Number of blocks in use: size() / 8 rounded up.
    std::size_t BlockCount() const { return (Count + kParticleBlockLanes - 1) / kParticleBlockLanes; }

    /// Index-based iteration yielding views (mutable array) or copies (const array).
    template <typename Array, typename Value> struct TIterator {
        Array* Owner;      ///< the array iterated
        std::size_t Index; ///< current particle
        /// The current particle.
        Value operator*() const { return (*Owner)[Index]; }
        /// Next particle.
        TIterator& operator++() {
            ++Index;
            return *this;
        }
        /// True when both stand at the same index.
        bool operator==(const TIterator& other) const { return Index == other.Index; }
    };
    /// First particle (views).
    TIterator<TParticleArray, TParticleView> begin() { return {this, 0}; }
    /// Past the last particle.
    TIterator<TParticleArray, TParticleView> end() { return {this, Count}; }
    /// First particle (copies).
    TIterator<const TParticleArray, TParticle> begin() const { return {this, 0}; }
    /// Past the last particle.
    TIterator<const TParticleArray, TParticle> end() const { return {this, Count}; }

  private:
    void Grow(std::size_t blocks);

    std::vector<TParticleBlock> BlockStore;
    std::vector<TParticleColdBlock> ColdStore;                // one per block of BlockStore
    std::vector<float, TCacheLineAllocator<float>> LifeStore; // one per lane of BlockStore
    std::size_t Count = 0;
};

/// Copies particle `from` to particle `to` of the same particles, field by field.
void CopyParticle(TParticleFields particles, std::size_t from, std::size_t to);

/// True when every field of both records has the same bits (so NaN equals the same NaN, 0 differs from -0).
bool SameParticleBits(const TParticle& a, const TParticle& b);
/// True when both arrays hold the same number of particles, each with the same bits as its counterpart.
bool SameParticleBits(const TParticleArray& a, const TParticleArray& b);
/// True when both arrays hold at least `count` particles and the first `count` have the same bits.
bool SameParticleBits(const TParticleArray& a, const TParticleArray& b, std::size_t count);

} // namespace lumidor
