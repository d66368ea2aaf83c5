// Every problem of the sections 1-3 to 1-6, answered through the real program: the main menu,
// the problem list and the problem screen of stonewell-headless on the built data set. Each
// problem is answered wrong first (the incorrect sound must follow), then again and right
// (the correct sound must follow); the click after the correct verdict moves on to the next
// problem, and after the last one back to the main menu.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ProblemAnswers.h"
#include "app/ProgressState.h"
#include "go/ProblemBoard.h"
#include "problem/ProblemFile.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kOk = "se DATA/SOUND/SE/OK.wav";
constexpr const char* kNo = "se DATA/SOUND/SE/No.wav";
// Traced once as each problem opens (its question text), so verdicts can be told apart.
constexpr const char* kMarker = "pane txt_text ";

struct Section {
    // 0-based section of chapter 1 of course 0.
    int index;
    // Wheel-free way there from the main menu: scroll clicks, then the row's problem button.
    int scrollDown;
    const char* button;
};

std::string SectionName(const Section& s) {
    return "Section1_" + std::to_string(s.index + 1);
}

class AllProblems : public ::testing::TestWithParam<Section> {
protected:
    fs::path Root() const {
        return fs::temp_directory_path() / ("sw-e2e-all-" + SectionName(GetParam()));
    }

    // A fresh root whose DATA/ shows the built data, with its own SAVE folder.
    fs::path MakeRoot() const {
        const fs::path built = fs::path(STONEWELL_BINARY_DIR) / "DATA";
        const fs::path root = Root();
        fs::remove_all(root);
        fs::create_directories(root / "DATA" / "SAVE");
        for (const char* sub : {"IMG", "SOUND", "DATA"})
            fs::create_directory_symlink(built / sub, root / "DATA" / sub);
        return root;
    }
};

std::vector<std::string> Lines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

bool Has(const std::string& line, const char* text) {
    return line.find(text) != std::string::npos;
}

TEST_P(AllProblems, EachIsIncorrectWhenWrongAndCorrectWhenRight) {
    const Section section = GetParam();
    const fs::path built = fs::path(STONEWELL_BINARY_DIR) / "DATA";
    if (!fs::exists(built / "IMG" / "B_1.T2G")) GTEST_SKIP() << "data set not built";

    ProgressState progress;
    ProblemBoard board;
    ASSERT_TRUE(
        LoadProblemSet(board, progress, 0, section.index, (built / "DATA/PROBLEM/").string()));
    const int count = progress.ProblemCount(0, 1, section.index + 1);
    ASSERT_GT(count, 0);
    ASSERT_EQ(int(board.records.size()), count);

    std::ostringstream script;
    script << "wait 2600\ntap btn_start1\nwait 800\n";
    for (int i = 0; i < section.scrollDown; ++i) script << "tap btn_scroll_down1\nwait 300\n";
    script << "tap " << section.button << "\nwait 800\ntap btn_problem01\nwait 600\n";
    for (int i = 0; i < count; ++i) {
        const e2e::ScriptedAnswer answer = e2e::AnswerFor(board.records[size_t(i)]);
        ASSERT_TRUE(answer.undrivable.empty())
            << "problem " << i + 1 << " cannot be answered here: " << answer.undrivable;
        script << "# problem " << i + 1 << "\nwhere txt_text\nclick 500 500\nwait 300\n";
        for (const std::string& line : answer.wrong) script << line << "\n";
        script << "wait 1500\ntap btn_again1\nwait 300\nclick 500 500\nwait 300\n";
        for (const std::string& line : answer.right) script << line << "\n";
        script << "wait 1500\nclick 500 500\nwait 500\n";
    }

    const fs::path root = MakeRoot();
    const fs::path scriptPath = root / "answers.script";
    std::ofstream(scriptPath) << script.str();
    const fs::path trace = root / "trace.txt";
    const std::string cmd = std::string(STONEWELL_BINARY_DIR) + "/stonewell-headless --root " +
                            root.string() + " --script " + scriptPath.string() + " --trace " +
                            trace.string() + " 2>" + (root / "stderr.txt").string();
    const int status = std::system(cmd.c_str());
    std::stringstream err;
    err << std::ifstream(root / "stderr.txt").rdbuf();
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << err.str();

    // The verdicts heard between one problem's opening and the next one's.
    std::vector<std::vector<std::string>> verdicts;
    bool backToMenu = false;
    for (const std::string& line : Lines(trace)) {
        if (Has(line, kMarker)) verdicts.emplace_back();
        if (verdicts.empty()) continue;
        if (Has(line, kOk)) verdicts.back().push_back("correct");
        if (Has(line, kNo)) verdicts.back().push_back("incorrect");
        if (Has(line, "scene 3")) backToMenu = true;
    }
    ASSERT_EQ(int(verdicts.size()), count) << "not every problem was reached";
    const std::vector<std::string> expected{"incorrect", "correct"};
    bool allJudged = true;
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(verdicts[size_t(i)], expected)
            << "problem " << i + 1 << " (type " << board.records[size_t(i)].Type() << ")";
        allJudged = allJudged && verdicts[size_t(i)] == expected;
    }
    EXPECT_TRUE(backToMenu) << "the click after the last correct answer leaves for the menu";
    if (allJudged && backToMenu) fs::remove_all(root);
}

// Sections 1-3..1-5 sit on the menu's third to fifth rows; 1-6 needs one scroll.
INSTANTIATE_TEST_SUITE_P(Chapter1, AllProblems,
                         ::testing::Values(Section{2, 0, "btn_menu8_1"},
                                           Section{3, 0, "btn_menu9_1"},
                                           Section{4, 0, "btn_menu10_1"},
                                           Section{5, 1, "btn_menu10_1"}),
                         [](const auto& param) { return SectionName(param.param); });

}  // namespace
