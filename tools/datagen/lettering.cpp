// Pictures with letters: the glyph sheet for the particle font and the logo banner, rendered
// with stb_truetype from the DejaVu fonts.

#include "tools/datagen/pictures.h"

#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <iterator>

namespace lumidor::datagen {

namespace {

struct TFont {
    std::vector<unsigned char> Data;
    stbtt_fontinfo Info{};
};

bool LoadFont(const std::string& path, TFont& font) {
    std::ifstream stream(path, std::ios::binary);
    font.Data.assign(std::istreambuf_iterator<char>(stream), {});
    return !font.Data.empty() && stbtt_InitFont(&font.Info, font.Data.data(),
                                                stbtt_GetFontOffsetForIndex(font.Data.data(), 0)) != 0;
}

// Draws `text` into a one-channel canvas, keeping the larger coverage where glyphs overlap.
// (x, baseline) in pixels; `emPixels` is the em size; `spacing` extra pixels between letters.
// Returns the pen position after the text.
float DrawText(TCanvas& mask, TFont& font, const std::string& text, float x, float baseline, float emPixels,
               float spacing) {
    const float scale = stbtt_ScaleForMappingEmToPixels(&font.Info, emPixels);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int code = static_cast<unsigned char>(text[i]);
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(&font.Info, code, &advance, &bearing);
        const float shift = x - std::floor(x);
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        stbtt_GetCodepointBitmapBoxSubpixel(&font.Info, code, scale, scale, shift, 0, &x0, &y0, &x1, &y1);
        const int w = x1 - x0, h = y1 - y0;
        if (w > 0 && h > 0) {
            std::vector<unsigned char> glyph(std::size_t(w) * std::size_t(h));
            stbtt_MakeCodepointBitmapSubpixel(&font.Info, glyph.data(), w, h, w, scale, scale, shift, 0,
                                              code);
            const int left = int(std::floor(x)) + x0, top = int(std::lround(baseline)) + y0;
            for (int gy = 0; gy < h; ++gy)
                for (int gx = 0; gx < w; ++gx) {
                    const int px = left + gx, py = top + gy;
                    if (px < 0 || py < 0 || px >= mask.Width || py >= mask.Height) continue;
                    float& value = *PixelAt(mask, px, py);
                    value = std::max(value, glyph[std::size_t(gy * w + gx)] / 255.0f);
                }
        }
        x += float(advance) * scale + spacing;
        if (i + 1 < text.size())
            x += float(stbtt_GetCodepointKernAdvance(&font.Info, code,
                                                     static_cast<unsigned char>(text[i + 1]))) *
                 scale;
    }
    return x;
}

float TextWidth(TFont& font, const std::string& text, float emPixels, float spacing) {
    TCanvas none = MakeCanvas(1, 1, 1);
    return DrawText(none, font, text, 10000.0f, 10000.0f, emPixels, spacing) - 10000.0f;
}

void AddGlow(TCanvas& image, float x, float y, float radius, const std::array<float, 3>& colour) {
    const int reach = int(std::ceil(radius * 3.0f));
    for (int py = std::max(0, int(y) - reach); py <= std::min(image.Height - 1, int(y) + reach); ++py)
        for (int px = std::max(0, int(x) - reach); px <= std::min(image.Width - 1, int(x) + reach); ++px) {
            const float d2 =
                ((float(px) - x) * (float(px) - x) + (float(py) - y) * (float(py) - y)) / (radius * radius);
            const float weight = std::exp(-d2);
            float* pixel = PixelAt(image, px, py);
            for (int c = 0; c < 3; ++c)
                pixel[c] += colour[std::size_t(c)] * weight;
        }
}

// A four-pointed flash: thin horizontal and vertical rays around a glow.
void AddFlash(TCanvas& image, float x, float y, float length, const std::array<float, 3>& colour) {
    AddGlow(image, x, y, length * 0.12f, colour);
    for (int py = std::max(0, int(y - length)); py <= std::min(image.Height - 1, int(y + length)); ++py)
        for (int px = std::max(0, int(x - length)); px <= std::min(image.Width - 1, int(x + length)); ++px) {
            const float dx = std::abs(float(px) - x), dy = std::abs(float(py) - y);
            const float ray = std::max(std::exp(-dy * dy / 1.2f) * std::max(0.0f, 1.0f - dx / length),
                                       std::exp(-dx * dx / 1.2f) * std::max(0.0f, 1.0f - dy / length));
            float* pixel = PixelAt(image, px, py);
            for (int c = 0; c < 3; ++c)
                pixel[c] += colour[std::size_t(c)] * ray * ray;
        }
}

} // namespace

