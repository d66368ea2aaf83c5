#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>

#include "platform/MappedFile.h"

// One directory record of an archive. The data pointer points into the group's buffer.
struct T2GEntry {
    // The name as stored (case kept).
    std::string m_szName;
    // Exact size of the packed file.
    uint32_t m_dataSize = 0;
    // Bytes the data occupies in the archive.
    uint32_t m_storedSize = 0;
    // Null for ".GIM" entries and after the entry is released.
    uint8_t* m_pData = nullptr;
};

// A ".T2G" archive, its file mapped into memory (read whole when it cannot be mapped). Entries
// are handed out in place by case-folded name; pointers stay valid until the group is closed,
// re-opened on another file or destroyed. Only the entries read take up memory. A mapped file
// must be replaced (a new file renamed over it, as the data tools and the package manager do)
// rather than rewritten in place while it is open: the group would see the new bytes, and a
// file cut short would fault.
class CTIGroup {
public:
    // Short form: 24-byte names and a 16-byte header; long form: 52-byte names, 64 bytes.
    static constexpr int kShortNameWidth = 24;
    static constexpr int kLongNameWidth = 52;
    // The entry loop runs on a signed 16-bit counter, so no archive holds more.
    static constexpr int kMaxEntries = 32767;
    // Open gives up after this many attempts.
    static constexpr int kOpenAttempts = 101;

    CTIGroup();
    virtual ~CTIGroup();
    CTIGroup(const CTIGroup&) = delete;
    CTIGroup& operator=(const CTIGroup&) = delete;

    // Tries OpenProcess on the file up to 101 times; true at the first success.
    bool Open(const char* fileName);
    // Opens the named file or, when `buffer` is not empty, that whole archive in memory (the
    // caller keeps it alive and owns it). Re-opening the name already open re-parses the
    // resident buffer without touching the file.
    bool OpenProcess(const char* fileName, std::span<uint8_t> buffer = {});
    // Reads the whole file into a new 64-byte aligned buffer; null on any failure or when
    // the file is empty. Records the file size. Open uses it where a file cannot be mapped.
    std::unique_ptr<uint8_t[], void (*)(uint8_t*)> ReadFile(const char* fileName);

    // The entry's data, or null (unknown name, name too long, ".GIM" entry).
    uint8_t* GetT2IBuffer(const char* name) const;
    // The entry's exact data size in bytes, or 0.
    uint32_t GetT2ISize(const char* name) const;
    // The entry's stored size in bytes, or 0.
    uint32_t GetT2IStoredSize(const char* name) const;
    // Lets the memory of an entry that was read and will not be soon again go back to the
    // system, as a decoded image: its bytes stay readable, fetched again from the file when
    // touched. Does nothing for a layout (changed in place when built) or a read buffer.
    void DropEntryPages(const char* name) const;
    // Releases every entry and the buffer; the group is then closed.
    void Close();

    bool IsOpen() const { return m_pBuf != nullptr; }
    int EntryCount() const { return m_entryNum; }
    int NameWidth() const { return m_nameWidth; }
    size_t FileSize() const { return m_fileSize; }

protected:
    // Frees the buffer if owned and forgets it.
    virtual void FreeBuffer();
    // Points the entry at its data, except for ".GIM" entries. Returns 1.
    virtual int AttachEntry(T2GEntry& entry, uint8_t* data);
    // Forgets the entry's data pointer, except for ".GIM" entries. Returns 1.
    virtual int ReleaseEntry(T2GEntry& entry);

private:
    using Buffer = std::unique_ptr<uint8_t[], void (*)(uint8_t*)>;

    // Builds the directory from the buffer; on a bad or truncated archive closes and fails.
    bool ParseDirectory();
    void ReleaseAll();
    // Directory record for a lookup name, or null (logs names too long for the form).
    const T2GEntry* Find(const char* name) const;

    uint8_t* m_pBuf = nullptr;
    size_t m_bufSize = 0;
    int m_nameWidth = kShortNameWidth;
    int m_entryNum = 0;
    std::unordered_map<std::string, T2GEntry> m_directory;
    std::string m_szFileName;
    bool m_ownsBuffer = false;
    size_t m_fileSize = 0;
    // One of the two holds the bytes of an archive the group opened itself.
    Buffer m_owned;
    std::unique_ptr<platform::MappedFile> m_mapped;
};
