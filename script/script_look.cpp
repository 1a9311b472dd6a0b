// What the runtime does each step for the commands of how particles look and move: the host's
// emitter path added to the origin, particles of "local" types carried along with the origin, the
// settings handed to each type's container before its pass (turning, stretch, flow, trails, dying on
// the ground, tinted colour keys), the script's "ground" laid under the origin, and births at a "rate"
// with the fraction carried from step to step. A type that uses none of these commands, in a script
// without "ground" and with a still emitter, is left exactly as it was.

#include "engine/collision_world.h"
#include "engine/portable_math.h"
#include "script/particle_script.h"
#include "script/script_runtime_detail.h"
#include "script/script_scanner.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace lumidor {

namespace {

/// Radius of the circular path, world units, and its seconds per turn.
constexpr double CircleRadius = 1.5;
constexpr double CircleSeconds = 4.0;
/// Half the width of the figure of eight, world units, and its seconds per loop.
constexpr double EightHalfWidth = 1.5;
constexpr double EightSeconds = 6.0;
/// World friction of a ground without "bounce": keeps 0.6 of the vertical speed, 0.8 across.
constexpr TVector3 DefaultGroundFriction{0.2f, 0.4f, 0.2f};

/// The flat grid of every "ground": one cell, its corners at height 0.
const std::shared_ptr<const HDataArray>& FlatGround() {
    static const auto flat = std::make_shared<const HDataArray>(HDataArray{{0.0f, 0.0f}, {0.0f, 0.0f}});
    return flat;
}

void LayGround(const TParticleScript& script, TParticleEffectContainer& container, const TVector3& origin,
               const TScriptLook* look) {
    const float half = 0.5f * ScriptGroundSize;
    const TVector3 corner{origin.x - half, origin.y + script.GroundHeight, origin.z - half};
    if (container.World.Heights != FlatGround()) {
        SetCollisionWorld(container, FlatGround(), corner, ScriptGroundSize, ScriptGroundSize);
        if (look == nullptr || !look->HasBounce) SetWorldFriction(container, DefaultGroundFriction);
    } else {
        // The cell and its normal stay; only the place follows the origin.
        container.World.Origin = corner;
    }
}

/// The settings of the type's look its container reads in the pass.
void HandOver(TParticleEffectContainer& container, const TScriptLook& look, const TVector3& origin,
              double time, std::int32_t trailShare) {
    if (look.HasRotation || look.HasSpin) container.Rotating = true;
    container.Stretch = look.Stretch;
    container.Flow.Turbulence = look.Turbulence;
    container.Flow.Vortex = look.Vortex;
    container.Flow.Vortex.Center = origin;
    container.Flow.Time = time;
    container.DieOnGround = look.DieOnGround;
    container.Trail = look.Trail;
    container.Trail.MaxParticles = look.Trail.Points > 0 ? trailShare / look.Trail.Points : 0;
    container.Life.TintColorKeys = look.HasTint && !container.Life.ColorKeys.empty();
    if (look.HasBounce)
        SetWorldFriction(container, {1.0f - look.KeepXZ, 1.0f - look.KeepY, 1.0f - look.KeepXZ});
}

} // namespace

TVector3 EmitterPathOffset(TEmitterPath path, double seconds) {
    if (!std::isfinite(seconds)) seconds = 0.0;
    switch (path) {
    // The angle as the part of a turn (fmod is exact), its sine and cosine the portable ones, so every
    // build moves the origin alike.
    case TEmitterPath::Circle: {
        float s = 0.0f, c = 1.0f;
        PortableSinCosDegrees(float(360.0 * std::fmod(seconds / CircleSeconds, 1.0)), s, c);
        return TVector3{float(CircleRadius * c), 0.0f, float(CircleRadius * s)};
    }
    case TEmitterPath::FigureOfEight: {
        // The lemniscate of Bernoulli: x = a cos s / (1 + sin^2 s), z = a sin s cos s / (1 + sin^2 s).
        float sine = 0.0f, cosine = 1.0f;
        PortableSinCosDegrees(float(360.0 * std::fmod(seconds / EightSeconds, 1.0)), sine, cosine);
        const double s = sine, c = cosine;
        const double d = 1.0 + s * s;
        return TVector3{float(EightHalfWidth * c / d), 0.0f, float(EightHalfWidth * s * c / d)};
    }
    default:
        return TVector3{};
    }
}

std::optional<TEmitterPath> ParseEmitterPath(std::string_view name) {
    const std::string folded = FoldToLower(name);
    if (folded == "still") return TEmitterPath::Still;
    if (folded == "circle") return TEmitterPath::Circle;
    if (folded == "eight" || folded == "figure-of-eight") return TEmitterPath::FigureOfEight;
    return std::nullopt;
}

