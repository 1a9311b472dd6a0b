#pragma once
// The main window's caption: the program's name, the rate of the frame that finished last, then what
// the host adds (the effect shown and the timeline's work).

#include <string>
#include <string_view>

namespace lumidor {

/// The caption before the first update.
inline constexpr const char* kInitialCaption = "Lumidor Particle Engine demonstration - 0 FPS";

/// The rate as text: up to 15 significant digits of the value widened to double, no trailing zeros,
/// `decimalSeparator` in place of the point (62.5 -> "62.5" or "62,5", 0 -> "0"); "Infinity",
/// "-Infinity" or "NaN" when it is not finite.
std::string FormatFramesPerSecond(float framesPerSecond, std::string_view decimalSeparator);
/// The decimal separator of the user's numeric locale (LC_ALL, else LC_NUMERIC, else LANG), looked up
/// without touching the process's own locale; "." when none is set or it is not installed.
std::string UserDecimalSeparator();
/// "Lumidor Particle Engine demonstration - <rate> FPS".
std::string CaptionText(float framesPerSecond, std::string_view decimalSeparator);
/// The caption with the user's decimal separator.
std::string CaptionText(float framesPerSecond);
/// `caption`, then " - " and `status` when there is a status (the effect's name, work the timeline is doing).
std::string CaptionWithStatus(const std::string& caption, const std::string& status);
/// The status of the caption: the effect's name, then " - " and the timeline's work when there is some;
/// either alone when the other is empty ("Fire (300) - Prewarming 40 %").
std::string JoinCaptionStatus(const std::string& effectName, const std::string& work);

} // namespace lumidor
