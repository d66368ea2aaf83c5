// termlint: checks the words of lessons and problem collections against the glossary.
#include <iconv.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/FileIO.h"
#include "common/ToolError.h"
#include "common/ToolMain.h"
#include "problem/ProblemTexts.h"
#include "termlint/TermLint.h"

namespace {

const char kUsage[] =
    "usage: termlint --glossary FILE --concepts FILE SOURCE...\n"
    "\n"
    "Checks lesson sources (C-H-S.lesson) and problem collections (C-H-S.sgf) against\n"
    "the glossary (docs/formats/glossary.md): readings at the first use of a term in\n"
    "each lesson, numbers in full-width digits, no banned words, no term before the\n"
    "lesson that teaches it; every question a collection uses must rely only on terms\n"
    "that a lesson of the same or an earlier section teaches (concept registry).\n"
    "\n"
    "Findings are printed as file:line: message; the exit status is then 1.\n";

// The program's question table in UTF-8, for the registry's completeness check.
std::vector<std::string> QuestionTexts() {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw tools::ToolError("iconv has no CP932");
    const std::unique_ptr<void, int (*)(iconv_t)> closer(cd, iconv_close);
    std::vector<std::string> texts;
    for (int q = 0; q < problemtext::kQuestionCount; ++q) {
        std::string in = problemtext::Question(q);
        std::string out(in.size() * 3 + 4, '\0');
        char* inPtr = in.data();
        size_t inLeft = in.size();
        char* outPtr = out.data();
        size_t outLeft = out.size();
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1)) {
            throw tools::ToolError("question " + std::to_string(q) + " is not Shift_JIS");
        }
        out.resize(out.size() - outLeft);
        texts.push_back(out);
    }
    return texts;
}

int Run(const std::vector<std::string>& args) {
    std::string glossaryFile;
    std::string conceptsFile;
    std::vector<std::string> lessons;
    std::vector<std::string> problems;
    for (size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "--glossary" || args[i] == "--concepts") && i + 1 < args.size()) {
            (args[i] == "--glossary" ? glossaryFile : conceptsFile) = args[i + 1];
            ++i;
        } else if (!termlint::ParseLessonId(args[i])) {
            throw tools::ToolError(args[i] + ": not a source named after its section (C-H-S)");
        } else if (args[i].ends_with(".lesson")) {
            lessons.push_back(args[i]);
        } else if (args[i].ends_with(".sgf")) {
            problems.push_back(args[i]);
        } else {
            throw tools::ToolError(args[i] + ": neither a .lesson nor a .sgf source");
        }
    }
    if (glossaryFile.empty() || conceptsFile.empty()) {
        throw tools::ToolError("--glossary and --concepts are both needed");
    }
    std::vector<termlint::Finding> findings;
    const termlint::Glossary glossary =
        termlint::ParseGlossary(tools::ReadText(glossaryFile), glossaryFile, findings);
    const termlint::Concepts concepts = termlint::ParseConcepts(
        tools::ReadText(conceptsFile), conceptsFile, glossary, QuestionTexts(), findings);
    std::map<termlint::LessonId, termlint::TermUses> taught;
    for (const std::string& file : lessons) {
        const termlint::LessonId id = *termlint::ParseLessonId(file);
        taught[id] = termlint::LintLesson(glossary, id, file, tools::ReadText(file), findings);
    }
    for (const std::string& file : problems) {
        termlint::LintProblems(glossary, concepts, *termlint::ParseLessonId(file), file,
                               tools::ReadText(file), taught, findings);
    }
    termlint::LintTeaching(glossary, taught, findings);
    for (const termlint::Finding& f : findings) std::fprintf(stderr, "%s\n", f.Format().c_str());
    return findings.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (tools::WantsHelp(args)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return tools::RunTool("termlint", [&] { return Run(args); });
}
