#include <gtest/gtest.h>
#include "common/Cp932.h"

#include "../../../tools/sgf2problem/RepeatLint.h"
#include "CompileTestSupport.h"

using sgfc_test::Errors;
using sgfc_test::OneError;

namespace {

// A valid sequence problem of section 1:3 (28 problems), to be spoiled by one change.
const std::string kHead = "(;SZ[19]SC[1:3]KD[sequence]QI[4]\nAB[aa]AW[ba]\n";

}  // namespace

TEST(Sgf2ProblemErrors, AValidProblemHasNone) {
    EXPECT_TRUE(Errors(kHead + "(;B[ca]C[RIGHT]))").empty());
}

TEST(Sgf2ProblemErrors, SyntaxErrorGivesFileLineAndColumn) {
    EXPECT_EQ(OneError(kHead + "(;B[ca]C[RIGHT])\n(;B[cb] ;W)"),
              "t.sgf:4: column 11: property W has no value");
}

TEST(Sgf2ProblemErrors, ProblemWithoutRightLineIsRejected) {
    EXPECT_EQ(OneError(kHead + "(;B[ca]C[good])(;B[cb]C[WRONG]))"),
              "t.sgf:1: problem 1: no correct answer: no variation ends in a comment "
              "containing RIGHT");
    // RIGHT only counts in the last node of a line.
    EXPECT_EQ(Errors(kHead + "(;B[ca]C[RIGHT];W[da]))").size(), 1u);
    EXPECT_NE(OneError("(;SC[1:3]KD[ox]QI[2])").find("problem 1: no correct answer: OX"),
              std::string::npos);
    EXPECT_NE(OneError("(;SC[1:3]KD[number]QI[31])").find("no correct answer: NU"),
              std::string::npos);
    EXPECT_NE(OneError("(;SC[1:3]KD[texts]QI[0])").find("no correct answer: CH"),
              std::string::npos);
}

TEST(Sgf2ProblemErrors, TooManyStonesForTheRecordIsRejected) {
    // 190 setup stones plus a branch header and 10 moves is 201 entries, one too many.
    std::string moves;
    const char* cols = "abcdefghij";
    for (int i = 0; i < 10; ++i) {
        moves += std::string(";") + (i % 2 == 0 ? "B" : "W") + "[" + cols[i] + "r]";
    }
    const std::string full = "(;SC[1:3]KD[sequence]QI[4]\nAB[aa:sj]\n(" + moves + "C[RIGHT]))";
    EXPECT_EQ(OneError(full),
              "t.sgf:1: problem 1: too many stones: 190 setup entries and 11 "
              "answer entries exceed the 200 of a problem");
    // Nine moves fit exactly.
    const std::string fits = "(;SC[1:3]KD[sequence]QI[4]\nAB[aa:sj]\n(" +
                             moves.substr(0, moves.size() - 6) + "C[RIGHT]))";
    EXPECT_TRUE(Errors(fits).empty());
}

TEST(Sgf2ProblemErrors, TextLimitsAreCheckedInShiftJisBytes) {
    // 20 kanji are 40 bytes in Shift_JIS: one too many. 19 fit.
    std::string twenty;
    for (int i = 0; i < 20; ++i) twenty += "石";
    const std::string nineteen = twenty.substr(0, twenty.size() - 3);
    EXPECT_EQ(OneError("(;SZ[13]SC[1:3]KD[texts]QI[0]\nCH[a][" + twenty + "][c])"),
              "t.sgf:2: problem 1: text 2 is 40 bytes in Shift_JIS (1..39 allowed)");
    EXPECT_TRUE(Errors("(;SZ[13]SC[1:3]KD[texts]QI[0]\nCH[a][" + nineteen + "][c])").empty());
    EXPECT_NE(OneError("(;SC[1:3]KD[texts]QI[0]CH[a][b][])").find("text 3 is 0 bytes"),
              std::string::npos);
}

TEST(Sgf2ProblemErrors, TextOutsideCp932IsRejected) {
    EXPECT_EQ(OneError("(;SC[1:3]KD[texts]QI[0]\n\nCH[한글][b][c])"),
              "t.sgf:3: problem 1: text 1 '한글' has a character outside Shift_JIS (CP932)");
    EXPECT_FALSE(tools::Utf8ToCp932("\xFF\xFE").has_value()) << "invalid UTF-8";
    EXPECT_EQ(tools::Utf8ToCp932("黒～"), std::string("\x8D\x95\x81\x60"));
}

TEST(Sgf2ProblemErrors, UnknownKindAndBadIndicesAreRejected) {
    EXPECT_EQ(OneError("(;SC[1:3]\nKD[riddle]QI[0])"),
              "t.sgf:2: problem 1: unknown kind KD[riddle] (sequence, ox, letter, points, number, "
              "texts or shown)");
    EXPECT_EQ(OneError("(;SC[1:3]QI[0])"),
              "t.sgf:1: problem 1: no problem kind (KD) in the first node");
    EXPECT_EQ(OneError("(;SC[1:3]KD[ox]OX[o]QI[57])"),
              "t.sgf:1: problem 1: QI[57] is out of range 0..56");
    EXPECT_EQ(OneError("(;SC[1:3]KD[ox]OX[o]QI[1]CI[5])"),
              "t.sgf:1: problem 1: CI[5] is out of range 0..4");
    EXPECT_EQ(OneError("(;SC[1:3]KD[ox]OX[maybe]QI[1])"), "t.sgf:1: problem 1: OX must be o or x");
}

