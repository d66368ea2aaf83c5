#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "../../../tools/common/FileIO.h"
#include "../../../tools/lessonc/LessonCompiler.h"
#include "common/Cp932.h"
#include "lesson/LessonPage.h"
#include "lesson/LessonSprites.h"
#include "support/ScratchDir.h"

namespace {

// Compiles `source` into NAME.dat / NAME.txt in `folder`; false on compile errors.
bool CompileInto(const testsupport::ScratchDir& folder, const std::string& source,
                 const std::string& name = "1-1-1", bool mirror = false) {
    std::vector<lessonc::Diagnostic> errors;
    const lessonc::CompiledLesson lesson =
        lessonc::CompileLesson(source, lessonc::CompileOptions{"t", mirror}, errors);
    for (const auto& e : errors) ADD_FAILURE() << e.Format();
    tools::WriteBytes(folder / (name + ".dat"), lesson.data);
    tools::WriteText(folder / (name + ".txt"), lesson.text);
    return errors.empty();
}

lesson::LessonPage Load(const testsupport::ScratchDir& folder, int pageIndex,
                        lesson::LessonId id = {0, 0, 0}) {
    lesson::LessonPage page;
    page.currentPage = pageIndex;
    EXPECT_EQ(lesson::LoadLessonPage(page, id, folder / ""), lesson::PageLoadResult::Loaded);
    return page;
}

std::string Sjis(const std::string& utf8) {
    const auto converted = tools::Utf8ToCp932(utf8);
    EXPECT_TRUE(converted.has_value());
    return converted.value_or("");
}

const std::string kTwoPages =
    "# two pages\npage\nboard 19\nauto-advance yes\ntext-first yes\ncaption はじめに\n"
    "body 一行目\nstep\nB d4\nW q16\n\n"
    "page\nboard 6\npose front\nwindow slide-out\nshow-final yes\ntext-first yes\n"
    "caption 見出し::二行\n"
    // 20 kanji: longer than the 36-byte line, so the loader wraps it after 18.
    "body 一二三四五六七八九十一二三四五六七八九十\nbody 次の段落。\n"
    "step\ndiagram\nX O . . . .\n. M . . . .\n. . B W . .\n. . . . 1 6\n. . . . . .\n"
    ". . . . . X\n"
    "step\nclear a6\nstone-label white b6\narrow c1 down left\nnumber 7 at f1\n"
    "blink stones f1\nblink labels b6\n";

}  // namespace

TEST(LessoncRoundTrip, BothPagesLoadAsWritten) {
    testsupport::ScratchDir folder;
    ASSERT_TRUE(CompileInto(folder, kTwoPages));
    lesson::LessonPage page = Load(folder, 0);
    // Shown unless the page says otherwise; d4 is column 3, row 15 from the top; q16 column
    // 15 (no i), row 3. The two pages set the three switches each in another pattern, so a
    // switch written in another's place shows.
    EXPECT_EQ(std::tuple(page.pageCount, page.header.boardSize, page.header.windowMode,
                         page.header.autoAdvance, page.header.showFinal, page.header.textFirst,
                         page.entryCounts[0], page.board.At(3, 15), page.board.At(15, 3)),
              std::tuple(2, 19, 1, 1, 0, 1, 2, 1, 2));
    EXPECT_EQ(std::tuple(page.caption, page.body), std::tuple(Sjis("はじめに"), Sjis("一行目")));

    page = Load(folder, 1);
    EXPECT_EQ(std::tuple(page.header.boardSize, page.header.characterPose, page.header.windowMode,
                         page.header.stepCount, page.header.autoAdvance, page.header.showFinal,
                         page.header.textFirst, page.entryCounts[0], page.entryCounts[1]),
              std::tuple(6, 2, 3, 2, 0, 1, 1, 8, 6));
    EXPECT_EQ(page.caption, Sjis("見出し\r\n二行"));
    EXPECT_EQ(page.body, Sjis("一二三四五六七八九十一二三四五六七八\r\n九十\r\n次の段落。"));
    // A show-final page opens on its last step, both steps merged: a6 cleared, the white stone
    // at b6 replaced by one with a black label that blinks, a mark, black and white labels,
    // labels 1 and 6, an arrow down+left and a blinking black stone numbered 7.
    const lesson::LessonBoard& b = page.board;
    EXPECT_EQ((std::vector<int>{b.At(0, 0), b.At(1, 0), b.At(1, 1), b.At(2, 2), b.At(3, 2),
                                b.At(4, 3), b.At(5, 3), b.At(2, 5), b.At(5, 5)}),
              (std::vector<int>{0, 0x8000 | 6, 9, 3, 4, 10, 15, 7 << 4, 0x4000 | 7 << 8 | 1}));
}

TEST(LessoncRoundTrip, ThirteenAndMirroredBoardsLoadWhereTheyAreShown) {
    testsupport::ScratchDir folder;
    ASSERT_TRUE(CompileInto(
        folder, "page\nboard 13\ncaption\nstep\nB a13\nW n1\narrow g7 up\narrow g6 up right\n"));
    const lesson::LessonPage page = Load(folder, 0);
    EXPECT_EQ(std::tuple(page.board.At(0, 0), page.board.At(12, 12)), std::tuple(1, 2));
    // The arrows are drawn pointing the way the source says.
    lesson::SpriteScene scene;
    scene.board = &page.board;
    scene.boardSize = 13;
    std::vector<std::string> arrows;
    for (const lesson::LessonSprite& s : lesson::BuildSprites(scene))
        if (s.texture.find("arrow") != std::string::npos) arrows.push_back(s.texture);
    std::sort(arrows.begin(), arrows.end());
    EXPECT_EQ(arrows, (std::vector<std::string>{"COMN_arrow13_right.tga", "COMN_arrow13_up.tga",
                                                "COMN_arrow13_up.tga"}));

    // Lesson 2-4-1 mirrors full-board rows when loading; the compiler stores them flipped.
    ASSERT_TRUE(CompileInto(folder, "page\nboard 19\ncaption\nstep\nB a19 t1\n", "2-4-1", true));
    const lesson::LessonPage page241 = Load(folder, 0, lesson::LessonId{1, 3, 0});
    EXPECT_EQ(std::tuple(page241.board.At(0, 0), page241.board.At(18, 18)), std::tuple(1, 1));
}

TEST(LessoncRoundTrip, ExampleLessonCompilesAndEveryPageLoads) {
    testsupport::ScratchDir folder;
    ASSERT_TRUE(CompileInto(folder, tools::ReadText(std::string(STONEWELL_SOURCE_DIR) +
                                                    "/data/lessons/example.lesson")));
    for (int p = 0; p < 3; ++p) {
        const lesson::LessonPage page = Load(folder, p);
        EXPECT_EQ(std::tuple(page.pageCount, page.header.boardSize), std::tuple(3, 9));
        EXPECT_TRUE(page.header.stepCount > 0 && !page.caption.empty() && !page.body.empty());
    }
}
