#include "LessonCompiler.h"
#include "LessonLint.h"
#include "common/Cp932.h"

#include <iconv.h>

#include <array>
#include <charconv>
#include <map>
#include <memory>

#include "lesson/LessonBoardOps.h"
#include "lesson/LessonSprites.h"
#include "screens/ExplainText.h"

namespace lessonc {

std::string Diagnostic::Format() const {
    if (line <= 0) return file + ": " + message;
    return file + ":" + std::to_string(line) + ": " + message;
}

int CountPictures(const lesson::LessonBoard& board, int boardSize) {
    // Arrow pictures per arrow-layer value (0, 1 and 2 draw none).
    constexpr std::array<int, 16> kArrowPictures = {0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4};
    const int edge = lesson::UsableEdge(boardSize);
    int pictures = 0;
    for (int y = 0; y < edge; ++y) {
        for (int x = 0; x < edge; ++x) {
            const lesson::PointCode code = board.At(x, y);
            const int stone = lesson::StoneLayer(code);
            // Values 5..8 are a stone with a label on it: two pictures.
            if (stone != 0) pictures += (stone >= 5 && stone <= 8) ? 2 : 1;
            pictures += kArrowPictures[size_t(lesson::ArrowLayer(code))];
            if (lesson::NumberField(code) != 0) ++pictures;
        }
    }
    return pictures;
}

namespace {

void PutS32(std::vector<uint8_t>& out, int32_t value) {
    const auto v = uint32_t(value);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(v >> shift));
}

}  // namespace

std::vector<uint8_t> LessonDataBytes(const std::vector<CompiledPage>& pages) {
    std::vector<uint8_t> out;
    PutS32(out, int32_t(pages.size()));
    for (const CompiledPage& page : pages) {
        const lesson::LessonPageHeader& h = page.header;
        for (int32_t field :
             {h.characterPose, h.windowMode, h.boardSize, int32_t(page.steps.size()), h.autoAdvance,
              h.showFinal, h.textFirst}) {
            PutS32(out, field);
        }
        for (const auto& step : page.steps) {
            PutS32(out, int32_t(step.size()));
            for (const lesson::StepEntry& e : step) {
                out.push_back(e.x);
                out.push_back(e.y);
                out.push_back(uint8_t(e.code));
                out.push_back(uint8_t(e.code >> 8));
            }
        }
    }
    return out;
}

namespace {

constexpr std::string_view kColumns = "abcdefghjklmnopqrst";

std::string_view Trim(std::string_view s) {
    const size_t begin = s.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    const size_t end = s.find_last_not_of(" \t");
    return s.substr(begin, end - begin + 1);
}

std::vector<std::string_view> Words(std::string_view s) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        const size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        if (i > start) words.push_back(s.substr(start, i - start));
    }
    return words;
}

bool ParseInt(std::string_view word, int& value, int base = 10) {
    if (base == 16 && word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        word.remove_prefix(2);
    }
    const auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value, base);
    return ec == std::errc() && ptr == word.data() + word.size();
}

// A source line with its 1-based number.
struct Line {
    int number = 0;
    std::string_view text;
};

// The page being read, with what the checks at its end need.
struct PageState {
    CompiledPage page;
    int line = 0;
    bool hasBoard = false;
    bool hasCaption = false;
    int captionLine = 0;
    int bodyLine = 0;
    std::string captionUtf8;
    std::string bodyUtf8;
    std::map<std::string, int> fieldLines;
    // Line of each step's "step" keyword.
    std::vector<int> stepLines;
};

class Compiler {
public:
    Compiler(std::string_view source, const CompileOptions& options,
             std::vector<Diagnostic>& errors)
        : m_options(options), m_errors(errors) {
        int number = 1;
        size_t start = 0;
        while (start <= source.size()) {
            size_t end = source.find('\n', start);
            if (end == std::string_view::npos) end = source.size();
            std::string_view text = source.substr(start, end - start);
            if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
            m_lines.push_back(Line{number++, text});
            start = end + 1;
        }
    }

    CompiledLesson Run() {
        CompiledLesson lesson;
        for (m_next = 0; m_next < m_lines.size();) {
            const Line line = m_lines[m_next++];
            const std::string_view text = Trim(line.text);
            if (!text.empty() && text[0] == '#') {
                LintDirective(line.number, text);
                continue;
            }
            if (text.empty()) continue;
            Statement(line.number, text);
        }
        FinishPage();
        if (m_pages.empty()) Error(0, "no page: a lesson starts each page with the line 'page'");
        for (PageState& state : m_pages) {
            lesson.pages.push_back(std::move(state.page));
        }
        lesson.data = LessonDataBytes(lesson.pages);
        for (const CompiledPage& page : lesson.pages) {
            lesson.text += page.caption + "\r\n" + page.body + "\r\n";
        }
        return lesson;
    }

private:
    void Error(int line, std::string message) {
        m_errors.push_back(Diagnostic{m_options.fileName, line, std::move(message), {}});
    }

