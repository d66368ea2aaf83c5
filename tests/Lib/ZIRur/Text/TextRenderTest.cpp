#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Text/FontMgr.h"
#include "Lib/ZIRur/Text/TSFont.h"
#include "Lib/ZIRur/Text/Text.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "support/FontArchive.h"
#include "support/PlatformFixture.h"
#include "support/ScratchDir.h"

namespace {

// あ い う え お か
const std::string kA = "\x82\xA0", kI = "\x82\xA2", kU = "\x82\xA4", kE = "\x82\xA6",
                  kO = "\x82\xA8", kKa = "\x82\xA9";
const char* kGothic = "UIGothic-Bold.otf";
const int kOwner = 0;

class TextTest : public HeadlessTest {
protected:
    static void SetUpTestSuite() { s_fonts = std::make_unique<testsupport::FontArchiveScope>(); }
    static void TearDownTestSuite() { s_fonts.reset(); }
    void SetUp() override {
        ASSERT_TRUE(s_fonts->Ready()) << "needs " << testsupport::kJapaneseFontPath;
    }
    void TearDown() override { EXPECT_EQ(Fonts().FontCount(), 0u) << "a font leaked"; }
    static CFontMgr& Fonts() { return TSingleton<CFontMgr>::GetInstance(); }
    static uint32_t Texel(const CText& text, int x, int y) {
        const auto& px = *text.Texture()->Pixels();
        return px.argb[size_t(y) * px.width + size_t(x)];
    }
    static int Alpha(const CText& text, int x, int y) { return int(Texel(text, x, y) >> 24); }

    // A text in the Gothic face at `size`, with `body` laid out when given.
    static void Gothic(CText& text, const std::string& body = {}, int size = 36) {
        text.Init(&kOwner, nullptr, kGothic, size, size);
        if (!body.empty()) text.SetString(body.c_str());
    }

    static inline std::unique_ptr<testsupport::FontArchiveScope> s_fonts;
};

}  // namespace

TEST_F(TextTest, NoFontForBadRequests) {
    CFontMgr& fonts = Fonts();
    struct Request {
        const char* file;
        int size, scale;
    };
    for (Request r : {Request{kGothic, 0, 36}, Request{kGothic, 36, 0}, Request{kGothic, 36, 5000},
                      Request{"", 36, 36}, Request{nullptr, 36, 36}, Request{"absent.otf", 36, 36},
                      Request{"broken.otf", 36, 36}})
        EXPECT_EQ(fonts.GetFont(&kOwner, nullptr, r.file, r.size, r.scale), nullptr)
            << (r.file ? r.file : "null") << " " << r.size << " " << r.scale;
    // Such a text has no font, logs and draws nothing.
    CText text;
    text.Init(&kOwner, nullptr, "broken.otf", 36, 36);
    EXPECT_EQ(text.Font(), nullptr);
    dbglog::Capture log;
    text.SetString("abc");
    text.SetBox(0, 0, 10, 10, 0x11);
    EXPECT_EQ(log.Text(), "CText ::: font is null\nCText ::: font is null\n");
    EXPECT_EQ(text.Texture(), nullptr);
}

TEST_F(TextTest, HyphenIsASolidBarInTheMiddleOfTheEqualsBox) {
    CText text;
    Gothic(text);
    text.SetColorRGB(0x336699);
    text.SetString("-");
    ASSERT_NE(text.Texture(), nullptr);
    const GlyphImage* equals = text.Font()->Glyph(u'=');
    ASSERT_NE(equals, nullptr);
    ASSERT_GT(equals->rows, 4);
    // One line of exactly the "=" box: rows top..bottom of that bitmap.
    EXPECT_EQ(std::tuple(text.BlockHeight(), text.BlockWidth()),
              std::tuple(equals->rows, equals->advance));
    for (int i = 0; i < equals->rows; ++i) {
        const bool inside = i > equals->rows / 4 && i < equals->rows * 3 / 4;
        for (int j = 0; j < equals->width; ++j) {
            ASSERT_EQ(Alpha(text, equals->left + j, i), inside ? 255 : 0) << i << "," << j;
            // White coverage: the colour is applied once, by the draw.
            ASSERT_EQ(Texel(text, equals->left + j, i) & 0xFFFFFF, 0xFFFFFFu);
        }
    }
}

TEST_F(TextTest, RevealCountHidesLaterCharactersButKeepsTheirSpace) {
    const std::string body = kA + kI + kU + "\n" + kE + kO + kKa;
    CText full, partial;
    Gothic(full, body);
    Gothic(partial);
    partial.SetRevealCount(0);  // ignored
    partial.SetRevealCount(5);
    partial.SetString(body.c_str());
    ASSERT_NE(partial.Texture(), nullptr);
    EXPECT_EQ(std::tuple(partial.BlockWidth(), partial.BlockHeight()),
              std::tuple(full.BlockWidth(), full.BlockHeight()));
    const int advance = full.Font()->Glyph(u'か')->advance;
    const int lineHeight = full.BlockHeight() / 2;
    // The sixth character (か, third on line 2) is hidden; everything else matches.
    long hiddenInk = 0, fullInk = 0;
    for (int y = 0; y < full.BlockHeight(); ++y)
        for (int x = 0; x < full.BlockWidth(); ++x) {
            const bool sixth = y >= lineHeight && x >= 2 * advance;
            if (sixth) {
                hiddenInk += Alpha(partial, x, y);
                fullInk += Alpha(full, x, y);
            } else {
                ASSERT_EQ(Texel(partial, x, y), Texel(full, x, y)) << x << "," << y;
            }
        }
    EXPECT_EQ(hiddenInk, 0);
    EXPECT_GT(fullInk, 1000);
}

