// The Lumidor demo in the browser. Top to bottom as the desktop main: the options (from the page's
// URL parameters, passed in as arguments), the WebGL context and renderer, the UI, the effects
// start-up, then the frame loop on the browser's animation frames.
//
// For headless browsers: after `frames` frames the loop stops and document.title becomes "DONE", or
// "FAILED: reason" when anything went wrong (a start-up error, a message the demo showed, a crash).

#include "app/core/app_hooks.h"
#include "app/core/caption.h"
#include "app/core/command_line.h"
#include "app/core/demo_hooks.h"
#include "app/core/effect_menu.h"
#include "app/core/effect_pass.h"
#include "app/core/effects_startup.h"
#include "app/core/emitter_path.h"
#include "app/core/example_scripts.h"
#include "app/core/live_scripts.h"
#include "app/core/orbit_camera.h"
#include "app/core/properties_window.h"
#include "app/core/startup.h"
#include "app/core/timeline_control.h"
#include "app/core/ui_item_rects.h"
#include "effects/frame_time.h"
#include "engine/gl_api.h"
#include "engine/message.h"
#include "engine/random.h"
#include "web/web_ui.h"
#include "web/webgl_renderer.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace lumidor;

namespace {

constexpr const char* kCanvas = "#canvas";

struct TWebDemo {
    TCommandLine Options;
    TAppHooks Hooks;
    bool UiReady = false;
    bool Stopped = false;
    std::int32_t FramesDrawn = 0;
    double StartMs = 0.0;       ///< clock at start-up
    double LastFrameMs = 0.0;   ///< clock at the previous frame
    double EffectClockMs = 0.0; ///< when the effect's time starts again after timeline work; 0: not
    double FirstFrameMs = 0.0;  ///< clock when the first frame began
    double LastCaptionMs = 0.0;
    float FramesPerSecond = 0.0f;
    std::string Failure; ///< the first problem reported; the title says it when the run ends
};

TWebDemo Demo;

void SetTitle(const std::string& title) {
    emscripten_set_window_title(title.c_str());
}

// clang-format off
EM_JS(void, ShowTextOnPage, (const char* text), {
    if (typeof lumidorShowMessage === 'function') lumidorShowMessage(UTF8ToString(text));
});
EM_JS(void, FreezeFrame, (), {
    if (typeof lumidorFreezeFrame === 'function') lumidorFreezeFrame();
});
// clang-format on

void ShowOnPage(const std::string& text) {
    ShowTextOnPage(text.c_str());
}

// Every message box of the demo lands here: the console, a line on the page, and the run's outcome.
void WebMessage(const std::string& text, const std::string& caption, TMessageIcon icon) {
    PrintMessageToStderr(text, caption, icon);
    ShowOnPage(caption + ": " + text);
    if (Demo.Failure.empty()) Demo.Failure = caption + ": " + text;
}

void Finish() {
    if (Demo.Stopped) return;
    Demo.Stopped = true;
    emscripten_cancel_main_loop();
    FreezeFrame();
    const double seconds = (emscripten_get_now() - Demo.FirstFrameMs) / 1000.0;
    std::printf("Lumidor: %d frames in %.3f seconds (%.2f frames per second)\n", Demo.FramesDrawn, seconds,
                seconds > 0.0 ? Demo.FramesDrawn / seconds : 0.0);
    SetTitle(Demo.Failure.empty() ? "DONE" : "FAILED: " + Demo.Failure);
}

void FailNow(const std::string& reason) {
    if (Demo.Failure.empty()) Demo.Failure = reason;
    std::fprintf(stderr, "lumidor-web: %s\n", reason.c_str());
    ShowOnPage(reason);
    Demo.Stopped = true;
    SetTitle("FAILED: " + Demo.Failure);
}

// The desktop's caption text; the page is always in the "C" locale, so printf writes the rate.
std::string Caption(float framesPerSecond) {
    char text[96];
    std::snprintf(text, sizeof text, "Lumidor Particle Engine demonstration - %.15g FPS",
                  double(framesPerSecond));
    return text;
}

TFrameView CanvasView() {
    TFrameView view;
    emscripten_get_canvas_element_size(kCanvas, &view.ClientWidth, &view.ClientHeight);
    view.OuterWidth = view.ClientWidth; // a canvas has no frame
    return view;
}

// One frame, as the desktop's DrawFrame: time, projection, clear, camera, effect pass, UI.
void DrawFrame() {
    const double now = emscripten_get_now();
    if (Demo.FramesDrawn == 0) Demo.FirstFrameMs = now;
    const float elapsed = float((now - Demo.LastFrameMs) / 1000.0);
    // After timeline work or a hidden spell the effect's time starts again; the rate still counts it.
    const float effectTime = Demo.EffectClockMs > 0.0 ? float((now - Demo.EffectClockMs) / 1000.0) : elapsed;
    Demo.EffectClockMs = 0.0;
    Demo.LastFrameMs = now;
    FrameTime = Demo.Options.FixedFrameTime ? *Demo.Options.FixedFrameTime : effectTime;
    Demo.FramesPerSecond = 1.0f / elapsed;

    const TFrameView view = CanvasView();
    BeginDemoFrame(view);

    if (Demo.Hooks.EffectPass) Demo.Hooks.EffectPass(view);
    if (Demo.UiReady) {
        web::BeginWebUiFrame(view.ClientWidth, view.ClientHeight, elapsed);
        if (Demo.Hooks.Ui) Demo.Hooks.Ui(view);
        web::EndWebUiFrame();
    }
    web::MakeFrameOpaque(view.ClientWidth, view.ClientHeight);
    // The menu's "Exit": a page cannot close itself, so the loop ends on this frame and the page says so.
    if (Demo.Hooks.TakeCloseRequest && Demo.Hooks.TakeCloseRequest()) {
        ShowOnPage("The demo has ended (Exit). Reload the page to start it again.");
        Finish();
    }
    // Timeline work (a seek, a prewarm, a reload) is not the effect's time: the next frame starts here.
    if (Demo.Hooks.TakeClockRestart && Demo.Hooks.TakeClockRestart())
        Demo.EffectClockMs = emscripten_get_now();
}

void RunFrame() {
    if (Demo.Stopped) return;
    DrawFrame();
    ++Demo.FramesDrawn;
    const double now = emscripten_get_now();
    if (now - Demo.LastCaptionMs >= 100.0) {
        const std::string status = Demo.Hooks.CaptionStatus ? Demo.Hooks.CaptionStatus() : std::string();
        SetTitle(CaptionWithStatus(Caption(Demo.FramesPerSecond), status));
        Demo.LastCaptionMs = now;
    }
    if (Demo.Options.Frames && Demo.FramesDrawn >= *Demo.Options.Frames) Finish();
}

// A hidden tab draws no frames; its time is not the effect's, so the clock starts again on return.
EM_BOOL PageVisibilityChanged(int, const EmscriptenVisibilityChangeEvent* event, void*) {
    if (!event->hidden) Demo.EffectClockMs = emscripten_get_now();
    return EM_FALSE;
}

std::string ItemRectJson(const std::string& name) {
    const std::optional<TItemRect> rect = FindItemRect(name);
    if (!rect) return "null";
    char text[160];
    std::snprintf(text, sizeof text, "[%.1f,%.1f,%.1f,%.1f,%d]", double(rect->X0), double(rect->Y0),
                  double(rect->X1), double(rect->Y1), ItemShownInLastFrame(name) ? 1 : 0);
    return text;
}

// `script=NAME` plays an example by its name (firework, explosion, smoke, ...) or a .psc file of the
// page's data by its path; any other value is refused on the page and the demo runs its first effect.
void PlayPageScript(const std::string& value) {
    if (const std::optional<std::string> example = FindExampleScript(value)) {
        PlayScriptFile(*example);
        return;
    }
    std::error_code error;
    if (value.size() > 4 && value.ends_with(".psc") && std::filesystem::is_regular_file(value, error)) {
        PlayScriptFile(value);
        return;
    }
    ShowMessage("There is no example script \"" + value + "\": script= takes " + ExampleScriptNames() +
                    ", or the path of a .psc file of the page's data.",
                "Lumidor", TMessageIcon::Error);
}

} // namespace

