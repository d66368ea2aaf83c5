#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "probcheck/GtpEngine.h"

namespace probcheck {

// One problem that looks wrong: where (file, line of the node to look at, 1-based problem
// number in the collection) and why.
struct Suspicion {
    std::string file;
    int line = 0;
    int problem = 0;
    std::string message;
    // "file:line: problem N: message".
    std::string Format() const;
};

// Checks every problem of an SGF problem collection (docs/formats/problem-sgf.md) against the
// engine: setup stones and the moves of every line are legal; for problems with a goal
// (marked stones to capture or to save, or the captions "capture" and "live"), every correct
// line reaches it against the engine's best defence and no wrong try does. `problems` counts
// the problems looked at. Problems whose answer the engine cannot judge (marked points, no
// goal) are added to `unchecked`, when given, so they are never taken as passed. Throws
// tools::ToolError for a collection that does not parse.
std::vector<Suspicion> VerifyCollection(
    std::string_view text, const std::string& file, GtpEngine& engine, int& problems,
    std::vector<Suspicion>* unchecked = nullptr,
    const std::function<void(size_t done, size_t total)>& onProblem = {});

}  // namespace probcheck
