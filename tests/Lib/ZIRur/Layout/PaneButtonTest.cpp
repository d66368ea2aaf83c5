#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../lyt/LytFixture.h"
#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Layout/PaneButton.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "Lib/ZIRur/Wnd/TSDialog.h"
#include "platform/headless/HeadlessPlatform.h"
#include "support/ProbeWindows.h"
#include "support/T2gWriter.h"
#include "support/TgaWriter.h"

namespace {

constexpr uint16_t kId = 5;

// A picture pane whose screen rectangle is `r` (centre anchor).
void PicturePane(lytfix::FileWriter& f, const char* name, TSRect r) {
    lytfix::PaneSpec p = lytfix::Named(name);
    p.width = float(r.right - r.left);
    p.height = float(r.bottom - r.top);
    p.tx = float(r.left + r.right) / 2 - 512;
    p.ty = 384 - float(r.top + r.bottom) / 2;
    lytfix::Picture(f, p, 0);
}

constexpr TSRect kLookRect{100, 100, 200, 150};
constexpr TSRect kTexRect{300, 100, 400, 150};

// "btn_1" / "btn_2" / "btn_3": normal, pressed and greyed looks on one rectangle;
// "tex_btn": one picture pane whose texture a button switches.
std::vector<uint8_t> ButtonLayout() {
    lytfix::FileWriter f;
    lytfix::LayoutInfo(f, 1024, 768);
    lytfix::MaterialList(f, {lytfix::MaterialSpec{}});
    lytfix::PaneSpec root = lytfix::Named("RootPane");
    root.width = 1024, root.height = 768;
    lytfix::Pane(f, root);
    f.Marker("chbg");
    PicturePane(f, "btn_1", kLookRect);
    PicturePane(f, "btn_2", kLookRect);
    PicturePane(f, "btn_3", kLookRect);
    PicturePane(f, "tex_btn", kTexRect);
    f.Marker("chen");
    return f.Finish();
}

testsupport::Rgba Solid(uint8_t r, uint8_t g, uint8_t b) {
    return testsupport::Rgba{r, g, b, 255};
}

// Records, per drawn frame, the colour letter of every sprite (R, B, G), and the
// notifications in between, so the order of looks and OnButton can be read off one list.
class LookProbe : public ProbeWnd {
public:
    std::vector<std::string> events;
    std::vector<std::string> sounds;

    void OnButton(uint16_t id) override { events.push_back("button " + std::to_string(id)); }
    void PlaySe(const char* path, int, int) override { sounds.push_back(path); }
    void OnAfterDraw() override {
        std::string frame = "frame ";
        for (const auto& c : gfx::RenderDevice::Instance().Recording().commands) {
            if (c.kind != platform::DrawCommand::Kind::Sprite || !c.pixels) continue;
            const uint32_t px =
                c.pixels->argb[size_t(c.src.top) * c.pixels->width + size_t(c.src.left)];
            frame += px == 0xFFFF0000u ? "R" : px == 0xFF0000FFu ? "B" : "G";
        }
        events.push_back(frame);
    }
};

class PaneButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetPlatform(&m_platform);
        m_bytes = testsupport::BuildT2g({
            {"buttons.lyt", ButtonLayout()},
            {"red.tga", testsupport::BuildTga(
                            100, 50, [](int, int) { return Solid(255, 0, 0); }, false)},
            {"blue.tga", testsupport::BuildTga(
                             100, 50, [](int, int) { return Solid(0, 0, 255); }, false)},
            {"green.tga", testsupport::BuildTga(
                              100, 50, [](int, int) { return Solid(0, 255, 0); }, false)},
        });
        ASSERT_TRUE(m_group.OpenProcess("buttons.t2g", m_bytes));
        ASSERT_EQ(m_layout.Load(&m_group, "buttons", &m_wnd), 1);
        const TSPictureResource rows[] = {{"btn_1", "red.tga", &m_group},
                                          {"btn_2", "blue.tga", &m_group},
                                          {"btn_3", "green.tga", &m_group},
                                          {"tex_btn", "red.tga", &m_group}};
        m_layout.LoadResource(rows, 4);
        ASSERT_TRUE(gfx::RenderDevice::Instance().Create());
    }
    void TearDown() override {
        gfx::RenderDevice::Instance().Release();
        TSingleton<CTSLytMgr>::DestroyInstance();
        platform::SetPlatform(nullptr);
    }

    // A press and a release at `p`, each handled by one step of the window.
    void Click(TSPoint p) {
        m_wnd.ReportPress(0, 1, p);
        m_wnd.Step();
        m_wnd.ReportPress(0, 0, p);
        m_wnd.Step();
    }

    platform::HeadlessPlatform m_platform;
    std::vector<uint8_t> m_bytes;
    CTIGroup m_group;
    LookProbe m_wnd;
    CTSLayout m_layout;
};

