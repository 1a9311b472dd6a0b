// What a run is refused for before its window opens: the files and folders its options name, and a
// display that is missing; and the soak's memory line, which needs two cycles to compare anything.

#include "app/core/command_line.h"
#include "app/desktop/display_check.h"
#include "app/desktop/preflight.h"
#include "app/desktop/soak.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace lumidor;

namespace fs = std::filesystem;

namespace {

class Preflight : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("lumidor_preflight_" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "out");
        std::ofstream(folder / "fountain.psc") << "particlecount(1);\n";
        std::ofstream(folder / "plain_file") << "x";
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string In(const std::string& name) const { return (folder / name).string(); }

    // The problems of a command line of one option and its value (plus --frames, which some need).
    std::vector<std::string> Problems(const std::string& flag, const std::string& value) const {
        const TCommandLineResult parsed = ParseCommandLine({flag, value, "--frames", "1"});
        EXPECT_EQ(parsed.Action, TCommandLineAction::Run) << parsed.Error;
        return CheckCommandLineFiles(parsed.Options);
    }

    fs::path folder;
};

} // namespace

TEST_F(Preflight, UsableFilesAndFoldersPassAndNothingIsCreated) {
    TCommandLine options;
    EXPECT_TRUE(CheckCommandLineFiles(options).empty()) << "the classic program names no file";
    options.ScriptFile = In("fountain.psc");
    options.ScreenshotFile = In("out/shot.png");    // a new file in an existing folder
    options.StatsFile = In("plain_file");           // an existing file is overwritten
    options.RecordFolder = In("clips/today/take1"); // made with its parents
    EXPECT_TRUE(CheckCommandLineFiles(options).empty());
    EXPECT_FALSE(fs::exists(folder / "clips"));
    EXPECT_FALSE(fs::exists(folder / "out/shot.png"));
    options.RecordFolder = In("out"); // an existing folder
    EXPECT_TRUE(CheckCommandLineFiles(options).empty());
}

TEST_F(Preflight, EachUnusableNameIsReportedWithItsOptionAndReason) {
    const struct {
        const char* Flag;
        std::string Value;
        std::string Problem;
    } cases[] = {
        {"--script", In("missing.psc"), "--script " + In("missing.psc") + ": No such file or directory"},
        {"--script", In("out"), "--script " + In("out") + ": it is a folder, not a script file"},
        {"--screenshot", In("none/shot.png"),
         "--screenshot " + In("none/shot.png") + ": the folder \"" + In("none") + "\" does not exist"},
        {"--screenshot", In("plain_file/shot.png"),
         "--screenshot " + In("plain_file/shot.png") + ": \"" + In("plain_file") + "\" is not a folder"},
        {"--stats", In("out"), "--stats " + In("out") + ": it is a folder, not a file"},
        {"--stats", In("none/s.jsonl"),
         "--stats " + In("none/s.jsonl") + ": the folder \"" + In("none") + "\" does not exist"},
        {"--record", In("plain_file"),
         "--record " + In("plain_file") + ": \"" + In("plain_file") + "\" is not a folder"},
        {"--record", In("plain_file/clip/a"),
         "--record " + In("plain_file/clip/a") + ": \"" + In("plain_file") + "\" is not a folder"},
    };
    for (const auto& test : cases) {
        const std::vector<std::string> problems = Problems(test.Flag, test.Value);
        ASSERT_EQ(problems.size(), 1u) << test.Flag << ' ' << test.Value;
        EXPECT_EQ(problems[0], test.Problem);
    }
}

