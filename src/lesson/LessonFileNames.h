#pragma once

#include <string>
#include <string_view>

#include "lesson/LessonTypes.h"

namespace lesson {

// Where the lesson files live, relative to the program's data root.
inline constexpr std::string_view kLessonDirectory = "DATA/DATA/EXPLAIN/";

// "<dir><course+1>-<chapter+1>-<section+1>.dat": the page data of a lesson.
std::string LessonDataFileName(std::string_view directory, const LessonId& id);
// The same name with ".txt": captions and bodies of the lesson.
std::string LessonTextFileName(std::string_view directory, const LessonId& id);

}  // namespace lesson
