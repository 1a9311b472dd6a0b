// lumidor-psc --simulate run as a program (its line, the two ways of running agreeing, seeds and
// times, usage errors, problems on standard error), and the particle hash checked against the byte
// layout the README gives, so another host can compute the same line.

#include "psc_run.h"
#include "script/script_hash.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <regex>
#include <string>
#include <vector>

namespace {

const std::string Data = std::string(LUMIDOR_SOURCE_DIR) + "/data";
const std::regex LineForm("t=([0-9.]+) steps=([0-9]+) particles=([0-9]+) hash=([0-9a-f]{16})\n");

std::string HashOf(const TRun& run) {
    std::smatch match;
    return std::regex_match(run.Out, match, LineForm) ? match[4].str() : "no line: " + run.Out + run.Err;
}

// The README's definition, written out again: FNV-1a 64 over little-endian bytes.
struct TReferenceHash {
    std::uint64_t Value = 0xcbf29ce484222325ull;
    void Bytes(const void* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i)
            Value = (Value ^ static_cast<const unsigned char*>(data)[i]) * 0x100000001b3ull;
    }
    void Word(std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const unsigned char byte = static_cast<unsigned char>(value >> (8 * i));
            Bytes(&byte, 1);
        }
    }
    void Floats(std::initializer_list<float> values) {
        for (float v : values)
            Word(std::bit_cast<std::uint32_t>(v), 4);
    }
};

std::uint64_t ReferenceHash(const std::vector<std::vector<lumidor::TParticle>>& types) {
    TReferenceHash h;
    for (const auto& type : types) {
        h.Word(type.size(), 8);
        for (const lumidor::TParticle& p : type) {
            h.Word(std::uint32_t(p.Tile), 4);
            for (const lumidor::TVector3& v : {p.Position, p.MagnetImpulse, p.Force, p.Velocity, p.Inertia,
                                               p.Enlargement, p.Size, p.Color, p.MagnetForce})
                h.Floats({v.x, v.y, v.z});
            h.Floats({p.Mass, p.LifeLength, p.LifeLeft, p.Alpha, p.FadeInAlpha, p.FadeOutAlpha,
                      p.BeginFadeOut, p.EndFadeIn, p.AirResistance});
            h.Word(p.FadeOut, 1);
            h.Word(p.FadeIn, 1);
        }
    }
    return h.Value;
}

std::vector<lumidor::TParticleEffectContainer>
Containers(const std::vector<std::vector<lumidor::TParticle>>& types) {
    std::vector<lumidor::TParticleEffectContainer> containers(types.size());
    for (std::size_t t = 0; t < types.size(); ++t)
        for (const lumidor::TParticle& p : types[t])
            containers[t].Particles.push_back(p);
    return containers;
}

lumidor::TParticle SampleParticle(float seed) {
    lumidor::TParticle p;
    p.Tile = 3;
    p.Position = {seed, 2, 3};
    p.Velocity = {-1, 0.5f, 7};
    p.Size = {0.25f, 0.5f, 0};
    p.Color = {1, 0.5f, 0.25f};
    p.LifeLength = 2;
    p.LifeLeft = 1.5f;
    p.Alpha = 0.75f;
    return p;
}

} // namespace

TEST(ParticleHash, IsFnv1aOverTheDocumentedBytes) {
    TReferenceHash empty, a, foobar;
    a.Bytes("a", 1);
    foobar.Bytes("foobar", 6);
    ASSERT_EQ(empty.Value, lumidor::ParticleHashBasis);
    ASSERT_EQ(a.Value, 0xaf63dc4c8601ec8cull); // the published FNV-1a 64 test vectors
    ASSERT_EQ(foobar.Value, 0x85944171f73967e8ull);

    lumidor::TParticle odd = SampleParticle(-0.0f);
    odd.Tile = -2;
    odd.FadeIn = false;
    odd.MagnetForce = {1e-30f, -3, 4};
    const std::vector<std::vector<std::vector<lumidor::TParticle>>> cases = {
        {}, {{}}, {{}, {}}, {{SampleParticle(1)}}, {{SampleParticle(1), odd}, {}, {SampleParticle(5)}}};
    for (const auto& types : cases)
        EXPECT_EQ(lumidor::HashParticleTypes(Containers(types)), ReferenceHash(types)) << types.size();
}

