#pragma once

#include <string_view>

namespace lumidor {

/// True when `name` is one whole space-separated entry of `extensions` (a GL_EXTENSIONS string; null
/// counts as empty), so that a longer name sharing its prefix does not match.
bool HasGLExtension(const char* extensions, std::string_view name);

} // namespace lumidor
