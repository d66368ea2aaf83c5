// The problem screen on the data set the build makes, run on the virtual clock with input
// reported at chosen moments.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Sound/SoundPlayers.h"
#include "Lib/ZIRur/Text/FontMgr.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "problem/BoardGeometry.h"
#include "problem/ProblemFile.h"
#include "problem/ProblemTexts.h"
#include "problem/QuestionWrap.h"
#include "progress/ProgressState.h"
#include "screens/ChapterTitleTable.h"
#include "screens/ProblemWnd.h"
#include "screens/Scene.h"
#include "screens/ScreenAssets.h"
#include "screens/ScreenMgr.h"
#include "support/Built.h"
#include "support/PlatformFixture.h"
#include "support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;

// Chapter 1, sections 3..6 of the first course hold the built problems (0-based indices).
constexpr int kChapter = 0;
constexpr int kFirstSection = 2;
// "問題(001/028)"
constexpr const char* kFirstCounter = "\x96\xe2\x91\xe8(001/028)";

// The folder holding the built DATA/: the build's own, or the parent of
// $STONEWELL_TEST_DATA_DIR.
std::string DataRoot() {
    if (const char* data = std::getenv("STONEWELL_TEST_DATA_DIR"))
        return fs::path(data).parent_path().string();
    return STONEWELL_BINARY_DIR;
}

class ProblemWndTest : public HeadlessTest {
protected:
    ProblemWndTest() : m_cwd(DataRoot()) {
        m_savedSettings = TheSettings();
        m_savedProgress = std::make_unique<ProgressState>(TheProgress());
        TheSettings() = AppSettings{};
        TheProgress() = ProgressState{};
        gfx::RenderDevice::Instance().Create();
        CreateSoundPlayers();
        m_platform.SetTraceSink([this](uint64_t, platform::TraceKind kind, const std::string& d) {
            m_trace.push_back(platform::HeadlessPlatform::TraceName(kind) + " " + d);
        });
        m_platform.SetSleepHook([this](uint64_t until) { RunScript(until); });
        m_built = fs::exists("DATA/IMG/F_1.T2G") && fs::exists("DATA/IMG/COMMON.T2G") &&
                  fs::exists("DATA/DATA/PROBLEM/1-problem.dat");
        if (m_built) m_manager.CommonGroup().Open(screen_assets::kCommonArchive);
    }
    ~ProblemWndTest() override {
        m_platform.SetSleepHook(nullptr);
        DeleteSoundPlayers();
        gfx::RenderDevice::Instance().Release();
        TSingleton<CTSLytMgr>::DestroyInstance();
        TSingleton<CFontMgr>::DestroyInstance();
        TheSettings() = m_savedSettings;
        TheProgress() = *m_savedProgress;
    }

    // The section's records as the screen will load them.
    std::vector<ProblemRecord> Records(int section) {
        ProblemBoard board;
        ProgressState progress;
        EXPECT_TRUE(LoadProblemSet(board, progress, kChapter, section));
        return board.records;
    }
    // Puts the tests' own choice problems (three-text and number problems, which the course
    // does not use) in the place of the course's problem file, in `root`, with the built art
    // and sounds linked in. Returns whether the fixture is built.
    static bool StandInChoiceProblems(const testsupport::ScratchDir& root) {
        const fs::path built = fs::current_path();  // the fixture runs in the build's folder
        const fs::path data = fs::path(root.Path()) / "DATA";
        fs::create_directories(data / "DATA" / "PROBLEM");
        for (const char* sub : {"IMG", "SOUND"})
            fs::create_directory_symlink(built / "DATA" / sub, data / sub);
        const fs::path fixture = built / "fixtures" / "choice-problems.dat";
        fs::create_symlink(fixture, data / "DATA" / "PROBLEM" / "1-problem.dat");
        return fs::exists(fixture);
    }
    // The first problem of the section that passes `test`, or -1.
    int Find(int section, const std::function<bool(const ProblemRecord&)>& test) {
        const std::vector<ProblemRecord> records = Records(section);
        for (size_t i = 0; i < records.size(); ++i)
            if (test(records[i])) return int(i);
        return -1;
    }

