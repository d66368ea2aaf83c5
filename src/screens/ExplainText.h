#pragma once

#include <string>
#include <string_view>

// Lesson texts as the screen's text boxes take them: page texts break their lines with CR LF,
// while a text box breaks at LF alone and would draw the CR as a glyph of its own.
namespace explain {

// The text with every CR removed.
std::string WithoutCarriageReturns(std::string_view text);

// What the body text box shows after `characters` typed characters (two bytes each).
struct TypedText {
    // The whole body without CRs (so that the lines keep their places while typing).
    std::string text;
    // Glyphs of `text` to reveal: the characters in the typed bytes, line breaks not counted.
    int glyphs = 0;
};
TypedText TypedBodyText(std::string_view body, int characters);

// Lines the text window holds: "txt_text" is 110 px high, and a 22 px line with its spacing
// takes about 25 px, so a fifth line would fall on the window's frame.
inline constexpr int kWindowBodyLines = 4;

// Lines a page body takes on screen, given as its line of the lesson text file ("::" for line
// breaks): wrapped as the loader wraps it, then split as the body's text box splits it.
int ShownBodyLines(std::string_view fileLine);

}  // namespace explain
