// Scripts that change their particles over their lives, sub-emit and prewarm, played by the demo as
// a user plays them (data/ as the working directory, under Xvfb, fixed steps and seed) and judged
// from the screenshots of chosen frames.

#include "png_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

/// Pixels outside the banner (top-right 300 x 104) that are lit, and those where red, or blue,
/// clearly dominates.
struct TPixelCount {
    int Lit = 0;
    int Red = 0;
    int Blue = 0;
};

TPixelCount CountPixels(const lumidor::testing::TPngPicture& picture) {
    TPixelCount count;
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x) {
            if (x >= picture.Width - 300 && y < 104) continue;
            const std::uint8_t* p = picture.At(x, y);
            count.Lit += std::max({p[0], p[1], p[2]}) > 24;
            count.Red += p[0] > 90 && p[0] > p[2] + 40;
            count.Blue += p[2] > 90 && p[2] > p[0] + 40;
        }
    return count;
}

class EffectFeatures : public ::testing::Test {
  protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() / ("lumidor_features_" + std::to_string(::getpid()) + "_" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path Save(const std::string& name, const std::string& text) {
        const fs::path file = folder / name;
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }

    /// The picture of frame `frames` of `script`, played in steps of `dt` from seed 3.
    TPixelCount Frame(const fs::path& script, int frames, double dt) {
        const fs::path shot = folder / ("shot" + std::to_string(shots++) + ".png");
        const std::string command = "cd '" LUMIDOR_SOURCE_DIR "/data' && LUMIDOR_NO_DIALOGS=1 '" +
                                    std::string(LUMIDOR_DEMO_EXECUTABLE) + "' --script '" + script.string() +
                                    "' --frames " + std::to_string(frames) + " --fixed-dt " +
                                    std::to_string(dt) + " --seed 3 --screenshot '" + shot.string() +
                                    "' >/dev/null 2>'" + (folder / "err.txt").string() + "'";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << Stderr();
        lumidor::testing::TPngPicture picture;
        EXPECT_TRUE(lumidor::testing::ReadPng(shot.string(), picture)) << Stderr();
        return CountPixels(picture);
    }

    std::string Stderr() const {
        std::ifstream file(folder / "err.txt");
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    fs::path folder;
    int shots = 0;
};

// One type, born together, drawn through colour keys from red at birth to blue at death.
const char* const kRedToBlue = "continiuous(true);\nloadtexture('scripts/lumina.tga');\n"
                               "setnewparticletype();\ntextureproperties(2,4);\ntexture(1);\n"
                               "particlecount(300);\nlifelength(0,2);\nbeginfadeout(0.95);\n"
                               "position([2,-1],[1.5,-0.75],[0.5,-0.25]);\nsize(0.3,0.3);\n"
                               "colorkey(0,1,0,0);\ncolorkey(1,0,0,1);\nblendfactor(770,1);\n";

// Red particles living 0.3 s whose deaths each start two blue ones of a type that emits nothing.
const char* const kDeathsSpawn = "continiuous(true);\nloadtexture('scripts/lumina.tga');\n"
                                 "setnewparticletype();\ntextureproperties(2,4);\ntexture(1);\n"
                                 "particlecount(60);\nlifelength(0,0.3);\nbeginfadeout(0.95);\n"
                                 "position([1,-0.5],[1,-0.5],[0.5,-0.25]);\nsize(0.3,0.3);\ncolor(1,0,0);\n"
                                 "ondeath(1,2);\n"
                                 "setnewparticletype();\ntextureproperties(2,4);\ntexture(1);\n"
                                 "particlecount(0);\nlifelength(0,1);\nsize(0.3,0.3);\ncolor(0,0,1);\n"
                                 "velocity([2,-1],[2,-1],[0,0]);\n";

} // namespace

TEST_F(EffectFeatures, ColourKeysDrawYoungParticlesRedAndOldOnesBlue) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display (run under xvfb-run)";
    const fs::path script = Save("keys.psc", kRedToBlue);
    const TPixelCount young = Frame(script, 6, 0.05); // f = 0.15
    const TPixelCount old = Frame(script, 36, 0.05);  // f = 0.9
    EXPECT_GT(young.Red, 2000);
    EXPECT_GT(young.Red, 20 * young.Blue);
    EXPECT_GT(old.Blue, 2000);
    EXPECT_GT(old.Blue, 20 * old.Red);
}

TEST_F(EffectFeatures, DeathsStartTheOtherTypeOnlyAfterTheirLife) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display (run under xvfb-run)";
    const fs::path script = Save("deaths.psc", kDeathsSpawn);
    const TPixelCount before = Frame(script, 5, 0.05); // 0.25 s: no life has ended yet
    const TPixelCount after = Frame(script, 16, 0.05);
    EXPECT_GT(before.Red, 500);
    EXPECT_EQ(before.Blue, 0);
    EXPECT_GT(after.Blue, 2000);
}

TEST_F(EffectFeatures, PrewarmedSecondFrameLooksLikeTheNinetiethWithout) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs a display (run under xvfb-run)";
    std::ifstream original(LUMIDOR_SOURCE_DIR "/data/scripts/ParticleScript1.psc", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(original), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(text.empty());
    const fs::path plain = Save("plain.psc", text);
    const fs::path prewarmed = Save("prewarmed.psc", text + "\nprewarm(3);\n");
    const double dt = 1.0 / 30.0;
    const TPixelCount faint = Frame(plain, 2, dt);
    const TPixelCount full = Frame(plain, 90, dt);
    const TPixelCount warm = Frame(prewarmed, 2, dt);
    ASSERT_GT(full.Lit, 2000);
    EXPECT_LT(faint.Lit, full.Lit / 2); // what prewarm is for
    EXPECT_GT(warm.Lit, full.Lit * 7 / 10);
    EXPECT_LT(warm.Lit, full.Lit * 13 / 10);
}
