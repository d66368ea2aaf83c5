#include "BoardDiagram.h"

#include "go/BoardConsistency.h"

namespace diagram {

std::vector<StoneEntry> Parse(const std::string& text) {
    std::vector<StoneEntry> entries;
    int x = 0, y = 0;
    for (char c : text) {
        if (c == ' ') continue;
        if (c == '\n') {
            if (x > 0) ++y;
            x = 0;
            continue;
        }
        int kind = -1;
        switch (c) {
            case 'X':
                kind = 0;
                break;
            case 'O':
                kind = 1;
                break;
            case 'a':
                kind = 4;
                break;
            case 'b':
                kind = 5;
                break;
            case 'c':
                kind = 6;
                break;
            case '+':
                kind = 11;
                break;
            default:
                break;
        }
        if (kind >= 0) entries.push_back({uint8_t(kind), uint8_t(x), uint8_t(y), 0});
        ++x;
    }
    return entries;
}

std::string Print(const GoBoard& board, int size) {
    std::string out;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) out += ".XO"[board.At(x, y) % 3];
        out += '\n';
    }
    return out;
}

Position::Position(const std::string& text, int size) : entries(Parse(text)) {
    board.boardSize = size;
    if (!entries.empty()) PaintEntries(board, entries.data(), int(entries.size()));
}

void Position::Play(int x, int y, int kind) {
    entries.push_back({uint8_t(kind), uint8_t(x), uint8_t(y), 0});
    PaintEntries(board, entries.data(), int(entries.size()));
    CaptureAround(board, x, y, kind);
    EraseVanished(board, entries.data(), int(entries.size()));
}

std::string Position::Mismatch() const {
    return FindBoardMismatch(board, entries.data(), int(entries.size()));
}

}  // namespace diagram
