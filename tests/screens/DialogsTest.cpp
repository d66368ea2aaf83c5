// The three dialogs (menu, question, options) on test archives, and the menu over a screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "DialogFixture.h"
#include "Lib/ZIRur/Graphics/GpuTexture.h"
#include "Lib/ZIRur/Graphics/Picture.h"
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/ZIRur/Wnd/TSDialog.h"
#include "screens/MenuDlg.h"
#include "screens/MsgBox.h"
#include "screens/OptionMenu.h"

namespace {

// "メインメニューへ戻りますか？" in Shift_JIS.
const char* const kQuestion =
    "\x83\x81\x83\x43\x83\x93\x83\x81\x83\x6a\x83\x85\x81\x5b\x82\xd6\x96\xdf\x82\xe8\x82\xdc"
    "\x82\xb7\x82\xa9\x81\x48";

class DialogsTest : public dlgtest::DialogTest {
protected:
    DialogsTest() { WriteAllArchives(); }

    // Clicks the named panes 300 ms apart, starting 500 ms from now.
    void Clicks(std::initializer_list<const char*> panes) {
        uint64_t at = m_platform.Now() + 500;
        for (const char* pane : panes) {
            Tap(at, pane);
            at += 300;
        }
    }
};

TEST_F(DialogsTest, MenuEachChoiceEndsWithItsResultAndSoundAndGivesTheParentBack) {
    struct Case {
        int seOn, variant;
        const char* pane;
        int result;
        std::vector<std::string> effects;
    };
    // The middle choice is silent: the question that follows makes the sound.
    const Case cases[] = {{1, 0, "btn1_1", 0, {"Menu.wav", "Set.wav"}},
                          {1, 0, "btn2_1", 1, {"Menu.wav"}},
                          {1, 0, "btn3_1", 2, {"Menu.wav", "Cancel.wav"}},
                          {0, 1, "btn1_1", 0, {}}};
    for (const Case& c : cases) {
        m_trace.clear();
        TheSettings().m_seOn = c.seOn;
        Tap(m_platform.Now() + 500, c.pane);
        EXPECT_EQ(RunMenuDialog(c.variant, &m_parent), c.result) << c.pane;
        EXPECT_EQ(Effects(), c.effects) << c.pane;
        EXPECT_TRUE(m_parent.IsActive());
        EXPECT_EQ(m_parent.m_pFrontDlg, nullptr);
    }
}

TEST_F(DialogsTest, MenuMissingArchiveOrPanesOnlyLog) {
    auto panes = dlgtest::MenuPanes();
    std::erase_if(panes, [](const dlgtest::PaneSpec& p) { return p.name == "btn2_1"; });
    WriteDialogArchive("M_1", panes, {"M1_btn1_1.tga", "M1_btn1_2.tga"});
    dbglog::Capture log;
    Tap(500, "btn1_1");
    EXPECT_EQ(RunMenuDialog(0, &m_parent), 0) << "the other choices still work";
    EXPECT_NE(log.Text().find("btn2_1"), std::string::npos);
    EXPECT_NE(log.Text().find("M1_MenuWindow.tga"), std::string::npos) << "missing texture";

    m_trace.clear();
    std::filesystem::remove(m_dir / "DATA/IMG/M_1.T2G");
    const uint64_t start = m_platform.Now();
    EXPECT_EQ(RunMenuDialog(0, &m_parent), 2);
    EXPECT_NE(log.Text().find("DATA/IMG/M_1.T2G"), std::string::npos);
    EXPECT_TRUE(Effects().empty()) << "a menu that never showed makes no sound";
    EXPECT_LT(m_platform.Now() - start, 1000u) << "ends at once, without waiting for a click";
}

TEST_F(DialogsTest, MenuRunsOverTheCurrentWindowWhenNoneIsNamedAndNotWithoutOne) {
    EXPECT_EQ(RunMenuDialog(0), 2) << "no current window to open over";
    // As RunWindow leaves a running screen.
    m_mgr.SetCurrentWindow(&m_parent);
    m_parent.m_pTopWnd = &m_parent;
    Tap(500, "btn2_1");
    EXPECT_EQ(RunMenuDialog(1), 1);
    EXPECT_EQ(m_mgr.CurrentWindow(), &m_parent) << "input goes back to the screen";
}

TEST_F(DialogsTest, QuestionOkAndNoAnswerWithTheirSoundsUnlessEffectsAreOffNoWithoutLayout) {
    const std::tuple<int, const char*, int, std::vector<std::string>> cases[] = {
        {1, "btn_ok_1", 0, {"Menu.wav", "Set.wav"}},
        {1, "btn_no_1", 1, {"Menu.wav", "Cancel.wav"}},
        {0, "btn_ok_1", 0, {}}};
    for (const auto& [seOn, pane, result, effects] : cases) {
        m_trace.clear();
        TheSettings().m_seOn = seOn;
        Tap(m_platform.Now() + 500, pane);
        EXPECT_EQ(RunMessageBox(kQuestion, &m_parent), result) << pane;
        EXPECT_EQ(Effects(), effects) << pane;
    }
    // Without its layout the question answers No.
    WriteArchive("MSG", {{"MSG_window.tga", dlgtest::SolidTga(0xFFFFFF)}});
    dbglog::Capture log;
    EXPECT_EQ(RunMessageBox(kQuestion, &m_parent), 1);
    EXPECT_NE(log.Text().find("MSG.lyt"), std::string::npos);
    EXPECT_EQ(RunMessageBox(kQuestion), 1) << "no window to open over";
}

TEST_F(DialogsTest, OptionsOkStoresTheSwitchesNoLeavesThemAlone) {
    struct Case {
        std::initializer_list<const char*> clicks;
        int seBefore, result, bgm, se;
        std::vector<std::string> effects;
    };
    const std::vector<std::string> menuAndThreeSets{"Menu.wav", "Set.wav", "Set.wav", "Set.wav"};
    const std::vector<std::string> cancelled{"Menu.wav", "Set.wav", "Set.wav", "Cancel.wav"};
    // The last two: sounds follow the effect switch the dialog opened with.
    const Case cases[] = {
        {{"btn_bgm_on1", "btn_ok_1"}, 1, 1, 0, 1, {"Menu.wav", "Set.wav", "Set.wav"}},
        {{"btn_bgm_on1", "btn_se_on1", "btn_no_1"}, 1, 0, 1, 1, cancelled},
        {{"btn_bgm_on1", "btn_bgm_on1", "btn_ok_1"}, 1, 1, 1, 1, menuAndThreeSets},
        {{"btn_se_on1", "btn_bgm_on1", "btn_ok_1"}, 1, 1, 0, 0, menuAndThreeSets},
        {{"btn_se_on1", "btn_ok_1"}, 0, 1, 1, 1, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        TheSettings() = AppSettings{};
        TheSettings().m_seOn = c.seBefore;
        m_trace.clear();
        Clicks(c.clicks);
        EXPECT_EQ(RunOptionsDialog(&m_parent), c.result);
        EXPECT_EQ(std::tuple(TheSettings().m_bgmOn, TheSettings().m_seOn), std::tuple(c.bgm, c.se));
        EXPECT_EQ(Effects(), c.effects);
    }
}

TEST_F(DialogsTest, OptionSwitchesOpenWithTheLooksOfTheSettingsAndFollowClicks) {
    TheSettings().m_bgmOn = 0;
    COptionMenu dialog;
    std::vector<std::string> seen;
    auto look = [&] {
        std::string line;
        for (const char* pane : {"btn_bgm_on1", "btn_bgm_on2", "btn_se_on1"}) {
            auto* pic = dynamic_cast<CxPicture*>(dialog.Layout().GetPaneObject(pane));
            line += (pic != nullptr ? pic->Name() : "-") + " ";
        }
        seen.push_back(line);
    };
    At(400, look);
    Tap(500, "btn_bgm_on1");
    At(700, look);
    Tap(800, "btn_se_on1");
    At(1000, look);
    Tap(1100, "btn_ok_1");
    EXPECT_EQ(dialog.DoModal(&m_parent), 1u);
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "OP1_btn_off_1.tga OP1_btn_off_2.tga OP1_btn_on_1.tga ",
                        "OP1_btn_on_1.tga OP1_btn_on_2.tga OP1_btn_on_1.tga ",
                        "OP1_btn_on_1.tga OP1_btn_on_2.tga OP1_btn_off_1.tga ",
                    }));
    EXPECT_EQ(std::tuple(TheSettings().m_bgmOn, TheSettings().m_seOn), std::tuple(1, 0));
}

