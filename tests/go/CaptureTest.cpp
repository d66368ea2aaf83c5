#include <gtest/gtest.h>

#include "BoardDiagram.h"

using diagram::Position;

namespace {

// The top-left n x n corner of a position's cells.
std::string Corner(const Position& p, int n) {
    return diagram::Print(p.board, n);
}

}  // namespace

TEST(Capture, CornerStoneFallsWhicheverNeighbourIsPlayedLast) {
    for (int last = 0; last < 2; ++last) {
        Position p(
            "O X .\n"
            ". . .\n"
            ". . .\n");
        if (last == 0)
            p.Play(0, 1, 0);
        else {
            Position q(
                "O . .\n"
                "X . .\n");
            q.Play(1, 0, 0);
            EXPECT_EQ(Corner(q, 3), ".X.\nX..\n...\n");
            EXPECT_EQ(q.Mismatch(), "");
            continue;
        }
        EXPECT_EQ(Corner(p, 3), ".X.\nX..\n...\n");
        EXPECT_EQ(p.Mismatch(), "");
        EXPECT_TRUE(stone::IsErased(p.entries[0]));
    }
}

TEST(Capture, MoveTouchingOneGroupFromTwoSidesRemovesItOnce) {
    Position p(
        ". X X . .\n"
        "X O O X .\n"
        "X O . X .\n"
        ". X X . .\n");
    p.Play(2, 2, 0);
    EXPECT_EQ(Corner(p, 5),
              ".XX..\n"
              "X..X.\n"
              "X.XX.\n"
              ".XX..\n"
              ".....\n");
    EXPECT_EQ(p.Mismatch(), "");
}

TEST(Capture, CornerWindowGroupKeepsLibertiesBeyondItsOpenEdge) {
    // White at column 12 of a 13 x 13 window, shut in on the window's side only.
    Position p(
        ". . . . . . . . . . . X O\n"
        ". . . . . . . . . . . X O\n",
        13);
    p.Play(12, 2, 0);
    EXPECT_EQ(p.board.At(12, 0), stone::kWhite) << "column 13 is empty and counts";
    EXPECT_EQ(p.board.boardSize, 13) << "the shown size comes back after resolving";

    Position closed(
        ". . . . . . . . . . . X O X\n"
        ". . . . . . . . . . . X O X\n",
        13);
    closed.Play(12, 2, 0);
    EXPECT_EQ(closed.board.At(12, 0), stone::kEmpty);
    EXPECT_EQ(closed.board.At(12, 1), stone::kEmpty);
    EXPECT_EQ(closed.Mismatch(), "");
}

TEST(Capture, MoveWithoutLibertiesThatCapturesNothingStays) {
    Position p(
        ". O .\n"
        "O . O\n"
        ". O .\n");
    p.Play(1, 1, 0);
    EXPECT_EQ(Corner(p, 3), ".O.\nOXO\n.O.\n");
    EXPECT_EQ(p.Mismatch(), "");
}

TEST(Capture, RecaptureIsAllowedWithoutKoRule) {
    Position p(
        ". X O .\n"
        "X O . O\n"
        ". X O .\n");
    p.Play(2, 1, 0);  // black takes the white stone at (1, 1)
    EXPECT_EQ(p.board.At(1, 1), stone::kEmpty);
    p.Play(1, 1, 1);  // white takes back at once
    EXPECT_EQ(p.board.At(2, 1), stone::kEmpty);
    EXPECT_EQ(p.board.At(1, 1), stone::kWhite);
    EXPECT_EQ(p.Mismatch(), "");
}

TEST(Capture, WindingGroupNeedingSeveralSweepsIsRemovedWhole) {
    // The group runs up and to the left from the captured neighbour, so a single row-order
    // sweep cannot reach all of it.
    Position p(
        "X X X X X X .\n"
        "X O O O O O X\n"
        "X O X X X X .\n"
        "X O O O O X .\n"
        ". X X X . X .\n");
    p.Play(5, 0, 0);  // nothing: (6, 1) is black, the group still breathes at (4, 4)
    EXPECT_EQ(p.board.At(1, 1), stone::kWhite);
    p.Play(4, 4, 0);
    EXPECT_EQ(Corner(p, 7),
              "XXXXXX.\n"
              "X.....X\n"
              "X.XXXX.\n"
              "X....X.\n"
              ".XXXXX.\n"
              ".......\n"
              ".......\n");
    EXPECT_EQ(p.Mismatch(), "");
}

