#pragma once

#include <string>

// The fixed texts shown with a problem, in Shift_JIS.
namespace problemtext {

inline constexpr int kCaptionCount = 5;
inline constexpr int kQuestionCount = 57;
// Room of one entry in the original tables (the texts are shorter).
inline constexpr int kCaptionBytes = 40;
inline constexpr int kQuestionBytes = 250;

// Caption of record byte 804; empty for 0 and for indices outside the table.
const char* Caption(int index);
// Question of record byte 805, with "\n" line breaks; empty outside the table.
const char* Question(int index);

// "○" and "×" as the type-2 choices show them.
inline constexpr const char* kCircle = "\x81\x9b";
inline constexpr const char* kCross = "\x81\x7e";

}  // namespace problemtext
