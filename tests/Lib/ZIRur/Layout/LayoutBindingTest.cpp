#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "../../lyt/LytFixture.h"
#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Graphics/Picture.h"
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Layout/ts_locate.h"
#include "Lib/ZIRur/Text/TSFont.h"
#include "Lib/ZIRur/Text/Text.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "Lib/ZIRur/Wnd/TSLytWnd.h"
#include "Lib/lyt/pane.h"
#include "support/FontArchive.h"
#include "support/PlatformFixture.h"
#include "support/T2gWriter.h"
#include "support/TgaWriter.h"

namespace {

using lytfix::FileWriter;

// "pic_a" on (0, 0, 100, 50); "grp" moved by (100, -100) holding "pic_b" 40 x 20; "txt_title".
std::vector<uint8_t> ScreenLayout() {
    FileWriter f;
    lytfix::ScreenStart(f);
    lytfix::Picture(f, lytfix::OnScreen("pic_a", 0, 0, 100, 50), 0);
    lytfix::Pane(f, {.name = "grp", .tx = 100, .ty = -100});
    f.Marker("chbg");
    lytfix::Picture(f, {.name = "pic_b", .width = 40, .height = 20}, 0);
    f.Marker("chen");
    lytfix::TextBox(f, {.name = "txt_title", .width = 200, .height = 40}, 0, 64, u"abc");
    f.Marker("chen");
    return f.Finish();
}

std::vector<uint8_t> RedTga(int width, int height) {
    return testsupport::BuildTga(
        width, height, [](int, int) { return testsupport::Rgba{255}; }, false);
}

class LayoutBindingTest : public HeadlessTest {
protected:
    void SetUp() override {
        m_bytes = testsupport::BuildT2g({
            {"screen.lyt", ScreenLayout()},
            {"bind_red.tga", RedTga(100, 50)},
            {"bind_blue.tga", RedTga(100, 50)},
            {"bind_small.tga", RedTga(40, 20)},
            // pic_b slides from x 0 to 40 over frames 0..4 (5 frames, no loop).
            {"slide.anm",
             lytfix::Animation(
                 {.frames = 5,
                  .contents = {{"pic_b", 0, {{"APSR", {{0, 0, {{0, 0}, {4, 40}}}}}}}}})},
        });
        ASSERT_TRUE(m_group.OpenProcess("bind.t2g", m_bytes));
        ASSERT_EQ(m_layout.Load(&m_group, "screen", nullptr), 1);
    }
    void TearDown() override { TSingleton<CTSLytMgr>::DestroyInstance(); }
    // The rectangle LocateShownPane finds on `wnd`, or an empty one.
    static TSRect Located(CTSLytWnd* wnd, const char* pane, std::string* image = nullptr) {
        TSRect rect{};
        return LocateShownPane(wnd, pane, rect, image) ? rect : TSRect{};
    }
    static void UpdateAll() { TSingleton<CTSLytMgr>::GetInstance().UpdateAll(); }

