#include "screens/ExplainText.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "Lib/ZIRur/Text/Text.h"
#include "lesson/LessonText.h"

namespace explain {

std::string WithoutCarriageReturns(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

TypedText TypedBodyText(std::string_view body, int characters) {
    TypedText typed;
    typed.text = WithoutCarriageReturns(body);
    const size_t typedBytes = characters > 0 ? std::min(body.size(), size_t(characters) * 2) : 0;
    for (size_t i = 0; i < typedBytes;) {
        const uint8_t byte = uint8_t(body[i]);
        if (byte == '\r' || byte == '\n') {
            ++i;
            continue;
        }
        ++typed.glyphs;
        i += lesson::IsShiftJisLeadByte(byte) && i + 1 < body.size() ? 2 : 1;
    }
    return typed;
}

int ShownBodyLines(std::string_view fileLine) {
    std::string body(fileLine);
    lesson::ReplaceLineBreakMarks(body);
    if (body.empty()) return 0;
    const std::string shown = WithoutCarriageReturns(lesson::WrapBody(body));
    std::vector<std::string> lines;
    return CText::SplitString(shown.c_str(), lines, CText::kDefaultMaxBytesPerLine,
                              CText::kDefaultMaxLines);
}

}  // namespace explain
