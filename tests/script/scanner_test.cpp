#include "script/script_scanner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace lumidor;

namespace {

std::string Normalized(std::string line) {
    NormalizeLine(line);
    return line;
}

TScriptSlots Match(const std::string& text, std::string_view pattern) {
    TScriptSlots slots;
    MatchPattern(text, slots, pattern);
    return slots;
}

} // namespace

TEST(ScriptLines, SplitsAtCrLfAndCrLfAndStopsAtNul) {
    EXPECT_EQ(SplitScriptLines("a\rb\nc\r\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitScriptLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitScriptLines("a\r\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitScriptLines("\n\r"), (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(SplitScriptLines("").empty());
    EXPECT_EQ(SplitScriptLines(std::string_view("one\ntwo\0three\n", 14)),
              (std::vector<std::string>{"one", "two"}));
}

TEST(ScriptLines, BlankAndCommentTests) {
    EXPECT_TRUE(IsBlankOrComment(""));
    EXPECT_TRUE(IsBlankOrComment("// note"));
    EXPECT_FALSE(IsBlankOrComment("   // note"));
    EXPECT_FALSE(IsBlankOrComment("/ /"));
    EXPECT_FALSE(IsBlankOrComment("mass(1);//x"));
}

TEST(NormalizeLine, KeepsOnlyTheFirstQuotedSectionsWhitespace) {
    EXPECT_EQ(Normalized("loadtexture ( 'my file.bmp' ) ;"), "loadtexture('my file.bmp');");
    EXPECT_EQ(Normalized("mass( 1 ,\t2 );"), "mass(1,2);");
    EXPECT_EQ(Normalized("loadtexture('a b.bmp');x('d e');"), "loadtexture('a b.bmp');x('de');");
    EXPECT_EQ(Normalized("loadtexture('\ta\t');"), "loadtexture('\ta\t');");
    EXPECT_EQ(Normalized("   // note"), "//note");
    EXPECT_EQ(Normalized("mass(1);\r\x01"), "mass(1);\r\x01");
}

TEST(NormalizeLine, SingleQuoteMovesToTheStart) {
    EXPECT_EQ(Normalized("loadtexture(abc.bmp');"), "'loadtexture(abc.bmp);");
    EXPECT_EQ(Normalized("'"), "'");
    EXPECT_EQ(Normalized("a b '"), "'ab");
}

TEST(MatchPattern, WellFormedCommands) {
    TScriptSlots s = Match("mass(2.5);size(1,1);", "%(%);%");
    EXPECT_EQ(s[0], "mass");
    EXPECT_EQ(s[1], "2.5");
    EXPECT_EQ(s[2], "size(1,1);");

    s = Match("size(1,2);", "%(%,%);%");
    EXPECT_EQ(s[0], "size");
    EXPECT_EQ(s[1], "1");
    EXPECT_EQ(s[2], "2");
    EXPECT_EQ(s[3], "");

    s = Match("color(1,0.5,0);", "%(%,%,%);%");
    EXPECT_EQ(s[1], "1");
    EXPECT_EQ(s[2], "0.5");
    EXPECT_EQ(s[3], "0");
    EXPECT_EQ(s[4], "");

    s = Match("velocity([1,0],[2,5],[1,-0.5]);rest", "%([%,%],[%,%],[%,%]);%");
    EXPECT_EQ(s[0], "velocity");
    const char* expected[] = {"1", "0", "2", "5", "1", "-0.5"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(s[std::size_t(i + 1)], expected[i]) << i;
    EXPECT_EQ(s[7], "rest");

    s = Match("loadtexture('tex 1.bmp');", "%('%');%");
    EXPECT_EQ(s[0], "loadtexture");
    EXPECT_EQ(s[1], "tex 1.bmp");
    EXPECT_EQ(s[2], "");
}

TEST(MatchPattern, MalformedTexts) {
    TScriptSlots s = Match("setnewparticletype;", "%(%);%");
    EXPECT_EQ(s[0], "setnewparticletype");
    EXPECT_EQ(s[1], "");
    EXPECT_EQ(s[2], "");

    s = Match("setnewparticletype", "%(%);%");
    EXPECT_EQ(s[0], "setnewparticletyp");

    s = Match("force(1,2,3);", "%(%);%");
    EXPECT_EQ(s[1], "1,2,3");
    EXPECT_EQ(s[2], "");

    s = Match("size(4);", "%(%,%);%");
    EXPECT_EQ(s[0], "size");
    EXPECT_EQ(s[1], "4)");
    EXPECT_EQ(s[2], "");
    EXPECT_EQ(s[3], "");

    s = Match("", "%(%);%");
    EXPECT_EQ(s[0], "");
    EXPECT_EQ(s[2], "");
}

TEST(MatchPattern, FewerWildcardsLeaveHigherSlotsAlone) {
    TScriptSlots slots;
    MatchPattern("velocity([1,2],[3,4],[5,6]);tail", slots, "%([%,%],[%,%],[%,%]);%");
    MatchPattern("mass(7);", slots, "%(%);%");
    EXPECT_EQ(slots[0], "mass");
    EXPECT_EQ(slots[1], "7");
    EXPECT_EQ(slots[2], "");
    EXPECT_EQ(slots[3], "3");
    EXPECT_EQ(slots[6], "6");
    EXPECT_EQ(slots[7], "tail");
}

TEST(FindKeyword, FoldedNamesAndRows) {
    EXPECT_EQ(FindKeyword("Mass", ScriptKeywords[0]), -1);
    EXPECT_EQ(FindKeyword(FoldToLower("Mass"), ScriptKeywords[0]), 0);
    EXPECT_EQ(FindKeyword("texture", ScriptKeywords[0]), 5);
    EXPECT_EQ(FindKeyword("enlargement", ScriptKeywords[1]), 4);
    EXPECT_EQ(FindKeyword("position", ScriptKeywords[3]), 1);
    EXPECT_EQ(FindKeyword("fading", ScriptKeywords[4]), 10);
    EXPECT_EQ(FindKeyword("continuous", ScriptKeywords[4]), -1);
    EXPECT_EQ(FindKeyword("", ScriptKeywords[0]), 6); // the loader treats an empty name as unknown
    EXPECT_EQ(FoldToLower("MaSS\xC4Z"), "mass\xC4z");
}

TEST(ConvertFloat, DecimalCommaFormOnly) {
    EXPECT_FLOAT_EQ(*ConvertFloat("0,25"), 0.25f);
    EXPECT_FLOAT_EQ(*ConvertFloat(ReplaceDotsByCommas("0.25")), 0.25f);
    EXPECT_FLOAT_EQ(*ConvertFloat("1e3"), 1000.0f);
    EXPECT_FLOAT_EQ(*ConvertFloat("-2,5E-1"), -0.25f);
    EXPECT_FLOAT_EQ(*ConvertFloat("+7"), 7.0f);
    EXPECT_FLOAT_EQ(*ConvertFloat("3,"), 3.0f);
    EXPECT_FLOAT_EQ(*ConvertFloat(",5"), 0.5f);
    EXPECT_EQ(*ConvertFloat("0,1"), 0.1f); // correctly rounded
    EXPECT_EQ(*ConvertFloat("16777217"), 16777216.0f);
    for (const char* bad : {"", "1.5", "abc", "1,5x", "inf", "nan", "-inf", "0x1p3", "1e", "e5", ",", "-",
                            "1,2,3", " 1", "1 ", "--1", "1e+"}) {
        EXPECT_FALSE(ConvertFloat(bad).has_value()) << bad;
    }
}

TEST(ConvertFloat, OutOfRangeSaturates) {
    EXPECT_EQ(*ConvertFloat("1e39"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(*ConvertFloat("-1e999999999999"), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(*ConvertFloat("1e-999"), 0.0f);
    EXPECT_EQ(*ConvertFloat("3,4e38"), 3.4e38f);
    EXPECT_TRUE(std::isinf(*ConvertFloat("3,5e38")));
    EXPECT_EQ(*ConvertFloat("0000000000000000000000000000000000000000000000000000000001"), 1.0f);
}

TEST(ConvertInteger, DecimalAndHexadecimal) {
    EXPECT_EQ(*ConvertInteger("$1F"), 31);
    EXPECT_EQ(*ConvertInteger("0x10"), 16);
    EXPECT_EQ(*ConvertInteger("X1f"), 31);
    EXPECT_EQ(*ConvertInteger("-$10"), -16);
    EXPECT_EQ(*ConvertInteger("770"), 770);
    EXPECT_EQ(*ConvertInteger("-2147483648"), INT32_MIN);
    EXPECT_EQ(*ConvertInteger("2147483647"), INT32_MAX);
    for (const char* bad : {"", "3.0", "3,0", "2147483648", "-2147483649", "$", "0x", "$G", "1e3", "abc",
                            "99999999999999999999999"}) {
        EXPECT_FALSE(ConvertInteger(bad).has_value()) << bad;
    }
}

TEST(ConvertBoolean, NumbersWithoutDotReplacementThenWords) {
    for (const char* yes : {"TRUE", "true", "True", "1", "-2", "0,5"})
        EXPECT_TRUE(*ConvertBoolean(yes)) << yes;
    for (const char* no : {"false", "FALSE", "0", "0,0"})
        EXPECT_FALSE(*ConvertBoolean(no)) << no;
    for (const char* bad : {"yes", "1.0", "", "truee"})
        EXPECT_FALSE(ConvertBoolean(bad).has_value()) << bad;
}

TEST(TruncToInt32, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(TruncToInt32(99.9f), 99);
    EXPECT_EQ(TruncToInt32(-99.9f), -99);
    EXPECT_EQ(TruncToInt32(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(TruncToInt32(std::numeric_limits<float>::infinity()), INT32_MAX);
    EXPECT_EQ(TruncToInt32(-1e30f), INT32_MIN);
    EXPECT_EQ(TruncToInt32(2147483648.0f), INT32_MAX);
}

TEST(ReportValueError, ExactWording) {
    std::string log;
    std::int32_t errors = 0;
    ReportValueError(log, errors, 7, "abc", TValueKind::Integer);
    ReportValueError(log, errors, 0, "1,5x", TValueKind::Float);
    ReportValueError(log, errors, 12, "maybe", TValueKind::Boolean);
    EXPECT_EQ(log, "Error (Line 7): \"abc\" is not a valid integer value.\r"
                   "Error (Line 0): \"1,5x\" is not a valid floating point value.\r"
                   "Error (Line 12): \"maybe\" is not a valid LDBooleanValue value.\r");
    EXPECT_EQ(errors, 3);
}
