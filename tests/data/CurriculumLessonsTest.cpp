// The pages the playback treats specially (its quirk table) must hold, in the built lessons,
// what that special treatment needs. Playing every lesson to its end is the e2e suite's part.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <tuple>
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

// Runs `check` on every page of lesson `id` that has `quirk`; there must be one.
void ForQuirkPages(lesson::LessonId id, LessonQuirk quirk,
                   const std::function<void(const LessonPage&)>& check) {
    LessonPage first;
    ASSERT_EQ(lesson::LoadLessonPage(first, id, kLessonDir), lesson::PageLoadResult::Loaded);
    int quirkPages = 0;
    for (int page = 0; page < first.pageCount; ++page) {
        if (!lesson::HasQuirk(id, page, quirk)) continue;
        SCOPED_TRACE("page " + std::to_string(page));
        ++quirkPages;
        LessonPage p;
        p.currentPage = page;
        ASSERT_EQ(lesson::LoadLessonPage(p, id, kLessonDir), lesson::PageLoadResult::Loaded);
        check(p);
    }
    EXPECT_GT(quirkPages, 0) << "the lesson has no page the quirk names";
}

TEST(CurriculumLessons, QuirkPagesHoldWhatTheirQuirkNeeds) {
    // 1-1-1: each blink tick shows steps 1, 2, 3, 4, 1, ...: a start and four changes.
    ForQuirkPages({0, 0, 0}, LessonQuirk::BlinkCyclesSteps, [](const LessonPage& p) {
        EXPECT_EQ(std::pair(p.header.stepCount, p.header.showFinal), std::pair(5, 0));
        for (int s = 1; s < 5; ++s) EXPECT_GT(p.entryCounts[size_t(s)], 0) << "step " << s;
    });
    // 1-1-2: the nigiri picture is drawn over the middle of the board: nothing may lie there.
    ForQuirkPages({0, 0, 1}, LessonQuirk::NigiriPicture, [](const LessonPage& p) {
        EXPECT_TRUE(EntriesWhere(p, [](const auto&) { return true; }).empty());
    });
    // 1-1-2: arrow value 2 is the letter ア here and blinking hides the point whole: one
    // letter, blinking, on an empty point.
    ForQuirkPages({0, 0, 1}, LessonQuirk::LabelArrowAndWholePointBlink, [](const LessonPage& p) {
        const Points letters =
            EntriesWhere(p, [](const auto& e) { return (e.code & 0x00F0) == 0x0020; });
        ASSERT_EQ(letters.size(), 1u);
        EXPECT_EQ(letters, EntriesWhere(p, [](const auto& e) { return e.code == 0x8000; }));
        EXPECT_EQ(Stone(p, letters.begin()->first, letters.begin()->second), 0);
    });
    // 1-2-1: the Left arrow of column 4 and the Right arrow of column 6 on the top row are
    // drawn at column 5, on a stone that can run both ways.
    ForQuirkPages({0, 1, 0}, LessonQuirk::SideArrowsMeetOnTopRow, [](const LessonPage& p) {
        auto arrowAt = [&](int x, int code) {
            return !EntriesWhere(p, [&](const auto& e) {
                        return e.y == 0 && e.x == x && (e.code & 0x00F0) == code;
                    }).empty();
        };
        EXPECT_TRUE(arrowAt(4, 0x0040) && arrowAt(6, 0x0060));
        EXPECT_EQ(std::tuple(Stone(p, 5, 0), Stone(p, 4, 0), Stone(p, 6, 0)), std::tuple(2, 0, 0));
    });
}

}  // namespace
