#pragma once

// Builds WAV files byte by byte from the RIFF layout, independent of the reader under test.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace wavtest {

using Bytes = std::vector<uint8_t>;

inline void PutId(Bytes& b, const char* id) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(id[i]));
}
inline void PutU16(Bytes& b, uint16_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
inline void PutU32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
inline void PutS16(Bytes& b, int16_t v) {
    PutU16(b, uint16_t(v));
}

// A chunk: id, stated size (the body's size unless given), body, pad byte for odd sizes.
inline Bytes Chunk(const char* id, const Bytes& body, int64_t statedSize = -1) {
    Bytes b;
    PutId(b, id);
    PutU32(b, statedSize < 0 ? uint32_t(body.size()) : uint32_t(statedSize));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() % 2 == 1) b.push_back(0);
    return b;
}

// "RIFF" <size> "WAVE" and the chunks; the size counts "WAVE" and the chunks unless given.
inline Bytes Riff(std::initializer_list<Bytes> chunks, int64_t statedSize = -1) {
    Bytes content;
    PutId(content, "WAVE");
    for (const Bytes& c : chunks) content.insert(content.end(), c.begin(), c.end());
    Bytes b;
    PutId(b, "RIFF");
    PutU32(b, statedSize < 0 ? uint32_t(content.size()) : uint32_t(statedSize));
    b.insert(b.end(), content.begin(), content.end());
    return b;
}

// The 16 fixed bytes of "fmt " with consistent block align and bytes per second.
inline Bytes FmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    Bytes b;
    uint16_t align = uint16_t(channels * bits / 8);
    PutU16(b, tag);
    PutU16(b, channels);
    PutU32(b, rate);
    PutU32(b, rate * align);
    PutU16(b, align);
    PutU16(b, bits);
    return b;
}

inline Bytes Pcm16(std::initializer_list<int16_t> samples) {
    Bytes b;
    for (int16_t s : samples) PutS16(b, s);
    return b;
}

// A complete PCM file.
inline Bytes PcmWav(uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& data) {
    return Riff({Chunk("fmt ", FmtBody(1, channels, rate, bits)), Chunk("data", data)});
}

}  // namespace wavtest
