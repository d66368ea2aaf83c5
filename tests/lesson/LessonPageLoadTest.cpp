#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "LessonFixtures.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "lesson/LessonFileNames.h"
#include "lesson/LessonPage.h"

using namespace lesson;
using lessontest::Kana;
using lessontest::PageRecord;
using lessontest::TextFile;

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
    PageRecord p;
    p.boardSize = boardSize;
    p.steps = std::move(steps);
    return p;
}

}  // namespace

TEST(LessonFileNames, NumbersAreOneBased) {
    EXPECT_EQ(LessonDataFileName(kLessonDirectory, {0, 0, 0}), "DATA/DATA/EXPLAIN/1-1-1.dat");
    EXPECT_EQ(LessonTextFileName(kLessonDirectory, {1, 3, 0}), "DATA/DATA/EXPLAIN/2-4-1.txt");
}

TEST_F(LessonPageLoad, ReadsTheRequestedRecordAndItsText) {
    PageRecord second = Page(6, {{{2, 3, 0x4001}, {5, 5, 0x0102}}, {{4, 4, 2}}, {}});
    second.characterPose = 2;
    second.windowMode = 1;
    second.autoAdvance = 1;
    second.textFirst = 1;
    WriteData(lessontest::DataFile({Page(9, {{{0, 0, 1}}, {{1, 1, 2}}}), second}));
    lessontest::Write(dir, "1-1-1.txt", TextFile({{"C0", "B0"}, {"CAPTION", Kana(20)}}));

    ASSERT_EQ(Load(1), PageLoadResult::Loaded);
    const LessonPageHeader& h = page.header;
    EXPECT_EQ(std::tuple(h.characterPose, h.windowMode, h.boardSize, h.stepCount, h.autoAdvance,
                         h.textFirst),
              std::tuple(2, 1, 6, 3, 1, 1));
    EXPECT_EQ(page.pageCount, 2);
    EXPECT_EQ(std::tuple(page.entryCounts[0], page.entryCounts[1], page.entryCounts[2]),
              std::tuple(2, 1, 0));
    EXPECT_EQ(page.entries[0][1].code, 0x0102);
    EXPECT_EQ(page.caption, "CAPTION");
    EXPECT_EQ(page.body, Kana(18) + "\r\n" + Kana(2));
    EXPECT_EQ(page.bodyLength, 42) << "the line break counts";
    EXPECT_EQ(page.boardSize, 6);
    EXPECT_EQ(page.currentStep, 0);
    EXPECT_EQ(page.board.At(2, 3), 0x0001) << "step 0 is applied, one field per entry";
    EXPECT_EQ(page.board.At(4, 4), 0) << "step 1 is not";
    EXPECT_EQ(page.stoneMovePage, 1) << "step 1 adds one stone to step 0 as stored";
}

TEST_F(LessonPageLoad, BoardsAreDrawnThroughTheirLessonsMirror) {
    Write({Page(13, {{{4, 0, 1}}})});
    Load(0);
    EXPECT_EQ(page.board.At(4, 12), 1) << "13 x 13: stored row 0 is row 12";
    EXPECT_EQ(page.board.At(4, 0), 0);
    Write({Page(19, {{{4, 0, 2}}})}, "2-4-1");
    Load(0, {1, 3, 0});
    EXPECT_EQ(page.board.At(4, 18), 2) << "lesson 2-4-1 mirrors its rows";
}

TEST_F(LessonPageLoad, MissingFilesKeepWhatTheyDoNotReplace) {
    Write({Page(9, {{{0, 0, 1}}}), Page(6, {{{1, 1, 2}}})});
    Load(0);
    std::filesystem::remove(dir / "1-1-1.txt");
    EXPECT_EQ(Load(1), PageLoadResult::NoTextFile);
    EXPECT_EQ(page.header.boardSize, 6) << "the steps are loaded";
    EXPECT_EQ(page.entries[0][0].code, 2);
    EXPECT_EQ(page.boardSize, 9) << "the previous board stays";
    EXPECT_EQ(page.board.At(0, 0), 1);
    EXPECT_EQ(page.caption, "C0");

    std::filesystem::remove(dir / "1-1-1.dat");
    EXPECT_EQ(Load(1), PageLoadResult::NoDataFile);
    EXPECT_EQ(page.header.stepCount, 0) << "only the steps are cleared";
    EXPECT_EQ(page.entryCounts[0], 0);
    EXPECT_EQ(page.caption, "C0");
    EXPECT_EQ(page.board.At(0, 0), 1);
    EXPECT_EQ(page.pageCount, 2);
}

TEST_F(LessonPageLoad, PageBeyondTheFileKeepsClearedValues) {
    Write({Page(9, {{{0, 0, 1}}})});
    Load(0);
    EXPECT_EQ(Load(3), PageLoadResult::Loaded);
    EXPECT_EQ(page.header.stepCount, 0);
    EXPECT_EQ(page.header.boardSize, 0);
    EXPECT_EQ(page.caption, "");
    EXPECT_EQ(page.board.At(0, 0), 0);
}

TEST_F(LessonPageLoad, TruncatedStepKeepsOnlyWholeEntries) {
    Write({Page(9, {{{0, 0, 1}, {1, 0, 2}, {2, 0, 1}}})});
    auto bytes = lessontest::DataFile({Page(9, {{{0, 0, 1}, {1, 0, 2}, {2, 0, 1}}})});
    bytes.resize(bytes.size() - 5);  // the last entry and a byte of the one before
    WriteData(bytes);
    Load(0);
    EXPECT_EQ(page.entryCounts[0], 1);
    EXPECT_EQ(page.board.At(0, 0), 1);
    EXPECT_EQ(page.board.At(1, 0), 0);

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
    EXPECT_EQ(page.header.stepCount, kMaxSteps);
    EXPECT_EQ(page.entries[kMaxSteps - 1][0].code, 2);
    EXPECT_NE(log.Text().find("stepCount"), std::string::npos);
    Load(1);
    EXPECT_EQ(page.header.boardSize, 13) << "the next record is still found";
    EXPECT_EQ(page.board.At(5, 0), 1);
    Load(2);
    EXPECT_EQ(page.entryCounts[0], kMaxEntriesPerStep);
    EXPECT_EQ(page.entries[0][kMaxEntriesPerStep - 1].code, 2);
    EXPECT_EQ(page.board.At(4, 4), 0);
    EXPECT_EQ(page.entryCounts[1], 1) << "the following step is still read in place";
    EXPECT_EQ(page.entries[1][0].x, 6);
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
    EXPECT_EQ(page.entryCounts[0], 0);
    EXPECT_EQ(page.entryCounts[1], 1);
    EXPECT_EQ(page.entries[1][0].x, 2);

    PageRecord negative;
    negative.stepCount = -3;
    negative.showFinal = 1;
    Write({negative});
    Load(0);
    EXPECT_EQ(page.header.stepCount, 0);
    EXPECT_EQ(page.currentStep, -1);
}
