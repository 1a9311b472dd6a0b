// The demo program end to end: started as a user starts it (data/ as working directory), under Xvfb
// with Mesa, stopped after a few frames, its last frame read from the screenshot it writes.

#include "png_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

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

    // Runs the program from data/ with the given arguments; returns its exit status.
    int Run(const std::string& arguments) {
        const std::string command =
            "cd '" LUMIDOR_SOURCE_DIR "/data' && LUMIDOR_NO_DIALOGS=1 '" + program.string() + "' " +
            arguments + " >'" + (folder / "out.txt").string() + "' 2>'" + (folder / "err.txt").string() + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string Stderr() const {
        std::ifstream file(folder / "err.txt");
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    // Runs five frames and reads the last one back.
    lumidor::testing::TPngPicture RunFiveFrames() {
        const fs::path shot = folder / "shot.png";
        EXPECT_EQ(Run("--frames 5 --screenshot '" + shot.string() + "'"), 0) << Stderr();
        lumidor::testing::TPngPicture picture;
        EXPECT_TRUE(lumidor::testing::ReadPng(shot.string(), picture)) << Stderr();
        return picture;
    }

    static void ExpectBlack(const lumidor::testing::TPngPicture& picture) {
        std::size_t lit = 0;
        for (std::uint8_t value : picture.Rgb)
            lit += value != 0;
        EXPECT_EQ(lit, 0u) << "bytes that are not black";
    }

    fs::path folder;
    fs::path program;
};

} // namespace

TEST_F(DemoRun, WithoutConfigTheFrameIsAClearedBlack800x600) {
    if (!HaveDisplay()) GTEST_SKIP() << "needs an X display; run under xvfb-run";
    const lumidor::testing::TPngPicture picture = RunFiveFrames();
    EXPECT_EQ(picture.Width, 800);
    EXPECT_EQ(picture.Height, 600);
    ExpectBlack(picture);
}

TEST_F(DemoRun, ConfigBesideTheProgramSetsSizeWithItsCrossedKeysAndDepth) {
    if (!HaveDisplay()) GTEST_SKIP() << "needs an X display; run under xvfb-run";
    WriteConfig("[Display]\nheight=640\nwidth=0x1E0\nbpp=16\n");
    const lumidor::testing::TPngPicture picture = RunFiveFrames();
    EXPECT_EQ(picture.Width, 640);
    EXPECT_EQ(picture.Height, 480);
    ExpectBlack(picture);
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
    EXPECT_GT(picture.Width, 0);
    EXPECT_GT(picture.Height, 0);
    ExpectBlack(picture);
}

TEST_F(DemoRun, BadOptionExitsWithStatus2AndTheReason) {
    EXPECT_EQ(Run("--frames five"), 2);
    EXPECT_EQ(Stderr(), "lumidor-demo: --frames expects a whole number of frames from 1 to 2147483647, got "
                        "\"five\"\nTry 'lumidor-demo --help'.\n");
    EXPECT_EQ(Run("--help"), 0);
}
