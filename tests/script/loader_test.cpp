#include "script/particle_script.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

using namespace lumidor;
using lumidor::test::ScriptFixture;

namespace {

const std::string Header = "Lumidor ScriptDebugger log\rLumidor version: 2005.08.09\rDebugger version: 2.1\r";
const std::string NoTexture =
    "Critical Error: No texture loaded. TextureProperties commands will be skipped. "
    "Executing the script may cause an acces violation\r";

std::string NoTiles(int type) {
    return "Critical Error: TextureProperties was not called for particle type " + std::to_string(type) +
           ". Executing the script may cause an acces violation\r";
}

std::string Line(int n, const std::string& text) {
    return "Error (Line " + std::to_string(n) + text + "\r";
}

} // namespace

using ScriptLog = ScriptFixture;

TEST_F(ScriptLog, CompleteExampleByteForByte) {
    TParticleScript script;
    const std::string log =
        Load(script, "setnewparticletype();\r\n// smoke\r\nparticlecount(100);\r\nmass(heavy);\r\n", "a.psc");
    EXPECT_EQ(log, Header + "File: \"a.psc\"\r\r" +
                       "Error (Line 3): \"heavy\" is not a valid floating point value.\r" + "\r" + NoTexture +
                       NoTiles(0) + "\r3 error(s) detected.");
    ASSERT_EQ(script.Containers.size(), 1u);
    EXPECT_EQ(script.Values[0].NumParticles, 100.0f);
}

TEST_F(ScriptLog, EmptyMissingAndCleanFiles) {
    TParticleScript empty;
    EXPECT_EQ(Load(empty, "", "e.psc"),
              Header + "File: \"e.psc\"\r\r\r" + NoTexture + "\r1 error(s) detected.");
    EXPECT_TRUE(empty.Containers.empty());

    TParticleScript missing;
    LoadScript(missing, "no such.psc");
    EXPECT_EQ(
        missing.DebugLog,
        Header +
            "File: \"no such.psc\"\r\rCritical Error: File not Found: \"no such.psc\"\r\r1 Error detected");
    TParticleScript zeros;
    LoadScript(zeros, "/dev/zero"); // a NUL ends the text: read stops there
    EXPECT_EQ(zeros.DebugLog, Header + "File: \"/dev/zero\"\r\r\r" + NoTexture + "\r1 error(s) detected.");
    TParticleScript directory;
    LoadScript(directory, ".");
    EXPECT_TRUE(directory.DebugLog.ends_with("Critical Error: File not Found: \".\"\r\r1 Error detected"));

    TParticleScript clean;
    EXPECT_EQ(Load(clean, "loadtexture('tex.tga');\nsetnewparticletype();\ntextureproperties(2,4);\n"),
              Header + "File: \"t.psc\"\r\r\r");
    ASSERT_EQ(clean.Containers.size(), 1u);
    EXPECT_EQ(clean.Containers[0].TextureTiles.size(), 8u);
    EXPECT_EQ(clean.Containers[0].Texture, clean.Texture);
    EXPECT_NE(clean.Texture, 0u);
}

TEST_F(ScriptLog, LineNumbersFollowEveryTerminatorAndStopAtNul) {
    static const char text[] = "a;\rb;\nc;\r\n\r\nd;\0e;\n";
    TParticleScript script;
    const std::string log = Load(script, std::string(text, sizeof text - 1));
    const std::string unknown = "\" - skipping rest of the line.";
    EXPECT_EQ(log, Header + "File: \"t.psc\"\r\r" + Line(0, "): Unknown Command: \"a;" + unknown) +
                       Line(1, "): Unknown Command: \"b;" + unknown) +
                       Line(2, "): Unknown Command: \"c;" + unknown) +
                       Line(4, "): Unknown Command: \"d;" + unknown) + "\r" + NoTexture +
                       "\r5 error(s) detected.");
}

using ScriptCommands = ScriptFixture;

