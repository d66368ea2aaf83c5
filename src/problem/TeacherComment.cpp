#include "problem/TeacherComment.h"

#include <algorithm>
#include <initializer_list>

namespace teacher {
namespace {

using explanations::LineMove;
using explanations::ProblemExplanation;
using explanations::WrongTry;

// The program's own words on a wrong answer, Shift_JIS; the UTF-8 text of each entry is in
// the comment above it. One plain sentence of what failed and one of where to look.
enum class Word {
    Capture,
    Save,
    Live,
    Kill,
    OtherMove,
    OxChoice,
    Letter,
    Points,
    Number,
    Texts,
    Count,
};
const char* const kWords[int(Word::Count)] = {
    // その手では取れません。白の活路がいくつあるか数えてみましょう。
    "\x82\xbb\x82\xcc\x8e\xe8\x82\xc5\x82\xcd\x8e\xe6\x82\xea\x82\xdc\x82\xb9\x82\xf1"
    "\x81\x42\x94\x92\x82\xcc\x8a\x88\x98\x48\x82\xaa\x82\xa2\x82\xad\x82\xc2\x82\xa0"
    "\x82\xe9\x82\xa9\x90\x94\x82\xa6\x82\xc4\x82\xdd\x82\xdc\x82\xb5\x82\xe5\x82\xa4"
    "\x81\x42",
    // その手では助かりません。黒の活路がふえるところをさがしましょう。
    "\x82\xbb\x82\xcc\x8e\xe8\x82\xc5\x82\xcd\x8f\x95\x82\xa9\x82\xe8\x82\xdc\x82\xb9"
    "\x82\xf1\x81\x42\x8d\x95\x82\xcc\x8a\x88\x98\x48\x82\xaa\x82\xd3\x82\xa6\x82\xe9"
    "\x82\xc6\x82\xb1\x82\xeb\x82\xf0\x82\xb3\x82\xaa\x82\xb5\x82\xdc\x82\xb5\x82\xe5"
    "\x82\xa4\x81\x42",
    // その手では目がふたつできません。目になるところをよく見ましょう。
    "\x82\xbb\x82\xcc\x8e\xe8\x82\xc5\x82\xcd\x96\xda\x82\xaa\x82\xd3\x82\xbd\x82\xc2"
    "\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x81\x42\x96\xda\x82\xc9\x82\xc8\x82\xe9"
    "\x82\xc6\x82\xb1\x82\xeb\x82\xf0\x82\xe6\x82\xad\x8c\xa9\x82\xdc\x82\xb5\x82\xe5"
    "\x82\xa4\x81\x42",
    // その手では白に二眼ができてしまいます。急所をさがしましょう。
    "\x82\xbb\x82\xcc\x8e\xe8\x82\xc5\x82\xcd\x94\x92\x82\xc9\x93\xf1\x8a\xe1\x82\xaa"
    "\x82\xc5\x82\xab\x82\xc4\x82\xb5\x82\xdc\x82\xa2\x82\xdc\x82\xb7\x81\x42\x8b\x7d"
    "\x8f\x8a\x82\xf0\x82\xb3\x82\xaa\x82\xb5\x82\xdc\x82\xb5\x82\xe5\x82\xa4\x81\x42",
    // その手ではうまくいきません。盤面をもういちどよく見てみましょう。
    "\x82\xbb\x82\xcc\x8e\xe8\x82\xc5\x82\xcd\x82\xa4\x82\xdc\x82\xad\x82\xa2\x82\xab"
    "\x82\xdc\x82\xb9\x82\xf1\x81\x42\x94\xd5\x96\xca\x82\xf0\x82\xe0\x82\xa4\x82\xa2"
    "\x82\xbf\x82\xc7\x82\xe6\x82\xad\x8c\xa9\x82\xc4\x82\xdd\x82\xdc\x82\xb5\x82\xe5"
    "\x82\xa4\x81\x42",
    // 答えがちがいます。石の活路をひとつずつ数えてみましょう。
    "\x93\x9a\x82\xa6\x82\xaa\x82\xbf\x82\xaa\x82\xa2\x82\xdc\x82\xb7\x81\x42\x90\xce"
    "\x82\xcc\x8a\x88\x98\x48\x82\xf0\x82\xd0\x82\xc6\x82\xc2\x82\xb8\x82\xc2\x90\x94"
    "\x82\xa6\x82\xc4\x82\xdd\x82\xdc\x82\xb5\x82\xe5\x82\xa4\x81\x42",
    // そちらではありません。打ったあとの形を思いうかべてみましょう。
    "\x82\xbb\x82\xbf\x82\xe7\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1"
    "\x81\x42\x91\xc5\x82\xc1\x82\xbd\x82\xa0\x82\xc6\x82\xcc\x8c\x60\x82\xf0\x8e\x76"
    "\x82\xa2\x82\xa4\x82\xa9\x82\xd7\x82\xc4\x82\xdd\x82\xdc\x82\xb5\x82\xe5\x82\xa4"
    "\x81\x42",
    // そこはちがいます。石のとなりの点をひとつずつ確かめましょう。
    "\x82\xbb\x82\xb1\x82\xcd\x82\xbf\x82\xaa\x82\xa2\x82\xdc\x82\xb7\x81\x42\x90\xce"
    "\x82\xcc\x82\xc6\x82\xc8\x82\xe8\x82\xcc\x93\x5f\x82\xf0\x82\xd0\x82\xc6\x82\xc2"
    "\x82\xb8\x82\xc2\x8a\x6d\x82\xa9\x82\xdf\x82\xdc\x82\xb5\x82\xe5\x82\xa4\x81\x42",
    // 数がちがいます。もういちどひとつずつ数えてみましょう。
    "\x90\x94\x82\xaa\x82\xbf\x82\xaa\x82\xa2\x82\xdc\x82\xb7\x81\x42\x82\xe0\x82\xa4"
    "\x82\xa2\x82\xbf\x82\xc7\x82\xd0\x82\xc6\x82\xc2\x82\xb8\x82\xc2\x90\x94\x82\xa6"
    "\x82\xc4\x82\xdd\x82\xdc\x82\xb5\x82\xe5\x82\xa4\x81\x42",
    // 答えがちがいます。盤面の形をもういちどよく見てみましょう。
    "\x93\x9a\x82\xa6\x82\xaa\x82\xbf\x82\xaa\x82\xa2\x82\xdc\x82\xb7\x81\x42\x94\xd5"
    "\x96\xca\x82\xcc\x8c\x60\x82\xf0\x82\xe0\x82\xa4\x82\xa2\x82\xbf\x82\xc7\x82\xe6"
    "\x82\xad\x8c\xa9\x82\xc4\x82\xdd\x82\xdc\x82\xb5\x82\xe5\x82\xa4\x81\x42",
};

bool OneOf(int question, std::initializer_list<int> questions) {
    return std::find(questions.begin(), questions.end(), question) != questions.end();
}

// Moves on the board: which of the question table's tasks the move was meant to do.
Word MoveWord(int question) {
    // Taking white stones, ataris, double ataris and races: the white liberties decide.
    if (OneOf(question, {4, 9, 11, 12, 21, 23, 24, 25, 26, 40, 42, 43, 46, 47, 48, 51, 52, 54}))
        return Word::Capture;
    // Saving, connecting or keeping black stones alive in seki.
    if (OneOf(question, {5, 17, 18, 33, 44, 49})) return Word::Save;
    if (OneOf(question, {28, 35, 53})) return Word::Live;
    if (OneOf(question, {29, 36, 37, 38})) return Word::Kill;
    return Word::OtherMove;
}

bool SameMoves(const std::vector<LineMove>& a, const std::vector<LineMove>& b, size_t count) {
    if (a.size() < count || b.size() < count) return false;
    for (size_t i = 0; i < count; ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y) return false;
    return true;
}

// The wrong try the learner made: the one whose moves are the learner's (a try may go on with
// the reply that shows the failure), else the first one that starts with the move that
// decided the verdict (the first move; for marks the wrong mark, as their order is free).
const WrongTry* MatchingTry(const ProblemExplanation& explanation, const Attempt& attempt) {
    const std::vector<LineMove>& played = attempt.moves;
    if (played.empty()) return nullptr;
    for (const WrongTry& wrong : explanation.wrong)
        if (SameMoves(wrong.moves, played, played.size())) return &wrong;
    const bool marks = attempt.type == 4 || attempt.type == 5;
    const std::vector<LineMove> decisive{marks ? played.back() : played.front()};
    for (const WrongTry& wrong : explanation.wrong)
        if (SameMoves(wrong.moves, decisive, 1)) return &wrong;
    return nullptr;
}

// The wrong choice's comment: ○/× and numbers have one; texts one per wrong text in the
// source's order, or one for both.
const WrongTry* ChoiceTry(const ProblemExplanation& explanation, const Attempt& attempt) {
    const std::vector<WrongTry>& wrong = explanation.wrong;
    if (wrong.empty()) return nullptr;
    if (attempt.type == 8 && wrong.size() > 1) {
        const int index = attempt.chosenText - 1;
        return index >= 0 && size_t(index) < wrong.size() ? &wrong[size_t(index)] : nullptr;
    }
    return &wrong.front();
}

}  // namespace

std::string KindComment(int type, int question) {
    switch (type) {
        case 2:
            return kWords[int(Word::OxChoice)];
        case 3:
            return kWords[int(Word::Letter)];
        case 4:
        case 5:
            return kWords[int(Word::Points)];
        case 6:
            return kWords[int(MoveWord(question))];
        case 7:
            return kWords[int(Word::Number)];
        case 8:
            return kWords[int(Word::Texts)];
        default:
            return {};
    }
}

std::string Says(const ProblemExplanation& explanation, const Attempt& attempt) {
    if (attempt.type < 2 || attempt.type > 8) return {};
    if (attempt.correct) {
        const std::vector<std::string>& right = explanation.right;
        if (right.empty()) return {};
        const size_t line = attempt.rightLine >= 0 && size_t(attempt.rightLine) < right.size()
                                ? size_t(attempt.rightLine)
                                : 0;
        return right[line];
    }
    const bool choice = attempt.type == 2 || attempt.type == 7 || attempt.type == 8;
    const WrongTry* wrong =
        choice ? ChoiceTry(explanation, attempt) : MatchingTry(explanation, attempt);
    if (wrong != nullptr && !wrong->comment.empty()) return wrong->comment;
    return KindComment(attempt.type, attempt.question);
}

}  // namespace teacher
