#pragma once

#include <stdexcept>
#include <string>

namespace tools {

// A fault in a tool's input. Carries where it was found so the message reads
// "file:line: message" (line 0 means the fault concerns the whole file).
class ToolError : public std::runtime_error {
public:
    ToolError(std::string file, int line, const std::string& message)
        : std::runtime_error(message), m_file(std::move(file)), m_line(line) {}
    explicit ToolError(const std::string& message) : std::runtime_error(message) {}

    // The source file named by the error; empty for errors of the command line.
    const std::string& file() const { return m_file; }
    // 1-based line of the fault; 0 when no single line is to blame.
    int line() const { return m_line; }
    // The whole diagnostic as printed: "file:line: message", "file: message" or "message".
    std::string Describe() const;

private:
    std::string m_file;
    int m_line = 0;
};

}  // namespace tools
