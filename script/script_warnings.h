#pragma once
// Warnings of a script load: settings the loader accepts that will surprise the author when the script
// runs (a tile outside the atlas, a type drawn black or without a picture, a life or size of nothing,
// blend factors GL refuses, a chain of sub-emitters that grows until the script's limits drop it).
// While the load runs, the command handlers note where each setting of a type was written; at its end
// GatherScriptWarnings reads the loaded record with those places. Warnings go to the load report only:
// never to the debugger log, the error count or the record. Not part of the public interface.

#include "script/particle_script.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumidor::script_detail {

struct TLoadState;

/// The commands whose place a type's warnings name.
enum class TNotedCommand : std::int32_t {
    SetNewParticleType,
    ParticleCount,
    LifeLength,
    Size,
    RandomSize,
    Mass,
    AirResistance,
    Texture,
    Color,
    BlendFactor,
    TextureProperties, ///< any attempt, refused or not
    Count,
};

/// Where the latest command of one kind stands for a type.
struct TCommandPlace {
    std::int32_t Line = -1;  ///< zero-based line; -1: the type has no such command
    std::int32_t Column = 0; ///< 1-based raw column where the command starts
    bool Clean = true;       ///< every value of the command converted (no error on it)
};

/// The places of one type's commands in this load.
struct TTypeNotes {
    std::array<TCommandPlace, std::size_t(TNotedCommand::Count)> Places; ///< indexed by TNotedCommand
    /// An error stands on a line of the type's part of the script (from its setnewparticletype to the
    /// next one's): a command missing there may be the one the error refused, so none is called missing.
    bool ErrorsInPart = false;
};

/// An "ondeath" or "onbounce" as the script wrote it, with its place.
struct TSubEmitterNote {
    std::int32_t Owner = 0;                   ///< type that holds it
    TScriptEvent Event = TScriptEvent::Death; ///< what triggers it
    std::int32_t Target = 0;                  ///< type it creates
    std::int32_t Count = 0;                   ///< particles per event
    TCommandPlace Place;                      ///< where it stands
};

/// What the warnings need from one load beyond the record.
struct TWarningNotes {
    std::vector<TTypeNotes> Types;            ///< indexed by particle type; only types of this load are noted
    std::vector<TSubEmitterNote> SubEmitters; ///< every accepted sub-emitter, in script order
};

/// The place of the command being run (its line and the column where it starts).
TCommandPlace CurrentPlace(TLoadState& state);
/// Notes that the current type's `command` stands at the current command; `clean` false when one of
/// its values was reported as bad.
void NoteCommand(TLoadState& state, TNotedCommand command, bool clean = true);
/// Adds a warning at the current command (for settings that are not per type, such as a magnet's radius).
void WarnHere(TLoadState& state, std::string message);
/// The end of a load: adds the warnings of every type this load set up and of its sub-emitters to the
/// report, then sorts all of the load's warnings by line and column.
void GatherScriptWarnings(TLoadState& state);

/// Whether `factor` is a GL blend factor glBlendFunc takes as the source (or the destination) factor.
bool IsBlendFactor(std::uint32_t factor, bool source);

} // namespace lumidor::script_detail
