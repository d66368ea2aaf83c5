#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "termlint/TermLint.h"

using termlint::Finding;
using termlint::LessonId;

namespace {

const char kGlossary[] =
    "# test glossary\n目（もく） 1-1-1\n押（お）さえ 1-1-3\nアタリ 1-1-1\n△ 1-1-3\n"
    "シチョウ 1-3-3\n目的 word\n一度 word\n共有 banned\n";

struct Fixture {
    std::vector<Finding> findings;
    termlint::Glossary glossary = termlint::ParseGlossary(kGlossary, "g.txt", findings);
};

std::vector<std::string> Messages(const std::vector<Finding>& findings) {
    std::vector<std::string> out;
    for (const Finding& f : findings) out.push_back(f.Format());
    return out;
}

std::vector<std::string> LintLesson(const std::string& source, LessonId id = {1, 1, 3}) {
    Fixture fx;
    termlint::LintLesson(fx.glossary, id, "l.lesson", source, fx.findings);
    return Messages(fx.findings);
}

}  // namespace

TEST(TermLint, ReadingAtFirstUseInTheBodyOnly) {
    // Correct: the caption may use a term bare; the first body use carries the reading, later
    // ones do not need it; 目 inside the listed word 目的 is not the term.
    EXPECT_TRUE(LintLesson("page\ncaption ３目\nbody 目的は地です。\n"
                           "body ３目（もく）と４目。\nbody 押（お）さえて、押さえます。\n")
                    .empty());
    EXPECT_EQ(LintLesson("page\ncaption 石\nbody ３目と４目（もく）です。\n"),
              std::vector<std::string>{
                  "l.lesson:3: first use of '目' in this lesson needs its reading: 目（もく）"});
    // The reading is needed again in every lesson, counted from the first use only.
    EXPECT_EQ(LintLesson("body 押さえました。\nbody 押さえます。\n").size(), 1u);
}

TEST(TermLint, NumbersInFullWidthDigits) {
    EXPECT_TRUE(LintLesson("body ４つの石を、一度だけ数えます。\n").empty());
    EXPECT_EQ(LintLesson("body 四つの石と三つの石。\nbody 3つ\n"),
              (std::vector<std::string>{
                  "l.lesson:1: '四' in running text: write numbers in full-width digits (３目, "
                  "４つ); fixed terms in kanji are listed in g.txt",
                  "l.lesson:2: '3' in running text: write numbers in full-width digits (３目, "
                  "４つ); fixed terms in kanji are listed in g.txt"}));
}

TEST(TermLint, NumeralsInProblemComments) {
    // Hints, line explanations and choice explanations alike; one finding per comment, and the
    // glossary's entries (一度) are no count.
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"(;QI[0]C[活路は４つ。一度で取ります。]CR[○です。]CW[×ではありません。])", {}},
        {"(;QI[0]C[活路は四つで、三つではありません。])", {"1-1-3.sgf:1: '四'"}},
        {"(;QI[0](;B[aa]C[二目を取ります。RIGHT]))", {"1-1-3.sgf:1: '二'"}},
        {"(;QI[0]\nCR[石は五つです。])", {"1-1-3.sgf:2: '五'"}},
        {"(;QI[0]CW[3つです。])", {"1-1-3.sgf:1: '3'"}},
    };
    for (const auto& [sgf, findings] : cases) {
        Fixture fx;
        const termlint::Concepts concepts =
            termlint::ParseConcepts("0\n", "c.txt", fx.glossary, {"問題"}, fx.findings);
        termlint::LintProblems(fx.glossary, concepts, {1, 1, 3}, "1-1-3.sgf", sgf, {}, fx.findings);
        std::vector<std::string> got = Messages(fx.findings);
        for (std::string& m : got) m = m.substr(0, m.find(" in running text"));
        EXPECT_EQ(got, findings) << sgf;
    }
}

TEST(TermLint, BannedWordsAndTermsBeforeTheirLesson) {
    EXPECT_EQ(LintLesson("body 活路を共有します。\n"),
              std::vector<std::string>{
                  "l.lesson:1: '共有' is too hard for a beginner: say it in plain words"});
    EXPECT_EQ(LintLesson("body シチョウで取ります。\n"),
              std::vector<std::string>{"l.lesson:1: 'シチョウ' is first taught in lesson 1-3-3, "
                                       "after this one (1-1-3)"});
    EXPECT_TRUE(LintLesson("body シチョウで取ります。\n", {1, 3, 3}).empty());
}

