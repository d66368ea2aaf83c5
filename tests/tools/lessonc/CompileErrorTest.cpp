#include <gtest/gtest.h>

#include <string>

#include "LessoncTestSupport.h"

using lessonc_test::Errors;
using lessonc_test::OneError;

namespace {

// A valid one-page head (lines 1..3); tests append the line under test as line 4 onward.
const std::string kHead = "page\nboard 9\ncaption 石\n";

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

}  // namespace

TEST(LessoncErrors, ValidSourceHasNone) {
    EXPECT_TRUE(Errors(kHead + "body 本文\nstep\nB e5\n").empty());
}

TEST(LessoncErrors, FileWithoutPages) {
    EXPECT_EQ(OneError("# only a comment\n"),
              "t.lesson: no page: a lesson starts each page with the line 'page'");
    EXPECT_EQ(OneError("board 9\npage\nboard 9\ncaption\n"),
              "t.lesson:1: 'board' before the first 'page'");
}

TEST(LessoncErrors, UnknownLine) {
    EXPECT_EQ(OneError(kHead + "step\nstone e5\n"), "t.lesson:5: unknown line 'stone'");
    EXPECT_EQ(OneError(kHead + "B e5\n"),
              "t.lesson:4: 'B' is not a page field; board edits follow a 'step' line");
}

TEST(LessoncErrors, BadHeaderFields) {
    EXPECT_EQ(OneError("page\nboard 8\ncaption\n"), "t.lesson:2: board is 6, 9, 13 or 19, not '8'");
    EXPECT_EQ(OneError(kHead + "auto-advance maybe\n"),
              "t.lesson:4: 'auto-advance' is one of no, yes, not 'maybe'");
    EXPECT_EQ(OneError(kHead + "window open\n"),
              "t.lesson:4: 'window' is one of hidden, shown, slide-in, slide-out, not 'open'");
    EXPECT_EQ(OneError(kHead + "board 13\n"), "t.lesson:4: 'board' given twice (first on line 2)");
    EXPECT_EQ(OneError(kHead + "step\npose front\n"),
              "t.lesson:5: 'pose' after the first step; page fields come first");
    EXPECT_EQ(OneError("page\ncaption\n"), "t.lesson:1: the page has no 'board' line");
    EXPECT_EQ(OneError("page\nboard 9\n"), "t.lesson:1: the page has no 'caption' line");
    EXPECT_EQ(OneError("page\ncaption\nstep\n"),
              "t.lesson:3: the page needs a 'board' line before its first step");
}

TEST(LessoncErrors, PointsOffTheBoard) {
    EXPECT_EQ(OneError(kHead + "step\nB k1\n"),
              "t.lesson:5: 'k1' is not a point of the 9 x 9 board");
    EXPECT_EQ(OneError(kHead + "step\nW a10\n"),
              "t.lesson:5: 'a10' is not a point of the 9 x 9 board");
    EXPECT_EQ(OneError(kHead + "step\nmark\n"), "t.lesson:5: 'mark' needs at least one point");
}

TEST(LessoncErrors, BadEditValues) {
    EXPECT_EQ(OneError(kHead + "step\nnumber 64 at e5\n"), "t.lesson:5: number is 1..63, not '64'");
    EXPECT_EQ(OneError(kHead + "step\nnumber 3 e5\n"),
              "t.lesson:5: write a number as 'number N at POINT'");
    EXPECT_EQ(OneError(kHead + "step\narrow e5 up down\n"),
              "t.lesson:5: no arrow picture shows these directions together");
    EXPECT_EQ(OneError(kHead + "step\narrow e5 north\n"),
              "t.lesson:5: arrow direction is up, down, left, right or none, not 'north'");
    EXPECT_EQ(OneError(kHead + "step\nlabel 7 e5\n"),
              "t.lesson:5: label is black, white or 1..6, not '7'");
    EXPECT_EQ(OneError(kHead + "step\nblink fast e5\n"),
              "t.lesson:5: blink is stones, labels or steady, not 'fast'");
}

TEST(LessoncErrors, DiagramShape) {
    const std::string row = ". . . . . . . . .\n";
    EXPECT_EQ(OneError(kHead + "step\ndiagram\n" + Repeat(row, 4) + ". . .\n" + Repeat(row, 4)),
              "t.lesson:10: diagram row has 3 points; the board has 9");
    EXPECT_EQ(OneError(kHead + "step\ndiagram\n" + Repeat(row, 8) + ". . . . Z . . . .\n"),
              "t.lesson:14: 'Z' is not a diagram point (. X O B W M - 1..6)");
    EXPECT_EQ(OneError(kHead + "step\ndiagram\n" + Repeat(row, 2)),
              "t.lesson:5: diagram has 2 rows; the board has 9");
}

