#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "problem/BoardCursor.h"

TEST(BoardCursor, StartsOnThePressedPointOnlyOnTheBoard) {
    BoardCursor c;
    EXPECT_FALSE(c.Begin(13, 673, 71) || c.Shown()) << "off the corner board";
    ASSERT_TRUE(c.Begin(13, 49 + 48 * 2, 71 + 48 * 3));
    EXPECT_EQ(std::tuple(c.Shown(), c.Column(), c.Row()), std::tuple(true, 2, 3));
}

TEST(BoardCursor, StepsOncePerThresholdFromTheLastAnchor) {
    BoardCursor c;
    ASSERT_TRUE(c.Begin(19, 57 + 32 * 5, 79 + 32 * 5));
    const int x0 = 57 + 32 * 5, y0 = 79 + 32 * 5;
    EXPECT_FALSE(c.Move(x0 + 23, y0)) << "23 pixels are not more than 23";
    EXPECT_TRUE(c.Move(x0 + 24, y0));
    EXPECT_EQ(c.Column(), 6);
    // The anchor moved with the step: another 23 pixels do nothing, 24 step again.
    EXPECT_FALSE(c.Move(x0 + 24 + 23, y0));
    EXPECT_TRUE(c.Move(x0 + 24 + 24, y0));
    EXPECT_EQ(c.Column(), 7);
    // Each axis on its own; a big jump is still one point.
    EXPECT_TRUE(c.Move(x0 + 48, y0 - 200));
    EXPECT_EQ(std::pair(c.Column(), c.Row()), std::pair(7, 4));
}

TEST(BoardCursor, CornerBoardNeedsMoreTravelAndClampsAtTheEdges) {
    BoardCursor c;
    ASSERT_TRUE(c.Begin(13, 50, 72));
    EXPECT_EQ(BoardCursor::Threshold(13), 32);
    EXPECT_FALSE(c.Move(50 - 32, 72));
    EXPECT_FALSE(c.Move(50 - 32 - 33, 72)) << "already at column 0";
    EXPECT_EQ(c.Column(), 0);
    int x = 50;
    for (int i = 0; i < 20; ++i) c.Move(x += 33, 72);
    EXPECT_EQ(c.Column(), 12);
    c.End();
    EXPECT_FALSE(c.Move(0, 0)) << "no drag after the release";
    ASSERT_TRUE(c.Shown());
    c.Clear();
    EXPECT_FALSE(c.Shown());
}
