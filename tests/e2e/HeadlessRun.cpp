#include "HeadlessRun.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace e2e {
namespace fs = std::filesystem;

fs::path BuiltData() {
    return fs::path(STONEWELL_BINARY_DIR) / "DATA";
}

bool DataBuilt() {
    return fs::exists(BuiltData() / "IMG" / "B_1.T2G");
}

fs::path MakeRoot(const std::string& name) {
    const fs::path root = fs::temp_directory_path() / ("sw-e2e-" + name);
    fs::remove_all(root);
    fs::create_directories(root / "DATA" / "SAVE");
    for (const char* sub : {"IMG", "SOUND", "DATA"})
        fs::create_directory_symlink(BuiltData() / sub, root / "DATA" / sub);
    return root;
}

RunResult RunHeadless(const fs::path& root, const fs::path& script) {
    RunResult result;
    result.trace = root / "trace.txt";
    const std::string cmd = std::string(STONEWELL_BINARY_DIR) + "/stonewell-headless --root " +
                            root.string() + " --script " + script.string() + " --shots " +
                            (root / "shots").string() + " --trace " + result.trace.string() +
                            " 2>" + (root / "stderr.txt").string();
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
