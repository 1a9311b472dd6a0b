// Scripts written to hurt the loader: very long lines, many commands, many particle types and magnet
// points, noise and unbalanced quotes and brackets. Each loads in bounded time and memory, and the
// limits are reported in the log's own style.

#include "script/particle_script.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace lumidor;
using lumidor::test::ScriptFixture;

namespace {

std::string Repeat(const std::string& text, std::size_t times) {
    std::string out;
    out.reserve(text.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += text;
    return out;
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

std::string NoTilesLine(int type) {
    return "Critical Error: TextureProperties was not called for particle type " + std::to_string(type) +
           ". Executing the script may cause an acces violation\r";
}

} // namespace

using HostileScripts = ScriptFixture;

TEST_F(HostileScripts, LongLinesLoadInLinearTime) {
    // 2.4 MB on one line: a loader that copies the rest of the line per command needs half a minute.
    const std::size_t commands = 300'000;
    TParticleScript script;
    const auto start = std::chrono::steady_clock::now();
    const std::string log =
        Load(script, "loadtexture('tex.tga');setnewparticletype();textureproperties(1,1);" +
                         Repeat("mass(1.5);", commands) + "\n" + Repeat("size(1,x);", commands / 2));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
#if defined(__SANITIZE_ADDRESS__)
    const double bound = 60.0; // the sanitizers slow every byte down, not the growth
#else
    const double bound = 20.0;
#endif
    EXPECT_LT(seconds, bound) << "loading time grows faster than the line";
    ASSERT_EQ(script.Containers.size(), 1u);
    EXPECT_EQ(script.Values[0].Mass, 1.5f);
    EXPECT_EQ(Count(log, "Error (Line 1): \"x\" is not a valid floating point value.\r"), commands / 2);
    EXPECT_TRUE(log.ends_with("\r\r" + std::to_string(commands / 2) + " error(s) detected."));
}

TEST_F(HostileScripts, ParticleTypesAndMagnetPointsHaveLimits) {
    TParticleScript script;
    std::string log = Load(script, Repeat("setnewparticletype();\n", MaxScriptParticleTypes + 2));
    EXPECT_EQ(script.Containers.size(), std::size_t(MaxScriptParticleTypes));
    EXPECT_EQ(script.Values.size(), std::size_t(MaxScriptParticleTypes));
    const std::string refused = "): Too many particle types (at most " +
                                std::to_string(MaxScriptParticleTypes) + ") - skipping command.\r";
    EXPECT_NE(log.find("Error (Line " + std::to_string(MaxScriptParticleTypes) + refused), std::string::npos);
    EXPECT_NE(log.find("Error (Line " + std::to_string(MaxScriptParticleTypes + 1) + refused),
              std::string::npos);
    EXPECT_EQ(Count(log, "Too many particle types"), 2u);

    // Every point goes to all 64 types: 1024 points fill the 65536 records; the next is refused and the
    // commands after it still address the last point that was added.
    const int points = MaxScriptMagnetRecords / MaxScriptParticleTypes;
    log =
        Load(script, Repeat("setnewmagnetpoint();\n", std::size_t(points) + 1) + "gravity(2.5);\nmode(x);\n");
    for (const TParticleEffectContainer& container : script.Containers) {
        ASSERT_EQ(container.MagnetPoints.size(), std::size_t(points));
        EXPECT_EQ(container.MagnetPoints.back().Gravity, 2.5f);
        EXPECT_EQ(container.MagnetPoints.front().Gravity, 0.0f);
    }
    EXPECT_NE(log.find("Error (Line " + std::to_string(points) + "): Too many magnet points (at most " +
                       std::to_string(MaxScriptMagnetRecords) +
                       " over all particle types) - skipping command.\r"),
              std::string::npos);
    // One integer error per type, as for any script.
    EXPECT_EQ(Count(log, "): \"x\" is not a valid integer value.\r"), std::size_t(MaxScriptParticleTypes));
}

TEST_F(HostileScripts, MagnetCommandsReachTheSamePointsAsTheEngineSearch) {
    // Types created between points hold fewer of them: the current point is the last type's newest,
    // which in the older types is an earlier point (the engine's SetMagnet... by Id).
    TParticleScript script;
    Load(script, "setnewparticletype();setnewmagnetpoint();setnewmagnetpoint();\n"
                 "setnewparticletype();setnewmagnetpoint();\nradius(3);mposition(1,2,3);mode(2);\n");
    ASSERT_EQ(script.Containers.size(), 2u);
    const std::vector<TMagnetPoint>& first = script.Containers[0].MagnetPoints;
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0].Radius, 3.0f);
    EXPECT_EQ(first[0].Mode, 2);
    EXPECT_EQ(first[0].Position.z, 3.0f);
    EXPECT_EQ(first[2].Radius, 0.0f);
    EXPECT_EQ(first[2].Mode, 1);
    EXPECT_EQ(script.Containers[1].MagnetPoints[0].Radius, 3.0f);

