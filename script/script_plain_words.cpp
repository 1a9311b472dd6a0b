// The plain words of load problems: what an effect author reads in editors and the Problems tab in
// place of the debugger log's fixed wording (which stays in the log). Each text says what is wrong
// with the author's own text and what to write instead, from facts only the loader knows: how many
// values a command takes and got, the name written in the wrong quotes, the lines of the commands
// that an end check is about.

#include "script/script_loader_state.h"

#include <algorithm>
#include <string>

namespace lumidor::script_detail {

namespace {

/// Longest piece of the author's text quoted in a message; a longer one is cut and ends in "...".
constexpr std::size_t MaxQuotedText = 60;

/// `text` cut to MaxQuotedText characters.
std::string Cut(std::string_view text) {
    std::string out(text.substr(0, MaxQuotedText));
    if (text.size() > MaxQuotedText) out += "...";
    return out;
}

/// `text` in single quotes, cut to MaxQuotedText characters.
std::string Quoted(std::string_view text) {
    return "'" + Cut(text) + "'";
}

std::string ValueCount(int count) {
    return std::to_string(count) + (count == 1 ? " value" : " values");
}

/// Editors count lines from 1; the log from 0.
std::string EditorLine(std::int32_t line) {
    return std::to_string(std::int64_t(line) + 1);
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

void ReportLineError(TLoadState& state, std::string_view message, std::string plain) {
    const std::size_t before = state.Report.Diagnostics.size();
    ReportLineError(state, message);
    // No diagnostic when the log was full.
    if (state.Report.Diagnostics.size() > before) state.Report.Diagnostics.back().Plain = std::move(plain);
}

std::string PlainNotBoolean(std::string_view text) {
    return "\"" + Cut(text) +
           "\" is not a boolean: write true or false (any letter case), or a whole "
           "number (0 is false)";
}

std::string PlainNotAString(std::string_view raw, std::int32_t column) {
    static constexpr std::string_view General =
        "a file name is written between two single quotes and holds no ';' and no quote, as in "
        "loadtexture('textures/lumina.tga');";
    // The raw text keeps the blanks of a name that the normalised line has lost.
    const std::string_view command =
        raw.substr(std::min<std::size_t>(std::size_t(std::max(column, 1) - 1), raw.size()));
    const std::string_view written = command.substr(0, command.find(';'));
    if (written.find('\'') != std::string_view::npos) return std::string(General);
    std::string_view name;
    if (const std::size_t quote = written.find('"'); quote != std::string_view::npos) {
        const std::size_t closing = written.find('"', quote + 1);
        if (closing == std::string_view::npos) return std::string(General);
        name = written.substr(quote + 1, closing - quote - 1);
    } else {
        // No quotes at all: the name is what stands between the parentheses.
        const std::size_t open = written.find('(');
        const std::size_t close = written.rfind(')');
        if (open == std::string_view::npos || close == std::string_view::npos || close < open)
            return std::string(General);
        name = TrimBlanks(written.substr(open + 1, close - open - 1));
    }
    if (name.empty()) return std::string(General);
    return "file names are written in single quotes: " + Quoted(name);
}

std::string PlainParameterCount(std::string_view command, std::string_view text, int values, int longValues,
                                std::string_view form) {
    // The loader reads a command up to its first ';'.
    const std::size_t semicolon = text.find(';');
    const std::string_view written = text.substr(0, semicolon);
    const std::size_t open = written.find('(');
    const std::size_t close = written.find(')');
    if (open != std::string_view::npos && close == std::string_view::npos) {
        if (semicolon == std::string_view::npos) return "missing ');' at the end of " + Quoted(written);
        const std::size_t later = text.find(')', semicolon);
        if (later == std::string_view::npos) return "missing ')' at the end of " + Quoted(written);
        return "';' inside the parentheses of " + Quoted(text.substr(0, later + 1)) +
               ": the command ends at its first ';', and values are separated by ','";
    }
    int got = 0;
    if (open != std::string_view::npos && close > open + 1)
        got = int(std::count(written.begin() + std::ptrdiff_t(open), written.begin() + std::ptrdiff_t(close),
                             ',')) +
              1;
    std::string out = "'" + std::string(command) + "' takes ";
    if (longValues > 0 && longValues != values) {
        out +=
            std::to_string(std::min(values, longValues)) + " or " + ValueCount(std::max(values, longValues));
    } else {
        out += ValueCount(values);
    }
    if (!form.empty()) {
        out += " (";
        out += form;
        out += ')';
    }
    out += ", got " + (got == 0 ? std::string("none") : std::to_string(got));
    // The usual slip behind one value too many: a decimal comma.
    if (values == 1 && (longValues <= 0 || longValues == 1) && got == 2)
        out += " (decimals are written with '.', as in 1.5)";
    return out;
}

std::string PlainNoTexture(std::int32_t textureLine, std::int32_t types) {
    if (textureLine >= 0)
        return "no texture was loaded (the loadtexture on line " + EditorLine(textureLine) +
               " failed): every textureproperties is skipped and the particles are drawn as plain squares";
    if (types == 0)
        return "the script loads no texture and sets up no particle type, so it shows nothing: write "
               "loadtexture('FILE.tga'); and setnewparticletype();";
    return "the script loads no texture: add loadtexture('FILE.tga'); before the first textureproperties, "
           "or the particles are drawn as plain squares";
}

std::string PlainNoTiles(std::int32_t type, std::int32_t typeLine) {
    std::string out = "particle type " + std::to_string(type);
    if (typeLine >= 0) out += " (setnewparticletype on line " + EditorLine(typeLine) + ")";
    return out + " has no texture tiles: its textureproperties(ROWS,COLUMNS); is missing or was refused, so "
                 "its particles are drawn as plain squares";
}

} // namespace lumidor::script_detail
