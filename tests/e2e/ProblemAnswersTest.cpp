// The answers the all-problems run gives must be the ones the judging expects: a right answer
// on the answer points or choice, a wrong one never on an answer, a stone or a first move.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ProblemAnswers.h"
#include "problem/BoardGeometry.h"

namespace {

using Point = std::pair<int, int>;

// Records are built entry by entry as the problem file lays them out.
ProblemRecord Record(int type, std::vector<StoneEntry> setup, std::vector<StoneEntry> answer,
                     int param, int turn = 255) {
    ProblemRecord r;
    r.typeByte = uint8_t(type);
    r.setupCount = uint8_t(setup.size());
    size_t w = 0;
    for (const StoneEntry& e : setup) r.slots[w++] = e;
    for (const StoneEntry& e : answer) r.slots[w++] = e;
    r.answerParam = uint8_t(param);
    r.turn = uint8_t(turn);
    return r;
}

// The board points clicked by `lines`, read back through the screen's own hit test.
std::vector<Point> Clicked(const std::vector<std::string>& lines, int size = 13) {
    std::vector<Point> out;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        std::string command;
        int x = 0, y = 0;
        in >> command >> x >> y;
        if (command != "click") continue;
        int col = -1, row = -1;
        EXPECT_EQ(boardgeometry::PointAt(size, x, y, col, row), boardgeometry::Hit::Point) << line;
        out.emplace_back(col, row);
    }
    return out;
}

int Count(const std::vector<std::string>& lines, const std::string& wanted) {
    int n = 0;
    for (const std::string& line : lines) n += line == wanted ? 1 : 0;
    return n;
}

TEST(ProblemAnswers, PointsAreClickedAllAndTheWrongPointIsFreeAndNoAnswer) {
    // Stone at (0,0), its two liberties (1,0) and (0,1) are the answer.
    const ProblemRecord r =
        Record(5, {{0, 0, 0, 0}}, {{0, 0, 0, 2}, {9, 1, 0, 0}, {9, 0, 1, 0}}, 2);
    const e2e::ScriptedAnswer a = e2e::AnswerFor(r);
    ASSERT_TRUE(a.undrivable.empty()) << a.undrivable;
    EXPECT_EQ(Clicked(a.right), (std::vector<Point>{{1, 0}, {0, 1}}));
    const std::vector<Point> wrong = Clicked(a.wrong);
    ASSERT_EQ(wrong.size(), 1u);
    for (const Point& taken : {Point{0, 0}, Point{1, 0}, Point{0, 1}}) EXPECT_NE(wrong[0], taken);
}

TEST(ProblemAnswers, MoveLinesPlayTheLearnersMovesWithWaitsAndAvoidEveryFirstMove) {
    // Two lines: (0,0) B, (1,0) W, (2,0) B; and (1,1) B, (2,1) W, (0,1) B. The point (0,0)
    // is taken only as a first move, so the wrong point must skip it and (1,1).
    const ProblemRecord r = Record(6, {{1, 3, 0, 0}},
                                   {{0, 0, 0, 3},
                                    {0, 0, 0, 1},
                                    {1, 1, 0, 2},
                                    {0, 2, 0, 3},
                                    {0, 0, 0, 3},
                                    {0, 1, 1, 1},
                                    {1, 2, 1, 2},
                                    {0, 0, 1, 3}},
                                   2, 0);
    const e2e::ScriptedAnswer a = e2e::AnswerFor(r);
    ASSERT_TRUE(a.undrivable.empty()) << a.undrivable;
    EXPECT_EQ(Clicked(a.right), (std::vector<Point>{{0, 0}, {2, 0}}));
    EXPECT_EQ(Count(a.right, "wait " + std::to_string(e2e::kReplyWaitMs)), 1);
    const std::vector<Point> wrong = Clicked(a.wrong);
    ASSERT_EQ(wrong.size(), 1u);
    for (const Point& taken : {Point{0, 0}, Point{1, 1}, Point{3, 0}}) EXPECT_NE(wrong[0], taken);
}

TEST(ProblemAnswers, LettersClickTheAnswerLetterRightAndAnotherLetterWrong) {
    const ProblemRecord r = Record(3, {{0, 2, 2, 0}, {4, 3, 3, 0}, {5, 5, 5, 0}}, {}, 5);
    const e2e::ScriptedAnswer a = e2e::AnswerFor(r);
    ASSERT_TRUE(a.undrivable.empty()) << a.undrivable;
    EXPECT_EQ(Clicked(a.right), (std::vector<Point>{{5, 5}}));
    EXPECT_EQ(Clicked(a.wrong), (std::vector<Point>{{3, 3}}));
    EXPECT_FALSE(e2e::AnswerFor(Record(3, {{5, 5, 5, 0}}, {}, 5)).undrivable.empty());
}

TEST(ProblemAnswers, ChoicesMoveTheSelectionUpToTheAnswerThenDecide) {
    const std::string up = "tap btn_scroll_up1";
    const std::string decide = "tap btn_set_sel1";
    // Circle-or-cross: selection 0 is the circle (answer 1).
    const e2e::ScriptedAnswer circle = e2e::AnswerFor(Record(2, {}, {}, 1));
    EXPECT_EQ(Count(circle.right, up), 0);
    EXPECT_EQ(Count(circle.wrong, up), 1);
    const e2e::ScriptedAnswer cross = e2e::AnswerFor(Record(2, {}, {}, 0));
    EXPECT_EQ(Count(cross.right, up), 1);
    EXPECT_EQ(Count(cross.wrong, up), 0);
    // Numbers: selection k shows k + 1.
    const e2e::ScriptedAnswer ten = e2e::AnswerFor(Record(7, {}, {}, 10));
    EXPECT_EQ(Count(ten.right, up), 9);
    EXPECT_NE(Count(ten.wrong, up), 9);
    // Texts: the selection is the text index.
    const e2e::ScriptedAnswer third = e2e::AnswerFor(Record(8, {}, {}, 2));
    EXPECT_EQ(Count(third.right, up), 2);
    EXPECT_NE(Count(third.wrong, up), 2);
    for (const auto* a : {&circle, &cross, &ten, &third}) {
        EXPECT_EQ(a->right.back(), decide);
        EXPECT_EQ(a->wrong.back(), decide);
    }
}

TEST(ProblemAnswers, KindsWithoutAJudgedLearnerAnswerAreReportedNotFaked) {
    EXPECT_FALSE(e2e::AnswerFor(Record(1, {{0, 1, 1, 1}}, {}, 0)).undrivable.empty());
    EXPECT_FALSE(
        e2e::AnswerFor(Record(6, {}, {{0, 0, 0, 1}, {1, 2, 2, 1}}, 1, 1)).undrivable.empty());
    EXPECT_FALSE(e2e::AnswerFor(Record(7, {}, {}, 0)).undrivable.empty());
}

}  // namespace
