#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "Lib/ZIRur/Text/StrConvert.h"
#include "Lib/ZIRur/Text/Text.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/ZIRur/Util/TSingleton.h"

namespace {

// Shift_JIS bytes of a few characters.
const std::string kA = "\x82\xA0";      // あ
const std::string kMaru = "\x81\x42";   // 。
const std::string kTen = "\x81\x41";    // 、
const std::string kComma = "\x81\x43";  // ，

std::vector<std::string> Split(const std::string& text, int maxBytes, int maxLines = 16) {
    std::vector<std::string> lines;
    const int n = CText::SplitString(text.c_str(), lines, maxBytes, maxLines);
    EXPECT_EQ(n, int(lines.size()));
    return lines;
}

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

}  // namespace

TEST(SplitString, ClosingMarkStaysOnAFullLine) {
    for (const std::string& mark : {kMaru, kTen, kComma}) {
        auto lines = Split(Repeat(kA, 5) + mark + kA, 10);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], Repeat(kA, 5) + mark);  // 12 bytes: max + 2
        EXPECT_EQ(lines[1], kA);
    }
    // Any other character wraps.
    auto lines = Split(Repeat(kA, 6), 10);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], Repeat(kA, 5));
    // A mark after a line that is not yet full is ordinary text.
    EXPECT_EQ(Split("abc" + kMaru + "d", 10), std::vector<std::string>{"abc" + kMaru + "d"});
    // Single-byte text wraps at exactly max bytes.
    EXPECT_EQ(Split("abcdefg", 3), (std::vector<std::string>{"abc", "def", "g"}));
}

TEST(SplitString, LineFeedsAndDoubleByteCharactersNeverCut) {
    EXPECT_EQ(Split("ab\n", 10), std::vector<std::string>{"ab"});
    EXPECT_EQ(Split("ab\n\ncd", 10), (std::vector<std::string>{"ab", "", "cd"}));
    EXPECT_EQ(Split("abc\ndef", 3), (std::vector<std::string>{"abc", "def"}));
    EXPECT_TRUE(Split("", 10).empty());
    std::vector<std::string> lines{"stale"};
    EXPECT_EQ(CText::SplitString(nullptr, lines, 10, 16), 0);
    EXPECT_TRUE(lines.empty());
    // Counting bytes, a 5-byte line would end inside "あ"; it moves whole to the next line.
    EXPECT_EQ(Split("abcd" + kA + "e", 5), (std::vector<std::string>{"abcd", kA + "e"}));
    EXPECT_EQ(Split("abc" + kA, 5), std::vector<std::string>{"abc" + kA});
    // A lead byte at the very end is kept as a single byte.
    EXPECT_EQ(Split("ab\x82", 5), std::vector<std::string>{"ab\x82"});
}

TEST(SplitString, LineLimitKeepsTheFirstLinesAndLogs) {
    std::string seventeen;
    for (int i = 0; i < 17; ++i) seventeen += "L" + std::to_string(i) + "\n";
    {
        dbglog::Capture log;
        auto lines = Split(seventeen, 128);
        ASSERT_EQ(lines.size(), 16u);
        EXPECT_EQ(lines[15], "L15");
        EXPECT_EQ(log.Text(), "SplitString()\tLines is over. " + seventeen + "\n");
    }
    std::string sixteen;
    for (int i = 0; i < 16; ++i) sixteen += "L" + std::to_string(i) + "\n";
    for (bool lastFeed : {true, false}) {
        // Exactly the limit: logged only when the last line ends in a line feed.
        dbglog::Capture log;
        EXPECT_EQ(Split(lastFeed ? sixteen : sixteen.substr(0, sixteen.size() - 1), 128).size(),
                  16u);
        EXPECT_EQ(log.Text().find("Lines is over.") != std::string::npos, lastFeed);
    }
    // A wrap that reaches the limit stops as well.
    dbglog::Capture log;
    EXPECT_EQ(Split("aabbcc", 2, 2), (std::vector<std::string>{"aa", "bb"}));
    EXPECT_NE(log.Text().find("Lines is over. aabbcc"), std::string::npos);
}

TEST(TextLimits, SettersRefuseOutOfRange) {
    CText text;
    EXPECT_EQ((std::vector<int>{text.SetMaxBytesPerLine(128), text.SetMaxBytesPerLine(0),
                                text.SetMaxBytesPerLine(127), text.MaxBytesPerLine(),
                                text.SetMaxLines(17), text.SetMaxLines(0), text.MaxLines(),
                                text.SetMaxLines(1), text.MaxLines()}),
              (std::vector<int>{0, 0, 1, 127, 0, 0, 16, 1, 1}));
}

// What each byte decodes to is checked against iconv (Cp932Test); here only the length limit.
TEST(SjisToUtf16, StopsAtTheLimit) {
    EXPECT_EQ(SjisToUtf16(Repeat(kA, 500), 400).size(), 400u);
    EXPECT_EQ(SjisToUtf16(std::string(900, 'x'), 400).size(), 400u);
}

TEST(StrConvert, CopiesUnchanged) {
    auto& convert = TSingleton<CStrConvert>::GetInstance();
    char out[6];
    EXPECT_EQ(convert.Convert(out, sizeof out, ("%d" + kA).c_str()), 4u);
    EXPECT_EQ(std::string(out), "%d" + kA);
    EXPECT_EQ(convert.Convert(out, sizeof out, "longer text"), 5u);
    EXPECT_EQ(std::string(out), "longe");
}
