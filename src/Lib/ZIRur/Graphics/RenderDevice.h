#pragma once

#include <cstdint>
#include <mutex>
#include <optional>

#include "Lib/ZIRur/Graphics/GpuTexture.h"
#include "platform/DrawList.h"

namespace gfx {

// Stand-in for the drawing device and its sprite object: records each frame as a draw list
// and hands it to the platform at Present. One per process.
class RenderDevice {
public:
    static RenderDevice& Instance();

    // The device lock: re-entrant, held around device creation and reset, around each frame
    // from Clear to Present, and around every sprite and text draw.
    std::recursive_mutex& Lock() { return m_lock; }

    // Creates (or resets) the device for the platform's back buffer. False without a platform.
    bool Create();
    void Release();
    bool IsCreated() const { return m_created; }

    int BackBufferWidth() const { return m_backWidth; }
    int BackBufferHeight() const { return m_backHeight; }
    // Logical-to-back-buffer mapping: (x, y) -> (x * Scale(), LetterboxY() + y * Scale()).
    float Scale() const { return float(m_backWidth) / 1024.0f; }
    float LetterboxY() const { return (float(m_backHeight) - 768.0f * Scale()) / 2.0f; }

    void Clear(uint32_t argb);
    void BeginScene();
    void EndScene();
    // Hands the recorded frame to the platform unless it equals the last one handed over;
    // false when there is no device.
    bool Present();

    // Draws the source rectangle of a texture with its top-left corner at back-buffer (x, y).
    void DrawTexture(const GpuTexture& texture, const platform::SourceRect& src, float x, float y,
                     float scaleX, float scaleY, uint32_t argb, bool linear = true);

    // Frames presented so far, handed over or not (tests and the trace read it).
    uint64_t PresentedFrames() const { return m_presented; }
    // The frame being recorded (tests inspect it before Present).
    const platform::DrawList& Recording() const { return m_frame; }

private:
    std::recursive_mutex m_lock;
    bool m_created = false;
    bool m_inScene = false;
    int m_backWidth = 1024;
    int m_backHeight = 768;
    platform::DrawList m_frame;
    // What the platform was last given; empty until the first frame after Create.
    std::optional<platform::DrawList> m_lastHandedOver;
    uint64_t m_presented = 0;
};

// Colour read-out of the drawables: each component outside 0..255 counts as 255.
uint32_t PackColor(int red, int green, int blue, int alpha);

// Draws a whole texture image (which sits in the bottom rows of its power-of-two texture)
// with its top-left corner at logical (x, y), at its own pixel size. Nothing without a texture.
void DrawSprite(const GpuTexture* texture, int imageWidth, int imageHeight, int x, int y, int red,
                int green, int blue, int alpha);

}  // namespace gfx
