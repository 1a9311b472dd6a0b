#include "app/debug_tools.h"

#include "app/effect_menu.h"
#include "app/effects_startup.h"
#include "effects/effects.h"
#include "effects/text_effect.h"
#include "engine/gl_api.h"
#include "engine/pass_observer.h"

#include <SDL.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

namespace lumidor {

TDebugTools DebugTools;

namespace {

// One UpdateAndDraw of the frame being drawn. The container pointer is used only until the end of
// this frame's effect pass, while every system that ran in it still exists.
struct TPassRecord {
    TParticleEffectContainer* Container = nullptr;
    TSystemFrameStats Stats;
    TScreenView View; ///< captured in debug mode or while its particle is inspected; Width 0 otherwise
};

struct TPick {
    bool Pending = false;
    float X = 0, Y = 0;
    float BestDistance = 0;
    const TParticleEffectContainer* Best = nullptr;
    std::int32_t BestIndex = -1;
};

struct TFrameState {
    std::int64_t FramesDrawn = 0;
    TFrameStats Building;
    std::vector<TPassRecord> Passes;
    std::vector<TScreenLine> Gizmos;
    Uint64 PassStart = 0;
    Uint64 EffectPassStart = 0;
    bool InEffectPass = false; // passes outside the demo's effect pass (tests, tools) are not recorded
    TPick Pick;
    std::FILE* StatsFile = nullptr;
    std::string StatsFileName;
    bool StatsFailed = false;
};

TFrameState state;

double Milliseconds(Uint64 ticks) {
    return 1000.0 * double(ticks) / double(SDL_GetPerformanceFrequency());
}

TScreenView CurrentView() {
    TScreenView view;
    GL.GetFloatv(GL_PROJECTION_MATRIX, view.Projection);
    GL.GetFloatv(GL_MODELVIEW_MATRIX, view.Modelview);
    GLint viewport[4] = {};
    GL.GetIntegerv(GL_VIEWPORT, viewport);
    view.Width = viewport[2];
    view.Height = viewport[3];
    return view;
}

TVector3 ParticlePosition(const TParticleEffectContainer& container, std::int32_t index) {
    return ReadParticle(container, index).Position;
}

void BeforePass(TParticleEffectContainer& container, float dt, void*) {
    if (!state.InEffectPass) return;
    if (DebugTools.Inspecting && DebugTools.Inspected.Key == &container && !DebugTools.Inspected.Gone) {
        // The breakdown is evaluated for this one particle only, before the sweep moves it.
        DebugTools.Inspected.Step = BreakDownParticleStep(container, DebugTools.Inspected.Index, dt);
    }
    TPassRecord pass;
    pass.Container = &container;
    pass.Stats.Swept = ParticleCount(container);
    pass.Stats.Magnets = std::int32_t(container.MagnetPoints.size());
    state.Passes.push_back(pass);
    state.PassStart = SDL_GetPerformanceCounter();
}

// The gizmos of one pass, in the view it was drawn with (magnet points may exist only during it).
void AddGizmos(const TParticleEffectContainer& container, const TScreenView& view) {
    if (DebugTools.ShowMagnetGizmos) {
        for (const TMagnetPoint& magnet : container.MagnetPoints)
            AddMagnetCircle(state.Gizmos, view, magnet);
    }
    const std::int32_t count = ParticleCount(container);
    if (DebugTools.ShowGroundGizmos && HasCollision(container.World) && count > 0) {
        float minX = std::numeric_limits<float>::max(), maxX = -minX, minZ = minX, maxZ = -minX;
        for (std::int32_t i = 0; i < count; ++i) {
            const TVector3 p = ParticlePosition(container, i);
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minZ = std::min(minZ, p.z);
            maxZ = std::max(maxZ, p.z);
        }
        constexpr float margin = 0.5f;
        AddGroundGrid(state.Gizmos, view, container.World, minX - margin, maxX + margin, minZ - margin,
                      maxZ + margin);
    }
}

void Consider(TPick& pick, const TParticleEffectContainer& container, const TScreenView& view) {
    const std::int32_t count = ParticleCount(container);
    for (std::int32_t i = 0; i < count; ++i) {
        float x = 0, y = 0;
        if (!ProjectToWindow(view, ParticlePosition(container, i), x, y)) continue;
        const float distance = std::hypot(x - pick.X, y - pick.Y);
        if (distance < pick.BestDistance) {
            pick.BestDistance = distance;
            pick.Best = &container;
            pick.BestIndex = i;
        }
    }
}

void AfterPass(TParticleEffectContainer& container, float, void*) {
    if (!state.InEffectPass) return;
    const Uint64 end = SDL_GetPerformanceCounter();
    if (!state.Passes.empty() && state.Passes.back().Container == &container)
        state.Passes.back().Stats.PassMs = Milliseconds(end - state.PassStart);

    TInspectedParticle& inspected = DebugTools.Inspected;
    const bool inspectedHere = DebugTools.Inspecting && inspected.Key == &container && !inspected.Gone;
    if (!DebugMode1Checked && !inspectedHere) return;
    const TScreenView view = CurrentView();
    if (!state.Passes.empty() && state.Passes.back().Container == &container) state.Passes.back().View = view;
    if (container.DebugMode) AddGizmos(container, view);
    if (state.Pick.Pending) Consider(state.Pick, container, view);
    if (inspectedHere) {
        inspected.StepSeen = inspected.Step.Index >= 0;
        const std::int32_t index = FindParticleAfterStep(container, inspected.Step);
        inspected.Gone = index < 0;
        if (!inspected.Gone) {
            inspected.Index = index;
            inspected.Record = ReadParticle(container, index);
        }
        inspected.View = view;
    }
}

void ResolvePick() {
    TPick& pick = state.Pick;
    if (!pick.Pending) return;
    pick.Pending = false;
    if (!pick.Best) {
        ClearInspection();
        return;
    }
    TInspectedParticle inspected;
    inspected.Key = pick.Best;
    inspected.System = SystemName(*pick.Best);
    inspected.Index = pick.BestIndex;
    inspected.Slot = CurrentEffect;
    inspected.Record = ReadParticle(*pick.Best, pick.BestIndex);
    for (const TPassRecord& pass : state.Passes) {
        if (pass.Container == pick.Best) inspected.View = pass.View;
    }
    inspected.Running = true;
    DebugTools.Inspected = inspected;
    DebugTools.Inspecting = true;
}

} // namespace

std::string SystemName(const TParticleEffectContainer& container) {
    if (&container == &FloorEffect) return "FloorEffect";
    if (&container == &AdditiveEffect) return "AdditiveEffect";
    if (&container == &TerrainEffect) return "TerrainEffect";
    if (&container == &TextFont.Effect) return "TextFont";
    for (std::size_t s = 0; s < Scripts.size(); ++s) {
        for (std::size_t t = 0; t < Scripts[s].Containers.size(); ++t) {
            if (&Scripts[s].Containers[t] == &container)
                return "Script " + std::to_string(s + 1) + " type " + std::to_string(t + 1);
        }
    }
    return "System";
}

void InstallDebugTools() {
    TPassObserver observer;
    observer.BeforePass = &BeforePass;
    observer.AfterPass = &AfterPass;
    SetPassObserver(&observer);
}

void RemoveDebugTools() {
    SetPassObserver(nullptr);
}

bool OpenStatsFile(const std::string& fileName, std::string& error) {
    std::FILE* file = std::fopen(fileName.c_str(), "w");
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    state.StatsFile = file;
    state.StatsFileName = fileName;
    state.StatsFailed = false;
    return true;
}

bool CloseStatsFile() {
    if (!state.StatsFile) return !state.StatsFailed;
    if (std::fclose(state.StatsFile) != 0 && !state.StatsFailed) {
        std::fprintf(stderr, "Could not write the frame statistics to %s: %s\n", state.StatsFileName.c_str(),
                     std::strerror(errno));
        state.StatsFailed = true;
    }
    state.StatsFile = nullptr;
    return !state.StatsFailed;
}

void BeginEffectPassStatistics() {
    state.Building = TFrameStats{};
    state.Building.Frame = ++state.FramesDrawn;
    state.Building.Dt = FrameTime;
    state.Building.Slot = CurrentEffect;
    state.Passes.clear();
    state.Gizmos.clear();
    if (state.Pick.Pending) {
        state.Pick.BestDistance = kPickRadius;
        state.Pick.Best = nullptr;
        state.Pick.BestIndex = -1;
    }
    // A particle belongs to the effect it was picked in: another effect (even one drawing into the
    // same shared system) ends the inspection.
    if (!DebugMode1Checked || (DebugTools.Inspecting && DebugTools.Inspected.Slot != CurrentEffect))
        ClearInspection();
    state.InEffectPass = true;
    state.EffectPassStart = SDL_GetPerformanceCounter();
}

void EndEffectPassStatistics() {
    state.Building.EngineMs = Milliseconds(SDL_GetPerformanceCounter() - state.EffectPassStart);
    state.InEffectPass = false;
    DebugTools.Inspected.Running = false;
    for (TPassRecord& pass : state.Passes) {
        if (pass.Container == DebugTools.Inspected.Key) DebugTools.Inspected.Running = true;
        pass.Stats.Name = SystemName(*pass.Container);
        pass.Stats.Live = ParticleCount(*pass.Container); // emission after the pass included
        state.Building.Systems.push_back(pass.Stats);
    }
    ResolvePick();
    const TInspectedParticle& inspected = DebugTools.Inspected;
    // A system that did not run this frame is not drawn, nor is the mark of its particle.
    if (DebugTools.Inspecting && inspected.Running && !inspected.Gone && inspected.View.Width > 0) {
        float x = 0, y = 0;
        if (ProjectToWindow(inspected.View, inspected.Record.Position, x, y)) {
            AddMark(state.Gizmos, x, y, 8.0f);
            AddMark(state.Gizmos, x, y, 9.0f); // two pixels wide: it must stand out among the debug lines
        }
    }
    state.Passes.clear();
    DrawScreenLines(state.Gizmos);
}

void EndFrameStatistics(double frameMs) {
    state.Building.FrameMs = frameMs;
    DebugTools.Last = state.Building;
    AddToHistory(DebugTools.History, state.Building);
    if (state.StatsFile && !state.StatsFailed) {
        const std::string line = FrameStatsJson(state.Building) + "\n";
        if (std::fputs(line.c_str(), state.StatsFile) < 0 || std::fflush(state.StatsFile) != 0) {
            std::fprintf(stderr, "Could not write the frame statistics to %s: %s\n",
                         state.StatsFileName.c_str(), std::strerror(errno));
            state.StatsFailed = true;
        }
    }
}

void RequestPick(float x, float y) {
    state.Pick.Pending = true;
    state.Pick.X = x;
    state.Pick.Y = y;
}

void ClearInspection() {
    DebugTools.Inspecting = false;
    DebugTools.Inspected = TInspectedParticle{};
}

} // namespace lumidor
