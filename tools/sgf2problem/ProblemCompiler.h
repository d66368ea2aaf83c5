#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "SgfParser.h"
#include "problem/ProblemExplanations.h"

// Compiles problem collections written in SGF (one file per section) into the course problem
// file that the program's problem loader reads. The dialect is described in
// docs/formats/problem-sgf.md.
namespace sgf2problem {

// One source error: "file:line: problem N: message [rule]" (the problem part only when
// N > 0, the rule only for lint findings that can be made warnings).
struct Diagnostic {
    Diagnostic() = default;
    Diagnostic(std::string file_, int line_, int problem_, std::string message_,
               std::string rule_ = {})
        : file(std::move(file_)),
          line(line_),
          problem(problem_),
          message(std::move(message_)),
          rule(std::move(rule_)) {}

    std::string file;
    int line = 0;
    int problem = 0;
    std::string message;
    std::string rule;

    // The error as printed by the tool.
    std::string Format() const;
};

// One problem entry as it is laid out in the file.
struct ProblemEntry {
    uint8_t caption = 0;
    uint8_t code = 0;
    uint8_t question = 0;
    std::vector<uint32_t> setup;
    std::vector<uint32_t> branches;
    // The 4 x A answer bytes (answer words, or the choice-text string of code 7).
    std::vector<uint8_t> answerBytes;
};

// The problems of one section, with its 1-based chapter and section numbers.
struct SectionBlock {
    int chapter = 0;
    int section = 0;
    std::vector<ProblemEntry> problems;
    // What the teacher says about each problem, parallel to `problems`; texts in Shift_JIS.
    std::vector<explanations::ProblemExplanation> explanations;
    // Where the section came from, for errors found across files.
    std::string file;
    int line = 0;
};

// Limits of the file format and of problem play that the compiler enforces.
inline constexpr int kMaxSetupWords = 201;
inline constexpr int kMaxBranches = 10;
inline constexpr int kMaxAnswerWords = 200;
inline constexpr int kMaxRecordEntries = 200;
inline constexpr int kMaxChoiceBytes = 39;
inline constexpr int kMaxMovesPerLine = 30;
inline constexpr int kMaxAnswerPoints = 16;
inline constexpr int kMaxQuestion = 56;
inline constexpr int kMaxCaption = 4;
inline constexpr int kMaxBlocks = 100;

// Lint rule of the explanations: a hint in every root, a comment on every correct line and
// every wrong try, CR and CW on every choice problem.
inline constexpr const char* kExplainRule = "explain";

// Setup or answer word from its fields.
uint32_t MakeWord(int fileCode, int aux, int x, int y);
// Branch word for answers lo .. hi - 1.
uint32_t MakeBranch(int lo, int hi);

// Compiles a parsed collection of `course` (0-based). Errors are appended to `errors`; the
// block is only meaningful when none were added.
SectionBlock CompileSection(const std::vector<sgf::Tree>& trees, const std::string& fileName,
                            int course, std::vector<Diagnostic>& errors);
// Parses and compiles SGF text; a syntax error becomes a diagnostic.
SectionBlock CompileSectionText(std::string_view text, const std::string& fileName, int course,
                                std::vector<Diagnostic>& errors);

// The kinds (KD names) that question `question` of the program's table can be used with: what
// the text tells the learner to do must be what the kind lets them do. Empty outside 0..56.
std::vector<std::string> KindsForQuestion(int question);

// The values of a point-list property (AB, AW, ...) with point ranges ("aa:cc") expanded;
// other values are kept as they are.
std::vector<std::string> ExpandedPoints(const sgf::Property& property);

// Lints of a whole section source that the compiler itself does not need but the course does:
// each question used only with a kind that fits it, exactly the section's curriculum count of
// problems (a short set can never be all solved), no shown problems in course 1 (they are never
// judged) and marks (TR) only on setup stones (a mark on an empty point is not drawn). Findings
// are appended to `errors`. Missing explanations are findings of rule kExplainRule.
void LintSection(const std::vector<sgf::Tree>& trees, const std::string& fileName, int course,
                 std::vector<Diagnostic>& errors);
// Parses and lints SGF text; a syntax error is left to the compiler.
void LintSectionText(std::string_view text, const std::string& fileName, int course,
                     std::vector<Diagnostic>& errors);

// The bytes of one problem entry.
std::vector<uint8_t> ProblemBytes(const ProblemEntry& problem);
// A whole course file: the 8-byte header and the blocks ordered by chapter and section.
// Errors across sections (the same section twice, too many blocks) are appended to `errors`.
std::vector<uint8_t> CourseFileBytes(int course, std::vector<SectionBlock> sections,
                                     std::vector<Diagnostic>& errors);
// The course's explanation file: the 8-byte header and a block per section, ordered like the
// problem file's. Sections are checked by CourseFileBytes.
std::vector<uint8_t> CommentFileBytes(int course, std::vector<SectionBlock> sections);

}  // namespace sgf2problem