TCanvas MakeFontSheet(const std::string& fontPath) {
    // The Text preset writes its first character with the cell's left edge at x = -2.9, just
    // outside the 800 x 600 view (-2.76 at the text's depth), and advances 16 pixels per
    // character; glyphs start 12 pixels into the cell (0.17 units) so the first letter is whole.
    constexpr int Cell = 32, EmPixels = 23, Baseline = 22;
    constexpr float LeftMargin = 12.0f;
    TFont font;
    if (!LoadFont(fontPath, font)) return {};
    TCanvas sheet = MakeCanvas(16 * Cell, 8 * Cell, 1);
    for (int code = 33; code < 127; ++code) {
        TCanvas cell = MakeCanvas(Cell, Cell, 1);
        DrawText(cell, font, std::string(1, char(code)), LeftMargin, Baseline, EmPixels, 0.0f);
        const int left = (code % 16) * Cell, top = (code / 16) * Cell;
        for (int y = 0; y < Cell; ++y)
            for (int x = 0; x < Cell; ++x) {
                // Faint anti-aliasing fringes would count as lit glyph points; drop them.
                const float value = *PixelAt(cell, x, y);
                *PixelAt(sheet, left + x, top + y) = value >= 0.35f ? value : 0.0f;
            }
    }
    return sheet;
}

TCanvas MakeLogo(const std::string& fontPath, const std::string& taglineFontPath) {
    constexpr int Width = 800, Height = 276;
    TFont font, taglineFont;
    if (!LoadFont(fontPath, font) || !LoadFont(taglineFontPath, taglineFont)) return {};
    TCanvas logo = MakeCanvas(Width, Height, 3);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const float ny = float(y) / Height, nx = float(x) / Width - 0.5f;
            const float vignette = 1.0f - 0.6f * nx * nx;
            float* pixel = PixelAt(logo, x, y);
            pixel[0] = (0.015f + 0.03f * ny) * vignette;
            pixel[1] = (0.012f + 0.018f * ny) * vignette;
            pixel[2] = (0.04f + 0.05f * ny) * vignette;
        }

    // The word, centred, with a warm halo made of two blurs of its own shape.
    const float em = 150.0f, baseline = 168.0f;
    TCanvas word = MakeCanvas(Width, Height, 1);
    const float wordWidth = TextWidth(font, "Lumidor", em, 2.0f);
    DrawText(word, font, "Lumidor", (Width - wordWidth) / 2.0f, baseline, em, 2.0f);
    TCanvas nearGlow = word, farGlow = word;
    BoxBlur(nearGlow, 6, 3);
    BoxBlur(farGlow, 22, 3);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            float* pixel = PixelAt(logo, x, y);
            const float n = *PixelAt(nearGlow, x, y), f = *PixelAt(farGlow, x, y);
            pixel[0] += 1.25f * n + 0.75f * f;
            pixel[1] += 0.55f * n + 0.22f * f;
            pixel[2] += 0.12f * n + 0.06f * f;
        }

    // A swoosh of sparks sweeping under the word and rising at the right, brighter in the middle.
    for (int i = 0; i < 420; ++i) {
        const float t = Hash01(std::uint32_t(i), 1, 99);
        const float x = 40.0f + t * 720.0f;
        const float curve = 205.0f + 30.0f * std::sin(t * 3.14159f * 1.6f + 0.3f) - 70.0f * t * t * t;
        const float spread =
            (Hash01(std::uint32_t(i), 2, 99) - 0.5f) * (6.0f + 26.0f * (1.0f - std::abs(t - 0.5f) * 2.0f));
        const float energy = 0.25f + 0.75f * Hash01(std::uint32_t(i), 3, 99);
        const float fade = std::sin(t * 3.14159f);
        const float warmth = Hash01(std::uint32_t(i), 4, 99);
        AddGlow(logo, x, curve + spread, 1.0f + 2.2f * energy,
                {0.9f * energy * fade, (0.45f + 0.4f * warmth) * energy * fade,
                 (0.15f + 0.5f * warmth * warmth) * energy * fade});
    }
    AddFlash(logo, 656.0f, 104.0f, 34.0f, {1.0f, 0.85f, 0.6f});
    AddFlash(logo, 118.0f, 212.0f, 20.0f, {0.9f, 0.7f, 0.45f});

    // The letters themselves: white-hot at the top cooling to amber at the bottom.
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const float coverage = *PixelAt(word, x, y);
            if (coverage <= 0.0f) continue;
            const float t = std::clamp((float(y) - (baseline - 110.0f)) / 110.0f, 0.0f, 1.0f);
            const std::array<float, 3> fill = {1.0f, 0.97f - 0.4f * t, 0.85f - 0.72f * t};
            float* pixel = PixelAt(logo, x, y);
            for (int c = 0; c < 3; ++c)
                pixel[c] = pixel[c] * (1.0f - coverage) + fill[std::size_t(c)] * coverage;
        }

    TCanvas tagline = MakeCanvas(Width, Height, 1);
    const std::string caption = "PARTICLE  ENGINE";
    const float taglineWidth = TextWidth(taglineFont, caption, 26.0f, 5.0f);
    DrawText(tagline, taglineFont, caption, (Width - taglineWidth) / 2.0f, 254.0f, 26.0f, 5.0f);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const float coverage = *PixelAt(tagline, x, y);
            float* pixel = PixelAt(logo, x, y);
            const std::array<float, 3> ink = {0.72f, 0.78f, 0.95f};
            for (int c = 0; c < 3; ++c)
                pixel[c] = pixel[c] * (1.0f - coverage) + ink[std::size_t(c)] * coverage;
        }
    return logo;
}

} // namespace lumidor::datagen
