#include "common/Progress.h"

namespace tools {

Progress::Progress(std::string tool, std::string what, size_t total, std::FILE* sink)
    : m_tool(std::move(tool)),
      m_what(std::move(what)),
      m_total(total),
      m_sink(sink),
      m_start(Clock::now()),
      m_lastPrint(m_start) {}

Progress::~Progress() {
    // A run that printed progress ends with a final line so the last figure is the total.
    if (m_lines > 0 && m_sink) {
        std::fprintf(m_sink, "%s: %s %zu/%zu done\n", m_tool.c_str(), m_what.c_str(), m_done,
                     m_total);
    }
}

void Progress::PretendElapsed(double seconds) {
    auto shift =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    m_start = Clock::now() - shift;
    m_lastPrint = m_start;
}

void Progress::Update(size_t done) {
    m_done = done;
    auto now = Clock::now();
    if (now - m_start < std::chrono::seconds(1)) return;
    if (m_lines > 0 && now - m_lastPrint < std::chrono::seconds(1)) return;
    m_lastPrint = now;
    ++m_lines;
    if (m_sink) {
        std::fprintf(m_sink, "%s: %s %zu/%zu\n", m_tool.c_str(), m_what.c_str(), done, m_total);
        std::fflush(m_sink);
    }
}

}  // namespace tools
