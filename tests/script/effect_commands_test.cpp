// The loader's newer commands: keys over a particle's life, flipbook, bursts, shapes, sub-emitters
// and prewarm, each at its edges and with the refusals that skip it.

#include "script/particle_script.h"
#include "script/script_diagnostics.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <string>

using namespace lumidor;
using lumidor::test::ScriptFixture;

namespace {

std::string Line(int n, const std::string& text) {
    return "Error (Line " + std::to_string(n) + text + "\r";
}

/// A texture, one type with a 2 x 4 atlas (8 tiles), then `content` from line 3 on.
const std::string TypeWithAtlas = "setnewparticletype();\ntextureproperties(2,4);\n";

} // namespace

using EffectCommands = ScriptFixture;

TEST_F(EffectCommands, KeysAreSortedStablyAndOutOfRangeTimesAreRefused) {
    TParticleScript script;
    EXPECT_EQ(Problems(script, TypeWithAtlas + "colorkey(1,0,0,1);colorkey(0.5,0,1,0);colorkey(0,1,0,0);\n"
                                               "colorkey(0.5,0.5,0.5,0.5);alphakey(0.25,0.75);\n"
                                               "sizekey(0.3,1,2);sizekey(0.3,3,4);sizekey(0.1,0,0);\n"
                                               "colorkey(1.5,1,1,1);alphakey(-0.1,1);sizekey(2,1,1);\n"),
              Line(6, "): Time of colorkey must lie between 0 and 1 - skipping command.") +
                  Line(6, "): Time of alphakey must lie between 0 and 1 - skipping command.") +
                  Line(6, "): Time of sizekey must lie between 0 and 1 - skipping command."));
    ASSERT_EQ(script.Containers.size(), 1u);
    const TParticleLifeCurves& life = script.Containers[0].Life;
    ASSERT_EQ(life.ColorKeys.size(), 4u);
    EXPECT_EQ(life.ColorKeys[0].Time, 0.0f);
    EXPECT_EQ(life.ColorKeys[0].Color.x, 1.0f);
    // Equal times keep the order the script gave them.
    EXPECT_EQ(life.ColorKeys[1].Time, 0.5f);
    EXPECT_EQ(life.ColorKeys[1].Color.y, 1.0f);
    EXPECT_EQ(life.ColorKeys[2].Time, 0.5f);
    EXPECT_EQ(life.ColorKeys[2].Color.y, 0.5f);
    EXPECT_EQ(life.ColorKeys[3].Time, 1.0f);
    ASSERT_EQ(life.AlphaKeys.size(), 1u);
    EXPECT_EQ(life.AlphaKeys[0].Alpha, 0.75f);
    ASSERT_EQ(life.SizeKeys.size(), 3u);
    EXPECT_EQ(life.SizeKeys[0].Time, 0.1f);
    EXPECT_EQ(life.SizeKeys[1].Width, 1.0f);
    EXPECT_EQ(life.SizeKeys[2].Height, 4.0f);
}

TEST_F(EffectCommands, BadKeysStoreNothingAndReportEveryProblem) {
    TParticleScript script;
    EXPECT_EQ(Problems(script, "colorkey(0,1,1,1);\n" + TypeWithAtlas +
                                   "colorkey(0,1,1);colorkey(x,1,y,1);colorkey(0,2,0,0);\n"
                                   "alphakey(0,1.5);sizekey(0,-1,1);sizekey(0,1,1e39);\n"
                                   "alphakey(0.5,1);mass(2);\n"),
              Line(1, "): No particle type has been set yet.") + Line(4, "): Wrong parameter count.") +
                  Line(4, "): \"x\" is not a valid floating point value.") +
                  Line(4, "): \"y\" is not a valid floating point value.") +
                  Line(4, "): Colour of colorkey must lie between 0 and 1 - skipping command.") +
                  Line(5, "): Opacity of alphakey must lie between 0 and 1 - skipping command.") +
                  Line(5, "): Size of sizekey must be a finite number of at least 0 - skipping command.") +
                  Line(5, "): Size of sizekey must be a finite number of at least 0 - skipping command."));
    const TParticleLifeCurves& life = script.Containers[0].Life;
    EXPECT_TRUE(life.ColorKeys.empty());
    EXPECT_TRUE(life.SizeKeys.empty());
    ASSERT_EQ(life.AlphaKeys.size(), 1u); // the last line's key, and the command after it ran
    EXPECT_EQ(script.Values[0].Mass, 2.0f);
}

