#pragma once

#include <string>
#include <vector>

#include "../../../tools/sgf2problem/ProblemCompiler.h"
#include "problem/ProblemBoard.h"
#include "progress/ProgressState.h"

namespace sgfc_test {

// Compiles one SGF text of course 1 (index 0) and returns the errors as printed.
inline std::vector<std::string> Errors(const std::string& sgfText) {
    std::vector<sgf2problem::Diagnostic> errors;
    sgf2problem::CompileSectionText(sgfText, "t.sgf", 0, errors);
    std::vector<std::string> out;
    for (const auto& d : errors) out.push_back(d.Format());
    return out;
}

// The single error of `sgfText`, or a note that there was not exactly one.
inline std::string OneError(const std::string& sgfText) {
    const std::vector<std::string> e = Errors(sgfText);
    if (e.size() != 1) return std::to_string(e.size()) + " errors";
    return e[0];
}

}  // namespace sgfc_test
