#include <windows.h>

#include "platform/MappedFile.h"
#include "platform/win32/WidePath.h"

namespace platform {
namespace {

// Closes a handle on every path; the view outlives the file and mapping handles.
class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() {
        if (m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE) ::CloseHandle(m_handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

}  // namespace

std::unique_ptr<MappedFile> MappedFile::Open(const std::string& path) {
    const std::wstring wide = WidePath(path);
    if (wide.empty()) return nullptr;
    // Others may read the file, and replace it by renaming a new one over it, while it is open.
    Handle file(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (file.get() == INVALID_HANDLE_VALUE || !::GetFileSizeEx(file.get(), &size) ||
        size.QuadPart <= 0 || uint64_t(size.QuadPart) > SIZE_MAX)
        return nullptr;
    // Copy-on-write: the process may change its view; the file never sees it.
    Handle mapping(::CreateFileMappingW(file.get(), nullptr, PAGE_WRITECOPY, 0, 0, nullptr));
    if (mapping.get() == nullptr) return nullptr;
    void* data = ::MapViewOfFile(mapping.get(), FILE_MAP_COPY, 0, 0, 0);
    if (data == nullptr) return nullptr;
    return std::unique_ptr<MappedFile>(
        new MappedFile(static_cast<uint8_t*>(data), size_t(size.QuadPart)));
}

MappedFile::~MappedFile() {
    ::UnmapViewOfFile(m_data);
}

void MappedFile::DropPages(size_t offset, size_t length) const {
    if (offset >= m_size) return;
    if (length > m_size - offset) length = m_size - offset;
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    const size_t page = info.dwPageSize;
    const size_t first = (offset + page - 1) / page * page;
    const size_t end = (offset + length) / page * page;
    // Unlocking pages that were never locked takes them out of the working set; they are
    // read from the file again when touched.
    if (end > first) ::VirtualUnlock(m_data + first, end - first);
}

}  // namespace platform
