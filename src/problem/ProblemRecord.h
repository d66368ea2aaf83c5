#pragma once

#include <cstddef>
#include <cstdint>

#include "go/StoneEntry.h"
#include "problem/ProblemStates.h"

// The fixed-size in-memory form of one problem, 956 bytes. The whole record is zero before
// it is decoded.
struct ProblemRecord {
    // Number of entry slots.
    static constexpr int kSlots = 200;
    // Bytes of one choice slot (a zero-terminated Shift_JIS text).
    static constexpr int kChoiceBytes = 50;
    // Value of the full-board flag in byte 0.
    static constexpr uint8_t kFullBoardFlag = 16;

    // Byte 0: type 1..8 in the low 4 bits, plus 16 for a full-board problem.
    uint8_t typeByte = 0;
    // Byte 1: setup entries at the start of `slots`.
    uint8_t setupCount = 0;
    // Bytes 2-801: the setup entries, then the answer part.
    StoneEntry slots[kSlots] = {};
    // Byte 802: answer parameter, meaning depends on the type.
    uint8_t answerParam = 0;
    // Byte 803: 0 the learner plays black, 1 the reply side moves first, 255 no board play.
    uint8_t turn = 0;
    // Byte 804: caption table index.
    uint8_t caption = 0;
    // Byte 805: question table index.
    uint8_t question = 0;
    // Bytes 806-955: the three choice texts (type 8 only).
    char choices[3][kChoiceBytes] = {};

    // Type 1..8 (0 for a record never decoded).
    int Type() const { return typeByte & 0x0F; }
    ProblemType Kind() const { return ProblemType(Type()); }
    // Whether the problem is shown on the whole 19 x 19 board.
    bool IsFullBoard() const { return (typeByte & kFullBoardFlag) != 0; }
};

static_assert(sizeof(ProblemRecord) == 956);
static_assert(offsetof(ProblemRecord, slots) == 2);
static_assert(offsetof(ProblemRecord, answerParam) == 802);
static_assert(offsetof(ProblemRecord, turn) == 803);
static_assert(offsetof(ProblemRecord, caption) == 804);
static_assert(offsetof(ProblemRecord, question) == 805);
static_assert(offsetof(ProblemRecord, choices) == 806);
