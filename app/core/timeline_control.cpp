// The timeline applied to the effects (timeline_control.h). A preset is re-run from its restart in
// fixed steps with the GL table's drawing entries silenced, so a seek changes no pixel of the frame; a
// script seeks through its runtime's checkpoints. Work is done in slices, each within the frame budget.

#include "app/core/timeline_control.h"

#include "app/core/effects_startup.h"
#include "app/core/live_scripts.h"
#include "effects/effect_slots.h"
#include "effects/frame_time.h"
#include "effects/preset_timeline.h"
#include "engine/gl_api.h"
#include "engine/random.h"
#include "script/script_seek.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>

namespace lumidor {

TTimeline Timeline;
double TimelineWorkBudgetMs = 0.0;

namespace {

const TVector3 ScriptOrigin{0.0f, 0.0f, 0.0f};

float HostFrameTime = 0.0f;
bool ClockRestartWanted = false;
bool WasPaused = false;

/// While alive, the GL table's entries that put pixels on the screen do nothing; state calls still
/// go through, so buffers, textures and matrices stay as a drawn frame leaves them.
class TSilentDrawing {
  public:
    TSilentDrawing() : saved(GL) {
        GL.DrawArrays = [](GLenum, GLint, GLsizei) {};
        GL.Begin = [](GLenum) {};
        GL.End = [] {};
        GL.Vertex2f = [](GLfloat, GLfloat) {};
        GL.Vertex3f = [](GLfloat, GLfloat, GLfloat) {};
        GL.CallList = [](GLuint) {};
    }
    ~TSilentDrawing() { GL = saved; }
    TSilentDrawing(const TSilentDrawing&) = delete;
    TSilentDrawing& operator=(const TSilentDrawing&) = delete;

  private:
    TGLFunctions saved;
};

/// The script slot `slot` runs, with its live-reload bookkeeping; null for presets and unknown slots.
struct TScriptOfSlot {
    TParticleScript* Script = nullptr;
    TLiveScript* Live = nullptr;
};

TScriptOfSlot ScriptOfSlot(int slot) {
    if (slot >= 11 && slot <= 13) {
        const auto index = std::size_t(slot - 11);
        return {&Scripts[index], &SlotScriptLives[index]};
    }
    if (slot >= FirstPlayedSlot && std::size_t(slot - FirstPlayedSlot) < PlayedScripts.size()) {
        TPlayedScript& played = PlayedScripts[std::size_t(slot - FirstPlayedSlot)];
        return {&played.Script, &played.Live};
    }
    return {};
}

void DropRetired(TLiveScript& live) {
    for (TRetiredScript& retired : live.Retired)
        ReleaseScript(retired.Script);
    live.Retired.clear();
}

/// The checkpoints of the script seeked last, kept while the same version runs (the records never
/// move: the slot scripts are globals, the played ones live in a deque).
std::map<const TParticleScript*, TScriptSeeker> Seekers;

enum class TWorkKind { None, ScriptSeek, PresetSeek, Prewarm };

/// The timeline work under way for one effect.
struct TTimelineWork {
    TWorkKind Kind = TWorkKind::None;
    int Slot = -1;
    TParticleScript* Script = nullptr; ///< ScriptSeek and Prewarm
    std::int64_t Target = 0;           ///< steps of play a seek brings the effect to
    std::int64_t Done = 0;             ///< a preset seek's steps run so far
    TRandomState Random;               ///< a preset seek's generator between slices
};

TTimelineWork Work;

/// When the frame's slice of work has to end; never with an unbounded budget.
class TWorkBudget {
  public:
    TWorkBudget()
        : bounded(TimelineWorkBudgetMs > 0.0),
          deadline(std::chrono::steady_clock::now() +
                   std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                       std::chrono::duration<double, std::milli>(TimelineWorkBudgetMs))) {}
    bool Left() const { return !bounded || std::chrono::steady_clock::now() < deadline; }

