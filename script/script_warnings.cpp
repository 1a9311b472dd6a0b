// The rules of a load's warnings, each saying what the author will see and what to write instead. Every
// rule reads the loaded record (what the runtime will use) and the places noted while loading. Nothing
// is reported twice: a command refused with an error stores nothing, a command with a bad value is not
// judged, and a type whose part of the script has an error is not told it misses a command (the error
// may be that command, misspelt or malformed).

#include "script/script_warnings.h"

#include "script/script_loader_state.h"
#include "script/script_runtime_detail.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <utility>

namespace lumidor::script_detail {

namespace {

/// Above this "airresistance" turns particles round in any frame longer than 1/value s: the demo's
/// frames are not capped, and a frame of a tenth of a second (a slow machine, a hitch) is common.
/// Values up to it only brake harder, which scripts use on purpose.
constexpr float HighAirResistance = 10.0f;

const TCommandPlace& PlaceOf(const TTypeNotes& notes, TNotedCommand command) {
    return notes.Places[std::size_t(command)];
}

bool Given(const TTypeNotes& notes, TNotedCommand command) {
    return PlaceOf(notes, command).Line >= 0;
}

/// Not written for the type, where no error may have refused it.
bool Missing(const TTypeNotes& notes, TNotedCommand command) {
    return !Given(notes, command) && !notes.ErrorsInPart;
}

/// Given and every value of it converted: the values in the record are the command's own.
bool Judged(const TTypeNotes& notes, TNotedCommand command) {
    return Given(notes, command) && PlaceOf(notes, command).Clean;
}

void Warn(TScriptLoadReport& report, const TCommandPlace& place, std::string message) {
    if (report.Warnings.size() >= MaxScriptWarnings) return;
    TScriptDiagnostic& warning = report.Warnings.emplace_back();
    warning.Line = place.Line;
    warning.Column = place.Column;
    warning.Message = std::move(message);
}

std::string TypeText(std::size_t type) {
    return "particle type " + std::to_string(type);
}

std::string TypeTitle(std::size_t type) {
    return "Particle type " + std::to_string(type);
}

std::string ParticlesOf(std::size_t type) {
    return "the particles of type " + std::to_string(type);
}

/// Per type: whether it ever gets particles. A count of 1 or more, a burst or a rate above 0 gives a
/// type its own; a sub-emitter of a type that gets particles passes them on.
std::vector<bool> FedTypes(const TParticleScript& script) {
    const std::size_t types = RunnableTypes(script);
    std::vector<bool> fed(types, false);
    for (std::size_t type = 0; type < types; ++type) {
        const bool rate = type < script.Look.size() && script.Look[type].Used && script.Look[type].HasRate &&
                          script.Look[type].Rate > 0.0f;
        const bool bursts = type < script.Emission.size() && !script.Emission[type].Bursts.empty();
        fed[type] = rate || bursts || ScriptParticlesToEmit(script.Values[type].NumParticles, false, 0) > 0;
    }
    for (bool grew = true; grew;) {
        grew = false;
        for (std::size_t owner = 0; owner < std::min(types, script.Emission.size()); ++owner) {
            if (!fed[owner]) continue;
            for (const TScriptSubEmitter& sub : script.Emission[owner].SubEmitters) {
                if (sub.Type < 0 || std::size_t(sub.Type) >= types || sub.Count <= 0) continue;
                if (!fed[std::size_t(sub.Type)]) fed[std::size_t(sub.Type)] = grew = true;
            }
        }
    }
    return fed;
}

bool HasDeathSubEmitter(const TParticleScript& script, std::size_t type) {
    if (type >= script.Emission.size()) return false;
    const std::vector<TScriptSubEmitter>& subs = script.Emission[type].SubEmitters;
    return std::any_of(subs.begin(), subs.end(),
                       [](const TScriptSubEmitter& sub) { return sub.Event == TScriptEvent::Death; });
}

void WarnAtlas(TScriptLoadReport& report, const TParticleScript& script, std::size_t type,
               const TTypeNotes& notes) {
    const TParticleEffectContainer& container = script.Containers[type];
    const auto tiles = std::int64_t(container.TextureTiles.size());
    if (tiles == 0) {
        // A refused textureproperties has its own error; a missing one only the end check's, which
        // names no line.
        if (!Missing(notes, TNotedCommand::TextureProperties) || !report.TextureLoaded) return;
        Warn(report, PlaceOf(notes, TNotedCommand::SetNewParticleType),
             TypeTitle(type) + " has no texture atlas (no textureproperties after a loadtexture): its "
                               "particles are drawn as plain squares of their colour, without a picture - "
                               "add textureproperties(rows, columns) after its setnewparticletype.");
        return;
    }
    // A flipbook replaces the tile, so the tile is never drawn.
    if (!Judged(notes, TNotedCommand::Texture) || container.Life.Flipbook.TileCount > 0) return;
    const std::int32_t tile = TruncToInt32(script.Values[type].TextureTile);
    if (tile >= 0 && tile < tiles) return;
    const std::string last = std::to_string(tiles - 1);
    Warn(report, PlaceOf(notes, TNotedCommand::Texture),
         "texture(" + BoundText(script.Values[type].TextureTile) + ") is outside the atlas of " +
             TypeText(type) + " (tiles 0 to " + last + ", as its textureproperties cut the texture): tile " +
             (tile < 0 ? "0" : last) + " is drawn instead - use a tile from 0 to " + last + ".");
}

void WarnColour(TScriptLoadReport& report, const TParticleScript& script, std::size_t type,
                const TTypeNotes& notes) {
    const TParticleEffectContainer& container = script.Containers[type];
    if (!Missing(notes, TNotedCommand::Color) || !container.Life.ColorKeys.empty()) return;
    const std::string what = container.BlendDst == GL_ONE
                                 ? "its particles are black, and black adds nothing under its additive "
                                   "blending: the type is invisible"
                                 : "its particles are drawn black";
    Warn(report, PlaceOf(notes, TNotedCommand::SetNewParticleType),
         TypeTitle(type) + " has no color and no colorkey, so " + what +
             " - give it a color(red, green, blue) or colour keys.");
}

void WarnCount(TScriptLoadReport& report, const TParticleScript& script, std::size_t type,
               const TTypeNotes& notes, bool fed) {
    if (fed) return;
    const std::string never = "nothing else creates any (no burst or rate, and no ondeath or onbounce of a "
                              "type that gets particles), so " +
                              TypeText(type) + " never shows - give it a particlecount of 1 or more.";
    if (Judged(notes, TNotedCommand::ParticleCount)) {
        Warn(report, PlaceOf(notes, TNotedCommand::ParticleCount),
             "particlecount(" + BoundText(script.Values[type].NumParticles) +
                 ") creates no particle (a count is a whole number, and below 1 is none), and " + never);
    } else if (Missing(notes, TNotedCommand::ParticleCount)) {
        Warn(report, PlaceOf(notes, TNotedCommand::SetNewParticleType),
             TypeTitle(type) + " has no particlecount, and " + never);
    }
}

void WarnLife(TScriptLoadReport& report, const TParticleScript& script, std::size_t type,
              const TTypeNotes& notes, bool fed) {
    // A type whose particles die to make others works even when they die at once.
    if (!fed || HasDeathSubEmitter(script, type)) return;
    const TScriptLifeRange& life = script.Ranges[type].Life;
    const std::string unseen = "every particle dies in its first frame, before it is drawn";
    if (Judged(notes, TNotedCommand::LifeLength)) {
        if (life.Base + std::max(life.Spread, 0.0f) > 0.0f) return;
        Warn(report, PlaceOf(notes, TNotedCommand::LifeLength),
             "lifelength(" + BoundText(life.Spread) + ", " + BoundText(life.Base) + ") gives " +
                 TypeText(type) + " lives of 0 s or less: " + unseen +
                 " - give a fixed part (the second value) above 0.");
    } else if (Missing(notes, TNotedCommand::LifeLength)) {
        Warn(report, PlaceOf(notes, TNotedCommand::SetNewParticleType),
             TypeTitle(type) + " has no lifelength, so its particles live 0 s: " + unseen +
                 " - give it a lifelength(random part, fixed part) in seconds.");
    }
}

void WarnSize(TScriptLoadReport& report, const TParticleScript& script, std::size_t type,
              const TTypeNotes& notes, bool fed) {
    if (!fed || !script.Containers[type].Life.SizeKeys.empty()) return;
    const TScriptRanges& ranges = script.Ranges[type];
    const TScriptPair& random = ranges.RandomSize;
    if (random.First < random.Second) {
        if (!Judged(notes, TNotedCommand::RandomSize) || random.Second > 0.0f) return;
        Warn(report, PlaceOf(notes, TNotedCommand::RandomSize),
             "randomsize(" + BoundText(random.First) + ", " + BoundText(random.Second) + ") gives " +
                 TypeText(type) +
                 " sizes of 0 or below: a particle of size 0 is never seen and one below 0 is drawn "
                 "mirrored - give sizes above 0.");
        return;
    }
    const TScriptPair& size = ranges.Size;
    const std::string written = "size(" + BoundText(size.First) + ", " + BoundText(size.Second) + ")";
    if (Judged(notes, TNotedCommand::Size) && (size.First < 0.0f || size.Second < 0.0f)) {
        Warn(report, PlaceOf(notes, TNotedCommand::Size),
             written + " is below 0: " + ParticlesOf(type) +
                 " are drawn mirrored, as large as without the sign - write sizes without a sign.");
        return;
    }
    // A side of 0 that enlargement does not grow draws nothing.
    const bool flat = (size.First == 0.0f && !(ranges.Enlargement.First > 0.0f)) ||
                      (size.Second == 0.0f && !(ranges.Enlargement.Second > 0.0f));
    if (!flat) return;
    const std::string unseen = ParticlesOf(type) + " have no area and are never seen";
    if (Judged(notes, TNotedCommand::Size)) {
        Warn(report, PlaceOf(notes, TNotedCommand::Size),
             written + " is 0 on a side that enlargement does not grow: " + unseen +
                 " - give both sizes above 0.");
    } else if (Judged(notes, TNotedCommand::RandomSize) && !Given(notes, TNotedCommand::Size)) {
        Warn(report, PlaceOf(notes, TNotedCommand::RandomSize),
             "randomsize(" + BoundText(random.First) + ", " + BoundText(random.Second) +
                 ") draws sizes only when its first value is below its second, and there is no size "
                 "to use instead: " +
                 unseen + " - write randomsize(smallest, largest).");
    } else if (Missing(notes, TNotedCommand::Size) && Missing(notes, TNotedCommand::RandomSize)) {
        Warn(report, PlaceOf(notes, TNotedCommand::SetNewParticleType),
             TypeTitle(type) + " has no size, randomsize or sizekey, so its particles have size 0 and are "
                               "never seen - give it a size(width, height).");
    }
}

void WarnMotion(TScriptLoadReport& report, const TParticleScript& script, std::size_t type,
                const TTypeNotes& notes) {
    const TScriptValues& values = script.Values[type];
    if (Judged(notes, TNotedCommand::Mass) && values.Mass < 0.0f) {
        Warn(report, PlaceOf(notes, TNotedCommand::Mass),
             "mass(" + BoundText(values.Mass) + ") is taken as mass(" + BoundText(-values.Mass) +
                 "): the sign is dropped - write the mass without a sign.");
    } else if (Judged(notes, TNotedCommand::Mass) && values.Mass == 0.0f) {
        Warn(report, PlaceOf(notes, TNotedCommand::Mass),
             "mass(0) leaves " + TypeText(type) +
                 " weightless: its start velocity is not divided by a mass (as with mass 1) and wind and "
                 "magnet points push it at full strength - give a mass above 0 (1 is usual).");
    }
    if (!Judged(notes, TNotedCommand::AirResistance)) return;
    const std::string written = "airresistance(" + BoundText(values.AirResistance) + ")";
    if (values.AirResistance < 0.0f) {
        Warn(report, PlaceOf(notes, TNotedCommand::AirResistance),
             written + " is below 0: it speeds " + ParticlesOf(type) +
                 " up in every frame instead of braking them - give 0 or more.");
    } else if (values.AirResistance > HighAirResistance) {
        Warn(report, PlaceOf(notes, TNotedCommand::AirResistance),
             written + " takes " + BoundText(values.AirResistance) +
                 " x the frame time off the speed in every frame, so at fewer than " +
                 BoundText(values.AirResistance) + " frames a second " + ParticlesOf(type) +
                 " turn round and fly backwards - keep it at " + BoundText(HighAirResistance) + " or below.");
    }
}

void WarnBlending(TScriptLoadReport& report, const TParticleScript& script, std::size_t type,
                  const TTypeNotes& notes) {
    if (!Judged(notes, TNotedCommand::BlendFactor)) return;
    const TParticleEffectContainer& container = script.Containers[type];
    const bool sourceGood = IsBlendFactor(container.BlendSrc, true);
    const bool destinationGood = IsBlendFactor(container.BlendDst, false);
    if (sourceGood && destinationGood) return;
    std::string wrong;
    if (!sourceGood) wrong = std::to_string(container.BlendSrc) + " is not a source factor";
    if (!sourceGood && !destinationGood) wrong += " and ";
    if (!destinationGood) wrong += std::to_string(container.BlendDst) + " is not a destination factor";
    Warn(report, PlaceOf(notes, TNotedCommand::BlendFactor),
         "blendfactor(" + std::to_string(container.BlendSrc) + ", " + std::to_string(container.BlendDst) +
             "): " + wrong + " of OpenGL, so OpenGL refuses it and " + TypeText(type) +
             " is drawn with whatever blending was set before it - use GL blend factors such as 770, 1 "
             "(additive light) or 770, 771 (see-through).");
}

/// Sub-emitter chains that grow with every generation. Deaths are certain (every particle dies once);
/// bounces need a ground, so "onbounce" only feeds a chain. A group of types that create each other on
/// death grows exactly when one of them creates 2 or more particles of the group per death: otherwise
/// each creates one, the group is one ring and every generation is as large as the last.
void WarnChains(TScriptLoadReport& report, const TParticleScript& script, const TWarningNotes& notes,
                const std::vector<bool>& fed) {
    const std::size_t types = RunnableTypes(script);
    if (types == 0 || notes.SubEmitters.empty()) return;
    std::vector<std::vector<std::int64_t>> deaths(types, std::vector<std::int64_t>(types, 0));
    std::vector<std::vector<bool>> reach(types, std::vector<bool>(types, false));
    for (std::size_t owner = 0; owner < std::min(types, script.Emission.size()); ++owner) {
        for (const TScriptSubEmitter& sub : script.Emission[owner].SubEmitters) {
            if (sub.Type < 0 || std::size_t(sub.Type) >= types || sub.Count <= 0) continue;
            if (sub.Event == TScriptEvent::Death) {
                deaths[owner][std::size_t(sub.Type)] += sub.Count;
                reach[owner][std::size_t(sub.Type)] = true;
            }
        }
    }
    for (std::size_t k = 0; k < types; ++k)
        for (std::size_t i = 0; i < types; ++i)
            if (reach[i][k])
                for (std::size_t j = 0; j < types; ++j)
                    if (reach[k][j]) reach[i][j] = true;
    std::vector<bool> judged(types, false);
    for (std::size_t first = 0; first < types; ++first) {
        if (judged[first] || !reach[first][first]) continue;
        std::vector<std::size_t> group;
        for (std::size_t t = first; t < types; ++t)
            if (t == first || (reach[first][t] && reach[t][first])) group.push_back(t);
        bool grows = false;
        bool anyFed = false;
        for (const std::size_t t : group) {
            judged[t] = true;
            anyFed = anyFed || fed[t];
            std::int64_t inside = 0;
            for (const std::size_t u : group)
                inside += deaths[t][u];
            grows = grows || inside >= 2;
        }
        if (!grows || !anyFed) continue;
        const auto inGroup = [&](std::int32_t t) {
            return std::find(group.begin(), group.end(), std::size_t(t)) != group.end();
        };
        const auto note =
            std::find_if(notes.SubEmitters.begin(), notes.SubEmitters.end(), [&](const auto& n) {
                return n.Event == TScriptEvent::Death && inGroup(n.Owner) && inGroup(n.Target);
            });
        if (note == notes.SubEmitters.end()) continue; // a chain of an earlier load
        std::string who;
        if (group.size() == 1) {
            who = TypeTitle(first) + " creates " + std::to_string(deaths[first][first]) +
                  " particles of its own type for each one that dies (ondeath)";
        } else {
            who = "Particle types";
            for (std::size_t k = 0; k < group.size(); ++k)
                who += (k == 0 ? " " : k + 1 == group.size() ? " and " : ", ") + std::to_string(group[k]);
            who += " create each other when they die (ondeath), more particles than died";
        }
        Warn(report, note->Place,
             who +
                 ", so every generation is larger than the last and the chain always ends at the "
                 "script's limits (" +
                 std::to_string(MaxScriptSubParticlesPerStep) + " new particles a frame, " +
                 std::to_string(MaxScriptParticlesPerScript) +
                 " in all), where further particles are dropped - create 1 particle per death, or end "
                 "the chain with a type that creates none.");
    }
}

} // namespace

bool IsBlendFactor(std::uint32_t factor, bool source) {
    // GL_ZERO, GL_ONE, GL_SRC_COLOR .. GL_ONE_MINUS_DST_COLOR, the constant colour and alpha factors;
    // GL_SRC_ALPHA_SATURATE only as the source.
    if (factor <= GL_ONE || (factor >= 0x8001u && factor <= 0x8004u)) return true;
    return factor >= 0x0300u && factor <= (source ? 0x0308u : 0x0307u);
}

TCommandPlace CurrentPlace(TLoadState& state) {
    if (!state.Columns) state.Columns.emplace(state.RawLine);
    return TCommandPlace{state.Line, state.Columns->Column(state.CommandOffset), true};
}

void NoteCommand(TLoadState& state, TNotedCommand command, bool clean) {
    if (state.CurrentType < 0) return;
    std::vector<TTypeNotes>& types = state.Notes.Types;
    if (types.size() <= std::size_t(state.CurrentType)) types.resize(std::size_t(state.CurrentType) + 1);
    TCommandPlace place = CurrentPlace(state);
    place.Clean = clean;
    types[std::size_t(state.CurrentType)].Places[std::size_t(command)] = place;
}

void WarnHere(TLoadState& state, std::string message) {
    Warn(state.Report, CurrentPlace(state), std::move(message));
}

void GatherScriptWarnings(TLoadState& state) {
    const TParticleScript& script = state.Script;
    TScriptLoadReport& report = state.Report;
    const std::size_t types = std::min(RunnableTypes(script), state.Notes.Types.size());
    const std::vector<bool> fed = FedTypes(script);
    // The part of the script each type of this load starts, by line; an error belongs to the last
    // part that starts at or before its line.
    std::vector<std::pair<std::int32_t, std::size_t>> parts;
    for (std::size_t type = 0; type < types; ++type) {
        const TCommandPlace& start = PlaceOf(state.Notes.Types[type], TNotedCommand::SetNewParticleType);
        if (start.Line >= 0) parts.emplace_back(start.Line, type);
    }
    std::vector<bool> errorsInPart(types, false);
    for (const TScriptDiagnostic& error : report.Diagnostics) {
        const auto after =
            std::upper_bound(parts.begin(), parts.end(), error.Line,
                             [](std::int32_t line, const auto& part) { return line < part.first; });
        if (error.Line >= 0 && after != parts.begin()) errorsInPart[std::prev(after)->second] = true;
    }
    for (const auto& [line, type] : parts) {
        TTypeNotes notes = state.Notes.Types[type];
        notes.ErrorsInPart = errorsInPart[type];
        WarnAtlas(report, script, type, notes);
        WarnColour(report, script, type, notes);
        WarnCount(report, script, type, notes, fed[type]);
        WarnLife(report, script, type, notes, fed[type]);
        WarnSize(report, script, type, notes, fed[type]);
        WarnMotion(report, script, type, notes);
        WarnBlending(report, script, type, notes);
    }
    WarnChains(report, script, state.Notes, fed);
    std::stable_sort(report.Warnings.begin(), report.Warnings.end(),
                     [](const TScriptDiagnostic& a, const TScriptDiagnostic& b) {
                         return std::pair(a.Line, a.Column) < std::pair(b.Line, b.Column);
                     });
}

} // namespace lumidor::script_detail
