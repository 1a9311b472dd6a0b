// Running a loaded script: creating particles from the stored settings (the "position" box or an
// emitter shape), topping up its particle types, and the per-frame step over its containers. Bursts,
// sub-emitters, prewarm, restart and seeking are in script_timeline.cpp.

#include "engine/portable_math.h"
#include "engine/random.h"
#include "engine/simulation.h"
#include "script/particle_script.h"
#include "script/script_runtime_detail.h"
#include "script/script_scanner.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace lumidor {

namespace {

TVector3 Scaled(const TVector3& v, float k) {
    return TVector3{v.x * k, v.y * k, v.z * k};
}

/// A unit direction out of the shape's centre and the distance along it, drawn for one particle:
/// sphere and shell draw the height (y) and the angle around it, then the sphere its distance (cube
/// root, so the ball fills evenly); disc and ring draw the angle in their plane (x-z unless
/// "shapeaxis" tilts it), then the disc its distance (square root, so the disc fills evenly).
void DrawShapePoint(const TScriptEmitter& emitter, const script_detail::TDiscPlane& plane,
                    TVector3& direction, float& distance) {
    // The portable sine, cosine and cube root, so every build makes the same particles.
    float sine = 0.0f, cosine = 1.0f;
    if (emitter.Shape == TEmitterShape::Sphere || emitter.Shape == TEmitterShape::SphereShell) {
        const float height = 2.0f * R() - 1.0f;
        PortableSinCosDegrees(360.0f * R(), sine, cosine);
        const float across = std::sqrt(std::max(0.0f, 1.0f - height * height));
        direction = TVector3{across * cosine, height, across * sine};
        distance =
            emitter.Shape == TEmitterShape::Sphere ? emitter.Radius * PortableCbrt(R()) : emitter.Radius;
        return;
    }
    PortableSinCosDegrees(360.0f * R(), sine, cosine);
    direction = plane.Tilted ? VectorAdd(Scaled(plane.U, cosine), Scaled(plane.V, sine))
                             : TVector3{cosine, 0.0f, sine};
    distance = emitter.Shape == TEmitterShape::Disc ? emitter.Radius * std::sqrt(R()) : emitter.Radius;
}

/// c1 + t (c2 - c1) per channel.
TVector3 TintAt(const TScriptLook& look, float t) {
    const TVector3& a = look.TintFirst;
    const TVector3& b = look.TintSecond;
    return TVector3{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z)};
}

/// Gives the particles from `first` on their tint: the colour keys, when the type has them, multiply
/// it in the pass (TintColorKeys), so the particle's colour is the tint alone; without keys it is the
/// type's colour times the tint.
void Tint(TParticleEffectContainer& container, const TScriptLook& look, bool keyed, std::int32_t first,
          const std::vector<float>& tints) {
    for (std::size_t k = 0; k < tints.size(); ++k) {
        const std::size_t index = std::size_t(first) + k;
        TParticle particle = container.Particles[index];
        const TVector3 tint = TintAt(look, tints[k]);
        particle.Color =
            keyed ? tint
                  : TVector3{particle.Color.x * tint.x, particle.Color.y * tint.y, particle.Color.z * tint.z};
        container.Particles[index] = particle;
    }
}

