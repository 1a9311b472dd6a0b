// The loader's commands of how particles look and move: every accepted form stored as written, every
// refusal with its exact line and nothing stored, the type they need, and scripts without them
// loading to the same record as before.

#include "engine/random.h"
#include "script/particle_script.h"
#include "script/script_diagnostics.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

using namespace lumidor;
using lumidor::test::ScriptFixture;

namespace {

std::string Line(int n, const std::string& text) {
    return "Error (Line " + std::to_string(n) + "): " + text + "\r";
}

std::string Skip(const std::string& what) {
    return what + " - skipping command.";
}

struct TAccepted {
    const char* Command;
    std::function<bool(const TParticleScript&)> Stored;
};

struct TRefused {
    const char* Command;
    std::string Message; ///< the log line's text after "Error (Line 2): "
};

/// The look of type 0 holds nothing but its defaults.
bool LookUntouched(const TParticleScript& script) {
    const TScriptLook& look = script.Look[0];
    return !look.Used && !look.HasRotation && !look.HasSpin && look.Stretch == 0.0f && !look.HasRate &&
           !look.HasTint && look.Turbulence.Strength == 0.0f && look.Turbulence.Scale == 1.0f &&
           look.Vortex.Speed == 0.0f && look.Vortex.Axis.y == 1.0f && look.Trail.Points == 0 &&
           !look.HasBounce && !look.DieOnGround && !look.HasShapeAxis && !look.Local && !script.HasGround;
}

} // namespace

using LookCommands = ScriptFixture;

TEST_F(LookCommands, AcceptedValuesAreStored) {
    const TAccepted cases[] = {
        {"rotation(360,-45);",
         [](const TParticleScript& s) {
             const TScriptLook& l = s.Look[0];
             return l.HasRotation && l.Rotation.Spread == 360.0f && l.Rotation.Base == -45.0f;
         }},
        {"spin(180,-90);",
         [](const TParticleScript& s) {
             return s.Look[0].HasSpin && s.Look[0].Spin.Spread == 180.0f && s.Look[0].Spin.Base == -90.0f;
         }},
        {"stretch(0.05);", [](const TParticleScript& s) { return s.Look[0].Stretch == 0.05f; }},
        {"rate(1000000);",
         [](const TParticleScript& s) { return s.Look[0].HasRate && s.Look[0].Rate == 1e6f; }},
        {"rate(0);", [](const TParticleScript& s) { return s.Look[0].HasRate && s.Look[0].Rate == 0.0f; }},
        {"tint(1,0.5,0,0,0.25,1);",
         [](const TParticleScript& s) {
             const TScriptLook& l = s.Look[0];
             return l.HasTint && l.TintFirst.y == 0.5f && l.TintFirst.z == 0.0f && l.TintSecond.y == 0.25f &&
                    l.TintSecond.z == 1.0f;
         }},
        {"turbulence(2,1.5,-0.5);",
         [](const TParticleScript& s) {
             const TTurbulence& t = s.Look[0].Turbulence;
             return t.Strength == 2.0f && t.Scale == 1.5f && t.Speed == -0.5f;
         }},
        {"vortex(0,0,2,90,-0.5);",
         [](const TParticleScript& s) {
             const TVortex& v = s.Look[0].Vortex;
             return v.Axis.z == 1.0f && v.Axis.y == 0.0f && v.Speed == 90.0f && v.Pull == -0.5f;
         }},
        {"trail(60,64,0);",
         [](const TParticleScript& s) {
             const TParticleTrail& t = s.Look[0].Trail;
             return t.Seconds == 60.0f && t.Points == 64 && t.Width == 0.0f && t.MaxParticles == 0;
         }},
        {"trail(0.5,2,0.05);", [](const TParticleScript& s) { return s.Look[0].Trail.Points == 2; }},
        {"bounce(0,1);",
         [](const TParticleScript& s) {
             return s.Look[0].HasBounce && s.Look[0].KeepY == 0.0f && s.Look[0].KeepXZ == 1.0f;
         }},
        {"dieonground(true);", [](const TParticleScript& s) { return s.Look[0].DieOnGround; }},
        {"dieonground(1);", [](const TParticleScript& s) { return s.Look[0].DieOnGround; }},
        {"shapeaxis(0,0,-3);",
         [](const TParticleScript& s) { return s.Look[0].HasShapeAxis && s.Look[0].ShapeAxis.z == -1.0f; }},
        {"shapeaxis(3e-40,0,4e-40);",
         [](const TParticleScript& s) {
             const TVector3 a = s.Look[0].ShapeAxis;
             return std::fabs(a.x - 0.6f) < 1e-6f && a.y == 0.0f && std::fabs(a.z - 0.8f) < 1e-6f;
         }},
        {"vortex(3e38,0,-3e38,1,0);",
         [](const TParticleScript& s) {
             const TVector3 a = s.Look[0].Vortex.Axis;
             return std::fabs(a.x - 0.70710678f) < 1e-6f && std::fabs(a.z + 0.70710678f) < 1e-6f;
         }},
        {"local(TRUE);", [](const TParticleScript& s) { return s.Look[0].Local; }},
        {"ground(-1.5);",
         [](const TParticleScript& s) { return s.HasGround && s.GroundHeight == -1.5f && !s.Look[0].Used; }},
    };
    for (const TAccepted& c : cases) {
        TParticleScript script;
        EXPECT_EQ(Problems(script,
                           std::string("setnewparticletype();textureproperties(1,1);\n") + c.Command + "\n"),
                  "")
            << c.Command;
        ASSERT_EQ(script.Look.size(), 1u) << c.Command;
        EXPECT_TRUE(c.Stored(script)) << c.Command;
        if (std::string(c.Command).starts_with("ground")) continue;
        EXPECT_TRUE(script.Look[0].Used) << c.Command;
    }
}

