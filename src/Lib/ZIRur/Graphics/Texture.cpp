#include "Lib/ZIRur/Graphics/Texture.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "Lib/ZIRur/Graphics/ImageDecoder.h"

int TextureEdge(int n) {
    if (n > gfx::kMaxImageEdge) return 0;
    int edge = 2;
    while (edge < n) edge *= 2;
    return edge;
}

bool CTexture::CreateFromData(int type, const uint8_t* data, size_t size) {
    gfx::DecodedImage image;
    if (data == nullptr || !gfx::DecodeImage(type, std::span<const uint8_t>(data, size), image))
        return false;
    const int texW = TextureEdge(image.width);
    const int texH = TextureEdge(image.height);
    if (texW == 0 || texH == 0) return false;

    // Decoded row r (bottom-up) goes to texture row texH - 1 - r (top-down), so the image
    // lands upright in the bottom rows. Each row repeats its last pixel once to the right;
    // the image's last decoded row (its top) is repeated once above it. The rest stays clear.
    std::vector<uint32_t> argb(size_t(texW) * size_t(texH), 0);
    for (int r = 0; r < image.height; ++r) {
        const uint8_t* src = image.rgba.get() + size_t(r) * size_t(image.width) * 4;
        uint32_t* dst = argb.data() + size_t(texH - 1 - r) * size_t(texW);
        for (int c = 0; c < image.width; ++c, src += 4)
            dst[c] = uint32_t(src[3]) << 24 | uint32_t(src[0]) << 16 | uint32_t(src[1]) << 8 |
                     uint32_t(src[2]);
        if (texW > image.width) dst[image.width] = dst[image.width - 1];
    }
    if (texH > image.height) {
        const uint32_t* top = argb.data() + size_t(texH - image.height) * size_t(texW);
        std::copy_n(top, texW, argb.data() + size_t(texH - 1 - image.height) * size_t(texW));
    }
    m_imageWidth = image.width;
    m_imageHeight = image.height;
    m_textureWidth = texW;
    m_textureHeight = texH;
    m_gpu = std::make_unique<gfx::GpuTexture>(uint32_t(texW), uint32_t(texH));
    m_gpu->Upload(std::move(argb));
    return true;
}

void CTexture::ApplyColorKey(uint8_t red, uint8_t green, uint8_t blue) {
    if (m_gpu == nullptr || m_gpu->Pixels() == nullptr) return;
    std::vector<uint32_t> argb = m_gpu->Pixels()->argb;
    const uint32_t key = uint32_t(red) << 16 | uint32_t(green) << 8 | blue;
    for (uint32_t& p : argb) p = (p & 0x00FFFFFFu) | ((p & 0x00FFFFFFu) == key ? 0u : 0xFF000000u);
    m_gpu->Upload(std::move(argb));
}
