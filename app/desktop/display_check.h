#pragma once
// Whether the demo has a display to draw on. Left to itself SDL falls back to drawing off-screen when
// no display can be opened, and the demo would then run unseen; so, unless the user chose SDL's video
// driver (SDL_VIDEODRIVER), only the drivers of a real display are tried, and a run without one says so.

#include <string>

namespace lumidor {

/// The environment variables that tell where windows can go; null when unset.
struct TDisplayEnvironment {
    const char* VideoDriver = nullptr;    ///< SDL_VIDEODRIVER: SDL's video driver, chosen by the user
    const char* Display = nullptr;        ///< DISPLAY: the X11 display
    const char* WaylandDisplay = nullptr; ///< WAYLAND_DISPLAY: the Wayland compositor's socket
    const char* RuntimeDir = nullptr;     ///< XDG_RUNTIME_DIR: where a Wayland compositor's socket lives
};

/// The variables of this process.
TDisplayEnvironment ReadDisplayEnvironment();

/// True when the user chose SDL's video driver (SDL_VIDEODRIVER set and not empty).
bool UserChoseVideoDriver(const TDisplayEnvironment& environment);

/// The SDL video drivers to try, comma-separated in SDL's own order, when the user chose none: X11 when
/// DISPLAY is set, Wayland when a compositor can be found, and the console's KMSDRM; never the
/// off-screen or dummy drivers. Empty when the user chose a driver (SDL then does as told).
std::string DisplayDriversToTry(const TDisplayEnvironment& environment);

/// The message for a run in which none of DisplayDriversToTry could be started: which display was
/// looked for, and how to run without one.
std::string NoDisplayText(const TDisplayEnvironment& environment);

} // namespace lumidor
