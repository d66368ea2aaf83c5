#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lytc {

// The compilers' output: big-endian numbers, tags, fixed-width names, alignment and
// back-patched counts, appended to one byte buffer.
class BinarySink {
public:
    size_t Pos() const { return mBytes.size(); }
    void U8(uint32_t v) { mBytes.push_back(uint8_t(v)); }
    void U16(uint32_t v) { U8(v >> 8), U8(v); }
    void U32(uint32_t v) { U16(v >> 16), U16(v); }
    void F32(float v) { U32(std::bit_cast<uint32_t>(v)); }
    void Tag(const char* t) {
        for (int i = 0; i < 4; ++i) U8(uint8_t(t[i]));
    }
    // `s` padded with zero bytes (or cut) to `width`.
    void Fixed(const std::string& s, size_t width) {
        for (size_t i = 0; i < width; ++i) U8(i < s.size() ? uint8_t(s[i]) : 0);
    }
    void CStr(const std::string& s) { Fixed(s, s.size() + 1); }
    void Align4() {
        while (Pos() % 4) U8(0);
    }
    void PatchU16(size_t at, uint32_t v) {
        mBytes[at] = uint8_t(v >> 8);
        mBytes[at + 1] = uint8_t(v);
    }
    void PatchU32(size_t at, uint32_t v) { PatchU16(at, v >> 16), PatchU16(at + 2, v); }

    std::vector<uint8_t> mBytes;
};

}  // namespace lytc
