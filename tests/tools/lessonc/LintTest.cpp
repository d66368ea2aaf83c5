// The lesson lint: each rule once with a planted fault and once on the corrected page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../../tools/lessonc/LessonLint.h"

namespace {

// Lints `source` as "t.lesson"; compile errors are returned as findings too.
std::vector<std::string> Lint(const std::string& source) {
    std::vector<lessonc::Diagnostic> found;
    const lessonc::CompileOptions options{"t.lesson", false};
    const lessonc::CompiledLesson lesson = lessonc::CompileLesson(source, options, found);
    if (found.empty()) lessonc::LintLesson(lesson, options, found);
    std::vector<std::string> out;
    for (const auto& d : found) out.push_back(d.Format());
    return out;
}

// Page head, lines 1..4: a 9 x 9 page with its window hidden, so only the rule under test speaks.
std::string Head(const std::string& body, const std::string& window = "hidden") {
    return "page\nboard 9\nwindow " + window + "\ncaption 図\nbody " + body + "\n";
}

using Found = std::vector<std::string>;

}  // namespace

TEST(LessonLint, StonesWithoutLibertiesMustBeClearedInTheCapturingStep) {
    const std::string surround = Head("取ります。") + "step\nB d5 e6 f5\nW e5\nstep\nB e4\n";
    EXPECT_EQ(Lint(surround),
              Found{"t.lesson:9: white stones e5 have no liberty after this step: clear them in "
                    "the step that captures them [no-liberty]"});
    EXPECT_EQ(Lint(surround + "clear e5\n"), Found{});
    // The right and lower edges of a 13 x 13 board are open: n7 still breathes beyond them.
    EXPECT_EQ(Lint("page\nboard 13\nwindow hidden\ncaption 図\nstep\nB m7 n8 n6\nW n7\n"), Found{});
}

TEST(LessonLint, OnlyCapturedStonesAreCleared) {
    const std::string page = Head("取ります。") + "step\nB d5 e6 f5\nW e5 d4\n";
    EXPECT_EQ(Lint(page + "step\nB e4\nclear e5 d4\n"),
              Found{"t.lesson:11: clear of the white stone at d4, which has liberties: only "
                    "captured stones leave the board [clear]"});
    // A group goes in one clear line or several, once its last liberty is filled.
    EXPECT_EQ(Lint(Head("取ります。") + "step\nB d5 e6 f6 g5 d4 f4\nW e5 f5\nstep\nB e4\n" +
                   "clear e5\nclear f5\n"),
              Found{});
}

TEST(LessonLint, PrisonersFillTheTerritoryOfTheirOwnColour) {
    const std::string wall = "step\nB e9 e8 e7 e6 e5 e4 e3 e2 e1\nW f9 f8 f7 f6 f5 f4 f3 f2 f1\n";
    EXPECT_EQ(Lint(Head("アゲハマを相手の地に入れます。") + wall + "step\nW a1\n"),
              Found{"t.lesson:10: white stone at a1 fills black's territory: a prisoner fills the "
                    "territory of its own colour [prisoner]"});
    EXPECT_EQ(Lint(Head("アゲハマを相手の地に入れます。") + wall + "step\nW j1\n"), Found{});
    // Without prisoners in the text a stone in the opponent's area is a move, not a fill.
    EXPECT_EQ(Lint(Head("白が打ちこみます。") + wall + "step\nW a1\n"), Found{});
}

TEST(LessonLint, CountsInTheTextMatchTheFinalPosition) {
    const std::string wall = "step\nB e9 e8 e7 e6 e5 e4 e3 e2 e1\nW f9 f8 f7 f6 f5 f4 f3 f2 f1\n";
    EXPECT_EQ(Lint(Head("黒の地は３５目、白の地は２７目です。") + wall),
              Found{"t.lesson:5: the text says black has 35 points of territory; the final "
                    "position has 36 [count]"});
    EXPECT_EQ(Lint(Head("黒の地は３６目、白の地は二十七目です。コミは６目半。") + wall), Found{});

    const std::string atari = "step\nB d5 e6\nstone-label white-8 e5\n";
    EXPECT_EQ(Lint(Head("白△の活路は３つです。") + atari),
              Found{"t.lesson:5: the text gives the white marked stones 3 liberties; on the final "
                    "position e5 have 2 [count]"});
    EXPECT_EQ(Lint(Head("白△の活路は右と下の二つです。") + atari), Found{});
}

TEST(LessonLint, NothingUnderTheShownTextWindow) {
    EXPECT_EQ(Lint(Head("見ます。", "shown") + "step\nB c2\nB d3\nnumber 1 at h1\n"),
              Found{"t.lesson:9: d3 h1 lie under the text window at the end of the page: move "
                    "the diagram or give the page another window mode [under-window]"});
    EXPECT_EQ(Lint(Head("見ます。", "slide-out") + "step\nB d3\n"), Found{});
}

TEST(LessonLint, APageMayAllowARuleWithAReason) {
    const std::string page = Head("死に石を取り上げます。") + "step\nB d5\nstep\nclear d5\n";
    EXPECT_EQ(Lint(page + "# lint-allow clear: dead stones are taken off at the end\n"), Found{});
    EXPECT_EQ(Lint(page + "# lint-allow clear\n"),
              Found{"t.lesson:10: lint-allow needs a reason after the rule: '# lint-allow RULE: "
                    "why'"});
}
