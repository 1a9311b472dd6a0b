#include "effects/frame_time.h"

namespace lumidor {

float FrameTime = 0.0f;

} // namespace lumidor
