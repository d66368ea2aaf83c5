#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "../Lib/ZIRur/Sound/WavBytes.h"
#include "DialogFixture.h"
#include "Lib/ZIRur/Wnd/TSEvent.h"
#include "progress/ProgressState.h"
#include "screens/ExplainWnd.h"
#include "screens/Scene.h"
#include "screens/ScreenMgr.h"

namespace {

using dlgtest::PaneSpec;

// A pane of the lesson layout from its centre and size, as the art places it.
PaneSpec Centred(const char* name, int cx, int cy, int w, int h, bool text = false) {
    return PaneSpec{name, cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2, text};
}

std::vector<PaneSpec> LessonPanes() {
    return {Centred("background", 512, 384, 1024, 768),
            PaneSpec{"board", 41, 63, 681, 703},
            Centred("text_window", 512, 609, 520, 150),
            Centred("txt_text", 512, 614, 440, 110, true),
            Centred("chara_1", 838, 534, 238, 468),
            Centred("chara_2", 831, 460, 32, 24),
            Centred("gray_close", 703, 542, 96, 40),
            Centred("btn_close1", 703, 542, 96, 40),
            Centred("btn_close2", 703, 542, 96, 40),
            Centred("gray_kifu_return", 270, 736, 140, 52),
            Centred("btn_kifu_return1", 270, 736, 140, 52),
            Centred("btn_kifu_return2", 270, 736, 140, 52),
            Centred("gray_kifu_next", 452, 736, 140, 52),
            Centred("btn_kifu_next1", 452, 736, 140, 52),
            Centred("btn_kifu_next2", 452, 736, 140, 52),
            Centred("btn_menu1", 946, 34, 140, 52),
            Centred("btn_menu2", 946, 34, 140, 52),
            Centred("txt_title", 361, 32, 640, 44, true),
            Centred("txt_caption", 852, 130, 330, 96, true),
            Centred("gray_scrn_return", 788, 240, 140, 52),
            Centred("btn_scrn_return1", 788, 240, 140, 52),
            Centred("btn_scrn_return2", 788, 240, 140, 52),
            Centred("gray_scrn_next", 938, 240, 140, 52),
            Centred("btn_scrn_next1", 938, 240, 140, 52),
            Centred("btn_scrn_next2", 938, 240, 140, 52)};
}

// One step entry of a lesson data file.
struct Entry {
    uint8_t x, y;
    uint16_t code;
};

// A page record of a lesson data file, fields in file order.
struct Page {
    int32_t characterPose = 2;
    int32_t windowMode = 1;
    int32_t boardSize = 9;
    int32_t autoAdvance = 0;
    int32_t showFinal = 0;
    int32_t textFirst = 1;
    std::vector<std::vector<Entry>> steps;
    std::string caption = "cap";
    int bodyCharacters = 4;
};

void PutLe32(std::vector<uint8_t>& out, int32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}

// The data file: page count, then per page the seven header words and the steps (entry
// count, then x, y and a little-endian 16-bit code per entry).
std::vector<uint8_t> DataFile(const std::vector<Page>& pages) {
    std::vector<uint8_t> out;
    PutLe32(out, int32_t(pages.size()));
    for (const Page& p : pages) {
        for (int32_t v : {p.characterPose, p.windowMode, p.boardSize, int32_t(p.steps.size()),
                          p.autoAdvance, p.showFinal, p.textFirst})
            PutLe32(out, v);
        for (const auto& step : p.steps) {
            PutLe32(out, int32_t(step.size()));
            for (const Entry& e : step) {
                out.push_back(e.x);
                out.push_back(e.y);
                out.push_back(uint8_t(e.code & 0xFF));
                out.push_back(uint8_t(e.code >> 8));
            }
        }
    }
    return out;
}

// The text file: caption line and body line per page, each ended by CR LF; the body is
// that many "あ" (Shift_JIS 82 A0).
std::vector<uint8_t> TextFile(const std::vector<Page>& pages) {
    std::string text;
    for (const Page& p : pages) {
        text += p.caption + "\r\n";
        for (int i = 0; i < p.bodyCharacters; ++i) text += "\x82\xa0";
        text += "\r\n";
    }
    return std::vector<uint8_t>(text.begin(), text.end());
}

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
        WriteDialogArchive("D_1", "D_1", LessonPanes(), screenTextures);
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
        ASSERT_TRUE(
            testsupport::WriteBytes(m_dir / "DATA/DATA/EXPLAIN/1-1-1.dat", DataFile(pages)));
        ASSERT_TRUE(
            testsupport::WriteBytes(m_dir / "DATA/DATA/EXPLAIN/1-1-1.txt", TextFile(pages)));
    }

    // Runs the screen until it ends by itself or, failing that, at `endMs`; a dialog left
    // open then is ended too, so a fault shows as a failure rather than a hang.
    uint32_t Run(uint64_t endMs = 5000) {
        m_endAfter = endMs;
        return m_mgr.RunWindow(&m_screen);
    }
    // Posts a button notification to the screen at `ms`.
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
    void ExpectMenuAnsweredNoResumes(const std::function<int()>& progress, int after);
    CTSPane Window() { return m_screen.Screen().Pane("text_window"); }
    // Whether the text window is up: shown, whole and in its place.
    void ExpectWindowUp() {
        EXPECT_TRUE(m_screen.WindowShown());
        EXPECT_TRUE(Window().IsVisible());
        EXPECT_EQ(Window().GetCenter().y, 609);
        EXPECT_EQ(Window().GetAlpha(), 255);
    }
    // The sprite colours of the latest frame in drawing order.
    std::vector<uint32_t> Colours() {
        std::vector<uint32_t> out;
        for (const auto& c : m_platform.LatestFrame().commands)
            if (c.kind == platform::DrawCommand::Kind::Sprite && c.pixels)
                out.push_back(
                    c.pixels->argb[size_t(c.src.top) * c.pixels->width + size_t(c.src.left)] &
                    0xFFFFFF);
        return out;
    }

    CExplainWnd m_screen;
};

