#include "Lib/ZIRur/Graphics/Picture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Graphics/ImageDecoder.h"
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Graphics/TextureStore.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessPlatform.h"
#include "support/ScratchDir.h"
#include "support/T2gWriter.h"
#include "support/TgaWriter.h"

using testsupport::BuildTga;
using testsupport::Rgba;

namespace {

// Distinct colour per pixel, so any misplaced row or column shows.
Rgba Pattern(int x, int y) {
    return Rgba{uint8_t(x * 2 + 1), uint8_t(y * 3 + 2), uint8_t((x + y) & 0xFF), uint8_t(200 - y)};
}

uint32_t ToArgb(Rgba p) {
    return uint32_t(p.a) << 24 | uint32_t(p.r) << 16 | uint32_t(p.g) << 8 | p.b;
}

uint32_t Texel(const CTexture& t, int x, int row) {
    return t.Gpu()->Pixels()->argb[size_t(row) * size_t(t.TextureWidth()) + size_t(x)];
}

class PictureTest : public ::testing::Test {
protected:
    void TearDown() override {
        ASSERT_EQ(TSingleton<CTextureStore>::GetInstance().Count(), 0u) << "a texture leaked";
    }
    CTIGroup& Archive(const std::vector<testsupport::T2gEntrySpec>& entries) {
        m_bytes = testsupport::BuildT2g(entries);
        EXPECT_TRUE(m_group.OpenProcess("pictures", m_bytes));
        return m_group;
    }
    std::vector<uint8_t> m_bytes;
    CTIGroup m_group;
};

}  // namespace

// --- Textures ---

TEST_F(PictureTest, PadsToPowerOfTwoRepeatingLastColumnAndRowImageInBottomRows) {
    CTIGroup& group = Archive({{"wide.tga", BuildTga(100, 50, Pattern, false)}});
    CxPicture picture;
    ASSERT_EQ(picture.Load(&group, "WIDE.TGA"), 1);
    ASSERT_TRUE(picture.IsLoaded());
    EXPECT_EQ(picture.m_width, 100);
    EXPECT_EQ(picture.m_height, 50);
    const CTexture& t = *picture.Texture();
    ASSERT_EQ(t.TextureWidth(), 128);
    ASSERT_EQ(t.TextureHeight(), 64);
    ASSERT_EQ(t.Gpu()->Width(), 128u);
    ASSERT_EQ(t.Gpu()->Height(), 64u);
    // Upright in the bottom 50 rows: image row y is texture row 14 + y.
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 100; ++x) ASSERT_EQ(Texel(t, x, 14 + y), ToArgb(Pattern(x, y)));
        EXPECT_EQ(Texel(t, 100, 14 + y), ToArgb(Pattern(99, y))) << y;
        EXPECT_EQ(Texel(t, 101, 14 + y), 0u);
    }
    // The row past the image's last buffer row (its top row) is repeated once.
    for (int x = 0; x < 101; ++x) EXPECT_EQ(Texel(t, x, 13), Texel(t, x, 14));
    EXPECT_EQ(Texel(t, 0, 12), 0u);
    // The repeated row carries the repeated column too.
    EXPECT_EQ(Texel(t, 100, 13), ToArgb(Pattern(99, 0)));
}

TEST_F(PictureTest, SmallImagesGetTwoByTwo) {
    CTIGroup& group = Archive(
        {{"one.tga", BuildTga(1, 1, Pattern, false)}, {"two.tga", BuildTga(2, 2, Pattern, true)}});
    CxPicture one, two;
    ASSERT_EQ(one.Load(&group, "one.tga"), 1);
    ASSERT_EQ(two.Load(&group, "two.tga"), 1);
    EXPECT_EQ(one.Texture()->TextureWidth(), 2);
    EXPECT_EQ(one.Texture()->TextureHeight(), 2);
    // The single pixel fills the texture (repeated right, then the row repeated above).
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Texel(*one.Texture(), i % 2, i / 2), ToArgb(Pattern(0, 0)));
    EXPECT_EQ(two.Texture()->TextureWidth(), 2);
    EXPECT_EQ(Texel(*two.Texture(), 1, 0), ToArgb(Pattern(1, 0)));
    EXPECT_EQ(Texel(*two.Texture(), 0, 1), ToArgb(Pattern(0, 1)));
}

