#include "screens/ExplainText.h"

#include <algorithm>
#include <cstdint>

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

}  // namespace explain
