#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Bounds-checked access to untrusted bytes. Values are assembled from bytes, never cast from
// memory, so the host's byte order and alignment do not matter.
namespace bytes {

inline uint16_t LoadU16LE(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
inline uint16_t LoadU16BE(const uint8_t* p) {
    return uint16_t(p[0] << 8 | p[1]);
}
inline uint32_t LoadU32LE(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint32_t LoadU32BE(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
inline void StoreU16LE(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void StoreU16BE(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v >> 8);
    p[1] = uint8_t(v);
}
inline void StoreU32LE(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
inline void StoreU32BE(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (24 - 8 * i));
}

// Sequential reader. Any read past the end fails, leaves the output untouched and makes
// ok() false for good, so a parser may read a whole header and test ok() once.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> data) : m_data(data) {}
    Reader(const void* data, size_t size) : m_data(static_cast<const uint8_t*>(data), size) {}

    bool ok() const { return m_ok; }
    size_t pos() const { return m_pos; }
    size_t size() const { return m_data.size(); }
    size_t remaining() const { return m_data.size() - m_pos; }
    bool has(size_t n) const { return n <= remaining(); }

    bool Seek(size_t pos) {
        if (pos > m_data.size()) return Fail();
        m_pos = pos;
        return true;
    }
    bool Skip(size_t n) { return has(n) ? (m_pos += n, true) : Fail(); }

    bool U8(uint8_t& v) { return Take(1) ? (v = m_data[m_pos - 1], true) : false; }
    bool U16LE(uint16_t& v) { return Take(2) ? (v = LoadU16LE(Last(2)), true) : false; }
    bool U16BE(uint16_t& v) { return Take(2) ? (v = LoadU16BE(Last(2)), true) : false; }
    bool U32LE(uint32_t& v) { return Take(4) ? (v = LoadU32LE(Last(4)), true) : false; }
    bool U32BE(uint32_t& v) { return Take(4) ? (v = LoadU32BE(Last(4)), true) : false; }
    bool S16LE(int16_t& v) {
        uint16_t u;
        return U16LE(u) ? (v = int16_t(u), true) : false;
    }
    bool S16BE(int16_t& v) {
        uint16_t u;
        return U16BE(u) ? (v = int16_t(u), true) : false;
    }
    bool S32LE(int32_t& v) {
        uint32_t u;
        return U32LE(u) ? (v = int32_t(u), true) : false;
    }
    bool S32BE(int32_t& v) {
        uint32_t u;
        return U32BE(u) ? (v = int32_t(u), true) : false;
    }
    // A view of the next n bytes; empty (and failed) when fewer remain.
    std::span<const uint8_t> Bytes(size_t n) {
        if (!Take(n)) return {};
        return m_data.subspan(m_pos - n, n);
    }
    // A fixed-width, NUL-padded text field; the string stops at the first NUL.
    bool FixedString(size_t width, std::string& out) {
        auto field = Bytes(width);
        if (field.size() != width) return false;
        size_t n = 0;
        while (n < width && field[n] != 0) ++n;
        out.assign(reinterpret_cast<const char*>(field.data()), n);
        return true;
    }

private:
    bool Fail() { return m_ok = false; }
    bool Take(size_t n) {
        if (!m_ok || !has(n)) return Fail();
        m_pos += n;
        return true;
    }
    const uint8_t* Last(size_t n) const { return m_data.data() + m_pos - n; }

    std::span<const uint8_t> m_data;
    size_t m_pos = 0;
    bool m_ok = true;
};

}  // namespace bytes
