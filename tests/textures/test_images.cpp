#include "tests/textures/test_images.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <jpeglib.h>

namespace lumidor::testing {

namespace {

void PutU16(TBytes& out, std::size_t at, std::uint32_t value) {
    out[at] = std::uint8_t(value);
    out[at + 1] = std::uint8_t(value >> 8);
}

void PutU32(TBytes& out, std::size_t at, std::uint32_t value) {
    PutU16(out, at, value & 0xFFFF);
    PutU16(out, at + 2, value >> 16);
}

const std::uint8_t* PixelAt(const TPicture& picture, int x, int y) {
    return picture.Rgba.data() + (std::size_t(y) * std::size_t(picture.Width) + std::size_t(x)) * 4;
}

} // namespace

TPicture MakePattern(int width, int height) {
    TPicture picture{width, height, TBytes(std::size_t(width) * std::size_t(height) * 4)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p =
                picture.Rgba.data() + (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4;
            p[0] = std::uint8_t(x * 37 + 11);
            p[1] = std::uint8_t(y * 53 + 7);
            p[2] = std::uint8_t((x ^ y) * 29 + 101);
            p[3] = std::uint8_t(x * 13 + y * 71 + 3);
        }
    return picture;
}

TBytes PictureBytes(const TPicture& picture, int channels) {
    TBytes out;
    for (std::size_t i = 0; i < picture.Rgba.size(); i += 4)
        out.insert(out.end(), picture.Rgba.begin() + std::ptrdiff_t(i),
                   picture.Rgba.begin() + std::ptrdiff_t(i) + channels);
    return out;
}

TBytes MakeBmp(const TPicture& picture, const TBmpOptions& options) {
    const std::size_t stride = (std::size_t(picture.Width) * 3 + 3) & ~std::size_t(3);
    const std::size_t dataBytes = stride * std::size_t(picture.Height);
    const std::size_t dataStart = 54 + options.ExtraHeader + std::size_t(options.ColoursUsed) * 4;
    TBytes out(dataStart + dataBytes, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutU32(out, 2, std::uint32_t(out.size()));
    PutU32(out, 10, std::uint32_t(dataStart));
    PutU32(out, 14, 40 + options.ExtraHeader);
    PutU32(out, 18, std::uint32_t(picture.Width));
    PutU32(out, 22, std::uint32_t(options.TopDown ? -picture.Height : picture.Height));
    PutU16(out, 26, 1);
    PutU16(out, 28, 24);
    PutU32(out, 34, options.ZeroImageSize ? 0 : std::uint32_t(dataBytes));
    PutU32(out, 46, options.ColoursUsed);
    for (int row = 0; row < picture.Height; ++row) {
        const int y = options.TopDown ? picture.Height - 1 - row : row;
        std::uint8_t* dst = out.data() + dataStart + std::size_t(row) * stride;
        for (int x = 0; x < picture.Width; ++x, dst += 3) {
            const std::uint8_t* p = PixelAt(picture, x, y);
            dst[0] = p[2];
            dst[1] = p[1];
            dst[2] = p[0];
        }
    }
    return out;
}

TBytes MakeTga(const TPicture& picture, const TTgaOptions& options) {
    const std::size_t bytesPerPixel = std::size_t(options.Bits / 8);
    TBytes out(18, 0);
    out[0] = std::uint8_t(options.ImageId.size());
    out[2] = options.RunLength ? 10 : 2;
    PutU16(out, 12, std::uint32_t(picture.Width));
    PutU16(out, 14, std::uint32_t(picture.Height));
    out[16] = std::uint8_t(options.Bits);
    out[17] = std::uint8_t((options.Bits == 32 ? 8 : 0) | (options.TopOrigin ? 0x20 : 0));
    // Byte by byte: inserting the string's range trips a false -Warray-bounds in GCC 12.
    for (const char c : options.ImageId)
        out.push_back(std::uint8_t(c));

    // File-order pixels (BGR(A)), in storage row order.
    std::vector<TBytes> pixels;
    for (int row = 0; row < picture.Height; ++row) {
        const int y = options.TopOrigin ? picture.Height - 1 - row : row;
        for (int x = 0; x < picture.Width; ++x) {
            const std::uint8_t* p = PixelAt(picture, x, y);
            TBytes pixel{p[2], p[1], p[0], p[3]};
            pixel.resize(bytesPerPixel);
            pixels.push_back(pixel);
        }
    }
    if (!options.RunLength) {
        for (const TBytes& pixel : pixels)
            out.insert(out.end(), pixel.begin(), pixel.end());
        return out;
    }
    for (std::size_t i = 0; i < pixels.size();) {
        std::size_t run = 1;
        while (i + run < pixels.size() && run < 128 && pixels[i + run] == pixels[i])
            ++run;
        if (run > 1) {
            out.push_back(std::uint8_t(127 + run));
            out.insert(out.end(), pixels[i].begin(), pixels[i].end());
            i += run;
            continue;
        }
        std::size_t raw = 1;
        while (i + raw < pixels.size() && raw < 128 &&
               !(i + raw + 1 < pixels.size() && pixels[i + raw] == pixels[i + raw + 1]))
            ++raw;
        out.push_back(std::uint8_t(raw - 1));
        for (std::size_t k = 0; k < raw; ++k)
            out.insert(out.end(), pixels[i + k].begin(), pixels[i + k].end());
        i += raw;
    }
    return out;
}

TBytes MakeJpeg(const TPicture& picture, TJpegKind kind) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(picture.Width);
    info.image_height = JDIMENSION(picture.Height);
    const int components = kind == TJpegKind::Grey ? 1 : kind == TJpegKind::Cmyk ? 4 : 3;
    info.input_components = components;
    info.in_color_space = kind == TJpegKind::Grey   ? JCS_GRAYSCALE
                          : kind == TJpegKind::Cmyk ? JCS_CMYK
                                                    : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (kind == TJpegKind::Progressive) jpeg_simple_progression(&info);
    if (kind == TJpegKind::Cmyk) info.write_Adobe_marker = TRUE;
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(std::size_t(picture.Width) * std::size_t(components));
    while (info.next_scanline < info.image_height) {
        const int y = picture.Height - 1 - int(info.next_scanline);
        for (int x = 0; x < picture.Width; ++x) {
            const std::uint8_t* p = PixelAt(picture, x, y);
            JSAMPLE* out = row.data() + std::size_t(x) * std::size_t(components);
            if (kind == TJpegKind::Grey) {
                out[0] = p[1];
            } else if (kind == TJpegKind::Cmyk) {
                out[0] = p[0];
                out[1] = p[1];
                out[2] = p[2];
                out[3] = 255;
            } else {
                out[0] = p[0];
                out[1] = p[1];
                out[2] = p[2];
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    TBytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

bool WriteBytes(const std::string& path, const TBytes& bytes) {
    std::ofstream stream(path, std::ios::binary);
    stream.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(stream);
}

} // namespace lumidor::testing
