// End-to-end cases: each file in tests/e2e/cases is a script for stonewell-headless, run on
// the built data set. Lines "#> TEXT" say what the trace must show: each expected text must
// be found in a trace line, in the order written (other lines may come between). Lines
// "#= NAME" say that the script's screenshot NAME must match the reviewed reference
// tests/e2e/reference/NAME.png.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ScreenshotMatch.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    const fs::path dir = fs::path(STONEWELL_SOURCE_DIR) / "tests/e2e/cases";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir, error))
        if (entry.path().extension() == ".script") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ScriptCase : public ::testing::TestWithParam<std::string> {
protected:
    // A fresh root whose DATA/ shows the built data read-only, with its own SAVE folder, so
    // no case sees another's progress.
    fs::path MakeRoot() {
        const fs::path built = fs::path(STONEWELL_BINARY_DIR) / "DATA";
        const fs::path root = fs::temp_directory_path() / ("sw-e2e-" + GetParam());
        fs::remove_all(root);
        fs::create_directories(root / "DATA" / "SAVE");
        for (const char* sub : {"IMG", "SOUND", "DATA"})
            fs::create_directory_symlink(built / sub, root / "DATA" / sub);
        return root;
    }
};

TEST_P(ScriptCase, TraceShowsEveryExpectedLineInOrder) {
    const fs::path built = fs::path(STONEWELL_BINARY_DIR) / "DATA" / "IMG" / "B_1.T2G";
    if (!fs::exists(built)) GTEST_SKIP() << "data set not built";
    const fs::path script =
        fs::path(STONEWELL_SOURCE_DIR) / "tests/e2e/cases" / (GetParam() + ".script");
    const fs::path root = MakeRoot();
    const fs::path trace = root / "trace.txt";
    const std::string cmd = std::string(STONEWELL_BINARY_DIR) + "/stonewell-headless --root " +
                            root.string() + " --script " + script.string() + " --shots " +
                            (root / "shots").string() + " --trace " + trace.string() + " 2>" +
                            (root / "stderr.txt").string();
    const int status = std::system(cmd.c_str());
    std::stringstream err;
    err << std::ifstream(root / "stderr.txt").rdbuf();
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << err.str();

    const std::vector<std::string> got = Lines(trace);
    size_t at = 0;
    for (const std::string& line : Lines(script)) {
        if (line.rfind("#> ", 0) != 0) continue;
        const std::string want = line.substr(3);
        while (at < got.size() && got[at].find(want) == std::string::npos) ++at;
        if (at == got.size()) {
            std::string all;
            for (const std::string& g : got) all += g + "\n";
            FAIL() << "expected '" << want << "' (in order) in the trace:\n" << all;
        }
        ++at;
    }
    bool shotsMatch = true;
    for (const std::string& line : Lines(script)) {
        if (line.rfind("#= ", 0) != 0) continue;
        const std::string name = line.substr(3);
        const std::string mismatch = e2e::CompareWithReference(
            fs::path(STONEWELL_SOURCE_DIR) / "tests/e2e/reference" / (name + ".png"),
            root / "shots" / (name + ".png"),
            fs::path(STONEWELL_BINARY_DIR) / "e2e-mismatch" / GetParam());
        if (!mismatch.empty()) {
            ADD_FAILURE() << mismatch;
            shotsMatch = false;
        }
    }
    if (shotsMatch) fs::remove_all(root);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScriptCase, ::testing::ValuesIn(CaseNames()),
                         [](const auto& param) { return param.param; });

}  // namespace
