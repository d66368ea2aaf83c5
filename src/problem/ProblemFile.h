#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "problem/ProblemBoard.h"
#include "problem/ProblemRecord.h"

struct ProgressState;

// The course problem files: an 8-byte header, then up to 100 blocks, one per (chapter,
// section), each holding that section's problems. Everything read is checked against the
// limits of ProblemRecord before it is used; a block that breaks one fails the load.
namespace problemfile {

inline constexpr const char* kDefaultDir = "DATA/DATA/PROBLEM/";
// Blocks searched before giving up.
inline constexpr int kMaxBlocks = 100;
// Limits of one problem entry.
inline constexpr int32_t kMaxSetupWords = 201;
inline constexpr int32_t kMaxBranches = 10;
inline constexpr int32_t kMaxAnswerWords = 200;
inline constexpr int kMaxChoiceText = 39;
// Files larger than this are not read (a full course is far smaller).
inline constexpr size_t kMaxFileSize = 64u << 20;

// "<dir><course + 1>-problem.dat".
std::string PathFor(int course, const std::string& dir = kDefaultDir);
// Reads a whole file of at most maxSize bytes; false when it is missing, larger or unreadable.
bool ReadWholeFile(const std::string& path, size_t maxSize, std::vector<uint8_t>& out);

// Problem type 1..8 of a problem code.
ProblemType TypeOfCode(int problemCode);
// Entry kind of a file kind code and its aux; 255 for codes that have none.
uint8_t KindOfFileCode(int fileCode, int aux);
// Turn byte of a problem code: 0 for codes 0 and 6, 1 for 10, 255 otherwise.
uint8_t TurnOfCode(int problemCode);
// The order in which the three choice texts are shown for problem index i: slot k holds
// text ChoiceOrder(i)[k].
const uint8_t* ChoiceOrder(int problemIndex);

// Decodes the block (chapterNo, sectionNo), both 1-based, of a whole problem file into
// `records`, which must hold the section's problem count (the upper limit for the block's
// problem count). False when the block is missing or breaks a limit; the records are then in
// an unspecified but valid state.
bool DecodeFile(std::span<const uint8_t> file, int chapterNo, int sectionNo,
                std::span<ProblemRecord> records);

}  // namespace problemfile

// Loads the problems of (chapter, section), 0-based, of the progress state's course into the
// board, from the problem file in `dir`. On failure the board is left zeroed without records.
bool LoadProblemSet(ProblemBoard& board, const ProgressState& progress, int chapter, int section,
                    const std::string& dir = problemfile::kDefaultDir);
// The same for TheProgress() and the install's problem directory.
bool LoadProblemSet(ProblemBoard& board, int chapter, int section);