std::vector<std::string> Repeat(const std::string& s, int n) {
    return std::vector<std::string>(size_t(n), s);
}

TEST_F(PaneButtonTest, PanesGiveTheRectanglesAndTheButtonRegisters) {
    CPaneButton button;
    button.Init(&m_wnd, kId);
    ASSERT_EQ(m_wnd.Buttons().size(), 1u);
    EXPECT_EQ(button.GetRect(), TSRect{}) << "registered with an empty rectangle";
    button.SetPanes(&m_layout, "btn_1", "", "btn_3", "btn_2");
    EXPECT_EQ(button.GetRect(), kLookRect);
    EXPECT_EQ(button.StateRect(kBtnPressed), kLookRect);
    EXPECT_EQ(button.StateRect(kBtnFocused), TSRect{});
    EXPECT_EQ(m_wnd.HitTest(TSPoint{100, 100}), &button);
    EXPECT_EQ(m_wnd.HitTest(TSPoint{200, 120}), nullptr) << "right edge is exclusive";
    {
        CPaneButton second;
        second.Init(&m_wnd, kId + 1);
        EXPECT_EQ(m_wnd.Buttons().size(), 2u);
    }
    EXPECT_EQ(m_wnd.Buttons().size(), 1u) << "a destroyed button leaves its window";
}

TEST_F(PaneButtonTest, ShiftFlagMovesThePanesBackByTheOffset) {
    CPaneButton button;
    button.Init(&m_wnd, kId, 1, 10, -20, 1);
    button.SetPanes(&m_layout, "btn_1", "", "", "");
    EXPECT_EQ(button.GetRect(), (TSRect{90, 120, 190, 170}));
    EXPECT_EQ(m_layout.GetPane("btn_1").GetPaneRect(), (TSRect{90, 120, 190, 170}));
}

TEST_F(PaneButtonTest, MissingPaneOnlyLogsAndTheOtherLooksStillWork) {
    dbglog::Capture log;
    CPaneButton button;
    button.Init(&m_wnd, kId);
    button.SetPanes(&m_layout, "btn_1", "", "", "no_such_pane");
    EXPECT_NE(log.Text().find("CTSLayout::GetPane() is failed! no_such_pane"), std::string::npos);
    EXPECT_FALSE(button.HasLook(kBtnPressed));
    Click(TSPoint{150, 120});
    // Without a pressed look the notification comes at once, with no waiting frames.
    EXPECT_EQ(m_wnd.events, (std::vector<std::string>{"button 5"}));
}

TEST_F(PaneButtonTest, DisabledButtonIsNeverHitNorFocusedNorPressed) {
    CPaneButton button;
    button.Create(&m_wnd, kId, &m_layout, "btn_1", "btn_2", "btn_3");
    ASSERT_TRUE(button.SetEnabled(false));
    EXPECT_EQ(button.m_state, kBtnDisabled);
    EXPECT_EQ(button.GetRect(), kLookRect);
    m_wnd.DrawFrame();
    EXPECT_EQ(m_wnd.events, (std::vector<std::string>{"frame G"})) << "the greyed look";
    m_wnd.events.clear();
    EXPECT_EQ(m_wnd.HitTest(TSPoint{150, 120}), nullptr);
    EXPECT_EQ(m_wnd.FindButton(kId), nullptr);
    EXPECT_FALSE(button.SetFocus(true));
    EXPECT_FALSE(button.SetPressed(true));
    EXPECT_EQ(button.m_state, kBtnDisabled);
    Click(TSPoint{150, 120});
    EXPECT_EQ(m_wnd.events, std::vector<std::string>{}) << "no frames waited, no notification";
    // The press went to the screen as a plain pointer event instead.
    TSEvent ev;
    ASSERT_TRUE(m_wnd.PopForTest(ev));
    EXPECT_EQ(ev.code, uint32_t(kEvPointerDown));
    // Enabling works only from the greyed state.
    EXPECT_TRUE(button.SetEnabled(true));
    EXPECT_EQ(button.m_state, kBtnNormal);
    EXPECT_FALSE(button.SetEnabled(true));
}

TEST_F(PaneButtonTest, PendingPressKeepsThePressedState) {
    CPaneButton button;
    button.Init(&m_wnd, kId);
    button.SetPanes(&m_layout, "btn_1", "", "btn_3", "btn_2");
    button.m_pendingPress = 1;
    button.SetState(kBtnNormal);
    EXPECT_EQ(button.m_state, kBtnPressed);
    EXPECT_EQ(button.GetRect(), kLookRect);
    // Greying clears the pending press, so a later normal request is honoured.
    button.SetState(kBtnDisabled);
    EXPECT_EQ(button.m_pendingPress, 0);
    button.SetState(kBtnNormal);
    EXPECT_EQ(button.m_state, kBtnNormal);
}

