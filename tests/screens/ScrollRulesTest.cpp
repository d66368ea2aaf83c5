// The scroll arithmetic of the problem list's grid and of the main menu.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "screens/ListGrid.h"
#include "screens/MenuScroll.h"

namespace {

using namespace listgrid;

TEST(ListGridTest, RowsScrollingThumbTrackAndSavedRowFollowTheProblemCount) {
    for (const auto& [problems, rows] : {std::pair{0, 0}, {-3, 0}, {1, 1}, {10, 1}, {11, 2}})
        EXPECT_EQ(RowCount(problems), rows) << problems;
    EXPECT_FALSE(Scrolls(RowCount(50)));
    EXPECT_TRUE(Scrolls(RowCount(51)));
    const int few = RowCount(28), many = RowCount(196);
    EXPECT_EQ(std::tuple(MaxFirstRow(few), ThumbY(0, few)), std::tuple(0, 230.0));
    // The resting thumb cannot be grabbed, even dead centre.
    EXPECT_FALSE(PressGrabsThumb(955, 230, ThumbY(0, few), few));
    EXPECT_EQ(std::tuple(many, MaxFirstRow(many)), std::tuple(20, 15));
    // 337 / 15 in whole pixels per row: 22, then 44 for two rows (not 2 × 22.47).
    EXPECT_EQ((std::vector{ThumbY(0, many), ThumbY(1, many), ThumbY(2, many), ThumbY(15, many)}),
              (std::vector{230.5, 252.5, 274.5, 567.5}));
    // A saved row outside the list opens at the top; a negative word from a damaged file is
    // no row either.
    struct Case {
        int saved, problems, row;
    };
    for (const Case c : {Case{15, 196, 15}, Case{16, 196, 0}, Case{7, 196, 7}, Case{-1, 196, 0},
                         Case{12, 45, 0}, Case{1, 45, 0}, Case{0, 45, 0}})
        EXPECT_EQ(RestoreFirstRow(c.saved, RowCount(c.problems)), c.row) << c.saved;
    // A scrolling thumb is grabbed within 22 pixels and is near within 23.5; the track.
    const int rows = RowCount(100);
    EXPECT_TRUE(PressGrabsThumb(955 + 22, 300 - 22, 300, rows));
    EXPECT_FALSE(PressGrabsThumb(955 + 23, 300, 300, rows) ||
                 PressGrabsThumb(955, 300 + 23, 300, rows));
    EXPECT_TRUE(NearThumb(955 + 23.5, 300 - 23.5, 300));
    EXPECT_FALSE(NearThumb(955 + 24, 300, 300) || NearThumb(955, 300 - 24, 300));
    EXPECT_TRUE(InTrack(933, 208) && InTrack(978, 590));
    for (const auto& [x, y] : {std::pair{932, 300}, {979, 300}, {955, 207}, {955, 591}})
        EXPECT_FALSE(InTrack(x, y)) << x << "," << y;
    EXPECT_TRUE(LeavesTrackSideways(932) && LeavesTrackSideways(979));
    EXPECT_FALSE(LeavesTrackSideways(933) || LeavesTrackSideways(978));
}

TEST(ListGridTest, CellsSelectTheirNumberBelowTheCountGapsNothingDigitsSitInPlace) {
    struct Case {
        int x, y, firstRow, count, number;
    };
    // Columns are 86 pixels from 60; row 0 covers y 215..267, row 1 starts at 295. Numbers
    // beyond the count select nothing; rows count from the first visible one (the last two:
    // row 3 + 1, column 4 is number 45).
    const Case cases[] = {{59, 230, 0, 100, 0},   {60, 230, 0, 100, 1},     {145, 230, 0, 100, 1},
                          {146, 230, 0, 100, 2},  {919, 230, 0, 100, 10},   {920, 230, 0, 100, 0},
                          {100, 214, 0, 100, 0},  {100, 215, 0, 100, 1},    {100, 267, 0, 100, 1},
                          {100, 268, 0, 100, 0},  {100, 294, 0, 100, 0},    {100, 295, 0, 100, 11},
                          {100, 587, 0, 100, 41}, {100, 588, 0, 100, 0},    {662, 375, 0, 28, 28},
                          {748, 375, 0, 28, 0},   {490, 535, 15, 196, 196}, {576, 535, 15, 196, 0},
                          {414, 305, 3, 196, 45}, {414, 305, 3, 44, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(NumberAt(c.x, c.y, c.firstRow, c.count), c.number) << c.x << "," << c.y;
    EXPECT_EQ(std::tuple(CellNumber(3, 14), CellNumber(15, 49)), std::tuple(45, 200));
    // Digits sit at their column offsets: (count, digits, x of each, y).
    const auto places = [](int number, int cell) {
        const DigitPlaces d = DigitsOf(number, cell);
        std::vector<double> v{double(d.count)};
        for (int i = 0; i < d.count; ++i) v.insert(v.end(), {double(d.digit[i]), double(d.x[i])});
        v.push_back(d.y);
        return v;
    };
    EXPECT_EQ(places(7, 0), (std::vector<double>{1, 7, 102, 238.5}));
    EXPECT_EQ(places(42, 11), (std::vector<double>{2, 4, 86 + 90, 2, 86 + 113, 80 + 238.5}));
    EXPECT_EQ(places(105, 4),
              (std::vector<double>{3, 1, 4 * 86 + 82, 0, 4 * 86 + 102, 5, 4 * 86 + 122, 238.5}));
    EXPECT_EQ((std::vector{DigitsOf(9, 0).count, DigitsOf(10, 0).count, DigitsOf(99, 0).count,
                           DigitsOf(100, 0).count}),
              (std::vector{1, 2, 2, 3}));
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
    // A dragged thumb stops at the track's ends, on the nearest row; reaching an end exactly
    // is not passing it.
    const auto drag = [](double y, double dy) {
        const auto d = DragThumb(y, dy);
        return std::tuple(d.thumbY, d.ended);
    };
    EXPECT_EQ(drag(240, -20), std::tuple(230.5, true));
    EXPECT_EQ(drag(560, 10), std::tuple(567.5, true));
    EXPECT_EQ(drag(300, 5), std::tuple(305.0, false));
    EXPECT_FALSE(DragThumb(240, -9.5).ended || DragThumb(560, 7.5).ended);
    // 196 problems: a step of 337 / 15 = 22.47. Six rows: one step of the whole track, the
    // turn at its middle. Never outside the list, wherever the thumb is claimed to be.
    struct Thumb {
        double y;
        int problems, row;
    };
    for (const Thumb t :
         {Thumb{230.5 + 11.1, 196, 0}, Thumb{230.5 + 11.3, 196, 1}, Thumb{398.9, 52, 0},
          Thumb{399.0, 52, 1}, Thumb{100, 196, 0}, Thumb{900, 196, 15}, Thumb{400, 28, 0}})
        EXPECT_EQ(FirstRowForThumb(t.y, RowCount(t.problems)), t.row) << t.y;
    for (int problems = 51; problems <= 199; ++problems) {
        const int n = RowCount(problems);
        for (int row = 0; row <= MaxFirstRow(n); ++row)
            ASSERT_EQ(FirstRowForThumb(ThumbY(row, n), n), row) << problems << " " << row;
    }
}

namespace ms = menuscroll;

TEST(MenuScroll, ThumbRunsTheTrackMapsBackAndSnapsToTheNearestRow) {
    // 337 / 26 truncated per row.
    EXPECT_EQ((std::vector{ms::ThumbY(0), ms::ThumbY(1), ms::ThumbY(26)}),
              (std::vector{230, 242, 567}));
    for (int top = 0; top <= ms::kMaxTop; ++top) EXPECT_EQ(ms::TopForThumbY(ms::ThumbY(top)), top);
    // A dragged thumb snaps to the nearest row within the list: just under and over half a
    // step past row 3, and far outside the track.
    const double half = 230.5 + 3.5 * 337.0 / 26;
    EXPECT_EQ((std::vector{ms::TopForThumbY(half - 0.01), ms::TopForThumbY(half + 0.01),
                           ms::TopForThumbY(100), ms::TopForThumbY(900)}),
              (std::vector{3, 4, 0, 26}));
    // Saved positions beyond the list open on the last full page.
    EXPECT_EQ((std::vector{ms::ClampTop(30), ms::ClampTop(-4), ms::ClampTop(12)}),
              (std::vector{26, 0, 12}));
}

TEST(MenuScroll, PressesGrabTheThumbFlicksPageAndAnyReleaseEndsADrag) {
    EXPECT_TRUE(ms::PressGrabsThumb(956 + 22.9, 300 - 22.9, 300));
    EXPECT_FALSE(ms::PressGrabsThumb(956, 323, 300) || ms::PressGrabsThumb(933, 300, 300));
    EXPECT_TRUE(ms::ReleaseOnThumb(956 + 23.5, 300 - 23.5, 300));
    EXPECT_FALSE(ms::ReleaseOnThumb(956 + 23.6, 300, 300) || ms::ReleaseOnThumb(956, 323.6, 300));
    // The scroll column's edges are open.
    EXPECT_TRUE(ms::InScrollColumn(956, 400));
    EXPECT_FALSE(ms::InScrollColumn(932.5, 400) || ms::InScrollColumn(956, 590.5) ||
                 ms::InScrollColumn(500, 400));
    // Flicks page by five rows and stop at the ends.
    EXPECT_EQ((std::vector{ms::PageTop(10, 50), ms::PageTop(10, -50), ms::PageTop(10, 49),
                           ms::PageTop(10, -49), ms::PageTop(3, 80), ms::PageTop(24, -80)}),
              (std::vector{5, 15, 10, 10, 0, 26}));
    using R = ms::Release;
    // A fast drag leaves the pointer far from the thumb before the button comes up.
    EXPECT_EQ(ms::ReleaseEffect(true, true, 956, 300, 956, 700, 360), R::EndDrag);
    EXPECT_EQ(ms::ReleaseEffect(true, true, 956, 300, 400, 100, 360), R::EndDrag);
    // Press over the list, release on the thumb at the end of the track.
    EXPECT_EQ(ms::ReleaseEffect(false, true, 900, 480, 956 + 23, 567 - 23, 567), R::Page);
    EXPECT_EQ(ms::ReleaseEffect(false, true, 500, 300, 500, 420, 567), R::Nothing)
        << "released over the list, far from the thumb";
    EXPECT_EQ(ms::ReleaseEffect(false, true, 956, 400, 956, 567, 567), R::Nothing)
        << "pressed in the scroll column";
    // The press went to a scroll button that hid itself; the last press point is stale.
    EXPECT_EQ(ms::ReleaseEffect(false, false, 500, 300, 956, 560, 567), R::Nothing);
}

}  // namespace
