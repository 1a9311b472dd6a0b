// Reads the display section of config.ini: the line scanner, the integer rule of its values and
// the bounded file read.

#include "app/desktop/display_config.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>

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

// Blanks around names and values; a carriage return ends the lines of a file saved on Windows.
constexpr std::string_view kBlanks = " \t\r";

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Bytes of config.ini read at most; the five short lines that matter fit many times over.
constexpr std::size_t kMaxConfigBytes = 1 << 20;

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

TDisplayConfig ParseDisplayConfig(std::string_view text) {
    // The five keys in the order of TDisplayConfig's fields; the first entry of each counts.
    constexpr std::string_view kKeys[] = {"height", "width", "frequency", "bpp", "fullscreen"};
    std::optional<std::string_view> found[std::size(kKeys)];

    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3); // the mark some editors put first
    bool inDisplay = false;
    while (!text.empty()) {
        const std::size_t lineEnd = std::min(text.find('\n'), text.size());
        const std::string_view line = Trim(text.substr(0, lineEnd));
        text.remove_prefix(std::min(lineEnd + 1, text.size()));
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close != std::string_view::npos)
                inDisplay = EqualsNoCase(Trim(line.substr(1, close - 1)), "Display");
            continue; // a section line without its bracket is skipped like any other malformed line
        }
        const std::size_t equals = line.find('=');
        if (!inDisplay || equals == std::string_view::npos) continue; // only key=value lines count
        const std::string_view name = Trim(line.substr(0, equals));
        for (std::size_t key = 0; key < std::size(kKeys); ++key) {
            if (!found[key] && EqualsNoCase(name, kKeys[key])) found[key] = Trim(line.substr(equals + 1));
        }
    }

    TDisplayConfig config;
    const auto read = [&found](std::size_t key, std::int32_t fallback) {
        return found[key] ? ParseConfigInteger(*found[key], fallback) : fallback;
    };
    config.DisplayWidth = read(0, config.DisplayWidth);
    config.DisplayHeight = read(1, config.DisplayHeight);
    config.DisplayFrequency = read(2, config.DisplayFrequency);
    config.DisplayBitsPerPixel = read(3, config.DisplayBitsPerPixel);
    config.DisplayFullscreen = read(4, 0) != 0;
    return config;
}

TDisplayConfig ReadDisplayConfig(const std::string& fileName) {
    // A missing or unreadable file leaves every value at its default.
    std::ifstream file(fileName, std::ios::binary);
    if (!file) return {};
    // Only what the file holds, in chunks, and one byte past the limit to know whether it was reached.
    std::string text;
    char chunk[4096];
    while (text.size() <= kMaxConfigBytes) {
        const std::size_t wanted = std::min(sizeof chunk, kMaxConfigBytes + 1 - text.size());
        file.read(chunk, static_cast<std::streamsize>(wanted));
        const auto got = static_cast<std::size_t>(file.gcount());
        text.append(chunk, got);
        if (got < wanted) break;
    }
    if (text.size() > kMaxConfigBytes) {
        // An oversized file is read up to its last whole line within the limit, never half a value;
        // a line that fills the limit exactly is whole when the byte after it ends it.
        const std::size_t lastLineEnd = text.rfind('\n', kMaxConfigBytes);
        text.resize(lastLineEnd == std::string::npos ? 0 : lastLineEnd + 1);
    }
    return ParseDisplayConfig(text);
}

} // namespace lumidor
