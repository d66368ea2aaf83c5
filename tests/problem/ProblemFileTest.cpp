#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "ProblemFileWriter.h"
#include "problem/ProblemFile.h"
#include "progress/ProgressState.h"
#include "support/ScratchDir.h"

using testfile::BranchWord;
using testfile::Word;

namespace {

// Decodes one block (chapter 1, section 1) of the given problems into `count` records.
std::vector<ProblemRecord> Decode(const std::vector<testfile::Problem>& problems, size_t count = 28,
                                  bool* ok = nullptr) {
    testfile::Block block;
    block.problems = problems;
    std::vector<ProblemRecord> records(count);
    const bool result = problemfile::DecodeFile(testfile::FileBytes({block}), 1, 1, records);
    if (ok != nullptr)
        *ok = result;
    else
        EXPECT_TRUE(result);
    return records;
}

ProblemRecord DecodeOne(const testfile::Problem& p) {
    return Decode({p})[0];
}

bool Accepts(const testfile::Problem& p) {
    bool ok = false;
    Decode({p}, 28, &ok);
    return ok;
}

// A move-sequence problem with one black stone in the corner window and one answer.
testfile::Problem SimpleSequence() {
    testfile::Problem p;
    p.code = 6;
    p.setup = {Word(1, 0, 0, 18), Word(2, 0, 3, 10)};
    p.branches = {BranchWord(0, 1)};
    p.answers = {Word(1, 0, 1, 17)};
    return p;
}

}  // namespace

// --- window and rows ---

TEST(ProblemLoadWindow, CornerProblemKeepsSize13AndFlipsRows) {
    ProblemRecord r = DecodeOne(SimpleSequence());
    EXPECT_EQ(r.typeByte, 6) << "no full-board flag";
    EXPECT_EQ(r.setupCount, 2);
    EXPECT_EQ(r.slots[0], (StoneEntry{0, 0, 0, 0})) << "file row 18 becomes row 0";
    EXPECT_EQ(r.slots[1], (StoneEntry{1, 3, 8, 0}));
    EXPECT_EQ(r.slots[2].aux, 1) << "branch header";
    EXPECT_EQ(r.slots[3], (StoneEntry{0, 1, 1, 1})) << "answers are flipped too";
}

TEST(ProblemLoadWindow, OneStoneOutsideTheCornerPromotesTheWholeProblem) {
    for (uint32_t outside : {Word(1, 0, 12, 18), Word(2, 0, 0, 7)}) {
        testfile::Problem p = SimpleSequence();
        p.setup.push_back(outside);
        ProblemRecord r = DecodeOne(p);
        EXPECT_EQ(r.typeByte, 6 + 16);
        EXPECT_EQ(r.slots[0], (StoneEntry{0, 0, 18, 0})) << "rows unflipped";
        EXPECT_EQ(r.slots[4], (StoneEntry{0, 1, 17, 1}));
    }
}

TEST(ProblemLoadWindow, OutOfRangeSetupWordsAreDroppedAndTheReplacementIsTestedToo) {
    testfile::Problem p = SimpleSequence();
    // y = 19 is dropped; the last word (x = 19) moves into its place and is dropped as well;
    // then y = -1 (0xFF as a signed byte) goes the same way.
    p.setup = {Word(1, 0, 0, 18), Word(1, 0, 2, 19), Word(2, 0, 5, -1), Word(2, 0, 4, 12),
               Word(1, 0, 19, 10)};
    ProblemRecord r = DecodeOne(p);
    EXPECT_EQ(r.setupCount, 2);
    EXPECT_EQ(r.typeByte, 6) << "the dropped words do not promote the problem";
    EXPECT_EQ(r.slots[0], (StoneEntry{0, 0, 0, 0}));
    EXPECT_EQ(r.slots[1], (StoneEntry{1, 4, 6, 0}));
    EXPECT_EQ(r.slots[2].aux, 1) << "the answer part follows the shrunken setup";
}

TEST(ProblemLoadWindow, ProblemWithoutAnswersIsTypeOneOnTheFullBoard) {
    testfile::Problem p = SimpleSequence();
    p.code = 2;
    p.branches.clear();
    p.answers.clear();
    ProblemRecord r = DecodeOne(p);
    EXPECT_EQ(r.typeByte, 1 + 16);
    EXPECT_EQ(r.slots[0], (StoneEntry{0, 0, 18, 0}));
    EXPECT_EQ(r.turn, 255);
}

// --- kinds, answers, byte 802, turn ---

