#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "../Lib/ZIRur/Sound/WavBytes.h"
#include "../lesson/LessonFixtures.h"
#include "DialogFixture.h"
#include "Lib/ZIRur/Wnd/TSEvent.h"
#include "progress/ProgressState.h"
#include "screens/ExplainWnd.h"
#include "screens/Scene.h"
#include "screens/ScreenMgr.h"

namespace {

using dlgtest::PaneSpec;

// A pane of the lesson layout from its centre and size, as the art places it.
PaneSpec Centred(const std::string& name, int cx, int cy, int w, int h, bool text = false) {
    return PaneSpec{name, cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2, text};
}

std::vector<PaneSpec> LessonPanes() {
    std::vector<PaneSpec> panes{
        Centred("background", 512, 384, 1024, 768), PaneSpec{"board", 41, 63, 681, 703},
        Centred("text_window", 512, 609, 520, 150), Centred("txt_text", 512, 614, 440, 110, true),
        Centred("chara_1", 838, 534, 238, 468),     Centred("chara_2", 831, 460, 32, 24)};
    // A button's greyed look (where it has one) and its two looks, all at one place.
    const auto button = [&](const std::string& name, int cx, int cy, bool grey = true) {
        const int w = name == "close" ? 96 : 140, h = name == "close" ? 40 : 52;
        for (const std::string& pane : {"gray_" + name, "btn_" + name + "1", "btn_" + name + "2"})
            if (grey || pane[0] == 'b') panes.push_back(Centred(pane, cx, cy, w, h));
    };
    button("close", 703, 542);
    button("kifu_return", 270, 736);
    button("kifu_next", 452, 736);
    button("menu", 946, 34, false);
    panes.push_back(Centred("txt_title", 361, 32, 640, 44, true));
    panes.push_back(Centred("txt_caption", 852, 130, 330, 96, true));
    button("scrn_return", 788, 240);
    button("scrn_next", 938, 240);
    return panes;
}

// A page of the lesson: its record (text first) and the length of its body text.
struct Page : lessontest::PageRecord {
    explicit Page(int body = 2, int window = 1, int pose = 2) : bodyCharacters(body) {
        characterPose = pose, windowMode = window, textFirst = 1;
    }
    int bodyCharacters;
};

class ExplainWndTest : public dlgtest::DialogTest {
protected:
    ExplainWndTest() {
        WriteAllArchives();
        std::vector<std::string> screenTextures, commonTextures;
        for (const auto& row : screen_assets::Lesson().pictures)
            (row.source == screen_assets::Source::Common ? commonTextures : screenTextures)
                .push_back(row.texture);
        for (const auto& t : screen_assets::Lesson().switched) commonTextures.push_back(t.texture);
        for (const char* t : {"COMN_board9.tga", "COMN_board19.tga", "bstone9.tga", "wstone9.tga"})
            commonTextures.push_back(t);
        WriteDialogArchive("D_1", LessonPanes(), screenTextures);
        std::vector<std::pair<std::string, std::vector<uint8_t>>> common;
        for (const std::string& t : commonTextures)
            common.emplace_back(t, dlgtest::SolidTga(dlgtest::ColourOf(t)));
        WriteArchive("COMMON", common);
        m_mgr.CommonGroup().Open("DATA/IMG/COMMON.T2G");
        const auto wav = wavtest::PcmWav(1, 22050, 16, wavtest::Pcm16({100, 200, 300}));
        for (const char* name : {"SE/Stone", "SE/Cursor", "BGM/Setsumei"})
            testsupport::WriteBytes(m_dir / (std::string("DATA/SOUND/") + name + ".wav"), wav);
    }
    void WriteLesson(const std::vector<Page>& pages) {
        std::vector<std::pair<std::string, std::string>> texts;
        for (const Page& p : pages) texts.emplace_back("cap", lessontest::Kana(p.bodyCharacters));
        const std::vector<lessontest::PageRecord> records(pages.begin(), pages.end());
        ASSERT_TRUE(testsupport::WriteBytes(m_dir / "DATA/DATA/EXPLAIN/1-1-1.dat",
                                            lessontest::DataFile(records)));
        lessontest::Write(m_dir, "DATA/DATA/EXPLAIN/1-1-1.txt", lessontest::TextFile(texts));
    }

