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

}  // namespace

TEST(LessonTextExtraction, PagesOwnLinesTwoPAndTwoPPlusOne) {
    const std::string file = lessontest::TextFile({{"CAP0", "BODY0"}, {"CAP1", "BODY1"}});
    auto first = Extract(file, 0);
    EXPECT_EQ(first.caption, "CAP0") << "page 0's caption starts at byte 0";
    EXPECT_EQ(first.body, "BODY0");
    auto second = Extract(file, 1);
    EXPECT_EQ(second.caption, "CAP1");
    EXPECT_EQ(second.body, "BODY1");
    auto beyond = Extract(file, 2);
    EXPECT_EQ(beyond.caption, "");
    EXPECT_EQ(beyond.body, "");
}

TEST(LessonTextExtraction, LastBodyWithoutLineEndIsNotFound) {
    const std::string file = "CAP0\r\nBODY0\r\nCAP1\r\nBODY1";
    EXPECT_EQ(Extract(file, 0).body, "BODY0");
    auto last = Extract(file, 1);
    EXPECT_EQ(last.caption, "CAP1");
    EXPECT_EQ(last.body, "");
}

TEST(LessonTextExtraction, DoubleColonBecomesLineBreakInBothLines) {
    const std::string file = lessontest::TextFile({{"A::B", "C::::D"}});
    auto text = Extract(file, 0);
    EXPECT_EQ(text.caption, "A\r\nB");
    EXPECT_EQ(text.body, "C\r\n\r\nD");
    EXPECT_EQ(WrapBody(text.body), "C\r\nD") << "\"::::\" gives one line break";
}

TEST(LessonTextExtraction, OverlongLinesAreCutToBuffersOnCharacterBoundary) {
    // 99 bytes fit the caption; 50 double-byte characters (100 bytes) are cut to 49.
    const std::string file = lessontest::TextFile({{Kana(50), Kana(130)}});
    auto text = Extract(file, 0);
    EXPECT_EQ(text.caption, Kana(49));
    EXPECT_EQ(text.body, Kana(124)) << "249 bytes hold 124 whole characters";
    const std::string ascii = lessontest::TextFile({{std::string(120, 'c'), "b"}});
    EXPECT_EQ(Extract(ascii, 0).caption, std::string(99, 'c'));
}

TEST(LessonTextExtraction, SingleByteLineIsDroppedAsStored) {
    // Copying needs end > start, so a one-byte line never makes it.
    EXPECT_EQ(Extract(lessontest::TextFile({{"X", "YZ"}}), 0).caption, "");
    EXPECT_EQ(Extract(lessontest::TextFile({{"X", "YZ"}}), 0).body, "YZ");
}

TEST(LessonTextWrapping, ThirtySixBytesStayOnOneLine) {
    EXPECT_EQ(WrapBody(Kana(18)), Kana(18));
}

TEST(LessonTextWrapping, ThirtySevenBytesSplitThirtySixPlusOne) {
    EXPECT_EQ(WrapBody(Kana(18) + "x"), Kana(18) + "\r\nx");
}

TEST(LessonTextWrapping, ClosingMarkAtThirtySevenStaysOnTheLine) {
    EXPECT_EQ(WrapBody(Kana(18) + kMaru + Kana(2)), Kana(18) + kMaru + "\r\n" + Kana(2));
    EXPECT_EQ(WrapBody(Kana(18) + kMaru), Kana(18) + kMaru) << "no empty line after the mark";
    EXPECT_EQ(WrapBody(Kana(18) + kTen + Kana(1)), Kana(18) + kTen + "\r\n" + Kana(1));
    EXPECT_EQ(WrapBody(Kana(18) + "\x81\x76" + Kana(1)), Kana(18) + "\x81\x76\r\n" + Kana(1));
}

TEST(LessonTextWrapping, LongParagraphsSplitEveryThirtySixBytes) {
    EXPECT_EQ(WrapBody(Kana(36)), Kana(18) + "\r\n" + Kana(18));
    EXPECT_EQ(WrapBody(Kana(40)), Kana(18) + "\r\n" + Kana(18) + "\r\n" + Kana(4));
}

TEST(LessonTextWrapping, ParagraphsWrapSeparately) {
    EXPECT_EQ(WrapBody(Kana(20) + "\r\n" + Kana(3)),
              Kana(18) + "\r\n" + Kana(2) + "\r\n" + Kana(3));
}

TEST(LessonTextWrapping, LoneCarriageReturnKeepsCharactersWhole) {
    EXPECT_EQ(WrapBody("ab\rcd"), "ab\r\ncd");
    EXPECT_EQ(WrapBody("ab\r"), "ab\r\n");
}
