#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "problem/ProblemSprites.h"

using problemsprites::BoardSprites;
using problemsprites::Sprite;
using problemsprites::TexturesOf;
using Names = std::vector<std::string>;

namespace {
StoneEntry At(int kind, int x, int y, int aux = 0) {
    return StoneEntry{uint8_t(kind), uint8_t(x), uint8_t(y), uint8_t(aux)};
}
}  // namespace

TEST(ProblemSprites, EachKindHasItsPictures) {
    const struct {
        int kind, aux, size;
        Names names;
    } cases[] = {
        // Stones carry their numbers in the other colour.
        {0, 0, 19, {"bstone19.tga"}},
        {0, 7, 19, {"bstone19.tga", "COMN_stone19NumW_07.tga"}},
        {1, 0, 13, {"wstone13.tga"}},
        {1, 12, 13, {"wstone13.tga", "COMN_stone13NumB_12.tga"}},
        // An answer move is a black stone with its number.
        {15, 0, 13, {"bstone13.tga"}},
        {15, 2, 13, {"bstone13.tga", "COMN_stone13NumW_02.tga"}},
        // No picture exists past 63: the stone is drawn bare rather than with a missing number.
        {0, 63, 19, {"bstone19.tga", "COMN_stone19NumW_63.tga"}},
        {0, 64, 19, {"bstone19.tga"}},
        // Triangle stones use marks only on the six board.
        {2, 0, 13, {"bstone13.tga", "COMN_stone13TextW_08.tga"}},
        {3, 0, 19, {"wstone19.tga", "COMN_stone19TextB_08.tga"}},
        {2, 0, 6, {"bstone6.tga", "COMN_mark6_W.tga"}},
        {3, 0, 6, {"wstone6.tga", "COMN_mark6_B.tga"}},
        {2, 0, 9, {"bstone9.tga", "COMN_stone9TextW_08.tga"}},
        // Letters, marks and answer points.
        {4, 0, 13, {"COMN_stone13TextW_01.tga"}},
        {5, 0, 13, {"COMN_stone13TextW_02.tga"}},
        {6, 0, 13, {"COMN_stone13TextW_03.tga"}},
        {7, 0, 19, {"COMN_mark19_2.tga"}},
        {8, 0, 19, {"COMN_mark19_1.tga"}},
        {9, 0, 13, {"COMN_mark13_1.tga"}},
        {16, 0, 13, {"COMN_stone13TextW_06.tga"}},
        {17, 0, 13, {"COMN_mark13_2.tga"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TexturesOf(At(c.kind, 1, 1, c.aux), c.size), c.names) << c.kind << "/" << c.aux;
    for (int kind : {10, 11, 12, 13, 14, 18, 19, 100, 255})
        EXPECT_TRUE(TexturesOf(At(kind, 0, 0), 13).empty()) << "kind " << kind;
}

TEST(ProblemSprites, BoardPicturesAreCentredOnTheirPointsInListOrder) {
    const std::vector<BoardSprite> entries = {
        {At(0, 0, 0), false}, {At(11, 3, 3), false} /* shows nothing */, {At(1, 18, 18, 5), true}};
    EXPECT_EQ(BoardSprites(entries, 19),
              (std::vector<Sprite>{{"bstone19.tga", 73, 95},
                                   {"wstone19.tga", 649, 671},
                                   {"COMN_mark19_3.tga", 649, 671},
                                   {"COMN_stone19NumB_05.tga", 649, 671}}));
    // The corner board shows only its window; a size without geometry draws nothing.
    const std::vector<BoardSprite> corner = {
        {At(0, 12, 12), false}, {At(0, 13, 0), false}, {At(1, 0, 18), false}};
    EXPECT_EQ(BoardSprites(corner, 13),
              (std::vector<Sprite>{{"bstone13.tga", 12 * 48 + 73, 12 * 48 + 95}}));
    EXPECT_TRUE(BoardSprites(corner, 7).empty());
}
