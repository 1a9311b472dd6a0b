// Warnings of a load: each rule at the line and column of the command it names, none for a clean
// type or for a setting an error already refused, the debugger log and the error count untouched, and
// the gcc lines of errors and warnings merged in line order.

#include "script/particle_script.h"
#include "script/script_diagnostics.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <string>

using namespace lumidor;
using lumidor::test::ScriptFixture;

namespace {

/// A type that draws: lines 1 to 5 of every table script.
const std::string Clean = "continiuous(true);\n"
                          "loadtexture('tex.tga');\n"
                          "setnewparticletype();\n"
                          "textureproperties(2,4);\n"
                          "particlecount(10); lifelength(1,1); size(1,1); color(1,1,1); mass(1);\n";

/// Every gcc line of the load's warnings.
std::string WarningLines(const TScriptLoadReport& report) {
    std::string out;
    for (const TScriptDiagnostic& warning : report.Warnings)
        out += FormatGccWarning("t.psc", warning) + "\n";
    return out;
}

struct TWarningCase {
    const char* Name;
    std::string Script;
    std::string Expected; ///< the gcc lines of the warnings
    int Errors = 0;       ///< errors of the load (their log lines are checked elsewhere)
};

} // namespace

class ScriptWarnings : public ScriptFixture {};

