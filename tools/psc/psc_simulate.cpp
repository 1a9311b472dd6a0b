// `lumidor-psc --simulate`: the two ways of running a script to a step (one seek, or frame by frame,
// which must agree) and the strict readers of SECONDS and the seed, which never depend on the locale.

#include "tools/psc/psc_simulate.h"

#include "engine/fixed_steps.h"
#include "engine/random.h"
#include "script/particle_script.h"

#include <charconv>
#include <cmath>

namespace lumidor {

namespace {

// from_chars reads the "C" locale's forms only; the whole text must be the number.
template <typename T> bool ReadWhole(const std::string& text, T& value) {
    if (text.empty() || text[0] == '-' || text[0] == '+') return false;
    const char* last = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), last, value);
    return result.ec == std::errc() && result.ptr == last;
}

} // namespace

bool ParseSimulateSeconds(const std::string& text, double& seconds) {
    constexpr double OneHour = double(MaxFixedSteps) / double(StepsPerSecond);
    // "inf" and "nan" are words, not numbers of seconds; from_chars would take them.
    if (text.find_first_not_of("0123456789.eE+-") != std::string::npos) return false;
    double value = 0.0;
    if (!ReadWhole(text, value) || !std::isfinite(value) || value < 0.0 || value > OneHour) return false;
    seconds = value;
    return true;
}

bool ParseSimulateSeed(const std::string& text, std::uint64_t& seed) {
    if (text.find_first_not_of("0123456789") != std::string::npos) return false;
    return ReadWhole(text, seed);
}

void SimulateScript(TParticleScript& script, std::int64_t steps, std::uint64_t seed, bool stepByStep) {
    const TVector3 origin{0.0f, 0.0f, 0.0f};
    if (!stepByStep) {
        SeekScriptSteps(script, origin, steps, seed);
        return;
    }
    RestartScript(script);
    SeedRandom(seed);
    // The prewarm runs before the first frame, so that 0 steps stand where a seek to 0 leaves the script.
    FinishPrewarm(script, origin);
    for (std::int64_t i = 0; i < steps; ++i)
        AdvanceScript(script, origin, ScriptStepSeconds);
}

} // namespace lumidor
