#include <gtest/gtest.h>

#include "Lib/ZIRur/Util/DebugLog.h"
#include "lesson/LessonSprites.h"

using namespace lesson;

namespace {

struct Scene {
    LessonBoard board;
    int size = 9;
    int blink = 0;
    LessonId lesson{0, 0, 0};
    int page = 0;

    std::vector<LessonSprite> Build() const {
        return BuildSprites(SpriteScene{&board, size, blink, lesson, page});
    }
};

std::vector<std::string> Names(const std::vector<LessonSprite>& sprites) {
    std::vector<std::string> names;
    for (const auto& s : sprites) names.push_back(s.texture);
    return names;
}

using Names_ = std::vector<std::string>;

}  // namespace

TEST(LessonSprites, GeometryFollowsTheBoardSize) {
    EXPECT_EQ(PointPosition(6, 1, 2).x, 204);
    EXPECT_EQ(PointPosition(6, 1, 2).y, 331);
    EXPECT_EQ(PointPosition(9, 8, 8).x, 641);
    EXPECT_EQ(PointPosition(13, 12, 0).y, 95);
    EXPECT_EQ(PointPosition(13, 12, 12).x, 649);
    EXPECT_EQ(PointPosition(19, 18, 18).y, 671);
    EXPECT_EQ(PointPosition(7, 1, 1).x, 105) << "other sizes use the 19 x 19 geometry";
    EXPECT_EQ(BoardPictureName(13), "COMN_board19trim.tga");
    EXPECT_EQ(BoardPictureName(0), "COMN_board19.tga");
}

TEST(LessonSprites, LayersAreDrawnStonesThenArrowsThenNumbersEachValueItsPicture) {
    Scene s;
    s.board.At(0, 0) = 0x0070;  // arrows down and left
    s.board.At(1, 0) = 0x0301;  // black stone numbered 3
    s.board.At(0, 1) = 0x0C02;  // white stone numbered 12
    const auto sprites = s.Build();
    EXPECT_EQ(Names(sprites),
              (Names_{"bstone9.tga", "wstone9.tga", "COMN_arrow9_down.tga", "COMN_arrow9_left.tga",
                      "COMN_stone9NumW_03.tga", "COMN_stone9NumB_12.tga"}));
    EXPECT_EQ(sprites[0], (LessonSprite{"bstone9.tga", 151, 103}));
    EXPECT_EQ(sprites[1], (LessonSprite{"wstone9.tga", 81, 173}));
    EXPECT_EQ(sprites[2].x, 81);

    // The stone layer's values.
    Scene six;
    six.size = 6;
    six.board.At(0, 0) = 5;
    six.board.At(1, 0) = 4;
    EXPECT_EQ(Names(six.Build()), (Names_{"bstone6.tga", "COMN_mark6_W.tga", "COMN_mark6_W.tga"}));
    Scene nineteen;
    nineteen.size = 19;
    nineteen.board.At(0, 0) = 8;
    nineteen.board.At(1, 0) = 12;
    nineteen.board.At(2, 0) = 9;
    nineteen.board.At(3, 0) = 3;
    EXPECT_EQ(Names(nineteen.Build()),
              (Names_{"wstone19.tga", "COMN_stone19TextB_08.tga", "COMN_stone19TextW_03.tga",
                      "COMN_mark19_1.tga", "COMN_stone19TextB_07.tga"}));
}

TEST(LessonSprites, ThirteenBoardExchangesUpAndDownArrows) {
    Scene s;
    s.size = 13;
    s.board.At(0, 0) = 0x00E0;  // up, right, down
    EXPECT_EQ(Names(s.Build()),
              (Names_{"COMN_arrow13_down.tga", "COMN_arrow13_right.tga", "COMN_arrow13_up.tga"}));
    s.size = 9;
    EXPECT_EQ(Names(s.Build()),
              (Names_{"COMN_arrow9_up.tga", "COMN_arrow9_right.tga", "COMN_arrow9_down.tga"}));
}