TEST_F(LookCommands, RefusalsSayWhyAndStoreNothing) {
    const TRefused cases[] = {
        {"rotation(1,2,3);", "Wrong parameter count."},
        {"rotation(x,1);", "\"x\" is not a valid floating point value."},
        {"rotation(1e7,0);", Skip("Angle of rotation must lie between -1000000 and 1000000")},
        {"rotation(0,-1e39);", Skip("Angle of rotation must lie between -1000000 and 1000000")},
        {"spin(0,2e6);", Skip("Speed of spin must lie between -1000000 and 1000000")},
        {"stretch(-0.1);", Skip("Factor of stretch must be a finite number of at least 0")},
        {"stretch(1e39);", Skip("Factor of stretch must be a finite number of at least 0")},
        {"stretch();", "\"\" is not a valid floating point value."},
        {"rate(-1);", Skip("Particles a second of rate must lie between 0 and 1000000")},
        {"rate(1000001);", Skip("Particles a second of rate must lie between 0 and 1000000")},
        {"tint(1,1,1,1,1);", "Wrong parameter count."},
        {"tint(1,1,1,1,1,1.5);", Skip("Colour of tint must lie between 0 and 1")},
        {"tint(-0.1,1,1,1,1,1);", Skip("Colour of tint must lie between 0 and 1")},
        {"turbulence(-1,1,0);", Skip("Strength of turbulence must be a finite number of at least 0")},
        {"turbulence(1,0,0);", Skip("Scale of turbulence must be above 0 and at most 1000000")},
        {"turbulence(1,1,1e39);", Skip("Speed of turbulence must be a finite number")},
        {"vortex(0,0,0,90,1);", Skip("Axis of vortex must be finite and not zero")},
        {"vortex(0,1e39,0,90,1);", Skip("Axis of vortex must be finite and not zero")},
        {"vortex(0,1,0,-1e39,1);", Skip("Speed of vortex must be a finite number")},
        {"vortex(0,1,0,1,1e39);", Skip("Pull of vortex must be a finite number")},
        {"trail(0,16,0.1);", Skip("Seconds of trail must be above 0 and at most 60")},
        {"trail(61,16,0.1);", Skip("Seconds of trail must be above 0 and at most 60")},
        {"trail(1,1,0.1);", Skip("Points of trail must lie between 2 and 64")},
        {"trail(1,65,0.1);", Skip("Points of trail must lie between 2 and 64")},
        {"trail(1,16.5,0.1);", "\"16.5\" is not a valid integer value."},
        {"trail(1,16,-0.1);", Skip("Width of trail must be a finite number of at least 0")},
        {"bounce(1.1,0.5);", Skip("Share of bounce must lie between 0 and 1")},
        {"bounce(0.5,-0.5);", Skip("Share of bounce must lie between 0 and 1")},
        {"dieonground(maybe);", "\"maybe\" is not a valid LDBooleanValue value."},
        {"local(yes);", "\"yes\" is not a valid LDBooleanValue value."},
        {"shapeaxis(0,0,0);", Skip("Axis of shapeaxis must be finite and not zero")},
        {"shapeaxis(0,1);", "Wrong parameter count."},
        {"ground(2e6);", Skip("Height of ground must lie between -1000000 and 1000000")},
        {"ground(1,2);", "Wrong parameter count."},
    };
    for (const TRefused& c : cases) {
        TParticleScript script;
        const std::string problems = Problems(
            script, std::string("setnewparticletype();textureproperties(1,1);\n") + c.Command + "mass(3);\n");
        // Any value problem is reported before the range; the commands after it on the line still run.
        EXPECT_NE(problems.find(Line(2, c.Message)), std::string::npos) << c.Command << "\n" << problems;
        EXPECT_TRUE(LookUntouched(script)) << c.Command;
        EXPECT_EQ(script.Values[0].Mass, 3.0f) << c.Command;
    }
}