TEST_F(ScriptWarnings, EachRuleAtTheCommandItNames) {
    const std::string additiveBlack =
        "Particle type 0 has no color and no colorkey, so its particles are black, "
        "and black adds nothing under its additive blending: the type is invisible "
        "- give it a color(red, green, blue) or colour keys.\n";
    const TWarningCase cases[] = {
        {"clean", Clean, ""},
        {"tile past the atlas", Clean + "texture(8);\n",
         "t.psc:6:1: warning: texture(8) is outside the atlas of particle type 0 (tiles 0 to 7, as its "
         "textureproperties cut the texture): tile 7 is drawn instead - use a tile from 0 to 7.\n"},
        {"negative tile after a tab", Clean + "  mass(1);\ttexture(-1);\n",
         "t.psc:6:12: warning: texture(-1) is outside the atlas of particle type 0 (tiles 0 to 7, as its "
         "textureproperties cut the texture): tile 0 is drawn instead - use a tile from 0 to 7.\n"},
        {"tile inside the atlas", Clean + "texture(7);\n", ""},
        {"flipbook past the atlas is an error only", Clean + "flipbook(0,9,1);\n", "", 1},
        {"no colour, additive",
         "loadtexture('tex.tga');\n\nsetnewparticletype();\ntextureproperties(1,1);\n"
         "particlecount(1); lifelength(0,1); size(1,1);\n",
         "t.psc:3:1: warning: " + additiveBlack},
        {"no colour, see-through",
         "loadtexture('tex.tga');\nsetnewparticletype();textureproperties(1,1);blendfactor(770,771);\n"
         "particlecount(1); lifelength(0,1); size(1,1);\n",
         "t.psc:2:1: warning: Particle type 0 has no color and no colorkey, so its particles are drawn "
         "black - give it a color(red, green, blue) or colour keys.\n"},
        {"colour keys instead of a colour",
         "loadtexture('tex.tga');\nsetnewparticletype();textureproperties(1,1);colorkey(0,1,0,0);\n"
         "particlecount(1); lifelength(0,1); size(1,1);\n",
         ""},
        {"no atlas",
         "loadtexture('tex.tga');\n   setnewparticletype();\ncolor(1,1,1);\n"
         "particlecount(1); lifelength(0,1); size(1,1);\n",
         "t.psc:2:4: warning: Particle type 0 has no texture atlas (no textureproperties after a "
         "loadtexture): its particles are drawn as plain squares of their colour, without a picture - add "
         "textureproperties(rows, columns) after its setnewparticletype.\n",
         1},
        {"refused atlas is an error only",
         "loadtexture('tex.tga');\nsetnewparticletype();\ntextureproperties(0,4);color(1,1,1);\n"
         "particlecount(1); lifelength(0,1); size(1,1);\n",
         "", 2},
        {"count of none", Clean + "particlecount(0.5);\n",
         "t.psc:6:1: warning: particlecount(0.5) creates no particle (a count is a whole number, and below "
         "1 is none), and nothing else creates any (no burst or rate, and no ondeath or onbounce of a type "
         "that gets particles), so particle type 0 never shows - give it a particlecount of 1 or more.\n"},
        {"count of none fed by a burst", Clean + "particlecount(0); burst(0,5);\n", ""},
        {"bad count is an error only", Clean + "particlecount(none);\n", "", 1},
        {"life of nothing", Clean + "lifelength(0,-1);\n",
         "t.psc:6:1: warning: lifelength(0, -1) gives particle type 0 lives of 0 s or less: every particle "
         "dies in its first frame, before it is drawn - give a fixed part (the second value) above 0.\n"},
        {"life of nothing that spawns on death", Clean + "lifelength(0,0); ondeath(0,1);\n", ""},
        {"no lifelength",
         "loadtexture('tex.tga');\nsetnewparticletype();textureproperties(1,1);color(1,1,1);\n"
         "particlecount(1); size(1,1);\n",
         "t.psc:2:1: warning: Particle type 0 has no lifelength, so its particles live 0 s: every particle "
         "dies in its first frame, before it is drawn - give it a lifelength(random part, fixed part) in "
         "seconds.\n"},
        {"flat size", Clean + "size(0,1);\n",
         "t.psc:6:1: warning: size(0, 1) is 0 on a side that enlargement does not grow: the particles of "
         "type 0 have no area and are never seen - give both sizes above 0.\n"},
        {"size grown from nothing", Clean + "size(0,0); enlargement(1,1);\n", ""},
        {"mirrored size", Clean + "size(-1,1);\n",
         "t.psc:6:1: warning: size(-1, 1) is below 0: the particles of type 0 are drawn mirrored, as large "
         "as without the sign - write sizes without a sign.\n"},
        {"no size",
         "loadtexture('tex.tga');\nsetnewparticletype();textureproperties(1,1);color(1,1,1);\n"
         "particlecount(1); lifelength(0,1);\n",
         "t.psc:2:1: warning: Particle type 0 has no size, randomsize or sizekey, so its particles have "
         "size 0 and are never seen - give it a size(width, height).\n"},
        {"random size of nothing", Clean + "randomsize(-2,-1);\n",
         "t.psc:6:1: warning: randomsize(-2, -1) gives particle type 0 sizes of 0 or below: a particle of "
         "size 0 is never seen and one below 0 is drawn mirrored - give sizes above 0.\n"},
        {"weightless", Clean + "mass(0);\n",
         "t.psc:6:1: warning: mass(0) leaves particle type 0 weightless: its start velocity is not divided "
         "by a mass (as with mass 1) and wind and magnet points push it at full strength - give a mass above "
         "0 (1 is usual).\n"},
        {"negative mass", Clean + "mass(-2);\n",
         "t.psc:6:1: warning: mass(-2) is taken as mass(2): the sign is dropped - write the mass without a "
         "sign.\n"},
        {"strong braking is allowed", Clean + "airresistance(2.5);\n", ""},
        {"air that turns particles round", Clean + "airresistance(20);\n",
         "t.psc:6:1: warning: airresistance(20) takes 20 x the frame time off the speed in every frame, so "
         "at fewer than 20 frames a second the particles of type 0 turn round and fly backwards - keep it at "
         "10 or below.\n"},
        {"air that speeds up", Clean + "airresistance(-1);\n",
         "t.psc:6:1: warning: airresistance(-1) is below 0: it speeds the particles of type 0 up in every "
         "frame instead of braking them - give 0 or more.\n"},
        {"unknown destination factor", Clean + "blendfactor(770,5);\n",
         "t.psc:6:1: warning: blendfactor(770, 5): 5 is not a destination factor of OpenGL, so OpenGL "
         "refuses it and particle type 0 is drawn with whatever blending was set before it - use GL blend "
         "factors such as 770, 1 (additive light) or 770, 771 (see-through).\n"},
        {"saturate only as the source", Clean + "blendfactor(776,1); blendfactor(1,776);\n",
         "t.psc:6:21: warning: blendfactor(1, 776): 776 is not a destination factor of OpenGL, so OpenGL "
         "refuses it and particle type 0 is drawn with whatever blending was set before it - use GL blend "
         "factors such as 770, 1 (additive light) or 770, 771 (see-through).\n"},
        {"bad blend value is an error only", Clean + "blendfactor(x,5);\n", "", 1},
        {"negative radius", Clean + "setnewmagnetpoint(); radius(-1);\n",
         "t.psc:6:22: warning: radius(-1) is below 0: no particle is ever within it, so this magnet point "
         "pulls and pushes nothing - give a radius above 0.\n"},
        {"a type that doubles on death", Clean + "ondeath(0,2);\n",
         "t.psc:6:1: warning: Particle type 0 creates 2 particles of its own type for each one that dies "
         "(ondeath), so every generation is larger than the last and the chain always ends at the script's "
         "limits (100000 new particles a frame, 1000000 in all), where further particles are dropped - "
         "create 1 particle per death, or end the chain with a type that creates none.\n"},
        {"a type that replaces itself", Clean + "ondeath(0,1);\n", ""},
        {"two types that feed each other",
         Clean + "ondeath(1,1);\n" + "setnewparticletype();\n" +
             "textureproperties(2,4);color(1,1,1);lifelength(1,1);size(1,1);\n"
             "ondeath(0,1); ondeath(1,1);\n",
         "t.psc:6:1: warning: Particle types 0 and 1 create each other when they die (ondeath), more "
         "particles than died, so every generation is larger than the last and the chain always ends at the "
         "script's limits (100000 new particles a frame, 1000000 in all), where further particles are "
         "dropped - create 1 particle per death, or end the chain with a type that creates none.\n"},
        {"a growing chain nothing feeds",
         "loadtexture('tex.tga');\nsetnewparticletype();\n"
         "textureproperties(1,1);color(1,1,1);lifelength(1,1);size(1,1);\n"
         "burst(0,1);setnewparticletype();textureproperties(1,1);"
         "color(1,1,1);lifelength(1,1);size(1,1);ondeath(1,3);\n",
         "t.psc:4:12: warning: Particle type 1 has no particlecount, and nothing else creates any (no burst "
         "or rate, and no ondeath or onbounce of a type that gets particles), so particle type 1 never shows "
         "- give it a particlecount of 1 or more.\n"},
    };
    for (const TWarningCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TParticleScript script;
        const TScriptLoadReport report = LoadWithReport(script, c.Script);
        EXPECT_EQ(report.ErrorCount, c.Errors);
        EXPECT_EQ(WarningLines(report), c.Expected);
        // The log holds no warning: a load without errors ends with the header and one CR.
        if (c.Errors == 0) {
            EXPECT_TRUE(script.DebugLog.ends_with("File: \"t.psc\"\r\r\r"));
        }
        EXPECT_EQ(script.DebugLog.find("warning"), std::string::npos);
    }
}