TEST_F(PaneButtonTest, PressedLookLastsTenFramesBeforeTheNotification) {
    CPaneButton button;
    button.Init(&m_wnd, kId);
    button.SetPanes(&m_layout, "btn_1", "", "", "btn_2");

    m_wnd.ReportPress(0, 1, TSPoint{150, 120});
    m_wnd.Step();
    // The press itself shows the pressed look; a release-notified id says nothing yet.
    EXPECT_EQ(m_wnd.events, Repeat("frame B", 10));
    EXPECT_EQ(button.m_state, kBtnPressed);

    m_wnd.events.clear();
    const uint64_t before = m_platform.Now();
    m_wnd.ReportPress(0, 0, TSPoint{150, 120});
    m_wnd.Step();
    std::vector<std::string> expected = Repeat("frame B", 10);
    expected.push_back("button 5");
    EXPECT_EQ(m_wnd.events, expected);
    EXPECT_EQ(m_platform.Now() - before, 40u) << "each waiting pass lasts 4 ms";
    EXPECT_EQ(button.m_state, kBtnNormal);

    // Afterwards the normal look is drawn again.
    m_wnd.events.clear();
    m_wnd.DrawFrame();
    EXPECT_EQ(m_wnd.events, (std::vector<std::string>{"frame R"}));
}

TEST_F(PaneButtonTest, PressFramesCanBeChanged) {
    CPaneButton button;
    button.Init(&m_wnd, kId);
    button.SetPanes(&m_layout, "btn_1", "", "", "btn_2");
    button.SetPressFrames(3);
    Click(TSPoint{150, 120});
    std::vector<std::string> expected = Repeat("frame B", 6);
    expected.push_back("button 5");
    EXPECT_EQ(m_wnd.events, expected);
}

TEST_F(PaneButtonTest, TextureLooksSwitchThePicturePane) {
    CPaneButton button;
    button.Init(&m_wnd, kId);
    button.SetPanes(&m_layout, "tex_btn", "", "", "");
    button.SetTextures(&m_group, "green.tga", "", "", "blue.tga");
    EXPECT_EQ(button.GetRect(), kTexRect);
    m_wnd.DrawFrame();
    EXPECT_EQ(m_wnd.events.back(), "frame G") << "SetTextures shows the current state's look";
    EXPECT_TRUE(button.HasLook(kBtnPressed));

    m_wnd.events.clear();
    Click(TSPoint{350, 120});
    std::vector<std::string> expected = Repeat("frame B", 20);
    expected.push_back("button 5");
    EXPECT_EQ(m_wnd.events, expected);
    m_wnd.events.clear();
    m_wnd.DrawFrame();
    EXPECT_EQ(m_wnd.events, (std::vector<std::string>{"frame G"})) << "drawn once, not twice";
}

TEST_F(PaneButtonTest, TextureMissingFromTheArchiveGivesNoLook) {
    CPaneButton button;
    button.Init(&m_wnd, kId);
    button.SetPanes(&m_layout, "tex_btn", "", "", "");
    button.SetTextures(&m_group, "red.tga", "", "", "absent.tga");
    EXPECT_FALSE(button.HasTexture(kBtnPressed));
    EXPECT_FALSE(button.HasLook(kBtnPressed));
    Click(TSPoint{350, 120});
    EXPECT_EQ(m_wnd.events, (std::vector<std::string>{"button 5"}));
}

TEST_F(PaneButtonTest, LongTextureNamesAreCut) {
    CPaneButton button;
    const std::string longName(200, 'x');
    button.SetTextures(&m_group, longName.c_str(), nullptr, "", "");
    EXPECT_EQ(std::string(button.TextureName(0)), longName.substr(0, 127));
    EXPECT_EQ(std::string(button.TextureName(1)), "");
    EXPECT_EQ(std::string(button.TextureName(7)), "") << "states outside 0-3 have nothing";
}

TEST_F(PaneButtonTest, ButtonWithOnlyTwoLooksKeepsItsRectangleWhenFocused) {
    CPaneButton button;
    button.Init(&m_wnd, kId);
    button.SetPanes(&m_layout, "btn_1", "", "", "btn_2");
    EXPECT_TRUE(button.RestoresFocus()) << "no focused look";
    ASSERT_TRUE(button.SetFocus(true));
    EXPECT_EQ(button.GetRect(), kLookRect);
    EXPECT_EQ(m_wnd.HitTest(TSPoint{150, 120}), &button);
}

