// What GL would compute from its lighting state before the per-vertex equation, for the WebGL
// renderer's uniforms.

#include "web/gl_lighting.h"

#include <cstddef>

namespace lumidor::web {

TLightProducts LightProducts(const TLighting& l, bool light0Enabled) {
    TLightProducts products{};
    for (std::size_t k = 0; k < 4; ++k) {
        products.Ambient[k] =
            l.MaterialAmbient[k] * (kLightModelAmbient + (light0Enabled ? l.Ambient[k] : 0.0f));
        products.Diffuse[k] = light0Enabled ? l.MaterialDiffuse[k] * l.Diffuse[k] : 0.0f;
        products.Specular[k] = light0Enabled ? l.MaterialSpecular[k] * l.Specular[k] : 0.0f;
    }
    products.Diffuse[3] = l.MaterialDiffuse[3];
    products.Shininess = l.MaterialShininess;
    products.EyePosition = l.EyePosition;
    return products;
}

} // namespace lumidor::web
