#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "problem/ProblemJudge.h"
#include "problem/TeacherComment.h"

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

TEST(TeacherComment, ChoosesTheCommentOfTheAttempt) {
    using Explanation = explanations::ProblemExplanation;
    // A wrong first move written with the reply that shows the failure, a wrong second move
    // after the right first one, and one more wrong first move.
    const Explanation sequence{"hint",
                               {"right A", "right B"},
                               {{{{3, 3}, {4, 4}}, "cd then reply"},
                                {{{2, 2}, {5, 5}, {6, 6}}, "second move wrong"},
                                {{{7, 7}}, "gh"}}};
    const Explanation points{"", {"all marked"}, {{{{9, 9}}, "not a liberty"}}};
    const Explanation ox{"", {"CR"}, {{{}, "CW"}}};
    const Explanation texts{"", {"right text"}, {{{}, "second text"}, {{}, "third text"}}};
    const Explanation textsOneForBoth{"", texts.right, {texts.wrong[0]}};
    const Explanation none;
    const std::string captureWord = teacher::KindComment(6, 4);
    const std::string otherMoveWord = teacher::KindComment(6, 15);
    struct Case {
        const char* what;
        const Explanation& explanation;
        teacher::Attempt attempt;
        std::string says;
    };
    const Case cases[] = {
        {"right line by matched branch", sequence, {6, 4, true, 1, {{2, 2}}, 0}, "right B"},
        {"branch past the comments", sequence, {6, 4, true, 5, {{2, 2}}, 0}, "right A"},
        {"exact wrong line", sequence, {6, 4, false, 0, {{7, 7}}, 0}, "gh"},
        {"goes on with the reply", sequence, {6, 4, false, 0, {{3, 3}}, 0}, "cd then reply"},
        {"later wrong move",
         sequence,
         {6, 4, false, 0, {{2, 2}, {5, 5}, {6, 6}}, 0},
         "second move wrong"},
        {"first move only", sequence, {6, 4, false, 0, {{7, 7}, {1, 1}, {0, 0}}, 0}, "gh"},
        {"no try named", sequence, {6, 4, false, 0, {{8, 8}}, 0}, captureWord},
        {"no try, other question", sequence, {6, 15, false, 0, {{8, 8}}, 0}, otherMoveWord},
        {"wrong mark after right", points, {4, 6, false, 0, {{1, 1}, {9, 9}}, 0}, "not a liberty"},
        {"unnamed mark", points, {5, 6, false, 0, {{1, 1}, {2, 2}}, 0}, teacher::KindComment(4, 6)},
        {"letter", sequence, {3, 8, false, 0, {{7, 7}}, 0}, "gh"},
        {"ox right", ox, {2, 2, true, 0, {}, 0}, "CR"},
        {"ox wrong", ox, {2, 2, false, 0, {}, 0}, "CW"},
        {"number wrong without CW", none, {7, 31, false, 0, {}, 0}, teacher::KindComment(7, 31)},
        {"texts, third text", texts, {8, 0, false, 0, {}, 2}, "third text"},
        {"texts, second text", texts, {8, 0, false, 0, {}, 1}, "second text"},
        {"texts, one for both", textsOneForBoth, {8, 0, false, 0, {}, 2}, "second text"},
        {"right without comment", none, {6, 4, true, 0, {{1, 1}}, 0}, ""},
        {"shown sequences are never judged", sequence, {1, 4, false, 0, {}, 0}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(teacher::Says(c.explanation, c.attempt), c.says) << c.what;
    // The table: a sentence for every judged type, grouped by what the question asks.
    for (int type = 2; type <= 8; ++type) EXPECT_FALSE(teacher::KindComment(type, 0).empty());
    EXPECT_NE(captureWord, otherMoveWord);
    EXPECT_EQ(teacher::KindComment(6, 4), teacher::KindComment(6, 46));
    EXPECT_NE(teacher::KindComment(6, 5), teacher::KindComment(6, 28));
    // Living asks for two eyes, killing for the vital point, whichever question says so.
    const std::string eyes = teacher::KindComment(6, 28), kill = teacher::KindComment(6, 29);
    const std::string twoEyes = "\x96\xda\x82\xaa\x82\xd3\x82\xbd\x82\xc2";  // 目がふたつ
    const std::string vitalPoint = "\x8b\x7d\x8f\x8a";                       // 急所
    EXPECT_NE(eyes.find(twoEyes), std::string::npos);
    EXPECT_NE(kill.find(vitalPoint), std::string::npos);
    for (int q : {35, 53}) EXPECT_EQ(teacher::KindComment(6, q), eyes) << q;
    for (int q : {36, 37, 38}) EXPECT_EQ(teacher::KindComment(6, q), kill) << q;
    EXPECT_TRUE(teacher::KindComment(1, 0).empty());
}
