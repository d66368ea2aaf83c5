// Compiles arbitrary text as a lesson source. A source either fails with diagnostics or
// compiles to files from which the program's loader reads every page back as compiled.
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "lesson/LessonFileNames.h"
#include "lesson/LessonPage.h"
#include "lessonc/LessonCompiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    lessonc::CompileOptions options;
    options.fileName = "fuzz.lesson";
    options.mirrorFullBoard = (data[0] & 1) != 0;
    const std::string_view source(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<lessonc::Diagnostic> errors;
    const lessonc::CompiledLesson lesson = lessonc::CompileLesson(source, options, errors);
    for (const lessonc::Diagnostic& e : errors) {
        if (e.Format().empty()) __builtin_trap();  // every error says something
    }
    if (!errors.empty()) return 0;

    const lesson::LessonId id =
        options.mirrorFullBoard ? lesson::LessonId{1, 3, 0} : lesson::LessonId{};
    const std::string& dir = fuzz::ScratchFolder();
    fuzz::WriteFile(lesson::LessonDataFileName(dir, id), lesson.data.data(), lesson.data.size());
    fuzz::WriteFile(lesson::LessonTextFileName(dir, id), lesson.text.data(), lesson.text.size());
    for (size_t i = 0; i < lesson.pages.size(); ++i) {
        lesson::LessonPage page;
        page.currentPage = int32_t(i);
        if (lesson::LoadLessonPage(page, id, dir) != lesson::PageLoadResult::Loaded)
            __builtin_trap();
        if (page.pageCount != int32_t(lesson.pages.size())) __builtin_trap();
        if (page.header.stepCount != lesson.pages[i].header.stepCount) __builtin_trap();
    }
    return 0;
}
