// LoadScript: the log header, the line loop with the semicolon rule, the keyword lookup, the
// commands of keyword rows 0 to 3 (values stored per particle type) and the end checks. Row 4 is in
// script_commands.cpp, rows 5 and 6 (the newer commands) in script_effect_commands.cpp, rows 7 and 8
// (looks and motion) in script_look_commands.cpp.

#include "script/particle_script.h"
#include "script/script_diagnostics.h"
#include "script/script_loader_state.h"
#include "script/script_scanner.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

namespace lumidor {

using script_detail::TLoadState;

namespace {

constexpr std::string_view GenericPattern = "%(%);%";

/// Argument shape of keyword rows 0 to 3.
struct TValueRowShape {
    int Commas;               ///< "," required before the first ";"
    std::string_view Pattern; ///< the row's own pattern (row 0 keeps the generic match)
    int ValueCount;           ///< slots 1..ValueCount hold the values
};

constexpr TValueRowShape ValueRowShapes[4] = {
    {0, GenericPattern, 1},
    {1, "%(%,%);%", 2},
    {2, "%(%,%,%);%", 3},
    {5, "%([%,%],[%,%],[%,%]);%", 6},
};

/// Largest script read; anything longer (a device, a wrong file) counts as unreadable.
constexpr std::size_t MaxScriptBytes = std::size_t(64) << 20;

std::optional<std::string> ReadWholeFile(const std::string& fileName) {
    std::string path = fileName;
    std::replace(path.begin(), path.end(), '\\', '/');
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return std::nullopt;
    std::string content;
    char buffer[65536];
    std::size_t got = 0;
    bool tooLong = false;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content.append(buffer, got);
        // A NUL ends the text, so nothing after it is needed (this also ends /dev/zero).
        if (std::memchr(buffer, '\0', got) != nullptr) break;
        if (content.size() > MaxScriptBytes) {
            tooLong = true;
            break;
        }
    }
    // A directory or a failing device opens but cannot be read: treated like a missing file.
    const bool failed = std::ferror(file) != 0 || tooLong;
    std::fclose(file);
    if (failed) return std::nullopt;
    return content;
}

/// Field `k` of the row-`row` record of the current type, for value `index` (0-based) of the command.
float& ValueDestination(TLoadState& state, int row, int k, int index) {
    const auto type = std::size_t(state.CurrentType);
    switch (row) {
    case 0: {
        TScriptValues& v = state.Script.Values[type];
        float* fields[] = {&v.Mass,         &v.NumParticles, &v.AirResistance,
                           &v.BeginFadeOut, &v.EndFadeIn,    &v.TextureTile};
        return *fields[k];
    }
    case 1: {
        TScriptRanges& r = state.Script.Ranges[type];
        TScriptPair* pairs[] = {nullptr, &r.Unused, &r.RandomSize, &r.Size, &r.Enlargement};
        if (k == 0) return index == 0 ? r.Life.Spread : r.Life.Base;
        return index == 0 ? pairs[k]->First : pairs[k]->Second;
    }
    case 2: {
        TScriptVectors& v = state.Script.Vectors[type];
        TVector3* vectors[] = {&v.Force, &v.Color, &v.Inertia, &v.Unused};
        float* axes[] = {&vectors[k]->x, &vectors[k]->y, &vectors[k]->z};
        return *axes[index];
    }
    default: {
        TScriptVectorRanges& v = state.Script.VectorRanges[type];
        TScriptVectorRange& range = k == 0 ? v.Velocity : v.Position;
        // The text lists spread and base per axis; the record keeps all spreads, then all bases.
        TVector3& part = index % 2 == 0 ? range.Spread : range.Base;
        float* axes[] = {&part.x, &part.y, &part.z};
        return *axes[index / 2];
    }
    }
}

/// The command of keyword row `row`, index `k`, whose place the warnings name, if any.
std::optional<script_detail::TNotedCommand> NotedValueCommand(int row, int k) {
    using script_detail::TNotedCommand;
    constexpr int None = -1;
    constexpr int rows[4][6] = {
        {int(TNotedCommand::Mass), int(TNotedCommand::ParticleCount), int(TNotedCommand::AirResistance), None,
         None, int(TNotedCommand::Texture)},
        {int(TNotedCommand::LifeLength), None, int(TNotedCommand::RandomSize), int(TNotedCommand::Size), None,
         None},
        {None, int(TNotedCommand::Color), None, None, None, None},
        {None, None, None, None, None, None},
    };
    const int noted = k < 6 ? rows[row][k] : None;
    if (noted == None) return std::nullopt;
    return TNotedCommand(noted);
}

/// Rows 0-3: checks, the row's own pattern, one conversion per value. Returns the rest-of-line slot.
int RunValueCommand(TLoadState& state, int row, int k, std::string_view text) {
    const TValueRowShape& shape = ValueRowShapes[row];
    if (state.CurrentType == -1) {
        script_detail::ReportLineError(state, "): No particle type has been set yet.");
        return 2;
    }
    if (script_detail::CountBeforeFirstSemicolon(text, ',') != shape.Commas) {
        script_detail::ReportLineError(
            state, "): Wrong parameter count.",
            script_detail::PlainParameterCount(ScriptKeywords[std::size_t(row)][std::size_t(k)], text,
                                               shape.ValueCount, 0,
                                               row == 3 ? "[spread,base] for x, y and z" : ""));
        return 2;
    }
    if (row > 0) MatchPatternViews(text, state.Slots, shape.Pattern);
    const TValueKind kind = (row == 0 && k == 1) ? TValueKind::Integer : TValueKind::Float;
    bool clean = true;
    for (int index = 0; index < shape.ValueCount; ++index) {
        const std::string value = ReplaceDotsByCommas(state.Slots[std::size_t(index + 1)]);
        if (const std::optional<float> number = ConvertFloat(value)) {
            ValueDestination(state, row, k, index) = *number;
        } else {
            script_detail::ReportBadValue(state, value, kind);
            clean = false;
        }
    }
    if (const std::optional<script_detail::TNotedCommand> noted = NotedValueCommand(row, k))
        script_detail::NoteCommand(state, *noted, clean);
    return shape.ValueCount + 1;
}

/// A ")" that is the last character or not followed by ";".
bool ViolatesSemicolonRule(std::string_view text) {
    const std::size_t p = text.find(')');
    return p != std::string::npos && (p + 1 == text.size() || text[p + 1] != ';');
}

/// One command at the start of `text`; replaces `text` by the rest of the line. Returns true when
/// the rest of the line is to be dropped.
bool ProcessCommand(TLoadState& state, std::string_view& text) {
    MatchPatternViews(text, state.Slots, GenericPattern);
    const std::string name = FoldToLower(state.Slots[0]);
    int row = -1;
    int k = -1;
    if (!name.empty()) {
        for (int r = 0; r < ScriptKeywordRows && k < 0; ++r) {
            k = FindKeyword(name, ScriptKeywords[std::size_t(r)]);
            row = r;
        }
    }
    if (k < 0) {
        // An empty remainder or a trailing comment ends the line silently.
        if (!IsBlankOrComment(text) && state.LogFull) {
            script_detail::CountErrors(state, 1);
        } else if (!IsBlankOrComment(text)) {
            std::string message = "): Unknown Command: \"";
            message += text;
            message += "\" - skipping rest of the line.";
            const std::size_t diagnostics = state.Report.Diagnostics.size();
            script_detail::ReportLineError(state, message);
            // No diagnostic when this was the message that filled the log.
            if (state.Report.Diagnostics.size() > diagnostics)
                state.Report.Diagnostics.back().Suggestion = SuggestKeyword(name);
        }
        return true;
    }
    const int restSlot = row < 4    ? RunValueCommand(state, row, k, text)
                         : row == 4 ? script_detail::RunOwnRuleCommand(state, k, text)
                         : row <= 6 ? script_detail::RunEffectCommand(state, row, k, text)
                                    : script_detail::RunLookCommand(state, row, k, text);
    text = state.Slots[std::size_t(restSlot)];
    return false;
}

/// `line` is the load's reusable buffer; the command loop only moves a view through it, so a line
/// of many commands is processed in time linear in its length.
void ProcessLine(TLoadState& state, std::string_view raw, std::string& line) {
    // A raw comment line is dropped before normalisation: a lone apostrophe in it ("don't") would
    // move a quote to the front, and a ")" in the comment would then be reported as a missing ";".
    if (IsBlankOrComment(raw)) return;
    line.assign(raw);
    NormalizeLine(line);
    std::string_view text = line;
    state.RawLine = raw;
    state.Columns.reset();
    const std::size_t normalizedSize = text.size();
    for (;;) {
        // Every rest of the line is a tail of the normalised line, so its offset locates the command.
        state.CommandOffset = normalizedSize - text.size();
        if (!IsBlankOrComment(text) && ViolatesSemicolonRule(text)) {
            script_detail::ReportLineError(state, "): Missing semicolon - skipping rest of the line.");
            return;
        }
        if (ProcessCommand(state, text)) return;
    }
}

/// Records the critical warning that the log's last line, "Critical Error: MESSAGE" and its CR,
/// starting at `lineStart`, reports.
void AddLinelessDiagnostic(TScriptLoadReport& report, const std::string& log, std::size_t lineStart) {
    TScriptDiagnostic& diagnostic = report.Diagnostics.emplace_back();
    const std::size_t message = lineStart + std::string_view("Critical Error: ").size();
    diagnostic.Message = log.substr(message, log.size() - 1 - message);
}

/// Records the problem that the log's last line, "Error (Line N): MESSAGE" and its CR starting at
/// `lineStart`, reports at the current command.
void AddLineDiagnostic(TLoadState& state, std::size_t lineStart) {
    TScriptDiagnostic& diagnostic = state.Report.Diagnostics.emplace_back();
    diagnostic.Line = state.Line;
    if (!state.Columns) state.Columns.emplace(state.RawLine);
    diagnostic.Column = state.Columns->Column(state.CommandOffset);
    const std::string& log = state.Script.DebugLog;
    const std::size_t end = log.size() - 1;
    const std::size_t colon = log.find("): ", lineStart);
    const std::size_t message = colon < end ? colon + 3 : lineStart + std::string_view("Error (Line ").size();
    diagnostic.Message = log.substr(message, end - message);
}

/// The lines every load starts with, naming the file as the caller gave it.
void AppendLogHeader(std::string& log, const std::string& fileName) {
    log += "Lumidor ScriptDebugger log\rLumidor version: 2005.08.09\rDebugger version: 2.1\rFile: \"";
    log += fileName;
    log += "\"\r\r";
}

void RunEndChecks(TLoadState& state) {
    // Sub-emitters may name types set up after them; what they name is known only now.
    script_detail::CheckSubEmitterTypes(state);
    std::string& log = state.Script.DebugLog;
    log += '\r';
    if (!state.Report.TextureLoaded) {
        const std::size_t lineStart = log.size();
        log += "Critical Error: No texture loaded. TextureProperties commands will be skipped. "
               "Executing the script may cause an acces violation\r";
        script_detail::CountErrors(state, 1);
        AddLinelessDiagnostic(state.Report, log, lineStart);
        state.Report.Diagnostics.back().Plain =
            script_detail::PlainNoTexture(state.TextureLine, std::int32_t(state.TypeLines.size()));
    }
    for (std::int32_t t = 0; t <= state.CurrentType; ++t) {
        if (state.Report.TilesSet[std::size_t(t)]) continue;
        const std::size_t lineStart = log.size();
        log += "Critical Error: TextureProperties was not called for particle type ";
        log += std::to_string(t);
        log += ". Executing the script may cause an acces violation\r";
        script_detail::CountErrors(state, 1);
        AddLinelessDiagnostic(state.Report, log, lineStart);
        const std::int32_t typeLine =
            std::size_t(t) < state.TypeLines.size() ? state.TypeLines[std::size_t(t)] : -1;
        state.Report.Diagnostics.back().Plain = script_detail::PlainNoTiles(t, typeLine);
    }
    if (state.Report.ErrorCount > 0) {
        log += '\r';
        log += std::to_string(state.Report.ErrorCount);
        log += " error(s) detected.";
    }
}

} // namespace

