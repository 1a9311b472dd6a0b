#pragma once
// The main window's caption: the program's name and the rate of the frame that finished last.

#include <string>

namespace lumidor {

/// The caption before the first update.
inline constexpr const char* kInitialCaption = "Lumidor Particle Engine demonstration - 0 FPS";

/// The rate as text: up to 15 significant digits of the value widened to double, no trailing zeros
/// (62.5 -> "62.5", 0 -> "0"); "Infinity", "-Infinity" or "NaN" when it is not finite.
std::string FormatFramesPerSecond(float framesPerSecond);
/// "Lumidor Particle Engine demonstration - <rate> FPS".
std::string CaptionText(float framesPerSecond);

} // namespace lumidor
