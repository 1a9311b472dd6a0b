// The demo program end to end: started as a user starts it (data/ as working directory), under Xvfb
// with Mesa, stopped after a number of frames, its last frame read from the screenshot it writes.

#include "png_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A private copy of the program in its own folder, so the test decides what config.ini it sees.
class DemoRun : public ::testing::Test {
  protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() / ("lumidor_e2e_" + std::to_string(::getpid()) + "_" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        program = folder / "lumidor-demo";
        fs::copy_file(LUMIDOR_DEMO_EXECUTABLE, program);
    }
    void TearDown() override { fs::remove_all(folder); }

    static bool HaveDisplay() { return std::getenv("DISPLAY") != nullptr; }

    void WriteConfig(const std::string& text) { std::ofstream(folder / "config.ini") << text; }

    // Runs the program from `dataDir` (data/ unless given) with the arguments; returns its exit status.
    int Run(const std::string& arguments, const fs::path& dataDir = LUMIDOR_SOURCE_DIR "/data") {
        return RunWithPrefix("", arguments, dataDir);
    }
    // The same, the program started through `prefix` ("env -u DISPLAY ").
    int RunWithPrefix(const std::string& prefix, const std::string& arguments,
                      const fs::path& dataDir = LUMIDOR_SOURCE_DIR "/data") {
        const std::string command = "cd '" + dataDir.string() + "' && LUMIDOR_NO_DIALOGS=1 " + prefix + "'" +
                                    program.string() + "' " + arguments + " >'" +
                                    (folder / "out.txt").string() + "' 2>'" + (folder / "err.txt").string() +
                                    "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string Stderr() const {
        std::ifstream file(folder / "err.txt");
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    // Runs the frames and reads the last one back.
    lumidor::testing::TPngPicture RunAndShoot(const std::string& arguments,
                                              const std::string& shotName = "shot.png",
                                              const fs::path& dataDir = LUMIDOR_SOURCE_DIR "/data") {
        const fs::path shot = folder / shotName;
        EXPECT_EQ(Run(arguments + " --screenshot '" + shot.string() + "'", dataDir), 0) << Stderr();
        lumidor::testing::TPngPicture picture;
        EXPECT_TRUE(lumidor::testing::ReadPng(shot.string(), picture)) << Stderr();
        return picture;
    }
    lumidor::testing::TPngPicture RunFiveFrames() {
        return RunAndShoot("--frames 5 --fixed-dt 0.05 --seed 1");
    }

    // A copy of data/ without one of its files.
    fs::path DataWithout(const fs::path& missing) {
        const fs::path data = folder / "data";
        fs::copy(LUMIDOR_SOURCE_DIR "/data", data, fs::copy_options::recursive);
        fs::remove(data / missing);
        return data;
    }

    fs::path folder;
    fs::path program;
};

// The banner: 300 x 103.5 pixels in the top-right corner (no window frame under Xvfb).
bool InBanner(const lumidor::testing::TPngPicture& picture, int x, int y) {
    return x >= picture.Width - 300 && y < 104;
}

// The logo over the picture: its dark ground covers the whole corner and its orange lettering shows.
void ExpectLogoBanner(const lumidor::testing::TPngPicture& picture, const std::string& what) {
    int covered = 0, orange = 0;
    for (int y = 0; y < 103; ++y)
        for (int x = picture.Width - 300; x < picture.Width; ++x) {
            const std::uint8_t* p = picture.At(x, y);
            covered += p[0] + p[1] + p[2] > 0;
            orange += p[0] > 180 && p[0] > p[2] + 80 && p[1] > 60;
        }
    EXPECT_GE(covered, 300 * 103 * 95 / 100) << what << ": the banner does not cover the top-right corner";
    EXPECT_GE(orange, 1500) << what << ": no logo lettering in the banner";
    int left = 0; // the column just left of the banner is not part of it
    for (int y = 20; y < 80; ++y)
        left += picture.At(picture.Width - 301, y)[2] == picture.At(picture.Width - 300, y)[2];
    EXPECT_LT(left, 60) << what << ": the banner does not start 300 pixels from the right edge";
}

// Lit pixels outside the banner.
int ParticlePixels(const lumidor::testing::TPngPicture& picture) {
    int lit = 0;
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x) {
            const std::uint8_t* p = picture.At(x, y);
            lit += !InBanner(picture, x, y) && std::max({p[0], p[1], p[2]}) > 24;
        }
    return lit;
}

