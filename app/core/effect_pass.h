#pragma once
// Every frame's drawing before the UI: the projection, clear and camera, then the running effect
// drawn without depth writes, then the logo banner over it in pixel coordinates.

#include "app/core/app_hooks.h"

namespace lumidor {

/// Banner size in pixels: the 800 x 276 logo scaled by 0.375.
inline constexpr float BannerWidth = 300.0f;
inline constexpr float BannerHeight = 103.5f;

/// The start of every frame: a 45 degree perspective (near 0.05, far 100) over the client area,
/// the buffers cleared to black, and CurrentCamera (orbit_camera.h): by default 5 units back from the
/// origin, with no turn.
void BeginDemoFrame(const TFrameView& view);

/// Runs one frame of `slot` (scripts at (0, 0, 0) with FrameTime, earlier versions' particles
/// first), or of a played script (FirstPlayedSlot on); false for any other slot.
bool RunCurrentEffect(int slot);

/// Draws LogoTexture as a 300 x 103.5 pixel quad whose right edge is at the window's outer width,
/// blended (GL_SRC_ALPHA, GL_DST_ALPHA). Leaves an orthographic projection of the client area
/// (origin top-left, y down) and an identity modelview.
void DrawLogoBanner(const TFrameView& view);

/// The effect pass: reloads of changed scripts, depth writes off, the slot of CurrentEffect (only
/// drawn, with no particle moving, when `still`: a paused timeline), depth writes on, the banner.
void RunEffectPass(const TFrameView& view, bool still = false);

} // namespace lumidor