TEST_F(DialogsTest, OptionsMissingOffLooksOnlyLogAMissingArchiveAnswersZero) {
    WriteDialogArchive(
        "OP_1", dlgtest::OptionPanes(),
        {"OP1_btn_on_1.tga", "OP1_btn_on_2.tga", "OP1_btn_ok_1.tga", "OP1_btn_ok_2.tga"});
    dbglog::Capture log;
    Clicks({"btn_bgm_on1", "btn_ok_1"});
    EXPECT_EQ(RunOptionsDialog(&m_parent), 1);
    EXPECT_EQ(TheSettings().m_bgmOn, 0);
    EXPECT_NE(log.Text().find("OP1_btn_off_1.tga"), std::string::npos);

    std::filesystem::remove(m_dir / "DATA/IMG/OP_1.T2G");
    TheSettings().m_bgmOn = 1;
    EXPECT_EQ(RunOptionsDialog(&m_parent), 0);
    EXPECT_NE(log.Text().find("OP_1.T2G"), std::string::npos);
    EXPECT_EQ(TheSettings().m_bgmOn, 1);
}

std::vector<platform::DrawCommand> Sprites(const platform::DrawList& frame) {
    std::vector<platform::DrawCommand> out;
    for (const auto& c : frame.commands)
        if (c.kind == platform::DrawCommand::Kind::Sprite) out.push_back(c);
    return out;
}

