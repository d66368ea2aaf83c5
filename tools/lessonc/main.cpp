// lessonc: compiles lesson sources into the lesson data and text files the program reads.
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "LessonCompiler.h"
#include "LessonLint.h"
#include "common/FileIO.h"
#include "common/Progress.h"
#include "common/ToolError.h"
#include "common/ToolMain.h"

namespace {

constexpr const char* kUsage =
    "usage: lessonc [-d DIR] [--lint [--lint-warn RULE]...] LESSON.lesson...\n"
    "\n"
    "Compiles lesson sources (see docs/formats/lesson-source.md) into the lesson\n"
    "data file DIR/NAME.dat and the Shift_JIS text file DIR/NAME.txt, NAME being\n"
    "the source's name without .lesson (e.g. 1-2-3.lesson -> 1-2-3.dat, 1-2-3.txt).\n"
    "The lesson named 2-4-1 gets its full-board rows stored mirrored, as the\n"
    "program reads them.\n"
    "\n"
    "  -d DIR   folder for the output files (default: beside each source)\n"
    "  --lint   also replay every page with the capture rules and check its texts'\n"
    "           counts and what the text window hides (docs/tools.md); a finding\n"
    "           is an error\n"
    "  --lint-warn RULE\n"
    "           report that lint rule's findings as warnings that do not fail\n"
    "  --help   show this text\n"
    "\n"
    "Errors are printed as file:line: message; the exit status is 1 on any\n"
    "error, and a lesson with errors writes nothing.\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (tools::WantsHelp(args)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::string outDir;
    std::vector<std::string> inputs;
    bool lint = false;
    std::set<std::string> warnOnly;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-d" && i + 1 < args.size()) {
            outDir = args[++i];
        } else if (args[i] == "--lint") {
            lint = true;
        } else if (args[i] == "--lint-warn" && i + 1 < args.size()) {
            warnOnly.insert(args[++i]);
        } else if (!args[i].empty() && args[i][0] == '-') {
            std::fprintf(stderr, "lessonc: unknown option %s\n%s", args[i].c_str(), kUsage);
            return 2;
        } else {
            inputs.push_back(args[i]);
        }
    }
    if (inputs.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return tools::RunTool("lessonc", [&] {
        namespace fs = std::filesystem;
        int status = 0;
        tools::Progress progress("lessonc", "lessons", inputs.size());
        for (size_t i = 0; i < inputs.size(); ++i) {
            const fs::path source(inputs[i]);
            const std::string text = tools::ReadText(source);
            lessonc::CompileOptions options;
            options.fileName = inputs[i];
            options.mirrorFullBoard = source.stem() == "2-4-1";
            std::vector<lessonc::Diagnostic> errors;
            const lessonc::CompiledLesson lesson = lessonc::CompileLesson(text, options, errors);
            if (lint && errors.empty()) lessonc::LintLesson(lesson, options, errors);
            bool failed = false;
            for (const lessonc::Diagnostic& d : errors) {
                const bool warning = warnOnly.contains(d.rule);
                std::fprintf(stderr, "%s%s\n", warning ? "warning: " : "", d.Format().c_str());
                failed = failed || !warning;
            }
            if (!failed) {
                const fs::path dir = outDir.empty() ? source.parent_path() : fs::path(outDir);
                tools::WriteBytes(dir / (source.stem().string() + ".dat"), lesson.data);
                tools::WriteText(dir / (source.stem().string() + ".txt"), lesson.text);
            } else {
                status = 1;
            }
            progress.Update(i + 1);
        }
        return status;
    });
}
