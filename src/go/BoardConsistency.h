#pragma once

#include <string>

#include "go/GoBoard.h"

// Checks the invariant that holds after every resolved move: the cells are exactly what the
// live entries paint onto an empty board, and no live entry stands on an empty point. Returns
// an empty string when it holds, else a description of the first mismatch.
std::string FindBoardMismatch(const GoBoard& board, const StoneEntry* list, int count);
