#include "ProblemCompiler.h"
#include "common/Cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>

#include "progress/Curriculum.h"

namespace sgf2problem {

std::string Diagnostic::Format() const {
    std::string out = file + ":" + std::to_string(line) + ": ";
    if (problem > 0) out += "problem " + std::to_string(problem) + ": ";
    return out + message + (rule.empty() ? "" : " [" + rule + "]");
}

uint32_t MakeWord(int fileCode, int aux, int x, int y) {
    return uint32_t(uint8_t(fileCode)) | uint32_t(uint8_t(aux)) << 8 | uint32_t(uint8_t(x)) << 16 |
           uint32_t(uint8_t(int8_t(y))) << 24;
}

uint32_t MakeBranch(int lo, int hi) {
    return uint32_t(uint16_t(lo)) | uint32_t(uint16_t(int16_t(hi))) << 16;
}

namespace {

// File kind codes written by the compiler.
constexpr int kLetterCode = 0;
constexpr int kBlackCode = 1;
constexpr int kWhiteCode = 2;
constexpr int kMarkCode = 16;
constexpr int kMarkedBlackCode = 17;
constexpr int kMarkedWhiteCode = 18;
constexpr int kAnswerPointCode = 49;

// Problem kinds of the dialect and the problem codes they compile to.
struct KindName {
    const char* name;
    int code;
};
constexpr KindName kKinds[] = {{"sequence", 6}, {"ox", 1},    {"letter", 2}, {"points", 4},
                               {"number", 5},   {"texts", 7}, {"shown", 11}};
constexpr const char* kLetters[3] = {"ア", "イ", "ウ"};

// The failure of one problem; caught per problem so that the others are still checked.
struct ProblemError {
    int line;
    std::string message;
};

[[noreturn]] void Fail(int line, std::string message) {
    throw ProblemError{line, std::move(message)};
}

struct Point {
    int col;
    int row;
};

// A move of a variation line.
struct Move {
    bool black;
    Point point;
    int line;
};

// A root-to-leaf path of the tree: its moves and the comment of its last node.
struct Line {
    std::vector<Move> moves;
    std::string lastComment;
    int line;
};

// Safe for the bytes of UTF-8 text, unlike std::isdigit on a plain char.
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int ParseInt(const sgf::Property& p, int lo, int hi) {
    if (p.values.size() != 1) Fail(p.line, p.id + " takes one value");
    const std::string& v = p.values[0];
    int n = 0;
    if (v.empty() || v.size() > 4 || !std::all_of(v.begin(), v.end(), IsDigit)) {
        Fail(p.line, p.id + "[" + v + "] is not a number");
    }
    n = std::stoi(v);
    if (n < lo || n > hi) {
        Fail(p.line, p.id + "[" + v + "] is out of range " + std::to_string(lo) + ".." +
                         std::to_string(hi));
    }
    return n;
}

Point ParsePoint(const std::string& v, int size, int line) {
    if (v.size() != 2 || v[0] < 'a' || v[0] > 'z' || v[1] < 'a' || v[1] > 'z') {
        Fail(line, "'" + v + "' is not a board point");
    }
    const Point p{v[0] - 'a', v[1] - 'a'};
    if (p.col >= size || p.row >= size) Fail(line, "point '" + v + "' is off the board");
    return p;
}

// Every point of a property, with "aa:cc" rectangles expanded.
std::vector<Point> ParsePointList(const sgf::Property& p, int size) {
    std::vector<Point> points;
    for (const std::string& v : p.values) {
        const size_t colon = v.find(':');
        if (colon == std::string::npos) {
            points.push_back(ParsePoint(v, size, p.line));
            continue;
        }
        const Point a = ParsePoint(v.substr(0, colon), size, p.line);
        const Point b = ParsePoint(v.substr(colon + 1), size, p.line);
        for (int c = std::min(a.col, b.col); c <= std::max(a.col, b.col); ++c) {
            for (int r = std::min(a.row, b.row); r <= std::max(a.row, b.row); ++r) {
                points.push_back({c, r});
            }
        }
    }
    return points;
}

void CollectLines(const sgf::Tree& tree, int size, std::vector<Move>& moves,
                  std::vector<Line>& lines) {
    const size_t mark = moves.size();
    for (const sgf::Node& node : tree.nodes) {
        for (const char* colour : {"B", "W"}) {
            if (const sgf::Property* p = node.Find(colour)) {
                if (p->values.size() != 1 || p->values[0].empty() || p->values[0] == "tt") {
                    Fail(p->line, "a pass or a move without a point cannot be an answer");
                }
                moves.push_back(
                    {colour[0] == 'B', ParsePoint(p->values[0], size, p->line), node.line});
            }
        }
    }
    if (tree.children.empty()) {
        const sgf::Node& last = tree.nodes.back();
        const sgf::Property* c = last.Find("C");
        lines.push_back({moves, c != nullptr && !c->values.empty() ? c->values[0] : "", last.line});
    }
    for (const sgf::Tree& child : tree.children) CollectLines(child, size, moves, lines);
    moves.resize(mark);
}

// One setup entry while it is being assembled.
struct SetupEntry {
    int code;
    int aux;
    Point point;
};

class ProblemBuilder {
public:
    explicit ProblemBuilder(const sgf::Tree& tree) : m_tree(tree), m_root(tree.nodes.front()) {}

