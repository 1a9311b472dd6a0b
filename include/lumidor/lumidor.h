#pragma once
/// @file
/// Everything public in Lumidor: include this one header and link Lumidor::lumidor (CMake) or
/// `pkg-config --cflags --libs lumidor`.
///
/// A program that never sets GL up (no LoadGLFunctions) can still create containers, add
/// particles, use every setter and magnet point, run SimulateParticles into its own vertex array,
/// and load and run scripts: no GL call is made on that path. A program with a current context
/// calls LoadGLFunctions once and then draws with UpdateAndDraw.
///
/// Single headers can be included as well, as <lumidor/engine/particle_container.h> and so on.

// Installed, the folders below sit beside this header, where a quoted include looks first; in the
// source tree they are found from the source root, which the build puts on the include path.

// The engine core: vectors, particle systems, the CPU sweep, drawing, collision, the GL table.
#include "engine/collision_world.h"
#include "engine/fixed_steps.h"
#include "engine/gl_api.h"
#include "engine/gl_loader.h"
#include "engine/message.h"
#include "engine/particle_array.h"
#include "engine/particle_container.h"
#include "engine/particle_life.h"
#include "engine/particle_step_breakdown.h"
#include "engine/particle_trails.h"
#include "engine/pass_observer.h"
#include "engine/random.h"
#include "engine/simulation.h"
#include "engine/task_runner.h"
#include "engine/vector.h"

// Texture readers: decoding (no GL) and mipmapped upload.
#include "textures/decoders.h"
#include "textures/image.h"
#include "textures/textures.h"

// Particle scripts: loader with its debugger log and diagnostics, the per-frame runtime, and
// reloading a script when its files change.
#include "script/live_script.h"
#include "script/particle_script.h"
#include "script/script_diagnostics.h"
#include "script/script_seek.h"
#include "script/script_watch.h"

// The particle font and its text.
#include "font/particle_font.h"
#include "font/rgb_image.h"

// The height-map terrain and the bitmap reader it (and the font) reads pictures with.
#include "terrain/bitmap_reader.h"
#include "terrain/terrain.h"

/// Every public name of Lumidor: plain records whose value-initialised state is valid and empty,
/// and free operations taking the record first.
namespace lumidor {}