// Pixels of the picture, outside the banner, that differ clearly between the two.
int DifferingPixels(const lumidor::testing::TPngPicture& a, const lumidor::testing::TPngPicture& b) {
    int differing = 0;
    for (int y = 0; y < a.Height; ++y)
        for (int x = 0; x < a.Width; ++x) {
            const std::uint8_t *p = a.At(x, y), *q = b.At(x, y);
            differing += !InBanner(a, x, y) && (std::abs(p[0] - q[0]) > 24 || std::abs(p[1] - q[1]) > 24 ||
                                                std::abs(p[2] - q[2]) > 24);
        }
    return differing;
}

} // namespace

TEST_F(DemoRun, EverySlotDrawsItsEffectUnderTheBanner) {
    if (!HaveDisplay()) GTEST_SKIP() << "needs an X display; run under xvfb-run";
    // At 60 frames of 1/30 s the explosion waits for its first burst (every 2 s) and Spiral 3's magnet
    // has pushed its dots out of view until its 8 s cycle lays out the next pattern.
    const std::set<int> emptyAtTwoSeconds = {2, 15};
    std::vector<lumidor::testing::TPngPicture> pictures;
    for (int slot = 0; slot < 19; ++slot) {
        const std::string what = "slot " + std::to_string(slot);
        pictures.push_back(
            RunAndShoot("--effect " + std::to_string(slot) + " --frames 60 --fixed-dt 0.0333 --seed 1",
                        "slot" + std::to_string(slot) + ".png"));
        const lumidor::testing::TPngPicture& picture = pictures.back();
        ASSERT_EQ(picture.Width, 800) << what;
        ASSERT_EQ(picture.Height, 600) << what;
        EXPECT_EQ(Stderr(), "") << what;
        ExpectLogoBanner(picture, what);
        if (!emptyAtTwoSeconds.count(slot)) {
            EXPECT_GE(ParticlePixels(picture), 400) << what << ": no particles";
        }
    }
    for (int a = 0; a < 19; ++a)
        for (int b = a + 1; b < 19; ++b)
            if (!(emptyAtTwoSeconds.count(a) && emptyAtTwoSeconds.count(b))) {
                EXPECT_GE(DifferingPixels(pictures[std::size_t(a)], pictures[std::size_t(b)]), 400)
                    << "slots " << a << " and " << b << " look the same";
            }
}

TEST_F(DemoRun, MissingLogoIsReportedAndTheBannerIsDrawnUntextured) {
    if (!HaveDisplay()) GTEST_SKIP() << "needs an X display; run under xvfb-run";
    const fs::path data = DataWithout("logos/LDStrip800x276.jpg");
    const lumidor::testing::TPngPicture picture =
        RunAndShoot("--effect 11 --frames 20 --fixed-dt 0.05 --seed 1", "shot.png", data);
    EXPECT_EQ(Stderr(), "BMP Unit: Couldn't load JPG - \".\\logos\\LDStrip800x276.jpg\"\n");
    const std::uint8_t* corner = picture.At(picture.Width - 150, 50);
    EXPECT_EQ(corner[0] + corner[1] + corner[2], 3 * 255) << "a white quad where the logo would be";
    EXPECT_GE(ParticlePixels(picture), 400) << "the first script still runs: the start-up went on";
}

