#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <span>
#include <tuple>

#include "LessonFixtures.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "lesson/LessonPage.h"
#include "lesson/LessonPlayback.h"
#include "lesson/LessonText.h"
#include "progress/ProgressState.h"

using namespace lesson;
using lessontest::Kana;
using lessontest::PageRecord;
using lessontest::TextFile;
using std::tuple;

namespace {

using Pages = std::vector<PageRecord>;
using Texts = std::vector<std::pair<std::string, std::string>>;

class LessonPlaybackTest : public ::testing::Test {
protected:
    // Writes the lesson `id`, selects it and starts playing; missing texts are ("C", two kana).
    void Play(const Pages& pages, Texts text = {}, LessonId id = {0, 0, 0}) {
        while (text.size() < pages.size()) text.push_back({"C", Kana(2)});
        progress.m_course = id.course;
        progress.m_chapter = id.chapter;
        progress.m_section = id.section;
        const std::string name = std::to_string(id.course + 1) + "-" +
                                 std::to_string(id.chapter + 1) + "-" +
                                 std::to_string(id.section + 1);
        testsupport::WriteBytes(dir / (name + ".dat"), lessontest::DataFile(pages));
        lessontest::Write(dir, name + ".txt", lessontest::TextFile(text));
        playback.Start();
        playback.Enter();
    }
    // Ticks `n` times; the step shown after them.
    int Ticks(int n) {
        for (int i = 0; i < n; ++i) playback.Tick();
        return page().currentStep;
    }
    void NextPages(int n) {
        for (int i = 0; i < n; ++i) playback.NextPage();
    }
    int Count(const std::string& sound) const {
        return int(std::count(view.sounds.begin(), view.sounds.end(), sound));
    }
    const LessonPage& page() const { return playback.Page(); }
    testsupport::ScratchDir dir;
    lessontest::RecordingView view;
    ProgressState progress;
    LessonPlayback playback{view, progress, dir.Path() + "/"};
};

PageRecord Page(std::vector<std::vector<lessontest::Entry>> steps = {{}}, int boardSize = 9) {
    return {.boardSize = boardSize, .steps = std::move(steps)};
}

PageRecord ShowFinal(int steps) {
    PageRecord p{.showFinal = 1};
    for (int i = 0; i < steps; ++i) p.steps.push_back({{uint8_t(i), 0, 0x0003}});
    return p;
}

class LessonPageLoad : public ::testing::Test {
protected:
    PageLoadResult Load(int pageIndex, LessonId id = {0, 0, 0}) {
        page.currentPage = pageIndex;
        return LoadLessonPage(page, id, dir.Path() + "/");
    }
    // Writes the lesson's data file and a text file of captions "C0", "C1", ...
    void Write(const std::vector<PageRecord>& pages, const std::string& name = "1-1-1") {
        std::vector<std::pair<std::string, std::string>> text;
        for (size_t i = 0; i < pages.size(); ++i) text.push_back({"C" + std::to_string(i), "B"});
        WriteData(lessontest::DataFile(pages), name);
        lessontest::Write(dir, name + ".txt", TextFile(text));
    }
    void WriteData(const std::vector<uint8_t>& bytes, const std::string& name = "1-1-1") {
        testsupport::WriteBytes(dir / (name + ".dat"), bytes);
    }
    testsupport::ScratchDir dir;
    LessonPage page;
};

const std::string kMaru = "\x81\x42";  // "。"
const std::string kTen = "\x81\x41";   // "、"

lesson::PageText Extract(const std::string& file, int page) {
    return ExtractPageText(std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()),
                           page);
}
// Caption and body of a page, as "caption|body".
std::string Lines(const std::string& file, int page) {
    const auto text = Extract(file, page);
    return text.caption + "|" + text.body;
}

}  // namespace