TEST_F(ScriptCommands, TypeNeededAndNamesFolded) {
    EXPECT_EQ(Problems("mass(1);"), Line(1, "): No particle type has been set yet."));
    TParticleScript script;
    EXPECT_EQ(Problems(script, "setnewparticletype;\nMass(2);\nMASS(3);particlecount(5);"), "");
    ASSERT_EQ(script.Containers.size(), 1u);
    EXPECT_EQ(script.Values[0].Mass, 3.0f);
    EXPECT_EQ(script.Values[0].NumParticles, 5.0f);
    EXPECT_EQ(script.Containers[0].BlendSrc, GLenum(GL_SRC_ALPHA));
    EXPECT_EQ(script.Containers[0].BlendDst, GLenum(GL_ONE));
    EXPECT_EQ(Problems("setnewparticletype"),
              Line(1, "): Unknown Command: \"setnewparticletype\" - skipping rest of the line."));
}

TEST_F(ScriptCommands, SemicolonCommaAndUnknownRules) {
    TParticleScript script;
    EXPECT_EQ(Problems(script, "setnewparticletype();\nmass(1,5);size(1,2);\nsize(3,4)\nsize(5 , 6) ;\n"
                               "size(1,2\nmass 1;\nmass(7);foo(2);bar(3);\nlifelength(1,2);//heavy (x)\n"
                               "   // indented\n"),
              Line(2, "): Wrong parameter count.") +
                  Line(3, "): Missing semicolon - skipping rest of the line.") +
                  Line(5, "): Wrong parameter count.") +
                  Line(6, "): Unknown Command: \"mass1;\" - skipping rest of the line.") +
                  Line(7, "): Unknown Command: \"foo(2);bar(3);\" - skipping rest of the line."));
    EXPECT_EQ(script.Values[0].Mass, 7.0f);
    // An apostrophe in a comment line must not expose its ")" to the semicolon rule.
    EXPECT_EQ(Problems("// don't call size(1,2) twice\n"), "");
    EXPECT_EQ(script.Ranges[0].Size.First, 5.0f);
    EXPECT_EQ(script.Ranges[0].Size.Second, 6.0f);
    EXPECT_EQ(script.Ranges[0].Life.Spread, 1.0f);
    EXPECT_EQ(script.Ranges[0].Life.Base, 2.0f);
}

TEST_F(ScriptCommands, ValuesConvertOneByOne) {
    TParticleScript script;
    EXPECT_EQ(Problems(script, "setnewparticletype();\nparticlecount(many);mass(heavy);\n"
                               "lifelength(abc,2);color(1,x.5,0.25);\nparticlecount(99.9);\n"),
              Line(2, "): \"many\" is not a valid integer value.") +
                  Line(2, "): \"heavy\" is not a valid floating point value.") +
                  Line(3, "): \"abc\" is not a valid floating point value.") +
                  Line(3, "): \"x,5\" is not a valid floating point value."));
    EXPECT_EQ(script.Ranges[0].Life.Spread, 0.0f);
    EXPECT_EQ(script.Ranges[0].Life.Base, 2.0f);
    EXPECT_EQ(script.Vectors[0].Color.x, 1.0f);
    EXPECT_EQ(script.Vectors[0].Color.y, 0.0f);
    EXPECT_EQ(script.Vectors[0].Color.z, 0.25f);
    EXPECT_FLOAT_EQ(script.Values[0].NumParticles, 99.9f);
}

