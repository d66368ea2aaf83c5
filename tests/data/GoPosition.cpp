#include "GoPosition.h"

namespace gocheck {
namespace {

constexpr int kEdge = stone::kBoardEdge;

bool OnBoard(int x, int y) {
    return x >= 0 && x < kEdge && y >= 0 && y < kEdge;
}

std::vector<Point> Neighbours(const Point& p) {
    std::vector<Point> out;
    const int dx[] = {0, -1, 0, 1};
    const int dy[] = {-1, 0, 1, 0};
    for (int i = 0; i < 4; ++i) {
        const int x = p.first + dx[i];
        const int y = p.second + dy[i];
        if (OnBoard(x, y)) out.emplace_back(x, y);
    }
    return out;
}

}  // namespace

Position Position::FromSetup(const ProblemRecord& record) {
    Position pos;
    for (int i = 0; i < record.setupCount && i < ProblemRecord::kSlots; ++i) {
        const StoneEntry& e = record.slots[i];
        if (!OnBoard(e.x, e.y)) continue;
        const Point p{e.x, e.y};
        switch (e.kind) {
            case 0:
                pos.m_cells[e.y][e.x] = kBlack;
                break;
            case 1:
                pos.m_cells[e.y][e.x] = kWhite;
                break;
            case 2:
                pos.m_cells[e.y][e.x] = kBlack;
                pos.m_markedBlack.insert(p);
                break;
            case 3:
                pos.m_cells[e.y][e.x] = kWhite;
                pos.m_markedWhite.insert(p);
                break;
            case 4:
            case 5:
            case 6:
                pos.m_letters.emplace_back(e.kind, p);
                break;
            default:
                break;
        }
    }
    return pos;
}

Colour Position::At(int x, int y) const {
    return OnBoard(x, y) ? m_cells[y][x] : kNone;
}

Points Position::Chain(int x, int y) const {
    Points chain;
    const Colour c = At(x, y);
    if (c == kNone) return chain;
    std::vector<Point> todo{{x, y}};
    chain.insert({x, y});
    while (!todo.empty()) {
        const Point p = todo.back();
        todo.pop_back();
        for (const Point& n : Neighbours(p)) {
            if (At(n.first, n.second) == c && chain.insert(n).second) todo.push_back(n);
        }
    }
    return chain;
}

Points Position::Liberties(const Points& stones) const {
    Points libs;
    for (const Point& p : stones) {
        for (const Point& n : Neighbours(p)) {
            if (At(n.first, n.second) == kNone) libs.insert(n);
        }
    }
    return libs;
}

Position Position::Play(int x, int y, Colour colour) const {
    Position next = *this;
    if (!OnBoard(x, y)) return next;
    next.m_cells[y][x] = colour;
    const Colour other = colour == kBlack ? kWhite : kBlack;
    for (const Point& n : Neighbours({x, y})) {
        if (next.At(n.first, n.second) != other) continue;
        const Points chain = next.Chain(n.first, n.second);
        if (!next.Liberties(chain).empty()) continue;
        for (const Point& p : chain) next.m_cells[p.second][p.first] = kNone;
    }
    return next;
}

Points Position::Marked(Colour colour) const {
    const Points& marked = colour == kBlack ? m_markedBlack : m_markedWhite;
    Points still;
    for (const Point& p : marked) {
        if (At(p.first, p.second) == colour) still.insert(p);
    }
    return still;
}

Points Position::Stones(Colour colour) const {
    Points out;
    for (int y = 0; y < kEdge; ++y) {
        for (int x = 0; x < kEdge; ++x) {
            if (m_cells[y][x] == colour) out.insert({x, y});
        }
    }
    return out;
}

Points Position::ChainsOf(const Points& stones) const {
    Points out;
    for (const Point& p : stones) {
        const Points chain = Chain(p.first, p.second);
        out.insert(chain.begin(), chain.end());
    }
    return out;
}

}  // namespace gocheck
