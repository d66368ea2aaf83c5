#pragma once

#include <cstdint>

// The named states of problem play. Their values are the numbers the record and the save
// data use, so they convert both ways without a table.

// A problem's type in memory: the low 4 bits of record byte 0. The problem file has its own
// codes; problemfile::TypeOfCode maps them here.
enum class ProblemType : uint8_t {
    None = 0,           // no record (a section without problems)
    ShownSequence = 1,  // numbered stones appear by themselves; nothing to answer
    YesNo = 2,          // choose ○ or ×
    PickLetter = 3,     // pick one of the lettered points
    MarkPointsA = 4,    // mark every answer point, marks of kind 8 (file code 3)
    MarkPoints = 5,     // mark every answer point, marks of kind 9 (file codes 4 and 8)
    PlaySequence = 6,   // play moves; the reply side answers along a branch
    Number = 7,         // choose a number 1..99
    Choice = 8,         // choose one of three texts
};

// Types answered by choosing with the selection buttons rather than on the board.
inline constexpr bool IsChoiceType(ProblemType t) {
    return t == ProblemType::YesNo || t == ProblemType::Number || t == ProblemType::Choice;
}
inline constexpr bool IsMarkType(ProblemType t) {
    return t == ProblemType::MarkPointsA || t == ProblemType::MarkPoints;
}

// The judgement of the current attempt.
enum class Verdict : int8_t {
    None = -1,      // nothing judged yet
    Undecided = 0,  // right so far, not complete
    Incorrect = 1,
    Correct = 2,
};
inline constexpr bool IsFinal(Verdict v) {
    return v == Verdict::Incorrect || v == Verdict::Correct;
}

// Where the attempt stands.
enum class PlayPhase : uint8_t {
    Answering = 0,
    Judged = 1,
    AnswerShown = 2,
};

// What the character's face follows.
enum class Mood : uint8_t {
    Normal = 1,
    AfterAgain = 2,
    Correct = 3,
    Incorrect = 4,
    AnswerShown = 5,
};

// Who moves on the board: record byte 803.
enum class Turn : uint8_t {
    Learner = 0,   // the learner plays black
    Reply = 1,     // the reply side (white) is to move
    NoPlay = 255,  // nothing is played on the board
};
