// The lesson compiler: each fault of a source, and the lesson lint, each rule once planted and
// once corrected. What it writes is read back by the program's loader (RoundTripTest.cpp).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../../tools/lessonc/LessonLint.h"

namespace {

// Compiles `source` as "t.lesson" and returns the errors as printed; with `lint`, a source
// that compiles is linted and the findings returned.
std::vector<std::string> Errors(const std::string& source, bool lint = false) {
    std::vector<lessonc::Diagnostic> found;
    const lessonc::CompileOptions options{"t.lesson", false};
    const lessonc::CompiledLesson lesson = lessonc::CompileLesson(source, options, found);
    if (lint && found.empty()) lessonc::LintLesson(lesson, options, found);
    std::vector<std::string> out;
    for (const auto& d : found) out.push_back(d.Format());
    return out;
}

// A valid one-page head (lines 1..3); cases append the line under test as line 4 onward.
const std::string kHead = "page\nboard 9\ncaption 石\n";

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

const std::string kRow = ". . . . . . . . .\n";
// 49 kanji are 98 bytes, plus "::" 100: one byte too many for a caption; two body lines of 62
// kanji join with "::" to 250 bytes, one too many; a line of the text window takes 18.
const std::string kKanji49 = Repeat("石", 49), kKanji62 = Repeat("石", 62),
                  kLine18 = Repeat("石", 18);

// 100 black stones with a white label are 200 pictures: they fit.
std::string HundredLabelledStones() {
    std::string out = "page\nboard 19\ncaption\nstep\n";
    for (int n = 0; n < 100; ++n)
        out += std::string("stone-label black ") + "abcdefghjklmnopqrst"[n / 19] +
               std::to_string(n % 19 + 1) + "\n";
    return out;
}

// Page head, lines 1..4: a 9 x 9 page with its window hidden, so only the rule under test speaks.
std::string Head(const std::string& body, const std::string& window = "hidden") {
    return "page\nboard 9\nwindow " + window + "\ncaption 図\nbody " + body + "\n";
}

using Found = std::vector<std::string>;

}  // namespace

TEST(LessoncErrors, ValidSourcesAtEveryLimitHaveNone) {
    for (const std::string& source :
         {kHead + "body 本文\nstep\nB e5\n", kHead + Repeat("step\n", 150),
          kHead + "step\n" + Repeat("B e5\n", 200), HundredLabelledStones(),
          "page\nboard 9\ncaption " + kKanji49 + ":\n",
          // Four full lines, each with a "。" allowed past the width, still fit.
          kHead + "body " + Repeat(kLine18 + "。", 4) + "\n"})
        EXPECT_EQ(Errors(source), std::vector<std::string>{}) << source;
}

