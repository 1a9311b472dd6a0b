// Writes the loader's command names as an ES module for the playground's editor mode: the one
// keyword table (script/script_scanner.cpp) read at build time, as the grammars and the fuzzers'
// dictionary are checked against it, so the editor never lists a command the loader does not know.
//   psc_keywords OUTPUT.js

#include "script/script_scanner.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: psc_keywords OUTPUT.js\n");
        return 2;
    }
    std::vector<std::string> names;
    for (const auto& row : lumidor::ScriptKeywords)
        for (const std::string_view keyword : row)
            if (!keyword.empty()) names.emplace_back(keyword);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    std::string text = "// Generated from the loader's keyword table by web/psc_keywords.cpp.\n"
                       "export const PscKeywords = [\n";
    for (const std::string& name : names)
        text += "    '" + name + "',\n";
    text += "];\n";
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size() || std::fclose(file) != 0) {
        std::fprintf(stderr, "psc_keywords: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
