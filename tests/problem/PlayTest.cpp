#include <gtest/gtest.h>

#include <cstring>

#include "PlayFixture.h"

using testfile::BranchWord;
using testfile::Make;
using testfile::Word;
using Pane = ProblemView::Pane;
using Text = ProblemView::Text;

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
        EXPECT_EQ(boardgeometry::PointAt(h.size, h.x, h.y, col, row), h.hit) << h.x << "," << h.y;
        if (h.hit == Hit::Point) {
            EXPECT_EQ(std::pair(col, row), std::pair(h.col, h.row));
        }
    }
    int x = 0, y = 0;
    boardgeometry::CenterOf(19, 18, 18, x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(649, 671));
    boardgeometry::CenterOf(6, 5, 5, x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(624, 646));
}

// --- sequences (type 6) ---

TEST_F(PlayTest, SequenceSwitchesToTheBranchThatStillMatches) {
    Load({Sequence({{{1, 1}, {2, 2}, {3, 3}, {4, 4}}, {{1, 1}, {2, 2}, {5, 5}}})});
    ASSERT_EQ(play->Type(), ProblemType::PlaySequence);
    ASSERT_EQ(play->BoardSize(), 13);
    ClickPoint(1, 1);
    EXPECT_EQ(play->Result(), Verdict::Undecided);
    EXPECT_EQ(play->MatchedBranch(), 0);
    EXPECT_FALSE(play->InputEnabled());
    EXPECT_TRUE(view.timers[ProblemPlay::kReplyTimer]);
    ClickPoint(6, 6);  // input is off until the reply has come and gone
    EXPECT_EQ(play->Moves().size(), 1u);

    play->ReplyTimer();  // the reply
    ASSERT_EQ(play->Moves().size(), 2u);
    EXPECT_EQ(play->Moves()[1], (StoneEntry{1, 2, 2, 2}));
    EXPECT_EQ(board.At(2, 2), stone::kWhite);
    play->ReplyTimer();  // back to the learner
    EXPECT_TRUE(play->InputEnabled());
    EXPECT_EQ(play->Turn(), Turn::Learner);

    ClickPoint(5, 5);
    EXPECT_EQ(play->MatchedBranch(), 1);
    EXPECT_EQ(play->Result(), Verdict::Correct);
    EXPECT_EQ(play->Phase(), PlayPhase::Judged);
    EXPECT_EQ(view.Count(kStone), 3);

    const uint64_t before = Now();
    Ticks(2);
    EXPECT_FALSE(view.resultShown) << "the verdict waits three ticks";
    Ticks(1);
    EXPECT_TRUE(view.resultShown && view.resultCorrect);
    EXPECT_EQ(Now() - before, 500u) << "the 500 ms pause before a board verdict";
    EXPECT_EQ(view.Count(kOk), 1);
    EXPECT_EQ(view.faces.back(), 2);
    EXPECT_EQ(play->Mood(), Mood::Correct);
    EXPECT_TRUE(progress->IsProblemSolved(0, 0, 2, 0));
    EXPECT_TRUE(view.panes[Pane::ClearedStamp]);
    EXPECT_TRUE(view.timers[ProblemPlay::kVerdictTimer]);
}

TEST_F(PlayTest, MovesOnLettersMarksStonesOrOffTheBoardAreRefused) {
    testfile::Problem p = Sequence({{{1, 1}}});
    p.setup.push_back(CornerWord(0, 0, 2, 2));   // letter
    p.setup.push_back(CornerWord(16, 0, 3, 3));  // mark
    Load({p});
    for (auto [col, row] : {std::pair{2, 2}, {3, 3}, {0, 0}}) {
        ClickPoint(col, row);
        EXPECT_TRUE(play->InputEnabled());
        EXPECT_EQ(play->Result(), Verdict::None);
    }
    play->BoardClick(700, 500);  // off the corner board
    EXPECT_TRUE(play->Moves().empty());
    EXPECT_TRUE(view.sounds.empty());
}