TEST_F(LessonPlaybackTest, ShowFinalPageOpensOnItsLastStepWithStepButtons) {
    Play({ShowFinal(3)});
    EXPECT_EQ(
        tuple(page().currentStep, view.stepButtons, playback.StepPlaybackOn(), playback.TypingOn()),
        tuple(2, StepButtonLooks{true, true, false}, false, false));
    playback.StepForward();
    EXPECT_EQ(tuple(page().currentStep, view.sounds.size()), tuple(2, 0u)) << "on the last step";
    playback.StepBack();
    EXPECT_EQ(
        tuple(page().currentStep, view.sounds, view.stepButtons, page().board.At(2, 0)),
        tuple(1, std::vector<std::string>{kCursorSound}, StepButtonLooks{true, true, true}, 0));
    playback.StepBack();
    EXPECT_EQ(view.stepButtons, (StepButtonLooks{true, false, true}));
    playback.StepBack();
    EXPECT_EQ(tuple(page().currentStep, Count(kCursorSound)), tuple(0, 2)) << "none before 0";
    playback.StepForward();
    EXPECT_EQ(tuple(Count(kStoneSound), page().board.At(1, 0)), tuple(1, 3))
        << "step forward sounds even without a new stone";
}

TEST_F(LessonPlaybackTest, StepButtonsAndBoardPictureFollowThePage) {
    Play({Page({{}, {}}), ShowFinal(2), Page({{}, {}}, 13)});
    EXPECT_EQ(view.stepButtons, StepButtonLooks{});
    playback.StepBack();
    playback.StepForward();
    EXPECT_TRUE(view.sounds.empty()) << "stepping is for show-final pages only";
    playback.NextPage();
    EXPECT_EQ(tuple(view.stepButtons, view.boardPictures.size()),
              tuple(StepButtonLooks{true, true, false}, 1u))
        << "the same size keeps its picture";
    playback.NextPage();
    EXPECT_EQ(view.stepButtons, StepButtonLooks{});
    EXPECT_EQ(view.boardPictures,
              (std::vector<std::string>{"COMN_board9.tga", "COMN_board19trim.tga"}));
}

TEST_F(LessonPlaybackTest, StepsPlayFromTheFirstTickThenTheTextIsTyped) {
    Play({Page({{}, {{0, 0, 1}, {1, 0, 2}}, {{2, 0, 1}}})}, {{"CAP", Kana(3)}});
    ASSERT_EQ(tuple(view.caption, playback.StepPlaybackOn()), tuple("CAP", true));
    Ticks(1);
    EXPECT_EQ(tuple(page().currentStep, view.sounds.size()), tuple(1, 0u))
        << "the first step shows on the very first tick; two stones at once make no sound";
    Ticks(3);
    EXPECT_EQ(tuple(page().currentStep, Count(kStoneSound), view.sprites.empty()),
              tuple(2, 1, false));
    Ticks(3);  // step 3 = stepCount: playback ends, typing starts in the same tick
    EXPECT_EQ(tuple(playback.StepPlaybackOn(), playback.TypingOn(), playback.TypedLength(),
                    view.shownCharacters),
              tuple(false, true, 2, 1));
    Ticks(6);
    EXPECT_EQ(tuple(playback.TypedLength(), view.shownBody, view.shownCharacters),
              tuple(6, Kana(3), 3));
    Ticks(3);
    EXPECT_EQ(tuple(playback.TypingOn(), page().currentPage), tuple(false, 0))
        << "no auto-advance: the page waits";
}

TEST_F(LessonPlaybackTest, StoneMovePagesStepEveryTwentyTwoTicks) {
    Play({Page(), Page({{}, {{0, 0, 1}}, {{1, 1, 2}}})});
    playback.NextPage();
    ASSERT_EQ(page().stoneMovePage, 1);
    EXPECT_EQ(playback.Timers().Period(LessonPlayback::kStepTimer), 22);
    EXPECT_EQ(Ticks(1), 1);
    EXPECT_EQ(Ticks(21), 1);
    EXPECT_EQ(Ticks(1), 2);
}