TEST(Sgf2ProblemErrors, ErrorsNameTheProblemAndTheOthersAreStillChecked) {
    const std::vector<std::string> e = Errors(
        "(;SC[1:3]KD[ox]OX[o]QI[1])\n(;KD[ox]QI[1])\n(;KD[number]NU[5]QI[1])\n(;KD[nope]QI[1])");
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0], "t.sgf:2: problem 2: no correct answer: OX[o] or OX[x] is missing");
    EXPECT_NE(e[1].find("t.sgf:4: problem 4: unknown kind"), std::string::npos);
}

TEST(Sgf2ProblemErrors, BoardAndLineRules) {
    // On a 13 board every point lies in the corner the loader shows.
    EXPECT_NE(OneError("(;SZ[13]SC[1:3]KD[ox]OX[o]QI[1]AB[ma])").find("columns a..l, rows a..k"),
              std::string::npos);
    EXPECT_NE(OneError("(;SZ[9]SC[1:3]KD[ox]OX[o]QI[1])").find("13 or 19"), std::string::npos);
    // A corner problem on the 19 board keeps its answers in the corner.
    EXPECT_NE(OneError("(;SC[1:3]KD[sequence]QI[4]AB[as](;B[pd]C[RIGHT]))")
                  .find("outside the corner window"),
              std::string::npos);
    EXPECT_NE(OneError(kHead + "(;B[ca];B[da]C[RIGHT]))").find("alternate, black first"),
              std::string::npos);
    EXPECT_NE(OneError(kHead + "(;B[ba]C[RIGHT]))").find("occupied point"), std::string::npos);
    EXPECT_NE(OneError("(;SC[1:3]PL[W]KD[sequence]QI[4]AB[aa](;W[ca]C[RIGHT]))")
                  .find("starts with black"),
              std::string::npos);
    EXPECT_NE(OneError("(;SC[1:3]KD[letter]QI[8]AB[aa]LB[ba:ア](;B[ca]C[RIGHT]))")
                  .find("must be on a letter"),
              std::string::npos);
    EXPECT_NE(
        OneError("(;SC[1:3]KD[letter]QI[8]LB[ba:エ](;B[ba]C[RIGHT]))").find("neither ア, イ, ウ"),
        std::string::npos);
    EXPECT_NE(OneError("(;SC[1:3]KD[ox]OX[o]QI[1](;B[aa]))").find("takes no moves"),
              std::string::npos);
    EXPECT_NE(OneError("(;SZ[13]SC[1:3]KD[shown]QI[1];B[aa])").find("SZ[19]"), std::string::npos);
    std::string pts = "(;SC[1:3]KD[points]QI[6](";
    for (int i = 0; i < 17; ++i) pts += std::string(";B[") + char('a' + i) + "a]";
    EXPECT_NE(OneError(pts + "C[RIGHT]))").find("1..16 answer points"), std::string::npos);
    std::string eleven = "(;SC[1:3]KD[sequence]QI[4]";
    for (int i = 0; i < 11; ++i) eleven += std::string("(;B[") + char('a' + i) + "a]C[RIGHT])";
    EXPECT_NE(OneError(eleven + ")").find("more than 10 correct lines"), std::string::npos);
}

TEST(Sgf2ProblemErrors, SectionRules) {
    EXPECT_EQ(OneError("(;KD[ox]OX[o]QI[1])"),
              "t.sgf:1: the first problem must name its section: SC[chapter:section]");
    EXPECT_EQ(OneError("(;SC[1:1]KD[ox]OX[o]QI[1])"),
              "t.sgf:1: course 1 has no problems in chapter 1 section 1");
    EXPECT_NE(OneError("(;SC[1:3]KD[ox]OX[o]QI[1])(;SC[1:4]KD[ox]OX[o]QI[1])")
                  .find("problem 2: SC differs"),
              std::string::npos);
    // Section 1:8 of course 1 holds 10 problems.
    std::string eleven;
    for (int i = 0; i < 11; ++i) eleven += "(;SC[1:8]KD[ox]OX[o]QI[1])\n";
    EXPECT_EQ(OneError(eleven), "t.sgf:11: problem 11: the section holds only 10 problems");

    std::vector<sgf2problem::Diagnostic> errors;
    std::vector<sgf2problem::SectionBlock> sections;
    sections.push_back(
        sgf2problem::CompileSectionText("(;SC[1:3]KD[ox]OX[o]QI[1])", "a.sgf", 0, errors));
    sections.push_back(
        sgf2problem::CompileSectionText("(;SC[1:3]KD[ox]OX[x]QI[1])", "b.sgf", 0, errors));
    ASSERT_TRUE(errors.empty());
    sgf2problem::CourseFileBytes(0, sections, errors);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Format(), "b.sgf:1: section 1:3 also comes from a.sgf");
}

