#include "common/JsonSource.h"

#include "common/FileIO.h"
#include "common/ToolError.h"

namespace tools {
namespace {

int LineAtOffset(const std::string& text, size_t offset) {
    int line = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') ++line;
    }
    return line;
}

// Walks text that nlohmann::json has already accepted and records the line where every value
// starts, keyed by JSON pointer. Being handed valid JSON, it needs no error handling beyond
// staying inside the text.
class LineLocator {
public:
    LineLocator(const std::string& text, std::map<std::string, int>& lines)
        : m_text(text), m_lines(lines) {}

    void Run() {
        SkipSpace();
        Value("");
    }

private:
    void SkipSpace() {
        while (m_pos < m_text.size()) {
            char c = m_text[m_pos];
            if (c == '\n') {
                ++m_line;
            } else if (c != ' ' && c != '\t' && c != '\r') {
                break;
            }
            ++m_pos;
        }
    }
    std::string String() {
        std::string out;
        ++m_pos;  // opening quote
        while (m_pos < m_text.size() && m_text[m_pos] != '"') {
            if (m_text[m_pos] == '\\' && m_pos + 1 < m_text.size()) {
                out += m_text[m_pos + 1];  // keys with escapes only need to stay distinct
                m_pos += 2;
            } else {
                out += m_text[m_pos++];
            }
        }
        ++m_pos;  // closing quote
        return out;
    }
    void Value(const std::string& pointer) {
        m_lines[pointer] = m_line;
        if (m_pos >= m_text.size()) return;
        char c = m_text[m_pos];
        if (c == '{') {
            ++m_pos;
            SkipSpace();
            while (m_pos < m_text.size() && m_text[m_pos] != '}') {
                std::string key = String();
                SkipSpace();
                ++m_pos;  // ':'
                SkipSpace();
                Value(JsonChild(pointer, key));
                SkipSpace();
                if (m_pos < m_text.size() && m_text[m_pos] == ',') ++m_pos;
                SkipSpace();
            }
            ++m_pos;
        } else if (c == '[') {
            ++m_pos;
            SkipSpace();
            size_t index = 0;
            while (m_pos < m_text.size() && m_text[m_pos] != ']') {
                Value(JsonChild(pointer, index++));
                SkipSpace();
                if (m_pos < m_text.size() && m_text[m_pos] == ',') ++m_pos;
                SkipSpace();
            }
            ++m_pos;
        } else if (c == '"') {
            String();
        } else {
            while (m_pos < m_text.size() &&
                   std::string_view(",]} \t\r\n").find(m_text[m_pos]) == std::string_view::npos) {
                ++m_pos;
            }
        }
    }

    const std::string& m_text;
    std::map<std::string, int>& m_lines;
    size_t m_pos = 0;
    int m_line = 1;
};

}  // namespace

std::string JsonChild(const std::string& pointer, const std::string& key) {
    std::string escaped;
    for (char c : key) {
        if (c == '~') {
            escaped += "~0";
        } else if (c == '/') {
            escaped += "~1";
        } else {
            escaped += c;
        }
    }
    return pointer + "/" + escaped;
}

std::string JsonChild(const std::string& pointer, size_t index) {
    return pointer + "/" + std::to_string(index);
}

JsonSource::JsonSource(std::string file, const std::string& text) : m_file(std::move(file)) {
    try {
        m_root = nlohmann::json::parse(text);
    } catch (const nlohmann::json::parse_error& e) {
        // nlohmann reports the byte just past the fault (1-based); step back onto it.
        size_t at = e.byte > 0 ? e.byte - 1 : 0;
        std::string what = e.what();
        auto cut = what.find("syntax error");
        throw ToolError(m_file, LineAtOffset(text, at),
                        "invalid JSON: " + (cut == std::string::npos ? what : what.substr(cut)));
    } catch (const nlohmann::json::exception& e) {
        // A number too large for any JSON number type: a fault of the file, not a crash.
        throw ToolError(m_file, 0, std::string("invalid JSON: ") + e.what());
    }
    LineLocator(text, m_lines).Run();
}

JsonSource JsonSource::Load(const std::string& path) {
    return JsonSource(path, ReadText(path));
}

int JsonSource::LineOf(const std::string& pointer) const {
    std::string p = pointer;
    while (true) {
        auto it = m_lines.find(p);
        if (it != m_lines.end()) return it->second;
        if (p.empty()) return 1;
        p = p.substr(0, p.rfind('/'));
    }
}

void JsonSource::Fail(const std::string& pointer, const std::string& message) const {
    throw ToolError(m_file, LineOf(pointer), message);
}

}  // namespace tools
