#include "textures/textures.h"

namespace lumidor {

bool LoadTextureFile(const std::string&, GLuint&) { return false; }

} // namespace lumidor
