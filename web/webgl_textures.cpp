// Textures on WebGL 2: unsized formats for GL's component counts, GL_CLAMP as clamp-to-edge, the
// level-0 size of each texture kept to answer glGetTexLevelParameteriv and to know which textures
// are complete, and the mipmap chain GLU would build.

#define GL_GLEXT_PROTOTYPES 1
#include "web/webgl_textures.h"

#include "web/glu_image.h"

namespace lumidor::web::webgl {

namespace {

constexpr GLint kGluInvalidEnum = 100900; // GLU's error codes
constexpr GLint kGluInvalidValue = 100901;

GLenum UnsizedFormat(GLint internalFormat) {
    if (internalFormat == 3) return GL_RGB;
    if (internalFormat == 4) return GL_RGBA;
    return GLenum(internalFormat);
}

} // namespace

void TexImage2D(TRendererState& state, GLenum target, GLint level, GLint internalFormat, GLsizei width,
                GLsizei height, GLint border, GLenum format, GLenum type, const void* pixels) {
    glTexImage2D(target, level, GLint(UnsizedFormat(internalFormat)), width, height, border, format, type,
                 pixels);
    if (level == 0) state.TextureSizes[state.BoundTexture] = {width, height};
}

GLint gluBuild2DMipmaps(TRendererState& state, GLenum target, GLint internalFormat, GLsizei width,
                        GLsizei height, GLenum format, GLenum type, const void* data) {
    if (width < 1 || height < 1 || !data) return kGluInvalidValue;
    if (type != GL_UNSIGNED_BYTE || (format != GL_RGB && format != GL_RGBA)) return kGluInvalidEnum;
    const int channels = format == GL_RGBA ? 4 : 3;
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    const TImageSize size = MipmapBaseSize(width, height, maxSize);
    std::vector<std::uint8_t> packed =
        UnpackRows(static_cast<const std::uint8_t*>(data), width, height, channels, state.UnpackAlignment);
    if (packed.empty()) return kGluInvalidValue;
    if (size.Width != width || size.Height != height)
        packed = ScaleImage(packed.data(), width, height, channels, size.Width, size.Height);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(target, 0, GLint(UnsizedFormat(internalFormat)), size.Width, size.Height, 0, format, type,
                 packed.data());
    glGenerateMipmap(target);
    glPixelStorei(GL_UNPACK_ALIGNMENT, state.UnpackAlignment);
    state.TextureSizes[state.BoundTexture] = {size.Width, size.Height};
    return 0;
}

void BindTexture(TRendererState& state, GLenum target, GLuint texture) {
    if (target == GL_TEXTURE_2D) state.BoundTexture = texture;
    glBindTexture(target, texture);
}

void GenTextures(TRendererState&, GLsizei n, GLuint* textures) {
    glGenTextures(n, textures);
}

void DeleteTextures(TRendererState& state, GLsizei n, const GLuint* textures) {
    for (GLsizei i = 0; i < n; ++i) {
        state.TextureSizes.erase(textures[i]);
        if (state.BoundTexture == textures[i]) state.BoundTexture = 0;
    }
    glDeleteTextures(n, textures);
}

void TexParameteri(TRendererState&, GLenum target, GLenum pname, GLint param) {
    if (pname == GL_GENERATE_MIPMAP) return; // mipmaps are made by gluBuild2DMipmaps
    if (param == GL_CLAMP) param = GL_CLAMP_TO_EDGE;
    glTexParameteri(target, pname, param);
}

void TexEnvi(TRendererState&, GLenum, GLenum, GLint) {} // the shader always modulates

void PixelStorei(TRendererState& state, GLenum pname, GLint param) {
    // GL refuses an alignment other than 1, 2, 4 or 8 (WebGL reports it); keeping one would skew the
    // rows gluBuild2DMipmaps unpacks.
    const bool validAlignment = param == 1 || param == 2 || param == 4 || param == 8;
    if (pname == GL_UNPACK_ALIGNMENT && validAlignment) state.UnpackAlignment = param;
    glPixelStorei(pname, param);
}

void GetTexImage(TRendererState&, GLenum, GLint, GLenum, GLenum, void*) {} // WebGL cannot read textures back

void GetTexLevelParameteriv(TRendererState& state, GLenum, GLint level, GLenum pname, GLint* params) {
    const auto found = state.TextureSizes.find(state.BoundTexture);
    *params = 0;
    if (level != 0 || found == state.TextureSizes.end()) return;
    if (pname == GL_TEXTURE_WIDTH) *params = found->second[0];
    if (pname == GL_TEXTURE_HEIGHT) *params = found->second[1];
}

} // namespace lumidor::web::webgl
