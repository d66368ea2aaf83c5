// Compiled problem and explanation files read back by the program's loaders, the explanation
// reader on files built from the format tables, and the explanation lint.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "../../../tools/common/FileIO.h"
#include "CompileTestSupport.h"
#include "common/Cp932.h"
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
    const auto bytes = sgf2problem::CourseFileBytes(0, sgfc_test::Sections(texts), errors);
    for (const auto& e : errors) ADD_FAILURE() << e.Format();
    // The loader skips the 8-byte header; the format has it zero.
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 8), std::vector<uint8_t>(8, 0));
    testsupport::ScratchDir dir;
    EXPECT_TRUE(testsupport::WriteBytes(dir / "PROBLEM/1-problem.dat", bytes));
    auto progress = std::make_unique<ProgressState>();
    progress->m_course = 0;
    ProblemBoard board;
    EXPECT_TRUE(LoadProblemSet(board, *progress, chapterNo - 1, sectionNo - 1, dir / "PROBLEM/"));
    return board.records;
}

using Bytes = std::vector<uint8_t>;

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}
void Append(Bytes& out, const Bytes& more) {
    out = Cat({out, more});
}
// Text: u16 length, then the bytes.
Bytes Text(const std::string& s) {
    return Cat({{uint8_t(s.size()), uint8_t(s.size() >> 8)}, Bytes(s.begin(), s.end())});
}
// Header: "CMNT", version 1, reserved 0.
const Bytes kHeader = {'C', 'M', 'N', 'T', 1, 0, 0, 0};
// Block: course tag, chapter, section, u32 body size, body.
Bytes Block(int chapter, int section, const Bytes& body) {
    const auto n = uint32_t(body.size());
    return Cat({{1, uint8_t(chapter), uint8_t(section), uint8_t(n), uint8_t(n >> 8),
                 uint8_t(n >> 16), uint8_t(n >> 24)},
                body});
}

const std::string kHint = "\x8E\x9E";           // 時 (any two-byte character)
const std::string kRight = "\x90\xB3\x89\xF0";  // 正解
const std::string kWrong = "\x82\xA0";          // あ

// Body of two problems: a sequence with a hint, one right comment and a wrong try of two
// moves; then a choice problem without hint whose wrong tries have no moves.
Bytes TwoProblems() {
    return Cat({{2, 0},
                Text(kHint),
                {1},
                Text(kRight),
                {1, 2, 3, 4, 5, 6},
                Text(kWrong),
                Text(""),
                {1},
                Text(kRight),
                {2, 0},
                Text(kWrong),
                {0},
                Text(kHint)});
}

// An explanation as "hint | right, right | x,y x,y: comment | ...", to compare whole.
std::string Show(const explanations::ProblemExplanation& e) {
    std::string out = e.hint + " |";
    for (const std::string& r : e.right) out += " " + r + ",";
    for (const auto& w : e.wrong) {
        out += " |";
        for (auto m : w.moves) out += " " + std::to_string(m.x) + "," + std::to_string(m.y);
        out += ": " + w.comment;
    }
    return out;
}
std::vector<std::string> Show(const std::vector<explanations::ProblemExplanation>& all) {
    std::vector<std::string> out;
    for (const auto& e : all) out.push_back(Show(e));
    return out;
}
using Shown = std::vector<std::string>;

std::string Sjis(const std::string& utf8) {
    return tools::Utf8ToCp932(utf8).value_or("(not convertible)");
}

