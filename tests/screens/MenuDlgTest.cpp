#include <gtest/gtest.h>

#include <filesystem>

#include "DialogFixture.h"
#include "Lib/ZIRur/Graphics/Picture.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "screens/MenuDlg.h"

namespace {

class MenuDlgTest : public dlgtest::DialogTest {
protected:
    MenuDlgTest() { WriteAllArchives(); }
};

TEST_F(MenuDlgTest, EachChoiceEndsWithItsResultAndSoundAndGivesTheParentBack) {
    struct Case {
        const char* pane;
        int result;
        std::vector<std::string> effects;
    };
    const Case cases[] = {
        {"btn1_1", 0, {"Menu.wav", "Set.wav"}},
        // The middle choice is silent: the question that follows makes the sound.
        {"btn2_1", 1, {"Menu.wav"}},
        {"btn3_1", 2, {"Menu.wav", "Cancel.wav"}},
    };
    for (const Case& c : cases) {
        m_trace.clear();
        Tap(m_platform.Now() + 500, c.pane);
        EXPECT_EQ(RunMenuDialog(0, &m_parent), c.result) << c.pane;
        EXPECT_EQ(Effects(), c.effects) << c.pane;
        EXPECT_TRUE(m_parent.IsActive());
        EXPECT_EQ(m_parent.m_pFrontDlg, nullptr);
    }
    m_trace.clear();
    TheSettings().m_seOn = 0;
    Tap(m_platform.Now() + 500, "btn1_1");
    EXPECT_EQ(RunMenuDialog(1, &m_parent), 0);
    EXPECT_TRUE(Effects().empty()) << "effects off makes the menu silent";
}

TEST_F(MenuDlgTest, VariantOneShowsTheProblemScreensFirstChoice) {
    for (int variant : {0, 1}) {
        CMenuDlg dialog(variant);
        std::string shown;
        At(m_platform.Now() + 100, [&] {
            if (auto* pic = dynamic_cast<CxPicture*>(dialog.Layout().GetPaneObject("btn1_1")))
                shown = pic->Name();
        });
        Tap(m_platform.Now() + 400, "btn1_1");
        EXPECT_EQ(dialog.DoModal(&m_parent), 0u);
        EXPECT_EQ(shown, variant == 1 ? "M1_btn4_1.tga" : "M1_btn1_1.tga") << variant;
    }
}

TEST_F(MenuDlgTest, MissingArchiveOrPanesOnlyLog) {
    auto panes = dlgtest::MenuPanes();
    std::erase_if(panes, [](const dlgtest::PaneSpec& p) { return p.name == "btn2_1"; });
    WriteDialogArchive("M_1", "M_1", panes, {"M1_btn1_1.tga", "M1_btn1_2.tga"});
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

TEST_F(MenuDlgTest, RunsOverTheCurrentWindowWhenNoneIsNamedAndNotWithoutOne) {
    EXPECT_EQ(RunMenuDialog(0), 2) << "no current window to open over";
    // As RunWindow leaves a running screen.
    m_mgr.SetCurrentWindow(&m_parent);
    m_parent.m_pTopWnd = &m_parent;
    Tap(500, "btn2_1");
    EXPECT_EQ(RunMenuDialog(1), 1);
    EXPECT_EQ(m_mgr.CurrentWindow(), &m_parent) << "input goes back to the screen";
}

}  // namespace
