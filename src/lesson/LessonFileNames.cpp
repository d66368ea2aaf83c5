#include "lesson/LessonFileNames.h"

namespace lesson {
namespace {

std::string Name(std::string_view directory, const LessonId& id, const char* extension) {
    std::string name(directory);
    name += std::to_string(id.course + 1) + "-" + std::to_string(id.chapter + 1) + "-" +
            std::to_string(id.section + 1) + extension;
    return name;
}

}  // namespace

std::string LessonDataFileName(std::string_view directory, const LessonId& id) {
    return Name(directory, id, ".dat");
}

std::string LessonTextFileName(std::string_view directory, const LessonId& id) {
    return Name(directory, id, ".txt");
}

}  // namespace lesson
