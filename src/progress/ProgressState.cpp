#include "progress/ProgressState.h"

#include <cstring>

using curriculum::InRange;
using curriculum::kChapters;
using curriculum::kCourses;
using curriculum::kSections;

ProgressState::ProgressState() {
    for (int k = 0; k < kCourses; ++k) {
        for (int n = 0; n < kChapters; ++n) {
            for (int s = 0; s < kSections; ++s) {
                m_problemCounts[k][n][s] = curriculum::ProblemCountAt(k, n, s);
                m_lessonCounts[k][n][s] = curriculum::LessonCountAt(k, n, s);
            }
        }
    }
}

int ProgressState::ProblemCount(int course, int chapterNo, int sectionNo) const {
    if (!InRange(course, chapterNo - 1, sectionNo - 1)) return 0;
    return m_problemCounts[course][chapterNo - 1][sectionNo - 1];
}

int ProgressState::LessonCount(int course, int chapterNo, int sectionNo) const {
    if (!InRange(course, chapterNo - 1, sectionNo - 1)) return 0;
    return m_lessonCounts[course][chapterNo - 1][sectionNo - 1];
}

bool ProgressState::MarkProblemSolved(int course, int chapter, int section, int problemIndex) {
    if (!InRange(course, chapter, section)) return false;
    if (problemIndex < 0 || problemIndex > curriculum::kMaxProblemIndex) return false;
    std::lock_guard lock(SaveDataMutex());
    uint8_t* bytes = m_solved[course][chapter][section];
    bytes[problemIndex + 1] = 1;
    if (bytes[0] != 0) return true;
    // The count comes from the table (clamped to the bytes there are), not from the current
    // selection, so that marking a problem of another section judges that section.
    int count = m_problemCounts[course][chapter][section];
    if (count < 1) return true;
    if (count > curriculum::kMaxProblemIndex + 1) count = curriculum::kMaxProblemIndex + 1;
    for (int i = 1; i <= count; ++i) {
        if (bytes[i] != 1) return true;
    }
    bytes[0] = 1;
    return true;
}

bool ProgressState::IsProblemSolved(int course, int chapter, int section, int problemIndex) const {
    if (!InRange(course, chapter, section)) return false;
    if (problemIndex < 0 || problemIndex > curriculum::kMaxProblemIndex) return false;
    return m_solved[course][chapter][section][problemIndex + 1] != 0;
}

bool ProgressState::IsSectionSolved(int course, int chapter, int section) const {
    return InRange(course, chapter, section) && m_solved[course][chapter][section][0] != 0;
}

bool ProgressState::MarkLessonDone(int course, int chapter, int section) {
    if (!InRange(course, chapter, section)) return false;
    std::lock_guard lock(SaveDataMutex());
    m_lessonsDone[course][chapter][section] = 1;
    return true;
}

bool ProgressState::IsLessonDone(int course, int chapter, int section) const {
    return InRange(course, chapter, section) && m_lessonsDone[course][chapter][section] != 0;
}

void ProgressState::ResetProblemProgress() {
    std::lock_guard lock(SaveDataMutex());
    std::memset(m_solved, 0, sizeof m_solved);
}

void ProgressState::ResetLessonProgress() {
    std::lock_guard lock(SaveDataMutex());
    std::memset(m_lessonsDone, 0, sizeof m_lessonsDone);
}

std::recursive_mutex& SaveDataMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

AppSettings& TheSettings() {
    static AppSettings settings;
    return settings;
}

ProgressState& TheProgress() {
    static ProgressState progress;
    return progress;
}
