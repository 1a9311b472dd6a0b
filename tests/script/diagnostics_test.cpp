// Editor diagnostics: the raw column of each offending command (several commands on a line, tabs,
// quotes, comments, CR-only line ends), the did-you-mean suggestion and the gcc line format, with
// the log itself left byte for byte as it was.

#include "script/particle_script.h"
#include "script/script_columns.h"
#include "script/script_diagnostics.h"
#include "script/script_scanner.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace lumidor;
using lumidor::test::ScriptFixture;

namespace {

/// Line:column of every problem that has a line, in log order.
std::vector<std::string> Places(const TScriptLoadReport& report) {
    std::vector<std::string> places;
    for (const TScriptDiagnostic& d : report.Diagnostics) {
        if (d.Line >= 0) places.push_back(std::to_string(d.Line + 1) + ":" + std::to_string(d.Column));
    }
    return places;
}

/// The full edit-distance table (swaps of neighbours count one), for checking the loader's bounded one.
std::size_t FullEditDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

/// SuggestKeyword's rule with the full table: the first keyword of least distance, when that is at
/// most 2 and at most a third of the longer word; nothing for a keyword or a name over 20 letters.
std::string ReferenceSuggestion(const std::string& name) {
    if (name.empty() || name.size() > 20) return {};
    std::string best;
    std::size_t bestDistance = 3;
    for (const TScriptKeywordRow& row : ScriptKeywords) {
        for (std::string_view keyword : row) {
            if (keyword.empty()) continue;
            const std::size_t distance = FullEditDistance(name, std::string(keyword));
            if (distance == 0) return {};
            if (distance < bestDistance && distance * 3 <= std::max(name.size(), keyword.size())) {
                bestDistance = distance;
                best = keyword;
            }
        }
    }
    return best;
}

/// RawColumns the slow way: NormalizeLine's edits replayed step by step on the line and on the raw
/// index of each of its characters, then the earliest raw index from each offset on.
std::vector<std::int32_t> ReplayedColumns(const std::string& raw) {
    std::string line = raw;
    std::vector<std::size_t> origins(raw.size());
    for (std::size_t i = 0; i < origins.size(); ++i)
        origins[i] = i;
    const auto at = [](std::size_t i) { return std::ptrdiff_t(i); };
    std::vector<std::size_t> quotedOrigins;
    const std::size_t first = line.find('\'');
    if (first != std::string::npos) {
        const std::size_t quoteOrigin = origins[first];
        line.erase(first, 1);
        origins.erase(origins.begin() + at(first));
        const std::size_t closing = line.find('\'');
        if (closing != std::string::npos) {
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
    std::vector<std::size_t> kept;
    std::string keptLine;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == ' ' || line[i] == '\t') continue;
        keptLine += line[i];
        kept.push_back(origins[i]);
    }
    const std::size_t quote = keptLine.find('\'');
    if (quote != std::string::npos)
        kept.insert(kept.begin() + at(quote + 1), quotedOrigins.begin(), quotedOrigins.end());
    std::vector<std::int32_t> columns(kept.size() + 1, std::int32_t(raw.size()) + 1);
    for (std::size_t i = kept.size(); i-- > 0;)
        columns[i] = std::min(columns[i + 1], std::int32_t(kept[i]) + 1);
    return columns;
}

} // namespace

TEST(RawColumn, FollowsWhitespaceQuotesAndMovedQuote) {
    // Offsets into the normalised line map back to where the character stood in the raw line.
    EXPECT_EQ(RawColumn("  mass(1);", 0), 3);
    EXPECT_EQ(RawColumn("mass( 1 ) ; \tsize(1,2)", 8), 14); // "mass(1);size(1,2)": 's' of size
    EXPECT_EQ(RawColumn("\t\tfoo();", 0), 3);               // a tab is one column
    // The first quoted section keeps its blanks, so offsets after it shift by them.
    EXPECT_EQ(RawColumn("loadtexture( 'a b.tga' ); mass(1);", 23), 27);
    // A single quote goes to the front of the normalised line; the command still starts at 'l'.
    EXPECT_EQ(RawColumn("  loadtexture(abc.bmp');", 0), 3);
    EXPECT_EQ(RawColumn("ab", 5), 3); // past the end: the column after the line
    EXPECT_EQ(RawColumn("", 0), 1);
}