TEST_F(ScriptCommands, VectorRangesInterleaveSpreadAndBase) {
    TParticleScript script;
    EXPECT_EQ(Problems(script,
                       "setnewparticletype();\nvelocity([1,2],[3,4],[5,6]);position([-1,.5],[0,0],[7,8]);"
                       "\nvelocity([9,9],[9,9]);\n"),
              Line(3, "): Wrong parameter count."));
    const TScriptVectorRange& v = script.VectorRanges[0].Velocity;
    EXPECT_EQ(v.Spread.x, 1.0f);
    EXPECT_EQ(v.Spread.y, 3.0f);
    EXPECT_EQ(v.Spread.z, 5.0f);
    EXPECT_EQ(v.Base.x, 2.0f);
    EXPECT_EQ(v.Base.y, 4.0f);
    EXPECT_EQ(v.Base.z, 6.0f);
    EXPECT_EQ(script.VectorRanges[0].Position.Spread.x, -1.0f);
    EXPECT_EQ(script.VectorRanges[0].Position.Base.x, 0.5f);
    EXPECT_EQ(script.VectorRanges[0].Position.Base.z, 8.0f);
}

TEST_F(ScriptCommands, TexturePropertiesChecks) {
    TParticleScript noTexture;
    EXPECT_EQ(Load(noTexture, "setnewparticletype();\ntextureproperties(4,4);\n"),
              Header + "File: \"t.psc\"\r\r" +
                  Line(1, "): No texture has been loaded yet - skipping command") + "\r" + NoTexture +
                  NoTiles(0) + "\r3 error(s) detected.");

    TParticleScript script;
    EXPECT_EQ(
        Problems(script, "setnewparticletype();\ntextureproperties(x,4);\nsetnewparticletype();\n"
                         "textureproperties(0,4);\nsetnewparticletype();textureproperties(4,4);\n"
                         "setnewparticletype();textureproperties(-1,4);textureproperties(1000,1000);"),
        Line(2, "): \"x\" is not a valid integer value.") +
            Line(2, "): Parameters of TextureProperties mustn't be 0 - skipping command.") +
            Line(4, "): Parameters of TextureProperties mustn't be 0 - skipping command.") +
            Line(6, "): Parameters of TextureProperties must be positive and give at most 65536 tiles - "
                    "skipping command.") +
            Line(6, "): Parameters of TextureProperties must be positive and give at most 65536 tiles - "
                    "skipping command."));
    EXPECT_TRUE(script.Containers[0].TextureTiles.empty());
    EXPECT_TRUE(script.Containers[1].TextureTiles.empty());
    EXPECT_EQ(script.Containers[2].TextureTiles.size(), 16u);
    EXPECT_TRUE(script.Containers[3].TextureTiles.empty());
    EXPECT_TRUE(
        script.DebugLog.ends_with("\r" + NoTiles(0) + NoTiles(1) + NoTiles(3) + "\r8 error(s) detected."));
}

TEST_F(ScriptCommands, ScratchValuesCarryOver) {
    TParticleScript script;
    // The failed conversions keep what the previous command of the three stored in U, V, W.
    EXPECT_EQ(Problems(script, "setnewparticletype();setnewmagnetpoint();\ntextureproperties(2,4);\n"
                               "blendfactor(x,771);\nmposition(q,1.5,2);\nblendfactor(770,y);\n"
                               "textureproperties(q,z);\n"),
              Line(3, "): \"x\" is not a valid integer value.") +
                  Line(4, "): \"q\" is not a valid floating point value.") +
                  Line(5, "): \"y\" is not a valid integer value.") +
                  Line(6, "): \"q\" is not a valid integer value.") +
                  Line(6, "): \"z\" is not a valid integer value."));
    const TParticleEffectContainer& c = script.Containers[0];
    EXPECT_EQ(c.BlendSrc, 770u);
    EXPECT_EQ(c.BlendDst, 1u); // V = 1.5 from mposition, truncated
    ASSERT_EQ(c.MagnetPoints.size(), 1u);
    EXPECT_EQ(c.MagnetPoints[0].Position.x, 2.0f); // U = 2 from textureproperties
    EXPECT_EQ(c.MagnetPoints[0].Position.y, 1.5f);
    EXPECT_EQ(c.MagnetPoints[0].Position.z, 2.0f);
    EXPECT_EQ(c.TextureTiles.size(), 770u); // rows 770 from blendfactor, columns 1 from mposition
}

