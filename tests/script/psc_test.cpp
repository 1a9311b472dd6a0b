// lumidor-psc run as a program: exit codes, the log as text and as raw bytes, the JSON dump, and
// the three demo scripts loading without a single error.

#include "psc_run.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string Header = "Lumidor ScriptDebugger log\rLumidor version: 2005.08.09\rDebugger version: 2.1\r";

} // namespace

TEST(PscDemoScripts, AllThreeLoadWithoutErrors) {
    const std::string data = std::string(LUMIDOR_SOURCE_DIR) + "/data";
    for (int n = 1; n <= 3; ++n) {
        const std::string file = "scripts/ParticleScript" + std::to_string(n) + ".psc";
        const TRun run = RunPsc(data, file);
        EXPECT_EQ(run.Status, 0) << run.Out << run.Err;
        EXPECT_EQ(run.Out, "Lumidor ScriptDebugger log\nLumidor version: 2005.08.09\nDebugger version: 2.1\n"
                           "File: \"" +
                               file + "\"\n\n\n");
        EXPECT_EQ(run.Err, "");

        const TRun dump = RunPsc(data, "--dump " + file);
        const nlohmann::json json = nlohmann::json::parse(dump.Out);
        EXPECT_TRUE(json["continuous"].get<bool>());
        EXPECT_TRUE(json["textureLoaded"].get<bool>());
        float total = 0;
        for (const auto& type : json["types"]) {
            EXPECT_TRUE(type["tilesSet"].get<bool>());
            total += type["values"]["particleCount"].get<float>();
        }
        EXPECT_EQ(total, n == 3 ? 20000.0f : 3000.0f) << file;
    }
}

TEST_F(Psc, RawLogIsTheExactBytesAndNameIsShown) {
    Write("x.psc", "setnewparticletype();\n// smoke\nparticlecount(100);\nmass(heavy);\n");
    const TRun run = RunPsc(dir, "--raw --name a.psc x.psc");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out,
              Header + "File: \"a.psc\"\r\r" +
                  "Error (Line 3): \"heavy\" is not a valid floating point value.\r\r"
                  "Critical Error: No texture loaded. TextureProperties commands will be skipped. "
                  "Executing the script may cause an acces violation\r"
                  "Critical Error: TextureProperties was not called for particle type 0. Executing the "
                  "script may cause an acces violation\r\r3 error(s) detected.");
    const TRun text = RunPsc(dir, "x.psc");
    EXPECT_EQ(text.Status, 1);
    EXPECT_NE(text.Out.find("File: \"x.psc\"\n\nError (Line 3)"), std::string::npos);
    EXPECT_TRUE(text.Out.ends_with("\n\n3 error(s) detected.\n"));
    EXPECT_EQ(text.Out.find('\r'), std::string::npos);
}

TEST_F(Psc, ExitCodesForMissingFilesAndBadArguments) {
    const TRun missing = RunPsc(dir, "none.psc");
    EXPECT_EQ(missing.Status, 2);
    EXPECT_TRUE(missing.Out.ends_with("Critical Error: File not Found: \"none.psc\"\n\n1 Error detected\n"));
    EXPECT_EQ(RunPsc(dir, "").Status, 2);
    EXPECT_EQ(RunPsc(dir, "--bogus x.psc").Status, 2);
    EXPECT_EQ(RunPsc(dir, "a.psc b.psc").Status, 2);
    EXPECT_EQ(RunPsc(dir, "--name").Status, 2);
    EXPECT_EQ(RunPsc(dir, "--help").Status, 0);
}

TEST_F(Psc, ReaderMessagesGoToStandardError) {
    Write("broken.tga", std::string(18, '\0'));
    Write("s.psc", "loadtexture('broken.tga');\n");
    const TRun run = RunPsc(dir, "s.psc");
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("Couldn't load \"broken.tga\". Only 24 and 32bit TGA supported."),
              std::string::npos);
    EXPECT_NE(run.Out.find("Error (Line 0): File not found: \"broken.tga\" - skipping command.\n"),
              std::string::npos);
}

