// lumidor-psc --simulate run as a program, and the particle hash it prints checked against the bytes
// the README gives, so that another host can compute the same line.

#include "psc_run.h"
#include "script/script_hash.h"

#include <bit>
#include <functional>
#include <regex>
#include <vector>

namespace {

using lumidor::TParticle;
using TTypes = std::vector<std::vector<TParticle>>;
const std::string Data = std::string(LUMIDOR_SOURCE_DIR) + "/data";
const std::regex LineForm("t=[0-9.]+ steps=[0-9]+ particles=[0-9]+ hash=[0-9a-f]{16}\n");

// The README's definition written out again: FNV-1a 64 over the listed fields, little-endian.
std::uint64_t ReferenceHash(const TTypes& types) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    const auto put = [&h](std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            h = (h ^ ((value >> (8 * i)) & 0xff)) * 0x100000001b3ull;
    };
    for (const auto& type : types) {
        put(type.size(), 8);
        for (const TParticle& p : type) {
            put(std::uint32_t(p.Tile), 4);
            for (const lumidor::TVector3& v : {p.Position, p.MagnetImpulse, p.Force, p.Velocity, p.Inertia,
                                               p.Enlargement, p.Size, p.Color, p.MagnetForce})
                for (float f : {v.x, v.y, v.z})
                    put(std::bit_cast<std::uint32_t>(f), 4);
            for (float f : {p.Mass, p.LifeLength, p.LifeLeft, p.Alpha, p.FadeInAlpha, p.FadeOutAlpha,
                            p.BeginFadeOut, p.EndFadeIn, p.AirResistance})
                put(std::bit_cast<std::uint32_t>(f), 4);
            put(p.FadeOut, 1);
            put(p.FadeIn, 1);
        }
    }
    return h;
}

std::string HashOf(const TRun& run) {
    return run.Out.substr(std::min(run.Out.find("hash="), run.Out.size()));
}

std::uint64_t Hash(const TTypes& types) {
    std::vector<lumidor::TParticleEffectContainer> containers(types.size());
    for (std::size_t t = 0; t < types.size(); ++t)
        for (const TParticle& p : types[t])
            containers[t].Particles.push_back(p);
    return lumidor::HashParticleTypes(containers);
}

} // namespace

TEST(ParticleHash, EveryHashedFieldAndTheOrderMatter) {
    TParticle a, b;
    a.Position = {1, 2, 3};
    b.Tile = -2;
    b.Velocity = {-1, 0.5f, 7};
    const TTypes base = {{a, b}, {}};
    ASSERT_EQ(Hash(base), ReferenceHash(base));
    // clang-format off
    const std::vector<std::function<void(TParticle&)>> changes = {
        [](auto& p) { p.Tile = 1; },             [](auto& p) { p.Position.z = 9; },
        [](auto& p) { p.MagnetImpulse.x = 1; },  [](auto& p) { p.Force.y = 1; },
        [](auto& p) { p.Velocity.x = -0.0f; },   [](auto& p) { p.Inertia.z = 2; },
        [](auto& p) { p.Enlargement.y = 1; },    [](auto& p) { p.Size.z = 1; },
        [](auto& p) { p.Color.y = 1e-38f; },     [](auto& p) { p.MagnetForce.x = 1; },
        [](auto& p) { p.Mass = 2; },             [](auto& p) { p.LifeLength = 3; },
        [](auto& p) { p.LifeLeft = 1; },         [](auto& p) { p.Alpha = 0.5f; },
        [](auto& p) { p.FadeInAlpha = 0.5f; },   [](auto& p) { p.FadeOutAlpha = 0.5f; },
        [](auto& p) { p.BeginFadeOut = 0.5f; },  [](auto& p) { p.EndFadeIn = 0.5f; },
        [](auto& p) { p.AirResistance = 1; },    [](auto& p) { p.FadeOut = false; },
        [](auto& p) { p.FadeIn = false; }};
    // clang-format on
    for (std::size_t k = 0; k < changes.size(); ++k) {
        TTypes changed = base;
        changes[k](changed[0][k % 2]);
        EXPECT_NE(Hash(changed), Hash(base)) << "change " << k;
        EXPECT_EQ(Hash(changed), ReferenceHash(changed)) << "change " << k;
    }
    TTypes debug = base; // only the debug view writes DebugTip: not part of the state
    debug[0][1].DebugTip = {9, 9, 9};
    EXPECT_EQ(Hash(debug), Hash(base));
    for (const TTypes& moved : {TTypes{{b, a}, {}}, TTypes{{a}, {b}}, TTypes{{a, b}}, TTypes{{}, {a, b}}})
        EXPECT_NE(Hash(moved), Hash(base));
    EXPECT_EQ(lumidor::SimulationLine(31, {}),
              "t=0.5166666666666667 steps=31 particles=0 hash=cbf29ce484222325");
}

