#pragma once
// Applying the display configuration to the main window: its outer size, or a full-screen display
// mode in a maximised borderless window.

#include "app/desktop/display_config.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumidor {

struct TMainWindow;

/// Text of the box shown when the display refuses the full-screen mode.
inline constexpr const char* kFullscreenFailedText = "Could not switch to desired fullscreen mode!";

/// A display mode the display offers.
struct TOfferedMode {
    int Width = 0;        ///< pixels across
    int Height = 0;       ///< pixels down
    int BitsPerPixel = 0; ///< bits each pixel occupies (32 for 8-bit RGB stored in 4 bytes)
    int RefreshRate = 0;  ///< hertz; 0 when the display does not say
};

/// The first offered mode that is exactly the one asked for: same size, same colour depth and, unless
/// `frequency` is 0 (any rate), the same refresh rate. Nothing otherwise: no nearby mode is chosen.
std::optional<std::size_t> FindOfferedMode(const std::vector<TOfferedMode>& offered, std::uint16_t width,
                                           std::uint16_t height, std::uint16_t bitsPerPixel,
                                           std::uint16_t frequency);

/// The folder of the running program followed by "config.ini"; empty when the folder is unknown.
std::string DisplayConfigPath();

/// Switches to full screen, or gives the window its configured outer size (frame included) and centres
/// it. A size the window cannot take (zero, negative, larger than the display) is replaced by a usable
/// one, and a message says so.
void ApplyDisplayConfig(TMainWindow& window, const TDisplayConfig& config);

/// Maximised borderless window, then a display-mode switch asking width, height, colour depth and
/// refresh rate together. A refused switch shows kFullscreenFailedText (caption "Error"); a mode the
/// display does not offer exactly leaves the display as it is, silently.
void SwitchToFullscreen(TMainWindow& window, std::uint16_t width, std::uint16_t height,
                        std::uint16_t bitsPerPixel, std::uint16_t frequency);

/// Once the window is shown and its frame is known: shrinks the client area so the outer size is the
/// configured one, and centres the window again. Does nothing in full screen.
void FitOuterSize(TMainWindow& window);

/// Puts the desktop's display mode back if SwitchToFullscreen changed it.
void RestoreDisplayMode(TMainWindow& window);

} // namespace lumidor