TEST_F(Psc, AMissingTextureIsOneProblemInEveryFormat) {
    Write("m.psc", "loadtexture('gone.tga');\nloadtexture('gone.bmp');\nsetnewparticletype();\n");
    // --simulate's standard error has the errors of the gcc lines, not their warnings.
    std::string gcc;
    std::istringstream gccLines(RunPsc(dir, "--format=gcc m.psc").Out);
    for (std::string line; std::getline(gccLines, line);)
        if (line.find(": warning: ") == std::string::npos) gcc += line + "\n";
    const struct {
        const char* Arguments;
        std::string Out; ///< a piece standard output holds
    } rows[] = {
        {"m.psc", "Error (Line 0): File not found: \"gone.tga\" - skipping command.\n"},
        {"--raw m.psc", "Error (Line 1): File not found: \"gone.bmp\" - skipping command.\r"},
        {"--dump m.psc", "\"textureLoaded\":false"},
        {"--format=gcc m.psc",
         "m.psc:1:1: error: File not found: \"gone.tga\" - skipping command. (looked for in"},
        {"--simulate 1 m.psc", "t=1 steps=60 particles=0 "},
    };
    for (const auto& row : rows) {
        const TRun run = RunPsc(dir, row.Arguments);
        EXPECT_NE(run.Out.find(row.Out), std::string::npos) << row.Arguments << "\n" << run.Out;
        // The readers' own "file not found" boxes are not echoed; only the hint at --root is left.
        EXPECT_EQ(run.Err, (std::string(row.Arguments).starts_with("--simulate") ? gcc : "") +
                               "lumidor-psc: texture names are read below the current directory; --root DIR "
                               "reads them below DIR (the demo reads them below its data folder)\n")
            << row.Arguments;
    }
    EXPECT_EQ(gcc.find("\nm.psc:2:1: error: File not found: \"gone.bmp\""), gcc.find('\n'));
}