    PageState* Page() { return m_open ? &m_pages.back() : nullptr; }

    // "# lint-allow RULE: why" switches one lint rule off for the open page; the reason is
    // required, so that every exception says why the page is right.
    void LintDirective(int line, std::string_view comment) {
        constexpr std::string_view kTag = "# lint-allow ";
        if (comment.substr(0, kTag.size()) != kTag) return;
        const std::string_view rest = Trim(comment.substr(kTag.size()));
        const size_t colon = rest.find(':');
        const std::string rule(Trim(rest.substr(0, colon)));
        if (!IsLintRule(rule)) {
            Error(line, "'" + rule + "' is not a lint rule (" + std::string(kLintRuleNames) + ")");
            return;
        }
        if (colon == std::string_view::npos || Trim(rest.substr(colon + 1)).empty()) {
            Error(line, "lint-allow needs a reason after the rule: '# lint-allow RULE: why'");
            return;
        }
        PageState* page = Page();
        if (!page) {
            Error(line, "lint-allow before the first 'page'");
            return;
        }
        page->page.source.allowed.insert(rule);
    }

    void Statement(int line, std::string_view text) {
        const std::vector<std::string_view> words = Words(text);
        const std::string keyword(words[0]);
        const std::string_view rest = Trim(text.substr(words[0].size()));
        if (text.find('\0') != std::string_view::npos) {
            Error(line, "NUL byte in the source");
            return;
        }
        if (keyword == "page") {
            FinishPage();
            m_pages.emplace_back();
            m_pages.back().line = line;
            // A page shows its text window unless it says otherwise.
            m_pages.back().page.header.windowMode = 1;
            m_open = true;
            if (words.size() > 1) Error(line, "'page' takes no value");
            return;
        }
        PageState* page = Page();
        if (!page) {
            Error(line, "'" + keyword + "' before the first 'page'");
            return;
        }
        if (keyword == "caption") return Caption(*page, line, rest);
        if (keyword == "body") return Body(*page, line, rest);
        if (keyword == "step") return Step(*page, line, words);
        if (IsHeaderField(keyword)) return HeaderField(*page, line, keyword, words);
        if (page->page.steps.empty()) {
            Error(line, "'" + keyword + "' is not a page field; board edits follow a 'step' line");
            return;
        }
        if (keyword == "diagram") return Diagram(*page, line, words);
        Edit(*page, line, keyword, words);
    }

    static bool IsHeaderField(const std::string& k) {
        return k == "board" || k == "pose" || k == "window" || k == "auto-advance" ||
               k == "show-final" || k == "text-first";
    }

    void HeaderField(PageState& page, int line, const std::string& field,
                     const std::vector<std::string_view>& words) {
        if (!page.page.steps.empty()) {
            Error(line, "'" + field + "' after the first step; page fields come first");
            return;
        }
        if (const auto seen = page.fieldLines.find(field); seen != page.fieldLines.end()) {
            Error(line, "'" + field + "' given twice (first on line " +
                            std::to_string(seen->second) + ")");
            return;
        }
        page.fieldLines[field] = line;
        if (words.size() != 2) {
            Error(line, "'" + field + "' takes one value");
            return;
        }
        const std::string_view value = words[1];
        lesson::LessonPageHeader& h = page.page.header;
        auto choose = [&](std::initializer_list<std::pair<std::string_view, int>> choices,
                          int32_t& out) {
            std::string names;
            for (const auto& [name, number] : choices) {
                if (value == name) {
                    out = number;
                    return;
                }
                names += names.empty() ? "" : ", ";
                names += name;
            }
            Error(line,
                  "'" + field + "' is one of " + names + ", not '" + std::string(value) + "'");
        };
        if (field == "board") {
            int size = 0;
            if (!ParseInt(value, size) || (size != 6 && size != 9 && size != 13 && size != 19)) {
                Error(line, "board is 6, 9, 13 or 19, not '" + std::string(value) + "'");
                // Carry on as a full board so that later lines are still checked.
                h.boardSize = 19;
                page.hasBoard = true;
                return;
            }
            h.boardSize = size;
            page.hasBoard = true;
        } else if (field == "pose") {
            choose({{"left", 0}, {"front", 2}}, h.characterPose);
        } else if (field == "window") {
            choose({{"hidden", 0}, {"shown", 1}, {"slide-in", 2}, {"slide-out", 3}}, h.windowMode);
        } else if (field == "auto-advance") {
            choose({{"no", 0}, {"yes", 1}}, h.autoAdvance);
        } else if (field == "show-final") {
            choose({{"no", 0}, {"yes", 1}}, h.showFinal);
        } else {
            choose({{"no", 0}, {"yes", 1}}, h.textFirst);
        }
    }