    // Runs the screen until it ends by itself or, failing that, at `endMs`; a dialog left
    // open then is ended too, so a fault shows as a failure rather than a hang.
    uint32_t Run(uint64_t endMs = 5000) {
        m_endAfter = endMs;
        return m_mgr.RunWindow(&m_screen);
    }
    void Button(uint64_t ms, uint16_t id) {
        At(ms, [this, id] { m_screen.PostEvent(kEvButtonNotify, id, 0); });
    }
    // Whether the close button is shown (usable or not).
    int CloseVisible() const {
        for (const CTSButton* b : m_screen.Buttons())
            if (b->m_id == CExplainWnd::kClose) return b->m_visible;
        ADD_FAILURE() << "no close button";
        return -1;
    }
    CTSPane Window() { return m_screen.Screen().Pane("text_window"); }
    // The text window's state: (shown, visible, centre y, alpha); up is (1, 1, 609, 255).
    std::tuple<bool, bool, int, int> WindowState() {
        return {m_screen.WindowShown(), Window().IsVisible(), Window().GetCenter().y,
                Window().GetAlpha()};
    }
    static constexpr std::tuple<bool, bool, int, int> kUp{true, true, 609, 255};
    // Whether the latest frame draws a sprite of the texture's colour.
    bool Draws(const std::string& texture) {
        for (const auto& c : m_platform.LatestFrame().commands)
            if (c.kind == platform::DrawCommand::Kind::Sprite && c.pixels &&
                (c.pixels->argb[size_t(c.src.top) * c.pixels->width + size_t(c.src.left)] &
                 0xFFFFFF) == dlgtest::ColourOf(texture))
                return true;
        return false;
    }

