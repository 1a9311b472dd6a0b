#include "app/desktop/display_config.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace lumidor;

namespace {

// Writes a config file of the given text in a fresh folder and reads it back.
TDisplayConfig ReadConfigText(const std::string& text) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("lumidor_config_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "config.ini";
    std::ofstream(file, std::ios::binary) << text;
    TDisplayConfig config = ReadDisplayConfig(file.string());
    std::filesystem::remove_all(folder);
    return config;
}

void ExpectDefaults(const TDisplayConfig& config) {
    EXPECT_EQ(config.DisplayWidth, 800);
    EXPECT_EQ(config.DisplayHeight, 600);
    EXPECT_EQ(config.DisplayFrequency, 60);
    EXPECT_EQ(config.DisplayBitsPerPixel, 32);
    EXPECT_FALSE(config.DisplayFullscreen);
}

} // namespace

TEST(DisplayConfig, MissingFileSectionOrKeysGiveDefaults) {
    ExpectDefaults(ReadDisplayConfig("/nonexistent/folder/config.ini"));
    ExpectDefaults(ReadConfigText(""));
    ExpectDefaults(ReadConfigText("[Video]\nheight=1024\nwidth=768\nfullscreen=1\n"));
    ExpectDefaults(ReadConfigText("[Display]\n; nothing set\n"));
}

TEST(DisplayConfig, HeightKeySetsWidthAndWidthKeySetsHeight) {
    const TDisplayConfig config =
        ReadConfigText("[Display]\nheight=1024\nwidth=768\nfrequency=75\nbpp=32\nfullscreen=1\n");
    EXPECT_EQ(config.DisplayWidth, 1024);
    EXPECT_EQ(config.DisplayHeight, 768);
    EXPECT_EQ(config.DisplayFrequency, 75);
    EXPECT_EQ(config.DisplayBitsPerPixel, 32);
    EXPECT_TRUE(config.DisplayFullscreen);
}

TEST(DisplayConfig, OnlyFullscreenKeepsTheOtherDefaults) {
    const TDisplayConfig config = ReadConfigText("[Display]\nfullscreen=1\n");
    EXPECT_TRUE(config.DisplayFullscreen);
    EXPECT_EQ(config.DisplayWidth, 800);
    EXPECT_EQ(config.DisplayHeight, 600);
    EXPECT_EQ(config.DisplayFrequency, 60);
    EXPECT_EQ(config.DisplayBitsPerPixel, 32);
}

TEST(DisplayConfig, BooleansAreIntegers) {
    EXPECT_FALSE(ReadConfigText("[Display]\nfullscreen=true\n").DisplayFullscreen);
    EXPECT_FALSE(ReadConfigText("[Display]\nfullscreen=0\n").DisplayFullscreen);
    EXPECT_TRUE(ReadConfigText("[Display]\nfullscreen=-7\n").DisplayFullscreen);
    EXPECT_TRUE(ReadConfigText("[Display]\nfullscreen=$10\n").DisplayFullscreen);
}

TEST(DisplayConfig, HexadecimalAndColourDepth) {
    EXPECT_EQ(ReadConfigText("[Display]\nwidth=0x300\n").DisplayHeight, 768);
    EXPECT_EQ(ReadConfigText("[Display]\nheight=0X400\n").DisplayWidth, 1024);
    EXPECT_EQ(ReadConfigText("[Display]\nfrequency=$1F\n").DisplayFrequency, 31);
    EXPECT_EQ(ReadConfigText("[Display]\nbpp=16\n").DisplayBitsPerPixel, 16);
}

TEST(DisplayConfig, GarbageAndOutOfRangeValuesGiveThatKeysDefault) {
    const TDisplayConfig config = ReadConfigText("[Display]\n"
                                                 "height=99999999999\n"
                                                 "width=600px\n"
                                                 "frequency=sixty\n"
                                                 "bpp=\n"
                                                 "fullscreen=1 2\n");
    ExpectDefaults(config);
    EXPECT_EQ(ReadConfigText("[Display]\nwidth=2147483648\n").DisplayHeight, 600);
    EXPECT_EQ(ReadConfigText("[Display]\nheight=$100000000\n").DisplayWidth, 800);
    EXPECT_EQ(ReadConfigText("[Display]\nheight=2147483647\n").DisplayWidth, INT_MAX);
    EXPECT_EQ(ReadConfigText("[Display]\nwidth=-5\n").DisplayHeight, -5);
}