TEST_F(LessonPlaybackTest, MouthMovesEveryEightCharactersInWindowModeOne) {
    Play({{.characterPose = 2, .windowMode = 1, .textFirst = 1, .steps = {{}}}}, {{"C", Kana(17)}});
    const int setupsBefore = view.characterSetups;
    Ticks(3 * 7 + 1);  // 8 characters typed
    EXPECT_EQ(tuple(playback.TypedLength(), playback.MouthPhase(), view.mouthPhase,
                    view.characterPose, view.characterSetups),
              tuple(16, 1, 1, 2, setupsBefore + 1));
    Ticks(3 * 8);
    EXPECT_EQ(playback.MouthPhase(), 0);
    Ticks(3 * 3);  // the rest of the text, then the end of typing
    EXPECT_EQ(tuple(playback.TypingOn(), view.mouthPhase), tuple(false, 0));
}

TEST_F(LessonPlaybackTest, MenuPauseStopsEverythingAndResumeRestartsIt) {
    Play({{.windowMode = 1, .textFirst = 1, .steps = {{}}}}, {{"C", Kana(30)}});
    Ticks(3 * 8);
    ASSERT_EQ(playback.MouthPhase(), 1);
    playback.PauseTimers();
    EXPECT_EQ(view.mouthPhase, 0);
    const int typed = playback.TypedLength();
    Ticks(30);
    EXPECT_EQ(playback.TypedLength(), typed);
    playback.ResumeTimers();
    Ticks(1);
    EXPECT_EQ(tuple(playback.TypedLength(), playback.Timers().Running(LessonPlayback::kBlinkTimer),
                    playback.Timers().Running(LessonPlayback::kStepTimer)),
              tuple(typed + 2, true, false));
}

TEST_F(LessonPlaybackTest, AutoAdvancePagesFollowByThemselves) {
    Play({{.autoAdvance = 1, .steps = {{}}}, Page()}, {{"C0", Kana(1)}, {"C1", Kana(1)}});
    Ticks(1);  // step 1 = stepCount: typing starts and types one character
    Ticks(3);  // all typed: on to the next page
    EXPECT_EQ(tuple(page().currentPage, view.caption), tuple(1, "C1"));
}

TEST_F(LessonPlaybackTest, PageBackSkipsPagesThatRunOnAndStartOverReturnsToPageZero) {
    const PageRecord runOn{.windowMode = 1, .autoAdvance = 1, .steps = {{}}};
    Play({Page(), Page(), runOn, runOn, Page()},
         {{"C0", "B0"}, {"C1", "B1"}, {"C2", "B2"}, {"C3", "B3"}, {"C4", "B4"}});
    playback.NextPage();
    playback.PreviousPage();
    EXPECT_EQ(tuple(page().currentPage, view.sounds.size(), view.bodyClears), tuple(1, 0u, 0))
        << "nothing before page 1";
    NextPages(3);
    ASSERT_EQ(page().currentPage, 4);
    playback.PreviousPage();
    EXPECT_EQ(tuple(page().currentPage, view.caption, Count(kCancelSound), view.bodyClears,
                    playback.StepPlaybackOn()),
              tuple(1, "C1", 1, 1, true));
    NextPages(2);
    playback.StartOver();
    EXPECT_EQ(tuple(page().currentPage, view.caption, view.windowModes.back()), tuple(0, "C0", 0))
        << "page 0's own window mode comes last";
}

TEST_F(LessonPlaybackTest, AdvanceJumpsToTheLastStepThenClosesPastTheLastPage) {
    Play({Page({{}, {{0, 0, 1}}, {{1, 0, 1}}})});
    playback.Advance();  // the text at once
    playback.Advance();  // steps still on: the final position
    EXPECT_EQ(tuple(page().currentStep, page().board.At(1, 0), view.closing), tuple(3, 1, false));
    playback.Advance();
    EXPECT_TRUE(view.closing);
    for (int k = 0; k < LessonTickTimers::kCount; ++k) EXPECT_FALSE(playback.Timers().Running(k));
    Play({Page(), Page()});
    view.closing = true;
    playback.NextPage();
    EXPECT_EQ(page().currentPage, 0) << "refused while closing";
}

