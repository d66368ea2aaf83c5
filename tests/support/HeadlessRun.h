#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "progress/ProgressState.h"
#include "progress/SaveData.h"
#include "support/Built.h"
#include "support/ScratchDir.h"

// Runs the built stonewell-headless in a child process with a scratch root, home and per-user
// folders of its own, so that no run reads what another run (or the machine's user) left.
namespace testsupport {

namespace fs = std::filesystem;

inline std::string ReadText(const fs::path& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path.string());
    return {bytes.begin(), bytes.end()};
}

inline std::vector<std::string> SplitLines(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

// The script with every "#* N LINE ; LINE ..." line followed by its lines N times.
inline std::string Expanded(const std::string& script) {
    std::string out;
    for (const std::string& line : SplitLines(script)) {
        out += line + "\n";
        if (line.rfind("#* ", 0) != 0) continue;
        size_t end = 0;
        const int times = std::stoi(line.substr(3), &end);
        std::string body = line.substr(3 + end);
        for (size_t semi; (semi = body.find(" ; ")) != std::string::npos;)
            body.replace(semi, 3, "\n");
        for (int i = 0; i < times; ++i) out += body.substr(body.find_first_not_of(' ')) + "\n";
    }
    return out;
}

struct Outcome {
    int exitCode = -1, signal = 0;  // exit code -1: a signal ended the run
    std::string trace, errors;
    long maxRssKiB = 0;
};

// A run folder: root/DATA links every file of the built data set (none without `withData`)
// but its SAVE folder and the files of `without` (relative to the data set), so a case may
// replace or remove any of them.
class HeadlessRun {
public:
    explicit HeadlessRun(const std::vector<std::string>& without = {}, bool withData = true) {
        fs::create_directories(Data() / "SAVE");
        if (!withData || !DataBuilt()) return;
        for (auto it = fs::recursive_directory_iterator(BuiltData());
             it != fs::recursive_directory_iterator(); ++it) {
            const fs::path relative = fs::relative(it->path(), BuiltData());
            if (relative == "SAVE" ||
                std::find(without.begin(), without.end(), relative.string()) != without.end()) {
                it.disable_recursion_pending();
                continue;
            }
            if (it->is_directory())
                fs::create_directories(Data() / relative);
            else
                fs::create_symlink(it->path(), Data() / relative);
        }
    }

    fs::path Path() const { return m_dir.Path(); }
    fs::path Root() const { return Path() / "root"; }
    fs::path Data() const { return Root() / "DATA"; }
    fs::path Shots() const { return Path() / "shots"; }
    fs::path SaveFile() const { return Data() / "SAVE" / "setting.dat"; }
    // The per-user save file the program falls back to.
    fs::path UserSaveFile() const { return Path() / "home/.local/share/stonewell/setting.dat"; }

    // Runs the program on `script` (expanded) with a home of its own: the per-user save folder is
    // read first, and a learner's progress there must neither change a run nor be changed by one.
    Outcome Run(const std::string& script, const std::vector<std::string>& extraArgs = {}) const {
        std::ofstream(Path() / "script.txt", std::ios::trunc) << Expanded(script);
        // The built program, or $STONEWELL_HEADLESS, a command line such as
        // "wine build-windows/stonewell-headless.exe" that runs another build of it.
        const char* other = std::getenv("STONEWELL_HEADLESS");
        const std::string program = other != nullptr && *other != '\0'
                                        ? std::string(other)
                                        : std::string(STONEWELL_BINARY_DIR) + "/stonewell-headless";
        const std::string home = (Path() / "home").string();
        std::string command = "env -u STONEWELL_LOG HOME=" + home + " XDG_DATA_HOME=" + home +
                              "/.local/share XDG_CONFIG_HOME=" + home + "/.config " + program +
                              " --root " + Root().string() + " --script " +
                              (Path() / "script.txt").string() + " --trace " +
                              (Path() / "trace.txt").string() + " --shots " + Shots().string();
        for (const std::string& arg : extraArgs) command += " " + arg;
        const int status = std::system(
            (command + " </dev/null >/dev/null 2>" + Path().string() + "/stderr.txt").c_str());
        Outcome out;
        if (WIFEXITED(status)) out.exitCode = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) out.signal = WTERMSIG(status);
        struct rusage usage {};
        ::getrusage(RUSAGE_CHILDREN, &usage);
        out.maxRssKiB = usage.ru_maxrss;  // the largest child's so far
        out.trace = ReadText(Path() / "trace.txt");
        out.errors = ReadText(Path() / "stderr.txt");
        return out;
    }

private:
    ScratchDir m_dir;
};

// Whether the file at `path` is a whole save file: of the save size, taken by the loader.
inline bool WholeSave(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return false;
    const std::vector<uint8_t> bytes = ReadBytes(path.string());
    AppSettings settings;
    ProgressState progress;
    return bytes.size() == savefile::kFileSize && savefile::ApplyImage(bytes, settings, progress);
}

// The trace's "MS WORD REST" lines of one WORD, as (MS, REST).
inline std::vector<std::pair<long, std::string>> Events(const std::string& trace,
                                                        const std::string& word) {
    std::vector<std::pair<long, std::string>> out;
    for (const std::string& line : SplitLines(trace)) {
        std::istringstream parts(line);
        long ms = 0;
        std::string event, rest;
        if (!(parts >> ms >> event) || event != word) continue;
        std::getline(parts >> std::ws, rest);
        out.emplace_back(ms, rest);
    }
    return out;
}
inline std::set<int> ScenesIn(const std::string& trace) {
    std::set<int> scenes;
    for (const auto& [ms, rest] : Events(trace, "scene")) scenes.insert(std::atoi(rest.c_str()));
    return scenes;
}
inline long ExitTimeIn(const std::string& trace) {
    const auto exits = Events(trace, "exit");
    return exits.empty() ? -1 : exits.back().first;
}

}  // namespace testsupport