    void Caption(PageState& page, int line, std::string_view text) {
        if (page.hasCaption) {
            Error(line,
                  "'caption' given twice (first on line " + std::to_string(page.captionLine) + ")");
            return;
        }
        page.hasCaption = true;
        page.captionLine = line;
        page.captionUtf8 = std::string(text);
        page.page.source.caption = page.captionUtf8;
    }

    void Body(PageState& page, int line, std::string_view text) {
        // Further body lines continue the body after a line break.
        if (page.bodyLine != 0) page.bodyUtf8 += "::";
        if (page.bodyLine == 0) page.bodyLine = line;
        page.bodyUtf8 += text;
        page.page.source.bodyLines.emplace_back(line, std::string(text));
    }

    void Step(PageState& page, int line, const std::vector<std::string_view>& words) {
        if (words.size() > 1) Error(line, "'step' takes no value");
        if (page.page.steps.empty() && !page.hasBoard) {
            Error(line, "the page needs a 'board' line before its first step");
            page.hasBoard = true;
            page.page.header.boardSize = 19;
        }
        FinishStep(page);
        page.page.steps.emplace_back();
        page.page.source.entryLines.emplace_back();
        page.stepLines.push_back(line);
        if (page.page.steps.size() == size_t(lesson::kMaxSteps) + 1) {
            Error(line, "more than " + std::to_string(lesson::kMaxSteps) + " steps on the page");
        }
    }

    // "d4": column letter (no i) and row counted from the bottom, as the board is shown.
    bool Point(const PageState& page, int line, std::string_view word, int& x, int& y) {
        const int size = page.page.header.boardSize;
        int row = 0;
        const size_t column =
            word.empty() ? std::string_view::npos : kColumns.find(char(word[0] | 0x20));
        if (word.size() < 2 || column == std::string_view::npos || !ParseInt(word.substr(1), row) ||
            int(column) >= size || row < 1 || row > size) {
            Error(line, "'" + std::string(word) + "' is not a point of the " +
                            std::to_string(size) + " x " + std::to_string(size) + " board");
            return false;
        }
        x = int(column);
        y = size - row;
        return true;
    }

    // Adds an entry for the shown point (x, y), storing the row the way the loader reads it.
    void Add(PageState& page, int line, int x, int y, uint16_t code) {
        const int size = page.page.header.boardSize;
        int stored = y;
        if (size == 13) {
            stored = 12 - y;
        } else if (m_options.mirrorFullBoard) {
            stored = 18 - y;
        }
        page.page.steps.back().push_back(lesson::StepEntry{uint8_t(x), uint8_t(stored), code});
        page.page.source.entryLines.back().push_back(line);
    }

    // Adds `code` at every point named by words[first..].
    void AddAll(PageState& page, int line, const std::vector<std::string_view>& words, size_t first,
                uint16_t code) {
        if (first >= words.size()) {
            Error(line, "'" + std::string(words[0]) + "' needs at least one point");
            return;
        }
        for (size_t i = first; i < words.size(); ++i) {
            int x = 0;
            int y = 0;
            if (Point(page, line, words[i], x, y)) Add(page, line, x, y, code);
        }
    }

