// The script fuzzers' dictionary (tests/fuzz/script.dict) against the loader's keyword table: its
// command entries must be exactly the table's commands, and every line must be one libFuzzer accepts
// (a malformed line makes the fuzzer refuse to start).

#include "script/script_scanner.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <set>
#include <string>

namespace {

struct TDictionaryEntry {
    std::string Name;
    std::string Value;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

/// One line in the form name="value" or "value", with libFuzzer's escapes \\, \" and \xAB; nullopt
/// for anything else (stricter than libFuzzer, which also takes an unescaped quote inside).
std::optional<TDictionaryEntry> ParseEntry(const std::string& line) {
    const std::size_t open = line.find('"');
    if (open == std::string::npos || line.size() < open + 2 || line.back() != '"') return std::nullopt;
    TDictionaryEntry entry{line.substr(0, open == 0 ? 0 : open - 1), {}};
    if (open > 0 && line[open - 1] != '=') return std::nullopt;
    for (std::size_t i = open + 1; i + 1 < line.size(); ++i) {
        if (line[i] != '\\') {
            if (line[i] == '"') return std::nullopt;
            entry.Value += line[i];
            continue;
        }
        if (i + 2 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '"')) {
            entry.Value += line[++i];
        } else if (i + 4 < line.size() && line[i + 1] == 'x' && HexDigit(line[i + 2]) >= 0 &&
                   HexDigit(line[i + 3]) >= 0) {
            entry.Value += char(HexDigit(line[i + 2]) * 16 + HexDigit(line[i + 3]));
            i += 3;
        } else {
            return std::nullopt;
        }
    }
    return entry;
}

} // namespace

TEST(FuzzDictionary, ListsExactlyTheLoadersCommandsAndParses) {
    std::ifstream file(LUMIDOR_SOURCE_DIR "/tests/fuzz/script.dict");
    ASSERT_TRUE(file) << "tests/fuzz/script.dict is missing";
    std::set<std::string> commands;
    std::set<std::string> values;
    int lineNumber = 0;
    for (std::string line; std::getline(file, line);) {
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;
        const std::optional<TDictionaryEntry> entry = ParseEntry(line);
        ASSERT_TRUE(entry) << "line " << lineNumber << " is not a dictionary entry: " << line;
        EXPECT_FALSE(entry->Value.empty()) << "line " << lineNumber;
        values.insert(entry->Value);
        if (entry->Name.starts_with("command_")) {
            EXPECT_EQ(entry->Name, "command_" + entry->Value) << "line " << lineNumber;
            commands.insert(entry->Value);
        }
    }
    std::set<std::string> keywords;
    for (const lumidor::TScriptKeywordRow& row : lumidor::ScriptKeywords)
        for (std::string_view keyword : row)
            if (!keyword.empty()) keywords.emplace(keyword);
    EXPECT_EQ(commands, keywords);
    // The language's punctuation and comment are there too.
    for (const char* piece : {"(", ")", ";", ",", ".", "[", "]", "'", "//"})
        EXPECT_TRUE(values.contains(piece)) << piece;
}

TEST(FuzzDictionary, EntryParserRefusesWhatLibFuzzerRefuses) {
    EXPECT_EQ(ParseEntry(R"(kw="a\x41\\\"")")->Value, "aA\\\"");
    EXPECT_EQ(ParseEntry(R"(nul="\x00")")->Value, std::string(1, '\0'));
    EXPECT_EQ(ParseEntry(R"("plain")")->Name, "");
    EXPECT_FALSE(ParseEntry(R"(kw=unquoted)"));
    EXPECT_FALSE(ParseEntry(R"(kw="bad \q escape")"));
    EXPECT_FALSE(ParseEntry(R"(kw="cut \x4")"));
    EXPECT_FALSE(ParseEntry(R"(kw="open)"));
}