TEST_F(PlayTest, WrongMoveIsIncorrectAndTheAnswerIsReplayed) {
    testfile::Problem p = Sequence({{{1, 0}, {2, 0}, {1, 1}}, {{4, 4}}});
    p.setup = {CornerWord(1, 0, 0, 0), CornerWord(2, 0, 3, 0)};
    Load({p});
    ClickPoint(6, 6);
    EXPECT_EQ(play->Result(), Verdict::Incorrect);
    Ticks(3);
    EXPECT_FALSE(view.resultCorrect);
    EXPECT_EQ(view.Count(kNo), 1);
    EXPECT_EQ(view.faces.back(), 3);
    EXPECT_TRUE(view.panes[Pane::AnswerButton]);
    play->ReplyTimer();  // the pending reply timer finds the problem judged
    EXPECT_EQ(play->Moves().size(), 1u);

    play->ShowAnswer();
    EXPECT_EQ(play->Phase(), PlayPhase::AnswerShown);
    EXPECT_EQ(play->Mood(), Mood::AnswerShown);
    ASSERT_EQ(play->AnswerMarks().size(), 2u);
    EXPECT_EQ(play->AnswerMarks()[0], (StoneEntry{15, 1, 0, 1}));
    EXPECT_EQ(play->AnswerMarks()[1], (StoneEntry{15, 4, 4, 1}));
    EXPECT_EQ(play->EntryCount(), 2) << "the board is back at the setup";
    EXPECT_EQ(play->Moves().size(), 3u);

    const int stonesBefore = view.Count(kStone);
    Ticks(32);
    EXPECT_EQ(play->ReplayShown(), 0);
    const uint64_t before = Now();
    Ticks(1);
    EXPECT_EQ(play->ReplayShown(), 1);
    EXPECT_EQ(Now() - before, 250u);
    const std::vector<BoardSprite> sprites = play->BoardSprites();
    ASSERT_GE(sprites.size(), 3u);
    EXPECT_EQ(sprites[2].entry, (StoneEntry{0, 1, 0, 1}));
    EXPECT_TRUE(sprites[2].marker);
    Ticks(33);
    // The replayed moves alternate colours, numbered by their place in the replay.
    EXPECT_EQ(play->ReplayShown(), 2);
    EXPECT_EQ(play->Entries()[3], (StoneEntry{1, 2, 0, 2}));
    Ticks(33);
    EXPECT_EQ(play->ReplayShown(), 3);
    EXPECT_FALSE(play->ReplayRunning());
    EXPECT_EQ(view.Count(kStone) - stonesBefore, 3);
    Ticks(100);
    EXPECT_EQ(play->ReplayShown(), 3);
    play->ShowAnswer();
    EXPECT_EQ(play->Phase(), PlayPhase::AnswerShown) << "already shown";
    ClickPoint(8, 8);
    EXPECT_EQ(play->Moves().size(), 3u) << "no play while the answer is shown";
}

TEST_F(PlayTest, CaptureDuringPlayErasesTheCapturedEntry) {
    testfile::Problem p = Sequence({{{0, 1}}});
    p.setup = {CornerWord(2, 0, 0, 0), CornerWord(1, 0, 1, 0)};
    Load({p});
    ClickPoint(0, 1);
    EXPECT_EQ(play->Result(), Verdict::Correct);
    EXPECT_TRUE(stone::IsErased(play->Entries()[0]));
    EXPECT_EQ(board.At(0, 0), stone::kEmpty);
}

TEST_F(PlayTest, AgainCancelsAPendingReply) {
    Load({Sequence({{{1, 1}, {2, 2}, {3, 3}}})});
    ClickPoint(1, 1);
    ASSERT_FALSE(play->InputEnabled());
    play->Again();
    EXPECT_FALSE(view.timers[ProblemPlay::kReplyTimer]);
    EXPECT_TRUE(play->InputEnabled());
    EXPECT_TRUE(play->Moves().empty());
    EXPECT_EQ(play->Mood(), Mood::AfterAgain);
    EXPECT_TRUE(play->QuestionOpen());
    play->ReplyTimer();  // a firing that was already on its way
    EXPECT_EQ(play->Turn(), Turn::Learner);
    EXPECT_TRUE(play->InputEnabled());
    play->BoardClick(10, 10);  // closes the question window
    ClickPoint(1, 1);
    EXPECT_EQ(play->Moves().size(), 1u);
}