TEST(ProblemLoadKinds, FileKindCodesMapToEntryKinds) {
    struct Case {
        int code, aux, kind;
    } cases[] = {{0, 0, 4},   {0, 1, 5},  {0, 2, 6},   {0, 3, 0},   {1, 0, 0},   {33, 0, 0},
                 {2, 0, 1},   {34, 0, 1}, {16, 0, 11}, {17, 0, 2},  {18, 0, 3},  {32, 0, 12},
                 {48, 0, 13}, {49, 0, 9}, {50, 0, 9},  {64, 0, 14}, {3, 0, 255}, {65, 0, 255}};
    for (const Case& c : cases) {
        EXPECT_EQ(problemfile::KindOfFileCode(c.code, c.aux), c.kind) << "code " << c.code;
    }
    testfile::Problem p = SimpleSequence();
    p.setup = {Word(0, 2, 1, 17), Word(7, 0, 2, 17), Word(1, 7, 3, 17)};
    ProblemRecord r = DecodeOne(p);
    EXPECT_EQ(r.slots[0], (StoneEntry{6, 1, 1, 2}));
    EXPECT_EQ(r.slots[1], (StoneEntry{255, 2, 1, 0}));
    EXPECT_EQ(r.slots[2], (StoneEntry{0, 3, 1, 7})) << "aux carries the stone number";
}

TEST(ProblemLoadKinds, ProblemCodesMapToTypesAndTurns) {
    const int types[] = {6, 2, 3, 4, 5, 7, 6, 8, 5, 3, 6, 1, 1, 1};
    for (int code = 0; code < 14; ++code) {
        EXPECT_EQ(int(problemfile::TypeOfCode(code)), types[code]) << "code " << code;
    }
    EXPECT_EQ(problemfile::TypeOfCode(255), ProblemType::ShownSequence);
    EXPECT_EQ(problemfile::TurnOfCode(0), 0);
    EXPECT_EQ(problemfile::TurnOfCode(6), 0);
    EXPECT_EQ(problemfile::TurnOfCode(10), 1);
    EXPECT_EQ(problemfile::TurnOfCode(3), 255);
}

TEST(ProblemLoadAnswers, CodeZeroMakesOneBranchPerAnswerWord) {
    testfile::Problem p = SimpleSequence();
    p.code = 0;
    p.branches = {BranchWord(0, 5)};  // ignored for code 0
    p.answers = {Word(1, 9, 1, 17), Word(1, 0, 2, 16)};
    ProblemRecord r = DecodeOne(p);
    EXPECT_EQ(r.answerParam, 2);
    EXPECT_EQ(r.slots[2], (StoneEntry{0, 0, 0, 1}));
    EXPECT_EQ(r.slots[3], (StoneEntry{0, 1, 1, 0}));
    EXPECT_EQ(r.slots[4], (StoneEntry{0, 0, 0, 1}));
    EXPECT_EQ(r.slots[5], (StoneEntry{0, 2, 2, 0}));
    EXPECT_EQ(r.turn, 0);
}

TEST(ProblemLoadAnswers, CodeSixAlternatesColoursAndNumbersEachBranch) {
    testfile::Problem p = SimpleSequence();
    p.answers = {Word(1, 0, 1, 17), Word(1, 0, 2, 17), Word(1, 0, 3, 17), Word(1, 0, 4, 17)};
    p.branches = {BranchWord(0, 3), BranchWord(3, 4)};
    ProblemRecord r = DecodeOne(p);
    EXPECT_EQ(r.answerParam, 2) << "the branch count";
    EXPECT_EQ(r.slots[2].aux, 3);
    EXPECT_EQ(r.slots[3], (StoneEntry{0, 1, 1, 1}));
    EXPECT_EQ(r.slots[4], (StoneEntry{1, 2, 1, 2}));
    EXPECT_EQ(r.slots[5], (StoneEntry{0, 3, 1, 3}));
    EXPECT_EQ(r.slots[6].aux, 1);
    EXPECT_EQ(r.slots[7], (StoneEntry{0, 4, 1, 1}));
}

