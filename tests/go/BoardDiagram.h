#pragma once

#include <string>
#include <vector>

#include "go/GoBoard.h"

// Board positions written as text, one line per row: '.' empty, 'X' black (kind 0), 'O' white
// (kind 1), 'a'/'b'/'c' letters (kinds 4..6), '+' a mark (kind 11). Spaces are ignored.
namespace diagram {

// The entries of a diagram, row by row.
std::vector<StoneEntry> Parse(const std::string& text);
// The top-left `columns` x `rows` of the cells: '.', 'X', 'O', rows ended by '\n'.
std::string Print(const GoBoard& board, int columns, int rows);

// A board with its entry list, moved the way play drives it.
struct Position {
    GoBoard board;
    std::vector<StoneEntry> entries;

    explicit Position(const std::string& text, int size = 19);
    // Appends a move, paints, resolves captures around it and erases what vanished.
    void Play(int x, int y, int kind);
    // Empty when the cells and the entries agree.
    std::string Mismatch() const;
};

}  // namespace diagram
