#include <gtest/gtest.h>

#include <string>

#include "problem/QuestionWrap.h"

using questionwrap::Wrap;

namespace {
// n full-width "あ" (0x82 0xa0), 2 bytes each.
std::string A(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "\x82\xa0";
    return s;
}
const std::string kComma = "\x81\x41";     // 、
const std::string kStop = "\x81\x42";      // 。
const std::string kClose = "\x81\x76";     // 」
const std::string kQuestion = "\x81\x48";  // ？
const std::string kKa = "\x82\xa9";        // か
}  // namespace

TEST(QuestionWrap, ShortParagraphsStayWhole) {
    EXPECT_EQ(Wrap(""), "");
    EXPECT_EQ(Wrap(A(18)), A(18));
    EXPECT_EQ(Wrap(A(18) + "\n" + A(3)), A(18) + "\n" + A(3));
}

TEST(QuestionWrap, LongParagraphsAreCutAfterThirtySixBytes) {
    EXPECT_EQ(Wrap(A(19)), A(18) + "\n" + A(1));
    EXPECT_EQ(Wrap(A(40)), A(18) + "\n" + A(18) + "\n" + A(4));
    EXPECT_EQ(Wrap(A(36)), A(18) + "\n" + A(18));
    EXPECT_EQ(Wrap(A(20) + "\n" + A(2)), A(18) + "\n" + A(2) + "\n" + A(2));
}

TEST(QuestionWrap, ClosingMarksStayOnTheLineTheyClose) {
    for (const std::string& mark : {kComma, kStop, kClose, kQuestion}) {
        // The mark is all that remains: no empty line follows.
        EXPECT_EQ(Wrap(A(18) + mark), A(18) + mark);
        EXPECT_EQ(Wrap(A(18) + mark + A(2)), A(18) + mark + "\n" + A(2));
    }
    // Any other character starts the next line.
    EXPECT_EQ(Wrap(A(18) + kKa + kQuestion), A(18) + "\n" + kKa + kQuestion);
    // A real question: "白△を両アタリにするところはどこですか？" is 20 characters.
    const std::string q =
        "\x94\x92\x81\xa2\x82\xf0\x97\xbc\x83\x41\x83\x5e\x83\x8a\x82\xc9\x82\xb7\x82\xe9"
        "\x82\xc6\x82\xb1\x82\xeb\x82\xcd\x82\xc7\x82\xb1\x82\xc5\x82\xb7\x82\xa9\x81\x48";
    ASSERT_EQ(q.size(), 40u);
    EXPECT_EQ(Wrap(q), q.substr(0, 36) + "\n" + q.substr(36));
}

TEST(QuestionWrap, ParagraphsJoinWithOneBreakAndEmptyLinesGo) {
    EXPECT_EQ(Wrap(A(2) + "\n\n" + A(2)), A(2) + "\n" + A(2));
    EXPECT_EQ(Wrap(A(18) + kStop + "\n" + A(1)), A(18) + kStop + "\n" + A(1));
    EXPECT_EQ(Wrap(A(1) + "\n"), A(1));
}

TEST(QuestionWrap, ACutNeverSplitsADoubleByteCharacter) {
    // One half-width letter first: byte 36 falls inside the 18th full-width character.
    const std::string text = "x" + A(20);
    const std::string wrapped = Wrap(text);
    EXPECT_EQ(wrapped, "x" + A(17) + "\n" + A(3));
    // Half-width text is cut at 36 bytes exactly.
    EXPECT_EQ(Wrap(std::string(40, 'a')), std::string(36, 'a') + "\n" + std::string(4, 'a'));
}
