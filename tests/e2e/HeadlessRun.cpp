#include "HeadlessRun.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace e2e {
namespace fs = std::filesystem;

fs::path BuiltData() {
    return fs::path(STONEWELL_BINARY_DIR) / "DATA";
}

bool DataBuilt() {
    return fs::exists(BuiltData() / "IMG" / "B_1.T2G");
}

namespace {
// Links everything under `from` into `to` file by file, leaving out the files of `without`.
void LinkAllBut(const fs::path& from, const fs::path& to, const std::vector<fs::path>& without) {
    fs::create_directories(to);
    for (const auto& entry : fs::directory_iterator(from)) {
        const fs::path target = to / entry.path().filename();
        if (std::find(without.begin(), without.end(), entry.path()) != without.end()) continue;
        if (entry.is_directory())
            LinkAllBut(entry.path(), target, without);
        else
            fs::create_symlink(entry.path(), target);
    }
}
}  // namespace

fs::path MakeRoot(const std::string& name, const std::vector<std::string>& without) {
    // The process id keeps runs of other builds on the same machine out of each other's way.
    const fs::path root =
        fs::temp_directory_path() / ("sw-e2e-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "DATA" / "SAVE");
    std::vector<fs::path> left;
    for (const std::string& file : without) left.push_back(BuiltData() / file);
    for (const char* sub : {"IMG", "SOUND", "DATA"}) {
        if (left.empty())
            fs::create_directory_symlink(BuiltData() / sub, root / "DATA" / sub);
        else
            LinkAllBut(BuiltData() / sub, root / "DATA" / sub, left);
    }
    return root;
}

RunResult RunHeadless(const fs::path& root, const fs::path& script, int maxMs) {
    RunResult result;
    result.trace = root / "trace.txt";
    // A home of its own: the per-user save folder is read first, and a learner's progress
    // there must neither change a case nor be changed by one.
    const std::string home = (root / "home").string();
    const std::string cmd =
        "HOME=" + home + " XDG_DATA_HOME=" + home + "/share XDG_CONFIG_HOME=" + home + "/config " +
        std::string(STONEWELL_BINARY_DIR) + "/stonewell-headless --root " + root.string() +
        " --script " + script.string() + " --shots " + (root / "shots").string() + " --trace " +
        result.trace.string() + (maxMs > 0 ? " --max-ms " + std::to_string(maxMs) : "") + " 2>" +
        (root / "stderr.txt").string();
    const int status = std::system(cmd.c_str());
    std::stringstream err;
    err << std::ifstream(root / "stderr.txt").rdbuf();
    result.stderrText = err.str();
    result.exitedCleanly = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

std::vector<std::string> Lines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

}  // namespace e2e
