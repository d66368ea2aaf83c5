#include <gtest/gtest.h>

// The texts are checked against iconv, where the system has it (not on Windows).
#if __has_include(<iconv.h>)
#include <iconv.h>

#include <cstring>
#include <string>

#include "problem/ProblemTexts.h"

namespace {

// Shift_JIS (code page 932) to UTF-8 through the C library, independent of the tables.
bool ToUtf8(const std::string& sjis, std::string& out) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == iconv_t(-1)) return false;
    std::string in = sjis;
    out.assign(in.size() * 4 + 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t srcLeft = in.size(), dstLeft = out.size();
    const bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != size_t(-1) && srcLeft == 0;
    iconv_close(cd);
    out.resize(out.size() - dstLeft);
    return ok;
}

}  // namespace

TEST(ProblemTexts, CaptionsAndQuestionsAreTheShiftJisOfTheTables) {
    std::string text;
    EXPECT_STREQ(problemtext::Caption(0), "");
    ASSERT_TRUE(ToUtf8(problemtext::Caption(1), text));
    EXPECT_EQ(text, "生きる手");
    ASSERT_TRUE(ToUtf8(problemtext::Caption(4), text));
    EXPECT_EQ(text, "打ってはいけないところ");
    ASSERT_TRUE(ToUtf8(problemtext::Question(2), text));
    EXPECT_EQ(text, "白△がアタリになっていれば○を、\nそうでなければ×を選択して下さい。");
    ASSERT_TRUE(ToUtf8(problemtext::Question(56), text));
    EXPECT_EQ(text, "白△は何目のヨセですか？\n目数を入力して下さい。");
}

TEST(ProblemTexts, EveryEntryDecodesAndFitsItsSlot) {
    for (int i = 0; i < problemtext::kQuestionCount; ++i) {
        std::string text;
        EXPECT_TRUE(ToUtf8(problemtext::Question(i), text)) << i;
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

#endif
