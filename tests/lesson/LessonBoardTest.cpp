#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "lesson/LessonBoardOps.h"

using namespace lesson;

namespace {

const LessonId kPlainLesson{0, 0, 0};
const LessonId kMirroredLesson{1, 3, 0};  // file 2-4-1

// A page of the given size whose steps are the given entry lists.
LessonPage MakePage(int boardSize, const std::vector<std::vector<StepEntry>>& steps) {
    LessonPage page;
    page.header.boardSize = boardSize;
    page.header.stepCount = int32_t(steps.size());
    for (size_t s = 0; s < steps.size(); ++s) {
        page.entryCounts[s] = int32_t(steps[s].size());
        for (size_t i = 0; i < steps[s].size(); ++i) page.entries[s][i] = steps[s][i];
    }
    return page;
}

}  // namespace

TEST(LessonMerging, EachCodeChangesTheFirstFieldItHas) {
    EXPECT_EQ(MergeCode(0x4000 | 0x0500 | 0x0030 | 0x0001, 0x0000), 0) << "zero clears all";
    // 0x0011 has stone bits too, but the arrow layer comes first and is the only change.
    EXPECT_EQ(MergeCode(0x0002, 0x0011), 0x0012);
    EXPECT_EQ(MergeCode(0x8702, 0x0011), 0x8712);
    EXPECT_EQ(MergeCode(0x8735, 0x0001), 0x8731) << "stone replaces stone only";
    EXPECT_EQ(MergeCode(0x8735, 0x0C00), 0x8C35) << "number replaces number only";
    EXPECT_EQ(MergeCode(0x8735, 0x4000), 0x4735) << "blink replaces blink only";
    EXPECT_EQ(MergeCode(0x0000, 0xC102), 0x0002) << "stone wins over number and blink";
}

TEST(LessonMirroring, ThirteenBoardAndLessonTwoFourOneTurnRowsOver) {
    int x = -1, y = -1;
    ASSERT_TRUE(EntryPoint({3, 0, 1}, 13, false, x, y));
    EXPECT_EQ(std::pair(x, y), std::pair(3, 12));
    ASSERT_TRUE(EntryPoint({0, 12, 1}, 13, false, x, y));
    EXPECT_EQ(y, 0);
    EXPECT_FALSE(EntryPoint({0, 13, 1}, 13, false, x, y)) << "row 13 wraps past the board";
    EXPECT_FALSE(EntryPoint({13, 0, 1}, 13, false, x, y));
    // Lesson 2-4-1 mirrors on the full board.
    ASSERT_TRUE(EntryPoint({1, 18, 1}, 9, true, x, y));
    EXPECT_EQ(y, 0);
    ASSERT_TRUE(EntryPoint({1, 10, 1}, 9, true, x, y));
    EXPECT_EQ(y, 8);
    EXPECT_FALSE(EntryPoint({1, 0, 1}, 9, true, x, y)) << "row 0 lands on 18, off a 9 x 9 board";
    EXPECT_FALSE(EntryPoint({1, 19, 1}, 9, true, x, y)) << "beyond the mirror line wraps";
    ASSERT_TRUE(EntryPoint({1, 0, 1}, 13, true, x, y)) << "13 x 13 keeps its own mirror";
    EXPECT_EQ(y, 12);
    LessonPage page = MakePage(19, {{{2, 0, 1}}});
    LessonBoard mirrored, plain;
    RebuildBoard(page, kMirroredLesson, 0, mirrored);
    RebuildBoard(page, kPlainLesson, 0, plain);
    EXPECT_EQ(std::tuple(mirrored.At(2, 18), mirrored.At(2, 0), plain.At(2, 0)),
              std::tuple(1, 0, 1));
}

TEST(LessonMirroring, OversizedBoardStaysWithinTheStoredBoard) {
    LessonPage page = MakePage(40, {{{30, 2, 1}, {2, 30, 1}, {18, 18, 2}}});
    LessonBoard board;
    RebuildBoard(page, kPlainLesson, 0, board);
    EXPECT_EQ(board.At(18, 18), 2);
    int stones = 0;
    for (auto& row : board.points)
        for (auto p : row) stones += p != 0;
    EXPECT_EQ(stones, 1);
}

TEST(LessonStoneSound, RebuildReportsExactlyOneNewStone) {
    LessonPage page = MakePage(9, {
                                      {{0, 0, 1}},             // step 0: one stone
                                      {{1, 1, 2}},             // step 1: one more
                                      {{2, 2, 1}, {3, 3, 2}},  // step 2: two at once
                                      {{4, 4, 3}},             // step 3: a label only
                                      {{4, 4, 7}},             // step 4: label becomes stone 7
                                      {{1, 1, 1}},             // step 5: white turns black
                                      {{5, 5, 0x0011}},        // step 6: arrow + stone bits
                                  });
    // Step 0 never sounds; two stones at once, labels and 0x0011 (no stone) do not; a changed
    // colour does; one past the last step is empty.
    LessonBoard board;
    std::vector<bool> sounds;
    for (int step = 0; step <= 7; ++step)
        sounds.push_back(RebuildBoard(page, kPlainLesson, step, board));
    EXPECT_EQ(sounds, (std::vector<bool>{false, true, false, false, true, true, false, false}));
    RebuildBoard(page, kPlainLesson, 6, board);
    EXPECT_EQ(board.At(5, 5), 0x0010);
}

TEST(LessonStoneSound, StoneMovePageComparesStepsAsStored) {
    // Step 2 repeats a stone of step 0; against step 1 as stored it is new.
    LessonPage page = MakePage(9, {{{0, 0, 1}, {1, 0, 1}}, {{1, 0, 1}}, {{0, 0, 1}}});
    EXPECT_TRUE(IsStoneMovePage(page, kPlainLesson));
    page.header.showFinal = 1;
    EXPECT_FALSE(IsStoneMovePage(page, kPlainLesson)) << "show-final pages never are";
    LessonPage pairs = MakePage(9, {{{0, 0, 1}, {1, 0, 2}}, {{0, 0, 1}, {1, 0, 2}}});
    EXPECT_FALSE(IsStoneMovePage(pairs, kPlainLesson));
}

TEST(LessonStoneSound, StepsBeyondTheStoredOnesAreEmpty) {
    std::vector<std::vector<StepEntry>> steps(kMaxSteps, std::vector<StepEntry>{});
    steps[kMaxSteps - 1] = {{3, 3, 1}};
    LessonPage page = MakePage(9, steps);
    LessonBoard board;
    EXPECT_TRUE(RebuildBoard(page, kPlainLesson, kMaxSteps - 1, board));
    for (int step : {kMaxSteps, kMaxSteps + 5}) {
        EXPECT_FALSE(RebuildBoard(page, kPlainLesson, step, board));
        EXPECT_EQ(board.At(3, 3), 1);
    }
    EXPECT_TRUE(IsStoneMovePage(page, kPlainLesson));
}
