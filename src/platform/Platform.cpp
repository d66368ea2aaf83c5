#include "platform/Platform.h"

#include <cstdlib>
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

}  // namespace platform
