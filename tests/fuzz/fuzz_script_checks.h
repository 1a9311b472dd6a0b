#pragma once
// What the script fuzzers check after a load: the record, the report and the debugger log agree with
// one another and with the input's lines. A broken promise traps, which libFuzzer reports as a crash
// with the input that caused it.

#include "script/particle_script.h"
#include "script/script_scanner.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumidor::fuzzing {

inline void Require(bool condition) {
    if (!condition) __builtin_trap();
}

/// Walks the lines of a script text as the loader counts them (a NUL ends the text), forward.
class TLineWalk {
  public:
    explicit TLineWalk(std::string_view whole)
        : text(whole.substr(0, std::min(whole.find('\0'), whole.size()))),
          nextCr(std::min(text.find('\r'), text.size())), nextLf(std::min(text.find('\n'), text.size())) {}

    /// Length of line `line` (zero-based), or -1 when the text has no such line. Lines are asked
    /// for in order, as the log reports them; an earlier one starts the walk again.
    std::int64_t Length(std::size_t line) {
        if (line < current) *this = TLineWalk(text);
        for (; start < text.size(); ++current) {
            // The next CR and the next LF are each looked for once (memchr), not per line.
            if (nextCr < start) nextCr = std::min(text.find('\r', start), text.size());
            if (nextLf < start) nextLf = std::min(text.find('\n', start), text.size());
            const std::size_t end = std::min(nextCr, nextLf);
            if (current == line) return std::int64_t(end - start);
            start = end + (end == nextCr && nextLf == end + 1 ? 2 : 1);
        }
        return -1;
    }

  private:
    std::string_view text;
    std::size_t start = 0;
    std::size_t current = 0;
    std::size_t nextCr; ///< first CR at or after `start` unless below it (then looked for again)
    std::size_t nextLf; ///< the same for LF
};

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
            script.Emission.size() == types && script.Look.size() == types &&
            report.TilesSet.size() == types);
    Require(script.Prewarm >= 0.0f && script.Prewarm <= MaxScriptPrewarmSeconds);
    std::size_t magnets = 0;
    std::size_t tilesMissing = 0;
    for (std::size_t t = 0; t < types; ++t) {
        const TParticleEffectContainer& container = script.Containers[t];
        magnets += container.MagnetPoints.size();
        // Every point goes to every type that exists, so an older type holds at least as many.
        if (t > 0) Require(container.MagnetPoints.size() <= script.Containers[t - 1].MagnetPoints.size());
        Require(container.TextureTiles.size() <= std::size_t(MaxScriptTextureTiles));
        // What a file can make a type hold is bounded, and sub-emitters name types that exist.
        const TParticleLifeCurves& life = container.Life;
        for (const std::size_t keys : {life.ColorKeys.size(), life.AlphaKeys.size(), life.SizeKeys.size()})
            Require(keys <= std::size_t(MaxScriptLifeKeys));
        Require(life.Flipbook.TileCount == 0 ||
                std::size_t(life.Flipbook.FirstTile) + std::size_t(life.Flipbook.TileCount) <=
                    container.TextureTiles.size());
        const TScriptEmission& emission = script.Emission[t];
        Require(emission.Bursts.size() <= std::size_t(MaxScriptBursts));
        Require(emission.SubEmitters.size() <= std::size_t(MaxScriptSubEmitters));
        for (const TScriptSubEmitter& sub : emission.SubEmitters)
            Require(sub.Type >= 0 && std::size_t(sub.Type) < types && sub.Count >= 1 &&
                    sub.Count <= MaxScriptSubEmitterCount);
        // The look commands store only what their ranges allow.
        const TScriptLook& look = script.Look[t];
        Require(look.Trail.Points == 0 ||
                (look.Trail.Points >= 2 && look.Trail.Points <= MaxScriptTrailPointsPerParticle &&
                 look.Trail.Seconds > 0.0f && look.Trail.Seconds <= MaxScriptTrailSeconds &&
                 look.Trail.Width >= 0.0f));
        Require(look.Rate >= 0.0f && look.Rate <= MaxScriptRate && look.Stretch >= 0.0f &&
                std::isfinite(look.Stretch) && look.Turbulence.Scale > 0.0f);
        for (const float share : {look.KeepY, look.KeepXZ, look.TintFirst.x, look.TintFirst.y,
                                  look.TintFirst.z, look.TintSecond.x, look.TintSecond.y, look.TintSecond.z})
            Require(share >= 0.0f && share <= 1.0f);
        for (const TVector3& axis : {look.ShapeAxis, look.Vortex.Axis})
            Require(axis.x != 0.0f || axis.y != 0.0f || axis.z != 0.0f);
        if (report.TilesSet[t])
            Require(!container.TextureTiles.empty());
        else
            ++tilesMissing;
    }
    Require(magnets <= std::size_t(MaxScriptMagnetRecords));

    // The log: the header, problem lines, one CR, the critical warnings, and the summary.
    const std::string& log = script.DebugLog;
    constexpr std::string_view fixedHeader =
        "Lumidor ScriptDebugger log\rLumidor version: 2005.08.09\rDebugger version: 2.1\rFile: \"";
    const std::string_view header = std::string_view(log).substr(0, fixedHeader.size() + fileName.size() + 3);
    Require(header.starts_with(fixedHeader) && header.substr(fixedHeader.size()).starts_with(fileName) &&
            header.ends_with("\"\r\r"));
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
    TLineWalk lines(text);
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
        // A texture that did not load adds why after the log's wording, which the log line keeps.
        const std::string_view message = diagnostic.Message;
        const std::size_t wordingStart =
            problem ? line.find("): ") + 3 : std::string_view("Critical Error: ").size();
        const std::string_view wording = line.substr(std::min(wordingStart, line.size()));
        Require(line.ends_with(message) ||
                (line.ends_with(" - skipping command.") && message.starts_with(wording) &&
                 message.substr(wording.size()).starts_with(" (")));
        if (problem) {
            std::int32_t number = -1;
            const char* digits = line.data() + 12;
            const auto [afterNumber, error] = std::from_chars(digits, line.data() + line.size(), number);
            Require(error == std::errc() && number == diagnostic.Line &&
                    std::string_view(afterNumber, std::size_t(line.data() + line.size() - afterNumber))
                        .starts_with("): "));
            Require(diagnostic.Line >= 0);
            const std::int64_t length = lines.Length(std::size_t(diagnostic.Line));
            Require(length >= 0 && diagnostic.Column >= 1 && diagnostic.Column <= length + 1);
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