TEST(ParticleHash, EveryHashedFieldAndTheOrderMatter) {
    using TChange = std::function<void(lumidor::TParticle&)>;
    const std::vector<std::pair<const char*, TChange>> changes = {
        {"Tile", [](auto& p) { p.Tile += 1; }},
        {"Position", [](auto& p) { p.Position.z += 1; }},
        {"MagnetImpulse", [](auto& p) { p.MagnetImpulse.x = 1e-3f; }},
        {"Force", [](auto& p) { p.Force.y = 1; }},
        {"Velocity", [](auto& p) { p.Velocity.x = -0.0f - p.Velocity.x; }},
        {"Inertia", [](auto& p) { p.Inertia.z = 2; }},
        {"Enlargement", [](auto& p) { p.Enlargement.y = 1; }},
        {"Size", [](auto& p) { p.Size.z = 1; }},
        {"Color", [](auto& p) { p.Color.y = 0.5f + 1e-7f; }},
        {"MagnetForce", [](auto& p) { p.MagnetForce.x = 1; }},
        {"Mass", [](auto& p) { p.Mass = 2; }},
        {"LifeLength", [](auto& p) { p.LifeLength = 3; }},
        {"LifeLeft", [](auto& p) { p.LifeLeft = 1; }},
        {"Alpha", [](auto& p) { p.Alpha = 0.5f; }},
        {"FadeInAlpha", [](auto& p) { p.FadeInAlpha = 0.5f; }},
        {"FadeOutAlpha", [](auto& p) { p.FadeOutAlpha = 0.5f; }},
        {"BeginFadeOut", [](auto& p) { p.BeginFadeOut = 0.5f; }},
        {"EndFadeIn", [](auto& p) { p.EndFadeIn = 0.5f; }},
        {"AirResistance", [](auto& p) { p.AirResistance = 0.5f; }},
        {"FadeOut", [](auto& p) { p.FadeOut = false; }},
        {"FadeIn", [](auto& p) { p.FadeIn = false; }},
        {"-0 for 0", [](auto& p) { p.MagnetImpulse.y = -0.0f; }},
    };
    const std::vector<std::vector<lumidor::TParticle>> base = {{SampleParticle(1), SampleParticle(2)}, {}};
    const std::uint64_t baseHash = lumidor::HashParticleTypes(Containers(base));
    for (const auto& [name, change] : changes) {
        for (std::size_t i = 0; i < 2; ++i) {
            auto changed = base;
            change(changed[0][i]);
            EXPECT_NE(lumidor::HashParticleTypes(Containers(changed)), baseHash)
                << name << " of particle " << i;
        }
    }
    // Only the debug view writes DebugTip, so it is not part of the state.
    auto debug = base;
    debug[0][1].DebugTip = {9, 9, 9};
    EXPECT_EQ(lumidor::HashParticleTypes(Containers(debug)), baseHash);

    const std::vector<std::vector<std::vector<lumidor::TParticle>>> rearranged = {
        {{SampleParticle(2), SampleParticle(1)}, {}}, // swapped
        {{SampleParticle(1)}, {SampleParticle(2)}},   // moved to the next type
        {{SampleParticle(1), SampleParticle(2)}},     // a type fewer
        {{}, {SampleParticle(1), SampleParticle(2)}}, // types swapped
    };
    for (const auto& types : rearranged)
        EXPECT_NE(lumidor::HashParticleTypes(Containers(types)), baseHash);
}

TEST(ParticleHash, LineShowsTimeCountAndHash) {
    const std::vector<std::pair<std::int64_t, std::string>> times = {
        {0, "0"}, {1, "0.016666666666666666"}, {31, "0.5166666666666667"}, {150, "2.5"}, {216000, "3600"}};
    for (const auto& [steps, text] : times)
        EXPECT_EQ(lumidor::FormatStepSeconds(steps), text);
    const std::vector<std::vector<lumidor::TParticle>> types = {{SampleParticle(1)}, {}, {SampleParticle(2)}};
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(ReferenceHash(types)));
    EXPECT_EQ(lumidor::SimulationLine(150, Containers(types)),
              std::string("t=2.5 steps=150 particles=2 hash=") + hash);
    EXPECT_EQ(lumidor::SimulationLine(0, {}), "t=0 steps=0 particles=0 hash=cbf29ce484222325");
}

