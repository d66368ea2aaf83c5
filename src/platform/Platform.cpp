#include "platform/Platform.h"

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {
Platform* g_platform = nullptr;

std::string XdgDir(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value == '/') return std::string(value) + "/stonewell";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/" + fallback + "/stonewell";
}
}  // namespace

std::string Platform::UserConfigDir() {
    return XdgDir("XDG_CONFIG_HOME", ".config");
}
std::string Platform::UserDataDir() {
    return XdgDir("XDG_DATA_HOME", ".local/share");
}

std::string Platform::ExecutableDir() {
    std::error_code error;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return ".";
    return exe.parent_path().string();
}

Platform& GetPlatform() {
    return *g_platform;
}
void SetPlatform(Platform* platform) {
    g_platform = platform;
}
bool HasPlatform() {
    return g_platform != nullptr;
}

std::filesystem::path NativePath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::FILE* OpenFile(const std::string& utf8, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return ::_wfopen(NativePath(utf8).c_str(), wideMode.c_str());
#else
    return std::fopen(utf8.c_str(), mode);
#endif
}

std::string FileUrl(const std::string& absolutePath) {
    std::string path = absolutePath;
    for (char& c : path)
        if (c == '\\') c = '/';
    if (path.empty() || path[0] != '/') path.insert(0, 1, '/');
    std::string url = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || std::strchr("/-._~:", c) != nullptr) {
            url += c;
        } else {
            static const char kHex[] = "0123456789ABCDEF";
            url += {'%', kHex[byte >> 4], kHex[byte & 15]};
        }
    }
    return url;
}

bool OnSearchPath(const std::string& name, const char* searchPath) {
    if (searchPath == nullptr) return false;
    const std::string folders = searchPath;
    for (size_t start = 0; start <= folders.size();) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = folders.substr(start, end - start);
        if (!folder.empty()) {
            const std::string file = folder + "/" + name;
            if (::access(file.c_str(), X_OK) == 0 && std::filesystem::is_regular_file(file))
                return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace platform
