// What the playground page (playground.html) asks of the demo it runs: a script loaded from the
// editor's text and played as the current effect, the timeline's buttons, and where the effect stands.
// The page calls these through Module.ccall once the demo has started (its postRun).
//
// The editor's text is one played script, "playground.psc", that each load replaces in place. A text
// with errors is refused and the last good version keeps playing; a good one replaces it and is brought
// to the time the timeline stood at, with the timeline's seed, so the author sees the same moment change.
// The page's script runs exactly as lumidor-psc runs it (no ground is added under bouncing types), so
// the state line equals what `lumidor-psc --simulate T --seed S` prints for it.

#include "app/core/effects_startup.h"
#include "app/core/live_scripts.h"
#include "app/core/timeline_control.h"
#include "engine/fixed_steps.h"
#include "script/script_diagnostics.h"
#include "script/script_hash.h"
#include "web/web_ui.h"

#include <emscripten.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

using namespace lumidor;

namespace {

/// The name the editor's text goes by in problems and logs.
constexpr const char* kPlaygroundName = "playground.psc";

/// The played script that holds the editor's text; none before the first good load.
std::optional<std::size_t> PlaygroundIndex;

// clang-format off
EM_JS(bool, PlaygroundCanvasHasFocus, (), {
    return document.activeElement === Module['canvas'];
});
// clang-format on

int PlaygroundSlot() {
    return FirstPlayedSlot + int(*PlaygroundIndex);
}

TPlayedScript* PlaygroundScript() {
    return PlaygroundIndex ? &PlayedScripts[*PlaygroundIndex] : nullptr;
}

/// The steps the playground's script stands at, when it stands on the step grid and no timeline work
/// is under way (the state line is only meaningful then).
std::optional<std::int64_t> StandingSteps() {
    const TPlayedScript* played = PlaygroundScript();
    if (!played || CurrentEffect != PlaygroundSlot() || Timeline.SeekPending || Timeline.StepsPending > 0 ||
        !TimelineWorkText().empty() || ScriptWarmingUp(played->Script))
        return std::nullopt;
    // Every step adds the same float to the script's clock: whole steps of it are the grid.
    const double steps = ScriptPlayedSeconds(played->Script) / double(FixedStepSeconds);
    const double whole = std::floor(steps + 0.5);
    if (std::fabs(steps - whole) > 1e-6) return std::nullopt;
    return std::int64_t(whole);
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(static_cast<unsigned char>(c)));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

} // namespace

/// Loads the editor's text. Returns its problems as gcc lines ("playground.psc:LINE:COLUMN: error: ..."
/// and warnings), empty when there are none. A text with errors leaves the running version as it is
/// (the first text runs even with errors, as a first load does); a good one plays from the time the
/// timeline stood at.
extern "C" EMSCRIPTEN_KEEPALIVE const char* lumidor_playground_load(const char* text) {
    static std::string problems;
    web::SetCoreKeyFilter([] { return PlaygroundCanvasHasFocus(); });
    TParticleScript candidate;
    const TScriptLoadReport report = LoadScriptFromText(candidate, kPlaygroundName, text ? text : "");
    problems = FormatGccProblems(kPlaygroundName, report);
    TPlayedScript* played = PlaygroundScript();
    if (played && report.ErrorCount > 0) {
        ReleaseScript(candidate);
        return problems.c_str();
    }
    double seconds = 0.0;
    if (!played) {
        PlaygroundIndex = PlayedScripts.size();
        played = &PlayedScripts.emplace_back();
        played->Live.File = kPlaygroundName;
    } else {
        if (CurrentEffect == PlaygroundSlot()) seconds = EffectTimeline(CurrentEffect).Seconds;
        ReleaseScript(played->Script);
    }
    played->Script = std::move(candidate);
    played->Live.HasVersion = true;
    played->Live.ErrorCount = report.ErrorCount;
    ForgetScriptTimeline(played->Script);
    CurrentEffect = PlaygroundSlot();
    // The seek is the effect's own from now on: a change of slot on the next frame would drop it.
    FollowTimelineEffect(Timeline, CurrentEffect);
    SeekTimeline(Timeline, seconds);
    return problems.c_str();
}

/// The timeline's buttons: "toggle" (pause or play), "pause" (stands at the nearest step), "play",
/// "step", "restart", "speed" (`value` times real time) and "seek" (to `value` seconds, on the step grid).
extern "C" EMSCRIPTEN_KEEPALIVE void lumidor_playground_control(const char* action, double value) {
    const std::string_view name = action ? action : "";
    const bool paused = Timeline.Paused;
    const double seconds = EffectTimeline(CurrentEffect).Seconds;
    if (name == "toggle" || (name == "pause" && !paused) || (name == "play" && paused)) {
        ToggleTimelinePause(Timeline);
        // A pause between two steps of the grid goes to the nearest one, where the state line is exact.
        if (Timeline.Paused && !Timeline.SeekPending) SeekTimeline(Timeline, seconds);
    } else if (name == "step") {
        StepTimeline(Timeline);
    } else if (name == "restart") {
        RestartTimeline(Timeline);
    } else if (name == "speed") {
        SetTimelineSpeed(Timeline, float(value));
    } else if (name == "seek") {
        SeekTimeline(Timeline, value);
    }
}

/// The random seed of every restart, seek and load from now on, as decimal text; false when the text is
/// not a whole number 0 .. 2^64 - 1 (the seed stays).
extern "C" EMSCRIPTEN_KEEPALIVE bool lumidor_playground_set_seed(const char* text) {
    const std::string_view digits = text ? text : "";
    std::uint64_t seed = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), seed);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return false;
    Timeline.Seed = seed;
    return true;
}

/// Where the effect stands, as JSON: {"seconds", "end" (the slider's end), "paused", "speed", "seed"
/// (text), "work" (timeline work under way, in words), "busy" (a seek, step or work still to do before
/// the effect is drawn where the timeline asked), "state"}: "state" is SimulationLine's line while the
/// script stands still on the step grid, else empty.
extern "C" EMSCRIPTEN_KEEPALIVE const char* lumidor_playground_status() {
    static std::string json;
    const TPlayedScript* played = PlaygroundScript();
    const bool ours = played && CurrentEffect == PlaygroundSlot();
    const TEffectTimeline effect = EffectTimeline(CurrentEffect);
    const std::optional<std::int64_t> steps = Timeline.Paused ? StandingSteps() : std::nullopt;
    const std::string state = steps && ours ? SimulationLine(*steps, played->Script.Containers) : "";
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, "{\"seconds\":%.6f,\"end\":%.3f,\"paused\":%s,\"speed\":%.3f,",
                  effect.Seconds, TimelineSliderEnd(effect.Length), Timeline.Paused ? "true" : "false",
                  double(Timeline.Speed));
    json = numbers;
    const bool busy = Timeline.SeekPending || Timeline.StepsPending > 0 || !TimelineWorkText().empty();
    json += "\"seed\":" + JsonString(std::to_string(Timeline.Seed)) +
            ",\"work\":" + JsonString(TimelineWorkText()) + ",\"busy\":" + (busy ? "true" : "false") +
            ",\"state\":" + JsonString(state) + "}";
    return json.c_str();
}