    // Builds the entry, then what the teacher says about it (which needs the entry's window).
    ProblemEntry Build(explanations::ProblemExplanation& explanation) {
        ReadHeader();
        ReadSetup();
        std::vector<Move> moves;
        CollectLines(m_tree, m_size, moves, m_lines);
        switch (m_entry.code) {
            case 6:
                BuildSequence();
                break;
            case 2:
                BuildLetter();
                break;
            case 4:
                BuildPoints();
                break;
            case 1:
            case 5:
                BuildValue();
                break;
            case 7:
                BuildTexts();
                break;
            default:
                BuildShown();
                break;
        }
        Finish();
        explanation = Explain();
        return m_entry;
    }

private:
    void ReadHeader() {
        const sgf::Property* kd = m_root.Find("KD");
        if (kd == nullptr) Fail(m_root.line, "no problem kind (KD) in the first node");
        if (kd->values.size() != 1) Fail(kd->line, "KD takes one value");
        const std::string& name = kd->values[0];
        const auto it = std::find_if(std::begin(kKinds), std::end(kKinds),
                                     [&](const KindName& k) { return name == k.name; });
        if (it == std::end(kKinds)) {
            Fail(kd->line, "unknown kind KD[" + name +
                               "] (sequence, ox, letter, points, number, texts or shown)");
        }
        m_entry.code = uint8_t(it->code);
        const sgf::Property* qi = m_root.Find("QI");
        if (qi == nullptr) Fail(m_root.line, "no question index (QI) in the first node");
        m_entry.question = uint8_t(ParseInt(*qi, 0, kMaxQuestion));
        if (const sgf::Property* ci = m_root.Find("CI")) {
            m_entry.caption = uint8_t(ParseInt(*ci, 0, kMaxCaption));
        }
        if (const sgf::Property* sz = m_root.Find("SZ")) {
            m_size = ParseInt(*sz, 1, 19);
            if (m_size != 13 && m_size != 19) Fail(sz->line, "board size must be 13 or 19");
        }
        if (const sgf::Property* pl = m_root.Find("PL")) {
            if (pl->values.size() != 1 || (pl->values[0] != "B" && pl->values[0] != "W")) {
                Fail(pl->line, "PL must be B or W");
            }
            m_whiteToPlay = pl->values[0] == "W";
        }
    }

    SetupEntry* EntryAt(Point p) {
        for (SetupEntry& e : m_setup) {
            if (e.point.col == p.col && e.point.row == p.row) return &e;
        }
        return nullptr;
    }

    void ReadSetup() {
        for (const sgf::Property& p : m_root.properties) {
            if (p.id != "AB" && p.id != "AW") continue;
            for (Point pt : ParsePointList(p, m_size)) {
                if (EntryAt(pt) != nullptr) Fail(p.line, "two setup stones on one point");
                m_setup.push_back({p.id == "AB" ? kBlackCode : kWhiteCode, 0, pt});
            }
        }
        if (const sgf::Property* tr = m_root.Find("TR")) {
            for (Point pt : ParsePointList(*tr, m_size)) {
                SetupEntry* e = EntryAt(pt);
                if (e == nullptr) {
                    m_setup.push_back({kMarkCode, 0, pt});
                } else if (e->code == kBlackCode || e->code == kWhiteCode) {
                    e->code = e->code == kBlackCode ? kMarkedBlackCode : kMarkedWhiteCode;
                } else {
                    Fail(tr->line, "TR twice on one point");
                }
            }
        }
        if (const sgf::Property* lb = m_root.Find("LB")) ReadLabels(*lb);
    }

    void ReadLabels(const sgf::Property& lb) {
        for (const std::string& v : lb.values) {
            const size_t colon = v.find(':');
            if (colon == std::string::npos) Fail(lb.line, "LB value '" + v + "' has no ':'");
            const Point pt = ParsePoint(v.substr(0, colon), m_size, lb.line);
            const std::string text = v.substr(colon + 1);
            SetupEntry* e = EntryAt(pt);
            const bool isNumber =
                !text.empty() && text.size() <= 3 && std::all_of(text.begin(), text.end(), IsDigit);
            if (isNumber) {
                const int n = std::stoi(text);
                if (e == nullptr || e->code == kMarkCode || n < 1 || n > 255) {
                    Fail(lb.line, "a number label needs a stone and a value 1..255");
                }
                e->aux = n;
                continue;
            }
            const auto it = std::find(std::begin(kLetters), std::end(kLetters), text);
            if (it == std::end(kLetters)) {
                Fail(lb.line, "label '" + text + "' is neither ア, イ, ウ nor a number");
            }
            if (e != nullptr) Fail(lb.line, "letter " + text + " on an occupied point");
            m_setup.push_back({kLetterCode, int(it - std::begin(kLetters)), pt});
        }
    }

