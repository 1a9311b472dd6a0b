#include "app/desktop/frame_loop.h"

#include "app/core/caption.h"
#include "app/desktop/gl_debug.h"
#include "app/desktop/main_window.h"
#include "app/desktop/recording.h"
#include "app/desktop/ui_layer.h"

#include <SDL.h>

#include <string>

namespace lumidor {

int RunFrameLoop(TMainWindow& window, const TAppHooks& hooks, const TCommandLine& options) {
    int status = 0;
    std::int32_t framesDrawn = 0;
    Uint32 lastCaption = SDL_GetTicks();
    for (;;) {
        // Handlers run between frames, never inside one.
        bool closing = false;
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            FeedPointerEvent(window.Pointer, event);
            if (window.UiReady) ProcessUiEvent(event);
            if (const std::optional<TAppKey> key = CoreKeyOf(event, window.UiReady && UiTakesKeyboard());
                key && hooks.KeyPressed)
                hooks.KeyPressed(*key);
            if (event.type == SDL_QUIT ||
                (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE))
                closing = true;
            if (event.type == SDL_DROPFILE && event.drop.file != nullptr) {
                const std::string file = event.drop.file;
                SDL_free(event.drop.file);
                if (hooks.FileDropped) hooks.FileDropped(file);
            }
        }
        if (closing) break;

        const Uint32 now = SDL_GetTicks();
        if (now - lastCaption >= kCaptionIntervalMs) {
            const std::string status = hooks.CaptionStatus ? hooks.CaptionStatus() : std::string();
            SDL_SetWindowTitle(window.Window,
                               CaptionWithStatus(CaptionText(window.FramesPerSecond), status).c_str());
            lastCaption = now;
        }

        TFrameRequest request;
        request.FixedFrameTime = options.FixedFrameTime;
        const bool lastFrame = options.Frames && framesDrawn + 1 >= *options.Frames;
        if (lastFrame) request.ScreenshotFile = options.ScreenshotFile;
        if (!options.RecordFolder.empty())
            request.RecordFile = RecordFramePath(options.RecordFolder, framesDrawn + 1);
        const bool written = DrawFrame(window, hooks, request);
        if (!written) status = 1;
        ++framesDrawn;
        if (options.GLDebug) CheckGLErrors("frame " + std::to_string(framesDrawn));
        if (lastFrame || (!written && !request.RecordFile.empty())) break; // a recording with gaps is no use
    }
    return status;
}

} // namespace lumidor
