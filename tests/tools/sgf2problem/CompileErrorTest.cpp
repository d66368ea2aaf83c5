#include <gtest/gtest.h>

#include <tuple>

#include "../../../tools/sgf2problem/RepeatLint.h"
#include "../../../tools/sgf2problem/SgfParser.h"
#include "CompileTestSupport.h"
#include "common/Cp932.h"

using sgfc_test::Errors;
using sgfc_test::LintFindings;

namespace {

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// A valid sequence problem of section 1:3 (28 problems), to be spoiled by one change.
const std::string kHead = "(;SZ[19]SC[1:3]KD[sequence]QI[4]\nAB[aa]AW[ba]\n";
// 190 setup stones and ten alternating moves a..j on row r: with the branch header, one entry
// more than a problem holds.
const std::string kFull =
    "(;SC[1:3]KD[sequence]QI[4]\nAB[aa:sj]\n(;B[ar];W[br];B[cr];W[dr];"
    "B[er];W[fr];B[gr];W[hr];B[ir];W[jr]C[RIGHT]))";
const std::string kFits =
    "(;SC[1:3]KD[sequence]QI[4]\nAB[aa:sj]\n(;B[ar];W[br];B[cr];W[dr];"
    "B[er];W[fr];B[gr];W[hr];B[ir]C[RIGHT]))";
// 20 kanji are 40 bytes in Shift_JIS: one too many. 19 fit.
const std::string kTwenty = Repeat("石", 20), kNineteen = Repeat("石", 19);

// `n` copies of a problem that passes every lint, the first naming section 1:3.
std::string Sound(int n) {
    std::string text = "(;SC[1:3]SZ[13]KD[ox]QI[2]AW[dd]TR[dd]OX[x])\n";
    for (int i = 1; i < n; ++i) text += "(;SZ[13]KD[points]QI[39]AB[dd](;B[dc]C[RIGHT]))\n";
    return text;
}

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

// The line and column of the syntax error in `text`, as "line:column".
std::string ErrorAt(const std::string& text) {
    try {
        sgf::ParseCollection(text);
    } catch (const sgf::SyntaxError& e) {
        return std::to_string(e.Line()) + ":" + std::to_string(e.Column());
    }
    return "no error";
}

}  // namespace

TEST(Sgf2ProblemErrors, ValidProblemsHaveNone) {
    for (const std::string& sgf : {kHead + "(;B[ca]C[RIGHT]))", kFits,
                                   "(;SZ[13]SC[1:3]KD[texts]QI[0]\nCH[a][" + kNineteen + "][c])"})
        EXPECT_EQ(Errors(sgf), std::vector<std::string>{}) << sgf;
}

