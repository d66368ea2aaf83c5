#pragma once

#include <cstdint>
#include <vector>

#include "go/GoBoard.h"
#include "problem/ProblemRecord.h"

// The problem side's board: the loaded section's records and the cells they are played on.
struct ProblemBoard : GoBoard {
    // Chapter index (0-based) whose problems are loaded.
    uint32_t chapter = 0;
    // Section index (0-based) within the chapter.
    uint32_t section = 0;
    // The section's problems; replaced as a whole by each load.
    std::vector<ProblemRecord> records;
};
