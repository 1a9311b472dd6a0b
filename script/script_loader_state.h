#pragma once
// State of one LoadScript call, shared by the line loop and the command handlers. Not part of the
// public interface.

#include "script/particle_script.h"
#include "script/script_columns.h"
#include "script/script_scanner.h"
#include "script/script_warnings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumidor::script_detail {

/// An "ondeath" or "onbounce" whose target type is checked once every type is known.
struct TPendingTypeCheck {
    std::int32_t Owner = 0;        ///< type that holds the sub-emitter
    std::size_t Index = 0;         ///< its index in the owner's SubEmitters
    std::int32_t Line = 0;         ///< where the command stands, for the message
    std::string_view RawLine;      ///< the raw line (a view into the load's text)
    std::size_t CommandOffset = 0; ///< the command's offset in the normalised line
};

struct TLoadState {
    TLoadState(TParticleScript& script, TScriptLoadReport& report) : Script(script), Report(report) {}

    TParticleScript& Script;
    TScriptLoadReport& Report;
    std::int32_t Line = 0;           ///< zero-based number of the line being processed
    std::int32_t CurrentType = -1;   ///< index into Containers that per-type commands address
    std::int32_t CurrentMagnet = -1; ///< magnet point Id that the magnet commands address
    TScriptSlotViews Slots;          ///< views into the line being processed, shared by its matches
    std::size_t LogLimit = 0;        ///< DebugLog size past which messages are counted, not written
    bool LogFull = false;            ///< the log-limit line has been written
    bool MagnetIdsAreIndices = true; ///< every magnet point of every container has Id == its index
    float U = 0.0f;                  ///< scratch carried between textureproperties, blendfactor, mposition
    float V = 0.0f;
    float W = 0.0f;
    std::string_view RawLine;              ///< the line as read, for the columns of diagnostics
    std::size_t CommandOffset = 0;         ///< where the current command starts in the normalised line
    std::optional<TRawColumnWalk> Columns; ///< raw columns of the line; set up at its first problem
    std::string TextureRoot; ///< folder relative texture names are read from; empty: working dir
    std::vector<TPendingTypeCheck> PendingTypeChecks; ///< sub-emitters of this load, in script order
    std::int32_t TextureLine = -1;       ///< line of the last "loadtexture" of this load; -1: none
    std::vector<std::int32_t> TypeLines; ///< line of each type's "setnewparticletype" in this load; -1: none
    TWarningNotes Notes;                 ///< where the settings the warnings look at were written
};

/// Adds `count` to the load's error count, saturating at INT32_MAX.
void CountErrors(TLoadState& state, std::int64_t count);
/// Appends "Error (Line N)" + `message` + CR and counts one error.
void ReportLineError(TLoadState& state, std::string_view message);
/// ReportLineError that also gives the diagnostic `plain`, the problem in plain words.
void ReportLineError(TLoadState& state, std::string_view message, std::string plain);
/// ReportValueError on the load's log and count (a boolean's diagnostic says in plain words which
/// texts are booleans).
void ReportBadValue(TLoadState& state, std::string_view text, TValueKind kind);
/// Number of `c` in `text` up to and including its first ";" (0 when there is none).
int CountBeforeFirstSemicolon(std::string_view text, char c);

/// The pattern that splits a command of `commas` + 1 arguments; 0 commas keeps the generic match.
inline constexpr std::string_view PatternByCommas[] = {"%(%);%",       "%(%,%);%",       "%(%,%,%);%",
                                                       "%(%,%,%,%);%", "%(%,%,%,%,%);%", "%(%,%,%,%,%,%);%"};

/// A command's converted arguments.
struct TArguments {
    int Count = 0;
    double Value[6] = {};
};

/// "0", "1", "1000000", or the shortest form of other bounds.
std::string BoundText(double value);
/// Reports "WHAT of COMMAND must TEXT - skipping command." unless `ok`.
bool Require(TLoadState& state, bool ok, std::string_view what, std::string_view command,
             const std::string& condition);
/// `value` in [low, high] (NaN never is).
bool RequireWithin(TLoadState& state, double value, double low, double high, std::string_view what,
                   std::string_view command);
/// A finite `value` of at least 0 (stored as a float, so the float range is the limit).
bool RequireNotNegative(TLoadState& state, double value, std::string_view what, std::string_view command);
/// Reports "Too many COMMANDS commands for particle type T (at most CAP)" when `held` reached `cap`.
bool RequireRoom(TLoadState& state, std::size_t held, std::int32_t cap, std::string_view commands);
/// What every newer command checks first: a per-type command before the first type, then the number
/// of arguments (`commas` or `longCommas` commas), each refusal one log line; then the arguments are
/// split into slots 1.. . The commas counted, or -1 when the command was refused.
int SplitNewerCommand(TLoadState& state, bool perType, std::string_view text, int commas, int longCommas);
/// Converts slots 1..count by `kinds` ('f' float, 'i' integer, 'b' boolean); every bad value is
/// reported. Nullopt when any was bad.
std::optional<TArguments> ConvertArguments(TLoadState& state, std::string_view kinds, int count);

/// Plain words for `text` that is no boolean: the texts that are.
std::string PlainNotBoolean(std::string_view text);
/// Plain words for a "loadtexture" without a name in two single quotes: the author's name re-quoted
/// when it stood in double quotes or in none, else what a file name looks like. `raw` is the raw line,
/// `column` the command's 1-based column in it.
std::string PlainNotAString(std::string_view raw, std::int32_t column);
/// Plain words for a wrong argument count of `command` written as `text` (the rest of the line from
/// the command on): a missing ')' named as such, else the values it takes (`values`, or `longValues`
/// too when above 0 and different; `form` says how they are grouped, empty for a plain list) and got.
std::string PlainParameterCount(std::string_view command, std::string_view text, int values, int longValues,
                                std::string_view form = {});
/// Plain words for the end check of a load without a texture; `textureLine` is the line of the last
/// "loadtexture" (-1: none), `types` the particle types of the load.
std::string PlainNoTexture(std::int32_t textureLine, std::int32_t types);
/// Plain words for the end check of particle type `type` without tiles, set up on `typeLine` (-1: unknown).
std::string PlainNoTiles(std::int32_t type, std::int32_t typeLine);

/// Runs row-4 command `index` on `text` (already matched by the generic pattern); returns the slot
/// that holds the rest of the line.
int RunOwnRuleCommand(TLoadState& state, int index, std::string_view text);
/// Runs command `index` of keyword row 5 or 6 (the newer commands); returns the rest-of-line slot.
int RunEffectCommand(TLoadState& state, int row, int index, std::string_view text);
/// Runs command `index` of keyword row 7 or 8 (how particles look and move); returns the rest-of-line
/// slot.
int RunLookCommand(TLoadState& state, int row, int index, std::string_view text);
/// After "textureproperties" changed the atlas of `type`: a flipbook that no longer fits is dropped
/// with a message.
void RecheckFlipbook(TLoadState& state, std::size_t type);
/// End of the load: sub-emitters naming a type the record does not hold are dropped with a message
/// at their own line.
void CheckSubEmitterTypes(TLoadState& state);

} // namespace lumidor::script_detail