// Each fault alone; a message starting with the file name is the whole error, any other a part.
TEST(Sgf2ProblemErrors, EachFaultOfAProblemIsItsOneError) {
    std::string points = "(;SC[1:3]KD[points]QI[6](";
    for (int i = 0; i < 17; ++i) points += std::string(";B[") + char('a' + i) + "a]";
    std::string lines = "(;SC[1:3]KD[sequence]QI[4]";
    for (int i = 0; i < 11; ++i) lines += std::string("(;B[") + char('a' + i) + "a]C[RIGHT])";
    const std::pair<std::string, std::string> faults[] = {
        {kHead + "(;B[ca]C[RIGHT])\n(;B[cb] ;W)", "t.sgf:4: column 11: property W has no value"},
        {kHead + "(;B[ca]C[good])(;B[cb]C[WRONG]))",
         "t.sgf:1: problem 1: no correct answer: no variation ends in a comment containing RIGHT"},
        {kHead + "(;B[ca]C[RIGHT];W[da]))", "no correct answer"},  // only a line's last node
        {"(;SC[1:3]KD[ox]QI[2])", "problem 1: no correct answer: OX"},
        {"(;SC[1:3]KD[number]QI[31])", "no correct answer: NU"},
        {"(;SC[1:3]KD[texts]QI[0])", "no correct answer: CH"},
        {kFull,
         "t.sgf:1: problem 1: too many stones: 190 setup entries and 11 answer entries "
         "exceed the 200 of a problem"},
        {"(;SZ[13]SC[1:3]KD[texts]QI[0]\nCH[a][" + kTwenty + "][c])",
         "t.sgf:2: problem 1: text 2 is 40 bytes in Shift_JIS (1..39 allowed)"},
        {"(;SC[1:3]KD[texts]QI[0]CH[a][b][])", "text 3 is 0 bytes"},
        {"(;SC[1:3]KD[texts]QI[0]\n\nCH[한글][b][c])",
         "t.sgf:3: problem 1: text 1 '한글' has a character outside Shift_JIS (CP932)"},
        {"(;SC[1:3]\nKD[riddle]QI[0])",
         "t.sgf:2: problem 1: unknown kind KD[riddle] (sequence, "
         "ox, letter, points, number, texts or shown)"},
        {"(;SC[1:3]QI[0])", "t.sgf:1: problem 1: no problem kind (KD) in the first node"},
        {"(;SC[1:3]KD[ox]OX[o]QI[57])", "t.sgf:1: problem 1: QI[57] is out of range 0..56"},
        {"(;SC[1:3]KD[ox]OX[o]QI[1]CI[5])", "t.sgf:1: problem 1: CI[5] is out of range 0..4"},
        {"(;SC[1:3]KD[ox]OX[maybe]QI[1])", "t.sgf:1: problem 1: OX must be o or x"},
        // On a 13 board every point lies in the corner the loader shows.
        {"(;SZ[13]SC[1:3]KD[ox]OX[o]QI[1]AB[ma])", "columns a..l, rows a..k"},
        {"(;SZ[9]SC[1:3]KD[ox]OX[o]QI[1])", "13 or 19"},
        {"(;SC[1:3]KD[sequence]QI[4]AB[as](;B[pd]C[RIGHT]))", "outside the corner window"},
        {kHead + "(;B[ca];B[da]C[RIGHT]))", "alternate, black first"},
        {kHead + "(;B[ba]C[RIGHT]))", "occupied point"},
        {"(;SC[1:3]PL[W]KD[sequence]QI[4]AB[aa](;W[ca]C[RIGHT]))", "starts with black"},
        {"(;SC[1:3]KD[letter]QI[8]AB[aa]LB[ba:ア](;B[ca]C[RIGHT]))", "must be on a letter"},
        {"(;SC[1:3]KD[letter]QI[8]LB[ba:エ](;B[ba]C[RIGHT]))", "neither ア, イ, ウ"},
        {"(;SC[1:3]KD[ox]OX[o]QI[1](;B[aa]))", "takes no moves"},
        {"(;SZ[13]SC[1:3]KD[shown]QI[1];B[aa])", "SZ[19]"},
        {points + "C[RIGHT]))", "1..16 answer points"},
        {lines + ")", "more than 10 correct lines"},
        {"(;KD[ox]OX[o]QI[1])",
         "t.sgf:1: the first problem must name its section: "
         "SC[chapter:section]"},
        {"(;SC[1:1]KD[ox]OX[o]QI[1])", "t.sgf:1: course 1 has no problems in chapter 1 section 1"},
        {"(;SC[1:3]KD[ox]OX[o]QI[1])(;SC[1:4]KD[ox]OX[o]QI[1])", "problem 2: SC differs"},
        {Repeat("(;SC[1:8]KD[ox]OX[o]QI[1])\n", 11),  // section 1:8 of course 1 holds 10
         "t.sgf:11: problem 11: the section holds only 10 problems"},
        // What the explanation file cannot hold.
        {"(;SZ[13]SC[1:3]KD[sequence]QI[4]CR[x](;B[aa]C[RIGHT]))", "CR and CW"},
        {"(;SC[1:3]KD[texts]QI[0]CH[a][b][c]CW[1][2][3])", "CW takes"},
        {"(;SC[1:3]KD[ox]QI[2]OX[o]C[\xF0\x9F\x98\x80])", "Shift_JIS"},
        {"(;SC[1:3]KD[ox]QI[2]OX[o]C[" + std::string(401, 'a') + "])", "401 bytes"},
    };
    for (const auto& [sgf, message] : faults) {
        SCOPED_TRACE(sgf);
        const std::vector<std::string> e = Errors(sgf);
        ASSERT_EQ(e.size(), 1u) << ::testing::PrintToString(e);
        if (message.starts_with("t.sgf:"))
            EXPECT_EQ(e[0], message);
        else
            EXPECT_NE(e[0].find(message), std::string::npos) << e[0];
    }
    EXPECT_EQ(tools::Utf8ToCp932("黒～"), std::string("\x8D\x95\x81\x60"));
}

