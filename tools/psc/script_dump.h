#pragma once
// The JSON form of what a script compiled to, as printed by `lumidor-psc --dump`.

#include "script/particle_script.h"

#include <string>

namespace lumidor {

/// One JSON object (keys in a fixed order, float32 values in their shortest exact form, NaN and
/// infinities as null) describing the script's flags and every particle type.
std::string DumpScriptJson(const TParticleScript& script, const TScriptLoadReport& report);

} // namespace lumidor
