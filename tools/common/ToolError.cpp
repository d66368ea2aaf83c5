#include "common/ToolError.h"

namespace tools {

std::string ToolError::Describe() const {
    if (m_file.empty()) return what();
    if (m_line <= 0) return m_file + ": " + what();
    return m_file + ":" + std::to_string(m_line) + ": " + what();
}

}  // namespace tools
