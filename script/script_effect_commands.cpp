// The newer commands of the script loader (keyword rows 5 and 6): keys over a particle's life, the
// flipbook, bursts, emitter shapes, the outward launch, sub-emitters and prewarm. Each is checked as
// the original commands are (a particle type where one is needed, the argument count, every value)
// and then against its ranges and caps. Unlike the original per-type commands, whose values stand
// alone, one of these stores nothing when any of its values is bad: half a key or half a burst means
// nothing.

#include "script/script_loader_state.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lumidor::script_detail {

namespace {

enum TLifeCommand { ColorKey, AlphaKey, SizeKey, Flipbook };
enum TEmissionCommand { Burst, Sphere, Shell, Disc, Ring, Outward, OnDeath, OnBounce, Prewarm };

/// How a command is written: its arguments ('f' float, 'i' integer) and the comma counts it takes.
struct TEffectCommandShape {
    std::string_view Name;
    bool PerType;           ///< needs a particle type
    std::string_view Kinds; ///< one letter per argument of the longest form
    int Commas;             ///< "," before the first ";" of the short form
    int LongCommas;         ///< the same for the long form, or -1 when there is none
};

constexpr TEffectCommandShape LifeShapes[] = {
    {"colorkey", true, "ffff", 3, -1},
    {"alphakey", true, "ff", 1, -1},
    {"sizekey", true, "fff", 2, -1},
    {"flipbook", true, "iif", 2, -1},
};

constexpr TEffectCommandShape EmissionShapes[] = {
    {"burst", true, "fifi", 1, 3},  {"sphere", true, "f", 0, -1},    {"shell", true, "f", 0, -1},
    {"disc", true, "f", 0, -1},     {"ring", true, "f", 0, -1},      {"outward", true, "f", 0, -1},
    {"ondeath", true, "ii", 1, -1}, {"onbounce", true, "ii", 1, -1}, {"prewarm", false, "f", 0, -1},
};

} // namespace

std::string BoundText(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15) return std::to_string(std::int64_t(value));
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

bool Require(TLoadState& state, bool ok, std::string_view what, std::string_view command,
             const std::string& condition) {
    if (ok) return true;
    std::string message = "): ";
    message += what;
    message += " of ";
    message += command;
    message += " must ";
    message += condition;
    message += " - skipping command.";
    ReportLineError(state, message);
    return false;
}

bool RequireWithin(TLoadState& state, double value, double low, double high, std::string_view what,
                   std::string_view command) {
    return Require(state, value >= low && value <= high, what, command,
                   "lie between " + BoundText(low) + " and " + BoundText(high));
}

bool RequireNotNegative(TLoadState& state, double value, std::string_view what, std::string_view command) {
    return Require(state, std::isfinite(float(value)) && value >= 0.0, what, command,
                   "be a finite number of at least 0");
}

bool RequireRoom(TLoadState& state, std::size_t held, std::int32_t cap, std::string_view commands) {
    if (held < std::size_t(cap)) return true;
    ReportLineError(state, "): Too many " + std::string(commands) + " commands for particle type " +
                               std::to_string(state.CurrentType) + " (at most " + std::to_string(cap) +
                               ") - skipping command.");
    return false;
}

int SplitNewerCommand(TLoadState& state, bool perType, std::string_view text, int commas, int longCommas) {
    if (perType && state.CurrentType == -1) {
        ReportLineError(state, "): No particle type has been set yet.");
        return -1;
    }
    const int given = CountBeforeFirstSemicolon(text, ',');
    if (given != commas && given != longCommas) {
        ReportLineError(state, "): Wrong parameter count.",
                        PlainParameterCount(FoldToLower(state.Slots[0]), text, commas + 1, longCommas + 1));
        return -1;
    }
    if (given > 0) MatchPatternViews(text, state.Slots, PatternByCommas[std::size_t(given)]);
    return given;
}

