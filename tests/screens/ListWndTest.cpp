// The problem list screen on the built data set, under the headless platform: input is
// delivered at virtual times from the clock's sleep hook.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Lib/ZIRur/Graphics/Picture.h"
#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Sound/SoundPlayers.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "platform/headless/HeadlessPlatform.h"
#include "progress/ProgressState.h"
#include "screens/ListWnd.h"
#include "screens/Scene.h"
#include "screens/ScreenMgr.h"
#include "support/Built.h"
#include "support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;

fs::path BuiltData() {
    return fs::path(STONEWELL_BINARY_DIR) / "DATA";
}

class ListWndTest : public ::testing::Test {
protected:
    ListWndTest() : m_savedProgress(std::make_unique<ProgressState>(TheProgress())) {
        m_savedSettings = TheSettings();
        TheSettings() = AppSettings{};
        TheProgress() = ProgressState{};
        m_haveData = fs::exists(BuiltData() / "IMG" / "E_1.T2G");
        fs::create_directories(m_dir / "DATA");
        for (const char* sub : {"IMG", "SOUND"}) {
            std::error_code error;
            fs::create_directory_symlink(BuiltData() / sub, fs::path(m_dir / "DATA") / sub, error);
        }
        m_cwd = std::make_unique<testsupport::WorkingDirectory>(m_dir.Path());
        m_platform.SetTraceSink([this](uint64_t, platform::TraceKind kind, const std::string& d) {
            m_trace.push_back(platform::HeadlessPlatform::TraceName(kind) + " " + d);
        });
        m_platform.SetSleepHook([this](uint64_t until) { RunScript(until); });
        CreateSoundPlayers();
        gfx::RenderDevice::Instance().Create();
        m_manager.CommonGroup().Open("DATA/IMG/COMMON.T2G");
    }
    ~ListWndTest() override {
        m_manager.CommonGroup().Close();
        gfx::RenderDevice::Instance().Release();
        DeleteSoundPlayers();
        TSingleton<CTSLytMgr>::DestroyInstance();
        m_cwd.reset();
        TheSettings() = m_savedSettings;
        TheProgress() = *m_savedProgress;
    }
    void SetUp() override { REQUIRE_BUILT(m_haveData, "data set"); }

    // The section the menu would have chosen, with its problem count.
    void Choose(int chapter, int section, int problems) {
        ProgressState& p = TheProgress();
        p.m_course = 0;
        p.m_chapter = chapter;
        p.m_section = section;
        p.m_problemCount = problems;
    }

    void At(uint64_t ms, std::function<void()> action) {
        m_script.push_back({ms, std::move(action)});
    }
    void Press(uint64_t ms, int x, int y) {
        At(ms, [this, x, y] { m_list->ReportPress(0, 1, TSPoint{x, y}); });
    }
    void Release(uint64_t ms, int x, int y) {
        At(ms, [this, x, y] { m_list->ReportPress(0, 0, TSPoint{x, y}); });
    }
    void Move(uint64_t ms, int x, int y) {
        At(ms, [this, x, y] { m_list->ReportMove(0, TSPoint{x, y}); });
    }
    void Click(uint64_t ms, int x, int y) {
        Press(ms, x, y);
        Release(ms + 20, x, y);
    }
    void Wheel(uint64_t ms, int16_t delta) {
        At(ms, [this, delta] { m_list->ReportWheel(0, delta, TSPoint{500, 400}); });
    }
    // Clicks the middle of a button of the screen, wherever the data puts it.
    void ClickButton(uint64_t ms, uint16_t id) {
        At(ms, [this, ms, id] {
            CPaneButton* button = m_list->Screen().Button(id);
            ASSERT_NE(button, nullptr);
            const TSRect r = button->GetRect();
            const TSPoint p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            m_list->ReportPress(0, 1, p);
            At(ms + 20, [this, p] { m_list->ReportPress(0, 0, p); });
        });
    }

