// Any SGF text either fails with errors or compiles to a file the program's loader accepts.
#include <cstdint>
#include <string_view>
#include <vector>

#include "problem/ProblemFile.h"
#include "progress/Curriculum.h"
#include "sgf2problem/ProblemCompiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<sgf2problem::Diagnostic> errors;
    std::vector<sgf2problem::SectionBlock> sections;
    sections.push_back(sgf2problem::CompileSectionText(text, "fuzz.sgf", 0, errors));
    if (!errors.empty()) return 0;
    const int chapter = sections[0].chapter, section = sections[0].section;
    const std::vector<uint8_t> bytes = sgf2problem::CourseFileBytes(0, sections, errors);
    if (!errors.empty()) return 0;
    std::vector<ProblemRecord> records(
        size_t(curriculum::ProblemCountAt(0, chapter - 1, section - 1)));
    if (!problemfile::DecodeFile(bytes, chapter, section, records)) __builtin_trap();
    return 0;
}
