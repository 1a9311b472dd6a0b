#pragma once
// GL's lighting state as far as the project uses it (light 0, the front material, the light model's
// ambient) and the products of it that the WebGL renderer's vertex shader reads, formed here as GL
// forms them. Plain arithmetic, tested natively.

#include <array>

namespace lumidor::web {

/// Light 0 and the front material, GL's defaults until set.
struct TLighting {
    std::array<float, 4> MaterialAmbient{0.2f, 0.2f, 0.2f, 1.0f};
    std::array<float, 4> MaterialDiffuse{0.8f, 0.8f, 0.8f, 1.0f};
    std::array<float, 4> MaterialSpecular{0.0f, 0.0f, 0.0f, 1.0f};
    float MaterialShininess = 0.0f; ///< 0 .. 128
    std::array<float, 4> Ambient{0.0f, 0.0f, 0.0f, 1.0f};
    std::array<float, 4> Diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    std::array<float, 4> Specular{1.0f, 1.0f, 1.0f, 1.0f};
    std::array<float, 4> EyePosition{0.0f, 0.0f, 1.0f, 0.0f}; ///< in eye space, as GL stores it
};

/// The terms of GL's lighting equation for one light with the colours already multiplied.
struct TLightProducts {
    std::array<float, 4> Ambient;  ///< material ambient x (light model ambient + light ambient)
    std::array<float, 4> Diffuse;  ///< material diffuse x light diffuse; alpha: the material's, lit or not
    std::array<float, 4> Specular; ///< material specular x light specular
    float Shininess;
    std::array<float, 4> EyePosition;
};

/// The light model's ambient, GL's default: the ambient a lit surface gets with every light off.
constexpr float kLightModelAmbient = 0.2f;

/// The products for `lighting`, with light 0 switched on or off (off, only the light model's
/// ambient lights the material).
TLightProducts LightProducts(const TLighting& lighting, bool light0Enabled);

} // namespace lumidor::web