// Appends `n` particles of `type` at `origin` to its container. The order of the draws is part of
// the behaviour, particle by particle: position x, y, z (or the shape's draws); velocity x, y, z; the
// size only when the random-size range is open; the life; then, for a type that has them, the start
// angle, the spin and the tint's blend factor.
void CreateParticlesOfType(TParticleScript& script, std::size_t type, const TVector3& origin,
                           std::int64_t n) {
    TParticleEffectContainer& container = script.Containers[type];
    const TScriptValues& values = script.Values[type];
    const TScriptRanges& ranges = script.Ranges[type];
    const TScriptVectors& vectors = script.Vectors[type];
    const TScriptVectorRanges& vectorRanges = script.VectorRanges[type];
    const TScriptEmitter emitter =
        type < script.Emission.size() ? script.Emission[type].Emitter : TScriptEmitter{};
    const TScriptLook* look = script_detail::UsedLook(script, type);
    const script_detail::TDiscPlane plane = script_detail::MakeDiscPlane(look);
    // AddParticles keeps the spawn's angle and spin only for a container that turns its particles.
    if (look != nullptr && (look->HasRotation || look->HasSpin)) container.Rotating = true;
    std::vector<float> tints;

    // A tile outside the type's table is clamped into it, so drawing never reads past the table. A
    // type without tiles ("textureproperties" never succeeded; the loader warns) gets tile 0, which
    // the container draws with the whole texture.
    const std::int32_t lastTile = std::max(std::int32_t(container.TextureTiles.size()) - 1, 0);
    TSharedParticleValues shared;
    shared.Color = vectors.Color;
    shared.Tile = std::clamp(TruncToInt32(values.TextureTile), 0, lastTile);
    shared.Force = vectors.Force;
    shared.Inertia = vectors.Inertia;
    shared.Enlargement = {ranges.Enlargement.First, ranges.Enlargement.Second, 0.0f};
    shared.Mass = values.Mass;
    shared.FadeOut = script.FadeOut;
    shared.FadeIn = script.FadeIn;
    shared.BeginFadeOut = values.BeginFadeOut;
    shared.EndFadeIn = values.EndFadeIn;
    shared.AirResistance = values.AirResistance;
    // SetParticleVelocity keeps the velocity over the mass it holds, |mass|. Mass 0 (a type without
    // "mass") would divide by zero: the velocity is kept undivided, as for a mass of 1, while the
    // particle keeps its mass of 0.
    const float mass = std::fabs(values.Mass);
    const bool divides = values.Mass != 0.0f;

    const TScriptVectorRange& place = vectorRanges.Position;
    const TScriptVectorRange& speed = vectorRanges.Velocity;
    const auto spawn = [&]() {
        TParticleSpawn particle;
        TVector3& position = particle.Position;
        TVector3 outward;
        if (emitter.Shape == TEmitterShape::Box) {
            position.x = R() * place.Spread.x + place.Base.x + origin.x;
            position.y = R() * place.Spread.y + place.Base.y + origin.y;
            position.z = R() * place.Spread.z + place.Base.z + origin.z;
            if (emitter.OutwardSpeed != 0.0f) {
                // Out of the box's middle; a particle right at the middle gets no push.
                const TVector3 middle = VectorAdd(VectorAdd(origin, place.Base), Scaled(place.Spread, 0.5f));
                const TVector3 away = VectorSub(position, middle);
                const float length = VectorLength(away);
                if (length > 0.0f) outward = Scaled(away, 1.0f / length);
            }
        } else {
            float distance = 0.0f;
            DrawShapePoint(emitter, plane, outward, distance);
            position = VectorAdd(VectorAdd(origin, place.Base), Scaled(outward, distance));
        }

        TVector3 velocity;
        velocity.x = R() * speed.Spread.x + speed.Base.x;
        velocity.y = R() * speed.Spread.y + speed.Base.y;
        velocity.z = R() * speed.Spread.z + speed.Base.z;
        if (emitter.OutwardSpeed != 0.0f)
            velocity = VectorAdd(velocity, Scaled(outward, emitter.OutwardSpeed));
        particle.Velocity =
            divides ? TVector3{velocity.x / mass, velocity.y / mass, velocity.z / mass} : velocity;

        particle.Size = {ranges.Size.First, ranges.Size.Second, 0.0f};
        if (ranges.RandomSize.First < ranges.RandomSize.Second) {
            const float s =
                R() * (ranges.RandomSize.Second - ranges.RandomSize.First) + ranges.RandomSize.First;
            particle.Size = TVector3{s, s, 0.0f};
        }
        particle.LifeLength = R() * ranges.Life.Spread + ranges.Life.Base;
        if (look == nullptr) return particle;
        if (look->HasRotation) particle.Angle = R() * look->Rotation.Spread + look->Rotation.Base;
        if (look->HasSpin) particle.Spin = R() * look->Spin.Spread + look->Spin.Base;
        if (look->HasTint) tints.push_back(R());
        return particle;
    };
    const std::int32_t first = ParticleCount(container);
    AddParticles(container, shared, std::int32_t(n), spawn);
    if (!tints.empty()) Tint(container, *look, !container.Life.ColorKeys.empty(), first, tints);
}

} // namespace

