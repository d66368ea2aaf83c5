#include "ProblemAnswers.h"

#include <algorithm>
#include <utility>

#include "problem/BoardGeometry.h"

namespace e2e {
namespace {

using Point = std::pair<int, int>;

std::string Click(int size, Point p) {
    int x = 0, y = 0;
    boardgeometry::CenterOf(size, p.first, p.second, x, y);
    return "click " + std::to_string(x) + " " + std::to_string(y);
}

// Presses the selection-up button `count` times, then decide.
std::vector<std::string> Choose(int upPresses) {
    std::vector<std::string> lines;
    for (int i = 0; i < upPresses; ++i) {
        lines.push_back("tap btn_scroll_up1");
        lines.push_back("wait 100");
    }
    lines.push_back("tap btn_set_sel1");
    return lines;
}

// Answer entries of a points or stones problem: the `answerParam` entries after the header.
std::vector<Point> MarkAnswers(const ProblemRecord& r) {
    std::vector<Point> out;
    for (int j = 0; j < r.answerParam && r.setupCount + 1 + j < ProblemRecord::kSlots; ++j) {
        const StoneEntry& e = r.slots[r.setupCount + 1 + j];
        out.emplace_back(e.x, e.y);
    }
    return out;
}

// The branches of a move problem: a header whose aux is the length, then its entries.
std::vector<std::vector<StoneEntry>> Branches(const ProblemRecord& r) {
    std::vector<std::vector<StoneEntry>> out;
    int w = r.setupCount;
    for (int b = 0; b < r.answerParam && w < ProblemRecord::kSlots; ++b) {
        const int length = r.slots[w].aux;
        if (length == 0 || w + 1 + length > ProblemRecord::kSlots) break;
        out.emplace_back(r.slots + w + 1, r.slots + w + 1 + length);
        w += 1 + length;
    }
    return out;
}

bool Occupied(const ProblemRecord& r, Point p) {
    for (int i = 0; i < r.setupCount && i < ProblemRecord::kSlots; ++i) {
        const StoneEntry& e = r.slots[i];
        if (e.kind != stone::kErased && e.x == p.first && e.y == p.second) return true;
    }
    return false;
}

// The first free point of the board, row by row, that is none of `avoid` and lies outside
// the strip the screen keeps for its buttons.
bool FreePointOutside(const ProblemRecord& r, int size, const std::vector<Point>& avoid,
                      Point& out) {
    for (int row = 0; row < size; ++row) {
        for (int col = 0; col < size; ++col) {
            const Point p{col, row};
            int x = 0, y = 0;
            boardgeometry::CenterOf(size, col, row, x, y);
            if (x >= 721 && y >= 166 && y < 240) continue;
            if (Occupied(r, p) || std::find(avoid.begin(), avoid.end(), p) != avoid.end()) {
                continue;
            }
            out = p;
            return true;
        }
    }
    return false;
}

}  // namespace

ScriptedAnswer AnswerFor(const ProblemRecord& r) {
    ScriptedAnswer a;
    const int size = r.IsFullBoard() ? 19 : 13;
    switch (r.Type()) {
        case 2:
            // Selection 0 is the circle, which is the answer 1.
            a.right = Choose(r.answerParam == 1 ? 0 : 1);
            a.wrong = Choose(r.answerParam == 1 ? 1 : 0);
            break;
        case 7:
            // Selection k shows the number k + 1.
            if (r.answerParam < 1 || r.answerParam > 99) {
                a.undrivable = "number answer out of the selectable range";
                break;
            }
            a.right = Choose(r.answerParam - 1);
            a.wrong = Choose(r.answerParam == 1 ? 1 : 0);
            break;
        case 8:
            if (r.answerParam > 2) {
                a.undrivable = "choice answer out of the three texts";
                break;
            }
            a.right = Choose(r.answerParam);
            a.wrong = Choose(r.answerParam == 0 ? 1 : 0);
            break;
        case 3: {
            // Letters are setup marks of kinds 4..6; the answer is the letter kind.
            bool haveRight = false, haveWrong = false;
            for (int i = 0; i < r.setupCount && i < ProblemRecord::kSlots; ++i) {
                const StoneEntry& e = r.slots[i];
                if (e.kind < 4 || e.kind > 6) continue;
                const Point p{e.x, e.y};
                if (e.kind == r.answerParam && !haveRight) {
                    a.right = {Click(size, p)};
                    haveRight = true;
                } else if (e.kind != r.answerParam && !haveWrong) {
                    a.wrong = {Click(size, p)};
                    haveWrong = true;
                }
            }
            if (!haveRight) a.undrivable = "no letter carries the answer";
            if (!haveWrong) a.undrivable = "no other letter to choose";
            break;
        }
        case 4:
        case 5: {
            const std::vector<Point> answers = MarkAnswers(r);
            if (answers.empty()) {
                a.undrivable = "no answer points";
                break;
            }
            for (const Point& p : answers) {
                if (!a.right.empty()) a.right.push_back("wait 150");
                a.right.push_back(Click(size, p));
            }
            Point wrong;
            if (!FreePointOutside(r, size, answers, wrong)) {
                a.undrivable = "no free point that is not an answer";
                break;
            }
            a.wrong = {Click(size, wrong)};
            break;
        }
        case 6: {
            if (r.turn != 0) {
                a.undrivable = "the reply side moves first: every learner move is judged wrong";
                break;
            }
            const std::vector<std::vector<StoneEntry>> branches = Branches(r);
            if (branches.empty()) {
                a.undrivable = "no answer line";
                break;
            }
            // The learner plays the even-numbered moves of the first line.
            const std::vector<StoneEntry>& line = branches.front();
            for (size_t i = 0; i < line.size(); i += 2) {
                if (i > 0) a.right.push_back("wait " + std::to_string(kReplyWaitMs));
                a.right.push_back(Click(size, {line[i].x, line[i].y}));
            }
            std::vector<Point> firstMoves;
            for (const auto& branch : branches) firstMoves.emplace_back(branch[0].x, branch[0].y);
            Point wrong;
            if (!FreePointOutside(r, size, firstMoves, wrong)) {
                a.undrivable = "no free point that is not a first move";
                break;
            }
            a.wrong = {Click(size, wrong)};
            break;
        }
        case 1:
            a.undrivable = "a shown sequence has no answer to judge";
            break;
        default:
            a.undrivable = "unknown problem type " + std::to_string(r.Type());
            break;
    }
    return a;
}

}  // namespace e2e