    // Runs the screen until it ends (or 60 s of virtual time); returns its next scene.
    uint32_t Run() {
        m_list = std::make_unique<CListWnd>();
        const uint32_t scene = m_manager.RunWindow(m_list.get());
        // Every scripted step (and so every check in one) ran before the screen ended.
        EXPECT_TRUE(m_script.empty()) << m_script.size() << " steps left";
        return scene;
    }

    // Effect files played so far, without folders ("Set.wav").
    std::vector<std::string> Effects() const {
        std::vector<std::string> out;
        for (const std::string& line : m_trace)
            if (line.rfind("se ", 0) == 0) out.push_back(line.substr(line.rfind('/') + 1));
        return out;
    }

    std::string ThumbTexture() {
        auto* picture =
            dynamic_cast<CxPicture*>(m_list->Screen().Layout().GetPaneObject("btn_scroll_bar"));
        return picture != nullptr ? picture->Name() : "";
    }
    TSPoint ThumbCentre() { return m_list->Screen().Pane("btn_scroll_bar").GetCenter(); }
    bool ButtonShown(uint16_t id) {
        CPaneButton* button = m_list->Screen().Button(id);
        return button != nullptr && button->m_visible != 0 && button->m_state != kBtnDisabled;
    }
    // Centre of a grid cell (0..49) on the screen.
    static TSPoint CellCentre(int cell) {
        return TSPoint{60 + (cell % 10) * 86 + 43, 215 + (cell / 10) * 80 + 26};
    }

    platform::HeadlessPlatform m_platform;
    struct PlatformScope {
        explicit PlatformScope(platform::HeadlessPlatform& p) { platform::SetPlatform(&p); }
        ~PlatformScope() { platform::SetPlatform(nullptr); }
    } m_platformScope{m_platform};
    std::unique_ptr<ProgressState> m_savedProgress;
    AppSettings m_savedSettings;
    bool m_haveData = false;
    testsupport::ScratchDir m_dir;
    std::unique_ptr<testsupport::WorkingDirectory> m_cwd;
    CScreenMgr m_manager;
    std::unique_ptr<CListWnd> m_list;
    std::vector<std::string> m_trace;

    struct Timed {
        uint64_t ms;
        std::function<void()> action;
    };
    std::vector<Timed> m_script;

private:
    void RunScript(uint64_t until) {
        std::stable_sort(m_script.begin(), m_script.end(),
                         [](const Timed& a, const Timed& b) { return a.ms < b.ms; });
        while (!m_script.empty() && m_script.front().ms <= until) {
            Timed next = std::move(m_script.front());
            m_script.erase(m_script.begin());
            if (next.ms > m_platform.Now()) m_platform.SetNow(next.ms);
            next.action();
        }
        // A screen that never ends finishes the test instead of hanging it.
        if (until > 60000 && m_list) m_list->EndModal(99);
    }
};

