#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <tuple>

#include "../../../tools/common/FileIO.h"
#include "CompileTestSupport.h"
#include "problem/ProblemExplanations.h"
#include "problem/ProblemFile.h"
#include "support/Built.h"
#include "support/ScratchDir.h"

namespace {

// Compiles the SGF texts as course 1 and loads (chapter, section), 1-based, with the
// program's own loader.
std::vector<ProblemRecord> CompileAndLoad(const std::vector<std::string>& texts, int chapterNo,
                                          int sectionNo) {
    std::vector<sgf2problem::Diagnostic> errors;
    std::vector<sgf2problem::SectionBlock> sections;
    for (const std::string& t : texts) {
        sections.push_back(sgf2problem::CompileSectionText(t, "t.sgf", 0, errors));
    }
    const std::vector<uint8_t> bytes = sgf2problem::CourseFileBytes(0, sections, errors);
    for (const auto& e : errors) ADD_FAILURE() << e.Format();
    testsupport::ScratchDir dir;
    EXPECT_TRUE(testsupport::WriteBytes(dir / "PROBLEM/1-problem.dat", bytes));
    auto progress = std::make_unique<ProgressState>();
    progress->m_course = 0;
    ProblemBoard board;
    EXPECT_TRUE(LoadProblemSet(board, *progress, chapterNo - 1, sectionNo - 1, dir / "PROBLEM/"));
    return board.records;
}

}  // namespace

// typeByte, setupCount, answerParam, turn, caption, question.
auto Head(const ProblemRecord& r) {
    return std::tuple(r.typeByte, r.setupCount, r.answerParam, r.turn, r.caption, r.question);
}
using Head6 = std::tuple<int, int, int, int, int, int>;
std::vector<StoneEntry> Slots(const ProblemRecord& r, int from, int to) {
    return {r.slots + from, r.slots + to};
}

TEST(Sgf2ProblemRoundTrip, ExampleCollectionLoadsAsWritten) {
    const std::vector<ProblemRecord> r = CompileAndLoad(
        {tools::ReadText(std::string(STONEWELL_SOURCE_DIR) + "/data/problems/example.sgf")}, 1, 3);
    ASSERT_EQ(r.size(), 28u);
    // 1: sequence on the 13 board; the marked white stone (aux 0 at slot 3), a branch of one
    // move and the single answer move; the wrong line is not compiled (aux 0 at slot 6).
    EXPECT_EQ(Head(r[0]), Head6(6, 4, 1, 0, 2, 4));
    EXPECT_EQ(Slots(r[0], 3, 4), (std::vector<StoneEntry>{{3, 2, 2, 0}}));
    EXPECT_EQ(Slots(r[0], 5, 6), (std::vector<StoneEntry>{{0, 2, 3, 1}}));
    EXPECT_EQ(std::tuple(r[0].slots[4].aux, r[0].slots[6].aux), std::tuple(1, 0));
    // 2: the white stone is in atari: o. 3: letters; the answer is the first (entry kind 4).
    EXPECT_EQ(std::tuple(r[1].typeByte, r[1].answerParam, r[1].turn), std::tuple(2, 1, 255));
    EXPECT_EQ(std::tuple(r[2].typeByte, r[2].setupCount, r[2].answerParam), std::tuple(3, 6, 4));
    EXPECT_EQ(Slots(r[2], 4, 6), (std::vector<StoneEntry>{{4, 5, 6, 0}, {5, 6, 6, 1}}));
    EXPECT_EQ(r[2].slots[7], (StoneEntry{7, 5, 6, 0}));
    EXPECT_EQ(r[3].typeByte, 0) << "only three problems";
}

