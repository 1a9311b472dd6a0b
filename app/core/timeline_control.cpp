// The timeline applied to the effects (timeline_control.h). A preset is re-run from its restart in
// fixed steps with the GL table's drawing entries silenced, so a seek changes no pixel of the frame.

#include "app/core/timeline_control.h"

#include "app/core/effects_startup.h"
#include "app/core/live_scripts.h"
#include "effects/effect_slots.h"
#include "effects/frame_time.h"
#include "effects/preset_timeline.h"
#include "engine/gl_api.h"
#include "engine/random.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace lumidor {

TTimeline Timeline;

namespace {

float HostFrameTime = 0.0f;

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

void SeekPreset(int slot, double seconds) {
    RestartPresets();
    SeedRandom(Timeline.Seed);
    const float hostFrameTime = FrameTime;
    const TSilentDrawing silent;
    const auto step = [slot](float dt) {
        FrameTime = dt;
        GL.PushMatrix();                         // a preset's tilt would pile up over the steps
        RunEffectSlot(slot, TEffectCallbacks{}); // the script slots never reach here
        GL.PopMatrix();
    };
    // As the script runtime counts its steps: seconds = n steps (with a float step's rounding) runs n.
    constexpr double Tolerance = 1e-4;
    const auto steps = std::int64_t(std::floor(seconds / double(TimelineStepSeconds) + Tolerance));
    for (std::int64_t i = 0; i < steps; ++i)
        step(TimelineStepSeconds);
    const double rest = seconds - double(steps) * double(TimelineStepSeconds);
    if (rest > Tolerance * double(TimelineStepSeconds)) step(float(rest));
    FrameTime = hostFrameTime;
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
        const double prewarm = std::min(double(script.Prewarm), double(MaxScriptPrewarmSeconds));
        view.Seconds = script.Started ? std::max(script.Time - std::max(prewarm, 0.0), 0.0) : 0.0;
        view.Finished = script.Started && ScriptFinished(script);
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

bool SeekEffect(int slot, double seconds) {
    if (!EffectTimeline(slot).CanSeek) return false;
    seconds = std::isnan(seconds) ? 0.0 : std::clamp(seconds, 0.0, MaxTimelineSeekSeconds);
    if (const TScriptOfSlot of = ScriptOfSlot(slot); of.Script) {
        DropRetired(*of.Live);
        SeekScript(*of.Script, TVector3{0.0f, 0.0f, 0.0f}, seconds, Timeline.Seed, TimelineStepSeconds);
        return true;
    }
    SeekPreset(slot, seconds);
    return true;
}

TTimelineFrame BeginTimelineFrame() {
    FollowTimelineEffect(Timeline, CurrentEffect);
    const TTimelineFrame frame = NextTimelineFrame(Timeline, FrameTime);
    if (frame.SeekTo) SeekEffect(CurrentEffect, *frame.SeekTo);
    HostFrameTime = FrameTime;
    FrameTime = frame.Dt;
    return frame;
}

void EndTimelineFrame() {
    FrameTime = HostFrameTime;
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
