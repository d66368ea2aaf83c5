#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "PlayFixture.h"
#include "problem/ProblemFile.h"
#include "progress/ProgressState.h"
#include "support/ScratchDir.h"

using testfile::BranchWord;
using testfile::Word;

namespace {

// Decodes one block (chapter 1, section 1) of the given problems into 28 records.
std::vector<ProblemRecord> Decode(const std::vector<testfile::Problem>& problems) {
    std::vector<ProblemRecord> records(28);
    EXPECT_TRUE(
        problemfile::DecodeFile(testfile::FileBytes({{.problems = problems}}), 1, 1, records));
    return records;
}

ProblemRecord DecodeOne(const testfile::Problem& p) {
    return Decode({p})[0];
}

// A move-sequence problem with one black stone in the corner window and one answer.
testfile::Problem SimpleSequence() {
    return testfile::Make(6, {Word(1, 0, 0, 18), Word(2, 0, 3, 10)}, {Word(1, 0, 1, 17)},
                          {BranchWord(0, 1)});
}

using Edit = std::function<void(testfile::Problem&)>;

// A file of one block (chapter 1, section 1) with the simple sequence after `edit`.
std::vector<uint8_t> FileOf(const Edit& edit) {
    testfile::Problem p = SimpleSequence();
    edit(p);
    return testfile::FileBytes({{.problems = {p}}});
}

// Setup words at the top-left corner, answers next to it.
Edit Counts(int code, size_t setup, size_t answers, std::vector<uint32_t> branches) {
    return [=](testfile::Problem& p) {
        p.code = uint8_t(code);
        p.setup.assign(setup, Word(1, 0, 0, 18));
        p.answers.assign(answers, Word(1, 0, 1, 17));
        p.branches = branches;
    };
}

Edit Choices(std::vector<uint8_t> bytes) {
    return [=](testfile::Problem& p) {
        p = testfile::Make(7, {}, {}, {BranchWord(0, 1)});
        p.answerBytes = bytes;
    };
}

Edit Branches(std::vector<uint32_t> branches) {
    return [=](testfile::Problem& p) { p.branches = branches; };
}

// Two blocks, the wanted one (chapter 1, section 1) second, after `edit`.
std::vector<uint8_t> TwoBlocks(
    const std::function<void(testfile::Block&, testfile::Block&)>& edit) {
    testfile::Block other{.section = 2, .problems = {SimpleSequence()}};
    testfile::Block wanted{.problems = {SimpleSequence()}};
    edit(other, wanted);
    return testfile::FileBytes({other, wanted});
}

// `count` blocks of chapter 6, section 8, with the wanted one at `at` (none when past them).
std::vector<uint8_t> ManyBlocks(size_t count, size_t at) {
    std::vector<testfile::Block> blocks(
        count, {.chapter = 6, .section = 8, .problems = {SimpleSequence()}});
    if (at < count) blocks[at].chapter = blocks[at].section = 1;
    return testfile::FileBytes(blocks);
}

std::vector<uint8_t> ProblemsInBlock(size_t problems, std::optional<int32_t> countField) {
    return testfile::FileBytes(
        {{.problems = std::vector(problems, SimpleSequence()), .problemCountField = countField}});
}

// The first `n` slots; a branch header is {0, 0, 0, answers in the branch}.
std::vector<StoneEntry> Slots(const ProblemRecord& r, int n) {
    return {r.slots, r.slots + n};
}
using E = std::vector<StoneEntry>;
using std::tuple;

}  // namespace

TEST(ProblemLoadWindow, OutOfRangeWordsGoOneStoneOutsideTheCornerOrNoAnswersMeanFullBoard) {
    testfile::Problem p = SimpleSequence();
    // y = 19 is dropped; the last word (x = 19) moves into its place and is dropped as well;
    // then y = -1 (0xFF as a signed byte) goes the same way. They do not promote the problem.
    p.setup = {Word(1, 0, 0, 18), Word(1, 0, 2, 19), Word(2, 0, 5, -1), Word(2, 0, 4, 12),
               Word(1, 0, 19, 10)};
    ProblemRecord r = DecodeOne(p);
    EXPECT_EQ(tuple(r.setupCount, r.typeByte), tuple(2, 6)) << "no full-board flag";
    // File row 18 becomes row 0 in the corner window (answers too, below).
    EXPECT_EQ(Slots(r, 3), (E{{0, 0, 0, 0}, {1, 4, 6, 0}, {0, 0, 0, 1}}));
    // One stone outside the corner promotes the whole problem, its rows unflipped.
    for (uint32_t outside : {Word(1, 0, 12, 18), Word(2, 0, 0, 7)}) {
        p = SimpleSequence();
        p.setup.push_back(outside);
        r = DecodeOne(p);
        EXPECT_EQ(tuple(r.typeByte, r.slots[0], r.slots[4]),
                  tuple(6 + 16, StoneEntry{0, 0, 18, 0}, StoneEntry{0, 1, 17, 1}));
    }
    // A problem without answers is type 1 on the full board.
    r = DecodeOne(testfile::Make(2, SimpleSequence().setup));
    EXPECT_EQ(tuple(r.typeByte, r.slots[0], r.turn), tuple(1 + 16, StoneEntry{0, 0, 18, 0}, 255));
}

