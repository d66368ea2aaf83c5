#pragma once

// Builds WAV files byte by byte from the RIFF layout, independent of the reader under test.

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace wavtest {

using Bytes = std::vector<uint8_t>;

// Little-endian field of `size` bytes.
inline void Put(Bytes& b, uint32_t v, int size) {
    for (int i = 0; i < size; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
inline void PutId(Bytes& b, const char* id) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(id[i]));
}

// A chunk: id, stated size (the body's size unless given), body, pad byte for odd sizes.
inline Bytes Chunk(const char* id, const Bytes& body, int64_t statedSize = -1) {
    Bytes b;
    PutId(b, id);
    Put(b, statedSize < 0 ? uint32_t(body.size()) : uint32_t(statedSize), 4);
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
    Put(b, statedSize < 0 ? uint32_t(content.size()) : uint32_t(statedSize), 4);
    b.insert(b.end(), content.begin(), content.end());
    return b;
}

// The 16 fixed bytes of "fmt " with consistent block align and bytes per second.
inline Bytes FmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    Bytes b;
    const uint16_t align = uint16_t(channels * bits / 8);
    Put(b, tag, 2), Put(b, channels, 2), Put(b, rate, 4), Put(b, rate * align, 4);
    Put(b, align, 2), Put(b, bits, 2);
    return b;
}

// The extensible format's extra bytes: size 22, valid bits, channel mask, PCM sub-format GUID.
inline Bytes ExtensiblePcmExtra(uint16_t bits, uint32_t mask) {
    Bytes b;
    Put(b, 22, 2), Put(b, bits, 2), Put(b, mask, 4);
    b.insert(b.end(), {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00,
                       0x38, 0x9B, 0x71});
    return b;
}

inline Bytes Pcm16(std::initializer_list<int16_t> samples) {
    Bytes b;
    for (int16_t s : samples) Put(b, uint16_t(s), 2);
    return b;
}

inline Bytes PcmWav(uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& data) {
    return Riff({Chunk("fmt ", FmtBody(1, channels, rate, bits)), Chunk("data", data)});
}

}  // namespace wavtest