TEST_F(PlayTest, ReplySideFirstProblemOpensWithItsReplyAndStaysPlayable) {
    // Code 10: the reply side moves first; every answer entry is decoded as white.
    testfile::Problem p = Sequence({{{1, 1}, {2, 2}, {3, 3}}});
    p.code = 10;
    Load({p});
    ASSERT_EQ(play->Type(), ProblemType::PlaySequence);
    EXPECT_FALSE(play->InputEnabled());
    EXPECT_TRUE(view.timers[ProblemPlay::kReplyTimer]);
    play->ReplyTimer();
    ASSERT_EQ(play->Moves().size(), 1u);
    EXPECT_EQ(play->Moves()[0], (StoneEntry{1, 1, 1, 1}));
    play->ReplyTimer();
    EXPECT_TRUE(play->InputEnabled());
    ClickPoint(2, 2);
    EXPECT_EQ(play->Result(), Verdict::Incorrect)
        << "a black move never equals a white answer entry";
    Ticks(3);
    play->ShowAnswer();
    Ticks(33 * 3);
    EXPECT_EQ(play->ReplayShown(), 3);
    EXPECT_EQ(play->Entries()[1].kind, 1) << "the replay starts with the reply side";
    EXPECT_EQ(play->Entries()[2].kind, 0);
}

TEST_F(PlayTest, EntryListNeverOverflows) {
    testfile::Problem p = Make(0, {}, {Word(1, 0, 18, 18)});
    for (int i = 0; i < 198; ++i) p.setup.push_back(Word(1, 0, i % 19, i / 19));
    Load({p});
    ASSERT_EQ(play->EntryCount(), 198);
    ASSERT_EQ(play->BoardSize(), 19);
    ClickPoint(5, 15);  // 199th entry, wrong
    EXPECT_EQ(play->EntryCount(), 199);
    play->Again();
    play->BoardClick(10, 10);
    ClickPoint(18, 18);
    EXPECT_EQ(play->Result(), Verdict::Correct);
}

// --- marking all points (types 4 and 5), picking a letter (type 3) ---

TEST_F(PlayTest, MarkingAllPointsJudgesAtTheLastOneAndAnyWrongPointAtOnce) {
    const testfile::Problem p =
        Make(3, {CornerWord(1, 0, 0, 0)},
             {CornerWord(1, 0, 1, 1), CornerWord(1, 0, 2, 2), CornerWord(1, 0, 3, 3)},
             {BranchWord(0, 3)});
    Load({p, p});
    ASSERT_EQ(play->Type(), ProblemType::MarkPointsA);
    ClickPoint(2, 2);
    ClickPoint(2, 2);  // again: not recorded twice
    EXPECT_EQ(play->Moves().size(), 1u);
    EXPECT_EQ(view.Count(kSet), 2);
    ClickPoint(1, 1);
    EXPECT_EQ(play->Result(), Verdict::Undecided);
    ClickPoint(3, 3);
    EXPECT_EQ(play->Result(), Verdict::Correct);
    EXPECT_EQ(play->Moves()[2], (StoneEntry{8, 3, 3, 3}));

    play->NextProblem();
    play->BoardClick(10, 10);
    ClickPoint(1, 1);
    ClickPoint(0, 0);  // on a stone, but not an answer point
    EXPECT_EQ(play->Result(), Verdict::Incorrect);
    Ticks(3);
    play->ShowAnswer();
    ASSERT_EQ(play->AnswerMarks().size(), 3u);
    EXPECT_EQ(play->AnswerMarks()[2], (StoneEntry{16, 3, 3, 0}));
}

TEST_F(PlayTest, PickingALetterJudgesItsKind) {
    const testfile::Problem p =
        Make(2, {CornerWord(0, 0, 1, 1), CornerWord(0, 1, 4, 4), CornerWord(1, 0, 6, 6)},
             {CornerWord(0, 0, 4, 4)}, {BranchWord(0, 1)});
    Load({p, p});
    ASSERT_EQ(play->Type(), ProblemType::PickLetter);
    ClickPoint(6, 6);  // a stone, not a letter
    ClickPoint(7, 7);
    EXPECT_EQ(play->Result(), Verdict::None);
    ClickPoint(4, 4);
    EXPECT_EQ(play->Result(), Verdict::Correct);
    EXPECT_EQ(play->Entries()[3].kind, 7);
    play->NextProblem();
    play->BoardClick(10, 10);
    ClickPoint(1, 1);
    EXPECT_EQ(play->Result(), Verdict::Incorrect);
    Ticks(3);
    play->ShowAnswer();
    EXPECT_EQ(play->Entries()[3], (StoneEntry{17, 4, 4, 0}));
}

// --- choices (types 2, 7, 8) ---