TEST(LessoncErrors, EachFaultIsItsOneError) {
    const std::pair<std::string, std::string> faults[] = {
        {"# only a comment\n", "t.lesson: no page: a lesson starts each page with the line 'page'"},
        {"board 9\npage\nboard 9\ncaption\n", "t.lesson:1: 'board' before the first 'page'"},
        {kHead + "step\nstone e5\n", "t.lesson:5: unknown line 'stone'"},
        {kHead + "B e5\n", "t.lesson:4: 'B' is not a page field; board edits follow a 'step' line"},
        {"page\nboard 8\ncaption\n", "t.lesson:2: board is 6, 9, 13 or 19, not '8'"},
        {kHead + "auto-advance maybe\n",
         "t.lesson:4: 'auto-advance' is one of no, yes, not 'maybe'"},
        {kHead + "window open\n",
         "t.lesson:4: 'window' is one of hidden, shown, slide-in, slide-out, not 'open'"},
        {kHead + "board 13\n", "t.lesson:4: 'board' given twice (first on line 2)"},
        {kHead + "step\npose front\n",
         "t.lesson:5: 'pose' after the first step; page fields come first"},
        {"page\ncaption\n", "t.lesson:1: the page has no 'board' line"},
        {"page\nboard 9\n", "t.lesson:1: the page has no 'caption' line"},
        {"page\ncaption\nstep\n",
         "t.lesson:3: the page needs a 'board' line before its first step"},
        {kHead + "step\nB k1\n", "t.lesson:5: 'k1' is not a point of the 9 x 9 board"},
        {kHead + "step\nW a10\n", "t.lesson:5: 'a10' is not a point of the 9 x 9 board"},
        {kHead + "step\nmark\n", "t.lesson:5: 'mark' needs at least one point"},
        {kHead + "step\nnumber 64 at e5\n", "t.lesson:5: number is 1..63, not '64'"},
        {kHead + "step\nnumber 3 e5\n", "t.lesson:5: write a number as 'number N at POINT'"},
        {kHead + "step\narrow e5 up down\n",
         "t.lesson:5: no arrow picture shows these directions together"},
        {kHead + "step\narrow e5 north\n",
         "t.lesson:5: arrow direction is up, down, left, right or none, not 'north'"},
        {kHead + "step\nlabel 7 e5\n", "t.lesson:5: label is black, white or 1..6, not '7'"},
        {kHead + "step\nblink fast e5\n",
         "t.lesson:5: blink is stones, labels or steady, not 'fast'"},
        {kHead + "step\ndiagram\n" + Repeat(kRow, 4) + ". . .\n" + Repeat(kRow, 4),
         "t.lesson:10: diagram row has 3 points; the board has 9"},
        {kHead + "step\ndiagram\n" + Repeat(kRow, 8) + ". . . . Z . . . .\n",
         "t.lesson:14: 'Z' is not a diagram point (. X O B W M - 1..6)"},
        {kHead + "step\ndiagram\n" + Repeat(kRow, 2),
         "t.lesson:5: diagram has 2 rows; the board has 9"},
        {kHead + Repeat("step\n", 151), "t.lesson:154: more than 150 steps on the page"},
        // 201 edits of one point: one entry too many, while the board shows a single stone.
        {kHead + "step\n" + Repeat("B e5\n", 201),
         "t.lesson:4: step has 201 entries; at most 200 fit"},
        {HundredLabelledStones() + "step\nB t19\n",
         "t.lesson:105: step shows 201 pictures; at most 200 are drawn"},
        {"page\nboard 9\ncaption " + kKanji49 + "::\n",
         "t.lesson:3: caption is 100 bytes in Shift_JIS; at most 99 fit"},
        {kHead + "body " + kKanji62 + "\nbody " + kKanji62 + "\n",
         "t.lesson:4: body is 250 bytes in Shift_JIS; at most 249 fit"},
        {kHead + "body a\n", "t.lesson:4: body of one byte reads as empty; write it full-width"},
        {kHead + "body " + Repeat(kLine18, 4) + "石\n",
         "t.lesson:4: body takes 5 lines in the text window; at most 4 show (split the page)"},
        // Written line breaks count as well.
        {kHead + "body 一\nbody 二\nbody 三\nbody 四\nbody 五\n",
         "t.lesson:4: body takes 5 lines in the text window; at most 4 show (split the page)"},
        // U+1F600 and the Korean syllable have no Shift_JIS form; neither does broken UTF-8.
        {"page\nboard 9\ncaption 碁\xF0\x9F\x98\x80\n",
         "t.lesson:3: caption has a character that Shift_JIS (code page 932) cannot hold, or is "
         "not UTF-8"},
        {kHead + "body 바둑\n",
         "t.lesson:4: body has a character that Shift_JIS (code page 932) cannot hold, or is not "
         "UTF-8"},
        {kHead + "body \xFF\xFE\n",
         "t.lesson:4: body has a character that Shift_JIS (code page 932) cannot hold, or is not "
         "UTF-8"},
    };
    for (const auto& [source, message] : faults) {
        SCOPED_TRACE(source);
        const std::vector<std::string> e = Errors(source);
        ASSERT_EQ(e.size(), 1u) << ::testing::PrintToString(e);
        EXPECT_EQ(e[0], message);
    }
}

