// The problem list screen on the built data set; the grid's arithmetic is ListGridTest's.
#include <gtest/gtest.h>

#include "DialogFixture.h"
#include "screens/ListWnd.h"
#include "screens/Scene.h"

namespace {

class ListWndTest : public dlgtest::BuiltDataTest {
protected:
    // The section the menu would have chosen, with its problem count.
    void Choose(int chapter, int section, int problems) {
        ProgressState& p = TheProgress();
        p.m_chapter = chapter;
        p.m_section = section;
        p.m_problemCount = problems;
    }
    void Press(uint64_t ms, int x, int y, int down = 1) {
        At(ms, [this, x, y, down] { m_list.ReportPress(0, down, TSPoint{x, y}); });
    }
    void Move(uint64_t ms, int x, int y) {
        At(ms, [this, x, y] { m_list.ReportMove(0, TSPoint{x, y}); });
    }
    void Wheel(uint64_t ms, int16_t delta) {
        At(ms, [this, delta] { m_list.ReportWheel(0, delta, TSPoint{500, 400}); });
    }
    // Runs the screen until it ends, leaving by the back button at `backMs` if given.
    uint32_t Run(uint64_t backMs = 0) {
        if (backMs != 0) Tap(backMs, "btn_back_1");
        const uint32_t scene = m_mgr.RunWindow(&m_list);
        EXPECT_EQ(StepsLeft(), 0u) << "every scripted step (and check) ran";
        return scene;
    }
    std::string Thumb() const {
        std::string image;
        EXPECT_TRUE(Shown("btn_scroll_bar", &image));
        return image;
    }