TEST_F(ListWndTest, TwentyEightProblemsShowThreeRowsWithChecksAndNoScrolling) {
    Choose(0, 2, 28);
    TheProgress().MarkProblemSolved(0, 0, 2, 2);
    TheProgress().MarkProblemSolved(0, 0, 2, 27);
    TheSettings().m_listPage = 3;
    At(400, [this] {
        EXPECT_EQ(m_list->RowCount(), 3);
        EXPECT_EQ(m_list->FirstRow(), 0);
        for (int k = 0; k < listgrid::kCells; ++k) {
            const ProblemNumberButton& cell = m_list->Cell(k);
            EXPECT_EQ(cell.Number(), k + 1);
            EXPECT_EQ(cell.IsEnabled(), k < 28) << k;
            EXPECT_EQ(cell.Tile().IsVisible(), k < 28) << k;
            const bool checked = k == 2 || k == 27;
            EXPECT_EQ(cell.Part(ProblemNumberButton::kCheck).IsVisible(), checked) << k;
        }
        // "10" in the last column of the first row.
        const ProblemNumberButton& ten = m_list->Cell(9);
        EXPECT_EQ(ten.Part(0).GetCenter(), (TSPoint{9 * 86 + 90, 238}));
        EXPECT_EQ(ten.Part(1).GetCenter(), (TSPoint{9 * 86 + 113, 238}));
        EXPECT_FALSE(ten.Part(2).IsVisible());
        EXPECT_EQ(m_list->Cell(2).Part(0).GetCenter(), (TSPoint{2 * 86 + 102, 238}));
        EXPECT_EQ(ThumbCentre(), (TSPoint{955, 230}));
        EXPECT_EQ(ThumbTexture(), "COMN_btn_scroll_bar_3.tga");
        EXPECT_FALSE(ButtonShown(CListWnd::kScrollUp));
        EXPECT_FALSE(ButtonShown(CListWnd::kScrollDown));
        // Faded in completely.
        EXPECT_EQ(m_list->Screen().Pane("background").GetAlpha(), 255);
        EXPECT_EQ(m_list->Cell(0).Tile().GetAlpha(), 255);
    });
    // The wheel and a press on the resting thumb change nothing.
    Wheel(450, -120);
    Press(500, 955, 230);
    At(510, [this] { EXPECT_FALSE(m_list->IsDragging()); });
    Release(520, 955, 300);
    ClickButton(600, CListWnd::kBack);
    EXPECT_EQ(Run(), uint32_t(kSceneMenu));
    EXPECT_EQ(m_list->FirstRow(), 0);
    // The out-of-range saved row was reset and stored as such.
    EXPECT_EQ(TheSettings().m_listPage, 0);
    EXPECT_EQ(Effects(), (std::vector<std::string>{"Set.wav"}));
}

TEST_F(ListWndTest, ANumberOpensItsProblemAndTheGapDoesNothing) {
    Choose(1, 0, 52);
    // Just below "12" (in the gap after row 0), then on "49" in the last visible row.
    Click(400, CellCentre(11).x, 215 + 53);
    At(450, [this] { EXPECT_FALSE(m_list->IsLeaving()); });
    Click(500, CellCentre(48).x, CellCentre(48).y);
    At(600, [this] { EXPECT_EQ(m_list->Fade().LeavingFor(), int(kSceneProblem)); });
    EXPECT_EQ(Run(), uint32_t(kSceneProblem));
    EXPECT_EQ(TheProgress().m_problemIndex, 48);
    EXPECT_EQ(Effects(), (std::vector<std::string>{"Set.wav"}));
}

TEST_F(ListWndTest, NumbersBeyondTheCountSelectNothing) {
    Choose(0, 2, 28);
    Click(400, CellCentre(28).x, CellCentre(28).y);
    Click(500, CellCentre(45).x, CellCentre(45).y);
    At(700, [this] { EXPECT_FALSE(m_list->IsLeaving()); });
    const TSPoint twelve = CellCentre(11);
    Click(800, twelve.x, twelve.y);
    EXPECT_EQ(Run(), uint32_t(kSceneProblem));
    EXPECT_EQ(TheProgress().m_problemIndex, 11);
}

