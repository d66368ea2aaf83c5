#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "problem/ProblemJudge.h"

namespace {

// A record with one setup stone, then a header whose aux is `answers.size()`, then answers.
ProblemRecord MarkRecord(std::initializer_list<StoneEntry> answers) {
    ProblemRecord r;
    r.slots[0] = {0, 3, 3, 0};
    r.slots[1] = {0, 0, 0, uint8_t(answers.size())};
    int i = 2;
    for (const StoneEntry& a : answers) r.slots[i++] = a;
    r.answerParam = uint8_t(answers.size());
    return r;
}

TEST(ProblemJudge, MarksAreUndecidedUntilAllFoundAndWrongAtTheFirstMiss) {
    const ProblemRecord r = MarkRecord({{9, 1, 1, 0}, {9, 2, 2, 0}});
    const StoneEntry first{9, 2, 2, 1}, second{9, 1, 1, 2}, miss{9, 5, 5, 2};
    EXPECT_EQ(judge::JudgeMarks(r, 1, {}), Verdict::Undecided);
    EXPECT_EQ(judge::JudgeMarks(r, 1, std::vector{first}), Verdict::Undecided);
    EXPECT_EQ(judge::JudgeMarks(r, 1, std::vector{first, second}), Verdict::Correct);
    EXPECT_EQ(judge::JudgeMarks(r, 1, std::vector{first, miss}), Verdict::Incorrect);
    // The kind is part of the point: a kind-8 mark is not a kind-9 answer.
    EXPECT_EQ(judge::JudgeMarks(r, 1, std::vector{StoneEntry{8, 1, 1, 1}}), Verdict::Incorrect);
}

TEST(ProblemJudge, BranchesAreCopiedWithinTheRecordAndSequencesFollowTheFirstThatFits) {
    ProblemRecord r;
    r.answerParam = 2;
    const StoneEntry slots[] = {
        {0, 0, 0, 2}, {0, 4, 4, 0}, {1, 5, 5, 0}, {0, 0, 0, 1}, {0, 6, 6, 0}};
    std::copy(std::begin(slots), std::end(slots), r.slots);
    const auto branches = judge::CopyBranches(r, 0, Turn::Learner);
    ASSERT_EQ(branches.size(), 2u);
    EXPECT_EQ(branches[1].front(), (StoneEntry{0, 6, 6, 0}));
    // A header running past the last slot ends the copy.
    ProblemRecord cut;
    cut.answerParam = 1;
    cut.slots[ProblemRecord::kSlots - 2] = {0, 0, 0, 5};
    EXPECT_TRUE(judge::CopyBranches(cut, ProblemRecord::kSlots - 2, Turn::Learner).empty());
    int matched = judge::kNoBranch;
    const StoneEntry first{0, 4, 4, 1}, reply{1, 5, 5, 2}, other{0, 6, 6, 1};
    EXPECT_EQ(judge::JudgeSequence(branches, std::vector{first}, matched), Verdict::Undecided);
    EXPECT_EQ(matched, 0);
    EXPECT_EQ(judge::JudgeSequence(branches, std::vector{first, reply}, matched), Verdict::Correct);
    EXPECT_EQ(judge::JudgeSequence(branches, std::vector{other}, matched), Verdict::Correct);
    EXPECT_EQ(matched, 1);
    matched = judge::kNoBranch;
    EXPECT_EQ(judge::JudgeSequence(branches, std::vector{reply}, matched), Verdict::Incorrect);
    EXPECT_EQ(matched, judge::kNoBranch) << "no branch is claimed for a wrong move";
}

TEST(ProblemJudge, ChoicesCompareWithTheAnswerAndUnjudgedTypesGiveNothing) {
    ProblemRecord r;
    r.answerParam = 1;
    int matched = judge::kNoBranch;
    EXPECT_EQ(judge::Judge(ProblemType::YesNo, r, 0, {}, judge::Answer{1, 0, {}}, matched),
              Verdict::Correct);
    EXPECT_EQ(judge::Judge(ProblemType::Number, r, 0, {}, judge::Answer{2, 0, {}}, matched),
              Verdict::Incorrect);
    // Type 8 judges the selection, not the chosen value.
    EXPECT_EQ(judge::Judge(ProblemType::Choice, r, 0, {}, judge::Answer{1, 0, {}}, matched),
              Verdict::Incorrect);
    EXPECT_FALSE(judge::Judge(ProblemType::ShownSequence, r, 0, {}, {}, matched).has_value());
}

}  // namespace