TEST_F(LessonPlaybackTest, MissingLessonEndsOnTheFirstAdvance) {
    progress.m_chapter = 1;
    progress.m_section = 1;
    playback.Start();
    playback.Enter();
    EXPECT_EQ(page().pageCount, 0);
    playback.Advance();
    EXPECT_TRUE(progress.IsLessonDone(0, 1, 1));
}

// Lesson 1-1-1's pages 44 and 45 step only on blinks, cycling back to step 1; the automatic
// steps that typing hands over to (page 45: text first) do nothing there.
TEST_F(LessonPlaybackTest, LessonOneOneOnePagesFortyFourAndFiveCycleStepsOnBlinks) {
    Pages pages(44, Page());
    PageRecord cycling = Page({{}, {{0, 0, 1}}, {{1, 0, 2}, {2, 0, 1}}, {{3, 0, 2}}, {{4, 0, 1}}});
    pages.push_back(cycling);
    cycling.textFirst = 1;
    pages.push_back(cycling);
    Play(pages);
    NextPages(44);
    ASSERT_EQ(page().currentPage, 44);
    EXPECT_EQ(tuple(playback.TypingOn(), playback.StepPlaybackOn()), tuple(true, false))
        << "entering the page starts typing only";
    view.sounds.clear();
    std::vector<int> steps;
    for (int blink = 0; blink < 6; ++blink) steps.push_back(Ticks(22));
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 1, 2}));
    // Steps 1, 3 and 4 add one stone each (step 1 again after the wrap); step 2 adds two.
    EXPECT_EQ(Count(kStoneSound), 4);
    playback.NextPage();
    ASSERT_EQ(page().currentPage, 45);
    EXPECT_EQ(Ticks(1), 1);
    EXPECT_EQ(Ticks(21), 1);
    EXPECT_TRUE(playback.StepPlaybackOn()) << "the text is typed";
}

TEST_F(LessonPageLoad, ReadsTheRequestedRecordAndItsText) {
    const PageRecord second{.characterPose = 2,
                            .windowMode = 1,
                            .boardSize = 6,
                            .autoAdvance = 1,
                            .textFirst = 1,
                            .steps = {{{2, 3, 0x4001}, {5, 5, 0x0102}}, {{4, 4, 2}}, {}}};
    WriteData(lessontest::DataFile({Page({{{0, 0, 1}}, {{1, 1, 2}}}), second}));
    lessontest::Write(dir, "1-1-1.txt", TextFile({{"C0", "B0"}, {"CAPTION", Kana(20)}}));
    ASSERT_EQ(Load(1), PageLoadResult::Loaded);
    const LessonPageHeader& h = page.header;
    EXPECT_EQ(
        tuple(h.characterPose, h.windowMode, h.boardSize, h.stepCount, h.autoAdvance, h.textFirst),
        tuple(2, 1, 6, 3, 1, 1));
    EXPECT_EQ(tuple(page.pageCount, page.entryCounts[0], page.entryCounts[1], page.entryCounts[2],
                    page.entries[0][1].code, page.caption, page.boardSize, page.currentStep),
              tuple(2, 2, 1, 0, 0x0102, "CAPTION", 6, 0));
    EXPECT_EQ(tuple(page.body, page.bodyLength), tuple(Kana(18) + "\r\n" + Kana(2), 42))
        << "the line break counts";
    // Step 0 is applied, one field per entry; step 1 is not, and adds one stone to step 0.
    EXPECT_EQ(tuple(page.board.At(2, 3), page.board.At(4, 4), page.stoneMovePage), tuple(1, 0, 1));
}

