#pragma once
// The lexical layer of particle scripts (.psc): lines, comments, whitespace removal, the wildcard
// pattern splitter, the keyword table and the value conversions. Position-based on purpose: the
// loader's diagnostics depend on the exact slot contents these routines give for malformed text.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumidor {

/// Number of parameter slots a pattern can fill; shared by every match of one load.
inline constexpr int ScriptSlotCount = 8;
/// Captured argument texts, slot i for the i-th wildcard of the last pattern that reached it.
using TScriptSlots = std::array<std::string, ScriptSlotCount>;
/// The same slots as views into the matched text; valid while that text lives unchanged.
using TScriptSlotViews = std::array<std::string_view, ScriptSlotCount>;

/// Rows x entries of the keyword table; rows 0 to 3 hold the commands of argument shape k, row 4 the
/// original commands with rules of their own, rows 5 (over a particle's life), 6 (emission), 7 (how
/// a particle looks) and 8 (how it moves) the newer commands, each checked by rules of its own.
inline constexpr int ScriptKeywordRows = 9;
inline constexpr int ScriptKeywordsPerRow = 11;
using TScriptKeywordRow = std::array<std::string_view, ScriptKeywordsPerRow>;
/// The command names, all lower case; unused entries are empty.
extern const std::array<TScriptKeywordRow, ScriptKeywordRows> ScriptKeywords;

/// What a value text was meant to be, selecting the wording of ReportValueError.
enum class TValueKind { Float = 0, Integer = 1, Boolean = 2 };

/// Splits a whole file into lines at CR, LF or CR LF; a NUL ends the text; no terminators kept.
std::vector<std::string> SplitScriptLines(std::string_view text);
/// True for a line that carries no command: empty, or starting with "//".
bool IsBlankOrComment(std::string_view line);
/// Removes spaces and tabs everywhere except inside the first '...' section.
void NormalizeLine(std::string& line);
/// Splits `text` by `pattern`, writing slot i for the i-th wildcard; other slots keep their text.
void MatchPattern(const std::string& text, TScriptSlots& slots, std::string_view pattern,
                  char wildcard = '%');
/// MatchPattern without copies: the work per call is linear in what the captures consume (the last
/// capture, the rest of the text, is a view), so a long line of commands matches in linear time.
/// Returns the number of slots written.
int MatchPatternViews(std::string_view text, TScriptSlotViews& slots, std::string_view pattern,
                      char wildcard = '%');
/// Index 0..10 of the first entry of `row` equal to `name` (case-sensitive), else -1.
int FindKeyword(std::string_view name, const TScriptKeywordRow& row);
/// ASCII-only lower-casing (A-Z become a-z; every other byte stays).
std::string FoldToLower(std::string_view text);
/// Every "." replaced by ",", the form script numbers are converted and reported in.
std::string ReplaceDotsByCommas(std::string_view text);

/// Decimal float with "," as separator: [sign] digits [, digits] [(E|e) [sign] digits]; at least one
/// mantissa digit. Callers replace "." by "," first. Values beyond the float range become +-infinity
/// (or +-0 below it). Empty or any other form (inf, nan, hex) gives nullopt.
std::optional<float> ConvertFloat(std::string_view text);
/// [sign] digits, or [sign] ($ | x | X | 0x | 0X) hex digits; nullopt unless it fits int32.
std::optional<std::int32_t> ConvertInteger(std::string_view text);
/// A number (no "." replacement) is true when not zero; else "true"/"false" in any case.
std::optional<bool> ConvertBoolean(std::string_view text);

/// Converts to int32 truncating toward zero; NaN gives 0, values beyond the range saturate.
std::int32_t TruncToInt32(float value);

/// Appends `Error (Line N): "text" is not a valid ... value.` and a CR to `log`; counts one error.
void ReportValueError(std::string& log, std::int32_t& errorCount, std::int32_t line, std::string_view text,
                      TValueKind kind);

} // namespace lumidor
