#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ProblemCompiler.h"
#include "SgfParser.h"

// The review sections bring earlier shapes back in new surroundings, never as copies: a
// position counts as the same when it only differs by turning or mirroring the board, swapping
// the colours or moving the stones without changing which edges they touch.
namespace sgf2problem {

// The setup stones of one problem as they open, and where the problem stands.
struct ProblemPosition {
    std::string file;
    int line = 0;
    int problem = 0;  // 1-based within its section
    int chapter = 0;  // 1-based, 0 when the section has no SC
    int section = 0;
    int size = 19;
    std::vector<std::pair<int, int>> black;  // (column, row), 0-based
    std::vector<std::pair<int, int>> white;
};

// The opening positions of a parsed section source.
std::vector<ProblemPosition> SectionPositions(const std::vector<sgf::Tree>& trees,
                                              const std::string& fileName);

// A key equal for two positions exactly when one is the other turned, mirrored, with colours
// swapped or moved without touching other edges.
std::string PositionKey(const ProblemPosition& position);

// The chapter whose sections review the whole course (course 0 only).
inline constexpr int kReviewChapter = 6;

// Every problem of a review section whose position repeats another problem of the course
// (earlier or in a review section) is an error.
void LintRepeatedPositions(const std::vector<ProblemPosition>& course, int courseIndex,
                           std::vector<Diagnostic>& errors);

}  // namespace sgf2problem
