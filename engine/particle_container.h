#pragma once
// A particle system: particles sharing one atlas, blend mode, wind, magnet points, collision
// world and debug switch, simulated and drawn by one UpdateAndDraw call per frame.

#include "collision_world.h"
#include "gl_api.h"
#include "particle_array.h"
#include "particle_life.h"
#include "vector.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace lumidor {

/// An attractor or repeller acting on every particle of its container.
struct TMagnetPoint {
    TVector3 Position;     ///< world position
    float Radius = 0.0f;   ///< particles farther away (3-D distance) are unaffected
    float Gravity = 0.0f;  ///< strength; the sign picks attraction or repulsion
    std::int32_t Id = 0;   ///< handle returned by AddMagnetPoint
    std::int32_t Mode = 0; ///< 0 per-axis pull, 1 radial falling off, 2 radial constant; others inert
};

/// Texture coordinates of one atlas tile: corners top-right, top-left, bottom-left, bottom-right.
struct TTextureTile {
    float U[4] = {}; ///< horizontal texture coordinate of each corner, 0..1
    float V[4] = {}; ///< vertical texture coordinate of each corner, 0..1 (1 at the top)
};

/// One interleaved vertex in GL_T2F_C4UB_V3F layout.
struct TParticleVertex {
    float U;        ///< horizontal texture coordinate
    float V;        ///< vertical texture coordinate
    std::uint8_t R; ///< red, 0..255
    std::uint8_t G; ///< green, 0..255
    std::uint8_t B; ///< blue, 0..255
    std::uint8_t A; ///< opacity, 0..255
    float X;        ///< corner position x, world units
    float Y;        ///< corner position y, world units
    float Z;        ///< corner position z, world units
};
static_assert(sizeof(TParticleVertex) == 24, "GL_T2F_C4UB_V3F is 24 bytes per vertex");

/// A noise force that stirs particles without gathering them anywhere: the curl of a smooth noise
/// field, so its flow is divergence-free. Strength 0 (or Scale not above 0): none.
struct TTurbulence {
    float Strength = 0.0f; ///< acceleration, units per second per second, at the field's typical peak
    float Scale = 1.0f;    ///< size of the field's features, world units
    float Speed = 0.0f;    ///< how fast the field drifts, world units per second
};

/// A swirl about a line: particles turn about the axis through Center and are drawn towards it.
/// Speed and Pull 0 (or a zero axis): none.
struct TVortex {
    TVector3 Center;        ///< a point of the axis, world units
    TVector3 Axis{0, 1, 0}; ///< direction of the axis (any length but zero)
    float Speed = 0.0f; ///< turn about the axis, degrees per second (positive: counter-clockwise seen from
                        ///< the axis' tip)
    float Pull = 0.0f;  ///< movement towards the axis, units per second (negative pushes away)
};

/// Forces beyond force, wind and magnet points that act on every particle of a system.
struct TParticleFlow {
    TTurbulence Turbulence; ///< curl noise
    TVortex Vortex;         ///< swirl about an axis
    double Time = 0.0;      ///< seconds the turbulence has drifted; UpdateAndDraw advances it by dt
};

/// Ribbons behind a system's particles through their last positions. Points 0: no trails.
struct TParticleTrail {
    float Seconds = 0.0f;    ///< how far back a trail reaches, seconds
    std::int32_t Points = 0; ///< most points of one trail, the particle's own included, 2 to 64; 0: none
    float Width = 0.0f;      ///< width at the particle, world units; it narrows to nothing at the tail
    std::int32_t MaxParticles = 0; ///< only particles in slots below it keep a trail; 0: no limit
};

/// A particle system; the value-initialised record is a valid empty system.
struct TParticleEffectContainer {
    TParticleArray Particles;               ///< live particles; order not stable (swap-removal)
    std::vector<TMagnetPoint> MagnetPoints; ///< attractors and repellers acting on every particle
    TVector3 Wind;                          ///< units per second added to every particle's motion
    bool DebugMode = false;                 ///< also compute and draw one motion line per particle
    float DebugScale = 0.0f;                ///< length factor of the debug lines
    std::vector<TTextureTile> TextureTiles; ///< atlas tiles indexed by TParticle::Tile
    GLuint Texture = 0;                     ///< atlas texture name
    GLuint VertexBuffer = 0;                ///< buffer object name; 0 until the first particle
    GLenum BlendSrc = 0;                    ///< source factor of glBlendFunc
    GLenum BlendDst = 0;                    ///< destination factor of glBlendFunc
    std::int32_t BufferCapacity = 0;        ///< vertices the buffer object is sized for
    TParticleVertex* WriteCursor = nullptr; ///< next vertex in the mapped buffer; only inside UpdateAndDraw
    TCollisionConvexWorld World;            ///< empty Heights: no collision
    TParticleLifeCurves Life;               ///< colour, opacity, size and tile over each particle's life
    TParticleEventLog Events;               ///< deaths and bounces of the last pass, when asked for
    bool Rotating = false;                  ///< particles carry an angle and a spin (SetParticleRotation)
    /// Above 0: particles are drawn along their velocity as the camera sees it, their length the drawn
    /// height plus Stretch times that speed; their angle plays no part then.
    float Stretch = 0.0f;
    TParticleFlow Flow;       ///< turbulence and vortex
    bool DieOnGround = false; ///< a particle that meets the ground stops there and dies in the next pass
    TParticleTrail Trail;     ///< ribbons behind the particles
};

