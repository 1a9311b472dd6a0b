#pragma once
// Editor diagnostics of a script load: where in the raw text a command starts, the closest keyword
// to a misspelt command name, and the one-line-per-error form that editors and CI read
// ("FILE:LINE:COLUMN: error: MESSAGE").

#include "particle_script.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumidor {

/// 1-based column in `raw` of the character that NormalizeLine moved to `normalizedOffset` (the
/// earliest raw position of the normalised text from that offset on, so a quote moved to the front
/// does not count); a tab is one column. An offset past the end gives the column after the line.
std::int32_t RawColumn(std::string_view raw, std::size_t normalizedOffset);
/// RawColumn for every offset of the normalised line and one past its end, in one pass (a line
/// with many problems is mapped once).
std::vector<std::int32_t> RawColumns(std::string_view raw);

/// The keyword closest to `name` (folded to lower case) when it is a small edit away: at most 2
/// insertions, deletions, substitutions or swaps of neighbours, and at most a third of the longer
/// word. Empty when none is that close, for an empty name, or when `name` is a keyword.
std::string SuggestKeyword(std::string_view name);

/// Where `diagnostic` stands in `fileName`, counted as editors count: "FILE:LINE:COLUMN" with LINE
/// from 1 (a CR LF pair ends one line) and COLUMN from 1 (a tab is one column), or "FILE" for a
/// problem of no line. Every tool that names a script position goes through here.
std::string DiagnosticPlace(std::string_view fileName, const TScriptDiagnostic& diagnostic);

/// One problem as "PLACE: error: MESSAGE" (PLACE from DiagnosticPlace, MESSAGE the diagnostic's
/// Plain words, or its Message when it has none); an unknown command close to a keyword ends in
/// " (did you mean 'NAME'?)". No line break.
std::string FormatGccDiagnostic(std::string_view fileName, const TScriptDiagnostic& diagnostic);

/// FormatGccDiagnostic for every problem, in order, each line ending with "\n"; empty when there
/// is none.
std::string FormatGccDiagnostics(std::string_view fileName,
                                 const std::vector<TScriptDiagnostic>& diagnostics);
/// FormatGccDiagnostics of the problems of one load.
std::string FormatGccDiagnostics(std::string_view fileName, const TScriptLoadReport& report);

/// One warning as "PLACE: warning: MESSAGE" (PLACE from DiagnosticPlace). No line break.
std::string FormatGccWarning(std::string_view fileName, const TScriptDiagnostic& warning);

/// The errors and warnings of one load, one gcc line each ending with "\n": the errors in their
/// order, each warning before the first error placed after it (errors of no line come last), so a
/// load without warnings prints exactly FormatGccDiagnostics.
std::string FormatGccProblems(std::string_view fileName, const TScriptLoadReport& report);

/// The debugger log as lumidor-psc prints it: every CR a line break, ending in one.
std::string ReadableScriptLog(std::string log);

} // namespace lumidor
