#include <gtest/gtest.h>

#include <set>
#include <string>

#include "lesson/LessonSprites.h"
#include "screens/ScreenAssets.h"

using namespace screen_assets;

TEST(ScreenAssets, ButtonsAreMadeOfTwoDistinctPicturePanesWithUniqueIds) {
    for (const ScreenNames* screen : AllScreens()) {
        SCOPED_TRACE(screen->id);
        std::set<std::string> pictures;
        for (const PictureName& row : screen->pictures) pictures.insert(row.pane);
        std::set<int> ids;
        std::set<std::string> used;
        for (const ButtonName& button : screen->buttons) {
            EXPECT_TRUE(ids.insert(button.id).second) << "id " << button.id << " twice";
            EXPECT_GT(button.id, 0);
            EXPECT_STRNE(button.normalPane, button.pressedPane);
            for (const char* pane : {button.normalPane, button.pressedPane}) {
                EXPECT_TRUE(pictures.count(pane)) << pane << " has no picture row";
                EXPECT_TRUE(used.insert(pane).second) << pane << " belongs to two buttons";
            }
        }
    }
}

TEST(ScreenAssets, BoardFamilyHoldsEveryPictureTheLessonBoardDraws) {
    // Cross-check against the lesson's own sprite builder: every picture it can draw for
    // any stone, arrow or number value on any board size is in the family.
    std::set<std::string> family;
    for (const GeneratedTexture& t : BoardFamilyTextures()) family.insert(t.texture);
    EXPECT_EQ(family.size(), BoardFamilyTextures().size()) << "duplicate names in the family";
    for (int size : kBoardSizes) {
        EXPECT_TRUE(family.count(BoardTexture(size)));
        EXPECT_EQ(lesson::BoardPictureName(size), BoardTexture(size));
        for (int value = 1; value < 64; ++value) {
            lesson::LessonBoard board;
            board.At(1, 1) = lesson::PointCode((value & 15) | ((value & 15) << 4) | (value << 8));
            for (int page : {0, 9, 12, 13, 14, 57}) {
                auto sprites = lesson::BuildSprites({&board, size, 0, {0, 0, 1}, page});
                for (const auto& sprite : sprites) {
                    EXPECT_TRUE(family.count(sprite.texture))
                        << sprite.texture << " (size " << size << ", value " << value << ")";
                }
            }
        }
    }
}