// Particles (an index is valid from 0 to ParticleCount - 1; the functions below ignore any other,
// negative or past the end, and change nothing) -------------------------------------------------

/// Appends a particle with the defaults above; its index is the old ParticleCount. A `tile` outside
/// TextureTiles draws the whole texture. With GL set up (GLAvailable) it grows the buffer object to
/// 4h + 40 vertices when the new index h needs it; without GL it makes no GL call.
void AddParticle(TParticleEffectContainer& container, const TVector3& position, const TVector3& size,
                 const TVector3& color, std::int32_t tile, float lifeLength);
/// What the particles of one AddParticles call share: AddParticle's colour and tile and the values of
/// the setters, as those take them.
struct TSharedParticleValues {
    TVector3 Color;             ///< AddParticle's colour, 0..1 per channel
    std::int32_t Tile = 0;      ///< AddParticle's tile
    TVector3 Force;             ///< SetParticleForce's force
    TVector3 Inertia{1, 1, 1};  ///< SetParticleInertia's inertia (each component below 0.1 becomes 0.1)
    TVector3 Enlargement;       ///< SetParticleEnlargement's growth per second
    float Mass = 1.0f;          ///< SetParticleMass's mass (its absolute value is kept)
    bool FadeOut = true;        ///< SetParticleFading's fadeOut
    bool FadeIn = true;         ///< SetParticleFading's fadeIn
    float BeginFadeOut = 0.0f;  ///< SetParticleBeginFadeOut's fraction
    float EndFadeIn = 0.0f;     ///< SetParticleEndFadeIn's fraction
    float AirResistance = 0.0f; ///< SetParticleAirResistance's value
};

/// What each particle of an AddParticles call has of its own.
struct TParticleSpawn {
    TVector3 Position; ///< AddParticle's position, world units
    TVector3 Size;     ///< AddParticle's size
    TVector3
        Velocity; ///< the velocity kept, units per second (SetParticleVelocity keeps its argument / mass)
    float LifeLength = 0.0f; ///< AddParticle's life, seconds
    float Angle = 0.0f;      ///< SetParticleRotation's angle, degrees (kept when the container is Rotating)
    float Spin = 0.0f;       ///< SetParticleRotation's spin, degrees per second (the same)
};

/// Calls `next` `count` times (none for a count below 1) and appends a particle for each spawn, with
/// the very record AddParticle followed by SetParticleForce, SetParticleInertia,
/// SetParticleEnlargement, SetParticleMass, SetParticleFading, SetParticleBeginFadeOut,
/// SetParticleEndFadeIn and SetParticleAirResistance with `shared`'s values would leave, its
/// velocity the spawn's as given; the storage grows once. The buffer object ends as AddParticle
/// one by one would leave its size (made once, when it grows).
void AddParticles(TParticleEffectContainer& container, const TSharedParticleValues& shared,
                  std::int32_t count, const std::function<TParticleSpawn()>& next);
/// Number of live particles.
std::int32_t ParticleCount(const TParticleEffectContainer& container);
/// Swap-removal: the last particle moves into `index`. An index out of range is ignored.
void RemoveParticle(TParticleEffectContainer& container, std::int32_t index);
/// Per-axis driving force of particle `index`: its acceleration and the speed it tends to. An index
/// out of range is ignored.
void SetParticleForce(TParticleEffectContainer& container, const TVector3& force, std::int32_t index);
/// Stores velocity / current mass: set the mass first. An index out of range is ignored.
void SetParticleVelocity(TParticleEffectContainer& container, const TVector3& velocity, std::int32_t index);
/// Growth of the particle's Size per second. An index out of range is ignored.
void SetParticleEnlargement(TParticleEffectContainer& container, const TVector3& enlargement,
                            std::int32_t index);
