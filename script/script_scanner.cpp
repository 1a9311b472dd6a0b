#include "script/script_scanner.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace lumidor {

const std::array<TScriptKeywordRow, ScriptKeywordRows> ScriptKeywords = {{
    {"mass", "particlecount", "airresistance", "beginfadeout", "endfadein", "texture"},
    {"lifelength", "", "randomsize", "size", "enlargement"},
    {"force", "color", "inertia"},
    {"velocity", "position"},
    {"setnewparticletype", "setnewmagnetpoint", "mode", "gravity", "radius", "loadtexture",
     "textureproperties", "blendfactor", "mposition", "continiuous", "fading"},
    {"colorkey", "alphakey", "sizekey", "flipbook"},
    {"burst", "sphere", "shell", "disc", "ring", "outward", "ondeath", "onbounce", "prewarm"},
    {"rotation", "spin", "stretch", "tint", "trail"},
    {"rate", "turbulence", "vortex", "ground", "bounce", "dieonground", "shapeaxis", "local"},
}};

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lowerWord) {
    return text.size() == lowerWord.size() && FoldToLower(text) == lowerWord;
}

} // namespace

std::vector<std::string> SplitScriptLines(std::string_view text) {
    const std::size_t end = std::min(text.find('\0'), text.size());
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < end) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < end && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < end) lines.emplace_back(text.substr(start, end - start));
    return lines;
}

bool IsBlankOrComment(std::string_view line) {
    return line.empty() || line.starts_with("//");
}

void NormalizeLine(std::string& line) {
    // The first quoted section is lifted out before whitespace removal and put back afterwards,
    // so file names keep their blanks. With only one quote the section is empty and the quote
    // ends up at the start of the line; the loader then reports the odd command.
    std::string quoted;
    const std::size_t first = line.find('\'');
    if (first != std::string::npos) {
        line.erase(first, 1);
        const std::size_t closing = line.find('\'');
        if (closing != std::string::npos) {
            quoted = line.substr(first, closing - first);
            line.erase(first, closing - first);
            line.insert(first, 1, '\'');
        } else {
            line.insert(0, 1, '\'');
        }
    }
    std::erase(line, ' ');
    std::erase(line, '\t');
    const std::size_t quote = line.find('\'');
    if (quote != std::string::npos) line.insert(quote + 1, quoted);
}

int MatchPatternViews(std::string_view text, TScriptSlotViews& slots, std::string_view pattern,
                      char wildcard) {
    // The pattern language works on 1-based positions of a copy in which each capture is replaced
    // by one wildcard, so text position i keeps lining up with pattern position i. That copy is
    // `prefixLength` characters of earlier work followed by text[offset..]; only the offsets are kept.
    std::size_t prefixLength = 0;
    std::size_t offset = 0;
    int slot = -1;
    const std::size_t patternLength = pattern.size();
    for (std::size_t i = 1; i <= patternLength; ++i) {
        if (pattern[i - 1] != wildcard) continue;
        ++slot;
        const std::size_t nextWildcard = pattern.find(wildcard, i);
        const std::string_view separator =
            pattern.substr(i, (nextWildcard == std::string_view::npos ? patternLength : nextWildcard) - i);
        const std::size_t workLength = prefixLength + (text.size() - offset);
        std::string_view capture;
        if (i - 1 < workLength) {
            // Capture start in the text; the literal pattern characters before it are skipped unread.
            const std::size_t start = offset + (i - 1 - prefixLength);
            std::size_t end = start;
            if (i < patternLength) {
                // Up to the separator; the copy's last character never joins a capture that a
                // separator should end (an empty separator ends the capture at once).
                end = std::min(text.find(separator, start), text.size() - 1);
            } else {
                end = text.size();
            }
            capture = text.substr(start, end - start);
            prefixLength = i;
            offset = end;
        } else {
            // Past the end of the copy: an empty capture, the wildcard appended to the copy.
            prefixLength = workLength + 1;
            offset = text.size();
        }
        if (slot < ScriptSlotCount) slots[std::size_t(slot)] = capture;
    }
    return std::min(slot + 1, ScriptSlotCount);
}

void MatchPattern(const std::string& text, TScriptSlots& slots, std::string_view pattern, char wildcard) {
    TScriptSlotViews views;
    const int written = MatchPatternViews(text, views, pattern, wildcard);
    for (int k = 0; k < written; ++k)
        slots[std::size_t(k)] = views[std::size_t(k)];
}

