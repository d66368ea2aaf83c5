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

}  // namespace explain