    // Opens problem `index` of the section at the next run.
    void Select(int section, int index) {
        ProgressState& p = TheProgress();
        p.m_course = 0;
        p.m_chapter = kChapter;
        p.m_section = section;
        p.m_problemIndex = index;
        p.m_problemCount = p.m_problemCounts[0][kChapter][section];
    }

    // Runs the screen until it ends (or `limitMs` of virtual time pass) and returns its scene.
    uint32_t Run(uint64_t limitMs = 20000) {
        m_limit = m_platform.Now() + limitMs;
        return m_manager.RunWindow(&m_wnd);
    }

    void At(uint64_t ms, std::function<void()> action) {
        m_script.push_back({ms, std::move(action)});
    }
    CTSEventWnd* Front() { return m_manager.CurrentWindow(); }
    void Click(uint64_t ms, int x, int y) {
        At(ms, [this, x, y] { Front()->ReportPress(0, 1, TSPoint{x, y}); });
        At(ms + 50, [this, x, y] { Front()->ReportPress(0, 0, TSPoint{x, y}); });
    }
    void ClickPane(uint64_t ms, const char* pane) {
        At(ms, [this, pane] {
            const TSPoint p = PaneCentre(pane);
            Front()->ReportPress(0, 1, p);
        });
        At(ms + 50, [this, pane] { Front()->ReportPress(0, 0, PaneCentre(pane)); });
    }
    // Centre of a pane in the dialog in front, or else in the screen.
    TSPoint PaneCentre(const char* pane) {
        CTSLayout& screen = m_wnd.Screen().Layout();
        for (CTSLayout* layout : TSingleton<CTSLytMgr>::GetInstance().Layouts())
            if (layout != &screen && layout->IsExistPane(pane) != 0)
                return layout->GetPane(pane).GetCenter();
        return screen.GetPane(pane).GetCenter();
    }
    void ClickPoint(uint64_t ms, int col, int row) {
        At(ms, [this, ms, col, row] {
            int x = 0, y = 0;
            boardgeometry::CenterOf(m_wnd.Play()->BoardSize(), col, row, x, y);
            Front()->ReportPress(0, 1, TSPoint{x, y});
            At(ms + 50, [this, x, y] { Front()->ReportPress(0, 0, TSPoint{x, y}); });
        });
    }
    void Leave(uint64_t ms) {
        At(ms, [this] { m_wnd.LeaveScreen(kSceneMenu); });
    }
    int Count(const std::string& line) const {
        return int(std::count(m_trace.begin(), m_trace.end(), line));
    }

    void RunScript(uint64_t until) {
        std::stable_sort(m_script.begin(), m_script.end(),
                         [](const Timed& a, const Timed& b) { return a.ms < b.ms; });
        while (!m_script.empty() && m_script.front().ms <= until) {
            Timed next = std::move(m_script.front());
            m_script.erase(m_script.begin());
            if (next.ms > m_platform.Now()) m_platform.SetNow(next.ms);
            next.action();
        }
        if (until > m_limit)
            if (CTSEventWnd* w = Front()) w->EndModal(99);
    }

    struct Timed {
        uint64_t ms;
        std::function<void()> action;
    };
    testsupport::WorkingDirectory m_cwd;
    AppSettings m_savedSettings;
    std::unique_ptr<ProgressState> m_savedProgress;
    CScreenMgr m_manager;
    CProblemWnd m_wnd;
    std::vector<Timed> m_script;
    std::vector<std::string> m_trace;
    uint64_t m_limit = 0;
    bool m_built = false;
};

#define REQUIRE_DATA() REQUIRE_BUILT(m_built, "the data set in " << DataRoot() << " is")

