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

TEST(ProblemSprites, StonesCarryTheirNumbersInTheOtherColour) {
    EXPECT_EQ(TexturesOf(At(0, 1, 1), 19), Names{"bstone19.tga"});
    EXPECT_EQ(TexturesOf(At(0, 1, 1, 7), 19), (Names{"bstone19.tga", "COMN_stone19NumW_07.tga"}));
    EXPECT_EQ(TexturesOf(At(1, 1, 1), 13), Names{"wstone13.tga"});
    EXPECT_EQ(TexturesOf(At(1, 1, 1, 12), 13), (Names{"wstone13.tga", "COMN_stone13NumB_12.tga"}));
    // An answer move is a black stone with its number.
    EXPECT_EQ(TexturesOf(At(15, 1, 1), 13), Names{"bstone13.tga"});
    EXPECT_EQ(TexturesOf(At(15, 1, 1, 2), 13), (Names{"bstone13.tga", "COMN_stone13NumW_02.tga"}));
    // No picture exists past 63: the stone is drawn bare rather than with a missing number.
    EXPECT_EQ(TexturesOf(At(0, 1, 1, 63), 19), (Names{"bstone19.tga", "COMN_stone19NumW_63.tga"}));
    EXPECT_EQ(TexturesOf(At(0, 1, 1, 64), 19), Names{"bstone19.tga"});
}

TEST(ProblemSprites, TriangleStonesUseMarksOnlyOnTheSixBoard) {
    EXPECT_EQ(TexturesOf(At(2, 0, 0), 13), (Names{"bstone13.tga", "COMN_stone13TextW_08.tga"}));
    EXPECT_EQ(TexturesOf(At(3, 0, 0), 19), (Names{"wstone19.tga", "COMN_stone19TextB_08.tga"}));
    EXPECT_EQ(TexturesOf(At(2, 0, 0), 6), (Names{"bstone6.tga", "COMN_mark6_W.tga"}));
    EXPECT_EQ(TexturesOf(At(3, 0, 0), 6), (Names{"wstone6.tga", "COMN_mark6_B.tga"}));
    EXPECT_EQ(TexturesOf(At(2, 0, 0), 9), (Names{"bstone9.tga", "COMN_stone9TextW_08.tga"}));
}

TEST(ProblemSprites, LettersMarksAndAnswerPoints) {
    EXPECT_EQ(TexturesOf(At(4, 0, 0), 13), Names{"COMN_stone13TextW_01.tga"});
    EXPECT_EQ(TexturesOf(At(5, 0, 0), 13), Names{"COMN_stone13TextW_02.tga"});
    EXPECT_EQ(TexturesOf(At(6, 0, 0), 13), Names{"COMN_stone13TextW_03.tga"});
    EXPECT_EQ(TexturesOf(At(7, 0, 0), 19), Names{"COMN_mark19_2.tga"});
    EXPECT_EQ(TexturesOf(At(8, 0, 0), 19), Names{"COMN_mark19_1.tga"});
    EXPECT_EQ(TexturesOf(At(9, 0, 0), 13), Names{"COMN_mark13_1.tga"});
    EXPECT_EQ(TexturesOf(At(16, 0, 0), 13), Names{"COMN_stone13TextW_06.tga"});
    EXPECT_EQ(TexturesOf(At(17, 0, 0), 13), Names{"COMN_mark13_2.tga"});
    for (int kind : {10, 11, 12, 13, 14, 18, 19, 100, 255})
        EXPECT_TRUE(TexturesOf(At(kind, 0, 0), 13).empty()) << "kind " << kind;
}

TEST(ProblemSprites, BoardPicturesAreCentredOnTheirPointsInListOrder) {
    const std::vector<BoardSprite> entries = {
        {At(0, 0, 0), false},
        {At(11, 3, 3), false},  // shows nothing
        {At(1, 18, 18, 5), true},
    };
    const std::vector<Sprite> sprites = BoardSprites(entries, 19);
    const std::vector<Sprite> expected = {
        {"bstone19.tga", 73, 95},
        {"wstone19.tga", 649, 671},
        {"COMN_mark19_3.tga", 649, 671},
        {"COMN_stone19NumB_05.tga", 649, 671},
    };
    EXPECT_EQ(sprites, expected);
}

TEST(ProblemSprites, TheCornerBoardShowsOnlyItsWindow) {
    const std::vector<BoardSprite> entries = {
        {At(0, 12, 12), false},
        {At(0, 13, 0), false},
        {At(1, 0, 18), false},
    };
    const std::vector<Sprite> sprites = BoardSprites(entries, 13);
    ASSERT_EQ(sprites.size(), 1u);
    EXPECT_EQ(sprites[0], (Sprite{"bstone13.tga", 12 * 48 + 73, 12 * 48 + 95}));
    EXPECT_TRUE(BoardSprites(entries, 7).empty()) << "a size without geometry draws nothing";
}