    std::vector<uint8_t> m_bytes;
    CTIGroup m_group;
    dbglog::Capture m_log;
    CTSLayout m_layout;
};

TEST_F(LayoutBindingTest, LoadingFailsWithLogLinesAndALoadedLayoutIsNotRebuilt) {
    CTSLayout layout;
    EXPECT_EQ(layout.Load(nullptr, "screen", nullptr), 0);
    EXPECT_EQ(layout.Load(&m_group, "nothing", nullptr), 0);
    EXPECT_NE(m_log.Text().find("CTSLayout::Load() : pT2g->GetT2IBuffer() is NULL. nothing.lyt\n"),
              std::string::npos);
    EXPECT_FALSE(layout.IsLoaded());
    EXPECT_EQ(layout.IsExistPane("pic_a"), 0);
    // Building converts the file; the archive's bytes must stay usable for a second screen.
    ASSERT_EQ(layout.Load(&m_group, "screen", nullptr), 1);
    EXPECT_EQ(layout.Name(), "screen.lyt");
    EXPECT_EQ(layout.IsExistPane("pic_b"), 1);
    // A loaded layout refuses another build instead of pulling its file from under the tree.
    EXPECT_EQ(m_layout.Load(&m_group, "screen", nullptr), 0);
    EXPECT_EQ(m_layout.IsExistPane("txt_title"), 1);
}

TEST_F(LayoutBindingTest, ResourceTablesSkipRowsWithNullFieldsOrMissingPanes) {
    const TSPictureResource pictures[] = {{"pic_a", "bind_red.tga", &m_group},
                                          {"pic_b", "bind_small.tga", nullptr},
                                          {"pic_b", "bind_small.tga", &m_group},
                                          {"absent", "bind_small.tga", &m_group}};
    m_layout.LoadResource(pictures, 4);
    EXPECT_EQ(m_layout.PictureCount(), 2u);
    auto* a = dynamic_cast<CxPicture*>(m_layout.GetPaneObject("pic_a"));
    auto* b = dynamic_cast<CxPicture*>(m_layout.GetPaneObject("pic_b"));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->Name() + b->Name(), "bind_red.tgabind_small.tga");
    EXPECT_EQ(m_layout.GetPaneObject("grp"), nullptr);
    const TSTextResource texts[] = {
        {"txt_title", nullptr, nullptr, 36, "", &m_group},
        {"txt_title", nullptr, "UIRounded-DemiBold.otf", 0, "", &m_group},
        {nullptr, nullptr, "UIRounded-DemiBold.otf", 36, "", &m_group},
    };
    m_layout.LoadResource(texts, 3);
    EXPECT_EQ(m_layout.TextCount(), 0u);
    testsupport::FontArchiveScope fonts;
    ASSERT_TRUE(fonts.Ready()) << "needs " << testsupport::kJapaneseFontPath;
    const TSTextResource fonted[] = {
        {"txt_title", nullptr, "UIGothic-Bold.otf", 36, "\x82\xA9", &m_group},
        {"txt_none", nullptr, "UIGothic-Bold.otf", 36, "", &m_group},
    };
    m_layout.LoadResource(fonted, 2);
    EXPECT_EQ(m_layout.TextCount(), 1u);
    auto* text = dynamic_cast<CText*>(m_layout.GetPaneObject("txt_title"));
    ASSERT_NE(text, nullptr);
    EXPECT_NE(text->Font(), nullptr);
    EXPECT_EQ(text->String(), "\x82\xA9");
}

TEST_F(LayoutBindingTest, FrameUpdatePlacesEveryRegisteredLayoutWhereLocatingFindsIt) {
    CTSLytWnd screen, dialog;
    CTSLayout below, other;
    ASSERT_EQ(below.Load(&m_group, "screen", &screen), 1);
    ASSERT_EQ(other.Load(&m_group, "screen", &dialog), 1);
    auto& manager = TSingleton<CTSLytMgr>::GetInstance();
    {
        CTSLayout above;
        ASSERT_EQ(above.Load(&m_group, "screen", &screen), 1);
        EXPECT_EQ(manager.Count(), 4u);
        above.GetPane("pic_a").MoveCenterTo(TSPoint{300, 300});
        other.GetPane("pic_a").MoveCenterTo(TSPoint{700, 500});
        CTSLytWnd().UpdateLayouts();  // the frame hook updates them all
        // A window's own layouts only, the latest first.
        EXPECT_EQ(Located(&screen, "pic_a"), (TSRect{250, 275, 350, 325}));
        EXPECT_EQ(Located(&dialog, "pic_a"), (TSRect{650, 475, 750, 525}));
        // A hidden pane in the later layout lets the one below it be found.
        above.GetPane("pic_a").SetVisible(false);
        EXPECT_EQ(Located(&screen, "pic_a"), (TSRect{0, 0, 100, 50}));
    }
    EXPECT_EQ(manager.Count(), 3u) << "destroying a layout unregisters it";
    // Centred 40 x 20 at the group's offset (100, -100) from the screen centre.
    EXPECT_EQ(Located(&screen, "pic_b"), (TSRect{592, 474, 632, 494}));
    // Scaling shows only after the next frame update; the rectangle follows what is drawn.
    below.GetPane("grp").SetScale(2, 2);
    EXPECT_EQ(Located(&screen, "pic_b"), (TSRect{592, 474, 632, 494}));
    UpdateAll();
    EXPECT_EQ(Located(&screen, "pic_b"), (TSRect{572, 464, 652, 504}));
    // A hidden ancestor hides the pane; unknown names and windows without layouts find nothing.
    below.GetPane("grp").SetVisible(false);
    EXPECT_EQ(Located(&screen, "pic_b"), TSRect{});
    EXPECT_EQ(Located(&screen, "pic_a"), (TSRect{0, 0, 100, 50}));
    EXPECT_EQ(Located(&screen, "pic_c"), TSRect{});
    CTSLytWnd lonely;
    EXPECT_EQ(Located(&lonely, "pic_a"), TSRect{});
}

