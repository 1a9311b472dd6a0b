#include "web/web_ui.h"

#include <emscripten/html5.h>
#include <imgui.h>
#include <imgui_impl_opengl3.h>

#include <cfloat>
#include <utility>

namespace lumidor::web {

namespace {

// The mouse as the page's events leave it. A press and release between two UI frames (as synthetic
// events arrive) still reaches ImGui as one frame held down.
struct TPointer {
    float X = -FLT_MAX, Y = -FLT_MAX;
    bool Held[3] = {};
    bool PressedThisFrame[3] = {};
    float Wheel = 0.0f;
};

TPointer Pointer;
std::function<void(TAppKey)> CoreKeys;
std::function<bool()> CoreKeyFilter;

// DOM button numbers: 0 left, 1 middle, 2 right; ImGui: 0 left, 1 right, 2 middle.
int ImGuiButton(unsigned short domButton) {
    switch (domButton) {
    case 0:
        return 0;
    case 2:
        return 1;
    case 1:
        return 2;
    default:
        return -1;
    }
}

const char* Canvas = "#canvas";

EM_BOOL OnMouse(int type, const EmscriptenMouseEvent* event, void*) {
    // Page pixels to drawing-surface pixels (they differ when the canvas is scaled to the page).
    int width = 0, height = 0;
    double cssWidth = 0.0, cssHeight = 0.0;
    emscripten_get_canvas_element_size(Canvas, &width, &height);
    emscripten_get_element_css_size(Canvas, &cssWidth, &cssHeight);
    Pointer.X = float(cssWidth > 0.0 ? double(event->targetX) * width / cssWidth : double(event->targetX));
    Pointer.Y = float(cssHeight > 0.0 ? double(event->targetY) * height / cssHeight : double(event->targetY));
    const int button = ImGuiButton(event->button);
    if (type == EMSCRIPTEN_EVENT_MOUSEDOWN && button >= 0) {
        Pointer.Held[button] = true;
        Pointer.PressedThisFrame[button] = true;
    }
    if (type == EMSCRIPTEN_EVENT_MOUSEUP && button >= 0) Pointer.Held[button] = false;
    // The canvas keeps its own right-click (the menu) and wheel; moves go on to the page.
    return type != EMSCRIPTEN_EVENT_MOUSEMOVE;
}

EM_BOOL OnWheel(int, const EmscriptenWheelEvent* event, void*) {
    Pointer.Wheel += event->deltaY > 0 ? -1.0f : (event->deltaY < 0 ? 1.0f : 0.0f);
    return EM_TRUE;
}

// Keys by DOM key code; ImGui 1.86 maps its navigation keys into io.KeysDown by index.
EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void*) {
    ImGuiIO& io = ImGui::GetIO();
    const unsigned long code = event->keyCode;
    if (code < 512) io.KeysDown[code] = type == EMSCRIPTEN_EVENT_KEYDOWN;
    io.KeyCtrl = event->ctrlKey;
    io.KeyShift = event->shiftKey;
    io.KeyAlt = event->altKey;
    io.KeySuper = event->metaKey;
    // Space and the right arrow belong to the effect's timeline, Home to the camera, while no window
    // has the keyboard.
    if (type == EMSCRIPTEN_EVENT_KEYDOWN && !io.WantCaptureKeyboard && CoreKeys &&
        (!CoreKeyFilter || CoreKeyFilter())) {
        if (code == 32 && !event->repeat) CoreKeys(TAppKey::Space);
        if (code == 39) CoreKeys(TAppKey::RightArrow);
        if (code == 36) CoreKeys(TAppKey::Home);
        if (code == 32 || code == 39 || code == 36) return EM_TRUE;
    }
    // Tab and the arrows belong to the UI while a window has the keyboard; others go to the page.
    return io.WantCaptureKeyboard && (code == 9 || (code >= 37 && code <= 40));
}

} // namespace

void SetCoreKeyHandler(std::function<void(TAppKey)> handler) {
    CoreKeys = std::move(handler);
}

void SetCoreKeyFilter(std::function<bool()> filter) {
    CoreKeyFilter = std::move(filter);
}

const char* InitWebUi(const char* canvasSelector) {
    Canvas = canvasSelector;
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr; // the demo writes no files
    io.LogFilename = nullptr;
    io.BackendPlatformName = "lumidor_web_html5";
    io.ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
    const struct {
        ImGuiKey Key;
        int Code;
    } keys[] = {{ImGuiKey_Tab, 9},       {ImGuiKey_LeftArrow, 37}, {ImGuiKey_RightArrow, 39},
                {ImGuiKey_UpArrow, 38},  {ImGuiKey_DownArrow, 40}, {ImGuiKey_PageUp, 33},
                {ImGuiKey_PageDown, 34}, {ImGuiKey_Home, 36},      {ImGuiKey_End, 35},
                {ImGuiKey_Space, 32},    {ImGuiKey_Enter, 13},     {ImGuiKey_Escape, 27},
                {ImGuiKey_Backspace, 8}, {ImGuiKey_Delete, 46}};
    for (const auto& key : keys)
        io.KeyMap[key.Key] = key.Code;
    ImGui::StyleColorsDark();
    if (!ImGui_ImplOpenGL3_Init("#version 300 es")) {
        ImGui::DestroyContext();
        return "Could not set up the menu and windows (Dear ImGui) on the WebGL context.";
    }
    emscripten_set_mousedown_callback(canvasSelector, nullptr, EM_TRUE, &OnMouse);
    emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, &OnMouse);
    emscripten_set_mousemove_callback(canvasSelector, nullptr, EM_TRUE, &OnMouse);
    emscripten_set_wheel_callback(canvasSelector, nullptr, EM_TRUE, &OnWheel);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, &OnKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, &OnKey);
    return "";
}

void BeginWebUiFrame(int width, int height, float seconds) {
    ImGuiIO& io = ImGui::GetIO();
    io.DisplaySize = ImVec2(float(width), float(height));
    io.DeltaTime = seconds > 0.0f ? seconds : 1.0f / 60.0f; // ImGui needs a positive step
    io.MousePos = ImVec2(Pointer.X, Pointer.Y);
    for (int i = 0; i < 3; ++i) {
        io.MouseDown[i] = Pointer.Held[i] || Pointer.PressedThisFrame[i];
        Pointer.PressedThisFrame[i] = false;
    }
    io.MouseWheel = Pointer.Wheel;
    Pointer.Wheel = 0.0f;
    ImGui_ImplOpenGL3_NewFrame();
    ImGui::NewFrame();
}

void EndWebUiFrame() {
    ImGui::Render();
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
}

} // namespace lumidor::web
