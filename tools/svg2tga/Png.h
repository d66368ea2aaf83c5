#pragma once

#include <string>

#include "svg2tga/Image.h"

namespace svg {

// Writes the picture as an 8-bit RGBA PNG (straight alpha, as PNG stores it); false when the
// file could not be written.
bool WritePng(const std::string& path, const RgbaImage& image);

}  // namespace svg