TEST(RawColumn, AgreesWithNormalizeLineOnAwkwardLines) {
    // The replay must keep exactly the characters NormalizeLine keeps, in its order.
    const std::vector<std::string> lines = {"a 'b c' d 'e f' g",
                                            "x'y z",
                                            "' '  '",
                                            "''",
                                            "\t'\t'\t",
                                            "mass ( 1 ) ; size ( 1 , 2 ) ;",
                                            "loadtexture ( 'my file.bmp' ) ;",
                                            "'",
                                            "a  b\t c'"};
    for (const std::string& raw : lines) {
        std::string normalized = raw;
        NormalizeLine(normalized);
        for (std::size_t offset = 0; offset < normalized.size(); ++offset) {
            const std::int32_t column = RawColumn(raw, offset);
            ASSERT_GE(column, 1) << raw;
            ASSERT_LE(std::size_t(column), raw.size()) << raw;
            // Every non-quote character comes from a raw character equal to it.
            if (normalized[offset] != '\'') {
                EXPECT_EQ(raw[std::size_t(column) - 1], normalized[offset]) << raw << " @" << offset;
            }
        }
    }
}

TEST(RawColumn, AgreesWithAStepByStepReplayOnRandomLines) {
    // Lines of blanks, quotes and a few other characters (fixed seed): no, one, two or more quotes,
    // blanks inside and outside the quoted section, at the ends too.
    std::mt19937 random(5);
    const std::string pieces = "  \t\t''ab(;";
    for (int n = 0; n < 3000; ++n) {
        std::string raw;
        const std::size_t length = random() % 14;
        for (std::size_t i = 0; i < length; ++i)
            raw += pieces[random() % pieces.size()];
        std::string normalized = raw;
        NormalizeLine(normalized);
        const std::vector<std::int32_t> columns = RawColumns(raw);
        ASSERT_EQ(columns.size(), normalized.size() + 1) << '"' << raw << '"';
        ASSERT_EQ(columns, ReplayedColumns(raw)) << '"' << raw << '"';
        // The loader's walk asked one offset at a time, in any order and past the end too.
        script_detail::TRawColumnWalk walk(raw);
        for (int ask = 0; ask < 6; ++ask) {
            const std::size_t offset = random() % (columns.size() + 2);
            ASSERT_EQ(walk.Column(offset), columns[std::min(offset, columns.size() - 1)])
                << '"' << raw << "\" at " << offset;
        }
    }
}

TEST(SuggestKeyword, ClosestKeywordWithinASmallEdit) {
    EXPECT_EQ(SuggestKeyword("texturproperties"), "textureproperties");
    EXPECT_EQ(SuggestKeyword("continuous"), "continiuous");
    EXPECT_EQ(SuggestKeyword("Colour"), "color");
    EXPECT_EQ(SuggestKeyword("lifelenght"), "lifelength"); // swapped neighbours: one edit
    EXPECT_EQ(SuggestKeyword("mass1"), "mass");
    EXPECT_EQ(SuggestKeyword("positon"), "position"); // one edit beats mposition's two
    EXPECT_EQ(SuggestKeyword("mpositio"), "mposition");
    EXPECT_EQ(SuggestKeyword("setnewparticletypes"), "setnewparticletype");
    EXPECT_EQ(SuggestKeyword("stenewparticletyp"), "setnewparticletype"); // a swap and a deletion
    EXPECT_EQ(SuggestKeyword("foo"), "");
    EXPECT_EQ(SuggestKeyword("ab"), "");   // too short for any keyword to be a small edit away
    EXPECT_EQ(SuggestKeyword("mass"), ""); // a keyword is not misspelt
    EXPECT_EQ(SuggestKeyword(""), "");
    EXPECT_EQ(SuggestKeyword(std::string(5000, 'x')), "");
}

