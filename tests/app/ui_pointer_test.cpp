#include "app/desktop/ui_layer.h"

#include <imgui.h>

#include <gtest/gtest.h>

#include <cfloat>

using namespace lumidor;

namespace {

SDL_Event Motion(int x, int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    return event;
}

SDL_Event Button(Uint32 type, Uint8 button, int x, int y) {
    SDL_Event event{};
    event.type = type;
    event.button.button = button;
    event.button.x = x;
    event.button.y = y;
    return event;
}

// An ImGui context for the duration of a test; only its IO record is used.
struct TImGuiContext {
    TImGuiContext() { ImGui::CreateContext(); }
    ~TImGuiContext() { ImGui::DestroyContext(); }
};

} // namespace

TEST(UiPointer, EventsMoveThePointerAndHoldButtons) {
    TImGuiContext context;
    ImGuiIO& io = ImGui::GetIO();
    TPointerFeed pointer;
    ApplyPointerFeed(pointer, io);
    EXPECT_EQ(io.MousePos.x, -FLT_MAX); // no pointer until an event says where it is

    FeedPointerEvent(pointer, Motion(120, 45));
    FeedPointerEvent(pointer, Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 130, 50));
    ApplyPointerFeed(pointer, io);
    EXPECT_EQ(io.MousePos.x, 130.0f);
    EXPECT_EQ(io.MousePos.y, 50.0f);
    EXPECT_TRUE(io.MouseDown[1]);
    EXPECT_FALSE(io.MouseDown[0]);

    ApplyPointerFeed(pointer, io); // still held
    EXPECT_TRUE(io.MouseDown[1]);
    FeedPointerEvent(pointer, Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 130, 50));
    ApplyPointerFeed(pointer, io);
    EXPECT_FALSE(io.MouseDown[1]);

    SDL_Event leave{};
    leave.type = SDL_WINDOWEVENT;
    leave.window.event = SDL_WINDOWEVENT_LEAVE;
    FeedPointerEvent(pointer, leave);
    ApplyPointerFeed(pointer, io);
    EXPECT_EQ(io.MousePos.y, -FLT_MAX);
}

TEST(UiPointer, AClickWithinOneFrameIsNotLost) {
    TImGuiContext context;
    ImGuiIO& io = ImGui::GetIO();
    TPointerFeed pointer;
    FeedPointerEvent(pointer, Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20));
    FeedPointerEvent(pointer, Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 20));
    FeedPointerEvent(pointer, Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 10, 20)); // not a UI button
    ApplyPointerFeed(pointer, io);
    EXPECT_TRUE(io.MouseDown[0]);
    ApplyPointerFeed(pointer, io);
    EXPECT_FALSE(io.MouseDown[0]);
}

TEST(CoreKeys, SpaceAndTheRightArrowReachTheCoreUnlessTheUiTakesTheKeyboard) {
    const auto key = [](Uint32 type, SDL_Keycode sym, Uint8 repeat) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.sym = sym;
        event.key.repeat = repeat;
        return event;
    };
    EXPECT_EQ(CoreKeyOf(key(SDL_KEYDOWN, SDLK_SPACE, 0), false), TAppKey::Space);
    EXPECT_EQ(CoreKeyOf(key(SDL_KEYDOWN, SDLK_RIGHT, 0), false), TAppKey::RightArrow);
    EXPECT_EQ(CoreKeyOf(key(SDL_KEYDOWN, SDLK_RIGHT, 1), false), TAppKey::RightArrow) << "held: steps on";
    EXPECT_FALSE(CoreKeyOf(key(SDL_KEYDOWN, SDLK_SPACE, 1), false)) << "a held space toggles once";
    EXPECT_FALSE(CoreKeyOf(key(SDL_KEYDOWN, SDLK_SPACE, 0), true)) << "a focused window's keys stay its own";
    EXPECT_FALSE(CoreKeyOf(key(SDL_KEYDOWN, SDLK_RIGHT, 0), true));
    EXPECT_EQ(CoreKeyOf(key(SDL_KEYDOWN, SDLK_HOME, 0), false), TAppKey::Home);
    EXPECT_FALSE(CoreKeyOf(key(SDL_KEYDOWN, SDLK_HOME, 0), true)) << "Home scrolls a focused window";
    EXPECT_FALSE(CoreKeyOf(key(SDL_KEYDOWN, SDLK_LALT, 0), false)) << "Alt only modifies a drag";
    EXPECT_FALSE(CoreKeyOf(key(SDL_KEYUP, SDLK_SPACE, 0), false));
    EXPECT_FALSE(CoreKeyOf(key(SDL_KEYDOWN, SDLK_LEFT, 0), false));
    EXPECT_FALSE(CoreKeyOf(Motion(3, 4), false));
}
