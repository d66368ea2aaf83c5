#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace gfx {

// Image type codes handed to the decoder.
enum ImageType : int {
    kImageTypeUnknown = 0x0000,  // let the decoder tell from the bytes
    kImageTypeJpeg = 0x0425,
    kImageTypeTarga = 0x042D,
    kImageTypeTiff = 0x042E,
};

// The largest edge a texture may have; larger images are refused.
constexpr int kMaxImageEdge = 4096;

// Type chosen from the lower-cased name: ".tif" first, then ".tga", otherwise JPEG.
int ImageTypeFromName(std::string_view name);

// A decoded picture: tightly packed RGBA bytes, rows bottom-up (row 0 is the image's
// bottom row) whatever the file declared.
struct DecodedImage {
    int width = 0;
    int height = 0;
    // width x height x 4 bytes (left uninitialised until decoded: images are large).
    std::unique_ptr<uint8_t[]> rgba;
};

// Decodes untrusted image bytes. False on any decode failure, for a zero-sized image or one
// with an edge over kMaxImageEdge. Safe to call from any thread.
bool DecodeImage(int type, std::span<const uint8_t> data, DecodedImage& out);

}  // namespace gfx
