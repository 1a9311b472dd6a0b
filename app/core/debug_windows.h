#pragma once
// The windows of the debugging aids: "Statistics" (per-system counts and times, the frame-time plot,
// the gizmo switches) and "Particle inspector" (the selected particle's record and the terms of its
// last step), and the left click that selects a particle.

namespace lumidor {

/// The "Statistics" menu entry: shows the window, or brings it forward when shown.
void ShowStatisticsWindow();
/// Draws the Statistics window while shown; call once per UI frame.
void DrawStatisticsWindow();

/// A left click on the picture (not on a window or menu, and not with Alt held: that turns the
/// camera), in any mode, asks for the particle nearest to it; call once per UI frame, before the menus and
/// windows are drawn.
void HandleInspectorClick();
/// Draws the Particle inspector while a particle is selected; call once per UI frame.
void DrawParticleInspector();

} // namespace lumidor
