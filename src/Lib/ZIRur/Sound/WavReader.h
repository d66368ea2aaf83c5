#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The fixed 16-byte part of a WAV file's "fmt " chunk.
struct WavFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint32_t bytesPerSecond = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
};

// Reads a RIFF "WAVE" file: the format, the extra format bytes of a non-PCM format and the
// "data" chunk. The whole file is held in memory and every read is bounds-checked, so a
// broken file can only make Open fail, never read outside the file.
class CWavReader {
public:
    // Format tag of plain PCM, the only format without extra format bytes.
    static constexpr uint16_t kFormatPcm = 1;

    // Loads and checks the file; false (and closed) when it is missing or malformed.
    bool Open(const std::string& path);
    // The same for a file already in memory.
    bool OpenMemory(std::vector<uint8_t> file);
    // Forgets the file; the reader is then empty.
    void Close();
    // True between a successful Open and Close.
    bool IsOpen() const { return m_open; }

    // The format read from "fmt " (valid while open).
    const WavFormat& Format() const { return m_format; }
    // The extra format bytes that follow a non-PCM format (empty for PCM).
    std::span<const uint8_t> ExtraFormat() const { return m_extra; }
    // The size that the "data" chunk states, which may be more than the file holds.
    uint32_t DataSize() const { return m_dataSize; }
    // The bytes of "data" that the file really holds (never more than DataSize()).
    size_t DataPresent() const { return m_dataPresent; }

    // Moves the read position back to the start of "data"; false when not open.
    bool ResetFile();
    // Copies up to `size` bytes of "data" from the read position; returns how many it gave,
    // fewer than asked when the chunk or the file ends.
    size_t Read(uint8_t* out, size_t size);

private:
    bool Parse();

    std::vector<uint8_t> m_file;
    bool m_open = false;
    WavFormat m_format;
    std::vector<uint8_t> m_extra;
    size_t m_dataOffset = 0;
    uint32_t m_dataSize = 0;
    size_t m_dataPresent = 0;
    size_t m_readPos = 0;
};
