#pragma once

#include <span>

#include "lesson/LessonPage.h"
#include "lesson/LessonTypes.h"

// Replaying step entries onto the lesson board. Lessons have no capture rule: stones come
// and go only through the step data.
namespace lesson {

// The value of a point after merging `code` into it: only the first field present in the
// code, in the order arrow, stone, number, blink, changes; a zero code clears the point.
PointCode MergeCode(PointCode value, uint16_t code);

// Maps an entry to the board point it changes: rows mirror on 13 x 13 boards (y = 12 - y)
// and, when `mirrorFullBoard`, on the full board otherwise (y = 18 - y), both computed on
// bytes. False when the point lies outside the board of `boardSize` (or beyond 19 x 19).
bool EntryPoint(const StepEntry& entry, int boardSize, bool mirrorFullBoard, int& x, int& y);

// Merges entries in order.
void MergeEntries(LessonBoard& board, std::span<const StepEntry> entries, int boardSize,
                  bool mirrorFullBoard);

// Points within the board whose stone layer changed to a stone value (1, 2, 7, 8); counting
// stops once it passes 1, so the result is 0, 1 or 2.
int CountNewStones(const LessonBoard& before, const LessonBoard& after, int boardSize);

// Replays steps 0..step of the page onto a cleared board. True when the last step added
// exactly one stone (always false for step < 1).
bool RebuildBoard(const LessonPage& page, const LessonId& id, int step, LessonBoard& board);

// Whether some step, compared as stored with the step before it as stored, places exactly
// one new stone. Always false on show-final pages.
bool IsStoneMovePage(const LessonPage& page, const LessonId& id);

}  // namespace lesson