TEST_F(ScriptCommands, BlendFactorPerType) {
    TParticleScript script;
    EXPECT_EQ(Problems(script, "blendfactor(1,1);\nsetnewparticletype();blendfactor(770,771);\n"
                               "setnewparticletype();blendfactor(-1,1);\nsetnewparticletype();"),
              Line(1, "): No particle type has been set yet."));
    EXPECT_EQ(script.Containers[0].BlendSrc, 770u);
    EXPECT_EQ(script.Containers[0].BlendDst, 771u);
    EXPECT_EQ(script.Containers[1].BlendSrc, 0xFFFFFFFFu);
    EXPECT_EQ(script.Containers[2].BlendSrc, 770u);
    EXPECT_EQ(script.Containers[2].BlendDst, 1u);
}

TEST_F(ScriptCommands, MagnetCommandsReachEveryContainer) {
    TParticleScript script;
    EXPECT_EQ(Problems(script, "setnewmagnetpoint();radius(5);\nsetnewparticletype();setnewparticletype();"
                               "setnewparticletype();\nsetnewmagnetpoint();mode(x);gravity(2);radius(0.5);"
                               "mposition(1,2,3);\nmode(2);gravity(1.5x);\nsetnewparticletype();"),
              Line(1, "): No magnet point has been set yet.") +
                  Line(3, "): \"x\" is not a valid integer value.") +
                  Line(3, "): \"x\" is not a valid integer value.") +
                  Line(3, "): \"x\" is not a valid integer value.") +
                  Line(4, "): \"1,5x\" is not a valid floating point value.") +
                  Line(4, "): \"1,5x\" is not a valid floating point value.") +
                  Line(4, "): \"1,5x\" is not a valid floating point value."));
    ASSERT_EQ(script.Containers.size(), 4u);
    for (int t = 0; t < 3; ++t) {
        ASSERT_EQ(script.Containers[std::size_t(t)].MagnetPoints.size(), 1u) << t;
        const TMagnetPoint& m = script.Containers[std::size_t(t)].MagnetPoints[0];
        EXPECT_EQ(m.Mode, 2);
        EXPECT_EQ(m.Gravity, 2.0f);
        EXPECT_EQ(m.Radius, 0.5f);
        EXPECT_EQ(m.Position.z, 3.0f);
    }
    EXPECT_TRUE(script.Containers[3].MagnetPoints.empty());
}

TEST_F(ScriptCommands, LoadTextureStrings) {
    TParticleScript script;
    EXPECT_EQ(Problems(script, "loadtexture(fire.bmp);\nloadtexture('a;b.bmp');\nloadtexture('a)b.bmp');\n"
                               "loadtexture('my fire.bmp');\nloadtexture('x.png');"),
              Line(1, "): Given parameter is not a valid string.") +
                  Line(2, "): Given parameter is not a valid string.") +
                  Line(3, "): Missing semicolon - skipping rest of the line.") +
                  Line(4, "): File not found: \"my fire.bmp\" - skipping command.") +
                  Line(5, "): File not found: \"x.png\" - skipping command."));
    EXPECT_EQ(lumidor::test::RecordedMessages(),
              std::vector<std::string>{"BMP Unit: Error opening my fire.bmp"});

    lumidor::test::WriteTga("my tex.tga", 4, 2);
    TParticleScript spaced;
    EXPECT_EQ(Load(spaced, "loadtexture ( 'my tex.tga' ) ;\n"), Header + "File: \"t.psc\"\r\r\r");
    EXPECT_EQ(GLRecorder().Uploads.back().Width, 4);
}

