#include <gtest/gtest.h>

#include <algorithm>
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
        m_savedProgress = TheProgress();
        TheProgress().ResetLessonProgress();
        TheProgress().m_course = 0;
        TheProgress().m_chapter = 0;
        TheProgress().m_section = 0;
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
        m_app.CommonGroup().Open("DATA/IMG/COMMON.T2G");
        const auto wav = wavtest::PcmWav(1, 22050, 16, wavtest::Pcm16({100, 200, 300}));
        for (const char* name : {"SE/Stone", "SE/Cursor", "BGM/Setsumei"})
            testsupport::WriteBytes(m_dir / (std::string("DATA/SOUND/") + name + ".wav"), wav);
    }
    ~ExplainWndTest() override { TheProgress() = m_savedProgress; }

    void WriteLesson(const std::vector<Page>& pages) {
        ASSERT_TRUE(
            testsupport::WriteBytes(m_dir / "DATA/DATA/EXPLAIN/1-1-1.dat", DataFile(pages)));
        ASSERT_TRUE(
            testsupport::WriteBytes(m_dir / "DATA/DATA/EXPLAIN/1-1-1.txt", TextFile(pages)));
    }

    // Runs the screen until it ends by itself or, failing that, at `endMs`; a dialog left
    // open then is ended too, so a fault shows as a failure rather than a hang.
    uint32_t Run(uint64_t endMs = 5000) {
        for (uint64_t ms = endMs; ms < endMs + 4000; ms += 500)
            At(ms, [this] {
                if (CTSEventWnd* front = m_app.CurrentWindow()) front->EndModal(kEnded);
            });
        return m_app.RunWindow(&m_screen);
    }

    // Posts a button notification to the screen at `ms`.
    void Button(uint64_t ms, uint16_t id) {
        At(ms, [this, id] { m_screen.PostEvent(kEvButtonNotify, id, 0); });
    }

    // A click at the centre of a pane of a dialog at `ms`, delivered to whatever runs in
    // front then.
    void Tap(uint64_t ms, const std::vector<PaneSpec>& panes, const std::string& name) {
        for (const PaneSpec& p : panes) {
            if (p.name != name) continue;
            const TSPoint centre{(p.left + p.right) / 2, (p.top + p.bottom) / 2};
            At(ms, [this, centre] { m_app.CurrentWindow()->ReportPress(0, 1, centre); });
            At(ms + 20, [this, centre] { m_app.CurrentWindow()->ReportPress(0, 0, centre); });
            return;
        }
        ADD_FAILURE() << "no pane " << name;
    }

    // Whether the close button is shown (usable or not).
    int CloseVisible() const {
        for (const CTSButton* b : m_screen.Buttons())
            if (b->m_id == CExplainWnd::kClose) return b->m_visible;
        ADD_FAILURE() << "no close button";
        return -1;
    }

    // Centre y of a pane of the screen.
    int CentreY(const char* pane) { return m_screen.Screen().Pane(pane).GetCenter().y; }

    // Position of `line` in the trace, or -1.
    long TraceIndex(const std::string& line, size_t from = 0) const {
        for (size_t i = from; i < m_trace.size(); ++i)
            if (m_trace[i] == line) return long(i);
        return -1;
    }

    static constexpr uint32_t kEnded = 77;
    ProgressState m_savedProgress;
    CScreenMgr m_app;
    CExplainWnd m_screen;
};

// Samples of the text window taken every 5 ms.
struct WindowSample {
    int y;
    int alpha;
    bool visible;
};

TEST_F(ExplainWndTest, SlideInRisesHundredPixelsInFiveStepsAndFadesIn) {
    Page page;
    page.windowMode = 2;
    WriteLesson({page});
    std::vector<WindowSample> samples;
    for (uint64_t ms = 5; ms < 400; ms += 5)
        At(ms, [&] {
            CTSPane w = m_screen.Screen().Pane("text_window");
            samples.push_back({w.GetCenter().y, w.GetAlpha(), w.IsVisible()});
        });
    bool closeShownMidway = true;
    At(60, [&] {
        closeShownMidway = CloseVisible() != 0;
        EXPECT_TRUE(m_screen.Screen().Pane("gray_close").IsVisible());
        EXPECT_EQ(CentreY("txt_text") - CentreY("text_window"), 5);
    });
    Run(500);

    // The distinct heights the window passes through, each with the alpha it had there.
    std::vector<int> heights;
    std::vector<int> alphas;
    for (const WindowSample& s : samples) {
        EXPECT_TRUE(s.visible);
        if (heights.empty() || heights.back() != s.y) {
            heights.push_back(s.y);
            alphas.push_back(s.alpha);
        }
    }
    EXPECT_EQ(heights, (std::vector<int>{709, 689, 669, 649, 629, 609}));
    ASSERT_EQ(alphas.size(), 6u);
    EXPECT_EQ(std::vector<int>(alphas.begin() + 1, alphas.end()),
              (std::vector<int>{51, 102, 153, 204, 255}));
    EXPECT_FALSE(closeShownMidway) << "the close button waits for the slide to end";
    EXPECT_TRUE(m_screen.WindowShown());
    EXPECT_FALSE(m_screen.SlideIn().Running());
    EXPECT_FALSE(m_screen.Screen().Pane("gray_close").IsVisible());
    EXPECT_EQ(CloseVisible(), 1);
    EXPECT_EQ(CentreY("gray_close"), 542);
}