TEST(LessoncErrors, EveryErrorOfAFileIsReported) {
    EXPECT_EQ(Errors("page\nboard 9\ncaption\nstep\nB z1\nnumber 0 at a1\nfoo\n"),
              (std::vector<std::string>{"t.lesson:5: 'z1' is not a point of the 9 x 9 board",
                                        "t.lesson:6: number is 1..63, not '0'",
                                        "t.lesson:7: unknown line 'foo'"}));
}

// Each rule once planted and once corrected; a page without finding maps to "".
TEST(LessonLint, EachRuleFindsItsFaultAndPassesTheCorrectedPage) {
    const std::string surround = Head("取ります。") + "step\nB d5 e6 f5\nW e5\nstep\nB e4\n";
    const std::string captured = Head("取ります。") + "step\nB d5 e6 f5\nW e5 d4\n";
    const std::string wall = "step\nB e9 e8 e7 e6 e5 e4 e3 e2 e1\nW f9 f8 f7 f6 f5 f4 f3 f2 f1\n";
    const std::string prisoners = Head("アゲハマを相手の地に入れます。") + wall;
    const std::string atari = "step\nB d5 e6\nstone-label white-8 e5\n";
    const std::string dead = Head("死に石を取り上げます。") + "step\nB d5\nstep\nclear d5\n";
    const std::pair<std::string, std::string> cases[] = {
        {surround,
         "t.lesson:9: white stones e5 have no liberty after this step: clear them in "
         "the step that captures them [no-liberty]"},
        {surround + "clear e5\n", ""},
        // The right and lower edges of a 13 x 13 board are open: n7 still breathes beyond them.
        {"page\nboard 13\nwindow hidden\ncaption 図\nstep\nB m7 n8 n6\nW n7\n", ""},
        {captured + "step\nB e4\nclear e5 d4\n",
         "t.lesson:11: clear of the white stone at d4, which has liberties: only captured stones "
         "leave the board [clear]"},
        // A group goes in one clear line or several, once its last liberty is filled.
        {Head("取ります。") +
             "step\nB d5 e6 f6 g5 d4 f4\nW e5 f5\nstep\nB e4\nclear e5\nclear f5\n",
         ""},
        {prisoners + "step\nW a1\n",
         "t.lesson:10: white stone at a1 fills black's territory: a prisoner fills the territory "
         "of its own colour [prisoner]"},
        {prisoners + "step\nW j1\n", ""},
        // Without prisoners in the text a stone in the opponent's area is a move, not a fill.
        {Head("白が打ちこみます。") + wall + "step\nW a1\n", ""},
        {Head("黒の地は３５目、白の地は２７目です。") + wall,
         "t.lesson:5: the text says black has 35 points of territory; the final position has 36 "
         "[count]"},
        {Head("黒の地は３６目、白の地は二十七目です。コミは６目半。") + wall, ""},
        {Head("白△の活路は３つです。") + atari,
         "t.lesson:5: the text gives the white marked stones 3 liberties; on the final position "
         "e5 have 2 [count]"},
        {Head("白△の活路は右と下の二つです。") + atari, ""},
        {Head("見ます。", "shown") + "step\nB c2\nB d3\nnumber 1 at h1\n",
         "t.lesson:9: d3 h1 lie under the text window at the end of the page: move the diagram or "
         "give the page another window mode [under-window]"},
        {Head("見ます。", "slide-out") + "step\nB d3\n", ""},
        {dead + "# lint-allow clear: dead stones are taken off at the end\n", ""},
        {dead + "# lint-allow clear\n",
         "t.lesson:10: lint-allow needs a reason after the rule: '# lint-allow RULE: why'"},
    };
    for (const auto& [source, finding] : cases)
        EXPECT_EQ(Errors(source, true), finding.empty() ? Found{} : Found{finding}) << source;
}
