#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "LessonCompiler.h"

// Checks a compiled lesson's diagrams against the rules of Go and its texts against the
// diagrams. Lessons have no capture rule of their own (stones come and go only by the step
// data), so nothing but this lint stops a diagram that no game could reach.
namespace lessonc {

// The rules, as named in "# lint-allow RULE: why" comments.
inline constexpr std::string_view kLintRuleNames =
    "no-liberty, clear, prisoner, count, under-window";

bool IsLintRule(std::string_view rule);

// Appends one diagnostic per finding; pages allow rules away one by one.
void LintLesson(const CompiledLesson& lesson, const CompileOptions& options,
                std::vector<Diagnostic>& findings);

}  // namespace lessonc
