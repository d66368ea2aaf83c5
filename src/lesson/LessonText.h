#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Text preparation for lesson pages: finding a page's two lines in the text file, turning
// "::" into line breaks and wrapping the body to the text window's width.
namespace lesson {

// Bytes per wrapped body line: 18 double-byte characters.
inline constexpr size_t kBodyLineBytes = 36;

struct PageText {
    // Line 2P of the file, at most 99 bytes, "::" already turned into CR LF.
    std::string caption;
    // Line 2P + 1, at most 249 bytes, "::" turned into CR LF, not yet wrapped.
    std::string body;
};

// Finds page `page`'s caption and body in a whole text file. A line that is not ended by
// CR LF is not found and stays empty, as does a line of fewer than two bytes. Lines longer
// than the buffers are cut at a character boundary.
PageText ExtractPageText(std::span<const uint8_t> text, int page);

// Replaces each "::" by CR LF, scanning left to right without overlap.
void ReplaceLineBreakMarks(std::string& text);

// Wraps a body at kBodyLineBytes, letting "、", "。" or "」" close a line (38 bytes then);
// an empty line between paragraphs collapses.
std::string WrapBody(std::string_view body);

// Typing: one double-byte character every kTypingPeriodTicks ticks; while the character
// talks, its mouth moves for 8 characters and rests for the next 8.
inline constexpr int32_t kTypingPeriodTicks = 3;
constexpr int32_t MouthPhaseAt(int32_t typedBytes) {
    return (typedBytes / 16) % 2;
}

// Whether `byte` opens a double-byte Shift_JIS character.
constexpr bool IsShiftJisLeadByte(uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace lesson
