#include "svg2tga/Png.h"

#include <png.h>

namespace svg {

bool WritePng(const std::string& path, const RgbaImage& image) {
    if (image.width < 1 || image.height < 1 ||
        image.pixels.size() != size_t(image.width) * size_t(image.height) * 4)
        return false;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(image.width);
    png.height = png_uint_32(image.height);
    png.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr) != 0;
}

}  // namespace svg