namespace script_detail {

void CountErrors(TLoadState& state, std::int64_t count) {
    // A hostile file can raise billions of errors; the count saturates instead of overflowing.
    const std::int64_t total = std::int64_t(state.Report.ErrorCount) + count;
    state.Report.ErrorCount = std::int32_t(std::min<std::int64_t>(total, INT32_MAX));
}

/// False once the log has reached its limit: the message is then only counted. The first refused
/// message leaves one line saying so.
bool LogHasRoom(TLoadState& state, std::size_t messageSize) {
    if (state.LogFull) return false;
    std::string& log = state.Script.DebugLog;
    if (log.size() + messageSize + 32 <= state.LogLimit) return true;
    state.LogFull = true;
    log += "Error (Line ";
    log += std::to_string(state.Line);
    log += "): The debugger log has reached " + std::to_string(MaxScriptLogBytes >> 20) +
           " MiB - further errors are counted but not listed.\r";
    return false;
}

void ReportLineError(TLoadState& state, std::string_view message) {
    std::string& log = state.Script.DebugLog;
    if (!LogHasRoom(state, message.size())) {
        script_detail::CountErrors(state, 1);
        return;
    }
    const std::size_t lineStart = log.size();
    log += "Error (Line ";
    log += std::to_string(state.Line);
    log += message;
    log += '\r';
    script_detail::CountErrors(state, 1);
    AddLineDiagnostic(state, lineStart);
}

void ReportBadValue(TLoadState& state, std::string_view text, TValueKind kind) {
    if (!LogHasRoom(state, text.size() + 48)) {
        script_detail::CountErrors(state, 1);
        return;
    }
    const std::size_t lineStart = state.Script.DebugLog.size();
    ReportValueError(state.Script.DebugLog, state.Report.ErrorCount, state.Line, text, kind);
    AddLineDiagnostic(state, lineStart);
    if (kind == TValueKind::Boolean)
        state.Report.Diagnostics.back().Plain = script_detail::PlainNotBoolean(text);
}

int CountBeforeFirstSemicolon(std::string_view text, char c) {
    const std::size_t semicolon = text.find(';');
    if (semicolon == std::string_view::npos) return 0;
    return int(std::count(text.begin(), text.begin() + std::ptrdiff_t(semicolon) + 1, c));
}

} // namespace script_detail