TEST_F(ListWndTest, SavedRowOpensTheListThereAndTheWheelStopsAtTheEnd) {
    Choose(2, 2, 196);
    TheSettings().m_listPage = 12;
    At(300, [this] {
        EXPECT_EQ(m_list->RowCount(), 20);
        EXPECT_EQ(m_list->FirstRow(), 12);
        EXPECT_EQ(m_list->Cell(0).Number(), 121);
        // 125: three digits at offsets 82, 102 and 122 of column 4.
        const ProblemNumberButton& cell = m_list->Cell(4);
        EXPECT_EQ(cell.Part(0).GetCenter().x, 4 * 86 + 82);
        EXPECT_EQ(cell.Part(1).GetCenter().x, 4 * 86 + 102);
        EXPECT_EQ(cell.Part(2).GetCenter().x, 4 * 86 + 122);
        EXPECT_TRUE(cell.Part(2).IsVisible());
        EXPECT_EQ(ThumbCentre().y, int(230.5 + 12 * 337 / 15));
        EXPECT_EQ(ThumbTexture(), "COMN_btn_scroll_bar_1.tga");
    });
    for (uint64_t ms = 400; ms < 800; ms += 100) Wheel(ms, -120);
    At(900, [this] {
        EXPECT_EQ(m_list->FirstRow(), 15);
        EXPECT_EQ(TheSettings().m_listPage, 15);
        EXPECT_EQ(ThumbCentre().y, 567);
        EXPECT_TRUE(ButtonShown(CListWnd::kScrollUp));
        EXPECT_FALSE(ButtonShown(CListWnd::kScrollDown));
        EXPECT_FALSE(m_list->Cell(46).IsEnabled());  // 197
        EXPECT_TRUE(m_list->Cell(45).IsEnabled());   // 196
    });
    Wheel(1000, 120);
    At(1100, [] { EXPECT_EQ(TheSettings().m_listPage, 14); });
    ClickButton(1200, CListWnd::kBack);
    EXPECT_EQ(Run(), uint32_t(kSceneMenu));
    // Three steps down (the fourth is at the end and silent), one up, then back.
    EXPECT_EQ(Effects(), (std::vector<std::string>{"Cursor.wav", "Cursor.wav", "Cursor.wav",
                                                   "Cursor.wav", "Set.wav"}));
}

TEST_F(ListWndTest, ASavedRowBeyondAShortListOpensAtTheTop) {
    Choose(0, 2, 45);
    TheSettings().m_listPage = 12;
    At(300, [this] {
        EXPECT_EQ(m_list->FirstRow(), 0);
        EXPECT_EQ(TheSettings().m_listPage, 0);
    });
    ClickButton(400, CListWnd::kBack);
    EXPECT_EQ(Run(), uint32_t(kSceneMenu));
}

TEST_F(ListWndTest, ScrollButtonsRepeatWhileHeld) {
    Choose(2, 2, 196);
    At(400, [this] {
        CPaneButton* down = m_list->Screen().Button(CListWnd::kScrollDown);
        ASSERT_NE(down, nullptr);
        const TSRect r = down->GetRect();
        const TSPoint p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        m_list->ReportPress(0, 1, p);
        At(900, [this, p] { m_list->ReportHold(0, p); });
        At(1100, [this, p] { m_list->ReportHold(0, p); });
        At(1300, [this, p] { m_list->ReportHold(0, p); });
        At(1400, [this, p] { m_list->ReportPress(0, 0, p); });
    });
    At(1500, [this] {
        EXPECT_EQ(m_list->FirstRow(), 4);
        EXPECT_EQ(TheSettings().m_listPage, 4);
    });
    ClickButton(1600, CListWnd::kScrollUp);
    At(1800, [this] { EXPECT_EQ(m_list->FirstRow(), 3); });
    ClickButton(1900, CListWnd::kBack);
    EXPECT_EQ(Run(), uint32_t(kSceneMenu));
}

TEST_F(ListWndTest, DraggingTheThumbToTheBottomShowsTheLastRows) {
    Choose(2, 2, 196);
    Press(400, 955, 231);
    Move(450, 955, 301);
    At(460, [this] {
        EXPECT_TRUE(m_list->IsDragging());
        EXPECT_EQ(m_list->ThumbY(), 300.5);
        EXPECT_EQ(m_list->FirstRow(), 0);
        EXPECT_EQ(ThumbTexture(), "COMN_btn_scroll_bar_2.tga");
    });
    Move(500, 955, 700);
    At(510, [this] {
        EXPECT_FALSE(m_list->IsDragging());
        EXPECT_EQ(m_list->FirstRow(), 15);
        EXPECT_EQ(TheSettings().m_listPage, 15);
        EXPECT_EQ(m_list->Cell(0).Number(), 151);
        EXPECT_EQ(ThumbTexture(), "COMN_btn_scroll_bar_1.tga");
    });
    Release(550, 955, 700);
    ClickButton(700, CListWnd::kBack);
    EXPECT_EQ(Run(), uint32_t(kSceneMenu));
    EXPECT_EQ(m_list->FirstRow(), 15);
}

