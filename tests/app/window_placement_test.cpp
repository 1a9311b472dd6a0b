// Window placement as a function of the viewport and the window's wanted place and size.

#include "app/core/window_placement.h"

#include <gtest/gtest.h>

using namespace lumidor;

namespace {

const TUiRect Window800x600{0, 0, 800, 600};

bool Inside(const TUiRect& viewport, const TUiRect& rect) {
    return rect.X >= viewport.X && rect.Y >= viewport.Y &&
           rect.X + rect.Width <= viewport.X + viewport.Width &&
           rect.Y + rect.Height <= viewport.Y + viewport.Height;
}

} // namespace

TEST(WindowPlacement, AWindowInsideStaysAsItIs) {
    for (const TUiRect wanted : {TUiRect{10, 10, 430, 330}, TUiRect{0, 0, 800, 600},
                                 TUiRect{192, 107, 318, 206}, TUiRect{799, 599, 1, 1}})
        EXPECT_EQ(FitInside(Window800x600, wanted), wanted);
}

TEST(WindowPlacement, AWindowCrossingAnEdgeMovesInKeepingItsSize) {
    // The particle inspector at x = 400 below the banner, taller than what is left below it.
    EXPECT_EQ(FitInside(Window800x600, {400, 112, 430, 520}), (TUiRect{370, 80, 430, 520}));
    EXPECT_EQ(FitInside(Window800x600, {-50, -20, 300, 200}), (TUiRect{0, 0, 300, 200}));
    EXPECT_EQ(FitInside(Window800x600, {700, 550, 300, 200}), (TUiRect{500, 400, 300, 200}));
    // A viewport that does not start at the origin.
    EXPECT_EQ(FitInside({100, 50, 400, 300}, {0, 0, 100, 100}), (TUiRect{100, 50, 100, 100}));
    EXPECT_EQ(FitInside({100, 50, 400, 300}, {480, 340, 100, 100}), (TUiRect{400, 250, 100, 100}));
}

TEST(WindowPlacement, AWindowLargerThanTheViewportShrinksToItAndSitsAtItsCorner) {
    EXPECT_EQ(FitInside(Window800x600, {40, 60, 620, 380}), (TUiRect{40, 60, 620, 380}));
    const TUiRect small{0, 0, 500, 300}; // the main window made smaller than the script log
    const TUiRect fitted = FitInside(small, {40, 60, 620, 380});
    EXPECT_EQ(fitted, (TUiRect{0, 0, 500, 300}));
    EXPECT_EQ(FitInside(small, {40, 60, 300, 380}), (TUiRect{40, 0, 300, 300})); // only the height shrinks
    // Whatever is wanted, the result lies inside.
    for (float x : {-1000.0f, 0.0f, 450.0f, 5000.0f})
        for (float w : {1.0f, 499.0f, 500.0f, 501.0f, 4000.0f})
            EXPECT_TRUE(Inside(small, FitInside(small, {x, x / 2, w, w / 2}))) << x << ' ' << w;
}

TEST(WindowPlacement, ListsScrollOnlyWhenLong) {
    // A header row plus the rows, up to the number shown.
    EXPECT_FLOAT_EQ(ListHeight(3, 8, 19.0f), 4 * 19.0f);
    EXPECT_FLOAT_EQ(ListHeight(8, 8, 19.0f), 9 * 19.0f);
    EXPECT_FLOAT_EQ(ListHeight(40, 8, 19.0f), 9 * 19.0f);
    EXPECT_FLOAT_EQ(ListHeight(0, 8, 19.0f), 2 * 19.0f); // an empty list keeps one row
    EXPECT_FLOAT_EQ(ListHeight(5, 0, 19.0f), 2 * 19.0f);
}
