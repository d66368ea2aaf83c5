#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Rgba&) const = default;
};

// Writes a 32-bit uncompressed true-colour Targa byte by byte from the format table:
// 18-byte header (id length, colour-map type, image type 2, colour-map spec, x/y origin,
// width, height, depth 32, descriptor with 8 alpha bits and bit 5 for top-down rows),
// then B, G, R, A per pixel. `pixel(x, y)` is asked with y counted from the image top.
std::vector<uint8_t> BuildTga(int width, int height, const std::function<Rgba(int, int)>& pixel,
                              bool topDown);

}  // namespace testsupport
