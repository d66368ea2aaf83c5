#include <gtest/gtest.h>

#include <span>

#include "LessonFixtures.h"
#include "lesson/LessonText.h"

using lesson::ExtractPageText;
using lesson::WrapBody;
using lessontest::Kana;

namespace {

const std::string kMaru = "\x81\x42";  // "。"
const std::string kTen = "\x81\x41";   // "、"

lesson::PageText Extract(const std::string& file, int page) {
    return ExtractPageText(std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()),
                           page);
}
// Caption and body of a page, as "caption|body".
std::string Lines(const std::string& file, int page) {
    const auto text = Extract(file, page);
    return text.caption + "|" + text.body;
}

}  // namespace

TEST(LessonTextExtraction, PagesOwnLinesTwoPAndTwoPPlusOneWithDoubleColonBreaks) {
    const std::string file = lessontest::TextFile({{"CAP0", "BODY0"}, {"CAP1", "BODY1"}});
    EXPECT_EQ(Lines(file, 0), "CAP0|BODY0");
    EXPECT_EQ(Lines(file, 1), "CAP1|BODY1");
    EXPECT_EQ(Lines(file, 2), "|");
    const std::string unended = "CAP0\r\nBODY0\r\nCAP1\r\nBODY1";
    EXPECT_EQ(Lines(unended, 1), "CAP1|") << "a last body without its line end is not found";
    // "::" is a line break in both lines; "::::" wraps to one.
    const std::string colons = lessontest::TextFile({{"A::B", "C::::D"}});
    EXPECT_EQ(Lines(colons, 0), "A\r\nB|C\r\n\r\nD");
    EXPECT_EQ(WrapBody(Extract(colons, 0).body), "C\r\nD");
}

TEST(LessonTextExtraction, LinesAreCutToBuffersOnCharacterBoundary) {
    // 99 bytes fit the caption; 50 double-byte characters (100 bytes) are cut to 49.
    const std::string file = lessontest::TextFile({{Kana(50), Kana(130)}});
    auto text = Extract(file, 0);
    EXPECT_EQ(text.caption, Kana(49));
    EXPECT_EQ(text.body, Kana(124)) << "249 bytes hold 124 whole characters";
    const std::string ascii = lessontest::TextFile({{std::string(120, 'c'), "b"}});
    EXPECT_EQ(Extract(ascii, 0).caption, std::string(99, 'c'));
    // Copying needs end > start, so a one-byte line never makes it.
    EXPECT_EQ(Lines(lessontest::TextFile({{"X", "YZ"}}), 0), "|YZ");
}

TEST(LessonTextWrapping, LinesBreakAfterThirtySixBytesKeepingClosingMarks) {
    const std::pair<std::string, std::string> cases[] = {
        {Kana(18), Kana(18)},
        {Kana(18) + "x", Kana(18) + "\r\nx"},
        {Kana(18) + kMaru + Kana(2), Kana(18) + kMaru + "\r\n" + Kana(2)},
        {Kana(18) + kMaru, Kana(18) + kMaru},  // no empty line after the mark
        {Kana(18) + kTen + Kana(1), Kana(18) + kTen + "\r\n" + Kana(1)},
        {Kana(18) + "\x81\x76" + Kana(1), Kana(18) + "\x81\x76\r\n" + Kana(1)},
        {Kana(36), Kana(18) + "\r\n" + Kana(18)},
        {Kana(40), Kana(18) + "\r\n" + Kana(18) + "\r\n" + Kana(4)},
        {Kana(20) + "\r\n" + Kana(3), Kana(18) + "\r\n" + Kana(2) + "\r\n" + Kana(3)},
        {"ab\rcd", "ab\r\ncd"},  // a lone CR keeps characters whole
        {"ab\r", "ab\r\n"},
    };
    for (const auto& [text, wrapped] : cases) EXPECT_EQ(WrapBody(text), wrapped) << text;
}
