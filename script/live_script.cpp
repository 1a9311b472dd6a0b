#include "script/live_script.h"

#include "engine/message.h"

#include <algorithm>
#include <utility>

namespace lumidor {

namespace {

/// Loads `file` into `script` (texture messages on standard error when asked); returns the report and the
/// stamps of the files taken before they were read (the script's, then the textures', afterwards).
TScriptLoadReport LoadVersion(TParticleScript& script, const std::string& file, TScriptWatch& watch,
                              double now, bool messagesToStderr) {
    const TFileStamp scriptStamp = StampFile(file);
    const TMessageHandler previous = messagesToStderr ? SetMessageHandler(PrintMessageToStderr) : nullptr;
    const TScriptLoadReport report = LoadScriptWithReport(script, file);
    if (messagesToStderr) SetMessageHandler(previous);
    std::vector<std::string> paths{file};
    std::vector<TFileStamp> stamps{scriptStamp};
    for (const std::string& texture : report.TextureFiles) {
        if (std::find(paths.begin(), paths.end(), texture) != paths.end()) continue;
        paths.push_back(texture);
        stamps.push_back(StampFile(texture));
    }
    WatchFiles(watch, std::move(paths), std::move(stamps), now);
    return report;
}

void NoteLoad(TLiveScript& live, const TParticleScript& loaded, const TScriptLoadReport& report) {
    live.Log = loaded.DebugLog;
    live.ErrorCount = report.ErrorCount;
    live.Diagnostics = report.Diagnostics;
    live.Warnings = report.Warnings;
    live.State = !report.FileOpened       ? TLiveScriptState::NotFound
                 : report.ErrorCount == 0 ? TLiveScriptState::Loaded
                                          : TLiveScriptState::Errors;
}

bool AnyParticles(const TParticleScript& script) {
    return std::any_of(script.Containers.begin(), script.Containers.end(),
                       [](const TParticleEffectContainer& c) { return !c.Particles.empty(); });
}

} // namespace

void StartLiveScript(TLiveScript& live, TParticleScript& running, const std::string& file, double now) {
    live.File = file;
    const TScriptLoadReport report = LoadVersion(running, file, live.Watch, now, false);
    NoteLoad(live, running, report);
    live.HasVersion = report.FileOpened;
    live.VersionTime = std::time(nullptr);
}

TLiveReload PollLiveScript(TLiveScript& live, TParticleScript& running, double now) {
    if (!PollScriptWatch(live.Watch, now)) return TLiveReload::None;
    TParticleScript candidate;
    const TScriptLoadReport report = LoadVersion(candidate, live.File, live.Watch, now, true);
    NoteLoad(live, candidate, report);
    // With nothing running yet (the file was missing), the first version found runs as a first load does.
    if (!report.FileOpened || (report.ErrorCount > 0 && live.HasVersion)) {
        ReleaseScript(candidate);
        return TLiveReload::Refused;
    }
    // The new version shows the debug view when the one it replaces did.
    const bool debug = !running.Containers.empty() && running.Containers.back().DebugMode;
    if (debug && !candidate.Containers.empty()) ToggleScriptDebug(candidate);
    if (AnyParticles(running)) {
        if (live.Retired.size() >= MaxRetiredScripts) {
            ReleaseScript(live.Retired.front().Script);
            live.Retired.erase(live.Retired.begin());
        }
        TRetiredScript& retired = live.Retired.emplace_back();
        retired.Script = std::move(running);
        StopScriptEmission(retired.Script);
    } else {
        ReleaseScript(running);
    }
    running = std::move(candidate);
    live.HasVersion = true;
    live.VersionTime = std::time(nullptr);
    return TLiveReload::Replaced;
}

void AdvanceRetiredScripts(TLiveScript& live, float dt) {
    for (TRetiredScript& retired : live.Retired) {
        retired.Age += dt;
        AdvanceScript(retired.Script, TVector3{0.0f, 0.0f, 0.0f}, dt);
    }
    std::erase_if(live.Retired, [](TRetiredScript& retired) {
        if (AnyParticles(retired.Script) && !(retired.Age >= RetiredScriptSeconds)) return false;
        ReleaseScript(retired.Script);
        return true;
    });
}

std::string LiveScriptStateText(const TLiveScript& live) {
    if (live.State == TLiveScriptState::Loaded) return "loaded";
    if (!live.HasVersion) return "not found";
    std::tm local{};
    localtime_r(&live.VersionTime, &local);
    char time[16];
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    return std::to_string(live.ErrorCount) + " errors: running the version of " + time;
}

std::string LiveScriptProblems(const TLiveScript& live) {
    return FormatGccDiagnostics(live.File, live.Diagnostics);
}

} // namespace lumidor