TEST_F(EffectCommands, KeyListsAreCapped) {
    std::string many = TypeWithAtlas;
    for (int i = 0; i <= MaxScriptLifeKeys; ++i)
        many += "alphakey(0.5,1);";
    TParticleScript script;
    EXPECT_EQ(Problems(script, many + "\n"),
              Line(3, "): Too many alphakey commands for particle type 0 (at most " +
                          std::to_string(MaxScriptLifeKeys) + ") - skipping command."));
    EXPECT_EQ(script.Containers[0].Life.AlphaKeys.size(), std::size_t(MaxScriptLifeKeys));
}

TEST_F(EffectCommands, FlipbookMustFitTheTypesAtlas) {
    TParticleScript script;
    EXPECT_EQ(
        Problems(script, "setnewparticletype();flipbook(0,2,1);\n"
                         "textureproperties(2,4);flipbook(6,3,1);flipbook(-1,2,1);flipbook(0,0,1);\n"
                         "flipbook(0,2,0);flipbook(1.5,2,1);flipbook(6,2,2.5);\n"),
        Line(1, "): Particle type 0 has no atlas yet (textureproperties comes first) - skipping command.") +
            Line(2, "): Flipbook tiles 6 to 8 lie outside the atlas of particle type 0 (tiles 0 to 7) - "
                    "skipping command.") +
            Line(2, "): Flipbook tiles -1 to 0 lie outside the atlas of particle type 0 (tiles 0 to 7) - "
                    "skipping command.") +
            Line(2, "): Tile count of flipbook must lie between 1 and 65536 - skipping command.") +
            Line(3, "): Cycles of flipbook must be above 0 and at most 10000 - skipping command.") +
            Line(3, "): \"1.5\" is not a valid integer value."));
    const TFlipbook& flipbook = script.Containers[0].Life.Flipbook;
    EXPECT_EQ(flipbook.FirstTile, 6);
    EXPECT_EQ(flipbook.TileCount, 2);
    EXPECT_EQ(flipbook.Cycles, 2.5f);

    // A later atlas that still holds the tiles keeps the flipbook; a smaller one drops it.
    TParticleScript later;
    EXPECT_EQ(Problems(later, TypeWithAtlas + "flipbook(4,4,1);\ntextureproperties(4,4);\n"
                                              "textureproperties(1,4);textureproperties(0,1);\n"),
              Line(5,
                   "): The flipbook of particle type 0 (tiles 4 to 7) no longer fits its atlas (tiles 0 to "
                   "3) - flipbook dropped.") +
                  Line(5, "): Parameters of TextureProperties mustn't be 0 - skipping command."));
    EXPECT_EQ(later.Containers[0].Life.Flipbook.TileCount, 0);
}

