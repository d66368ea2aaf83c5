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
#include "support/PlatformFixture.h"
#include "support/ProbeWindows.h"
#include "support/T2gWriter.h"
#include "support/TgaWriter.h"

namespace {

constexpr uint16_t kId = 5;

constexpr TSRect kLookRect{100, 100, 200, 150};
constexpr TSRect kTexRect{300, 100, 400, 150};

// "btn_1" / "btn_2" / "btn_3": normal, pressed and greyed looks on one rectangle;
// "tex_btn": one picture pane whose texture a button switches.
std::vector<uint8_t> ButtonLayout() {
    lytfix::FileWriter f;
    lytfix::ScreenStart(f);
    for (const char* name : {"btn_1", "btn_2", "btn_3", "tex_btn"}) {
        const TSRect r = name[0] == 't' ? kTexRect : kLookRect;
        lytfix::Picture(f, lytfix::OnScreen(name, r.left, r.top, r.right, r.bottom), 0);
    }
    f.Marker("chen");
    return f.Finish();
}

// A 100 x 50 Targa of one colour.
std::vector<uint8_t> Solid(testsupport::Rgba c) {
    return testsupport::BuildTga(
        100, 50, [=](int, int) { return c; }, false);
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

class PaneButtonTest : public HeadlessTest {
protected:
    void SetUp() override {
        m_bytes = testsupport::BuildT2g({
            {"buttons.lyt", ButtonLayout()},
            {"red.tga", Solid({255, 0, 0})},
            {"blue.tga", Solid({0, 0, 255})},
            {"green.tga", Solid({0, 255, 0})},
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
    }

    // A press and a release at `p`, each handled by one step of the window.
    void Click(TSPoint p) {
        m_wnd.ReportPress(0, 1, p);
        m_wnd.Step();
        m_wnd.ReportPress(0, 0, p);
        m_wnd.Step();
    }

    // A button on `id` showing `normal` and `pressed` looks (and `greyed`).
    void WithLooks(CPaneButton& button, const char* normal = "btn_1", const char* greyed = "",
                   const char* pressed = "btn_2") {
        button.Init(&m_wnd, kId);
        button.SetPanes(&m_layout, normal, "", greyed, pressed);
    }
    // `n` waiting frames of the pressed (blue) look, then the notification.
    static std::vector<std::string> PressedThenNotified(int n) {
        std::vector<std::string> events(size_t(n), "frame B");
        events.push_back("button 5");
        return events;
    }
    using Events = std::vector<std::string>;
    std::vector<uint8_t> m_bytes;
    CTIGroup m_group;
    LookProbe m_wnd;
    CTSLayout m_layout;
};

TEST_F(PaneButtonTest, RectanglesComeFromThePanesAndMovesTakeThePanesAlong) {
    // The shift flag moves the panes back by the offset.
    CPaneButton shifted, button;
    shifted.Init(&m_wnd, kId + 1, 1, 10, -20, 1);
    shifted.SetPanes(&m_layout, "btn_3", "", "", "");
    EXPECT_EQ(shifted.GetRect(), (TSRect{90, 120, 190, 170}));
    EXPECT_EQ(m_layout.GetPane("btn_3").GetPaneRect(), (TSRect{90, 120, 190, 170}));
    WithLooks(button, "btn_1", "btn_3");
    ASSERT_EQ(m_wnd.Buttons().size(), 2u);
    EXPECT_EQ(button.GetRect(), kLookRect);
    EXPECT_EQ(button.StateRect(kBtnPressed), kLookRect);
    EXPECT_EQ(button.StateRect(kBtnFocused), TSRect{});
    EXPECT_EQ(m_wnd.HitTest(TSPoint{100, 100}), &button);
    EXPECT_EQ(m_wnd.HitTest(TSPoint{200, 120}), nullptr) << "right edge is exclusive";
    EXPECT_TRUE(button.RestoresFocus()) << "no focused look";
    ASSERT_TRUE(button.SetFocus(true));
    EXPECT_EQ(button.GetRect(), kLookRect) << "focus without a look keeps the rectangle";
    button.SetRect(TSRect{110, 130, 210, 180});
    EXPECT_EQ(button.StateRect(kBtnPressed), (TSRect{110, 130, 210, 180}));
    EXPECT_EQ(m_layout.GetPane("btn_2").GetPaneRect(), (TSRect{110, 130, 210, 180}));
    button.MoveTo(512, 384, 0x22);
    EXPECT_EQ(button.GetRect(), (TSRect{462, 359, 562, 409}));
    EXPECT_EQ(m_layout.GetPane("btn_1").GetPaneRect(), (TSRect{462, 359, 562, 409}));
    button.MoveTo(1024, 768, 0x33);
    EXPECT_EQ(button.GetRect(), (TSRect{924, 718, 1024, 768}));
    button.SetHitPane(&m_layout, "tex_btn", true);
    button.SetPressed(true);
    EXPECT_EQ(button.GetRect(), kTexRect) << "state changes keep the hit pane's rectangle";
}

TEST_F(PaneButtonTest, PressedLookShowsForItsFramesBeforeTheNotificationAndSounds) {
    CPaneButton button;
    WithLooks(button);
    m_wnd.ReportPress(0, 1, TSPoint{150, 120});
    m_wnd.Step();
    // The press itself shows the pressed look; a release-notified id says nothing yet.
    EXPECT_EQ(m_wnd.events, Events(10, "frame B"));
    EXPECT_EQ(button.m_state, kBtnPressed);
    m_wnd.events.clear();
    const uint64_t before = m_platform.Now();
    m_wnd.ReportPress(0, 0, TSPoint{150, 120});
    m_wnd.Step();
    EXPECT_EQ(m_wnd.events, PressedThenNotified(10));
    EXPECT_EQ(m_platform.Now() - before, 40u) << "each waiting pass lasts 4 ms";
    EXPECT_EQ(button.m_state, kBtnNormal);
    m_wnd.events.clear();
    m_wnd.DrawFrame();
    EXPECT_EQ(m_wnd.events, Events{"frame R"}) << "then the normal look again";
    m_wnd.events.clear();
    button.SetPressFrames(3);
    Click(TSPoint{150, 120});
    EXPECT_EQ(m_wnd.events, PressedThenNotified(6));
    EXPECT_TRUE(m_wnd.sounds.empty()) << "no press sound of its own unless set";
    button.SetSounds("focus.wav", "press.wav");
    Click(TSPoint{150, 120});
    Click(TSPoint{150, 120});
    // Once per click: the release re-enters nothing, the state is already pressed.
    EXPECT_EQ(m_wnd.sounds, (Events{"press.wav", "press.wav"}));
    button.SetSoundsEnabled(0);
    Click(TSPoint{150, 120});
    EXPECT_EQ(m_wnd.sounds.size(), 2u);
}

TEST_F(PaneButtonTest, TextureLooksSwitchThePicturePane) {
    CPaneButton button;
    WithLooks(button, "tex_btn", "", "");
    button.SetTextures(&m_group, "green.tga", "", "", "blue.tga");
    EXPECT_EQ(button.GetRect(), kTexRect);
    m_wnd.DrawFrame();
    EXPECT_EQ(m_wnd.events.back(), "frame G") << "SetTextures shows the current state's look";
    m_wnd.events.clear();
    Click(TSPoint{350, 120});
    EXPECT_EQ(m_wnd.events, PressedThenNotified(20));
    m_wnd.events.clear();
    m_wnd.DrawFrame();
    EXPECT_EQ(m_wnd.events, Events{"frame G"}) << "drawn once, not twice";
    const std::string longName(200, 'x');
    button.SetTextures(&m_group, longName.c_str(), nullptr, "", "");
    // States outside 0-3 have nothing.
    EXPECT_EQ(std::string(button.TextureName(0)) + "|" + button.TextureName(1) + "|" +
                  button.TextureName(7),
              longName.substr(0, 127) + "||");
}

TEST_F(PaneButtonTest, WithoutAPressedLookToShowTheNotificationComesAtOnce) {
    dbglog::Capture log;
    {
        CPaneButton button;
        WithLooks(button, "btn_1", "", "no_such_pane");
        EXPECT_FALSE(button.HasLook(kBtnPressed));
        Click(TSPoint{150, 120});
    }
    {
        CPaneButton button;
        WithLooks(button, "tex_btn", "", "");
        button.SetTextures(&m_group, "red.tga", "", "", "absent.tga");
        EXPECT_FALSE(button.HasTexture(kBtnPressed) || button.HasLook(kBtnPressed));
        Click(TSPoint{350, 120});
    }
    {
        CPaneButton undrawn;
        undrawn.Init(&m_wnd, kId, 0);
        undrawn.SetPanes(&m_layout, "btn_1", "", "", "btn_2");
        Click(TSPoint{150, 120});
    }
    EXPECT_EQ(m_wnd.events, Events(3, "button 5")) << "no frames waited, not even undrawn";
}

TEST_F(PaneButtonTest, DisabledButtonShowsItsGreyedLookAndLetsThePressThrough) {
    CPaneButton button;
    button.Create(&m_wnd, kId, &m_layout, "btn_1", "btn_2", "btn_3");
    ASSERT_TRUE(button.SetEnabled(false));
    EXPECT_EQ(std::tuple(button.m_state, button.GetRect()), std::tuple(kBtnDisabled, kLookRect));
    EXPECT_EQ(m_wnd.FindButton(kId), nullptr);
    m_wnd.DrawFrame();
    EXPECT_EQ(m_wnd.events, Events{"frame G"});
    m_wnd.events.clear();
    Click(TSPoint{150, 120});
    EXPECT_EQ(m_wnd.events, Events{}) << "no frames waited, no notification";
    TSEvent ev;
    ASSERT_TRUE(m_wnd.PopForTest(ev));
    EXPECT_EQ(ev.code, uint32_t(kEvPointerDown)) << "the press goes to the screen instead";
    // Enabling works only from the greyed state.
    EXPECT_TRUE(button.SetEnabled(true));
    EXPECT_EQ(button.m_state, kBtnNormal);
    EXPECT_FALSE(button.SetEnabled(true));
}

TEST_F(PaneButtonTest, CoveredLookAlphaAndVisibilityReachTheDrawnLooks) {
    CPaneButton button;
    WithLooks(button, "btn_1", "btn_3");
    CTSDialog front;
    m_wnd.m_pFrontDlg = &front;
    m_wnd.DrawFrame();
    button.m_coveredLook = kBtnDisabled;
    m_wnd.DrawFrame();
    m_wnd.m_pFrontDlg = nullptr;
    m_wnd.DrawFrame();
    EXPECT_EQ(m_wnd.events, (Events{"frame R", "frame G", "frame R"}));
    button.SetVisible(false);
    m_wnd.DrawFrame();
    EXPECT_EQ(m_wnd.events.back(), "frame ") << "an invisible button draws nothing";
    button.SetAlpha(77);
    for (const char* pane : {"btn_1", "btn_2", "btn_3"})
        EXPECT_EQ(m_layout.GetPane(pane).GetAlpha(), 77) << pane;
    EXPECT_EQ(m_layout.GetPane("tex_btn").GetAlpha(), 255);
}

}  // namespace
