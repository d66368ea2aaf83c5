#include "BuiltImage.h"

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Util/ByteReader.h"

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
    bytes::Reader r(data, size);
    uint8_t idLength = 0, mapType = 0, type = 0, bpp = 0, descriptor = 0;
    uint16_t w = 0, h = 0;
    r.U8(idLength), r.U8(mapType), r.U8(type);
    r.Skip(9);
    r.U16LE(w), r.U16LE(h), r.U8(bpp), r.U8(descriptor);
    if (!r.ok() || idLength != 0 || mapType != 0 || type != 2 || bpp != 32 || w == 0 || h == 0)
        return image;
    const std::span<const uint8_t> pixels = r.Bytes(size_t(w) * h * 4);
    if (!r.ok()) return image;
    image.width = w;
    image.height = h;
    image.rgba.resize(pixels.size());
    // Stored bottom row first, each pixel B, G, R, A.
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = pixels.data() + size_t(h - 1 - y) * w * 4;
        uint8_t* dst = image.rgba.data() + size_t(y) * w * 4;
        for (int x = 0; x < w; ++x, src += 4, dst += 4) {
            dst[0] = src[2], dst[1] = src[1], dst[2] = src[0], dst[3] = src[3];
        }
    }
    return image;
}

std::string DataPath(const char* relative) {
    return std::string(STONEWELL_BINARY_DIR) + "/DATA/" + relative;
}

}  // namespace builtdata
