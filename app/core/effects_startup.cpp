#include "app/core/effects_startup.h"

#include "app/core/live_scripts.h"
#include "effects/effects.h"
#include "effects/text_effect.h"
#include "textures/textures.h"

namespace lumidor {

std::int32_t CurrentEffect = 0;
std::array<TParticleScript, 3> Scripts;
GLuint LogoTexture = 0;

void SetMaterialAndLight() {
    const GLfloat specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat ambient[4] = {0.4f, 0.4f, 0.4f, 1.0f};
    const GLfloat diffuse[4] = {0.4f, 0.8f, 0.4f, 1.0f};
    GL.Materialfv(GL_FRONT, GL_SPECULAR, specular);
    GL.Materialf(GL_FRONT, GL_SHININESS, 50.0f);
    GL.Materialfv(GL_FRONT, GL_AMBIENT, ambient);
    GL.Materialfv(GL_FRONT, GL_DIFFUSE, diffuse);

    const GLfloat lightAmbient[4] = {0.7f, 0.7f, 0.7f, 1.0f};
    const GLfloat lightDiffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat lightPosition[4] = {100.0f, 100.0f, 0.0f, 1.0f}; // a point light up and to the right
    GL.Lightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    GL.Lightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    GL.Lightfv(GL_LIGHT0, GL_POSITION, lightPosition);
}

void RunEffectsStartup() {
    InitEffects();
    InitTerrainEffect();
    InitTextEffect();
    CurrentEffect = 0;
    // Loaded as LoadScript does, and watched from now on so that saving one reloads it.
    for (std::size_t i = 0; i < Scripts.size(); ++i)
        StartSlotScript(i, ScriptFiles[i]);
    SetMaterialAndLight();
    // A logo that cannot be read has been reported by the loader; the banner is then drawn untextured.
    LoadTextureFile(LogoFile, LogoTexture);
}

} // namespace lumidor
