#pragma once

#include <cstdint>
#include <vector>

#include "svg2tga/Image.h"

namespace svg {

// Encodes a 32-bit uncompressed Targa file (image type 2). The 18-byte header is: ID length 0,
// no colour map (type 0, five zero bytes of colour-map fields), x and y origin 0, width
// and height as 16-bit little-endian, 32 bits per pixel, and image descriptor 0x08 (eight
// alpha bits, origin bit clear). Rows are therefore stored bottom row first, as most readers
// expect by default; each pixel is B, G, R, A with straight alpha. No ID, colour map or
// footer follows. Sizes must be 1..65535.
std::vector<uint8_t> EncodeTarga(const RgbaImage& image);

}  // namespace svg
