// The orbit camera without a window: its --camera value, the arithmetic of drags, the wheel and the
// reset, and the GL calls the frame makes for it (the classic view makes exactly the classic calls).

#include "app/core/camera_controls.h"
#include "app/core/effect_pass.h"
#include "app/core/orbit_camera.h"
#include "engine/gl_recorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace lumidor;

namespace {

// Restores the classic view after each test, whatever it did to the camera the frames use.
class OrbitCamera : public ::testing::Test {
  protected:
    void TearDown() override { ResetOrbitCamera(CurrentCamera); }
};

TOrbitCamera Camera(float yaw, float pitch, float distance) {
    TOrbitCamera camera;
    camera.Yaw = yaw;
    camera.Pitch = pitch;
    camera.Distance = distance;
    return camera;
}

} // namespace

TEST_F(OrbitCamera, ParsesGoodValuesAndSaysWhatIsWrongWithBadOnes) {
    const struct {
        const char* Text;
        float Yaw, Pitch, Distance; // when good
        const char* Error;          // empty when good
    } cases[] = {
        {"40,25,7", 40.0f, 25.0f, 7.0f, ""},
        {"0,0,5", 0.0f, 0.0f, 5.0f, ""},
        {" -30 , -89 , 0.5 ", -30.0f, -89.0f, 0.5f, ""},
        {"190,89,50", -170.0f, 89.0f, 50.0f, ""}, // yaw wraps into [-180, 180)
        {"-540,1e1,2.5e0", 180.0f - 360.0f, 10.0f, 2.5f, ""},
        {"720,0,5", 0.0f, 0.0f, 5.0f, ""},
        {"40,25", 0, 0, 0, "three numbers separated by commas are needed, 2 were given"},
        {"40", 0, 0, 0, "three numbers separated by commas are needed, 1 was given"},
        {"1,2,3,4", 0, 0, 0, "three numbers separated by commas are needed, 4 were given"},
        {"", 0, 0, 0, "the value is empty"},
        {" , ,7", 0, 0, 0, "the yaw is missing"},
        {"40,,7", 0, 0, 0, "the pitch is missing"},
        {"40,25,", 0, 0, 0, "the distance is missing"},
        {"left,25,7", 0, 0, 0, "the yaw \"left\" is not a finite number"},
        {"40,nan,7", 0, 0, 0, "the pitch \"nan\" is not a finite number"},
        {"40,25,inf", 0, 0, 0, "the distance \"inf\" is not a finite number"},
        {"1e999,25,7", 0, 0, 0, "the yaw \"1e999\" is not a finite number"},
        {"40,25,7m", 0, 0, 0, "the distance \"7m\" is not a finite number"},
        {"40,95,7", 0, 0, 0, "the pitch 95 is outside -89 to 89 degrees"},
        {"40,-89.5,7", 0, 0, 0, "the pitch -89.5 is outside -89 to 89 degrees"},
        {"40,25,0.1", 0, 0, 0, "the distance 0.1 is outside 0.5 to 50"},
        {"40,25,-5", 0, 0, 0, "the distance -5 is outside 0.5 to 50"},
        {"40,25,51", 0, 0, 0, "the distance 51 is outside 0.5 to 50"},
    };
    for (const auto& test : cases) {
        std::string error = "left over";
        const std::optional<TOrbitCamera> camera = ParseCameraOption(test.Text, error);
        EXPECT_EQ(error, test.Error) << test.Text;
        EXPECT_EQ(camera.has_value(), *test.Error == '\0') << test.Text;
        if (!camera) continue;
        EXPECT_EQ(camera->Yaw, test.Yaw) << test.Text;
        EXPECT_EQ(camera->Pitch, test.Pitch) << test.Text;
        EXPECT_EQ(camera->Distance, test.Distance) << test.Text;
    }
}

