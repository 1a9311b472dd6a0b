#include "app/desktop/display_mode.h"

#include <gtest/gtest.h>

using namespace lumidor;

TEST(FullscreenMode, OnlyAModeOfferedExactlyIsChosen) {
    const std::vector<TOfferedMode> offered = {
        {1024, 768, 32, 60}, {800, 600, 32, 60}, {800, 600, 16, 75}, {640, 480, 32, 0}};
    EXPECT_EQ(FindOfferedMode(offered, 800, 600, 16, 75), 2u);
    EXPECT_EQ(FindOfferedMode(offered, 800, 600, 32, 0), 1u); // a refresh of 0 takes any rate
    // Nothing near is taken instead: another rate, depth or size leaves the display as it is.
    EXPECT_EQ(FindOfferedMode(offered, 800, 600, 16, 60), std::nullopt);
    EXPECT_EQ(FindOfferedMode(offered, 800, 600, 24, 60), std::nullopt);
    EXPECT_EQ(FindOfferedMode(offered, 801, 600, 32, 60), std::nullopt);
    // A rate the display does not state is not the one asked for.
    EXPECT_EQ(FindOfferedMode(offered, 640, 480, 32, 60), std::nullopt);
    EXPECT_EQ(FindOfferedMode({}, 800, 600, 32, 0), std::nullopt);
}