TEST_F(Psc, DumpDescribesWhatTheScriptCompiledTo) {
    std::string tga(18, '\0');
    tga[2] = 2;
    tga[12] = 2;
    tga[14] = 2;
    tga[16] = 24;
    tga += std::string(12, '\x7f');
    Write("t.tga", tga);
    Write("d.psc", "continiuous(1);fading(false,true);loadtexture('t.tga');\n"
                   "setnewparticletype();textureproperties(2,4);mass(0.1);particlecount(12.5);texture(3);\n"
                   "lifelength(1,2);randomsize(0.5,1);size(3,4);enlargement(-1,1e-3);\n"
                   "force(1,2,3);color(0.25,0.5,1);inertia(7,8,9);\n"
                   "velocity([1,2],[3,4],[5,6]);position([-1,-2],[-3,-4],[-5,-6]);blendfactor(770,771);\n"
                   "setnewmagnetpoint();mode(2);gravity(-0.3);radius(1.5);mposition(1,2,3);\n"
                   "setnewparticletype();\n");
    const TRun run = RunPsc(dir, "--dump d.psc");
    EXPECT_EQ(run.Status, 1); // the second type has no textureproperties
    const nlohmann::json json = nlohmann::json::parse(run.Out);
    EXPECT_EQ(json["continuous"], true);
    EXPECT_EQ(json["fadeOut"], false);
    EXPECT_EQ(json["fadeIn"], true);
    EXPECT_EQ(json["textureLoaded"], true);
    ASSERT_EQ(json["types"].size(), 2u);
    const nlohmann::json& t = json["types"][0];
    EXPECT_EQ(t["values"]["mass"].get<float>(), 0.1f);
    EXPECT_EQ(t["values"]["particleCount"].get<float>(), 12.5f);
    EXPECT_EQ(t["values"]["textureTile"].get<float>(), 3.0f);
    EXPECT_EQ(t["values"]["airResistance"].get<float>(), 0.0f);
    EXPECT_EQ(t["ranges"]["life"], nlohmann::json::parse("[1.0,2.0]"));
    EXPECT_EQ(t["ranges"]["randomSize"][0].get<float>(), 0.5f);
    EXPECT_EQ(t["ranges"]["size"][1].get<float>(), 4.0f);
    EXPECT_EQ(t["ranges"]["enlargement"][1].get<float>(), 1e-3f);
    EXPECT_EQ(t["vectors"]["color"][0].get<float>(), 0.25f);
    EXPECT_EQ(t["vectors"]["inertia"][2].get<float>(), 9.0f);
    EXPECT_EQ(t["vectors"]["force"][1].get<float>(), 2.0f);
    EXPECT_EQ(t["vectorRanges"]["velocity"]["spread"], nlohmann::json::parse("[1.0,3.0,5.0]"));
    EXPECT_EQ(t["vectorRanges"]["velocity"]["base"], nlohmann::json::parse("[2.0,4.0,6.0]"));
    EXPECT_EQ(t["vectorRanges"]["position"]["base"][2].get<float>(), -6.0f);
    EXPECT_EQ(t["blend"], nlohmann::json::parse("[770,771]"));
    EXPECT_EQ(t["tileCount"], 8);
    EXPECT_EQ(t["tilesSet"], true);
    ASSERT_EQ(t["magnets"].size(), 1u);
    EXPECT_EQ(t["magnets"][0]["id"], 0);
    EXPECT_EQ(t["magnets"][0]["mode"], 2);
    EXPECT_EQ(t["magnets"][0]["gravity"].get<float>(), -0.3f);
    EXPECT_EQ(t["magnets"][0]["radius"].get<float>(), 1.5f);
    EXPECT_EQ(t["magnets"][0]["position"][2].get<float>(), 3.0f);
    const nlohmann::json& u = json["types"][1];
    EXPECT_EQ(u["tileCount"], 0);
    EXPECT_EQ(u["tilesSet"], false);
    EXPECT_EQ(u["blend"], nlohmann::json::parse("[770,1]"));
    EXPECT_TRUE(u["magnets"].empty());
    // Shortest exact float form: 0.1f prints as 0.1, not as its double expansion.
    EXPECT_NE(run.Out.find("\"mass\":0.1,"), std::string::npos);
}

TEST_F(Psc, GccFormatPlacesEveryErrorAndSuggestsAKeyword) {
    Write("g.psc",
          "setnewparticletype();\nparticlecount(10);\nmass(1);\n  texturproperties(2,4);\nsize(1,1);\n"
          "lifelength(1,2)\nlifelength(abc,2);\n");
    const TRun run = RunPsc(dir, "--format=gcc g.psc");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(
        run.Out,
        "g.psc:4:3: error: Unknown Command: \"texturproperties(2,4);\" - skipping rest of the line. "
        "(did you mean 'textureproperties'?)\n"
        "g.psc:6:1: error: Missing semicolon - skipping rest of the line.\n"
        "g.psc:7:1: error: \"abc\" is not a valid floating point value.\n"
        "g.psc: error: the script loads no texture: add loadtexture('FILE.tga'); before the first "
        "textureproperties, or the particles are drawn as plain squares\n"
        "g.psc: error: particle type 0 (setnewparticletype on line 1) has no texture tiles: its "
        "textureproperties(ROWS,COLUMNS); is missing or was refused, so its particles are drawn as plain "
        "squares\n");
    // The default output is still the log, with the log's own zero-based line numbers.
    const TRun log = RunPsc(dir, "g.psc");
    EXPECT_NE(log.Out.find("Error (Line 3): Unknown Command"), std::string::npos);
    EXPECT_EQ(log.Out.find("did you mean"), std::string::npos);

    const TRun missing = RunPsc(dir, "--format gcc --name shown.psc none.psc");
    EXPECT_EQ(missing.Status, 2);
    EXPECT_EQ(missing.Out, "shown.psc: error: File not Found: \"shown.psc\"\n");
    EXPECT_EQ(RunPsc(dir, "--format=xml g.psc").Status, 2);
    EXPECT_EQ(RunPsc(dir, "--format=gcc --dump g.psc").Status, 2);

    const std::string data = std::string(LUMIDOR_SOURCE_DIR) + "/data";
    const TRun clean = RunPsc(data, "--format=gcc scripts/ParticleScript1.psc");
    EXPECT_EQ(clean.Status, 0);
    EXPECT_EQ(clean.Out, "");
}