namespace script_detail {

TVector3 ScriptOrigin(const TParticleScript& script, const TVector3& origin) {
    // A still path adds nothing, not even +0 (which would turn an origin's -0 into +0).
    if (script.EmitterPath == TEmitterPath::Still) return origin;
    return VectorAdd(origin, EmitterPathOffset(script.EmitterPath, script.Time));
}

const TScriptLook* UsedLook(const TParticleScript& script, std::size_t type) {
    return type < script.Look.size() && script.Look[type].Used ? &script.Look[type] : nullptr;
}

void PrepareLook(TParticleScript& script, const TVector3& origin) {
    const std::size_t types = std::min(script.Containers.size(), script.Look.size());
    std::int32_t trailing = 0;
    for (std::size_t type = 0; type < types; ++type)
        if (script.Look[type].Used && script.Look[type].Trail.Points > 0) ++trailing;
    const std::int32_t trailShare = trailing > 0 ? MaxScriptTrailPoints / trailing : 0;
    for (std::size_t type = 0; type < types; ++type) {
        TScriptLook& look = script.Look[type];
        if (!look.Used) continue;
        TParticleEffectContainer& container = script.Containers[type];
        if (look.Local && look.HasLastOrigin)
            TranslateParticles(container, VectorSub(origin, look.LastOrigin));
        look.LastOrigin = origin;
        look.HasLastOrigin = true;
        HandOver(container, look, origin, script.Time, trailShare);
    }
    if (!script.HasGround) return;
    for (std::size_t type = 0; type < script.Containers.size(); ++type)
        LayGround(script, script.Containers[type], origin, UsedLook(script, type));
}

void EmitAtRate(TParticleScript& script, const TVector3& origin, float dt) {
    if (!(dt > 0.0f) || !std::isfinite(dt)) return;
    const std::size_t types = std::min(RunnableTypes(script), script.Look.size());
    std::int64_t held = -1;
    for (std::size_t type = 0; type < types; ++type) {
        TScriptLook& look = script.Look[type];
        if (!look.Used || !look.HasRate || !(look.Rate > 0.0f)) continue;
        look.RateCarry += double(look.Rate) * double(dt);
        const double whole = std::floor(look.RateCarry);
        look.RateCarry -= whole;
        std::int64_t wanted = std::int64_t(std::min(whole, double(MaxScriptParticlesPerType)));
        // A particle count above 0 caps the live particles of a type with a rate.
        const std::int32_t cap =
            std::min(TruncToInt32(script.Values[type].NumParticles), MaxScriptParticlesPerType);
        if (cap > 0) wanted = std::min<std::int64_t>(wanted, cap - ParticleCount(script.Containers[type]));
        if (wanted <= 0) continue;
        if (held < 0) held = ParticlesHeld(script);
        CreateParticles(script, type, origin, wanted, held);
    }
}

void RestartLook(TParticleScript& script) {
    for (TScriptLook& look : script.Look) {
        look.RateCarry = 0.0;
        look.HasLastOrigin = false;
        look.LastOrigin = TVector3{};
    }
}

TDiscPlane MakeDiscPlane(const TScriptLook* look) {
    TDiscPlane plane;
    if (look == nullptr || !look->HasShapeAxis) return plane;
    // Worked out in doubles, so an axis of large components does not overflow.
    const double x = look->ShapeAxis.x, y = look->ShapeAxis.y, z = look->ShapeAxis.z;
    const double length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 0.0) || !std::isfinite(length)) return plane;
    const double n[3] = {x / length, y / length, z / length};
    if (n[0] == 0.0 && n[1] == 1.0 && n[2] == 0.0) return plane; // the horizontal disc as drawn always
    // U: the x axis (or, for an axis near it, the z axis) with its part along n removed; V = U x n, so
    // the up axis would give U = x, V = z, the horizontal disc's own axes.
    const double helper[3] = {std::fabs(n[0]) < 0.9 ? 1.0 : 0.0, 0.0, std::fabs(n[0]) < 0.9 ? 0.0 : 1.0};
    const double along = helper[0] * n[0] + helper[2] * n[2];
    double u[3] = {helper[0] - along * n[0], helper[1] - along * n[1], helper[2] - along * n[2]};
    const double uLength = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
    for (double& c : u)
        c /= uLength;
    const double v[3] = {u[1] * n[2] - u[2] * n[1], u[2] * n[0] - u[0] * n[2], u[0] * n[1] - u[1] * n[0]};
    plane.Tilted = true;
    plane.U = TVector3{float(u[0]), float(u[1]), float(u[2])};
    plane.V = TVector3{float(v[0]), float(v[1]), float(v[2])};
    return plane;
}

} // namespace script_detail

} // namespace lumidor
