// Editor diagnostics of script loads: raw columns of normalised offsets (with the forward walk of
// script_columns.h), keyword suggestions for unknown commands and the gcc-style output of lumidor-psc.

#include "script/script_diagnostics.h"

#include "script/script_columns.h"
#include "script/script_scanner.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <utility>
#include <vector>

namespace lumidor {

namespace {

/// Longest words BoundedEditDistance compares; the loader's keywords and suggestion candidates fit.
constexpr std::size_t MaxEditWord = 24;

/// Edit distance with swaps of neighbouring letters counted as one edit, exact up to `limit`; a
/// larger distance (or a word longer than MaxEditWord) gives limit + 1. Only cells within `limit`
/// of the diagonal are worked out, and a row without a cell within `limit` ends the search: every
/// path on from there costs more. The loader asks for a suggestion at every unknown command, so
/// this runs for each of them against most keywords.
std::size_t BoundedEditDistance(std::string_view a, std::string_view b, std::size_t limit) {
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    limit = std::min(limit, MaxEditWord);
    const std::size_t over = limit + 1;
    if (n > MaxEditWord || m > MaxEditWord || std::max(n, m) - std::min(n, m) >= over) return over;
    // Cells outside the band are never written; the ones next to it that the band reads hold `over`.
    std::array<std::array<std::uint8_t, MaxEditWord + 1>, MaxEditWord + 1> d;
    for (std::size_t i = 0; i <= n; ++i)
        d[i][0] = std::uint8_t(std::min(i, over));
    for (std::size_t j = 0; j <= m; ++j)
        d[0][j] = std::uint8_t(std::min(j, over));
    for (std::size_t i = 1; i <= n; ++i) {
        const std::size_t low = i > limit ? i - limit : 1;
        const std::size_t high = std::min(m, i + limit);
        if (low > 1) d[i][low - 1] = std::uint8_t(over);
        std::size_t rowBest = d[i][0];
        for (std::size_t j = low; j <= high; ++j) {
            const std::size_t deletion = d[i - 1][j] + 1u;
            const std::size_t insertion = d[i][j - 1] + 1u;
            const std::size_t substitution = d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0u : 1u);
            std::size_t best = std::min(std::min(deletion, insertion), substitution);
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                best = std::min<std::size_t>(best, d[i - 2][j - 2] + 1u);
            d[i][j] = std::uint8_t(std::min(best, over));
            rowBest = std::min<std::size_t>(rowBest, d[i][j]);
        }
        if (high < m) d[i][high + 1] = std::uint8_t(over);
        if (rowBest >= over) return over;
    }
    return d[n][m];
}

/// The distinct characters of a word as bits: a-z each their own, any other byte one of the rest.
std::uint64_t CharacterSet(std::string_view word) {
    std::uint64_t set = 0;
    for (const char c : word) {
        const unsigned code = static_cast<unsigned char>(c);
        set |= std::uint64_t(1) << (code - 'a' < 26u ? code - 'a' : 26 + code % 38);
    }
    return set;
}

/// A floor under the edit distance that costs a few instructions: every character that only one
/// of the words has needs an edit of its own on that side, and one edit serves at most one
/// character on each side. (Bytes that share a bit are counted once, which only lowers the floor.)
std::size_t EditDistanceFloor(std::uint64_t a, std::uint64_t b) {
    return std::size_t(std::max(std::popcount(a & ~b), std::popcount(b & ~a)));
}

} // namespace

namespace script_detail {

TRawColumnWalk::TRawColumnWalk(std::string_view raw)
    : raw(raw), firstQuote(raw.find('\'')),
      closingQuote(firstQuote == std::string_view::npos ? firstQuote : raw.find('\'', firstQuote + 1)),
      movedQuote(firstQuote != std::string_view::npos && closingQuote == std::string_view::npos) {}

bool TRawColumnWalk::Kept(std::size_t index) const {
    // The first quoted section keeps its blanks; everywhere else spaces and tabs go.
    if (closingQuote != std::string_view::npos && index >= firstQuote && index <= closingQuote) return true;
    if (movedQuote && index == firstQuote) return false;
    return raw[index] != ' ' && raw[index] != '\t';
}

std::size_t TRawColumnWalk::KeptOrigin(std::size_t rank) {
    if (rank + 1 < kept) {
        scan = 0;
        kept = 0;
    }
    while (kept < rank + 1 && scan < raw.size()) {
        if (Kept(scan)) {
            lastKept = scan;
            ++kept;
        }
        ++scan;
    }
    return kept == rank + 1 ? lastKept : raw.size();
}

std::int32_t TRawColumnWalk::Column(std::size_t normalizedOffset) {
    const auto column = [](std::size_t index) {
        return std::int32_t(std::min<std::size_t>(index, INT32_MAX - 1) + 1);
    };
    // Apart from a lone quote moved to the front, the kept characters stay in raw order, so the
    // earliest raw position from an offset on is the offset's own.
    if (!movedQuote) return column(KeptOrigin(normalizedOffset));
    if (normalizedOffset == 0) return column(std::min(firstQuote, KeptOrigin(0)));
    return column(KeptOrigin(normalizedOffset - 1));
}

std::size_t TRawColumnWalk::NormalizedSize() const {
    std::size_t size = movedQuote ? 1 : 0;
    for (std::size_t i = 0; i < raw.size(); ++i)
        size += Kept(i) ? 1 : 0;
    return size;
}

} // namespace script_detail

