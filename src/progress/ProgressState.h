#pragma once

#include <cstdint>
#include <mutex>

#include "progress/Curriculum.h"

// The six settings words kept in the save file, in file order.
struct AppSettings {
    // Word 0: background music on (1) or off (0).
    int32_t m_bgmOn = 1;
    // Word 1: sound effects on (1) or off (0).
    int32_t m_seOn = 1;
    // Word 2: carried through the file unchanged.
    int32_t m_flag2 = 1;
    // Word 3: the main menu's position.
    int32_t m_menuPosition = 0;
    // Word 4: the problem list's first row.
    int32_t m_listPage = 0;
    // Word 5: always stored as 0.
    int32_t m_word5 = 0;
};

// The learner's selection, the curriculum tables and the progress that the save file keeps.
// Every mutating operation takes SaveDataMutex(), so a save running on another thread sees
// each operation whole.
struct ProgressState {
    ProgressState();

    // Current course, 0..2.
    int32_t m_course = 0;
    // Problems per (course, chapter index, section index); filled at construction.
    int16_t m_problemCounts[curriculum::kCourses][curriculum::kChapters][curriculum::kSections];
    // Lessons per (course, chapter index, section index); filled at construction.
    int16_t m_lessonCounts[curriculum::kCourses][curriculum::kChapters][curriculum::kSections];
    // Current chapter and section, 0-based.
    int32_t m_chapter = 0;
    int32_t m_section = 0;
    // Current problem within the section, 0-based.
    int32_t m_problemIndex = 0;
    // Counts of the current section, copied from the tables when a section is opened.
    int32_t m_lessonCount = 0;
    int32_t m_problemCount = 0;
    // Per section: byte 0 = every problem solved, byte i + 1 = problem i solved.
    uint8_t m_solved[curriculum::kCourses][curriculum::kChapters][curriculum::kSections]
                    [curriculum::kSolvedBytesPerSection] = {};
    // Per section: its lesson was finished.
    uint8_t m_lessonsDone[curriculum::kCourses][curriculum::kChapters][curriculum::kSections] = {};

    // Problem count of (course, 1-based chapter, 1-based section); 0 for numbers out of range.
    int ProblemCount(int course, int chapterNo, int sectionNo) const;
    // Lesson count of (course, 1-based chapter, 1-based section); 0 for numbers out of range.
    int LessonCount(int course, int chapterNo, int sectionNo) const;

    // Records a solved problem (0-based indices) and sets the section's all-solved byte once
    // every problem of the section is solved. False for indices out of range; solving again
    // changes nothing.
    bool MarkProblemSolved(int course, int chapter, int section, int problemIndex);
    // Whether the problem (0-based indices) is recorded as solved; false out of range.
    bool IsProblemSolved(int course, int chapter, int section, int problemIndex) const;
    // Whether the section's all-solved byte is set; false out of range.
    bool IsSectionSolved(int course, int chapter, int section) const;
    // Records a finished lesson (0-based indices); false out of range.
    bool MarkLessonDone(int course, int chapter, int section);
    // Whether the section's lesson is recorded as finished; false out of range.
    bool IsLessonDone(int course, int chapter, int section) const;
    // Clears every solved byte of all courses; settings and selection stay.
    void ResetProblemProgress();
    // Clears every lesson-done byte; settings and selection stay.
    void ResetLessonProgress();
};

// Guards the settings and progress against a save made from another thread. Recursive, so
// an operation may call another.
std::recursive_mutex& SaveDataMutex();

// The process-wide settings and progress that every screen reads and writes.
AppSettings& TheSettings();
ProgressState& TheProgress();