// The colour of a sprite's first source pixel (0xRRGGBB).
uint32_t FirstPixel(const platform::DrawCommand& c) {
    return c.pixels->argb[size_t(c.src.top) * c.pixels->width + size_t(c.src.left)] & 0xFFFFFF;
}

// A plain screen under the dialogs: a few opaque bands drawn from one white texture.
class BandScreen : public CTSBgmWnd {
public:
    static constexpr int kBands = 3;
    void OnInit() override {
        m_white = std::make_unique<gfx::GpuTexture>(16, 16);
        m_white->Upload(std::vector<uint32_t>(16 * 16, 0xFFFFFFFF));
    }
    void OnDraw() override {
        auto& device = gfx::RenderDevice::Instance();
        const float s = device.Scale();
        for (int i = 0; i < kBands; ++i)
            device.DrawTexture(*m_white, {0, 0, 16, 16}, float(i * 1024 / kBands) * s,
                               device.LetterboxY(), 1024.0f / kBands * s / 16.0f,
                               768.0f * s / 16.0f, 0xFF3F6E4E);
    }

private:
    std::unique_ptr<gfx::GpuTexture> m_white;
};

TEST_F(DialogsTest, MenuDimsTheScreenFadesInAndAnswers) {
    BandScreen screen;
    screen.SendEvent(kEvInit, 0, 0);
    platform::DrawList early;
    platform::DrawList settled;
    At(60, [&] { early = m_platform.LatestFrame(); });
    At(600, [&] { settled = m_platform.LatestFrame(); });
    Tap(700, "btn1_1");
    EXPECT_EQ(RunMenuDialog(0, &screen), 0);
    EXPECT_EQ(Effects(), (std::vector<std::string>{"Menu.wav", "Set.wav"}));

    // The screen's own bands come first, then the dimming picture, window and three looks.
    const auto sprites = Sprites(settled);
    const size_t bands = BandScreen::kBands;
    ASSERT_EQ(sprites.size(), bands + 5);
    for (size_t i = 0; i < bands; ++i) EXPECT_EQ(sprites[i].argb >> 24, 0xFFu);
    const auto& dim = sprites[bands];
    EXPECT_EQ(FirstPixel(dim), dlgtest::ColourOf("M1_nullBlack.tga"));
    EXPECT_EQ(dim.argb >> 24, 91u);
    EXPECT_EQ(dim.x, 0.0f);
    EXPECT_FLOAT_EQ(float(dim.src.right - dim.src.left) * dim.scaleX,
                    1024.0f * gfx::RenderDevice::Instance().Scale())
        << "the dimming picture covers the whole screen";
    EXPECT_EQ(FirstPixel(sprites[bands + 1]), dlgtest::ColourOf("M1_MenuWindow.tga"));
    for (size_t i = bands + 1; i < sprites.size(); ++i) EXPECT_EQ(sprites[i].argb >> 24, 246u);
    EXPECT_EQ(FirstPixel(sprites[bands + 2]), dlgtest::ColourOf("M1_btn1_1.tga"));

    // Early in the fade everything of the dialog is still faint.
    const auto faint = Sprites(early);
    ASSERT_EQ(faint.size(), bands + 5);
    EXPECT_LT(faint[bands + 1].argb >> 24, 100u);
}

}  // namespace