// Read by the tests through Module.ccall: where the UI drew an item ("[x0,y0,x1,y1,shownNow]" or
// "null"), and the demo's state.
extern "C" EMSCRIPTEN_KEEPALIVE const char* lumidor_item_rect(const char* name) {
    static std::string json;
    json = ItemRectJson(name);
    return json.c_str();
}

extern "C" EMSCRIPTEN_KEEPALIVE const char* lumidor_state() {
    static std::string json;
    char text[256];
    std::snprintf(text, sizeof text,
                  "{\"effect\":%d,\"debugMode\":%s,\"propertiesVisible\":%s,\"frames\":%d,\"stopped\":%s,"
                  "\"seconds\":%.4f,\"paused\":%s}",
                  int(CurrentEffect), DebugMode1Checked ? "true" : "false",
                  Properties.Visible ? "true" : "false", int(Demo.FramesDrawn),
                  Demo.Stopped ? "true" : "false",
                  Demo.FramesDrawn > 0 ? (Demo.LastFrameMs - Demo.FirstFrameMs) / 1000.0 : 0.0,
                  Timeline.Paused ? "true" : "false");
    json = text;
    return json.c_str();
}

int main(int argc, char** argv) {
    // 1. Options: the page turns ?effect=8&frames=60 into --effect=8 --frames=60.
    const TCommandLineResult commandLine = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (commandLine.Action != TCommandLineAction::Run) {
        FailNow(commandLine.Action == TCommandLineAction::Fail
                    ? commandLine.Error
                    : "help and the list of effects are not available in the browser");
        return 0;
    }
    Demo.Options = commandLine.Options;
    if (!Demo.Options.ScreenshotFile.empty() || Demo.Options.Benchmark) {
        FailNow(
            "screenshot and benchmark are not available in the browser (take screenshots with the browser)");
        return 0;
    }
    SetMessageHandler(&WebMessage);
    THostServices host;
    host.ClockMs = [] { return emscripten_get_now(); };
    Demo.Hooks = MakeDemoHooks(host);

    // 2. Start-up steps, as on the desktop; a failing step is shown and the rest are skipped.
    bool glReady = false;
    RunStartupSteps({
        [&] { Demo.Options.Seed ? SeedRandom(*Demo.Options.Seed) : SeedRandomFromClock(); },
        [&] {
            Demo.StartMs = Demo.LastFrameMs = emscripten_get_now();
            FrameTime = 0.0f; // start-up runs with no frame time
        },
        [&] {
            EmscriptenWebGLContextAttributes attributes;
            emscripten_webgl_init_context_attributes(&attributes);
            attributes.alpha = EM_TRUE; // 32 colour bits with alpha, which GL_DST_ALPHA blending reads
            attributes.depth = EM_TRUE;
            attributes.stencil = EM_FALSE;
            attributes.antialias = EM_FALSE;
            attributes.majorVersion = 2;
            const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
                emscripten_webgl_create_context(kCanvas, &attributes);
            if (context <= 0 || emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS)
                throw std::runtime_error("This browser offers no WebGL 2 context on the page's canvas.");
            const std::string error = web::InstallWebGLRenderer();
            if (!error.empty()) throw std::runtime_error(error);
            glReady = true;
        },
        [&] {
            GL.Enable(GL_DEPTH_TEST);
            GL.Enable(GL_TEXTURE_2D);
        },
        [&] {
            const std::string error = web::InitWebUi(kCanvas);
            if (!error.empty()) throw std::runtime_error(error); // the effects still run without it
            Demo.UiReady = true;
        },
        [&] {
            if (Demo.Hooks.EffectsStartup) Demo.Hooks.EffectsStartup();
        },
    });
    if (!glReady) {
        FailNow(Demo.Failure.empty() ? "no WebGL" : Demo.Failure);
        return 0;
    }
    if (Demo.Options.Effect) CurrentEffect = *Demo.Options.Effect;
    if (Demo.Options.Seed) Timeline.Seed = *Demo.Options.Seed;
    if (Demo.Options.EmitterPath) ChooseEmitterPath(*Demo.Options.EmitterPath);
    if (Demo.Options.Camera) CurrentCamera = *Demo.Options.Camera;
    if (!Demo.Options.ScriptFile.empty()) PlayPageScript(Demo.Options.ScriptFile);
    web::SetCoreKeyHandler(Demo.Hooks.KeyPressed);
    // A page someone looks at stays answerable during long timeline work; a run of a fixed number of
    // frames does the work at once, as on the desktop.
    if (!Demo.Options.Frames) TimelineWorkBudgetMs = DefaultTimelineWorkBudgetMs;
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, &PageVisibilityChanged);

    // 3. Frames on the browser's animation frames, forever. A run with `frames` draws them on timers
    //    instead: a headless browser with a virtual-time budget lets virtual time run ahead while the page
    //    waits for an animation frame, and would look before the last frame is drawn.
    SetTitle(kInitialCaption);
    emscripten_set_main_loop(&RunFrame, 0, 0);
    if (Demo.Options.Frames) emscripten_set_main_loop_timing(EM_TIMING_SETTIMEOUT, 1);
    return 0;
}