TEST(ProblemLoadAnswers, ParameterBytePerCode) {
    testfile::Problem letters = SimpleSequence();
    letters.code = 2;
    letters.setup = {Word(0, 0, 1, 17), Word(0, 1, 2, 17)};
    letters.answers = {Word(0, 0, 2, 17)};
    ProblemRecord r = DecodeOne(letters);
    EXPECT_EQ(r.typeByte, 3);
    EXPECT_EQ(r.answerParam, 5) << "kind of the setup letter on the answer point";
    EXPECT_EQ(r.slots[3], (StoneEntry{7, 2, 1, 0}));

    testfile::Problem yesNo = SimpleSequence();
    yesNo.code = 1;
    yesNo.answers = {Word(0, 0, 1, 0)};  // bits 16-23 = 1: "yes"
    r = DecodeOne(yesNo);
    EXPECT_EQ(r.typeByte, 2) << "answer words do not take part in the window test";
    EXPECT_EQ(r.answerParam, 1);
    EXPECT_EQ(r.slots[3], StoneEntry{}) << "nothing written for the answer";

    testfile::Problem number = yesNo;
    number.code = 5;
    number.answers = {Word(0, 0, 17, 0)};
    EXPECT_EQ(DecodeOne(number).answerParam, 17);

    testfile::Problem marks = SimpleSequence();
    marks.code = 3;
    marks.answers = {Word(1, 0, 1, 17), Word(1, 0, 2, 17), Word(1, 0, 3, 17)};
    marks.branches = {BranchWord(0, 3)};
    r = DecodeOne(marks);
    EXPECT_EQ(r.answerParam, 3);
    EXPECT_EQ(r.slots[5], (StoneEntry{8, 3, 1, 0}));
    marks.code = 8;
    EXPECT_EQ(DecodeOne(marks).slots[5], (StoneEntry{9, 3, 1, 0}));

    testfile::Problem empty = yesNo;
    empty.branches = {BranchWord(0, 0)};
    EXPECT_EQ(DecodeOne(empty).answerParam, 0) << "empty branches leave byte 802 at 0";

    testfile::Problem reply = SimpleSequence();
    reply.code = 10;
    reply.answers = {Word(1, 0, 1, 17), Word(1, 0, 2, 17)};
    reply.branches = {BranchWord(0, 2)};
    r = DecodeOne(reply);
    EXPECT_EQ(r.turn, 1);
    EXPECT_EQ(r.answerParam, 0) << "left unset for code 10";
    EXPECT_EQ(r.slots[3], (StoneEntry{1, 1, 1, 1}));
    EXPECT_EQ(r.slots[4], (StoneEntry{1, 2, 1, 2}));
}

TEST(ProblemLoadAnswers, CaptionAndQuestionBytes) {
    testfile::Problem p = SimpleSequence();
    p.caption = 3;
    p.question = 56;
    ProblemRecord r = DecodeOne(p);
    EXPECT_EQ(r.caption, 3);
    EXPECT_EQ(r.question, 56);
}

// --- choice texts ---

TEST(ProblemLoadChoices, ProblemIndexThreeShowsTextsTwoThreeOne) {
    testfile::Problem p;
    p.code = 7;
    p.setup = {Word(1, 0, 0, 18)};
    p.branches = {BranchWord(0, 1)};
    p.answerBytes = testfile::ChoiceBytes("first", "second", "third");
    std::vector<ProblemRecord> r = Decode({p, p, p, p});
    EXPECT_EQ(r[3].typeByte, 8);
    EXPECT_STREQ(r[3].choices[0], "second");
    EXPECT_STREQ(r[3].choices[1], "third");
    EXPECT_STREQ(r[3].choices[2], "first");
    EXPECT_EQ(r[3].answerParam, 2);
    EXPECT_STREQ(r[0].choices[0], "first");
    EXPECT_EQ(r[0].answerParam, 0);
    EXPECT_STREQ(r[1].choices[2], "second");
    EXPECT_EQ(r[1].answerParam, 0);
}

TEST(ProblemLoadChoices, FullBoardFlagMeansNoTexts) {
    testfile::Problem p;
    p.code = 7;
    p.setup = {Word(1, 0, 15, 3)};
    p.branches = {BranchWord(0, 1)};
    p.answerBytes = testfile::ChoiceBytes("a", "b", "c");
    ProblemRecord r = DecodeOne(p);
    EXPECT_EQ(r.typeByte, 24);
    EXPECT_EQ(r.choices[0][0], 0);
    EXPECT_EQ(r.answerParam, 0);
}

TEST(ProblemLoadChoices, TextsLongerThan39BytesOrPastTheAnswerBytesAreRefused) {
    testfile::Problem p;
    p.code = 7;
    p.branches = {BranchWord(0, 1)};
    p.answerBytes = testfile::ChoiceBytes(std::string(39, 'x'), "b", "c");
    EXPECT_TRUE(Accepts(p));
    p.answerBytes = testfile::ChoiceBytes(std::string(40, 'x'), "b", "c");
    EXPECT_FALSE(Accepts(p));
    p.answerBytes = {3, 3, 3, 'a', 'b', 'c', 'd'};  // claims 9 bytes, holds 4 (+1 padding)
    EXPECT_FALSE(Accepts(p));
}

