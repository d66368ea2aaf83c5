#include <gtest/gtest.h>

#include <cstring>

#include "PlayFixture.h"
#include "problem/ProblemControls.h"

using problemcontrols::Controls;
using problemcontrols::ControlsFor;
using testfile::BranchWord;
using testfile::Word;

namespace {

testfile::Problem CircleProblem() {
    testfile::Problem p;
    p.code = 1;
    p.answers = {Word(0, 0, 1, 0)};  // ○ is right
    p.branches = {BranchWord(0, 1)};
    return p;
}

// A one-move sequence on the corner board: black at window (2, 2).
testfile::Problem OneMove() {
    testfile::Problem p;
    p.code = 6;
    p.setup = {CornerWord(1, 0, 0, 0)};
    p.answers = {CornerWord(1, 0, 2, 2)};
    p.branches = {BranchWord(0, 1)};
    return p;
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
}

TEST(FaceSwitch, FaceLooks) {
    const problemcontrols::FaceLook& normal = problemcontrols::LookOf(0);
    EXPECT_STREQ(normal.texture, "COMN_chara_normal_1.tga");
    EXPECT_EQ(normal.width, 238);
    EXPECT_EQ(normal.x, 838);
    EXPECT_STREQ(problemcontrols::LookOf(1).texture, "COMN_chara_left_1.tga");
    const problemcontrols::FaceLook& correct = problemcontrols::LookOf(2);
    EXPECT_STREQ(correct.texture, "COMN_chara_correct.tga");
    EXPECT_EQ(correct.width, 290);
    EXPECT_EQ(correct.height, 469);
    EXPECT_EQ(correct.x, 864);
    EXPECT_EQ(correct.y, 533);
    const problemcontrols::FaceLook& incorrect = problemcontrols::LookOf(3);
    EXPECT_STREQ(incorrect.texture, "COMN_chara_incorrect.tga");
    EXPECT_EQ(incorrect.width, 266);
    EXPECT_EQ(incorrect.height, 471);
    EXPECT_EQ(incorrect.x, 852);
    EXPECT_EQ(incorrect.y, 532);
    EXPECT_STREQ(problemcontrols::LookOf(9).texture, "COMN_chara_normal_1.tga");
}