    std::vector<const Line*> RightLines() const {
        std::vector<const Line*> right;
        for (const Line& l : m_lines) {
            if (l.lastComment.find("RIGHT") != std::string::npos) right.push_back(&l);
        }
        if (right.empty()) {
            Fail(m_root.line, "no correct answer: no variation ends in a comment containing RIGHT");
        }
        return right;
    }

    void AddBranch(const std::vector<uint32_t>& words) {
        const int lo = int(m_answers.size());
        m_answers.insert(m_answers.end(), words.begin(), words.end());
        m_entry.branches.push_back(MakeBranch(lo, int(m_answers.size())));
    }

    void BuildSequence() {
        if (m_whiteToPlay) Fail(m_root.line, "a sequence problem starts with black (PL[B])");
        const std::vector<const Line*> right = RightLines();
        if (int(right.size()) > kMaxBranches) {
            Fail(right[kMaxBranches]->line,
                 "more than " + std::to_string(kMaxBranches) + " correct lines");
        }
        for (const Line* l : right) {
            if (l->moves.empty()) Fail(l->line, "a correct line without moves");
            if (int(l->moves.size()) > kMaxMovesPerLine) {
                Fail(l->line,
                     "a correct line longer than " + std::to_string(kMaxMovesPerLine) + " moves");
            }
            if (EntryAt(l->moves[0].point) != nullptr) {
                Fail(l->moves[0].line, "the first answer move is on an occupied point");
            }
            std::vector<uint32_t> words;
            for (size_t i = 0; i < l->moves.size(); ++i) {
                const Move& m = l->moves[i];
                if (m.black != (i % 2 == 0)) {
                    Fail(m.line, "moves of a correct line must alternate, black first");
                }
                words.push_back(Word(m.black ? kBlackCode : kWhiteCode, 0, m.point));
            }
            AddBranch(words);
        }
    }

    void BuildLetter() {
        const std::vector<const Line*> right = RightLines();
        if (right.size() != 1 || right[0]->moves.size() != 1) {
            Fail(right[0]->line, "a letter problem has one correct line of one move");
        }
        const Move& m = right[0]->moves[0];
        const SetupEntry* e = EntryAt(m.point);
        if (e == nullptr || e->code != kLetterCode) {
            Fail(m.line, "the correct move of a letter problem must be on a letter");
        }
        AddBranch({Word(kLetterCode, e->aux, m.point)});
    }

    void BuildPoints() {
        const std::vector<const Line*> right = RightLines();
        if (right.size() != 1) Fail(right[1]->line, "a points problem has one correct line");
        const Line& l = *right[0];
        if (l.moves.empty() || int(l.moves.size()) > kMaxAnswerPoints) {
            Fail(l.line,
                 "a points problem has 1.." + std::to_string(kMaxAnswerPoints) + " answer points");
        }
        std::vector<uint32_t> words;
        for (size_t i = 0; i < l.moves.size(); ++i) {
            for (size_t k = 0; k < i; ++k) {
                if (l.moves[k].point.col == l.moves[i].point.col &&
                    l.moves[k].point.row == l.moves[i].point.row) {
                    Fail(l.moves[i].line, "an answer point given twice");
                }
            }
            words.push_back(Word(kAnswerPointCode, 0, l.moves[i].point));
        }
        AddBranch(words);
    }

    void RejectMoves() const {
        for (const Line& l : m_lines) {
            if (!l.moves.empty()) Fail(l.moves[0].line, "this kind takes no moves");
        }
    }

    void BuildValue() {
        RejectMoves();
        int value = 0;
        if (m_entry.code == 1) {
            const sgf::Property* ox = m_root.Find("OX");
            if (ox == nullptr) Fail(m_root.line, "no correct answer: OX[o] or OX[x] is missing");
            const std::string v = ox->values.size() == 1 ? ox->values[0] : "";
            if (v != "o" && v != "x" && v != "○" && v != "×") {
                Fail(ox->line, "OX must be o or x");
            }
            value = (v == "o" || v == "○") ? 1 : 0;
        } else {
            const sgf::Property* nu = m_root.Find("NU");
            if (nu == nullptr) Fail(m_root.line, "no correct answer: NU[1..99] is missing");
            value = ParseInt(*nu, 1, 99);
        }
        m_answers.push_back(MakeWord(0, 0, value, 0));
        m_entry.branches.push_back(MakeBranch(0, 1));
    }

