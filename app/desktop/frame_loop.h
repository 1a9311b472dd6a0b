#pragma once
// The event loop: events first, the caption every 100 ms, and a frame whenever no event is pending.

#include "app/core/app_hooks.h"
#include "app/core/command_line.h"

namespace lumidor {

struct TMainWindow;

/// Milliseconds between two caption updates.
inline constexpr unsigned kCaptionIntervalMs = 100;

/// Runs until the window is closed, the hooks ask to close or --frames frames are drawn. Returns the
/// process exit status: 0, or 1 when a requested screenshot or recorded frame could not be written.
/// A --record folder must exist already (PrepareRecordFolder).
int RunFrameLoop(TMainWindow& window, const TAppHooks& hooks, const TCommandLine& options);

} // namespace lumidor
