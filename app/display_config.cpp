#include "app/display_config.h"

#include <ini.h>

#include <cctype>
#include <cstdint>
#include <map>

namespace lumidor {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The raw text of each key of section "Display" the reader looks for, first occurrence only.
struct TDisplaySection {
    std::map<std::string, std::string> Values; // key in lower case -> value text
};

int CollectDisplayKey(void* user, const char* section, const char* name, const char* value) {
    auto& collected = *static_cast<TDisplaySection*>(user);
    if (!EqualsNoCase(section, "Display")) return 1;
    std::string key(name);
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    collected.Values.emplace(key, value); // emplace keeps the first entry of a repeated key
    return 1;                             // a line the reader cannot parse is skipped, never fatal
}

} // namespace

std::int32_t ParseConfigInteger(std::string_view text, std::int32_t fallback) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    bool hex = false;
    if (pos < text.size() && text[pos] == '$') {
        hex = true;
        pos += 1;
    } else if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        hex = true;
        pos += 2;
    }
    if (pos == text.size()) return fallback; // no digits at all

    // Magnitude limit: 32 bits for hexadecimal, 2^31 for decimal (reached only by -2147483648).
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : 0x80000000ull;
    std::uint64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = hex ? HexDigit(text[pos]) : (std::isdigit(static_cast<unsigned char>(text[pos]))
                                                           ? text[pos] - '0'
                                                           : -1);
        if (digit < 0) return fallback;
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (magnitude > limit) return fallback;
    }
    if (!hex && !negative && magnitude == limit) return fallback; // 2147483648 does not fit

    // Two's-complement wrap: $FFFFFFFF reads as -1, like a 32-bit register.
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

TDisplayConfig ReadDisplayConfig(const std::string& fileName) {
    TDisplayConfig config;
    TDisplaySection section;
    // A missing or unreadable file leaves every value at its default.
    if (ini_parse(fileName.c_str(), &CollectDisplayKey, &section) < 0) return config;

    const auto read = [&section](const char* key, std::int32_t fallback) {
        const auto found = section.Values.find(key);
        return found == section.Values.end() ? fallback : ParseConfigInteger(found->second, fallback);
    };
    config.DisplayWidth = read("height", config.DisplayWidth);
    config.DisplayHeight = read("width", config.DisplayHeight);
    config.DisplayFrequency = read("frequency", config.DisplayFrequency);
    config.DisplayBitsPerPixel = read("bpp", config.DisplayBitsPerPixel);
    config.DisplayFullscreen = read("fullscreen", 0) != 0;
    return config;
}

} // namespace lumidor
