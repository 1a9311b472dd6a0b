#include "app/desktop/ui_layer.h"

#include "engine/gl_api.h"
#include "engine/message.h"

#include <imgui.h>
#include <imgui_impl_opengl2.h>
#include <imgui_impl_sdl.h>

#include <cfloat>
#include <cstdio>

namespace lumidor {

namespace {

// SDL button number to ImGui button index (left 0, right 1, middle 2); -1 for others.
int ImGuiButton(Uint8 sdlButton) {
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return 0;
    case SDL_BUTTON_RIGHT:
        return 1;
    case SDL_BUTTON_MIDDLE:
        return 2;
    default:
        return -1;
    }
}

} // namespace

void FeedPointerEvent(TPointerFeed& pointer, const SDL_Event& event) {
    switch (event.type) {
    case SDL_MOUSEMOTION:
        pointer.X = static_cast<float>(event.motion.x);
        pointer.Y = static_cast<float>(event.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        pointer.X = static_cast<float>(event.button.x);
        pointer.Y = static_cast<float>(event.button.y);
        const int button = ImGuiButton(event.button.button);
        if (button < 0) break;
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        pointer.Held[button] = down;
        if (down) pointer.PressedThisFrame[button] = true;
        break;
    }
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_LEAVE) pointer.X = pointer.Y = -FLT_MAX;
        break;
    default:
        break;
    }
}

void ApplyPointerFeed(TPointerFeed& pointer, ImGuiIO& io) {
    io.MousePos = ImVec2(pointer.X, pointer.Y);
    for (int i = 0; i < 3; ++i) {
        // A press and release between two UI frames still reaches ImGui as one frame held down.
        io.MouseDown[i] = pointer.Held[i] || pointer.PressedThisFrame[i];
        pointer.PressedThisFrame[i] = false;
    }
}

bool InitUi(SDL_Window* window, SDL_GLContext context) {
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr; // the demo writes no files
    io.LogFilename = nullptr;
    // Tab walks the properties window's sliders in order and the arrow keys move them.
    io.ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
    ImGui::StyleColorsDark();
    // DejaVu Sans when the system has it (Debian's fonts-dejavu-core); ImGui's built-in bitmap font
    // otherwise.
    if (std::FILE* file = std::fopen(kUiFontFile, "rb")) {
        std::fclose(file);
        io.Fonts->AddFontFromFileTTF(kUiFontFile, kUiFontPixels);
    }
    bool ready = ImGui_ImplSDL2_InitForOpenGL(window, context);
    if (ready && !ImGui_ImplOpenGL2_Init()) {
        ImGui_ImplSDL2_Shutdown();
        ready = false;
    }
    if (!ready) {
        ImGui::DestroyContext();
        ShowMessage("Could not set up the menu and windows (Dear ImGui) on the OpenGL context.", "Error",
                    TMessageIcon::Error);
    }
    return ready;
}

bool UiTakesKeyboard() {
    return ImGui::GetCurrentContext() != nullptr && ImGui::GetIO().WantCaptureKeyboard;
}

std::optional<TAppKey> CoreKeyOf(const SDL_Event& event, bool uiTakesKeyboard) {
    if (event.type != SDL_KEYDOWN || uiTakesKeyboard) return std::nullopt;
    if (event.key.keysym.sym == SDLK_SPACE && event.key.repeat == 0) return TAppKey::Space;
    if (event.key.keysym.sym == SDLK_RIGHT) return TAppKey::RightArrow;
    if (event.key.keysym.sym == SDLK_HOME) return TAppKey::Home;
    return std::nullopt;
}

void ProcessUiEvent(const SDL_Event& event) {
    // Mouse buttons and motion come through the pointer feed. The backend would also grab the pointer
    // for a button it saw pressed; on X11 the grab makes the server send crossing events that SDL turns
    // into motion at the system pointer, overriding injected events. Real drags are still captured by
    // SDL itself while a physical button is down.
    if (event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP || event.type == SDL_MOUSEMOTION)
        return;
    ImGui_ImplSDL2_ProcessEvent(&event);
}

void BeginUiFrame(TPointerFeed& pointer) {
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ApplyPointerFeed(pointer, ImGui::GetIO()); // after the backend, which reads the system pointer
    ImGui::NewFrame();
}

void EndUiFrame() {
    ImGui::Render();
    // The particle systems leave their vertex buffer bound; the OpenGL2 backend draws from client
    // memory, whose pointers a bound buffer would turn into offsets into that buffer.
    GLint boundBuffer = 0;
    GL.GetIntegerv(GL_ARRAY_BUFFER_BINDING_ARB, &boundBuffer);
    if (boundBuffer != 0) GL.BindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
    if (boundBuffer != 0) GL.BindBufferARB(GL_ARRAY_BUFFER_ARB, static_cast<GLuint>(boundBuffer));
}

void ShutdownUi() {
    ImGui_ImplOpenGL2_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
}

} // namespace lumidor