TEST(DisplayConfig, NamesAreCaseInsensitiveAndTheFirstEntryWins) {
    const TDisplayConfig config =
        ReadConfigText("[display]\nHEIGHT=1280\nHeight=640\nnot a key line\n  Bpp = 24 \n[Other]\nwidth=1\n");
    EXPECT_EQ(config.DisplayWidth, 1280);
    EXPECT_EQ(config.DisplayBitsPerPixel, 24);
    EXPECT_EQ(config.DisplayHeight, 600);
}

TEST(ConfigInteger, AcceptsDecimalAndThreeHexadecimalPrefixes) {
    EXPECT_EQ(ParseConfigInteger("0", 9), 0);
    EXPECT_EQ(ParseConfigInteger("+42", 9), 42);
    EXPECT_EQ(ParseConfigInteger("-2147483648", 9), INT_MIN);
    EXPECT_EQ(ParseConfigInteger("0xff", 9), 255);
    EXPECT_EQ(ParseConfigInteger("0XfF", 9), 255);
    EXPECT_EQ(ParseConfigInteger("$Ff", 9), 255);
    EXPECT_EQ(ParseConfigInteger("-$10", 9), -16);
    EXPECT_EQ(ParseConfigInteger("$FFFFFFFF", 9), -1); // all 32 bits, two's complement
    EXPECT_EQ(ParseConfigInteger("$80000000", 9), INT_MIN);
}

TEST(ConfigInteger, RejectsAnythingElse) {
    for (const char* text :
         {"", "+", "-", "$", "0x", "x10", "0x1G", "$ 1", "1.5", "1e3", "12 ", " 12", "0b101", "true",
          "2147483648", "-2147483649", "$1FFFFFFFF", "99999999999999999999999"}) {
        EXPECT_EQ(ParseConfigInteger(text, 77), 77) << '"' << text << '"';
    }
}

TEST(DisplayConfig, OnlyKeyEqualsValueLinesWithBareIntegersCount) {
    // No inline comments and no ':' separator: both leave the key at its default.
    const TDisplayConfig config = ParseDisplayConfig(
        "\xEF\xBB\xBF[Display]\r\nheight=1024 ; note\r\nwidth:768\r\nbpp = 16\r\nfrequency=75");
    EXPECT_EQ(config.DisplayWidth, 800);
    EXPECT_EQ(config.DisplayHeight, 600);
    EXPECT_EQ(config.DisplayBitsPerPixel, 16);
    EXPECT_EQ(config.DisplayFrequency, 75); // the last line needs no line end
}

TEST(DisplayConfig, AnOversizedFileIsReadUpToItsLastWholeLine) {
    // The first MiB ends inside "width=768": a cut value must not read as 76.
    std::string text = "[Display]\nbpp=16\n";
    text.resize((1 << 20) - 8, '\n');
    const TDisplayConfig config = ReadConfigText(text + "width=768\n");
    EXPECT_EQ(config.DisplayHeight, 600);
    EXPECT_EQ(config.DisplayBitsPerPixel, 16);
}

TEST(DisplayConfig, TheFileIsReadWholeUpToTheLimit) {
    // Keys past the first few kilobytes: the file is read on to its end, whatever its size.
    std::string padded = "[Display]\n" + std::string(10'000, '\n') + "; filler\n";
    EXPECT_EQ(ReadConfigText(padded + "bpp=24\n").DisplayBitsPerPixel, 24);

    // Exactly the limit: all of it counts, the last line without its line end too.
    std::string exact = "[Display]\n";
    exact.resize((1 << 20) - 9, '\n');
    exact += "width=768";
    ASSERT_EQ(exact.size(), std::size_t(1) << 20);
    EXPECT_EQ(ReadConfigText(exact).DisplayHeight, 768);

    // One byte more, and the unterminated last line is the part cut off.
    EXPECT_EQ(ReadConfigText(exact + "0").DisplayHeight, 600);
    EXPECT_EQ(ReadConfigText(exact + "\n").DisplayHeight, 768);

    // Over the limit with no line end in the first MiB: nothing of it is read.
    std::string oneLine = "[Display]" + std::string(1 << 20, ' ') + "\nheight=1024\n";
    ExpectDefaults(ReadConfigText(oneLine));
}
