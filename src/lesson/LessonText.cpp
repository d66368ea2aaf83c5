#include "lesson/LessonText.h"

#include <algorithm>

#include "lesson/LessonTypes.h"

namespace lesson {
namespace {

// Bytes [start, end] of the text (end included) as a C string limited to `capacity` - 1
// bytes. The cut backs off rather than leave half of a double-byte character at the end.
std::string CopyLine(std::span<const uint8_t> text, long long start, long long end,
                     size_t capacity) {
    if (end <= start) return {};
    auto line = text.subspan(size_t(start), size_t(end - start + 1));
    // The line buffer is a C string: it ends at the first NUL.
    auto nul = std::find(line.begin(), line.end(), uint8_t(0));
    size_t length = size_t(nul - line.begin());
    const size_t limit = capacity - 1;
    if (length > limit) {
        size_t cut = 0;
        while (cut < limit) {
            size_t width = IsShiftJisLeadByte(line[cut]) ? 2 : 1;
            if (cut + width > limit) break;
            cut += width;
        }
        length = cut;
    }
    return std::string(reinterpret_cast<const char*>(line.data()), length);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Marks that may close a line beyond the width: "、", "。" and "」" in Shift_JIS.
bool StartsWithClosingMark(std::string_view text) {
    return StartsWith(text, "\x81\x41") || StartsWith(text, "\x81\x42") ||
           StartsWith(text, "\x81\x76");
}

void AppendWrapped(std::string& out, std::string_view paragraph) {
    if (paragraph.size() <= kBodyLineBytes) {
        out += paragraph;
        return;
    }
    do {
        out += paragraph.substr(0, kBodyLineBytes);
        paragraph.remove_prefix(kBodyLineBytes);
        if (StartsWithClosingMark(paragraph)) {
            out += paragraph.substr(0, 2);
            paragraph.remove_prefix(2);
        }
        if (!paragraph.empty()) out += "\r\n";
    } while (paragraph.size() > kBodyLineBytes);
    out += paragraph;
}

}  // namespace

PageText ExtractPageText(std::span<const uint8_t> text, int page) {
    const long long captionPair = 2LL * page;
    long long captionStart = 0, captionEnd = -1;
    long long bodyStart = 0, bodyEnd = -1;
    long long pair = 0;
    for (size_t pos = 0; pos + 1 < text.size(); ++pos) {
        if (text[pos] != '\r' || text[pos + 1] != '\n') continue;
        ++pair;
        const long long at = static_cast<long long>(pos);
        if (pair == captionPair) {
            captionStart = at + 2;
        } else if (pair == captionPair + 1) {
            captionEnd = at - 1;
            bodyStart = at + 2;
        } else if (pair == captionPair + 2) {
            bodyEnd = at - 1;
            break;
        }
    }
    PageText result;
    result.caption = CopyLine(text, captionStart, captionEnd, kCaptionBufferSize);
    result.body = CopyLine(text, bodyStart, bodyEnd, kBodyBufferSize);
    ReplaceLineBreakMarks(result.caption);
    ReplaceLineBreakMarks(result.body);
    return result;
}

void ReplaceLineBreakMarks(std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == ':' && text[i + 1] == ':') {
            text[i] = '\r';
            text[i + 1] = '\n';
            ++i;
        }
    }
}

std::string WrapBody(std::string_view body) {
    std::string out;
    std::string_view rest = body;
    for (;;) {
        const size_t cr = rest.find('\r');
        const bool last = cr == std::string_view::npos || cr == 0;
        const std::string_view paragraph = last ? rest : rest.substr(0, cr);
        AppendWrapped(out, paragraph);
        if (last) break;
        out += "\r\n";
        // Drop the paragraph and its line break; a lone CR drops alone so that the next
        // double-byte character stays whole.
        rest.remove_prefix(cr + 1);
        if (StartsWith(rest, "\n")) rest.remove_prefix(1);
        if (StartsWith(rest, "\r\n")) rest.remove_prefix(2);
    }
    return out;
}

}  // namespace lesson
