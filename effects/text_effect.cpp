#include "effects/text_effect.h"

#include "effects/frame_time.h"
#include "terrain/bitmap_reader.h"

namespace lumidor {

TParticleFont TextFont;

std::string TextMessage() {
    const char lineBreak = char(13);
    return std::string("Lumidor Particle Engine") + lineBreak + "Made by the Lumidor team" + lineBreak +
           "It's nice to see things" + lineBreak + "working :D";
}

void InitTextEffect() {
    {
        // Read first: a sheet that cannot be read stops here with TextFont untouched.
        const TRgbImage sheet = ReadBitmapFile("fonts\\font.bmp");
        LoadGlyphs(TextFont, sheet, 200, 0.0f, true, false);
    }
    SetInertia(TextFont, {3, 3, 3});
    SetMass(TextFont, 1);
    SetForce(TextFont, {0, 0, 0});
    SetColor(TextFont, {1, 0.7f, 0.4f});
    SetBlendFactor(TextFont, GL_SRC_ALPHA, GL_DST_ALPHA);
    SetTileAndLife(TextFont, 1, 0, 1);
    SetSize(TextFont, {0.05f, 0.05f, 0});
    SetFading(TextFont, true, true);
    SetEndFadeIn(TextFont, 0.2f);
    SetBeginFadeOut(TextFont, 0.4f);
    SetText(TextFont, TextMessage());
}

void TextPreset() {
    UpdateAndDraw(TextFont, {-2.9f, 2, 0}, 0.45f, FrameTime);
}

} // namespace lumidor
