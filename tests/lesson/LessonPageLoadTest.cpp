#include <gtest/gtest.h>

#include "LessonFixtures.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "lesson/LessonFileNames.h"
#include "lesson/LessonPage.h"

using namespace lesson;
using lessontest::DataFile;
using lessontest::Entry;
using lessontest::Kana;
using lessontest::PageRecord;
using lessontest::TempDir;
using lessontest::TextFile;

namespace {

const LessonId kFirstLesson{0, 0, 0};

class LessonPageLoad : public ::testing::Test {
protected:
    PageLoadResult Load(int pageIndex, LessonId id = kFirstLesson) {
        page.currentPage = pageIndex;
        return LoadLessonPage(page, id, dir.Prefix());
    }
    void WriteLesson(const std::vector<PageRecord>& pages, const std::string& text,
                     const std::string& name = "1-1-1") {
        dir.Write(name + ".dat", DataFile(pages));
        dir.Write(name + ".txt", text);
    }

    TempDir dir;
    LessonPage page;
};

}  // namespace

TEST(LessonFileNames, NumbersAreOneBased) {
    EXPECT_EQ(LessonDataFileName(kLessonDirectory, {0, 0, 0}), "DATA/DATA/EXPLAIN/1-1-1.dat");
    EXPECT_EQ(LessonTextFileName(kLessonDirectory, {1, 3, 0}), "DATA/DATA/EXPLAIN/2-4-1.txt");
}