TEST(SuggestKeyword, AgreesWithTheFullTableOnEditedKeywords) {
    // Every keyword with up to four random edits (fixed seed), some bringing in digits, punctuation
    // or bytes above 127: the pruned, bounded search must pick what the full table picks.
    std::mt19937 random(11);
    const auto pick = [&random](std::size_t n) { return std::size_t(random() % n); };
    const std::string letters = "abcdefghijklmnopqrstuvwxyz09_(;\xE9";
    int suggested = 0;
    for (const TScriptKeywordRow& row : ScriptKeywords) {
        for (std::string_view keyword : row) {
            if (keyword.empty()) continue;
            for (int trial = 0; trial < 200; ++trial) {
                std::string name(keyword);
                const int edits = trial % 5;
                for (int e = 0; e < edits && !name.empty(); ++e) {
                    const std::size_t at = pick(name.size());
                    switch (pick(4)) {
                    case 0:
                        name.erase(at, 1);
                        break;
                    case 1:
                        name.insert(at, 1, letters[pick(letters.size())]);
                        break;
                    case 2:
                        name[at] = letters[pick(letters.size())];
                        break;
                    default:
                        if (at + 1 < name.size()) std::swap(name[at], name[at + 1]);
                    }
                }
                ASSERT_EQ(SuggestKeyword(name), ReferenceSuggestion(name)) << name;
                suggested += !SuggestKeyword(name).empty();
            }
        }
    }
    EXPECT_GT(suggested, 1000); // most names stay close enough to have a suggestion
}

using Diagnostics = ScriptFixture;

TEST_F(Diagnostics, ColumnsOfSeveralCommandsTabsAndComments) {
    TParticleScript script;
    const TScriptLoadReport report = LoadWithReport(script,
                                                    "// header comment with a ) in it\n"
                                                    "setnewparticletype();\tmass(x);  foo(1);\n"
                                                    "   // indented comment\n"
                                                    "\tsize(1,2) ;lifelength(1);\n"
                                                    "color(1,1,1);//ok\n"
                                                    "loadtexture( 'a b.tga' );  texture(q);\n"
                                                    "mass(1);size(3,4)\n",
                                                    "d.psc");
    // mass(x) at 23, foo at 33; lifelength (wrong count) at 13 after the tab; the missing texture
    // file and texture(q) on line 6; the missing semicolon at the start of the size command.
    EXPECT_EQ(Places(report), (std::vector<std::string>{"2:23", "2:33", "4:13", "6:1", "6:28", "7:9"}));
    ASSERT_GE(report.Diagnostics.size(), 6u);
    EXPECT_EQ(report.Diagnostics[0].Message, "\"x\" is not a valid floating point value.");
    EXPECT_EQ(report.Diagnostics[1].Message, "Unknown Command: \"foo(1);\" - skipping rest of the line.");
    EXPECT_EQ(report.Diagnostics[5].Message, "Missing semicolon - skipping rest of the line.");
    // One diagnostic per counted error, end checks included, and none changes the log.
    EXPECT_EQ(std::int32_t(report.Diagnostics.size()), report.ErrorCount);
    const TScriptDiagnostic& noTexture = report.Diagnostics[report.Diagnostics.size() - 2];
    EXPECT_EQ(noTexture.Line, -1);
    EXPECT_EQ(noTexture.Column, 0);
    EXPECT_EQ(noTexture.Message,
              "No texture loaded. TextureProperties commands will be skipped. Executing the "
              "script may cause an acces violation");
    EXPECT_NE(
        script.DebugLog.find("Error (Line 1): \"x\" is not a valid floating point value.\r"
                             "Error (Line 1): Unknown Command: \"foo(1);\" - skipping rest of the line.\r"),
        std::string::npos);
}

TEST_F(Diagnostics, CrOnlyLineEndsAndTheSuggestion) {
    TParticleScript script;
    const TScriptLoadReport report =
        LoadWithReport(script,
                       "loadtexture('tex.tga');\rsetnewparticletype();\r  texturproperties(1,1);\r"
                       "\r\t mass(1) mass(2);\r",
                       "cr.psc");
    EXPECT_EQ(Places(report), (std::vector<std::string>{"3:3", "5:3"}));
    ASSERT_GE(report.Diagnostics.size(), 2u);
    EXPECT_EQ(report.Diagnostics[0].Suggestion, "textureproperties");
    EXPECT_EQ(report.Diagnostics[1].Suggestion, "");
    const std::string gcc = FormatGccDiagnostics("cr.psc", report);
    EXPECT_EQ(gcc.substr(0, gcc.find('\n') + 1),
              "cr.psc:3:3: error: Unknown Command: \"texturproperties(1,1);\" - skipping rest of the line. "
              "(did you mean 'textureproperties'?)\n");
    EXPECT_NE(gcc.find("cr.psc:5:3: error: Missing semicolon - skipping rest of the line.\n"),
              std::string::npos);
    EXPECT_NE(
        gcc.find("\ncr.psc: error: particle type 0 (setnewparticletype on line 2) has no texture tiles"),
        std::string::npos);
}