TEST_F(PictureTest, BothTargaOriginsComeOutUpright) {
    CTIGroup& group = Archive(
        {{"up.tga", BuildTga(5, 3, Pattern, false)}, {"down.tga", BuildTga(5, 3, Pattern, true)}});
    CxPicture bottomUp, topDown;
    ASSERT_EQ(bottomUp.Load(&group, "up.tga"), 1);
    ASSERT_EQ(topDown.Load(&group, "down.tga"), 1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            // 8 x 4 texture: the image takes rows 1..3.
            EXPECT_EQ(Texel(*bottomUp.Texture(), x, 1 + y), ToArgb(Pattern(x, y)));
            EXPECT_EQ(Texel(*topDown.Texture(), x, 1 + y), ToArgb(Pattern(x, y)));
        }
}

TEST_F(PictureTest, SameNameDecodesOnceAndIsShared) {
    CTIGroup& group = Archive({{"Shared.TGA", BuildTga(4, 4, Pattern, false)}});
    // A second archive holds garbage under the same name: it is never decoded.
    auto other = testsupport::BuildT2g({{"shared.tga", std::vector<uint8_t>(40, 0xEE)}});
    CTIGroup otherGroup;
    ASSERT_TRUE(otherGroup.OpenProcess("other", other));
    auto& store = TSingleton<CTextureStore>::GetInstance();
    {
        CxPicture first, second;
        ASSERT_EQ(first.Load(&group, "Shared.TGA"), 1);
        ASSERT_EQ(second.Load(&otherGroup, "SHARED.tga"), 1);
        EXPECT_EQ(first.Texture(), second.Texture());
        EXPECT_EQ(store.RefCount("shared.tga"), 2);
        // Reloading releases the old slot.
        ASSERT_EQ(second.Load(&group, "missing.tga"), 0);
        EXPECT_FALSE(second.IsLoaded());
        EXPECT_EQ(store.RefCount("shared.tga"), 1);
    }
    EXPECT_EQ(store.Count(), 0u);
    // Once released, garbage under that name no longer decodes.
    CxPicture late;
    EXPECT_EQ(late.Load(&otherGroup, "shared.tga"), 0);
}

TEST_F(PictureTest, TypeComesFromTheName) {
    EXPECT_EQ(gfx::ImageTypeFromName("photo.TIF"), 0x042E);
    EXPECT_EQ(gfx::ImageTypeFromName("a.tif.tga"), 0x042E);
    EXPECT_EQ(gfx::ImageTypeFromName("E1_number_3.TGA"), 0x042D);
    EXPECT_EQ(gfx::ImageTypeFromName("photo.jpg"), 0x0425);
    EXPECT_EQ(gfx::ImageTypeFromName("noext"), 0x0425);
    // Targa bytes under a TIFF or JPEG name go to that decoder and fail.
    auto tga = BuildTga(4, 4, Pattern, false);
    CTIGroup& group = Archive({{"a.TIF", tga}, {"a.jpg", tga}, {"a.Tga", tga}});
    CxPicture tif, jpg, targa;
    EXPECT_EQ(tif.Load(&group, "a.TIF"), 0);
    EXPECT_EQ(jpg.Load(&group, "a.jpg"), 0);
    EXPECT_EQ(targa.Load(&group, "a.Tga"), 1);
}

TEST_F(PictureTest, BadImagesLeaveThePictureUnloaded) {
    auto tooWide = BuildTga(4097, 1, Pattern, false);
    auto zero = BuildTga(0, 5, Pattern, false);
    auto truncated = BuildTga(8, 8, Pattern, false);
    truncated.resize(40);
    CTIGroup& group = Archive({{"wide.tga", tooWide},
                               {"zero.tga", zero},
                               {"cut.tga", truncated},
                               {"junk.tga", std::vector<uint8_t>(7, 1)}});
    for (const char* name : {"wide.tga", "zero.tga", "cut.tga", "junk.tga", "absent.tga"}) {
        CxPicture picture;
        EXPECT_EQ(picture.Load(&group, name), 0) << name;
        EXPECT_FALSE(picture.IsLoaded());
        EXPECT_EQ(picture.Texture(), nullptr);
    }
    // 4096 is still fine.
    gfx::DecodedImage image;
    auto edge = BuildTga(4096, 1, Pattern, true);
    ASSERT_TRUE(gfx::DecodeImage(gfx::kImageTypeTarga, edge, image));
    EXPECT_EQ(image.width, 4096);
    CxPicture none;
    EXPECT_EQ(none.Load(nullptr, "x.tga"), 0);
}