TEST(ProblemLoadKinds, FileKindCodesMapToEntryKindsAndProblemCodesToTypes) {
    struct Case {
        int code, aux, kind;
    } cases[] = {{0, 0, 4},   {0, 1, 5},  {0, 2, 6},   {0, 3, 0},   {1, 0, 0},   {33, 0, 0},
                 {2, 0, 1},   {34, 0, 1}, {16, 0, 11}, {17, 0, 2},  {18, 0, 3},  {32, 0, 12},
                 {48, 0, 13}, {49, 0, 9}, {50, 0, 9},  {64, 0, 14}, {3, 0, 255}, {65, 0, 255}};
    for (const Case& c : cases)
        EXPECT_EQ(problemfile::KindOfFileCode(c.code, c.aux), c.kind) << "code " << c.code;
    testfile::Problem p = SimpleSequence();
    p.setup = {Word(0, 2, 1, 17), Word(7, 0, 2, 17), Word(1, 7, 3, 17)};
    // Aux carries the stone number.
    EXPECT_EQ(Slots(DecodeOne(p), 3), (E{{6, 1, 1, 2}, {255, 2, 1, 0}, {0, 3, 1, 7}}));
    // Problem codes map to types.
    const int types[] = {6, 2, 3, 4, 5, 7, 6, 8, 5, 3, 6, 1, 1, 1};
    for (int code = 0; code < 14; ++code)
        EXPECT_EQ(int(problemfile::TypeOfCode(code)), types[code]) << "code " << code;
    EXPECT_EQ(problemfile::TypeOfCode(255), ProblemType::ShownSequence);
}

TEST(ProblemLoadAnswers, BranchesAndParameterBytePerCode) {
    // Code 0 makes one branch per answer word; its branch words are ignored.
    const auto setup = SimpleSequence().setup;
    ProblemRecord r = DecodeOne(
        testfile::Make(0, setup, {Word(1, 9, 1, 17), Word(1, 0, 2, 16)}, {BranchWord(0, 5)}));
    EXPECT_EQ(tuple(r.answerParam, r.turn), tuple(2, 0));
    EXPECT_EQ(E(r.slots + 2, r.slots + 6),
              (E{{0, 0, 0, 1}, {0, 1, 1, 0}, {0, 0, 0, 1}, {0, 2, 2, 0}}));
    // Code 6 alternates colours and numbers each branch; byte 802 is the branch count.
    r = DecodeOne(testfile::Make(
        6, setup, {Word(1, 0, 1, 17), Word(1, 0, 2, 17), Word(1, 0, 3, 17), Word(1, 0, 4, 17)},
        {BranchWord(0, 3), BranchWord(3, 4)}));
    EXPECT_EQ(r.answerParam, 2);
    EXPECT_EQ(
        E(r.slots + 2, r.slots + 8),
        (E{{0, 0, 0, 3}, {0, 1, 1, 1}, {1, 2, 1, 2}, {0, 3, 1, 3}, {0, 0, 0, 1}, {0, 4, 1, 1}}));
    // Byte 802 per code.
    r = DecodeOne(testfile::Make(2, {Word(0, 0, 1, 17), Word(0, 1, 2, 17)}, {Word(0, 0, 2, 17)},
                                 {BranchWord(0, 1)}));
    EXPECT_EQ(tuple(r.typeByte, r.answerParam, r.slots[3]), tuple(3, 5, StoneEntry{7, 2, 1, 0}))
        << "byte 802: kind of the setup letter on the answer point";
    // Bits 16-23 = 1: "yes". Answer words do not take part in the window test.
    const testfile::Problem yesNo =
        testfile::Make(1, setup, {Word(0, 0, 1, 0)}, {BranchWord(0, 1)});
    r = DecodeOne(yesNo);
    EXPECT_EQ(tuple(r.typeByte, r.answerParam, r.slots[3]), tuple(2, 1, StoneEntry{}))
        << "nothing written for the answer";
    testfile::Problem number = yesNo;
    number.code = 5;
    number.answers = {Word(0, 0, 17, 0)};
    EXPECT_EQ(DecodeOne(number).answerParam, 17);
    testfile::Problem marks = testfile::Make(
        3, setup, {Word(1, 0, 1, 17), Word(1, 0, 2, 17), Word(1, 0, 3, 17)}, {BranchWord(0, 3)});
    r = DecodeOne(marks);
    EXPECT_EQ(tuple(r.answerParam, r.slots[5]), tuple(3, StoneEntry{8, 3, 1, 0}));
    marks.code = 8;
    EXPECT_EQ(DecodeOne(marks).slots[5], (StoneEntry{9, 3, 1, 0}));
    testfile::Problem empty = yesNo;
    empty.branches = {BranchWord(0, 0)};
    EXPECT_EQ(DecodeOne(empty).answerParam, 0) << "empty branches leave byte 802 at 0";
    r = DecodeOne(
        testfile::Make(10, setup, {Word(1, 0, 1, 17), Word(1, 0, 2, 17)}, {BranchWord(0, 2)}));
    EXPECT_EQ(tuple(r.turn, r.answerParam, r.slots[3], r.slots[4]),
              tuple(1, 0, StoneEntry{1, 1, 1, 1}, StoneEntry{1, 2, 1, 2}))
        << "byte 802 left unset for code 10";
}

