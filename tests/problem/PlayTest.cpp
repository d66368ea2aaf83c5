#include <gtest/gtest.h>

#include <tuple>

#include "PlayFixture.h"
#include "problem/BoardCursor.h"
#include "problem/ProblemSprites.h"

using testfile::BranchWord;
using testfile::Make;
using testfile::Word;
using Pane = ProblemView::Pane;
using Text = ProblemView::Text;
using problemsprites::BoardSprites;
using problemsprites::Sprite;
using problemsprites::TexturesOf;
using Names = std::vector<std::string>;
using std::tuple;

namespace {

StoneEntry At(int kind, int x, int y, int aux = 0) {
    return StoneEntry{uint8_t(kind), uint8_t(x), uint8_t(y), uint8_t(aux)};
}

}  // namespace

TEST(BoardGeometry, CornerAndFullBoardPoints) {
    using boardgeometry::Hit;
    const struct {
        int size, x, y;
        Hit hit;
        int col, row;
    } hits[] = {{13, 49, 71, Hit::Point, 0, 0},     {13, 672, 694, Hit::Point, 12, 12},
                {13, 673, 71, Hit::Off, -1, -1},    {13, 48, 71, Hit::Off, -1, -1},
                {19, 664, 686, Hit::Point, 18, 18}, {7, 0, 0, Hit::NoPoint, -1, -1}};
    for (const auto& h : hits) {
        int col = -1, row = -1;
        const Hit hit = boardgeometry::PointAt(h.size, h.x, h.y, col, row);
        if (hit != Hit::Point) col = row = -1;
        EXPECT_EQ(tuple(hit, col, row), tuple(h.hit, h.col, h.row)) << h.x << "," << h.y;
    }
    int x = 0, y = 0, x6 = 0, y6 = 0;
    boardgeometry::CenterOf(19, 18, 18, x, y);
    boardgeometry::CenterOf(6, 5, 5, x6, y6);
    EXPECT_EQ(tuple(x, y, x6, y6), tuple(649, 671, 624, 646));
}

TEST(BoardCursor, StepsOncePerThresholdFromTheLastAnchor) {
    BoardCursor c;
    ASSERT_TRUE(c.Begin(19, 57 + 32 * 5, 79 + 32 * 5));
    const int x0 = 57 + 32 * 5, y0 = 79 + 32 * 5;
    EXPECT_FALSE(c.Move(x0 + 23, y0)) << "23 pixels are not more than 23";
    EXPECT_TRUE(c.Move(x0 + 24, y0));
    EXPECT_EQ(c.Column(), 6);
    // The anchor moved with the step: another 23 pixels do nothing, 24 step again.
    EXPECT_FALSE(c.Move(x0 + 24 + 23, y0));
    EXPECT_TRUE(c.Move(x0 + 24 + 24, y0));
    EXPECT_EQ(c.Column(), 7);
    // Each axis on its own; a big jump is still one point.
    EXPECT_TRUE(c.Move(x0 + 48, y0 - 200));
    EXPECT_EQ(std::pair(c.Column(), c.Row()), std::pair(7, 4));
}

TEST(BoardCursor, CornerBoardNeedsMoreTravelAndClampsAtTheEdges) {
    BoardCursor c;
    EXPECT_FALSE(c.Begin(13, 673, 71) || c.Shown()) << "off the corner board";
    ASSERT_TRUE(c.Begin(13, 50, 72));
    EXPECT_EQ(BoardCursor::Threshold(13), 32);
    EXPECT_FALSE(c.Move(50 - 32, 72));
    EXPECT_FALSE(c.Move(50 - 32 - 33, 72)) << "already at column 0";
    EXPECT_EQ(c.Column(), 0);
    int x = 50;
    for (int i = 0; i < 20; ++i) c.Move(x += 33, 72);
    EXPECT_FALSE(c.Move(x, 72 - 33)) << "already at row 0";
    for (int y = 72; y < 72 + 20 * 33;) c.Move(x, y += 33);
    EXPECT_EQ(std::pair(c.Column(), c.Row()), std::pair(12, 12));
    c.End();
    EXPECT_FALSE(c.Move(0, 0)) << "no drag after the release";
    ASSERT_TRUE(c.Shown());
    c.Clear();
    EXPECT_FALSE(c.Shown());
}