    // A host that removed a point (ids no longer match indices) gets the engine's newest-holder rule:
    // in the first type no point holds Id 0 any more, so nothing there changes.
    RemoveMagnetPoint(script.Containers[0], 0);                   // Ids 2, 1
    AddMagnetPoint(script.Containers[0], TVector3{}, 0.0f, 0.0f); // Ids 2, 1, 2
    Load(script, "setnewparticletype();setnewmagnetpoint();gravity(7);\n");
    ASSERT_EQ(script.Containers.size(), 3u);
    for (const TMagnetPoint& point : script.Containers[0].MagnetPoints)
        EXPECT_EQ(point.Gravity, 0.0f) << point.Id;
    EXPECT_EQ(script.Containers[1].MagnetPoints[0].Gravity, 7.0f);
    EXPECT_EQ(script.Containers[2].MagnetPoints[0].Gravity, 7.0f);
}

TEST_F(HostileScripts, NoiseAndUnbalancedTextGiveBoundedLogs) {
    // A line per byte value (no NUL, which ends the text), then unbalanced quotes and brackets.
    std::string noise;
    for (int round = 0; round < 200; ++round)
        for (int c = 1; c < 256; ++c)
            noise += char((c * 37 + round) % 255 + 1);
    const std::string unbalanced = "loadtexture('a;velocity([1,2],[3,4" + Repeat("(", 100'000) + "\n'" +
                                   Repeat("[", 100'000) + "\nsize(1,2" + Repeat(")", 100'000) +
                                   "\nmass(1);'''''\n" + Repeat("'", 100'001) + "\n";
    TParticleScript script;
    const std::string log = Load(script, noise + "\n" + unbalanced);
    EXPECT_TRUE(log.find("error(s) detected.") != std::string::npos);
    EXPECT_TRUE(script.Containers.empty());

    // A bad magnet value is quoted once per particle type, so a small file can ask for a huge log.
    // Past MaxScriptLogBytes the errors are counted only, and one line says so.
    const std::string junk(64 * 1024, 'z');
    const std::size_t lines = 20; // 20 x 64 types x 64 KiB: 80 MiB of messages
    TParticleScript flood;
    const std::string big =
        Load(flood, Repeat("setnewparticletype();\n", std::size_t(MaxScriptParticleTypes)) +
                        "setnewmagnetpoint();\n" + Repeat("gravity(" + junk + ");\n", lines));
    EXPECT_LE(big.size(), MaxScriptLogBytes + 65536);
    EXPECT_EQ(
        Count(big, "): The debugger log has reached 64 MiB - further errors are counted but not listed.\r"),
        1u);
    const std::size_t errors =
        lines * MaxScriptParticleTypes + 1 + MaxScriptParticleTypes; // + the end checks
    EXPECT_TRUE(big.ends_with(NoTilesLine(MaxScriptParticleTypes - 1) + "\r" + std::to_string(errors) +
                              " error(s) detected."));
}
