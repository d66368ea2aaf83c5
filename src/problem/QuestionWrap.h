#pragma once

#include <string>

// Line breaking of a problem's question for the question window.
namespace questionwrap {

// Bytes of one line (18 full-width characters).
inline constexpr size_t kLineBytes = 36;

// Wraps Shift_JIS `text` at kLineBytes: each paragraph (split at line breaks) longer than a
// line is cut after kLineBytes bytes, a closing mark ("、", "。", "」", "？") that would
// start the next line is kept on the line before, and cutting goes on while more than a
// line remains. A cut never splits a double-byte character (it moves one byte earlier).
// Paragraphs are joined with one line break; empty lines are dropped.
std::string Wrap(const std::string& text);

}  // namespace questionwrap
