#pragma once
// `lumidor-psc --simulate`: a loaded script run to a number of fixed steps, as one seek or as frames
// one at a time, and the argument readers of its options.

#include "script/particle_script.h"

#include <cstdint>
#include <string>

namespace lumidor {

/// Reads SECONDS of --simulate: a decimal number (digits, an optional fraction and exponent, no sign,
/// no spaces) from 0 to one hour (MaxFixedSteps / StepsPerSecond). False for anything else.
bool ParseSimulateSeconds(const std::string& text, double& seconds);
/// Reads S of --seed: decimal digits of a value from 0 to 2^64 - 1. False for anything else.
bool ParseSimulateSeed(const std::string& text, std::uint64_t& seed);
/// Brings a loaded script to `steps` fixed steps of play at the origin, the random generator seeded
/// with `seed`: one SeekScriptSteps, or (stepByStep) RestartScript, SeedRandom, the whole prewarm and
/// `steps` AdvanceScript frames of ScriptStepSeconds. Both give the same particles.
void SimulateScript(TParticleScript& script, std::int64_t steps, std::uint64_t seed, bool stepByStep);

} // namespace lumidor