TEST_F(TextTest, LineHeightGetsASixthMoreWhenThereAreSeveralLines) {
    CText one, two, blank;
    Gothic(one, kA), Gothic(two, kA + "\n" + kA), Gothic(blank);
    const int h = one.BlockHeight();
    ASSERT_GT(h, 20);
    EXPECT_EQ(two.BlockHeight(), 2 * (h + h / 6));
    EXPECT_EQ(one.BlockWidth(), one.Font()->Glyph(u'あ')->advance);
    // Both lines carry the same glyph at the same place in their band.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < one.BlockWidth(); ++x)
            ASSERT_EQ(Alpha(two, x, y + h + h / 6), Alpha(one, x, y));
    // A line with no ink takes no height; lines wrap at the byte limit.
    blank.SetString((kA + "\n\n" + kA).c_str());
    EXPECT_EQ(blank.BlockHeight(), 2 * (h + h / 6));
    ASSERT_EQ(blank.SetMaxBytesPerLine(2), 1);
    blank.SetString((kA + kA).c_str());
    EXPECT_EQ(std::tuple(blank.BlockWidth(), blank.BlockHeight()),
              std::tuple(one.BlockWidth(), 2 * (h + h / 6)));
    // Textures are the next powers of two of the block.
    auto pow2 = [](int n) { return n <= 2 ? 2u : 1u << (32 - __builtin_clz(unsigned(n - 1))); };
    EXPECT_EQ((std::vector<unsigned>{one.Texture()->Width(), one.Texture()->Height(),
                                     two.Texture()->Height()}),
              (std::vector<unsigned>{pow2(one.BlockWidth()), pow2(h), pow2(two.BlockHeight())}));
}

TEST_F(TextTest, LongLinesAreCutAndHugeGlyphsClippedAtTheCanvasEdge) {
    CText text;
    std::string longLine;
    for (int i = 0; i < 60; ++i) longLine += kA;
    Gothic(text, longLine);
    const int advance = text.Font()->Glyph(u'あ')->advance;
    // Glyphs are placed while pen + size / 3 stays within 1024.
    int drawn = 0;
    for (int pen = 0; pen + 12 <= 1024; pen += advance) ++drawn;
    EXPECT_EQ(text.BlockWidth(), std::min(1024, drawn * advance));
    EXPECT_EQ(text.Texture()->Width(), 1024u);
    long lastInk = 0;  // of the last glyph placed
    for (int y = 0; y < text.BlockHeight(); ++y)
        for (int x = (drawn - 1) * advance; x < std::min(1024, drawn * advance); ++x)
            lastInk += Alpha(text, x, y);
    EXPECT_GT(lastInk, 1000);
    // Huge glyphs are clipped to the canvas.
    CText huge;
    Gothic(huge, kA + "W\ng", 1000);
    ASSERT_NE(huge.Texture(), nullptr);
    EXPECT_LE(huge.Texture()->Width(), 1024u);
    EXPECT_LE(huge.BlockHeight(), 4096);
    // The canvas is clean afterwards: a small text renders as it does on its own.
    CText small, reference;
    Gothic(small, "ab", 20), Gothic(reference, "ab", 20);
    ASSERT_EQ(small.BlockWidth(), reference.BlockWidth());
    EXPECT_EQ(small.Texture()->Pixels()->argb, reference.Texture()->Pixels()->argb);
}

TEST_F(TextTest, DrawsOneSpriteOfTheBlock) {
    auto& device = gfx::RenderDevice::Instance();
    ASSERT_TRUE(device.Create());
    device.Clear(0xFF000000);
    device.BeginScene();
    {
        CText text, empty;
        Gothic(text, kA + "\n" + kI), Gothic(empty);
        text.SetBox(512, 384, 400, 100, 0x22);
        text.SetColor(10, 300, 30);
        text.SetAlpha(128);
        text.Draw();
        empty.SetString("");
        empty.Draw();
        const auto& commands = device.Recording().commands;
        ASSERT_EQ(commands.size(), 2u);
        const auto& sprite = commands[1];
        EXPECT_EQ(sprite.src, (platform::SourceRect{0, 0, text.BlockWidth(), text.BlockHeight()}));
        EXPECT_EQ(std::tuple(sprite.x, sprite.y, sprite.scaleX, sprite.argb, sprite.textureId),
                  std::tuple(float(text.LineRecord(0).m_x), float(text.LineRecord(0).m_y), 1.0f,
                             0x800AFF1Eu, text.Texture()->Id()));
    }
    device.EndScene();
    device.Release();
}

TEST(FontMgrWithoutArchive, GivesNoFonts) {
    testsupport::ScratchDir empty;
    TSingleton<CFontMgr>::DestroyInstance();
    {
        testsupport::WorkingDirectory cwd(empty.Path());
        EXPECT_FALSE(TSingleton<CFontMgr>::GetInstance().Archive().IsOpen());
    }
    int owner = 0;
    EXPECT_EQ(TSingleton<CFontMgr>::GetInstance().GetFont(&owner, nullptr, kGothic, 36, 36),
              nullptr);
    TSingleton<CFontMgr>::DestroyInstance();
}
