// The plain words of the gcc lines: one row per kind of problem with the script, the exact gcc
// output, and the debugger log of the same load, which keeps its own words byte for byte.

#include "script/live_script.h"
#include "script/particle_script.h"
#include "script/script_diagnostics.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace lumidor;
using lumidor::test::ScriptFixture;

namespace {

const std::string Header =
    "Lumidor ScriptDebugger log\rLumidor version: 2005.08.09\rDebugger version: 2.1\rFile: \"t.psc\"\r\r";
/// A texture and a type with tiles, so that only the row's own problem is reported.
const std::string Prelude = "loadtexture('tex.tga');setnewparticletype();textureproperties(1,1);\n";

struct TPlainRow {
    const char* Kind;
    std::string Script;
    std::string Gcc; ///< FormatGccDiagnostics of the load
    std::string Log; ///< the log after its header: the words it always had
};

/// The log of a load with one problem line and no end-check problem.
std::string OneProblemLog(const std::string& line) {
    return line + "\r\r\r1 error(s) detected.";
}

} // namespace

using PlainWords = ScriptFixture;

TEST_F(PlainWords, GccLinesSayTheProblemAndTheLogKeepsItsWords) {
    const std::string noTexture =
        "Critical Error: No texture loaded. TextureProperties commands will be skipped. Executing the script "
        "may cause an acces violation\r";
    const std::string noTiles =
        "Critical Error: TextureProperties was not called for particle type 0. Executing "
        "the script may cause an acces violation\r";
    const std::string tilesPlain =
        "has no texture tiles: its textureproperties(ROWS,COLUMNS); is missing or was "
        "refused, so its particles are drawn as plain squares\n";
    const std::string here = std::filesystem::current_path().string();
    lumidor::test::WriteFile("bad.tga", "not a picture");
    lumidor::test::WriteFile("pic.png", "not a picture");
    const TPlainRow rows[] = {
        {"boolean", Prelude + "continiuous(yes);\n",
         "t.psc:2:1: error: \"yes\" is not a boolean: write true or false (any letter case), or a whole "
         "number "
         "(0 is false)\n",
         OneProblemLog("Error (Line 1): \"yes\" is not a valid LDBooleanValue value.")},
        {"long text", Prelude + "continiuous(" + std::string(70, 'y') + ");\n",
         "t.psc:2:1: error: \"" + std::string(60, 'y') +
             "...\" is not a boolean: write true or false (any letter case), or a whole number (0 is "
             "false)\n",
         OneProblemLog("Error (Line 1): \"" + std::string(70, 'y') +
                       "\" is not a valid LDBooleanValue value.")},
        {"double quotes", Prelude + "loadtexture( \"textures/my lumina.tga\" );\n",
         "t.psc:2:1: error: file names are written in single quotes: 'textures/my lumina.tga'\n",
         OneProblemLog("Error (Line 1): Given parameter is not a valid string.")},
        {"no quotes", Prelude + "mass(1);loadtexture(fire.bmp);\n",
         "t.psc:2:9: error: file names are written in single quotes: 'fire.bmp'\n",
         OneProblemLog("Error (Line 1): Given parameter is not a valid string.")},
        {"';' in the name", Prelude + "loadtexture('a;b.tga');\n",
         "t.psc:2:1: error: a file name is written between two single quotes and holds no ';' and no quote, "
         "as "
         "in loadtexture('textures/lumina.tga');\n",
         OneProblemLog("Error (Line 1): Given parameter is not a valid string.")},
        {"values", Prelude + "color(1,0);\n", "t.psc:2:1: error: 'color' takes 3 values, got 2\n",
         OneProblemLog("Error (Line 1): Wrong parameter count.")},
        {"grouped values", Prelude + "velocity([1,2],[3,4]);\n",
         "t.psc:2:1: error: 'velocity' takes 6 values ([spread,base] for x, y and z), got 4\n",
         OneProblemLog("Error (Line 1): Wrong parameter count.")},
        {"decimal comma", Prelude + "mass(1,5);\n",
         "t.psc:2:1: error: 'mass' takes 1 value, got 2 (decimals are written with '.', as in 1.5)\n",
         OneProblemLog("Error (Line 1): Wrong parameter count.")},
        {"empty", Prelude + "size();\n", "t.psc:2:1: error: 'size' takes 2 values, got none\n",
         OneProblemLog("Error (Line 1): Wrong parameter count.")},
        {"two counts", Prelude + "burst(1,2,3);\n", "t.psc:2:1: error: 'burst' takes 2 or 4 values, got 3\n",
         OneProblemLog("Error (Line 1): Wrong parameter count.")},
        {"missing ')'", Prelude + "size(1.0;\n", "t.psc:2:1: error: missing ')' at the end of 'size(1.0'\n",
         OneProblemLog("Error (Line 1): Wrong parameter count.")},
        {"missing ');'", Prelude + "size(1.0\n", "t.psc:2:1: error: missing ');' at the end of 'size(1.0'\n",
         OneProblemLog("Error (Line 1): Wrong parameter count.")},
        {"';' between values", Prelude + "size(1;2);\n",
         "t.psc:2:1: error: ';' inside the parentheses of 'size(1;2)': the command ends at its first ';', "
         "and "
         "values are separated by ','\n",
         OneProblemLog("Error (Line 1): Wrong parameter count.")},
        {"unreadable texture", Prelude + "loadtexture('bad.tga');\n",
         "t.psc:2:1: error: 'bad.tga' could not be read as a texture (\"" + here +
             "/bad.tga\"): Couldn't read file \"bad.tga\".\n",
         OneProblemLog("Error (Line 1): File not found: \"bad.tga\" - skipping command.")},
        {"no kind of texture", Prelude + "loadtexture('pic.png');\n",
         "t.psc:2:1: error: 'pic.png' could not be read as a texture (\"" + here +
             "/pic.png\"): textures are .bmp (24-bit), .jpg or .tga (24 or 32-bit) files\n",
         OneProblemLog("Error (Line 1): File not found: \"pic.png\" - skipping command.")},
        {"no texture", "setnewparticletype();\n",
         "t.psc: error: the script loads no texture: add loadtexture('FILE.tga'); before the first "
         "textureproperties, or the particles are drawn as plain squares\n"
         "t.psc: error: particle type 0 (setnewparticletype on line 1) " +
             tilesPlain,
         "\r" + noTexture + noTiles + "\r2 error(s) detected."},
        {"texture failed", "\nloadtexture('none.tga');setnewparticletype();\n",
         "t.psc:2:1: error: File not found: \"none.tga\" - skipping command. (looked for in \"" + here +
             "\")\n"
             "t.psc: error: no texture was loaded (the loadtexture on line 2 failed): every "
             "textureproperties is "
             "skipped and the particles are drawn as plain squares\n"
             "t.psc: error: particle type 0 (setnewparticletype on line 2) " +
             tilesPlain,
         "Error (Line 1): File not found: \"none.tga\" - skipping command.\r\r" + noTexture + noTiles +
             "\r3 error(s) detected."},
        {"no tiles", "loadtexture('tex.tga');\n\nsetnewparticletype();textureproperties(0,1);\n",
         "t.psc:3:22: error: Parameters of TextureProperties mustn't be 0 - skipping command.\n"
         "t.psc: error: particle type 0 (setnewparticletype on line 3) " +
             tilesPlain,
         "Error (Line 2): Parameters of TextureProperties mustn't be 0 - skipping command.\r\r" + noTiles +
             "\r2 error(s) detected."},
        {"nothing", "",
         "t.psc: error: the script loads no texture and sets up no particle type, so it shows nothing: write "
         "loadtexture('FILE.tga'); and setnewparticletype();\n",
         "\r" + noTexture + "\r1 error(s) detected."},
    };
    for (const TPlainRow& row : rows) {
        TParticleScript script;
        const TScriptLoadReport report = LoadWithReport(script, row.Script);
        EXPECT_EQ(FormatGccDiagnostics("t.psc", report), row.Gcc) << row.Kind;
        EXPECT_EQ(script.DebugLog, Header + row.Log) << row.Kind;
        // Beside the plain words, Message keeps the log's (a texture's adds why after them); one
        // diagnostic per counted error.
        int plain = 0;
        for (const TScriptDiagnostic& diagnostic : report.Diagnostics) {
            if (diagnostic.Plain.empty()) continue;
            ++plain;
            EXPECT_NE(row.Log.find(diagnostic.Message.substr(0, diagnostic.Message.find(" ("))),
                      std::string::npos)
                << row.Kind;
        }
        EXPECT_GE(plain, 1) << row.Kind;
        EXPECT_EQ(std::int32_t(report.Diagnostics.size()), report.ErrorCount) << row.Kind;
    }
}

TEST(PlainWordsFormat, PlainReplacesMessageAndTheSuggestionStays) {
    const struct {
        TScriptDiagnostic Diagnostic;
        std::string Gcc;
    } rows[] = {
        {{1, 3, "Old words.", "", "plain words"}, "f.psc:2:3: error: plain words"},
        {{1, 3, "Old words.", "", ""}, "f.psc:2:3: error: Old words."},
        {{-1, 0, "Old words.", "size", "plain words"}, "f.psc: error: plain words (did you mean 'size'?)"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FormatGccDiagnostic("f.psc", row.Diagnostic), row.Gcc);
}

TEST_F(PlainWords, TheProblemsOfALiveScriptSayThemToo) {
    lumidor::test::WriteFile("live.psc", Prelude + "color(1,0);\n");
    TLiveScript live;
    TParticleScript running;
    StartLiveScript(live, running, "live.psc", 0.0);
    EXPECT_EQ(LiveScriptProblems(live), "live.psc:2:1: error: 'color' takes 3 values, got 2\n");
    EXPECT_NE(live.Log.find("Error (Line 1): Wrong parameter count.\r"), std::string::npos);
}