std::vector<std::int32_t> RawColumns(std::string_view raw) {
    script_detail::TRawColumnWalk walk(raw);
    std::vector<std::int32_t> columns(walk.NormalizedSize() + 1);
    for (std::size_t offset = 0; offset < columns.size(); ++offset)
        columns[offset] = walk.Column(offset);
    return columns;
}

std::int32_t RawColumn(std::string_view raw, std::size_t normalizedOffset) {
    return script_detail::TRawColumnWalk(raw).Column(normalizedOffset);
}

std::string SuggestKeyword(std::string_view name) {
    const std::string folded = FoldToLower(name);
    // Longer texts are whole remainders of a line, never a misspelt name; skip the quadratic work.
    constexpr std::size_t LongestKeyword = 18;
    if (folded.empty() || folded.size() > LongestKeyword + 2) return {};
    std::string best;
    std::size_t bestDistance = 3;
    // The commands with their character sets, worked out once.
    struct TKeyword {
        std::string_view Word;
        std::uint64_t Set;
    };
    static const std::vector<TKeyword> keywords = [] {
        std::vector<TKeyword> list;
        for (const TScriptKeywordRow& row : ScriptKeywords)
            for (std::string_view word : row)
                if (!word.empty()) list.push_back({word, CharacterSet(word)});
        return list;
    }();
    const std::uint64_t nameSet = CharacterSet(folded);
    for (const TKeyword& keyword : keywords) {
        // Only a distance below the best so far matters; most names are ruled out by the floor.
        if (EditDistanceFloor(nameSet, keyword.Set) >= bestDistance) continue;
        const std::size_t distance = BoundedEditDistance(folded, keyword.Word, bestDistance - 1);
        if (distance == 0) return {};
        const std::size_t longer = std::max(folded.size(), keyword.Word.size());
        if (distance < bestDistance && distance * 3 <= longer) {
            bestDistance = distance;
            best = keyword.Word;
        }
    }
    return best;
}

std::string DiagnosticPlace(std::string_view fileName, const TScriptDiagnostic& diagnostic) {
    std::string place(fileName);
    if (diagnostic.Line >= 0) {
        // The log counts lines from 0; editors from 1.
        place += ':';
        place += std::to_string(std::int64_t(diagnostic.Line) + 1);
        place += ':';
        place += std::to_string(diagnostic.Column);
    }
    return place;
}

std::string FormatGccDiagnostic(std::string_view fileName, const TScriptDiagnostic& diagnostic) {
    std::string out = DiagnosticPlace(fileName, diagnostic);
    out += ": error: ";
    out += diagnostic.Plain.empty() ? diagnostic.Message : diagnostic.Plain;
    if (!diagnostic.Suggestion.empty()) {
        out += " (did you mean '";
        out += diagnostic.Suggestion;
        out += "'?)";
    }
    return out;
}

std::string FormatGccDiagnostics(std::string_view fileName,
                                 const std::vector<TScriptDiagnostic>& diagnostics) {
    std::string out;
    for (const TScriptDiagnostic& diagnostic : diagnostics) {
        out += FormatGccDiagnostic(fileName, diagnostic);
        out += '\n';
    }
    return out;
}

std::string FormatGccDiagnostics(std::string_view fileName, const TScriptLoadReport& report) {
    return FormatGccDiagnostics(fileName, report.Diagnostics);
}

std::string FormatGccWarning(std::string_view fileName, const TScriptDiagnostic& warning) {
    return DiagnosticPlace(fileName, warning) + ": warning: " + warning.Message;
}

std::string FormatGccProblems(std::string_view fileName, const TScriptLoadReport& report) {
    // A problem of no line sorts after every placed one.
    const auto place = [](const TScriptDiagnostic& d) {
        return std::pair(d.Line < 0 ? INT32_MAX : d.Line, d.Column);
    };
    std::string out;
    std::size_t next = 0;
    const std::vector<TScriptDiagnostic>& warnings = report.Warnings;
    for (const TScriptDiagnostic& error : report.Diagnostics) {
        for (; next < warnings.size() && place(warnings[next]) < place(error); ++next)
            out += FormatGccWarning(fileName, warnings[next]) + '\n';
        out += FormatGccDiagnostic(fileName, error) + '\n';
    }
    for (; next < warnings.size(); ++next)
        out += FormatGccWarning(fileName, warnings[next]) + '\n';
    return out;
}

std::string ReadableScriptLog(std::string log) {
    for (char& c : log) {
        if (c == '\r') c = '\n';
    }
    if (!log.ends_with('\n')) log += '\n';
    return log;
}

} // namespace lumidor
