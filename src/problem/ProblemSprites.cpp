#include "problem/ProblemSprites.h"

#include <cstdio>

#include "problem/BoardGeometry.h"

namespace problemsprites {
namespace {

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

std::string BlackStone(int size) {
    return Format("bstone%d.tga", size);
}
std::string WhiteStone(int size) {
    return Format("wstone%d.tga", size);
}

// A numbered stone's number: white figures on black, black figures on white.
void AddNumber(std::vector<std::string>& out, int size, int number, bool onBlack) {
    if (number <= 0 || number > kMaxNumber) return;
    out.push_back(
        Format(onBlack ? "COMN_stone%dNumW_%02d.tga" : "COMN_stone%dNumB_%02d.tga", size, number));
}

}  // namespace

std::vector<std::string> TexturesOf(const StoneEntry& entry, int boardSize) {
    std::vector<std::string> out;
    const int size = boardSize;
    switch (entry.kind) {
        case 0:
        case 15:
            out.push_back(BlackStone(size));
            AddNumber(out, size, entry.aux, true);
            break;
        case 1:
            out.push_back(WhiteStone(size));
            AddNumber(out, size, entry.aux, false);
            break;
        case 2:
            out.push_back(BlackStone(size));
            out.push_back(size == 6 ? Format("COMN_mark%d_W.tga", size)
                                    : Format("COMN_stone%dTextW_08.tga", size));
            break;
        case 3:
            out.push_back(WhiteStone(size));
            out.push_back(size == 6 ? Format("COMN_mark%d_B.tga", size)
                                    : Format("COMN_stone%dTextB_08.tga", size));
            break;
        case 4:
        case 5:
        case 6:
            out.push_back(Format("COMN_stone%dTextW_%02d.tga", size, entry.kind - 3));
            break;
        case 7:
        case 17:
            out.push_back(Format("COMN_mark%d_2.tga", size));
            break;
        case 8:
        case 9:
            out.push_back(Format("COMN_mark%d_1.tga", size));
            break;
        case 16:
            out.push_back(Format("COMN_stone%dTextW_06.tga", size));
            break;
        default:
            break;
    }
    return out;
}

std::vector<Sprite> BoardSprites(std::span<const BoardSprite> entries, int boardSize) {
    std::vector<Sprite> out;
    if (boardgeometry::For(boardSize) == nullptr) return out;
    for (const BoardSprite& s : entries) {
        const StoneEntry& e = s.entry;
        if (e.x >= boardSize || e.y >= boardSize) continue;
        int x = 0, y = 0;
        boardgeometry::CenterOf(boardSize, e.x, e.y, x, y);
        const std::vector<std::string> textures = TexturesOf(e, boardSize);
        for (size_t i = 0; i < textures.size(); ++i) {
            out.push_back({textures[i], x, y});
            // The marker goes on the stone, under its number, so the number stays legible.
            if (i == 0 && s.marker) out.push_back({Format("COMN_mark%d_3.tga", boardSize), x, y});
        }
    }
    return out;
}

}  // namespace problemsprites
