#pragma once

#include <string>
#include <vector>

#include "../../../tools/lessonc/LessonCompiler.h"

namespace lessonc_test {

// Compiles `source` as "t.lesson" and returns the errors as printed.
inline std::vector<std::string> Errors(const std::string& source) {
    std::vector<lessonc::Diagnostic> errors;
    lessonc::CompileLesson(source, lessonc::CompileOptions{"t.lesson", false}, errors);
    std::vector<std::string> out;
    for (const auto& d : errors) out.push_back(d.Format());
    return out;
}

// The single error of `source`, or a note that there was not exactly one.
inline std::string OneError(const std::string& source) {
    const std::vector<std::string> e = Errors(source);
    if (e.size() != 1) {
        std::string all = std::to_string(e.size()) + " errors";
        for (const auto& line : e) all += "\n" + line;
        return all;
    }
    return e[0];
}

}  // namespace lessonc_test