    void BuildTexts() {
        RejectMoves();
        const sgf::Property* ch = m_root.Find("CH");
        if (ch == nullptr) Fail(m_root.line, "no correct answer: CH with three texts is missing");
        if (ch->values.size() != 3) Fail(ch->line, "CH takes exactly three texts");
        std::vector<uint8_t> bytes(3);
        std::string texts;
        for (int t = 0; t < 3; ++t) {
            const std::optional<std::string> sjis = tools::Utf8ToCp932(ch->values[size_t(t)]);
            if (!sjis) {
                Fail(ch->line, "text " + std::to_string(t + 1) + " '" + ch->values[size_t(t)] +
                                   "' has a character outside Shift_JIS (CP932)");
            }
            if (sjis->empty() || sjis->size() > size_t(kMaxChoiceBytes)) {
                Fail(ch->line, "text " + std::to_string(t + 1) + " is " +
                                   std::to_string(sjis->size()) + " bytes in Shift_JIS (1.." +
                                   std::to_string(kMaxChoiceBytes) + " allowed)");
            }
            bytes[size_t(t)] = uint8_t(sjis->size());
            texts += *sjis;
        }
        bytes.insert(bytes.end(), texts.begin(), texts.end());
        bytes.resize((bytes.size() + 3) / 4 * 4, 0);
        m_textBytes = std::move(bytes);
    }

    void BuildShown() {
        if (m_size != 19) Fail(m_root.line, "a shown sequence is shown on the whole board: SZ[19]");
        if (m_lines.empty() || m_lines[0].moves.empty()) {
            Fail(m_root.line, "a shown sequence needs moves in its main line");
        }
        int number = 0;
        for (const Move& m : m_lines[0].moves) {
            if (++number > 255) Fail(m.line, "more than 255 moves in a shown sequence");
            m_setup.push_back({m.black ? kBlackCode : kWhiteCode, number, m.point});
        }
    }

    // A comment as the balloon shows it: Shift_JIS, line breaks dropped (the balloon wraps),
    // spaces at the ends trimmed.
    static std::string CommentText(const std::string& utf8, int line) {
        std::string text;
        for (char c : utf8) {
            if (c != '\r' && c != '\n') text += c;
        }
        const size_t first = text.find_first_not_of(" \t");
        text = first == std::string::npos
                   ? ""
                   : text.substr(first, text.find_last_not_of(" \t") - first + 1);
        const std::optional<std::string> sjis = tools::Utf8ToCp932(text);
        if (!sjis) Fail(line, "comment '" + text + "' has a character outside Shift_JIS (CP932)");
        if (int(sjis->size()) > explanations::kMaxTextBytes) {
            Fail(line, "comment '" + text + "' is " + std::to_string(sjis->size()) +
                           " bytes in Shift_JIS (at most " +
                           std::to_string(explanations::kMaxTextBytes) + ")");
        }
        return *sjis;
    }

    static bool IsRight(const Line& l) { return l.lastComment.find("RIGHT") != std::string::npos; }

    // A move in the coordinates of the record's answer entries, as the loader maps them.
    explanations::LineMove RecordMove(Point p) const {
        const int fileRow = m_size == 19 ? p.row : 18 - p.row;
        return {uint8_t(p.col), uint8_t(m_fullBoard ? fileRow : 18 - fileRow)};
    }

    explanations::ProblemExplanation Explain() const {
        explanations::ProblemExplanation e;
        if (const sgf::Property* c = m_root.Find("C"); c != nullptr && !c->values.empty()) {
            e.hint = CommentText(c->values[0], c->line);
        }
        const sgf::Property* cr = m_root.Find("CR");
        const sgf::Property* cw = m_root.Find("CW");
        const int code = m_entry.code;
        const bool choice = code == 1 || code == 5 || code == 7;
        if (const sgf::Property* p = cr != nullptr ? cr : cw; p != nullptr && !choice) {
            Fail(p->line,
                 "CR and CW explain ox, number and texts problems; lines explain the others");
        }
        if (choice) {
            if (cr != nullptr && cr->values.size() != 1) Fail(cr->line, "CR takes one value");
            e.right.push_back(cr != nullptr ? CommentText(cr->values[0], cr->line) : "");
            if (cw != nullptr) {
                const size_t most = code == 7 ? 2 : 1;
                if (cw->values.size() > most) {
                    Fail(cw->line, code == 7 ? "CW takes one value per wrong text, or one for both"
                                             : "CW takes one value");
                }
                for (const std::string& v : cw->values)
                    e.wrong.push_back({{}, CommentText(v, cw->line)});
            }
            return e;
        }
        if (code != 2 && code != 4 && code != 6) return e;  // shown: nothing is judged
        for (const Line& l : m_lines) {
            if (IsRight(l)) {
                std::string text = l.lastComment;
                for (size_t at; (at = text.find("RIGHT")) != std::string::npos;) text.erase(at, 5);
                e.right.push_back(CommentText(text, l.line));
                continue;
            }
            if (l.moves.empty()) continue;
            explanations::WrongTry wrong{{}, CommentText(l.lastComment, l.line)};
            // A try without a comment says nothing; the screen's own words stand in for it.
            if (wrong.comment.empty()) continue;
            if (int(l.moves.size()) > explanations::kMaxMoves) {
                Fail(l.line, "a wrong line longer than " + std::to_string(explanations::kMaxMoves) +
                                 " moves");
            }
            for (const Move& m : l.moves) wrong.moves.push_back(RecordMove(m.point));
            e.wrong.push_back(std::move(wrong));
        }
        if (int(e.wrong.size()) > explanations::kMaxWrong) {
            Fail(m_root.line,
                 "more than " + std::to_string(explanations::kMaxWrong) + " commented wrong lines");
        }
        return e;
    }