TEST_F(PaneButtonTest, SetRectMovesRectanglesAndLooks) {
    CPaneButton button;
    button.Init(&m_wnd, kId);
    button.SetPanes(&m_layout, "btn_1", "", "", "btn_2");
    button.SetRect(TSRect{110, 130, 210, 180});
    EXPECT_EQ(button.GetRect(), (TSRect{110, 130, 210, 180}));
    EXPECT_EQ(button.StateRect(kBtnPressed), (TSRect{110, 130, 210, 180}));
    EXPECT_EQ(m_layout.GetPane("btn_2").GetPaneRect(), (TSRect{110, 130, 210, 180}));
    button.MoveTo(512, 384, 0x22);
    EXPECT_EQ(button.GetRect(), (TSRect{462, 359, 562, 409}));
    EXPECT_EQ(m_layout.GetPane("btn_1").GetPaneRect(), (TSRect{462, 359, 562, 409}));
    button.MoveTo(1024, 768, 0x33);
    EXPECT_EQ(button.GetRect(), (TSRect{924, 718, 1024, 768}));

    // A button without panes just takes the rectangle.
    CPaneButton bare;
    bare.Init(&m_wnd, kId + 1);
    bare.SetRect(TSRect{1, 2, 3, 4});
    EXPECT_EQ(bare.GetRect(), (TSRect{1, 2, 3, 4}));
}

TEST_F(PaneButtonTest, HitPaneGivesTheRectangle) {
    CPaneButton button;
    button.Init(&m_wnd, kId);
    button.SetPanes(&m_layout, "btn_1", "", "", "btn_2");
    button.SetHitPane(&m_layout, "tex_btn", true);
    EXPECT_EQ(button.GetRect(), kTexRect);
    button.SetPressed(true);
    EXPECT_EQ(button.GetRect(), kTexRect) << "state changes keep the hit pane's rectangle";
}

TEST_F(PaneButtonTest, CoveredLookIsDrawnWhileADialogIsInFront) {
    CPaneButton button;
    button.Init(&m_wnd, kId);
    button.SetPanes(&m_layout, "btn_1", "", "btn_3", "btn_2");
    CTSDialog front;
    m_wnd.m_pFrontDlg = &front;
    m_wnd.DrawFrame();
    button.m_coveredLook = kBtnDisabled;
    m_wnd.DrawFrame();
    m_wnd.m_pFrontDlg = nullptr;
    m_wnd.DrawFrame();
    EXPECT_EQ(m_wnd.events, (std::vector<std::string>{"frame R", "frame G", "frame R"}));
    button.SetVisible(false);
    m_wnd.DrawFrame();
    EXPECT_EQ(m_wnd.events.back(), "frame ") << "an invisible button draws nothing";
}

TEST_F(PaneButtonTest, AlphaReachesEveryLook) {
    CPaneButton button;
    button.Init(&m_wnd, kId);
    button.SetPanes(&m_layout, "btn_1", "", "btn_3", "btn_2");
    button.SetAlpha(77);
    EXPECT_EQ(m_layout.GetPane("btn_1").GetAlpha(), 77);
    EXPECT_EQ(m_layout.GetPane("btn_2").GetAlpha(), 77);
    EXPECT_EQ(m_layout.GetPane("btn_3").GetAlpha(), 77);
    EXPECT_EQ(m_layout.GetPane("tex_btn").GetAlpha(), 255);
}

TEST_F(PaneButtonTest, PressSoundPlaysOnEnteringThePressedState) {
    CPaneButton button;
    button.Init(&m_wnd, kId);
    button.SetPanes(&m_layout, "btn_1", "", "", "btn_2");
    Click(TSPoint{150, 120});
    EXPECT_TRUE(m_wnd.sounds.empty()) << "no sound of its own unless set";
    button.SetSounds("focus.wav", "press.wav");
    Click(TSPoint{150, 120});
    Click(TSPoint{150, 120});
    // Once per click: the release re-enters nothing, the state is already pressed.
    EXPECT_EQ(m_wnd.sounds, (std::vector<std::string>{"press.wav", "press.wav"}));
    button.SetSoundsEnabled(0);
    Click(TSPoint{150, 120});
    EXPECT_EQ(m_wnd.sounds.size(), 2u);
}

TEST_F(PaneButtonTest, UndrawnButtonDoesNotWaitForever) {
    CPaneButton button;
    button.Init(&m_wnd, kId, 0);
    button.SetPanes(&m_layout, "btn_1", "", "", "btn_2");
    Click(TSPoint{150, 120});
    EXPECT_EQ(m_wnd.events, (std::vector<std::string>{"button 5"}));
}

}  // namespace
