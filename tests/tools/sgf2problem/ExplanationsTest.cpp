// The explanation side file: the reader on files built byte by byte from the format's
// tables, the compiler's output read back by the reader, and the explanation lint.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CompileTestSupport.h"
#include "common/Cp932.h"
#include "problem/ProblemExplanations.h"
#include "support/ScratchDir.h"

namespace explanations {
bool operator==(const LineMove& a, const LineMove& b) {
    return a.x == b.x && a.y == b.y;
}
}  // namespace explanations

namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes& out, const Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

// Text: u16 length, then the bytes.
Bytes Text(const std::string& s) {
    Bytes out{uint8_t(s.size()), uint8_t(s.size() >> 8)};
    for (char c : s) out.push_back(uint8_t(c));
    return out;
}

// Header: "CMNT", version 1, reserved 0.
Bytes Header() {
    return {'C', 'M', 'N', 'T', 1, 0, 0, 0};
}

// Block: course tag, chapter, section, u32 body size, body.
Bytes Block(int chapter, int section, const Bytes& body) {
    Bytes out{1, uint8_t(chapter), uint8_t(section)};
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(body.size() >> (8 * i)));
    Append(out, body);
    return out;
}

const std::string kHint = "\x8E\x9E";           // 時 (any two-byte character)
const std::string kRight = "\x90\xB3\x89\xF0";  // 正解
const std::string kWrong = "\x82\xA0";          // あ

// Body of two problems: a sequence with a hint, one right comment and a wrong try of two
// moves; then a choice problem without hint whose wrong try has no moves.
Bytes TwoProblems() {
    Bytes body{2, 0};
    Append(body, Text(kHint));
    body.push_back(1);
    Append(body, Text(kRight));
    body.push_back(1);
    Append(body, {2, 3, 4, 5, 6});
    Append(body, Text(kWrong));
    Append(body, Text(""));
    body.push_back(1);
    Append(body, Text(kRight));
    body.push_back(2);
    Append(body, {0});
    Append(body, Text(kWrong));
    Append(body, {0});
    Append(body, Text(kHint));
    return body;
}

std::vector<explanations::LineMove> Moves(std::initializer_list<std::pair<int, int>> xy) {
    std::vector<explanations::LineMove> out;
    for (auto [x, y] : xy) out.push_back({uint8_t(x), uint8_t(y)});
    return out;
}

std::vector<explanations::ProblemExplanation> DecodeSection(const Bytes& file, int chapter = 1,
                                                            int section = 2) {
    return explanations::Decode(file, chapter, section);
}

}  // namespace

TEST(ExplanationFile, DecodesTheSectionsBlock) {
    Bytes file = Header();
    Append(file, Block(1, 1, {0, 0}));
    Append(file, Block(1, 2, TwoProblems()));
    const auto e = DecodeSection(file);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].hint, kHint);
    EXPECT_EQ(e[0].right, std::vector<std::string>{kRight});
    ASSERT_EQ(e[0].wrong.size(), 1u);
    EXPECT_EQ(e[0].wrong[0].moves, Moves({{3, 4}, {5, 6}}));
    EXPECT_EQ(e[0].wrong[0].comment, kWrong);
    EXPECT_TRUE(e[1].hint.empty());
    ASSERT_EQ(e[1].wrong.size(), 2u);
    EXPECT_TRUE(e[1].wrong[1].moves.empty());
    EXPECT_EQ(e[1].wrong[1].comment, kHint);

    EXPECT_TRUE(DecodeSection(file, 1, 1).empty()) << "a block of no problems";
    EXPECT_TRUE(DecodeSection(file, 2, 1).empty()) << "a missing block";
}

TEST(ExplanationFile, AnyBrokenRuleReadsAsNoExplanations) {
    const Bytes good = TwoProblems();
    const auto decodes = [](const Bytes& body, Bytes header = Header()) {
        Append(header, Block(1, 2, body));
        return !DecodeSection(header).empty();
    };
    ASSERT_TRUE(decodes(good));

    EXPECT_FALSE(decodes(good, {'C', 'M', 'N', 'X', 1, 0, 0, 0})) << "magic";
    EXPECT_FALSE(decodes(good, {'C', 'M', 'N', 'T', 2, 0, 0, 0})) << "version";
    Bytes extra = good;
    extra.push_back(0);
    EXPECT_FALSE(decodes(extra)) << "bytes left over";
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
    Bytes file = Header();
    Bytes block = Block(1, 2, good);
    block[3] = uint8_t(block[3] + 1);
    Append(file, block);
    EXPECT_TRUE(DecodeSection(file).empty());
}