TEST_F(ExplainWndTest, CloseButtonSlidesTheWindowOutAndAClickBringsItBack) {
    Page page;
    page.windowMode = 1;
    page.bodyCharacters = 2;
    WriteLesson({page});
    Button(100, CExplainWnd::kClose);
    At(400, [&] {
        EXPECT_FALSE(m_screen.WindowShown());
        EXPECT_FALSE(m_screen.Screen().Pane("text_window").IsVisible());
        EXPECT_EQ(CentreY("text_window"), 709);
        EXPECT_EQ(m_screen.Screen().Pane("text_window").GetAlpha(), 0);
        m_screen.ReportPress(0, 1, TSPoint{300, 300});
    });
    At(420, [&] { m_screen.ReportPress(0, 0, TSPoint{300, 300}); });
    At(700, [&] {
        EXPECT_TRUE(m_screen.WindowShown());
        EXPECT_TRUE(m_screen.Screen().Pane("text_window").IsVisible());
        EXPECT_EQ(CentreY("text_window"), 609);
        EXPECT_EQ(m_screen.Screen().Pane("text_window").GetAlpha(), 255);
    });
    Run(800);
    EXPECT_EQ(std::count(m_trace.begin(), m_trace.end(), "se DATA/SOUND/SE/Set.wav"), 2);
}

TEST_F(ExplainWndTest, WindowModeTwoWhileTheWindowIsUpLeavesItWhereItIs) {
    Page first;
    first.windowMode = 1;
    first.bodyCharacters = 2;
    Page second = first;
    second.windowMode = 2;
    WriteLesson({first, second});
    Button(300, CExplainWnd::kPageForward);
    bool sawSlide = false;
    for (uint64_t ms = 310; ms < 600; ms += 10)
        At(ms, [&] {
            sawSlide = sawSlide || m_screen.SlideIn().Running();
            EXPECT_EQ(CentreY("text_window"), 609);
        });
    Run(600);
    EXPECT_EQ(m_screen.Playback().Page().currentPage, 1);
    EXPECT_FALSE(sawSlide);
    EXPECT_TRUE(m_screen.WindowShown());
    EXPECT_TRUE(m_screen.Screen().Pane("text_window").IsVisible());
    EXPECT_EQ(m_screen.Screen().Pane("text_window").GetAlpha(), 255);
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
    EXPECT_TRUE(m_screen.WindowShown());
    EXPECT_TRUE(m_screen.Screen().Pane("text_window").IsVisible())
        << "the old slide must not hide it";
    EXPECT_EQ(CentreY("text_window"), 609);
    EXPECT_EQ(m_screen.Screen().Pane("text_window").GetAlpha(), 255);
}

TEST_F(ExplainWndTest, TalkingHoldsBackASlideUntilTheMouthStops) {
    Page page;
    page.windowMode = 1;
    // Characters 8..15 are typed with the mouth moving; the 16th closes it.
    page.bodyCharacters = 16;
    WriteLesson({page});
    bool talkingWhenAsked = false;
    At(300, [&] {
        talkingWhenAsked = m_screen.TalkingMouth().Running();
        m_screen.PostEvent(kEvButtonNotify, CExplainWnd::kClose, 0);
    });
    int heldTicks = 0;
    for (uint64_t ms = 320; ms < 460; ms += 10)
        At(ms, [&] {
            if (!m_screen.TalkingMouth().Running()) return;
            ++heldTicks;
            EXPECT_EQ(m_screen.SlideOut().Counter(), 0);
            EXPECT_EQ(CentreY("text_window"), 609);
        });
    Run(1000);
    EXPECT_TRUE(talkingWhenAsked);
    EXPECT_GT(heldTicks, 3);
    EXPECT_FALSE(m_screen.TalkingMouth().Running());
    EXPECT_EQ(CentreY("text_window"), 709) << "the slide ran once the talking stopped";
    EXPECT_FALSE(m_screen.Screen().Pane("text_window").IsVisible());
}