TEST(TermLint, GlossaryAndRegistryFaults) {
    Fixture fx;
    termlint::ParseGlossary("目 1-1-1\n目 1-1-2\nコウ 9-9-9\n地（じ） word\n", "g.txt",
                            fx.findings);
    const std::vector<std::string> questions = {"黒△をアタリにしましょう。", "シチョウです。"};
    termlint::ParseConcepts("0 △\n0 △ アタリ\n1 シチョウ ナカデ\n2 △\n", "c.txt", fx.glossary,
                            questions, fx.findings);
    EXPECT_EQ(Messages(fx.findings),
              (std::vector<std::string>{
                  "g.txt:2: '目' is listed twice (first on line 1)",
                  "g.txt:3: '9-9-9' is not a lesson (C-H-S), 'word' or 'banned'",
                  "g.txt:4: '地（じ）': only a term carries a reading",
                  "c.txt:1: question 0 says 'アタリ', which is not among its key words",
                  "c.txt:2: question 0 is listed twice (first on line 1)",
                  "c.txt:3: 'ナカデ' is not a term of g.txt",
                  "c.txt:4: a line starts with a question index 0..1, not '2'"}));
}

TEST(TermLint, ProblemsUseOnlyWhatALessonTaught) {
    Fixture fx;
    const std::vector<std::string> questions = {"黒の活路を押さえましょう。", "白△をシチョウで。",
                                                "アタリです。"};
    const termlint::Concepts concepts = termlint::ParseConcepts(
        "0 押さえ\n1 △ シチョウ\n2 アタリ\n", "c.txt", fx.glossary, questions, fx.findings);
    ASSERT_TRUE(fx.findings.empty());
    std::map<LessonId, termlint::TermUses> taught;
    taught[{1, 1, 1}] = termlint::LintLesson(fx.glossary, {1, 1, 1}, "1-1-1.lesson",
                                             "body アタリです。\n", fx.findings);
    taught[{1, 1, 3}] = termlint::LintLesson(fx.glossary, {1, 1, 3}, "1-1-3.lesson",
                                             "body ３目（もく）です。\n", fx.findings);
    ASSERT_TRUE(fx.findings.empty());
    const std::string sgf =
        "(;SC[1:3]QI[2]C[アタリです。])\n"
        "(;QI[0])\n"
        "(;QI[1](;B[aa]C[シチョウです。]))\n"
        "(;QI[7])\n";
    termlint::LintProblems(fx.glossary, concepts, {1, 1, 3}, "1-1-3.sgf", sgf, taught, fx.findings);
    termlint::LintTeaching(fx.glossary, taught, fx.findings);
    EXPECT_EQ(Messages(fx.findings),
              (std::vector<std::string>{
                  "1-1-3.sgf:2: problem 2: question 0 needs '押さえ', to be taught in lesson "
                  "1-1-3, which never uses it",
                  "1-1-3.sgf:3: 'シチョウ' is first taught in lesson 1-3-3, after this one (1-1-3)",
                  "1-1-3.sgf:3: problem 3: question 1 needs '△', to be taught in lesson 1-1-3, "
                  "which never uses it",
                  "1-1-3.sgf:3: problem 3: question 1 needs 'シチョウ', first taught in lesson "
                  "1-3-3, after this section",
                  "1-1-3.sgf:4: problem 4: question 7 is not in c.txt",
                  "g.txt:2: '目' is not used in lesson 1-1-1, which the glossary says first "
                  "teaches it",
                  "g.txt:3: '押さえ' is not used in lesson 1-1-3, which the glossary says first "
                  "teaches it",
                  "g.txt:5: '△' is not used in lesson 1-1-3, which the glossary says first "
                  "teaches it"}));
    // A section whose lessons teach everything passes; a missing lesson is named.
    fx.findings.clear();
    taught.erase({1, 1, 1});
    termlint::LintProblems(fx.glossary, concepts, {1, 1, 3}, "1-1-3.sgf", "(;QI[2])", taught,
                           fx.findings);
    EXPECT_EQ(Messages(fx.findings),
              std::vector<std::string>{"1-1-3.sgf:1: problem 1: question 2 needs 'アタリ', to be "
                                       "taught in lesson 1-1-1, which does not exist"});
}