// The slide's steps and alphas are ExplainMotionTest's; here the screen's use of them.
TEST_F(ExplainWndTest, SlideInBringsTheTextWithTheWindowAndTheCloseButtonAfterIt) {
    Page page;
    page.windowMode = 2;
    WriteLesson({page});
    At(60, [&] {
        EXPECT_GT(Window().GetCenter().y, 609);
        EXPECT_EQ(CloseVisible(), 0) << "the close button waits for the slide to end";
        EXPECT_TRUE(m_screen.Screen().Pane("gray_close").IsVisible());
        EXPECT_EQ(m_screen.Screen().Pane("txt_text").GetCenter().y - Window().GetCenter().y, 5);
    });
    Run(500);
    ExpectWindowUp();
    EXPECT_FALSE(m_screen.Screen().Pane("gray_close").IsVisible());
    EXPECT_EQ(CloseVisible(), 1);
}

TEST_F(ExplainWndTest, CloseButtonSlidesTheWindowOutAndAClickBringsItBack) {
    Page page;
    page.bodyCharacters = 2;
    WriteLesson({page});
    Button(100, CExplainWnd::kClose);
    At(400, [&] {
        EXPECT_FALSE(m_screen.WindowShown());
        EXPECT_FALSE(Window().IsVisible());
        EXPECT_EQ(Window().GetCenter().y, 709);
        EXPECT_EQ(Window().GetAlpha(), 0);
    });
    Click(400, 300, 300);
    At(700, [&] { ExpectWindowUp(); });
    Run(800);
    EXPECT_EQ(Count("se DATA/SOUND/SE/Set.wav"), 2);
}

TEST_F(ExplainWndTest, WindowModeTwoWhileTheWindowIsUpLeavesItWhereItIs) {
    Page first;
    first.bodyCharacters = 2;
    Page second = first;
    second.windowMode = 2;
    WriteLesson({first, second});
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
    ExpectWindowUp();
    EXPECT_EQ(CloseVisible(), 1);
}

