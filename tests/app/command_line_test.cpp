#include "app/core/command_line.h"

#include "app/desktop/message_box.h"

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
               "out/Shot.PNG", "--effect=18"});
    ASSERT_EQ(result.Action, TCommandLineAction::Run) << result.Error;
    EXPECT_EQ(result.Options.Frames, 5);
    ASSERT_TRUE(result.Options.FixedFrameTime);
    EXPECT_FLOAT_EQ(*result.Options.FixedFrameTime, 0.016f);
    EXPECT_EQ(result.Options.Seed, 18446744073709551615ull);
    EXPECT_EQ(result.Options.ScreenshotFile, "out/Shot.PNG");
    EXPECT_EQ(result.Options.Effect, 18);
    EXPECT_FALSE(result.Options.Benchmark);
    EXPECT_TRUE(Parse({"--benchmark", "--frames", "10", "--fixed-dt", "0.02"}).Options.Benchmark);

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
    EXPECT_EQ(
        Parse({"--effect", "19"}).Error,
        "--effect expects an effect slot from 0 to 18 or an effect's name from --list-effects, got \"19\"");
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

TEST(CommandLine, EmitterPathByName) {
    const struct {
        std::vector<std::string> Arguments;
        std::optional<TEmitterPath> Path;
        std::string Error;
    } cases[] = {
        {{}, std::nullopt, ""},
        {{"--emitter-path", "circle"}, TEmitterPath::Circle, ""},
        {{"--emitter-path=eight", "--frames", "3"}, TEmitterPath::FigureOfEight, ""},
        {{"--emitter-path", "still"}, TEmitterPath::Still, ""},
        {{"--emitter-path", "square"},
         std::nullopt,
         "--emitter-path expects still, circle or eight, got \"square\""},
        {{"--emitter-path"}, std::nullopt, "--emitter-path needs a value"},
    };
    for (const auto& test : cases) {
        const TCommandLineResult result = Parse(test.Arguments);
        EXPECT_EQ(result.Error, test.Error);
        EXPECT_EQ(result.Options.EmitterPath, test.Path);
    }
    EXPECT_NE(CommandLineUsage().find("--emitter-path NAME"), std::string::npos);
}

