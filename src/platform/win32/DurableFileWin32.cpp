#include <windows.h>

#include <algorithm>

#include "platform/DurableFile.h"
#include "platform/win32/WidePath.h"

namespace platform {

bool WriteAndFlush(const std::string& path, std::span<const uint8_t> data) {
    const std::wstring wide = WidePath(path);
    if (wide.empty()) return false;
    const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    for (size_t done = 0; ok && done < data.size();) {
        const DWORD chunk = DWORD(std::min<size_t>(data.size() - done, 1u << 30));
        DWORD written = 0;
        ok = ::WriteFile(file, data.data() + done, chunk, &written, nullptr) && written > 0;
        done += written;
    }
    ok = ok && ::FlushFileBuffers(file);
    return ::CloseHandle(file) && ok;
}

bool RenameOver(const std::string& from, const std::string& to) {
    const std::wstring wideFrom = WidePath(from), wideTo = WidePath(to);
    if (wideFrom.empty() || wideTo.empty()) return false;
    // Write-through: the call returns once the rename is on the disk.
    return ::MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const std::string& path) {
    const std::wstring wide = WidePath(path);
    return !wide.empty() && ::DeleteFileW(wide.c_str()) != 0;
}

}  // namespace platform
