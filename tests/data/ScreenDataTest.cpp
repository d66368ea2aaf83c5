// The lesson, problem-list and problem screens find their panes and textures by name in the
// built archives; every name the screens' tables hold must be there, of the right kind.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "BuiltImage.h"
#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "Lib/ZIRur/Wnd/TSButton.h"
#include "Lib/lyt/picture.h"
#include "Lib/lyt/textBox.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessPlatform.h"
#include "screens/ScreenAssets.h"

namespace {

namespace sa = screen_assets;

class ScreenDataTest : public ::testing::TestWithParam<const sa::ScreenNames* (*)()> {
protected:
    void SetUp() override {
        platform::SetPlatform(&m_platform);
        m_screen = GetParam()();
        ASSERT_TRUE(m_common.Open(builtdata::DataPath("IMG/COMMON.T2G").c_str()))
            << "build the data first (target stonewell_data)";
        const std::string archive = std::string(STONEWELL_BINARY_DIR) + "/" + m_screen->archive;
        ASSERT_TRUE(m_own.Open(archive.c_str())) << archive;
        ASSERT_EQ(m_layout.Load(&m_own, m_screen->layout, nullptr), 1) << m_screen->layout;
    }
    void TearDown() override {
        TSingleton<CTSLytMgr>::DestroyInstance();
        platform::SetPlatform(nullptr);
    }

    // The pane of that name anywhere in the layout's tree, or null.
    LYRALib::lytmgr::Pane* Find(const char* name) {
        LYRALib::lytmgr::Pane* root = m_layout.GetLayout().GetRootPane();
        return root != nullptr ? root->FindPane(name, true) : nullptr;
    }

    const sa::ScreenNames* m_screen = nullptr;
    platform::HeadlessPlatform m_platform;
    CTIGroup m_common;
    CTIGroup m_own;
    CTSLayout m_layout;
};

const sa::ScreenNames* Lesson() {
    return &sa::Lesson();
}
const sa::ScreenNames* ProblemList() {
    return &sa::ProblemList();
}
const sa::ScreenNames* Problem() {
    return &sa::Problem();
}

TEST_P(ScreenDataTest, EveryTextureIsInItsArchive) {
    for (const sa::GeneratedTexture& t : sa::TexturesOf(*m_screen)) {
        // The teacher's pictures come with the character's own sources.
        if (t.texture.rfind("COMN_chara_", 0) == 0) continue;
        const CTIGroup& group = t.source == sa::Source::Common ? m_common : m_own;
        EXPECT_NE(group.GetT2IBuffer(t.texture.c_str()), nullptr) << t.texture;
        EXPECT_GT(builtdata::LoadTga(group, t.texture.c_str()).width, 0) << t.texture;
    }
}

TEST_P(ScreenDataTest, PicturePanesAreSizedLikeTheirFirstPicture) {
    for (const sa::PictureName& row : m_screen->pictures) {
        auto* pane = dynamic_cast<LYRALib::lytmgr::Picture*>(Find(row.pane));
        ASSERT_NE(pane, nullptr) << row.pane << " is missing or not a picture";
        if (std::string(row.texture).rfind("COMN_chara_", 0) == 0) continue;
        // Pictures are drawn at their own size from the pane's anchor, so the two must agree.
        const CTIGroup& group = row.source == sa::Source::Common ? m_common : m_own;
        const builtdata::Image img = builtdata::LoadTga(group, row.texture);
        EXPECT_EQ(int(pane->GetSize().width), img.width) << row.pane;
        EXPECT_EQ(int(pane->GetSize().height), img.height) << row.pane;
    }
    for (const sa::GeneratedPicture& cell : sa::ProblemListCellPictures()) {
        if (!(m_screen->families & sa::kListFamily)) break;
        auto* pane = dynamic_cast<LYRALib::lytmgr::Picture*>(Find(cell.pane.c_str()));
        ASSERT_NE(pane, nullptr) << cell.pane;
    }
    for (const char* pane : m_screen->panes) EXPECT_NE(Find(pane), nullptr) << pane;
}

TEST_P(ScreenDataTest, TextPanesAreTextBoxesWideEnoughForTheirText) {
    for (const sa::TextName& row : m_screen->texts) {
        auto* box = dynamic_cast<LYRALib::lytmgr::TextBox*>(Find(row.pane));
        ASSERT_NE(box, nullptr) << row.pane << " is missing or not a text box";
        EXPECT_GT(int(box->GetFontSize().height), 0) << row.pane;
        // Page bodies and questions are wrapped at 18 full-width characters, a closing mark
        // may make 19.
        if (std::string(row.pane) == "txt_text") {
            EXPECT_GE(box->GetSize().width, 19 * box->GetFontSize().width) << row.pane;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(GoScreens, ScreenDataTest,
                         ::testing::Values(&Lesson, &ProblemList, &Problem),
                         [](const auto& test) { return std::string(test.param()->id); });

}  // namespace

namespace {

class ProblemListLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetPlatform(&m_platform);
        ASSERT_TRUE(m_own.Open(builtdata::DataPath("IMG/E_1.T2G").c_str()));
        ASSERT_EQ(m_layout.Load(&m_own, "E_1", nullptr), 1);
    }
    void TearDown() override {
        TSingleton<CTSLytMgr>::DestroyInstance();
        platform::SetPlatform(nullptr);
    }

    TSRect Rect(const std::string& pane) { return m_layout.GetPane(pane.c_str()).GetPaneRect(); }

    platform::HeadlessPlatform m_platform;
    CTIGroup m_own;
    CTSLayout m_layout;
};

TEST_F(ProblemListLayoutTest, CellsSitInsideTheAreasThatSelectThem) {
    char name[16];
    for (int k = 0; k < sa::kProblemListCells; ++k) {
        const int col = k % 10, row = k / 10;
        std::snprintf(name, sizeof name, "btn_problem%02d", k + 1);
        const TSRect cell = Rect(name);
        // A release selects column (x - 60) / 86 and a row only in its first 53 pixels.
        EXPECT_GE(cell.left, 60 + 86 * col) << name;
        EXPECT_LE(cell.right, 60 + 86 * (col + 1)) << name;
        EXPECT_GE(cell.top, 215 + 80 * row) << name;
        EXPECT_LE(cell.bottom, 215 + 80 * row + 53) << name;
        // The screen centres a single digit on (102 + 86 col, top + 23.5).
        const int digitX = 102 + 86 * col, digitY = 215 + 80 * row + 23;
        EXPECT_LE(std::abs((cell.left + cell.right) / 2 - digitX), 1) << name;
        EXPECT_LE(std::abs((cell.top + cell.bottom) / 2 - digitY), 3) << name;
    }
}

TEST_F(ProblemListLayoutTest, ThumbStartsOnTheTrackAndButtonsStayOffIt) {
    const TSRect thumb = Rect("btn_scroll_bar");
    EXPECT_EQ((thumb.left + thumb.right) / 2, 955);
    EXPECT_EQ((thumb.top + thumb.bottom) / 2, 230);
    // Presses within 23 pixels of the thumb's centre grab it: the thumb fills that square.
    EXPECT_LE(thumb.right - thumb.left, 47);
    EXPECT_GE(thumb.bottom - thumb.top, 44);
    // The track runs over y 207..591; the arrow buttons sit above and below it.
    EXPECT_LE(Rect("btn_scroll_up1").bottom, 207);
    EXPECT_GE(Rect("btn_scroll_down1").top, 591);
}

}  // namespace