TEST_F(ProblemWndTest, OpensWithCounterTitleQuestionAndTheNormalFace) {
    REQUIRE_DATA();
    Select(kFirstSection, 0);
    const ProblemRecord first = Records(kFirstSection)[0];
    std::string counter, title, question, caption;
    bool windowShown = false;
    At(300, [&] {
        counter = m_wnd.Screen().Text("txt_problem");
        title = m_wnd.Screen().Text("txt_title");
        question = m_wnd.Screen().Text("txt_text");
        caption = m_wnd.Screen().Text("txt_caption");
        windowShown = m_wnd.Screen().IsShown("text_window") && m_wnd.Screen().IsShown("txt_text");
    });
    Leave(400);
    EXPECT_EQ(Run(), uint32_t(kSceneMenu));
    EXPECT_EQ(counter, kFirstCounter);
    EXPECT_EQ(title, ChapterTitleTable::Title(0, kChapter, kFirstSection));
    EXPECT_EQ(question, questionwrap::Wrap(problemtext::Question(first.question)));
    EXPECT_EQ(caption, problemtext::Caption(first.caption));
    EXPECT_TRUE(windowShown);
    EXPECT_EQ(Count("bgm DATA/SOUND/BGM/Game.wav"), 1);
    EXPECT_EQ(m_wnd.BoardTexture(), screen_assets::BoardTexture(first.IsFullBoard() ? 19 : 13));
    EXPECT_EQ(m_wnd.FaceShown(), 0);
    EXPECT_FALSE(m_wnd.ControlsShown().prev);
    EXPECT_TRUE(m_wnd.ControlsShown().next);
}

TEST_F(ProblemWndTest, CornerBoardReleasesMapToPointsAndOffTheBoardDoesNothing) {
    REQUIRE_DATA();
    const int section = kFirstSection + 1;
    const int index = Find(section, [](const ProblemRecord& r) {
        if (r.Type() != 6 || r.IsFullBoard() || r.turn != 0) return false;
        for (int i = 0; i < r.setupCount; ++i)
            if ((r.slots[i].x == 0 && r.slots[i].y == 0) ||
                (r.slots[i].x == 12 && r.slots[i].y == 12))
                return false;
        return true;
    });
    ASSERT_GE(index, 0);
    Select(section, index);
    std::vector<StoneEntry> afterOff, afterCorner;
    Click(300, 500, 500);  // closes the question window
    Click(600, 673, 71);
    At(900, [&] { afterOff = m_wnd.Play()->Moves(); });
    Click(1000, 49, 71);
    At(1100, [&] { afterCorner = m_wnd.Play()->Moves(); });
    Leave(1200);
    Run();
    EXPECT_TRUE(afterOff.empty());
    ASSERT_EQ(afterCorner.size(), 1u);
    EXPECT_EQ(afterCorner[0].x, 0);
    EXPECT_EQ(afterCorner[0].y, 0);
    EXPECT_EQ(Count("se DATA/SOUND/SE/Stone.wav"), 1);
}

