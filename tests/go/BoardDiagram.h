#pragma once

#include <string>
#include <vector>

#include "go/GoBoard.h"

// Board positions written as text, one line per row: '.' empty, 'X' black (kind 0), 'O' white
// (kind 1), 'a'/'b'/'c' letters (kinds 4..6), '+' a mark (kind 11). Spaces are ignored.
namespace diagram {

// The entries of a diagram, row by row.
std::vector<StoneEntry> Parse(const std::string& text);
// The first `size` rows and columns of the cells: '.', 'X', 'O'.
std::string Print(const GoBoard& board, int size);

// A board with its entry list, moved the way play drives it.
struct Position {
    GoBoard board;
    std::vector<StoneEntry> entries;

    explicit Position(const std::string& text, int size = 19);
    // Appends a move, paints, resolves captures around it and erases what vanished.
    void Play(int x, int y, int kind);
    std::string Print() const { return diagram::Print(board, board.boardSize); }
    // Empty when the cells and the entries agree.
    std::string Mismatch() const;
};

}  // namespace diagram
