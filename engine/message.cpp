#include "message.h"

#include <cstdio>

namespace lumidor {

namespace {
TMessageHandler currentHandler = &PrintMessageToStderr;
}

TMessageHandler SetMessageHandler(TMessageHandler handler) {
    TMessageHandler previous = currentHandler;
    currentHandler = handler ? handler : &PrintMessageToStderr;
    return previous;
}

void ShowMessage(const std::string& text, const std::string& caption, TMessageIcon icon) {
    currentHandler(text, caption, icon);
}

void PrintMessageToStderr(const std::string& text, const std::string& caption, TMessageIcon) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
}

} // namespace lumidor