TScriptLoadReport LoadScriptWithReport(TParticleScript& script, const std::string& fileName) {
    return LoadScriptWithReport(script, fileName, fileName);
}

TScriptLoadReport LoadScriptWithReport(TParticleScript& script, const std::string& fileName,
                                       const std::string& path, const std::string& textureRoot) {
    const std::optional<std::string> content = ReadWholeFile(path);
    if (content) return LoadScriptFromText(script, fileName, *content, textureRoot);

    TScriptLoadReport report;
    std::string& log = script.DebugLog;
    AppendLogHeader(log, fileName);
    log += "Critical Error: File not Found: \"";
    log += fileName;
    log += "\"\r\r1 Error detected";
    report.ErrorCount = 1;
    report.Diagnostics.push_back({-1, 0, "File not Found: \"" + fileName + "\"", {}, {}});
    return report;
}

TScriptLoadReport LoadScriptFromText(TParticleScript& script, const std::string& fileName,
                                     std::string_view text, const std::string& textureRoot) {
    TScriptLoadReport report;
    AppendLogHeader(script.DebugLog, fileName);
    report.FileOpened = true;

    TLoadState state{script, report};
    state.TextureRoot = textureRoot;
    state.LogLimit = script.DebugLog.size() + MaxScriptLogBytes;
    for (const TParticleEffectContainer& container : script.Containers) {
        for (std::size_t k = 0; k < container.MagnetPoints.size(); ++k)
            state.MagnetIdsAreIndices =
                state.MagnetIdsAreIndices && container.MagnetPoints[k].Id == std::int32_t(k);
    }
    // The lines of SplitScriptLines, visited in place instead of copied.
    const std::size_t end = std::min(text.find('\0'), text.size());
    std::string line;
    std::size_t n = 0;
    for (std::size_t start = 0, i = 0; start < end; ++n) {
        i = start;
        while (i < end && text[i] != '\r' && text[i] != '\n')
            ++i;
        state.Line = std::int32_t(std::min<std::size_t>(n, INT32_MAX));
        ProcessLine(state, text.substr(start, i - start), line);
        if (i < end && text[i] == '\r' && i + 1 < end && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    RunEndChecks(state);
    script_detail::GatherScriptWarnings(state);
    return report;
}

void LoadScript(TParticleScript& script, const std::string& fileName) {
    LoadScriptWithReport(script, fileName);
}

} // namespace lumidor
