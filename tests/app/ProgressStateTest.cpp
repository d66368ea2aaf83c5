#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "progress/ProgressState.h"

namespace {

// Sum of the problem or lesson counts of one course, through the 1-based lookup.
int CourseTotal(const ProgressState& p, int course, bool problems) {
    int total = 0;
    for (int n = 1; n <= 6; ++n) {
        for (int s = 1; s <= 8; ++s) {
            total += problems ? p.ProblemCount(course, n, s) : p.LessonCount(course, n, s);
        }
    }
    return total;
}

}  // namespace

TEST(CurriculumCounts, LookupsUseOneBasedNumbersAndMatchTheTables) {
    auto p = std::make_unique<ProgressState>();
    EXPECT_EQ(p->ProblemCount(0, 1, 3), 28);
    EXPECT_EQ(p->ProblemCount(0, 1, 8), 10);
    EXPECT_EQ(p->ProblemCount(0, 6, 5), 124);
    EXPECT_EQ(p->ProblemCount(1, 3, 4), 196);
    EXPECT_EQ(p->ProblemCount(1, 3, 2), 0);
    EXPECT_EQ(p->ProblemCount(2, 2, 4), 104);
    EXPECT_EQ(p->LessonCount(0, 1, 1), 2);
    EXPECT_EQ(p->LessonCount(0, 4, 4), 2);
    EXPECT_EQ(p->LessonCount(1, 3, 1), 20);
    EXPECT_EQ(p->LessonCount(2, 1, 1), 12);
    EXPECT_EQ(p->LessonCount(0, 6, 1), 0);
    // Totals of each printed table, course by course, catch a mistyped cell anywhere.
    EXPECT_EQ(CourseTotal(*p, 0, true), 1218);
    EXPECT_EQ(CourseTotal(*p, 1, true), 1035);
    EXPECT_EQ(CourseTotal(*p, 2, true), 542);
    EXPECT_EQ(CourseTotal(*p, 0, false), 76);
    EXPECT_EQ(CourseTotal(*p, 1, false), 75);
    EXPECT_EQ(CourseTotal(*p, 2, false), 12);
}

TEST(CurriculumCounts, NumbersOutOfRangeYieldZero) {
    auto p = std::make_unique<ProgressState>();
    EXPECT_EQ(p->ProblemCount(0, 0, 3), 0);
    EXPECT_EQ(p->ProblemCount(0, 1, 0), 0);
    EXPECT_EQ(p->ProblemCount(0, 7, 1), 0);
    EXPECT_EQ(p->ProblemCount(0, 1, 9), 0);
    EXPECT_EQ(p->ProblemCount(3, 1, 1), 0);
    EXPECT_EQ(p->ProblemCount(-1, 1, 1), 0);
    EXPECT_EQ(p->LessonCount(0, -5, 1), 0);
}

TEST(ProgressMarks, LastProblemOfASectionSetsTheAllSolvedByteInTheSameOperation) {
    auto p = std::make_unique<ProgressState>();
    // Course 0, chapter 1, section 8 has 10 problems.
    for (int i = 0; i < 9; ++i) ASSERT_TRUE(p->MarkProblemSolved(0, 0, 7, i));
    EXPECT_FALSE(p->IsSectionSolved(0, 0, 7));
    ASSERT_TRUE(p->MarkProblemSolved(0, 0, 7, 9));
    EXPECT_TRUE(p->IsSectionSolved(0, 0, 7));
    EXPECT_EQ(p->m_solved[0][0][7][0], 1);
    EXPECT_EQ(p->m_solved[0][0][7][10], 1);
    EXPECT_EQ(p->m_solved[0][0][7][11], 0);
}

TEST(ProgressMarks, SolvingTwiceChangesNothing) {
    auto p = std::make_unique<ProgressState>();
    ASSERT_TRUE(p->MarkProblemSolved(0, 0, 2, 5));
    auto before = std::make_unique<ProgressState>(*p);
    ASSERT_TRUE(p->MarkProblemSolved(0, 0, 2, 5));
    EXPECT_EQ(0, std::memcmp(before->m_solved, p->m_solved, sizeof p->m_solved));
    EXPECT_FALSE(p->IsSectionSolved(0, 0, 2));
}

TEST(ProgressMarks, SectionWithoutProblemsNeverCountsAsSolvedAndBadIndicesAreRefused) {
    auto p = std::make_unique<ProgressState>();
    // Course 0, chapter 1, section 1 has no problems in the table.
    ASSERT_TRUE(p->MarkProblemSolved(0, 0, 0, 0));
    EXPECT_FALSE(p->IsSectionSolved(0, 0, 0));
    EXPECT_FALSE(p->MarkProblemSolved(0, 0, 2, 199)) << "byte 200 would be the next section";
    EXPECT_FALSE(p->MarkProblemSolved(0, 0, 2, -1));
    EXPECT_FALSE(p->MarkProblemSolved(3, 0, 0, 0));
    EXPECT_FALSE(p->MarkProblemSolved(0, 6, 0, 0));
    EXPECT_FALSE(p->MarkLessonDone(0, 0, 8));
    EXPECT_TRUE(p->MarkProblemSolved(1, 2, 3, 198));
    EXPECT_EQ(p->m_solved[1][2][3][199], 1);
    EXPECT_EQ(p->m_solved[1][2][4][0], 0);
}

TEST(ProgressMarks, ResetClearsProgressButKeepsSelection) {
    auto p = std::make_unique<ProgressState>();
    p->m_course = 1;
    p->m_chapter = 2;
    p->m_section = 3;
    p->m_problemIndex = 7;
    p->MarkProblemSolved(1, 2, 3, 7);
    p->MarkLessonDone(2, 0, 0);
    p->ResetProblemProgress();
    EXPECT_FALSE(p->IsProblemSolved(1, 2, 3, 7));
    EXPECT_TRUE(p->IsLessonDone(2, 0, 0)) << "problem reset leaves lessons";
    p->ResetLessonProgress();
    EXPECT_FALSE(p->IsLessonDone(2, 0, 0));
    EXPECT_EQ(p->m_course, 1);
    EXPECT_EQ(p->m_chapter, 2);
    EXPECT_EQ(p->m_section, 3);
    EXPECT_EQ(p->m_problemIndex, 7);
}
