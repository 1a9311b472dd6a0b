// Writes the fuzzers' seed corpora: small valid files of every layout the decoders accept; the
// working folder of the script fuzzers, small textures under the names their seeds load; and the
// loader fuzzer's seeds, the given scripts in short pieces.
// Usage: lumidor_fuzz_seeds <directory> [<script>...]; creates <directory>/bmp, /tga, /jpeg,
// /script-folder and /script_loader.

#include "tests/textures/test_images.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

using namespace lumidor::testing;

namespace {

bool Put(const std::filesystem::path& directory, const std::string& name, const TBytes& bytes) {
    std::filesystem::create_directories((directory / name).parent_path());
    if (WriteBytes((directory / name).string(), bytes)) return true;
    std::fprintf(stderr, "cannot write %s\n", (directory / name).string().c_str());
    return false;
}

/// Longest piece of a script given to the loader fuzzer as a seed (a longer line stays whole).
constexpr std::size_t ScriptPieceBytes = 128;

/// The script without its blank and comment lines, cut at line ends into pieces of about
/// ScriptPieceBytes. libFuzzer lets its inputs grow from the longest seed on, so short seeds keep
/// the early inputs short and quick; longer ones come as coverage levels off.
bool PutScriptPieces(const std::filesystem::path& directory, const std::filesystem::path& script) {
    std::ifstream file(script, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", script.string().c_str());
        return false;
    }
    std::string piece;
    int count = 0;
    bool ok = true;
    const auto flush = [&] {
        if (piece.empty()) return;
        const std::string name = script.stem().string() + "-" + std::to_string(count++) + ".psc";
        ok &= Put(directory, name, TBytes(piece.begin(), piece.end()));
        piece.clear();
    };
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t text = line.find_first_not_of(" \t");
        if (text == std::string::npos || line.compare(text, 2, "//") == 0) continue;
        if (piece.size() + line.size() + 1 > ScriptPieceBytes) flush();
        piece += line + "\n";
    }
    flush();
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <directory> [<script>...]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const TPicture small = MakePattern(6, 4);
    const TPicture flat{9, 3, TBytes(9 * 3 * 4, 200)};
    bool ok = true;
    ok &= Put(root / "bmp", "bottom_up.bmp", MakeBmp(small));
    ok &= Put(root / "bmp", "top_down.bmp", MakeBmp(MakePattern(5, 3), {.TopDown = true}));
    ok &=
        Put(root / "bmp", "palette_zero_size.bmp", MakeBmp(small, {.ZeroImageSize = true, .ColoursUsed = 2}));
    ok &= Put(root / "bmp", "long_header.bmp", MakeBmp(MakePattern(3, 2), {.ExtraHeader = 84}));
    ok &= Put(root / "tga", "plain24.tga", MakeTga(small, {.Bits = 24}));
    ok &= Put(root / "tga", "plain32_id.tga", MakeTga(small, {.Bits = 32, .ImageId = "seed"}));
    ok &= Put(root / "tga", "rle24_top.tga",
              MakeTga(small, {.Bits = 24, .RunLength = true, .TopOrigin = true}));
    ok &= Put(root / "tga", "rle32_runs.tga", MakeTga(flat, {.Bits = 32, .RunLength = true}));
    ok &= Put(root / "jpeg", "rgb.jpg", MakeJpeg(MakePattern(16, 8)));
    ok &= Put(root / "jpeg", "grey.jpg", MakeJpeg(MakePattern(8, 8), TJpegKind::Grey));
    ok &= Put(root / "jpeg", "cmyk.jpg", MakeJpeg(MakePattern(8, 8), TJpegKind::Cmyk));
    ok &= Put(root / "jpeg", "progressive.jpg", MakeJpeg(MakePattern(16, 16), TJpegKind::Progressive));

    // The demo's scripts load their atlases from scripts/, the script tests load tex.tga and names
    // with spaces; one file of each format, and one that fails to decode.
    const std::filesystem::path folder = root / "script-folder";
    const TPicture atlas = MakePattern(8, 4);
    for (const char* name :
         {"tex.tga", "t.tga", "a b.tga", "my tex.tga", "scripts/lumina.tga", "scripts/mist.tga"})
        ok &= Put(folder, name, MakeTga(atlas));
    ok &= Put(folder, "tex.bmp", MakeBmp(atlas));
    ok &= Put(folder, "tex.jpg", MakeJpeg(atlas));
    TBytes broken = MakeTga(atlas);
    broken.resize(broken.size() / 2);
    ok &= Put(folder, "broken.tga", broken);

    for (int i = 2; i < argc; ++i)
        ok &= PutScriptPieces(root / "script_loader", argv[i]);
    return ok ? 0 : 1;
}