    void Edit(PageState& page, int line, const std::string& keyword,
              const std::vector<std::string_view>& words) {
        const std::string kind = words.size() > 1 ? std::string(words[1]) : std::string();
        if (keyword == "B" || keyword == "W")
            return AddAll(page, line, words, 1, keyword == "B" ? 1 : 2);
        if (keyword == "mark") return AddAll(page, line, words, 1, 9);
        if (keyword == "clear") return AddAll(page, line, words, 1, 0);
        if (keyword == "label") {
            static const std::map<std::string, uint16_t> kLabels = {
                {"black", 3}, {"white", 4}, {"1", 10}, {"2", 11},
                {"3", 12},    {"4", 13},    {"5", 14}, {"6", 15}};
            const auto it = kLabels.find(kind);
            if (it == kLabels.end()) {
                Error(line, "label is black, white or 1..6, not '" + kind + "'");
                return;
            }
            return AddAll(page, line, words, 2, it->second);
        }
        if (keyword == "stone-label") {
            static const std::map<std::string, uint16_t> kStoneLabels = {
                {"black", 5}, {"white", 6}, {"black-8", 7}, {"white-8", 8}};
            const auto it = kStoneLabels.find(kind);
            if (it == kStoneLabels.end()) {
                Error(line, "stone-label is black, white, black-8 or white-8, not '" + kind + "'");
                return;
            }
            return AddAll(page, line, words, 2, it->second);
        }
        if (keyword == "blink") {
            static const std::map<std::string, uint16_t> kBlinks = {
                {"stones", 0x4000}, {"labels", 0x8000}, {"steady", 0xC000}};
            const auto it = kBlinks.find(kind);
            if (it == kBlinks.end()) {
                Error(line, "blink is stones, labels or steady, not '" + kind + "'");
                return;
            }
            return AddAll(page, line, words, 2, it->second);
        }
        if (keyword == "number") return Number(page, line, words);
        if (keyword == "arrow") return ArrowEdit(page, line, words);
        if (keyword == "code") {
            int code = 0;
            if (words.size() < 2 || !ParseInt(words[1], code, 16) || code < 0 || code > 0xFFFF) {
                Error(line, "code is a 16-bit hexadecimal value, not '" + kind + "'");
                return;
            }
            return AddAll(page, line, words, 2, uint16_t(code));
        }
        Error(line, "unknown line '" + keyword + "'");
    }

    void Number(PageState& page, int line, const std::vector<std::string_view>& words) {
        int number = 0;
        if (words.size() != 4 || words[2] != "at") {
            Error(line, "write a number as 'number N at POINT'");
            return;
        }
        if (!ParseInt(words[1], number) || number < 1 || number > 63) {
            Error(line, "number is 1..63, not '" + std::string(words[1]) + "'");
            return;
        }
        AddAll(page, line, words, 3, uint16_t(number << 8));
    }

    void ArrowEdit(PageState& page, int line, const std::vector<std::string_view>& words) {
        if (words.size() < 3) {
            Error(line,
                  "write arrows as 'arrow POINT DIRECTION...' (up, down, left, right or none)");
            return;
        }
        int set = 0;
        bool none = false;
        for (size_t i = 2; i < words.size(); ++i) {
            const std::string_view w = words[i];
            const int bit = w == "down"    ? 1
                            : w == "left"  ? 2
                            : w == "up"    ? 4
                            : w == "right" ? 8
                                           : 0;
            if (w == "none") {
                none = true;
            } else if (bit == 0) {
                Error(line, "arrow direction is up, down, left, right or none, not '" +
                                std::string(w) + "'");
                return;
            }
            set |= bit;
        }
        // The program turns up and down round on 13 x 13 boards (their rows are stored
        // mirrored), so store them turned round here and the author's "up" is drawn up.
        if (page.page.header.boardSize == 13 && ((set & 1) != 0) != ((set & 4) != 0)) set ^= 5;
        // Arrow-layer value per set of directions (down 1, left 2, up 4, right 8); 0 where the
        // program has no picture for the combination.
        constexpr std::array<int, 16> kValue = {0, 3,  4, 7,  5, 0,  8,  12,
                                                6, 10, 0, 11, 9, 14, 13, 15};
        const int value = none ? (set == 0 ? 1 : 0) : kValue[size_t(set)];
        if (value == 0) {
            Error(line, "no arrow picture shows these directions together");
            return;
        }
        AddAll(page, line, {words.begin(), words.begin() + 2}, 1, uint16_t(value << 4));
    }