TEST_F(ScriptCommands, ContinuousAndFadingFlags) {
    for (const char* on : {"continiuous(true);", "continiuous(1);", "continiuous(TRUE);"}) {
        TParticleScript script;
        EXPECT_EQ(Problems(script, on), "");
        EXPECT_TRUE(script.Continuous) << on;
    }
    TParticleScript script;
    EXPECT_EQ(Problems(script, "continuous(true);\ncontiniuous(1.0);\nfading(true,false);"),
              Line(1, "): Unknown Command: \"continuous(true);\" - skipping rest of the line.") +
                  Line(2, "): \"1.0\" is not a valid LDBooleanValue value."));
    EXPECT_FALSE(script.Continuous);
    EXPECT_TRUE(script.FadeOut);
    EXPECT_FALSE(script.FadeIn);

    EXPECT_EQ(Problems(script, "fading(maybe,true);\nfading(false,perhaps);"),
              Line(1, "): \"maybe\" is not a valid LDBooleanValue value.") +
                  Line(2, "): \"perhaps\" is not a valid LDBooleanValue value."));
    EXPECT_FALSE(script.FadeOut);
    EXPECT_FALSE(script.FadeIn);
}

TEST_F(ScriptCommands, SecondLoadAppends) {
    TParticleScript script;
    Load(script, "loadtexture('tex.tga');\nsetnewparticletype();textureproperties(1,1);mass(2);\n",
         "one.psc");
    const std::string firstLog = script.DebugLog;
    Load(script, "loadtexture('tex.tga');\nsetnewparticletype();textureproperties(2,2);mass(3);\n",
         "two.psc");
    ASSERT_EQ(script.Containers.size(), 2u);
    EXPECT_EQ(script.Values.size(), 2u);
    EXPECT_EQ(script.VectorRanges.size(), 2u);
    EXPECT_EQ(script.Values[0].Mass, 2.0f);
    EXPECT_EQ(script.Values[1].Mass, 3.0f);
    EXPECT_EQ(script.Containers[1].TextureTiles.size(), 4u);
    EXPECT_TRUE(script.DebugLog.starts_with(firstLog + Header + "File: \"two.psc\"\r\r"));
}

TEST_F(ScriptCommands, ReportCarriesWhatTheRecordDoesNot) {
    TParticleScript script;
    const TScriptLoadReport report = LoadWithReport(
        script, "setnewparticletype();loadtexture('tex.tga');setnewparticletype();textureproperties(1,2);",
        "r.psc");
    EXPECT_TRUE(report.FileOpened);
    EXPECT_TRUE(report.TextureLoaded);
    EXPECT_EQ(report.TilesSet, (std::vector<bool>{false, true}));
    EXPECT_EQ(report.ErrorCount, 1);

    const TScriptLoadReport missing = LoadScriptWithReport(script, "gone.psc");
    EXPECT_FALSE(missing.FileOpened);
    EXPECT_EQ(missing.ErrorCount, 1);
}

TEST_F(ScriptCommands, FromTextReadsOnlyTheBytesItIsGiven) {
    // A view into a longer buffer: the load ends where the view ends, mid-line or not.
    const std::string buffer = "setnewparticletype();mass(2);mass(3);\nfoo;";
    TParticleScript script;
    const TScriptLoadReport report =
        LoadScriptFromText(script, "view.psc", std::string_view(buffer).substr(0, 29));
    EXPECT_TRUE(report.FileOpened);
    ASSERT_EQ(script.Values.size(), 1u);
    EXPECT_EQ(script.Values[0].Mass, 2.0f);
    EXPECT_EQ(script.DebugLog,
              Header + "File: \"view.psc\"\r\r\r" + NoTexture + NoTiles(0) + "\r2 error(s) detected.");

    // A NUL inside the bytes ends the text there, as it ends a file.
    TParticleScript cut;
    LoadScriptFromText(cut, "nul.psc", std::string_view("setnewparticletype();\0foo;", 26));
    EXPECT_EQ(cut.Containers.size(), 1u);
    EXPECT_EQ(cut.DebugLog.find("Unknown"), std::string::npos);
}