TEST_F(PictureTest, LoadsFromFileAndLogsFailures) {
    testsupport::ScratchDir dir;
    ASSERT_TRUE(testsupport::WriteBytes(dir / "Pic.TGA", BuildTga(3, 2, Pattern, true)));
    CxPicture picture;
    ASSERT_EQ(picture.LoadFile((dir / "Pic.TGA").c_str()), 1);
    EXPECT_EQ(picture.m_width, 3);
    EXPECT_EQ(Texel(*picture.Texture(), 2, 1), ToArgb(Pattern(2, 1)));
    dbglog::Capture log;
    CxPicture missing;
    EXPECT_EQ(missing.LoadFile((dir / "none.tga").c_str()), 0);
    EXPECT_EQ(log.Text(), "Failed to load file: " + (dir / "none.tga") + "\n");
}

TEST_F(PictureTest, LoadDataSharesUnderTheOwnName) {
    CTIGroup& group = Archive({{"Anim.tga", BuildTga(2, 2, Pattern, false)}});
    CxPicture picture;
    ASSERT_EQ(picture.Load(&group, "Anim.tga"), 1);
    auto bytes = BuildTga(4, 4, Pattern, false);
    // The own name "Anim.tga" (case kept) is a new key: decoded from the bytes.
    ASSERT_EQ(picture.LoadData(bytes.data(), bytes.size()), 1);
    EXPECT_EQ(picture.m_width, 4);
    CxPicture again;
    ASSERT_EQ(again.Load(&group, "Anim.tga"), 1);
    EXPECT_NE(again.Texture(), picture.Texture());
}

// --- Drawing ---

class PictureDrawTest : public PictureTest {
protected:
    void SetUp() override {
        platform::SetPlatform(&m_platform);
        ASSERT_TRUE(gfx::RenderDevice::Instance().Create());
        gfx::RenderDevice::Instance().Clear(0xFF000000);
        gfx::RenderDevice::Instance().BeginScene();
    }
    void TearDown() override {
        gfx::RenderDevice::Instance().EndScene();
        gfx::RenderDevice::Instance().Release();
        platform::SetPlatform(nullptr);
        PictureTest::TearDown();
    }
    std::vector<platform::DrawCommand> Sprites() const {
        std::vector<platform::DrawCommand> out;
        for (const auto& c : gfx::RenderDevice::Instance().Recording().commands)
            if (c.kind == platform::DrawCommand::Kind::Sprite) out.push_back(c);
        return out;
    }
    platform::HeadlessPlatform m_platform;
};

TEST_F(PictureDrawTest, AnchorsAndScaleZero) {
    CTIGroup& group = Archive({{"btn.tga", BuildTga(100, 50, Pattern, false)}});
    CxPicture picture;
    ASSERT_EQ(picture.Load(&group, "btn.tga"), 1);
    picture.SetBox(300, 200, -1, -1, 0x22);
    picture.SetColor(300, 10, -1);
    picture.SetAlpha(128);
    picture.Draw();
    picture.SetAlign(0x33);
    picture.SetScale(2.0f, 1.0f);
    picture.Draw();
    picture.SetAlign(0x11);
    picture.Draw();
    picture.SetScale(0.0f, 1.0f);
    picture.Draw();
    picture.SetScale(1.0f, 0.0f);
    picture.Draw();
    auto sprites = Sprites();
    ASSERT_EQ(sprites.size(), 3u);
    EXPECT_EQ(sprites[0].x, 250.0f);
    EXPECT_EQ(sprites[0].y, 175.0f);
    EXPECT_EQ(sprites[0].src, (platform::SourceRect{0, 14, 100, 64}));
    EXPECT_EQ(sprites[0].argb, 0x80FF0AFFu);
    EXPECT_EQ(sprites[0].scaleX, 1.0f);
    EXPECT_EQ(sprites[1].x, 100.0f);  // 300 - 100 * 2
    EXPECT_EQ(sprites[1].y, 150.0f);
    EXPECT_EQ(sprites[2].x, 300.0f);
    EXPECT_EQ(sprites[2].y, 200.0f);
    CxPicture unloaded;
    unloaded.Draw();
    EXPECT_EQ(Sprites().size(), 3u);
}

