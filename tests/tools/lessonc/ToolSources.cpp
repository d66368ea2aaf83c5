// The compiler built into this test program, so that it tests exactly the code the tool runs
// (main.cpp stays out).
#include "../../../tools/lessonc/LessonCompiler.cpp"