  private:
    bool bounded;
    std::chrono::steady_clock::time_point deadline;
};

void RunPresetStep(int slot, float dt) {
    FrameTime = dt;
    GL.PushMatrix();                         // a preset's tilt would pile up over the steps
    RunEffectSlot(slot, TEffectCallbacks{}); // the script slots never reach here
    GL.PopMatrix();
}

void BeginSeekWork(int slot, std::int64_t steps) {
    Work = TTimelineWork{};
    if (!EffectTimeline(slot).CanSeek) return;
    Work.Slot = slot;
    Work.Target = std::clamp<std::int64_t>(steps, 0, MaxTimelineSeekSteps);
    if (const TScriptOfSlot of = ScriptOfSlot(slot); of.Script) {
        DropRetired(*of.Live);
        Work.Kind = TWorkKind::ScriptSeek;
        Work.Script = of.Script;
        // Checkpoints are kept for the script being seeked only, so they hold one budget in all.
        std::erase_if(Seekers, [&](const auto& entry) { return entry.first != of.Script; });
        BeginScriptSeek(Seekers[of.Script], *of.Script, ScriptOrigin, Work.Target, Timeline.Seed);
        return;
    }
    Work.Kind = TWorkKind::PresetSeek;
    RestartPresets();
    SeedRandom(Timeline.Seed);
    Work.Random = SaveRandom();
}

/// A script about to show its first frame with a prewarm to run: the prewarm becomes work.
void MaybeBeginPrewarmWork(int slot) {
    const TScriptOfSlot of = ScriptOfSlot(slot);
    if (!of.Script || of.Script->Containers.empty() || !ScriptWarmingUp(*of.Script)) return;
    if (!(of.Script->Prewarm > 0.0f)) return;
    Work = TTimelineWork{};
    Work.Kind = TWorkKind::Prewarm;
    Work.Slot = slot;
    Work.Script = of.Script;
}

/// Runs the work under way until it is done or the budget is spent; true when done.
bool ContinueWork() {
    const TWorkBudget budget;
    bool done = false;
    switch (Work.Kind) {
    case TWorkKind::None:
        return true;
    case TWorkKind::ScriptSeek: {
        TScriptSeeker& seeker = Seekers[Work.Script];
        do {
            done = ContinueScriptSeek(seeker, *Work.Script, 1);
        } while (!done && budget.Left());
        break;
    }
    case TWorkKind::Prewarm:
        do {
            RunPrewarmSteps(*Work.Script, ScriptOrigin, 1);
            done = !ScriptWarmingUp(*Work.Script);
        } while (!done && budget.Left());
        break;
    case TWorkKind::PresetSeek: {
        const float hostFrameTime = FrameTime;
        const TSilentDrawing silent;
        RestoreRandom(Work.Random);
        // At least one step a frame, however small the budget: the work always gets on.
        for (bool first = true; Work.Done < Work.Target && (first || budget.Left()); first = false) {
            RunPresetStep(Work.Slot, TimelineStepSeconds);
            ++Work.Done;
        }
        Work.Random = SaveRandom();
        FrameTime = hostFrameTime;
        done = Work.Done >= Work.Target;
        break;
    }
    }
    if (done) Work = TTimelineWork{};
    return done;
}

std::string Format(const char* format, double a) {
    char text[96];
    std::snprintf(text, sizeof text, format, a);
    return text;
}

/// Seconds as a person reads them: at most two decimals, no trailing zeros ("12.5", "60").
std::string SecondsText(double seconds) {
    std::string text = Format("%.2f", seconds);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text;
}

std::string SeekingText(std::int64_t reached, std::int64_t target) {
    return "Seeking " + SecondsText(SecondsOfSteps(reached)) + " s of " +
           SecondsText(SecondsOfSteps(target)) + " s";
}

} // namespace

TEffectTimeline EffectTimeline(int slot) {
    TEffectTimeline view;
    if (const TScriptOfSlot of = ScriptOfSlot(slot); of.Script) {
        const TParticleScript& script = *of.Script;
        if (script.Containers.empty()) {
            view.Reason = of.Live->HasVersion ? "the script has no particle type" : "no script runs here";
            return view;
        }
        view.CanSeek = true;
        view.Seconds = ScriptPlayedSeconds(script);
        view.Finished = !ScriptWarmingUp(script) && ScriptFinished(script);
        view.Length = ScriptLength(script);
        if (Work.Kind == TWorkKind::ScriptSeek && Work.Script == of.Script)
            view.Seconds = SecondsOfSteps(Work.Target);
        return view;
    }
    if (slot >= FirstPlayedSlot) {
        view.Reason = "no effect runs here";
        return view;
    }
    const TPresetTimeline preset = PresetTimeline(slot);
    view.CanSeek = preset.CanSeek;
    view.Reason = preset.Reason;
    view.Seconds = Timeline.PresetSeconds;
    return view;
}