TEST(LessoncErrors, TooManySteps) {
    EXPECT_TRUE(Errors(kHead + Repeat("step\n", 150)).empty());
    // The 151st "step" is on line 3 + 151.
    EXPECT_EQ(OneError(kHead + Repeat("step\n", 151)),
              "t.lesson:154: more than 150 steps on the page");
}

TEST(LessoncErrors, TooManyEntriesInOneStep) {
    // 201 edits of one point: one entry too many, while the board shows a single stone.
    EXPECT_TRUE(Errors(kHead + "step\n" + Repeat("B e5\n", 200)).empty());
    EXPECT_EQ(OneError(kHead + "step\n" + Repeat("B e5\n", 201)),
              "t.lesson:4: step has 201 entries; at most 200 fit");
}

TEST(LessoncErrors, TooManyPictures) {
    // 100 black stones with a white label are 200 pictures: they fit. One more stone does not.
    std::string rows;
    for (int r = 1; r <= 19; ++r) rows += "stone-label black a" + std::to_string(r) + "\n";
    const std::string head = "page\nboard 19\ncaption\nstep\n";
    std::string hundred;
    const std::string columns = "abcdefghjklmnopqrst";
    int n = 0;
    for (char c : columns) {
        for (int r = 1; r <= 19 && n < 100; ++r, ++n) {
            hundred += std::string("stone-label black ") + c + std::to_string(r) + "\n";
        }
    }
    EXPECT_TRUE(Errors(head + hundred).empty());
    EXPECT_EQ(OneError(head + hundred + "step\nB t19\n"),
              "t.lesson:105: step shows 201 pictures; at most 200 are drawn");
}

TEST(LessoncErrors, TextLimitsInShiftJisBytes) {
    // 49 kanji are 98 bytes, plus one "::" is 100: one byte too many for a caption.
    const std::string kanji49 = Repeat("石", 49);
    EXPECT_TRUE(Errors("page\nboard 9\ncaption " + kanji49 + ":\n").empty());
    EXPECT_EQ(OneError("page\nboard 9\ncaption " + kanji49 + "::\n"),
              "t.lesson:3: caption is 100 bytes in Shift_JIS; at most 99 fit");
    // Two body lines join with "::": 124 + 2 + 124 = 250 bytes, one too many.
    const std::string kanji62 = Repeat("石", 62);
    EXPECT_EQ(OneError(kHead + "body " + kanji62 + "\nbody " + kanji62 + "\n"),
              "t.lesson:4: body is 250 bytes in Shift_JIS; at most 249 fit");
    EXPECT_EQ(OneError(kHead + "body a\n"),
              "t.lesson:4: body of one byte reads as empty; write it full-width");
}

TEST(LessoncErrors, BodyMustFitTheTextWindowAsWrapped) {
    const std::string line18 = Repeat("石", 18);
    // Four full lines, each with a "。" allowed past the width, still fit.
    EXPECT_TRUE(Errors(kHead + "body " + Repeat(line18 + "。", 4) + "\n").empty());
    EXPECT_EQ(OneError(kHead + "body " + Repeat(line18, 4) + "石\n"),
              "t.lesson:4: body takes 5 lines in the text window; at most 4 show (split the page)");
    // Written line breaks count as well.
    EXPECT_EQ(OneError(kHead + "body 一\nbody 二\nbody 三\nbody 四\nbody 五\n"),
              "t.lesson:4: body takes 5 lines in the text window; at most 4 show (split the page)");
}

TEST(LessoncErrors, TextOutsideCodePage932) {
    // U+1F600 and the Korean syllable have no Shift_JIS form; neither does broken UTF-8.
    EXPECT_EQ(OneError("page\nboard 9\ncaption 碁\xF0\x9F\x98\x80\n"),
              "t.lesson:3: caption has a character that Shift_JIS (code page 932) cannot hold, "
              "or is not UTF-8");
    EXPECT_EQ(Errors(kHead + "body 바둑\n").size(), 1u);
    EXPECT_EQ(Errors(kHead + "body \xFF\xFE\n").size(), 1u);
}

TEST(LessoncErrors, EveryErrorOfAFileIsReported) {
    const std::vector<std::string> errors =
        Errors("page\nboard 9\ncaption\nstep\nB z1\nnumber 0 at a1\nfoo\n");
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0], "t.lesson:5: 'z1' is not a point of the 9 x 9 board");
    EXPECT_EQ(errors[1], "t.lesson:6: number is 1..63, not '0'");
    EXPECT_EQ(errors[2], "t.lesson:7: unknown line 'foo'");
}
