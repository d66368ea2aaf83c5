#pragma once

#include <string>
#include <vector>

#include "go/BoardConsistency.h"
#include "go/GoBoard.h"

// Board positions written as text, one line per row: '.' empty, 'X' black (kind 0), 'O' white
// (kind 1), 'a'/'b'/'c' letters (kinds 4..6), '+' a mark (kind 11). Spaces are ignored.
namespace diagram {

inline std::vector<StoneEntry> Parse(const std::string& text) {
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
inline std::string Print(const GoBoard& board, int columns, int rows) {
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

}  // namespace diagram