std::string TimelineWorkText() {
    switch (Work.Kind) {
    case TWorkKind::None:
        return "";
    case TWorkKind::Prewarm: {
        const TParticleScript& script = *Work.Script;
        const double total =
            double(std::max<std::int64_t>(script.PrewarmStepsRun + script.PrewarmStepsLeft, 1));
        return Format("Prewarming %.0f %%", std::floor(100.0 * double(script.PrewarmStepsRun) / total));
    }
    case TWorkKind::ScriptSeek: {
        const TScriptSeeker& seeker = Seekers[Work.Script];
        const double progress = ScriptSeekProgress(seeker, *Work.Script);
        if (ScriptWarmingUp(*Work.Script))
            return SeekingText(0, Work.Target) +
                   Format(" (prewarming %.0f %%)", std::floor(100.0 * progress));
        return SeekingText(seeker.Position - Work.Script->PrewarmStepsRun, Work.Target);
    }
    case TWorkKind::PresetSeek:
        return SeekingText(Work.Done, Work.Target);
    }
    return "";
}

bool SeekEffectSteps(int slot, std::int64_t steps) {
    if (!EffectTimeline(slot).CanSeek) return false;
    const double budget = TimelineWorkBudgetMs;
    TimelineWorkBudgetMs = 0.0;
    BeginSeekWork(slot, steps);
    ContinueWork();
    TimelineWorkBudgetMs = budget;
    return true;
}

bool SeekEffect(int slot, double seconds) {
    return SeekEffectSteps(slot, std::min(StepsForSeconds(seconds), MaxTimelineSeekSteps));
}

TTimelineFrame BeginTimelineFrame() {
    FollowTimelineEffect(Timeline, CurrentEffect);
    if (Work.Kind != TWorkKind::None && Work.Slot != CurrentEffect) Work = TTimelineWork{};
    HostFrameTime = FrameTime;
    if (WasPaused && !Timeline.Paused) ClockRestartWanted = true;
    WasPaused = Timeline.Paused;
    if (Timeline.SeekPending) {
        // Taken here rather than by NextTimelineFrame, so that a seek too long for one frame goes on.
        const std::int64_t target = *Timeline.SeekPending;
        Timeline.SeekPending.reset();
        Timeline.PresetSeconds = SecondsOfSteps(target);
        BeginSeekWork(CurrentEffect, target);
    } else if (Work.Kind == TWorkKind::None && TimelineWorkBudgetMs > 0.0) {
        MaybeBeginPrewarmWork(CurrentEffect);
    }
    if (Work.Kind != TWorkKind::None) {
        ClockRestartWanted = true;
        if (!ContinueWork()) {
            FrameTime = 0.0f;
            TTimelineFrame still;
            still.Still = true;
            return still;
        }
    }
    const TTimelineFrame frame = NextTimelineFrame(Timeline, HostFrameTime);
    FrameTime = frame.Dt;
    return frame;
}

void EndTimelineFrame() {
    FrameTime = HostFrameTime;
}

bool TakeFrameClockRestart() {
    const bool wanted = ClockRestartWanted;
    ClockRestartWanted = false;
    return wanted;
}

void CancelTimelineWork() {
    Work = TTimelineWork{};
}

void ForgetScriptTimeline(const TParticleScript& script) {
    Seekers.erase(&script);
    if (Work.Script == &script) Work = TTimelineWork{};
    ClockRestartWanted = true;
}

bool DrawEffectStill(int slot) {
    const TScriptOfSlot of = ScriptOfSlot(slot);
    if (slot < FirstPlayedSlot && !DrawPresetStill(slot)) return false;
    if (!of.Script) return slot < FirstPlayedSlot;
    for (TRetiredScript& retired : of.Live->Retired)
        for (TParticleEffectContainer& container : retired.Script.Containers)
            DrawContainerStill(container);
    for (TParticleEffectContainer& container : of.Script->Containers)
        DrawContainerStill(container);
    return true;
}

} // namespace lumidor
