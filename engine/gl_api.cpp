#include "gl_api.h"

namespace lumidor {

TGLFunctions GL;

} // namespace lumidor
