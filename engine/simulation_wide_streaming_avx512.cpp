// The eight-lane streaming sweep once more, built with AVX-512's encodings (see
// engine/CMakeLists.txt) for processors that run the sixteen-lane sweep. The operations are the eight
// lanes' own; the encodings give the sweep 32 vector registers instead of 16, so that it keeps its
// values in registers rather than spilling them to the stack between the streamed loads and stores.
#define LUMIDOR_SWEEP_STREAMING 1
#define LUMIDOR_SWEEP_AVX512_ENCODINGS 1
#include "engine/simulation_wide.cpp"
