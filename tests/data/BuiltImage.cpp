#include "BuiltImage.h"

#include <algorithm>
#include <span>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Graphics/ImageDecoder.h"

namespace builtdata {

namespace {
const uint8_t kNone[4] = {0, 0, 0, 0};
}

const uint8_t* Image::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return kNone;
    return rgba.data() + (size_t(y) * size_t(width) + size_t(x)) * 4;
}

int Image::Luma(int x, int y) const {
    const uint8_t* p = At(x, y);
    return (p[0] * 299 + p[1] * 587 + p[2] * 114) / 1000;
}

Image LoadTga(const CTIGroup& group, const char* name) {
    Image image;
    const uint8_t* data = group.GetT2IBuffer(name);
    const uint32_t size = group.GetT2ISize(name);
    if (data == nullptr) return image;
    // Through the program's own decoder, so the pictures are checked as the program reads
    // them, whichever kind of Targa the data build wrote.
    gfx::DecodedImage decoded;
    if (!gfx::DecodeImage(gfx::kImageTypeTarga, std::span<const uint8_t>(data, size), decoded))
        return image;
    image.width = decoded.width;
    image.height = decoded.height;
    const size_t row = size_t(decoded.width) * 4;
    image.rgba.resize(row * size_t(decoded.height));
    // Decoded bottom row first; kept top row first.
    for (int y = 0; y < decoded.height; ++y)
        std::copy_n(decoded.rgba.get() + size_t(decoded.height - 1 - y) * row, row,
                    image.rgba.data() + size_t(y) * row);
    return image;
}

std::string DataPath(const char* relative) {
    return std::string(STONEWELL_BINARY_DIR) + "/DATA/" + relative;
}

}  // namespace builtdata
