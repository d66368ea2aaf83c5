#pragma once

#include <span>
#include <string>
#include <vector>

#include "go/StoneEntry.h"
#include "problem/ProblemPlay.h"

// The pictures the problem board shows for its entries, and where they go.
namespace problemsprites {

// A picture of the shared archive, centred on screen pixel (x, y).
struct Sprite {
    std::string texture;
    int x = 0;
    int y = 0;
    friend bool operator==(const Sprite&, const Sprite&) = default;
};

// Highest number a numbered-stone picture exists for; larger numbers draw the bare stone.
inline constexpr int kMaxNumber = 63;

// Picture names of one entry on a board of `boardSize`, back to front (a stone, then what
// is written on it). Empty for kinds that show nothing.
std::vector<std::string> TexturesOf(const StoneEntry& entry, int boardSize);

// Every picture of the board in drawing order: each entry's pictures centred on its point,
// the last-move marker (where the entry carries it) between the stone and its number. Entries
// outside the shown board (or on a size without geometry) draw nothing.
std::vector<Sprite> BoardSprites(std::span<const BoardSprite> entries, int boardSize);

}  // namespace problemsprites
