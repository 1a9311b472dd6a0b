// The loader's commands of how particles look and move (keyword rows 7 and 8): rotation, spin,
// stretch, tint and trail; rate, turbulence, vortex, ground, bounce, dieonground, shapeaxis and local.
// They are checked as the other newer commands are (a particle type where one is needed, the argument
// count, every value, then ranges), and one with any bad value stores nothing.

#include "script/script_loader_state.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace lumidor::script_detail {

namespace {

enum TLookCommand { Rotation, Spin, Stretch, Tint, Trail };
enum TMotionCommand { Rate, Turbulence, Vortex, Ground, Bounce, DieOnGround, ShapeAxis, Local };

/// How a command is written: its arguments ('f' float, 'i' integer, 'b' boolean).
struct TLookCommandShape {
    bool PerType;           ///< needs a particle type
    std::string_view Kinds; ///< one letter per argument
};

constexpr TLookCommandShape LookShapes[] = {
    {true, "ff"}, {true, "ff"}, {true, "f"}, {true, "ffffff"}, {true, "fif"},
};

constexpr TLookCommandShape MotionShapes[] = {
    {true, "f"},  {true, "fff"}, {true, "fffff"}, {false, "f"},
    {true, "ff"}, {true, "b"},   {true, "fff"},   {true, "b"},
};

/// Largest angle, turning speed and ground height the commands take (degrees, degrees a second, units).
constexpr double MaxLookMagnitude = 1'000'000.0;

TScriptLook& CurrentLook(TLoadState& state) {
    return state.Script.Look[std::size_t(state.CurrentType)];
}

/// Every one of `count` values from `first` in [low, high].
bool AllWithin(const TArguments& a, int first, int count, double low, double high) {
    return std::all_of(a.Value + first, a.Value + first + count,
                       [&](double v) { return v >= low && v <= high; });
}

bool RequireFinite(TLoadState& state, double value, std::string_view what, std::string_view command) {
    return Require(state, std::isfinite(float(value)), what, command, "be a finite number");
}

/// Three finite values that are not all zero, as a vector.
bool RequireAxis(TLoadState& state, const TArguments& a, int first, std::string_view command) {
    const double x = a.Value[first], y = a.Value[first + 1], z = a.Value[first + 2];
    const bool finite = std::isfinite(float(x)) && std::isfinite(float(y)) && std::isfinite(float(z));
    return Require(state, finite && x * x + y * y + z * z > 0.0, "Axis", command, "be finite and not zero");
}

TVector3 VectorOf(const TArguments& a, int first) {
    return TVector3{float(a.Value[first]), float(a.Value[first + 1]), float(a.Value[first + 2])};
}

/// The direction of an axis RequireAxis accepted, as a unit vector: normalised here in doubles, so an
/// axis of tiny or huge components reaches the engine as a direction a float can hold.
TVector3 UnitVectorOf(const TArguments& a, int first) {
    const double x = a.Value[first], y = a.Value[first + 1], z = a.Value[first + 2];
    const double length = std::sqrt(x * x + y * y + z * z);
    return TVector3{float(x / length), float(y / length), float(z / length)};
}

/// "spread,base" of rotation and spin.
bool RunTurn(TLoadState& state, const TArguments& a, std::string_view what, std::string_view command,
             TScriptLifeRange& range) {
    const std::string bounds =
        "lie between " + BoundText(-MaxLookMagnitude) + " and " + BoundText(MaxLookMagnitude);
    if (!Require(state, AllWithin(a, 0, 2, -MaxLookMagnitude, MaxLookMagnitude), what, command, bounds))
        return false;
    range = TScriptLifeRange{float(a.Value[0]), float(a.Value[1])};
    return true;
}

bool RunTint(TLoadState& state, const TArguments& a) {
    if (!Require(state, AllWithin(a, 0, 6, 0.0, 1.0), "Colour", "tint", "lie between 0 and 1")) return false;
    TScriptLook& look = CurrentLook(state);
    look.HasTint = true;
    look.TintFirst = VectorOf(a, 0);
    look.TintSecond = VectorOf(a, 3);
    return true;
}

bool RunTrail(TLoadState& state, const TArguments& a) {
    if (!Require(state, a.Value[0] > 0.0 && a.Value[0] <= MaxScriptTrailSeconds, "Seconds", "trail",
                 "be above 0 and at most " + BoundText(MaxScriptTrailSeconds)))
        return false;
    if (!RequireWithin(state, a.Value[1], 2.0, MaxScriptTrailPointsPerParticle, "Points", "trail"))
        return false;
    if (!RequireNotNegative(state, a.Value[2], "Width", "trail")) return false;
    TParticleTrail& trail = CurrentLook(state).Trail;
    trail.Seconds = float(a.Value[0]);
    trail.Points = std::int32_t(a.Value[1]);
    trail.Width = float(a.Value[2]);
    return true;
}

bool RunLook(TLoadState& state, int index, const TArguments& a) {
    TScriptLook& look = CurrentLook(state);
    switch (index) {
    case Rotation:
        if (!RunTurn(state, a, "Angle", "rotation", look.Rotation)) return false;
        look.HasRotation = true;
        return true;
    case Spin:
        if (!RunTurn(state, a, "Speed", "spin", look.Spin)) return false;
        look.HasSpin = true;
        return true;
    case Stretch:
        if (!RequireNotNegative(state, a.Value[0], "Factor", "stretch")) return false;
        look.Stretch = float(a.Value[0]);
        return true;
    case Tint:
        return RunTint(state, a);
    default:
        return RunTrail(state, a);
    }
}

bool RunTurbulence(TLoadState& state, const TArguments& a) {
    if (!RequireNotNegative(state, a.Value[0], "Strength", "turbulence")) return false;
    if (!Require(state, a.Value[1] > 0.0 && a.Value[1] <= MaxLookMagnitude, "Scale", "turbulence",
                 "be above 0 and at most " + BoundText(MaxLookMagnitude)))
        return false;
    if (!RequireFinite(state, a.Value[2], "Speed", "turbulence")) return false;
    CurrentLook(state).Turbulence = TTurbulence{float(a.Value[0]), float(a.Value[1]), float(a.Value[2])};
    return true;
}

bool RunVortex(TLoadState& state, const TArguments& a) {
    if (!RequireAxis(state, a, 0, "vortex")) return false;
    if (!RequireFinite(state, a.Value[3], "Speed", "vortex")) return false;
    if (!RequireFinite(state, a.Value[4], "Pull", "vortex")) return false;
    TVortex& vortex = CurrentLook(state).Vortex;
    vortex.Axis = UnitVectorOf(a, 0);
    vortex.Speed = float(a.Value[3]);
    vortex.Pull = float(a.Value[4]);
    return true;
}

bool RunMotion(TLoadState& state, int index, const TArguments& a) {
    switch (index) {
    case Rate:
        if (!RequireWithin(state, a.Value[0], 0.0, MaxScriptRate, "Particles a second", "rate")) return false;
        CurrentLook(state).HasRate = true;
        CurrentLook(state).Rate = float(a.Value[0]);
        return true;
    case Turbulence:
        return RunTurbulence(state, a);
    case Vortex:
        return RunVortex(state, a);
    case Ground:
        if (!RequireWithin(state, a.Value[0], -MaxLookMagnitude, MaxLookMagnitude, "Height", "ground"))
            return false;
        state.Script.HasGround = true;
        state.Script.GroundHeight = float(a.Value[0]);
        return false; // script-wide: no type's look is used by it
    case Bounce:
        if (!Require(state, AllWithin(a, 0, 2, 0.0, 1.0), "Share", "bounce", "lie between 0 and 1"))
            return false;
        CurrentLook(state).HasBounce = true;
        CurrentLook(state).KeepY = float(a.Value[0]);
        CurrentLook(state).KeepXZ = float(a.Value[1]);
        return true;
    case DieOnGround:
        CurrentLook(state).DieOnGround = a.Value[0] != 0.0;
        return true;
    case ShapeAxis:
        if (!RequireAxis(state, a, 0, "shapeaxis")) return false;
        CurrentLook(state).HasShapeAxis = true;
        CurrentLook(state).ShapeAxis = UnitVectorOf(a, 0);
        return true;
    default:
        CurrentLook(state).Local = a.Value[0] != 0.0;
        return true;
    }
}

} // namespace

int RunLookCommand(TLoadState& state, int row, int index, std::string_view text) {
    const TLookCommandShape& shape =
        row == 7 ? LookShapes[std::size_t(index)] : MotionShapes[std::size_t(index)];
    const int argumentCommas = int(shape.Kinds.size()) - 1;
    const int commas = SplitNewerCommand(state, shape.PerType, text, argumentCommas, argumentCommas);
    if (commas < 0) return 2;
    const int restSlot = commas + 2;
    const std::optional<TArguments> arguments = ConvertArguments(state, shape.Kinds, commas + 1);
    if (!arguments) return restSlot;
    // A hand-built record may hold fewer looks than types.
    if (shape.PerType && state.Script.Look.size() < state.Script.Containers.size())
        state.Script.Look.resize(state.Script.Containers.size());
    const bool stored = row == 7 ? RunLook(state, index, *arguments) : RunMotion(state, index, *arguments);
    if (stored) CurrentLook(state).Used = true;
    return restSlot;
}

} // namespace lumidor::script_detail
