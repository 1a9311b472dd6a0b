#include "app/command_line.h"

#include "app/message_box.h"

#include <gtest/gtest.h>

using namespace lumidor;

namespace {

TCommandLineResult Parse(std::vector<std::string> arguments) {
    return ParseCommandLine(arguments);
}

} // namespace

TEST(CommandLine, NoArgumentsRunsTheClassicProgram) {
    const TCommandLineResult result = Parse({});
    ASSERT_EQ(result.Action, TCommandLineAction::Run);
    EXPECT_FALSE(result.Options.Frames);
    EXPECT_FALSE(result.Options.FixedFrameTime);
    EXPECT_FALSE(result.Options.Seed);
    EXPECT_FALSE(result.Options.Effect);
    EXPECT_TRUE(result.Options.ScreenshotFile.empty());
    EXPECT_FALSE(result.Options.Benchmark);
}

TEST(CommandLine, EveryOptionWithSeparateOrInlineValues) {
    const TCommandLineResult result =
        Parse({"--frames", "5", "--fixed-dt=0.016", "--seed", "18446744073709551615", "--screenshot",
               "out/Shot.PNG", "--effect=18", "--benchmark"});
    ASSERT_EQ(result.Action, TCommandLineAction::Run) << result.Error;
    EXPECT_EQ(result.Options.Frames, 5);
    ASSERT_TRUE(result.Options.FixedFrameTime);
    EXPECT_FLOAT_EQ(*result.Options.FixedFrameTime, 0.016f);
    EXPECT_EQ(result.Options.Seed, 18446744073709551615ull);
    EXPECT_EQ(result.Options.ScreenshotFile, "out/Shot.PNG");
    EXPECT_EQ(result.Options.Effect, 18);
    EXPECT_TRUE(result.Options.Benchmark);

    EXPECT_EQ(Parse({"--frames", "3", "--frames", "7"}).Options.Frames, 7); // the last one counts
    EXPECT_EQ(Parse({"--fixed-dt", "0"}).Options.FixedFrameTime, 0.0f);
    EXPECT_EQ(Parse({"--seed", "0"}).Options.Seed, 0u);
}

TEST(CommandLine, HelpStopsParsing) {
    EXPECT_EQ(Parse({"--help"}).Action, TCommandLineAction::ShowHelp);
    EXPECT_EQ(Parse({"--frames", "2", "-h", "--bogus"}).Action, TCommandLineAction::ShowHelp);
    EXPECT_NE(CommandLineUsage().find("--screenshot FILE.png"), std::string::npos);
}

TEST(CommandLine, BadValuesFailWithTheReason) {
    EXPECT_EQ(Parse({"--frames", "0"}).Error,
              "--frames expects a whole number of frames from 1 to 2147483647, got \"0\"");
    EXPECT_EQ(Parse({"--fixed-dt", "-0.5"}).Error,
              "--fixed-dt expects a frame time in seconds from 0 to 3600, got \"-0.5\"");
    EXPECT_EQ(Parse({"--effect", "19"}).Error, "--effect expects an effect slot from 0 to 18, got \"19\"");
    EXPECT_EQ(Parse({"--screenshot", "shot.jpg", "--frames", "1"}).Error,
              "--screenshot expects a file name ending in .png, got \"shot.jpg\"");
    EXPECT_EQ(Parse({"--seed"}).Error, "--seed needs a value");
    EXPECT_EQ(Parse({"--fullscreen"}).Error, "unknown option \"--fullscreen\"");
    EXPECT_EQ(Parse({"--benchmark=1"}).Error, "--benchmark takes no value");
    EXPECT_EQ(Parse({"--screenshot", "a.png"}).Error,
              "--screenshot needs --frames, so that the last frame is known");

    const std::vector<std::vector<std::string>> bad = {
        {"--frames", "-1"},
        {"--frames", "abc"},
        {"--frames", "2147483648"},
        {"--frames", " 5"},
        {"--frames", "5x"},
        {"--frames="},
        {"--fixed-dt", "nan"},
        {"--fixed-dt", "inf"},
        {"--fixed-dt", "1e9"},
        {"--fixed-dt", "0.1s"},
        {"--fixed-dt", ""},
        {"--seed", "-1"},
        {"--seed", "18446744073709551616"},
        {"--effect", "-1"},
        {"--effect", "1.0"},
        {"--screenshot", ".png"},
        {"extra"},
    };
    for (const std::vector<std::string>& arguments : bad) {
        const TCommandLineResult result = Parse(arguments);
        EXPECT_EQ(result.Action, TCommandLineAction::Fail) << arguments[0] << ' ' << arguments.back();
        EXPECT_FALSE(result.Error.empty());
    }
}

TEST(CommandLine, UnattendedRunsNeverOpenDialogs) {
    TCommandLine options;
    EXPECT_TRUE(WantDialogs(options, nullptr));
    EXPECT_TRUE(WantDialogs(options, "0"));
    EXPECT_FALSE(WantDialogs(options, "1"));
    options.Frames = 5;
    EXPECT_FALSE(WantDialogs(options, nullptr));
}

TEST(CommandLine, ScriptNamesTheFileToPlay) {
    EXPECT_EQ(Parse({}).Options.ScriptFile, "");
    EXPECT_EQ(Parse({"--script", "some/folder/red.psc"}).Options.ScriptFile, "some/folder/red.psc");
    EXPECT_EQ(Parse({"--script=a b.psc", "--frames", "2"}).Options.ScriptFile, "a b.psc");
    EXPECT_EQ(Parse({"--script"}).Error, "--script needs a value");
    EXPECT_EQ(Parse({"--script="}).Error, "--script expects a script file name, got \"\"");
    EXPECT_NE(CommandLineUsage().find("--script FILE.psc"), std::string::npos);
}

TEST(CommandLine, SoakAndGLDebug) {
    TCommandLineResult result = Parse({"--soak", "90", "--gl-debug", "--fixed-dt=0.02"});
    ASSERT_EQ(result.Action, TCommandLineAction::Run) << result.Error;
    EXPECT_EQ(result.Options.Soak, 90);
    EXPECT_TRUE(result.Options.GLDebug);
    EXPECT_FALSE(Parse({}).Options.GLDebug);
    EXPECT_FALSE(Parse({}).Options.Soak);

    EXPECT_EQ(Parse({"--soak", "0"}).Error,
              "--soak expects a whole number of seconds from 1 to 604800, got \"0\"");
    EXPECT_EQ(Parse({"--soak=1.5"}).Action, TCommandLineAction::Fail);
    EXPECT_EQ(Parse({"--soak", "604801"}).Action, TCommandLineAction::Fail);
    EXPECT_EQ(Parse({"--gl-debug=1"}).Error, "--gl-debug takes no value");
    EXPECT_EQ(Parse({"--soak", "5", "--frames", "3"}).Error,
              "--soak runs on its own; it cannot be combined with --benchmark or --frames");
    EXPECT_EQ(Parse({"--benchmark", "--soak", "5"}).Action, TCommandLineAction::Fail);
    EXPECT_NE(CommandLineUsage().find("--soak SECONDS"), std::string::npos);
    EXPECT_NE(CommandLineUsage().find("--gl-debug"), std::string::npos);
}
