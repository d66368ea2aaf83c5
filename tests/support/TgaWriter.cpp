#include "support/TgaWriter.h"

namespace testsupport {

std::vector<uint8_t> BuildTga(int width, int height, const std::function<Rgba(int, int)>& pixel,
                              bool topDown) {
    // No id, no colour map, uncompressed true-colour (2), origin 0, 32 bits per pixel and a
    // descriptor of 8 alpha bits, bit 5 for a first row at the top.
    std::vector<uint8_t> out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    out.insert(out.end(), {uint8_t(width), uint8_t(width >> 8), uint8_t(height),
                           uint8_t(height >> 8), 32, uint8_t(8 | (topDown ? 0x20 : 0))});
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        for (int x = 0; x < width; ++x) {
            Rgba p = pixel(x, y);
            out.insert(out.end(), {p.b, p.g, p.r, p.a});
        }
    }
    return out;
}

}  // namespace testsupport
