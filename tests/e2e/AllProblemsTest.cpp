// Every problem of every problem set of course 0 in the list below, answered through the real
// program: the main menu, the problem list and the problem screen of
// stonewell-headless on the built data set. Each problem is answered wrong first (the incorrect
// sound must follow), then again and right (the correct sound must follow); the click after the
// correct verdict moves on to the next problem, and after the last one back to the main menu.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "HeadlessRun.h"
#include "ProblemAnswers.h"
#include "problem/ProblemBoard.h"
#include "problem/ProblemFile.h"
#include "progress/ProgressState.h"
#include "support/Built.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kOk = "se DATA/SOUND/SE/OK.wav";
constexpr const char* kNo = "se DATA/SOUND/SE/No.wav";
// Traced once as each problem opens (its question text), so verdicts can be told apart.
constexpr const char* kMarker = "pane txt_text ";

struct Section {
    // 0-based chapter and section of course 0.
    int chapter;
    int index;
    // Wheel-free way there from the main menu: scroll clicks, then the row's problem button.
    int scrollDown;
    const char* button;
};

std::string SectionName(const Section& s) {
    return "Section" + std::to_string(s.chapter + 1) + "_" + std::to_string(s.index + 1);
}

class AllProblems : public ::testing::TestWithParam<Section> {};

bool Has(const std::string& line, const char* text) {
    return line.find(text) != std::string::npos;
}

TEST_P(AllProblems, EachIsIncorrectWhenWrongAndCorrectWhenRight) {
    const Section section = GetParam();
    REQUIRE_BUILT(e2e::DataBuilt(), "data set");
    const fs::path built = e2e::BuiltData();

    ProgressState progress;
    ProblemBoard board;
    ASSERT_TRUE(LoadProblemSet(board, progress, section.chapter, section.index,
                               (built / "DATA/PROBLEM/").string()));
    const int count = progress.ProblemCount(0, section.chapter + 1, section.index + 1);
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

    const fs::path root = e2e::MakeRoot("all-" + SectionName(section));
    const fs::path scriptPath = root / "answers.script";
    std::ofstream(scriptPath) << script.str();
    // A long set outlasts the program's default limit of ten minutes of virtual time.
    const e2e::RunResult run = e2e::RunHeadless(root, scriptPath, 600000 + 8000 * count);
    ASSERT_TRUE(run.exitedCleanly) << run.stderrText;

    // The verdicts heard between one problem's opening and the next one's.
    std::vector<std::vector<std::string>> verdicts;
    bool backToMenu = false;
    for (const std::string& line : e2e::Lines(run.trace)) {
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

// Sections 1-3..1-5 sit on the menu's third to fifth rows; each later one (chapter 2 goes on
// the same list) needs one more scroll to come to the fifth row.
INSTANTIATE_TEST_SUITE_P(
    Course0, AllProblems,
    ::testing::Values(Section{0, 2, 0, "btn_menu8_1"}, Section{0, 3, 0, "btn_menu9_1"},
                      Section{0, 4, 0, "btn_menu10_1"}, Section{0, 5, 1, "btn_menu10_1"},
                      Section{0, 6, 2, "btn_menu10_1"}, Section{0, 7, 3, "btn_menu10_1"},
                      Section{1, 0, 4, "btn_menu10_1"}, Section{1, 1, 5, "btn_menu10_1"},
                      Section{1, 2, 6, "btn_menu10_1"}, Section{1, 3, 7, "btn_menu10_1"},
                      Section{1, 4, 8, "btn_menu10_1"}, Section{2, 0, 9, "btn_menu10_1"},
                      Section{2, 1, 10, "btn_menu10_1"}, Section{2, 2, 11, "btn_menu10_1"},
                      Section{2, 3, 12, "btn_menu10_1"}, Section{3, 0, 13, "btn_menu10_1"},
                      Section{3, 1, 14, "btn_menu10_1"}, Section{3, 2, 15, "btn_menu10_1"},
                      Section{3, 3, 16, "btn_menu10_1"}, Section{3, 4, 17, "btn_menu10_1"},
                      Section{4, 0, 18, "btn_menu10_1"}, Section{4, 1, 19, "btn_menu10_1"},
                      Section{4, 2, 20, "btn_menu10_1"}, Section{5, 0, 22, "btn_menu10_1"},
                      Section{5, 1, 23, "btn_menu10_1"}, Section{5, 2, 24, "btn_menu10_1"},
                      Section{5, 3, 25, "btn_menu10_1"}, Section{5, 4, 26, "btn_menu10_1"}),
    [](const auto& param) { return SectionName(param.param); });

}  // namespace