// A switched look reuses the pane's picture, so a list scrolled for minutes holds no more.
TEST_F(LayoutBindingTest, TextureSwitchReusesThePicture) {
    CTSPicturePane a = m_layout.GetPicturePane("pic_a");
    EXPECT_EQ(a.SetTexture(&m_group, "bind_red.tga"), 1);
    CGObj* first = m_layout.GetPaneObject("pic_a");
    EXPECT_EQ(a.SetTexture(&m_group, "bind_blue.tga"), 1);
    EXPECT_EQ(std::tuple(m_layout.PictureCount(), m_layout.GetPaneObject("pic_a")),
              std::tuple(1u, first));
    EXPECT_EQ(static_cast<CxPicture*>(first)->Name(), "bind_blue.tga");
}

TEST_F(LayoutBindingTest, PicturePaneDrawsItsSpriteAtThePaneRectangle) {
    const TSPictureResource rows[] = {{"pic_a", "bind_red.tga", &m_group},
                                      {"pic_b", "bind_small.tga", &m_group}};
    m_layout.LoadResource(rows, 2);
    m_layout.GetPane("pic_a").MoveCenterTo(TSPoint{200, 200});
    m_layout.GetPane("pic_b").SetAlpha(128);
    auto& device = gfx::RenderDevice::Instance();
    // The sprites of one frame; `draw` runs after the layout's own draw.
    auto sprites = [&](const std::function<void()>& draw) {
        EXPECT_TRUE(device.Create());
        device.Clear(0xFF000000);
        device.BeginScene();
        UpdateAll();
        m_layout.Draw();
        draw();
        device.EndScene();
        std::vector<platform::DrawCommand> out;
        for (const auto& c : device.Recording().commands)
            if (c.kind == platform::DrawCommand::Kind::Sprite) out.push_back(c);
        device.Release();
        return out;
    };
    const auto drawn = sprites([] {});
    ASSERT_EQ(drawn.size(), 2u);
    const float scale = device.Scale(), top = device.LetterboxY();
    // pic_a: rectangle (150, 175)-(250, 225) on the logical screen, opaque red; pic_b:
    // (592, 474)-(632, 494), drawn at half alpha.
    const auto& a = drawn[0];
    EXPECT_EQ((std::vector<float>{a.x, a.y, float(a.src.right - a.src.left),
                                  float(a.src.bottom - a.src.top), float(a.argb >> 24), drawn[1].x,
                                  drawn[1].y, float(drawn[1].argb >> 24)}),
              (std::vector<float>{150 * scale, top + 175 * scale, 100, 50, 255, 592 * scale,
                                  top + 474 * scale, 128}));
    ASSERT_NE(a.pixels, nullptr);
    EXPECT_EQ(a.pixels->argb[size_t(a.src.top) * a.pixels->width + size_t(a.src.left)],
              0xFFFF0000u);
    // A hidden pane draws nothing; DrawAnimated draws one pane alone.
    m_layout.GetPane("pic_a").SetVisible(false);
    EXPECT_EQ(sprites([&] { m_layout.GetPane("pic_b").DrawAnimated(); }).size(), 2u);
}

TEST_F(LayoutBindingTest, NamedAnimationPlaysOnceAndStopsAtItsEnd) {
    EXPECT_EQ(m_layout.LoadAnimation(&m_group, "missing"), 0);
    EXPECT_EQ(m_layout.StartAnimation("missing"), 0);
    ASSERT_EQ(m_layout.LoadAnimation(&m_group, "slide"), 1);
    AnimTransInfo* info = m_layout.FindAnimation("slide");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(m_layout.LoadAnimation(&m_group, "slide"), 1);
    EXPECT_EQ(m_layout.FindAnimation("slide"), info);
    EXPECT_EQ(m_layout.GetLayout().GetAnimTransformNum(), 1u);
    CTSPane b = m_layout.GetPane("pic_b");
    b.SetTranslate(7, 0);
    auto stepX = [&](int frames) {
        for (int i = 0; i < frames; ++i) UpdateAll();
        int16_t x = 0, y = 0;
        b.GetTranslate(x, y);
        return x;
    };
    EXPECT_EQ(stepX(1), 7) << "loaded animations stay stopped";
    ASSERT_EQ(m_layout.StartAnimation("slide"), 1);
    EXPECT_EQ(stepX(1), 6);  // flat-ended curve: 40 * (3 / 16 - 2 / 64), truncated
    EXPECT_EQ(stepX(3), 40);
    EXPECT_EQ(info->m_playing, 1);
    EXPECT_EQ(stepX(1), 40);
    // Mode 1 rests on the last frame.
    EXPECT_EQ(std::tuple(info->m_playing, info->m_currentFrame), std::tuple(0, 4));
}

}  // namespace
