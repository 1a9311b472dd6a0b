#include "script/script_diagnostics.h"

#include "script/script_scanner.h"

#include <algorithm>
#include <vector>

namespace lumidor {

namespace {

/// Raw index of every character of the normalised line: NormalizeLine's edits replayed on a
/// string and on the origins side by side. A quote that NormalizeLine inserts takes the origin of
/// the quote it stands for.
std::vector<std::size_t> NormalizedOrigins(std::string_view raw) {
    std::string line(raw);
    std::vector<std::size_t> origins(raw.size());
    for (std::size_t i = 0; i < origins.size(); ++i)
        origins[i] = i;
    const auto at = [](std::size_t i) { return std::ptrdiff_t(i); };

    std::string quoted;
    std::vector<std::size_t> quotedOrigins;
    const std::size_t first = line.find('\'');
    if (first != std::string::npos) {
        const std::size_t quoteOrigin = origins[first];
        line.erase(first, 1);
        origins.erase(origins.begin() + at(first));
        const std::size_t closing = line.find('\'');
        if (closing != std::string::npos) {
            quoted = line.substr(first, closing - first);
            quotedOrigins.assign(origins.begin() + at(first), origins.begin() + at(closing));
            line.erase(first, closing - first);
            origins.erase(origins.begin() + at(first), origins.begin() + at(closing));
            line.insert(first, 1, '\'');
            origins.insert(origins.begin() + at(first), quoteOrigin);
        } else {
            line.insert(0, 1, '\'');
            origins.insert(origins.begin(), quoteOrigin);
        }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == ' ' || line[i] == '\t') continue;
        line[kept] = line[i];
        origins[kept] = origins[i];
        ++kept;
    }
    line.resize(kept);
    origins.resize(kept);
    const std::size_t quote = line.find('\'');
    if (quote != std::string::npos)
        origins.insert(origins.begin() + at(quote + 1), quotedOrigins.begin(), quotedOrigins.end());
    return origins;
}

/// Edit distance with swaps of neighbouring letters counted as one edit.
std::size_t EditDistance(std::string_view a, std::string_view b) {
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    std::vector<std::size_t> d((n + 1) * (m + 1));
    const auto cell = [&](std::size_t i, std::size_t j) -> std::size_t& { return d[i * (m + 1) + j]; };
    for (std::size_t i = 0; i <= n; ++i)
        cell(i, 0) = i;
    for (std::size_t j = 0; j <= m; ++j)
        cell(0, j) = j;
    for (std::size_t i = 1; i <= n; ++i) {
        for (std::size_t j = 1; j <= m; ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            std::size_t best = std::min({cell(i - 1, j) + 1, cell(i, j - 1) + 1, cell(i - 1, j - 1) + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                best = std::min(best, cell(i - 2, j - 2) + 1);
            cell(i, j) = best;
        }
    }
    return cell(n, m);
}

} // namespace

std::vector<std::int32_t> RawColumns(std::string_view raw) {
    const std::vector<std::size_t> origins = NormalizedOrigins(raw);
    const auto column = [](std::size_t index) {
        return std::int32_t(std::min<std::size_t>(index, INT32_MAX - 1) + 1);
    };
    std::vector<std::int32_t> columns(origins.size() + 1);
    columns.back() = column(raw.size());
    // The earliest raw position from each offset on: a suffix minimum, built from the end.
    std::size_t earliest = raw.size();
    for (std::size_t i = origins.size(); i-- > 0;) {
        earliest = std::min(earliest, origins[i]);
        columns[i] = column(earliest);
    }
    return columns;
}

std::int32_t RawColumn(std::string_view raw, std::size_t normalizedOffset) {
    const std::vector<std::int32_t> columns = RawColumns(raw);
    return columns[std::min(normalizedOffset, columns.size() - 1)];
}

std::string SuggestKeyword(std::string_view name) {
    const std::string folded = FoldToLower(name);
    // Longer texts are whole remainders of a line, never a misspelt name; skip the quadratic work.
    constexpr std::size_t LongestKeyword = 18;
    if (folded.empty() || folded.size() > LongestKeyword + 2) return {};
    std::string best;
    std::size_t bestDistance = 3;
    for (const TScriptKeywordRow& row : ScriptKeywords) {
        for (std::string_view keyword : row) {
            if (keyword.empty()) continue;
            const std::size_t distance = EditDistance(folded, keyword);
            if (distance == 0) return {};
            const std::size_t longer = std::max(folded.size(), keyword.size());
            if (distance < bestDistance && distance * 3 <= longer) {
                bestDistance = distance;
                best = keyword;
            }
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
    out += diagnostic.Message;
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

std::string ReadableScriptLog(std::string log) {
    for (char& c : log) {
        if (c == '\r') c = '\n';
    }
    if (!log.ends_with('\n')) log += '\n';
    return log;
}

} // namespace lumidor
