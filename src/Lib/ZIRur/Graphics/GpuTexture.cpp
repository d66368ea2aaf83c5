#include "Lib/ZIRur/Graphics/GpuTexture.h"

#include <atomic>

#include "platform/Platform.h"

namespace gfx {
namespace {
std::atomic<uint64_t> g_nextTextureId{1};
}

GpuTexture::GpuTexture(uint32_t width, uint32_t height)
    : m_width(width), m_height(height), m_id(g_nextTextureId++) {
    auto pixels = std::make_shared<platform::TexturePixels>();
    pixels->width = width;
    pixels->height = height;
    pixels->argb.assign(size_t(width) * height, 0);
    m_pixels = std::move(pixels);
}

GpuTexture::~GpuTexture() {
    if (platform::HasPlatform()) platform::GetPlatform().ReleaseTexture(m_id);
}

std::shared_ptr<const platform::TexturePixels> GpuTexture::FramePixels() const {
    if (m_pixels && m_pixels->copied.load(std::memory_order_acquire)) m_pixels.reset();
    return m_pixels;
}

bool GpuTexture::Upload(std::vector<uint32_t> argb) {
    if (argb.size() != size_t(m_width) * m_height) return false;
    auto pixels = std::make_shared<platform::TexturePixels>();
    pixels->width = m_width;
    pixels->height = m_height;
    pixels->argb = std::move(argb);
    m_pixels = std::move(pixels);
    ++m_generation;
    return true;
}

}  // namespace gfx
