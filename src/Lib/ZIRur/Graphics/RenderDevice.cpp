#include "Lib/ZIRur/Graphics/RenderDevice.h"

#include "platform/Platform.h"

namespace gfx {

RenderDevice& RenderDevice::Instance() {
    static RenderDevice device;
    return device;
}

bool RenderDevice::Create() {
    std::lock_guard lock(m_lock);
    if (!platform::HasPlatform()) return false;
    m_backWidth = platform::GetPlatform().BackBufferWidth();
    m_backHeight = platform::GetPlatform().BackBufferHeight();
    m_created = true;
    m_lastHandedOver.reset();
    return true;
}

void RenderDevice::Release() {
    std::lock_guard lock(m_lock);
    m_created = false;
    m_inScene = false;
    m_frame.commands.clear();
    m_lastHandedOver.reset();
}

void RenderDevice::Clear(uint32_t argb) {
    std::lock_guard lock(m_lock);
    m_frame.commands.clear();
    platform::DrawCommand clear;
    clear.kind = platform::DrawCommand::Kind::Clear;
    clear.argb = argb;
    m_frame.commands.push_back(std::move(clear));
}

void RenderDevice::BeginScene() {
    std::lock_guard lock(m_lock);
    m_inScene = true;
}

void RenderDevice::EndScene() {
    std::lock_guard lock(m_lock);
    m_inScene = false;
}

bool RenderDevice::Present() {
    std::lock_guard lock(m_lock);
    if (!m_created || !platform::HasPlatform()) {
        m_frame.commands.clear();
        return false;
    }
    ++m_presented;
    // A still screen records the same frame every pass: handing it over again would only
    // wake the window thread to find nothing to do.
    if (m_lastHandedOver && *m_lastHandedOver == m_frame) {
        m_frame.commands.clear();
        return true;
    }
    // Kept only to compare with: without the pixels, which it would otherwise keep alive.
    m_lastHandedOver = m_frame;
    for (platform::DrawCommand& cmd : m_lastHandedOver->commands) cmd.pixels.reset();
    platform::GetPlatform().SubmitFrame(std::move(m_frame));
    m_frame = platform::DrawList{};
    return true;
}

void RenderDevice::DrawTexture(const GpuTexture& texture, const platform::SourceRect& src, float x,
                               float y, float scaleX, float scaleY, uint32_t argb, bool linear) {
    std::lock_guard lock(m_lock);
    // Outside BeginScene/EndScene the device draws nothing, as a real device would refuse.
    if (!m_inScene) return;
    platform::DrawCommand cmd;
    cmd.kind = platform::DrawCommand::Kind::Sprite;
    cmd.argb = argb;
    cmd.textureId = texture.Id();
    cmd.textureGeneration = texture.Generation();
    cmd.pixels = texture.FramePixels();
    cmd.src = src;
    cmd.x = x;
    cmd.y = y;
    cmd.scaleX = scaleX;
    cmd.scaleY = scaleY;
    cmd.filterLinear = linear;
    m_frame.commands.push_back(std::move(cmd));
}

uint32_t PackColor(int red, int green, int blue, int alpha) {
    auto c = [](int v) { return uint32_t(v < 0 || v > 255 ? 255 : v); };
    return c(alpha) << 24 | c(red) << 16 | c(green) << 8 | c(blue);
}

void DrawSprite(const GpuTexture* texture, int imageWidth, int imageHeight, int x, int y, int red,
                int green, int blue, int alpha) {
    if (texture == nullptr) return;
    RenderDevice& device = RenderDevice::Instance();
    std::lock_guard lock(device.Lock());
    const float s = device.Scale();
    // The scaling is the integer part of the back-buffer width over 1024, as the sprite
    // object is given it; only the translation uses the fractional factor.
    const float scaling = float(device.BackBufferWidth() / 1024);
    platform::SourceRect src{0, int(texture->Height()) - imageHeight, imageWidth,
                             int(texture->Height())};
    device.DrawTexture(*texture, src, float(x) * s, device.LetterboxY() + float(y) * s, scaling,
                       scaling, PackColor(red, green, blue, alpha), true);
}

}  // namespace gfx
