#include "probcheck/GtpEngine.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "common/ToolError.h"

namespace probcheck {

GtpEngine::GtpEngine(const std::vector<std::string>& argv) {
    if (argv.empty()) throw tools::ToolError("no engine to start");
    int toChild[2], fromChild[2];
    if (pipe(toChild) != 0) throw tools::ToolError("cannot make a pipe for " + argv[0]);
    if (pipe(fromChild) != 0) {
        close(toChild[0]), close(toChild[1]);
        throw tools::ToolError("cannot make a pipe for " + argv[0]);
    }
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    m_pid = fork();
    if (m_pid == 0) {
        dup2(toChild[0], 0);
        dup2(fromChild[1], 1);
        close(toChild[0]), close(toChild[1]), close(fromChild[0]), close(fromChild[1]);
        execv(args[0], args.data());
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    if (m_pid < 0) {
        close(toChild[1]), close(fromChild[0]);
        throw tools::ToolError("cannot start " + argv[0]);
    }
    // A dead engine must show as an error on the next read, not kill this tool.
    signal(SIGPIPE, SIG_IGN);
    m_to = fdopen(toChild[1], "w");
    m_from = fdopen(fromChild[0], "r");
    std::string name;
    if (m_to == nullptr || m_from == nullptr || !Send("name", name))
        throw tools::ToolError("cannot talk to " + argv[0] + " over GTP");
}

GtpEngine::~GtpEngine() {
    if (m_to != nullptr) {
        std::fputs("quit\n", m_to);
        std::fclose(m_to);
    }
    if (m_from != nullptr) std::fclose(m_from);
    if (m_pid > 0) {
        int status = 0;
        waitpid(m_pid, &status, 0);
    }
}

bool GtpEngine::Send(const std::string& command, std::string& answer) {
    if (std::fprintf(m_to, "%s\n", command.c_str()) < 0 || std::fflush(m_to) != 0)
        throw tools::ToolError("the engine stopped listening at \"" + command + "\"");
    // The answer runs up to an empty line; its first character says success or failure.
    std::string text;
    char buffer[4096];
    bool started = false;
    while (std::fgets(buffer, sizeof buffer, m_from) != nullptr) {
        std::string line = buffer;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (!started) {
            if (line.empty()) continue;
            started = true;
        } else if (line.empty()) {
            const bool ok = text[0] == '=';
            size_t from = 1;
            while (from < text.size() && text[from] == ' ') ++from;
            answer = text.substr(from);
            return ok;
        }
        text += (text.empty() ? "" : "\n") + line;
    }
    throw tools::ToolError("the engine stopped answering at \"" + command + "\"");
}

std::string GtpEngine::Ask(const std::string& command) {
    std::string answer;
    if (!Send(command, answer))
        throw tools::ToolError("the engine refused \"" + command + "\": " + answer);
    return answer;
}

std::string FindGnuGo() {
    if (const char* path = std::getenv("PATH")) {
        std::stringstream dirs(path);
        std::string dir;
        while (std::getline(dirs, dir, ':')) {
            const std::string candidate = (dir.empty() ? "." : dir) + "/gnugo";
            if (access(candidate.c_str(), X_OK) == 0) return candidate;
        }
    }
    if (access("/usr/games/gnugo", X_OK) == 0) return "/usr/games/gnugo";
    return "";
}

}  // namespace probcheck
