#include "gl_loader.h"

#include "gl_api.h"

#include <GL/glu.h>

namespace lumidor {

std::vector<std::string> LoadGLFunctions(TGLProcResolver resolve) {
    std::vector<std::string> missing;
#define LUMIDOR_GL_RESOLVE(ret, name, params, args)                                                          \
    GL.name = reinterpret_cast<ret(*) params>(resolve("gl" #name));                                          \
    if (!GL.name) missing.push_back("gl" #name);
    LUMIDOR_GL_CORE_FUNCTIONS(LUMIDOR_GL_RESOLVE)
    LUMIDOR_GL_BUFFER_FUNCTIONS(LUMIDOR_GL_RESOLVE)
#undef LUMIDOR_GL_RESOLVE
    GL.gluPerspective = &::gluPerspective;
    GL.gluBuild2DMipmaps = &::gluBuild2DMipmaps;
    GL.Ready = missing.empty();
    return missing;
}

} // namespace lumidor
