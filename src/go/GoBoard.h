#pragma once

#include <cstdint>

#include "go/StoneEntry.h"

// The 19 x 19 cells on which moves are resolved. The cells are repainted from an entry list
// whenever a move is resolved.
struct GoBoard {
    // Edge length in use: 19 full board, 13 corner window (6 and 9 known to the screen).
    int32_t boardSize = 0;
    // Row-major cells, 0 empty, 1 black, 2 white; point (x, y) at y * 19 + x.
    uint8_t cells[stone::kBoardEdge * stone::kBoardEdge] = {};

    // Cell at (x, y); the caller guarantees the point is on the board.
    uint8_t& At(int x, int y) { return cells[y * stone::kBoardEdge + x]; }
    uint8_t At(int x, int y) const { return cells[y * stone::kBoardEdge + x]; }
    // Empties every cell.
    void ClearCells();
};

// Writes each stone entry's cell code; entries that are erased, not stones or off the board are
// skipped. Cells are never cleared here. False when the list is null or count < 1.
bool PaintEntries(GoBoard& board, const StoneEntry* list, int count);

// Removes every opponent group next to a stone of `kind` just placed at (x, y) that has no
// liberty, looking above, left, below, right in that order. Resolved on the whole 19 x 19 board
// whatever the size shown. Nothing happens for kinds >= 4 or points off the board.
void CaptureAround(GoBoard& board, int x, int y, int kind);

// Empties the group containing (x, y) when it has no liberty within the board's current size
// (the whole board when that size is not 1..19). Nothing happens on an empty or off-board point.
void RemoveIfDead(GoBoard& board, int x, int y);

// Erases (all four bytes 255) every entry, of any kind, that stands on an empty cell; erased
// entries and entries off the board are left as they are. False when the list is null or
// count < 1.
bool EraseVanished(const GoBoard& board, StoneEntry* list, int count);
