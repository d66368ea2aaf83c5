#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "problem/ProblemTexts.h"
#include "problem/QuestionWrap.h"

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
// "白△を両アタリにするところはどこですか？": 20 characters.
const std::string kReal =
    "\x94\x92\x81\xa2\x82\xf0\x97\xbc\x83\x41\x83\x5e\x83\x8a\x82\xc9\x82\xb7\x82\xe9"
    "\x82\xc6\x82\xb1\x82\xeb\x82\xcd\x82\xc7\x82\xb1\x82\xc5\x82\xb7\x82\xa9\x81\x48";
}  // namespace

TEST(QuestionWrap, LinesAreCutAfterThirtySixBytesUnlessAClosingMarkEndsThem) {
    const struct {
        const char* what;
        std::string text, wrapped;
    } cases[] = {
        {"empty", "", ""},
        {"one full line", A(18), A(18)},
        {"short paragraphs stay whole", A(18) + "\n" + A(3), A(18) + "\n" + A(3)},
        {"one over", A(19), A(18) + "\n" + A(1)},
        {"two lines and a rest", A(40), A(18) + "\n" + A(18) + "\n" + A(4)},
        {"two full lines", A(36), A(18) + "\n" + A(18)},
        {"each paragraph wraps", A(20) + "\n" + A(2), A(18) + "\n" + A(2) + "\n" + A(2)},
        {"、 stays on its line", A(18) + kComma, A(18) + kComma},
        {"。 stays, the rest goes on", A(18) + kStop + A(2), A(18) + kStop + "\n" + A(2)},
        {"」 stays", A(18) + kClose + A(2), A(18) + kClose + "\n" + A(2)},
        {"？ stays", A(18) + kQuestion, A(18) + kQuestion},
        {"other characters start the next line", A(18) + kKa + kQuestion,
         A(18) + "\n" + kKa + kQuestion},
        {"a real question", kReal, kReal.substr(0, 36) + "\n" + kReal.substr(36)},
        {"empty lines go", A(2) + "\n\n" + A(2), A(2) + "\n" + A(2)},
        {"a break after a kept mark is not doubled", A(18) + kStop + "\n" + A(1),
         A(18) + kStop + "\n" + A(1)},
        {"a last break goes", A(1) + "\n", A(1)},
        // Byte 36 falls inside the 18th full-width character after one half-width letter.
        {"a cut never splits a character", "x" + A(20), "x" + A(17) + "\n" + A(3)},
        {"half-width text is cut at 36 bytes", std::string(40, 'a'),
         std::string(36, 'a') + "\n" + std::string(4, 'a')},
    };
    for (const auto& c : cases) EXPECT_EQ(questionwrap::Wrap(c.text), c.wrapped) << c.what;
}

// Whether a question is valid Shift_JIS is the data build's term check: it decodes each one.
TEST(ProblemTexts, EveryQuestionIsSetAndEveryEntryFitsItsSlot) {
    for (int i = 0; i < problemtext::kQuestionCount; ++i) {
        EXPECT_GT(std::strlen(problemtext::Question(i)), 10u) << i;
        EXPECT_LT(std::strlen(problemtext::Question(i)), size_t(problemtext::kQuestionBytes));
    }
    for (int i = 0; i < problemtext::kCaptionCount; ++i) {
        EXPECT_LT(std::strlen(problemtext::Caption(i)), size_t(problemtext::kCaptionBytes));
    }
    EXPECT_STREQ(problemtext::Question(57), "");
    EXPECT_STREQ(problemtext::Question(-1), "");
    EXPECT_STREQ(problemtext::Caption(5), "");
}