TEST_F(ExplainWndTest, ASlideInStartedDuringASlideOutEndsWithTheWindowUp) {
    Page first;
    first.bodyCharacters = 2;
    Page second = first;
    second.windowMode = 2;
    WriteLesson({first, second});
    Button(150, CExplainWnd::kClose);
    At(200, [&] {
        EXPECT_TRUE(m_screen.SlideOut().Running());
        m_screen.PostEvent(kEvButtonNotify, CExplainWnd::kPageForward, 0);
    });
    Run(800);
    EXPECT_EQ(m_screen.Playback().Page().currentPage, 1);
    ExpectWindowUp();
}

TEST_F(ExplainWndTest, TalkingHoldsBackASlideUntilTheMouthStops) {
    Page page;
    // Characters 8..15 are typed with the mouth moving; the 16th closes it.
    page.bodyCharacters = 16;
    WriteLesson({page});
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

TEST_F(ExplainWndTest, StartOverPlaysPageZeroAgainWithoutRecordingTheLesson) {
    Page first;
    first.bodyCharacters = 2;
    first.caption = "one";
    Page second = first;
    second.caption = "two";
    WriteLesson({first, second});
    Button(200, CExplainWnd::kPageForward);
    At(400, [&] {
        EXPECT_EQ(m_screen.Screen().Text("txt_caption"), "two");
        m_screen.PostEvent(kEvButtonNotify, CExplainWnd::kMenu, 0);
    });
    Tap(1000, "btn1_1");
    Run(2500);
    EXPECT_EQ(m_screen.Playback().Page().currentPage, 0);
    EXPECT_EQ(m_screen.Screen().Text("txt_caption"), "one");
    EXPECT_TRUE(m_screen.Fade().IsSettled());
    EXPECT_TRUE(m_screen.Playback().TypingOn() || m_screen.Playback().TypedLength() > 0);
    EXPECT_FALSE(TheProgress().IsLessonDone(0, 0, 0));
}

// Opens the menu at 150 ms, asks to go back and answers No; `progress` (typed characters or
// steps) must pause under the dialogs and then go on by at least `after`.
void ExplainWndTest::ExpectMenuAnsweredNoResumes(const std::function<int()>& progress, int after) {
    int atMenu = -1, whileOpen = -2;
    At(150, [&] {
        atMenu = progress();
        m_screen.PostEvent(kEvButtonNotify, CExplainWnd::kMenu, 0);
    });
    Tap(900, "btn2_1");
    At(1500, [&] { whileOpen = progress(); });
    Tap(1600, "btn_no_1");
    Run(2600);
    EXPECT_GT(atMenu, 0);
    EXPECT_LE(whileOpen - atMenu, 2) << "paused under the menu";
    EXPECT_TRUE(m_screen.Fade().IsSettled());
    EXPECT_GE(progress(), whileOpen + after);
}

TEST_F(ExplainWndTest, AnsweringNoResumesTyping) {
    Page page;
    page.bodyCharacters = 100;
    WriteLesson({page});
    ExpectMenuAnsweredNoResumes([this] { return m_screen.Playback().TypedLength(); }, 20);
}

TEST_F(ExplainWndTest, AnsweringNoResumesStepPlayback) {
    Page page;
    page.textFirst = 0;
    for (uint8_t i = 0; i < 60; ++i)
        page.steps.push_back({Entry{uint8_t(i % 9), uint8_t(i / 9), 1}});
    WriteLesson({page});
    // Stone pages step every 22 ticks once resumed.
    ExpectMenuAnsweredNoResumes([this] { return m_screen.Playback().Page().currentStep; }, 3);
}

TEST_F(ExplainWndTest, MissingLessonShowsAnEmptyPageAndTheFirstAdvanceEndsIt) {
    At(150, [&] {
        EXPECT_EQ(m_screen.Screen().Text("txt_caption"), "");
        EXPECT_EQ(m_screen.Playback().Page().pageCount, 0);
    });
    Button(200, CExplainWnd::kPageForward);
    std::vector<int> alphas;
    for (uint64_t ms = 215; ms < 420; ms += 10)
        At(ms, [&] { alphas.push_back(int(m_screen.Fade().Alpha())); });
    EXPECT_EQ(Run(), uint32_t(kSceneMenu));
    EXPECT_TRUE(TheProgress().IsLessonDone(0, 0, 0));
    ASSERT_GE(alphas.size(), 10u);
    EXPECT_GT(alphas.front(), alphas.back()) << "the screen fades out before leaving";
    EXPECT_LE(m_platform.Now(), 500u);
}

TEST_F(ExplainWndTest, LastPageEndsTheLessonAndInputWaitsOutTheFade) {
    Page page;
    page.bodyCharacters = 2;
    WriteLesson({page, page, page});
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
    Page page;
    page.bodyCharacters = 2;
    WriteLesson({page, page, page, page});
    std::vector<int> pages;
    auto note = [&] { pages.push_back(m_screen.Playback().Page().currentPage); };
    At(200, [&] { m_screen.PostEvent(kEvWheel, 0, uint16_t(-120)); });
    At(300, note);
    At(400, [&] { m_screen.OnButtonHold(CExplainWnd::kPageForward); });
    At(410, note);
    At(500, [&] { m_screen.OnButtonHold(CExplainWnd::kPageForward); });
    At(510, note);
    At(600, [&] { m_screen.PostEvent(kEvWheel, 0, 120); });
    At(700, note);
    At(800, [&] { m_screen.OnButtonHold(CExplainWnd::kPageBack); });
    At(810, note);
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
    Page front;
    front.bodyCharacters = 2;
    Page left = front;
    left.characterPose = 0;
    WriteLesson({front, left});
    const uint32_t frontColour = dlgtest::ColourOf("COMN_chara_normal_1.tga");
    const uint32_t leftColour = dlgtest::ColourOf("COMN_chara_left_1.tga");
    const auto has = [&](uint32_t colour) {
        const std::vector<uint32_t> colours = Colours();
        return std::find(colours.begin(), colours.end(), colour) != colours.end();
    };
    At(200, [&] {
        EXPECT_EQ(m_screen.Screen().Pane("chara_2").GetCenter(), (TSPoint{831, 460}));
        EXPECT_TRUE(has(frontColour) && !has(leftColour));
    });
    Button(300, CExplainWnd::kPageForward);
    At(500, [&] {
        EXPECT_EQ(m_screen.Screen().Pane("chara_2").GetCenter(), (TSPoint{818, 461}));
        EXPECT_TRUE(has(leftColour) && !has(frontColour));
    });
    Run(600);
}

TEST_F(ExplainWndTest, DrawsBoardThenStonesThenTheWindowWithThePageBoardPicture) {
    Page page;
    page.textFirst = 0;
    page.steps = {{Entry{4, 4, 1}}, {Entry{2, 2, 2}}};
    WriteLesson({page});
    std::vector<uint32_t> colours;
    At(600, [&] { colours = Colours(); });
    Run(700);
    ASSERT_EQ(m_screen.Overlays().size(), 2u);
    auto at = [&](const char* texture) {
        const auto it = std::find(colours.begin(), colours.end(), dlgtest::ColourOf(texture));
        return it == colours.end() ? -1 : int(it - colours.begin());
    };
    EXPECT_EQ(at("COMN_BG.tga"), 0);
    EXPECT_EQ(at("COMN_board9.tga"), 1) << "the page's board picture replaces the layout's";
    EXPECT_EQ(at("COMN_board.tga"), -1);
    // Row by row: the white stone of row 2 before the black one of row 4.
    EXPECT_EQ(at("wstone9.tga"), 2);
    EXPECT_EQ(at("bstone9.tga"), 3);
    EXPECT_EQ(at("COMN_txt_window.tga"), 4);
    EXPECT_GT(at("D1_btn_scrn_next_1.tga"), at("D1_btn_scrn_retrun_3.tga"));
    EXPECT_GT(at("COMN_chara_normal_1.tga"), at("COMN_txt_window.tga"));
}

}  // namespace
