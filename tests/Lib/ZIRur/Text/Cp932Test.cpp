// The built-in Shift_JIS table against this system's iconv, substituting U+30FB for a bad byte
// and going on after it, over every string of one and two bytes and every lead byte followed by
// a second lead byte.
#include <gtest/gtest.h>

// Where there is no iconv (Windows) the table built elsewhere is what this checks.
#if __has_include(<iconv.h>)
#include <iconv.h>
#include <string>
#include "Lib/ZIRur/Text/StrConvert.h"

namespace {

std::u16string ThroughIconv(iconv_t cd, std::string in) {
    std::u16string out;
    char* src = in.data();
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char buffer[16];
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != size_t(-1);
        for (char* p = buffer; p + 1 < dst; p += 2)
            out.push_back(char16_t(uint8_t(p[0]) | uint8_t(p[1]) << 8));
        if (ok) break;
        out.push_back(u'\u30FB');
        ++src;
        --srcLeft;
    }
    return out;
}

TEST(Cp932Table, DecodesAsIconvDoes) {
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    int differing = 0;
    for (int first = 0; first < 256; ++first) {
        std::string in(1, char(first));
        EXPECT_EQ(SjisToUtf16(in, 8), ThroughIconv(cd, in)) << first;
        for (int second = 0; second < 256; ++second) {
            in = {char(first), char(second)};
            differing += SjisToUtf16(in, 8) != ThroughIconv(cd, in);
            in += "\x82";  // a lead byte cut off at the end
            differing += SjisToUtf16(in, 8) != ThroughIconv(cd, in);
        }
    }
    EXPECT_EQ(differing, 0);
    iconv_close(cd);
}

}  // namespace

#endif
