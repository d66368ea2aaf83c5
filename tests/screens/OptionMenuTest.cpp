#include <gtest/gtest.h>

#include <filesystem>

#include "DialogFixture.h"
#include "Lib/ZIRur/Graphics/Picture.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "screens/OptionMenu.h"

namespace {

using dlgtest::OptionPanes;

class OptionMenuTest : public dlgtest::DialogTest {
protected:
    OptionMenuTest() { WriteAllArchives(); }

    // Clicks the named panes 300 ms apart, starting 500 ms from now.
    void Clicks(std::initializer_list<const char*> panes) {
        uint64_t at = m_platform.Now() + 500;
        for (const char* pane : panes) {
            ClickPane(at, OptionPanes(), pane);
            at += 300;
        }
    }
};

// The texture a switch pane shows.
std::string Shown(COptionMenu& dialog, const char* pane) {
    auto* pic = dynamic_cast<CxPicture*>(dialog.Layout().GetPaneObject(pane));
    return pic != nullptr ? pic->Name() : "";
}

TEST_F(OptionMenuTest, OkWritesTheSwitchesIntoTheSettings) {
    Clicks({"btn_bgm_on1", "btn_ok_1"});
    EXPECT_EQ(RunOptionsDialog(&m_parent), 1);
    EXPECT_EQ(TheSettings().m_bgmOn, 0);
    EXPECT_EQ(TheSettings().m_seOn, 1);
    EXPECT_EQ(Effects(), (std::vector<std::string>{"Menu.wav", "Set.wav", "Set.wav"}));
}

TEST_F(OptionMenuTest, NoLeavesTheSettingsAlone) {
    Clicks({"btn_bgm_on1", "btn_se_on1", "btn_no_1"});
    EXPECT_EQ(RunOptionsDialog(&m_parent), 0);
    EXPECT_EQ(TheSettings().m_bgmOn, 1);
    EXPECT_EQ(TheSettings().m_seOn, 1);
    EXPECT_EQ(Effects(),
              (std::vector<std::string>{"Menu.wav", "Set.wav", "Set.wav", "Cancel.wav"}));
}

TEST_F(OptionMenuTest, TogglingTwiceStillAnswersOneWithTheSettingsUnchanged) {
    Clicks({"btn_bgm_on1", "btn_bgm_on1", "btn_ok_1"});
    EXPECT_EQ(RunOptionsDialog(&m_parent), 1);
    EXPECT_EQ(TheSettings().m_bgmOn, 1);
    EXPECT_EQ(TheSettings().m_seOn, 1);
}

TEST_F(OptionMenuTest, SwitchesOpenWithTheLooksOfTheSettingsAndFollowClicks) {
    TheSettings().m_bgmOn = 0;
    COptionMenu dialog;
    EXPECT_EQ(dialog.WorkingBgm(), 0);
    EXPECT_EQ(dialog.WorkingSe(), 1);
    std::vector<std::string> seen;
    auto look = [&] {
        seen.push_back(Shown(dialog, "btn_bgm_on1") + " " + Shown(dialog, "btn_bgm_on2") + " " +
                       Shown(dialog, "btn_se_on1"));
    };
    At(400, look);
    ClickPane(500, OptionPanes(), "btn_bgm_on1");
    At(700, look);
    ClickPane(800, OptionPanes(), "btn_se_on1");
    At(1000, look);
    ClickPane(1100, OptionPanes(), "btn_ok_1");
    EXPECT_EQ(dialog.DoModal(&m_parent), 1u);
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "OP1_btn_off_1.tga OP1_btn_off_2.tga OP1_btn_on_1.tga",
                        "OP1_btn_on_1.tga OP1_btn_on_2.tga OP1_btn_on_1.tga",
                        "OP1_btn_on_1.tga OP1_btn_on_2.tga OP1_btn_off_1.tga",
                    }));
    EXPECT_EQ(TheSettings().m_bgmOn, 1);
    EXPECT_EQ(TheSettings().m_seOn, 0);
    EXPECT_EQ(dialog.Layout().GetPane("texture_se").GetAlpha(), 246);
    EXPECT_EQ(dialog.Layout().GetPane("background").GetAlpha(), 91);
}

TEST_F(OptionMenuTest, SoundsFollowTheEffectSwitchTheDialogOpenedWith) {
    // Switching effects off inside the dialog still sounds the following clicks.
    Clicks({"btn_se_on1", "btn_bgm_on1", "btn_ok_1"});
    EXPECT_EQ(RunOptionsDialog(&m_parent), 1);
    EXPECT_EQ(Effects(), (std::vector<std::string>{"Menu.wav", "Set.wav", "Set.wav", "Set.wav"}));
    EXPECT_EQ(TheSettings().m_seOn, 0);
    // Opened with effects off, switching them on stays silent until the next opening.
    m_trace.clear();
    Clicks({"btn_se_on1", "btn_ok_1"});
    EXPECT_EQ(RunOptionsDialog(&m_parent), 1);
    EXPECT_TRUE(Effects().empty());
    EXPECT_EQ(TheSettings().m_seOn, 1);
}

TEST_F(OptionMenuTest, MissingArchiveAnswersZero) {
    std::filesystem::remove(m_dir / "DATA/IMG/OP_1.T2G");
    dbglog::Capture log;
    EXPECT_EQ(RunOptionsDialog(&m_parent), 0);
    EXPECT_NE(log.Text().find("OP_1.T2G"), std::string::npos);
    EXPECT_EQ(TheSettings().m_bgmOn, 1);
}

TEST_F(OptionMenuTest, MissingOffLooksOnlyLog) {
    auto panes = OptionPanes();
    WriteDialogArchive(
        "OP_1", "OP_1", panes,
        {"OP1_btn_on_1.tga", "OP1_btn_on_2.tga", "OP1_btn_ok_1.tga", "OP1_btn_ok_2.tga"});
    dbglog::Capture log;
    Clicks({"btn_bgm_on1", "btn_ok_1"});
    EXPECT_EQ(RunOptionsDialog(&m_parent), 1);
    EXPECT_EQ(TheSettings().m_bgmOn, 0);
    EXPECT_NE(log.Text().find("OP1_btn_off_1.tga"), std::string::npos);
}

}  // namespace
