#pragma once
// Seeing inside an effect: per-system statistics of every frame (for the Statistics window and
// --stats), the debug-mode gizmos and the particle inspector's selection. All of it is gathered by a
// pass observer around each UpdateAndDraw, so the sweep itself does no extra work.

#include "app/debug_gizmos.h"
#include "app/frame_statistics.h"
#include "engine/particle_step_breakdown.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace lumidor {

/// The particle the inspector follows.
struct TInspectedParticle {
    const void* Key = nullptr;   ///< its system's address: compared with the passes, never dereferenced
    std::string System;          ///< the system's name
    std::int32_t Index = -1;     ///< where it is in its system now (where it was last, once gone)
    std::int32_t Slot = -1;      ///< the effect running when it was picked; another one ends its inspection
    bool Gone = false;           ///< it died (or could no longer be found)
    bool Running = false;        ///< its system ran in the last frame (it is frozen otherwise)
    TParticle Record;            ///< as its system's last pass left it
    TParticleStepBreakdown Step; ///< the step just taken; Step.Index -1 before the first
    bool StepSeen = false;       ///< Step holds a step (the particle has been through a pass since selected)
    TScreenView View;            ///< how its system was drawn in the last pass
};

/// State of the debugging aids; one instance, DebugTools.
struct TDebugTools {
    bool StatisticsVisible = false; ///< the Statistics window is shown
    bool ShowMagnetGizmos = true;   ///< debug mode draws every magnet point's reach
    bool ShowGroundGizmos = true;   ///< debug mode draws the collision height field around the particles
    TFrameStats Last;               ///< the last complete frame
    TFrameHistory History;          ///< frame and engine times of the last 300 frames
    bool Inspecting = false;        ///< a particle is selected
    TInspectedParticle Inspected;
};

extern TDebugTools DebugTools;

/// Installs the pass observer. Call once after start-up; RemoveDebugTools takes it away.
void InstallDebugTools();
void RemoveDebugTools();

/// Opens (truncates) the --stats file; false with `error` set when it cannot be created.
bool OpenStatsFile(const std::string& fileName, std::string& error);
/// Closes the --stats file; false when a line could not be written or the file not be closed (the
/// reason has been printed).
bool CloseStatsFile();

/// Around the effect pass: statistics of the frame, the pick resolved, the gizmos and the inspected
/// particle's mark drawn over the picture (expects the banner's pixel projection left behind).
void BeginEffectPassStatistics();
void EndEffectPassStatistics();
/// After the frame's buffer swap: completes the frame's statistics and writes its --stats line.
void EndFrameStatistics(double frameMs);

/// Selects, at the next effect pass, the particle drawn nearest to window pixel (x, y) (within
/// kPickRadius pixels; a click farther from every particle clears the selection).
void RequestPick(float x, float y);
inline constexpr float kPickRadius = 48.0f;
/// Stops inspecting.
void ClearInspection();

/// Name of a particle system for statistics: "FloorEffect", "AdditiveEffect", "TerrainEffect",
/// "TextFont", "Script 2 type 1", or "System" for any other.
std::string SystemName(const TParticleEffectContainer& container);

} // namespace lumidor
