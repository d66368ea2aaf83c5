#include "Lib/ZIRur/Graphics/Picture.h"

#include <gtest/gtest.h>
#include <atomic>
#include <string>
#include <thread>
#include <vector>
#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Graphics/ImageDecoder.h"
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Graphics/TextureStore.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "support/PlatformFixture.h"
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

class PictureTest : public HeadlessTest {
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

// Textures are powers of two (at least 2) holding the image upright in their bottom rows, its
// last column and its top row repeated once beyond it, the rest clear.
TEST_F(PictureTest, TexturesPadToPowersOfTwoWithTheImageInTheBottomRows) {
    struct Case {
        int width, height;
        bool topDown;
        int textureWidth, textureHeight;
    };
    for (Case c : {Case{100, 50, false, 128, 64}, Case{1, 1, false, 2, 2}, Case{2, 2, true, 2, 2},
                   Case{5, 3, true, 8, 4}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        CTIGroup& group = Archive({{"pic.tga", BuildTga(c.width, c.height, Pattern, c.topDown)}});
        CxPicture picture;
        ASSERT_EQ(picture.Load(&group, "PIC.TGA"), 1);
        const CTexture& t = *picture.Texture();
        ASSERT_EQ(
            (std::vector<int>{picture.m_width, picture.m_height, t.TextureWidth(),
                              t.TextureHeight(), int(t.Gpu()->Width())}),
            (std::vector<int>{c.width, c.height, c.textureWidth, c.textureHeight, c.textureWidth}));
        const int top = c.textureHeight - c.height;
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x)
                ASSERT_EQ(Texel(t, x, top + y), ToArgb(Pattern(x, y))) << x << "," << y;
            for (int x = c.width; x < std::min(c.width + 2, c.textureWidth); ++x)
                EXPECT_EQ(Texel(t, x, top + y), x == c.width ? ToArgb(Pattern(x - 1, y)) : 0u);
        }
        for (int x = 0; top > 0 && x < std::min(c.width + 1, c.textureWidth); ++x)
            EXPECT_EQ(Texel(t, x, top - 1), Texel(t, x, top)) << x;
        EXPECT_TRUE(top < 2 || Texel(t, 0, top - 2) == 0u);
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
        EXPECT_TRUE(!second.IsLoaded() && second.Texture() == nullptr);
        EXPECT_EQ(store.RefCount("shared.tga"), 1);
    }
    EXPECT_EQ(store.Count(), 0u);
    // Once released, garbage under that name no longer decodes.
    CxPicture late;
    EXPECT_EQ(late.Load(&otherGroup, "shared.tga"), 0);
    EXPECT_EQ(late.Load(nullptr, "x.tga"), 0);
}

TEST_F(PictureTest, TypeComesFromTheName) {
    std::vector<int> types;
    for (const char* name : {"photo.TIF", "a.tif.tga", "E1_number_3.TGA", "photo.jpg", "noext"})
        types.push_back(gfx::ImageTypeFromName(name));
    EXPECT_EQ(types, (std::vector<int>{0x042E, 0x042E, 0x042D, 0x0425, 0x0425}));
    // Targa bytes under a TIFF or JPEG name go to that decoder and fail.
    auto tga = BuildTga(4, 4, Pattern, false);
    CTIGroup& group = Archive({{"a.TIF", tga}, {"a.jpg", tga}, {"a.Tga", tga}});
    CxPicture tif, jpg, targa;
    EXPECT_EQ((std::vector<int>{tif.Load(&group, "a.TIF"), jpg.Load(&group, "a.jpg"),
                                targa.Load(&group, "a.Tga")}),
              (std::vector<int>{0, 0, 1}));
}

TEST_F(PictureTest, LoadsFromFileAndFromBytesUnderTheOwnName) {
    testsupport::ScratchDir dir;
    ASSERT_TRUE(testsupport::WriteBytes(dir / "Pic.TGA", BuildTga(3, 2, Pattern, true)));
    CxPicture fromFile;
    ASSERT_EQ(fromFile.LoadFile((dir / "Pic.TGA").c_str()), 1);
    EXPECT_EQ(fromFile.m_width, 3);
    EXPECT_EQ(Texel(*fromFile.Texture(), 2, 1), ToArgb(Pattern(2, 1)));
    dbglog::Capture log;
    CxPicture missing;
    EXPECT_EQ(missing.LoadFile((dir / "none.tga").c_str()), 0);
    EXPECT_EQ(log.Text(), "Failed to load file: " + (dir / "none.tga") + "\n");
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

// Where and in what colour a picture lands, the screens' reference shots show; a zero scale
// (no screen sets one) draws nothing.
TEST_F(PictureTest, NothingIsDrawnAtScaleZero) {
    auto& device = gfx::RenderDevice::Instance();
    ASSERT_TRUE(device.Create());
    device.BeginScene();
    CxPicture picture;
    ASSERT_EQ(picture.Load(&Archive({{"btn.tga", BuildTga(4, 4, Pattern, false)}}), "btn.tga"), 1);
    for (auto [sx, sy] : {std::pair(0.f, 1.f), {1.f, 0.f}, {1.f, 1.f}}) {
        picture.SetScale(sx, sy);
        picture.Draw();
    }
    const size_t drawn = device.Recording().commands.size();
    device.EndScene();
    device.Release();
    EXPECT_EQ(drawn, 1u);
}

TEST_F(PictureTest, ColorKeyClearsMatchingPixelsOnly) {
    CTexture texture("key.tga");
    auto pixel = [](int x, int) { return x == 0 ? Rgba{255, 0, 255, 77} : Rgba{1, 2, 3, 77}; };
    auto tga = BuildTga(2, 1, pixel, false);
    ASSERT_TRUE(texture.CreateFromData(gfx::kImageTypeTarga, tga.data(), tga.size()));
    texture.ApplyColorKey(255, 0, 255);
    EXPECT_EQ(std::tuple(Texel(texture, 0, 1), Texel(texture, 1, 1)),
              std::tuple(0x00FF00FFu, 0xFF010203u));
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
