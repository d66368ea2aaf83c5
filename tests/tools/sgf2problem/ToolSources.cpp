// The tool's parser and compiler, built into this test program so that it tests exactly
// the code the tool runs (main.cpp stays out).
#include "../../../tools/sgf2problem/ProblemCompiler.cpp"
#include "../../../tools/sgf2problem/SgfParser.cpp"