    CExplainWnd m_screen;
};

// The slide's steps and alphas are ExplainMotionTest's; here the screen's use of them.
TEST_F(ExplainWndTest, SlideInBringsTheTextWithTheWindowAndTheCloseButtonAfterIt) {
    WriteLesson({Page(4, 2)});
    At(60, [&] {
        EXPECT_GT(Window().GetCenter().y, 609);
        EXPECT_EQ(CloseVisible(), 0) << "the close button waits for the slide to end";
        EXPECT_TRUE(m_screen.Screen().Pane("gray_close").IsVisible());
        EXPECT_EQ(m_screen.Screen().Pane("txt_text").GetCenter().y - Window().GetCenter().y, 5);
    });
    Run(500);
    EXPECT_EQ(WindowState(), kUp);
    EXPECT_FALSE(m_screen.Screen().Pane("gray_close").IsVisible());
    EXPECT_EQ(CloseVisible(), 1);
}

TEST_F(ExplainWndTest, CloseButtonSlidesTheWindowOutAndAClickBringsItBack) {
    WriteLesson({Page()});
    Button(100, CExplainWnd::kClose);
    At(400, [&] { EXPECT_EQ(WindowState(), std::tuple(false, false, 709, 0)); });
    Click(400, 300, 300);
    At(700, [&] { EXPECT_EQ(WindowState(), kUp); });
    Run(800);
    EXPECT_EQ(Count("se DATA/SOUND/SE/Set.wav"), 2);
}

TEST_F(ExplainWndTest, WindowModeTwoWhileTheWindowIsUpLeavesItWhereItIs) {
    WriteLesson({Page(), Page(2, 2)});
    Button(300, CExplainWnd::kPageForward);
    bool sawSlide = false;
    for (uint64_t ms = 310; ms < 600; ms += 10)
        At(ms, [&] {
            sawSlide = sawSlide || m_screen.SlideIn().Running();
            EXPECT_EQ(Window().GetCenter().y, 609);
        });
    Run(600);
    EXPECT_FALSE(sawSlide) << "the window stays where it is";
    EXPECT_EQ(m_screen.Playback().Page().currentPage, 1);
    EXPECT_EQ(WindowState(), kUp);
    EXPECT_EQ(CloseVisible(), 1);
}

TEST_F(ExplainWndTest, ASlideInStartedDuringASlideOutEndsWithTheWindowUp) {
    WriteLesson({Page(), Page(2, 2)});
    Button(150, CExplainWnd::kClose);
    At(200, [&] {
        EXPECT_TRUE(m_screen.SlideOut().Running());
        m_screen.PostEvent(kEvButtonNotify, CExplainWnd::kPageForward, 0);
    });
    Run(800);
    EXPECT_EQ(m_screen.Playback().Page().currentPage, 1);
    EXPECT_EQ(WindowState(), kUp);
}

TEST_F(ExplainWndTest, TalkingHoldsBackASlideUntilTheMouthStops) {
    WriteLesson({Page(16)});  // characters 8..15 are typed talking; the 16th closes the mouth
    At(300, [&] {
        EXPECT_TRUE(m_screen.TalkingMouth().Running());
        m_screen.PostEvent(kEvButtonNotify, CExplainWnd::kClose, 0);
    });
    int heldTicks = 0;
    for (uint64_t ms = 320; ms < 460; ms += 10)
        At(ms, [&] {
            if (!m_screen.TalkingMouth().Running()) return;
            ++heldTicks;
            EXPECT_EQ(m_screen.SlideOut().Counter(), 0);
            EXPECT_EQ(Window().GetCenter().y, 609);
        });
    Run(1000);
    EXPECT_GT(heldTicks, 3);
    EXPECT_FALSE(m_screen.TalkingMouth().Running());
    EXPECT_EQ(Window().GetCenter().y, 709) << "the slide ran once the talking stopped";
    EXPECT_FALSE(Window().IsVisible());
}

TEST_F(ExplainWndTest, LastPageEndsTheLessonAndInputWaitsOutTheFade) {
    WriteLesson({Page(), Page(), Page()});
    for (uint64_t ms : {200, 300, 500}) Button(ms, CExplainWnd::kPageForward);
    // Page back (from page 2 it would go to page 1), the wheel and the menu while closing
    // change nothing.
    Button(520, CExplainWnd::kPageBack);
    At(530, [&] { m_screen.PostEvent(kEvWheel, 0, 120); });
    Button(540, CExplainWnd::kMenu);
    EXPECT_EQ(Run(), uint32_t(kSceneMenu));
    EXPECT_TRUE(TheProgress().IsLessonDone(0, 0, 0));
    EXPECT_FALSE(m_screen.Screen().Text("txt_title").empty());
    EXPECT_EQ(m_screen.Playback().Page().currentPage, 2);
    EXPECT_EQ(Count("se DATA/SOUND/SE/Menu.wav"), 0);
    EXPECT_LT(m_platform.Now(), 900u);
}

TEST_F(ExplainWndTest, WheelTowardsTheUserAdvancesAwayGoesBackHeldPageButtonsRepeat) {
    WriteLesson({Page(), Page(), Page(), Page()});
    std::vector<int> pages;
    auto note = [&] { pages.push_back(m_screen.Playback().Page().currentPage); };
    At(200, [&] { m_screen.PostEvent(kEvWheel, 0, uint16_t(-120)); });
    for (uint64_t ms : {300, 410, 510, 700, 810}) At(ms, note);
    At(400, [&] { m_screen.OnButtonHold(CExplainWnd::kPageForward); });
    At(500, [&] { m_screen.OnButtonHold(CExplainWnd::kPageForward); });
    At(600, [&] { m_screen.PostEvent(kEvWheel, 0, 120); });
    At(800, [&] { m_screen.OnButtonHold(CExplainWnd::kPageBack); });
    // Holding the menu or close button repeats nothing.
    At(900, [&] {
        m_screen.OnButtonHold(CExplainWnd::kMenu);
        m_screen.OnButtonHold(CExplainWnd::kClose);
    });
    Run(1200);
    EXPECT_EQ(pages, (std::vector<int>{1, 2, 3, 2, 1}));
    EXPECT_EQ(Count("se DATA/SOUND/SE/Menu.wav") + Count("se DATA/SOUND/SE/Set.wav"), 0);
    EXPECT_TRUE(m_screen.WindowShown());
}

TEST_F(ExplainWndTest, ThePoseChoosesTheCharacterPicturesAndWhereTheMouthGoes) {
    WriteLesson({Page(), Page(2, 1, 0)});  // front, then left
    At(200, [&] {
        EXPECT_EQ(m_screen.Screen().Pane("chara_2").GetCenter(), (TSPoint{831, 460}));
        EXPECT_TRUE(Draws("COMN_chara_normal_1.tga") && !Draws("COMN_chara_left_1.tga"));
    });
    Button(300, CExplainWnd::kPageForward);
    At(500, [&] {
        EXPECT_EQ(m_screen.Screen().Pane("chara_2").GetCenter(), (TSPoint{818, 461}));
        EXPECT_TRUE(Draws("COMN_chara_left_1.tga") && !Draws("COMN_chara_normal_1.tga"));
    });
    Run(600);
}

}  // namespace