TEST_F(EffectCommands, BurstsInTheirTwoFormsAndTheirRefusals) {
    TParticleScript script;
    EXPECT_EQ(Problems(script, TypeWithAtlas + "burst(0,50);burst(1.5,10,0.25,3);burst(2,5,0,0);\n"
                                               "burst(0,50,1);burst(-1,5);burst(0,0);burst(0,5,0,2);\n"
                                               "burst(0,5,1,-1);burst(0,2.5);\n"),
              Line(4, "): Wrong parameter count.") +
                  Line(4, "): Time of burst must lie between 0 and 1000000 - skipping command.") +
                  Line(4, "): Count of burst must lie between 1 and 1000000 - skipping command.") +
                  Line(4, "): Interval of burst must be above 0 and at most 1000000 - skipping command.") +
                  Line(5, "): Repeats of burst must lie between 0 and 1000000 - skipping command.") +
                  Line(5, "): \"2.5\" is not a valid integer value."));
    const std::vector<TScriptBurst>& bursts = script.Emission[0].Bursts;
    ASSERT_EQ(bursts.size(), 3u);
    EXPECT_EQ(bursts[0].Time, 0.0f);
    EXPECT_EQ(bursts[0].Count, 50);
    EXPECT_EQ(bursts[0].Repeats, 0);
    EXPECT_EQ(bursts[1].Time, 1.5f);
    EXPECT_EQ(bursts[1].Interval, 0.25f);
    EXPECT_EQ(bursts[1].Repeats, 3);
    EXPECT_EQ(bursts[2].Repeats, 0);

    std::string many = TypeWithAtlas;
    for (int i = 0; i <= MaxScriptBursts; ++i)
        many += "burst(1,1);";
    TParticleScript capped;
    EXPECT_EQ(Problems(capped, many + "\n"),
              Line(3, "): Too many burst commands for particle type 0 (at most " +
                          std::to_string(MaxScriptBursts) + ") - skipping command."));
}

TEST_F(EffectCommands, ShapesAndOutwardTheLastShapeWins) {
    TParticleScript script;
    EXPECT_EQ(Problems(script, TypeWithAtlas + "sphere(2);outward(-3.5);\n" +
                                   "setnewparticletype();ring(1);"
                                   "disc(0.5);shell(-1);ring(1e39);\n"),
              Line(4, "): Radius of shell must be a finite number of at least 0 - skipping command.") +
                  Line(4, "): Radius of ring must be a finite number of at least 0 - skipping command."));
    EXPECT_EQ(script.Emission[0].Emitter.Shape, TEmitterShape::Sphere);
    EXPECT_EQ(script.Emission[0].Emitter.Radius, 2.0f);
    EXPECT_EQ(script.Emission[0].Emitter.OutwardSpeed, -3.5f);
    EXPECT_EQ(script.Emission[1].Emitter.Shape, TEmitterShape::Disc);
    EXPECT_EQ(script.Emission[1].Emitter.Radius, 0.5f);
    EXPECT_EQ(script.Emission[1].Emitter.OutwardSpeed, 0.0f);
}

TEST_F(EffectCommands, SubEmittersMayNameLaterTypesButNotMissingOnes) {
    TParticleScript script;
    const std::string log = Load(script, "loadtexture('tex.tga');\n" + TypeWithAtlas +
                                             "ondeath(1,2);onbounce(0,3);ondeath(7,1);\n"
                                             "ondeath(-1,1);ondeath(1,0);onbounce(1,1001);\n"
                                             "setnewparticletype();textureproperties(1,1);\n");
    // The missing type is reported at its own line, after the lines read before it was known.
    EXPECT_NE(
        log.find(Line(4, "): Particle type of ondeath must not be negative - skipping command.") +
                 Line(4, "): Count of ondeath must lie between 1 and 1000 - skipping command.") +
                 Line(4, "): Count of onbounce must lie between 1 and 1000 - skipping command.") +
                 Line(3, "): Particle type 7 of ondeath does not exist (the script has 2 particle types) - "
                         "skipping command.") +
                 "\r\r4 error(s) detected."),
        std::string::npos)
        << log;
    const std::vector<TScriptSubEmitter>& subs = script.Emission[0].SubEmitters;
    ASSERT_EQ(subs.size(), 2u);
    EXPECT_EQ(subs[0].Event, TScriptEvent::Death);
    EXPECT_EQ(subs[0].Type, 1);
    EXPECT_EQ(subs[0].Count, 2);
    EXPECT_EQ(subs[1].Event, TScriptEvent::Bounce);
    EXPECT_EQ(subs[1].Type, 0); // into its own type: allowed, the runtime bounds the chain
    EXPECT_TRUE(script.Emission[1].SubEmitters.empty());

    std::string many = TypeWithAtlas;
    for (int i = 0; i <= MaxScriptSubEmitters; ++i)
        many += "ondeath(0,1);";
    TParticleScript capped;
    EXPECT_EQ(Problems(capped, many + "\n"),
              Line(3, "): Too many ondeath and onbounce commands for particle type 0 (at most " +
                          std::to_string(MaxScriptSubEmitters) + ") - skipping command."));
}

