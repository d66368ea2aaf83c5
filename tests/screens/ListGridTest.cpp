#include <gtest/gtest.h>

#include "screens/ListGrid.h"

namespace {

using namespace listgrid;

TEST(ListGridTest, TwentyEightProblemsFillThreeRowsWithoutScrolling) {
    const int rows = RowCount(28);
    EXPECT_EQ(rows, 3);
    EXPECT_FALSE(Scrolls(rows));
    EXPECT_EQ(MaxFirstRow(rows), 0);
    EXPECT_EQ(ThumbY(0, rows), 230.0);
    // The resting thumb cannot be grabbed, even dead centre.
    EXPECT_FALSE(PressGrabsThumb(955, 230, ThumbY(0, rows), rows));
    // Numbers 29..50 select nothing: 28 is the last cell of row 2, 29 the next one.
    EXPECT_EQ(NumberAt(60 + 7 * 86, 215 + 2 * 80, 0, 28), 28);
    EXPECT_EQ(NumberAt(60 + 8 * 86, 215 + 2 * 80, 0, 28), 0);
    EXPECT_EQ(NumberAt(100, 215 + 4 * 80, 0, 28), 0);
}

TEST(ListGridTest, RowCountRoundsUpAndEmptySectionsHaveNoRows) {
    EXPECT_EQ(RowCount(0), 0);
    EXPECT_EQ(RowCount(-3), 0);
    EXPECT_EQ(RowCount(1), 1);
    EXPECT_EQ(RowCount(10), 1);
    EXPECT_EQ(RowCount(11), 2);
    EXPECT_EQ(RowCount(50), 5);
    EXPECT_FALSE(Scrolls(RowCount(50)));
    EXPECT_TRUE(Scrolls(RowCount(51)));
}

TEST(ListGridTest, HundredNinetySixProblemsScrollOverFirstRowsZeroToFifteen) {
    const int rows = RowCount(196);
    EXPECT_EQ(rows, 20);
    EXPECT_EQ(MaxFirstRow(rows), 15);
    EXPECT_EQ(RestoreFirstRow(15, rows), 15);
    EXPECT_EQ(RestoreFirstRow(16, rows), 0);
    EXPECT_EQ(ThumbY(0, rows), 230.5);
    // 337 / 15 in whole pixels per row: 22, then 44 for two rows (not 2 × 22.47).
    EXPECT_EQ(ThumbY(1, rows), 252.5);
    EXPECT_EQ(ThumbY(2, rows), 274.5);
    EXPECT_EQ(ThumbY(15, rows), 567.5);
    // The last cell of the last row shows 200 at first row 15, beyond the count.
    EXPECT_EQ(CellNumber(15, 49), 200);
    EXPECT_EQ(NumberAt(60 + 5 * 86, 215 + 4 * 80, 15, 196), 196);
    EXPECT_EQ(NumberAt(60 + 6 * 86, 215 + 4 * 80, 15, 196), 0);
}

TEST(ListGridTest, ASavedRowOutsideTheListOpensAtTheTop) {
    // Twelve saved for a section of five rows.
    EXPECT_EQ(RestoreFirstRow(12, RowCount(45)), 0);
    EXPECT_EQ(RestoreFirstRow(1, RowCount(45)), 0);
    EXPECT_EQ(RestoreFirstRow(0, RowCount(45)), 0);
    // A negative word from a damaged file is no row either.
    EXPECT_EQ(RestoreFirstRow(-1, RowCount(196)), 0);
    EXPECT_EQ(RestoreFirstRow(7, RowCount(196)), 7);
}

TEST(ListGridTest, TheGapBelowEachRowSelectsNothing) {
    // Row 0 covers y 215..267; 268..294 is the 27-pixel gap; row 1 starts at 295.
    EXPECT_EQ(NumberAt(100, 215, 0, 100), 1);
    EXPECT_EQ(NumberAt(100, 267, 0, 100), 1);
    for (int y = 268; y < 295; ++y) EXPECT_EQ(NumberAt(100, y, 0, 100), 0) << y;
    EXPECT_EQ(NumberAt(100, 295, 0, 100), 11);
    // The last row ends the grid at 587.
    EXPECT_EQ(NumberAt(100, 587, 0, 100), 41);
    EXPECT_EQ(NumberAt(100, 588, 0, 100), 0);
    EXPECT_EQ(NumberAt(100, 214, 0, 100), 0);
}

TEST(ListGridTest, ColumnsAreEightySixPixelsFromSixty) {
    EXPECT_EQ(NumberAt(59, 230, 0, 100), 0);
    EXPECT_EQ(NumberAt(60, 230, 0, 100), 1);
    EXPECT_EQ(NumberAt(145, 230, 0, 100), 1);
    EXPECT_EQ(NumberAt(146, 230, 0, 100), 2);
    EXPECT_EQ(NumberAt(919, 230, 0, 100), 10);
    EXPECT_EQ(NumberAt(920, 230, 0, 100), 0);
}

TEST(ListGridTest, SelectionCountsRowsFromTheFirstVisibleRow) {
    // Row 1, column 4 with the list at row 3: (3 + 1) × 10 + 4 + 1.
    EXPECT_EQ(NumberAt(60 + 4 * 86 + 10, 215 + 80 + 10, 3, 196), 45);
    EXPECT_EQ(NumberAt(60 + 4 * 86 + 10, 215 + 80 + 10, 3, 44), 0);
    EXPECT_EQ(NumberAt(60 + 4 * 86 + 10, 215 + 80 + 10, 3, 45), 45);
    EXPECT_EQ(CellNumber(0, 0), 1);
    EXPECT_EQ(CellNumber(3, 14), 45);
}

TEST(ListGridTest, DigitsSitAtTheirColumnOffsets) {
    const DigitPlaces one = DigitsOf(7, 0);
    EXPECT_EQ(one.count, 1);
    EXPECT_EQ(one.digit[0], 7);
    EXPECT_EQ(one.x[0], 102);
    EXPECT_EQ(one.y, 238.5);

    const DigitPlaces two = DigitsOf(42, 11);  // column 1, row 1
    EXPECT_EQ(two.count, 2);
    EXPECT_EQ(two.digit[0], 4);
    EXPECT_EQ(two.digit[1], 2);
    EXPECT_EQ(two.x[0], 86 + 90);
    EXPECT_EQ(two.x[1], 86 + 113);
    EXPECT_EQ(two.y, 80 + 238.5);

    const DigitPlaces three = DigitsOf(105, 4);  // column 4, row 0
    EXPECT_EQ(three.count, 3);
    EXPECT_EQ(three.digit[0], 1);
    EXPECT_EQ(three.digit[1], 0);
    EXPECT_EQ(three.digit[2], 5);
    EXPECT_EQ(three.x[0], 4 * 86 + 82);
    EXPECT_EQ(three.x[1], 4 * 86 + 102);
    EXPECT_EQ(three.x[2], 4 * 86 + 122);

    EXPECT_EQ(DigitsOf(9, 0).count, 1);
    EXPECT_EQ(DigitsOf(10, 0).count, 2);
    EXPECT_EQ(DigitsOf(99, 0).count, 2);
    EXPECT_EQ(DigitsOf(100, 0).count, 3);
    EXPECT_EQ(DigitsOf(200, 49).y, 4 * 80 + 238.5);
}

TEST(ListGridTest, FlicksPageByFiveRowsAndStopAtTheEnds) {
    const int rows = RowCount(196);
    // A release more than 50 pixels above the press pages forward.
    EXPECT_EQ(FlickedFirstRow(0, rows, 400, 349), 5);
    EXPECT_EQ(FlickedFirstRow(12, rows, 400, 300), 15);
    EXPECT_EQ(FlickedFirstRow(15, rows, 400, 300), 15);
    // More than 50 below pages back.
    EXPECT_EQ(FlickedFirstRow(7, rows, 300, 351), 2);
    EXPECT_EQ(FlickedFirstRow(3, rows, 300, 400), 0);
    EXPECT_EQ(FlickedFirstRow(0, rows, 300, 400), 0);
    // Exactly 50 is no flick.
    EXPECT_EQ(FlickedFirstRow(7, rows, 300, 350), 7);
    EXPECT_EQ(FlickedFirstRow(7, rows, 350, 300), 7);
    // A list that does not scroll never moves.
    EXPECT_EQ(FlickedFirstRow(0, RowCount(28), 400, 300), 0);
}

TEST(ListGridTest, ThumbDragStopsAtTheTrackEnds) {
    const DragStep up = DragThumb(240, -20);
    EXPECT_EQ(up.thumbY, 230.5);
    EXPECT_TRUE(up.ended);
    const DragStep down = DragThumb(560, 10);
    EXPECT_EQ(down.thumbY, 567.5);
    EXPECT_TRUE(down.ended);
    const DragStep inside = DragThumb(300, 5);
    EXPECT_EQ(inside.thumbY, 305);
    EXPECT_FALSE(inside.ended);
    // Reaching an end exactly is not passing it.
    EXPECT_FALSE(DragThumb(240, -9.5).ended);
    EXPECT_FALSE(DragThumb(560, 7.5).ended);
}

TEST(ListGridTest, DragEndRowsComeFromTheThumbRoundedToTheNearestStep) {
    const int rows = RowCount(196);  // step 337 / 15 = 22.47
    EXPECT_EQ(FirstRowForThumb(230.5, rows), 0);
    EXPECT_EQ(FirstRowForThumb(567.5, rows), 15);
    EXPECT_EQ(FirstRowForThumb(230.5 + 11.1, rows), 0);
    EXPECT_EQ(FirstRowForThumb(230.5 + 11.3, rows), 1);
    // Six rows: one step of the whole track, the turn at its middle.
    EXPECT_EQ(FirstRowForThumb(398.9, RowCount(52)), 0);
    EXPECT_EQ(FirstRowForThumb(399.0, RowCount(52)), 1);
    EXPECT_EQ(FirstRowForThumb(567.5, RowCount(52)), 1);
    // Never outside the list, wherever the thumb is claimed to be.
    EXPECT_EQ(FirstRowForThumb(100, rows), 0);
    EXPECT_EQ(FirstRowForThumb(900, rows), 15);
    EXPECT_EQ(FirstRowForThumb(400, RowCount(28)), 0);
}

TEST(ListGridTest, TheThumbOfEveryRowLeadsBackToThatRow) {
    for (int problems = 51; problems <= 199; ++problems) {
        const int rows = RowCount(problems);
        for (int row = 0; row <= MaxFirstRow(rows); ++row)
            ASSERT_EQ(FirstRowForThumb(ThumbY(row, rows), rows), row) << problems << " " << row;
    }
}

TEST(ListGridTest, ThumbGrabAndReleaseDistances) {
    const int rows = RowCount(100);
    EXPECT_TRUE(PressGrabsThumb(955 + 22, 300 - 22, 300, rows));
    EXPECT_FALSE(PressGrabsThumb(955 + 23, 300, 300, rows));
    EXPECT_FALSE(PressGrabsThumb(955, 300 + 23, 300, rows));
    EXPECT_TRUE(NearThumb(955 + 23.5, 300 - 23.5, 300));
    EXPECT_FALSE(NearThumb(955 + 24, 300, 300));
    EXPECT_FALSE(NearThumb(955, 300 - 24, 300));
}

TEST(ListGridTest, TheTrackIsAnOpenRectangle) {
    EXPECT_TRUE(InTrack(933, 208));
    EXPECT_TRUE(InTrack(978, 590));
    EXPECT_FALSE(InTrack(932, 300));
    EXPECT_FALSE(InTrack(979, 300));
    EXPECT_FALSE(InTrack(955, 207));
    EXPECT_FALSE(InTrack(955, 591));
    EXPECT_TRUE(LeavesTrackSideways(932));
    EXPECT_TRUE(LeavesTrackSideways(979));
    EXPECT_FALSE(LeavesTrackSideways(933));
    EXPECT_FALSE(LeavesTrackSideways(978));
}

}  // namespace
