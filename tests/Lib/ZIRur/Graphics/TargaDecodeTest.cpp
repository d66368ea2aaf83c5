#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "Lib/ZIRur/Graphics/ImageDecoder.h"

namespace {

using Bytes = std::vector<uint8_t>;

// An 18-byte Targa header (id length 0, little-endian fields, origin 0), then `rest`.
// Descriptor bit 5 marks top-down rows, its low bits count alpha bits.
Bytes Targa(uint8_t mapType, uint8_t imageType, uint16_t mapLength, uint8_t mapBits, uint16_t width,
            uint16_t height, uint8_t depth, uint8_t descriptor, Bytes rest) {
    Bytes out = {0, mapType, imageType, 0, 0};
    for (uint16_t v : {mapLength}) out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)});
    out.insert(out.end(), {mapBits, 0, 0, 0, 0});
    for (uint16_t v : {width, height}) out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)});
    out.insert(out.end(), {depth, descriptor});
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}
Bytes Raw(uint16_t width, uint16_t height, uint8_t depth, Bytes pixels, uint8_t imageType = 2) {
    return Targa(0, imageType, 0, 0, width, height, depth, depth == 32 ? 8 : 0, pixels);
}

}  // namespace

// Rows come out bottom-up as RGBA. Depths and maps the image library mishandles (it overran
// its own buffer on them, found by fuzzing) are refused before it sees them.
TEST(TargaDecode, PixelsOutOrRefused) {
    // Run-length 32-bit top-down 2 x 2: a run of two red, then a raw packet of blue, green.
    const Bytes rle32 = Targa(0, 10, 0, 0, 2, 2, 32, 0x28,
                              {0x81, 0, 0, 255, 255, 0x01, 255, 0, 0, 255, 0, 255, 0, 128});
    const Bytes fuzzFound = {0x00, 0x01, 0x0a, 0x04, 0x00, 0x01, 0x00, 0x0f, 0x00, 0x20, 0x1b, 0x00,
                             0x02, 0x00, 0x0b, 0x01, 0x0f, 0x00, 0xe3, 0x41, 0xe3, 0xe3, 0xe3, 0xe3,
                             0x25, 0xe3, 0xe3, 0xe3, 0xe3, 0xe3, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff,
                             0xff, 0xff, 0xe3, 0xe3, 0xe3, 0x05, 0x00, 0x24, 0x20};
    struct Case {
        const char* what;
        Bytes bytes;
        bool decodes;
        Bytes rgba;  // leading bytes of the result
    };
    const Case cases[] = {
        {"raw 24-bit", Raw(2, 1, 24, {1, 2, 3, 4, 5, 6}), true, {3, 2, 1, 255, 6, 5, 4, 255}},
        {"raw 32-bit", Raw(2, 1, 32, {1, 2, 3, 9, 4, 5, 6, 255}), true, {3, 2, 1, 9, 6, 5, 4, 255}},
        {"8-bit grey", Raw(2, 1, 8, {10, 20}, 3), true, {10, 10, 10, 255, 20, 20, 20, 255}},
        {"run-length 32-bit top-down",
         rle32,
         true,
         {0, 0, 255, 255, 0, 255, 0, 128, 255, 0, 0, 255}},
        {"run-length cut short", Bytes(rle32.begin(), rle32.end() - 1), false, {}},
        {"run-length packets short of the picture", Raw(3, 1, 24, {0x81, 1, 2, 3}, 10), false, {}},
        {"raw cut short", Raw(2, 2, 24, {1, 2, 3, 4, 5, 6}), false, {}},
        {"edge 4096", Raw(4096, 1, 8, Bytes(4096, 7), 3), true, {7, 7, 7, 255}},
        {"edge 4097", Raw(4097, 1, 8, Bytes(4097, 7), 3), false, {}},
        {"zero width", Raw(0, 5, 24, {}), false, {}},
        {"junk", Bytes(7, 1), false, {}},
        {"fuzzer's find: run-length 15-bit with a map", fuzzFound, false, {}},
        {"raw 15-bit", Raw(2, 1, 15, {1, 2, 3, 4}), false, {}},
        {"24-bit with a colour map",
         Targa(1, 2, 1, 24, 2, 1, 24, 0, {9, 9, 9, 1, 2, 3, 4, 5, 6}),
         false,
         {}},
        {"16-bit grey", Raw(2, 1, 16, {1, 2, 3, 4}, 3), false, {}},
    };
    gfx::DecodedImage image;  // reused: a failure must not leave the last picture's size
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(gfx::DecodeImage(gfx::kImageTypeTarga, c.bytes, image), c.decodes);
        if (c.decodes) {
            EXPECT_EQ(Bytes(image.rgba.get(), image.rgba.get() + c.rgba.size()), c.rgba);
        } else {
            EXPECT_EQ(image.width, 0);
        }
    }
}
