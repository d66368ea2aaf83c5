#include <gtest/gtest.h>

#include "PlayFixture.h"
#include "problem/ProblemControls.h"

using testfile::BranchWord;
using testfile::Word;

namespace {

// ○ is right.
testfile::Problem CircleProblem() {
    return testfile::Make(1, {}, {Word(0, 0, 1, 0)}, {BranchWord(0, 1)});
}

class ControlsTest : public PlayTest {
protected:
    // The usable controls as letters (Prev, Next, Up, Down, decide, Answer), then the face.
    std::string On() const {
        const problemcontrols::Controls c = problemcontrols::ControlsFor(*play);
        std::string s;
        for (auto [on, letter] : {std::pair{c.prev, 'P'},
                                  {c.next, 'N'},
                                  {c.scrollUp, 'U'},
                                  {c.scrollDown, 'D'},
                                  {c.decide, 'd'},
                                  {c.answer, 'A'}})
            s += on ? letter : '.';
        return s + char('0' + c.face);
    }
};

}  // namespace

TEST_F(ControlsTest, ChoiceButtonsFollowTheSelectionAndTheDecision) {
    Load({CircleProblem(), CircleProblem()});
    EXPECT_EQ(On(), ".NU.d.1") << "first problem, selection 0";
    play->SelectionUp();
    EXPECT_EQ(On(), ".N.Dd.1") << "× is the highest choice";
    play->Decide();  // × is wrong; no paging while the decision is shown, no verdict yet
    EXPECT_EQ(On(), "......1");
    Ticks(80);
    EXPECT_EQ(On(), ".N...A3");
    play->ShowAnswer();
    EXPECT_EQ(On(), ".N....1") << "the answer is on show";
}

TEST_F(ControlsTest, DecideNeedsTheQuestionWindowClosed) {
    Load(std::vector<testfile::Problem>(28, CircleProblem()), 27);
    play->OpenQuestionWindow();
    EXPECT_EQ(On(), "P.U...0") << "last problem";
    CloseQuestion();
    EXPECT_EQ(On(), "P.U.d.1") << "looking aside once the question is closed";
}

TEST_F(ControlsTest, BoardProblemsHaveNoSelectionAndAnswerOnlyAfterAWrongVerdict) {
    const testfile::Problem oneMove = Sequence({{{2, 2}}});
    Load({oneMove, oneMove, oneMove}, 1);
    EXPECT_EQ(On(), "PN....1");
    EXPECT_EQ(ClickPoint(5, 5), Verdict::Incorrect);
    EXPECT_EQ(On(), "PN....1");
    Ticks(3);
    EXPECT_EQ(On(), "PN...A3");
    play->Again();
    CloseQuestion();
    ClickPoint(2, 2);
    Ticks(3);
    EXPECT_EQ(On(), "PN....2") << "a correct verdict offers no answer";
}

TEST(FaceSwitch, ChangesOnlyWhenTheFaceDiffers) {
    problemcontrols::FaceSwitch faces;
    EXPECT_EQ(faces.Current(), -1);
    std::vector<bool> changed;
    for (int face : {0, 0, 2, 2, 0, 3}) changed.push_back(faces.Change(face));
    EXPECT_EQ(changed, (std::vector<bool>{true, false, true, false, true, true}));
    EXPECT_EQ(faces.Current(), 3);
    EXPECT_STREQ(problemcontrols::LookOf(9).texture, problemcontrols::LookOf(0).texture)
        << "an unknown face shows as the normal one";
}
