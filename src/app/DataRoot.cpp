#include "app/DataRoot.h"

#include <filesystem>
#include <system_error>

#include "platform/FileAccess.h"

namespace dataroot {
namespace {

bool HoldsData(const std::filesystem::path& root) {
    std::error_code error;
    return std::filesystem::is_directory(root / "DATA", error);
}

bool SamePlace(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

bool WritableDir(const std::filesystem::path& dir) {
    return platform::WritableDirectory(dir.string());
}

}  // namespace

DataRoot Find(const std::string& executableDir, const std::string& installedRoot) {
    if (HoldsData(executableDir)) {
        return {executableDir, SamePlace(executableDir, installedRoot)};
    }
    if (!installedRoot.empty()) return {installedRoot, true};
    // Nothing installed to fall back on: the caller reports the missing folder beside itself.
    return {executableDir, false};
}

bool IsShared(const DataRoot& dataRoot) {
    if (dataRoot.installed) return true;
    const std::filesystem::path data = std::filesystem::path(dataRoot.root) / "DATA";
    std::error_code error;
    // The save folder is made on first use, so a missing one needs a writable DATA/.
    if (std::filesystem::exists(data / "SAVE", error)) return !WritableDir(data / "SAVE");
    return !WritableDir(data);
}

}  // namespace dataroot