TEST_F(ExplainWndTest, StartOverPlaysPageZeroAgainWithTheMusicRestarted) {
    Page first;
    first.bodyCharacters = 2;
    first.caption = "one";
    Page second = first;
    second.caption = "two";
    WriteLesson({first, second});
    Button(200, CExplainWnd::kPageForward);
    At(400, [&] {
        EXPECT_EQ(m_screen.Playback().Page().currentPage, 1);
        EXPECT_EQ(m_screen.Screen().Text("txt_caption"), "two");
        m_screen.PostEvent(kEvButtonNotify, CExplainWnd::kMenu, 0);
    });
    Tap(1000, dlgtest::MenuPanes(), "btn1_1");
    std::string bodyAfterStartOver = "unset";
    Run(2500);
    EXPECT_EQ(m_screen.Playback().Page().currentPage, 0);
    EXPECT_EQ(m_screen.Screen().Text("txt_caption"), "one");
    EXPECT_TRUE(m_screen.Fade().IsSettled());
    const long firstMusic = TraceIndex("bgm DATA/SOUND/BGM/Setsumei.wav");
    ASSERT_GE(firstMusic, 0);
    const long stop = TraceIndex("bgm stop ", size_t(firstMusic));
    ASSERT_GT(stop, firstMusic) << "start over stops the music";
    EXPECT_GT(TraceIndex("bgm DATA/SOUND/BGM/Setsumei.wav", size_t(stop)), stop)
        << "and starts it again";
    EXPECT_TRUE(m_screen.Playback().TypingOn() || m_screen.Playback().TypedLength() > 0);
    EXPECT_FALSE(TheProgress().IsLessonDone(0, 0, 0));
}

TEST_F(ExplainWndTest, AnsweringNoResumesTypingWhereItStopped) {
    Page page;
    page.bodyCharacters = 100;
    WriteLesson({page});
    int typedAtMenu = -1, typedWhileOpen = -2;
    At(200, [&] {
        typedAtMenu = m_screen.Playback().TypedLength();
        m_screen.PostEvent(kEvButtonNotify, CExplainWnd::kMenu, 0);
    });
    Tap(900, dlgtest::MenuPanes(), "btn2_1");
    At(1500, [&] { typedWhileOpen = m_screen.Playback().TypedLength(); });
    Tap(1600, dlgtest::MsgPanes(), "btn_no_1");
    Run(2600);
    EXPECT_GT(typedAtMenu, 0);
    EXPECT_LE(typedWhileOpen - typedAtMenu, 2) << "typing pauses under the menu";
    EXPECT_TRUE(m_screen.Playback().TypingOn());
    EXPECT_GT(m_screen.Playback().TypedLength(), typedWhileOpen + 20) << "typing goes on after No";
    EXPECT_TRUE(m_screen.Fade().IsSettled());
}

TEST_F(ExplainWndTest, AnsweringNoResumesStepPlayback) {
    Page page;
    page.textFirst = 0;
    for (uint8_t i = 0; i < 60; ++i)
        page.steps.push_back({Entry{uint8_t(i % 9), uint8_t(i / 9), 1}});
    WriteLesson({page});
    int stepAtMenu = -1, stepWhileOpen = -2;
    At(150, [&] {
        stepAtMenu = m_screen.Playback().Page().currentStep;
        m_screen.PostEvent(kEvButtonNotify, CExplainWnd::kMenu, 0);
    });
    Tap(900, dlgtest::MenuPanes(), "btn2_1");
    At(1500, [&] { stepWhileOpen = m_screen.Playback().Page().currentStep; });
    Tap(1600, dlgtest::MsgPanes(), "btn_no_1");
    Run(2600);
    EXPECT_GT(stepAtMenu, 0);
    EXPECT_LE(stepWhileOpen - stepAtMenu, 1);
    EXPECT_TRUE(m_screen.Playback().StepPlaybackOn());
    // Stone pages step every 22 ticks once resumed.
    EXPECT_GE(m_screen.Playback().Page().currentStep, stepWhileOpen + 3);
}

TEST_F(ExplainWndTest, AnsweringOkFadesOutToTheMainMenuWithoutRecordingTheLesson) {
    Page page;
    WriteLesson({page});
    Button(200, CExplainWnd::kMenu);
    Tap(900, dlgtest::MenuPanes(), "btn2_1");
    Tap(1600, dlgtest::MsgPanes(), "btn_ok_1");
    EXPECT_EQ(Run(5000), uint32_t(kSceneMenu));
    EXPECT_FALSE(TheProgress().IsLessonDone(0, 0, 0));
    EXPECT_FALSE(m_screen.IsTicking());
}

