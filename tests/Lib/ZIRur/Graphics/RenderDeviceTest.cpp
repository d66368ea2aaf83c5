#include <gtest/gtest.h>

#include "Lib/ZIRur/Graphics/GObj.h"
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Util/DebugLog.h"
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

    gfx::RenderDevice& device = gfx::RenderDevice::Instance();
};

TEST_F(RenderDeviceTest, SpriteLandsOnItsLogicalPixelFromTheTexturesBottomRows) {
    gfx::GpuTexture texture(128, 64);
    auto frame = Frame([&] { gfx::DrawSprite(&texture, 100, 50, 10, 20, 255, 255, 255, 128); });
    ASSERT_EQ(frame.commands.size(), 2u);
    EXPECT_EQ(frame.commands[0].kind, platform::DrawCommand::Kind::Clear);
    EXPECT_EQ(frame.commands[0].argb, 0xFF000000u);
    const auto& sprite = frame.commands[1];
    EXPECT_EQ(sprite.x, 10.0f);
    EXPECT_EQ(sprite.y, 20.0f);
    EXPECT_EQ(sprite.src, (platform::SourceRect{0, 14, 100, 64}));
    EXPECT_EQ(sprite.scaleX, 1.0f);
    EXPECT_EQ(sprite.argb, 0x80FFFFFFu);
    EXPECT_EQ(sprite.textureId, texture.Id());
}

TEST_F(RenderDeviceTest, NothingWithoutATextureOrOutsideAScene) {
    auto frame = Frame([] { gfx::DrawSprite(nullptr, 1, 1, 0, 0, 255, 255, 255, 255); });
    EXPECT_EQ(frame.commands.size(), 1u);
    gfx::GpuTexture texture(2, 2);
    gfx::DrawSprite(&texture, 1, 1, 0, 0, 255, 255, 255, 255);
    EXPECT_TRUE(device.Recording().commands.empty());
}

TEST_F(RenderDeviceTest, UploadMakesANewGenerationAndRefusesWrongSizes) {
    gfx::GpuTexture texture(4, 2);
    const auto before = texture.Pixels();
    EXPECT_FALSE(texture.Upload(std::vector<uint32_t>(7, 0)));
    EXPECT_TRUE(texture.Upload(std::vector<uint32_t>(8, 0xFF112233)));
    EXPECT_EQ(texture.Generation(), 1u);
    EXPECT_EQ(before->argb[0], 0u) << "a frame in flight keeps the old snapshot";
    EXPECT_EQ(texture.Pixels()->argb[7], 0xFF112233u);
}

TEST_F(RenderDeviceTest, OnlyFramesThatChangeSomethingAreHandedOver) {
    gfx::GpuTexture texture(4, 4);
    auto at = [&](int x) {
        return [&texture, x] { gfx::DrawSprite(&texture, 4, 4, x, 0, 255, 255, 255, 255); };
    };
    Frame(at(0));
    const uint64_t handed = m_platform.FrameCount();
    const uint64_t presented = device.PresentedFrames();
    Frame(at(0));
    EXPECT_EQ(m_platform.FrameCount(), handed) << "the same frame again is kept back";
    EXPECT_EQ(device.PresentedFrames(), presented + 1);
    Frame(at(1));
    EXPECT_EQ(m_platform.FrameCount(), handed + 1) << "a sprite moved";
    ASSERT_TRUE(texture.Upload(std::vector<uint32_t>(16, 0xFFFFFFFF)));
    Frame(at(1));
    EXPECT_EQ(m_platform.FrameCount(), handed + 2) << "a texture changed in place";
}

TEST_F(RenderDeviceTest, FramesStopCarryingPixelsTheBackendHasCopied) {
    gfx::GpuTexture texture(4, 4);
    auto at = [&](int x) {
        return [&texture, x] { gfx::DrawSprite(&texture, 4, 4, x, 0, 255, 255, 255, 255); };
    };
    std::weak_ptr<const platform::TexturePixels> pixels;
    {
        const platform::DrawList first = Frame(at(0));
        ASSERT_TRUE(first.commands[1].pixels);
        pixels = first.commands[1].pixels;
        first.commands[1].pixels->copied = true;  // as the window's replayer marks an upload
    }
    const platform::DrawList second = Frame(at(1));
    EXPECT_EQ(second.commands[1].pixels, nullptr);
    EXPECT_EQ(texture.Pixels(), nullptr);
    EXPECT_TRUE(pixels.expired()) << "nothing on this side keeps the copied pixels";
    ASSERT_TRUE(texture.Upload(std::vector<uint32_t>(16, 0xFFFFFFFF)));
    EXPECT_NE(Frame(at(1)).commands[1].pixels, nullptr) << "new pixels travel until copied";
}

TEST(ColorReadOut, ComponentsOutsideTheByteRangeCountAs255) {
    EXPECT_EQ(gfx::PackColor(300, -1, 0, 255), 0xFFFFFF00u);
    EXPECT_EQ(gfx::PackColor(1, 2, 3, 4), 0x04010203u);
    CGObj obj;
    obj.SetColor(300, 10, -1);
    obj.SetAlpha(128);
    EXPECT_EQ(obj.ColorARGB(), 0x80FF0AFFu);
}

TEST(GObj, NewObjectsAndLayoutPlacement) {
    CGObj obj;
    EXPECT_EQ(obj.ColorARGB(), 0xFFFFFFFFu);
    EXPECT_EQ(obj.m_align, 0x22);
    obj.SetRectLayout(-12, 84, 100, -1, 0x11);
    EXPECT_EQ(obj.m_x, 500);
    EXPECT_EQ(obj.m_y, 300);
    EXPECT_EQ(obj.m_width, 100);
    EXPECT_EQ(obj.m_height, 0) << "-1 leaves the height";
    EXPECT_EQ(obj.m_align, 0x11);
    dbglog::Capture log;
    obj.SetScale(1.5f, 2.0f);
    obj.PrintProp();
    EXPECT_EQ(log.Text(), "pos(500, 300) size(100, 0) scale(1.5, 2.0) alpha(255)\n");
}

}  // namespace
