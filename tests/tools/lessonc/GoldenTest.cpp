#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "../../../tools/lessonc/LessonCompiler.h"

namespace {

// Little-endian writer for the expected bytes, laid out from the data-file tables by hand.
struct Bytes {
    std::vector<uint8_t> out;
    Bytes& S32(int32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(uint8_t(uint32_t(v) >> (8 * i)));
        return *this;
    }
    Bytes& Entry(uint8_t x, uint8_t y, uint16_t code) {
        out.insert(out.end(), {x, y, uint8_t(code & 0xFF), uint8_t(code >> 8)});
        return *this;
    }
};

}  // namespace

TEST(LessoncGolden, TinyPageMatchesTheByteTables) {
    const std::string source =
        "page\n"
        "board 9\n"
        "pose front\n"
        "window slide-in\n"
        "auto-advance yes\n"
        "show-final no\n"
        "text-first yes\n"
        "caption 石\n"
        "body 黒::白\n"
        "step\n"
        "B a9 c7\n"
        "step\n"
        "arrow b1 up right\n"
        "number 12 at j1\n"
        "blink labels b1\n";
    std::vector<lessonc::Diagnostic> errors;
    const lessonc::CompiledLesson lesson =
        lessonc::CompileLesson(source, lessonc::CompileOptions{}, errors);
    ASSERT_TRUE(errors.empty());

    Bytes expected;
    expected.S32(1);  // page count
    // characterPose 2, windowMode 2, boardSize 9, stepCount 2, autoAdvance 1, showFinal 0,
    // textFirst 1.
    expected.S32(2).S32(2).S32(9).S32(2).S32(1).S32(0).S32(1);
    // Step 0: black stones at a9 (column 0, top row) and c7 (column 2, row 2 from the top).
    expected.S32(2).Entry(0, 0, 0x0001).Entry(2, 2, 0x0001);
    // Step 1: arrow up+right (value 9) at b1, number 12 at j1 (column 8: no i), then the
    // label blink class at b1.
    expected.S32(3).Entry(1, 8, 0x0090).Entry(8, 8, 0x0C00).Entry(1, 8, 0x8000);
    EXPECT_EQ(lesson.data, expected.out);

    // "石" is 0x90 0xCE, "黒" 0x8D 0x95, "白" 0x94 0x92 in Shift_JIS; "::" stays as written.
    EXPECT_EQ(lesson.text, "\x90\xCE\r\n\x8D\x95::\x94\x92\r\n");
}

TEST(LessoncGolden, ThirteenBoardRowsAreStoredBottomUp) {
    std::vector<lessonc::Diagnostic> errors;
    const lessonc::CompiledLesson lesson = lessonc::CompileLesson(
        "page\nboard 13\ncaption\nstep\nW a13 n1\n", lessonc::CompileOptions{}, errors);
    ASSERT_TRUE(errors.empty());
    Bytes expected;
    expected.S32(1).S32(0).S32(1).S32(13).S32(1).S32(0).S32(0).S32(0);
    // a13 is the top row as shown, stored as row 12; n1 the bottom row, stored as row 0.
    expected.S32(2).Entry(0, 12, 0x0002).Entry(12, 0, 0x0002);
    EXPECT_EQ(lesson.data, expected.out);
    // Empty caption and body are two bare CR LF lines.
    EXPECT_EQ(lesson.text, "\r\n\r\n");
}
