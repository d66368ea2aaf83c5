// The explanation side file: the reader on files built byte by byte from the format's
// tables, the compiler's output read back by the reader, and the explanation lint.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CompileTestSupport.h"
#include "common/Cp932.h"
#include "problem/ProblemExplanations.h"
#include "support/ScratchDir.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The parts one after the other.
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

std::vector<explanations::ProblemExplanation> DecodeSection(const Bytes& file, int chapter = 1,
                                                            int section = 2) {
    return explanations::Decode(file, chapter, section);
}

std::string Sjis(const std::string& utf8) {
    return tools::Utf8ToCp932(utf8).value_or("(not convertible)");
}

// Compiles SGF texts of course 1 and reads section 1:3 back with the program's reader.
std::vector<explanations::ProblemExplanation> CompileAndRead(const std::string& text) {
    std::vector<sgf2problem::Diagnostic> errors;
    std::vector<sgf2problem::SectionBlock> sections{
        sgf2problem::CompileSectionText(text, "t.sgf", 0, errors)};
    for (const auto& e : errors) ADD_FAILURE() << e.Format();
    return explanations::Decode(sgf2problem::CommentFileBytes(0, sections), 1, 3);
}

}  // namespace

TEST(ExplanationFile, DecodesTheSectionsBlock) {
    const Bytes file = Cat({kHeader, Block(1, 1, {0, 0}), Block(1, 2, TwoProblems())});
    EXPECT_EQ(Show(DecodeSection(file)),
              (Shown{kHint + " | " + kRight + ", | 3,4 5,6: " + kWrong,
                     " | " + kRight + ", |: " + kWrong + " |: " + kHint}));
    EXPECT_TRUE(DecodeSection(file, 1, 1).empty()) << "a block of no problems";
    EXPECT_TRUE(DecodeSection(file, 2, 1).empty()) << "a missing block";
}

TEST(ExplanationFile, AnyBrokenRuleReadsAsNoExplanations) {
    const Bytes good = TwoProblems();
    const auto decodes = [](const Bytes& body, const Bytes& header = kHeader) {
        return !DecodeSection(Cat({header, Block(1, 2, body)})).empty();
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
    EXPECT_TRUE(DecodeSection(file).empty());
}

TEST(ExplanationFile, LoadsFromTheCoursesFile) {
    testsupport::ScratchDir dir;
    EXPECT_EQ(explanations::PathFor(1, dir / ""), dir / "2-comment.dat");
    EXPECT_TRUE(explanations::Load(1, 1, 2, dir / "").empty()) << "missing file";
    ASSERT_TRUE(
        testsupport::WriteBytes(dir / "2-comment.dat", Cat({kHeader, Block(1, 2, TwoProblems())})));
    EXPECT_EQ(explanations::Load(1, 1, 2, dir / "").size(), 2u);
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
