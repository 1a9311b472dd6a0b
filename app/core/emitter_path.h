#pragma once
// The "Emitter path" choice: the played scripts' origin standing still, going round a circle or
// along a figure of eight, so that authors see trails, particles that move with their emitter and an
// emission rate at work. The path is a function of the script's own clock (EmitterPathOffset), so a
// seek and a replay of the timeline put the origin where playing put it.

#include "script/particle_script.h"

namespace lumidor {

/// The path every played script's origin follows; still until the user or --emitter-path picks another.
extern TEmitterPath EmitterPathChoice;

/// Makes `path` the played scripts' path. A script that changes path loses its seek checkpoints,
/// which were made along the old one.
void ChooseEmitterPath(TEmitterPath path);

/// Puts the chosen path on `script` (a played script, or a new version of one), forgetting its
/// checkpoints when the path changes.
void ApplyEmitterPath(TParticleScript& script);

/// The menu's caption of `path`: "Still", "Circle", "Figure of eight".
const char* EmitterPathCaption(TEmitterPath path);

/// The "Emitter path" submenu of PopupMenu1: one checked entry per path; call inside the open popup.
void DrawEmitterPathMenu();

} // namespace lumidor