    CListWnd m_list;
};

TEST_F(ListWndTest, AShortListShowsItsCellsAndChecksResetsTheSavedRowAndDoesNotScroll) {
    Choose(0, 2, 28);
    TheProgress().MarkProblemSolved(0, 0, 2, 2);
    TheProgress().MarkProblemSolved(0, 0, 2, 27);
    TheSettings().m_listPage = 3;
    At(400, [this] {
        EXPECT_EQ(m_list.RowCount(), 3);
        EXPECT_EQ(m_list.FirstRow(), 0);
        for (int k = 0; k < listgrid::kCells; ++k) {
            const ProblemNumberButton& cell = m_list.Cell(k);
            EXPECT_EQ(cell.Number(), k + 1);
            EXPECT_EQ(cell.IsEnabled(), k < 28) << k;
            EXPECT_EQ(cell.Tile().IsVisible(), k < 28) << k;
            EXPECT_EQ(cell.Part(ProblemNumberButton::kCheck).IsVisible(), k == 2 || k == 27) << k;
        }
        EXPECT_EQ(Thumb(), "COMN_btn_scroll_bar_3.tga");
        EXPECT_EQ(m_list.Screen().Pane("background").GetAlpha(), 255) << "faded in";
    });
    // The wheel and a press on the resting thumb change nothing.
    Wheel(450, -120);
    Press(500, 955, 230);
    At(510, [this] { EXPECT_FALSE(m_list.IsDragging()); });
    Press(520, 955, 300, 0);
    EXPECT_EQ(Run(600), uint32_t(kSceneMenu));
    EXPECT_EQ(m_list.FirstRow(), 0);
    EXPECT_EQ(TheSettings().m_listPage, 0) << "the out-of-range saved row is stored reset";
    EXPECT_EQ(Effects(), (std::vector<std::string>{"Set.wav"}));
}

TEST_F(ListWndTest, SavedRowOpensTheListThereAndTheWheelStopsAtTheEnd) {
    Choose(2, 2, 196);
    TheSettings().m_listPage = 12;
    At(300, [this] {
        EXPECT_EQ(m_list.RowCount(), 20);
        EXPECT_EQ(m_list.FirstRow(), 12);
        EXPECT_EQ(m_list.Cell(0).Number(), 121);
        EXPECT_TRUE(m_list.Cell(4).Part(2).IsVisible()) << "125 has three digits";
        EXPECT_EQ(Centre("btn_scroll_bar").y, int(230.5 + 12 * 337 / 15));
        EXPECT_EQ(Thumb(), "COMN_btn_scroll_bar_1.tga");
    });
    for (uint64_t ms = 400; ms < 800; ms += 100) Wheel(ms, -120);
    At(900, [this] {
        EXPECT_EQ(m_list.FirstRow(), 15);
        EXPECT_EQ(TheSettings().m_listPage, 15);
        EXPECT_FALSE(m_list.Cell(46).IsEnabled());  // 197
        EXPECT_TRUE(m_list.Cell(45).IsEnabled());   // 196
    });
    Wheel(1000, 120);
    At(1100, [] { EXPECT_EQ(TheSettings().m_listPage, 14); });
    EXPECT_EQ(Run(1200), uint32_t(kSceneMenu));
    // Three steps down (the fourth is at the end and silent), one up, then back.
    EXPECT_EQ(Effects(), (std::vector<std::string>{"Cursor.wav", "Cursor.wav", "Cursor.wav",
                                                   "Cursor.wav", "Set.wav"}));
}

TEST_F(ListWndTest, ScrollButtonsRepeatWhileHeld) {
    Choose(2, 2, 196);
    At(400, [this] {
        const TSPoint p = Centre("btn_scroll_down1");
        m_list.ReportPress(0, 1, p);
        for (uint64_t ms : {900, 1100, 1300}) At(ms, [this, p] { m_list.ReportHold(0, p); });
        At(1400, [this, p] { m_list.ReportPress(0, 0, p); });
    });
    At(1500, [this] {
        EXPECT_EQ(m_list.FirstRow(), 4);
        EXPECT_EQ(TheSettings().m_listPage, 4);
    });
    Tap(1600, "btn_scroll_up1");
    At(1800, [this] { EXPECT_EQ(m_list.FirstRow(), 3); });
    EXPECT_EQ(Run(1900), uint32_t(kSceneMenu));
}

TEST_F(ListWndTest, ADraggedThumbEndsOnTheNearestRowSidewaysOrAtTheTrackEnd) {
    Choose(2, 2, 196);
    Press(400, 955, 231);
    Move(450, 955, 321);  // thumb at 320.5: 4.5 steps of 22.47 rounds to row 4
    At(460, [this] {
        EXPECT_TRUE(m_list.IsDragging());
        EXPECT_EQ(m_list.ThumbY(), 320.5);
        EXPECT_EQ(m_list.FirstRow(), 0);
        EXPECT_EQ(Thumb(), "COMN_btn_scroll_bar_2.tga");
    });
    Move(500, 990, 321);
    At(510, [this] {
        EXPECT_FALSE(m_list.IsDragging());
        EXPECT_EQ(m_list.FirstRow(), 4);
        EXPECT_EQ(m_list.ThumbY(), 230.5 + 4 * 337 / 15) << "snapped to the row's own place";
    });
    Move(550, 955, 500);
    At(560, [this] { EXPECT_EQ(m_list.FirstRow(), 4) << "moving on after the drag ended"; });
    Press(600, 990, 321, 0);
    At(650, [this] { m_list.ReportPress(0, 1, TSPoint{955, int(m_list.ThumbY())}); });
    Move(660, 955, 700);
    At(700, [this] {
        EXPECT_FALSE(m_list.IsDragging());
        EXPECT_EQ(m_list.FirstRow(), 15);
        EXPECT_EQ(TheSettings().m_listPage, 15);
        EXPECT_EQ(m_list.Cell(0).Number(), 151);
        EXPECT_TRUE(m_list.Cell(0).Part(2).IsVisible()) << "its digits follow the scroll";
        EXPECT_EQ(Thumb(), "COMN_btn_scroll_bar_1.tga");
    });
    Press(750, 955, 700, 0);
    EXPECT_EQ(Run(900), uint32_t(kSceneMenu));
}

TEST_F(ListWndTest, AFlickOntoTheThumbPagesButNotFromInsideTheTrackOrAButton) {
    Choose(2, 2, 196);
    // From the grid up onto the thumb (at 230.5): five rows on.
    Press(400, 500, 560);
    Press(450, 955, 240, 0);
    At(460, [this] { EXPECT_EQ(m_list.FirstRow(), 5); });
    // Starting inside the track does not page, even ending on the thumb.
    Press(500, 955, 560);
    At(550, [this] { m_list.ReportPress(0, 0, TSPoint{955, int(m_list.ThumbY())}); });
    At(600, [this] { EXPECT_EQ(m_list.FirstRow(), 5); });
    // Down onto the thumb from well above: back to the top.
    At(650, [this] { m_list.ReportPress(0, 1, TSPoint{500, int(m_list.ThumbY()) - 100}); });
    At(700, [this] { m_list.ReportPress(0, 0, TSPoint{960, int(m_list.ThumbY())}); });
    At(750, [this] { EXPECT_EQ(m_list.FirstRow(), 0); });
    // A press on the scroll-down button (one row on) dragged onto the thumb is no flick, though
    // the press before it was far below.
    Click(800, 500, 650);
    At(900, [this] { m_list.ReportPress(0, 1, Centre("btn_scroll_down1")); });
    At(950, [this] { m_list.ReportMove(0, TSPoint{955, int(m_list.ThumbY())}); });
    At(1000, [this] { m_list.ReportPress(0, 0, TSPoint{955, int(m_list.ThumbY())}); });
    At(1050, [this] { EXPECT_EQ(m_list.FirstRow(), 1); });
    EXPECT_EQ(Run(1100), uint32_t(kSceneMenu));
    EXPECT_EQ(Effects(),
              (std::vector<std::string>{"Cursor.wav", "Cursor.wav", "Cursor.wav", "Set.wav"}));
}

}  // namespace