TEST_F(Diagnostics, MissingFileAndCleanScript) {
    TParticleScript missing;
    const TScriptLoadReport gone = LoadScriptWithReport(missing, "none.psc");
    EXPECT_EQ(FormatGccDiagnostics("none.psc", gone), "none.psc: error: File not Found: \"none.psc\"\n");

    TParticleScript clean;
    const TScriptLoadReport report = LoadWithReport(
        clean, "loadtexture('tex.tga');setnewparticletype();textureproperties(1,1);\n", "ok.psc");
    EXPECT_EQ(report.ErrorCount, 0);
    EXPECT_EQ(FormatGccDiagnostics("ok.psc", report), "");
    EXPECT_EQ(report.TextureFiles, std::vector<std::string>{"tex.tga"});
}

TEST_F(Diagnostics, TextureRootJoinsRelativeNamesAndLeavesTheLogAsItIs) {
    std::filesystem::create_directories("root/pics");
    lumidor::test::WriteTga("root/pics/tex.tga", 8, 8);
    lumidor::test::WriteFile("root/broken.tga", std::string(18, '\0'));
    const std::string script = "loadtexture('pics/tex.tga');\n"
                               "loadtexture('pics\\tex.tga');\n" // the loader reads "\" as "/"
                               "loadtexture('none.tga');\n"
                               "loadtexture('broken.tga');\n"
                               "loadtexture('" +
                               (std::filesystem::current_path() / "root/pics/tex.tga").string() + "');\n";
    lumidor::test::WriteFile("s.psc", script);

    TParticleScript rooted;
    const TScriptLoadReport report = LoadScriptWithReport(rooted, "s.psc", "s.psc", "root");
    EXPECT_EQ(report.TextureFiles,
              (std::vector<std::string>{"root/pics/tex.tga", "root/pics\\tex.tga", "root/none.tga",
                                        "root/broken.tga",
                                        (std::filesystem::current_path() / "root/pics/tex.tga").string()}));
    EXPECT_TRUE(report.TextureLoaded);
    const std::string root = (std::filesystem::current_path() / "root").string();
    ASSERT_EQ(Places(report), (std::vector<std::string>{"3:1", "4:1"}));
    EXPECT_EQ(report.Diagnostics[0].Message,
              "File not found: \"none.tga\" - skipping command. (looked for in \"" + root + "\")");
    EXPECT_EQ(report.Diagnostics[1].Message, "File not found: \"broken.tga\" - skipping command. (\"" + root +
                                                 "/broken.tga\" could not be read as a texture)");

    // The log is the one a load from inside the root writes: the root shows nowhere in it.
    lumidor::test::WriteFile("root/s.psc", script);
    std::filesystem::current_path("root");
    TParticleScript inside;
    const TScriptLoadReport fromInside = LoadScriptWithReport(inside, "s.psc");
    std::filesystem::current_path("..");
    EXPECT_EQ(rooted.DebugLog, inside.DebugLog);
    EXPECT_EQ(report.ErrorCount, fromInside.ErrorCount);
    EXPECT_EQ(rooted.DebugLog.find(root), std::string::npos);

    // Without a root the names are read from the working directory, as always.
    TParticleScript plain;
    const TScriptLoadReport unrooted = LoadScriptWithReport(plain, "s.psc");
    EXPECT_EQ(unrooted.TextureFiles.front(), "pics/tex.tga");
    EXPECT_FALSE(unrooted.Diagnostics.empty());
    EXPECT_EQ(unrooted.Diagnostics[0].Message,
              "File not found: \"pics/tex.tga\" - skipping command. (looked for in \"" +
                  (std::filesystem::current_path() / "pics").string() + "\")");
}
