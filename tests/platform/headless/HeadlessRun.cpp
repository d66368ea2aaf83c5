#include "HeadlessRun.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "progress/ProgressState.h"
#include "progress/SaveData.h"

namespace headless_run {

fs::path BuiltDataDir() {
    // A sanitizer build that does not build the data tools borrows another build's data.
    if (const char* dir = std::getenv("STONEWELL_TEST_DATA_DIR"); dir != nullptr && *dir != '\0')
        return dir;
    return fs::path(STONEWELL_BINARY_DIR) / "DATA";
}

fs::path ScriptsDir() {
    return fs::path(STONEWELL_SOURCE_DIR) / "tests/platform/headless/scripts";
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in) text << in.rdbuf();
    return text.str();
}

RunFolder::RunFolder(const std::string& tag) {
    std::random_device random;
    m_path = fs::temp_directory_path() /
             ("sw-run-" + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
    fs::remove_all(m_path);
    fs::create_directories(Data());
    fs::create_directories(m_path / "home");
}

RunFolder::~RunFolder() {
    std::error_code error;
    // A case may have left folders without permissions; give them back before removing. Only
    // folders: files may be hard links to the build's data, whose modes must stay as they are.
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, error);
    for (auto it = fs::recursive_directory_iterator(m_path, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error))
        if (it->is_directory(error) && !it->is_symlink(error))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(m_path, error);
}

void RunFolder::CopyBuiltData() const {
    fs::remove_all(Data());
    for (auto it = fs::recursive_directory_iterator(BuiltDataDir());
         it != fs::recursive_directory_iterator(); ++it) {
        const fs::directory_entry& entry = *it;
        const fs::path relative = fs::relative(entry.path(), BuiltDataDir());
        // A learner's runs of the build leave progress there; every run starts without it.
        if (relative == "SAVE") {
            it.disable_recursion_pending();
            continue;
        }
        const fs::path to = Data() / relative;
        if (entry.is_directory()) {
            fs::create_directories(to);
            continue;
        }
        fs::create_directories(to.parent_path());
        std::error_code linked;
        fs::create_hard_link(entry.path(), to, linked);
        if (linked) fs::copy_file(entry.path(), to, fs::copy_options::overwrite_existing);
    }
}

pid_t RunFolder::Start(const std::string& script, const std::vector<std::string>& extraArgs) const {
    const fs::path scriptPath = m_path / "script.txt";
    std::ofstream(scriptPath, std::ios::trunc) << script;
    const std::string exe = std::string(STONEWELL_BINARY_DIR) + "/stonewell-headless";
    std::vector<std::string> args = {exe,
                                     "--root",
                                     Root().string(),
                                     "--script",
                                     scriptPath.string(),
                                     "--trace",
                                     (m_path / "trace.txt").string(),
                                     "--shots",
                                     (m_path / "shots").string()};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    const std::string home = (m_path / "home").string();
    const std::string errors = (m_path / "stderr.txt").string();
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    // Child: only async-signal-safe calls from here on in spirit; the strings are ready.
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    ::unsetenv("STONEWELL_LOG");
    const int err = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = ::open("/dev/null", O_RDWR);
    if (err >= 0) ::dup2(err, 2);
    if (null >= 0) {
        ::dup2(null, 0);
        ::dup2(null, 1);
    }
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(exe.c_str(), argv.data());
    ::_exit(127);
}

Outcome RunFolder::Wait(pid_t pid) const {
    Outcome out;
    int status = 0;
    struct rusage usage {};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) out.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) out.signal = WTERMSIG(status);
    out.maxRssKiB = usage.ru_maxrss;
    out.trace = ReadText(m_path / "trace.txt");
    out.errors = ReadText(m_path / "stderr.txt");
    return out;
}

Outcome RunFolder::Run(const std::string& script, const std::vector<std::string>& extraArgs) const {
    return Wait(Start(script, extraArgs));
}

std::optional<SaveState> ReadWholeSave(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return std::nullopt;
    const std::string text = ReadText(path);
    SaveState state{{text.begin(), text.end()}};
    if (state.bytes.size() != savefile::kFileSize) return std::nullopt;
    AppSettings settings;
    ProgressState progress;
    if (!savefile::ApplyImage(state.bytes, settings, progress)) return std::nullopt;
    return state;
}

namespace {
// The lines "MS WORD REST", split.
template <typename Each>
void ForEachEvent(const std::string& trace, const std::string& word, Each each) {
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream parts(line);
        long ms = 0;
        std::string event;
        if (!(parts >> ms >> event) || event != word) continue;
        std::string rest;
        std::getline(parts >> std::ws, rest);
        each(ms, rest);
    }
}
}  // namespace

std::set<int> ScenesIn(const std::string& trace) {
    std::set<int> scenes;
    ForEachEvent(trace, "scene",
                 [&](long, const std::string& rest) { scenes.insert(std::atoi(rest.c_str())); });
    return scenes;
}

std::vector<long> SaveSizesIn(const std::string& trace) {
    std::vector<long> sizes;
    ForEachEvent(trace, "save", [&](long, const std::string& rest) {
        sizes.push_back(std::atol(rest.substr(rest.rfind(' ') + 1).c_str()));
    });
    return sizes;
}

std::vector<MemorySample> MemorySamplesIn(const std::string& trace) {
    std::vector<MemorySample> samples;
    int scene = -1;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream parts(line);
        long ms = 0;
        std::string event;
        long value = 0, heap = 0;
        if (!(parts >> ms >> event >> value)) continue;
        if (event == "scene") scene = int(value);
        if (event == "memory" && parts >> heap) samples.push_back({ms, value, heap, scene});
    }
    return samples;
}

long ExitTimeIn(const std::string& trace) {
    long at = -1;
    ForEachEvent(trace, "exit", [&](long ms, const std::string&) { at = ms; });
    return at;
}

}  // namespace headless_run
