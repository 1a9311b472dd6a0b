#include "tools/datagen/writers.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <jpeglib.h>

namespace lumidor::datagen {

namespace {

using TBytes = std::vector<std::uint8_t>;

void PutLittle(TBytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

bool WriteBytes(const std::string& path, const TBytes& bytes) {
    std::ofstream stream(path, std::ios::binary);
    stream.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(stream);
}

} // namespace

bool WriteTgaRle(const std::string& path, int width, int height, const TBytes& rgba) {
    TBytes out = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    PutLittle(out, std::uint32_t(width), 2);
    PutLittle(out, std::uint32_t(height), 2);
    out.push_back(32);
    out.push_back(8); // 8 alpha bits, bottom-left origin
    // File pixels: BGRA, bottom row first.
    std::vector<std::uint32_t> pixels;
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = rgba.data() + (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4;
            pixels.push_back(std::uint32_t(p[2]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[0]) << 16 |
                             std::uint32_t(p[3]) << 24);
        }
    // Packets never cross a row end, as many readers expect.
    for (int row = 0; row < height; ++row) {
        const std::size_t begin = std::size_t(row) * std::size_t(width), end = begin + std::size_t(width);
        for (std::size_t i = begin; i < end;) {
            std::size_t run = 1;
            while (i + run < end && run < 128 && pixels[i + run] == pixels[i])
                ++run;
            if (run > 1) {
                out.push_back(std::uint8_t(127 + run));
                PutLittle(out, pixels[i], 4);
                i += run;
                continue;
            }
            std::size_t raw = 1;
            while (i + raw < end && raw < 128 &&
                   !(i + raw + 1 < end && pixels[i + raw] == pixels[i + raw + 1]))
                ++raw;
            out.push_back(std::uint8_t(raw - 1));
            for (std::size_t k = 0; k < raw; ++k)
                PutLittle(out, pixels[i + k], 4);
            i += raw;
        }
    }
    return WriteBytes(path, out);
}

bool WriteBmp24(const std::string& path, int width, int height, const TBytes& rgb) {
    const std::uint32_t stride = (std::uint32_t(width) * 3 + 3) & ~3u;
    const std::uint32_t dataBytes = stride * std::uint32_t(height);
    TBytes out = {'B', 'M'};
    PutLittle(out, 54 + dataBytes, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, 54, 4);
    PutLittle(out, 40, 4);
    PutLittle(out, std::uint32_t(width), 4);
    PutLittle(out, std::uint32_t(height), 4);
    PutLittle(out, 1, 2);
    PutLittle(out, 24, 2);
    PutLittle(out, 0, 4);
    PutLittle(out, dataBytes, 4);
    PutLittle(out, 2835, 4); // 72 dots per inch
    PutLittle(out, 2835, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = rgb.data() + (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3;
            out.insert(out.end(), {p[2], p[1], p[0]});
        }
        out.resize(out.size() + (stride - std::uint32_t(width) * 3), 0);
    }
    return WriteBytes(path, out);
}

bool WriteJpeg(const std::string& path, int width, int height, const TBytes& rgb, int quality) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPLE*>(rgb.data() + std::size_t(info.next_scanline) * std::size_t(width) * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream stream(path, std::ios::binary);
    stream << text;
    return bool(stream);
}

} // namespace lumidor::datagen