// Writes a decoded Targa to a PNG under the build folder for a person to look at.
TEST_F(PictureTest, WritesADecodedTargaForInspection) {
    auto tga = BuildTga(
        120, 80,
        [](int x, int y) {
            const bool ring = (x - 60) * (x - 60) + (y - 30) * (y - 30) < 400;
            return Rgba{uint8_t(ring ? 230 : x * 2), uint8_t(ring ? 40 : 90), uint8_t(y * 3), 255};
        },
        true);
    CTIGroup& group = Archive({{"look.tga", tga}});
    CxPicture picture;
    ASSERT_EQ(picture.Load(&group, "look.tga"), 1);
    const auto& px = *picture.Texture()->Gpu()->Pixels();
    // The ring sits in the upper part of the image, so in the upper part of the bottom rows.
    EXPECT_EQ(px.argb[size_t(128 - 80 + 30) * 128 + 60] & 0xFFFFFF, 0xE62800u | (30 * 3));
    const std::string dir = std::string(STONEWELL_BINARY_DIR) + "/test-output";
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(
        testsupport::WritePng(dir + "/decoded_targa.png", int(px.width), int(px.height), px.argb));
}

TEST_F(PictureTest, RunLengthTargaDecodesAndTruncatedOneIsRefused) {
    // Type 10, 2 x 2, 32-bit, top-down: a run of two red pixels, then a raw packet of two.
    std::vector<uint8_t> rle = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 32, 0x28};
    rle.insert(rle.end(), {0x81, 0, 0, 255, 255});                  // run: 2 x red
    rle.insert(rle.end(), {0x01, 255, 0, 0, 255, 0, 255, 0, 128});  // raw: blue, green
    gfx::DecodedImage image;
    ASSERT_TRUE(gfx::DecodeImage(gfx::kImageTypeTarga, rle, image));
    ASSERT_EQ(image.width, 2);
    // Bottom-up rows: row 0 is the image's bottom row (blue, green).
    EXPECT_EQ(std::vector<uint8_t>(image.rgba.get(), image.rgba.get() + 8),
              (std::vector<uint8_t>{0, 0, 255, 255, 0, 255, 0, 128}));
    EXPECT_EQ(image.rgba[8], 255);
    rle.pop_back();
    EXPECT_FALSE(gfx::DecodeImage(gfx::kImageTypeTarga, rle, image));
    EXPECT_EQ(image.width, 0);
}

TEST_F(PictureTest, ColorKeyClearsMatchingPixelsOnly) {
    CTexture texture("key.tga");
    auto tga = BuildTga(
        2, 1,
        [](int x, int) {
            return x == 0 ? Rgba{255, 0, 255, 77} : Rgba{1, 2, 3, 77};
        },
        false);
    ASSERT_TRUE(texture.CreateFromData(gfx::kImageTypeTarga, tga.data(), tga.size()));
    texture.ApplyColorKey(255, 0, 255);
    EXPECT_EQ(Texel(texture, 0, 1), 0x00FF00FFu);
    EXPECT_EQ(Texel(texture, 1, 1), 0xFF010203u);
}

TEST_F(PictureTest, DecodesFromSeveralThreadsAtOnce) {
    const auto bottomUp = BuildTga(33, 17, Pattern, false);
    const auto topDown = BuildTga(33, 17, Pattern, true);
    std::vector<std::thread> threads;
    std::atomic<int> mismatches{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 25; ++i) {
                gfx::DecodedImage image;
                const auto& bytes = (t + i) % 2 ? bottomUp : topDown;
                if (!gfx::DecodeImage(gfx::kImageTypeTarga, bytes, image) || image.width != 33 ||
                    image.rgba[0] != Pattern(0, 16).r || image.rgba[3] != Pattern(0, 16).a)
                    ++mismatches;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(mismatches.load(), 0);
}
