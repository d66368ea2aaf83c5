#include "LessonLint.h"

#include <array>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "lesson/LessonBoardOps.h"
#include "lesson/LessonSprites.h"

namespace lessonc {

bool IsLintRule(std::string_view rule) {
    return rule == "no-liberty" || rule == "clear" || rule == "prisoner" || rule == "count" ||
           rule == "under-window";
}

namespace {

enum class Colour { None, Black, White };

Colour StoneColour(lesson::PointCode code) {
    switch (lesson::StoneLayer(code)) {
        case 1:
        case 5:
        case 7:
            return Colour::Black;
        case 2:
        case 6:
        case 8:
            return Colour::White;
        default:
            return Colour::None;
    }
}

// The stone carries the △ label (stone-label black-8 / white-8).
bool IsTriangle(lesson::PointCode code) {
    const int v = lesson::StoneLayer(code);
    return v == 7 || v == 8;
}

const char* ColourName(Colour c) {
    return c == Colour::Black ? "black" : "white";
}

using Point = std::pair<int, int>;

// A lesson board seen as a Go position. A 13 x 13 board is the corner of a full board (its
// picture leaves the right and lower edges open), so the points beyond those edges are real,
// empty points.
class Position {
public:
    Position(const lesson::LessonBoard& board, int size) : m_board(board), m_size(size) {}

    int Size() const { return m_size; }
    bool OnBoard(Point p) const {
        return p.first >= 0 && p.second >= 0 && p.first < m_size && p.second < m_size;
    }
    // Beyond an open edge of a corner board.
    bool Beyond(Point p) const {
        return m_size == 13 && p.first >= 0 && p.second >= 0 && !OnBoard(p) && p.first <= m_size &&
               p.second <= m_size;
    }
    Colour At(Point p) const {
        return OnBoard(p) ? StoneColour(m_board.At(p.first, p.second)) : Colour::None;
    }
    lesson::PointCode Code(Point p) const { return m_board.At(p.first, p.second); }

    static std::array<Point, 4> Neighbours(Point p) {
        return {Point{p.first, p.second - 1}, Point{p.first - 1, p.second},
                Point{p.first, p.second + 1}, Point{p.first + 1, p.second}};
    }

    // The stones connected to the stone at p.
    std::set<Point> Group(Point p) const {
        std::set<Point> group{p};
        std::vector<Point> todo{p};
        const Colour c = At(p);
        while (!todo.empty()) {
            const Point q = todo.back();
            todo.pop_back();
            for (const Point& n : Neighbours(q)) {
                if (At(n) == c && group.insert(n).second) todo.push_back(n);
            }
        }
        return group;
    }

    std::set<Point> Liberties(const std::set<Point>& group) const {
        std::set<Point> liberties;
        for (const Point& p : group) {
            for (const Point& n : Neighbours(p)) {
                if ((OnBoard(n) && At(n) == Colour::None) || Beyond(n)) liberties.insert(n);
            }
        }
        return liberties;
    }

    // Every group of stones, each once.
    std::vector<std::set<Point>> Groups() const {
        std::vector<std::set<Point>> groups;
        std::set<Point> seen;
        for (int y = 0; y < m_size; ++y) {
            for (int x = 0; x < m_size; ++x) {
                const Point p{x, y};
                if (At(p) == Colour::None || seen.contains(p)) continue;
                groups.push_back(Group(p));
                seen.insert(groups.back().begin(), groups.back().end());
            }
        }
        return groups;
    }

    // An empty region (labels and marks do not count as stones) and who surrounds it.
    struct Region {
        std::set<Point> points;
        // The one colour bordering it, or None when both do, neither does, or it reaches an
        // open edge (then it is not closed off and belongs to nobody yet).
        Colour owner = Colour::None;
    };

    Region EmptyRegion(Point start) const {
        Region region;
        region.points.insert(start);
        std::vector<Point> todo{start};
        bool black = false;
        bool white = false;
        bool open = false;
        while (!todo.empty()) {
            const Point q = todo.back();
            todo.pop_back();
            for (const Point& n : Neighbours(q)) {
                if (Beyond(n)) open = true;
                if (!OnBoard(n)) continue;
                const Colour c = At(n);
                black = black || c == Colour::Black;
                white = white || c == Colour::White;
                if (c == Colour::None && region.points.insert(n).second) todo.push_back(n);
            }
        }
        if (!open && black != white) region.owner = black ? Colour::Black : Colour::White;
        return region;
    }