TEST_F(DemoRun, MissingHeightMapStopsTheStartupAndTheProgramGoesOn) {
    if (!HaveDisplay()) GTEST_SKIP() << "needs an X display; run under xvfb-run";
    const fs::path data = DataWithout("hm.bmp");
    const lumidor::testing::TPngPicture fire =
        RunAndShoot("--frames 20 --fixed-dt 0.05 --seed 1", "fire.png", data);
    const std::string errors = Stderr();
    EXPECT_EQ(errors.rfind("Error: Cannot read the bitmap \".\\hm.bmp\": ", 0), 0u) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_GE(ParticlePixels(fire), 400) << "the presets set up before the failure still run";
    const std::uint8_t* corner = fire.At(fire.Width - 150, 50);
    EXPECT_EQ(corner[0] + corner[1] + corner[2], 3 * 255) << "the logo was never loaded";

    // The steps after the terrain were skipped: no text and no scripts.
    for (const int slot : {17, 11}) {
        const lumidor::testing::TPngPicture picture = RunAndShoot(
            "--effect " + std::to_string(slot) + " --frames 20 --fixed-dt 0.05 --seed 1", "slot.png", data);
        EXPECT_EQ(ParticlePixels(picture), 0) << "slot " << slot;
    }
}

TEST_F(DemoRun, WithoutConfigTheWindowIs800x600WithFireUnderTheBanner) {
    if (!HaveDisplay()) GTEST_SKIP() << "needs an X display; run under xvfb-run";
    const lumidor::testing::TPngPicture picture = RunFiveFrames();
    ASSERT_EQ(picture.Width, 800);
    ASSERT_EQ(picture.Height, 600);
    ExpectLogoBanner(picture, "no config");
    EXPECT_GE(ParticlePixels(picture), 400) << "slot 0, the fire, runs from the start";
}

TEST_F(DemoRun, ConfigBesideTheProgramSetsSizeWithItsCrossedKeysAndDepth) {
    if (!HaveDisplay()) GTEST_SKIP() << "needs an X display; run under xvfb-run";
    WriteConfig("[Display]\nheight=640\nwidth=0x1E0\nbpp=16\n");
    const lumidor::testing::TPngPicture picture = RunFiveFrames();
    ASSERT_EQ(picture.Width, 640);
    ASSERT_EQ(picture.Height, 480);
    ExpectLogoBanner(picture, "640 x 480");
}

TEST_F(DemoRun, UnusableWindowSizeFallsBackAndSaysSo) {
    if (!HaveDisplay()) GTEST_SKIP() << "needs an X display; run under xvfb-run";
    WriteConfig("[Display]\nheight=0\nwidth=-3\n");
    const lumidor::testing::TPngPicture picture = RunFiveFrames();
    EXPECT_EQ(picture.Width, 696);
    EXPECT_EQ(picture.Height, 480);
    EXPECT_NE(Stderr().find("Display configuration: The window size 0 x -3 in config.ini cannot be used; "
                            "the window is 696 x 480 instead.\n"),
              std::string::npos)
        << Stderr();
}

TEST_F(DemoRun, FullScreenConfigurationRunsItsFrames) {
    if (!HaveDisplay()) GTEST_SKIP() << "needs an X display; run under xvfb-run";
    WriteConfig("[Display]\nfullscreen=1\n");
    const lumidor::testing::TPngPicture picture = RunFiveFrames();
    ASSERT_GT(picture.Width, 300);
    ASSERT_GT(picture.Height, 104);
    ExpectLogoBanner(picture, "full screen"); // borderless: exactly in the top-right corner
}

TEST_F(DemoRun, BadOptionExitsWithStatus2AndTheReason) {
    EXPECT_EQ(Run("--frames five"), 2);
    EXPECT_EQ(Stderr(), "lumidor-demo: --frames expects a whole number of frames from 1 to 2147483647, got "
                        "\"five\"\nTry 'lumidor-demo --help'.\n");
    EXPECT_EQ(Run("--help"), 0);
}

TEST_F(DemoRun, EverySlotRunsWithoutAGLError) {
    if (!HaveDisplay()) GTEST_SKIP() << "needs an X display; run under xvfb-run";
    for (int slot = 0; slot < 19; ++slot) {
        EXPECT_EQ(
            Run("--gl-debug --effect " + std::to_string(slot) + " --frames 20 --fixed-dt 0.05 --seed 1"), 0)
            << "slot " << slot << ":\n"
            << Stderr();
        EXPECT_EQ(Stderr().find("GL error"), std::string::npos) << Stderr();
    }
}

