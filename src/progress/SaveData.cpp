#include "progress/SaveData.h"

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "Lib/ZIRur/Util/ByteReader.h"
#include "platform/Platform.h"

namespace savefile {
namespace {

static_assert(kLessonsDoneOffset == kSettingsOffset + 6 * 4);
static_assert(kSolvedOffset == kLessonsDoneOffset + sizeof(ProgressState::m_lessonsDone));
// The blocks end at 28968; the file's last 8 bytes are padding, written as 0 and not read.
static_assert(kFileSize == kSolvedOffset + sizeof(ProgressState::m_solved) + 8);

std::string FileIn(const std::string& dir) {
    return dir + "/" + kFileName;
}

// The size of a regular file, or -1 when there is none.
intmax_t RegularFileSize(const std::string& path) {
    std::error_code error;
    const std::filesystem::path native = platform::NativePath(path);
    if (!std::filesystem::is_regular_file(native, error)) return -1;
    const uintmax_t size = std::filesystem::file_size(native, error);
    return error ? -1 : intmax_t(size);
}

bool IsRegularFile(const std::string& path) {
    return RegularFileSize(path) >= 0;
}

bool HasSaveSize(const std::string& path) {
    return RegularFileSize(path) == intmax_t(kFileSize);
}

// Whether the file is long enough to be read as a save file.
bool HoldsWholeImage(const std::string& path) {
    return RegularFileSize(path) >= intmax_t(kFileSize);
}

// Reads the first kFileSize bytes; empty when the file is missing or shorter.
std::vector<uint8_t> ReadImage(const std::string& path) {
    if (!IsRegularFile(path)) return {};
    std::ifstream in(platform::NativePath(path), std::ios::binary);
    if (!in) return {};
    std::vector<uint8_t> image(kFileSize);
    in.read(reinterpret_cast<char*>(image.data()), std::streamsize(kFileSize));
    if (size_t(in.gcount()) != kFileSize) return {};
    return image;
}

bool MakeDirectories(const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(platform::NativePath(dir), error);
    return std::filesystem::is_directory(platform::NativePath(dir), error);
}

std::atomic<bool> g_userFolderOnly{false};

}  // namespace

Location DefaultLocation() {
    Location location;
    if (!platform::HasPlatform()) return location;
    const std::string userDir = platform::GetPlatform().UserDataDir();
    if (g_userFolderOnly) {
        location.primaryDir = userDir;
    } else {
        location.fallbackDir = userDir;
    }
    return location;
}

void KeepInUserFolderOnly(bool userOnly) {
    g_userFolderOnly = userOnly;
}

std::vector<uint8_t> BuildImage(const AppSettings& settings, const ProgressState& progress) {
    std::vector<uint8_t> image(kFileSize, 0);
    const int32_t words[6] = {settings.m_bgmOn,        settings.m_seOn,     settings.m_flag2,
                              settings.m_menuPosition, settings.m_listPage, settings.m_word5};
    for (int i = 0; i < 6; ++i) {
        bytes::StoreU32LE(image.data() + kSettingsOffset + 4 * i, uint32_t(words[i]));
    }
    std::memcpy(image.data() + kLessonsDoneOffset, progress.m_lessonsDone,
                sizeof progress.m_lessonsDone);
    std::memcpy(image.data() + kSolvedOffset, progress.m_solved, sizeof progress.m_solved);
    return image;
}

bool ApplyImage(std::span<const uint8_t> image, AppSettings& settings, ProgressState& progress) {
    if (image.size() < kFileSize) return false;
    int32_t words[6];
    for (int i = 0; i < 6; ++i) {
        words[i] = int32_t(bytes::LoadU32LE(image.data() + kSettingsOffset + 4 * i));
    }
    std::lock_guard lock(SaveDataMutex());
    settings.m_bgmOn = words[0];
    settings.m_seOn = words[1];
    settings.m_flag2 = words[2];
    settings.m_menuPosition = words[3];
    settings.m_listPage = words[4];
    settings.m_word5 = words[5];
    std::memcpy(progress.m_lessonsDone, image.data() + kLessonsDoneOffset,
                sizeof progress.m_lessonsDone);
    std::memcpy(progress.m_solved, image.data() + kSolvedOffset, sizeof progress.m_solved);
    return true;
}

bool SaveFile::Load(AppSettings& settings, ProgressState& progress, const Location& location) {
    std::vector<std::string> candidates;
    if (!location.fallbackDir.empty()) candidates.push_back(FileIn(location.fallbackDir));
    candidates.push_back(FileIn(location.primaryDir));
    bool unreadable = false;
    for (const std::string& path : candidates) {
        std::vector<uint8_t> image = ReadImage(path);
        // A whole file that cannot be read is still the learner's: never write over it.
        if (image.empty() && HoldsWholeImage(path)) unreadable = true;
        if (image.empty()) continue;
        if (!ApplyImage(image, settings, progress)) continue;
        std::lock_guard lock(m_mutex);
        m_lastPath = path;
        m_lastImage = std::move(image);
        m_storable = true;
        return true;
    }
    std::lock_guard lock(m_mutex);
    // Nothing usable on disk: the defaults become the learner's first file.
    m_storable = !unreadable;
    return false;
}

bool SaveFile::Store(AppSettings& settings, const ProgressState& progress,
                     const Location& location) {
    {
        std::lock_guard lock(m_mutex);
        if (!m_storable) return false;
    }
    std::vector<uint8_t> image;
    {
        std::lock_guard lock(SaveDataMutex());
        settings.m_word5 = 0;
        image = BuildImage(settings, progress);
    }
    std::lock_guard lock(m_mutex);
    // Once a per-user file exists it is where loading looks first, so it must stay current.
    const bool useFallbackOnly =
        !location.fallbackDir.empty() && IsRegularFile(FileIn(location.fallbackDir));
    if (useFallbackOnly) return WriteTo(location.fallbackDir, image, location);
    if (WriteTo(location.primaryDir, image, location)) return true;
    return !location.fallbackDir.empty() && WriteTo(location.fallbackDir, image, location);
}

bool SaveFile::WriteTo(const std::string& dir, const std::vector<uint8_t>& image,
                       const Location& location) {
    const std::string path = FileIn(dir);
    if (path == m_lastPath && image == m_lastImage && HasSaveSize(path)) return true;
    if (!MakeDirectories(dir)) return false;
    if (!atomicfile::WriteFileAtomically(path, image, location.beforeCommit)) return false;
    m_lastPath = path;
    m_lastImage = image;
    if (platform::HasPlatform()) {
        platform::GetPlatform().Trace(platform::TraceKind::Save,
                                      path + " " + std::to_string(image.size()));
    }
    return true;
}

std::string SaveFile::LastPath() const {
    std::lock_guard lock(m_mutex);
    return m_lastPath;
}

}  // namespace savefile

namespace {
savefile::SaveFile& TheSaveFile() {
    static savefile::SaveFile file;
    return file;
}
}  // namespace

bool LoadSaveData() {
    return TheSaveFile().Load(TheSettings(), TheProgress(), savefile::DefaultLocation());
}

bool StoreSaveData() {
    return TheSaveFile().Store(TheSettings(), TheProgress(), savefile::DefaultLocation());
}
