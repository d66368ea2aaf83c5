#include <stb/stb_image.h>

#include <climits>
#include <cstring>
#include <memory>
#include <new>

#include "Lib/ZIRur/Graphics/ImageLibrary.h"

namespace gfx {

bool DecodeWithStb(int type, std::span<const uint8_t> data, DecodedImage& out) {
    if ((type != kImageTypeTarga && type != kImageTypeUnknown) || data.size() > size_t(INT_MAX))
        return false;
    int width = 0, height = 0, channels = 0;
    const std::unique_ptr<stbi_uc, void (*)(void*)> top(
        stbi_load_from_memory(data.data(), int(data.size()), &width, &height, &channels, 4),
        stbi_image_free);
    if (top == nullptr || width <= 0 || height <= 0) return false;
    // stb hands rows back top first, whatever the file declared.
    const size_t row = size_t(width) * 4;
    std::unique_ptr<uint8_t[]> rgba(new (std::nothrow) uint8_t[row * size_t(height)]);
    if (rgba == nullptr) return false;
    for (int y = 0; y < height; ++y)
        std::memcpy(rgba.get() + row * size_t(height - 1 - y), top.get() + row * size_t(y), row);
    out.width = width;
    out.height = height;
    out.rgba = std::move(rgba);
    return true;
}

}  // namespace gfx