TEST_F(Psc, SimulateLineNamesTheNearestStepAndReportsProblemsOnStandardError) {
    Write("s.psc", "continiuous(1);setnewparticletype();particlecount(3);lifelength(0,1e4);\n  sise(1);\n");
    const std::vector<std::pair<std::string, std::string>> times = {
        {"0", "t=0 steps=0 particles=0 "},
        {"0.0083", "t=0 steps=0 particles=0 "},
        {"1e1", "t=10 steps=600 particles=3 "},
        {"--format=log --simulate=2.5", "t=2.5 steps=150 particles=3 "},
        {"3600", "t=3600 steps=216000 particles=3 "}};
    for (const auto& [seconds, start] : times) {
        const TRun run = RunPsc(dir, (seconds.starts_with("-") ? "" : "--simulate ") + seconds + " s.psc");
        EXPECT_EQ(run.Status, 0) << seconds;
        EXPECT_TRUE(std::regex_match(run.Out, LineForm) && run.Out.starts_with(start)) << run.Out;
        EXPECT_TRUE(run.Err.starts_with(
            "s.psc:2:3: error: Unknown Command: \"sise(1);\" - skipping rest of "
            "the line. (did you mean 'size'?)\ns.psc: error: the script loads no texture"))
            << run.Err;
    }
}

TEST(PscSimulate, SeekAndFramesAgreeAndSeedAndTimeChangeTheLine) {
    for (const char* script :
         {"ParticleScript1", "ParticleScript2", "ParticleScript3", "examples/campfire", "examples/explosion",
          "examples/firework", "examples/fountain", "examples/spell", "examples/smoke"}) {
        const std::string file = "scripts/" + std::string(script) + ".psc";
        for (const char* seconds : {"0", "0.016666666666666666", "0.51", "2.5", "33.4"}) {
            if (seconds == std::string("33.4") && file.find("campfire") == std::string::npos) continue;
            for (const char* seed : {"0", "18446744073709551615"}) {
                const std::string arguments =
                    std::string("--simulate ") + seconds + " --seed " + seed + " " + file;
                const TRun seek = RunPsc(Data, arguments);
                EXPECT_TRUE(std::regex_match(seek.Out, LineForm) && seek.Err.empty())
                    << arguments << seek.Err;
                EXPECT_EQ(seek.Out, RunPsc(Data, "--step-by-step " + arguments).Out) << arguments;
            }
        }
        const TRun at1 = RunPsc(Data, "--simulate 1 " + file);
        EXPECT_EQ(at1.Out, RunPsc(LUMIDOR_SOURCE_DIR, "--simulate 1 --seed 0 --root data data/" + file).Out);
        EXPECT_EQ(HashOf(at1).size(), 22u) << at1.Out;
        EXPECT_NE(HashOf(at1), HashOf(RunPsc(Data, "--simulate 1 --seed 1 " + file))) << file;
        EXPECT_NE(HashOf(at1), HashOf(RunPsc(Data, "--simulate 1.0166 " + file))) << file;
    }
}

TEST_F(Psc, SimulateUsageErrorsAndUnreadableFiles) {
    Write("s.psc", "setnewparticletype();\n");
    // clang-format off
    for (const char* arguments : {
             "--simulate", "--simulate abc s.psc", "--simulate -1 s.psc", "--simulate +1 s.psc",
             "--simulate 3600.01 s.psc", "--simulate 1e400 s.psc", "--simulate nan s.psc", "--simulate inf s.psc",
             "--simulate 2s s.psc", "'--simulate= 2' s.psc", "--simulate 1 --seed -1 s.psc",
             "--simulate 1 --seed 18446744073709551616 s.psc", "--simulate 1 --seed 0x10 s.psc",
             "--simulate 1 s.psc --seed", "--seed 1 s.psc", "--step-by-step s.psc", "--simulate 1 --dump s.psc",
             "--simulate 1 --raw s.psc", "--simulate 1 s.psc s.psc", "--simulate 1 --steps s.psc", "--simulate 1"}) {
        // clang-format on
        const TRun run = RunPsc(dir, arguments);
        EXPECT_EQ(run.Status, 2) << arguments;
        EXPECT_TRUE(run.Out.empty() && run.Err.starts_with("lumidor-psc: ")) << arguments << run.Out;
    }
    EXPECT_NE(RunPsc(dir, "--simulate 2s s.psc").Err.find("\"2s\" is not a number of seconds from 0 to 3600"),
              std::string::npos);
    EXPECT_EQ(RunPsc(dir, "--simulate 1 --seed 18446744073709551615 s.psc").Status, 0);
    std::filesystem::create_directory(dir / "folder");
    for (const char* file : {"none.psc", "folder"}) {
        const TRun run = RunPsc(dir, std::string("--simulate 1 --step-by-step ") + file);
        EXPECT_EQ(run.Status, 1) << file;
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, std::string(file) + ": error: File not Found: \"" + file + "\"\n");
    }
}
