#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "lesson/LessonTypes.h"

// Compiles a lesson written in the text source format of docs/formats/lesson-source.md into
// the lesson data file and the lesson text file that the program's lesson loader reads.
namespace lessonc {

// One source error, printed as "file:line: message".
struct Diagnostic {
    std::string file;
    int line = 0;
    std::string message;
    // The lint rule that found it (docs/tools.md); empty for a compile error.
    std::string rule;

    // The error as printed by the tool.
    std::string Format() const;
};

// Where a page came from, for the lint (docs/tools.md) to name the lines it blames.
struct PageSource {
    // The page's "page" line.
    int line = 0;
    // The "step" line of each step, and the source line of each entry of each step.
    std::vector<int> stepLines;
    std::vector<std::vector<int>> entryLines;
    // The texts as written (UTF-8, "::" kept); each body line with its line number.
    std::string caption;
    std::vector<std::pair<int, std::string>> bodyLines;
    // Lint rules switched off for this page by "# lint-allow RULE: why" comments.
    std::set<std::string> allowed;
};

// One page as compiled: header (stepCount filled in), steps, and its two text lines already
// converted to code page 932 (with "::" kept, as the loader expects).
struct CompiledPage {
    lesson::LessonPageHeader header;
    std::vector<std::vector<lesson::StepEntry>> steps;
    std::string caption;
    std::string body;
    PageSource source;
};

// Both output files of a lesson.
struct CompiledLesson {
    std::vector<CompiledPage> pages;
    // The lesson data file: page count, then each page record.
    std::vector<uint8_t> data;
    // The lesson text file: caption and body of each page, every line ended by CR LF.
    std::string text;
};

// What the compiler needs to know besides the source text.
struct CompileOptions {
    // Name used in diagnostics.
    std::string fileName = "lesson";
    // Stores full-board rows mirrored (the one lesson whose loader flips them: 2-4-1).
    bool mirrorFullBoard = false;
};

// Compiles `source` (UTF-8). Every error found is appended to `errors`; the result is only
// meaningful when no error was added.
CompiledLesson CompileLesson(std::string_view source, const CompileOptions& options,
                             std::vector<Diagnostic>& errors);

// The data file bytes for the given pages (used by CompileLesson, exposed for tests).
std::vector<uint8_t> LessonDataBytes(const std::vector<CompiledPage>& pages);

// Pictures the lesson screen draws for `board` of `boardSize` with nothing blinked away: the
// sprite list is capped at lesson::kMaxSprites, so a page must stay within it.
int CountPictures(const lesson::LessonBoard& board, int boardSize);

}  // namespace lessonc
