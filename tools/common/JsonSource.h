#pragma once

#include <map>
#include <nlohmann/json.hpp>
#include <string>

namespace tools {

// A JSON source file that remembers on which line each value starts, so that a tool can
// report a fault in a value as "file:line: message" (nlohmann::json keeps no positions).
class JsonSource {
public:
    // Parses `text`; a syntax error throws ToolError at the line of the offending byte.
    JsonSource(std::string file, const std::string& text);
    // Reads and parses the file at `path`.
    static JsonSource Load(const std::string& path);

    // The parsed document.
    const nlohmann::json& root() const { return m_root; }
    // The file name used in diagnostics.
    const std::string& file() const { return m_file; }
    // Line on which the value at `pointer` (a JSON pointer such as "/entries/2/name") starts;
    // the nearest enclosing value's line when that value does not exist, 1 at worst.
    int LineOf(const std::string& pointer) const;
    // Throws ToolError at the line of the value at `pointer`.
    [[noreturn]] void Fail(const std::string& pointer, const std::string& message) const;

private:
    std::string m_file;
    nlohmann::json m_root;
    std::map<std::string, int> m_lines;
};

// Builds a JSON pointer child: Child("/a", "b") == "/a/b", escaping '~' and '/'.
std::string JsonChild(const std::string& pointer, const std::string& key);
std::string JsonChild(const std::string& pointer, size_t index);

}  // namespace tools