std::optional<TArguments> ConvertArguments(TLoadState& state, std::string_view kinds, int count) {
    TArguments arguments;
    arguments.Count = count;
    bool good = true;
    for (int i = 0; i < count; ++i) {
        const std::string_view slot = state.Slots[std::size_t(i + 1)];
        if (kinds[std::size_t(i)] == 'i') {
            if (const std::optional<std::int32_t> value = ConvertInteger(slot)) {
                arguments.Value[i] = *value;
            } else {
                ReportBadValue(state, slot, TValueKind::Integer);
                good = false;
            }
            continue;
        }
        if (kinds[std::size_t(i)] == 'b') {
            if (const std::optional<bool> value = ConvertBoolean(slot)) {
                arguments.Value[i] = *value ? 1.0 : 0.0;
            } else {
                ReportBadValue(state, slot, TValueKind::Boolean);
                good = false;
            }
            continue;
        }
        const std::string text = ReplaceDotsByCommas(slot);
        if (const std::optional<float> value = ConvertFloat(text)) {
            arguments.Value[i] = *value;
        } else {
            ReportBadValue(state, text, TValueKind::Float);
            good = false;
        }
    }
    if (!good) return std::nullopt;
    return arguments;
}

namespace {

TParticleLifeCurves& CurrentLife(TLoadState& state) {
    return state.Script.Containers[std::size_t(state.CurrentType)].Life;
}

TScriptEmission& CurrentEmission(TLoadState& state) {
    return state.Script.Emission[std::size_t(state.CurrentType)];
}

/// Inserts after every key of an equal or earlier time: the list stays sorted and equal times keep
/// the script's order.
template <typename TKey> void InsertKey(std::vector<TKey>& keys, const TKey& key) {
    const auto at = std::upper_bound(keys.begin(), keys.end(), key.Time,
                                     [](float time, const TKey& other) { return time < other.Time; });
    keys.insert(at, key);
}

bool RequireKeyTime(TLoadState& state, double time, std::string_view command) {
    return RequireWithin(state, time, 0.0, 1.0, "Time", command);
}

void RunColorKey(TLoadState& state, const TArguments& a) {
    std::vector<TLifeColorKey>& keys = CurrentLife(state).ColorKeys;
    if (!RequireRoom(state, keys.size(), MaxScriptLifeKeys, "colorkey")) return;
    if (!RequireKeyTime(state, a.Value[0], "colorkey")) return;
    const bool colourInRange =
        std::all_of(a.Value + 1, a.Value + 4, [](double c) { return c >= 0 && c <= 1; });
    if (!Require(state, colourInRange, "Colour", "colorkey", "lie between 0 and 1")) return;
    InsertKey(keys, TLifeColorKey{float(a.Value[0]),
                                  TVector3{float(a.Value[1]), float(a.Value[2]), float(a.Value[3])}});
}

void RunAlphaKey(TLoadState& state, const TArguments& a) {
    std::vector<TLifeAlphaKey>& keys = CurrentLife(state).AlphaKeys;
    if (!RequireRoom(state, keys.size(), MaxScriptLifeKeys, "alphakey")) return;
    if (!RequireKeyTime(state, a.Value[0], "alphakey")) return;
    if (!RequireWithin(state, a.Value[1], 0.0, 1.0, "Opacity", "alphakey")) return;
    InsertKey(keys, TLifeAlphaKey{float(a.Value[0]), float(a.Value[1])});
}

void RunSizeKey(TLoadState& state, const TArguments& a) {
    std::vector<TLifeSizeKey>& keys = CurrentLife(state).SizeKeys;
    if (!RequireRoom(state, keys.size(), MaxScriptLifeKeys, "sizekey")) return;
    if (!RequireKeyTime(state, a.Value[0], "sizekey")) return;
    if (!RequireNotNegative(state, std::min(a.Value[1], a.Value[2]), "Size", "sizekey")) return;
    if (!RequireNotNegative(state, std::max(a.Value[1], a.Value[2]), "Size", "sizekey")) return;
    InsertKey(keys, TLifeSizeKey{float(a.Value[0]), float(a.Value[1]), float(a.Value[2])});
}

/// "tiles A to B" of a flipbook, for messages.
std::string TileSpan(std::int64_t first, std::int64_t count) {
    return "tiles " + std::to_string(first) + " to " + std::to_string(first + count - 1);
}

void RunFlipbook(TLoadState& state, const TArguments& a) {
    if (!RequireWithin(state, a.Value[1], 1.0, MaxScriptTextureTiles, "Tile count", "flipbook")) return;
    if (!Require(state, a.Value[2] > 0.0 && a.Value[2] <= MaxScriptFlipbookCycles, "Cycles", "flipbook",
                 "be above 0 and at most " + BoundText(MaxScriptFlipbookCycles)))
        return;
    const auto first = std::int64_t(a.Value[0]);
    const auto count = std::int64_t(a.Value[1]);
    const auto tiles =
        std::int64_t(state.Script.Containers[std::size_t(state.CurrentType)].TextureTiles.size());
    const std::string type = std::to_string(state.CurrentType);
    if (tiles == 0) {
        ReportLineError(state, "): Particle type " + type +
                                   " has no atlas yet (textureproperties comes first) - skipping command.");
        return;
    }
    if (first < 0 || first + count > tiles) {
        ReportLineError(state, "): Flipbook " + TileSpan(first, count) +
                                   " lie outside the atlas of particle type " + type + " (" +
                                   TileSpan(0, tiles) + ") - skipping command.");
        return;
    }
    CurrentLife(state).Flipbook = TFlipbook{std::int32_t(first), std::int32_t(count), float(a.Value[2])};
}

void RunBurst(TLoadState& state, const TArguments& a) {
    std::vector<TScriptBurst>& bursts = CurrentEmission(state).Bursts;
    if (!RequireRoom(state, bursts.size(), MaxScriptBursts, "burst")) return;
    if (!RequireWithin(state, a.Value[0], 0.0, MaxScriptBurstValue, "Time", "burst")) return;
    if (!RequireWithin(state, a.Value[1], 1.0, MaxScriptBurstValue, "Count", "burst")) return;
    TScriptBurst burst;
    burst.Time = float(a.Value[0]);
    burst.Count = std::int32_t(a.Value[1]);
    if (a.Count == 4) {
        if (!RequireWithin(state, a.Value[3], 0.0, MaxScriptBurstValue, "Repeats", "burst")) return;
        if (a.Value[3] > 0 &&
            !Require(state, a.Value[2] > 0.0 && a.Value[2] <= MaxScriptBurstValue, "Interval", "burst",
                     "be above 0 and at most " + BoundText(MaxScriptBurstValue)))
            return;
        burst.Interval = float(a.Value[2]);
        burst.Repeats = std::int32_t(a.Value[3]);
    }
    bursts.push_back(burst);
}

void RunShape(TLoadState& state, TEmitterShape shape, std::string_view command, double radius) {
    if (!RequireNotNegative(state, radius, "Radius", command)) return;
    TScriptEmitter& emitter = CurrentEmission(state).Emitter;
    emitter.Shape = shape;
    emitter.Radius = float(radius);
}

void RunOutward(TLoadState& state, double speed) {
    if (!Require(state, std::isfinite(float(speed)), "Speed", "outward", "be a finite number")) return;
    CurrentEmission(state).Emitter.OutwardSpeed = float(speed);
}

void RunSubEmitter(TLoadState& state, TScriptEvent event, std::string_view command, const TArguments& a) {
    std::vector<TScriptSubEmitter>& subEmitters = CurrentEmission(state).SubEmitters;
    if (!RequireRoom(state, subEmitters.size(), MaxScriptSubEmitters, "ondeath and onbounce")) return;
    if (!Require(state, a.Value[0] >= 0, "Particle type", command, "not be negative")) return;
    if (!RequireWithin(state, a.Value[1], 1.0, MaxScriptSubEmitterCount, "Count", command)) return;
    subEmitters.push_back(TScriptSubEmitter{event, std::int32_t(a.Value[0]), std::int32_t(a.Value[1])});
    state.Notes.SubEmitters.push_back(TSubEmitterNote{state.CurrentType, event, subEmitters.back().Type,
                                                      subEmitters.back().Count, CurrentPlace(state)});
    // The target may be a type set up further down: it is checked at the end of the load.
    state.PendingTypeChecks.push_back(TPendingTypeCheck{state.CurrentType, subEmitters.size() - 1, state.Line,
                                                        state.RawLine, state.CommandOffset});
}

void RunPrewarm(TLoadState& state, double seconds) {
    if (!RequireWithin(state, seconds, 0.0, MaxScriptPrewarmSeconds, "Seconds", "prewarm")) return;
    state.Script.Prewarm = float(seconds);
}

void RunLifeCommand(TLoadState& state, int index, const TArguments& a) {
    switch (index) {
    case ColorKey:
        return RunColorKey(state, a);
    case AlphaKey:
        return RunAlphaKey(state, a);
    case SizeKey:
        return RunSizeKey(state, a);
    default:
        return RunFlipbook(state, a);
    }
}

void RunEmissionCommand(TLoadState& state, int index, const TArguments& a) {
    switch (index) {
    case Burst:
        return RunBurst(state, a);
    case Sphere:
        return RunShape(state, TEmitterShape::Sphere, "sphere", a.Value[0]);
    case Shell:
        return RunShape(state, TEmitterShape::SphereShell, "shell", a.Value[0]);
    case Disc:
        return RunShape(state, TEmitterShape::Disc, "disc", a.Value[0]);
    case Ring:
        return RunShape(state, TEmitterShape::Ring, "ring", a.Value[0]);
    case Outward:
        return RunOutward(state, a.Value[0]);
    case OnDeath:
        return RunSubEmitter(state, TScriptEvent::Death, "ondeath", a);
    case OnBounce:
        return RunSubEmitter(state, TScriptEvent::Bounce, "onbounce", a);
    default:
        return RunPrewarm(state, a.Value[0]);
    }
}

} // namespace