TEST(Capture, OnlyTheGroupsAroundTheNewStoneAreTested) {
    // A white stone without liberties elsewhere on the board is not this move's business.
    Position p(
        "O X . . .\n"
        "X . . . .\n"
        ". . . O .\n"
        ". . O . .\n");
    p.Play(3, 3, 0);
    EXPECT_EQ(p.board.At(0, 0), stone::kWhite);
}

TEST(Erasure, CapturedEntriesAndMarksOnEmptyPointsAreErased) {
    Position p(
        "O X . a\n"
        ". . + .\n");
    const StoneEntry alreadyErased = stone::Erased();
    p.entries.push_back(alreadyErased);
    p.Play(0, 1, 0);
    ASSERT_EQ(p.entries.size(), 6u);
    EXPECT_EQ(p.entries[0], stone::Erased()) << "the captured stone";
    EXPECT_EQ(p.entries[2], stone::Erased()) << "the letter on an empty point";
    EXPECT_EQ(p.entries[3], stone::Erased()) << "the mark on an empty point";
    EXPECT_EQ(p.entries[4], alreadyErased);
    EXPECT_EQ(p.entries[1], (StoneEntry{0, 1, 0, 0}));
    EXPECT_EQ(p.entries[5], (StoneEntry{0, 0, 1, 0}));
    EXPECT_EQ(p.Mismatch(), "");
}

TEST(Erasure, EntriesOffTheBoardAreNeverUsedAsIndices) {
    GoBoard board;
    board.boardSize = 19;
    StoneEntry list[] = {{0, 200, 3, 0}, {1, 3, 19, 0}, {0, 18, 18, 0}};
    ASSERT_TRUE(PaintEntries(board, list, 3));
    int stones = 0;
    for (uint8_t c : board.cells) stones += c != 0;
    EXPECT_EQ(stones, 1);
    ASSERT_TRUE(EraseVanished(board, list, 3));
    EXPECT_EQ(list[0].x, 200) << "left alone, not looked up";
    CaptureAround(board, 19, 0, 0);
    CaptureAround(board, -1, 0, 0);
    RemoveIfDead(board, 0, 25);
    EXPECT_EQ(board.At(18, 18), stone::kBlack);
}

TEST(Erasure, NullOrEmptyListsAreRefused) {
    GoBoard board;
    StoneEntry e{};
    EXPECT_FALSE(PaintEntries(board, nullptr, 3));
    EXPECT_FALSE(PaintEntries(board, &e, 0));
    EXPECT_FALSE(EraseVanished(board, nullptr, 1));
    EXPECT_FALSE(EraseVanished(board, &e, -1));
}

TEST(Capture, MarkPlacedAsAMoveNeitherPaintsNorCaptures) {
    Position p(
        "O X\n"
        ". .\n");
    const std::string before = Corner(p, 2);
    p.Play(0, 1, 8);
    EXPECT_EQ(Corner(p, 2), before);
    EXPECT_EQ(p.board.At(0, 0), stone::kWhite);
}

TEST(Capture, KindCellCodes) {
    EXPECT_EQ(stone::CellCodeOf(0), stone::kBlack);
    EXPECT_EQ(stone::CellCodeOf(1), stone::kWhite);
    EXPECT_EQ(stone::CellCodeOf(2), stone::kBlack);
    EXPECT_EQ(stone::CellCodeOf(3), stone::kWhite);
    EXPECT_EQ(stone::OpponentCodeOf(0), stone::kWhite);
    EXPECT_EQ(stone::OpponentCodeOf(3), stone::kBlack);
    // A marked white stone (kind 3) captures black.
    Position p(
        "X O\n"
        ". .\n");
    p.Play(0, 1, 3);
    EXPECT_EQ(p.board.At(0, 0), stone::kEmpty);
}
