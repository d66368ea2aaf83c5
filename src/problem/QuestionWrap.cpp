#include "problem/QuestionWrap.h"

namespace questionwrap {
namespace {

bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Byte length of the character at `at`.
size_t CharLength(const std::string& s, size_t at) {
    return IsLeadByte(static_cast<unsigned char>(s[at])) && at + 1 < s.size() ? 2 : 1;
}

// "、", "。", "」", "？": marks that must not open a line.
bool IsClosingMark(const std::string& s, size_t at) {
    static constexpr const char* kMarks[] = {"\x81\x41", "\x81\x42", "\x81\x76", "\x81\x48"};
    if (at + 2 > s.size()) return false;
    for (const char* mark : kMarks)
        if (s.compare(at, 2, mark) == 0) return true;
    return false;
}

// The last character boundary at or before `limit`, counted from `from`.
size_t BoundaryBefore(const std::string& s, size_t from, size_t limit) {
    size_t at = from;
    while (at < s.size()) {
        const size_t next = at + CharLength(s, at);
        if (next - from > limit) break;
        at = next;
    }
    return at;
}

void WrapParagraph(const std::string& p, std::string& out) {
    size_t start = 0;
    while (p.size() - start > kLineBytes) {
        size_t cut = BoundaryBefore(p, start, kLineBytes);
        if (cut == start) cut = start + CharLength(p, start);
        if (IsClosingMark(p, cut)) cut += 2;
        out.append(p, start, cut - start);
        start = cut;
        if (start < p.size()) out += '\n';
    }
    out.append(p, start, std::string::npos);
}

}  // namespace

std::string Wrap(const std::string& text) {
    std::string out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string paragraph = text.substr(start, end - start);
        std::string wrapped;
        WrapParagraph(paragraph, wrapped);
        if (!wrapped.empty()) {
            if (!out.empty() && out.back() != '\n') out += '\n';
            out += wrapped;
        }
        start = end + 1;
    }
    return out;
}

}  // namespace questionwrap