    // File coordinates of a board point: rows of a 13 board are the bottom-left corner of
    // the file's 19 x 19 board, which the loader flips back.
    uint32_t Word(int code, int aux, Point p) const {
        return MakeWord(code, aux, p.col, m_size == 19 ? p.row : 18 - p.row);
    }

    static bool InCorner(int x, int y) { return x <= 11 && y >= 8; }

    void Finish() {
        // Coordinates: 13-board problems must lie in the corner window; on the 19 board a
        // corner problem must keep its answers in the corner too.
        bool fullBoard = m_textBytes.empty() && m_answers.empty();
        for (const SetupEntry& e : m_setup) {
            const uint32_t w = Word(e.code, e.aux, e.point);
            if (!InCorner(int(w >> 16 & 0xFF), int(int8_t(w >> 24)))) {
                if (m_size == 13) {
                    Fail(m_root.line, "on SZ[13] every point must lie in columns a..l, rows a..k");
                }
                fullBoard = true;
            }
        }
        m_fullBoard = fullBoard;
        if (m_entry.code == 7 && fullBoard) {
            Fail(m_root.line, "a texts problem must fit the corner (columns a..l, rows i..s)");
        }
        if (!fullBoard && m_entry.code != 1 && m_entry.code != 5 && m_entry.code != 7) {
            for (uint32_t w : m_answers) {
                if (!InCorner(int(w >> 16 & 0xFF), int(int8_t(w >> 24)))) {
                    Fail(m_root.line,
                         "an answer lies outside the corner window this problem is shown in");
                }
            }
        }
        if (int(m_setup.size()) > kMaxSetupWords) Fail(m_root.line, "too many setup entries");
        int answerSlots = 0;
        for (uint32_t b : m_entry.branches) answerSlots += 1 + int(b >> 16) - int(b & 0xFFFF);
        if (int(m_setup.size()) + answerSlots > kMaxRecordEntries) {
            Fail(m_root.line, "too many stones: " + std::to_string(m_setup.size()) +
                                  " setup entries and " + std::to_string(answerSlots) +
                                  " answer entries exceed the " +
                                  std::to_string(kMaxRecordEntries) + " of a problem");
        }
        if (int(m_answers.size()) > kMaxAnswerWords) Fail(m_root.line, "too many answer moves");
        for (const SetupEntry& e : m_setup) m_entry.setup.push_back(Word(e.code, e.aux, e.point));
        if (!m_textBytes.empty()) {
            m_entry.answerBytes = m_textBytes;
        } else {
            for (uint32_t w : m_answers) {
                for (int b = 0; b < 4; ++b) m_entry.answerBytes.push_back(uint8_t(w >> (8 * b)));
            }
        }
    }

    const sgf::Tree& m_tree;
    const sgf::Node& m_root;
    int m_size = 19;
    bool m_whiteToPlay = false;
    // Whether the loader shows the problem on the whole board (else in the corner window).
    bool m_fullBoard = false;
    std::vector<SetupEntry> m_setup;
    std::vector<Line> m_lines;
    std::vector<uint32_t> m_answers;
    std::vector<uint8_t> m_textBytes;
    ProblemEntry m_entry;
};

// "chapter:section" of SC, both 1-based.
bool ParseSection(const sgf::Property& p, int& chapter, int& section) {
    if (p.values.size() != 1) return false;
    const std::string& v = p.values[0];
    const size_t colon = v.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 >= v.size() || v.size() > 5) {
        return false;
    }
    const std::string a = v.substr(0, colon), b = v.substr(colon + 1);
    if (!std::all_of(a.begin(), a.end(), IsDigit) || !std::all_of(b.begin(), b.end(), IsDigit)) {
        return false;
    }
    chapter = std::stoi(a);
    section = std::stoi(b);
    return true;
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int b = 0; b < 4; ++b) out.push_back(uint8_t(v >> (8 * b)));
}

}  // namespace

