// Every lesson of the data set played through the real program, from the main menu to its
// end with the wheel: the lesson screen opens, the last page ends it, the program is back on
// the main menu with the progress saved, and the lesson's row shows its completed look.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "HeadlessRun.h"
#include "lesson/LessonPage.h"
#include "support/Built.h"

namespace {

namespace fs = std::filesystem;

struct Lesson {
    // Its id as the lesson files name it (course and chapter 1-based in "1-2-1").
    lesson::LessonId id;
    const char* file;
    // Scroll clicks in the main menu that bring its row into view, then the row's button.
    int scrollDown;
    const char* button;
};

class AllLessons : public ::testing::TestWithParam<Lesson> {};

TEST_P(AllLessons, PlaysToItsEndAndIsRecordedAsDone) {
    REQUIRE_BUILT(e2e::DataBuilt(), "data set");
    const Lesson lesson = GetParam();
    lesson::LessonPage page;
    lesson::LoadLessonPage(page, lesson.id, (e2e::BuiltData() / "DATA/EXPLAIN/").string());
    ASSERT_GT(page.pageCount, 0) << "no built lesson " << lesson.file;

    std::ostringstream script;
    const auto scrollToRow = [&] {
        for (int i = 0; i < lesson.scrollDown; ++i) script << "tap btn_scroll_down1\nwait 300\n";
    };
    script << "wait 2600\ntap btn_start1\nwait 800\n";
    scrollToRow();
    // The row's picture names its section: the lesson that opens is the one meant.
    const std::string item = std::string("item_") + lesson.button[8];
    script << "where " << item << "\nwhere " << lesson.button << "\ntap " << lesson.button
           << "\nwait 1500\n";
    // A turn may only finish a page's typing; three a page is more than enough, and the
    // turns left over after the end scroll the menu, which the turns back undo.
    for (int i = 0; i < page.pageCount * 3 + 10; ++i) script << "wheel -120 500 400\nwait 40\n";
    script << "wait 1500\n";
    for (int i = 0; i < 30; ++i) script << "wheel 120 500 400\nwait 60\n";
    scrollToRow();
    script << "wait 300\nwhere " << lesson.button << "\n";

    const fs::path root = e2e::MakeRoot(std::string("lesson-") + lesson.file);
    const fs::path scriptPath = root / "lesson.script";
    std::ofstream(scriptPath) << script.str();
    const e2e::RunResult run = e2e::RunHeadless(root, scriptPath);
    ASSERT_TRUE(run.exitedCleanly) << run.stderrText;

    // In order: the row's section picture, the row's normal look, the lesson, back on the menu with
    // the save written, and the row's completed look.
    const std::string row = std::string("pane ") + lesson.button + " ";
    char picture[32];
    std::snprintf(picture, sizeof picture, "C1_%d-%d.tga", lesson.id.chapter + 1,
                  lesson.id.section + 1);
    const std::vector<std::string> want{"pane " + item + " ",
                                        picture,
                                        row,
                                        "scene 4",
                                        "bgm DATA/SOUND/BGM/Setsumei.wav",
                                        "scene 3",
                                        row};
    std::vector<std::string> rowLooks;
    size_t at = 0;
    bool saved = false;
    for (const std::string& line : e2e::Lines(run.trace)) {
        while (at < want.size() && line.find(want[at]) != std::string::npos) ++at;
        if (line.find(row) != std::string::npos) rowLooks.push_back(line);
        // The save is written as the lesson screen ends, just before the menu's scene line.
        if (at >= 2 && line.find("save DATA/SAVE/") != std::string::npos) saved = true;
    }
    EXPECT_EQ(at, want.size()) << "the run did not go menu -> lesson -> menu";
    ASSERT_EQ(rowLooks.size(), 2u);
    EXPECT_NE(rowLooks[0].find("C1_btn_explain_1.tga"), std::string::npos) << rowLooks[0];
    EXPECT_NE(rowLooks[1].find("C1_btn_explain_11.tga"), std::string::npos) << rowLooks[1];
    EXPECT_TRUE(saved) << "the progress was not written when the lesson ended";
    if (!HasFailure()) fs::remove_all(root);
}

// The menu shows five rows and one click scrolls by one: the section at list position p
// (1-1 is 0, 1-8 is 7, 2-1 is 8, 3-1 is 13: chapters differ in length) sits in row 5 after
// p - 4 clicks.
INSTANTIATE_TEST_SUITE_P(
    Written, AllLessons,
    ::testing::Values(
        Lesson{{0, 0, 0}, "1-1-1", 0, "btn_menu1_1"}, Lesson{{0, 0, 1}, "1-1-2", 0, "btn_menu2_1"},
        Lesson{{0, 0, 2}, "1-1-3", 0, "btn_menu3_1"}, Lesson{{0, 0, 3}, "1-1-4", 0, "btn_menu4_1"},
        Lesson{{0, 0, 4}, "1-1-5", 0, "btn_menu5_1"}, Lesson{{0, 0, 5}, "1-1-6", 1, "btn_menu5_1"},
        Lesson{{0, 0, 6}, "1-1-7", 2, "btn_menu5_1"}, Lesson{{0, 0, 7}, "1-1-8", 3, "btn_menu5_1"},
        Lesson{{0, 1, 0}, "1-2-1", 4, "btn_menu5_1"}, Lesson{{0, 1, 1}, "1-2-2", 5, "btn_menu5_1"},
        Lesson{{0, 1, 2}, "1-2-3", 6, "btn_menu5_1"}, Lesson{{0, 1, 3}, "1-2-4", 7, "btn_menu5_1"},
        Lesson{{0, 1, 4}, "1-2-5", 8, "btn_menu5_1"}, Lesson{{0, 2, 0}, "1-3-1", 9, "btn_menu5_1"},
        Lesson{{0, 2, 1}, "1-3-2", 10, "btn_menu5_1"},
        Lesson{{0, 2, 2}, "1-3-3", 11, "btn_menu5_1"},
        Lesson{{0, 2, 3}, "1-3-4", 12, "btn_menu5_1"},
        Lesson{{0, 3, 1}, "1-4-2", 14, "btn_menu5_1"},
        Lesson{{0, 3, 4}, "1-4-5", 17, "btn_menu5_1"},
        Lesson{{0, 3, 0}, "1-4-1", 13, "btn_menu5_1"},
        Lesson{{0, 3, 3}, "1-4-4", 16, "btn_menu5_1"},
        Lesson{{0, 3, 2}, "1-4-3", 15, "btn_menu5_1"},
        Lesson{{0, 4, 0}, "1-5-1", 18, "btn_menu5_1"},
        Lesson{{0, 4, 1}, "1-5-2", 19, "btn_menu5_1"},
        Lesson{{0, 4, 2}, "1-5-3", 20, "btn_menu5_1"},
        Lesson{{0, 4, 3}, "1-5-4", 21, "btn_menu5_1"}),
    [](const auto& param) {
        std::string name = std::string("Lesson_") + param.param.file;
        for (char& c : name)
            if (c == '-') c = '_';
        return name;
    });

}  // namespace
