#pragma once
// Where the demo's message boxes go: a modal SDL dialog, or standard error for unattended runs.

#include "app/core/command_line.h"

namespace lumidor {

/// False when LUMIDOR_NO_DIALOGS is "1" (`noDialogsVariable`, null when unset) or --frames or
/// --benchmark was given:
/// an unattended run must never wait on a dialog.
bool WantDialogs(const TCommandLine& options, const char* noDialogsVariable);

/// Points ShowMessage at SDL_ShowSimpleMessageBox (falling back to standard error when no dialog can
/// be shown) or, with `dialogs` false, straight at standard error.
void InstallMessageHandler(bool dialogs);

} // namespace lumidor
