#pragma once

#include <string>

#include "lesson/LessonTypes.h"

// Behaviours that only particular lessons and pages have.
namespace lesson {

enum class LessonQuirk {
    // Automatic steps do nothing; each blink tick cycles the steps 1 -> 2 -> 3 -> 4 -> 1, and
    // entering the page starts typing only.
    BlinkCyclesSteps,
    // A nigiri picture is drawn after the board pictures.
    NigiriPicture,
    // Arrow value 2 draws a label, and hidden blink phases hide blinking points whole.
    LabelArrowAndWholePointBlink,
    // On row 0 the Left arrow at column 4 and the Right arrow at column 6 meet at column 5.
    SideArrowsMeetOnTopRow,
    // Entry rows are mirrored on the full board (y = 18 - y).
    MirrorRowsOnFullBoard,
};

// Whether the lesson has `quirk` on `page` (quirks that hold for a whole lesson ignore it).
bool HasQuirk(const LessonId& id, int page, LessonQuirk quirk);

// The nigiri picture of the page, or "" where it has none.
std::string NigiriPictureName(const LessonId& id, int page);

// Where the nigiri picture is drawn.
inline constexpr int kNigiriX = 395;
inline constexpr int kNigiriY = 336;

}  // namespace lesson
