#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "programs/Script.h"

namespace headless {

struct RunOptions {
    // The folder holding DATA/ (the working directory of the run).
    std::string root = ".";
    // Where `shot NAME` writes NAME.png.
    std::string shotsDir = ".";
    // The run ends (as after the script's end) once this much virtual time has passed.
    uint64_t maxMs = 600000;
    // Every this many ms of virtual time the trace gets "memory RSS HEAP": the resident size and
    // the heap in use, in KiB (0: never).
    uint64_t memoryEveryMs = 0;
    // How the script is named in error messages.
    std::string scriptName = "script";
};

// Runs the real program on the headless backend, feeding it the script's input at the
// script's virtual times, and writes the trace. Returns the program's exit code, or 2 when a
// command could not be carried out (reported on standard error with its line).
int RunHeadless(const RunOptions& options, const std::vector<ScriptCommand>& script,
                std::ostream& trace);

}  // namespace headless
