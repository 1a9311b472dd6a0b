#pragma once
// A script that is played while its author edits it: reloaded when its file or one of its textures
// changes on disk, and only replaced by a version whose log reports no error. A refused version
// (errors, a missing, half-written or unreadable file) leaves the last good version running.
//
// Particles already flying when a new version takes over are not cut off: the old version stops
// emitting and its particles live out their lives with their old settings (at most
// RetiredScriptSeconds), drawn before the new version, so the effect turns over as naturally as a
// particle's life.

#include "particle_script.h"
#include "script_diagnostics.h"
#include "script_watch.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace lumidor {

/// Longest time, in seconds of frame time, an earlier version's particles are kept after a reload.
inline constexpr float RetiredScriptSeconds = 10.0f;
/// Most earlier versions kept flying at once; the oldest goes first.
inline constexpr std::size_t MaxRetiredScripts = 4;

/// An earlier version whose particles still fly.
struct TRetiredScript {
    TParticleScript Script; ///< emits nothing any more
    float Age = 0.0f;       ///< seconds since it was replaced
};

/// How the latest load went.
enum class TLiveScriptState { Loaded, Errors, NotFound };

/// What a poll did.
enum class TLiveReload { None, Replaced, Refused };

/// The bookkeeping of one played script. The running version itself is a TParticleScript the
/// caller owns (so the demo's slot scripts stay where they are); every function takes both.
struct TLiveScript {
    std::string File; ///< as given; opened relative to the working directory
    TLiveScriptState State = TLiveScriptState::NotFound; ///< what the last load found
    bool HasVersion = false;                    ///< a version runs (the first load runs even with errors)
    std::time_t VersionTime = 0;                ///< when the running version was read
    std::string Log;                            ///< debugger log of the latest load
    std::int32_t ErrorCount = 0;                ///< errors of the latest load
    std::vector<TScriptDiagnostic> Diagnostics; ///< problems of the latest load, placed in File
    std::vector<TScriptDiagnostic> Warnings;    ///< warnings of the latest load, placed in File
    std::vector<TRetiredScript> Retired;        ///< earlier versions, oldest first
    TScriptWatch Watch;                         ///< the script file and the textures of the latest load
};

/// First load of `file` into `running` (an empty record), as the classic loader does: the result
/// runs whatever its log says, unless the file cannot be opened. `now`: wall-clock seconds.
void StartLiveScript(TLiveScript& live, TParticleScript& running, const std::string& file, double now);

/// Looks at the files (at most every ScriptWatchInterval seconds of `now`) and loads a new version
/// once a change has settled. Texture readers' messages go to standard error meanwhile, not to
/// dialogs. Needs the GL table (textures are created, a refused version's are deleted).
TLiveReload PollLiveScript(TLiveScript& live, TParticleScript& running, double now);

/// Ages, moves and draws the particles of the earlier versions (nothing is emitted), and frees a
/// version once its particles are gone or RetiredScriptSeconds have passed. `dt` in seconds.
void AdvanceRetiredScripts(TLiveScript& live, float dt);

/// "loaded", "N errors: running the version of HH:MM:SS" (local time) or "not found".
std::string LiveScriptStateText(const TLiveScript& live);

/// The problems of the latest load at their places in File, one "FILE:LINE:COLUMN: error: MESSAGE"
/// line each as lumidor-psc --format=gcc prints them (LINE from 1); empty when there are none.
std::string LiveScriptProblems(const TLiveScript& live);

} // namespace lumidor
