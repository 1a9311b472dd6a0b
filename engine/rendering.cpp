#include "engine/particle_container.h"
