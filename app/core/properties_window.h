#pragma once
// TProperties, the properties tool window: three sliders for the wind of the shared particle
// systems and three for the world friction of the terrain system, and a Close button. Hidden at
// start; nothing reaches the engine until a slider moves.

#include "engine/vector.h"

#include <array>

namespace lumidor {

/// Number of sliders: 1..3 wind x, y, z; 4..6 world friction x, y, z.
inline constexpr int TrackBarCount = 6;
/// Slider range and starting position.
inline constexpr int TrackBarMin = 0;
inline constexpr int TrackBarMax = 100;
inline constexpr int TrackBarStart = 50;

/// One slider with its label, placed in client pixels of the 318 x 187 window.
struct TTrackBarLayout {
    const char* Label; ///< e.g. "Wind X:"
    float LabelX, LabelY;
    float BarX, BarY; ///< the 150 x 33 bar
};

/// The six sliders in focus order, TrackBar1 first.
extern const std::array<TTrackBarLayout, TrackBarCount> TrackBarLayouts;

/// The window's state; kept while hidden.
struct TProperties {
    bool Visible = false;      ///< shown on screen
    bool BringForward = false; ///< give it focus on the next frame it is drawn
    std::array<int, TrackBarCount> Positions = {TrackBarStart, TrackBarStart, TrackBarStart,
                                                TrackBarStart, TrackBarStart, TrackBarStart};
};

/// The demo's properties window.
extern TProperties Properties;
/// The wind last sent to the shared systems; (0, 0, 0) until a wind slider moves.
extern TVector3 WindVector;
/// The world friction last sent to TerrainEffect; (0, 0, 0) until a friction slider moves.
extern TVector3 WorldFrictionVector;

/// Wind component of a slider position 0..100: (P - 50) / 5, from -10 to 10 in steps of 0.2.
float WindComponent(int position);
/// Friction component of a slider position 0..100: P / 100, from 0 to 1 in steps of 0.01.
float FrictionComponent(int position);

/// Slider `trackBar` (1..6) has moved to the position stored in `properties`. Wind sliders set
/// their axis of WindVector and send the whole vector to FloorEffect, AdditiveEffect and
/// TerrainEffect; friction sliders set WorldFrictionVector from all three friction positions and
/// send it to TerrainEffect only.
void TrackBarChange(const TProperties& properties, int trackBar);
/// Shows the window (the menu's "Properties"); a window already shown is brought forward.
void ShowProperties(TProperties& properties);
/// The "Close" button: hides the window, keeping its slider positions.
void Button1Click(TProperties& properties);

/// Draws the window while it is visible (first placed at (192, 107), not resizable); call once
/// per UI frame.
void DrawProperties(TProperties& properties);

} // namespace lumidor
