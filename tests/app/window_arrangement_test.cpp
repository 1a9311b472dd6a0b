// The column the tool windows are arranged in, as a function of the viewport and the open windows.

#include "app/core/menu_hint.h"
#include "app/core/window_arrangement.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace lumidor;

namespace {

constexpr float TitleBar = 19.0f;

// Heights close to those the windows ask for: content height and least useful height.
const std::array<TColumnRequest, 5> Requests = {{
    {TToolWindow::Statistics, 330.0f, 150.0f},
    {TToolWindow::Inspector, 420.0f, 160.0f},
    {TToolWindow::Properties, 206.0f, 110.0f},
    {TToolWindow::ScriptLog, 380.0f, 120.0f},
    {TToolWindow::Timeline, 110.0f, 100.0f},
}};

std::vector<TColumnRequest> Subset(unsigned mask) {
    std::vector<TColumnRequest> open;
    for (std::size_t k = Requests.size(); k-- > 0;) // given out of column order on purpose
        if (mask & (1u << k)) open.push_back(Requests[k]);
    return open;
}

bool Overlap(const TUiRect& a, const TUiRect& b) {
    return a.X < b.X + b.Width && b.X < a.X + a.Width && a.Y < b.Y + b.Height && b.Y < a.Y + a.Height;
}

bool Inside(const TUiRect& outer, const TUiRect& inner) {
    return inner.X >= outer.X && inner.Y >= outer.Y && inner.X + inner.Width <= outer.X + outer.Width &&
           inner.Y + inner.Height <= outer.Y + outer.Height;
}

// The middle of the picture, where a centred effect is: a quarter of the width, half the height.
TUiRect EffectMiddle(const TUiRect& viewport) {
    return {viewport.X + 0.375f * viewport.Width, viewport.Y + 0.25f * viewport.Height,
            0.25f * viewport.Width, 0.5f * viewport.Height};
}

std::vector<TToolWindow> Collapsed(const std::vector<TColumnPlace>& places) {
    std::vector<TToolWindow> collapsed;
    for (const TColumnPlace& place : places)
        if (place.Collapsed) collapsed.push_back(place.Window);
    return collapsed;
}

} // namespace

TEST(WindowArrangement, EveryChoiceOfWindowsLiesInsideWithoutOverlapLeavingTheMiddleFree) {
    for (const TUiRect viewport :
         {TUiRect{0, 0, 800, 600}, TUiRect{0, 0, 1024, 768}, TUiRect{0, 0, 1280, 1024},
          TUiRect{0, 0, 1920, 1080}, TUiRect{0, 0, 2560, 1440}, TUiRect{30, 20, 800, 600}}) {
        for (unsigned mask = 0; mask < 32; ++mask) {
            const std::vector<TColumnPlace> places = ArrangeColumn(viewport, Subset(mask), TitleBar);
            ASSERT_EQ(places.size(), Subset(mask).size());
            for (std::size_t k = 0; k < places.size(); ++k) {
                const TColumnPlace& place = places[k];
                SCOPED_TRACE(::testing::Message() << viewport.Width << "x" << viewport.Height << " mask "
                                                  << mask << " window " << int(place.Window));
                EXPECT_TRUE(Inside(viewport, place.Rect));
                EXPECT_FALSE(Overlap(place.Rect, EffectMiddle(viewport)));
                EXPECT_EQ(place.Rect.Width, ColumnWidth(viewport.Width));
                const TColumnRequest& asked = Requests[std::size_t(place.Window)];
                if (place.Collapsed) {
                    EXPECT_EQ(place.Rect.Height, TitleBar);
                } else {
                    EXPECT_GE(place.Rect.Height, asked.MinHeight);
                }
                if (k > 0) { // in column order, one below the other with a gap
                    EXPECT_LT(places[k - 1].Window, place.Window);
                    EXPECT_GE(place.Rect.Y, places[k - 1].Rect.Y + places[k - 1].Rect.Height + ColumnMargin);
                }
                for (std::size_t j = 0; j < k; ++j)
                    EXPECT_FALSE(Overlap(places[j].Rect, place.Rect));
            }
        }
    }
}

TEST(WindowArrangement, TheLeastNeededCollapseFirstWhenTheColumnIsShort) {
    const struct {
        TUiRect Viewport;
        unsigned Mask;
        std::vector<TToolWindow> Collapsed;
    } cases[] = {
        // All five at the demo's size: only the sliders give way.
        {{0, 0, 800, 600}, 31u, {TToolWindow::Properties}},
        {{0, 0, 1280, 1024}, 31u, {}},
        // A low window: the script log and the statistics follow.
        {{0, 0, 800, 480}, 31u, {TToolWindow::Statistics, TToolWindow::Properties, TToolWindow::ScriptLog}},
        {{0, 0, 800, 600}, 0b01110u, {}},
        {{0, 0, 800, 250}, 0b10001u, {TToolWindow::Statistics}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Collapsed(ArrangeColumn(c.Viewport, Subset(c.Mask), TitleBar)), c.Collapsed)
            << c.Viewport.Height << " mask " << c.Mask;
}

TEST(WindowArrangement, WindowsThatFitGetTheirHeightAndTheScriptLogTheRest) {
    // Statistics and the timeline fit at 800 x 600: each as tall as its content.
    std::vector<TColumnPlace> places = ArrangeColumn({0, 0, 800, 600}, Subset(0b10001u), TitleBar);
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[0].Rect, (TUiRect{8, 8, 256, 330}));
    EXPECT_EQ(places[1].Rect, (TUiRect{8, 346, 256, 110}));
    // With the script log, it takes what is left down to the bottom margin.
    places = ArrangeColumn({0, 0, 800, 600}, Subset(0b11000u), TitleBar);
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[0].Rect.Height, 592.0f - 8.0f - 110.0f - 8.0f);
}

TEST(WindowArrangement, TheColumnIsAboutAThirdOfTheWidthWithinItsBounds) {
    const struct {
        float Viewport;
        float Column;
    } cases[] = {{800, 256}, {640, 240}, {1000, 320}, {1920, 420}, {200, 184}, {10, 0}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(ColumnWidth(c.Viewport), c.Column) << c.Viewport;
    EXPECT_TRUE(ArrangeColumn({0, 0, 800, 600}, {}, TitleBar).empty());
}

TEST(MenuHint, ShownInAnInteractiveRunUntilTheMenuFirstOpens) {
    const struct {
        bool Interactive;
        bool MenuOpened;
        bool Shown;
    } cases[] = {{true, false, true}, {true, true, false}, {false, false, false}, {false, true, false}};
    for (const auto& c : cases)
        EXPECT_EQ(MenuHintShown(c.Interactive, c.MenuOpened), c.Shown) << c.Interactive << c.MenuOpened;
    EXPECT_STREQ(MenuHintText, "right-click for the menu");
}