SectionBlock CompileSection(const std::vector<sgf::Tree>& trees, const std::string& fileName,
                            int course, std::vector<Diagnostic>& errors) {
    SectionBlock block;
    block.file = fileName;
    block.line = trees.empty() ? 1 : trees[0].line;
    const sgf::Property* sc = trees.empty() ? nullptr : trees[0].nodes.front().Find("SC");
    if (sc == nullptr) {
        errors.push_back({fileName, block.line, 0,
                          "the first problem must name its section: SC[chapter:section]"});
        return block;
    }
    if (!ParseSection(*sc, block.chapter, block.section)) {
        errors.push_back({fileName, sc->line, 0, "SC must be chapter:section, e.g. SC[1:3]"});
        return block;
    }
    const int limit = curriculum::ProblemCountAt(course, block.chapter - 1, block.section - 1);
    if (limit < 1) {
        errors.push_back({fileName, sc->line, 0,
                          "course " + std::to_string(course + 1) + " has no problems in chapter " +
                              std::to_string(block.chapter) + " section " +
                              std::to_string(block.section)});
        return block;
    }
    if (int(trees.size()) > limit) {
        errors.push_back({fileName, trees[size_t(limit)].line, limit + 1,
                          "the section holds only " + std::to_string(limit) + " problems"});
    }
    for (size_t i = 0; i < trees.size(); ++i) {
        const int number = int(i) + 1;
        try {
            if (const sgf::Property* other = trees[i].nodes.front().Find("SC")) {
                int c = 0, s = 0;
                if (i > 0 &&
                    (!ParseSection(*other, c, s) || c != block.chapter || s != block.section)) {
                    Fail(other->line,
                         "SC differs from the first problem's; one file is one section");
                }
            }
            explanations::ProblemExplanation explanation;
            block.problems.push_back(ProblemBuilder(trees[i]).Build(explanation));
            block.explanations.push_back(std::move(explanation));
        } catch (const ProblemError& e) {
            errors.push_back({fileName, e.line, number, e.message});
        }
    }
    return block;
}

SectionBlock CompileSectionText(std::string_view text, const std::string& fileName, int course,
                                std::vector<Diagnostic>& errors) {
    std::vector<sgf::Tree> trees;
    try {
        trees = sgf::ParseCollection(text);
    } catch (const sgf::SyntaxError& e) {
        errors.push_back(
            {fileName, e.Line(), 0, "column " + std::to_string(e.Column()) + ": " + e.what()});
        return SectionBlock{0, 0, {}, {}, fileName, e.Line()};
    }
    return CompileSection(trees, fileName, course, errors);
}

namespace {

// What each question of the table tells the learner to do, by index 0..56.
enum class Asks : uint8_t {
    Play,     // "碁盤に石を打って", "取ってみましょう", ...: moves on the board
    MarkAll,  // "すべて選択", "すべて押さえて": every answer point
    MarkOne,  // "位置を選択": points or one lettered point
    Letter,   // "アとイのいずれか一つを選択"
    OX,       // "○を、…×を選択"
    Count,    // "目数を入力"
};
using enum Asks;
constexpr Asks kQuestionAsks[] = {
    MarkAll, MarkAll, OX,    MarkAll, Play, Play,  MarkAll, Letter, Letter, Play,     // 0-9
    OX,      Play,    Play,  Letter,  OX,   Play,  Play,    Play,   Play,   Play,     // 10-19
    OX,      Play,    OX,    Play,    Play, Play,  Play,    OX,     Play,   Play,     // 20-29
    Play,    Count,   Count, Play,    OX,   Play,  Play,    Play,   Play,   MarkOne,  // 30-39
    Play,    OX,      Play,  Play,    Play, Play,  Play,    Play,   Play,   Play,     // 40-49
    Play,    Play,    Play,  Play,    Play, Count, Count,                             // 50-56
};
static_assert(std::size(kQuestionAsks) == kMaxQuestion + 1);

std::string Joined(const std::vector<std::string>& names) {
    std::string out;
    for (size_t i = 0; i < names.size(); ++i)
        out += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
    return out;
}

// A line of the tree as the explanation lint sees it: whether it has moves, its last
// node's comment and that node's line.
struct LintLine {
    bool moves;
    std::string comment;
    int line;
};

void CollectLintLines(const sgf::Tree& tree, bool moves, std::vector<LintLine>& out) {
    for (const sgf::Node& node : tree.nodes) {
        moves = moves || node.Find("B") != nullptr || node.Find("W") != nullptr;
    }
    if (tree.children.empty() && !tree.nodes.empty()) {
        const sgf::Property* c = tree.nodes.back().Find("C");
        out.push_back({moves, c != nullptr && !c->values.empty() ? c->values[0] : "",
                       tree.nodes.back().line});
    }
    for (const sgf::Tree& child : tree.children) CollectLintLines(child, moves, out);
}

// Whether a comment says anything once the marker RIGHT and blanks are left out.
bool Says(std::string text) {
    for (size_t at; (at = text.find("RIGHT")) != std::string::npos;) text.erase(at, 5);
    return text.find_first_not_of(" \t\r\n") != std::string::npos;
}

// Findings of the explanation rule for one problem.
void LintExplanations(const sgf::Tree& tree, const std::string& kind, const std::string& fileName,
                      int number, std::vector<Diagnostic>& errors) {
    const sgf::Node& root = tree.nodes.front();
    const auto finding = [&](int line, const std::string& message) {
        errors.push_back({fileName, line, number, message, kExplainRule});
    };
    const sgf::Property* c = root.Find("C");
    if (c == nullptr || c->values.empty() || !Says(c->values[0])) {
        finding(root.line, "no hint: the first node's C is shown when the learner asks");
    }
    if (kind == "ox" || kind == "number" || kind == "texts") {
        if (root.Find("CR") == nullptr || root.Find("CW") == nullptr) {
            finding(root.line,
                    "no CR (why the answer is right) and CW (why the other answers are wrong) in "
                    "this " +
                        kind + " problem");
        }
        return;
    }
    std::vector<LintLine> lines;
    CollectLintLines(tree, false, lines);
    for (const LintLine& l : lines) {
        if (!l.moves) continue;
        if (l.comment.find("RIGHT") != std::string::npos) {
            if (!Says(l.comment)) finding(l.line, "a correct line without a comment beside RIGHT");
        } else if (!Says(l.comment)) {
            finding(l.line, "a wrong line without a comment saying why it fails");
        }
    }
}

}  // namespace

