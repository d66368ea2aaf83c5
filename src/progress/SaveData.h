#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "progress/AtomicFile.h"
#include "progress/ProgressState.h"

// The save file: 28976 bytes, little-endian, no header. Settings words at 0, lesson-done bytes
// at 24, solved bytes at 168, each block course-major; 8 bytes of zero padding at the end.
namespace savefile {

inline constexpr size_t kFileSize = 28976;
inline constexpr size_t kSettingsOffset = 0;
inline constexpr size_t kLessonsDoneOffset = 24;
inline constexpr size_t kSolvedOffset = 168;
inline constexpr const char* kDefaultDir = "DATA/SAVE";
inline constexpr const char* kFileName = "setting.dat";

// Where the file lives. The primary directory is relative to the working directory; the
// fallback is used when the primary cannot be written, and is read first when its file exists.
struct Location {
    // The install's save directory.
    std::string primaryDir = kDefaultDir;
    // The per-user directory; empty for none.
    std::string fallbackDir;
    // Test hook passed to the atomic write (see atomicfile::BeforeCommit).
    atomicfile::BeforeCommit beforeCommit;
};

// The primary directory plus the platform's user data directory when a platform is set; only
// the user data directory once KeepInUserFolderOnly(true) was called.
Location DefaultLocation();
// For a data root shared with other users (see dataroot::IsShared): its DATA/SAVE is then
// neither read nor written, so one user's progress never becomes everyone's first save.
void KeepInUserFolderOnly(bool userOnly);

// The file image of the settings and the progress.
std::vector<uint8_t> BuildImage(const AppSettings& settings, const ProgressState& progress);
// Copies the three blocks of an image into the settings and the progress. False (and nothing
// changed) when fewer than kFileSize bytes are given; bytes beyond kFileSize are ignored.
bool ApplyImage(std::span<const uint8_t> image, AppSettings& settings, ProgressState& progress);

// Reads and writes one save file. Writing skips the disk when the image equals what this
// object last read or wrote at that path and the file is still there, so it is cheap to call
// at every scene end. Safe to call from any thread.
class SaveFile {
public:
    // Loads the first usable file of the location into the settings and the progress; false
    // (everything left as it was) when none is found or the files are shorter than kFileSize.
    bool Load(AppSettings& settings, ProgressState& progress, const Location& location);
    // Sets settings word 5 to 0 and writes the image atomically; false when no directory of
    // the location could take it. Traces "<path> <bytes>" after a successful write. Writes
    // nothing (false) until a Load has read the file or found none: an image not taken from
    // the disk must not replace the learner's file.
    bool Store(AppSettings& settings, const ProgressState& progress, const Location& location);
    // Path of the last successful read or write; empty before.
    std::string LastPath() const;

private:
    bool WriteTo(const std::string& dir, const std::vector<uint8_t>& image,
                 const Location& location);

    mutable std::mutex m_mutex;
    std::string m_lastPath;
    std::vector<uint8_t> m_lastImage;
    bool m_storable = false;
};

}  // namespace savefile

// Loads the save file into TheSettings() and TheProgress(); false when there is none.
bool LoadSaveData();
// Writes TheSettings() and TheProgress() to the save file; false when it could not be written.
bool StoreSaveData();