namespace {

std::vector<std::string> LintErrors(const std::string& sgfText) {
    std::vector<sgf2problem::Diagnostic> errors;
    sgf2problem::LintSectionText(sgfText, "t.sgf", 0, errors);
    std::vector<std::string> out;
    // The explanation rule has its own tests (ExplanationsTest.cpp).
    for (const auto& d : errors) {
        if (d.rule != sgf2problem::kExplainRule) out.push_back(d.Format());
    }
    return out;
}

// `n` copies of a problem that passes every lint, the first naming section 1:3.
std::string Sound(int n) {
    std::string text = "(;SC[1:3]SZ[13]KD[ox]QI[2]AW[dd]TR[dd]OX[x])\n";
    for (int i = 1; i < n; ++i) text += "(;SZ[13]KD[points]QI[39]AB[dd](;B[dc]C[RIGHT]))\n";
    return text;
}

}  // namespace

TEST(Sgf2ProblemLint, EachFaultOfASectionSourceIsFound) {
    EXPECT_EQ(LintErrors(Sound(28)), std::vector<std::string>{});
    EXPECT_EQ(LintErrors(Sound(27)),
              std::vector<std::string>{"t.sgf:1: the section needs 28 problems, the file has 27"});
    // Counting, ○/× and "位置を選択" questions each with a kind that cannot answer them.
    std::string misfits = Sound(25) +
                          "(;KD[texts]QI[39]CH[a][b][c])\n"
                          "(;KD[number]QI[2]NU[3])\n"
                          "(;KD[ox]QI[31]OX[o])\n";
    EXPECT_EQ(LintErrors(misfits),
              (std::vector<std::string>{
                  "t.sgf:26: problem 26: question 39 does not fit kind texts; it needs points "
                  "or letter",
                  "t.sgf:27: problem 27: question 2 does not fit kind number; it needs ox",
                  "t.sgf:28: problem 28: question 31 does not fit kind ox; it needs number"}));
    const std::string marks = Sound(27) + "(;SZ[13]KD[ox]QI[2]AB[dd:ee]TR[ee][ff]OX[o])\n";
    EXPECT_EQ(LintErrors(marks),
              std::vector<std::string>{"t.sgf:28: problem 28: the mark TR[ff] is on an empty "
                                       "point, where it is not drawn"});
    const std::string shown = Sound(27) + "(;KD[shown]QI[1]AB[dd];B[pp])\n";
    EXPECT_EQ(LintErrors(shown),
              std::vector<std::string>{"t.sgf:28: problem 28: no shown problems in course 1: "
                                       "nothing in them is judged"});
}

namespace {

// Lints the opening positions of several section sources as one course.
std::vector<std::string> RepeatErrors(const std::vector<std::string>& sources) {
    std::vector<sgf2problem::ProblemPosition> course;
    for (size_t i = 0; i < sources.size(); ++i) {
        const auto found = sgf2problem::SectionPositions(sgf::ParseCollection(sources[i]),
                                                         "s" + std::to_string(i) + ".sgf");
        course.insert(course.end(), found.begin(), found.end());
    }
    std::vector<sgf2problem::Diagnostic> errors;
    sgf2problem::LintRepeatedPositions(course, 0, errors);
    std::vector<std::string> out;
    for (const auto& d : errors) out.push_back(d.Format().substr(0, d.Format().find(" (")));
    return out;
}

}  // namespace

TEST(Sgf2ProblemLint, AReviewProblemMustNotRepeatAnyPositionOfTheCourse) {
    // Black a2 b2, white a1 in the top-left corner of a 13 board, in chapter 4.
    const std::string earlier = "(;SC[4:2]SZ[13]AB[ab][bb]AW[aa])\n";
    // The same turned into the top-right corner (the window's edge is column m) with the
    // colours swapped and drawn as a range: a copy.
    EXPECT_EQ(RepeatErrors({earlier, "(;SC[6:1]SZ[13]AB[ma]AW[lb:mb])\n"}),
              std::vector<std::string>{"s1.sgf:1: problem 1: the position repeats problem 1 of "
                                       "4-2"});
    // Two review problems repeating each other are both named; a moved copy away from the
    // edges is still a copy, while the same stones against the edge are a new position.
    EXPECT_EQ(
        RepeatErrors({"(;SC[6:2]SZ[13]AB[dd][ee])\n(;SZ[13]AB[ff][gg])\n(;SZ[13]AB[aa][bb])\n"}),
        (std::vector<std::string>{"s0.sgf:1: problem 1: the position repeats problem 2 of "
                                  "6-2",
                                  "s0.sgf:2: problem 2: the position repeats problem 1 of "
                                  "6-2"}));
    // Outside the review chapter a repeat is allowed (sets turn their key shapes on purpose).
    EXPECT_EQ(RepeatErrors({earlier, "(;SC[4:3]SZ[13]AB[ab][bb]AW[aa])\n"}),
              std::vector<std::string>{});
}
