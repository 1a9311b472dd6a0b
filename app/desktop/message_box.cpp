#include "app/desktop/message_box.h"

#include "engine/message.h"

#include <SDL.h>

#include <string_view>

namespace lumidor {

namespace {

Uint32 DialogFlags(TMessageIcon icon) {
    switch (icon) {
    case TMessageIcon::Error:
        return SDL_MESSAGEBOX_ERROR;
    case TMessageIcon::Warning:
        return SDL_MESSAGEBOX_WARNING;
    case TMessageIcon::Information:
    case TMessageIcon::None:
        break;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

// Modal, no owner window, one OK button.
void ShowDialog(const std::string& text, const std::string& caption, TMessageIcon icon) {
    if (SDL_ShowSimpleMessageBox(DialogFlags(icon), caption.c_str(), text.c_str(), nullptr) != 0)
        PrintMessageToStderr(text, caption, icon);
}

} // namespace

bool WantDialogs(const TCommandLine& options, const char* noDialogsVariable) {
    if (options.Frames || options.Benchmark) return false;
    return !(noDialogsVariable && std::string_view(noDialogsVariable) == "1");
}

void InstallMessageHandler(bool dialogs) {
    SetMessageHandler(dialogs ? &ShowDialog : &PrintMessageToStderr);
}

} // namespace lumidor
