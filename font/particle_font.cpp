#include "font/particle_font.h"

namespace lumidor {

void LoadGlyphs(TParticleFont& font, const TRgbImage& bitmap, std::int32_t particlesPerLetter,
                float threshold, bool proportional, bool storeColors) {
    const std::int64_t width = bitmap.Width;
    const std::int64_t height = bitmap.Height;
    // Integer division truncating towards zero, so an empty picture gives 1 x 1 cells and no rows.
    const std::int64_t cellWidth = (width - 1) / 16 + 1;
    const std::int64_t cellHeight = (height - 1) / 8 + 1;
    const std::int64_t lastColumn = (width - 1) / cellWidth;
    const std::int64_t lastRow = (height - 1) / cellHeight;

    font.CellWidth = std::int32_t(cellWidth);
    font.ParticlesPerLetter = particlesPerLetter;
    font.StoreColors = storeColors;
    font.Proportional = proportional;

    for (std::int64_t row = 0; row <= lastRow; ++row) {
        for (std::int64_t column = 0; column <= lastColumn; ++column) {
            TLetter& letter = font.Letters[std::size_t(row * 16 + column)];
            for (std::int64_t py = 1; py <= cellHeight; ++py) {
                for (std::int64_t px = 1; px <= cellWidth; ++px) {
                    const std::int64_t x = column * cellWidth + px - 1;
                    const std::int64_t y = row * cellHeight + py - 1;
                    // The last column of cells may run past the right edge; those pixels are unlit.
                    if (!ContainsPixel(bitmap, x, y)) continue;
                    const std::uint8_t* pixel = PixelAt(bitmap, x, y);
                    const float red = float(pixel[0]) / 255.0f;
                    const float green = float(pixel[1]) / 255.0f;
                    const float blue = float(pixel[2]) / 255.0f;
                    if (!(red > threshold || green > threshold || blue > threshold)) continue;
                    letter.Points.push_back({float(px) / float(cellWidth), -float(py) / float(cellHeight)});
                    if (storeColors) letter.Colors.push_back({red, green, blue});
                }
            }
        }
    }
}

void SetText(TParticleFont& font, const std::string& text) {
    font.TextLength = std::int32_t(text.size());
    font.LetterIndices.assign(text.size(), 0);
    // Resized, not cleared: setting the text that was last distributed again triggers no
    // recomputation, so its shares must survive.
    font.LetterShares.resize(text.size(), 0.0f);
    for (std::size_t i = 0; i < text.size(); ++i)
        font.LetterIndices[i] = LetterIndexOf(text[i]);
    font.Text = text;
}

std::int32_t LetterIndexOf(char character) {
    const auto code = static_cast<unsigned char>(character);
    return code < 128 ? std::int32_t(code) : 0;
}

void SetBlendFactor(TParticleFont& font, GLenum src, GLenum dst) {
    SetBlendFactor(font.Effect, src, dst);
}

void SetTextureProperties(TParticleFont& font, GLuint texture, std::int32_t rows, std::int32_t columns) {
    SetTextureProperties(font.Effect, texture, rows, columns);
}

void SetTileAndLife(TParticleFont& font, std::int32_t tile, float lifeBase, float lifeRange) {
    font.Tile = tile;
    font.LifeBase = lifeBase;
    font.LifeRange = lifeRange;
}

void SetSize(TParticleFont& font, const TVector3& size) {
    font.Size = size;
}
void SetForce(TParticleFont& font, const TVector3& force) {
    font.Force = force;
}
void SetColor(TParticleFont& font, const TVector3& color) {
    font.Color = color;
}
void SetInertia(TParticleFont& font, const TVector3& inertia) {
    font.Inertia = inertia;
}
void SetMass(TParticleFont& font, float mass) {
    font.Mass = mass;
}

void SetFading(TParticleFont& font, bool fadeOut, bool fadeIn) {
    font.FadeOut = fadeOut;
    font.FadeIn = fadeIn;
}

void SetEndFadeIn(TParticleFont& font, float fraction) {
    font.EndFadeIn = fraction;
}
void SetBeginFadeOut(TParticleFont& font, float fraction) {
    font.BeginFadeOut = fraction;
}

} // namespace lumidor
