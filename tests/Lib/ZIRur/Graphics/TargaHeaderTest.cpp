#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "Lib/ZIRur/Graphics/ImageDecoder.h"

namespace {

// An 18-byte Targa header, little-endian fields, then `rest`.
std::vector<uint8_t> Targa(uint8_t mapType, uint8_t imageType, uint16_t mapLength, uint8_t mapBits,
                           uint16_t width, uint16_t height, uint8_t depth,
                           std::vector<uint8_t> rest) {
    std::vector<uint8_t> out = {0,
                                mapType,
                                imageType,
                                0,
                                0,
                                uint8_t(mapLength),
                                uint8_t(mapLength >> 8),
                                mapBits,
                                0,
                                0,
                                0,
                                0,
                                uint8_t(width),
                                uint8_t(width >> 8),
                                uint8_t(height),
                                uint8_t(height >> 8),
                                depth,
                                0};
    for (uint8_t b : rest) out.push_back(b);
    return out;
}

bool Decodes(const std::vector<uint8_t>& bytes) {
    gfx::DecodedImage image;
    return gfx::DecodeImage(gfx::kImageTypeTarga, bytes, image);
}

// The decoder overran its own buffer on these (found by fuzzing); they are refused before
// it sees them, while the same pictures in supported depths still decode.
TEST(TargaHeader, DepthsAndMapsTheDecoderMishandlesAreRefused) {
    // The fuzzer's find, byte for byte: run-length true colour, 15-bit, with a colour map.
    const std::vector<uint8_t> found = {
        0x00, 0x01, 0x0a, 0x04, 0x00, 0x01, 0x00, 0x0f, 0x00, 0x20, 0x1b, 0x00, 0x02, 0x00, 0x0b,
        0x01, 0x0f, 0x00, 0xe3, 0x41, 0xe3, 0xe3, 0xe3, 0xe3, 0x25, 0xe3, 0xe3, 0xe3, 0xe3, 0xe3,
        0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xe3, 0xe3, 0xe3, 0x05, 0x00, 0x24, 0x20};
    EXPECT_FALSE(Decodes(found));
    // 2 x 1 raw true colour at 15 bits, and at 24 bits with a one-entry colour map.
    EXPECT_FALSE(Decodes(Targa(0, 2, 0, 0, 2, 1, 15, {1, 2, 3, 4})));
    EXPECT_FALSE(Decodes(Targa(1, 2, 1, 24, 2, 1, 24, {9, 9, 9, 1, 2, 3, 4, 5, 6})));
    // Grey pixels other than 8 bits.
    EXPECT_FALSE(Decodes(Targa(0, 3, 0, 0, 2, 1, 16, {1, 2, 3, 4})));

    EXPECT_TRUE(Decodes(Targa(0, 2, 0, 0, 2, 1, 24, {1, 2, 3, 4, 5, 6})));
    EXPECT_TRUE(Decodes(Targa(0, 2, 0, 0, 2, 1, 32, {1, 2, 3, 255, 4, 5, 6, 255})));
    EXPECT_TRUE(Decodes(Targa(0, 3, 0, 0, 2, 1, 8, {10, 20})));
}

// What the data build writes for an opaque picture: run-length packets of 24-bit pixels.
TEST(TargaHeader, RunLength24BitPicturesDecodeOpaque) {
    // 3 x 1: a run of two B=1 G=2 R=3, then one literal B=4 G=5 R=6.
    const auto bytes = Targa(0, 10, 0, 0, 3, 1, 24, {0x81, 1, 2, 3, 0x00, 4, 5, 6});
    gfx::DecodedImage image;
    ASSERT_TRUE(gfx::DecodeImage(gfx::kImageTypeTarga, bytes, image));
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 1);
    EXPECT_EQ(std::vector<uint8_t>(image.rgba.get(), image.rgba.get() + 12),
              (std::vector<uint8_t>{3, 2, 1, 255, 3, 2, 1, 255, 6, 5, 4, 255}));
    // Packets that stop short of the picture are refused.
    EXPECT_FALSE(Decodes(Targa(0, 10, 0, 0, 3, 1, 24, {0x81, 1, 2, 3})));
}

}  // namespace
