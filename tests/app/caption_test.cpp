#include "app/caption.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <locale.h>
#include <optional>
#include <string>
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

// Sets environment variables for one scope and puts the old values back.
class TScopedEnvironment {
  public:
    void Set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~TScopedEnvironment() {
        for (auto entry = saved_.rbegin(); entry != saved_.rend(); ++entry) {
            if (entry->second)
                ::setenv(entry->first.c_str(), entry->second->c_str(), 1);
            else
                ::unsetenv(entry->first.c_str());
        }
    }

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

bool LocaleLoads(const char* name) {
    const locale_t locale = newlocale(LC_NUMERIC_MASK, name, locale_t(0));
    if (locale == locale_t(0)) return false;
    freelocale(locale);
    return true;
}

} // namespace

TEST(Caption, UserLocaleGivesTheSeparatorWithoutChangingTheProcessLocale) {
    TScopedEnvironment environment;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("lumidor_locale_" + std::to_string(::getpid()));
    if (!LocaleLoads("de_DE.UTF-8")) {
        // Not installed: compile it into a private folder (Debian's locales package has its sources).
        std::filesystem::create_directories(folder);
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
        [[maybe_unused]] const int status = std::system(command.c_str()); // warnings give a non-zero status
        environment.Set("LOCPATH", folder.c_str());
    }
    const bool german = LocaleLoads("de_DE.UTF-8");
    if (german) {
        // The usual desktop: only LANG is set.
        environment.Set("LC_ALL", nullptr);
        environment.Set("LC_NUMERIC", nullptr);
        environment.Set("LANG", "de_DE.UTF-8");
        EXPECT_EQ(UserDecimalSeparator(), ",");
        environment.Set("LC_ALL", "C"); // LC_ALL overrides
        EXPECT_EQ(UserDecimalSeparator(), ".");
    }
    environment.Set("LC_ALL", "xx_NOWHERE.UTF-8"); // a locale that does not exist
    EXPECT_EQ(UserDecimalSeparator(), ".");
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 62.5);
    EXPECT_STREQ(text, "62.5");
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    std::filesystem::remove_all(folder);
    if (!german) GTEST_SKIP() << "de_DE.UTF-8 is neither installed nor buildable with localedef";
}
