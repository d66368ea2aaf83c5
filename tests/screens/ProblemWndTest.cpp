// The problem screen's own panes, board input and drawing on the built data set; judging and
// replays are the play's (tests/problem), whole answers the script cases'.
#include <gtest/gtest.h>

#include "DialogFixture.h"
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "problem/ProblemFile.h"
#include "problem/ProblemTexts.h"
#include "problem/QuestionWrap.h"
#include "screens/ChapterTitleTable.h"
#include "screens/ProblemWnd.h"
#include "screens/Scene.h"
#include "screens/ScreenAssets.h"

namespace {

// Chapter 1, sections 3..6 of the first course hold the built problems (0-based indices).
constexpr int kChapter = 0;
constexpr int kSection = 2;

class ProblemWndTest : public dlgtest::BuiltDataTest {
protected:
    // The section's records as the screen will load them.
    std::vector<ProblemRecord> Records(int section) {
        ProblemBoard board;
        ProgressState progress;
        EXPECT_TRUE(LoadProblemSet(board, progress, kChapter, section));
        return board.records;
    }
    // Opens problem `index` of the section at the next run.
    void Select(int section, int index) {
        ProgressState& p = TheProgress();
        p.m_chapter = kChapter;
        p.m_section = section;
        p.m_problemIndex = index;
        p.m_problemCount = p.m_problemCounts[0][kChapter][section];
    }
    // Runs the screen, leaving for the main menu at `leaveMs`.
    void Run(uint64_t leaveMs) {
        At(leaveMs, [this] { m_wnd.LeaveScreen(kSceneMenu); });
        EXPECT_EQ(m_mgr.RunWindow(&m_wnd), uint32_t(kSceneMenu));
    }

    CProblemWnd m_wnd;
};

TEST_F(ProblemWndTest, OpensWithCounterTitleQuestionAndFacesTheLearnerUntilItCloses) {
    Select(kSection, 0);
    const ProblemRecord first = Records(kSection)[0];
    At(300, [&] {
        // "問題(001/028)"
        EXPECT_EQ(m_wnd.Screen().Text("txt_problem"), "\x96\xe2\x91\xe8(001/028)");
        EXPECT_EQ(m_wnd.Screen().Text("txt_title"),
                  ChapterTitleTable::Title(0, kChapter, kSection));
        EXPECT_EQ(m_wnd.Screen().Text("txt_text"),
                  questionwrap::Wrap(problemtext::Question(first.question)));
        EXPECT_EQ(m_wnd.Screen().Text("txt_caption"), problemtext::Caption(first.caption));
        EXPECT_TRUE(Shown("text_window") && Shown("txt_text"));
        EXPECT_EQ(m_wnd.FaceShown(), 0);
        EXPECT_FALSE(m_wnd.ControlsShown().prev);
        EXPECT_TRUE(m_wnd.ControlsShown().next);
    });
    Click(400, 500, 500);
    At(600, [&] { EXPECT_EQ(m_wnd.FaceShown(), 1) << "aside once the question is closed"; });
    Run(700);
    EXPECT_EQ(Count("bgm DATA/SOUND/BGM/Game.wav"), 1);
    EXPECT_EQ(m_wnd.BoardTexture(), screen_assets::BoardTexture(first.IsFullBoard() ? 19 : 13));
}

TEST_F(ProblemWndTest, CornerBoardReleasesMapToPointsAndOffTheBoardDoesNothing) {
    const int section = kSection + 1;
    const std::vector<ProblemRecord> records = Records(section);
    int index = -1;
    for (size_t i = 0; i < records.size() && index < 0; ++i) {
        const ProblemRecord& r = records[i];
        bool fits = r.Type() == 6 && !r.IsFullBoard() && r.turn == 0;
        for (int k = 0; k < r.setupCount; ++k)
            fits = fits && !(r.slots[k].x == r.slots[k].y && (r.slots[k].x % 12) == 0);
        if (fits) index = int(i);
    }
    ASSERT_GE(index, 0);
    Select(section, index);
    Click(300, 500, 500);  // closes the question window
    Click(600, 673, 71);
    At(900, [&] { EXPECT_TRUE(m_wnd.Play()->Moves().empty()); });
    Click(1000, 49, 71);
    At(1100, [&] {
        ASSERT_EQ(m_wnd.Play()->Moves().size(), 1u);
        EXPECT_EQ(m_wnd.Play()->Moves()[0].x, 0);
        EXPECT_EQ(m_wnd.Play()->Moves()[0].y, 0);
    });
    Run(1200);
    EXPECT_EQ(Count("se DATA/SOUND/SE/Stone.wav"), 1);
}

TEST_F(ProblemWndTest, DragMovesTheHighlightCursorAndTheQuestionWindowClearsIt) {
    Select(kSection, 0);
    const int x = 49 + 48 * 2 + 5, y = 71 + 48 * 2 + 5;
    At(300, [&] { Front()->ReportPress(0, 1, TSPoint{x, y}); });
    At(350, [&] { Front()->ReportMove(0, TSPoint{x + 40, y}); });
    At(400, [&] { Front()->ReportMove(0, TSPoint{x + 40, y + 40}); });
    At(450, [&] {
        EXPECT_EQ(m_wnd.Cursor().Column(), 3);
        EXPECT_EQ(m_wnd.Cursor().Row(), 3);
        Front()->ReportPress(0, 0, TSPoint{200, 200});
    });
    At(600, [&] { Front()->ReportSecondary(0, TSPoint{500, 500}); });
    At(800, [&] { EXPECT_FALSE(m_wnd.Cursor().Shown()); });
    Run(900);
}

TEST_F(ProblemWndTest, StonesAreDrawnOverTheBoardAndUnderTheQuestionWindow) {
    Select(kSection, 0);
    platform::DrawList frame;
    At(500, [&] { frame = m_platform.LatestFrame(); });
    Run(600);
    // Sprites by the width of what they draw: the board picture is 640 wide, the question
    // window 520, a stone of the corner board less than a point's pitch of 48.
    int board = -1, window = -1, firstStone = -1, stones = 0;
    const float scale = gfx::RenderDevice::Instance().Scale();
    for (size_t i = 0; i < frame.commands.size(); ++i) {
        const platform::DrawCommand& c = frame.commands[i];
        if (c.kind != platform::DrawCommand::Kind::Sprite) continue;
        const float width = float(c.src.right - c.src.left) * c.scaleX / scale;
        if (width == 640.0f && board < 0) board = int(i);
        if (width == 520.0f && window < 0) window = int(i);
        if (width <= 48.0f && c.x / scale < 681.0f && board >= 0 && window < 0) {
            if (firstStone < 0) firstStone = int(i);
            ++stones;
        }
    }
    ASSERT_GE(board, 0);
    ASSERT_GE(window, 0);
    EXPECT_GT(firstStone, board);
    EXPECT_LT(firstStone, window);
    EXPECT_EQ(stones, int(m_wnd.Sprites().size()));
    EXPECT_GT(stones, 0);
}

}  // namespace
