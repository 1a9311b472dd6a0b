#pragma once
// The timeline applied to the demo's effects: the frame's seek or restart of the current effect (a
// preset, a slot script or a played script), the frame time its effect runs with, the still picture of
// a paused effect, and what the "Timeline" window shows of the current effect.

#include "app/core/timeline.h"

#include <string>

namespace lumidor {

/// The demo's timeline (the "Timeline" window, space and the right arrow change it).
extern TTimeline Timeline;

/// What the timeline can do with an effect slot.
struct TEffectTimeline {
    bool CanSeek = false;  ///< restart and the seek slider work
    std::string Reason;    ///< why not, shown beside the disabled slider; empty when CanSeek
    double Seconds = 0.0;  ///< the effect's seconds since its start (a script's prewarm not counted)
    bool Finished = false; ///< a script that will show nothing more
};

/// The timeline's view of `slot`: presets and slot scripts as effects/ and the script runtime allow,
/// played scripts from FirstPlayedSlot on.
TEffectTimeline EffectTimeline(int slot);

/// Before the effect pass: follows CurrentEffect, runs a pending seek or restart (drawing nothing), and
/// sets FrameTime to the seconds the effect runs this frame (0 when it stands still). Returns the frame.
TTimelineFrame BeginTimelineFrame();
/// After the effect pass: FrameTime back to the host's frame time.
void EndTimelineFrame();

/// Brings `slot` to `seconds` after its start with the timeline's seed, drawing nothing: a script
/// through SeekScript (its earlier versions' particles are dropped), a preset by RestartPresets and
/// steps of TimelineStepSeconds. False, and nothing changed, for a slot that cannot seek.
bool SeekEffect(int slot, double seconds);

/// Draws `slot` as it stands (its scripts' earlier versions too) without moving a particle.
bool DrawEffectStill(int slot);

} // namespace lumidor
