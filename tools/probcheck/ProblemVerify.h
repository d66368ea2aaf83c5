#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "probcheck/GtpEngine.h"

namespace probcheck {

// One problem that looks wrong, or one that needs a person: where (file, line of the node to
// look at, 1-based problem number in the collection) and why.
struct Suspicion {
    std::string file;
    int line = 0;
    int problem = 0;
    std::string message;
    // "file:line: problem N: message".
    std::string Format() const;
};

// What a run over collections found.
struct Verdicts {
    std::vector<Suspicion> findings;
    // Problems whose answer no automatic check can judge (best ko threat, yose values, free
    // texts): a person must read them, so they are never taken as passed.
    std::vector<Suspicion> needsPerson;
    // Problems judged by their goal, per kind (KD).
    std::map<std::string, int> judged;
    int problems = 0;
};

// Checks every problem of an SGF problem collection (docs/formats/problem-sgf.md) the way the
// program will judge it, with the goal its question sets: setup stones and the moves of every
// line are legal; values (○/×, numbers) and marked points equal what the position says (exact
// flood fill for liberties and territory, GNU Go for reading); for sequence and letter problems
// every correct answer reaches the goal and, at every choice the learner has along the correct
// lines, every other legal move is tried: one that also reaches the goal is an unlisted success.
// Throws tools::ToolError for a collection that does not parse.
void VerifyCollection(std::string_view text, const std::string& file, GtpEngine& engine,
                      Verdicts& verdicts,
                      const std::function<void(size_t done, size_t total)>& onProblem = {});

}  // namespace probcheck