std::vector<std::string> KindsForQuestion(int question) {
    if (question < 0 || question > kMaxQuestion) return {};
    switch (kQuestionAsks[question]) {
        case Play:
            return {"sequence"};
        case MarkAll:
            return {"points"};
        case MarkOne:
            return {"points", "letter"};
        case Letter:
            return {"letter"};
        case OX:
            return {"ox"};
        case Count:
            return {"number"};
    }
    return {};
}

std::vector<std::string> ExpandedPoints(const sgf::Property& property) {
    std::vector<std::string> out;
    for (const std::string& v : property.values) {
        if (v.find(':') == std::string::npos || v.size() != 5) {
            out.push_back(v);
            continue;
        }
        for (char c = std::min(v[0], v[3]); c <= std::max(v[0], v[3]); ++c)
            for (char r = std::min(v[1], v[4]); r <= std::max(v[1], v[4]); ++r)
                out.push_back(std::string{c, r});
    }
    return out;
}

void LintSection(const std::vector<sgf::Tree>& trees, const std::string& fileName, int course,
                 std::vector<Diagnostic>& errors) {
    int chapter = 0, section = 0;
    const sgf::Property* sc = trees.empty() ? nullptr : trees[0].nodes.front().Find("SC");
    if (sc != nullptr && ParseSection(*sc, chapter, section)) {
        const int count = curriculum::ProblemCountAt(course, chapter - 1, section - 1);
        // More than the count is already a compile error; fewer leaves unsolvable records.
        if (count > 0 && int(trees.size()) < count) {
            errors.push_back({fileName, sc->line, 0,
                              "the section needs " + std::to_string(count) +
                                  " problems, the file has " + std::to_string(trees.size())});
        }
    }
    for (size_t i = 0; i < trees.size(); ++i) {
        if (trees[i].nodes.empty()) continue;
        const sgf::Node& root = trees[i].nodes.front();
        const int number = int(i) + 1;
        const sgf::Property* kd = root.Find("KD");
        const sgf::Property* qi = root.Find("QI");
        const std::string kind = kd != nullptr && kd->values.size() == 1 ? kd->values[0] : "";
        if (kind == "shown" && course == 0) {
            errors.push_back({fileName, kd->line, number,
                              "no shown problems in course 1: nothing in them is judged"});
        }
        if (qi != nullptr && qi->values.size() == 1 && !kind.empty() && kind != "shown") {
            const std::string& v = qi->values[0];
            const int question =
                !v.empty() && v.size() <= 2 && std::all_of(v.begin(), v.end(), IsDigit)
                    ? std::stoi(v)
                    : -1;
            const std::vector<std::string> fits = KindsForQuestion(question);
            if (!fits.empty() && std::find(fits.begin(), fits.end(), kind) == fits.end()) {
                errors.push_back({fileName, qi->line, number,
                                  "question " + v + " does not fit kind " + kind + "; it needs " +
                                      Joined(fits)});
            }
        }
        if (!kind.empty() && kind != "shown") {
            LintExplanations(trees[i], kind, fileName, number, errors);
        }
        const sgf::Property* tr = root.Find("TR");
        if (tr == nullptr) continue;
        std::vector<std::string> stones;
        for (const char* id : {"AB", "AW"})
            if (const sgf::Property* p = root.Find(id)) {
                const std::vector<std::string> points = ExpandedPoints(*p);
                stones.insert(stones.end(), points.begin(), points.end());
            }
        for (const std::string& v : tr->values) {
            if (std::find(stones.begin(), stones.end(), v) == stones.end()) {
                errors.push_back(
                    {fileName, tr->line, number,
                     "the mark TR[" + v + "] is on an empty point, where it is not drawn"});
            }
        }
    }
}

