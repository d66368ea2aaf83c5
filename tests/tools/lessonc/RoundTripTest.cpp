#include <gtest/gtest.h>

#include <algorithm>
#include <string>

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
    "# two pages\n"
    "page\n"
    "board 19\n"
    "caption はじめに\n"
    "body 一行目\n"
    "step\n"
    "B d4\n"
    "W q16\n"
    "\n"
    "page\n"
    "board 6\n"
    "pose front\n"
    "window slide-out\n"
    "auto-advance yes\n"
    "show-final yes\n"
    "text-first yes\n"
    "caption 見出し::二行\n"
    // 20 kanji: longer than the 36-byte line, so the loader wraps it after 18.
    "body 一二三四五六七八九十一二三四五六七八九十\n"
    "body 次の段落。\n"
    "step\n"
    "diagram\n"
    "X O . . . .\n"
    ". M . . . .\n"
    ". . B W . .\n"
    ". . . . 1 6\n"
    ". . . . . .\n"
    ". . . . . X\n"
    "step\n"
    "clear a6\n"
    "stone-label white b6\n"
    "arrow c1 down left\n"
    "number 7 at f1\n"
    "blink stones f1\n";

}  // namespace

TEST(LessoncRoundTrip, BothPagesLoadAsWritten) {
    testsupport::ScratchDir folder;
    ASSERT_TRUE(CompileInto(folder, kTwoPages));
    lesson::LessonPage page = Load(folder, 0);
    EXPECT_EQ(page.pageCount, 2);
    EXPECT_EQ(page.header.boardSize, 19);
    EXPECT_EQ(page.header.windowMode, 1);  // shown unless the page says otherwise
    ASSERT_EQ(page.entryCounts[0], 2);
    // d4: column 3, row 15 from the top; q16: column 15 (no i), row 3.
    EXPECT_EQ(page.board.At(3, 15), 1);
    EXPECT_EQ(page.board.At(15, 3), 2);
    EXPECT_EQ(page.caption, Sjis("はじめに"));
    EXPECT_EQ(page.body, Sjis("一行目"));

    page = Load(folder, 1);
    EXPECT_EQ(page.header.boardSize, 6);
    EXPECT_EQ(page.header.characterPose, 2);
    EXPECT_EQ(page.header.windowMode, 3);
    EXPECT_EQ(page.header.stepCount, 2);
    EXPECT_EQ(page.header.showFinal, 1);
    EXPECT_EQ(page.entryCounts[0], 8);
    EXPECT_EQ(page.entryCounts[1], 5);
    EXPECT_EQ(page.caption, Sjis("見出し\r\n二行"));
    EXPECT_EQ(page.body, Sjis("一二三四五六七八九十一二三四五六七八\r\n九十\r\n次の段落。"));
    // A show-final page opens on its last step: both steps merged.
    const lesson::LessonBoard& b = page.board;
    EXPECT_EQ(b.At(0, 0), 0);       // cleared in step 1
    EXPECT_EQ(b.At(1, 0), 6);       // white stone with a black label replaced the white stone
    EXPECT_EQ(b.At(1, 1), 9);       // mark
    EXPECT_EQ(b.At(2, 2), 3);       // black label
    EXPECT_EQ(b.At(3, 2), 4);       // white label
    EXPECT_EQ(b.At(4, 3), 10);      // label 1
    EXPECT_EQ(b.At(5, 3), 15);      // label 6
    EXPECT_EQ(b.At(2, 5), 7 << 4);  // arrow down+left
    EXPECT_EQ(b.At(5, 5), 0x4000 | 7 << 8 | 1);  // black stone, number 7, blinking
}

TEST(LessoncRoundTrip, ThirteenAndMirroredBoardsLoadWhereTheyAreShown) {
    testsupport::ScratchDir folder;
    ASSERT_TRUE(CompileInto(
        folder, "page\nboard 13\ncaption\nstep\nB a13\nW n1\narrow g7 up\narrow g6 up right\n"));
    const lesson::LessonPage page = Load(folder, 0);
    EXPECT_EQ(page.board.At(0, 0), 1);
    EXPECT_EQ(page.board.At(12, 12), 2);
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
    EXPECT_EQ(page241.board.At(0, 0), 1);
    EXPECT_EQ(page241.board.At(18, 18), 1);
}

TEST(LessoncRoundTrip, ExampleLessonCompilesAndEveryPageLoads) {
    testsupport::ScratchDir folder;
    ASSERT_TRUE(CompileInto(folder, tools::ReadText(std::string(STONEWELL_SOURCE_DIR) +
                                                    "/data/lessons/example.lesson")));
    for (int p = 0; p < 3; ++p) {
        const lesson::LessonPage page = Load(folder, p);
        EXPECT_EQ(page.pageCount, 3);
        EXPECT_EQ(page.header.boardSize, 9);
        EXPECT_GT(page.header.stepCount, 0);
        EXPECT_FALSE(page.caption.empty());
        EXPECT_FALSE(page.body.empty());
    }
}
