// Sub-emitters fed by the engine's own events, not by hand: a type whose particles die spawns
// another only after their life, and the example firework and campfire sub-emit while they play.

#include "engine/gl_recorder.h"
#include "engine/random.h"
#include "script/particle_script.h"

#include <gtest/gtest.h>

#include <string>

using namespace lumidor;

namespace {

constexpr float kStep = 1.0f / 60.0f;

class ScriptEvents : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallGLRecorder();
        SeedRandom(21);
    }
};

} // namespace

TEST_F(ScriptEvents, DeathsOfOneTypeStartTheOtherOnlyAfterTheirLife) {
    const std::string text =
        "continiuous(true);\nloadtexture('scripts/lumina.tga');\n"
        "setnewparticletype();\ntextureproperties(2,4);\nparticlecount(40);\n"
        "lifelength(0,0.3);\nondeath(1,2);\n"
        "setnewparticletype();\ntextureproperties(2,4);\nparticlecount(0);\nlifelength(0,1);\n";
    TParticleScript script;
    const TScriptLoadReport report =
        LoadScriptFromText(script, "deaths.psc", text, LUMIDOR_SOURCE_DIR "/data");
    ASSERT_EQ(report.ErrorCount, 0) << script.DebugLog;
    ASSERT_EQ(script.Containers.size(), 2u);
    int frame = 0;
    for (; (frame + 1) * kStep < 0.29f; ++frame) {
        AdvanceScript(script, {}, kStep);
        ASSERT_EQ(ParticleCount(script.Containers[1]), 0) << "frame " << frame;
    }
    for (; frame < 30; ++frame)
        AdvanceScript(script, {}, kStep);
    // Every frame after the first lives end, the 40 newborns of a frame die together: two each.
    EXPECT_GE(ParticleCount(script.Containers[1]), 80);
    EXPECT_EQ(ParticleCount(script.Containers[1]) % 2, 0);
}

TEST_F(ScriptEvents, ExampleFireworkAndCampfireSubEmitWhileTheyPlay) {
    const std::string data = LUMIDOR_SOURCE_DIR "/data";
    // firework: rockets and shells (types 0 and 1) leave sparks of type 2 where they die;
    // campfire: flames (type 0) leave smoke of type 3 where they die.
    for (const auto& [name, target] : {std::pair{"firework", 2}, std::pair{"campfire", 3}}) {
        SCOPED_TRACE(name);
        const std::string file = std::string("scripts/examples/") + name + ".psc";
        TParticleScript script;
        ASSERT_EQ(LoadScriptWithReport(script, file, data + "/" + file, data).ErrorCount, 0)
            << script.DebugLog;
        ASSERT_GT(script.Containers.size(), std::size_t(target));
        int most = 0;
        for (int frame = 0; frame < 120; ++frame) {
            AdvanceScript(script, {}, kStep);
            most = std::max(most, ParticleCount(script.Containers[std::size_t(target)]));
        }
        EXPECT_GT(most, 20);
    }
}
