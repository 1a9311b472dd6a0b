#pragma once
// What the demo's caption and windows call the running effect and its particle systems: a preset or
// slot script by its menu caption, a played script by its file's name, a script's systems by their
// zero-based particle type (the effect, named beside them, says whose types they are). Paths are shown with
// "/" whatever they were written with; the scripts' own records (their debugger logs) keep the names as
// given.

#include <cstddef>
#include <string>
#include <string_view>

namespace lumidor {

/// `file` with every "\" shown as "/" (".\scripts\ParticleScript1.psc" -> "./scripts/ParticleScript1.psc").
std::string DisplayFileName(std::string_view file);

/// The last part of `file`, after its last "/" or "\" ("scripts/examples/fountain.psc" -> "fountain.psc");
/// `file` itself when it has neither.
std::string ShortFileName(std::string_view file);

/// Name of the system of a script's particle type `type` (zero-based, in the order of its
/// "setnewparticletype" commands): "type 0"; "type 0 (earlier version)" for a version replaced by a reload
/// whose particles still fly out.
std::string ScriptSystemName(std::size_t type, bool earlierVersion = false);

/// Name of the effect `slot` runs: its menu caption ("Fire (300)") for slots 0..18, the short file name of
/// the played script from FirstPlayedSlot on ("fountain.psc"); empty for a slot that runs nothing.
std::string EffectName(int slot);

/// What the caption adds after the frame rate: the running effect's name, then " - " and the timeline's
/// work when there is some ("Fire (300) - Seeking 12.5 s of 60 s").
std::string CaptionStatusText();

} // namespace lumidor
