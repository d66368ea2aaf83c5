#include "platform/win32/WidePath.h"

#include <windows.h>

namespace platform {

std::wstring WidePath(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int units = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                            int(utf8.size()), nullptr, 0);
    if (units <= 0) return {};
    std::wstring wide(size_t(units), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), wide.data(),
                          units);
    return wide;
}

}  // namespace platform
