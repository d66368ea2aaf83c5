#include <windows.h>

#include "platform/FileAccess.h"
#include "platform/win32/WidePath.h"

namespace platform {

// Folder permissions on Windows are access lists that attributes do not show: the sure
// answer is to create a file there, and remove it again.
bool WritableDirectory(const std::string& dir) {
    const std::wstring wide = WidePath(dir);
    const DWORD attributes =
        wide.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    const std::wstring probe = wide + L"\\.stonewell-write-probe";
    const HANDLE file =
        ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    return true;
}

}  // namespace platform
