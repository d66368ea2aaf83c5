#include <gtest/gtest.h>

#include <filesystem>

#include "DialogFixture.h"
#include "Lib/ZIRur/Graphics/Picture.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "screens/OptionMenu.h"

namespace {

class OptionMenuTest : public dlgtest::DialogTest {
protected:
    OptionMenuTest() { WriteAllArchives(); }

    // Clicks the named panes 300 ms apart, starting 500 ms from now.
    void Clicks(std::initializer_list<const char*> panes) {
        uint64_t at = m_platform.Now() + 500;
        for (const char* pane : panes) {
            Tap(at, pane);
            at += 300;
        }
    }
};

TEST_F(OptionMenuTest, OkStoresTheSwitchesNoLeavesThemAlone) {
    struct Case {
        std::initializer_list<const char*> clicks;
        int seBefore, result, bgm, se;
        std::vector<std::string> effects;
    };
    const std::vector<std::string> menuAndThreeSets{"Menu.wav", "Set.wav", "Set.wav", "Set.wav"};
    const Case cases[] = {
        {{"btn_bgm_on1", "btn_ok_1"}, 1, 1, 0, 1, {"Menu.wav", "Set.wav", "Set.wav"}},
        {{"btn_bgm_on1", "btn_se_on1", "btn_no_1"},
         1,
         0,
         1,
         1,
         {"Menu.wav", "Set.wav", "Set.wav", "Cancel.wav"}},
        {{"btn_bgm_on1", "btn_bgm_on1", "btn_ok_1"}, 1, 1, 1, 1, menuAndThreeSets},
        // Sounds follow the effect switch the dialog opened with.
        {{"btn_se_on1", "btn_bgm_on1", "btn_ok_1"}, 1, 1, 0, 0, menuAndThreeSets},
        {{"btn_se_on1", "btn_ok_1"}, 0, 1, 1, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        TheSettings() = AppSettings{};
        TheSettings().m_seOn = c.seBefore;
        m_trace.clear();
        Clicks(c.clicks);
        EXPECT_EQ(RunOptionsDialog(&m_parent), c.result);
        EXPECT_EQ(TheSettings().m_bgmOn, c.bgm);
        EXPECT_EQ(TheSettings().m_seOn, c.se);
        EXPECT_EQ(Effects(), c.effects);
    }
}

TEST_F(OptionMenuTest, SwitchesOpenWithTheLooksOfTheSettingsAndFollowClicks) {
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
    EXPECT_EQ(TheSettings().m_bgmOn, 1);
    EXPECT_EQ(TheSettings().m_seOn, 0);
}

TEST_F(OptionMenuTest, MissingOffLooksOnlyLogAMissingArchiveAnswersZero) {
    WriteDialogArchive(
        "OP_1", "OP_1", dlgtest::OptionPanes(),
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

}  // namespace
