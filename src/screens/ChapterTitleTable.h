#pragma once

#include <cstdint>
#include <span>

// The curriculum as the menus show it: the sections of each course in list order, and the
// titles the lesson and problem screens put above a section.
namespace ChapterTitleTable {

inline constexpr int kCourses = 3;
// List entries per course (unused entries are 0).
inline constexpr int kListLength = 31;
inline constexpr int kTitleCount = 55;
// Title storage per row, NUL included.
inline constexpr int kTitleBytes = 256;

// The section code ((chapter + 1) × 10 + section + 1) at list position `index` of `course`;
// 0 past the course's list or outside the tables.
int32_t SectionCode(int course, int index);
// Number of sections in the list of `course`.
int ListLength(int course);
// The section codes of `course` in list order (empty outside the courses).
std::span<const int32_t> Sections(int course);

// The title row of (course, chapter, section); 0 for sections the curriculum does not have.
int TitleRow(int course, int chapter, int section);
// Shift_JIS title of a row: course name, label, LF, two spaces and the subject (a subject of
// two lines has a second LF and two spaces). Row 0's title outside 0..54.
const char* TitleText(int row);
// TitleText(TitleRow(course, chapter, section)).
const char* Title(int course, int chapter, int section);

}  // namespace ChapterTitleTable
