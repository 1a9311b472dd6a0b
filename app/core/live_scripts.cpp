#include "app/core/live_scripts.h"

#include "app/core/effects_startup.h"
#include "app/core/emitter_path.h"
#include "app/core/example_scripts.h"
#include "app/core/timeline_control.h"
#include "engine/message.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace lumidor {

std::array<TLiveScript, 3> SlotScriptLives;
std::deque<TPlayedScript> PlayedScripts;

namespace {

void PrintState(const TLiveScript& live) {
    std::fprintf(stderr, "lumidor-demo: %s: %s\n", live.File.c_str(), LiveScriptStateText(live).c_str());
}

/// Each problem at its place in the file, as editors and lumidor-psc --format=gcc count lines; the
/// debugger log itself, with its own numbering, stays in the "Script log" window.
void PrintProblemsAndState(const TLiveScript& live) {
    std::fputs(LiveScriptProblems(live).c_str(), stderr);
    PrintState(live);
}

bool HasPscExtension(const std::string& file) {
    if (file.size() < 4) return false;
    std::string extension = file.substr(file.size() - 4);
    for (char& c : extension)
        c = char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    return extension == ".psc";
}

/// The same path, however written ("a.psc", "./a.psc", an absolute name); missing files compare
/// by their names made absolute.
bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    const std::filesystem::path canonicalA = std::filesystem::weakly_canonical(a, error);
    if (error) return a == b;
    const std::filesystem::path canonicalB = std::filesystem::weakly_canonical(b, error);
    if (error) return a == b;
    return canonicalA == canonicalB;
}

void Poll(TLiveScript& live, TParticleScript& running, double now) {
    const TLiveReload reload = PollLiveScript(live, running, now);
    if (reload == TLiveReload::Replaced) {
        GiveBouncingTypesAGround(running, TVector3{0.0f, 0.0f, 0.0f});
        ForgetScriptTimeline(running);
    }
    if (reload == TLiveReload::Refused) PrintProblemsAndState(live);
    if (reload == TLiveReload::Replaced) PrintState(live);
}

} // namespace

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void StartSlotScript(std::size_t index, const std::string& file) {
    StartLiveScript(SlotScriptLives[index], Scripts[index], file, WallSeconds());
    GiveBouncingTypesAGround(Scripts[index], TVector3{0.0f, 0.0f, 0.0f});
    ForgetScriptTimeline(Scripts[index]);
}

int PlayScriptFile(const std::string& file) {
    for (std::size_t k = 0; k < PlayedScripts.size(); ++k) {
        if (SameFile(PlayedScripts[k].Live.File, file)) {
            CurrentEffect = FirstPlayedSlot + int(k);
            return CurrentEffect;
        }
    }
    TPlayedScript& played = PlayedScripts.emplace_back();
    StartLiveScript(played.Live, played.Script, file, WallSeconds());
    GiveBouncingTypesAGround(played.Script, TVector3{0.0f, 0.0f, 0.0f});
    ForgetScriptTimeline(played.Script);
    ApplyEmitterPath(played.Script);
    if (played.Live.State == TLiveScriptState::Loaded) {
        PrintState(played.Live);
    } else {
        PrintProblemsAndState(played.Live);
    }
    CurrentEffect = FirstPlayedSlot + int(PlayedScripts.size() - 1);
    return CurrentEffect;
}

void PlayDroppedFile(const std::string& file) {
    if (!HasPscExtension(file)) {
        ShowMessage("\"" + file + "\" is not a particle script; drop a .psc file to play it.", "Lumidor",
                    TMessageIcon::Information);
        return;
    }
    PlayScriptFile(file);
}

void PollLiveScripts(double now) {
    for (std::size_t i = 0; i < SlotScriptLives.size(); ++i) {
        // A slot whose start-up never loaded it (start-up stopped early) is not watched.
        if (!SlotScriptLives[i].File.empty()) Poll(SlotScriptLives[i], Scripts[i], now);
    }
    for (TPlayedScript& played : PlayedScripts) {
        Poll(played.Live, played.Script, now);
        ApplyEmitterPath(played.Script); // a new version starts still
    }
}

bool RunPlayedScript(int slot, float dt) {
    if (slot < FirstPlayedSlot || std::size_t(slot - FirstPlayedSlot) >= PlayedScripts.size()) return false;
    TPlayedScript& played = PlayedScripts[std::size_t(slot - FirstPlayedSlot)];
    AdvanceRetiredScripts(played.Live, dt);
    AdvanceScript(played.Script, TVector3{0.0f, 0.0f, 0.0f}, dt);
    return true;
}

void AdvanceSlotScript(std::size_t index, float dt) {
    AdvanceRetiredScripts(SlotScriptLives[index], dt);
    AdvanceScript(Scripts[index], TVector3{0.0f, 0.0f, 0.0f}, dt);
}

} // namespace lumidor