TEST(PscRoot, ShippedScriptCheckedFromTheRepositoryRoot) {
    const std::string source = LUMIDOR_SOURCE_DIR;
    const TRun rooted = RunPsc(source, "--format=gcc --root data data/scripts/ParticleScript1.psc");
    EXPECT_EQ(rooted.Status, 0) << rooted.Err;
    EXPECT_EQ(rooted.Out, "");
    EXPECT_EQ(rooted.Err, "");
    EXPECT_EQ(RunPsc(source, "--root=data --format=gcc data/scripts/ParticleScript3.psc").Status, 0);

    // Without --root the texture is looked for below the working directory, and the message says where.
    const TRun unrooted = RunPsc(source, "--format=gcc data/scripts/ParticleScript1.psc");
    EXPECT_EQ(unrooted.Status, 1);
    const std::string folder = std::filesystem::canonical(source).string() + "/scripts";
    EXPECT_NE(unrooted.Out.find("data/scripts/ParticleScript1.psc:23:1: error: File not found: "
                                "\"scripts/lumina.tga\" - skipping command. (looked for in \"" +
                                folder + "\")\n"),
              std::string::npos)
        << unrooted.Out;
    EXPECT_NE(unrooted.Err.find("--root"), std::string::npos) << "a hint at the option: " << unrooted.Err;

    // The log is the one the demo writes from data/: the root changes where files are read, not the log.
    const TRun log = RunPsc(source, "--raw --root data --name scripts/ParticleScript2.psc "
                                    "data/scripts/ParticleScript2.psc");
    const TRun fromData = RunPsc(source + "/data", "--raw scripts/ParticleScript2.psc");
    EXPECT_EQ(log.Status, 0);
    EXPECT_EQ(log.Out, fromData.Out);
}

TEST_F(Psc, RootOptionIsCheckedAndDocumented) {
    std::filesystem::create_directories(dir / "assets");
    Write("assets/t.tga", "not a picture");
    Write("r.psc", "loadtexture('t.tga');\n");
    const TRun missing = RunPsc(dir, "--format=gcc --root nowhere r.psc");
    EXPECT_EQ(missing.Status, 2);
    EXPECT_NE(missing.Err.find("\"nowhere\" is not a folder"), std::string::npos) << missing.Err;
    EXPECT_EQ(missing.Out, "");
    EXPECT_EQ(RunPsc(dir, "--format=gcc r.psc --root").Status, 2);
    EXPECT_EQ(RunPsc(dir, "--root r.psc r.psc").Status, 2); // a file is no root

    // A texture that is there but unreadable names the file rather than a folder.
    const TRun bad = RunPsc(dir, "--format=gcc --root assets r.psc");
    EXPECT_EQ(bad.Status, 1);
    EXPECT_NE(bad.Out.find("r.psc:1:1: error: 't.tga' could not be read as a texture (\"" +
                           std::filesystem::canonical(dir).string() +
                           "/assets/t.tga\"): Couldn't read file \"assets/t.tga\".\n"),
              std::string::npos)
        << bad.Out;
    // The reader's reason is in that line; gcc output has no other line for it.
    EXPECT_EQ(bad.Err, "");

    const TRun help = RunPsc(dir, "--help");
    EXPECT_EQ(help.Status, 0);
    EXPECT_NE(help.Out.find("--root DIR"), std::string::npos);
}

