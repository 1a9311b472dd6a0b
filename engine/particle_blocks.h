#pragma once
// How a TParticleArray keeps its particles: blocks of eight, each field's eight values side by side,
// so that the sweep reads one field of eight particles as one vector. This header is the engine's
// own and is not installed: the layout may change for speed without changing the public interface,
// which addresses particles by index only (engine/particle_array.h).

#include "engine/particle_array.h"
#include "engine/vector.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace lumidor {

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

/// The angle and spin of the eight particles of a TParticleBlock, kept apart so that only the sweep of
/// a container whose particles turn (TParticleEffectContainer::Rotating) reads them: one cache line
/// a block, which the plain sweep never touches.
struct alignas(64) TParticleTurnBlock {
    float Angle[kParticleBlockLanes]; ///< TParticleView::Angle of each particle, degrees
    float Spin[kParticleBlockLanes];  ///< TParticleView::Spin of each particle, degrees per second
};

/// Asks the kernel for huge pages under [p, p + bytes) where it offers them; nothing elsewhere.
void AdviseHugePages(void* p, std::size_t bytes);

/// Allocates particle blocks; a large array (4 MiB and more) on 2 MiB boundaries, and on Linux the kernel
/// is asked to back it with huge pages: a million particles are 176 MB, and touching them first page by
/// 4 KiB page costs more than writing them.
template <typename T> struct TBlockAllocator {
    using value_type = T; ///< what is allocated
    TBlockAllocator() = default;
    /// Rebinding, as containers do.
    template <typename U> TBlockAllocator(const TBlockAllocator<U>&) {}
    /// Room for n values.
    T* allocate(std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kLargeBytes) return static_cast<T*>(::operator new (bytes, std::align_val_t{alignof(T)}));
        void* p = ::operator new (bytes, std::align_val_t{kHugePage});
        AdviseHugePages(p, bytes);
        return static_cast<T*>(p);
    }
    /// Returns what allocate gave.
    void deallocate(T* p, std::size_t n) {
        if (n * sizeof(T) < kLargeBytes) {
            ::operator delete (p, std::align_val_t{alignof(T)});
        } else {
            ::operator delete (p, std::align_val_t{kHugePage});
        }
    }
    /// Every instance frees what any other allocated.
    bool operator==(const TBlockAllocator&) const { return true; }

    static constexpr std::size_t kHugePage = std::size_t(2) << 20;   ///< alignment of a large array
    static constexpr std::size_t kLargeBytes = std::size_t(4) << 20; ///< from here an array is large
};

/// The recent positions of an array's particles, which its container's trails are drawn through
/// (engine/particle_trails.h). Every particle records at the same moments into a ring shared by the
/// array: entry r of slot s is Positions[s * Ring + r], the latest recording is entry Newest, and slot
/// s owns the Owned[s] latest entries (a newborn none). Kept beside the blocks so that whatever moves
/// or copies a particle moves or copies its trail. Ring 0: no history, nothing allocated.
struct TParticleTrailHistory {
    std::int32_t Ring = 0;   ///< entries a slot keeps: the trail's points but the particle's own, 0..63
    std::size_t Limit = 0;   ///< slots from this one up keep no trail (the container's MaxParticles)
    std::size_t Slots = 0;   ///< slots with room: the lanes of the blocks, at most Limit
    std::int32_t Newest = 0; ///< ring entry of the latest recording
    double Clock = 0.0;      ///< seconds of passes since the latest recording
    std::vector<TVector3> Positions; ///< Slots x Ring positions, world units, slot after slot
    /// Per slot, how many of the ring's latest entries are its own (at most Ring).
    std::vector<std::uint8_t> Owned;
};

/// Where the particles of an array live: particle i is lane i % 8 of Blocks[i / 8] and of
/// Cold[i / 8] and Turn[i / 8], and its remaining life is LifeLeft[i]. All null while the array never
/// held a particle.
struct TParticleFields {
    TParticleBlock* Blocks;       ///< every field but LifeLeft, Color and DebugTip, eight particles a block
    TParticleColdBlock* Cold;     ///< Color and DebugTip, eight particles a block
    float* LifeLeft;              ///< TParticle::LifeLeft of each particle, in index order
    TParticleTurnBlock* Turn;     ///< angle and spin, eight particles a block
    TParticleTrailHistory* Trail; ///< the particles' recent positions; null when they keep none
};

/// What a TParticleArray owns. Blocks come in pairs (a sweep may read sixteen lanes from two blocks);
/// lanes past the array's count hold no particle.
struct TParticleStorage {
    std::vector<TParticleBlock, TBlockAllocator<TParticleBlock>> Blocks; ///< the particles, eight a block
    std::vector<TParticleColdBlock, TBlockAllocator<TParticleColdBlock>> Cold; ///< one per block of Blocks
    std::vector<float, TCacheLineAllocator<float>> LifeLeft;                   ///< one per lane of Blocks
    std::vector<TParticleTurnBlock, TBlockAllocator<TParticleTurnBlock>> Turn; ///< one per block of Blocks
    TParticleTrailHistory Trail; ///< recent positions, for trails; Ring 0 without

    /// Block `block` (< Blocks.size()).
    const TParticleBlock& operator[](std::size_t block) const { return Blocks[block]; }
};

/// The block holding particle `index` (< size()) of `particles`; the particle is its lane index % 8.
inline TParticleBlock& BlockOf(TParticleArray& particles, std::size_t index) {
    return particles.Fields().Blocks[index / kParticleBlockLanes];
}

/// Stores `color` (0..1 per channel) for the particle in `lane` of `cold`, and its vertex bytes in `block`.
void SetBlockColor(TParticleBlock& block, TParticleColdBlock& cold, std::size_t lane, const TVector3& color);
/// Stores inertia and mass for the particle in `lane` of `block`, with the target divisor they give.
void SetBlockInertiaAndMass(TParticleBlock& block, std::size_t lane, const TVector3& inertia, float mass);

/// Sets the history up for trails of `points` points (0, or 2 to 64) kept by slots below `limit`,
/// every trail empty; a history of the same shape is left as it is. Points below 2: none is kept.
void ShapeTrailHistory(TParticleStorage& storage, std::int32_t points, std::size_t limit);
/// Gives the history room for every lane of the blocks (up to its Limit): after they grow.
void FitTrailHistory(TParticleStorage& storage);
/// Empties the trails of slots [first, end): particles born there. Nothing without a history.
inline void ClearTrails(TParticleTrailHistory& trail, std::size_t first, std::size_t end) {
    for (std::size_t slot = first; slot < end && slot < trail.Slots; ++slot)
        trail.Owned[slot] = 0;
}
/// Slot `to` of `target` takes the trail of slot `from` of `source` (null: none), or starts an empty
/// one when the source keeps none there; a slot without room keeps nothing.
void CopyTrail(const TParticleTrailHistory* source, std::size_t from, TParticleTrailHistory& target,
               std::size_t to);

/// Copies particle `from` of `source` to particle `to` of `target`, field by field, and its trail
/// when the target keeps trails.
void CopyParticle(TParticleFields source, std::size_t from, TParticleFields target, std::size_t to);
/// Copies particle `from` to particle `to` of the same particles, field by field.
inline void CopyParticle(TParticleFields particles, std::size_t from, std::size_t to) {
    CopyParticle(particles, from, particles, to);
}

} // namespace lumidor