// --- limits ---

TEST(ProblemLoadLimits, CountsBeyondTheRecordAreRefused) {
    testfile::Problem p = SimpleSequence();
    p.setup.assign(201, Word(1, 0, 0, 18));
    p.answers.clear();
    p.branches.clear();
    p.code = 11;
    EXPECT_FALSE(Accepts(p)) << "201 kept setup words do not fit the 200 slots";
    p.setup.assign(200, Word(1, 0, 0, 18));
    EXPECT_TRUE(Accepts(p));
    p.setup.assign(202, Word(1, 0, 0, 25));  // all dropped later, but the count is read first
    EXPECT_FALSE(Accepts(p));

    p = SimpleSequence();
    p.branches.assign(11, BranchWord(0, 0));
    EXPECT_FALSE(Accepts(p));
    p.branches.assign(10, BranchWord(0, 0));
    EXPECT_TRUE(Accepts(p));

    p = SimpleSequence();
    p.answers.assign(201, Word(1, 0, 1, 17));
    EXPECT_FALSE(Accepts(p));

    p = SimpleSequence();
    p.answerCountField = int32_t(0x80000000u);
    EXPECT_FALSE(Accepts(p)) << "negative count";
}

TEST(ProblemLoadLimits, AnswerPartMustFitTheSlotsAfterTheSetup) {
    testfile::Problem p = SimpleSequence();
    p.code = 0;
    p.setup.assign(150, Word(1, 0, 0, 18));
    p.answers.assign(25, Word(1, 0, 1, 17));  // 150 + 2 x 25 = 200
    EXPECT_TRUE(Accepts(p));
    p.answers.push_back(Word(1, 0, 1, 17));
    EXPECT_FALSE(Accepts(p));

    p = SimpleSequence();
    p.setup.assign(190, Word(1, 0, 0, 18));
    p.answers.assign(10, Word(1, 0, 1, 17));
    p.branches = {BranchWord(0, 9)};  // 190 + 1 + 9 = 200
    EXPECT_TRUE(Accepts(p));
    p.branches = {BranchWord(0, 10)};
    EXPECT_FALSE(Accepts(p));
}

TEST(ProblemLoadLimits, BranchIndicesMustLieWithinTheAnswerWords) {
    testfile::Problem p = SimpleSequence();
    p.branches = {BranchWord(0, 2)};
    EXPECT_FALSE(Accepts(p)) << "hi past A";
    p.branches = {BranchWord(1, 0)};
    EXPECT_FALSE(Accepts(p)) << "hi below lo";
    p.branches = {BranchWord(0, -1)};
    EXPECT_FALSE(Accepts(p)) << "negative hi";
    p.branches = {BranchWord(1, 1)};
    EXPECT_TRUE(Accepts(p)) << "an empty branch at the end is fine";
}

TEST(ProblemLoadLimits, ProblemCountMustFitTheSection) {
    testfile::Problem p = SimpleSequence();
    bool ok = false;
    Decode({p, p, p}, 3, &ok);
    EXPECT_TRUE(ok);
    Decode({p, p, p, p}, 3, &ok);
    EXPECT_FALSE(ok);

    testfile::Block block;
    block.problems = {p};
    std::vector<ProblemRecord> records(3);
    block.problemCountField = int32_t(0xFFFFFFFFu);
    EXPECT_FALSE(problemfile::DecodeFile(testfile::FileBytes({block}), 1, 1, records));
    block.problemCountField = 2;  // claims a second problem the body does not hold
    EXPECT_FALSE(problemfile::DecodeFile(testfile::FileBytes({block}), 1, 1, records));
}

TEST(ProblemLoadLimits, BlockBodiesMustLieWithinTheFile) {
    testfile::Block other, wanted;
    other.section = 2;
    other.problems = {SimpleSequence()};
    wanted.problems = {SimpleSequence()};
    std::vector<ProblemRecord> records(3);
    EXPECT_TRUE(problemfile::DecodeFile(testfile::FileBytes({other, wanted}), 1, 1, records));

    other.bodySizeDelta = 1000;  // the skip would leave the file
    EXPECT_FALSE(problemfile::DecodeFile(testfile::FileBytes({other, wanted}), 1, 1, records));

    other.bodySizeDelta = 0;
    wanted.bodySizeDelta = -1;  // the problem runs past its body
    EXPECT_FALSE(problemfile::DecodeFile(testfile::FileBytes({other, wanted}), 1, 1, records));

    wanted.bodySizeDelta = 0;
    wanted.truncate = 3;  // the file ends inside the body
    EXPECT_FALSE(problemfile::DecodeFile(testfile::FileBytes({other, wanted}), 1, 1, records));

    const std::vector<uint8_t> shortHeader = {1, 2, 3};
    EXPECT_FALSE(problemfile::DecodeFile(shortHeader, 1, 1, records));
}