TEST_F(Psc, NewerCommandsAreDumpedAndMisspellingsSuggested) {
    std::string tga(18, '\0');
    tga[2] = 2;
    tga[12] = 2;
    tga[14] = 2;
    tga[16] = 24;
    tga += std::string(12, '\x7f');
    Write("t.tga", tga);
    Write("n.psc",
          "prewarm(1.5);loadtexture('t.tga');\n"
          "setnewparticletype();textureproperties(2,4);colorkey(1,0,0,1);colorkey(0,1,0,0);\n"
          "alphakey(0.5,0.25);sizekey(0,1,2);flipbook(2,4,1.5);burst(0.5,10,0.25,2);\n"
          "ring(3);outward(2);ondeath(1,2);onbounce(0,1);setnewparticletype();textureproperties(1,1);\n");
    const TRun run = RunPsc(dir, "--dump n.psc");
    EXPECT_EQ(run.Status, 0) << run.Out;
    const nlohmann::json json = nlohmann::json::parse(run.Out);
    EXPECT_EQ(json["prewarm"].get<float>(), 1.5f);
    const nlohmann::json& life = json["types"][0]["life"];
    EXPECT_EQ(life["colorKeys"], nlohmann::json::parse("[[0,1,0,0],[1,0,0,1]]"));
    EXPECT_EQ(life["alphaKeys"], nlohmann::json::parse("[[0.5,0.25]]"));
    EXPECT_EQ(life["sizeKeys"], nlohmann::json::parse("[[0,1,2]]"));
    EXPECT_EQ(life["flipbook"], nlohmann::json::parse(R"({"first":2,"count":4,"cycles":1.5})"));
    const nlohmann::json& emission = json["types"][0]["emission"];
    EXPECT_EQ(emission["shape"], "ring");
    EXPECT_EQ(emission["radius"].get<float>(), 3.0f);
    EXPECT_EQ(emission["outward"].get<float>(), 2.0f);
    EXPECT_EQ(emission["bursts"],
              nlohmann::json::parse(R"([{"time":0.5,"count":10,"interval":0.25,"repeats":2}])"));
    EXPECT_EQ(emission["subEmitters"],
              nlohmann::json::parse(
                  R"([{"event":"death","type":1,"count":2},{"event":"bounce","type":0,"count":1}])"));
    EXPECT_EQ(json["types"][1]["emission"]["shape"], "box");

    Write("m.psc", "setnewparticletype();\ncolourkey(0,1,0,0);\n");
    const TRun gcc = RunPsc(dir, "--format=gcc m.psc");
    EXPECT_EQ(gcc.Status, 1);
    EXPECT_NE(
        gcc.Out.find("m.psc:2:1: error: Unknown Command: \"colourkey(0,1,0,0);\" - skipping rest of the "
                     "line. (did you mean 'colorkey'?)\n"),
        std::string::npos)
        << gcc.Out;
}

TEST_F(Psc, LookCommandsAreDumpedOnlyForTheTypesThatUseThem) {
    std::string tga(18, '\0');
    tga[2] = 2;
    tga[12] = 2;
    tga[14] = 2;
    tga[16] = 24;
    tga += std::string(12, '\x7f');
    Write("t.tga", tga);
    Write("l.psc",
          "ground(-0.5);loadtexture('t.tga');\n"
          "setnewparticletype();textureproperties(1,1);rotation(360,-45);spin(90,10);stretch(0.25);\n"
          "rate(90);tint(1,0.5,0,0,0.5,1);turbulence(2,1.5,0.5);vortex(0,1,0,45,0.5);\n"
          "trail(0.5,16,0.05);bounce(0.25,0.75);dieonground(true);shapeaxis(0,0,1);local(1);\n"
          "setnewparticletype();textureproperties(1,1);\n");
    const TRun run = RunPsc(dir, "--dump l.psc");
    EXPECT_EQ(run.Status, 0) << run.Out;
    const nlohmann::json json = nlohmann::json::parse(run.Out);
    EXPECT_EQ(json["ground"].get<float>(), -0.5f);
    EXPECT_EQ(json["types"][0]["look"],
              nlohmann::json::parse(R"({"rotation":[360,-45],"spin":[90,10],"stretch":0.25,"rate":90,
                  "tint":[1,0.5,0,0,0.5,1],"turbulence":[2,1.5,0.5],"vortex":[0,1,0,45,0.5],
                  "trail":{"seconds":0.5,"points":16,"width":0.05},"bounce":[0.25,0.75],
                  "dieOnGround":true,"shapeAxis":[0,0,1],"local":true})"));
    EXPECT_FALSE(json["types"][1].contains("look"));

    // A script without them dumps exactly the keys it did before.
    Write("o.psc", "loadtexture('t.tga');setnewparticletype();textureproperties(1,1);rate(x);\n");
    const nlohmann::json old = nlohmann::json::parse(RunPsc(dir, "--dump o.psc").Out);
    EXPECT_FALSE(old.contains("ground"));
    EXPECT_FALSE(old["types"][0].contains("look"));
    std::vector<std::string> keys;
    for (const auto& [key, value] : old.items())
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"continuous", "fadeIn", "fadeOut", "prewarm", "textureLoaded",
                                              "types"}));
}