TEST_F(LessonPageLoad, MissingFilesKeepWhatTheyDoNotReplace) {
    Write({Page({{{0, 0, 1}}}), Page({{{1, 1, 2}}}, 6)});
    Load(0);
    std::filesystem::remove(dir / "1-1-1.txt");
    EXPECT_EQ(Load(1), PageLoadResult::NoTextFile);
    // The steps are loaded; the previous board and caption stay.
    EXPECT_EQ(tuple(page.header.boardSize, page.entries[0][0].code, page.boardSize,
                    page.board.At(0, 0), page.caption),
              tuple(6, 2, 9, 1, "C0"));
    std::filesystem::remove(dir / "1-1-1.dat");
    EXPECT_EQ(Load(1), PageLoadResult::NoDataFile);
    EXPECT_EQ(tuple(page.header.stepCount, page.entryCounts[0], page.caption, page.board.At(0, 0),
                    page.pageCount),
              tuple(0, 0, "C0", 1, 2))
        << "only the steps are cleared";
}

TEST_F(LessonPageLoad, PageBeyondTheFileOrCutKeepsClearedValues) {
    Write({Page({{{0, 0, 1}}})});
    Load(0);
    EXPECT_EQ(Load(3), PageLoadResult::Loaded);
    EXPECT_EQ(
        tuple(page.header.stepCount, page.header.boardSize, page.caption, page.board.At(0, 0)),
        tuple(0, 0, "", 0));
    auto bytes = lessontest::DataFile({Page({{{0, 0, 1}, {1, 0, 2}, {2, 0, 1}}})});
    bytes.resize(bytes.size() - 5);  // the last entry and a byte of the one before
    WriteData(bytes);
    Load(0);
    EXPECT_EQ(tuple(page.entryCounts[0], page.board.At(0, 0), page.board.At(1, 0)), tuple(1, 1, 0))
        << "a cut step keeps only whole entries";
    WriteData({2, 0, 0, 0, 9, 9});
    Load(0);
    EXPECT_EQ(page.header.boardSize, 0) << "a cut header stays cleared";
    Write({Page({}), Page({})});
    lessontest::Write(dir, "1-1-1.txt",
                      TextFile({{"C0", std::string(8 << 20, 'x')}, {"FAR", "B"}}));
    Load(1);
    EXPECT_EQ(page.caption, "") << "text past 8 MiB is not looked at";
}

TEST_F(LessonPageLoad, StepsAndEntriesBeyondTheLimitsAreReadPastButNotKept) {
    PageRecord steps = Page({});
    steps.steps.assign(kMaxSteps + 5, {{0, 0, 1}});
    steps.steps[kMaxSteps - 1] = {{7, 7, 2}};
    steps.steps[kMaxSteps + 2] = {{8, 8, 2}};
    std::vector<lessontest::Entry> many(kMaxEntriesPerStep + 10, {0, 0, 1});
    many[kMaxEntriesPerStep - 1] = {3, 3, 2};
    many[kMaxEntriesPerStep + 3] = {4, 4, 2};
    Write({steps, Page({{{5, 12, 1}}}, 13), Page({many, {{6, 6, 1}}})});
    dbglog::Capture log;
    Load(0);
    EXPECT_EQ(tuple(page.header.stepCount, page.entries[kMaxSteps - 1][0].code),
              tuple(kMaxSteps, 2));
    EXPECT_NE(log.Text().find("stepCount"), std::string::npos);
    Load(1);
    EXPECT_EQ(tuple(page.header.boardSize, page.board.At(5, 0)), tuple(13, 1))
        << "the next record is still found";
    Load(2);
    // The following step is still read in place.
    EXPECT_EQ(tuple(page.entryCounts[0], page.entries[0][kMaxEntriesPerStep - 1].code,
                    page.board.At(4, 4), page.entryCounts[1], page.entries[1][0].x),
              tuple(kMaxEntriesPerStep, 2, 0, 1, 6));
}

