#pragma once
// The demo's display settings from "config.ini" (section "Display"). Reading is pure: applying the
// values to the window and the display lives in display_mode.h.

#include <cstdint>
#include <string>
#include <string_view>

namespace lumidor {

/// The five display values. Note the crossed keys: "height" holds the horizontal size and "width"
/// the vertical one, so a file with height=1024 and width=768 gives a display 1024 wide, 768 high.
struct TDisplayConfig {
    std::int32_t DisplayWidth = 800;       ///< pixels across (key "height"): window outer width or mode width
    std::int32_t DisplayHeight = 600;      ///< pixels down (key "width"): window outer height or mode height
    std::int32_t DisplayFrequency = 60;    ///< refresh rate in hertz, used in full screen only
    std::int32_t DisplayBitsPerPixel = 32; ///< mode colour depth (full screen) and GL colour bits (always)
    bool DisplayFullscreen = false;        ///< full-screen display mode instead of a window
};

/// Reads one integer value: optional sign, then decimal digits, or hexadecimal digits after "0x",
/// "0X" or "$". Decimal must fit a signed 32-bit integer; hexadecimal may use all 32 bits and wraps
/// ($FFFFFFFF is -1). Anything else (empty, words, surrounding text, overflow) gives `fallback`.
std::int32_t ParseConfigInteger(std::string_view text, std::int32_t fallback);

/// Reads section "Display" from the bytes of a config.ini: lines key=value, sections in brackets, lines
/// starting with ';' are comments. Names compare case-insensitively and lose surrounding blanks, as do
/// values; the first entry of a key counts. A missing section or key, or a value that is not exactly one
/// integer (comments after it included), gives that key's default. Any bytes are safe input.
TDisplayConfig ParseDisplayConfig(std::string_view text);

/// ParseDisplayConfig of the file's first MiB (whole lines); a missing or unreadable file gives the defaults.
TDisplayConfig ReadDisplayConfig(const std::string& fileName);

} // namespace lumidor