TEST(ProblemLoadLimits, BlockFoundWithinOneHundredBlocksOnly) {
    std::vector<testfile::Block> blocks(100);
    for (size_t i = 0; i < blocks.size(); ++i) {
        blocks[i].chapter = 6;
        blocks[i].section = 8;
        blocks[i].problems = {SimpleSequence()};
    }
    blocks[99].chapter = 1;
    blocks[99].section = 1;
    std::vector<ProblemRecord> records(3);
    EXPECT_TRUE(problemfile::DecodeFile(testfile::FileBytes(blocks), 1, 1, records));
    blocks[99].chapter = 6;
    blocks.push_back(blocks[0]);
    blocks[100].chapter = 1;
    blocks[100].section = 1;
    EXPECT_FALSE(problemfile::DecodeFile(testfile::FileBytes(blocks), 1, 1, records))
        << "the 101st block is not searched";
    blocks.pop_back();
    EXPECT_FALSE(problemfile::DecodeFile(testfile::FileBytes(blocks), 1, 1, records)) << "absent";
}

// --- LoadProblemSet ---

TEST(LoadProblemSet, ReadsTheCourseFileIntoTheSectionsRecords) {
    testsupport::ScratchDir dir;
    auto progress = std::make_unique<ProgressState>();
    progress->m_course = 1;
    testfile::Block block;
    block.courseTag = 2;
    block.chapter = 2;
    block.section = 1;  // course 1, chapter 2, section 1: 25 problems
    block.problems = {SimpleSequence(), SimpleSequence()};
    block.problems[1].question = 9;
    ASSERT_TRUE(
        testsupport::WriteBytes(dir / "PROBLEM/2-problem.dat", testfile::FileBytes({block})));
    ProblemBoard board;
    board.boardSize = 13;
    board.cells[5] = 1;
    ASSERT_TRUE(LoadProblemSet(board, *progress, 1, 0, dir / "PROBLEM/"));
    EXPECT_EQ(board.chapter, 1u);
    EXPECT_EQ(board.section, 0u);
    EXPECT_EQ(board.boardSize, 0);
    EXPECT_EQ(board.cells[5], 0);
    ASSERT_EQ(board.records.size(), 25u);
    EXPECT_EQ(board.records[1].question, 9);
    EXPECT_EQ(board.records[2].typeByte, 0) << "records beyond P stay zero";

    EXPECT_FALSE(LoadProblemSet(board, *progress, 1, 1, dir / "PROBLEM/")) << "no such block";
    EXPECT_TRUE(board.records.empty());
    progress->m_course = 2;
    EXPECT_FALSE(LoadProblemSet(board, *progress, 0, 0, dir / "PROBLEM/")) << "no file";
}

TEST(LoadProblemSet, SectionsOutsideTheCourseAreRejectedAndEmptySectionsSucceed) {
    auto progress = std::make_unique<ProgressState>();
    ProblemBoard board;
    EXPECT_TRUE(LoadProblemSet(board, *progress, 0, 0, "/nonexistent/")) << "0 problems";
    EXPECT_TRUE(board.records.empty());
    EXPECT_FALSE(LoadProblemSet(board, *progress, 6, 0, "/nonexistent/"));
    EXPECT_FALSE(LoadProblemSet(board, *progress, 0, 8, "/nonexistent/"));
    EXPECT_FALSE(LoadProblemSet(board, *progress, -1, 0, "/nonexistent/"));
    progress->m_course = 1;
    EXPECT_FALSE(LoadProblemSet(board, *progress, 4, 0, "/nonexistent/"));
    EXPECT_FALSE(LoadProblemSet(board, *progress, 0, 4, "/nonexistent/"));
    progress->m_course = 2;
    EXPECT_FALSE(LoadProblemSet(board, *progress, 2, 0, "/nonexistent/"));
    EXPECT_TRUE(LoadProblemSet(board, *progress, 1, 4, "/nonexistent/")) << "0 problems";
    progress->m_course = 3;
    EXPECT_FALSE(LoadProblemSet(board, *progress, 0, 0, "/nonexistent/"));
}
