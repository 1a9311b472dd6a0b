#pragma once
// The example scripts the "Examples" submenu plays (data/scripts/examples), and the ground the demo
// lays under a played script whose particles bounce.
//
// The ground: a type with an "onbounce" sub-emitter needs something to bounce on, and a script has no
// command for one. The demo gives every such type (and only those: the other types keep flying as
// they were written) a flat 10 x 10 ground centred under the origin, with the demo floor's friction,
// PlayedScriptGroundGap below the lowest point where that type's particles start, so that no particle
// starts inside the collision band and a particle meets the ground only on its way down.

#include "script/particle_script.h"

#include <array>
#include <optional>
#include <string>

namespace lumidor {

/// One example: its menu caption, the name the web page's `script=` takes, its file below the data folder.
struct TExampleScript {
    const char* Caption; ///< "Firework"
    const char* Name;    ///< "firework"
    const char* File;    ///< "scripts/examples/firework.psc"
};

/// The examples in menu order.
extern const std::array<TExampleScript, 6> ExampleScripts;

/// Distance from the lowest start point of a bouncing type down to its ground, world units: beyond the
/// collision band (0.2) with a margin.
inline constexpr float PlayedScriptGroundGap = 0.25f;

/// The file of the example named `name` (ignoring case, with or without ".psc"); nothing when no
/// example has that name.
std::optional<std::string> FindExampleScript(const std::string& name);

/// "firework, campfire, explosion, fountain, spell or smoke": the names FindExampleScript knows, for
/// messages.
std::string ExampleScriptNames();

/// The height of the ground of particle type `type` of `script` at `origin`: the lowest start point
/// its "position" box or shape allows, minus PlayedScriptGroundGap.
float ScriptGroundHeight(const TParticleScript& script, std::size_t type, const TVector3& origin);

/// Lays the ground under every type of `script` that has an "onbounce" sub-emitter and has no
/// ground yet; returns how many types got one.
int GiveBouncingTypesAGround(TParticleScript& script, const TVector3& origin);

/// Plays the example as the current effect (PlayScriptFile); returns its slot.
int PlayExampleScript(const TExampleScript& example);

/// The "Examples" submenu of PopupMenu1: one entry per example; call inside the open popup.
void DrawExamplesMenu();

} // namespace lumidor
