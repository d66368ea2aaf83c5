#include <gtest/gtest.h>

#include "DialogFixture.h"
#include "Lib/ZIRur/Text/Text.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "screens/MsgBox.h"

namespace {

// "メインメニューへ戻りますか？" in Shift_JIS.
const char* const kQuestion =
    "\x83\x81\x83\x43\x83\x93\x83\x81\x83\x6a\x83\x85\x81\x5b\x82\xd6\x96\xdf\x82\xe8\x82\xdc"
    "\x82\xb7\x82\xa9\x81\x48";

class MsgBoxTest : public dlgtest::DialogTest {
protected:
    MsgBoxTest() { WriteAllArchives(); }
};

TEST_F(MsgBoxTest, OkAndNoAnswerWithTheirSoundsUnlessEffectsAreOff) {
    Tap(500, "btn_ok_1");
    EXPECT_EQ(RunMessageBox(kQuestion, &m_parent), 0);
    EXPECT_EQ(Effects(), (std::vector<std::string>{"Menu.wav", "Set.wav"}));
    m_trace.clear();
    Tap(m_platform.Now() + 500, "btn_no_1");
    EXPECT_EQ(RunMessageBox(kQuestion, &m_parent), 1);
    EXPECT_EQ(Effects(), (std::vector<std::string>{"Menu.wav", "Cancel.wav"}));
    m_trace.clear();
    TheSettings().m_seOn = 0;
    Tap(m_platform.Now() + 500, "btn_ok_1");
    EXPECT_EQ(RunMessageBox(kQuestion, &m_parent), 0);
    EXPECT_TRUE(Effects().empty());
}

TEST_F(MsgBoxTest, QuestionGoesIntoTheTextBoxInTheRoundedFont) {
    ASSERT_TRUE(m_fonts->Ready());
    CMsgBox box(kQuestion);
    Tap(800, "btn_no_1");
    EXPECT_EQ(box.DoModal(&m_parent), 1u);
    auto* text = dynamic_cast<CText*>(box.Layout().GetPaneObject("txt_message"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->String(), kQuestion);
    EXPECT_NE(text->Font(), nullptr) << "the rounded font was found";
    EXPECT_EQ(box.Layout().GetPane("txt_message").GetAlpha(), 246) << "fades with the window";
}

TEST_F(MsgBoxTest, MissingLayoutAnswersNo) {
    WriteArchive("MSG", {{"MSG_window.tga", dlgtest::SolidTga(0xFFFFFF)}});
    dbglog::Capture log;
    EXPECT_EQ(RunMessageBox(kQuestion, &m_parent), 1);
    EXPECT_NE(log.Text().find("MSG.lyt"), std::string::npos);
    EXPECT_EQ(RunMessageBox(kQuestion), 1) << "no window to open over";
}

}  // namespace
