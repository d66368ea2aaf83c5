#include "svg2tga/Targa.h"

#include "common/ToolError.h"

namespace svg {

std::vector<uint8_t> EncodeTarga(const RgbaImage& image) {
    if (image.width < 1 || image.height < 1 || image.width > 0xFFFF || image.height > 0xFFFF ||
        image.pixels.size() != size_t(image.width) * size_t(image.height) * 4) {
        throw tools::ToolError("image size cannot be written as Targa");
    }
    std::vector<uint8_t> out(18, 0);
    out[2] = 2;  // uncompressed true-colour
    out[12] = uint8_t(image.width);
    out[13] = uint8_t(image.width >> 8);
    out[14] = uint8_t(image.height);
    out[15] = uint8_t(image.height >> 8);
    out[16] = 32;
    out[17] = 0x08;  // 8 alpha bits, bottom-left origin
    out.reserve(out.size() + image.pixels.size());
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = image.at(x, y);
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
            out.push_back(p[3]);
        }
    }
    return out;
}

}  // namespace svg
