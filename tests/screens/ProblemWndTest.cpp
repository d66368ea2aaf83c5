// The problem screen's board input on the built data set; what it shows is the script cases'
// (their pictures), judging and replays the play's (tests/problem).
#include <gtest/gtest.h>

#include "DialogFixture.h"
#include "screens/ProblemWnd.h"
#include "screens/Scene.h"

namespace {

class ProblemWndTest : public dlgtest::BuiltDataTest {};

TEST_F(ProblemWndTest, DragMovesTheHighlightCursorAndTheQuestionWindowClearsIt) {
    // The first problem of section 1-3, on the corner board.
    ProgressState& p = TheProgress();
    p.m_chapter = 0;
    p.m_section = 2;
    p.m_problemIndex = 0;
    p.m_problemCount = p.m_problemCounts[0][0][2];
    CProblemWnd wnd;
    const int x = 49 + 48 * 2 + 5, y = 71 + 48 * 2 + 5;
    At(300, [&] { Front()->ReportPress(0, 1, TSPoint{x, y}); });
    At(350, [&] { Front()->ReportMove(0, TSPoint{x + 40, y}); });
    At(400, [&] { Front()->ReportMove(0, TSPoint{x + 40, y + 40}); });
    At(450, [&] {
        EXPECT_EQ(wnd.Cursor().Column(), 3);
        EXPECT_EQ(wnd.Cursor().Row(), 3);
        Front()->ReportPress(0, 0, TSPoint{200, 200});
    });
    At(600, [&] { Front()->ReportSecondary(0, TSPoint{500, 500}); });
    At(800, [&] {
        EXPECT_FALSE(wnd.Cursor().Shown());
        wnd.LeaveScreen(kSceneMenu);
    });
    EXPECT_EQ(m_mgr.RunWindow(&wnd), uint32_t(kSceneMenu));
}

}  // namespace
