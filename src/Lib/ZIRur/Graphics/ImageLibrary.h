// The image libraries behind DecodeImage. Each takes bytes the caller has already checked
// (see ImageDecoder.cpp) and hands back RGBA rows bottom-up; false when it cannot decode them.
#pragma once

#include <cstdint>
#include <span>

#include "Lib/ZIRur/Graphics/ImageDecoder.h"

namespace gfx {

using ImageLibrary = bool (*)(int type, std::span<const uint8_t> data, DecodedImage& out);

// DecodeImage through the given library: the same checks before it, the same limits after.
bool DecodeImageWith(ImageLibrary library, int type, std::span<const uint8_t> data,
                     DecodedImage& out);

// DevIL, where the system has it (Debian).
bool DecodeWithDevil(int type, std::span<const uint8_t> data, DecodedImage& out);
// stb_image, built with the program (Targa only), where DevIL is missing (Windows).
bool DecodeWithStb(int type, std::span<const uint8_t> data, DecodedImage& out);

}  // namespace gfx
