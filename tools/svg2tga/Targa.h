#pragma once

#include <cstdint>
#include <vector>

#include "svg2tga/Image.h"

namespace svg {

// Encodes a run-length Targa file (image type 10). The 18-byte header is: ID length 0, no
// colour map (type 0, five zero bytes of colour-map fields), x and y origin 0, width and
// height as 16-bit little-endian, then 24 bits per pixel with descriptor 0x00 when every
// pixel is opaque, else 32 bits with descriptor 0x08 (eight alpha bits); the origin bit is
// clear either way, so rows are stored bottom row first. Each pixel is B, G, R (, A) with
// straight alpha. Packets never cross a row: a header byte 0x80 | (n - 1) and one pixel
// repeated n times, or n - 1 and n literal pixels (n = 1..128). No ID, colour map or footer
// follows. Sizes must be 1..65535.
std::vector<uint8_t> EncodeTarga(const RgbaImage& image);

}  // namespace svg