int RunEffectCommand(TLoadState& state, int row, int index, std::string_view text) {
    const TEffectCommandShape& shape =
        row == 5 ? LifeShapes[std::size_t(index)] : EmissionShapes[std::size_t(index)];
    const int commas = SplitNewerCommand(state, shape.PerType, text, shape.Commas, shape.LongCommas);
    if (commas < 0) return 2;
    const int restSlot = commas + 2;
    const std::optional<TArguments> arguments = ConvertArguments(state, shape.Kinds, commas + 1);
    if (!arguments) return restSlot;
    if (row == 5) {
        RunLifeCommand(state, index, *arguments);
    } else {
        RunEmissionCommand(state, index, *arguments);
    }
    return restSlot;
}

void RecheckFlipbook(TLoadState& state, std::size_t type) {
    TFlipbook& flipbook = state.Script.Containers[type].Life.Flipbook;
    const auto tiles = std::int64_t(state.Script.Containers[type].TextureTiles.size());
    if (flipbook.TileCount <= 0 || std::int64_t(flipbook.FirstTile) + flipbook.TileCount <= tiles) return;
    ReportLineError(state, "): The flipbook of particle type " + std::to_string(type) + " (" +
                               TileSpan(flipbook.FirstTile, flipbook.TileCount) +
                               ") no longer fits its atlas (" + TileSpan(0, tiles) + ") - flipbook dropped.");
    flipbook = TFlipbook{};
}

