#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "problem/TeacherComment.h"

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
    EXPECT_TRUE(teacher::KindComment(1, 0).empty());
}
