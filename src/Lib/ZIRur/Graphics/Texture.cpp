#include "Lib/ZIRur/Graphics/Texture.h"

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

    // Re-space the rows to the texture width, repeating the last pixel of each row once and
    // the last row once; everything else stays clear.
    std::vector<uint8_t> pixels(size_t(texW) * size_t(texH) * 4, 0);
    const size_t srcStride = size_t(image.width) * 4;
    const size_t dstStride = size_t(texW) * 4;
    for (int r = 0; r < image.height; ++r) {
        uint8_t* dst = pixels.data() + size_t(r) * dstStride;
        std::memcpy(dst, image.rgba.data() + size_t(r) * srcStride, srcStride);
        if (texW > image.width) std::memcpy(dst + srcStride, dst + srcStride - 4, 4);
    }
    if (texH > image.height) {
        std::memcpy(pixels.data() + size_t(image.height) * dstStride,
                    pixels.data() + size_t(image.height - 1) * dstStride, dstStride);
    }
    m_imageWidth = image.width;
    m_imageHeight = image.height;
    m_textureWidth = texW;
    m_textureHeight = texH;
    m_pixels = std::move(pixels);
    Upload();
    return true;
}

void CTexture::ApplyColorKey(uint8_t red, uint8_t green, uint8_t blue) {
    for (size_t i = 0; i + 3 < m_pixels.size(); i += 4) {
        const bool key = m_pixels[i] == red && m_pixels[i + 1] == green && m_pixels[i + 2] == blue;
        m_pixels[i + 3] = key ? 0 : 255;
    }
    if (m_gpu != nullptr) Upload();
}

void CTexture::Upload() {
    // Buffer row r (bottom-up) becomes texture row height - 1 - r (top-down), so the image
    // lands upright in the bottom rows.
    std::vector<uint32_t> argb(size_t(m_textureWidth) * size_t(m_textureHeight));
    for (int r = 0; r < m_textureHeight; ++r) {
        const uint8_t* src = m_pixels.data() + size_t(r) * size_t(m_textureWidth) * 4;
        uint32_t* dst = argb.data() + size_t(m_textureHeight - 1 - r) * size_t(m_textureWidth);
        for (int c = 0; c < m_textureWidth; ++c, src += 4)
            dst[c] = uint32_t(src[3]) << 24 | uint32_t(src[0]) << 16 | uint32_t(src[1]) << 8 |
                     uint32_t(src[2]);
    }
    m_gpu = std::make_unique<gfx::GpuTexture>(uint32_t(m_textureWidth), uint32_t(m_textureHeight));
    m_gpu->Upload(std::move(argb));
}
