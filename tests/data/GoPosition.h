#pragma once

#include <set>
#include <utility>
#include <vector>

#include "go/StoneEntry.h"
#include "problem/ProblemRecord.h"

// A plain Go position on the whole 19 x 19 board, written for checking the shipped problems
// against what their questions ask. It shares nothing with the program's board code, so a
// fault there cannot hide a wrong problem here.
namespace gocheck {

using Point = std::pair<int, int>;
using Points = std::set<Point>;

enum Colour : int { kNone = 0, kBlack = 1, kWhite = 2 };

class Position {
public:
    // The setup of a problem record: stones (marked or not), marks and letters.
    static Position FromSetup(const ProblemRecord& record);

    // Colour at (x, y); kNone off the board.
    Colour At(int x, int y) const;
    // The chain of (x, y) (empty when the point holds no stone).
    Points Chain(int x, int y) const;
    // Liberties of a set of stones (their chains are not extended).
    Points Liberties(const Points& stones) const;
    // Plays `colour` at (x, y) and removes opposing chains left without liberties.
    Position Play(int x, int y, Colour colour) const;

    // Stones of the setup carrying the question's triangle, by colour.
    Points Marked(Colour colour) const;
    // Every stone of a colour.
    Points Stones(Colour colour) const;
    // Union of the chains of `stones`.
    Points ChainsOf(const Points& stones) const;
    // Letter points of the setup: entry kind (4, 5, 6) -> point.
    std::vector<std::pair<int, Point>> Letters() const { return m_letters; }

private:
    Colour m_cells[stone::kBoardEdge][stone::kBoardEdge] = {};
    Points m_markedBlack;
    Points m_markedWhite;
    std::vector<std::pair<int, Point>> m_letters;
};

}  // namespace gocheck
