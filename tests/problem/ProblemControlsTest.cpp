#include <gtest/gtest.h>

#include "PlayFixture.h"
#include "problem/ProblemControls.h"

using problemcontrols::Controls;
using problemcontrols::ControlsFor;
using testfile::BranchWord;
using testfile::Word;

namespace {

// ○ is right.
testfile::Problem CircleProblem() {
    return testfile::Make(1, {}, {Word(0, 0, 1, 0)}, {BranchWord(0, 1)});
}

// A one-move sequence on the corner board: black at window (2, 2).
testfile::Problem OneMove() {
    return Sequence({{{2, 2}}});
}

using ControlsTest = PlayTest;

}  // namespace

TEST_F(ControlsTest, ChoiceButtonsFollowTheSelectionAndTheDecision) {
    Load({CircleProblem(), CircleProblem()});
    Controls c = ControlsFor(*play);
    EXPECT_FALSE(c.prev) << "first problem";
    EXPECT_TRUE(c.next);
    EXPECT_TRUE(c.scrollUp);
    EXPECT_FALSE(c.scrollDown) << "selection 0";
    EXPECT_TRUE(c.decide);
    EXPECT_FALSE(c.answer);

    play->SelectionUp();
    c = ControlsFor(*play);
    EXPECT_FALSE(c.scrollUp) << "× is the highest choice";
    EXPECT_TRUE(c.scrollDown);

    play->Decide();  // × is wrong
    c = ControlsFor(*play);
    EXPECT_FALSE(c.next) << "no paging while the decision is shown";
    EXPECT_FALSE(c.decide);
    EXPECT_FALSE(c.scrollUp);
    EXPECT_FALSE(c.scrollDown);
    EXPECT_FALSE(c.answer) << "the verdict is not shown yet";
    Ticks(80);
    c = ControlsFor(*play);
    EXPECT_TRUE(c.next);
    EXPECT_TRUE(c.answer);
    EXPECT_EQ(c.face, 3);

    play->ShowAnswer();
    c = ControlsFor(*play);
    EXPECT_FALSE(c.answer) << "the answer is on show";
    EXPECT_FALSE(c.scrollUp);
    EXPECT_FALSE(c.decide);
}

TEST_F(ControlsTest, DecideNeedsTheQuestionWindowClosed) {
    Load(std::vector<testfile::Problem>(28, CircleProblem()), 27);
    play->OpenQuestionWindow();
    Controls c = ControlsFor(*play);
    EXPECT_FALSE(c.decide);
    EXPECT_TRUE(c.prev);
    EXPECT_FALSE(c.next) << "last problem";
    EXPECT_EQ(c.face, 0);
    play->BoardClick(500, 500);
    c = ControlsFor(*play);
    EXPECT_TRUE(c.decide);
    EXPECT_EQ(c.face, 1) << "looking aside once the question is closed";
}

TEST_F(ControlsTest, BoardProblemsHaveNoSelectionAndAnswerOnlyAfterAWrongVerdict) {
    Load({OneMove(), OneMove(), OneMove()}, 1);
    Controls c = ControlsFor(*play);
    EXPECT_TRUE(c.prev);
    EXPECT_TRUE(c.next);
    EXPECT_FALSE(c.scrollUp);
    EXPECT_FALSE(c.scrollDown);
    EXPECT_FALSE(c.decide);
    ClickPoint(5, 5);
    EXPECT_EQ(play->Result(), Verdict::Incorrect);
    EXPECT_FALSE(ControlsFor(*play).answer);
    Ticks(3);
    c = ControlsFor(*play);
    EXPECT_TRUE(c.answer);
    EXPECT_EQ(c.face, 3);

    play->Again();
    play->BoardClick(500, 500);  // closes the question window again
    ClickPoint(2, 2);
    Ticks(3);
    c = ControlsFor(*play);
    EXPECT_FALSE(c.answer) << "a correct verdict offers no answer";
    EXPECT_EQ(c.face, 2);
}

TEST(FaceSwitch, ChangesOnlyWhenTheFaceDiffers) {
    problemcontrols::FaceSwitch faces;
    EXPECT_EQ(faces.Current(), -1);
    EXPECT_TRUE(faces.Change(0));
    EXPECT_FALSE(faces.Change(0));
    EXPECT_TRUE(faces.Change(2));
    EXPECT_EQ(faces.Current(), 2);
    EXPECT_FALSE(faces.Change(2));
    EXPECT_TRUE(faces.Change(0));
    EXPECT_STREQ(problemcontrols::LookOf(9).texture, problemcontrols::LookOf(0).texture)
        << "an unknown face shows as the normal one";
}
