// Editor diagnostics: the raw column of each offending command (several commands on a line, tabs,
// quotes, comments, CR-only line ends), the did-you-mean suggestion and the gcc line format, with
// the log itself left byte for byte as it was.

#include "script/particle_script.h"
#include "script/script_diagnostics.h"
#include "script/script_scanner.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

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

TEST(SuggestKeyword, ClosestKeywordWithinASmallEdit) {
    EXPECT_EQ(SuggestKeyword("texturproperties"), "textureproperties");
    EXPECT_EQ(SuggestKeyword("continuous"), "continiuous");
    EXPECT_EQ(SuggestKeyword("Colour"), "color");
    EXPECT_EQ(SuggestKeyword("lifelenght"), "lifelength"); // swapped neighbours: one edit
    EXPECT_EQ(SuggestKeyword("mass1"), "mass");
    EXPECT_EQ(SuggestKeyword("foo"), "");
    EXPECT_EQ(SuggestKeyword("ab"), "");   // too short for any keyword to be a small edit away
    EXPECT_EQ(SuggestKeyword("mass"), ""); // a keyword is not misspelt
    EXPECT_EQ(SuggestKeyword(""), "");
    EXPECT_EQ(SuggestKeyword(std::string(5000, 'x')), "");
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
    EXPECT_NE(gcc.find("\ncr.psc: error: TextureProperties was not called for particle type 0."),
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
