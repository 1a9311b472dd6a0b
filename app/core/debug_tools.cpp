#include "app/core/debug_tools.h"

#include "app/core/effect_menu.h"
#include "app/core/effect_names.h"
#include "app/core/effects_startup.h"
#include "app/core/live_scripts.h"
#include "app/debug/statistics_collector.h"
#include "effects/effects.h"
#include "effects/frame_time.h"
#include "effects/text_effect.h"
#include "engine/pass_observer.h"

#include <chrono>
#include <optional>
#include <vector>

namespace lumidor {

TDebugTools DebugTools;

namespace {

// One state per job; the observer below hands each pass to all of them.
std::function<double()> Clock;
TStatisticsCollector Statistics;
TStatsFile StatsFile;
TPick Pick;
std::vector<TScreenLine> Gizmos;
bool FollowingPasses = false; // between BeginDebugView and EndDebugView
bool StillFrame = false;      // this effect pass only draws the effect as it stands
bool DebugModeBefore = false; // debug mode as the last effect pass saw it

double SteadyClockMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double NowMs() {
    return Clock ? Clock() : SteadyClockMs();
}

void BeforePass(TParticleEffectContainer& container, float dt, void*) {
    // A still pass is put back afterwards: the particle keeps the step it last took.
    if (FollowingPasses && DebugTools.Inspecting && !StillFrame)
        InspectBeforePass(DebugTools.Inspected, container, dt);
    BeginPassGathering(Statistics, container, NowMs()); // last, so that the breakdown is not timed
}

void AfterPass(TParticleEffectContainer& container, float, void*) {
    EndPassGathering(Statistics, container, NowMs());
    if (!FollowingPasses) return;
    const bool inspectedHere = DebugTools.Inspecting && LivesIn(DebugTools.Inspected, container);
    if (!DebugMode1Checked && !inspectedHere && !Pick.Pending) return;
    const TScreenView view = CurrentScreenView();
    if (container.DebugMode)
        AddSystemGizmos(Gizmos, container, view, DebugTools.ShowMagnetGizmos, DebugTools.ShowGroundGizmos);
    ConsiderForPick(Pick, container, view);
    if (!inspectedHere) return;
    if (StillFrame) {
        InspectStillPass(DebugTools.Inspected, container, view);
    } else {
        InspectAfterPass(DebugTools.Inspected, container, view);
    }
}

} // namespace

std::string SystemName(const TParticleEffectContainer& container) {
    if (&container == &FloorEffect) return "FloorEffect";
    if (&container == &AdditiveEffect) return "AdditiveEffect";
    if (&container == &TerrainEffect) return "TerrainEffect";
    if (&container == &TextFont.Effect) return "TextFont";
    // A script's systems, and those of its earlier versions whose particles still fly out.
    const auto typeOf = [&](const TParticleScript& script) -> std::optional<std::size_t> {
        for (std::size_t t = 0; t < script.Containers.size(); ++t)
            if (&script.Containers[t] == &container) return t;
        return std::nullopt;
    };
    const auto nameIn = [&](const TParticleScript& running,
                            const TLiveScript& live) -> std::optional<std::string> {
        if (const auto type = typeOf(running)) return ScriptSystemName(*type);
        for (const TRetiredScript& retired : live.Retired)
            if (const auto type = typeOf(retired.Script)) return ScriptSystemName(*type, true);
        return std::nullopt;
    };
    for (std::size_t s = 0; s < Scripts.size(); ++s)
        if (auto name = nameIn(Scripts[s], SlotScriptLives[s])) return *name;
    for (const TPlayedScript& played : PlayedScripts)
        if (auto name = nameIn(played.Script, played.Live)) return *name;
    return "System";
}

void InstallDebugTools(std::function<double()> clockMs) {
    Clock = std::move(clockMs);
    TPassObserver observer;
    observer.BeforePass = &BeforePass;
    observer.AfterPass = &AfterPass;
    SetPassObserver(&observer);
}

void RemoveDebugTools() {
    SetPassObserver(nullptr);
}

bool OpenStatsFile(const std::string& fileName, std::string& error) {
    return OpenStatsFile(StatsFile, fileName, error);
}

bool CloseStatsFile() {
    return CloseStatsFile(StatsFile);
}

void BeginEffectPassStatistics() {
    BeginEffectPassGathering(Statistics, FrameTime, CurrentEffect, NowMs());
}

void EndEffectPassStatistics() {
    EndEffectPassGathering(Statistics, NowMs(), &SystemName);
}

void EndFrameStatistics(double frameMs) {
    DebugTools.Last = CompleteFrame(Statistics, frameMs);
    AddToHistory(DebugTools.History, DebugTools.Last);
    WriteStatsLine(StatsFile, DebugTools.Last);
}

void BeginDebugView(bool still) {
    Gizmos.clear();
    StartPickSearch(Pick);
    // A particle belongs to the effect it was picked in: another effect (even one drawing into the
    // same shared system) ends the inspection. So does leaving debug mode, the user's way out of
    // every debugging aid at once.
    const bool debugModeLeft = DebugModeBefore && !DebugMode1Checked;
    DebugModeBefore = DebugMode1Checked;
    if (debugModeLeft || (DebugTools.Inspecting && DebugTools.Inspected.Slot != CurrentEffect))
        ClearInspection();
    StillFrame = still;
    DebugTools.Inspected.Running = false; // until a pass of its system runs
    FollowingPasses = true;
}

void EndDebugView() {
    FollowingPasses = false;
    if (!Pick.Pending) return;
    Pick.Pending = false;
    if (!Pick.Best) {
        ClearInspection();
        return;
    }
    DebugTools.Inspected = InspectPickedParticle(Pick, SystemName(*Pick.Best), CurrentEffect);
    DebugTools.Inspecting = true;
}

void DrawDebugGizmos() {
    if (DebugTools.Inspecting) AddInspectionMark(Gizmos, DebugTools.Inspected);
    DrawScreenLines(Gizmos);
}

void RequestPick(float x, float y) {
    RequestPick(Pick, x, y);
}

void ClearInspection() {
    DebugTools.Inspecting = false;
    DebugTools.Inspected = TInspectedParticle{};
}

} // namespace lumidor
