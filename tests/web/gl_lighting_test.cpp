// The WebGL renderer's lighting products, natively: what the shader multiplies must be what GL
// forms from the material, light 0 and the light model, with light 0 on and off.

#include "web/gl_lighting.h"

#include <gtest/gtest.h>

using namespace lumidor::web;

namespace {

// The ambient term's alpha is never read (a lit colour takes the diffuse alpha): three components.
void ExpectColour(const std::array<float, 4>& actual, const std::array<float, 4>& expected, const char* what,
                  std::size_t components = 4) {
    for (std::size_t k = 0; k < components; ++k)
        EXPECT_NEAR(actual[k], expected[k], 1e-6f) << what << ", component " << k;
}

TEST(WebLighting, GLDefaultsLightAMaterialAsGLDoes) {
    const TLightProducts on = LightProducts(TLighting{}, true);
    // Material ambient 0.2 times the model's 0.2 (light 0's own ambient is black); diffuse 0.8
    // times white; a black specular material gives no highlight.
    ExpectColour(on.Ambient, {0.04f, 0.04f, 0.04f, 0.0f}, "ambient", 3);
    ExpectColour(on.Diffuse, {0.8f, 0.8f, 0.8f, 1.0f}, "diffuse");
    ExpectColour(on.Specular, {0.0f, 0.0f, 0.0f, 1.0f}, "specular");
    ExpectColour(on.EyePosition, {0.0f, 0.0f, 1.0f, 0.0f}, "the default light looks down -z");
}

TEST(WebLighting, ProductsCombineMaterialLightAndModel) {
    TLighting lighting;
    lighting.MaterialAmbient = {0.5f, 1.0f, 0.0f, 1.0f};
    lighting.MaterialDiffuse = {0.25f, 0.5f, 1.0f, 0.6f};
    lighting.MaterialSpecular = {1.0f, 0.5f, 0.0f, 1.0f};
    lighting.MaterialShininess = 40.0f;
    lighting.Ambient = {0.3f, 0.1f, 0.8f, 1.0f};
    lighting.Diffuse = {0.5f, 1.0f, 0.2f, 0.3f};
    lighting.Specular = {0.4f, 0.4f, 1.0f, 1.0f};
    lighting.EyePosition = {1.0f, 2.0f, 3.0f, 1.0f};

    const TLightProducts on = LightProducts(lighting, true);
    ExpectColour(on.Ambient, {0.5f * 0.5f, 1.0f * 0.3f, 0.0f, 0.0f}, "ambient with light 0", 3);
    // Lit colour's alpha is the material's diffuse alpha, not a product.
    ExpectColour(on.Diffuse, {0.125f, 0.5f, 0.2f, 0.6f}, "diffuse with light 0");
    ExpectColour(on.Specular, {0.4f, 0.2f, 0.0f, 1.0f}, "specular with light 0");
    EXPECT_EQ(on.Shininess, 40.0f);
    ExpectColour(on.EyePosition, lighting.EyePosition, "light position");

    // Light 0 off: only the light model's ambient lights the surface.
    const TLightProducts off = LightProducts(lighting, false);
    ExpectColour(off.Ambient, {0.1f, 0.2f, 0.0f, 0.0f}, "ambient without light 0", 3);
    ExpectColour(off.Diffuse, {0.0f, 0.0f, 0.0f, 0.6f}, "diffuse without light 0");
    ExpectColour(off.Specular, {0.0f, 0.0f, 0.0f, 0.0f}, "specular without light 0");
}

} // namespace
