#pragma once
// The demo's debugging aids wired to its effects: one pass observer around each UpdateAndDraw feeds the
// frame statistics (the Statistics window and --stats), the pick and the inspected particle, and the
// debug-mode gizmos, so the sweep itself does no extra work. The jobs themselves live in app/debug/.

#include "app/debug/frame_statistics.h"
#include "app/debug/particle_picking.h"
#include "app/debug/picked_particle.h"

#include <functional>
#include <string>

namespace lumidor {

/// State of the debugging aids that the windows show and change; one instance, DebugTools.
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

/// Installs the pass observer, timing with `clockMs` (milliseconds on a monotonic clock; std::chrono's
/// steady clock when empty). Call once after start-up; RemoveDebugTools takes it away.
void InstallDebugTools(std::function<double()> clockMs = {});
void RemoveDebugTools();

/// Opens (truncates) the --stats file; false with `error` set when it cannot be created.
bool OpenStatsFile(const std::string& fileName, std::string& error);
/// Closes the --stats file; false when a line could not be written or the file not be closed (the
/// reason has been printed).
bool CloseStatsFile();

/// Around the effect pass: the statistics of the frame's passes and of the pass as a whole.
void BeginEffectPassStatistics();
void EndEffectPassStatistics();
/// After the frame's buffer swap: completes the frame's statistics and writes its --stats line.
void EndFrameStatistics(double frameMs);

/// Around the effect pass: its passes are offered to a pending pick (in any mode), followed for the
/// inspected particle and, in debug mode, turned into gizmos. `still`: the pass only draws the effect
/// as it stands (the timeline is paused), so the inspected particle keeps the step it last took.
/// Begin ends an inspection when debug mode is switched off or another effect runs than the one it
/// was picked in; End answers the pick.
void BeginDebugView(bool still = false);
void EndDebugView();
/// Draws this frame's gizmos and the inspected particle's mark over the picture (expects the banner's
/// pixel projection left behind).
void DrawDebugGizmos();

/// Selects, at the next effect pass, the particle drawn nearest to window pixel (x, y) (within
/// kPickRadius pixels; a click farther from every particle clears the selection).
void RequestPick(float x, float y);
/// Stops inspecting.
void ClearInspection();

/// Name of a particle system for statistics and the inspector: "FloorEffect", "AdditiveEffect",
/// "TerrainEffect", "TextFont", a slot or played script's "type N" (ScriptSystemName; its earlier
/// versions' too), or "System" for any other.
std::string SystemName(const TParticleEffectContainer& container);

} // namespace lumidor
