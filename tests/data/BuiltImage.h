#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CTIGroup;

namespace builtdata {

// One decoded picture of a built archive, rows top first.
struct Image {
    int width = 0;
    int height = 0;
    // R, G, B, A per pixel.
    std::vector<uint8_t> rgba;

    // The pixel's four channels; zeros outside the picture.
    const uint8_t* At(int x, int y) const;
    // Perceived brightness 0..255 of an opaque pixel.
    int Luma(int x, int y) const;
};

// Decodes a Targa entry of a built archive; an empty image (width 0) when the entry is
// missing or cannot be decoded.
Image LoadTga(const CTIGroup& group, const char* name);

// Full path of a file under the build's DATA folder.
std::string DataPath(const char* relative);

}  // namespace builtdata