void LintSectionText(std::string_view text, const std::string& fileName, int course,
                     std::vector<Diagnostic>& errors) {
    try {
        LintSection(sgf::ParseCollection(text), fileName, course, errors);
    } catch (const sgf::SyntaxError&) {
        // Reported by the compiler.
    }
}

std::vector<uint8_t> ProblemBytes(const ProblemEntry& p) {
    std::vector<uint8_t> out{p.caption, p.code, p.question};
    PutU32(out, uint32_t(p.setup.size()));
    for (uint32_t w : p.setup) PutU32(out, w);
    PutU32(out, uint32_t(p.branches.size()));
    for (uint32_t w : p.branches) PutU32(out, w);
    PutU32(out, uint32_t(p.answerBytes.size() / 4));
    out.insert(out.end(), p.answerBytes.begin(), p.answerBytes.end());
    return out;
}

std::vector<uint8_t> CourseFileBytes(int course, std::vector<SectionBlock> sections,
                                     std::vector<Diagnostic>& errors) {
    std::stable_sort(sections.begin(), sections.end(), [](const auto& a, const auto& b) {
        return std::pair(a.chapter, a.section) < std::pair(b.chapter, b.section);
    });
    for (size_t i = 1; i < sections.size(); ++i) {
        if (sections[i].chapter == sections[i - 1].chapter &&
            sections[i].section == sections[i - 1].section) {
            errors.push_back({sections[i].file, sections[i].line, 0,
                              "section " + std::to_string(sections[i].chapter) + ":" +
                                  std::to_string(sections[i].section) + " also comes from " +
                                  sections[i - 1].file});
        }
    }
    if (int(sections.size()) > kMaxBlocks) {
        errors.push_back({sections[kMaxBlocks].file, sections[kMaxBlocks].line, 0,
                          "more than " + std::to_string(kMaxBlocks) + " sections in one course"});
    }
    std::vector<uint8_t> out(8, 0);
    for (const SectionBlock& s : sections) {
        std::vector<uint8_t> body;
        PutU32(body, uint32_t(s.problems.size()));
        for (const ProblemEntry& p : s.problems) {
            const std::vector<uint8_t> bytes = ProblemBytes(p);
            body.insert(body.end(), bytes.begin(), bytes.end());
        }
        out.push_back(uint8_t(course + 1));
        out.push_back(uint8_t(s.chapter));
        out.push_back(uint8_t(s.section));
        PutU32(out, uint32_t(body.size()));
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

namespace {

void PutText(std::vector<uint8_t>& out, const std::string& text) {
    out.push_back(uint8_t(text.size()));
    out.push_back(uint8_t(text.size() >> 8));
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

std::vector<uint8_t> CommentFileBytes(int course, std::vector<SectionBlock> sections) {
    std::stable_sort(sections.begin(), sections.end(), [](const auto& a, const auto& b) {
        return std::pair(a.chapter, a.section) < std::pair(b.chapter, b.section);
    });
    std::vector<uint8_t> out = {'C', 'M', 'N', 'T', 1, 0, 0, 0};
    for (const SectionBlock& s : sections) {
        std::vector<uint8_t> body;
        body.push_back(uint8_t(s.explanations.size()));
        body.push_back(uint8_t(s.explanations.size() >> 8));
        for (const explanations::ProblemExplanation& e : s.explanations) {
            PutText(body, e.hint);
            body.push_back(uint8_t(e.right.size()));
            for (const std::string& r : e.right) PutText(body, r);
            body.push_back(uint8_t(e.wrong.size()));
            for (const explanations::WrongTry& w : e.wrong) {
                body.push_back(uint8_t(w.moves.size()));
                for (const explanations::LineMove& m : w.moves) {
                    body.push_back(m.x);
                    body.push_back(m.y);
                }
                PutText(body, w.comment);
            }
        }
        out.push_back(uint8_t(course + 1));
        out.push_back(uint8_t(s.chapter));
        out.push_back(uint8_t(s.section));
        PutU32(out, uint32_t(body.size()));
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

}  // namespace sgf2problem