// Compiles SGF texts of course 1 and reads section 1:3 back with the program's reader.
std::vector<explanations::ProblemExplanation> CompileAndRead(const std::string& text) {
    return explanations::Decode(sgf2problem::CommentFileBytes(0, sgfc_test::Sections({text})), 1,
                                3);
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
    // 1: sequence on the 13 board, one correct line (how marks and lines reach their slots is
    // the next test's).
    EXPECT_EQ(Head(r[0]), Head6(6, 4, 1, 0, 2, 4));
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

TEST(ExplanationFile, DecodesTheSectionsBlock) {
    const Bytes file = Cat({kHeader, Block(1, 1, {0, 0}), Block(1, 2, TwoProblems())});
    EXPECT_EQ(Show(explanations::Decode(file, 1, 2)),
              (Shown{kHint + " | " + kRight + ", | 3,4 5,6: " + kWrong,
                     " | " + kRight + ", |: " + kWrong + " |: " + kHint}));
    EXPECT_TRUE(explanations::Decode(file, 1, 1).empty()) << "a block of no problems";
    EXPECT_TRUE(explanations::Decode(file, 2, 1).empty()) << "a missing block";
}

TEST(ExplanationFile, AnyBrokenRuleReadsAsNoExplanations) {
    const Bytes good = TwoProblems();
    const auto decodes = [](const Bytes& body, const Bytes& header = kHeader) {
        return !explanations::Decode(Cat({header, Block(1, 2, body)}), 1, 2).empty();
    };
    ASSERT_TRUE(decodes(good));

    EXPECT_FALSE(decodes(good, {'C', 'M', 'N', 'X', 1, 0, 0, 0})) << "magic";
    EXPECT_FALSE(decodes(good, {'C', 'M', 'N', 'T', 2, 0, 0, 0})) << "version";
    EXPECT_FALSE(decodes(Cat({good, {0}}))) << "bytes left over";
    EXPECT_FALSE(decodes(Bytes(good.begin(), good.end() - 1))) << "cut body";

    // Each limit: a well-formed block at the limit decodes, one past it does not.
    const auto problem = [](size_t hintBytes, int rights, int wrongs, int moves, uint8_t xy) {
        Bytes p = Text(std::string(hintBytes, 'A'));
        p.push_back(uint8_t(rights));
        for (int r = 0; r < rights; ++r) Append(p, Text(""));
        p.push_back(uint8_t(wrongs));
        for (int w = 0; w < wrongs; ++w) {
            p.push_back(uint8_t(moves));
            for (int m = 0; m < moves; ++m) Append(p, {xy, xy});
            Append(p, Text(""));
        }
        return p;
    };
    const auto section = [](int count, const Bytes& p) {
        Bytes body{uint8_t(count), uint8_t(count >> 8)};
        for (int i = 0; i < count; ++i) Append(body, p);
        return body;
    };
    const Bytes plain = problem(0, 0, 0, 0, 0);
    EXPECT_TRUE(decodes(section(200, plain)));
    EXPECT_FALSE(decodes(section(201, plain))) << "problems";
    EXPECT_TRUE(decodes(section(1, problem(400, 10, 32, 30, 18))));
    EXPECT_FALSE(decodes(section(1, problem(401, 0, 0, 0, 0)))) << "text length";
    EXPECT_FALSE(decodes(section(1, problem(0, 11, 0, 0, 0)))) << "right comments";
    EXPECT_FALSE(decodes(section(1, problem(0, 0, 33, 0, 0)))) << "wrong tries";
    EXPECT_FALSE(decodes(section(1, problem(0, 0, 1, 31, 0)))) << "moves";
    EXPECT_FALSE(decodes(section(1, problem(0, 0, 1, 1, 19)))) << "coordinate";

    // Texts must be clean Shift_JIS: no control byte, no cut double-byte character.
    Bytes b = good;
    b[4] = 'A';
    b[5] = 'B';
    ASSERT_TRUE(decodes(b));
    b[5] = '\n';
    EXPECT_FALSE(decodes(b)) << "control byte";
    b[5] = 0x81;
    EXPECT_FALSE(decodes(b)) << "lead byte without its trail byte";

    // A block whose size runs past the end of the file.
    Bytes file = Cat({kHeader, Block(1, 2, good)});
    ++file[8 + 3];
    EXPECT_TRUE(explanations::Decode(file, 1, 2).empty());
}

TEST(ExplanationCompiler, WritesWhatTheReaderReadsBack) {
    const std::string text =
        // 1: 13 board; the uncommented wrong line is left out, line breaks are dropped.
        "(;SZ[13]SC[1:3]KD[sequence]QI[4]C[ 石をよく見ましょう。 ]AB[bc][cb][dc]AW[cc]TR[cc]\n"
        "(;B[cd]C[正解です。RIGHT])(;B[dd];W[cd]C[白に\n逃げられます。])(;B[bd]))\n"
        // 2: 19 board shown in the corner window: rows come out as the loader maps them.
        "(;KD[sequence]QI[4]C[h]AB[ar][bq]AW[br](;B[cr]C[RIGHT yes])(;B[aq];W[cr]C[no]))\n"
        // 3: 19 board shown whole: rows as in the source.
        "(;KD[sequence]QI[4]C[h]AB[pd]AW[qd](;B[qc]C[RIGHT])(;B[re]C[no]))\n"
        // 4, 5: choice problems explain with CR and CW.
        "(;SZ[13]KD[ox]QI[2]C[look]CR[it is]CW[it is not]AB[cd]OX[o])\n"
        "(;SZ[13]KD[texts]QI[0]AB[ba]CH[a][b][c]CR[r]CW[w1][w2])\n"
        // 6: a letter problem without hint.
        "(;SZ[13]KD[letter]QI[8]AB[ef]LB[fg:ア][gg:イ](;B[fg]C[RIGHT])(;B[gg]C[far]))";
    // Empty right comments are kept, in step with the branches.
    EXPECT_EQ(Show(CompileAndRead(text)),
              (Shown{"\x90\xCE\x82\xF0\x82\xE6\x82\xAD\x8C\xA9\x82\xDC\x82\xB5\x82\xE5"
                     "\x82\xA4\x81\x42 | " +  // 石をよく見ましょう。 in Shift_JIS
                         Sjis("正解です。") +
                         ", | 3,3 2,3: " + Sjis("白に逃げられます。"),
                     "h | yes, | 0,2 2,1: no", "h | , | 17,4: no", "look | it is, |: it is not",
                     " | r, |: w1 |: w2", " | , | 6,6: far"}));
}

TEST(ExplanationLint, FindsEveryMissingExplanation) {
    const std::vector<std::string> f = sgfc_test::LintFindings(
        "(;SC[1:3]SZ[13]KD[sequence]QI[4]AB[bc]\n"
        "(;B[cd]C[RIGHT])\n"
        "(;B[dd])\n"
        "(;B[ee]C[why]))\n"
        "(;SZ[13]KD[ox]QI[2]C[h]CR[r]OX[o])\n"
        "(;SZ[13]KD[number]QI[31]C[h]CR[r]CW[w]NU[1])\n"
        "(;KD[shown]QI[1];B[pp])",
        true);
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0],
              "t.sgf:1: problem 1: no hint: the first node's C is shown when the learner "
              "asks [explain]");
    EXPECT_NE(f[1].find("t.sgf:2: problem 1: a correct line without"), std::string::npos);
    EXPECT_NE(f[2].find("t.sgf:3: problem 1: a wrong line without"), std::string::npos);
    EXPECT_NE(f[3].find("t.sgf:5: problem 2: no CR"), std::string::npos);
}
