#include "t2gpack/T2GArchive.h"

#include <cstring>
#include <iterator>
#include <map>

#include "Lib/ZIRur/Util/ByteReader.h"
#include "common/ToolError.h"

namespace t2g {
namespace {

[[noreturn]] void FailAt(const PackEntry& e, const std::string& message) {
    throw tools::ToolError(e.originFile, e.originLine, message);
}

std::string FoldCase(const std::string& s) {
    std::string out = s;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    return out;
}

void CheckName(const PackEntry& e) {
    if (e.name.empty()) FailAt(e, "empty entry name");
    for (unsigned char c : e.name) {
        if (c < 0x20 || c > 0x7E) FailAt(e, "entry name '" + e.name + "' is not printable ASCII");
    }
    if (e.name.size() > kLongNameWidth - 1) {
        FailAt(e, "entry name '" + e.name + "' is longer than " +
                      std::to_string(kLongNameWidth - 1) + " characters");
    }
}

[[noreturn]] void FailFile(const std::string& file, const std::string& message) {
    throw tools::ToolError(file, 0, message);
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> BuildArchive(const std::vector<PackEntry>& entries, bool forceLong) {
    if (entries.empty()) throw tools::ToolError("nothing to pack: an archive needs one entry");
    if (entries.size() > kMaxEntries) {
        FailAt(entries[kMaxEntries],
               "too many entries (at most " + std::to_string(kMaxEntries) + ")");
    }
    bool longForm = forceLong;
    std::map<std::string, const PackEntry*> seen;
    for (const auto& e : entries) {
        CheckName(e);
        if (e.name.size() > kShortNameWidth - 1) longForm = true;
        auto [it, fresh] = seen.emplace(FoldCase(e.name), &e);
        if (!fresh) {
            const PackEntry& first = *it->second;
            FailAt(e, "duplicate entry name '" + e.name + "' (same as '" + first.name + "' from " +
                          first.originFile +
                          (first.originLine ? ":" + std::to_string(first.originLine) : "") + ")");
        }
        if (e.data.size() > 0xFFFFFFFCu) FailAt(e, "entry '" + e.name + "' is too large");
    }

    const size_t nameWidth = longForm ? kLongNameWidth : kShortNameWidth;
    std::vector<uint8_t> out(std::begin(kMagic), std::end(kMagic));
    PutU32(out, 0);  // reserved
    PutU32(out, longForm ? 1 : 0);
    PutU32(out, uint32_t(entries.size()));
    if (longForm) out.resize(kLongHeaderSize, 0);

    for (const auto& e : entries) {
        const uint32_t dataSize = uint32_t(e.data.size());
        const uint32_t storedSize = (dataSize + 3u) & ~3u;
        PutU32(out, 0);  // reserved
        size_t nameAt = out.size();
        out.resize(nameAt + nameWidth, 0);
        std::memcpy(out.data() + nameAt, e.name.data(), e.name.size());
        PutU32(out, dataSize);
        PutU32(out, storedSize);
        out.insert(out.end(), e.data.begin(), e.data.end());
        out.resize(out.size() + (storedSize - dataSize), 0);
    }
    return out;
}

ArchiveInfo ReadArchive(std::span<const uint8_t> archive, const std::string& file) {
    bytes::Reader r(archive);
    auto magic = r.Bytes(4);
    uint32_t reserved = 0, longFlag = 0;
    int32_t count = 0;
    r.U32LE(reserved);
    r.U32LE(longFlag);
    r.S32LE(count);
    if (!r.ok()) FailFile(file, "too short for an archive header");
    if (std::memcmp(magic.data(), kMagic, 4) != 0)
        FailFile(file, "not an archive (magic is not \"T2GF\")");
    if (count <= 0) FailFile(file, "entry count " + std::to_string(count) + " is not positive");
    if (size_t(count) > kMaxEntries)
        FailFile(file, "entry count " + std::to_string(count) + " too large");

    ArchiveInfo info;
    info.longForm = longFlag != 0;
    const size_t nameWidth = info.longForm ? kLongNameWidth : kShortNameWidth;
    if (!r.Seek(info.longForm ? kLongHeaderSize : kShortHeaderSize)) {
        FailFile(file, "too short for a long-form header");
    }
    for (int32_t i = 0; i < count; ++i) {
        const std::string where =
            "entry " + std::to_string(i) + " at offset " + std::to_string(r.pos()) + ": ";
        ArchiveEntry e;
        r.Skip(4);
        r.FixedString(nameWidth, e.name);
        r.U32LE(e.dataSize);
        r.U32LE(e.storedSize);
        if (!r.ok()) FailFile(file, where + "entry header runs past the end of the file");
        e.dataOffset = r.pos();
        if (e.storedSize < e.dataSize) {
            FailFile(file, where + "stored size " + std::to_string(e.storedSize) +
                               " is smaller than data size " + std::to_string(e.dataSize));
        }
        if (!r.has(e.dataSize)) FailFile(file, where + "data runs past the end of the file");
        // The next entry starts at the stored size rounded down to a multiple of 4.
        size_t advance = e.storedSize & ~3u;
        if (!r.has(advance) && i + 1 < count)
            FailFile(file, where + "stored data runs past the end");
        r.Seek(std::min(archive.size(), e.dataOffset + advance));
        info.entries.push_back(std::move(e));
    }
    return info;
}

}  // namespace t2g
