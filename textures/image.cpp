#include "textures/image.h"

#include <algorithm>
#include <utility>

namespace lumidor {

TDecodeResult DecodeFailure(std::string text, std::string caption) {
    TDecodeResult result;
    result.Text = std::move(text);
    result.Caption = std::move(caption);
    return result;
}

TDecodeResult DecodeSuccess(TImage image) {
    TDecodeResult result;
    result.Ok = true;
    result.Image = std::move(image);
    return result;
}

void FlipRows(TImage& image) {
    const std::size_t rowBytes = std::size_t(image.Width) * std::size_t(image.Channels);
    if (rowBytes == 0) return;
    std::uint8_t* rows = image.Pixels.data();
    for (int top = 0, bottom = image.Height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(rows + std::size_t(top) * rowBytes, rows + std::size_t(top + 1) * rowBytes,
                         rows + std::size_t(bottom) * rowBytes);
}

std::string Quoted(const std::string& fileName) {
    return "\"" + fileName + "\"";
}

} // namespace lumidor
