#include "app/caption.h"

#include <gtest/gtest.h>

#include <limits>

using namespace lumidor;

TEST(Caption, RateUsesUpTo15SignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(FormatFramesPerSecond(62.5f), "62.5");
    EXPECT_EQ(FormatFramesPerSecond(0.0f), "0");
    EXPECT_EQ(FormatFramesPerSecond(60.0f), "60");
    EXPECT_EQ(FormatFramesPerSecond(1234567.0f), "1234567");
    // The float is widened first, so its binary value shows.
    EXPECT_EQ(FormatFramesPerSecond(1.0f / 3.0f), "0.333333343267441");
    EXPECT_EQ(FormatFramesPerSecond(1e20f), "1.00000002004088e+20");
}

TEST(Caption, NonFiniteRatesReadAsWords) {
    EXPECT_EQ(FormatFramesPerSecond(std::numeric_limits<float>::infinity()), "Infinity");
    EXPECT_EQ(FormatFramesPerSecond(-std::numeric_limits<float>::infinity()), "-Infinity");
    EXPECT_EQ(FormatFramesPerSecond(std::numeric_limits<float>::quiet_NaN()), "NaN");
}

TEST(Caption, FullText) {
    EXPECT_EQ(CaptionText(62.5f), "Lumidor Particle Engine demonstration - 62.5 FPS");
    EXPECT_EQ(CaptionText(0.0f), kInitialCaption);
    EXPECT_STREQ(kInitialCaption, "Lumidor Particle Engine demonstration - 0 FPS");
}
