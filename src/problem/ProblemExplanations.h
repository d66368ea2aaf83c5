#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What the teacher says about the problems of a section: the hint, why a right answer is
// right and why each known wrong try fails. Read from the course's side file beside the
// problem file; the problem file and its records do not depend on it. Texts are Shift_JIS,
// like the lesson texts, so that the balloon wraps and types them with the lesson's code.
namespace explanations {

// Limits of the side file; anything beyond them fails the decoding of its block.
inline constexpr int kMaxBlocks = 100;
inline constexpr int kMaxProblems = 200;
inline constexpr int kMaxRight = 10;
inline constexpr int kMaxWrong = 32;
inline constexpr int kMaxMoves = 30;
inline constexpr int kMaxTextBytes = 400;
inline constexpr int kMaxCoordinate = 18;
// Files larger than this are not read (a full course is far smaller).
inline constexpr size_t kMaxFileSize = 4u << 20;

// A move of a line in the problem's board coordinates, as the records' answer entries.
struct LineMove {
    uint8_t x = 0;
    uint8_t y = 0;
};

// A wrong try named by the source: the moves from the start (the learner's first, then
// alternating with the replies) and its comment. For choice problems (o/x, number, texts)
// the moves are empty and the comment is about the wrong choice (texts: one entry per wrong
// text in the order of the source's choices, or one for both).
struct WrongTry {
    std::vector<LineMove> moves;
    std::string comment;
};

struct ProblemExplanation {
    // Shown on request; empty when the problem has none (the hint button is greyed).
    std::string hint;
    // Comment of each correct line in source order; choice problems have one.
    std::vector<std::string> right;
    std::vector<WrongTry> wrong;
};

// "<dir><course + 1>-comment.dat".
std::string PathFor(int course, const std::string& dir);

// Decodes the entries of (chapterNo, sectionNo), both 1-based, from a whole side file: one
// entry per problem of the section, in order. Empty when the block is missing or anything
// in the file breaks its layout (the screen then behaves as without explanations).
std::vector<ProblemExplanation> Decode(std::span<const uint8_t> file, int chapterNo, int sectionNo);

// Reads and decodes the side file of `course` in `dir`; empty when it is missing or broken.
std::vector<ProblemExplanation> Load(int course, int chapterNo, int sectionNo,
                                     const std::string& dir);

}  // namespace explanations
