#include "Lib/ZIRur/File/TIGroup.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <new>

#include "Lib/ZIRur/Util/ByteReader.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "platform/Platform.h"

namespace {

constexpr size_t kShortHeaderSize = 16;
constexpr size_t kLongHeaderSize = 64;
constexpr size_t kAlignment = 64;

void FreeAligned(uint8_t* p) {
    ::operator delete[](p, std::align_val_t(kAlignment));
}

std::string FoldCase(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return folded;
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// ".GIM" entries are listed but never handed out.
bool IsGim(const std::string& name) {
    return EndsWith(FoldCase(name), ".gim");
}

}  // namespace

CTIGroup::CTIGroup() : m_owned(nullptr, FreeAligned) {}

CTIGroup::~CTIGroup() {
    // A caller's buffer stays the caller's: only what the group read itself is freed.
    Close();
    m_szFileName.clear();
}

bool CTIGroup::Open(const char* fileName) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt)
        if (OpenProcess(fileName)) return true;
    return false;
}

bool CTIGroup::OpenProcess(const char* fileName, std::span<uint8_t> buffer) {
    if (fileName == nullptr) {
        dbglog::Printf("CTIGroup::OpenProcess() --- input filename is NULL.\n");
        return false;
    }
    if (m_szFileName == fileName && m_ownsBuffer && m_pBuf != nullptr && buffer.empty()) {
        // Same archive again: keep the resident bytes (layouts were converted in place).
        ReleaseAll();
        return ParseDirectory();
    }
    Close();
    m_szFileName = std::string(fileName).substr(0, 259);
    if (buffer.empty()) {
        // Mapped, an archive costs memory only for the entries that are read; a file that
        // cannot be mapped is read whole.
        m_mapped = platform::MappedFile::Open(fileName);
        if (m_mapped) {
            m_fileSize = m_mapped->Size();
            m_pBuf = m_mapped->Data();
            dbglog::Printf("CTIGroup::ReadFile()\tSize = %4dKB,\tRead = %4dKB,\t%s\n",
                           int(m_fileSize / 1024), int(m_fileSize / 1024), fileName);
        } else {
            Buffer read = ReadFile(fileName);
            if (!read) {
                TS_WARN("m_pBuf", 0, "CTIGroup::OpenProcess() : ReadFile() is error! %s\n",
                        fileName);
                return false;
            }
            m_owned = std::move(read);
            m_pBuf = m_owned.get();
        }
        m_bufSize = m_fileSize;
        m_ownsBuffer = true;
    } else {
        m_pBuf = buffer.data();
        m_bufSize = buffer.size();
        m_ownsBuffer = false;
    }
    const auto address = reinterpret_cast<uintptr_t>(m_pBuf);
    if (address % kAlignment != 0) {
        TS_WARN("m_pBuf % 64", address % kAlignment,
                "CTIGroup::OpenProcess() : malloc(m_pBuf = %d) is 64bytes alignment error! %s\n",
                int(address), fileName);
    }
    const bool parsed = ParseDirectory();
    // Reading the directory touched a page at every entry, and the system maps the pages
    // around each one too: hand them all back, nothing has been changed yet.
    if (parsed && m_mapped) m_mapped->DropPages(0, m_mapped->Size());
    return parsed;
}

CTIGroup::Buffer CTIGroup::ReadFile(const char* fileName) {
    Buffer none(nullptr, FreeAligned);
    if (fileName == nullptr) return none;
    std::ifstream file(platform::NativePath(fileName), std::ios::binary | std::ios::ate);
    if (!file) return none;
    const std::streamoff length = file.tellg();
    if (length <= 0) {
        m_fileSize = 0;
        return none;
    }
    m_fileSize = size_t(length);
    auto* raw = static_cast<uint8_t*>(
        ::operator new[](m_fileSize, std::align_val_t(kAlignment), std::nothrow));
    if (raw == nullptr) return none;
    Buffer buffer(raw, FreeAligned);
    file.seekg(0);
    file.read(reinterpret_cast<char*>(raw), std::streamsize(m_fileSize));
    const size_t got = size_t(file.gcount());
    // A short read leaves the rest zeroed; the parser's bounds checks do the rest.
    if (got < m_fileSize) std::memset(raw + got, 0, m_fileSize - got);
    dbglog::Printf("CTIGroup::ReadFile()\tSize = %4dKB,\tRead = %4dKB,\t%s\n",
                   int(m_fileSize / 1024), int(got / 1024), fileName);
    return buffer;
}

