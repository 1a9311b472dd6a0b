// The GL half of texture loading: one texture object with its mipmap chain.

#include "textures/textures.h"

namespace lumidor {

GLuint MakeMipmappedTexture(std::uint16_t width, std::uint16_t height, GLenum format, const void* pixels) {
    GLuint name = 0;
    if (!GLAvailable()) return name; // headless: the image was decoded (and checked); nothing to upload
    GL.GenTextures(1, &name);
    GL.BindTexture(GL_TEXTURE_2D, name);
    GL.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    GL.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    GL.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    // Rows are tightly packed; GL's default alignment of 4 would skew RGB rows whose width is not
    // a multiple of 4. The default is put back for whoever uploads next.
    GL.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (format == GL_RGBA)
        GL.gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    else
        GL.gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    GL.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return name;
}

GLuint MakeMipmappedTexture(const TImage& image) {
    return MakeMipmappedTexture(std::uint16_t(image.Width), std::uint16_t(image.Height),
                                image.Channels == 4 ? GL_RGBA : GL_RGB, image.Pixels.data());
}

} // namespace lumidor
