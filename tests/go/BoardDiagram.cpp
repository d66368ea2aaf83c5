#include "BoardDiagram.h"

#include "go/BoardConsistency.h"

namespace diagram {

std::vector<StoneEntry> Parse(const std::string& text) {
    static const std::string kSymbols = "XO..abc";  // index = kind; '.' is no entry
    std::vector<StoneEntry> entries;
    int x = 0, y = 0;
    for (char c : text) {
        if (c == ' ') continue;
        if (c == '\n') {
            if (x > 0) ++y;
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

std::string Print(const GoBoard& board, int columns, int rows) {
    std::string out;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) out += ".XO"[board.At(x, y) % 3];
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
