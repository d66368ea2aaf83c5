#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <tuple>

#include "progress/ProgressState.h"

TEST(CurriculumCounts, LookupsUseOneBasedNumbersAndMatchTheTables) {
    auto p = std::make_unique<ProgressState>();
    struct Cell {
        int course, chapter, section, count = 0;
    };
    for (const Cell& c : {Cell{0, 1, 3, 28}, Cell{0, 1, 8, 10}, Cell{0, 6, 5, 124},
                          Cell{1, 3, 4, 196}, Cell{1, 3, 2, 0}, Cell{2, 2, 4, 104}}) {
        EXPECT_EQ(p->ProblemCount(c.course, c.chapter, c.section), c.count) << c.chapter;
    }
    for (const Cell& c : {Cell{0, 1, 1, 2}, Cell{0, 4, 4, 2}, Cell{1, 3, 1, 20}, Cell{2, 1, 1, 12},
                          Cell{0, 6, 1, 0}}) {
        EXPECT_EQ(p->LessonCount(c.course, c.chapter, c.section), c.count) << c.chapter;
    }
    for (const Cell& c : {Cell{0, 0, 3}, Cell{0, 1, 0}, Cell{0, 7, 1}, Cell{0, 1, 9}, Cell{3, 1, 1},
                          Cell{-1, 1, 1}, Cell{0, -5, 1}}) {
        EXPECT_EQ(p->ProblemCount(c.course, c.chapter, c.section), 0) << "out of range";
        EXPECT_EQ(p->LessonCount(c.course, c.chapter, c.section), 0) << "out of range";
    }
    // Totals of each printed table, course by course, catch a mistyped cell anywhere.
    const int problemTotals[] = {1218, 1035, 542}, lessonTotals[] = {76, 75, 12};
    for (int course = 0; course < 3; ++course) {
        int problems = 0, lessons = 0;
        for (int n = 1; n <= 6; ++n) {
            for (int s = 1; s <= 8; ++s) {
                problems += p->ProblemCount(course, n, s);
                lessons += p->LessonCount(course, n, s);
            }
        }
        EXPECT_EQ(problems, problemTotals[course]) << course;
        EXPECT_EQ(lessons, lessonTotals[course]) << course;
    }
}

TEST(ProgressMarks, LastProblemSetsTheAllSolvedByteEmptySectionsNeverAndBadIndicesFail) {
    auto p = std::make_unique<ProgressState>();
    // Course 0, chapter 1, section 8 has 10 problems.
    for (int i = 0; i < 9; ++i) ASSERT_TRUE(p->MarkProblemSolved(0, 0, 7, i));
    EXPECT_FALSE(p->IsSectionSolved(0, 0, 7));
    ASSERT_TRUE(p->MarkProblemSolved(0, 0, 7, 9));
    EXPECT_TRUE(p->IsSectionSolved(0, 0, 7));
    EXPECT_EQ(
        std::tuple(p->m_solved[0][0][7][0], p->m_solved[0][0][7][10], p->m_solved[0][0][7][11]),
        std::tuple(1, 1, 0));

    auto before = std::make_unique<ProgressState>(*p);
    ASSERT_TRUE(p->MarkProblemSolved(0, 0, 7, 5));
    EXPECT_EQ(0, std::memcmp(before->m_solved, p->m_solved, sizeof p->m_solved))
        << "solving twice changes nothing";
    // Course 0, chapter 1, section 1 has no problems in the table: never all solved.
    ASSERT_TRUE(p->MarkProblemSolved(0, 0, 0, 0));
    EXPECT_FALSE(p->IsSectionSolved(0, 0, 0));
    EXPECT_FALSE(p->MarkProblemSolved(0, 0, 2, 199)) << "byte 200 would be the next section";
    EXPECT_FALSE(p->MarkProblemSolved(0, 0, 2, -1) || p->MarkProblemSolved(3, 0, 0, 0) ||
                 p->MarkProblemSolved(0, 6, 0, 0) || p->MarkLessonDone(0, 0, 8));
    EXPECT_TRUE(p->MarkProblemSolved(1, 2, 3, 198));
    EXPECT_EQ(std::tuple(p->m_solved[1][2][3][199], p->m_solved[1][2][4][0]), std::tuple(1, 0));
}

TEST(ProgressMarks, ResetClearsProgressButKeepsSelection) {
    auto p = std::make_unique<ProgressState>();
    std::tie(p->m_course, p->m_chapter, p->m_section, p->m_problemIndex) = std::tuple(1, 2, 3, 7);
    p->MarkProblemSolved(1, 2, 3, 7);
    p->MarkLessonDone(2, 0, 0);
    p->ResetProblemProgress();
    EXPECT_FALSE(p->IsProblemSolved(1, 2, 3, 7));
    EXPECT_TRUE(p->IsLessonDone(2, 0, 0)) << "problem reset leaves lessons";
    p->ResetLessonProgress();
    EXPECT_FALSE(p->IsLessonDone(2, 0, 0));
    EXPECT_EQ(std::tuple(p->m_course, p->m_chapter, p->m_section, p->m_problemIndex),
              std::tuple(1, 2, 3, 7));
}
