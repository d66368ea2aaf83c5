#include "go/GoBoard.h"

#include <cstring>

using stone::kBoardEdge;
using stone::OnBoard;

void GoBoard::ClearCells() {
    std::memset(cells, 0, sizeof cells);
}

bool PaintEntries(GoBoard& board, const StoneEntry* list, int count) {
    if (list == nullptr || count < 1) return false;
    for (int i = 0; i < count; ++i) {
        const StoneEntry& e = list[i];
        if (!stone::IsStoneKind(e.kind)) continue;
        // Coordinates of answer words are not range-checked by the loader; a stray one must
        // not write outside the cells.
        if (!OnBoard(e.x, e.y)) continue;
        board.At(e.x, e.y) = stone::CellCodeOf(e.kind);
    }
    return true;
}

void CaptureAround(GoBoard& board, int x, int y, int kind) {
    if (!stone::IsStoneKind(kind) || !OnBoard(x, y)) return;
    const uint8_t opponent = stone::OpponentCodeOf(kind);
    // A corner problem is a window on the whole board: points past its open edges are real
    // liberties, so resolve on all 19 x 19 points.
    const int32_t savedSize = board.boardSize;
    board.boardSize = kBoardEdge;
    const int neighbours[4][2] = {{x, y - 1}, {x - 1, y}, {x, y + 1}, {x + 1, y}};
    for (const auto& n : neighbours) {
        if (!OnBoard(n[0], n[1])) continue;
        if (board.At(n[0], n[1]) != opponent) continue;
        RemoveIfDead(board, n[0], n[1]);
    }
    board.boardSize = savedSize;
}

namespace {

// Whether a neighbour (left, above, right, below) of (x, y) within n x n is marked.
bool HasMarkedNeighbour(const uint8_t (&mark)[kBoardEdge][kBoardEdge], int x, int y, int n) {
    return (x > 0 && mark[y][x - 1]) || (y > 0 && mark[y - 1][x]) ||
           (x + 1 < n && mark[y][x + 1]) || (y + 1 < n && mark[y + 1][x]);
}

}  // namespace

void RemoveIfDead(GoBoard& board, int x, int y) {
    const int n =
        (board.boardSize >= 1 && board.boardSize <= kBoardEdge) ? board.boardSize : kBoardEdge;
    if (x < 0 || y < 0 || x >= n || y >= n) return;
    const uint8_t group = board.At(x, y);
    if (group == stone::kEmpty) return;

    uint8_t mark[kBoardEdge][kBoardEdge] = {};
    mark[y][x] = 1;
    // Full sweeps in row order until one marks nothing; a cell marked in a sweep already
    // counts for the cells after it.
    for (;;) {
        int added = 0;
        for (int row = 0; row < n; ++row) {
            for (int col = 0; col < n; ++col) {
                if (mark[row][col] || board.At(col, row) != group) continue;
                if (!HasMarkedNeighbour(mark, col, row, n)) continue;
                mark[row][col] = 1;
                ++added;
            }
        }
        if (added == 0) break;
    }

    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            if (board.At(col, row) == stone::kEmpty && HasMarkedNeighbour(mark, col, row, n)) {
                return;  // a liberty: the group lives
            }
        }
    }
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            if (mark[row][col]) board.At(col, row) = stone::kEmpty;
        }
    }
}

bool EraseVanished(const GoBoard& board, StoneEntry* list, int count) {
    if (list == nullptr || count < 1) return false;
    for (int i = 0; i < count; ++i) {
        StoneEntry& e = list[i];
        if (stone::IsErased(e)) continue;
        if (!OnBoard(e.x, e.y)) continue;
        if (board.At(e.x, e.y) == stone::kEmpty) e = stone::Erased();
    }
    return true;
}
