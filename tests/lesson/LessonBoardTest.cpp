#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "Lib/ZIRur/Util/DebugLog.h"
#include "lesson/LessonBoardOps.h"
#include "lesson/LessonSprites.h"

using namespace lesson;

namespace {

const LessonId kPlainLesson{0, 0, 0};
const LessonId kMirroredLesson{1, 3, 0};  // file 2-4-1

// A page of the given size whose steps are the given entry lists.
LessonPage MakePage(int boardSize, const std::vector<std::vector<StepEntry>>& steps) {
    LessonPage page;
    page.header.boardSize = boardSize;
    page.header.stepCount = int32_t(steps.size());
    for (size_t s = 0; s < steps.size(); ++s) {
        page.entryCounts[s] = int32_t(steps[s].size());
        for (size_t i = 0; i < steps[s].size(); ++i) page.entries[s][i] = steps[s][i];
    }
    return page;
}

struct Scene {
    LessonBoard board{};
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

// The sprites of a board of `size` whose top row holds `codes` from column 0.
std::vector<LessonSprite> Row(int size, std::vector<uint16_t> codes, int blink = 0) {
    Scene s{.size = size, .blink = blink};
    for (size_t x = 0; x < codes.size(); ++x) s.board.At(int(x), 0) = codes[x];
    return s.Build();
}

}  // namespace

TEST(LessonMerging, EachCodeChangesTheFirstFieldItHas) {
    EXPECT_EQ(MergeCode(0x4000 | 0x0500 | 0x0030 | 0x0001, 0x0000), 0) << "zero clears all";
    // 0x0011 has stone bits too, but the arrow layer comes first and is the only change.
    EXPECT_EQ(MergeCode(0x0002, 0x0011), 0x0012);
    EXPECT_EQ(MergeCode(0x8702, 0x0011), 0x8712);
    EXPECT_EQ(MergeCode(0x8735, 0x0001), 0x8731) << "stone replaces stone only";
    EXPECT_EQ(MergeCode(0x8735, 0x0C00), 0x8C35) << "number replaces number only";
    EXPECT_EQ(MergeCode(0x8735, 0x4000), 0x4735) << "blink replaces blink only";
    EXPECT_EQ(MergeCode(0x0000, 0xC102), 0x0002) << "stone wins over number and blink";
}

TEST(LessonMirroring, ThirteenBoardAndLessonTwoFourOneTurnRowsOverWithinTheStoredBoard) {
    auto at = [](StepEntry e, int size, bool mirrored) {
        int x = -1, y = -1;
        return EntryPoint(e, size, mirrored, x, y) ? std::pair(x, y) : std::pair(-1, -1);
    };
    // Row 13 wraps past the 13 x 13 board.
    const std::pair off(-1, -1);
    EXPECT_EQ(std::vector({at({3, 0, 1}, 13, false), at({0, 12, 1}, 13, false),
                           at({0, 13, 1}, 13, false), at({13, 0, 1}, 13, false)}),
              std::vector({std::pair(3, 12), {0, 0}, off, off}));
    // Lesson 2-4-1 mirrors on the full board: row 0 lands on 18, off a 9 x 9 board, and rows
    // beyond the mirror line wrap; 13 x 13 keeps its own mirror.
    EXPECT_EQ(std::vector({at({1, 18, 1}, 9, true), at({1, 10, 1}, 9, true), at({1, 0, 1}, 9, true),
                           at({1, 19, 1}, 9, true), at({1, 0, 1}, 13, true)}),
              std::vector({std::pair(1, 0), {1, 8}, off, off, {1, 12}}));
    LessonPage page = MakePage(19, {{{2, 0, 1}}});
    LessonBoard mirrored, plain;
    RebuildBoard(page, kMirroredLesson, 0, mirrored);
    RebuildBoard(page, kPlainLesson, 0, plain);
    EXPECT_EQ(std::tuple(mirrored.At(2, 18), mirrored.At(2, 0), plain.At(2, 0)),
              std::tuple(1, 0, 1));
    // An oversized board stays within the stored one.
    page = MakePage(40, {{{30, 2, 1}, {2, 30, 1}, {18, 18, 2}}});
    LessonBoard board;
    RebuildBoard(page, kPlainLesson, 0, board);
    EXPECT_EQ(board.At(18, 18), 2);
    int stones = 0;
    for (auto& row : board.points)
        for (auto p : row) stones += p != 0;
    EXPECT_EQ(stones, 1);
}

TEST(LessonStoneSound, RebuildReportsExactlyOneNewStone) {
    LessonPage page = MakePage(9, {
                                      {{0, 0, 1}},             // step 0: one stone
                                      {{1, 1, 2}},             // step 1: one more
                                      {{2, 2, 1}, {3, 3, 2}},  // step 2: two at once
                                      {{4, 4, 3}},             // step 3: a label only
                                      {{4, 4, 7}},             // step 4: label becomes stone 7
                                      {{1, 1, 1}},             // step 5: white turns black
                                      {{5, 5, 0x0011}},        // step 6: arrow + stone bits
                                  });
    // Step 0 never sounds; two stones at once, labels and 0x0011 (no stone) do not; a changed
    // colour does; one past the last step is empty.
    LessonBoard board;
    std::vector<bool> sounds;
    for (int step = 0; step <= 7; ++step)
        sounds.push_back(RebuildBoard(page, kPlainLesson, step, board));
    EXPECT_EQ(sounds, (std::vector<bool>{false, true, false, false, true, true, false, false}));
    // Steps past the stored ones are empty: the whole page, silently.
    EXPECT_FALSE(RebuildBoard(page, kPlainLesson, kMaxSteps + 5, board));
    EXPECT_EQ(std::tuple(board.At(5, 5), board.At(1, 1)), std::tuple(0x0010, 1));
}

TEST(LessonStoneSound, StoneMovePageComparesStepsAsStored) {
    // Step 2 repeats a stone of step 0; against step 1 as stored it is new.
    LessonPage page = MakePage(9, {{{0, 0, 1}, {1, 0, 1}}, {{1, 0, 1}}, {{0, 0, 1}}});
    EXPECT_TRUE(IsStoneMovePage(page, kPlainLesson));
    page.header.showFinal = 1;
    EXPECT_FALSE(IsStoneMovePage(page, kPlainLesson)) << "show-final pages never are";
    LessonPage pairs = MakePage(9, {{{0, 0, 1}, {1, 0, 2}}, {{0, 0, 1}, {1, 0, 2}}});
    EXPECT_FALSE(IsStoneMovePage(pairs, kPlainLesson));
}

TEST(LessonSprites, GeometryFollowsTheBoardSize) {
    // Sizes without their own geometry (7) use the 19 x 19 one.
    EXPECT_EQ(
        std::vector({PointPosition(6, 1, 2).x, PointPosition(6, 1, 2).y, PointPosition(9, 8, 8).x,
                     PointPosition(13, 12, 0).y, PointPosition(13, 12, 12).x,
                     PointPosition(19, 18, 18).y, PointPosition(7, 1, 1).x}),
        std::vector({204, 331, 641, 95, 649, 671, 105}));
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
    EXPECT_EQ(std::tuple(sprites[0], sprites[1], sprites[2].x),
              std::tuple(LessonSprite{"bstone9.tga", 151, 103},
                         LessonSprite{"wstone9.tga", 81, 173}, 81));
    // The stone layer's values.
    EXPECT_EQ(Names(Row(6, {5, 4})),
              (Names_{"bstone6.tga", "COMN_mark6_W.tga", "COMN_mark6_W.tga"}));
    EXPECT_EQ(Names(Row(19, {8, 12, 9, 3})),
              (Names_{"wstone19.tga", "COMN_stone19TextB_08.tga", "COMN_stone19TextW_03.tga",
                      "COMN_mark19_1.tga", "COMN_stone19TextB_07.tga"}));
    // 0x00E0: up, right, down; the 13 x 13 board exchanges up and down.
    EXPECT_EQ(Names(Row(13, {0x00E0})),
              (Names_{"COMN_arrow13_down.tga", "COMN_arrow13_right.tga", "COMN_arrow13_up.tga"}));
    EXPECT_EQ(Names(Row(9, {0x00E0})),
              (Names_{"COMN_arrow9_up.tga", "COMN_arrow9_right.tga", "COMN_arrow9_down.tga"}));
}

TEST(LessonSprites, HiddenBlinkPhaseLeavesOutBlinkingPictures) {
    // A stone with a label blinking as a stone, numbered; a label with the stone class (stays);
    // a stone that stays with an arrow that blinks; a label that blinks; one that never blinks.
    const std::vector<uint16_t> codes = {0x4105, 0x4009, 0x8031, 0x800A, 0xC201};
    EXPECT_EQ(Row(9, codes).size(), 9u);
    EXPECT_EQ(Names(Row(9, codes, 1)),
              (Names_{"COMN_mark9_1.tga", "bstone9.tga", "bstone9.tga", "COMN_stone9NumW_02.tga"}));
}

TEST(LessonSprites, NigiriPicturesOfLessonOneOneTwo) {
    Scene s{.lesson = {0, 0, 1}};
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
    Scene s{.lesson = {0, 0, 1}, .page = 57};
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
    Scene s{.lesson = {0, 1, 0}, .page = 17};
    s.board.At(4, 0) = 0x0040;  // left
    s.board.At(6, 0) = 0x0060;  // right
    s.board.At(6, 1) = 0x0060;  // right on another row: stays
    auto xs = [&] {
        std::vector<int> out;
        for (const LessonSprite& sprite : s.Build()) out.push_back(sprite.x);
        return out;
    };
    const int col5 = PointPosition(9, 5, 0).x;
    EXPECT_EQ(xs(), (std::vector{col5, col5, PointPosition(9, 6, 1).x}));
    s.page = 18;
    EXPECT_EQ(s.Build()[0].x, PointPosition(9, 4, 0).x);
}

TEST(LessonSprites, ListStopsAtTwoHundredPictures) {
    Scene s{.size = 19};
    for (auto& row : s.board.points) row.fill(0x0101);
    dbglog::Capture log;
    const auto sprites = s.Build();
    EXPECT_EQ(std::tuple(sprites.size(), sprites.back().texture),
              std::tuple(kMaxSprites, "bstone19.tga"));
    EXPECT_NE(log.Text().find("spriteCount"), std::string::npos);
}
