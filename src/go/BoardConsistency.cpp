#include "go/BoardConsistency.h"

std::string FindBoardMismatch(const GoBoard& board, const StoneEntry* list, int count) {
    GoBoard painted;
    if (list != nullptr && count > 0) PaintEntries(painted, list, count);
    for (int y = 0; y < stone::kBoardEdge; ++y) {
        for (int x = 0; x < stone::kBoardEdge; ++x) {
            if (painted.At(x, y) != board.At(x, y)) {
                return "cell (" + std::to_string(x) + ", " + std::to_string(y) + ") holds " +
                       std::to_string(board.At(x, y)) + " but the entries paint " +
                       std::to_string(painted.At(x, y));
            }
        }
    }
    for (int i = 0; list != nullptr && i < count; ++i) {
        const StoneEntry& e = list[i];
        if (stone::IsErased(e) || !stone::OnBoard(e.x, e.y)) continue;
        if (board.At(e.x, e.y) == stone::kEmpty) {
            return "entry " + std::to_string(i) + " (kind " + std::to_string(e.kind) +
                   ") stands on the empty point (" + std::to_string(e.x) + ", " +
                   std::to_string(e.y) + ")";
        }
    }
    return {};
}