TEST(ExplanationFile, LoadsFromTheCoursesFile) {
    testsupport::ScratchDir dir;
    EXPECT_EQ(explanations::PathFor(1, dir / ""), dir / "2-comment.dat");
    EXPECT_TRUE(explanations::Load(1, 1, 2, dir / "").empty()) << "missing file";
    Bytes file = Header();
    Append(file, Block(1, 2, TwoProblems()));
    ASSERT_TRUE(testsupport::WriteBytes(dir / "2-comment.dat", file));
    EXPECT_EQ(explanations::Load(1, 1, 2, dir / "").size(), 2u);
}

namespace {

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

// The findings of the explanation rule, as printed.
std::vector<std::string> ExplainFindings(const std::string& text) {
    std::vector<sgf2problem::Diagnostic> errors;
    sgf2problem::LintSectionText(text, "t.sgf", 0, errors);
    std::vector<std::string> out;
    for (const auto& d : errors) {
        if (d.rule == sgf2problem::kExplainRule) out.push_back(d.Format());
    }
    return out;
}

}  // namespace

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
    const auto e = CompileAndRead(text);
    ASSERT_EQ(e.size(), 6u);

    EXPECT_EQ(e[0].hint,
              "\x90\xCE\x82\xF0\x82\xE6\x82\xAD\x8C\xA9\x82\xDC\x82\xB5\x82\xE5"
              "\x82\xA4\x81\x42");  // 石をよく見ましょう。 in Shift_JIS
    EXPECT_EQ(e[0].right, std::vector<std::string>{Sjis("正解です。")});
    ASSERT_EQ(e[0].wrong.size(), 1u);
    EXPECT_EQ(e[0].wrong[0].moves, Moves({{3, 3}, {2, 3}}));
    EXPECT_EQ(e[0].wrong[0].comment, Sjis("白に逃げられます。"));

    EXPECT_EQ(e[1].right, std::vector<std::string>{"yes"});
    ASSERT_EQ(e[1].wrong.size(), 1u);
    EXPECT_EQ(e[1].wrong[0].moves, Moves({{0, 2}, {2, 1}}));

    ASSERT_EQ(e[2].wrong.size(), 1u);
    EXPECT_EQ(e[2].wrong[0].moves, Moves({{17, 4}}));
    EXPECT_EQ(e[2].right, std::vector<std::string>{""}) << "kept, in step with the branches";

    EXPECT_EQ(e[3].hint, "look");
    EXPECT_EQ(e[3].right, std::vector<std::string>{"it is"});
    ASSERT_EQ(e[3].wrong.size(), 1u);
    EXPECT_TRUE(e[3].wrong[0].moves.empty());
    EXPECT_EQ(e[3].wrong[0].comment, "it is not");

    ASSERT_EQ(e[4].wrong.size(), 2u);
    EXPECT_EQ(e[4].wrong[1].comment, "w2");

    EXPECT_TRUE(e[5].hint.empty());
    ASSERT_EQ(e[5].wrong.size(), 1u);
    EXPECT_EQ(e[5].wrong[0].moves, Moves({{6, 6}}));
}

TEST(ExplanationLint, FindsEveryMissingExplanation) {
    const std::vector<std::string> f = ExplainFindings(
        "(;SC[1:3]SZ[13]KD[sequence]QI[4]AB[bc]\n"
        "(;B[cd]C[RIGHT])\n"
        "(;B[dd])\n"
        "(;B[ee]C[why]))\n"
        "(;SZ[13]KD[ox]QI[2]C[h]CR[r]OX[o])\n"
        "(;SZ[13]KD[number]QI[31]C[h]CR[r]CW[w]NU[1])\n"
        "(;KD[shown]QI[1];B[pp])");
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[0],
              "t.sgf:1: problem 1: no hint: the first node's C is shown when the learner "
              "asks [explain]");
    EXPECT_NE(f[1].find("t.sgf:2: problem 1: a correct line without"), std::string::npos);
    EXPECT_NE(f[2].find("t.sgf:3: problem 1: a wrong line without"), std::string::npos);
    EXPECT_NE(f[3].find("t.sgf:5: problem 2: no CR"), std::string::npos);
}