/// Each component below 0.1 becomes 0.1. An index out of range is ignored.
void SetParticleInertia(TParticleEffectContainer& container, const TVector3& inertia, std::int32_t index);
/// Stores the absolute value. An index out of range is ignored.
void SetParticleMass(TParticleEffectContainer& container, std::int32_t index, float mass);
/// Fraction of the life (0..1) after which the particle starts fading out. An index out of range is
/// ignored.
void SetParticleBeginFadeOut(TParticleEffectContainer& container, std::int32_t index, float fraction);
/// Fraction of the life over which the particle fades in; also sets FadeOutAlpha to 1 for fraction
/// 0 and to 0 otherwise. An index out of range is ignored.
void SetParticleEndFadeIn(TParticleEffectContainer& container, std::int32_t index, float fraction);
/// Angle of the particle about the line of sight (degrees) and how fast it turns (degrees per
/// second); marks the container Rotating. An index out of range is ignored.
void SetParticleRotation(TParticleEffectContainer& container, std::int32_t index, float angle, float spin);
/// Moves every particle, and its trail, by `offset` (world units): particles that travel with their
/// emitter.
void TranslateParticles(TParticleEffectContainer& container, const TVector3& offset);
/// Fraction of the velocity lost per second. An index out of range is ignored.
void SetParticleAirResistance(TParticleEffectContainer& container, std::int32_t index, float value);
/// Stores both flags; fadeIn true also sets FadeOutAlpha to 0. An index out of range is ignored.
void SetParticleFading(TParticleEffectContainer& container, bool fadeOut, bool fadeIn, std::int32_t index);

// Container-wide settings -------------------------------------------------------------------

/// Stores the texture and rebuilds TextureTiles as a rows x columns atlas (tile 0 top-left). Rows or
/// columns below 1 leave no tiles, so every particle draws the whole texture; particles keep their
/// tile numbers, and one outside the new atlas draws the whole texture too.
void SetTextureProperties(TParticleEffectContainer& container, GLuint texture, std::int32_t rows,
                          std::int32_t columns);
/// Blend factors the container is drawn with (glBlendFunc), e.g. GL_SRC_ALPHA, GL_ONE.
void SetBlendFactor(TParticleEffectContainer& container, GLenum src, GLenum dst);
/// Wind in units per second, added to every particle's motion.
void SetWind(TParticleEffectContainer& container, const TVector3& wind);
/// Length factor of the debug lines.
void SetDebugScale(TParticleEffectContainer& container, float scale);
/// Flips DebugMode (a scale not above 0 becomes 1) and returns the new flag.
bool ToggleDebugMode(TParticleEffectContainer& container);

// Magnet points (looked up by Id: the last matching point wins; an id that no point holds, negative
// or removed included, is ignored and nothing changes) ------------------------------------------

/// Appends a point with |radius|, mode 1 and Id = its index; returns the Id.
std::int32_t AddMagnetPoint(TParticleEffectContainer& container, const TVector3& position, float radius,
                            float gravity);
/// Removes the point (swap-removal: the last point moves into its place). An unknown id is ignored.
void RemoveMagnetPoint(TParticleEffectContainer& container, std::int32_t id);
/// Distance beyond which the point has no effect. An unknown id is ignored.
void SetMagnetRadius(TParticleEffectContainer& container, std::int32_t id, float radius);
/// Strength; the sign picks attraction or repulsion. An unknown id is ignored.
void SetMagnetGravity(TParticleEffectContainer& container, std::int32_t id, float gravity);
/// Moves the point, world units. An unknown id is ignored.
void SetMagnetPosition(TParticleEffectContainer& container, const TVector3& position, std::int32_t id);
/// 0 per-axis pull, 1 radial falling off with distance, 2 radial constant; other values are inert.
/// An unknown id is ignored.
void SetMagnetMode(TParticleEffectContainer& container, std::int32_t mode, std::int32_t id);

// The per-frame pass ------------------------------------------------------------------------

/// Ages, removes, fades, moves, grows and draws every particle in one sweep; dt in seconds.
void UpdateAndDraw(TParticleEffectContainer& container, float dt);
/// Draws the container as UpdateAndDraw(container, 0) would, to the byte, and changes no particle and
/// no event: a paused frame. Nothing moves, fades, is born or dies (a particle whose life is already
/// below zero is drawn as that pass would draw after removing it); the pass observer sees a pass
/// of dt 0. Costs about what a real pass does, with no copy of the particles.
void DrawParticlesStill(TParticleEffectContainer& container);

} // namespace lumidor