TEST_F(LookCommands, PerTypeCommandsNeedATypeAndGroundDoesNot) {
    EXPECT_EQ(
        Problems("rotation(1,1);spin(1,1);stretch(1);tint(1,1,1,1,1,1);trail(1,2,1);rate(1);\n"
                 "turbulence(1,1,1);vortex(0,1,0,1,1);bounce(1,1);dieonground(1);shapeaxis(0,1,0);\n"
                 "local(1);ground(-1);\n"),
        std::string() + Line(1, "No particle type has been set yet.") +
            Line(1, "No particle type has been set yet.") + Line(1, "No particle type has been set yet.") +
            Line(1, "No particle type has been set yet.") + Line(1, "No particle type has been set yet.") +
            Line(1, "No particle type has been set yet.") + Line(2, "No particle type has been set yet.") +
            Line(2, "No particle type has been set yet.") + Line(2, "No particle type has been set yet.") +
            Line(2, "No particle type has been set yet.") + Line(2, "No particle type has been set yet.") +
            Line(3, "No particle type has been set yet."));
}

TEST_F(LookCommands, EachTypeKeepsItsOwnLookAndALaterCommandReplaces) {
    TParticleScript script;
    EXPECT_EQ(Problems(script, "setnewparticletype();textureproperties(1,1);rate(10);rate(20);rate(-1);\n"
                               "setnewparticletype();textureproperties(1,1);\n"
                               "setnewparticletype();textureproperties(1,1);local(1);local(0);\n"),
              Line(1, Skip("Particles a second of rate must lie between 0 and 1000000")));
    ASSERT_EQ(script.Look.size(), 3u);
    EXPECT_EQ(script.Look[0].Rate, 20.0f);
    EXPECT_FALSE(script.Look[1].Used);
    EXPECT_TRUE(script.Look[2].Used);
    EXPECT_FALSE(script.Look[2].Local);
}

TEST_F(LookCommands, MisspeltCommandsGetSuggestions) {
    const std::pair<const char*, const char*> cases[] = {
        {"rotaton", "rotation"},    {"turbulance", "turbulence"}, {"dieonground", ""},
        {"shapeaxes", "shapeaxis"}, {"vortx", "vortex"},          {"strech", "stretch"},
    };
    for (const auto& [typed, meant] : cases)
        EXPECT_EQ(SuggestKeyword(typed), meant) << typed;
}

TEST_F(LookCommands, GeneratedLookScriptsLoadWithinTheirRangesAndRun) {
    // Every look command with arguments drawn from awkward numbers, then frames of the runtime: what
    // is stored lies in its range, and the runtime neither crashes nor creates particles past the caps.
    const char* names[] = {"rotation", "spin",   "stretch",     "tint",      "trail", "rate",   "turbulence",
                           "vortex",   "ground", "dieonground", "shapeaxis", "local", "bounce", "disc"};
    const int counts[] = {2, 2, 1, 6, 3, 1, 3, 5, 1, 1, 3, 1, 2, 1};
    const char* numbers[] = {"0",  "1",    "-1",  "0.5", "1e39", "-1e39", "3.4e38", "1e-45", "2",
                             "64", "1000", "1e6", "-0",  "x",    "true",  "65",     "60.5",  "0.001"};
    std::uint32_t state = 12345;
    const auto next = [&state](std::uint32_t n) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % n;
    };
    SeedRandom(4);
    for (int n = 0; n < 300; ++n) {
        std::string text =
            "loadtexture('tex.tga');setnewparticletype();textureproperties(1,1);lifelength(0,0.5);\n";
        for (int c = 0; c < 6; ++c) {
            const std::size_t k = next(14);
            text += names[k];
            text += '(';
            for (int a = 0; a < counts[k]; ++a)
                text += std::string(a ? "," : "") + numbers[next(18)];
            text += ");";
        }
        TParticleScript script;
        LoadScriptFromText(script, "g.psc", text + "\n");
        SCOPED_TRACE(text);
        ASSERT_EQ(script.Look.size(), 1u);
        const TScriptLook& look = script.Look[0];
        ASSERT_TRUE(look.Trail.Points == 0 || (look.Trail.Points >= 2 && look.Trail.Points <= 64));
        ASSERT_TRUE(look.Rate >= 0.0f && look.Rate <= MaxScriptRate);
        ASSERT_TRUE(std::isfinite(look.Stretch) && look.Stretch >= 0.0f);
        ASSERT_TRUE(std::fabs(VectorLength(look.ShapeAxis) - 1.0f) < 1e-5f);
        ASSERT_TRUE(std::fabs(VectorLength(look.Vortex.Axis) - 1.0f) < 1e-5f);
        for (int frame = 0; frame < 4; ++frame)
            AdvanceScript(script, {0.5f, 0, 0}, 0.02f);
        ASSERT_LE(ParticleCount(script.Containers[0]), MaxScriptParticlesPerType);
        for (std::size_t i = 0; i < script.Containers[0].Particles.size(); ++i) {
            const TParticle p = script.Containers[0].Particles[i];
            ASSERT_TRUE(std::isfinite(p.Color.x) && p.Color.x >= 0.0f && p.Color.x <= 1.0f);
        }
    }
}