    void Diagram(PageState& page, int line, const std::vector<std::string_view>& words) {
        if (words.size() > 1) Error(line, "'diagram' takes no value; its rows follow");
        const int size = page.page.header.boardSize;
        for (int y = 0; y < size; ++y) {
            // Rows are the next lines that hold something; comments are not allowed among them.
            while (m_next < m_lines.size() && Trim(m_lines[m_next].text).empty()) ++m_next;
            if (m_next >= m_lines.size()) {
                Error(line, "diagram has " + std::to_string(y) + " rows; the board has " +
                                std::to_string(size));
                return;
            }
            const Line row = m_lines[m_next++];
            std::string cells;
            for (char c : row.text) {
                if (c != ' ' && c != '\t') cells += c;
            }
            if (int(cells.size()) != size) {
                Error(row.number, "diagram row has " + std::to_string(cells.size()) +
                                      " points; the board has " + std::to_string(size));
                continue;
            }
            for (int x = 0; x < size; ++x) {
                const char c = cells[size_t(x)];
                int code = -1;
                switch (c) {
                    case '.':
                        continue;
                    case 'X':
                        code = 1;
                        break;
                    case 'O':
                        code = 2;
                        break;
                    case 'B':
                        code = 3;
                        break;
                    case 'W':
                        code = 4;
                        break;
                    case 'M':
                        code = 9;
                        break;
                    case '-':
                        code = 0;
                        break;
                    default:
                        if (c >= '1' && c <= '6') code = 10 + (c - '1');
                        break;
                }
                if (code < 0) {
                    Error(row.number,
                          std::string("'") + c + "' is not a diagram point (. X O B W M - 1..6)");
                    continue;
                }
                Add(page, row.number, x, y, uint16_t(code));
            }
        }
    }

    void FinishStep(PageState& page) {
        if (page.page.steps.empty()) return;
        const size_t index = page.page.steps.size() - 1;
        const auto& step = page.page.steps[index];
        const int line = page.stepLines[index];
        if (step.size() > size_t(lesson::kMaxEntriesPerStep)) {
            Error(line, "step has " + std::to_string(step.size()) + " entries; at most " +
                            std::to_string(lesson::kMaxEntriesPerStep) + " fit");
        }
        lesson::MergeEntries(m_board, step, page.page.header.boardSize, m_options.mirrorFullBoard);
        const int pictures = CountPictures(m_board, page.page.header.boardSize);
        if (pictures > int(lesson::kMaxSprites)) {
            Error(line, "step shows " + std::to_string(pictures) + " pictures; at most " +
                            std::to_string(lesson::kMaxSprites) + " are drawn");
        }
    }

    // Converts a text line and checks it against the loader's buffer.
    std::string TextLine(int line, const std::string& utf8, const char* what, size_t limit) {
        const std::optional<std::string> converted = tools::Utf8ToCp932(utf8);
        if (!converted) {
            Error(line, std::string(what) + " has a character that Shift_JIS (code page 932) " +
                            "cannot hold, or is not UTF-8");
            return {};
        }
        if (converted->size() > limit) {
            Error(line, std::string(what) + " is " + std::to_string(converted->size()) +
                            " bytes in Shift_JIS; at most " + std::to_string(limit) + " fit");
        } else if (converted->size() == 1) {
            Error(line, std::string(what) + " of one byte reads as empty; write it full-width");
        }
        return *converted;
    }

    void FinishPage() {
        PageState* page = Page();
        if (!page) return;
        FinishStep(*page);
        m_board.Clear();
        if (!page->hasBoard) {
            Error(page->line, "the page has no 'board' line");
        }
        if (!page->hasCaption) {
            Error(page->line, "the page has no 'caption' line");
        }
        page->page.caption =
            TextLine(page->captionLine ? page->captionLine : page->line, page->captionUtf8,
                     "caption", size_t(lesson::kCaptionBufferSize - 1));
        const int bodyLine = page->bodyLine ? page->bodyLine : page->line;
        page->page.body =
            TextLine(bodyLine, page->bodyUtf8, "body", size_t(lesson::kBodyBufferSize - 1));
        // Lines beyond the window's height would be drawn over its frame.
        const int shown = page->page.body.size() < size_t(lesson::kBodyBufferSize)
                              ? explain::ShownBodyLines(page->page.body)
                              : 0;
        if (shown > explain::kWindowBodyLines) {
            Error(bodyLine,
                  "body takes " + std::to_string(shown) + " lines in the text window; at most " +
                      std::to_string(explain::kWindowBodyLines) + " show (split the page)");
        }
        page->page.header.stepCount = int32_t(page->page.steps.size());
        page->page.source.line = page->line;
        page->page.source.stepLines = page->stepLines;
        m_open = false;
    }

    const CompileOptions& m_options;
    std::vector<Diagnostic>& m_errors;
    std::vector<Line> m_lines;
    size_t m_next = 0;
    std::vector<PageState> m_pages;
    bool m_open = false;
    // Position after the steps of the open page so far, for the picture count.
    lesson::LessonBoard m_board;
};

}  // namespace

CompiledLesson CompileLesson(std::string_view source, const CompileOptions& options,
                             std::vector<Diagnostic>& errors) {
    return Compiler(source, options, errors).Run();
}

}  // namespace lessonc
