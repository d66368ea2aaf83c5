// What the data checker does not check about the screens' layouts: pictures are drawn at
// their own size from the pane's anchor, so a pane of another size stretches its picture;
// text and click areas must agree with the places the code computes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "BuiltImage.h"
#include "Lib/lyt/textBox.h"
#include "screens/ScreenAssets.h"

namespace {

namespace sa = screen_assets;
using ScreenData = builtdata::BuiltDataTest;

TEST_F(ScreenData, EveryPictureIsAsLargeAsItsPane) {
    auto expectFits = [&](const std::string& archive, const std::string& pane,
                          const std::string& source, const std::string& texture) {
        const builtdata::Image img = Picture(source, texture);
        const TSRect r = Rect(archive, pane.c_str());
        EXPECT_EQ(std::pair(img.width, img.height), std::pair(r.right - r.left, r.bottom - r.top))
            << archive << " " << pane << " / " << texture;
    };
    for (const sa::ScreenNames* screen : sa::AllScreens()) {
        const std::string own = screen->id;
        for (const sa::PictureName& row : screen->pictures)
            expectFits(own, row.pane, row.source == sa::Source::Common ? "COMMON" : own,
                       row.texture);
    }
    // The menu switches the finished looks into its row buttons, and every section's
    // picture into each of its five rows.
    for (const auto& [pane, texture] : {std::pair{"btn_menu1_1", "C1_btn_explain_11.tga"},
                                        {"btn_menu1_2", "C1_btn_explain_21.tga"},
                                        {"btn_menu6_1", "C1_btn_problem_11.tga"},
                                        {"btn_menu6_2", "C1_btn_problem_21.tga"}})
        expectFits("C_1", pane, "C_1", texture);
    ASSERT_EQ(sa::MenuSectionCodes().size(), 31u);
    char pane[32], texture[32];
    for (int row = 1; row <= 5; ++row) {
        std::snprintf(pane, sizeof pane, "item_%d", row);
        for (int code : sa::MenuSectionCodes()) {
            std::snprintf(texture, sizeof texture, sa::kSectionPictureFormat, code / 10, code % 10);
            expectFits("C_1", pane, "C_1", texture);
        }
    }
}

TEST_F(ScreenData, TextWindowsHoldALineOfNineteenCharacters) {
    // Page bodies and questions are wrapped at 18 full-width characters; a closing mark may
    // make 19.
    for (const sa::ScreenNames* screen : {&sa::Lesson(), &sa::Problem()}) {
        auto* box = dynamic_cast<LYRALib::lytmgr::TextBox*>(
            Layout(screen->id).GetLayout().GetRootPane()->FindPane("txt_text", true));
        ASSERT_NE(box, nullptr) << screen->id;
        EXPECT_GE(box->GetSize().width, 19 * box->GetFontSize().width) << screen->id;
    }
}

TEST_F(ScreenData, ProblemListCellsSitInsideTheAreasThatSelectThem) {
    char name[16];
    for (int k = 0; k < sa::kProblemListCells; ++k) {
        const int col = k % 10, row = k / 10;
        std::snprintf(name, sizeof name, "btn_problem%02d", k + 1);
        const TSRect cell = Rect("E_1", name);
        // A release selects column (x - 60) / 86 and a row only in its first 53 pixels.
        EXPECT_TRUE(cell.left >= 60 + 86 * col && cell.right <= 60 + 86 * (col + 1) &&
                    cell.top >= 215 + 80 * row && cell.bottom <= 215 + 80 * row + 53)
            << name;
        // The screen centres a single digit on (102 + 86 col, top + 23.5).
        EXPECT_TRUE(std::abs((cell.left + cell.right) / 2 - (102 + 86 * col)) <= 1 &&
                    std::abs((cell.top + cell.bottom) / 2 - (215 + 80 * row + 23)) <= 3)
            << name;
    }
    const TSRect thumb = Rect("E_1", "btn_scroll_bar");
    EXPECT_EQ(std::pair((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2),
              std::pair(955, 230));
    // Presses within 23 pixels of the thumb's centre grab it: the thumb fills that square. The
    // track runs over y 207..591; the arrow buttons sit above and below it.
    EXPECT_TRUE(thumb.right - thumb.left <= 47 && thumb.bottom - thumb.top >= 44);
    EXPECT_TRUE(Rect("E_1", "btn_scroll_up1").bottom <= 207 &&
                Rect("E_1", "btn_scroll_down1").top >= 591);
}

}  // namespace
