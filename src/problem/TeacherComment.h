#pragma once

#include <string>
#include <vector>

#include "problem/ProblemExplanations.h"

// What the teacher says after a verdict: the source's comment on the right line, on the wrong
// try the learner made, or, for a wrong answer no source names, a short word of the program's
// own chosen by the problem's kind and question. Pure, so the rules can be checked alone.
namespace teacher {

// One judged attempt, as problem play knows it.
struct Attempt {
    // Problem type 1..8 and question index (record byte 805).
    int type = 0;
    int question = 0;
    bool correct = false;
    // Type 6: the right line the moves followed (the matched branch).
    int rightLine = 0;
    // Types 3..6: what was played, in order (type 6 with the replies; type 3 the picked
    // letter; types 4 and 5 the marks, the wrong one last).
    std::vector<explanations::LineMove> moves;
    // Type 8: the chosen text in the source's order (0 is the correct one).
    int chosenText = 0;
};

// Shift_JIS; empty when there is nothing to say (a correct answer whose line has no comment,
// or a problem type that is never judged).
std::string Says(const explanations::ProblemExplanation& explanation, const Attempt& attempt);

// The program's own word on a wrong answer of this type and question (Shift_JIS); empty for
// types that are never judged.
std::string KindComment(int type, int question);

}  // namespace teacher