TEST_F(Psc, SimulateLineNamesTheNearestStep) {
    Write("s.psc", "continiuous(1);setnewparticletype();particlecount(3);lifelength(0,10000);velocity([1,0],["
                   "0,0],[0,0]);\n");
    const std::vector<std::pair<std::string, std::string>> times = {
        {"0", "t=0 steps=0 particles=0 "},
        {"0.0083", "t=0 steps=0 particles=0 "},
        {"0.0084", "t=0.016666666666666666 steps=1 particles=3 "},
        {"0.51", "t=0.5166666666666667 steps=31 particles=3 "},
        {"2.5", "t=2.5 steps=150 particles=3 "},
        {"1e1", "t=10 steps=600 particles=3 "},
        {"--simulate=33.4", "t=33.4 steps=2004 particles=3 "},
        {"3600", "t=3600 steps=216000 particles=3 "},
    };
    for (const auto& [seconds, start] : times) {
        const std::string option = seconds.starts_with("--") ? seconds : "--simulate " + seconds;
        const TRun run = RunPsc(dir, option + " s.psc");
        EXPECT_EQ(run.Status, 0) << seconds << run.Err;
        EXPECT_TRUE(std::regex_match(run.Out, LineForm)) << run.Out;
        EXPECT_TRUE(run.Out.starts_with(start)) << seconds << ": " << run.Out;
    }
}

TEST(PscSimulate, SeekAndStepByStepAgreeOnTheDemoScripts) {
    const std::vector<std::string> scripts = {
        "scripts/ParticleScript1.psc",   "scripts/ParticleScript2.psc",    "scripts/ParticleScript3.psc",
        "scripts/examples/campfire.psc", "scripts/examples/explosion.psc", "scripts/examples/firework.psc"};
    const std::vector<std::string> times = {"0", "0.016666666666666666", "0.51", "2.5"};
    const std::vector<std::string> seeds = {"0", "18446744073709551615"};
    for (const std::string& script : scripts) {
        std::vector<std::string> scriptTimes = times;
        if (script.find("campfire") != std::string::npos) scriptTimes.push_back("33.4");
        for (const std::string& time : scriptTimes) {
            for (const std::string& seed : seeds) {
                const std::string arguments = "--simulate " + time + " --seed " + seed + " " + script;
                const TRun seek = RunPsc(Data, arguments);
                const TRun steps = RunPsc(Data, "--step-by-step " + arguments);
                EXPECT_EQ(seek.Status, 0) << arguments << seek.Err;
                EXPECT_EQ(seek.Err, "") << arguments;
                EXPECT_TRUE(std::regex_match(seek.Out, LineForm)) << arguments << ": " << seek.Out;
                EXPECT_EQ(seek.Out, steps.Out) << arguments;
            }
        }
    }
    // The default seed is 0, and the root only says where textures are read.
    const TRun rooted =
        RunPsc(LUMIDOR_SOURCE_DIR, "--simulate 1 --root data data/scripts/ParticleScript1.psc");
    EXPECT_EQ(rooted.Err, "");
    EXPECT_EQ(rooted.Out, RunPsc(Data, "--simulate 1 --seed 0 scripts/ParticleScript1.psc").Out);
}

TEST(PscSimulate, SeedAndTimeChangeTheHash) {
    const std::vector<std::string> scripts = {"scripts/ParticleScript1.psc", "scripts/ParticleScript3.psc",
                                              "scripts/examples/campfire.psc",
                                              "scripts/examples/firework.psc"};
    for (const std::string& script : scripts) {
        const std::string at1 = HashOf(RunPsc(Data, "--simulate 1 " + script));
        EXPECT_EQ(at1.size(), 16u) << at1;
        EXPECT_NE(HashOf(RunPsc(Data, "--simulate 1 --seed 1 " + script)), at1) << script;
        EXPECT_NE(HashOf(RunPsc(Data, "--simulate 1.0166 " + script)), at1) << script;
        EXPECT_EQ(HashOf(RunPsc(Data, "--simulate 1 --seed 0 " + script)), at1) << script;
    }
}