int FindKeyword(std::string_view name, const TScriptKeywordRow& row) {
    for (int k = 0; k < ScriptKeywordsPerRow; ++k) {
        if (row[std::size_t(k)] == name) return k;
    }
    return -1;
}

std::string FoldToLower(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    return folded;
}

std::string ReplaceDotsByCommas(std::string_view text) {
    std::string replaced(text);
    for (char& c : replaced) {
        if (c == '.') c = ',';
    }
    return replaced;
}

std::optional<float> ConvertFloat(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    // Significant digits without leading zeros; `scale` is the power of ten of their last digit.
    std::string digits;
    std::int64_t scale = 0;
    int mantissaDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++mantissaDigits) {
        if (!digits.empty() || text[i] != '0') digits += text[i];
    }
    if (i < text.size() && text[i] == ',') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i, ++mantissaDigits) {
            if (!digits.empty() || text[i] != '0') digits += text[i];
            --scale;
        }
    }
    if (mantissaDigits == 0) return std::nullopt;

    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
        const std::size_t exponentStart = i;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            // Far beyond any float exponent; saturating keeps the sum below from overflowing.
            exponent = std::min<std::int64_t>(exponent * 10 + (text[i] - '0'), 1'000'000'000);
        }
        if (i == exponentStart) return std::nullopt;
        if (negativeExponent) exponent = -exponent;
    }
    if (i != text.size()) return std::nullopt;

    const float zero = negative ? -0.0f : 0.0f;
    const float infinity =
        negative ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
    if (digits.empty()) return zero;
    // Scientific-notation exponent of the leading digit; float spans about 1.4e-45 .. 3.4e38.
    const std::int64_t leading = std::int64_t(digits.size()) - 1 + scale + exponent;
    if (leading > 39) return infinity;
    if (leading < -46) return zero;

    const std::string canonical = digits + "e" + std::to_string(scale + exponent);
    float value = 0.0f;
#if defined(__EMSCRIPTEN__)
    // Emscripten's libc++ has no floating-point from_chars. The canonical text has no decimal point,
    // so the locale cannot change what strtof reads.
    errno = 0;
    char* parsedEnd = nullptr;
    value = std::strtof(canonical.c_str(), &parsedEnd);
    const std::errc error = errno == ERANGE ? std::errc::result_out_of_range : std::errc();
    const char* end = parsedEnd;
#else
    const auto [end, error] = std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
#endif
    if (error == std::errc::result_out_of_range) return leading >= 38 ? infinity : zero;
    if (error != std::errc() || end != canonical.data() + canonical.size()) return std::nullopt;
    return negative ? -value : value;
}

std::optional<std::int32_t> ConvertInteger(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    const std::string_view rest = text.substr(i);
    if (rest.starts_with("0x") || rest.starts_with("0X")) {
        base = 16;
        i += 2;
    } else if (rest.starts_with("$") || rest.starts_with("x") || rest.starts_with("X")) {
        base = 16;
        i += 1;
    }
    if (i == text.size()) return std::nullopt;
    const std::int64_t limit = negative ? std::int64_t(1) << 31 : (std::int64_t(1) << 31) - 1;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = base == 16 ? HexValue(text[i]) : (IsDigit(text[i]) ? text[i] - '0' : -1);
        if (digit < 0) return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit) return std::nullopt;
    }
    return std::int32_t(negative ? -magnitude : magnitude);
}

std::optional<bool> ConvertBoolean(std::string_view text) {
    if (const std::optional<float> number = ConvertFloat(text)) return *number != 0.0f;
    if (EqualsIgnoringCase(text, "true")) return true;
    if (EqualsIgnoringCase(text, "false")) return false;
    return std::nullopt;
}

std::int32_t TruncToInt32(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0f) return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0f) return std::numeric_limits<std::int32_t>::min();
    return std::int32_t(value);
}

void ReportValueError(std::string& log, std::int32_t& errorCount, std::int32_t line, std::string_view text,
                      TValueKind kind) {
    static constexpr std::string_view endings[] = {
        "\" is not a valid floating point value.",
        "\" is not a valid integer value.",
        "\" is not a valid LDBooleanValue value.",
    };
    log += "Error (Line ";
    log += std::to_string(line);
    log += "): \"";
    log += text;
    log += endings[int(kind)];
    log += '\r';
    if (errorCount < std::numeric_limits<std::int32_t>::max()) ++errorCount;
}

} // namespace lumidor
