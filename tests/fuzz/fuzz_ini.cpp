// libFuzzer entry point for the config.ini reader with its value rules, on the input's bytes in memory
// (ReadDisplayConfig only adds the bounded file read, which its unit tests cover).

#include "app/desktop/display_config.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace lumidor;

namespace {

bool SameConfig(const TDisplayConfig& a, const TDisplayConfig& b) {
    return a.DisplayWidth == b.DisplayWidth && a.DisplayHeight == b.DisplayHeight &&
           a.DisplayFrequency == b.DisplayFrequency && a.DisplayBitsPerPixel == b.DisplayBitsPerPixel &&
           a.DisplayFullscreen == b.DisplayFullscreen;
}

/// The text with every LF preceded by a CR, as a Windows editor saves it.
std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TDisplayConfig config = ParseDisplayConfig(text);
    // Line ends saved on Windows read the same.
    if (text.find('\n') != std::string_view::npos && !SameConfig(config, ParseDisplayConfig(WithCrLf(text))))
        __builtin_trap();

    // The input as one value: the fallback comes back only for a refused text, and an accepted value
    // reads back from its decimal form.
    const std::int32_t first = ParseConfigInteger(text, 7);
    const std::int32_t second = ParseConfigInteger(text, -7);
    if (first != second && (first != 7 || second != -7)) __builtin_trap();
    if (first == second && ParseConfigInteger(std::to_string(first), first ^ 1) != first) __builtin_trap();
    return 0;
}
