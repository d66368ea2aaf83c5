#pragma once

#include <sys/types.h>
#include <cstdio>
#include <string>
#include <vector>

namespace probcheck {

// A Go engine spoken to over the Go Text Protocol through two pipes. The engine runs as a
// child process for the lifetime of the object.
class GtpEngine {
public:
    // Starts the program with its arguments. Throws tools::ToolError when it cannot start.
    explicit GtpEngine(const std::vector<std::string>& argv);
    // Asks the engine to quit and waits for it.
    ~GtpEngine();
    GtpEngine(const GtpEngine&) = delete;
    GtpEngine& operator=(const GtpEngine&) = delete;

    // Sends one command. True for a success answer ("="), false for an error ("?"); the
    // answer text without its marker goes to `answer`. Throws tools::ToolError when the engine
    // stops answering.
    bool Send(const std::string& command, std::string& answer);
    // Send for commands whose failure is a fault of the caller: throws on "?".
    std::string Ask(const std::string& command);

private:
    pid_t m_pid = -1;
    FILE* m_to = nullptr;
    FILE* m_from = nullptr;
};

// Where the GNU Go program is: `gnugo` on PATH, else the Debian package's /usr/games/gnugo;
// empty when neither exists.
std::string FindGnuGo();

}  // namespace probcheck
