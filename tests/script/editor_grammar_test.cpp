// The editor grammars in tools/editors must list exactly the loader's commands: a command added to
// or renamed in the keyword table fails here until both grammars follow.

#include "script/script_scanner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::set<std::string> LoaderCommands() {
    std::set<std::string> commands;
    for (const auto& row : lumidor::ScriptKeywords)
        for (std::string_view keyword : row)
            if (!keyword.empty()) commands.emplace(keyword);
    return commands;
}

/// The alternatives of the first "\b(a|b|c)\b" group of `regex`.
std::set<std::string> Alternatives(const std::string& regex) {
    std::set<std::string> words;
    const std::size_t open = regex.find("\\b(");
    const std::size_t close = regex.find(")\\b", open);
    if (open == std::string::npos || close == std::string::npos) return words;
    std::stringstream group(regex.substr(open + 3, close - open - 3));
    for (std::string word; std::getline(group, word, '|');)
        words.insert(word);
    return words;
}

} // namespace

TEST(EditorGrammars, TextMateGrammarListsTheLoaderCommands) {
    const std::string text = ReadText(LUMIDOR_SOURCE_DIR "/tools/editors/psc.tmLanguage.json");
    ASSERT_FALSE(text.empty());
    const nlohmann::json grammar = nlohmann::json::parse(text);
    EXPECT_EQ(grammar["scopeName"], "source.psc");
    EXPECT_EQ(grammar["fileTypes"], nlohmann::json::array({"psc"}));
    const nlohmann::json& repository = grammar["repository"];
    EXPECT_EQ(Alternatives(repository["command"]["match"].get<std::string>()), LoaderCommands());
    // Every included rule exists, so editors show strings, comments, numbers and booleans.
    for (const auto& pattern : grammar["patterns"]) {
        const std::string name = pattern["include"].get<std::string>().substr(1);
        EXPECT_TRUE(repository.contains(name)) << name;
    }
    for (const char* rule : {"string", "comment", "number", "boolean"})
        EXPECT_TRUE(repository.contains(rule)) << rule;
}

TEST(EditorGrammars, VimSyntaxListsTheLoaderCommands) {
    std::istringstream lines(ReadText(LUMIDOR_SOURCE_DIR "/tools/editors/vim/syntax/psc.vim"));
    std::set<std::string> commands;
    int lineCount = 0;
    for (std::string line; std::getline(lines, line); ++lineCount) {
        std::istringstream words(line);
        std::string syntax, keyword, group;
        words >> syntax >> keyword >> group;
        if (syntax != "syntax" || keyword != "keyword" || group != "pscCommand") continue;
        for (std::string word; words >> word;)
            commands.insert(word);
    }
    ASSERT_GT(lineCount, 0);
    EXPECT_EQ(commands, LoaderCommands());
    EXPECT_NE(ReadText(LUMIDOR_SOURCE_DIR "/tools/editors/vim/ftdetect/psc.vim").find("*.psc"),
              std::string::npos);
}
