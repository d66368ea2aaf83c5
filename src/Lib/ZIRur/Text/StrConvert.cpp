#include "Lib/ZIRur/Text/StrConvert.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

size_t CStrConvert::Convert(char* dst, size_t dstSize, const char* src) const {
    if (dst == nullptr || dstSize == 0) return 0;
    const int n = std::snprintf(dst, dstSize, "%s", src != nullptr ? src : "");
    return n < 0 ? 0 : std::min(size_t(n), dstSize - 1);
}

namespace {

#include "Cp932Table.inc"

constexpr char16_t kSubstitute = 0x30FB;

}  // namespace

std::u16string SjisToUtf16(std::string_view sjis, size_t maxUnits) {
    std::u16string out;
    for (size_t i = 0; i < sjis.size() && out.size() < maxUnits; ++i) {
        const uint8_t byte = uint8_t(sjis[i]);
        uint16_t unit = kCp932Single[byte];
        const uint8_t row = kCp932LeadRow[byte];
        // A lead byte without a valid second byte is one bad byte; the next starts afresh.
        if (row != kCp932NoRow && i + 1 < sjis.size()) {
            unit = kCp932Pairs[row * 256 + uint8_t(sjis[i + 1])];
            if (unit != kCp932Invalid) ++i;
        }
        out.push_back(unit == kCp932Invalid ? kSubstitute : char16_t(unit));
    }
    return out;
}

std::string SjisToUtf8(std::string_view sjis) {
    const std::u16string units = SjisToUtf16(sjis, sjis.size());
    std::string out;
    out.reserve(units.size() * 3);
    // CP932 decodes to the Basic Multilingual Plane only: no surrogate pairs to join.
    for (const char16_t unit : units) {
        const uint32_t c = unit;
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}
