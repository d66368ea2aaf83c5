#include "Lib/ZIRur/Text/StrConvert.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

size_t CStrConvert::Convert(char* dst, size_t dstSize, const char* src) const {
    if (dst == nullptr || dstSize == 0) return 0;
    const int n = std::snprintf(dst, dstSize, "%s", src != nullptr ? src : "");
    return n < 0 ? 0 : std::min(size_t(n), dstSize - 1);
}

namespace {

constexpr char16_t kSubstitute = 0x30FB;

// One converter per thread: a conversion descriptor carries shift state and is not safe to
// share between threads.
class Cp932Decoder {
public:
    Cp932Decoder() : m_cd(iconv_open("UTF-16LE", "CP932")) {}
    ~Cp932Decoder() {
        if (m_cd != Invalid()) iconv_close(m_cd);
    }
    Cp932Decoder(const Cp932Decoder&) = delete;
    Cp932Decoder& operator=(const Cp932Decoder&) = delete;

    std::u16string Decode(std::string_view in, size_t maxUnits) {
        std::u16string out;
        if (m_cd == Invalid()) {
            // Without the converter only ASCII can be trusted.
            for (char c : in)
                if (out.size() < maxUnits)
                    out.push_back(uint8_t(c) < 0x80 ? char16_t(c) : kSubstitute);
            return out;
        }
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        while (srcLeft > 0 && out.size() < maxUnits) {
            char buffer[2 * 64];
            char* dst = buffer;
            // Convert a few characters at a time so the unit limit is honoured cheaply.
            size_t dstLeft = std::min(sizeof buffer, (maxUnits - out.size()) * 2);
            const size_t result = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            const int error = errno;
            for (char* p = buffer; p + 1 < dst; p += 2)
                out.push_back(char16_t(uint8_t(p[0]) | uint8_t(p[1]) << 8));
            if (result != size_t(-1)) continue;
            if (error == E2BIG) {
                if (dst == buffer) break;  // no room for even one more character
                continue;
            }
            // An invalid or cut-off sequence: substitute and go on after one byte.
            if (out.size() < maxUnits) out.push_back(kSubstitute);
            ++src;
            --srcLeft;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        if (out.size() > maxUnits) out.resize(maxUnits);
        return out;
    }

private:
    static iconv_t Invalid() { return reinterpret_cast<iconv_t>(-1); }
    iconv_t m_cd;
};

}  // namespace

std::u16string SjisToUtf16(std::string_view sjis, size_t maxUnits) {
    thread_local Cp932Decoder decoder;
    return decoder.Decode(sjis, maxUnits);
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
