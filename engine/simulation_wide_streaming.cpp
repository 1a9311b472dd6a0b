// The eight-lane sweep once more, writing the vertices with streaming stores (see engine/CMakeLists.txt).
#define LUMIDOR_SWEEP_STREAMING 1
#include "engine/simulation_wide.cpp"