TEST(Sgf2ProblemRoundTrip, EveryKindReachesItsRecord) {
    const std::string text =
        // 1: full-board sequence with two correct lines and a wrong one; rows unflipped.
        "(;SC[2:1]KD[sequence]QI[40]AB[pd]AW[qd]TR[qd]\n"
        "(;B[qc];W[pc];B[rd]C[RIGHT])(;B[qe]C[RIGHT])(;B[re]C[no]))\n"
        // 2: mark all points, two of them.
        "(;SZ[13]SC[2:1]KD[points]QI[6]AB[bb]AW[cb][db](;B[cb];W[db]C[RIGHT]))\n"
        // 3: number.
        "(;SC[2:1]KD[number]NU[12]QI[31]AB[aa])\n"
        // 4: three texts; problem index 3 shows text 2 first and the correct one last.
        "(;SZ[13]SC[2:1]KD[texts]QI[0]AB[ba]CH[黒][白][石])\n"
        // 5: shown sequence: the main line (first variations) becomes numbered stones.
        "(;SC[2:1]KD[shown]QI[1]AB[dd]LB[dd:7];B[pp];W[pq](;B[qq])(;B[aa]))\n"
        // 6: ○/× with ×.
        "(;SC[2:1]KD[ox]OX[x]QI[10]AB[aa])";
    const std::vector<ProblemRecord> r = CompileAndLoad({text}, 2, 1);
    ASSERT_EQ(r.size(), 52u);
    // Two branches, of 3 and 1 moves.
    EXPECT_EQ(std::tuple(r[0].typeByte, r[0].answerParam), std::tuple(6 + 16, 2));
    EXPECT_EQ(r[0].slots[1], (StoneEntry{3, 16, 3, 0}));
    EXPECT_EQ(Slots(r[0], 3, 6),
              (std::vector<StoneEntry>{{0, 16, 2, 1}, {1, 15, 2, 2}, {0, 17, 3, 3}}));
    EXPECT_EQ(r[0].slots[7], (StoneEntry{0, 16, 4, 1}));
    EXPECT_EQ(std::tuple(r[0].slots[2].aux, r[0].slots[6].aux, r[0].slots[8].aux),
              std::tuple(3, 1, 0));

    EXPECT_EQ(std::tuple(r[1].typeByte, r[1].answerParam, r[1].slots[3].aux), std::tuple(5, 2, 2));
    EXPECT_EQ(Slots(r[1], 4, 6), (std::vector<StoneEntry>{{9, 2, 1, 0}, {9, 3, 1, 0}}));
    EXPECT_EQ(std::tuple(r[2].Type(), r[2].answerParam), std::tuple(7, 12));
    // 白, 石, then 黒, the correct text.
    EXPECT_EQ(std::tuple(r[3].typeByte, std::string(r[3].choices[0]), std::string(r[3].choices[1]),
                         std::string(r[3].choices[2]), r[3].answerParam),
              std::tuple(8, "\x94\x92", "\x90\xCE", "\x8D\x95", 2));
    // The first variation continues the main line; the label becomes the number 7.
    EXPECT_EQ(std::tuple(r[4].typeByte, r[4].setupCount), std::tuple(1 + 16, 4));
    EXPECT_EQ(
        Slots(r[4], 0, 4),
        (std::vector<StoneEntry>{{0, 3, 3, 7}, {0, 15, 15, 1}, {1, 15, 16, 2}, {0, 16, 16, 3}}));
    EXPECT_EQ(std::tuple(r[5].Type(), r[5].answerParam), std::tuple(2, 0)) << "×";
}

TEST(Sgf2ProblemRoundTrip, SectionsOfSeveralFilesShareOneCourseFile) {
    const std::vector<std::string> texts = {"(;SC[1:4]KD[number]NU[3]QI[31])",
                                            "(;SC[1:3]KD[number]NU[2]QI[31])"};
    EXPECT_EQ(CompileAndLoad(texts, 1, 3)[0].answerParam, 2);
    EXPECT_EQ(CompileAndLoad(texts, 1, 4)[0].answerParam, 3);
}

TEST(Sgf2ProblemGolden, OneNumberProblemByteForByte) {
    std::vector<sgf2problem::Diagnostic> errors;
    std::vector<sgf2problem::SectionBlock> sections;
    sections.push_back(sgf2problem::CompileSectionText("(;SC[1:3]CI[3]KD[number]NU[5]QI[31]AW[ab])",
                                                       "g.sgf", 0, errors));
    const std::vector<uint8_t> bytes = sgf2problem::CourseFileBytes(0, sections, errors);
    ASSERT_TRUE(errors.empty());

    // Built from the format tables: 8-byte header, block header (course tag, chapter,
    // section, body size), P, then caption, code, question, S + setup words, R + branch
    // words, A + answer words; all little-endian.
    const std::vector<uint8_t> expected = {
        0, 0, 0,  0,  0, 0, 0, 0,  // header
        1, 1, 3,  31, 0, 0, 0,     // course tag 1, chapter 1, section 3, body 31 bytes
        1, 0, 0,  0,               // P = 1
        3, 5, 31,                  // caption 3, code 5 (number), question 31
        1, 0, 0,  0,               // S = 1
        2, 0, 0,  1,               // white stone (code 2), aux 0, x 0, y 1
        1, 0, 0,  0,               // R = 1
        0, 0, 1,  0,               // branch: answers 0 .. 1
        1, 0, 0,  0,               // A = 1
        0, 0, 5,  0,               // the number 5 in bits 16-23
    };
    EXPECT_EQ(bytes, expected);
}

// The tool writes nothing when a rule fails, and --lint-warn turns a lint rule into a warning.
TEST(Sgf2ProblemTool, WritesNothingOnErrorAndCanMakeARuleAWarning) {
    const std::string tool = std::string(STONEWELL_BINARY_DIR) + "/sgf2problem";
    REQUIRE_BUILT(std::ifstream(tool), "sgf2problem");
    testsupport::ScratchDir dir;
    // A full section (the count lint passes) whose problems lack CR and CW.
    std::string text = "(;SC[1:3]KD[number]QI[31]C[h]NU[1])";
    for (int i = 1; i < 28; ++i) text += "(;KD[number]QI[31]C[h]NU[1])";
    ASSERT_TRUE(testsupport::WriteBytes(dir / "s.sgf", {text.begin(), text.end()}));
    const std::string run = tool + " --course 1 -o " + dir / "p.dat" + " --comments " +
                            dir / "c.dat" + " " + dir / "s.sgf 2> " + dir / "err.txt";
    EXPECT_NE(std::system(run.c_str()), 0);
    EXPECT_NE(tools::ReadText(dir / "err.txt").find("s.sgf:1: "), std::string::npos);
    EXPECT_FALSE(std::ifstream(dir / "c.dat")) << "nothing is written on error";
    EXPECT_EQ(std::system((run + " --lint-warn explain").c_str()), 0);
    EXPECT_EQ(explanations::Decode(testsupport::ReadBytes(dir / "c.dat"), 1, 3).size(), 28u);
}