TEST(ProblemSprites, EachKindHasItsPictures) {
    const struct {
        int kind, aux, size;
        Names names;
    } cases[] = {
        // Stones carry their numbers in the other colour; no picture exists past 63, so the
        // stone is drawn bare rather than with a missing number.
        {1, 0, 13, {"wstone13.tga"}},
        {0, 63, 19, {"bstone19.tga", "COMN_stone19NumW_63.tga"}},
        {0, 64, 19, {"bstone19.tga"}},
        // An answer move is a black stone with its number.
        {15, 2, 13, {"bstone13.tga", "COMN_stone13NumW_02.tga"}},
        // Triangle stones use marks only on the six board.
        {2, 0, 13, {"bstone13.tga", "COMN_stone13TextW_08.tga"}},
        {3, 0, 19, {"wstone19.tga", "COMN_stone19TextB_08.tga"}},
        {2, 0, 6, {"bstone6.tga", "COMN_mark6_W.tga"}},
        {3, 0, 6, {"wstone6.tga", "COMN_mark6_B.tga"}},
        // Letters, marks and answer points.
        {4, 0, 13, {"COMN_stone13TextW_01.tga"}},
        {6, 0, 13, {"COMN_stone13TextW_03.tga"}},
        {7, 0, 19, {"COMN_mark19_2.tga"}},
        {8, 0, 19, {"COMN_mark19_1.tga"}},
        {9, 0, 13, {"COMN_mark13_1.tga"}},
        {16, 0, 13, {"COMN_stone13TextW_06.tga"}},
        {17, 0, 13, {"COMN_mark13_2.tga"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TexturesOf(At(c.kind, 1, 1, c.aux), c.size), c.names) << c.kind << "/" << c.aux;
    for (int kind : {10, 11, 12, 13, 14, 18, 19, 100, 255})
        EXPECT_TRUE(TexturesOf(At(kind, 0, 0), 13).empty()) << "kind " << kind;
}

TEST(ProblemSprites, BoardPicturesAreCentredOnTheirPointsInListOrder) {
    const std::vector<BoardSprite> entries = {
        {At(0, 0, 0), false}, {At(11, 3, 3), false} /* shows nothing */, {At(1, 18, 18, 5), true}};
    EXPECT_EQ(BoardSprites(entries, 19),
              (std::vector<Sprite>{{"bstone19.tga", 73, 95},
                                   {"wstone19.tga", 649, 671},
                                   {"COMN_mark19_3.tga", 649, 671},
                                   {"COMN_stone19NumB_05.tga", 649, 671}}));
    // The corner board shows only its window; a size without geometry draws nothing.
    const std::vector<BoardSprite> corner = {
        {At(0, 12, 12), false}, {At(0, 13, 0), false}, {At(1, 0, 18), false}};
    EXPECT_EQ(BoardSprites(corner, 13),
              (std::vector<Sprite>{{"bstone13.tga", 12 * 48 + 73, 12 * 48 + 95}}));
    EXPECT_TRUE(BoardSprites(corner, 7).empty());
}

TEST_F(PlayTest, SequenceSwitchesToTheBranchThatStillMatches) {
    Load({Sequence({{{1, 1}, {2, 2}, {3, 3}, {4, 4}}, {{1, 1}, {2, 2}, {5, 5}}})});
    ASSERT_EQ(tuple(play->Type(), play->BoardSize(), view.boardSize),
              tuple(ProblemType::PlaySequence, 13, 13));
    ClickPoint(1, 1);
    EXPECT_EQ(tuple(play->Result(), play->MatchedBranch(), play->InputEnabled(), ReplyPending()),
              tuple(Verdict::Undecided, 0, false, true));
    ClickPoint(6, 6);  // input is off until the reply has come and gone
    EXPECT_EQ(Moves(), 1);
    play->ReplyTimer();  // the reply
    ASSERT_EQ(Moves(), 2);
    EXPECT_EQ(tuple(play->Moves()[1], board.At(2, 2)),
              tuple(StoneEntry{1, 2, 2, 2}, stone::kWhite));
    play->ReplyTimer();  // back to the learner
    EXPECT_EQ(tuple(play->InputEnabled(), play->Turn()), tuple(true, Turn::Learner));
    ClickPoint(5, 5);
    EXPECT_EQ(tuple(play->MatchedBranch(), play->Result(), play->Phase(), view.Count(kStone)),
              tuple(1, Verdict::Correct, PlayPhase::Judged, 3));
    const uint64_t before = Now();
    Ticks(2);
    EXPECT_FALSE(view.resultShown) << "the verdict waits three ticks";
    Ticks(1);
    EXPECT_EQ(Now() - before, 500u) << "the 500 ms pause before a board verdict";
    EXPECT_EQ(tuple(view.resultShown, view.resultCorrect, view.Count(kOk), view.faces.back(),
                    play->Mood(), progress->IsProblemSolved(0, 0, 2, 0),
                    view.panes[Pane::ClearedStamp], view.timers[ProblemPlay::kVerdictTimer]),
              tuple(true, true, 1, 2, Mood::Correct, true, true, true));
}

TEST_F(PlayTest, MovesOnLettersMarksStonesOrOffTheBoardAreRefused) {
    testfile::Problem p = Sequence({{{1, 1}}});
    p.setup.push_back(CornerWord(0, 0, 2, 2));   // letter
    p.setup.push_back(CornerWord(16, 0, 3, 3));  // mark
    Load({p});
    for (auto [col, row] : {std::pair{2, 2}, {3, 3}, {0, 0}}) {
        ClickPoint(col, row);
        EXPECT_EQ(tuple(play->InputEnabled(), play->Result()), tuple(true, Verdict::None));
    }
    play->BoardClick(700, 500);  // off the corner board
    EXPECT_TRUE(play->Moves().empty() && view.sounds.empty());
}

TEST_F(PlayTest, WrongMoveIsIncorrectAndTheAnswerIsReplayed) {
    testfile::Problem p = Sequence({{{1, 0}, {2, 0}, {1, 1}}, {{4, 4}}});
    p.setup = {CornerWord(1, 0, 0, 0), CornerWord(2, 0, 3, 0)};
    Load({p});
    EXPECT_EQ(ClickPoint(6, 6), Verdict::Incorrect);
    Ticks(3);
    EXPECT_EQ(tuple(view.resultCorrect, view.Count(kNo), view.faces.back(),
                    view.panes[Pane::AnswerButton]),
              tuple(false, 1, 3, true));
    play->ReplyTimer();  // the pending reply timer finds the problem judged
    EXPECT_EQ(Moves(), 1);
    play->ShowAnswer();
    EXPECT_EQ(tuple(play->Phase(), play->Mood(), play->EntryCount(), Moves()),
              tuple(PlayPhase::AnswerShown, Mood::AnswerShown, 2, 3))
        << "the board is back at the setup";
    EXPECT_EQ(play->AnswerMarks(), (std::vector<StoneEntry>{{15, 1, 0, 1}, {15, 4, 4, 1}}));
    const int stonesBefore = view.Count(kStone);
    Ticks(32);
    EXPECT_EQ(play->ReplayShown(), 0);
    for (const BoardSprite& s : play->BoardSprites()) EXPECT_FALSE(s.marker) << "none replayed";
    const uint64_t before = Now();
    Ticks(1);
    EXPECT_EQ(tuple(play->ReplayShown(), Now() - before), tuple(1, uint64_t(250)));
    const std::vector<BoardSprite> sprites = play->BoardSprites();
    ASSERT_GE(sprites.size(), 3u);
    EXPECT_EQ(tuple(sprites[2].entry, sprites[2].marker), tuple(StoneEntry{0, 1, 0, 1}, true));
    Ticks(33);
    // The replayed moves alternate colours, numbered by their place in the replay.
    EXPECT_EQ(tuple(play->ReplayShown(), play->Entries()[3]), tuple(2, StoneEntry{1, 2, 0, 2}));
    Ticks(33);
    EXPECT_EQ(tuple(play->ReplayShown(), play->ReplayRunning(), view.Count(kStone) - stonesBefore),
              tuple(3, false, 3));
    Ticks(100);
    EXPECT_EQ(play->ReplayShown(), 3);
    play->ShowAnswer();
    EXPECT_EQ(play->Phase(), PlayPhase::AnswerShown) << "already shown";
    ClickPoint(8, 8);
    EXPECT_EQ(Moves(), 3) << "no play while the answer is shown";
}

TEST_F(PlayTest, AgainCancelsAPendingReply) {
    Load({Sequence({{{1, 1}, {2, 2}, {3, 3}}})});
    ClickPoint(1, 1);
    ASSERT_FALSE(play->InputEnabled());
    play->Again();
    EXPECT_EQ(
        tuple(ReplyPending(), play->InputEnabled(), Moves(), play->Mood(), play->QuestionOpen()),
        tuple(false, true, 0, Mood::AfterAgain, true));
    play->ReplyTimer();  // a firing that was already on its way
    EXPECT_EQ(tuple(play->Turn(), play->InputEnabled()), tuple(Turn::Learner, true));
    CloseQuestion();
    ClickPoint(1, 1);
    EXPECT_EQ(Moves(), 1);
}

TEST_F(PlayTest, ReplySideFirstProblemOpensWithItsReplyAndStaysPlayable) {
    // Code 10: the reply side moves first; every answer entry is decoded as white.
    testfile::Problem p = Sequence({{{1, 1}, {2, 2}, {3, 3}}});
    p.code = 10;
    Load({p});
    ASSERT_EQ(play->Type(), ProblemType::PlaySequence);
    EXPECT_EQ(tuple(play->InputEnabled(), ReplyPending()), tuple(false, true));
    play->ReplyTimer();
    EXPECT_EQ(play->Moves(), std::vector<StoneEntry>{(StoneEntry{1, 1, 1, 1})});
    play->ReplyTimer();
    EXPECT_TRUE(play->InputEnabled());
    EXPECT_EQ(ClickPoint(2, 2), Verdict::Incorrect)
        << "a black move never equals a white answer entry";
    Ticks(3);
    play->ShowAnswer();
    Ticks(33 * 3);
    EXPECT_EQ(tuple(play->ReplayShown(), play->Entries()[1].kind, play->Entries()[2].kind),
              tuple(3, uint8_t(1), uint8_t(0)))
        << "the replay starts with the reply side";
}

TEST_F(PlayTest, EntryListNeverOverflows) {
    testfile::Problem p = Make(0, {}, {Word(1, 0, 18, 18)});
    for (int i = 0; i < 198; ++i) p.setup.push_back(Word(1, 0, i % 19, i / 19));
    Load({p});
    ASSERT_EQ(tuple(play->EntryCount(), play->BoardSize(), view.boardSize), tuple(198, 19, 19));
    ClickPoint(5, 15);  // 199th entry, wrong
    EXPECT_EQ(play->EntryCount(), 199);
    play->Again();
    CloseQuestion();
    EXPECT_EQ(ClickPoint(18, 18), Verdict::Correct);
}

// Verdicts of marks and letters are the course walk's; these are the rules around them.
TEST_F(PlayTest, APointMarkedTwiceCountsOnceAndTheAnswerMarksEveryPoint) {
    Load({Make(3, {CornerWord(1, 0, 0, 0)}, {CornerWord(1, 0, 1, 1), CornerWord(1, 0, 2, 2)},
               {BranchWord(0, 2)})});
    ClickPoint(2, 2);
    EXPECT_EQ(ClickPoint(2, 2), Verdict::Undecided) << "not two of the two points";
    EXPECT_EQ(ClickPoint(0, 0), Verdict::Incorrect);
    Ticks(3);
    play->ShowAnswer();
    EXPECT_EQ(play->AnswerMarks(), (std::vector<StoneEntry>{{16, 1, 1, 0}, {16, 2, 2, 0}}));
}

TEST_F(PlayTest, OnlyALetterIsPickedAndTheAnswerMarksTheRightOne) {
    Load({Make(2, {CornerWord(0, 0, 1, 1), CornerWord(0, 1, 4, 4), CornerWord(1, 0, 6, 6)},
               {CornerWord(0, 0, 4, 4)}, {BranchWord(0, 1)})});
    EXPECT_EQ(tuple(ClickPoint(6, 6), ClickPoint(7, 7)), tuple(Verdict::None, Verdict::None));
    EXPECT_EQ(ClickPoint(1, 1), Verdict::Incorrect);
    EXPECT_EQ(play->Entries()[3].kind, 7) << "the picked letter's mark";
    Ticks(3);
    play->ShowAnswer();
    EXPECT_EQ(play->Entries()[3], (StoneEntry{17, 4, 4, 0}));
}

TEST_F(PlayTest, CircleOrCrossSelectionZeroIsCircle) {
    const testfile::Problem circleIsRight = Make(1, {}, {Word(0, 0, 1, 0)}, {BranchWord(0, 1)});
    Load({circleIsRight, circleIsRight});
    ASSERT_EQ(play->Type(), ProblemType::YesNo);
    EXPECT_EQ(view.texts[Text::Selection], "\x81\x9b");
    EXPECT_EQ(ClickPoint(3, 3), Verdict::None) << "choices are not made on the board";
    play->Decide();
    EXPECT_EQ(tuple(play->Result(), play->DecideAnimating()), tuple(Verdict::Correct, true));
    const uint64_t before = Now();
    Ticks(79);
    EXPECT_FALSE(view.resultShown);
    Ticks(1);
    EXPECT_TRUE(view.resultShown && view.resultCorrect);
    EXPECT_EQ(Now(), before) << "no pause for a choice verdict";
    play->NextProblem();
    CloseQuestion();
    play->SelectionUp();
    EXPECT_EQ(view.texts[Text::Selection], "\x81\x7e");
    play->SelectionUp();
    EXPECT_EQ(play->Selection(), 1);
    EXPECT_EQ(Decide(), Verdict::Incorrect);
    Ticks(80);
    play->ShowAnswer();
    EXPECT_EQ(view.texts[Text::Selection], "\x81\x9b");
}

TEST_F(PlayTest, NumberChoiceRunsFromOneToNinetyNine) {
    const testfile::Problem p = Make(5, {}, {Word(0, 0, 5, 0)}, {BranchWord(0, 1)});
    Load({p});
    ASSERT_EQ(play->Type(), ProblemType::Number);
    play->SelectionDown();
    EXPECT_TRUE(view.sounds.empty()) << "already at 1";
    for (int i = 0; i < 120; ++i) play->SelectionUp();
    EXPECT_EQ(tuple(play->Selection(), play->SelectionText(), view.Count(kCursor)),
              tuple(98, std::string("99"), 98));
    for (int i = 0; i < 94; ++i) play->SelectionDown();
    EXPECT_EQ(play->SelectionText(), "05");
    EXPECT_EQ(Decide(), Verdict::Correct);
    play->Decide();
    play->SelectionUp();
    EXPECT_EQ(tuple(play->Selection(), view.Count(kSet)), tuple(4, 1))
        << "the selection is fixed once decided";
}

TEST_F(PlayTest, ThreeTextsAreJudgedBySlot) {
    testfile::Problem p = Make(7, {}, {}, {BranchWord(0, 1)});
    p.answerBytes = testfile::ChoiceBytes("right", "wrong", "other");
    Load({p, p, p, p}, 3);
    ASSERT_EQ(play->Type(), ProblemType::Choice);
    EXPECT_EQ(play->SelectionText(), "wrong");
    for (int i = 0; i < 3; ++i) play->SelectionUp();
    EXPECT_EQ(tuple(play->Selection(), play->SelectionText()), tuple(2, std::string("right")));
    EXPECT_EQ(Decide(), Verdict::Correct);
}

TEST_F(PlayTest, ShownSequenceRevealsOneNumberedStonePerPeriod) {
    Load({Make(11, {Word(1, 2, 3, 3), Word(2, 0, 0, 0), Word(1, 1, 1, 0), Word(2, 0, 0, 1)})});
    ASSERT_EQ(play->Type(), ProblemType::ShownSequence);
    EXPECT_EQ(tuple(play->StepsTotal(), play->BoardSprites().size()), tuple(2, size_t(2)))
        << "only the unnumbered stones at first";
    Ticks(33);
    std::vector<BoardSprite> sprites = play->BoardSprites();
    ASSERT_EQ(sprites.size(), 3u) << "the two white stones still breathe at (0, 2) and (1, 1)";
    EXPECT_EQ(
        tuple(play->StepsShown(), sprites.back().entry, sprites.back().marker, sprites[0].marker),
        tuple(1, StoneEntry{0, 1, 0, 1}, true, false));
    Ticks(33);
    sprites = play->BoardSprites();
    ASSERT_FALSE(sprites.empty());
    EXPECT_EQ(tuple(play->StepsShown(), play->SequenceRunning(), view.Count(kStone),
                    sprites.back().entry, sprites.back().marker),
              tuple(2, false, 2, StoneEntry{0, 3, 3, 2}, true));
    EXPECT_EQ(ClickPoint(5, 5), Verdict::None) << "nothing is judged";
}

TEST_F(PlayTest, ShownSequenceResolvesCapturesAndPausesWithTheMenu) {
    // White at (0, 0), black at (1, 0); black 1 at (0, 1) takes the white stone.
    Load({Make(11, {Word(2, 0, 0, 0), Word(1, 0, 1, 0), Word(1, 1, 0, 1), Word(1, 2, 4, 4)})});
    Ticks(33);
    const std::vector<BoardSprite> sprites = play->BoardSprites();
    ASSERT_EQ(sprites.size(), 2u);
    EXPECT_EQ(tuple(sprites[0].entry, sprites[1].entry),
              tuple(StoneEntry{0, 1, 0, 0}, StoneEntry{0, 0, 1, 1}));
    play->PrevProblem();  // there is none; nothing changes
    EXPECT_EQ(play->StepsShown(), 1);
    play->PauseSteppers();
    Ticks(100);
    EXPECT_EQ(play->StepsShown(), 1);
    play->ResumeSteppers();
    Ticks(33);
    EXPECT_EQ(play->StepsShown(), 2);
}

TEST_F(PlayTest, EmptySectionHasNothingToPlay) {
    board.chapter = 0;
    board.section = 2;
    play = std::make_unique<ProblemPlay>(board, *progress, view);
    play->Start();
    EXPECT_FALSE(play->HasProblem());
    play->BoardClick(100, 100);
    play->Decide();
    play->ShowAnswer();
    play->NextProblem();
    play->Tick();
    EXPECT_TRUE(view.sounds.empty());
}