TEST_F(Psc, SimulateUsageErrorsAndUnreadableFiles) {
    Write("s.psc", "setnewparticletype();particlecount(1);\n");
    const std::vector<std::pair<std::string, std::string>> errors = {
        {"--simulate", "--simulate needs a value"},
        {"s.psc --simulate", "--simulate needs a value"},
        {"--simulate abc s.psc", "\"abc\" is not a number of seconds from 0 to 3600"},
        {"--simulate -1 s.psc", "\"-1\" is not a number"},
        {"--simulate +1 s.psc", "\"+1\" is not a number"},
        {"--simulate 3600.01 s.psc", "\"3600.01\" is not a number"},
        {"--simulate 1e400 s.psc", "\"1e400\" is not a number"},
        {"--simulate nan s.psc", "\"nan\" is not a number"},
        {"--simulate inf s.psc", "\"inf\" is not a number"},
        {"--simulate 2s s.psc", "\"2s\" is not a number"},
        {"'--simulate= 2' s.psc", "\" 2\" is not a number"},
        {"--simulate 1 --seed -1 s.psc", "--seed: \"-1\" is not a whole number"},
        {"--simulate 1 --seed 18446744073709551616 s.psc", "is not a whole number"},
        {"--simulate 1 --seed 0x10 s.psc", "is not a whole number"},
        {"--simulate 1 --seed=1.5 s.psc", "is not a whole number"},
        {"--simulate 1 s.psc --seed", "--seed needs a value"},
        {"--seed 1 s.psc", "--seed needs --simulate"},
        {"--step-by-step s.psc", "--step-by-step needs --simulate"},
        {"--simulate 1 --dump s.psc", "--simulate and --dump cannot be combined"},
        {"--simulate 1 --raw s.psc", "--simulate and --raw cannot be combined"},
        {"--simulate 1 s.psc s.psc", "only one FILE"},
        {"--simulate 1 --steps s.psc", "unknown option --steps"},
        {"--simulate 1", "no FILE given"},
        {"--simulate 1 --format=xml s.psc", "unknown format"},
    };
    for (const auto& [arguments, message] : errors) {
        const TRun run = RunPsc(dir, arguments);
        EXPECT_EQ(run.Status, 2) << arguments;
        EXPECT_EQ(run.Out, "") << arguments;
        EXPECT_NE(run.Err.find(message), std::string::npos) << arguments << ": " << run.Err;
    }
    EXPECT_EQ(RunPsc(dir, "--simulate 1 --seed 18446744073709551615 s.psc").Status, 0);
    EXPECT_NE(RunPsc(dir, "--help").Out.find("--simulate SECONDS"), std::string::npos);

    std::filesystem::create_directory(dir / "folder");
    const std::vector<std::pair<std::string, std::string>> unreadable = {
        {"--simulate 1 none.psc", "none.psc: error: File not Found: \"none.psc\"\n"},
        {"--simulate 1 --step-by-step --name shown.psc none.psc",
         "shown.psc: error: File not Found: \"shown.psc\"\n"},
        {"--simulate 1 folder", "folder: error: File not Found: \"folder\"\n"},
    };
    for (const auto& [arguments, message] : unreadable) {
        const TRun run = RunPsc(dir, arguments);
        EXPECT_EQ(run.Status, 1) << arguments;
        EXPECT_EQ(run.Out, "") << arguments;
        EXPECT_EQ(run.Err, message) << arguments;
    }
}

TEST_F(Psc, SimulateReportsProblemsAsGccLinesAndStillPrintsTheLine) {
    Write("g.psc", "continiuous(1);setnewparticletype();\nparticlecount(2);lifelength(0,5);\n  sise(1,1);\n");
    const std::string problems = "g.psc:3:3: error: Unknown Command: \"sise(1,1);\" - skipping rest of the "
                                 "line. (did you mean 'size'?)\n"
                                 "g.psc: error: No texture loaded. TextureProperties commands will be "
                                 "skipped. Executing the script may "
                                 "cause an acces violation\n"
                                 "g.psc: error: TextureProperties was not called for particle type 0. "
                                 "Executing the script may cause an "
                                 "acces violation\n";
    for (const std::string format : {"", "--format=log ", "--format=gcc "}) {
        const TRun run = RunPsc(dir, format + "--simulate 0.5 g.psc");
        EXPECT_EQ(run.Status, 0) << format;
        EXPECT_EQ(run.Err, problems) << format;
        EXPECT_TRUE(run.Out.starts_with("t=0.5 steps=30 particles=2 hash=")) << format << run.Out;
    }
    const TRun named = RunPsc(dir, "--simulate 0.5 --name shown.psc g.psc");
    EXPECT_TRUE(named.Err.starts_with("shown.psc:3:3: error: Unknown Command")) << named.Err;
}
