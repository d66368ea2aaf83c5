#include <gtest/gtest.h>

#include "DialogFixture.h"
#include "Lib/ZIRur/Text/Text.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "screens/MsgBox.h"

namespace {

using dlgtest::MsgPanes;

// "メインメニューへ戻りますか？" in Shift_JIS.
const char* const kQuestion =
    "\x83\x81\x83\x43\x83\x93\x83\x81\x83\x6a\x83\x85\x81\x5b\x82\xd6\x96\xdf\x82\xe8\x82\xdc"
    "\x82\xb7\x82\xa9\x81\x48";

class MsgBoxTest : public dlgtest::DialogTest {
protected:
    MsgBoxTest() { WriteAllArchives(); }
};

TEST_F(MsgBoxTest, OkAndNoAnswerWithTheirSounds) {
    ClickPane(500, MsgPanes(), "btn_ok_1");
    EXPECT_EQ(RunMessageBox(kQuestion, &m_parent), 0);
    EXPECT_EQ(Effects(), (std::vector<std::string>{"Menu.wav", "Set.wav"}));
    m_trace.clear();
    ClickPane(m_platform.Now() + 500, MsgPanes(), "btn_no_1");
    EXPECT_EQ(RunMessageBox(kQuestion, &m_parent), 1);
    EXPECT_EQ(Effects(), (std::vector<std::string>{"Menu.wav", "Cancel.wav"}));
}

TEST_F(MsgBoxTest, QuestionGoesIntoTheTextBoxAndFadesWithTheWindow) {
    ASSERT_TRUE(m_fonts->Ready());
    CMsgBox box(kQuestion);
    ClickPane(800, MsgPanes(), "btn_no_1");
    EXPECT_EQ(box.DoModal(&m_parent), 1u);
    auto* text = dynamic_cast<CText*>(box.Layout().GetPaneObject("txt_message"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->String(), kQuestion);
    EXPECT_NE(text->Font(), nullptr) << "the rounded font was found";
    EXPECT_EQ(box.Layout().GetPane("txt_message").GetAlpha(), 246);
    EXPECT_EQ(box.Layout().GetPane("background").GetAlpha(), 91);
}

TEST_F(MsgBoxTest, EffectsOffMakesTheQuestionSilent) {
    TheSettings().m_seOn = 0;
    ClickPane(500, MsgPanes(), "btn_ok_1");
    EXPECT_EQ(RunMessageBox(kQuestion, &m_parent), 0);
    EXPECT_TRUE(Effects().empty());
}

TEST_F(MsgBoxTest, MissingLayoutAnswersNo) {
    WriteArchive("MSG", {{"MSG_window.tga", dlgtest::SolidTga(0xFFFFFF)}});
    dbglog::Capture log;
    EXPECT_EQ(RunMessageBox(kQuestion, &m_parent), 1);
    EXPECT_NE(log.Text().find("MSG.lyt"), std::string::npos);
    EXPECT_EQ(RunMessageBox(kQuestion), 1) << "no window to open over";
}

}  // namespace
