#pragma once
// The particles of a container. Callers address them by index, as in a vector of TParticle: a
// mutable index gives a view whose fields are references into the array, a const index gives a copy
// of the record. How the particles are laid out is the engine's own business (a layout for the
// sweep, defined in a header that is not installed), so it can change without changing this interface.

#include "vector.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

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

/// One particle's vector field inside the array: x, y and z refer to the array's values.
struct TVector3View {
    float& x; ///< the particle's x
    float& y; ///< the particle's y
    float& z; ///< the particle's z

    /// The view of the three values x, y and z.
    TVector3View(float& xValue, float& yValue, float& zValue) : x(xValue), y(yValue), z(zValue) {}
    /// The view of the same field (views are not rebound: see operator=).
    TVector3View(const TVector3View&) = default;
    /// The current value.
    operator TVector3() const { return {x, y, z}; }
    /// Stores a value into the array.
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

    /// The view of the three values x, y and z.
    TConstVector3View(const float& xValue, const float& yValue, const float& zValue)
        : x(xValue), y(yValue), z(zValue) {}
    /// The current value.
    operator TVector3() const { return {x, y, z}; }
};

// Where and how the particles are stored: defined in the engine's own header, not installed, so
// that outside the engine they can be named but not opened.
struct TParticleStorage;
struct TParticleFields;
class TParticleArray;

/// One particle inside the array, field by field as in TParticle; every field refers to the array.
/// Color, Inertia and Mass are read only: set them with AddParticle, SetParticleInertia and
/// SetParticleMass, or assign a whole record. A view stays valid until the array grows. Views come
/// from indexing a TParticleArray.
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
    /// Angle about the line of sight, degrees (drawn when the container is Rotating). Not part of
    /// TParticle: a record assigned to the view leaves it as it was.
    float& Angle;
    float& Spin; ///< how fast Angle turns, degrees per second (the same)

    /// The view of the same particle (views are not rebound: see operator=).
    TParticleView(const TParticleView&) = default;
    /// The current record.
    operator TParticle() const;
    /// Stores a whole record into the array.
    TParticleView& operator=(const TParticle& record);
    /// Stores the other particle's record, angle and spin included (the view is not rebound).
    TParticleView& operator=(const TParticleView& other);

  private:
    friend class TParticleArray;
    TParticleView(TParticleStorage& storage, std::size_t index);

    TParticleStorage& Storage;
    std::size_t Index;
};

/// The particle array: appending keeps earlier indices, removal is swap-with-last, and the last
/// index is the particle added last. Copies are deep and independent; a moved-from array is empty.
class TParticleArray {
  public:
    /// An empty array; it allocates with its first particle.
    TParticleArray();
    /// A copy of every particle of `other`.
    TParticleArray(const TParticleArray& other);
    /// Takes the particles of `other`, which is left empty.
    TParticleArray(TParticleArray&& other) noexcept;
    /// Replaces the particles with a copy of those of `other`.
    TParticleArray& operator=(const TParticleArray& other);
    /// Replaces the particles with those of `other`, which is left empty.
    TParticleArray& operator=(TParticleArray&& other) noexcept;
    /// Frees the particles.
    ~TParticleArray();

    /// Number of particles.
    std::size_t size() const { return Count; }
    /// True without particles.
    bool empty() const { return Count == 0; }
    /// The particle at `index` (< size()), as a view into the array.
    TParticleView operator[](std::size_t index);
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
    /// Removes every particle; the memory stays allocated for the next ones.
    void clear();
    /// Keeps the first `count` particles, or appends default particles up to `count`.
    void resize(std::size_t count);
    /// Appends `count` particles whose fields hold no values yet, growing the storage once, and
    /// returns the index of the first: the engine's own code writes each of them whole through
    /// Fields() before anything else reads them (AddParticles does).
    std::size_t AppendUnwritten(std::size_t count);

    /// Where the particles live, for the engine's own code that works on many particles at once.
    /// TParticleFields is defined in a header that is not installed: callers outside the engine
    /// address particles by index.
    TParticleFields Fields();
    /// The storage, read only, for the engine's own code (see Fields()); only while not empty().
    const TParticleStorage& Blocks() const { return *Storage; }
    /// The storage, for the engine's own code that shapes what is kept beside the particles (their
    /// trails); null while the array never held a particle.
    TParticleStorage* EngineStorage() { return Storage.get(); }

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
    TParticleStorage& Grow(std::size_t blocks);

    std::unique_ptr<TParticleStorage> Storage; // null until the first particle
    std::size_t Count = 0;
};

/// True when every field of both records has the same bits (so NaN equals the same NaN, 0 differs from -0).
bool SameParticleBits(const TParticle& a, const TParticle& b);
/// True when both arrays hold the same number of particles, each with the same bits as its counterpart
/// (angle and spin included).
bool SameParticleBits(const TParticleArray& a, const TParticleArray& b);
/// True when both arrays hold at least `count` particles and the first `count` have the same bits
/// (angle and spin included).
bool SameParticleBits(const TParticleArray& a, const TParticleArray& b, std::size_t count);

} // namespace lumidor