TEST(LessonSprites, HiddenBlinkPhaseLeavesOutBlinkingPictures) {
    Scene s;
    s.board.At(0, 0) = 0x4000 | 0x0105;  // stone + label blinking as a stone, numbered
    s.board.At(1, 0) = 0x4000 | 0x0009;  // a label with the stone class: stays
    s.board.At(2, 0) = 0x8000 | 0x0031;  // stone stays, arrow blinks
    s.board.At(3, 0) = 0x8000 | 0x000A;  // label blinks
    s.board.At(4, 0) = 0xC000 | 0x0201;  // never blinks
    const auto shown = Names(s.Build());
    EXPECT_EQ(shown.size(), 9u);
    s.blink = 1;
    EXPECT_EQ(Names(s.Build()),
              (Names_{"COMN_mark9_1.tga", "bstone9.tga", "bstone9.tga", "COMN_stone9NumW_02.tga"}));
}

TEST(LessonSprites, NigiriPicturesOfLessonOneOneTwo) {
    Scene s;
    s.lesson = {0, 0, 1};
    s.board.At(0, 0) = 1;
    const std::pair<int, const char*> pages[] = {
        {9, "EX1_nigiri_1.tga"},  {11, "EX1_nigiri_1.tga"}, {12, "EX1_nigiri_2.tga"},
        {13, "EX1_nigiri_3.tga"}, {14, "EX1_nigiri_4.tga"}, {15, "EX1_nigiri_4.tga"}};
    for (auto [page, name] : pages) {
        s.page = page;
        const auto sprites = s.Build();
        ASSERT_EQ(sprites.size(), 2u) << page;
        EXPECT_EQ(sprites[1], (LessonSprite{name, 395, 336})) << page;
    }
    s.page = 16;
    EXPECT_EQ(s.Build().size(), 1u);
    s.page = 9;
    s.lesson = {0, 0, 0};
    EXPECT_EQ(s.Build().size(), 1u) << "only that lesson";
}

TEST(LessonSprites, PageFiftySevenDrawsArrowTwoAsLabelAndBlinksWholePoints) {
    Scene s;
    s.lesson = {0, 0, 1};
    s.page = 57;
    s.board.At(0, 0) = 0x0020;           // arrow value 2
    s.board.At(1, 0) = 0x8000 | 0x0001;  // stone of the label class
    s.board.At(2, 0) = 0x4000 | 0x0040;  // left arrow of the stone class
    EXPECT_EQ(Names(s.Build()),
              (Names_{"bstone9.tga", "COMN_stone9TextW_01.tga", "COMN_arrow9_left.tga"}));
    s.blink = 1;
    EXPECT_EQ(Names(s.Build()), (Names_{"COMN_stone9TextW_01.tga"}));
    s.page = 56;
    s.blink = 0;
    EXPECT_EQ(Names(s.Build()), (Names_{"bstone9.tga", "COMN_arrow9_left.tga"}))
        << "elsewhere value 2 draws nothing";
}

TEST(LessonSprites, PageSeventeenOfLessonOneTwoOneJoinsSideArrows) {
    Scene s;
    s.lesson = {0, 1, 0};
    s.page = 17;
    s.board.At(4, 0) = 0x0040;  // left
    s.board.At(6, 0) = 0x0060;  // right
    s.board.At(6, 1) = 0x0060;  // right on another row: stays
    auto sprites = s.Build();
    ASSERT_EQ(sprites.size(), 3u);
    EXPECT_EQ(sprites[0].x, PointPosition(9, 5, 0).x);
    EXPECT_EQ(sprites[1].x, PointPosition(9, 5, 0).x);
    EXPECT_EQ(sprites[2].x, PointPosition(9, 6, 1).x);
    s.page = 18;
    EXPECT_EQ(s.Build()[0].x, PointPosition(9, 4, 0).x);
}

TEST(LessonSprites, ListStopsAtTwoHundredPictures) {
    Scene s;
    s.size = 19;
    for (auto& row : s.board.points) row.fill(0x0101);
    dbglog::Capture log;
    const auto sprites = s.Build();
    EXPECT_EQ(sprites.size(), kMaxSprites);
    EXPECT_EQ(sprites.back().texture, "bstone19.tga");
    EXPECT_NE(log.Text().find("spriteCount"), std::string::npos);
}
