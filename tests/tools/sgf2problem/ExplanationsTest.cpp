// The explanation side file: the reader on files built byte by byte from the format's
// tables, the compiler's output read back by the reader, and the explanation lint.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CompileTestSupport.h"
#include "problem/ProblemExplanations.h"
#include "support/ScratchDir.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes& out, const Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

// Text: u16 length, then the bytes.
Bytes Text(const std::string& s) {
    Bytes out{uint8_t(s.size()), uint8_t(s.size() >> 8)};
    out.insert(out.end(), s.begin(), s.end());
    return out;
}

// Header: "CMNT", version 1, reserved 0.
Bytes Header() {
    return {'C', 'M', 'N', 'T', 1, 0, 0, 0};
}

// Block: course tag, chapter, section, u32 body size, body.
Bytes Block(int chapter, int section, const Bytes& body) {
    const uint32_t n = uint32_t(body.size());
    Bytes out{1,
              uint8_t(chapter),
              uint8_t(section),
              uint8_t(n),
              uint8_t(n >> 8),
              uint8_t(n >> 16),
              uint8_t(n >> 24)};
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
    ASSERT_EQ(e[0].wrong[0].moves.size(), 2u);
    EXPECT_EQ(e[0].wrong[0].moves[0].x, 3);
    EXPECT_EQ(e[0].wrong[0].moves[0].y, 4);
    EXPECT_EQ(e[0].wrong[0].moves[1].x, 5);
    EXPECT_EQ(e[0].wrong[0].moves[1].y, 6);
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
    test_support::ScratchDir dir;
    EXPECT_EQ(explanations::PathFor(1, dir / ""), dir / "2-comment.dat");
    EXPECT_TRUE(explanations::Load(1, 1, 2, dir / "").empty()) << "missing file";
    Bytes file = Header();
    Append(file, Block(1, 2, TwoProblems()));
    ASSERT_TRUE(test_support::WriteBytes(dir / "2-comment.dat", file));
    EXPECT_EQ(explanations::Load(1, 1, 2, dir / "").size(), 2u);
}
