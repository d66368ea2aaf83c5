#include <gtest/gtest.h>

#include "screens/MenuScroll.h"

namespace {

namespace ms = menuscroll;

TEST(MenuScroll, ThumbRunsTheTrackMapsBackAndSnapsToTheNearestRow) {
    EXPECT_EQ(ms::ThumbY(0), 230);
    EXPECT_EQ(ms::ThumbY(1), 242);  // 337 / 26 truncated
    EXPECT_EQ(ms::ThumbY(26), 567);
    for (int top = 0; top <= ms::kMaxTop; ++top) EXPECT_EQ(ms::TopForThumbY(ms::ThumbY(top)), top);
    // A dragged thumb snaps to the nearest row within the list.
    const double step = 337.0 / 26;
    // Just under and over half a step past row 3.
    EXPECT_EQ(ms::TopForThumbY(230.5 + 3 * step + step / 2 - 0.01), 3);
    EXPECT_EQ(ms::TopForThumbY(230.5 + 3 * step + step / 2 + 0.01), 4);
    EXPECT_EQ(ms::TopForThumbY(100), 0);
    EXPECT_EQ(ms::TopForThumbY(900), 26);
    // Saved positions beyond the list open on the last full page.
    EXPECT_EQ(ms::ClampTop(30), 26);
    EXPECT_EQ(ms::ClampTop(-4), 0);
    EXPECT_EQ(ms::ClampTop(12), 12);
}

TEST(MenuScroll, PressesGrabInsideTheThumbReleasesCountItsBoundsTheColumnIsOpen) {
    EXPECT_TRUE(ms::PressGrabsThumb(956 + 22.9, 300 - 22.9, 300));
    EXPECT_FALSE(ms::PressGrabsThumb(956, 323, 300));
    EXPECT_FALSE(ms::PressGrabsThumb(933, 300, 300));
    EXPECT_TRUE(ms::ReleaseOnThumb(956 + 23.5, 300 - 23.5, 300));
    EXPECT_FALSE(ms::ReleaseOnThumb(956 + 23.6, 300, 300));
    EXPECT_FALSE(ms::ReleaseOnThumb(956, 323.6, 300));
    // The scroll column's edges are open.
    EXPECT_TRUE(ms::InScrollColumn(956, 400));
    EXPECT_FALSE(ms::InScrollColumn(932.5, 400));
    EXPECT_FALSE(ms::InScrollColumn(956, 590.5));
    EXPECT_FALSE(ms::InScrollColumn(500, 400));
}

TEST(MenuScroll, FlicksPageByFiveRowsAndStopAtTheEnds) {
    EXPECT_EQ(ms::PageTop(10, 50), 5);
    EXPECT_EQ(ms::PageTop(10, -50), 15);
    EXPECT_EQ(ms::PageTop(10, 49), 10);
    EXPECT_EQ(ms::PageTop(10, -49), 10);
    EXPECT_EQ(ms::PageTop(3, 80), 0);
    EXPECT_EQ(ms::PageTop(24, -80), 26);
}

TEST(MenuScroll, AnyReleaseEndsADragAndOnlyAReleaseOnTheThumbPages) {
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
