#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

// Runs the built stonewell-headless in a child process with its own scratch root, home and
// per-user folders, so that no run can read what another run (or the machine's user) left.
namespace headless_run {

namespace fs = std::filesystem;

// The program's data folder of this build (build/DATA), or $STONEWELL_TEST_DATA_DIR.
fs::path BuiltDataDir();
// The folder of the committed end-to-end scripts.
fs::path ScriptsDir();

struct Outcome {
    // Exit code when the program exited, -1 when a signal ended it.
    int exitCode = -1;
    // The signal that ended it, 0 when it exited.
    int signal = 0;
    std::string trace;
    std::string errors;
    // Peak resident size of the child in KiB.
    long maxRssKiB = 0;
};

// A scratch run folder: root/ (the run's working folder holding DATA/), home/, and the files
// of each run. Removed on destruction.
class RunFolder {
public:
    explicit RunFolder(const std::string& tag);
    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    const fs::path& Path() const { return m_path; }
    fs::path Root() const { return m_path / "root"; }
    fs::path Data() const { return Root() / "DATA"; }
    fs::path SaveFile() const { return Data() / "SAVE" / "setting.dat"; }
    // The per-user save folder the program falls back to.
    fs::path UserSaveFile() const { return m_path / "home/.local/share/stonewell/setting.dat"; }
    // Copies the build's DATA folder, without its SAVE folder, into the root (fonts and
    // sounds hard-linked where the file system allows, since no case changes them in place).
    void CopyBuiltData() const;

    // Starts the program on `script`; returns the child's pid (the caller waits or kills).
    pid_t Start(const std::string& script, const std::vector<std::string>& extraArgs = {}) const;
    // Runs the program on `script` to its end.
    Outcome Run(const std::string& script, const std::vector<std::string>& extraArgs = {}) const;
    // Collects the outcome of a child started with Start.
    Outcome Wait(pid_t pid) const;

private:
    fs::path m_path;
};

// What a save file holds, when it is whole.
struct SaveState {
    std::vector<uint8_t> bytes;
};
// The save file at `path` when it is exactly the save size and the program's loader takes it.
std::optional<SaveState> ReadWholeSave(const fs::path& path);

// The scenes the trace entered ("MS scene N" lines), and every "save PATH BYTES" size.
std::set<int> ScenesIn(const std::string& trace);
std::vector<long> SaveSizesIn(const std::string& trace);
// The "MS memory RSS HEAP" samples: virtual time, resident size and heap in use (KiB), and the
// scene last entered before the sample (-1 before the first).
struct MemorySample {
    long ms = 0;
    long residentKiB = 0;
    long heapKiB = 0;
    int scene = -1;
};
std::vector<MemorySample> MemorySamplesIn(const std::string& trace);
// The virtual time of the "exit" line, or -1 when the trace has none.
long ExitTimeIn(const std::string& trace);

std::string ReadText(const fs::path& path);

}  // namespace headless_run
