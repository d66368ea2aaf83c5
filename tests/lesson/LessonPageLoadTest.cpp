#include <gtest/gtest.h>

#include <filesystem>
#include <span>
#include <tuple>

#include "LessonFixtures.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "lesson/LessonPage.h"
#include "lesson/LessonText.h"

using namespace lesson;
using lessontest::Kana;
using lessontest::PageRecord;
using lessontest::TextFile;
using std::tuple;

namespace {

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

PageRecord Page(int boardSize, std::vector<std::vector<lessontest::Entry>> steps) {
    return {.boardSize = boardSize, .steps = std::move(steps)};
}

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

TEST_F(LessonPageLoad, ReadsTheRequestedRecordAndItsText) {
    const PageRecord second{.characterPose = 2,
                            .windowMode = 1,
                            .boardSize = 6,
                            .autoAdvance = 1,
                            .textFirst = 1,
                            .steps = {{{2, 3, 0x4001}, {5, 5, 0x0102}}, {{4, 4, 2}}, {}}};
    WriteData(lessontest::DataFile({Page(9, {{{0, 0, 1}}, {{1, 1, 2}}}), second}));
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

TEST_F(LessonPageLoad, BoardsAreDrawnThroughTheirLessonsMirror) {
    Write({Page(13, {{{4, 0, 1}}})});
    Load(0);
    EXPECT_EQ(tuple(page.board.At(4, 12), page.board.At(4, 0)), tuple(1, 0))
        << "13 x 13: stored row 0 is row 12";
    Write({Page(19, {{{4, 0, 2}}})}, "2-4-1");
    Load(0, {1, 3, 0});
    EXPECT_EQ(page.board.At(4, 18), 2) << "lesson 2-4-1 mirrors its rows";
}

TEST_F(LessonPageLoad, MissingFilesKeepWhatTheyDoNotReplace) {
    Write({Page(9, {{{0, 0, 1}}}), Page(6, {{{1, 1, 2}}})});
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
    Write({Page(9, {{{0, 0, 1}}})});
    Load(0);
    EXPECT_EQ(Load(3), PageLoadResult::Loaded);
    EXPECT_EQ(
        tuple(page.header.stepCount, page.header.boardSize, page.caption, page.board.At(0, 0)),
        tuple(0, 0, "", 0));
    auto bytes = lessontest::DataFile({Page(9, {{{0, 0, 1}, {1, 0, 2}, {2, 0, 1}}})});
    bytes.resize(bytes.size() - 5);  // the last entry and a byte of the one before
    WriteData(bytes);
    Load(0);
    EXPECT_EQ(tuple(page.entryCounts[0], page.board.At(0, 0), page.board.At(1, 0)), tuple(1, 1, 0))
        << "a cut step keeps only whole entries";
    WriteData({2, 0, 0, 0, 9, 9});
    Load(0);
    EXPECT_EQ(page.header.boardSize, 0) << "a cut header stays cleared";
}

TEST_F(LessonPageLoad, StepsAndEntriesBeyondTheLimitsAreReadPastButNotKept) {
    PageRecord steps = Page(9, {});
    steps.steps.assign(kMaxSteps + 5, {{0, 0, 1}});
    steps.steps[kMaxSteps - 1] = {{7, 7, 2}};
    steps.steps[kMaxSteps + 2] = {{8, 8, 2}};
    std::vector<lessontest::Entry> many(kMaxEntriesPerStep + 10, {0, 0, 1});
    many[kMaxEntriesPerStep - 1] = {3, 3, 2};
    many[kMaxEntriesPerStep + 3] = {4, 4, 2};
    Write({steps, Page(13, {{{5, 12, 1}}}), Page(9, {many, {{6, 6, 1}}})});
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

TEST(LessonTextExtraction, PagesOwnLinesTwoPAndTwoPPlusOneWithDoubleColonBreaks) {
    const std::string file = lessontest::TextFile({{"CAP0", "BODY0"}, {"CAP1", "BODY1"}});
    EXPECT_EQ(Lines(file, 0), "CAP0|BODY0");
    EXPECT_EQ(Lines(file, 1), "CAP1|BODY1");
    EXPECT_EQ(Lines(file, 2), "|");
    const std::string unended = "CAP0\r\nBODY0\r\nCAP1\r\nBODY1";
    EXPECT_EQ(Lines(unended, 1), "CAP1|") << "a last body without its line end is not found";
    // "::" is a line break in both lines; "::::" wraps to one.
    const std::string colons = lessontest::TextFile({{"A::B", "C::::D"}});
    EXPECT_EQ(Lines(colons, 0), "A\r\nB|C\r\n\r\nD");
    EXPECT_EQ(WrapBody(Extract(colons, 0).body), "C\r\nD");
}

TEST(LessonTextExtraction, LinesAreCutToBuffersOnCharacterBoundary) {
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