    std::vector<Region> Regions() const {
        std::vector<Region> regions;
        std::set<Point> seen;
        for (int y = 0; y < m_size; ++y) {
            for (int x = 0; x < m_size; ++x) {
                const Point p{x, y};
                if (At(p) != Colour::None || seen.contains(p)) continue;
                regions.push_back(EmptyRegion(p));
                seen.insert(regions.back().points.begin(), regions.back().points.end());
            }
        }
        return regions;
    }

private:
    // A copy: the replay goes on changing its own board.
    lesson::LessonBoard m_board;
    int m_size;
};

std::string PointName(Point p, int size) {
    constexpr std::string_view kColumns = "abcdefghjklmnopqrst";
    return std::string(1, kColumns[size_t(p.first)]) + std::to_string(size - p.second);
}

std::string PointList(const std::set<Point>& points, int size) {
    std::string out;
    for (const Point& p : points) out += (out.empty() ? "" : " ") + PointName(p, size);
    return out;
}

// --- Reading numbers out of the text -----------------------------------------------------

std::u32string Decode(std::string_view utf8) {
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = uint8_t(utf8[i]);
        const int length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = length == 1   ? b
                     : length == 2 ? (b & 0x1F)
                     : length == 3 ? (b & 0x0F)
                                   : (b & 0x07);
        for (int k = 1; k < length && i + size_t(k) < utf8.size(); ++k) {
            c = (c << 6) | (uint8_t(utf8[i + size_t(k)]) & 0x3F);
        }
        out.push_back(c);
        i += size_t(length);
    }
    return out;
}

int DigitValue(char32_t c) {
    if (c >= U'0' && c <= U'9') return int(c - U'0');
    if (c >= U'０' && c <= U'９') return int(c - U'０');
    static const std::u32string kKanji = U"〇一二三四五六七八九";
    const size_t k = kKanji.find(c);
    return k == std::u32string::npos ? -1 : int(k);
}

// A number written at `at` (digits, full-width digits or kanji up to 99): its value and the
// position after it, or nothing.
std::optional<std::pair<int, size_t>> NumberAt(const std::u32string& s, size_t at) {
    size_t i = at;
    int value = 0;
    bool any = false;
    if (i < s.size() && s[i] == U'十') {
        value = 10;
        any = true;
        ++i;
    }
    while (i < s.size()) {
        const int d = DigitValue(s[i]);
        if (d >= 0) {
            value = (any && s[i - 1] == U'十') ? value + d : value * 10 + d;
            any = true;
            ++i;
        } else if (s[i] == U'十' && any) {
            value = value * 10;
            ++i;
        } else {
            break;
        }
    }
    if (!any) return std::nullopt;
    return std::make_pair(value, i);
}

bool StartsNumber(const std::u32string& s, size_t i) {
    return DigitValue(s[i]) >= 0 || s[i] == U'十';
}

// One checkable statement of a body sentence.
struct Claim {
    enum class Kind { Territory, Liberties } kind = Kind::Territory;
    Colour colour = Colour::None;
    bool triangle = false;
    int value = 0;
};

// Claims read from one sentence. Only two forms are taken, because only they tie a number to
// something on the board without reading the sentence's meaning: "黒の地は３６目" (a number of
// 目 with the colour named before it, in a sentence about 地; 目半 is komi) and
// "白△の活路は２つ" / "黒石の活路は８つ" (the first number after 活路は).
std::vector<Claim> ClaimsOf(const std::u32string& sentence) {
    std::vector<Claim> claims;
    auto colourBefore = [&](size_t end) {
        for (size_t i = end; i-- > 0;) {
            if (sentence[i] == U'黒') return Colour::Black;
            if (sentence[i] == U'白') return Colour::White;
        }
        return Colour::None;
    };
    if (sentence.find(U'地') != std::u32string::npos) {
        for (size_t i = 0; i < sentence.size(); ++i) {
            if (!StartsNumber(sentence, i) || (i > 0 && StartsNumber(sentence, i - 1))) continue;
            const auto number = NumberAt(sentence, i);
            const size_t after = number->second;
            if (after >= sentence.size() || sentence[after] != U'目') continue;
            if (after + 1 < sentence.size() && sentence[after + 1] == U'半') continue;
            const Colour c = colourBefore(i);
            if (c != Colour::None)
                claims.push_back({Claim::Kind::Territory, c, false, number->first});
        }
    }
    for (size_t at = sentence.find(U"の活路は"); at != std::u32string::npos;
         at = sentence.find(U"の活路は", at + 1)) {
        size_t head = at;
        bool triangle = false;
        if (head > 0 && (sentence[head - 1] == U'△' || sentence[head - 1] == U'石')) {
            triangle = sentence[head - 1] == U'△';
            --head;
        }
        if (head == 0 || (sentence[head - 1] != U'黒' && sentence[head - 1] != U'白')) continue;
        const Colour c = sentence[head - 1] == U'黒' ? Colour::Black : Colour::White;
        for (size_t i = at + 4; i < sentence.size(); ++i) {
            if (!StartsNumber(sentence, i)) continue;
            claims.push_back({Claim::Kind::Liberties, c, triangle, NumberAt(sentence, i)->first});
            break;
        }
    }
    return claims;
}

// --- The page replay ---------------------------------------------------------------------

// Window covers x 258..766, y 537..681 on screen while shown (window mode 1).
bool UnderTextWindow(int boardSize, Point p) {
    const lesson::PixelPoint at = lesson::PointPosition(boardSize, p.first, p.second);
    const lesson::PixelPoint next = lesson::PointPosition(boardSize, p.first + 1, p.second + 1);
    const int half = (next.x - at.x) / 2;
    return at.x + half > 258 && at.x - half < 766 && at.y + half > 537 && at.y - half < 681;
}

class PageLint {
public:
    PageLint(const CompiledPage& page, const CompileOptions& options,
             std::vector<Diagnostic>& findings)
        : m_page(page), m_options(options), m_findings(findings), m_size(page.header.boardSize) {}

