#pragma once
// The demo core as hooks for its host: start-up, the effect pass with the banner and the debugging
// aids, the UI, dropped files, the end of a frame, the menu's "Exit" and shutting down.

#include "app/core/app_hooks.h"

namespace lumidor {

/// Hooks that run RunEffectsStartup, RunEffectPass and, in the UI frame, PopupMenu1 and the
/// windows, with the debugging aids (statistics, gizmos, inspector) around them; installs their pass
/// observer, timed with the host's clock.
TAppHooks MakeDemoHooks(const THostServices& host = {});

} // namespace lumidor
