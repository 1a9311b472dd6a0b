// JPEG decoding through libjpeg(-turbo). The library reports fatal errors by calling a function
// that must not return; ours jumps back to the decode call with longjmp, so a damaged file gives
// a message instead of ending the program. Only plain C data lives between setjmp and longjmp.

#include "textures/decoders.h"

#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace lumidor {

namespace {

// Progressive files may hold any number of scans, each one a pass over the whole image; real
// files use about ten, so a few hundred means a hostile file that would take minutes to decode.
constexpr int MaxJpegScans = 256;

struct TJpegErrorManager {
    jpeg_error_mgr Base; // first, so the library's pointer to it is a pointer to the whole
    std::jmp_buf Jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
    auto* manager = reinterpret_cast<TJpegErrorManager*>(info->err);
    std::longjmp(manager->Jump, 1);
}

// Warnings (level -1) about corrupt data are tolerated, except a file that ends early: the
// library would pad it with grey, and a tiny file with a huge header would decode for a long time.
void FilterMessage(j_common_ptr info, int level) {
    if (level == -1 && info->err->msg_code == JWRN_JPEG_EOF) JumpOnError(info);
}

void SilentOutput(j_common_ptr) {}

void LimitScans(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > MaxJpegScans) JumpOnError(info);
}

// Adobe CMYK files store inverted ink values, so full ink reads 0: red = C x K / 255.
std::uint8_t InkToChannel(unsigned ink, unsigned black) {
    return std::uint8_t((ink * black + 127) / 255);
}

// Decodes into `image` (already empty); false on any library error. Every local that lives across
// setjmp is plain data or owned by the library's memory pools, so the jump skips no destructor.
bool DecodeInto(std::span<const std::uint8_t> file, std::size_t maxPixels, TImage& image) {
    jpeg_decompress_struct info{};
    TJpegErrorManager errors{};
    jpeg_progress_mgr progress{};
    info.err = jpeg_std_error(&errors.Base);
    errors.Base.error_exit = JumpOnError;
    errors.Base.emit_message = FilterMessage;
    errors.Base.output_message = SilentOutput;
    progress.progress_monitor = LimitScans;
    if (setjmp(errors.Jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    const std::size_t width = info.image_width;
    const std::size_t height = info.image_height;
    if (width == 0 || height == 0 || width > std::size_t(MaxImageSide) ||
        height > std::size_t(MaxImageSide) || width * height > maxPixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    const unsigned components = unsigned(info.output_components);
    if (info.output_width != width || info.output_height != height || components != (cmyk ? 4u : 3u)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    image.Pixels.resize(width * height * 4);
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                               JDIMENSION(width * components), 1);
    while (info.output_scanline < info.output_height) {
        // Rows come top first; the image keeps the bottom row first.
        const std::size_t outRow = height - 1 - info.output_scanline;
        jpeg_read_scanlines(&info, row, 1);
        const JSAMPLE* in = row[0];
        std::uint8_t* out = image.Pixels.data() + outRow * width * 4;
        for (std::size_t x = 0; x < width; ++x, in += components, out += 4) {
            if (cmyk) {
                out[0] = InkToChannel(in[0], in[3]);
                out[1] = InkToChannel(in[1], in[3]);
                out[2] = InkToChannel(in[2], in[3]);
            } else {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
            }
            out[3] = 255;
        }
    }
    // Everything is decoded; not finishing lets a file whose end marker is missing still load.
    jpeg_destroy_decompress(&info);
    image.Width = int(width);
    image.Height = int(height);
    image.Channels = 4;
    return true;
}

} // namespace

TDecodeResult DecodeJpeg(std::span<const std::uint8_t> file, const std::string& fileName,
                         std::size_t maxPixels) {
    TImage image;
    if (file.empty() || !DecodeInto(file, maxPixels, image))
        return DecodeFailure("Couldn't load JPG - " + Quoted(fileName), "BMP Unit");
    return DecodeSuccess(std::move(image));
}

} // namespace lumidor
