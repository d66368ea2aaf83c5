#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "lesson/LessonTypes.h"

namespace lesson {

// One loaded page of a lesson, with the position after its current step.
struct LessonPage {
    // Pages in the data file (its first four bytes); 0 until a data file was read.
    int32_t pageCount = 0;
    // Index of the page to load or loaded.
    int32_t currentPage = 0;
    // Last applied step; may reach header.stepCount during automatic playback.
    int32_t currentStep = 0;
    // Entries of each step (at most kMaxEntriesPerStep), zero beyond header.stepCount.
    std::array<int32_t, kMaxSteps> entryCounts{};
    // Header of the loaded page; stepCount is within 0..kMaxSteps.
    LessonPageHeader header;
    // Entries of each step, zero where absent.
    std::array<std::array<StepEntry, kMaxEntriesPerStep>, kMaxSteps> entries{};
    // Caption line, line breaks as CR LF, at most 99 bytes.
    std::string caption;
    // Wrapped body text: what typing reveals.
    std::string body;
    // Byte length of body.
    int32_t bodyLength = 0;
    // Position after currentStep.
    LessonBoard board;
    // Board size of the page whose board is shown.
    int32_t boardSize = 0;
    // 1 when some step places exactly one new stone.
    int32_t stoneMovePage = 0;

    // The entries of step `step`; empty for a step outside 0..kMaxSteps - 1.
    std::span<const StepEntry> StepEntries(int step) const;
    // Clears entry counts, header and entries.
    void ClearSteps();
};

// What a page load got to.
enum class PageLoadResult {
    // Both files were read (a short data file still counts: its missing parts stay zero).
    Loaded,
    // No data file: only the steps were cleared.
    NoDataFile,
    // No text file: steps loaded, but board, board size, caption and body keep the old page.
    NoTextFile,
};

// Loads page page.currentPage of lesson `id` from "<directory>N-N-N.dat" and ".txt": reads
// the data file from its start up to that page, then the page's caption and body, then
// sets the first step (the last one on show-final pages) and rebuilds the board.
PageLoadResult LoadLessonPage(LessonPage& page, const LessonId& id, std::string_view directory);

// Largest text file read; bytes beyond it are not looked at.
inline constexpr size_t kMaxTextFileBytes = size_t(8) << 20;

}  // namespace lesson
