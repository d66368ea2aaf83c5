#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace tools {

// Reports "tool: what i/n" on standard error, but only once the run has taken longer than a
// second and then at most once per second, so quick runs stay silent.
class Progress {
public:
    Progress(std::string tool, std::string what, size_t total, std::FILE* sink = stderr);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Records that `done` of the total units are finished; may print a line.
    void Update(size_t done);
    // Number of lines printed so far (for tests).
    int linesPrinted() const { return m_lines; }
    // Makes the timer think the run started `seconds` ago (for tests).
    void PretendElapsed(double seconds);

private:
    using Clock = std::chrono::steady_clock;
    std::string m_tool;
    std::string m_what;
    size_t m_total;
    std::FILE* m_sink;
    Clock::time_point m_start;
    Clock::time_point m_lastPrint;
    size_t m_done = 0;
    int m_lines = 0;
};

}  // namespace tools