TEST_F(Preflight, EveryProblemIsReportedAtOnceAndNamesAreTakenFromTheWorkingDirectory) {
    TCommandLine options;
    options.ScriptFile = "missing.psc";
    options.ScreenshotFile = "none/shot.png";
    options.StatsFile = "out";
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    const std::vector<std::string> problems = CheckCommandLineFiles(options);
    options.ScriptFile = "fountain.psc";
    options.ScreenshotFile = "shot.png"; // no folder part: the working directory
    options.StatsFile = "out/s.jsonl";
    const std::vector<std::string> none = CheckCommandLineFiles(options);
    options.ScriptFile = ".\\fountain.psc"; // opened as the script loader opens it
    const std::vector<std::string> backslash = CheckCommandLineFiles(options);
    fs::current_path(previous);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0], "--script missing.psc: No such file or directory");
    EXPECT_EQ(problems[1], "--screenshot none/shot.png: the folder \"none\" does not exist");
    EXPECT_EQ(problems[2], "--stats out: it is a folder, not a file");
    EXPECT_TRUE(none.empty()) << none[0];
    EXPECT_TRUE(backslash.empty()) << backslash[0];
}

TEST(DisplayCheck, OnlyARealDisplayIsTriedUnlessTheUserChoseADriver) {
    TDisplayEnvironment environment;
    EXPECT_EQ(DisplayDriversToTry(environment), "KMSDRM"); // never SDL's off-screen fallback
    EXPECT_FALSE(UserChoseVideoDriver(environment));
    environment.Display = ":0";
    EXPECT_EQ(DisplayDriversToTry(environment), "x11,KMSDRM");
    environment.RuntimeDir = "/run/user/1000"; // a compositor may be found there
    EXPECT_EQ(DisplayDriversToTry(environment), "x11,wayland,KMSDRM");
    environment.Display = "";
    environment.RuntimeDir = nullptr;
    environment.WaylandDisplay = "wayland-0";
    EXPECT_EQ(DisplayDriversToTry(environment), "wayland,KMSDRM");

    environment.VideoDriver = "offscreen"; // the user's choice: SDL does as told
    EXPECT_TRUE(UserChoseVideoDriver(environment));
    EXPECT_EQ(DisplayDriversToTry(environment), "");
    environment.VideoDriver = ""; // set but empty is no choice
    EXPECT_FALSE(UserChoseVideoDriver(environment));
    EXPECT_EQ(DisplayDriversToTry(environment), "wayland,KMSDRM");
}

TEST(DisplayCheck, TheMessageNamesTheDisplayLookedFor) {
    const std::string hint =
        ". Run it in a desktop session or under xvfb-run; SDL_VIDEODRIVER=offscreen draws "
        "without a display.";
    TDisplayEnvironment environment;
    EXPECT_EQ(NoDisplayText(environment),
              "there is no display to open a window on: DISPLAY and WAYLAND_DISPLAY are not set" + hint);
    environment.Display = ":99";
    EXPECT_EQ(NoDisplayText(environment), "cannot open a window on the display \":99\" (DISPLAY)" + hint);
    environment.WaylandDisplay = "wayland-1";
    EXPECT_EQ(NoDisplayText(environment),
              "cannot open a window on the display \":99\" (DISPLAY) nor on \"wayland-1\" (WAYLAND_DISPLAY)" +
                  hint);
    environment.Display = nullptr;
    EXPECT_EQ(NoDisplayText(environment),
              "cannot open a window on the Wayland display \"wayland-1\" (WAYLAND_DISPLAY)" + hint);
}

TEST(SoakLine, ComparesMemoryOnlyAcrossTwoCycles) {
    EXPECT_EQ(SoakLine(3, 2850, 180.4, 181.6, 190.2),
              "soak: 3 cycles, 2850 frames, RSS 180 -> 182 MiB (peak 190 MiB)\n");
    EXPECT_EQ(SoakLine(2, 1900, 180, 180, 190),
              "soak: 2 cycles, 1900 frames, RSS 180 -> 180 MiB (peak 190 MiB)\n");
    EXPECT_EQ(
        SoakLine(1, 950, 180, 181, 190),
        "soak: 1 cycle, 950 frames, RSS 181 MiB at the end (peak 190 MiB); comparing the memory after the "
        "first cycle needs two cycles (--soak 80 or more)\n");
    EXPECT_EQ(SoakLine(0, 12, 0, 150, 150).rfind("soak: 0 cycles, 12 frames, RSS 150 MiB at the end", 0), 0u);
    EXPECT_EQ(kSoakSecondsForTwoCycles, 80); // 2 x 19 slots of 2 s, and two slots of room
}
