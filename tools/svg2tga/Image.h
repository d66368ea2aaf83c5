#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace svg {

// A straight-alpha (not premultiplied) RGBA picture, rows top to bottom, 4 bytes per pixel
// in the order R, G, B, A.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    // Pointer to the pixel at (x, y); the caller keeps inside the image.
    const uint8_t* at(int x, int y) const { return pixels.data() + (size_t(y) * width + x) * 4; }
};

}  // namespace svg
