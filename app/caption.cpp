#include "app/caption.h"

#include <cmath>
#include <cstdio>

namespace lumidor {

std::string FormatFramesPerSecond(float framesPerSecond) {
    // Two frames within one tick of the millisecond fallback give an infinite rate.
    if (std::isnan(framesPerSecond)) return "NaN";
    if (std::isinf(framesPerSecond)) return framesPerSecond > 0 ? "Infinity" : "-Infinity";
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", static_cast<double>(framesPerSecond));
    return text;
}

std::string CaptionText(float framesPerSecond) {
    return "Lumidor Particle Engine demonstration - " + FormatFramesPerSecond(framesPerSecond) + " FPS";
}

} // namespace lumidor
