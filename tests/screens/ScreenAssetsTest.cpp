#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

#include "lesson/LessonSprites.h"
#include "screens/ScreenAssets.h"

using namespace screen_assets;

namespace {

// Pane and group names are stored in 16-byte fields of the layout file.
constexpr size_t kPaneNameField = 16;

std::set<std::string> TextureSet(const std::vector<GeneratedTexture>& textures) {
    std::set<std::string> out;
    for (const auto& t : textures) out.insert(t.texture);
    return out;
}

bool EndsWith(const std::string& s, const char* tail) {
    size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

}  // namespace

TEST(ScreenAssets, EveryScreenHasItsOwnArchiveNamedAfterItsLayout) {
    std::set<std::string> archives;
    for (const ScreenNames* screen : AllScreens()) {
        SCOPED_TRACE(screen->id);
        EXPECT_EQ(std::string(screen->archive), std::string("DATA/IMG/") + screen->id + ".T2G");
        ASSERT_NE(screen->layout, nullptr);
        EXPECT_STREQ(screen->layout, screen->id);
        EXPECT_TRUE(archives.insert(screen->archive).second) << "two screens share an archive";
        EXPECT_NE(std::string(screen->archive), kCommonArchive);
        EXPECT_NE(std::string(screen->archive), kTextArchive);
    }
    EXPECT_EQ(archives.size(), 9u);
}

TEST(ScreenAssets, PaneNamesAreUniqueAndFitTheLayoutField) {
    for (const ScreenNames* screen : AllScreens()) {
        SCOPED_TRACE(screen->id);
        std::set<std::string> seen;
        for (const std::string& pane : PanesOf(*screen)) {
            EXPECT_TRUE(seen.insert(pane).second) << pane << " is bound twice";
            EXPECT_FALSE(pane.empty());
            EXPECT_LE(pane.size(), kPaneNameField) << pane;
        }
    }
}

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

TEST(ScreenAssets, ButtonIdsFollowTheScreensOrder) {
    // The screens' ids run on from one screen to the next without overlap; the dialogs
    // number their buttons from 1.
    int next = 2;
    for (const ScreenNames* screen :
         {&Title(), &MainMenu(), &Lesson(), &ProblemList(), &Problem()}) {
        SCOPED_TRACE(screen->id);
        if (screen == &ProblemList()) {
            // The problem list comes after the lesson's 19..24 in numbering.
            EXPECT_EQ(next, 25);
        }
        for (const ButtonName& button : screen->buttons) EXPECT_EQ(button.id, next++);
    }
    for (const ScreenNames* dialog : {&MenuDialog(), &MsgBox(), &Options()}) {
        int id = 1;
        for (const ButtonName& button : dialog->buttons) EXPECT_EQ(button.id, id++);
    }
}

TEST(ScreenAssets, TexturesComeFromTheArchiveTheirNameBelongsTo) {
    for (const ScreenNames* screen : AllScreens()) {
        SCOPED_TRACE(screen->id);
        for (const GeneratedTexture& t : TexturesOf(*screen)) {
            EXPECT_TRUE(EndsWith(t.texture, ".tga")) << t.texture;
            bool common = t.texture.rfind("COMN_", 0) == 0 || t.texture.rfind("bstone", 0) == 0 ||
                          t.texture.rfind("wstone", 0) == 0 || t.texture.rfind("EX1_", 0) == 0;
            EXPECT_EQ(t.source == Source::Common, common) << t.texture;
        }
    }
}

TEST(ScreenAssets, TextRowsNameAFontOfTheTextArchiveAndANonZeroSize) {
    int rows = 0;
    for (const ScreenNames* screen : AllScreens()) {
        for (const TextName& row : screen->texts) {
            SCOPED_TRACE(row.pane);
            EXPECT_STREQ(row.fontFile, kRoundedFont);
            EXPECT_GT(row.size, 0) << "a row with size 0 would be skipped";
            EXPECT_EQ(std::string(row.pane).rfind("txt_", 0), 0u);
            ++rows;
        }
    }
    EXPECT_EQ(rows, 3 + 6 + 1);
}

TEST(ScreenAssets, SoundsAreWavFilesUnderTheSoundFolders) {
    for (const ScreenNames* screen : AllScreens()) {
        SCOPED_TRACE(screen->id);
        for (const char* sound : screen->sounds) {
            std::string s = sound;
            EXPECT_TRUE(s.rfind("DATA/SOUND/BGM/", 0) == 0 || s.rfind("DATA/SOUND/SE/", 0) == 0)
                << s;
            EXPECT_TRUE(EndsWith(s, ".wav")) << s;
        }
    }
}

TEST(ScreenAssets, ProblemListCellsCoverFiftyButtonsWithFivePanesEach) {
    auto cells = ProblemListCellPictures();
    ASSERT_EQ(cells.size(), size_t(kProblemListCells) * 5);
    EXPECT_EQ(cells.front().pane, "btn_problem01");
    EXPECT_EQ(cells[1].pane, "01_num1");
    EXPECT_EQ(cells[4].pane, "01_check");
    EXPECT_EQ(cells.back().pane, "50_check");
    auto digits = TextureSet(ListDigitTextures());
    for (const auto& cell : cells)
        if (cell.pane.find("_num") != std::string::npos) {
            EXPECT_TRUE(digits.count(cell.texture));
        }
    EXPECT_EQ(digits.size(), 10u);
}

TEST(ScreenAssets, SectionPicturesFollowTheMenuListAndStartWithTheRowDefaults) {
    auto pictures = SectionPictures();
    ASSERT_EQ(pictures.size(), MenuSectionCodes().size());
    EXPECT_EQ(TextureSet(pictures).size(), pictures.size()) << "a section is listed twice";
    // The layout's item rows start on the first five sections.
    for (int row = 1; row <= 5; ++row) {
        std::string pane = "item_" + std::to_string(row);
        bool found = false;
        for (const PictureName& p : MainMenu().pictures) {
            if (pane == p.pane) {
                EXPECT_EQ(pictures[size_t(row - 1)].texture, p.texture);
                found = true;
            }
        }
        EXPECT_TRUE(found) << pane;
    }
    for (int code : MenuSectionCodes()) {
        EXPECT_GE(code % 10, 1);
        EXPECT_LE(code % 10, 8);
        EXPECT_GE(code / 10, 1);
        EXPECT_LE(code / 10, 6);
    }
}

TEST(ScreenAssets, BoardFamilyHoldsEveryPictureTheLessonBoardDraws) {
    // Cross-check against the lesson's own sprite builder: every picture it can draw for
    // any stone, arrow or number value on any board size is in the family.
    auto family = TextureSet(BoardFamilyTextures());
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

TEST(ScreenAssets, BoardScreensAskForTheBoardFamilyFromTheCommonArchive) {
    for (const ScreenNames* screen : {&Lesson(), &Problem()}) {
        SCOPED_TRACE(screen->id);
        auto textures = TexturesOf(*screen);
        std::map<std::string, Source> bySource;
        for (const auto& t : textures) bySource[t.texture] = t.source;
        EXPECT_EQ(bySource.count("COMN_stone19NumB_63.tga"), 1u);
        EXPECT_EQ(bySource["COMN_mark6_W.tga"], Source::Common);
        EXPECT_EQ(bySource.count("COMN_mark6_1.tga"), 1u);
        EXPECT_EQ(bySource.count("COMN_stone6TextB_07.tga"), 0u) << "the 6-point board uses marks";
    }
    EXPECT_EQ(TexturesOf(Title()).size(), Title().pictures.size());
}
