#pragma once
// The effects plugged into the demo shell: start-up, the effect pass with the banner, and the UI.

#include "app/app_hooks.h"

namespace lumidor {

/// Hooks that run RunEffectsStartup, RunEffectPass and, in the UI frame, PopupMenu1 and the
/// properties window, with the debugging aids (statistics, gizmos, inspector) around them; installs
/// their pass observer.
TAppHooks MakeDemoHooks();

} // namespace lumidor
