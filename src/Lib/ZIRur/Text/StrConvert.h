#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// String conversion hooks of the text objects (process-wide: TSingleton<CStrConvert>).
// They copy their input unchanged: text stays Shift_JIS until it is rasterised.
class CStrConvert {
public:
    // Copies `src` into `dst` (at most dstSize - 1 bytes plus NUL). The number of bytes copied.
    size_t Convert(char* dst, size_t dstSize, const char* src) const;
    // The same into a string.
    std::string Convert(std::string_view src) const { return std::string(src); }
};

// Shift_JIS (Windows code page 932, so "～", "－" and circled numbers map as on Windows) to
// UTF-16, at most `maxUnits` code units. A byte that does not start a valid character
// becomes U+30FB. The table is iconv's CP932, taken when the program is built.
std::u16string SjisToUtf16(std::string_view sjis, size_t maxUnits);
// The same text as UTF-8, for traces and logs read by people and scripts.
std::string SjisToUtf8(std::string_view sjis);
