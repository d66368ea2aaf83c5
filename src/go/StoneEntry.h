#pragma once

#include <cstdint>

// One thing standing on a point: a setup stone, a mark, an answer or a move. 4 bytes, no
// padding, so arrays of entries keep the record layout.
struct StoneEntry {
    // What stands there; 255 = erased.
    uint8_t kind = 0;
    // Column 0..18; 255 when erased.
    uint8_t x = 0;
    // Row 0..18; 255 when erased.
    uint8_t y = 0;
    // Number written on the stone (0 = none) or another small parameter of the kind.
    uint8_t aux = 0;

    friend bool operator==(const StoneEntry&, const StoneEntry&) = default;
};
static_assert(sizeof(StoneEntry) == 4);

namespace stone {

// Kind and coordinates of an erased entry.
inline constexpr uint8_t kErased = 255;
// Edge length of the whole board.
inline constexpr int kBoardEdge = 19;
// Cell codes.
inline constexpr uint8_t kEmpty = 0;
inline constexpr uint8_t kBlack = 1;
inline constexpr uint8_t kWhite = 2;

// Kinds 0..3 are stones; all others are marks that never reach the cells.
inline constexpr bool IsStoneKind(int kind) {
    return kind >= 0 && kind < 4;
}
// Cell code of stone kind k: kinds 0 and 2 black, 1 and 3 white.
inline constexpr uint8_t CellCodeOf(int kind) {
    return uint8_t(2 - ((kind + 1) % 2));
}
// Cell code of the stones a kind-k stone captures.
inline constexpr uint8_t OpponentCodeOf(int kind) {
    return uint8_t(1 + ((kind + 1) % 2));
}
// Whether (x, y) lies on the 19 x 19 board.
inline constexpr bool OnBoard(int x, int y) {
    return x >= 0 && x < kBoardEdge && y >= 0 && y < kBoardEdge;
}
// An entry with all four bytes 255.
inline constexpr StoneEntry Erased() {
    return {kErased, kErased, kErased, kErased};
}
inline constexpr bool IsErased(const StoneEntry& e) {
    return e.kind == kErased;
}

}  // namespace stone
