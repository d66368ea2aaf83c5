#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace datacheck {

// One gap in a data set: the file it concerns (relative to the root, an archive path
// followed by ":" and the entry name for archive entries) and what is wrong.
struct Gap {
    std::string file;
    std::string message;
};

struct Options {
    // The folder that holds DATA/ (the program's folder).
    std::filesystem::path root = ".";
    // Archive names ("F_1", "COMMON", "TEXT") to check; empty = the whole data set.
    std::vector<std::string> only;
};

// What a run looked at, for the summary line.
struct Totals {
    int archives = 0;
    int entries = 0;
    int files = 0;
};

// Checks a built data set with the program's own readers: every archive, layout, pane and pane
// kind, texture, font, sound, lesson and problem file the screens ask for, and every archive
// entry decodes. Gaps come back in the order they were found.
std::vector<Gap> CheckDataSet(const Options& options, Totals& totals);

// Archive names the checker knows, in the order it checks them.
std::vector<std::string> KnownArchives();

}  // namespace datacheck