TEST(Sgf2ProblemErrors, ErrorsNameTheProblemAndTheOthersAreStillChecked) {
    const std::vector<std::string> e = Errors(
        "(;SC[1:3]KD[ox]OX[o]QI[1])\n(;KD[ox]QI[1])\n(;KD[number]NU[5]QI[1])\n(;KD[nope]QI[1])");
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0], "t.sgf:2: problem 2: no correct answer: OX[o] or OX[x] is missing");
    EXPECT_NE(e[1].find("t.sgf:4: problem 4: unknown kind"), std::string::npos);

    std::vector<sgf2problem::Diagnostic> errors;
    const std::vector<sgf2problem::SectionBlock> sections{
        sgf2problem::CompileSectionText("(;SC[1:3]KD[ox]OX[o]QI[1])", "a.sgf", 0, errors),
        sgf2problem::CompileSectionText("(;SC[1:3]KD[ox]OX[x]QI[1])", "b.sgf", 0, errors)};
    ASSERT_TRUE(errors.empty());
    sgf2problem::CourseFileBytes(0, sections, errors);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Format(), "b.sgf:1: section 1:3 also comes from a.sgf");
}

TEST(Sgf2ProblemLint, EachFaultOfASectionSourceIsFound) {
    EXPECT_EQ(LintFindings(Sound(27)),
              std::vector<std::string>{"t.sgf:1: the section needs 28 problems, the file has 27"});
    // Counting, ○/× and "位置を選択" questions each with a kind that cannot answer them.
    std::string misfits = Sound(25) +
                          "(;KD[texts]QI[39]CH[a][b][c])\n"
                          "(;KD[number]QI[2]NU[3])\n"
                          "(;KD[ox]QI[31]OX[o])\n";
    EXPECT_EQ(LintFindings(misfits),
              (std::vector<std::string>{
                  "t.sgf:26: problem 26: question 39 does not fit kind texts; it needs points "
                  "or letter",
                  "t.sgf:27: problem 27: question 2 does not fit kind number; it needs ox",
                  "t.sgf:28: problem 28: question 31 does not fit kind ox; it needs number"}));
    const std::string marks = Sound(27) + "(;SZ[13]KD[ox]QI[2]AB[dd:ee]TR[ee][ff]OX[o])\n";
    EXPECT_EQ(LintFindings(marks),
              std::vector<std::string>{"t.sgf:28: problem 28: the mark TR[ff] is on an empty "
                                       "point, where it is not drawn"});
    const std::string shown = Sound(27) + "(;KD[shown]QI[1]AB[dd];B[pp])\n";
    EXPECT_EQ(LintFindings(shown),
              std::vector<std::string>{"t.sgf:28: problem 28: no shown problems in course 1: "
                                       "nothing in them is judged"});
}

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

TEST(SgfParser, ValuesKeepUtf8AndResolveEscapes) {
    const auto trees =
        sgf::ParseCollection("\xEF\xBB\xBF(;C[a\\]b\\\\c]LB[aa:ア]GC[one\\\ntwo]N[\\x])");
    const sgf::Node& n = trees[0].nodes[0];
    // An escaped line break is removed.
    EXPECT_EQ(std::tuple(n.Find("C")->values[0], n.Find("LB")->values[0], n.Find("GC")->values[0],
                         n.Find("N")->values[0]),
              std::tuple("a]b\\c", "aa:ア", "onetwo", "x"));
}

TEST(SgfParser, SyntaxErrorsCarryTheirPositionAndDeepNestingIsRefused) {
    // Empty file, missing ')', unterminated value (at its '['), property without value, node
    // without ';', text after the last tree, lower-case property, stray ']'.
    std::vector<std::string> at;
    for (const char* text : {"", "(;B[aa]", "(;B[aa]\n;W[bb", "(;B[aa]\n  AB )", "(B[aa])",
                             "(;B[aa])x", "(;b[aa])", "(;B[aa]]"})
        at.push_back(ErrorAt(text));
    EXPECT_EQ(at,
              (std::vector<std::string>{"1:1", "1:8", "2:3", "2:6", "1:2", "1:9", "1:3", "1:8"}));
    EXPECT_NE(ErrorAt(Repeat("(;B[aa]", 200000)), "no error") << "deep nesting is refused";
}