TEST(ProblemLoadChoices, ProblemIndexThreeShowsTextsTwoThreeOne) {
    testfile::Problem p = testfile::Make(7, {Word(1, 0, 0, 18)}, {}, {BranchWord(0, 1)});
    p.answerBytes = testfile::ChoiceBytes("first", "second", "third");
    const std::vector<ProblemRecord> r = Decode({p, p, p, p});
    auto texts = [&](int i) {
        return tuple(std::string(r[i].choices[0]), std::string(r[i].choices[1]),
                     std::string(r[i].choices[2]), r[i].answerParam);
    };
    EXPECT_EQ(r[3].typeByte, 8);
    EXPECT_EQ(texts(3), tuple("second", "third", "first", 2));
    EXPECT_EQ(texts(0), tuple("first", "second", "third", 0));
    EXPECT_EQ(texts(1), tuple("first", "third", "second", 0));
    // A full-board flag means no texts.
    p = testfile::Make(7, {Word(1, 0, 15, 3)}, {}, {BranchWord(0, 1)});
    p.answerBytes = testfile::ChoiceBytes("a", "b", "c");
    const ProblemRecord full = DecodeOne(p);
    EXPECT_EQ(tuple(full.typeByte, full.choices[0][0], full.answerParam), tuple(24, 0, 0));
}

