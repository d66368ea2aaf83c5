#pragma once

#include <string>
#include <vector>

#include "problem/ProblemRecord.h"

// Script lines for stonewell-headless that answer one problem on the problem screen, once
// right and once wrong, worked out from the record as the file reader decoded it. Both start
// with the question window closed and end as soon as the last input is given (the caller waits
// for the verdict).
namespace e2e {

struct ScriptedAnswer {
    // A right answer: the correct points, a correct line's learner moves (with waits for the
    // replies between them), or the correct choice and the decide button.
    std::vector<std::string> right;
    // A wrong answer: a free point that is no correct answer or first move, another letter, or
    // another choice.
    std::vector<std::string> wrong;
    // Empty when the problem can be answered this way; otherwise why not.
    std::string undrivable;
};

// Milliseconds between a learner's move and the next one of the same line: the reply comes
// 300 ms after the move and the turn returns 300 ms after the reply.
inline constexpr int kReplyWaitMs = 900;

ScriptedAnswer AnswerFor(const ProblemRecord& record);

}  // namespace e2e
