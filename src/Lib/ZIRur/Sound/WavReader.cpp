#include "Lib/ZIRur/Sound/WavReader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "Lib/ZIRur/Util/ByteReader.h"
#include "platform/Platform.h"

namespace {

// Larger files are refused before reading; a sound buffer can never be this big anyway.
constexpr uintmax_t kMaxFileBytes = uintmax_t(512) << 20;

bool IsId(std::span<const uint8_t> id, const char* name) {
    return id.size() == 4 && std::memcmp(id.data(), name, 4) == 0;
}

// A chunk found in the file: where its contents start and the size its header states.
struct ChunkSpan {
    uint64_t offset = 0;
    uint32_t size = 0;
};

// Walks the chunks between `from` and `end` (word-aligned, as RIFF pads odd sizes) for the
// first one called `name`. Only the 8-byte header has to lie inside `end`.
bool FindChunk(std::span<const uint8_t> file, uint64_t from, uint64_t end, const char* name,
               ChunkSpan& found) {
    uint64_t pos = from;
    while (pos + 8 <= end) {
        bytes::Reader r(file);
        r.Seek(size_t(pos));
        auto id = r.Bytes(4);
        uint32_t size = 0;
        if (!r.U32LE(size)) return false;
        if (IsId(id, name)) {
            found = {pos + 8, size};
            return true;
        }
        pos += 8 + uint64_t(size) + (size & 1u);
    }
    return false;
}

}  // namespace

bool CWavReader::Open(const std::string& path) {
    Close();
    std::error_code error;
    uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxFileBytes) return false;
    std::ifstream in(platform::NativePath(path), std::ios::binary);
    if (!in) return false;
    std::vector<uint8_t> file(size_t(size), 0);
    if (!in.read(reinterpret_cast<char*>(file.data()), std::streamsize(file.size()))) {
        return false;
    }
    return OpenMemory(std::move(file));
}

bool CWavReader::OpenMemory(std::vector<uint8_t> file) {
    Close();
    m_file = std::move(file);
    if (!Parse()) {
        Close();
        return false;
    }
    m_open = true;
    return true;
}

void CWavReader::Close() {
    m_file.clear();
    m_file.shrink_to_fit();
    m_open = false;
    m_format = WavFormat{};
    m_extra.clear();
    m_dataOffset = 0;
    m_dataSize = 0;
    m_dataPresent = 0;
    m_readPos = 0;
}

bool CWavReader::Parse() {
    std::span<const uint8_t> file(m_file);
    bytes::Reader riff(file);
    auto riffId = riff.Bytes(4);
    uint32_t riffSize = 0;
    riff.U32LE(riffSize);
    auto formType = riff.Bytes(4);
    if (!riff.ok() || !IsId(riffId, "RIFF") || !IsId(formType, "WAVE")) return false;
    // A RIFF that claims more than the file holds is a truncated file; its chunks are still
    // searched up to the end of the file so that a short "data" can be played.
    const uint64_t riffEnd = std::min<uint64_t>(8 + uint64_t(riffSize), file.size());

    ChunkSpan fmt;
    if (!FindChunk(file, 12, riffEnd, "fmt ", fmt)) return false;
    if (fmt.size < 16 || fmt.offset + fmt.size > riffEnd) return false;
    bytes::Reader r(file.subspan(size_t(fmt.offset), fmt.size));
    r.U16LE(m_format.formatTag);
    r.U16LE(m_format.channels);
    r.U32LE(m_format.sampleRate);
    r.U32LE(m_format.bytesPerSecond);
    r.U16LE(m_format.blockAlign);
    r.U16LE(m_format.bitsPerSample);
    if (!r.ok()) return false;
    if (m_format.formatTag != kFormatPcm && r.remaining() >= 2) {
        // A non-PCM format carries a count of extra bytes, which must lie inside the chunk.
        uint16_t extraSize = 0;
        r.U16LE(extraSize);
        auto extra = r.Bytes(extraSize);
        if (!r.ok()) return false;
        m_extra.assign(extra.begin(), extra.end());
    }

    ChunkSpan data;
    if (!FindChunk(file, 12, riffEnd, "data", data)) return false;
    m_dataOffset = size_t(data.offset);
    m_dataSize = data.size;
    m_dataPresent = size_t(std::min<uint64_t>(data.size, file.size() - data.offset));
    m_readPos = 0;
    return true;
}

bool CWavReader::ResetFile() {
    if (!m_open) return false;
    m_readPos = 0;
    return true;
}

size_t CWavReader::Read(uint8_t* out, size_t size) {
    if (!m_open) return 0;
    size_t count = std::min(size, m_dataPresent - m_readPos);
    if (count > 0) std::memcpy(out, m_file.data() + m_dataOffset + m_readPos, count);
    m_readPos += count;
    return count;
}
