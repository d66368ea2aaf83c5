// Feeds arbitrary bytes to the image wrapper as a Targa (the type the archives hold) and,
// when the first byte asks for it, as TIFF or JPEG; then builds the padded texture. The same
// bytes go through stb_image too, the decoder of builds without DevIL.
#include <cstddef>
#include <cstdint>

#include "Lib/ZIRur/Graphics/ImageDecoder.h"
#include "Lib/ZIRur/Graphics/ImageLibrary.h"
#include "Lib/ZIRur/Graphics/Texture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int type = gfx::kImageTypeTarga;
    // Genuine Targa files start with a small id length, so odd lead bytes above 0xF0 are
    // free to select the other decoders without hiding Targa inputs.
    if (size > 0 && data[0] == 0xF1) type = gfx::kImageTypeTiff;
    if (size > 0 && data[0] == 0xF3) type = gfx::kImageTypeJpeg;
    if (type != gfx::kImageTypeTarga) ++data, --size;
    CTexture texture("fuzz.tga");
    if (texture.CreateFromData(type, data, size)) {
        volatile uint32_t sink = 0;
        for (uint32_t p : texture.Gpu()->Pixels()->argb) sink = sink + p;
    }
    gfx::DecodedImage image;
    if (gfx::DecodeImageWith(gfx::DecodeWithStb, type, {data, size}, image)) {
        volatile uint8_t sink = 0;
        for (size_t i = 0; i < size_t(image.width) * size_t(image.height) * 4; ++i)
            sink = sink + image.rgba[i];
    }
    return 0;
}
