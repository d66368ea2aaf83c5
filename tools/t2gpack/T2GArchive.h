#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace t2g {

// Layout constants of the archive format (all integers little-endian).
inline constexpr char kMagic[4] = {'T', '2', 'G', 'F'};
inline constexpr size_t kShortHeaderSize = 16;
inline constexpr size_t kLongHeaderSize = 64;
inline constexpr size_t kShortNameWidth = 24;
inline constexpr size_t kLongNameWidth = 52;
// The program walks entries with a signed 16-bit counter.
inline constexpr size_t kMaxEntries = 32767;

// One file to pack, with where it came from for diagnostics.
struct PackEntry {
    std::string name;
    std::vector<uint8_t> data;
    // Source of the entry (manifest or path) and its line there (0 if none).
    std::string originFile;
    int originLine = 0;
};

// Builds an archive. The short form is used unless `forceLong` is set or a name needs more
// than 23 characters. Stored sizes are the data sizes rounded up to a multiple of 4, padded
// with zero bytes; reserved words are 0. Throws tools::ToolError (at the entry's origin) for an
// empty list, a name that is empty, not printable ASCII, longer than 51 characters or equal to
// an earlier one without regard to case, or too many entries.
std::vector<uint8_t> BuildArchive(const std::vector<PackEntry>& entries, bool forceLong = false);

// One entry as found in an archive.
struct ArchiveEntry {
    std::string name;
    uint32_t dataSize = 0;
    uint32_t storedSize = 0;
    // Offset of the entry's data from the start of the archive.
    size_t dataOffset = 0;
};

struct ArchiveInfo {
    bool longForm = false;
    std::vector<ArchiveEntry> entries;
};

// Reads an archive's directory with bounds checks throughout. Anything the program would
// misread (bad magic, count not positive, an entry or its data running past the end, stored
// size smaller than the data size) throws tools::ToolError naming `file`.
ArchiveInfo ReadArchive(std::span<const uint8_t> archive, const std::string& file);

}  // namespace t2g
