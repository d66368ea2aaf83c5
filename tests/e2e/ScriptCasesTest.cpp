// End-to-end cases: each file in tests/e2e/cases is a script for stonewell-headless, run on
// the built data set. Lines "#> TEXT" say what the trace must show: each expected text must
// be found in a trace line, in the order written (other lines may come between). Lines
// "#! TEXT" say that no trace line after the last expected one so far shows TEXT. Lines
// "#- FILE" run the script with that file of the data set missing. Lines
// "#= NAME" say that the script's screenshot NAME must match the reviewed reference
// tests/e2e/reference/NAME.png. Lines "#~ SHOT X Y W H SHOT X Y W H" say that the text in
// the first rectangle of the first screenshot is drawn in the same colour as the text in the
// second rectangle of the second (the two may be one shot, or one rectangle).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "HeadlessRun.h"
#include "ScreenshotMatch.h"
#include "support/Built.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    const fs::path dir = fs::path(STONEWELL_SOURCE_DIR) / "tests/e2e/cases";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir, error))
        if (entry.path().extension() == ".script") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ScriptCase : public ::testing::TestWithParam<std::string> {};

TEST_P(ScriptCase, TraceShowsEveryExpectedLineInOrder) {
    REQUIRE_BUILT(e2e::DataBuilt(), "data set");
    const fs::path script =
        fs::path(STONEWELL_SOURCE_DIR) / "tests/e2e/cases" / (GetParam() + ".script");
    std::vector<std::string> without;
    // "#+ FILE FIXTURE": the test fixture FIXTURE (built from tests/fixtures) stands in for
    // that file of the data set.
    std::vector<std::pair<std::string, std::string>> standIns;
    for (const std::string& line : e2e::Lines(script)) {
        if (line.rfind("#- ", 0) == 0) without.push_back(line.substr(3));
        if (line.rfind("#+ ", 0) != 0) continue;
        const size_t space = line.find(' ', 3);
        ASSERT_NE(space, std::string::npos) << "'#+ FILE FIXTURE' expected: " << line;
        standIns.emplace_back(line.substr(3, space - 3), line.substr(space + 1));
        without.push_back(standIns.back().first);
    }
    const fs::path root = e2e::MakeRoot(GetParam(), without);
    for (const auto& [file, fixture] : standIns) {
        const fs::path built = fs::path(STONEWELL_BINARY_DIR) / "fixtures" / fixture;
        ASSERT_TRUE(fs::exists(built)) << built << " is not built";
        fs::create_directories((root / "DATA" / file).parent_path());
        fs::create_symlink(built, root / "DATA" / file);
    }
    const e2e::RunResult run = e2e::RunHeadless(root, script);
    ASSERT_TRUE(run.exitedCleanly) << run.stderrText;

    const std::vector<std::string> got = e2e::Lines(run.trace);
    size_t at = 0;
    auto allLines = [&got] {
        std::string all;
        for (const std::string& g : got) all += g + "\n";
        return all;
    };
    for (const std::string& line : e2e::Lines(script)) {
        if (line.rfind("#! ", 0) == 0) {
            const std::string unwanted = line.substr(3);
            for (size_t later = at; later < got.size(); ++later)
                if (got[later].find(unwanted) != std::string::npos)
                    FAIL() << "unexpected '" << unwanted << "' in the trace:\n" << allLines();
            continue;
        }
        if (line.rfind("#> ", 0) != 0) continue;
        const std::string want = line.substr(3);
        while (at < got.size() && got[at].find(want) == std::string::npos) ++at;
        if (at == got.size())
            FAIL() << "expected '" << want << "' (in order) in the trace:\n" << allLines();
        ++at;
    }
    bool shotsMatch = true;
    for (const std::string& line : e2e::Lines(script)) {
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
    for (const std::string& line : e2e::Lines(script)) {
        if (line.rfind("#~ ", 0) != 0) continue;
        std::istringstream fields(line.substr(3));
        uint32_t ink[2] = {};
        for (uint32_t& colour : ink) {
            std::string name;
            int x = 0, y = 0, w = 0, h = 0;
            e2e::Picture shot;
            ASSERT_TRUE(fields >> name >> x >> y >> w >> h) << "bad line: " << line;
            ASSERT_TRUE(e2e::LoadPicture(root / "shots" / (name + ".png"), shot)) << line;
            colour = e2e::InkColour(shot, x, y, w, h);
        }
        if (!e2e::SameColour(ink[0], ink[1])) {
            ADD_FAILURE() << line << ": text colours differ, " << std::hex << ink[0] << " and "
                          << ink[1];
            shotsMatch = false;
        }
    }
    if (shotsMatch) fs::remove_all(root);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScriptCase, ::testing::ValuesIn(CaseNames()),
                         [](const auto& param) { return param.param; });

}  // namespace
