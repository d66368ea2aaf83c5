#include "lesson/LessonBoardOps.h"

#include "lesson/LessonExceptions.h"

namespace lesson {
namespace {

bool MirrorsOnFullBoard(const LessonId& id) {
    return HasQuirk(id, 0, LessonQuirk::MirrorRowsOnFullBoard);
}

}  // namespace

PointCode MergeCode(PointCode value, uint16_t code) {
    if (code & kArrowMask) return PointCode((value & 0xFF0F) | (code & kArrowMask));
    if (code & kStoneMask) return PointCode((value & 0xFFF0) | (code & kStoneMask));
    if (code & kNumberMask) return PointCode((value & 0xC0FF) | (code & kNumberMask));
    if (code & kBlinkMask) return PointCode((value & 0x3FFF) | (code & kBlinkMask));
    return 0;
}

bool EntryPoint(const StepEntry& entry, int boardSize, bool mirrorFullBoard, int& x, int& y) {
    uint8_t row = entry.y;
    if (boardSize == 13) {
        row = uint8_t(12 - row);
    } else if (mirrorFullBoard) {
        row = uint8_t(18 - row);
    }
    // The stored board is 19 x 19 whatever size a page claims.
    const int edge = UsableEdge(boardSize);
    if (entry.x >= edge || row >= edge) return false;
    x = entry.x;
    y = row;
    return true;
}

void MergeEntries(LessonBoard& board, std::span<const StepEntry> entries, int boardSize,
                  bool mirrorFullBoard) {
    for (const StepEntry& entry : entries) {
        int x = 0, y = 0;
        if (EntryPoint(entry, boardSize, mirrorFullBoard, x, y)) {
            board.At(x, y) = MergeCode(board.At(x, y), entry.code);
        }
    }
}

int CountNewStones(const LessonBoard& before, const LessonBoard& after, int boardSize) {
    const int edge = UsableEdge(boardSize);
    int count = 0;
    for (int y = 0; y < edge; ++y) {
        for (int x = 0; x < edge; ++x) {
            const int now = StoneLayer(after.At(x, y));
            if (now != StoneLayer(before.At(x, y)) && IsStoneValue(now) && ++count > 1) {
                return count;
            }
        }
    }
    return count;
}

bool RebuildBoard(const LessonPage& page, const LessonId& id, int step, LessonBoard& board) {
    const int size = page.header.boardSize;
    const bool mirror = MirrorsOnFullBoard(id);
    board.Clear();
    // Steps past the stored ones are empty: replaying them changes nothing.
    if (step > kMaxSteps) {
        for (int i = 0; i < kMaxSteps; ++i) MergeEntries(board, page.StepEntries(i), size, mirror);
        return false;
    }
    LessonBoard beforeLast;
    for (int i = 0; i <= step; ++i) {
        MergeEntries(board, page.StepEntries(i), size, mirror);
        if (i == step - 1) beforeLast = board;
    }
    if (step < 1) return false;
    return CountNewStones(beforeLast, board, size) == 1;
}

bool IsStoneMovePage(const LessonPage& page, const LessonId& id) {
    if (page.header.showFinal == 1) return false;
    const int size = page.header.boardSize;
    const bool mirror = MirrorsOnFullBoard(id);
    LessonBoard previous;
    for (int i = 0; i <= page.header.stepCount; ++i) {
        LessonBoard scratch;
        MergeEntries(scratch, page.StepEntries(i), size, mirror);
        if (CountNewStones(previous, scratch, size) == 1) return true;
        previous = scratch;
    }
    return false;
}

}  // namespace lesson