TEST_F(ListWndTest, LeavingTheTrackSidewaysEndsTheDragOnTheNearestRow) {
    Choose(2, 2, 196);
    Press(400, 955, 231);
    Move(450, 955, 321);  // thumb at 320.5: 4.5 steps of 22.47 rounds to row 4
    Move(500, 990, 321);
    At(510, [this] {
        EXPECT_FALSE(m_list->IsDragging());
        EXPECT_EQ(m_list->FirstRow(), 4);
        // The thumb snaps to the row's own place.
        EXPECT_EQ(m_list->ThumbY(), 230.5 + 4 * 337 / 15);
    });
    // Moving on after the drag ended leaves the list alone.
    Move(550, 955, 500);
    At(560, [this] { EXPECT_EQ(m_list->FirstRow(), 4); });
    ClickButton(700, CListWnd::kBack);
    EXPECT_EQ(Run(), uint32_t(kSceneMenu));
}

TEST_F(ListWndTest, AFlickOntoTheThumbPagesButNotFromInsideTheTrack) {
    Choose(2, 2, 196);
    // From the grid up onto the thumb (at 230.5): five rows on.
    Press(400, 500, 560);
    Release(450, 955, 240);
    At(460, [this] { EXPECT_EQ(m_list->FirstRow(), 5); });
    // Starting inside the track does not page, even ending on the thumb.
    At(500, [this] {
        const int thumb = int(m_list->ThumbY());
        m_list->ReportPress(0, 1, TSPoint{955, 560});
        At(550, [this, thumb] { m_list->ReportPress(0, 0, TSPoint{955, thumb}); });
    });
    At(600, [this] { EXPECT_EQ(m_list->FirstRow(), 5); });
    // Down onto the thumb from well above: back to the top.
    At(650, [this] {
        const int thumb = int(m_list->ThumbY());
        m_list->ReportPress(0, 1, TSPoint{500, thumb - 100});
        At(700, [this, thumb] { m_list->ReportPress(0, 0, TSPoint{960, thumb}); });
    });
    At(750, [this] { EXPECT_EQ(m_list->FirstRow(), 0); });
    ClickButton(800, CListWnd::kBack);
    EXPECT_EQ(Run(), uint32_t(kSceneMenu));
    EXPECT_EQ(Effects(), (std::vector<std::string>{"Cursor.wav", "Cursor.wav", "Set.wav"}));
}

TEST_F(ListWndTest, AReleaseAfterAPressOnAButtonIsNoFlick) {
    Choose(2, 2, 196);
    // A press and release below the grid leave their position behind.
    Click(400, 500, 650);
    // Then a press on the scroll-down button (one row on), dragged off it onto the thumb.
    At(500, [this] {
        CPaneButton* down = m_list->Screen().Button(CListWnd::kScrollDown);
        ASSERT_NE(down, nullptr);
        const TSRect r = down->GetRect();
        m_list->ReportPress(0, 1, TSPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    });
    At(700, [this] { m_list->ReportMove(0, TSPoint{955, int(m_list->ThumbY())}); });
    At(750, [this] { m_list->ReportPress(0, 0, TSPoint{955, int(m_list->ThumbY())}); });
    At(800, [this] { EXPECT_EQ(m_list->FirstRow(), 1); });
    ClickButton(900, CListWnd::kBack);
    EXPECT_EQ(Run(), uint32_t(kSceneMenu));
}

}  // namespace