TEST(PscShippedScripts, NoWarningAndNoError) {
    // Every shipped script is checked the way an author checks one; a rule that cries wolf on them fails.
    const std::filesystem::path data = std::filesystem::path(LUMIDOR_SOURCE_DIR) / "data";
    int checked = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(data / "scripts")) {
        if (entry.path().extension() != ".psc") continue;
        const std::string file = std::filesystem::relative(entry.path(), data).string();
        const TRun run = RunPsc(data.string(), "--format=gcc --werror " + file);
        EXPECT_EQ(run.Status, 0) << file << "\n" << run.Out;
        EXPECT_EQ(run.Out, "") << file;
        ++checked;
    }
    EXPECT_GE(checked, 9);
}

TEST_F(Psc, WarningsAloneExitZeroUnlessWerror) {
    Write("t.tga", std::string("\0\0\2\0\0\0\0\0\0\0\0\0\1\0\1\0\40\0", 18) + std::string(4, '\x7f'));
    const std::string script =
        "loadtexture('t.tga');\nsetnewparticletype();textureproperties(1,1);\n"
        "particlecount(1);lifelength(0,1);size(1,1);color(1,1,1);\n  airresistance(-1);\n";
    Write("w.psc", script);
    const std::string warning =
        "w.psc:4:3: warning: airresistance(-1) is below 0: it speeds the particles of "
        "type 0 up in every frame instead of braking them - give 0 or more.\n";
    const TRun gcc = RunPsc(dir, "--format=gcc w.psc");
    EXPECT_EQ(gcc.Status, 0);
    EXPECT_EQ(gcc.Out, warning);
    // The log is the log of a clean load, byte for byte; the warning is not in it.
    const std::string cleanLog = "Lumidor ScriptDebugger log\nLumidor version: 2005.08.09\nDebugger version: "
                                 "2.1\nFile: \"w.psc\"\n\n\n";
    const TRun log = RunPsc(dir, "w.psc");
    EXPECT_EQ(log.Status, 0);
    EXPECT_EQ(log.Out, cleanLog);
    EXPECT_EQ(log.Err, "");

    const TRun werror = RunPsc(dir, "--werror w.psc");
    EXPECT_EQ(werror.Status, 1);
    EXPECT_EQ(werror.Out, cleanLog);
    EXPECT_EQ(werror.Err, warning);
    const TRun werrorGcc = RunPsc(dir, "--format=gcc --werror w.psc");
    EXPECT_EQ(werrorGcc.Status, 1);
    EXPECT_EQ(werrorGcc.Out, warning);

    // Errors still give 1, and the gcc lines run in line order.
    Write("e.psc", script + "mass(x);\n");
    const TRun both = RunPsc(dir, "--format=gcc e.psc");
    EXPECT_EQ(both.Status, 1);
    EXPECT_EQ(both.Out,
              "e.psc" + warning.substr(5) + "e.psc:5:1: error: \"x\" is not a valid floating point value.\n");
}