TEST_F(ProblemWndTest, WrongMoveShowsTheVerdictThenTheAnswerReplaysAndRightClickStartsAgain) {
    REQUIRE_DATA();
    int wrongCol = -1;
    int section = kFirstSection, index = -1;
    const auto fits = [&](const ProblemRecord& r) {
        if (r.Type() != 6 || r.turn != 0) return false;
        const int size = r.IsFullBoard() ? 19 : 13;
        // The first branch must be longer than one move, so the answer is replayed.
        if (r.slots[r.setupCount].aux < 2) return false;
        // A point of the top row that no setup entry and no branch starts on.
        for (int col = size - 1; col >= 0; --col) {
            bool used = false;
            for (int i = 0; i < 200 && !used; ++i) used = r.slots[i].x == col && r.slots[i].y == 0;
            if (!used) {
                wrongCol = col;
                return true;
            }
        }
        return false;
    };
    for (; section < kFirstSection + 4 && index < 0; ++section) index = Find(section, fits);
    --section;
    ASSERT_GE(index, 0);
    Select(section, index);
    bool verdictShown = false, answerUsable = false, againUsable = false;
    int faceAtVerdict = -1;
    int replayedMid = -1, replayedEnd = -1;
    size_t spritesAtAnswer = 0;
    Click(300, 500, 500);
    ClickPoint(600, wrongCol, 0);
    At(1500, [&] {
        verdictShown = m_wnd.Screen().IsShown("result");
        faceAtVerdict = m_wnd.FaceShown();
        answerUsable = m_wnd.ControlsShown().answer;
    });
    ClickPane(1600, "btn_answer1");
    At(1800, [&] {
        replayedMid = m_wnd.Play()->ReplayShown();
        spritesAtAnswer = m_wnd.Sprites().size();
    });
    At(8000, [&] { replayedEnd = m_wnd.Play()->ReplayShown(); });
    At(8200, [&] { Front()->ReportSecondary(0, TSPoint{500, 500}); });
    At(8400, [&] {
        againUsable =
            m_wnd.Play()->Phase() == PlayPhase::Answering && !m_wnd.Screen().IsShown("result");
    });
    Leave(8500);
    Run();
    EXPECT_TRUE(verdictShown);
    EXPECT_EQ(faceAtVerdict, 3);
    EXPECT_TRUE(answerUsable);
    EXPECT_EQ(Count("se DATA/SOUND/SE/No.wav"), 1);
    EXPECT_EQ(replayedMid, 0) << "the first step waits a period";
    EXPECT_GT(spritesAtAnswer, 0u);
    EXPECT_GE(replayedEnd, 2);
    EXPECT_TRUE(againUsable);
    EXPECT_EQ(Count("se DATA/SOUND/SE/Cancel.wav"), 1);
}

TEST_F(ProblemWndTest, WheelTurnsPagesWhileTheQuestionIsOpenAndChoosesOnceItIsClosed) {
    REQUIRE_DATA();
    const testsupport::ScratchDir root;
    REQUIRE_BUILT(StandInChoiceProblems(root), "the test fixtures are");
    const testsupport::WorkingDirectory inRoot(root.Path());
    const int index = Find(kFirstSection, [](const ProblemRecord& r) { return r.Type() == 8; });
    ASSERT_GE(index, 0);
    Select(kFirstSection, index);
    int afterDown = -1, afterUp = -1, selectionUp = -1, selectionDown = -1, faceChanges = -1;
    std::string selectionText;
    At(300, [&] { Front()->ReportWheel(0, -120, TSPoint{300, 300}); });
    At(400, [&] { afterDown = m_wnd.Play()->ProblemIndex(); });
    At(500, [&] { Front()->ReportWheel(0, 120, TSPoint{300, 300}); });
    At(600, [&] { afterUp = m_wnd.Play()->ProblemIndex(); });
    int facesBeforeClose = -1;
    At(650, [&] { facesBeforeClose = m_wnd.FaceChanges(); });
    Click(700, 500, 500);
    At(900, [&] {
        faceChanges = m_wnd.FaceChanges();
        Front()->ReportWheel(0, 120, TSPoint{300, 300});
    });
    At(1000, [&] {
        selectionUp = m_wnd.Play()->Selection();
        selectionText = m_wnd.Screen().Text("txt_select");
        Front()->ReportWheel(0, -120, TSPoint{300, 300});
    });
    At(1100, [&] { selectionDown = m_wnd.Play()->Selection(); });
    Leave(1200);
    Run();
    EXPECT_EQ(afterDown, index + 1);
    EXPECT_EQ(afterUp, index);
    EXPECT_EQ(selectionUp, 1);
    EXPECT_EQ(selectionDown, 0);
    EXPECT_EQ(selectionText, std::string(Records(kFirstSection)[size_t(index)].choices[1]));
    // Aside once the question is closed; turning the selection keeps that face.
    EXPECT_EQ(faceChanges, facesBeforeClose + 1);
    EXPECT_EQ(m_wnd.FaceShown(), 1);
    EXPECT_EQ(m_wnd.FaceChanges(), faceChanges);
}