    void Run() {
        const PageSource& src = m_page.source;
        const bool aboutPrisoners = Mentions(U"アゲハマ");
        std::set<std::set<Point>> reported;
        Colour lastMover = Colour::None;
        for (size_t s = 0; s < m_page.steps.size(); ++s) {
            const auto& step = m_page.steps[s];
            std::set<Point> captured;
            // Territory is judged on the position the step starts from: stones a step puts
            // down together (a diagram) make a position, they do not fill one.
            const Position stepStart(m_board, m_size);
            for (size_t e = 0; e < step.size(); ++e) {
                const int line = src.entryLines[s][e];
                int x = 0;
                int y = 0;
                if (!lesson::EntryPoint(step[e], m_size, m_options.mirrorFullBoard, x, y)) continue;
                const Point p{x, y};
                const Position before(m_board, m_size);
                const Colour was = before.At(p);
                if (step[e].code == 0 && was != Colour::None && !captured.contains(p)) {
                    const std::set<Point> group = before.Group(p);
                    if (before.Liberties(group).empty()) {
                        captured.insert(group.begin(), group.end());
                    } else {
                        Report("clear", line,
                               "clear of the " + std::string(ColourName(was)) + " stone at " +
                                   PointName(p, m_size) +
                                   ", which has liberties: only captured stones leave the board");
                    }
                }
                lesson::MergeEntries(m_board, {&step[e], 1}, m_size, m_options.mirrorFullBoard);
                m_lastLine[p] = line;
                const Colour now = StoneColour(m_board.At(x, y));
                if (now != Colour::None && was == Colour::None) lastMover = now;
                if (s + 1 == m_page.steps.size()) m_lastStep.insert(p);
                if (aboutPrisoners && was == Colour::None && stepStart.At(p) == Colour::None &&
                    now != Colour::None) {
                    // A prisoner goes back into the territory of its own colour.
                    const Position::Region region = stepStart.EmptyRegion(p);
                    if (region.owner != Colour::None && region.owner != now) {
                        Report(
                            "prisoner", line,
                            std::string(ColourName(now)) + " stone at " + PointName(p, m_size) +
                                " fills " + ColourName(region.owner) +
                                "'s territory: a prisoner fills the territory of its own colour");
                    }
                }
            }
            const Position after(m_board, m_size);
            // Groups of the side that did not move last are captured ones left standing; the
            // mover's own stones only count when they stay without liberty once those are gone
            // (the capturing stone has none until the captured ones leave).
            std::vector<std::set<Point>> airless;
            std::set<Point> taken;
            for (const std::set<Point>& group : after.Groups()) {
                if (!after.Liberties(group).empty()) continue;
                airless.push_back(group);
                if (after.At(*group.begin()) != lastMover) taken.insert(group.begin(), group.end());
            }
            for (const std::set<Point>& group : airless) {
                const Colour c = after.At(*group.begin());
                if (c == lastMover && !taken.empty()) {
                    bool breathes = false;
                    for (const Point& p : group) {
                        for (const Point& n : Position::Neighbours(p))
                            breathes = breathes || taken.contains(n);
                    }
                    if (breathes) continue;
                }
                if (reported.contains(group)) continue;
                reported.insert(group);
                Report("no-liberty", src.stepLines[s],
                       std::string(ColourName(c)) + " stones " + PointList(group, m_size) +
                           " have no liberty after this step: clear them in the step that "
                           "captures them");
            }
        }
        CheckCounts();
        CheckWindow();
    }

private:
    bool Mentions(std::u32string_view word) const {
        if (Decode(m_page.source.caption).find(word) != std::u32string::npos) return true;
        for (const auto& [line, text] : m_page.source.bodyLines) {
            if (Decode(text).find(word) != std::u32string::npos) return true;
        }
        return false;
    }

