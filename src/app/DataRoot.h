#pragma once

#include <string>

// Where the program's data set is, and whether the learner's progress may be kept beside it.
namespace dataroot {

struct DataRoot {
    // The folder holding DATA/.
    std::string root;
    // True for the data set installed at the prefix chosen at build time.
    bool installed = false;
};

// The folder beside the executable when it holds DATA/ (a build tree or an unpacked copy),
// else the installed one. `installedRoot` may be empty when the build installs nowhere.
DataRoot Find(const std::string& executableDir, const std::string& installedRoot);

// Whether progress must stay out of the root's DATA/SAVE: the installed data set is shared by
// every user of the machine, and a data set this process cannot write is someone else's. Such
// a root keeps its progress in the per-user data folder only.
bool IsShared(const DataRoot& dataRoot);

}  // namespace dataroot
