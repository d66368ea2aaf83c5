#include "svg2tga/Targa.h"

#include <cstring>

#include "common/ToolError.h"

namespace svg {

namespace {

constexpr int kMaxPacket = 128;
constexpr uint8_t kRunFlag = 0x80;

}  // namespace

std::vector<uint8_t> EncodeTarga(const RgbaImage& image) {
    if (image.width < 1 || image.height < 1 || image.width > 0xFFFF || image.height > 0xFFFF ||
        image.pixels.size() != size_t(image.width) * size_t(image.height) * 4) {
        throw tools::ToolError("image size cannot be written as Targa");
    }
    // Most pictures (backgrounds, boards) are opaque: their alpha bytes would only add size.
    bool opaque = true;
    for (size_t i = 3; i < image.pixels.size() && opaque; i += 4) opaque = image.pixels[i] == 255;
    const size_t depth = opaque ? 3 : 4;

    std::vector<uint8_t> out(18, 0);
    out[2] = 10;  // run-length true-colour
    out[12] = uint8_t(image.width);
    out[13] = uint8_t(image.width >> 8);
    out[14] = uint8_t(image.height);
    out[15] = uint8_t(image.height >> 8);
    out[16] = uint8_t(depth * 8);
    out[17] = opaque ? 0x00 : 0x08;
    auto put = [&](const uint8_t* p) {
        const uint8_t bgra[4] = {p[2], p[1], p[0], p[3]};
        out.insert(out.end(), bgra, bgra + depth);
    };
    auto same = [](const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, 4) == 0; };
    for (int y = image.height - 1; y >= 0; --y) {
        int x = 0;
        while (x < image.width) {
            // A run of two or more equal pixels is one packet; literal pixels gather until
            // the next such run begins.
            int run = 1;
            while (x + run < image.width && run < kMaxPacket &&
                   same(image.at(x + run, y), image.at(x, y)))
                ++run;
            if (run >= 2) {
                out.push_back(uint8_t(kRunFlag | (run - 1)));
                put(image.at(x, y));
                x += run;
                continue;
            }
            int raw = 1;
            while (x + raw < image.width && raw < kMaxPacket &&
                   !(x + raw + 1 < image.width &&
                     same(image.at(x + raw, y), image.at(x + raw + 1, y))))
                ++raw;
            out.push_back(uint8_t(raw - 1));
            for (int i = 0; i < raw; ++i) put(image.at(x + i, y));
            x += raw;
        }
    }
    return out;
}

}  // namespace svg