void CheckSubEmitterTypes(TLoadState& state) {
    const std::size_t types = state.Script.Containers.size();
    std::vector<std::pair<std::int32_t, std::size_t>> dropped;
    for (const TPendingTypeCheck& check : state.PendingTypeChecks) {
        const TScriptSubEmitter& sub =
            state.Script.Emission[std::size_t(check.Owner)].SubEmitters[check.Index];
        if (std::size_t(sub.Type) < types) continue;
        state.Line = check.Line;
        state.RawLine = check.RawLine;
        state.CommandOffset = check.CommandOffset;
        state.Columns.reset();
        ReportLineError(state, "): Particle type " + std::to_string(sub.Type) + " of " +
                                   (sub.Event == TScriptEvent::Death ? "ondeath" : "onbounce") +
                                   " does not exist (the script has " + std::to_string(types) +
                                   " particle types) - skipping command.");
        dropped.emplace_back(check.Owner, check.Index);
    }
    // Later indices first, so the earlier ones still name the same entries.
    std::sort(dropped.rbegin(), dropped.rend());
    for (const auto& [owner, index] : dropped) {
        std::vector<TScriptSubEmitter>& list = state.Script.Emission[std::size_t(owner)].SubEmitters;
        list.erase(list.begin() + std::ptrdiff_t(index));
    }
}

} // namespace lumidor::script_detail