bool CTIGroup::ParseDirectory() {
    bytes::Reader reader(m_pBuf, m_bufSize);
    uint32_t magic = 0, longFlag = 0;
    int32_t count = 0;
    reader.U32BE(magic);
    reader.Skip(4);
    reader.U32LE(longFlag);
    reader.S32LE(count);
    if (!reader.ok() || magic != 0x54324746u /* "T2GF" */ || count <= 0 || count > kMaxEntries) {
        Close();
        return false;
    }
    m_directory.clear();
    m_nameWidth = longFlag != 0 ? kLongNameWidth : kShortNameWidth;
    const size_t width = size_t(m_nameWidth);
    size_t at = longFlag != 0 ? kLongHeaderSize : kShortHeaderSize;
    for (int16_t i = 0; i < count; ++i) {
        T2GEntry entry;
        // Every entry, and all of its data, must lie inside the file: a truncated or lying
        // archive is refused rather than read past its end.
        if (!reader.Seek(at) || !reader.Skip(4) || !reader.FixedString(width, entry.m_szName) ||
            !reader.U32LE(entry.m_dataSize) || !reader.U32LE(entry.m_storedSize)) {
            Close();
            return false;
        }
        const size_t dataStart = reader.pos();
        const size_t extent = std::max(entry.m_dataSize, entry.m_storedSize);
        if (!reader.has(extent)) {
            Close();
            return false;
        }
        // The next entry follows the stored size rounded down to a multiple of 4.
        at = dataStart + (entry.m_storedSize & ~uint32_t(3));
        AttachEntry(entry, m_pBuf + dataStart);
        std::string key = FoldCase(entry.m_szName);
        m_directory.insert_or_assign(std::move(key), std::move(entry));
    }
    m_entryNum = count;
    return true;
}

const T2GEntry* CTIGroup::Find(const char* name) const {
    if (name == nullptr) return nullptr;
    if (std::strlen(name) >= size_t(m_nameWidth)) {
        dbglog::Printf("CTIGroup::GetT2IBuffer() File Name is too long! %s\n", name);
        return nullptr;
    }
    auto it = m_directory.find(FoldCase(name));
    return it == m_directory.end() ? nullptr : &it->second;
}

uint8_t* CTIGroup::GetT2IBuffer(const char* name) const {
    const T2GEntry* entry = Find(name);
    return entry != nullptr ? entry->m_pData : nullptr;
}

uint32_t CTIGroup::GetT2ISize(const char* name) const {
    const T2GEntry* entry = Find(name);
    return entry != nullptr ? entry->m_dataSize : 0;
}

uint32_t CTIGroup::GetT2IStoredSize(const char* name) const {
    const T2GEntry* entry = Find(name);
    return entry != nullptr ? entry->m_storedSize : 0;
}

void CTIGroup::ReleaseAll() {
    for (auto& [name, entry] : m_directory) ReleaseEntry(entry);
    m_directory.clear();
    m_entryNum = 0;
}

void CTIGroup::Close() {
    ReleaseAll();
    FreeBuffer();
    m_ownsBuffer = false;
}

void CTIGroup::DropEntryPages(const char* name) const {
    const T2GEntry* entry = Find(name);
    if (entry == nullptr || entry->m_pData == nullptr || !m_mapped) return;
    // Layouts are converted in place when built: dropping their pages would bring back the
    // stored bytes under a built pane tree.
    if (EndsWith(FoldCase(entry->m_szName), ".lyt")) return;
    m_mapped->DropPages(size_t(entry->m_pData - m_pBuf), entry->m_dataSize);
}

void CTIGroup::FreeBuffer() {
    if (m_ownsBuffer) {
        m_owned.reset();
        m_mapped.reset();
    }
    m_pBuf = nullptr;
    m_bufSize = 0;
}

int CTIGroup::AttachEntry(T2GEntry& entry, uint8_t* data) {
    if (!IsGim(entry.m_szName)) entry.m_pData = data;
    return 1;
}

int CTIGroup::ReleaseEntry(T2GEntry& entry) {
    if (!IsGim(entry.m_szName)) entry.m_pData = nullptr;
    return 1;
}