TEST_F(EffectCommands, MissingSubEmitterTypeIsPlacedAtItsCommand) {
    TParticleScript script;
    const TScriptLoadReport report =
        LoadWithReport(script, "loadtexture('tex.tga');\nsetnewparticletype();textureproperties(1,1);\n"
                               "  mass(1);  onbounce(3,1);\nmass(2);\n");
    ASSERT_EQ(report.Diagnostics.size(), 1u);
    EXPECT_EQ(report.Diagnostics[0].Line, 2);
    EXPECT_EQ(report.Diagnostics[0].Column, 13);
    EXPECT_EQ(
        FormatGccDiagnostics("t.psc", report),
        "t.psc:3:13: error: Particle type 3 of onbounce does not exist (the script has 1 particle types) - "
        "skipping command.\n");
}

TEST_F(EffectCommands, PrewarmIsScriptWideAndBounded) {
    TParticleScript script;
    EXPECT_EQ(Problems(script, "prewarm(2.5);\nprewarm(61);prewarm(-1);prewarm(x);\n"),
              Line(2, "): Seconds of prewarm must lie between 0 and 60 - skipping command.") +
                  Line(2, "): Seconds of prewarm must lie between 0 and 60 - skipping command.") +
                  Line(2, "): \"x\" is not a valid floating point value."));
    EXPECT_EQ(script.Prewarm, 2.5f);
    TParticleScript zero;
    EXPECT_EQ(Problems(zero, "prewarm(60);prewarm(0);\n"), "");
    EXPECT_EQ(zero.Prewarm, 0.0f);
}

TEST_F(EffectCommands, MisspeltNewCommandsGetSuggestions) {
    EXPECT_EQ(SuggestKeyword("colourkey"), "colorkey");
    EXPECT_EQ(SuggestKeyword("onbonce"), "onbounce");
    EXPECT_EQ(SuggestKeyword("prewram"), "prewarm");
    TParticleScript script;
    const TScriptLoadReport report = LoadWithReport(script, "setnewparticletype();colourkey(0,1,0,0);\n");
    ASSERT_FALSE(report.Diagnostics.empty());
    EXPECT_EQ(FormatGccDiagnostic("t.psc", report.Diagnostics[0]),
              "t.psc:1:22: error: Unknown Command: \"colourkey(0,1,0,0);\" - skipping rest of the line. "
              "(did you mean 'colorkey'?)");
}

TEST_F(EffectCommands, AFileCannotMakeATypeHoldMoreThanTheCaps) {
    // Thousands of each command on one line: what a type holds stays at the caps, every refusal counts.
    std::string line = "setnewparticletype();textureproperties(2,4);";
    const int repeats = 3000;
    for (int i = 0; i < repeats; ++i)
        line += "colorkey(0.5,1,1,1);burst(1,5);ondeath(0,1);sizekey(1,1,1);";
    TParticleScript script;
    const TScriptLoadReport report = LoadWithReport(script, "loadtexture('tex.tga');\n" + line + "\n");
    const TParticleLifeCurves& life = script.Containers[0].Life;
    EXPECT_EQ(life.ColorKeys.size(), std::size_t(MaxScriptLifeKeys));
    EXPECT_EQ(life.SizeKeys.size(), std::size_t(MaxScriptLifeKeys));
    EXPECT_EQ(script.Emission[0].Bursts.size(), std::size_t(MaxScriptBursts));
    EXPECT_EQ(script.Emission[0].SubEmitters.size(), std::size_t(MaxScriptSubEmitters));
    EXPECT_EQ(report.ErrorCount,
              4 * repeats - 2 * MaxScriptLifeKeys - MaxScriptBursts - MaxScriptSubEmitters);
}