TEST_F(LessonPageLoad, NegativeCountsReadAsEmpty) {
    std::vector<uint8_t> bytes;
    for (int32_t word : {1, 0, 0, 9, 2, 0, 0, 0}) lessontest::PutS32(bytes, word);
    lessontest::PutS32(bytes, -4);  // step 0: a negative entry count
    lessontest::PutS32(bytes, 1);   // step 1: one entry
    lessontest::PutEntry(bytes, {2, 2, 1});
    WriteData(bytes);
    lessontest::Write(dir, "1-1-1.txt", TextFile({{"C0", "B0"}}));
    Load(0);
    EXPECT_EQ(tuple(page.entryCounts[0], page.entryCounts[1], page.entries[1][0].x),
              tuple(0, 1, 2));
    Write({{.stepCount = -3, .showFinal = 1}});
    Load(0);
    EXPECT_EQ(tuple(page.header.stepCount, page.currentStep), tuple(0, -1));
}

// Which lines a page owns is the page load's (above); these are the cuts within them.
TEST(LessonTextExtraction, LinesAreCutToBuffersOnCharacterBoundaryAndColonsBreakThem) {
    EXPECT_EQ(Lines("CAP0\r\nBODY0\r\nCAP1\r\nBODY1", 1), "CAP1|")
        << "a last body without its line end is not found";
    // "::" is a line break in both lines; "::::" wraps to one.
    const std::string colons = lessontest::TextFile({{"A::B", "C::::D"}});
    EXPECT_EQ(Lines(colons, 0), "A\r\nB|C\r\n\r\nD");
    EXPECT_EQ(WrapBody(Extract(colons, 0).body), "C\r\nD");
    // 99 bytes fit the caption; 50 double-byte characters (100 bytes) are cut to 49.
    const std::string file = lessontest::TextFile({{Kana(50), Kana(130)}});
    auto text = Extract(file, 0);
    EXPECT_EQ(text.caption, Kana(49));
    EXPECT_EQ(text.body, Kana(124)) << "249 bytes hold 124 whole characters";
    const std::string ascii = lessontest::TextFile({{std::string(120, 'c'), "b"}});
    EXPECT_EQ(Extract(ascii, 0).caption, std::string(99, 'c'));
    // Copying needs end > start, so a one-byte line never makes it.
    EXPECT_EQ(Lines(lessontest::TextFile({{"X", "YZ"}}), 0), "|YZ");
}

TEST(LessonTextWrapping, LinesBreakAfterThirtySixBytesKeepingClosingMarks) {
    const std::pair<std::string, std::string> cases[] = {
        {Kana(18), Kana(18)},
        {Kana(18) + "x", Kana(18) + "\r\nx"},
        {Kana(18) + kMaru + Kana(2), Kana(18) + kMaru + "\r\n" + Kana(2)},
        {Kana(18) + kMaru, Kana(18) + kMaru},  // no empty line after the mark
        {Kana(18) + kTen + Kana(1), Kana(18) + kTen + "\r\n" + Kana(1)},
        {Kana(18) + "\x81\x76" + Kana(1), Kana(18) + "\x81\x76\r\n" + Kana(1)},
        {Kana(36), Kana(18) + "\r\n" + Kana(18)},
        {Kana(40), Kana(18) + "\r\n" + Kana(18) + "\r\n" + Kana(4)},
        {Kana(20) + "\r\n" + Kana(3), Kana(18) + "\r\n" + Kana(2) + "\r\n" + Kana(3)},
        {"ab\rcd", "ab\r\ncd"},  // a lone CR keeps characters whole
        {"ab\r", "ab\r\n"},
    };
    for (const auto& [text, wrapped] : cases) EXPECT_EQ(WrapBody(text), wrapped) << text;
}
