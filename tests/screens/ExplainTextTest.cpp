#include <gtest/gtest.h>

#include "screens/ExplainText.h"

namespace {

// "あい" CR LF "う": Shift_JIS 82 A0, 82 A2, 0D 0A, 82 A4.
const std::string kBody = "\x82\xa0\x82\xa2\r\n\x82\xa4";

TEST(ExplainText, CarriageReturnsAreDroppedLineFeedsKept) {
    EXPECT_EQ(explain::WithoutCarriageReturns("a\r\nb\rc\n"), "a\nbc\n");
    EXPECT_EQ(explain::WithoutCarriageReturns(""), "");
}

TEST(ExplainText, TypedCharactersBecomeGlyphsWithoutLineBreaks) {
    const std::string lfOnly = "\x82\xa0\x82\xa2\n\x82\xa4";
    struct Case {
        int characters;
        int glyphs;
    };
    // The line break takes one typed character (two bytes) and reveals nothing.
    for (const Case c : {Case{0, 0}, Case{1, 1}, Case{2, 2}, Case{3, 2}, Case{4, 3}, Case{9, 3}}) {
        const explain::TypedText typed = explain::TypedBodyText(kBody, c.characters);
        EXPECT_EQ(typed.glyphs, c.glyphs) << c.characters << " characters";
        EXPECT_EQ(typed.text, lfOnly) << "the whole body keeps its lines while typing";
    }
}

TEST(ExplainText, SingleBytesAndACutLeadByteCountOnce) {
    EXPECT_EQ(explain::TypedBodyText("abcd", 1).glyphs, 2);
    // A lead byte at the very end has no trail byte: still one glyph, no overrun.
    EXPECT_EQ(explain::TypedBodyText("a\x82", 5).glyphs, 2);
    EXPECT_EQ(explain::TypedBodyText("\r\n\r\n", 2).glyphs, 0);
    EXPECT_EQ(explain::TypedBodyText(kBody, -3).glyphs, 0);
}

}  // namespace