    void Report(const char* rule, int line, std::string message) {
        if (m_page.source.allowed.contains(rule)) return;
        m_findings.push_back(
            Diagnostic{m_options.fileName, line, std::move(message) + " [" + rule + "]", rule});
    }

    void CheckCounts() {
        const Position final(m_board, m_size);
        // A page without stones speaks of an earlier page's diagram.
        if (final.Groups().empty()) return;
        for (const auto& [line, text] : m_page.source.bodyLines) {
            std::u32string body = Decode(text);
            for (size_t at = body.find(U"::"); at != std::u32string::npos; at = body.find(U"::"))
                body.erase(at, 2);
            size_t start = 0;
            while (start < body.size()) {
                size_t end = body.find(U'。', start);
                if (end == std::u32string::npos) end = body.size();
                for (const Claim& claim : ClaimsOf(body.substr(start, end - start))) {
                    Check(final, claim, line);
                }
                start = end + 1;
            }
        }
    }

    void Check(const Position& final, const Claim& claim, int line) {
        const char* colour = ColourName(claim.colour);
        if (claim.kind == Claim::Kind::Territory) {
            int total = 0;
            std::set<int> regions;
            for (const Position::Region& r : final.Regions()) {
                if (r.owner != claim.colour) continue;
                total += int(r.points.size());
                regions.insert(int(r.points.size()));
            }
            // The text may name all of a colour's territory or the one area the page shows.
            if (claim.value == total || regions.contains(claim.value)) return;
            Report(
                "count", line,
                "the text says " + std::string(colour) + " has " + std::to_string(claim.value) +
                    " points of territory; the final position has " + std::to_string(total) +
                    (regions.size() > 1 ? " in " + std::to_string(regions.size()) + " areas" : ""));
            return;
        }
        // The liberties of the marked stones, or of the colour's only group; anything else is
        // not tied to one group and is left alone.
        std::set<std::set<Point>> groups;
        for (const std::set<Point>& g : final.Groups()) {
            if (final.At(*g.begin()) != claim.colour) continue;
            bool marked = false;
            for (const Point& p : g) marked = marked || IsTriangle(final.Code(p));
            if (!claim.triangle || marked) groups.insert(g);
        }
        if (groups.size() != 1) return;
        const size_t liberties = final.Liberties(*groups.begin()).size();
        if (liberties == size_t(claim.value)) return;
        Report("count", line,
               "the text gives the " + std::string(colour) + (claim.triangle ? " marked" : "") +
                   " stones " + std::to_string(claim.value) + " liberties; on the final position " +
                   PointList(*groups.begin(), m_size) + " have " + std::to_string(liberties));
    }

    void CheckWindow() {
        if (m_page.header.windowMode != 1 || m_page.steps.empty()) return;
        std::set<Point> hidden;
        int line = 0;
        for (int y = 0; y < m_size; ++y) {
            for (int x = 0; x < m_size; ++x) {
                const lesson::PointCode code = m_board.At(x, y);
                // Arrow values 1 and 2 draw nothing.
                const bool drawn = lesson::StoneLayer(code) != 0 || lesson::ArrowLayer(code) > 2 ||
                                   lesson::NumberField(code) != 0;
                if (!drawn || !m_lastStep.contains({x, y}) || !UnderTextWindow(m_size, {x, y}))
                    continue;
                hidden.insert({x, y});
                line = std::max(line, m_lastLine[{x, y}]);
            }
        }
        if (hidden.empty()) return;
        Report("under-window", line,
               PointList(hidden, m_size) +
                   " lie under the text window at the end of the page: move the diagram or "
                   "give the page another window mode");
    }

    const CompiledPage& m_page;
    const CompileOptions& m_options;
    std::vector<Diagnostic>& m_findings;
    int m_size;
    lesson::LessonBoard m_board;
    // The source line that last changed each point.
    std::map<Point, int> m_lastLine;
    // Points the page's last step changes: what the page ends by showing.
    std::set<Point> m_lastStep;
};

}  // namespace

void LintLesson(const CompiledLesson& lesson, const CompileOptions& options,
                std::vector<Diagnostic>& findings) {
    for (const CompiledPage& page : lesson.pages) PageLint(page, options, findings).Run();
}

}  // namespace lessonc