TEST_F(PlayTest, CircleOrCrossSelectionZeroIsCircle) {
    const testfile::Problem p = Make(1, {}, {Word(0, 0, 1, 0)}, {BranchWord(0, 1)});  // ○
    Load({p, p});
    ASSERT_EQ(play->Type(), ProblemType::YesNo);
    EXPECT_EQ(view.texts[Text::Selection], "\x81\x9b");
    ClickPoint(3, 3);
    EXPECT_EQ(play->Result(), Verdict::None) << "choices are not made on the board";
    play->Decide();
    EXPECT_EQ(play->Result(), Verdict::Correct);
    EXPECT_TRUE(play->DecideAnimating());
    const uint64_t before = Now();
    Ticks(79);
    EXPECT_FALSE(view.resultShown);
    Ticks(1);
    EXPECT_TRUE(view.resultShown && view.resultCorrect);
    EXPECT_EQ(Now(), before) << "no pause for a choice verdict";

    play->NextProblem();
    play->BoardClick(10, 10);
    play->SelectionUp();
    EXPECT_EQ(view.texts[Text::Selection], "\x81\x7e");
    play->SelectionUp();
    EXPECT_EQ(play->Selection(), 1);
    play->Decide();
    EXPECT_EQ(play->Result(), Verdict::Incorrect);
    Ticks(80);
    play->ShowAnswer();
    EXPECT_EQ(view.texts[Text::Selection], "\x81\x9b");
}

TEST_F(PlayTest, NumberChoiceRunsFromOneToNinetyNine) {
    const testfile::Problem p = Make(5, {}, {Word(0, 0, 5, 0)}, {BranchWord(0, 1)});
    Load({p, p});
    ASSERT_EQ(play->Type(), ProblemType::Number);
    play->SelectionDown();
    EXPECT_TRUE(view.sounds.empty()) << "already at 1";
    for (int i = 0; i < 120; ++i) play->SelectionUp();
    EXPECT_EQ(play->Selection(), 98);
    EXPECT_EQ(play->SelectionText(), "99");
    EXPECT_EQ(view.Count(kCursor), 98);
    for (int i = 0; i < 94; ++i) play->SelectionDown();
    EXPECT_EQ(play->SelectionText(), "05");
    play->Decide();
    EXPECT_EQ(play->Result(), Verdict::Correct);
    play->Decide();
    play->SelectionUp();
    EXPECT_EQ(play->Selection(), 4) << "the selection is fixed once decided";
    EXPECT_EQ(view.Count(kSet), 1);

    play->NextProblem();
    play->BoardClick(10, 10);
    for (int i = 0; i < 5; ++i) play->SelectionUp();
    play->Decide();
    EXPECT_EQ(play->Result(), Verdict::Incorrect) << "6 is not 5";
}

TEST_F(PlayTest, ThreeTextsAreJudgedBySlot) {
    testfile::Problem p = Make(7, {}, {}, {BranchWord(0, 1)});
    p.answerBytes = testfile::ChoiceBytes("right", "wrong", "other");
    Load({p, p, p, p}, 3);
    ASSERT_EQ(play->Type(), ProblemType::Choice);
    EXPECT_EQ(play->SelectionText(), "wrong");
    for (int i = 0; i < 3; ++i) play->SelectionUp();
    EXPECT_EQ(play->Selection(), 2);
    EXPECT_EQ(play->SelectionText(), "right");
    play->Decide();
    EXPECT_EQ(play->Result(), Verdict::Correct);
}

// --- shown sequences (type 1) ---

TEST_F(PlayTest, ShownSequenceRevealsOneNumberedStonePerPeriod) {
    Load({Make(11, {Word(1, 2, 3, 3), Word(2, 0, 0, 0), Word(1, 1, 1, 0), Word(2, 0, 0, 1)})});
    ASSERT_EQ(play->Type(), ProblemType::ShownSequence);
    EXPECT_EQ(play->StepsTotal(), 2);
    EXPECT_EQ(play->BoardSprites().size(), 2u) << "only the unnumbered stones at first";
    Ticks(33);
    EXPECT_EQ(play->StepsShown(), 1);
    std::vector<BoardSprite> sprites = play->BoardSprites();
    ASSERT_EQ(sprites.size(), 3u) << "the two white stones still breathe at (0, 2) and (1, 1)";
    EXPECT_EQ(sprites.back().entry, (StoneEntry{0, 1, 0, 1}));
    EXPECT_TRUE(sprites.back().marker);
    EXPECT_FALSE(sprites[0].marker);
    Ticks(33);
    sprites = play->BoardSprites();
    EXPECT_EQ(play->StepsShown(), 2);
    EXPECT_FALSE(play->SequenceRunning());
    EXPECT_EQ(view.Count(kStone), 2);
    ASSERT_FALSE(sprites.empty());
    EXPECT_EQ(sprites.back().entry, (StoneEntry{0, 3, 3, 2}));
    EXPECT_TRUE(sprites.back().marker);
    ClickPoint(5, 5);
    EXPECT_EQ(play->Result(), Verdict::None) << "nothing is judged";
}