TEST_F(OrbitCamera, DragsTurnWheelStepsZoomAndTheLimitsHold) {
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        TOrbitCamera Start;
        float Dx, Dy, Steps;
        TOrbitCamera Expected;
    } cases[] = {
        {{}, 100.0f, 0.0f, 0.0f, Camera(40.0f, 0.0f, 5.0f)},                    // right turns the front right
        {{}, 0.0f, 50.0f, 0.0f, Camera(0.0f, 20.0f, 5.0f)},                     // down tips the front down
        {{}, -25.0f, -25.0f, 0.0f, Camera(-10.0f, -10.0f, 5.0f)},               //
        {Camera(170.0f, 0, 5), 50.0f, 0.0f, 0.0f, Camera(-170.0f, 0.0f, 5.0f)}, // yaw wraps
        {Camera(-170.0f, 0, 5), -50.0f, 0.0f, 0.0f, Camera(170.0f, 0.0f, 5.0f)},
        {Camera(0, 80.0f, 5), 0.0f, 100.0f, 0.0f, Camera(0.0f, 89.0f, 5.0f)}, // pitch stops at the poles
        {Camera(0, -80.0f, 5), 0.0f, -1e6f, 0.0f, Camera(0.0f, -89.0f, 5.0f)},
        {{}, inf, 10.0f, 0.0f, Camera(0.0f, 0.0f, 5.0f)}, // a broken drag changes nothing
        {{}, 0.0f, NAN, 0.0f, Camera(0.0f, 0.0f, 5.0f)},
        {Camera(0, 0, 5.5f), 0.0f, 0.0f, 1.0f, Camera(0.0f, 0.0f, 5.0f)}, // a step nearer divides by 1.1
        {{}, 0.0f, 0.0f, -2.0f, Camera(0.0f, 0.0f, 6.05f)},               // two away multiply by 1.21
        {{}, 0.0f, 0.0f, 100.0f, Camera(0.0f, 0.0f, 0.5f)},               // clamped near
        {{}, 0.0f, 0.0f, -1e6f, Camera(0.0f, 0.0f, 50.0f)},               // infinite factor: clamped far
        {{}, 0.0f, 0.0f, 1e6f, Camera(0.0f, 0.0f, 0.5f)},                 // zero factor: clamped near
        {{}, 0.0f, 0.0f, NAN, Camera(0.0f, 0.0f, 5.0f)},
    };
    for (const auto& test : cases) {
        TOrbitCamera camera = test.Start;
        TurnOrbitCamera(camera, test.Dx, test.Dy);
        ZoomOrbitCamera(camera, test.Steps);
        EXPECT_NEAR(camera.Yaw, test.Expected.Yaw, 1e-4f) << test.Dx << ", " << test.Dy << ", " << test.Steps;
        EXPECT_NEAR(camera.Pitch, test.Expected.Pitch, 1e-4f) << test.Dx << ", " << test.Dy;
        EXPECT_NEAR(camera.Distance, test.Expected.Distance, 1e-4f) << test.Steps;
        EXPECT_GE(camera.Yaw, -180.0f);
        EXPECT_LT(camera.Yaw, 180.0f);
    }
}

TEST_F(OrbitCamera, ZoomingInAndOutAgainComesBackAndResetAndHomeGiveTheClassicView) {
    TOrbitCamera camera;
    ZoomOrbitCamera(camera, 3.0f);
    ZoomOrbitCamera(camera, -3.0f);
    EXPECT_NEAR(camera.Distance, 5.0f, 1e-5f);

    camera = Camera(33.0f, -12.0f, 9.0f);
    EXPECT_FALSE(IsDefaultCamera(camera));
    ResetOrbitCamera(camera);
    EXPECT_TRUE(IsDefaultCamera(camera));

    CurrentCamera = Camera(33.0f, -12.0f, 9.0f);
    CameraKey(TAppKey::Space); // not the camera's key
    EXPECT_FALSE(IsDefaultCamera(CurrentCamera));
    CameraKey(TAppKey::Home);
    EXPECT_TRUE(IsDefaultCamera(CurrentCamera));
}

TEST_F(OrbitCamera, TheFrameTurnsAboutTheOriginAndTheClassicViewMakesTheClassicCalls) {
    const struct {
        TOrbitCamera Camera;
        std::vector<TGLCall> CameraCalls; // after ClearColor
    } cases[] = {
        {{}, {{"Translatef", {0, 0, -5}}}},
        {Camera(40.0f, 25.0f, 7.0f),
         {{"Translatef", {0, 0, -7}}, {"Rotatef", {25, 1, 0, 0}}, {"Rotatef", {40, 0, 1, 0}}}},
        {Camera(-90.0f, 0.0f, 5.0f), {{"Translatef", {0, 0, -5}}, {"Rotatef", {-90, 0, 1, 0}}}},
        {Camera(0.0f, 10.0f, 2.0f), {{"Translatef", {0, 0, -2}}, {"Rotatef", {10, 1, 0, 0}}}},
    };
    TFrameView view;
    view.ClientWidth = view.OuterWidth = 800;
    view.ClientHeight = 600;
    for (const auto& test : cases) {
        InstallGLRecorder();
        CurrentCamera = test.Camera;
        BeginDemoFrame(view);
        const std::vector<TGLCall>& calls = GLRecorder().Calls;
        ASSERT_EQ(calls.size(), 8u + test.CameraCalls.size()) << test.Camera.Yaw << ", " << test.Camera.Pitch;
        EXPECT_EQ(calls[7].Name, "ClearColor");
        for (std::size_t i = 0; i < test.CameraCalls.size(); ++i) {
            EXPECT_EQ(calls[8 + i].Name, test.CameraCalls[i].Name);
            EXPECT_EQ(calls[8 + i].Args, test.CameraCalls[i].Args);
        }
    }
}