TEST_F(LessonPageLoad, ReadsTheRequestedRecordAndItsText) {
    PageRecord first;
    first.steps = {{{0, 0, 1}}, {{1, 1, 2}}};
    PageRecord second;
    second.characterPose = 2;
    second.windowMode = 1;
    second.boardSize = 6;
    second.autoAdvance = 1;
    second.textFirst = 1;
    second.steps = {{{2, 3, 0x4001}, {5, 5, 0x0102}}, {{4, 4, 2}}, {}};
    WriteLesson({first, second}, TextFile({{"C0", "B0"}, {"CAPTION", Kana(20)}}));

    ASSERT_EQ(Load(1), PageLoadResult::Loaded);
    EXPECT_EQ(page.pageCount, 2);
    EXPECT_EQ(page.header.characterPose, 2);
    EXPECT_EQ(page.header.windowMode, 1);
    EXPECT_EQ(page.header.boardSize, 6);
    EXPECT_EQ(page.header.stepCount, 3);
    EXPECT_EQ(page.header.autoAdvance, 1);
    EXPECT_EQ(page.header.textFirst, 1);
    EXPECT_EQ(page.entryCounts[0], 2);
    EXPECT_EQ(page.entryCounts[1], 1);
    EXPECT_EQ(page.entryCounts[2], 0);
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

TEST_F(LessonPageLoad, ShowFinalOpensOnTheLastStep) {
    PageRecord p;
    p.showFinal = 1;
    p.steps = {{{0, 0, 1}}, {{1, 0, 2}}, {{2, 0, 1}}};
    WriteLesson({p}, TextFile({{"C", "B"}}));
    ASSERT_EQ(Load(0), PageLoadResult::Loaded);
    EXPECT_EQ(page.currentStep, 2);
    EXPECT_EQ(page.board.At(2, 0), 1);
    EXPECT_EQ(page.board.At(1, 0), 2);
    EXPECT_EQ(page.stoneMovePage, 0);
}

TEST_F(LessonPageLoad, ThirteenBoardDrawsStoredRowZeroOnRowTwelve) {
    PageRecord p;
    p.boardSize = 13;
    p.steps = {{{4, 0, 1}}};
    WriteLesson({p}, TextFile({{"C", "B"}}));
    Load(0);
    EXPECT_EQ(page.board.At(4, 12), 1);
    EXPECT_EQ(page.board.At(4, 0), 0);
}

TEST_F(LessonPageLoad, LessonTwoFourOneMirrorsRows) {
    PageRecord p;
    p.boardSize = 19;
    p.steps = {{{4, 0, 2}}};
    WriteLesson({p}, TextFile({{"C", "B"}}), "2-4-1");
    Load(0, {1, 3, 0});
    EXPECT_EQ(page.board.At(4, 18), 2);
}

TEST_F(LessonPageLoad, MissingDataFileClearsOnlyTheSteps) {
    PageRecord p;
    p.steps = {{{0, 0, 1}}};
    WriteLesson({p, p}, TextFile({{"C0", "B0"}, {"C1", "B1"}}));
    Load(0);
    dir.Remove("1-1-1.dat");
    EXPECT_EQ(Load(1), PageLoadResult::NoDataFile);
    EXPECT_EQ(page.header.stepCount, 0);
    EXPECT_EQ(page.entryCounts[0], 0);
    EXPECT_EQ(page.caption, "C0") << "the previous page stays on screen";
    EXPECT_EQ(page.board.At(0, 0), 1);
    EXPECT_EQ(page.pageCount, 2);
}

TEST_F(LessonPageLoad, MissingTextFileKeepsThePreviousBoard) {
    PageRecord nine;
    nine.steps = {{{0, 0, 1}}};
    PageRecord six;
    six.boardSize = 6;
    six.steps = {{{1, 1, 2}}};
    WriteLesson({nine, six}, TextFile({{"C0", "B0"}, {"C1", "B1"}}));
    Load(0);
    dir.Remove("1-1-1.txt");
    EXPECT_EQ(Load(1), PageLoadResult::NoTextFile);
    EXPECT_EQ(page.header.boardSize, 6) << "the steps are loaded";
    EXPECT_EQ(page.entries[0][0].code, 2);
    EXPECT_EQ(page.boardSize, 9);
    EXPECT_EQ(page.board.At(0, 0), 1);
    EXPECT_EQ(page.caption, "C0");
}

TEST_F(LessonPageLoad, PageBeyondTheFileKeepsClearedValues) {
    PageRecord p;
    p.steps = {{{0, 0, 1}}};
    WriteLesson({p}, TextFile({{"C0", "B0"}}));
    Load(0);
    EXPECT_EQ(Load(3), PageLoadResult::Loaded);
    EXPECT_EQ(page.header.stepCount, 0);
    EXPECT_EQ(page.header.boardSize, 0);
    EXPECT_EQ(page.caption, "");
    EXPECT_EQ(page.board.At(0, 0), 0);
}

TEST_F(LessonPageLoad, TruncatedStepKeepsOnlyWholeEntries) {
    PageRecord p;
    p.steps = {{{0, 0, 1}, {1, 0, 2}, {2, 0, 1}}};
    auto bytes = DataFile({p});
    bytes.resize(bytes.size() - 5);  // the last entry and a byte of the one before
    dir.Write("1-1-1.dat", bytes);
    dir.Write("1-1-1.txt", TextFile({{"C", "B"}}));
    Load(0);
    EXPECT_EQ(page.entryCounts[0], 1);
    EXPECT_EQ(page.board.At(0, 0), 1);
    EXPECT_EQ(page.board.At(1, 0), 0);

    dir.Write("1-1-1.dat", std::vector<uint8_t>{2, 0, 0, 0, 9, 9});
    Load(0);
    EXPECT_EQ(page.header.boardSize, 0) << "a cut header stays cleared";
}

TEST_F(LessonPageLoad, StepsBeyondTheLimitAreReadPastButNotKept) {
    PageRecord big;
    big.steps.assign(kMaxSteps + 5, {{0, 0, 1}});
    big.steps[kMaxSteps - 1] = {{7, 7, 2}};
    big.steps[kMaxSteps + 2] = {{8, 8, 2}};
    PageRecord after;
    after.boardSize = 13;
    after.steps = {{{5, 12, 1}}};
    WriteLesson({big, after}, TextFile({{"C0", "B0"}, {"C1", "B1"}}));
    dbglog::Capture log;
    Load(0);
    EXPECT_EQ(page.header.stepCount, kMaxSteps);
    EXPECT_EQ(page.entries[kMaxSteps - 1][0].code, 2);
    EXPECT_NE(log.Text().find("stepCount"), std::string::npos);
    Load(1);
    EXPECT_EQ(page.header.boardSize, 13) << "the next record is still found";
    EXPECT_EQ(page.board.At(5, 0), 1);
}

TEST_F(LessonPageLoad, EntriesBeyondTheLimitAreReadPastButNotKept) {
    PageRecord big;
    std::vector<Entry> many(kMaxEntriesPerStep + 10, Entry{0, 0, 1});
    many[kMaxEntriesPerStep - 1] = {3, 3, 2};
    many[kMaxEntriesPerStep + 3] = {4, 4, 2};
    big.steps = {many, {{6, 6, 1}}};
    WriteLesson({big}, TextFile({{"C0", "B0"}}));
    Load(0);
    EXPECT_EQ(page.entryCounts[0], kMaxEntriesPerStep);
    EXPECT_EQ(page.entries[0][kMaxEntriesPerStep - 1].code, 2);
    EXPECT_EQ(page.board.At(4, 4), 0);
    EXPECT_EQ(page.entryCounts[1], 1) << "the following step is still read in place";
    EXPECT_EQ(page.entries[1][0].x, 6);
}

TEST_F(LessonPageLoad, NegativeCountsReadAsEmpty) {
    std::vector<uint8_t> bytes;
    lessontest::PutS32(bytes, 1);
    for (int32_t field : {0, 0, 9, 2, 0, 0, 0}) lessontest::PutS32(bytes, field);
    lessontest::PutS32(bytes, -4);  // step 0: a negative entry count
    lessontest::PutS32(bytes, 1);   // step 1: one entry
    lessontest::PutEntry(bytes, {2, 2, 1});
    dir.Write("1-1-1.dat", bytes);
    dir.Write("1-1-1.txt", TextFile({{"C0", "B0"}}));
    page.header.showFinal = 0;
    Load(0);
    EXPECT_EQ(page.entryCounts[0], 0);
    EXPECT_EQ(page.entryCounts[1], 1);
    EXPECT_EQ(page.entries[1][0].x, 2);

    PageRecord negative;
    negative.stepCount = -3;
    negative.showFinal = 1;
    WriteLesson({negative}, TextFile({{"C0", "B0"}}));
    Load(0);
    EXPECT_EQ(page.header.stepCount, 0);
    EXPECT_EQ(page.currentStep, -1);
}
