#include "lesson/LessonExceptions.h"

#include <array>
#include <climits>

namespace lesson {
namespace {

struct QuirkRow {
    LessonId lesson;
    int firstPage;
    int lastPage;
    LessonQuirk quirk;
};

constexpr std::array kQuirks = {
    QuirkRow{{0, 0, 0}, 44, 45, LessonQuirk::BlinkCyclesSteps},
    QuirkRow{{0, 0, 1}, 9, 15, LessonQuirk::NigiriPicture},
    QuirkRow{{0, 0, 1}, 57, 57, LessonQuirk::LabelArrowAndWholePointBlink},
    QuirkRow{{0, 1, 0}, 17, 17, LessonQuirk::SideArrowsMeetOnTopRow},
    QuirkRow{{1, 3, 0}, INT_MIN, INT_MAX, LessonQuirk::MirrorRowsOnFullBoard},
};

}  // namespace

bool HasQuirk(const LessonId& id, int page, LessonQuirk quirk) {
    for (const QuirkRow& row : kQuirks) {
        if (row.quirk == quirk && row.lesson == id && page >= row.firstPage &&
            page <= row.lastPage) {
            return true;
        }
    }
    return false;
}

std::string NigiriPictureName(const LessonId& id, int page) {
    if (!HasQuirk(id, page, LessonQuirk::NigiriPicture)) return {};
    if (page <= 11) return "EX1_nigiri_1.tga";
    if (page == 12) return "EX1_nigiri_2.tga";
    if (page == 13) return "EX1_nigiri_3.tga";
    return "EX1_nigiri_4.tga";
}

}  // namespace lesson
