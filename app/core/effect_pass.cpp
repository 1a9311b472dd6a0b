#include "app/core/effect_pass.h"

#include "app/core/effects_startup.h"
#include "app/core/live_scripts.h"
#include "app/core/orbit_camera.h"
#include "app/core/timeline_control.h"
#include "effects/effect_slots.h"
#include "effects/frame_time.h"
#include "engine/gl_api.h"

namespace lumidor {

bool RunCurrentEffect(int slot) {
    if (slot >= FirstPlayedSlot) return RunPlayedScript(slot, FrameTime);
    TEffectCallbacks callbacks;
    callbacks.AdvanceScript = [](int scriptIndex) {
        AdvanceSlotScript(static_cast<std::size_t>(scriptIndex), FrameTime);
    };
    return RunEffectSlot(slot, callbacks);
}

void BeginDemoFrame(const TFrameView& view) {
    GL.MatrixMode(GL_PROJECTION);
    GL.LoadIdentity();
    GL.gluPerspective(45.0, double(view.ClientWidth) / double(view.ClientHeight), 0.05, 100.0);
    GL.Viewport(0, 0, view.ClientWidth, view.ClientHeight);
    GL.MatrixMode(GL_MODELVIEW);
    GL.LoadIdentity();
    // The clear colour set here is the one the next frame's clear uses.
    GL.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GL.ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    // The turns about the origin come after the translation, so the effect's centre stays in the middle
    // of the picture. A turn of 0 degrees is left out: the classic view makes the classic calls.
    const TOrbitCamera& camera = CurrentCamera;
    GL.Translatef(0.0f, 0.0f, -camera.Distance);
    if (camera.Pitch != 0.0f) GL.Rotatef(camera.Pitch, 1.0f, 0.0f, 0.0f);
    if (camera.Yaw != 0.0f) GL.Rotatef(camera.Yaw, 0.0f, 1.0f, 0.0f);
}

void DrawLogoBanner(const TFrameView& view) {
    GL.MatrixMode(GL_PROJECTION);
    GL.LoadIdentity();
    GL.Ortho(0.0, view.ClientWidth, view.ClientHeight, 0.0, 0.0, 100.0);
    GL.Viewport(0, 0, view.ClientWidth, view.ClientHeight);
    GL.MatrixMode(GL_MODELVIEW);
    GL.LoadIdentity();

    GL.BindTexture(GL_TEXTURE_2D, LogoTexture);
    GL.Enable(GL_BLEND);
    GL.BlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    GL.Color4f(1.0f, 1.0f, 1.0f, 1.0f);
    // The outer width includes the window frame, so in a framed window the banner reaches a few
    // pixels past the client area's right edge. Texture row t = 1 (the image's top) is drawn at y = 0.
    const float right = static_cast<float>(view.OuterWidth);
    const float left = right - BannerWidth;
    GL.Begin(GL_QUADS);
    GL.TexCoord2f(0.0f, 1.0f);
    GL.Vertex2f(left, 0.0f);
    GL.TexCoord2f(0.0f, 0.0f);
    GL.Vertex2f(left, BannerHeight);
    GL.TexCoord2f(1.0f, 0.0f);
    GL.Vertex2f(right, BannerHeight);
    GL.TexCoord2f(1.0f, 1.0f);
    GL.Vertex2f(right, 0.0f);
    GL.End();
    GL.Disable(GL_BLEND);
}

void RunEffectPass(const TFrameView& view, bool still) {
    // Between frames, so a script never changes under its own UpdateAndDraw.
    PollLiveScripts(WallSeconds());
    GL.DepthMask(GL_FALSE); // effects draw without writing depth unless they switch it on themselves
    if (still) {
        DrawEffectStill(CurrentEffect);
    } else {
        RunCurrentEffect(CurrentEffect);
    }
    GL.DepthMask(GL_TRUE);
    DrawLogoBanner(view);
}

} // namespace lumidor
