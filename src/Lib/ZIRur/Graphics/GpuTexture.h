#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/DrawList.h"

namespace gfx {

// A renderer texture: 32-bit ARGB pixels of power-of-two size, owned by the worker side until
// the backend has copied them. The backend uploads it lazily on the window thread and frees
// its copy after the texture is destroyed (deferred, since a frame in flight may still name
// it).
class GpuTexture {
public:
    GpuTexture(uint32_t width, uint32_t height);
    ~GpuTexture();
    GpuTexture(const GpuTexture&) = delete;
    GpuTexture& operator=(const GpuTexture&) = delete;

    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    uint64_t Id() const { return m_id; }
    uint64_t Generation() const { return m_generation; }

    // Replaces every texel (row 0 on top). A buffer of the wrong size is refused.
    bool Upload(std::vector<uint32_t> argb);
    // The current texels; null once the backend has copied them (see FramePixels).
    const std::shared_ptr<const platform::TexturePixels>& Pixels() const { return m_pixels; }
    // The texels a recorded frame carries: null, and this side's copy let go, once the
    // backend holds its own, so a picture is kept once rather than twice.
    std::shared_ptr<const platform::TexturePixels> FramePixels() const;

private:
    uint32_t m_width;
    uint32_t m_height;
    uint64_t m_id;
    uint64_t m_generation = 0;
    // Let go by FramePixels, which the drawing calls on a const texture.
    mutable std::shared_ptr<const platform::TexturePixels> m_pixels;
};

}  // namespace gfx