TEST(ProblemLoadLimits, FilesAreAcceptedUpToEachLimitAndRefusedPastIt) {
    const std::string x39(39, 'x'), x40(40, 'x');
    const struct {
        const char* what;
        std::vector<uint8_t> file;
        bool ok;
        size_t records = 28;
    } cases[] = {
        {"200 setup words fill the slots", FileOf(Counts(11, 200, 0, {})), true},
        {"201 setup words do not fit", FileOf(Counts(11, 201, 0, {})), false},
        {"the setup count is read before words are dropped", FileOf([](testfile::Problem& p) {
             p = testfile::Make(11, std::vector<uint32_t>(202, Word(1, 0, 0, 25)));
         }),
         false},
        {"10 branches", FileOf(Branches(std::vector<uint32_t>(10, BranchWord(0, 0)))), true},
        {"11 branches", FileOf(Branches(std::vector<uint32_t>(11, BranchWord(0, 0)))), false},
        {"201 answer words", FileOf(Counts(6, 2, 201, {BranchWord(0, 1)})), false},
        {"negative answer count",
         FileOf([](testfile::Problem& p) { p.answerCountField = int32_t(0x80000000u); }), false},
        {"code 0: setup and two slots per answer fill 200", FileOf(Counts(0, 150, 25, {})), true},
        {"code 0: one answer more", FileOf(Counts(0, 150, 26, {})), false},
        {"setup, header and branch fill 200", FileOf(Counts(6, 190, 10, {BranchWord(0, 9)})), true},
        {"one branch entry more", FileOf(Counts(6, 190, 10, {BranchWord(0, 10)})), false},
        {"branch end past the answers", FileOf(Branches({BranchWord(0, 2)})), false},
        {"branch end below its start", FileOf(Branches({BranchWord(1, 0)})), false},
        {"negative branch end", FileOf(Branches({BranchWord(0, -1)})), false},
        {"an empty branch at the end", FileOf(Branches({BranchWord(1, 1)})), true},
        {"a text of 39 bytes", FileOf(Choices(testfile::ChoiceBytes(x39, "b", "c"))), true},
        {"a text of 40 bytes", FileOf(Choices(testfile::ChoiceBytes(x40, "b", "c"))), false},
        {"texts past the answer bytes", FileOf(Choices({3, 3, 3, 'a', 'b', 'c', 'd'})), false},
        {"as many problems as the section", ProblemsInBlock(3, {}), true, 3},
        {"more problems than the section", ProblemsInBlock(4, {}), false, 3},
        {"negative problem count", ProblemsInBlock(1, int32_t(0xFFFFFFFFu)), false, 3},
        {"a problem count the body does not hold", ProblemsInBlock(1, 2), false, 3},
        {"another block is skipped", TwoBlocks([](auto&, auto&) {}), true},
        {"a skip that leaves the file", TwoBlocks([](auto& o, auto&) { o.bodySizeDelta = 1000; }),
         false},
        {"a problem past its body", TwoBlocks([](auto&, auto& w) { w.bodySizeDelta = -1; }), false},
        {"the file ends inside the body", TwoBlocks([](auto&, auto& w) { w.truncate = 3; }), false},
        {"a short header", {1, 2, 3}, false},
        {"the block is the 100th", ManyBlocks(100, 99), true},
        {"the 101st block is not searched", ManyBlocks(101, 100), false},
        {"no such block", ManyBlocks(100, 100), false},
    };
    for (const auto& c : cases) {
        std::vector<ProblemRecord> records(c.records);
        EXPECT_EQ(problemfile::DecodeFile(c.file, 1, 1, records), c.ok) << c.what;
    }
}

TEST(LoadProblemSet, ReadsTheCourseFileIntoTheSectionsRecords) {
    testsupport::ScratchDir dir;
    auto progress = std::make_unique<ProgressState>();
    progress->m_course = 1;
    // Course 1, chapter 2, section 1: 25 problems.
    testfile::Block block{.courseTag = 2, .chapter = 2, .section = 1};
    block.problems = {SimpleSequence(), SimpleSequence()};
    block.problems[1].question = 9;
    block.problems[1].caption = 3;
    ASSERT_TRUE(
        testsupport::WriteBytes(dir / "PROBLEM/2-problem.dat", testfile::FileBytes({block})));
    ProblemBoard board;
    board.boardSize = 13;
    board.cells[5] = 1;
    ASSERT_TRUE(LoadProblemSet(board, *progress, 1, 0, dir / "PROBLEM/"));
    ASSERT_EQ(board.records.size(), 25u);
    EXPECT_EQ(tuple(board.chapter, board.section, board.boardSize, board.cells[5]),
              tuple(1u, 0u, 0, 0));
    EXPECT_EQ(tuple(board.records[1].question, board.records[1].caption, board.records[2].typeByte),
              tuple(9, 3, 0))
        << "records beyond P stay zero";
    EXPECT_FALSE(LoadProblemSet(board, *progress, 1, 1, dir / "PROBLEM/")) << "no such block";
    EXPECT_TRUE(board.records.empty());
    progress->m_course = 2;
    EXPECT_FALSE(LoadProblemSet(board, *progress, 0, 0, dir / "PROBLEM/")) << "no file";
}

TEST(LoadProblemSet, SectionsOutsideTheCourseAreRejectedAndEmptySectionsSucceed) {
    const struct {
        int course, chapter, section;
        bool ok;
    } cases[] = {{0, 0, 0, true},   {0, 6, 0, false}, {0, 0, 8, false},
                 {0, -1, 0, false}, {1, 4, 0, false}, {1, 0, 4, false},
                 {2, 2, 0, false},  {2, 1, 4, true},  {3, 0, 0, false}};
    for (const auto& c : cases) {
        auto progress = std::make_unique<ProgressState>();
        progress->m_course = c.course;
        ProblemBoard board;
        board.records.resize(1);
        EXPECT_EQ(LoadProblemSet(board, *progress, c.chapter, c.section, "/nonexistent/"), c.ok)
            << c.course << " " << c.chapter << " " << c.section;
        EXPECT_TRUE(!c.ok || board.records.empty()) << "a section of no problems";
    }
}
