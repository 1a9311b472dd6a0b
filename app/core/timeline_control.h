#pragma once
// The timeline applied to the demo's effects: the frame's seek or restart of the current effect (a
// preset, a slot script or a played script), the frame time its effect runs with, the still picture of
// a paused effect, and what the "Timeline" window shows of the current effect.
//
// Seeks, restarts and a script's prewarm are timeline work. In an interactive run each frame does at
// most TimelineWorkBudgetMs of it and the work goes on over the next frames (the effect stands still
// meanwhile, the window answers, and another seek replaces one under way); a run with a fixed number of
// frames does it all at once, as it always has. The frame after timeline work starts its clock after
// it, so the effect never jumps by the time the work took.

#include "app/core/timeline.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lumidor {

struct TParticleScript;

/// The demo's timeline (the "Timeline" window, space and the right arrow change it).
extern TTimeline Timeline;
/// Milliseconds of timeline work one frame may do; 0 (the default): all of it at once, as a run with a
/// fixed number of frames needs. Interactive hosts set DefaultTimelineWorkBudgetMs.
extern double TimelineWorkBudgetMs;
/// The budget of an interactive run: a frame stays answerable while a long seek goes on.
inline constexpr double DefaultTimelineWorkBudgetMs = 50.0;

/// What the timeline can do with an effect slot.
struct TEffectTimeline {
    bool CanSeek = false;         ///< restart and the seek slider work
    std::string Reason;           ///< why not, shown beside the disabled slider; empty when CanSeek
    double Seconds = 0.0;         ///< the effect's seconds since its start (a script's prewarm not counted)
    bool Finished = false;        ///< a script that will show nothing more
    std::optional<double> Length; ///< seconds after which it shows nothing more, when known
};

/// The timeline's view of `slot`: presets and slot scripts as effects/ and the script runtime allow,
/// played scripts from FirstPlayedSlot on.
TEffectTimeline EffectTimeline(int slot);

/// Timeline work under way, for the window and the caption: "Seeking 12.5 s of 60 s" (how far the seek
/// has come, and its target) or "Prewarming 40 %"; empty when there is none.
std::string TimelineWorkText();

/// Before the effect pass: follows CurrentEffect, starts a pending seek or restart or a script's prewarm
/// and does a slice of the work under way (drawing nothing), and sets FrameTime to the seconds the
/// effect runs this frame (0 while it stands still or work goes on). Returns the frame.
TTimelineFrame BeginTimelineFrame();
/// After the effect pass: FrameTime back to the host's frame time.
void EndTimelineFrame();
/// True once after a frame that did timeline work, resumed a paused effect or replaced a script: the
/// host then starts its frame clock again, so the next frame does not count that work.
bool TakeFrameClockRestart();
/// Drops the timeline work under way (the effects were reset).
void CancelTimelineWork();
/// A script record was (re)loaded: its checkpoints and any work on it are dropped, and the next frame's
/// clock starts after the load.
void ForgetScriptTimeline(const TParticleScript& script);

/// Brings `slot` to `steps` fixed steps after its start with the timeline's seed at once, drawing
/// nothing: a script through its checkpoints and SeekScriptSteps' steps (its earlier versions'
/// particles are dropped), a preset by RestartPresets and steps of TimelineStepSeconds. False, and
/// nothing changed, for a slot that cannot seek.
bool SeekEffectSteps(int slot, std::int64_t steps);
/// SeekEffectSteps to the step nearest to `seconds` (clamped to 0 .. MaxTimelineSeekSeconds).
bool SeekEffect(int slot, double seconds);

/// Draws `slot` as it stands (its scripts' earlier versions too) without moving a particle.
bool DrawEffectStill(int slot);

} // namespace lumidor
