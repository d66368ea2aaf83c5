// The pages the playback treats specially (its quirk table) must hold, in the built lessons,
// what that special treatment needs. Playing every lesson to its end is the e2e suite's part.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>

#include "lesson/LessonExceptions.h"
#include "lesson/LessonPage.h"

namespace {

using lesson::LessonPage;
using lesson::LessonQuirk;
using Points = std::set<std::pair<int, int>>;

const std::string kLessonDir = std::string(STONEWELL_BINARY_DIR) + "/DATA/DATA/EXPLAIN/";

// The points of the page's step entries that satisfy `want`.
Points EntriesWhere(const LessonPage& p,
                    const std::function<bool(const lesson::StepEntry&)>& want) {
    Points out;
    for (int s = 0; s < p.header.stepCount; ++s)
        for (const lesson::StepEntry& e : p.StepEntries(s))
            if (want(e)) out.insert({e.x, e.y});
    return out;
}

int Stone(const LessonPage& p, int x, int y) {
    return p.board.At(x, y) & 0x000F;
}

struct QuirkCase {
    const char* name;
    lesson::LessonId id;
    LessonQuirk quirk;
    std::function<void(const LessonPage&)> check;
};

const QuirkCase kCases[] = {
    // Each blink tick shows steps 1, 2, 3, 4, 1, ...: a start and four changes.
    {"1-1-1 blink cycle",
     {0, 0, 0},
     LessonQuirk::BlinkCyclesSteps,
     [](const LessonPage& p) {
         EXPECT_EQ(p.header.stepCount, 5);
         EXPECT_EQ(p.header.showFinal, 0);
         for (int s = 1; s < 5; ++s) EXPECT_GT(p.entryCounts[size_t(s)], 0) << "step " << s;
     }},
    // The nigiri picture is drawn over the middle of the board: nothing may lie there.
    {"1-1-2 nigiri",
     {0, 0, 1},
     LessonQuirk::NigiriPicture,
     [](const LessonPage& p) {
         EXPECT_TRUE(EntriesWhere(p, [](const auto&) { return true; }).empty());
     }},
    // Arrow value 2 is the letter ア here and blinking hides the point whole: one letter,
    // blinking, on an empty point.
    {"1-1-2 blinking letter",
     {0, 0, 1},
     LessonQuirk::LabelArrowAndWholePointBlink,
     [](const LessonPage& p) {
         const Points letters =
             EntriesWhere(p, [](const auto& e) { return (e.code & 0x00F0) == 0x0020; });
         ASSERT_EQ(letters.size(), 1u);
         EXPECT_EQ(letters, EntriesWhere(p, [](const auto& e) { return e.code == 0x8000; }));
         EXPECT_EQ(Stone(p, letters.begin()->first, letters.begin()->second), 0);
     }},
    // The Left arrow of column 4 and the Right arrow of column 6 on the top row are drawn
    // at column 5, on a stone that can run both ways.
    {"1-2-1 side arrows",
     {0, 1, 0},
     LessonQuirk::SideArrowsMeetOnTopRow,
     [](const LessonPage& p) {
         const Points left = EntriesWhere(
             p, [](const auto& e) { return e.y == 0 && e.x == 4 && (e.code & 0x00F0) == 0x0040; });
         const Points right = EntriesWhere(
             p, [](const auto& e) { return e.y == 0 && e.x == 6 && (e.code & 0x00F0) == 0x0060; });
         EXPECT_FALSE(left.empty());
         EXPECT_FALSE(right.empty());
         EXPECT_EQ(Stone(p, 5, 0), 2);
         EXPECT_EQ(Stone(p, 4, 0), 0);
         EXPECT_EQ(Stone(p, 6, 0), 0);
     }},
};

TEST(CurriculumLessons, QuirkPagesHoldWhatTheirQuirkNeeds) {
    for (const QuirkCase& c : kCases) {
        SCOPED_TRACE(c.name);
        LessonPage first;
        ASSERT_EQ(lesson::LoadLessonPage(first, c.id, kLessonDir), lesson::PageLoadResult::Loaded);
        int quirkPages = 0;
        for (int page = 0; page < first.pageCount; ++page) {
            if (!lesson::HasQuirk(c.id, page, c.quirk)) continue;
            SCOPED_TRACE("page " + std::to_string(page));
            ++quirkPages;
            LessonPage p;
            p.currentPage = page;
            ASSERT_EQ(lesson::LoadLessonPage(p, c.id, kLessonDir), lesson::PageLoadResult::Loaded);
            c.check(p);
        }
        EXPECT_GT(quirkPages, 0) << "the lesson has no page the quirk names";
    }
}

}  // namespace