TEST(CommandLine, CameraSetsTheViewOrSaysWhyNot) {
    const TOrbitCamera camera = *Parse({"--camera", "40,25,7"}).Options.Camera;
    EXPECT_TRUE(camera.Yaw == 40.0f && camera.Pitch == 25.0f && camera.Distance == 7.0f);
    EXPECT_FALSE(Parse({}).Options.Camera);
    EXPECT_EQ(
        Parse({"--camera=0,90,5"}).Error,
        "--camera expects YAW,PITCH,DISTANCE: degrees about the vertical, degrees from -89 to 89 (positive "
        "looks from above), units from 0.5 to 50, got \"0,90,5\": the pitch 90 is outside -89 to 89 degrees");
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

TEST(CommandLine, EffectByMenuNameIgnoringCaseWithOrWithoutItsCount) {
    EXPECT_EQ(Parse({"--effect", "Effect 2"}).Options.Effect, 9);
    EXPECT_EQ(Parse({"--effect", "effect 2 (2000)"}).Options.Effect, 9);
    EXPECT_EQ(Parse({"--effect=SMOKE 1"}).Options.Effect, 14); // menu order is not slot order
    EXPECT_EQ(Parse({"--effect", "Aflamed magnesium"}).Options.Effect, 7);
    EXPECT_EQ(Parse({"--effect", "text (~6000)"}).Options.Effect, 17);
    EXPECT_EQ(Parse({"--effect", "Firework"}).Options.Effect, 18); // a caption without a count
    EXPECT_EQ(Parse({"--effect", "Stresstest"}).Options.Effect, 10);
    EXPECT_EQ(Parse({"--effect", "Stresstest Script"}).Options.Effect, 13);
    EXPECT_EQ(Parse({"--effect", "9"}).Options.Effect, 9); // a number is a slot, not a menu position

    // Near misses are refused, not guessed.
    for (const char* name :
         {"Effect", "Effect 2 ", "Effect 2 (200)", "Smoke", "Fire (300", "Stress test", ""})
        EXPECT_EQ(Parse({"--effect", name}).Action, TCommandLineAction::Fail) << '"' << name << '"';
    EXPECT_EQ(FindEffectByName("(2000)"), std::nullopt);
    EXPECT_NE(CommandLineUsage().find("--effect N|NAME"), std::string::npos);
}

TEST(CommandLine, ListEffectsPrintsEveryMenuEntryInMenuOrder) {
    EXPECT_EQ(Parse({"--list-effects"}).Action, TCommandLineAction::ListEffects);
    EXPECT_EQ(Parse({"--frames", "2", "--list-effects", "--bogus"}).Action, TCommandLineAction::ListEffects);
    EXPECT_EQ(Parse({"--list-effects=1"}).Error, "--list-effects takes no value");

    const std::string list = EffectListText();
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = list.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(list.substr(start, end - start));
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(list.back(), '\n');
    EXPECT_EQ(lines[0], "slot  0  menu  1  Fire (300)");
    EXPECT_EQ(lines[1], "slot 14  menu  2  Smoke 1 (200)");
    EXPECT_EQ(lines[11], "slot  9  menu 12  Effect 2 (2000)");
    EXPECT_EQ(lines[18], "slot 18  menu 19  Firework");
    // Every listed name chooses its own slot.
    for (const std::string& line : lines)
        EXPECT_EQ(FindEffectByName(line.substr(18)), std::stoi(line.substr(5, 2))) << line;
    EXPECT_NE(CommandLineUsage().find("--list-effects"), std::string::npos);
}

// Combinations in which an option could never take effect are refused with the reason, and exit
// statuses are documented.
TEST(CommandLine, OptionsThatCannotWorkTogetherAreRefused) {
    struct TCase {
        std::vector<std::string> Arguments;
        std::string Error; // empty: the combination runs
    };
    const std::vector<TCase> cases = {
        {{"--soak", "5", "--frames", "3"},
         "--soak runs on its own; it cannot be combined with --benchmark or --frames"},
        {{"--benchmark", "--soak", "5"},
         "--soak runs on its own; it cannot be combined with --benchmark or --frames"},
        {{"--benchmark", "--effect", "3"},
         "--effect cannot be combined with --benchmark, which runs every effect in turn"},
        {{"--benchmark", "--script", "a.psc"},
         "--script cannot be combined with --benchmark, which runs every effect in turn"},
        {{"--benchmark", "--frames", "3", "--screenshot", "a.png"},
         "--screenshot cannot be combined with --benchmark, which runs every effect in turn"},
        {{"--soak", "5", "--record", "clip"},
         "--record cannot be combined with --soak, which runs every effect in turn"},
        {{"--soak", "5", "--effect", "Fire"},
         "--effect cannot be combined with --soak, which runs every effect in turn"},
        {{"--effect", "2", "--script", "a.psc"},
         "--effect and --script both choose the effect shown; give one of them"},
        {{"--screenshot", "a.png"}, "--screenshot needs --frames, so that the last frame is known"},
        {{"--benchmark", "--stats", "s.jsonl", "--frames", "3", "--gl-debug"}, ""},
        {{"--soak", "5", "--stats", "s.jsonl", "--fixed-dt", "0.02", "--seed", "4"}, ""},
        {{"--script", "a.psc", "--record", "clip", "--frames", "3", "--screenshot", "a.png"}, ""},
    };
    for (const TCase& test : cases) {
        const TCommandLineResult result = Parse(test.Arguments);
        std::string joined;
        for (const std::string& argument : test.Arguments)
            joined += argument + ' ';
        EXPECT_EQ(result.Action, test.Error.empty() ? TCommandLineAction::Run : TCommandLineAction::Fail)
            << joined;
        EXPECT_EQ(result.Error, test.Error) << joined;
    }
    const std::string usage = CommandLineUsage();
    for (const char* status : {"Exit status:", "  0  ", "  1  ", "  2  ", "  3  "})
        EXPECT_NE(usage.find(status), std::string::npos) << status;
}
