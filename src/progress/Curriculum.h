#pragma once

#include <cstdint>

// The fixed shape of the curriculum and its two count tables.
namespace curriculum {

inline constexpr int kCourses = 3;
inline constexpr int kChapters = 6;
inline constexpr int kSections = 8;
// Solved bytes per section: byte 0 = all solved, bytes 1..199 = problems 0..198.
inline constexpr int kSolvedBytesPerSection = 200;
// The largest problem index that has a solved byte.
inline constexpr int kMaxProblemIndex = kSolvedBytesPerSection - 2;

// Problem count of (course, chapter index, section index); 0 outside the tables.
int16_t ProblemCountAt(int course, int chapter, int section);
// Lesson count of (course, chapter index, section index); 0 outside the tables.
int16_t LessonCountAt(int course, int chapter, int section);

// Whether the indices name a cell of the [3][6][8] tables.
inline constexpr bool InRange(int course, int chapter, int section) {
    return course >= 0 && course < kCourses && chapter >= 0 && chapter < kChapters &&
           section >= 0 && section < kSections;
}

}  // namespace curriculum
