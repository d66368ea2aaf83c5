#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

// The built data set's folder, and whether it has been built (cases skip without it).
std::filesystem::path BuiltData();
bool DataBuilt();

// A fresh root named after `name` whose DATA/ shows the built data through links, with its
// own SAVE folder, so no run sees another's progress. `without` names files of the data set
// (relative to it, e.g. "DATA/PROBLEM/1-problem.dat") that the root leaves out.
std::filesystem::path MakeRoot(const std::string& name,
                               const std::vector<std::string>& without = {});

struct RunResult {
    bool exitedCleanly = false;
    std::string stderrText;
    std::filesystem::path trace;
};

// Runs stonewell-headless on `script` in `root`, shots into root/shots, trace into
// root/trace.txt, for at most `maxMs` of virtual time (the program's own limit when 0).
RunResult RunHeadless(const std::filesystem::path& root, const std::filesystem::path& script,
                      int maxMs = 0);

std::vector<std::string> Lines(const std::filesystem::path& path);

}  // namespace e2e
