#pragma once
// What the script fuzzers check after a load: the record, the report and the debugger log agree with
// one another and with the input's lines. A broken promise traps, which libFuzzer reports as a crash
// with the input that caused it.

#include "script/particle_script.h"
#include "script/script_scanner.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumidor::fuzzing {

inline void Require(bool condition) {
    if (!condition) __builtin_trap();
}

/// Lines of the script text as the loader counts them, and the length of each (NUL ends the text).
struct TScriptLines {
    std::vector<std::size_t> Lengths;
};

inline TScriptLines ScriptLines(std::string_view text) {
    TScriptLines lines;
    const std::size_t end = std::min(text.find('\0'), text.size());
    for (std::size_t start = 0; start < end;) {
        std::size_t i = start;
        while (i < end && text[i] != '\r' && text[i] != '\n')
            ++i;
        lines.Lengths.push_back(i - start);
        if (i < end && text[i] == '\r' && i + 1 < end && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    return lines;
}

/// True for a word of the keyword table.
inline bool IsKeyword(std::string_view word) {
    for (const TScriptKeywordRow& row : ScriptKeywords)
        if (!word.empty() && FindKeyword(word, row) >= 0) return true;
    return false;
}

/// Checks one load of `text` into a record that was empty, with the log naming `fileName`.
inline void CheckFreshLoad(const TParticleScript& script, const TScriptLoadReport& report,
                           std::string_view text, const std::string& fileName) {
    Require(report.FileOpened);

    // The record's arrays grow together and stay within the loader's limits.
    const std::size_t types = script.Containers.size();
    Require(types <= std::size_t(MaxScriptParticleTypes));
    Require(script.Values.size() == types && script.Ranges.size() == types &&
            script.Vectors.size() == types && script.VectorRanges.size() == types &&
            report.TilesSet.size() == types);
    std::size_t magnets = 0;
    std::size_t tilesMissing = 0;
    for (std::size_t t = 0; t < types; ++t) {
        const TParticleEffectContainer& container = script.Containers[t];
        magnets += container.MagnetPoints.size();
        // Every point goes to every type that exists, so an older type holds at least as many.
        if (t > 0) Require(container.MagnetPoints.size() <= script.Containers[t - 1].MagnetPoints.size());
        Require(container.TextureTiles.size() <= std::size_t(MaxScriptTextureTiles));
        if (report.TilesSet[t])
            Require(!container.TextureTiles.empty());
        else
            ++tilesMissing;
    }
    Require(magnets <= std::size_t(MaxScriptMagnetRecords));

    // The log: the header, problem lines, one CR, the critical warnings, and the summary.
    const std::string& log = script.DebugLog;
    const std::string header =
        "Lumidor ScriptDebugger log\rLumidor version: 2005.08.09\rDebugger version: 2.1\r"
        "File: \"" +
        fileName + "\"\r\r";
    Require(log.starts_with(header));
    Require(log.find('\n') == std::string::npos);
    Require(log.size() <= header.size() + MaxScriptLogBytes + 65536);
    if (report.ErrorCount > 0) {
        Require(log.ends_with("\r\r" + std::to_string(report.ErrorCount) + " error(s) detected."));
    } else {
        Require(log.size() == header.size() + 1);
    }

    // Until the log is full every error has its line and its diagnostic, in the same order. (A script
    // that quotes the notice in a command of its own only skips these checks.)
    if (log.find("): The debugger log has reached ") != std::string::npos) return;
    const TScriptLines lines = ScriptLines(text);
    std::size_t counted = 0;
    std::size_t noTilesLines = 0;
    bool noTextureLine = false;
    for (std::size_t start = header.size(); start < log.size();) {
        const std::size_t end = std::min(log.find('\r', start), log.size());
        const std::string_view line(log.data() + start, end - start);
        start = end + 1;
        const bool problem = line.starts_with("Error (Line ");
        if (!problem && !line.starts_with("Critical Error: ")) continue;
        Require(counted < report.Diagnostics.size());
        const TScriptDiagnostic& diagnostic = report.Diagnostics[counted++];
        Require(line.ends_with(diagnostic.Message));
        if (problem) {
            Require(line.starts_with("Error (Line " + std::to_string(diagnostic.Line) + "): "));
            Require(diagnostic.Line >= 0 && std::size_t(diagnostic.Line) < lines.Lengths.size());
            Require(diagnostic.Column >= 1 &&
                    std::size_t(diagnostic.Column) <= lines.Lengths[std::size_t(diagnostic.Line)] + 1);
            Require(diagnostic.Suggestion.empty() || IsKeyword(diagnostic.Suggestion));
        } else {
            Require(diagnostic.Line == -1 && diagnostic.Column == 0);
            noTextureLine = noTextureLine || line.starts_with("Critical Error: No texture loaded.");
            if (line.starts_with("Critical Error: TextureProperties was not called")) ++noTilesLines;
        }
    }
    Require(counted == report.Diagnostics.size() && std::int64_t(counted) == report.ErrorCount);
    Require(noTextureLine != report.TextureLoaded);
    Require(noTilesLines == tilesMissing);
}

} // namespace lumidor::fuzzing
