// Whole and broken JPEG streams: only whole ones reach the image library, whose JPEG decoder
// would spin forever on a stream that ends before its end marker.
#include "Lib/ZIRur/Graphics/JpegStructure.h"

#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "Lib/ZIRur/Graphics/ImageDecoder.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

const Bytes kSoi = {0xFF, 0xD8};
const Bytes kEoi = {0xFF, 0xD9};
// A marker segment: marker, big-endian length (counting itself), payload.
Bytes Segment(uint8_t code, Bytes payload) {
    const size_t length = payload.size() + 2;
    return Cat({{0xFF, code, uint8_t(length >> 8), uint8_t(length)}, payload});
}
// Entropy-coded bytes with a stuffed 0xFF and a restart marker.
const Bytes kScanData = {0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD0, 0x56};

// A baseline 2 x 2 grey picture of level 200, one 8 x 8 block: quantisation all 1, a DC
// table whose one code "0" means difference class 10, an AC table whose one code "0" is the
// end of block. The scan: "0", 576 (8 x (200 - 128)) in 10 bits, "0", padded with ones.
Bytes GreyJpeg() {
    Bytes quant = {0x00};
    quant.resize(65, 1);
    Bytes dc = {0x00, 1}, ac = {0x10, 1};
    dc.resize(17, 0), ac.resize(17, 0);
    dc.push_back(10), ac.push_back(0x00);
    return Cat({kSoi,
                Segment(0xDB, quant),
                Segment(0xC0, {8, 0, 2, 0, 2, 1, 1, 0x11, 0}),
                Segment(0xC4, dc),
                Segment(0xC4, ac),
                Segment(0xDA, {1, 1, 0x00, 0, 63, 0}),
                {0x48, 0x0F},
                kEoi});
}

TEST(JpegStructure, WholeStreamsPassEveryCutAndLieIsRefused) {
    const Bytes whole =
        Cat({kSoi, Segment(0xE0, {0xAA, 0xBB}), Segment(0xDA, {0x01}), kScanData, kEoi});
    EXPECT_TRUE(gfx::JpegComplete(whole));
    for (size_t n = 0; n < whole.size(); ++n)
        EXPECT_FALSE(gfx::JpegComplete(Bytes(whole.begin(), whole.begin() + long(n)))) << n;
    // Fill bytes before a marker; two scans with a table between them.
    EXPECT_TRUE(gfx::JpegComplete(Cat({kSoi,
                                       {0xFF, 0xFF},
                                       Segment(0xDB, {0x00}),
                                       Segment(0xDA, {}),
                                       kScanData,
                                       Segment(0xC4, {0x01}),
                                       Segment(0xDA, {}),
                                       kScanData,
                                       kEoi})));
    // Streams that lie are refused.
    const std::pair<const char*, Bytes> cases[] = {
        {"segment longer than what is left", Cat({kSoi, {0xFF, 0xE0, 0x40, 0x00, 0x01}, kEoi})},
        {"segment shorter than its length field", Cat({kSoi, {0xFF, 0xE0, 0x00, 0x01}, kEoi})},
        {"stray byte where a marker belongs", Cat({kSoi, {0x4F}, kEoi})},
        {"second start of image", Cat({kSoi, kSoi, kEoi})},
        {"not a JPEG", Bytes{0x00, 0x01, 0xFF, 0xD9}},
    };
    for (const auto& [what, bytes] : cases) EXPECT_FALSE(gfx::JpegComplete(bytes)) << what;
    // Found by the image fuzz target: the image library's decoder spun on it for good.
    const Bytes hung = {0xFF, 0xD8, 0x4F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xEF, 0xFF, 0xFF};
    gfx::DecodedImage image;
    EXPECT_FALSE(gfx::DecodeImage(gfx::kImageTypeJpeg, hung, image));
}

TEST(JpegStructure, ARealPictureStillDecodes) {
    const Bytes jpeg = GreyJpeg();
    ASSERT_TRUE(gfx::JpegComplete(jpeg));
    gfx::DecodedImage image;
#if !__has_include(<IL/il.h>)
    // Without DevIL (Windows) no JPEG is decoded: the data set holds none.
    EXPECT_FALSE(gfx::DecodeImage(gfx::kImageTypeJpeg, jpeg, image));
    GTEST_SKIP() << "JPEG is decoded only through DevIL";
#endif
    ASSERT_TRUE(gfx::DecodeImage(gfx::kImageTypeJpeg, jpeg, image));
    EXPECT_EQ(std::tuple(image.width, image.height), std::tuple(2, 2));
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(image.rgba[size_t(i)], 200, 2) << i;
}

}  // namespace