TEST_F(DemoRun, SoakCyclesThroughEverySlotAndReportsMemory) {
    if (!HaveDisplay()) GTEST_SKIP() << "needs an X display; run under xvfb-run";
    // One second asks for one cycle: 19 slots of about two seconds each.
    ASSERT_EQ(Run("--soak 1 --gl-debug --seed 1"), 0) << Stderr();
    std::ifstream file(folder / "out.txt");
    const std::string out{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    // One cycle compares nothing: the line gives the memory at the end and says what a comparison needs.
    long long cycles = 0, frames = 0, end = 0, peak = 0, needed = 0;
    ASSERT_EQ(
        std::sscanf(out.c_str(),
                    "soak: %lld cycle, %lld frames, RSS %lld MiB at the end (peak %lld MiB); comparing the "
                    "memory after the first cycle needs two cycles (--soak %lld or more)\n",
                    &cycles, &frames, &end, &peak, &needed),
        5)
        << out;
    EXPECT_EQ(cycles, 1);
    EXPECT_GE(frames, 19);
    EXPECT_GT(end, 0);
    EXPECT_GE(peak, end);
    EXPECT_EQ(needed, 80);
    EXPECT_EQ(out.find("->"), std::string::npos) << out;
}

// Everything a run can know of before its first frame is checked before it: the window never opens
// (no screenshot is written), the reason names the option and its file, and the status says why.
TEST_F(DemoRun, RunsThatCannotWorkEndBeforeTheirFirstFrameWithTheirStatus) {
    const fs::path shot = folder / "never.png";
    const std::string frames = " --frames 5 --screenshot '" + shot.string() + "'";
    const struct {
        std::string Arguments;
        int Status;
        std::string Message;
    } cases[] = {
        {"--script /nonexistent.psc" + frames, 1,
         "lumidor-demo: --script /nonexistent.psc: No such file or directory\n"},
        {"--frames 5 --screenshot /nonexistent-dir/x.png", 1,
         "lumidor-demo: --screenshot /nonexistent-dir/x.png: the folder \"/nonexistent-dir\" does not "
         "exist\n"},
        {"--stats '" + folder.string() + "'" + frames, 1,
         "lumidor-demo: --stats " + folder.string() + ": it is a folder, not a file\n"},
        {"--record '" + (folder / "lumidor-demo" / "clip").string() + "'" + frames, 1,
         "lumidor-demo: --record " + (folder / "lumidor-demo" / "clip").string() + ": \"" +
             (folder / "lumidor-demo").string() + "\" is not a folder\n"},
        {"--benchmark --effect 3", 2,
         "lumidor-demo: --effect cannot be combined with --benchmark, which runs every effect in turn\n"
         "Try 'lumidor-demo --help'.\n"},
        {"--effect 'no such effect'" + frames, 2,
         "lumidor-demo: --effect expects an effect slot from 0 to 18 or an effect's name from "
         "--list-effects, "
         "got \"no such effect\"\nTry 'lumidor-demo --help'.\n"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(Run(test.Arguments), test.Status) << test.Arguments;
        EXPECT_EQ(Stderr(), test.Message) << test.Arguments;
        EXPECT_FALSE(fs::exists(shot)) << test.Arguments << ": a frame was drawn";
    }
}

TEST_F(DemoRun, WithoutADisplayTheRunSaysSoUnlessSDLsDriverWasChosen) {
    // The DISPLAY of the test (Xvfb's) is taken away; no Wayland either.
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ";
    const fs::path shot = folder / "offscreen.png";
    EXPECT_EQ(RunWithPrefix(noDisplay, "--frames 3 --screenshot '" + shot.string() + "'"), 1);
    EXPECT_EQ(Stderr(),
              "lumidor-demo: there is no display to open a window on: DISPLAY and WAYLAND_DISPLAY are "
              "not set. Run it in a desktop session or under xvfb-run; SDL_VIDEODRIVER=offscreen draws "
              "without a display.\n");
    EXPECT_FALSE(fs::exists(shot));
    EXPECT_EQ(RunWithPrefix("env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:7777 ", "--frames 3"), 1);
    EXPECT_EQ(Stderr().rfind("lumidor-demo: cannot open a window on the display \":7777\" (DISPLAY).", 0), 0u)
        << Stderr();
    // Drawing off-screen is the user's own choice of SDL driver.
    const int status =
        RunWithPrefix(noDisplay + "SDL_VIDEODRIVER=offscreen ",
                      "--frames 3 --fixed-dt 0.05 --seed 1 --screenshot '" + shot.string() + "'");
    if (status == 0) {
        lumidor::testing::TPngPicture picture;
        ASSERT_TRUE(lumidor::testing::ReadPng(shot.string(), picture));
        ExpectLogoBanner(picture, "off-screen");
    } else {
        // A system whose GL cannot draw off-screen says so; it never claims a display is missing.
        EXPECT_EQ(Stderr().find("no display"), std::string::npos) << Stderr();
    }
}

TEST_F(DemoRun, ListEffectsAndEffectByName) {
    EXPECT_EQ(Run("--list-effects"), 0);
    std::ifstream file(folder / "out.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[11], "slot  9  menu 12  Effect 2 (2000)");
    EXPECT_EQ(Stderr(), "");
    EXPECT_EQ(Run("--help"), 0);
    std::ifstream help(folder / "out.txt");
    const std::string usage{std::istreambuf_iterator<char>(help), std::istreambuf_iterator<char>()};
    for (const char* text : {"--list-effects", "--effect N|NAME", "Exit status:"})
        EXPECT_NE(usage.find(text), std::string::npos) << text;

    if (!HaveDisplay()) GTEST_SKIP() << "the effect shown needs an X display; run under xvfb-run";
    const lumidor::testing::TPngPicture byName =
        RunAndShoot("--effect 'effect 2' --frames 10 --fixed-dt 0.0333 --seed 1", "by_name.png");
    const lumidor::testing::TPngPicture bySlot =
        RunAndShoot("--effect 9 --frames 10 --fixed-dt 0.0333 --seed 1", "by_slot.png");
    const lumidor::testing::TPngPicture other =
        RunAndShoot("--effect 8 --frames 10 --fixed-dt 0.0333 --seed 1", "other.png");
    EXPECT_EQ(byName.Rgb, bySlot.Rgb) << "\"effect 2\" is slot 9";
    EXPECT_GE(DifferingPixels(byName, other), 400);
}

// Frame 1 is drawn like every other: the banner over whatever the effect draws in its first frame.
TEST_F(DemoRun, TheFirstFrameShowsTheBannerAndTheEffect) {
    if (!HaveDisplay()) GTEST_SKIP() << "needs an X display; run under xvfb-run";
    // The stress test tops its jet up before drawing it, over the terrain; the spirals lay out their dots.
    for (const int slot : {10, 5, 13}) {
        const lumidor::testing::TPngPicture picture =
            RunAndShoot("--frames 1 --fixed-dt 0.0333 --seed 1 --effect " + std::to_string(slot));
        ExpectLogoBanner(picture, "frame 1 of slot " + std::to_string(slot));
        EXPECT_GE(ParticlePixels(picture), 5000) << "frame 1 of slot " << slot;
    }
    // Effect 1 draws its systems before it fills them: its first frame is the banner alone.
    const lumidor::testing::TPngPicture effect1 =
        RunAndShoot("--frames 1 --fixed-dt 0.0333 --seed 1 --effect 8");
    ExpectLogoBanner(effect1, "frame 1 of slot 8");

    // --record's frame 1 is that same picture.
    const fs::path clip = folder / "clip";
    ASSERT_EQ(Run("--frames 2 --fixed-dt 0.0333 --seed 1 --effect 10 --record '" + clip.string() + "'"), 0);
    lumidor::testing::TPngPicture first;
    ASSERT_TRUE(lumidor::testing::ReadPng((clip / "frame_000001.png").string(), first));
    ExpectLogoBanner(first, "recorded frame 1");
    EXPECT_GE(ParticlePixels(first), 5000);
}