TEST_F(PlayTest, ShownSequenceResolvesCaptures) {
    // White at (0, 0), black at (1, 0); black 1 at (0, 1) takes the white stone.
    Load({Make(11, {Word(2, 0, 0, 0), Word(1, 0, 1, 0), Word(1, 1, 0, 1)})});
    Ticks(33);
    const std::vector<BoardSprite> sprites = play->BoardSprites();
    ASSERT_EQ(sprites.size(), 2u);
    EXPECT_EQ(sprites[0].entry, (StoneEntry{0, 1, 0, 0}));
    EXPECT_EQ(sprites[1].entry, (StoneEntry{0, 0, 1, 1}));
    play->PrevProblem();  // there is none; nothing changes
    EXPECT_EQ(play->StepsShown(), 1);
}

TEST_F(PlayTest, MenuPausesTheSteppersAndResumesThem) {
    Load({Make(11, {Word(1, 1, 3, 3), Word(1, 2, 4, 4)})});
    Ticks(33);
    ASSERT_EQ(play->StepsShown(), 1);
    play->PauseSteppers();
    Ticks(100);
    EXPECT_EQ(play->StepsShown(), 1);
    play->ResumeSteppers();
    Ticks(33);
    EXPECT_EQ(play->StepsShown(), 2);
}

// --- moving between problems, recording ---

TEST_F(PlayTest, CorrectAnswerThenClickMovesOnOrLeavesAfterTheLastProblem) {
    Load(std::vector<testfile::Problem>(28, Sequence({{{1, 1}}})), 26);
    ClickPoint(1, 1);
    Ticks(3);
    play->BoardClick(300, 300);
    EXPECT_EQ(play->ProblemIndex(), 27);
    EXPECT_TRUE(play->QuestionOpen());
    EXPECT_EQ(view.texts[Text::Counter], "\x96\xe2\x91\xe8(028/028)");
    play->BoardClick(300, 300);
    ClickPoint(1, 1);
    Ticks(3);
    play->BoardClick(300, 300);
    EXPECT_EQ(view.leaves, std::vector<int>{3});
    play->NextProblem();
    EXPECT_EQ(play->ProblemIndex(), 27) << "no problem after the last";
}

TEST_F(PlayTest, ClickInTheCharacterStripIsIgnored) {
    Load({Sequence({{{1, 1}}})});
    play->OpenQuestionWindow();
    play->BoardClick(800, 200);
    EXPECT_TRUE(play->QuestionOpen());
    play->BoardClick(800, 240);
    EXPECT_FALSE(play->QuestionOpen());
}

TEST_F(PlayTest, SolvingTwiceRecordsOnceAndTheSectionCompletesAtItsLastProblem) {
    // Course 0, chapter 1, section 8 has 10 problems; nine are solved already.
    for (int i = 1; i < 10; ++i) progress->MarkProblemSolved(0, 0, 7, i);
    Load(std::vector<testfile::Problem>(10, Sequence({{{1, 1}}})), 0, 0, 7);
    EXPECT_EQ(view.texts[Text::Counter], "\x96\xe2\x91\xe8(001/010)");
    EXPECT_FALSE(progress->IsSectionSolved(0, 0, 7));
    ClickPoint(1, 1);
    Ticks(3);
    EXPECT_TRUE(progress->IsSectionSolved(0, 0, 7));
    EXPECT_EQ(view.stampShows, 1);
    const auto before = std::make_unique<ProgressState>(*progress);
    play->Again();
    EXPECT_TRUE(view.panes[Pane::ClearedStamp]) << "the stamp stays on";
    play->BoardClick(10, 10);
    ClickPoint(1, 1);
    Ticks(3);
    EXPECT_TRUE(view.resultCorrect);
    EXPECT_EQ(view.stampShows, 2) << "shown again by set-up only, not by a second record";
    EXPECT_EQ(0, std::memcmp(before->m_solved, progress->m_solved, sizeof progress->m_solved));
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
