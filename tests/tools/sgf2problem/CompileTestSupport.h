#pragma once

#include <gtest/gtest.h>

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

// Compiles SGF texts as sections of course 1; any error fails the test.
inline std::vector<sgf2problem::SectionBlock> Sections(const std::vector<std::string>& texts) {
    std::vector<sgf2problem::Diagnostic> errors;
    std::vector<sgf2problem::SectionBlock> sections;
    for (const std::string& t : texts)
        sections.push_back(sgf2problem::CompileSectionText(t, "t.sgf", 0, errors));
    for (const auto& e : errors) ADD_FAILURE() << e.Format();
    return sections;
}

// Lints one SGF text of course 1: the findings of the explanation rule, or all the others.
inline std::vector<std::string> LintFindings(const std::string& sgfText, bool explainRule = false) {
    std::vector<sgf2problem::Diagnostic> errors;
    sgf2problem::LintSectionText(sgfText, "t.sgf", 0, errors);
    std::vector<std::string> out;
    for (const auto& d : errors)
        if ((d.rule == sgf2problem::kExplainRule) == explainRule) out.push_back(d.Format());
    return out;
}

}  // namespace sgfc_test