namespace script_detail {

std::size_t RunnableTypes(const TParticleScript& script) {
    return std::min({script.Containers.size(), script.Values.size(), script.Ranges.size(),
                     script.Vectors.size(), script.VectorRanges.size()});
}

std::int64_t ParticlesHeld(const TParticleScript& script) {
    std::int64_t held = 0;
    for (const TParticleEffectContainer& container : script.Containers)
        held += ParticleCount(container);
    return held;
}

std::int64_t CreateParticles(TParticleScript& script, std::size_t type, const TVector3& origin,
                             std::int64_t wanted, std::int64_t& held) {
    const std::int64_t typeRoom =
        MaxScriptParticlesPerType - std::int64_t(ParticleCount(script.Containers[type]));
    const std::int64_t n = std::max<std::int64_t>(
        std::min({wanted, typeRoom, std::int64_t(MaxScriptParticlesPerScript) - held}), 0);
    CreateParticlesOfType(script, type, origin, n);
    held += n;
    return n;
}

std::int64_t StepScript(TParticleScript& script, const TVector3& hostOrigin, float dt, bool draw) {
    const TVector3 origin = ScriptOrigin(script, hostOrigin);
    PrepareLook(script, origin);
    if (script.Continuous) EmitParticles(script, origin);
    FireBursts(script, origin);
    EmitAtRate(script, origin, dt);
    std::int64_t swept = 0;
    for (std::size_t type = 0; type < script.Containers.size(); ++type) {
        TParticleEffectContainer& container = script.Containers[type];
        swept += ParticleCount(container);
        // The events of this pass only, so none is turned into particles twice; a type whose
        // sub-emitters need them asks the pass for them.
        container.Events.Deaths.clear();
        container.Events.Bounces.clear();
        if (type < script.Emission.size() && !script.Emission[type].SubEmitters.empty())
            container.Events.Enabled = true;
        if (draw) {
            UpdateAndDraw(container, dt);
        } else {
            SimulateParticles(container, dt, TCameraAxes{}, nullptr);
        }
    }
    RunSubEmitters(script);
    if (dt > 0.0f && std::isfinite(dt)) script.Time += double(dt);
    return swept;
}

} // namespace script_detail

std::int32_t ScriptParticlesToEmit(float numParticles, bool continuous, std::int32_t existing) {
    // Truncation saturates (NaN counts as 0), so a huge, infinite or NaN count is no undefined
    // conversion; the target is capped so a script cannot make a type exhaust memory.
    const std::int64_t target = std::min(TruncToInt32(numParticles), MaxScriptParticlesPerType);
    const std::int64_t wanted = continuous ? target - existing : target;
    const std::int64_t room = std::int64_t(MaxScriptParticlesPerType) - existing;
    return std::int32_t(std::max<std::int64_t>(std::min(wanted, room), 0));
}

void EmitParticles(TParticleScript& script, const TVector3& origin) {
    // The settings arrays grow with Containers; a hand-built record with fewer is clipped to them.
    const std::size_t types = script_detail::RunnableTypes(script);
    // All types together stay within MaxScriptParticlesPerScript; earlier types are served first.
    std::int64_t held = 0;
    for (const TParticleEffectContainer& container : script.Containers)
        held += ParticleCount(container);
    for (std::size_t type = 0; type < types; ++type) {
        const TParticleEffectContainer& container = script.Containers[type];
        const std::int64_t n =
            std::min<std::int64_t>(ScriptParticlesToEmit(script.Values[type].NumParticles, script.Continuous,
                                                         ParticleCount(container)),
                                   std::max<std::int64_t>(MaxScriptParticlesPerScript - held, 0));
        CreateParticlesOfType(script, type, origin, n);
        held += n;
    }
}

void AdvanceScript(TParticleScript& script, const TVector3& origin, float dt) {
    FinishPrewarm(script, origin);
    script_detail::StepScript(script, origin, dt, true);
}

void ReleaseScript(TParticleScript& script) {
    std::vector<GLuint> textures;
    if (script.Texture != 0) textures.push_back(script.Texture);
    for (TParticleEffectContainer& container : script.Containers) {
        if (container.VertexBuffer != 0) GL.DeleteBuffersARB(1, &container.VertexBuffer);
        if (container.Texture != 0 &&
            std::find(textures.begin(), textures.end(), container.Texture) == textures.end())
            textures.push_back(container.Texture);
    }
    if (!textures.empty()) GL.DeleteTextures(GLsizei(textures.size()), textures.data());
    script = TParticleScript{};
}

bool ToggleScriptDebug(TParticleScript& script) {
    bool debug = false;
    for (TParticleEffectContainer& container : script.Containers)
        debug = ToggleDebugMode(container);
    return debug;
}

} // namespace lumidor
