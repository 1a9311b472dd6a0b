// The orbit camera without a window: its --camera value, drags, wheel steps and limits, and the GL
// calls the frame makes for it (the classic view makes exactly the classic calls).

#include "app/core/camera_controls.h"
#include "app/core/effect_pass.h"
#include "app/core/orbit_camera.h"
#include "engine/gl_recorder.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace lumidor;

TEST(OrbitCamera, ParsesGoodValuesAndSaysWhatIsWrongWithBadOnes) {
    const struct {
        const char* Text;
        TOrbitCamera Camera; // when good
        const char* Error;   // empty when good
    } cases[] = {
        {"40,25,7", {40, 25, 7}, ""},
        {" -30 , -89 , 0.5 ", {-30, -89, 0.5f}, ""},
        {"190,89,50", {-170, 89, 50}, ""}, // yaw wraps into [-180, 180)
        {"-540,1e1,2.5e0", {-180, 10, 2.5f}, ""},
        {"", {}, "the value is empty"},
        {"40,25", {}, "three numbers separated by commas are needed, 2 were given"},
        {"40,,7", {}, "the pitch is missing"},
        {"left,25,7", {}, "the yaw \"left\" is not a finite number"},
        {"40,nan,7", {}, "the pitch \"nan\" is not a finite number"},
        {"40,25,inf", {}, "the distance \"inf\" is not a finite number"},
        {"40,95,7", {}, "the pitch 95 is outside -89 to 89 degrees"},
        {"40,25,0.1", {}, "the distance 0.1 is outside 0.5 to 50"},
    };
    for (const auto& test : cases) {
        std::string error = "left over";
        const std::optional<TOrbitCamera> camera = ParseCameraOption(test.Text, error);
        EXPECT_EQ(error, test.Error) << test.Text;
        ASSERT_EQ(camera.has_value(), *test.Error == '\0') << test.Text;
        if (camera) {
            EXPECT_TRUE(camera->Yaw == test.Camera.Yaw && camera->Pitch == test.Camera.Pitch &&
                        camera->Distance == test.Camera.Distance)
                << test.Text;
        }
    }
}

TEST(OrbitCamera, DragsTurnWheelStepsZoomWithinTheLimitsAndHomeResets) {
    const struct {
        TOrbitCamera Start;
        float Dx, Dy, Steps;
        TOrbitCamera Expected;
    } cases[] = {
        {{}, 100, 50, 0, {40, 20, 5}},         // right turns the front right, down tips it down
        {{170, 0, 5}, 50, 0, 0, {-170, 0, 5}}, // yaw wraps
        {{0, 80, 5}, 0, 100, 0, {0, 89, 5}},   // pitch stops short of the poles
        {{0, -80, 5}, 0, -1e6f, 0, {0, -89, 5}},
        {{}, INFINITY, NAN, NAN, {0, 0, 5}}, // broken input changes nothing
        {{0, 0, 5.5f}, 0, 0, 1, {0, 0, 5}},  // a step nearer divides by 1.1
        {{}, 0, 0, -2, {0, 0, 6.05f}},       // two away multiply by 1.21
        {{}, 0, 0, 1e6f, {0, 0, 0.5f}},      // clamped near
        {{}, 0, 0, -1e6f, {0, 0, 50}},       // clamped far
    };
    for (const auto& test : cases) {
        TOrbitCamera camera = test.Start;
        TurnOrbitCamera(camera, test.Dx, test.Dy);
        ZoomOrbitCamera(camera, test.Steps);
        EXPECT_NEAR(camera.Yaw, test.Expected.Yaw, 1e-4f) << test.Dx;
        EXPECT_NEAR(camera.Pitch, test.Expected.Pitch, 1e-4f) << test.Dy;
        EXPECT_NEAR(camera.Distance, test.Expected.Distance, 1e-4f) << test.Steps;
    }
    CurrentCamera = {33, -12, 9};
    CameraKey(TAppKey::Space);
    EXPECT_FALSE(IsDefaultCamera(CurrentCamera)) << "space is the timeline's";
    CameraKey(TAppKey::Home);
    EXPECT_TRUE(IsDefaultCamera(CurrentCamera));
}

TEST(OrbitCamera, TheFrameTurnsAboutTheOriginAndTheClassicViewMakesTheClassicCalls) {
    const struct {
        TOrbitCamera Camera;
        std::vector<TGLCall> Calls; // after ClearColor
    } cases[] = {
        {{}, {{"Translatef", {0, 0, -5}}}},
        {{40, 25, 7}, {{"Translatef", {0, 0, -7}}, {"Rotatef", {25, 1, 0, 0}}, {"Rotatef", {40, 0, 1, 0}}}},
        {{-90, 0, 5}, {{"Translatef", {0, 0, -5}}, {"Rotatef", {-90, 0, 1, 0}}}},
    };
    for (const auto& test : cases) {
        InstallGLRecorder();
        CurrentCamera = test.Camera;
        BeginDemoFrame({800, 600, 800});
        const std::vector<TGLCall>& calls = GLRecorder().Calls;
        ASSERT_EQ(calls.size(), 8u + test.Calls.size());
        for (std::size_t i = 0; i < test.Calls.size(); ++i)
            EXPECT_TRUE(calls[8 + i].Name == test.Calls[i].Name && calls[8 + i].Args == test.Calls[i].Args)
                << i;
    }
    ResetOrbitCamera(CurrentCamera);
}
