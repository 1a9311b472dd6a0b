#include "app/display_config.h"

#include <ini.h>

#include <cctype>
#include <cstdint>
#include <fstream>
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
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    collected.Values.emplace(key, value); // emplace keeps the first entry of a repeated key
    return 1;                             // a line the reader cannot parse is skipped, never fatal
}

// Bytes of config.ini read at most; the five short lines that matter fit many times over.
constexpr std::size_t kMaxConfigBytes = 1 << 20;
// Longest line handed to the INI reader, which would otherwise split longer lines into pieces.
constexpr std::size_t kMaxLineBytes = 190;

// The file's text with leading blanks removed from every line (an indented line is an ordinary
// line, not a continuation of the previous value) and overlong lines dropped. False if unreadable.
bool ReadConfigText(const std::string& fileName, std::string& text) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file) return false;
    std::string raw(kMaxConfigBytes, '\0');
    file.read(raw.data(), static_cast<std::streamsize>(raw.size()));
    raw.resize(static_cast<std::size_t>(file.gcount()));
    std::size_t lineStart = 0;
    while (lineStart < raw.size()) {
        std::size_t lineEnd = raw.find('\n', lineStart);
        if (lineEnd == std::string::npos) lineEnd = raw.size();
        const std::size_t start = raw.find_first_not_of(" \t", lineStart);
        if (start < lineEnd && lineEnd - start <= kMaxLineBytes)
            text.append(raw, start, lineEnd - start).push_back('\n');
        lineStart = lineEnd + 1;
    }
    return true;
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
        const int digit = hex ? HexDigit(text[pos])
                              : (std::isdigit(static_cast<unsigned char>(text[pos])) ? text[pos] - '0' : -1);
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
    std::string text;
    if (!ReadConfigText(fileName, text)) return config;
    ini_parse_string(text.c_str(), &CollectDisplayKey, &section); // bad lines are skipped, not fatal

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