TEST_F(ScriptWarnings, GccLinesMergeErrorsAndWarningsInLineOrder) {
    TParticleScript script;
    const TScriptLoadReport report =
        LoadWithReport(script, Clean + "mass(x);\ntexture(9);\nsetnewparticletype();color(1,1,1);\n");
    EXPECT_EQ(FormatGccProblems("t.psc", report),
              "t.psc:6:1: error: \"x\" is not a valid floating point value.\n"
              "t.psc:7:1: warning: texture(9) is outside the atlas of particle type 0 (tiles 0 to 7, as its "
              "textureproperties cut the texture): tile 7 is drawn instead - use a tile from 0 to 7.\n"
              "t.psc:8:1: warning: Particle type 1 has no texture atlas (no textureproperties after a "
              "loadtexture): its particles are drawn as plain squares of their colour, without a picture "
              "- add textureproperties(rows, columns) after its setnewparticletype.\n"
              "t.psc:8:1: warning: Particle type 1 has no particlecount, and nothing else creates any (no "
              "burst or rate, and no ondeath or onbounce of a type that gets particles), so particle type 1 "
              "never shows - give it a particlecount of 1 or more.\n"
              "t.psc: error: particle type 1 (setnewparticletype on line 8) has no texture tiles: its "
              "textureproperties(ROWS,COLUMNS); is missing or was refused, so its particles are drawn as "
              "plain squares\n");
    // Without warnings the lines are FormatGccDiagnostics' exactly.
    TScriptLoadReport errorsOnly = report;
    errorsOnly.Warnings.clear();
    EXPECT_EQ(FormatGccProblems("t.psc", errorsOnly), FormatGccDiagnostics("t.psc", errorsOnly));
}
