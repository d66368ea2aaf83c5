#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "go/BoardConsistency.h"
#include "go/GoBoard.h"

// Board positions written as text, one line per row: '.' empty, 'X' black (kind 0), 'O' white
// (kind 1), 'a'/'b'/'c' letters (kinds 4..6), '+' a mark (kind 11). Spaces are ignored.
namespace {

std::vector<StoneEntry> Parse(const std::string& text) {
    static const std::string kSymbols = "XO..abc";  // index = kind; '.' is no entry
    std::vector<StoneEntry> entries;
    int x = 0, y = 0;
    for (char c : text) {
        if (c == ' ') continue;
        if (c == '\n') {
            y += x > 0;
            x = 0;
            continue;
        }
        const size_t kind = c == '+' ? 11 : c == '.' ? std::string::npos : kSymbols.find(c);
        if (kind != std::string::npos)
            entries.push_back({uint8_t(kind), uint8_t(x), uint8_t(y), 0});
        ++x;
    }
    return entries;
}

// The top-left `columns` x `rows` of the cells: '.', 'X', 'O', rows ended by '\n'.
std::string Print(const GoBoard& board, int columns, int rows) {
    std::string out;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) out += ".XO"[board.At(x, y) % 3];
        out += '\n';
    }
    return out;
}

// A board with its entry list, moved the way play drives it.
struct Position {
    GoBoard board;
    std::vector<StoneEntry> entries;
    explicit Position(const std::string& text, int size = 19) : entries(Parse(text)) {
        board.boardSize = size;
        if (!entries.empty()) PaintEntries(board, entries.data(), int(entries.size()));
    }
    // Appends a move, paints, resolves captures around it and erases what vanished.
    void Play(int x, int y, int kind) {
        entries.push_back({uint8_t(kind), uint8_t(x), uint8_t(y), 0});
        PaintEntries(board, entries.data(), int(entries.size()));
        CaptureAround(board, x, y, kind);
        EraseVanished(board, entries.data(), int(entries.size()));
    }
    // Empty when the cells and the entries agree.
    std::string Mismatch() const {
        return FindBoardMismatch(board, entries.data(), int(entries.size()));
    }
};

// Diagrams without spaces; the board is compared over the rows and columns `after` shows.
struct Move {
    int x, y, kind;
    const char* after;
};
struct CaptureCase {
    const char* what;
    const char* before;
    std::vector<Move> moves;
    int size = 19;
};

const CaptureCase kCases[] = {
    {"corner stone falls to the second neighbour", "OX.\n...\n", {{0, 1, 0, ".X.\nX..\n...\n"}}},
    {"corner stone falls to the first neighbour", "O..\nX..\n", {{1, 0, 0, ".X.\nX..\n...\n"}}},
    {"a group touched from two sides is removed once",
     ".XX..\nXOOX.\nXO.X.\n.XX..\n",
     {{2, 2, 0, ".XX..\nX..X.\nX.XX.\n.XX..\n.....\n"}}},
    {"a move without liberties that captures nothing stays",
     ".O.\nO.O\n.O.\n",
     {{1, 1, 0, ".O.\nOXO\n.O.\n"}}},
    {"recapture at once: there is no ko rule",
     ".XO.\nXO.O\n.XO.\n",
     {{2, 1, 0, ".XO.\nX.XO\n.XO.\n"}, {1, 1, 1, ".XO.\nXO.O\n.XO.\n"}}},
    // The group runs up and to the left from the captured neighbour: one row-order sweep
    // cannot reach all of it.
    {"a winding group goes whole",
     "XXXXXX.\nXOOOOOX\nXOXXXX.\nXOOOOX.\n.XXX.X.\n",
     {{5, 0, 0, "XXXXXX.\nXOOOOOX\nXOXXXX.\nXOOOOX.\n.XXX.X.\n"},
      {4, 4, 0, "XXXXXX.\nX.....X\nX.XXXX.\nX....X.\n.XXXXX.\n.......\n"}}},
    {"a top-row stone breathes through the point below it", "XO.\n", {{2, 0, 0, "XOX\n...\n"}}},
    {"only the groups around the new stone are tested",
     "OX...\nX....\n...O.\n..O..\n",
     {{3, 3, 0, "OX...\nX....\n...O.\n..OX.\n"}}},
    {"a mark played as a move neither paints nor captures", "OX\n..\n", {{0, 1, 8, "OX\n..\n"}}},
    {"a marked black stone captures white", "OX\n..\n", {{0, 1, 2, ".X\nX.\n"}}},
    {"a marked white stone captures black", "XO\n..\n", {{0, 1, 3, ".O\nO.\n"}}},
    // White at column 12 of the 13 x 13 window, shut in on the window's side only: column
    // 13 is empty and counts.
    {"a corner window group breathes beyond its open edge",
     "...........XO\n...........XO\n",
     {{12, 2, 0, "...........XO\n...........XO\n............X\n"}},
     13},
    {"a corner window group shut in beyond its edge falls",
     "...........XOX\n...........XOX\n",
     {{12, 2, 0, "...........X.X\n...........X.X\n............X.\n"}},
     13},
};

}  // namespace

TEST(Capture, MovesResolveAsTheDiagramsShow) {
    for (const CaptureCase& c : kCases) {
        SCOPED_TRACE(c.what);
        Position p(c.before, c.size);
        for (const Move& m : c.moves) {
            p.Play(m.x, m.y, m.kind);
            const std::string after = m.after;
            const int rows = int(std::count(after.begin(), after.end(), '\n'));
            EXPECT_EQ(Print(p.board, int(after.find('\n')), rows), after);
            EXPECT_EQ(p.Mismatch(), "");
            EXPECT_EQ(p.board.boardSize, c.size) << "the shown size comes back after resolving";
        }
    }
}

TEST(Erasure, CapturedEntriesAndMarksOnEmptyPointsAreErased) {
    Position p(
        "O X . a\n"
        ". . + .\n");
    const StoneEntry alreadyErased = stone::Erased();
    p.entries.push_back(alreadyErased);
    p.Play(0, 1, 0);
    // The captured stone, the letter and the mark on empty points go.
    const StoneEntry gone = stone::Erased();
    EXPECT_EQ(p.entries, (std::vector<StoneEntry>{
                             gone, {0, 1, 0, 0}, gone, gone, alreadyErased, {0, 0, 1, 0}}));
    EXPECT_EQ(p.Mismatch(), "");
}

TEST(Erasure, EntriesOffTheBoardAreNeverUsedAsIndicesAndEmptyListsAreRefused) {
    GoBoard board;
    board.boardSize = 19;
    StoneEntry list[] = {{0, 200, 3, 0}, {1, 3, 19, 0}, {0, 18, 18, 0}};
    ASSERT_TRUE(PaintEntries(board, list, 3));
    int stones = 0;
    for (uint8_t c : board.cells) stones += c != 0;
    ASSERT_TRUE(EraseVanished(board, list, 3));
    EXPECT_EQ(std::pair(stones, int(list[0].x)), std::pair(1, 200)) << "left alone, not looked up";
    CaptureAround(board, 19, 0, 0);
    CaptureAround(board, -1, 0, 0);
    RemoveIfDead(board, 0, 25);
    EXPECT_EQ(board.At(18, 18), stone::kBlack);
    StoneEntry e{};
    EXPECT_FALSE(PaintEntries(board, nullptr, 3) || PaintEntries(board, &e, 0) ||
                 EraseVanished(board, nullptr, 1) || EraseVanished(board, &e, -1));
}
