#include <gtest/gtest.h>
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "support/PlatformFixture.h"

namespace {

class RenderDeviceTest : public HeadlessTest {
protected:
    RenderDeviceTest() { device.Create(); }
    ~RenderDeviceTest() override { device.Release(); }
    platform::DrawList Frame(const std::function<void()>& draw) {
        device.Clear(0xFF000000);
        device.BeginScene();
        draw();
        device.EndScene();
        device.Present();
        return m_platform.LatestFrame();
    }
    // A frame with the 4 x 4 texture drawn at (x, 0).
    platform::DrawList FrameAt(int x) {
        return Frame([this, x] { gfx::DrawSprite(&texture, 4, 4, x, 0, 255, 255, 255, 255); });
    }

    gfx::RenderDevice& device = gfx::RenderDevice::Instance();
    gfx::GpuTexture texture{4, 4};
};

// Where a sprite lands and what a frame records are checked with the pictures and texts that
// draw them.
TEST_F(RenderDeviceTest, SpritesNeedATextureAndAScene) {
    EXPECT_EQ(
        Frame([] { gfx::DrawSprite(nullptr, 1, 1, 0, 0, 255, 255, 255, 255); }).commands.size(),
        1u);
    gfx::DrawSprite(&texture, 1, 1, 0, 0, 255, 255, 255, 255);
    EXPECT_TRUE(device.Recording().commands.empty());
}

TEST_F(RenderDeviceTest, OnlyFramesThatChangeSomethingAreHandedOver) {
    FrameAt(0);
    const uint64_t handed = m_platform.FrameCount();
    FrameAt(0);  // the same frame again is kept back
    FrameAt(1);
    EXPECT_EQ(m_platform.FrameCount(), handed + 1) << "a sprite moved";
    ASSERT_TRUE(texture.Upload(std::vector<uint32_t>(16, 0xFFFFFFFF)));
    FrameAt(1);
    EXPECT_EQ(m_platform.FrameCount(), handed + 2) << "a texture changed in place";
}

TEST_F(RenderDeviceTest, UploadsMakeGenerationsFramesDropPixelsTheBackendHasCopied) {
    std::weak_ptr<const platform::TexturePixels> pixels;
    {
        const platform::DrawList first = FrameAt(0);
        ASSERT_TRUE(first.commands[1].pixels);
        pixels = first.commands[1].pixels;
        first.commands[1].pixels->copied = true;  // as the window's replayer marks an upload
    }
    EXPECT_EQ(FrameAt(1).commands[1].pixels, nullptr);
    EXPECT_EQ(texture.Pixels(), nullptr);
    EXPECT_TRUE(pixels.expired()) << "nothing on this side keeps the copied pixels";
    ASSERT_TRUE(texture.Upload(std::vector<uint32_t>(16, 0xFFFFFFFF)));
    EXPECT_NE(FrameAt(1).commands[1].pixels, nullptr) << "new pixels travel until copied";
    // An upload makes a new generation and refuses a wrong size.
    gfx::GpuTexture small(4, 2);
    const auto before = small.Pixels();
    EXPECT_FALSE(small.Upload(std::vector<uint32_t>(7, 0)));
    EXPECT_TRUE(small.Upload(std::vector<uint32_t>(8, 0xFF112233)));
    EXPECT_EQ(small.Generation(), 1u);
    EXPECT_EQ(before->argb[0], 0u) << "a frame in flight keeps the old snapshot";
    EXPECT_EQ(small.Pixels()->argb[7], 0xFF112233u);
}

}  // namespace
