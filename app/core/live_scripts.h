#pragma once
// The scripts the demo plays while their authors edit them: the three slot scripts and every script
// played with --script or dropped on the window. Each is reloaded when its file or one of its
// textures changes on disk, keeping the last good version running (script/live_script.h).

#include "script/live_script.h"

#include <array>
#include <deque>
#include <string>

namespace lumidor {

/// CurrentEffect of played script k is FirstPlayedSlot + k (after the nineteen effect slots).
inline constexpr int FirstPlayedSlot = 19;

/// A script played from a file of the user's choice.
struct TPlayedScript {
    TLiveScript Live;
    TParticleScript Script; ///< the running version
};

/// The bookkeeping of the three slot scripts (their running versions are Scripts[0..2]).
extern std::array<TLiveScript, 3> SlotScriptLives;
/// Played scripts in the order first played; a deque so references stay valid as it grows.
extern std::deque<TPlayedScript> PlayedScripts;

/// Monotonic wall-clock seconds (the watchers' clock).
double WallSeconds();

/// Loads slot script `index` from `file` into Scripts[index] and starts watching it.
void StartSlotScript(std::size_t index, const std::string& file);

/// Plays `file` as the current effect: loaded and watched the first time, selected again later.
/// Its state goes to standard error ("FILE: loaded"), after its problems ("FILE:LINE:COLUMN: error:
/// MESSAGE") when it has errors.
/// Returns the slot it runs as. Needs the GL context.
int PlayScriptFile(const std::string& file);

/// A dropped file: a .psc file is played; anything else is refused with a message.
void PlayDroppedFile(const std::string& file);

/// Reloads every watched script whose files changed (looks at the disk at most every 250 ms). Every
/// version of a script is given a ground under its bouncing types (GiveBouncingTypesAGround).
/// A refused version's problems and the state are printed to standard error, a new version's state too.
void PollLiveScripts(double now);

/// One frame of a played script slot (earlier versions' particles first); false for other slots.
bool RunPlayedScript(int slot, float dt);

/// One frame of slot script `index`: its earlier versions' particles, then Scripts[index].
void AdvanceSlotScript(std::size_t index, float dt);

} // namespace lumidor
