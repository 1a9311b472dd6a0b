#pragma once

#include <string>

namespace lumidor {

/// Icon shown beside a message; the texture readers use none, start-up errors use Error.
enum class TMessageIcon { None, Error, Warning, Information };

/// Receives every user-facing message box. The demo points it at a modal dialog; tests and
/// headless runs at a recorder or at standard error. Must not be null.
using TMessageHandler = void (*)(const std::string& text, const std::string& caption, TMessageIcon icon);

/// Installs the handler and returns the previous one.
TMessageHandler SetMessageHandler(TMessageHandler handler);
/// Shows one message through the installed handler (standard error until one is installed).
void ShowMessage(const std::string& text, const std::string& caption, TMessageIcon icon = TMessageIcon::None);
/// The default handler: "caption: text" on standard error.
void PrintMessageToStderr(const std::string& text, const std::string& caption, TMessageIcon icon);

} // namespace lumidor
