#include "progress/Curriculum.h"

namespace curriculum {
namespace {

using Table = int16_t[kCourses][kChapters][kSections];

constexpr Table kProblemCounts = {
    {
        {0, 0, 28, 28, 28, 28, 36, 10},
        {52, 34, 36, 28, 36, 0, 0, 0},
        {72, 35, 48, 40, 0, 0, 0, 0},
        {24, 20, 36, 22, 37, 0, 0, 0},
        {18, 40, 86, 0, 0, 0, 0, 0},
        {40, 40, 112, 80, 124, 0, 0, 0},
    },
    {
        {42, 44, 104, 100, 0, 0, 0, 0},
        {25, 96, 112, 0, 0, 0, 0, 0},
        {44, 0, 12, 196, 0, 0, 0, 0},
        {56, 104, 100, 0, 0, 0, 0, 0},
        {},
        {},
    },
    {
        {70, 68, 72, 44, 0, 0, 0, 0},
        {88, 32, 64, 104, 0, 0, 0, 0},
        {},
        {},
        {},
        {},
    },
};

constexpr Table kLessonCounts = {
    {
        {2, 3, 3, 3, 3, 3, 3, 3},
        {3, 3, 3, 3, 3, 0, 0, 0},
        {3, 3, 3, 3, 0, 0, 0, 0},
        {3, 3, 3, 2, 3, 0, 0, 0},
        {3, 3, 3, 3, 0, 0, 0, 0},
        {},
    },
    {
        {5, 3, 3, 3, 0, 0, 0, 0},
        {9, 3, 3, 0, 0, 0, 0, 0},
        {20, 3, 8, 3, 0, 0, 0, 0},
        {12, 0, 0, 0, 0, 0, 0, 0},
        {},
        {},
    },
    {
        {12, 0, 0, 0, 0, 0, 0, 0},
        {},
        {},
        {},
        {},
        {},
    },
};

}  // namespace

int16_t ProblemCountAt(int course, int chapter, int section) {
    return InRange(course, chapter, section) ? kProblemCounts[course][chapter][section] : 0;
}

int16_t LessonCountAt(int course, int chapter, int section) {
    return InRange(course, chapter, section) ? kLessonCounts[course][chapter][section] : 0;
}

}  // namespace curriculum
