// lumidor-datagen: writes the demo's data files, the same bytes on every run.
// Usage: lumidor-datagen <data-dir> [--preview <dir>]
// --preview reads the written pictures back with the engine's own decoders and saves PNGs to look at.

#include "textures/decoders.h"
#include "textures/file_bytes.h"
#include "tools/datagen/pictures.h"
#include "tools/datagen/writers.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cstdio>
#include <filesystem>
#include <string>

using namespace lumidor;
using namespace lumidor::datagen;

namespace {

const std::string FontFolder = "/usr/share/fonts/truetype/dejavu/";

std::vector<std::uint8_t> Expand(const TCanvas& grey, int channels) {
    std::vector<std::uint8_t> bytes;
    for (std::uint8_t value : ToBytes(grey))
        bytes.insert(bytes.end(), std::size_t(channels), value);
    return bytes;
}

bool Report(bool ok, const std::string& path) {
    std::printf("%s %s\n", ok ? "wrote" : "FAILED to write", path.c_str());
    return ok;
}

// Decodes a written file and saves it as PNG (top row first); composites alpha images too.
bool Preview(const std::string& file, const std::string& png, const std::string& composites) {
    std::vector<std::uint8_t> bytes;
    if (ReadFileBytes(file, bytes) != TFileReadStatus::Ok) return false;
    const std::string ending = file.substr(file.size() - 4);
    const TDecodeResult decoded = ending == ".tga"   ? DecodeTga(bytes, file)
                                  : ending == ".bmp" ? DecodeBmp(bytes)
                                                     : DecodeJpeg(bytes, file);
    if (!decoded.Ok) {
        std::fprintf(stderr, "%s: %s\n", file.c_str(), decoded.Text.c_str());
        return false;
    }
    const TImage& image = decoded.Image;
    stbi_flip_vertically_on_write(1);
    bool ok =
        stbi_write_png(png.c_str(), image.Width, image.Height, image.Channels, image.Pixels.data(), 0) != 0;
    if (image.Channels == 4 && !composites.empty()) {
        // Left half: additive on black, as AdditiveEffect draws; right half: blended over slate.
        std::vector<std::uint8_t> out(std::size_t(image.Width) * std::size_t(image.Height) * 3 * 2);
        for (int y = 0; y < image.Height; ++y)
            for (int x = 0; x < image.Width; ++x) {
                const std::uint8_t* p =
                    image.Pixels.data() + (std::size_t(y) * std::size_t(image.Width) + std::size_t(x)) * 4;
                const float a = p[3] / 255.0f;
                std::uint8_t* add =
                    out.data() + (std::size_t(y) * std::size_t(image.Width) * 2 + std::size_t(x)) * 3;
                std::uint8_t* over = add + std::size_t(image.Width) * 3;
                const float slate[3] = {60, 70, 90};
                for (int c = 0; c < 3; ++c) {
                    add[c] = std::uint8_t(p[c] * a);
                    over[c] = std::uint8_t(p[c] * a + slate[c] * (1.0f - a));
                }
            }
        ok &= stbi_write_png(composites.c_str(), image.Width * 2, image.Height, 3, out.data(), 0) != 0;
    }
    std::printf("%s %s\n", ok ? "previewed" : "FAILED to preview", file.c_str());
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    std::string dataDir, previewDir;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--preview" && i + 1 < argc)
            previewDir = argv[++i];
        else if (dataDir.empty() && arg[0] != '-')
            dataDir = arg;
        else {
            std::fprintf(stderr, "usage: %s <data-dir> [--preview <dir>]\n", argv[0]);
            return 2;
        }
    }
    if (dataDir.empty()) {
        std::fprintf(stderr, "usage: %s <data-dir> [--preview <dir>]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path data = dataDir;
    std::filesystem::create_directories(data / "fonts");
    std::filesystem::create_directories(data / "logos");

    bool ok = true;
    const TCanvas atlas = MakeAtlas();
    ok &= Report(WriteTgaRle((data / "textures.tga").string(), atlas.Width, atlas.Height, ToBytes(atlas)),
                 (data / "textures.tga").string());
    const TCanvas heights = MakeHeightMap();
    ok &= Report(WriteBmp24((data / "hm.bmp").string(), heights.Width, heights.Height, Expand(heights, 3)),
                 (data / "hm.bmp").string());
    const TCanvas glyphs = MakeFontSheet(FontFolder + "DejaVuSansMono-Bold.ttf");
    ok &= Report(!glyphs.Values.empty() && WriteBmp24((data / "fonts/font.bmp").string(), glyphs.Width,
                                                      glyphs.Height, Expand(glyphs, 3)),
                 (data / "fonts/font.bmp").string());
    const TCanvas logo = MakeLogo(FontFolder + "DejaVuSans-Bold.ttf", FontFolder + "DejaVuSans.ttf");
    ok &= Report(!logo.Values.empty() && WriteJpeg((data / "logos/LDStrip800x276.jpg").string(), logo.Width,
                                                   logo.Height, ToBytes(logo), 92),
                 (data / "logos/LDStrip800x276.jpg").string());
    // Windowed 800 x 600; the "height" key holds the horizontal size and "width" the vertical one.
    ok &= Report(WriteText((data / "config.ini").string(),
                           "[Display]\nheight=800\nwidth=600\nfrequency=60\nbpp=32\nfullscreen=0\n"),
                 (data / "config.ini").string());

    if (ok && !previewDir.empty()) {
        const std::filesystem::path preview = previewDir;
        std::filesystem::create_directories(preview);
        ok &= Preview((data / "textures.tga").string(), (preview / "textures.png").string(),
                      (preview / "textures_blended.png").string());
        ok &= Preview((data / "hm.bmp").string(), (preview / "hm.png").string(), "");
        ok &= Preview((data / "fonts/font.bmp").string(), (preview / "font.png").string(), "");
        ok &= Preview((data / "logos/LDStrip800x276.jpg").string(), (preview / "logo.png").string(), "");
    }
    return ok ? 0 : 1;
}
