#pragma once

namespace lumidor {

/// Seconds since the previous frame, written once per frame by the frame loop before the effect
/// runs and read by every preset; 0 during start-up.
extern float FrameTime;

} // namespace lumidor
