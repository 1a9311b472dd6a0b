#include "app/core/caption.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <locale.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace lumidor;

TEST(Caption, RateUsesUpTo15SignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(FormatFramesPerSecond(62.5f, "."), "62.5");
    EXPECT_EQ(FormatFramesPerSecond(0.0f, "."), "0");
    EXPECT_EQ(FormatFramesPerSecond(60.0f, "."), "60");
    EXPECT_EQ(FormatFramesPerSecond(1234567.0f, "."), "1234567");
    // The float is widened first, so its binary value shows.
    EXPECT_EQ(FormatFramesPerSecond(1.0f / 3.0f, "."), "0.333333343267441");
    EXPECT_EQ(FormatFramesPerSecond(1e20f, "."), "1.00000002004088e+20");
}

TEST(Caption, NonFiniteRatesReadAsWords) {
    EXPECT_EQ(FormatFramesPerSecond(std::numeric_limits<float>::infinity(), "."), "Infinity");
    EXPECT_EQ(FormatFramesPerSecond(-std::numeric_limits<float>::infinity(), "."), "-Infinity");
    EXPECT_EQ(FormatFramesPerSecond(std::numeric_limits<float>::quiet_NaN(), "."), "NaN");
}

TEST(Caption, FullText) {
    EXPECT_EQ(CaptionText(62.5f, "."), "Lumidor Particle Engine demonstration - 62.5 FPS");
    EXPECT_EQ(CaptionText(0.0f), kInitialCaption);
    EXPECT_STREQ(kInitialCaption, "Lumidor Particle Engine demonstration - 0 FPS");
}

TEST(Caption, DecimalSeparatorReplacesThePoint) {
    EXPECT_EQ(FormatFramesPerSecond(62.5f, ","), "62,5");
    EXPECT_EQ(FormatFramesPerSecond(60.0f, ","), "60");
    EXPECT_EQ(FormatFramesPerSecond(1e20f, ","), "1,00000002004088e+20");
    EXPECT_EQ(FormatFramesPerSecond(0.5f, "\xD9\xAB"), "0\xD9\xAB"
                                                       "5"); // a separator of two bytes
    EXPECT_EQ(CaptionText(62.5f, ","), "Lumidor Particle Engine demonstration - 62,5 FPS");
}

namespace {

// In a child process with the given environment changes (a null value unsets): the user's separator,
// then how this process formats 62.5 and the name of its numeric locale afterwards. A child keeps the
// test's own environment as it is, and glibc's newlocale leaks its LOCPATH list there, not here.
std::string SeparatorAndProcessLocale(const std::vector<std::pair<const char*, const char*>>& environment) {
    int channel[2];
    if (::pipe(channel) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child < 0) return "no child";
    if (child == 0) {
        ::close(channel[0]);
        for (const auto& [name, value] : environment) {
            if (value)
                ::setenv(name, value, 1);
            else
                ::unsetenv(name);
        }
        const std::string separator = UserDecimalSeparator();
        char number[16];
        std::snprintf(number, sizeof number, "%.1f", 62.5);
        const std::string text = separator + ' ' + number + ' ' + std::setlocale(LC_NUMERIC, nullptr);
        [[maybe_unused]] const ssize_t written = ::write(channel[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string text;
    char buffer[64];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, std::size_t(got));
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return text;
}

} // namespace

TEST(Caption, UserLocaleGivesTheSeparatorWithoutChangingTheProcessLocale) {
    const char* locale = "de_DE.UTF-8";
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("lumidor_locale_" + std::to_string(::getpid()));
    const char* localePath = nullptr; // the installed locales
    bool available = true;
    if (const locale_t installed = newlocale(LC_NUMERIC_MASK, locale, locale_t(0))) {
        freelocale(installed);
    } else {
        // Not installed: compile it into a private folder (Debian's locales package has its sources).
        std::filesystem::create_directories(folder);
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + (folder / locale).string() + "' >/dev/null 2>&1";
        [[maybe_unused]] const int status = std::system(command.c_str()); // warnings give a non-zero status
        localePath = folder.c_str();
        available = std::filesystem::exists(folder / locale / "LC_NUMERIC");
    }
    // The usual desktop sets only LANG; LC_ALL overrides it; an unknown locale gives the point.
    if (available) {
        EXPECT_EQ(
            SeparatorAndProcessLocale(
                {{"LOCPATH", localePath}, {"LC_ALL", nullptr}, {"LC_NUMERIC", nullptr}, {"LANG", locale}}),
            ", 62.5 C");
        EXPECT_EQ(SeparatorAndProcessLocale({{"LOCPATH", localePath}, {"LC_ALL", "C"}, {"LANG", locale}}),
                  ". 62.5 C");
    }
    EXPECT_EQ(SeparatorAndProcessLocale({{"LC_ALL", "xx_NOWHERE.UTF-8"}}), ". 62.5 C");
    std::filesystem::remove_all(folder);
    if (!available) GTEST_SKIP() << locale << " is neither installed nor buildable with localedef";
}
