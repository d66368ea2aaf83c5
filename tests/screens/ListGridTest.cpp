#include <gtest/gtest.h>

#include "screens/ListGrid.h"

namespace {

using namespace listgrid;

TEST(ListGridTest, RowsScrollingThumbAndSavedRowFollowTheProblemCount) {
    EXPECT_EQ(RowCount(0), 0);
    EXPECT_EQ(RowCount(-3), 0);
    EXPECT_EQ(RowCount(1), 1);
    EXPECT_EQ(RowCount(10), 1);
    EXPECT_EQ(RowCount(11), 2);
    EXPECT_FALSE(Scrolls(RowCount(50)));
    EXPECT_TRUE(Scrolls(RowCount(51)));
    const int few = RowCount(28), many = RowCount(196);
    EXPECT_EQ(MaxFirstRow(few), 0);
    EXPECT_EQ(ThumbY(0, few), 230.0);
    // The resting thumb cannot be grabbed, even dead centre.
    EXPECT_FALSE(PressGrabsThumb(955, 230, ThumbY(0, few), few));
    EXPECT_EQ(many, 20);
    EXPECT_EQ(MaxFirstRow(many), 15);
    EXPECT_EQ(ThumbY(0, many), 230.5);
    // 337 / 15 in whole pixels per row: 22, then 44 for two rows (not 2 × 22.47).
    EXPECT_EQ(ThumbY(1, many), 252.5);
    EXPECT_EQ(ThumbY(2, many), 274.5);
    EXPECT_EQ(ThumbY(15, many), 567.5);
    // A saved row outside the list opens at the top; a negative word from a damaged file is
    // no row either.
    struct Case {
        int saved, problems, row;
    };
    for (const Case c : {Case{15, 196, 15}, Case{16, 196, 0}, Case{7, 196, 7}, Case{-1, 196, 0},
                         Case{12, 45, 0}, Case{1, 45, 0}, Case{0, 45, 0}})
        EXPECT_EQ(RestoreFirstRow(c.saved, RowCount(c.problems)), c.row) << c.saved;
}

TEST(ListGridTest, CellsSelectTheirNumberBelowTheCountGapsNothingDigitsSitInPlace) {
    struct Case {
        int x, y, firstRow, count, number;
    };
    const Case cases[] = {
        // Columns are 86 pixels from 60; row 0 covers y 215..267, row 1 starts at 295.
        {59, 230, 0, 100, 0},
        {60, 230, 0, 100, 1},
        {145, 230, 0, 100, 1},
        {146, 230, 0, 100, 2},
        {919, 230, 0, 100, 10},
        {920, 230, 0, 100, 0},
        {100, 214, 0, 100, 0},
        {100, 215, 0, 100, 1},
        {100, 267, 0, 100, 1},
        {100, 268, 0, 100, 0},
        {100, 294, 0, 100, 0},
        {100, 295, 0, 100, 11},
        {100, 587, 0, 100, 41},
        {100, 588, 0, 100, 0},
        // Numbers beyond the count select nothing.
        {60 + 7 * 86, 215 + 2 * 80, 0, 28, 28},
        {60 + 8 * 86, 215 + 2 * 80, 0, 28, 0},
        {60 + 5 * 86, 215 + 4 * 80, 15, 196, 196},
        {60 + 6 * 86, 215 + 4 * 80, 15, 196, 0},
        // Rows count from the first visible one: (3 + 1) × 10 + 4 + 1.
        {60 + 4 * 86 + 10, 215 + 90, 3, 196, 45},
        {60 + 4 * 86 + 10, 215 + 90, 3, 44, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NumberAt(c.x, c.y, c.firstRow, c.count), c.number) << c.x << "," << c.y;
    EXPECT_EQ(CellNumber(3, 14), 45);
    EXPECT_EQ(CellNumber(15, 49), 200);
    // Digits sit at their column offsets.
    const DigitPlaces one = DigitsOf(7, 0);
    EXPECT_EQ(one.count, 1);
    EXPECT_EQ(one.digit[0], 7);
    EXPECT_EQ(one.x[0], 102);
    EXPECT_EQ(one.y, 238.5);
    const DigitPlaces two = DigitsOf(42, 11);  // column 1, row 1
    EXPECT_EQ(two.count, 2);
    EXPECT_EQ(two.digit[0] * 10 + two.digit[1], 42);
    EXPECT_EQ(two.x[0], 86 + 90);
    EXPECT_EQ(two.x[1], 86 + 113);
    EXPECT_EQ(two.y, 80 + 238.5);
    const DigitPlaces three = DigitsOf(105, 4);  // column 4, row 0
    EXPECT_EQ(three.count, 3);
    EXPECT_EQ(three.digit[0] * 100 + three.digit[1] * 10 + three.digit[2], 105);
    EXPECT_EQ(three.x[0], 4 * 86 + 82);
    EXPECT_EQ(three.x[1], 4 * 86 + 102);
    EXPECT_EQ(three.x[2], 4 * 86 + 122);
    EXPECT_EQ(DigitsOf(9, 0).count, 1);
    EXPECT_EQ(DigitsOf(10, 0).count, 2);
    EXPECT_EQ(DigitsOf(99, 0).count, 2);
    EXPECT_EQ(DigitsOf(100, 0).count, 3);
}

TEST(ListGridTest, FlicksPageByFiveRowsAndDragsStopOnTheNearestRow) {
    const int rows = RowCount(196);
    struct Case {
        int first, pressY, releaseY, row;
    };
    // More than 50 pixels up pages forward, more than 50 down back; exactly 50 is no flick.
    for (const Case c : {Case{0, 400, 349, 5}, Case{12, 400, 300, 15}, Case{15, 400, 300, 15},
                         Case{7, 300, 351, 2}, Case{3, 300, 400, 0}, Case{0, 300, 400, 0},
                         Case{7, 300, 350, 7}, Case{7, 350, 300, 7}})
        EXPECT_EQ(FlickedFirstRow(c.first, rows, c.pressY, c.releaseY), c.row) << c.first;
    EXPECT_EQ(FlickedFirstRow(0, RowCount(28), 400, 300), 0) << "a list that does not scroll";
    // A dragged thumb stops at the track's ends, on the nearest row.
    EXPECT_EQ(DragThumb(240, -20).thumbY, 230.5);
    EXPECT_TRUE(DragThumb(240, -20).ended);
    EXPECT_EQ(DragThumb(560, 10).thumbY, 567.5);
    EXPECT_TRUE(DragThumb(560, 10).ended);
    EXPECT_EQ(DragThumb(300, 5).thumbY, 305);
    EXPECT_FALSE(DragThumb(300, 5).ended);
    // Reaching an end exactly is not passing it.
    EXPECT_FALSE(DragThumb(240, -9.5).ended);
    EXPECT_FALSE(DragThumb(560, 7.5).ended);
    // 196 problems: a step of 337 / 15 = 22.47.
    EXPECT_EQ(FirstRowForThumb(230.5 + 11.1, rows), 0);
    EXPECT_EQ(FirstRowForThumb(230.5 + 11.3, rows), 1);
    // Six rows: one step of the whole track, the turn at its middle.
    EXPECT_EQ(FirstRowForThumb(398.9, RowCount(52)), 0);
    EXPECT_EQ(FirstRowForThumb(399.0, RowCount(52)), 1);
    // Never outside the list, wherever the thumb is claimed to be.
    EXPECT_EQ(FirstRowForThumb(100, rows), 0);
    EXPECT_EQ(FirstRowForThumb(900, rows), 15);
    EXPECT_EQ(FirstRowForThumb(400, RowCount(28)), 0);
    for (int problems = 51; problems <= 199; ++problems) {
        const int n = RowCount(problems);
        for (int row = 0; row <= MaxFirstRow(n); ++row)
            ASSERT_EQ(FirstRowForThumb(ThumbY(row, n), n), row) << problems << " " << row;
    }
}

TEST(ListGridTest, ThumbGrabReleaseAndTrackBounds) {
    const int rows = RowCount(100);
    EXPECT_TRUE(PressGrabsThumb(955 + 22, 300 - 22, 300, rows));
    EXPECT_FALSE(PressGrabsThumb(955 + 23, 300, 300, rows));
    EXPECT_FALSE(PressGrabsThumb(955, 300 + 23, 300, rows));
    EXPECT_TRUE(NearThumb(955 + 23.5, 300 - 23.5, 300));
    EXPECT_FALSE(NearThumb(955 + 24, 300, 300));
    EXPECT_FALSE(NearThumb(955, 300 - 24, 300));
    EXPECT_TRUE(InTrack(933, 208));
    EXPECT_TRUE(InTrack(978, 590));
    EXPECT_FALSE(InTrack(932, 300));
    EXPECT_FALSE(InTrack(979, 300));
    EXPECT_FALSE(InTrack(955, 207));
    EXPECT_FALSE(InTrack(955, 591));
    EXPECT_TRUE(LeavesTrackSideways(932) && LeavesTrackSideways(979));
    EXPECT_FALSE(LeavesTrackSideways(933) || LeavesTrackSideways(978));
}

}  // namespace