TEST_F(ProblemWndTest, HeldNextActsOnceMoreOnEveryHold) {
    REQUIRE_DATA();
    Select(kFirstSection, 0);
    int whileHeld = -1, afterHolds = -1, afterPrev = -1;
    At(300, [&] { Front()->ReportPress(0, 1, PaneCentre("btn_next1")); });
    At(400, [&] { whileHeld = m_wnd.Play()->ProblemIndex(); });
    for (uint64_t t : {900, 1100, 1300})
        At(t, [this] { Front()->ReportHold(0, PaneCentre("btn_next1")); });
    At(1400, [&] { Front()->ReportPress(0, 0, PaneCentre("btn_next1")); });
    At(1500, [&] { afterHolds = m_wnd.Play()->ProblemIndex(); });
    At(1600, [&] { Front()->ReportPress(0, 1, PaneCentre("btn_prev1")); });
    At(1800, [&] { Front()->ReportHold(0, PaneCentre("btn_prev1")); });
    At(1900, [&] { Front()->ReportPress(0, 0, PaneCentre("btn_prev1")); });
    At(2000, [&] { afterPrev = m_wnd.Play()->ProblemIndex(); });
    Leave(2100);
    Run();
    EXPECT_EQ(whileHeld, 1) << "a press acts at once";
    EXPECT_EQ(afterHolds, 4);
    EXPECT_EQ(afterPrev, 2);
    EXPECT_TRUE(m_wnd.Screen().IsShown("txt_text")) << "the release after a page is no board click";
    EXPECT_EQ(Count("se DATA/SOUND/SE/Cursor.wav"), 6);
}

TEST_F(ProblemWndTest, MenuResumesOrLeavesForTheList) {
    REQUIRE_DATA();
    Select(kFirstSection, 0);
    bool resumedQuestion = false;
    ClickPane(300, "btn_menu1");
    ClickPane(1100, "btn3_1");
    At(1900, [&] { resumedQuestion = m_wnd.Screen().IsShown("txt_text") && !m_wnd.IsLeaving(); });
    ClickPane(2000, "btn_menu1");
    ClickPane(2800, "btn1_1");
    EXPECT_EQ(Run(), uint32_t(kSceneProblemList));
    EXPECT_TRUE(resumedQuestion);
}

TEST_F(ProblemWndTest, DragMovesTheHighlightCursorAndTheQuestionWindowClearsIt) {
    REQUIRE_DATA();
    Select(kFirstSection, 0);
    int col = -1, row = -1;
    bool shownAfterAgain = true;
    At(300, [&] { Front()->ReportPress(0, 1, TSPoint{49 + 48 * 2 + 5, 71 + 48 * 2 + 5}); });
    At(350, [&] { Front()->ReportMove(0, TSPoint{49 + 48 * 2 + 5 + 40, 71 + 48 * 2 + 5}); });
    At(400, [&] { Front()->ReportMove(0, TSPoint{49 + 48 * 2 + 5 + 40, 71 + 48 * 2 + 5 + 40}); });
    At(450, [&] {
        col = m_wnd.Cursor().Column();
        row = m_wnd.Cursor().Row();
        Front()->ReportPress(0, 0, TSPoint{200, 200});
    });
    At(600, [&] { Front()->ReportSecondary(0, TSPoint{500, 500}); });
    At(800, [&] { shownAfterAgain = m_wnd.Cursor().Shown(); });
    Leave(900);
    Run();
    EXPECT_EQ(col, 3);
    EXPECT_EQ(row, 3);
    EXPECT_FALSE(shownAfterAgain);
}

TEST_F(ProblemWndTest, StonesAreDrawnOverTheBoardAndUnderTheQuestionWindow) {
    REQUIRE_DATA();
    Select(kFirstSection, 0);
    platform::DrawList frame;
    At(500, [&] { frame = m_platform.LatestFrame(); });
    Leave(600);
    Run();
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
