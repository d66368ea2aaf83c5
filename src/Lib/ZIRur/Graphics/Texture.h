#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Lib/ZIRur/Graphics/GpuTexture.h"

// One decoded image in a power-of-two texture. The image sits upright in the texture's bottom
// rows; the column right of it and the row above it repeat its edge so filtering does not
// bleed. The texture's ARGB texels are the record's only pixel copy.
class CTexture {
public:
    explicit CTexture(std::string name) : m_name(std::move(name)) {}

    // Decodes the bytes and fills the pixels and the renderer texture. False (and the
    // record left empty) on a decode failure or an unsupported size.
    bool CreateFromData(int type, const uint8_t* data, size_t size);
    // Makes pixels whose R, G, B equal the colour transparent and all others opaque.
    void ApplyColorKey(uint8_t red, uint8_t green, uint8_t blue);

    const std::string& Name() const { return m_name; }
    int ImageWidth() const { return m_imageWidth; }
    int ImageHeight() const { return m_imageHeight; }
    int TextureWidth() const { return m_textureWidth; }
    int TextureHeight() const { return m_textureHeight; }
    // Null until an image was decoded.
    const gfx::GpuTexture* Gpu() const { return m_gpu.get(); }
    bool IsEmpty() const { return m_gpu == nullptr; }

    int m_refCount = 0;

private:
    std::string m_name;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    int m_textureWidth = 0;
    int m_textureHeight = 0;
    std::unique_ptr<gfx::GpuTexture> m_gpu;
};

// Smallest power of two >= n, at least 2; 0 when n is over 4096.
int TextureEdge(int n);