TEST_F(ExplainWndTest, MissingLessonShowsAnEmptyPageAndTheFirstAdvanceEndsIt) {
    std::string caption = "unset";
    At(150, [&] {
        caption = m_screen.Screen().Text("txt_caption");
        EXPECT_EQ(m_screen.Playback().Page().pageCount, 0);
        EXPECT_FALSE(m_screen.IsClosing());
    });
    Button(200, CExplainWnd::kPageForward);
    std::vector<int> alphas;
    for (uint64_t ms = 215; ms < 420; ms += 10)
        At(ms, [&] { alphas.push_back(int(m_screen.Fade().Alpha())); });
    EXPECT_EQ(Run(5000), uint32_t(kSceneMenu));
    EXPECT_EQ(caption, "");
    EXPECT_TRUE(TheProgress().IsLessonDone(0, 0, 0));
    ASSERT_GE(alphas.size(), 10u);
    EXPECT_GT(alphas.front(), alphas.back()) << "the screen fades out before leaving";
    EXPECT_LE(m_platform.Now(), 500u);
}

TEST_F(ExplainWndTest, LastPageEndsTheLessonAndInputWaitsOutTheFade) {
    Page page;
    page.bodyCharacters = 2;
    WriteLesson({page, page, page});
    std::string title;
    At(100, [&] { title = m_screen.Screen().Text("txt_title"); });
    Button(200, CExplainWnd::kPageForward);
    Button(300, CExplainWnd::kPageForward);
    At(400, [&] { EXPECT_EQ(m_screen.Playback().Page().currentPage, 2); });
    Button(500, CExplainWnd::kPageForward);
    // Page back (from page 2 it would go to page 1), the wheel and the menu while closing
    // change nothing.
    Button(520, CExplainWnd::kPageBack);
    At(530, [&] { m_screen.PostEvent(kEvWheel, 0, 120); });
    Button(540, CExplainWnd::kMenu);
    EXPECT_EQ(Run(5000), uint32_t(kSceneMenu));
    EXPECT_TRUE(TheProgress().IsLessonDone(0, 0, 0));
    EXPECT_FALSE(title.empty());
    EXPECT_EQ(m_screen.Playback().Page().currentPage, 2);
    EXPECT_EQ(std::count(m_trace.begin(), m_trace.end(), "se DATA/SOUND/SE/Menu.wav"), 0);
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
    EXPECT_EQ(std::count(m_trace.begin(), m_trace.end(), "se DATA/SOUND/SE/Menu.wav"), 0);
    EXPECT_EQ(std::count(m_trace.begin(), m_trace.end(), "se DATA/SOUND/SE/Set.wav"), 0);
    EXPECT_TRUE(m_screen.WindowShown());
}

TEST_F(ExplainWndTest, ThePoseChoosesTheCharacterPicturesAndWhereTheMouthGoes) {
    Page front;
    front.bodyCharacters = 2;
    Page left = front;
    left.characterPose = 0;
    WriteLesson({front, left});
    TSPoint frontMouth{}, leftMouth{};
    uint32_t frontColour = 0, leftColour = 0;
    auto chara1Colour = [&] {
        for (const auto& c : m_platform.LatestFrame().commands)
            if (c.kind == platform::DrawCommand::Kind::Sprite && c.pixels) {
                const uint32_t colour =
                    c.pixels->argb[size_t(c.src.top) * c.pixels->width + size_t(c.src.left)] &
                    0xFFFFFF;
                if (colour == dlgtest::ColourOf("COMN_chara_normal_1.tga") ||
                    colour == dlgtest::ColourOf("COMN_chara_left_1.tga"))
                    return colour;
            }
        return 0u;
    };
    At(200, [&] {
        frontMouth = m_screen.Screen().Pane("chara_2").GetCenter();
        frontColour = chara1Colour();
    });
    Button(300, CExplainWnd::kPageForward);
    At(500, [&] {
        leftMouth = m_screen.Screen().Pane("chara_2").GetCenter();
        leftColour = chara1Colour();
    });
    Run(600);
    EXPECT_EQ(frontMouth, (TSPoint{831, 460}));
    EXPECT_EQ(leftMouth, (TSPoint{818, 461}));
    EXPECT_EQ(frontColour, dlgtest::ColourOf("COMN_chara_normal_1.tga"));
    EXPECT_EQ(leftColour, dlgtest::ColourOf("COMN_chara_left_1.tga"));
}

TEST_F(ExplainWndTest, DrawsBoardThenStonesThenTheWindowWithThePageBoardPicture) {
    Page page;
    page.textFirst = 0;
    page.steps = {{Entry{4, 4, 1}}, {Entry{2, 2, 2}}};
    WriteLesson({page});
    platform::DrawList frame;
    At(600, [&] { frame = m_platform.LatestFrame(); });
    Run(700);
    ASSERT_EQ(m_screen.Overlays().size(), 2u);
    // Colours of the sprites in drawing order.
    std::vector<uint32_t> colours;
    for (const auto& c : frame.commands)
        if (c.kind == platform::DrawCommand::Kind::Sprite && c.pixels)
            colours.push_back(
                c.pixels->argb[size_t(c.src.top) * c.pixels->width + size_t(c.src.left)] &
                0xFFFFFF);
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
