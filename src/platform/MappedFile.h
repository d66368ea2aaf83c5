#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// A whole file mapped copy-on-write: the process may read and change the bytes, and nothing is
// written back. Pages are read from the file when first touched, so a large archive costs
// memory only for what is used; pages never written can be handed back to the system and are
// read again when touched. The file must not be shortened while it is mapped.
class MappedFile {
public:
    // Null when the file cannot be opened or mapped, or is empty.
    static std::unique_ptr<MappedFile> Open(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    uint8_t* Data() const { return m_data; }
    size_t Size() const { return m_size; }
    // Hands back the pages lying wholly inside [offset, offset + length). Only for bytes this
    // process never changed: a changed page would be read again from the file.
    void DropPages(size_t offset, size_t length) const;

private:
    MappedFile(uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    uint8_t* m_data;
    size_t m_size;
};

}  // namespace platform
