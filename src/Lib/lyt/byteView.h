#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "Lib/ZIRur/Util/ByteReader.h"

namespace LYRALib::lytmgr::detail {

// Random-access, bounds-checked view of a converted (little-endian) buffer. A read outside
// the view yields 0 and makes ok() false for good, so a reader may test ok() once at the end.
class ByteView {
public:
    ByteView(const uint8_t* data, size_t size) : mpData(data), mSize(size) {}

    bool ok() const { return mOk; }
    size_t size() const { return mSize; }
    const uint8_t* data() const { return mpData; }
    // True when [off, off + n) lies inside the view (no side effect).
    bool Has(size_t off, size_t n) const { return off <= mSize && n <= mSize - off; }
    // Like Has, but a miss makes ok() false.
    bool Need(size_t off, size_t n) { return Has(off, n) ? true : Fail(); }
    bool Fail() { return mOk = false; }

    uint8_t U8(size_t off) { return Need(off, 1) ? mpData[off] : 0; }
    uint16_t U16(size_t off) { return Need(off, 2) ? bytes::LoadU16LE(mpData + off) : 0; }
    uint32_t U32(size_t off) { return Need(off, 4) ? bytes::LoadU32LE(mpData + off) : 0; }
    int16_t S16(size_t off) { return int16_t(U16(off)); }
    float F32(size_t off) { return std::bit_cast<float>(U32(off)); }
    // Words left in file order (the conversion does not touch them).
    uint16_t U16BE(size_t off) { return Need(off, 2) ? bytes::LoadU16BE(mpData + off) : 0; }
    uint32_t U32BE(size_t off) { return Need(off, 4) ? bytes::LoadU32BE(mpData + off) : 0; }
    float F32BE(size_t off) { return std::bit_cast<float>(U32BE(off)); }
    // Pointer to n bytes at off, or null (and failed) when they are not all inside.
    const uint8_t* Ptr(size_t off, size_t n) { return Need(off, n) ? mpData + off : nullptr; }

    // Copies a fixed text field of `width` bytes into out[width + 1], stopping at a NUL.
    void Fixed(size_t off, size_t width, char* out) {
        out[0] = '\0';
        const uint8_t* p = Ptr(off, width);
        if (p == nullptr) return;
        size_t n = 0;
        while (n < width && p[n] != 0) ++n;
        std::memcpy(out, p, n);
        out[n] = '\0';
    }
    // NUL-terminated string at off; null (and failed) unless its terminator lies inside.
    const char* CStr(size_t off) {
        if (!Has(off, 1)) return Fail(), nullptr;
        const void* nul = std::memchr(mpData + off, 0, mSize - off);
        if (nul == nullptr) return Fail(), nullptr;
        return reinterpret_cast<const char*>(mpData + off);
    }

private:
    const uint8_t* mpData;
    size_t mSize;
    bool mOk = true;
};

}  // namespace LYRALib::lytmgr::detail
