// Checks the built pictures and layouts of the logo, title and main menu and the teacher's
// faces against where the screens put them: a picture drawn at another size than its pane is
// stretched, and an overlay (talking mouth, eyelids) that misses its spot shows a second mouth
// or open eyes through closed lids. Reads the DATA tree the build has just made.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Graphics/ImageDecoder.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Layout/ts_pane.h"
#include "screens/ScreenAssets.h"

namespace {

namespace sa = screen_assets;

const std::string kImg = std::string(STONEWELL_BINARY_DIR) + "/DATA/IMG/";

// A decoded picture with top-down pixel access.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // rows top-down

    const uint8_t* At(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
    int Alpha(int x, int y) const { return At(x, y)[3]; }
    // Opaque and dark: ink of eyes and mouths (skin, hair and the kimono are all lighter).
    bool IsInk(int x, int y) const {
        const uint8_t* p = At(x, y);
        return p[3] > 200 && p[0] + p[1] + p[2] < 240;
    }
};

// An opened archive of the built data.
struct Archive {
    CTIGroup group;
    explicit Archive(const std::string& name) { group.Open((kImg + name).c_str()); }

    // Decodes the entry as the program does; an empty image when missing or undecodable.
    Image Picture(const char* name) {
        Image image;
        const uint8_t* data = group.GetT2IBuffer(name);
        if (data == nullptr) return image;
        gfx::DecodedImage decoded;
        if (!gfx::DecodeImage(gfx::ImageTypeFromName(name), {data, group.GetT2ISize(name)},
                              decoded))
            return image;
        image.width = decoded.width;
        image.height = decoded.height;
        image.rgba.resize(size_t(image.width) * image.height * 4);
        // The decoder hands rows bottom-up.
        for (int y = 0; y < image.height; ++y)
            std::copy_n(&decoded.rgba[size_t(image.height - 1 - y) * image.width * 4],
                        size_t(image.width) * 4, &image.rgba[size_t(y) * image.width * 4]);
        return image;
    }
};

// Screen rectangle of a picture drawn with its top-left corner at (left, top).
struct Placed {
    const Image* image;
    int left;
    int top;
};

// Where a picture lands when the screen centres a pane of its size on (x, y), as
// CTSPane::MoveCenterTo does (centre = left + width / 2 in whole pixels).
Placed CentredOn(const Image& image, int x, int y) {
    return {&image, x - image.width / 2, y - image.height / 2};
}

// Counts the ink pixels of `base` under the rectangle of `overlay`, and how many of them the
// overlay hides with a nearly opaque pixel.
struct Coverage {
    int ink = 0;
    int hidden = 0;
    int overlayOutsideBase = 0;  // overlay pixels drawn where the base is transparent
};
Coverage Cover(const Placed& base, const Placed& overlay) {
    Coverage c;
    for (int y = 0; y < overlay.image->height; ++y)
        for (int x = 0; x < overlay.image->width; ++x) {
            const int bx = overlay.left + x - base.left;
            const int by = overlay.top + y - base.top;
            const bool onBase =
                bx >= 0 && by >= 0 && bx < base.image->width && by < base.image->height;
            const int a = overlay.image->Alpha(x, y);
            if (a > 0 && (!onBase || base.image->Alpha(bx, by) < 255)) ++c.overlayOutsideBase;
            if (!onBase || !base.image->IsInk(bx, by)) continue;
            ++c.ink;
            if (a >= 200) ++c.hidden;
        }
    return c;
}

// For a half-shut eyelid: the ink under the overlay split at the middle row of the eyes. The
// rows above must all be hidden, the rows below (clear of the lid's own edge line) must show.
struct HalfCoverage {
    int upper = 0, upperHidden = 0;
    int lower = 0, lowerHidden = 0;
};
HalfCoverage CoverUpperHalf(const Placed& base, const Placed& overlay) {
    struct Ink {
        int y;
        bool hidden;
    };
    std::vector<Ink> ink;
    int top = 1 << 30, bottom = -1;
    for (int y = 0; y < overlay.image->height; ++y)
        for (int x = 0; x < overlay.image->width; ++x) {
            const int bx = overlay.left + x - base.left;
            const int by = overlay.top + y - base.top;
            if (bx < 0 || by < 0 || bx >= base.image->width || by >= base.image->height) continue;
            if (!base.image->IsInk(bx, by)) continue;
            ink.push_back({y, overlay.image->Alpha(x, y) >= 200});
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    HalfCoverage c;
    const int middle = (top + bottom) / 2;
    for (const Ink& p : ink) {
        if (p.y < middle - 1) {
            ++c.upper;
            c.upperHidden += p.hidden;
        } else if (p.y > middle + 3) {
            ++c.lower;
            c.lowerHidden += p.hidden;
        }
    }
    return c;
}

// Loads a layout from its archive as the screens do.
struct LoadedLayout {
    CTSLayout layout;
    LoadedLayout(Archive& archive, const char* name) {
        EXPECT_EQ(layout.Load(&archive.group, name, nullptr), 1) << name;
    }
    TSRect Rect(const char* pane) { return layout.GetPane(pane).GetPaneRect(); }
};

void ExpectPaneShowsPictureUnscaled(LoadedLayout& layout, Archive& archive, const char* pane,
                                    const char* texture) {
    const Image image = archive.Picture(texture);
    ASSERT_GT(image.width, 0) << texture << " is missing or does not decode";
    const TSRect r = layout.Rect(pane);
    EXPECT_EQ(r.right - r.left, image.width) << pane << " / " << texture;
    EXPECT_EQ(r.bottom - r.top, image.height) << pane << " / " << texture;
}

}  // namespace

TEST(MenuArt, FacesHaveTheSizesTheProblemScreenGivesTheirPane) {
    Archive common("COMMON.T2G");
    ASSERT_TRUE(common.group.IsOpen());
    const struct {
        const char* name;
        int width, height;
    } faces[] = {{"COMN_chara_normal_1.tga", 238, 468},
                 {"COMN_chara_left_1.tga", 238, 468},
                 {"COMN_chara_correct.tga", 290, 469},
                 {"COMN_chara_incorrect.tga", 266, 471}};
    for (const auto& face : faces) {
        const Image image = common.Picture(face.name);
        EXPECT_EQ(image.width, face.width) << face.name;
        EXPECT_EQ(image.height, face.height) << face.name;
    }
}

TEST(MenuArt, FacesKeepTheTeacherInPlaceWhenTheyAreSwapped) {
    // The faces are centred on different points with different sizes; the teacher must stay
    // put, so every face starts at the same left edge and ends on the same bottom row.
    Archive common("COMMON.T2G");
    const struct {
        const char* name;
        int x, y;
    } faces[] = {{"COMN_chara_normal_1.tga", 838, 534},
                 {"COMN_chara_correct.tga", 864, 533},
                 {"COMN_chara_incorrect.tga", 852, 532}};
    std::vector<int> bottoms;
    std::vector<int> lefts;
    for (const auto& face : faces) {
        const Image image = common.Picture(face.name);
        ASSERT_GT(image.width, 0) << face.name;
        const Placed placed = CentredOn(image, face.x, face.y);
        bottoms.push_back(placed.top + image.height);
        lefts.push_back(placed.left);
        // The figure stands on the bottom edge of its picture.
        int opaque = 0;
        for (int x = 0; x < image.width; ++x) opaque += image.Alpha(x, image.height - 1) == 255;
        EXPECT_GT(opaque, image.width / 2) << face.name;
    }
    for (size_t i = 1; i < bottoms.size(); ++i) {
        EXPECT_NEAR(bottoms[i], bottoms[0], 1) << faces[i].name;
        EXPECT_EQ(lefts[i], lefts[0]) << faces[i].name;
    }
}

TEST(MenuArt, TalkingMouthsCoverTheClosedMouthOfTheirPose) {
    // The lesson screen centres the talking picture on (831, 460) for the front pose and on
    // (818, 461) for the pose looking aside, over the face centred like the problem screen's.
    Archive common("COMMON.T2G");
    Archive lesson("D_1.T2G");
    LoadedLayout layout(lesson, "D_1");
    const TSRect body = layout.Rect("chara_1");
    const TSRect talk = layout.Rect("chara_2");
    EXPECT_EQ(body, (TSRect{719, 300, 957, 768}))
        << "the lesson's face is not where the mouths fit";
    const struct {
        const char* face;
        const char* mouth;
        int x, y;
    } poses[] = {{"COMN_chara_normal_1.tga", "COMN_chara_normal_2.tga", 831, 460},
                 {"COMN_chara_left_1.tga", "COMN_chara_left_2.tga", 818, 461}};
    for (const auto& pose : poses) {
        const Image face = common.Picture(pose.face);
        const Image mouth = common.Picture(pose.mouth);
        ASSERT_GT(face.width, 0) << pose.face;
        ASSERT_GT(mouth.width, 0) << pose.mouth;
        EXPECT_EQ(talk.right - talk.left, mouth.width)
            << "the talking pane stretches " << pose.mouth;
        EXPECT_EQ(talk.bottom - talk.top, mouth.height)
            << "the talking pane stretches " << pose.mouth;
        const Coverage c = Cover(CentredOn(face, 838, 534), CentredOn(mouth, pose.x, pose.y));
        EXPECT_GT(c.ink, 20) << pose.mouth << " is not over the closed mouth";
        EXPECT_EQ(c.hidden, c.ink) << pose.mouth << " lets the closed mouth show through";
        EXPECT_EQ(c.overlayOutsideBase, 0) << pose.mouth << " sticks out of the face";
    }
}

TEST(MenuArt, TitleEyelidsCoverTheOpenEyes) {
    Archive title("B_1.T2G");
    ASSERT_TRUE(title.group.IsOpen());
    LoadedLayout layout(title, "B_1");
    const Image body = title.Picture("B1_chara_0.tga");
    const Image half = title.Picture("B1_chara_1.tga");
    const Image shut = title.Picture("B1_chara_2.tga");
    ASSERT_GT(body.width, 0);
    ASSERT_GT(half.width, 0);
    ASSERT_GT(shut.width, 0);
    const TSRect b = layout.Rect("chara_0");
    const TSRect h = layout.Rect("chara_1");
    const TSRect s = layout.Rect("chara_2");
    const Placed base{&body, b.left, b.top};
    const Coverage shutCover = Cover(base, {&shut, s.left, s.top});
    EXPECT_GT(shutCover.ink, 40) << "the shut eyelids are not over the eyes";
    EXPECT_EQ(shutCover.hidden, shutCover.ink) << "an eye shows through the shut eyelids";
    EXPECT_EQ(shutCover.overlayOutsideBase, 0);
    // Half shut: the upper part of each eye is hidden, the lower part still shows.
    EXPECT_EQ(h.left, s.left) << "both eyelid pictures must sit on the same spot";
    EXPECT_EQ(h.top, s.top) << "both eyelid pictures must sit on the same spot";
    const HalfCoverage halfCover = CoverUpperHalf(base, {&half, h.left, h.top});
    EXPECT_GT(halfCover.upper, 10);
    EXPECT_EQ(halfCover.upperHidden, halfCover.upper) << "an eye shows above the half lid";
    EXPECT_GT(halfCover.lower, 10);
    EXPECT_EQ(halfCover.lowerHidden, 0) << "the half lid hides the lower eye";
    EXPECT_EQ(Cover(base, {&half, h.left, h.top}).overlayOutsideBase, 0);
}

TEST(MenuArt, EveryPictureOfTheNameTablesIsDrawnAtItsOwnSize) {
    // A picture is drawn at its pane's size: a pane of another size stretches it. Checks every
    // picture row of the logo, title and main menu (their own and the common pictures), and
    // the buttons' finished looks the menu switches into the row buttons.
    Archive common("COMMON.T2G");
    ASSERT_TRUE(common.group.IsOpen());
    const sa::ScreenNames* screens[] = {&sa::Logo(), &sa::Title(), &sa::MainMenu()};
    for (const sa::ScreenNames* screen : screens) {
        Archive own(std::string(screen->archive).substr(std::string("DATA/IMG/").size()));
        ASSERT_TRUE(own.group.IsOpen()) << screen->archive;
        LoadedLayout layout(own, screen->layout);
        for (const sa::PictureName& row : screen->pictures) {
            ASSERT_TRUE(layout.layout.GetPane(row.pane).IsValid()) << screen->id << " " << row.pane;
            ExpectPaneShowsPictureUnscaled(layout, row.source == sa::Source::Common ? common : own,
                                           row.pane, row.texture);
        }
        for (const sa::ButtonName& button : screen->buttons) {
            EXPECT_TRUE(layout.layout.GetPane(button.normalPane).IsValid()) << button.normalPane;
            EXPECT_TRUE(layout.layout.GetPane(button.pressedPane).IsValid()) << button.pressedPane;
        }
        for (const sa::TextureName& t : screen->switched) {
            Archive& archive = t.source == sa::Source::Common ? common : own;
            EXPECT_GT(archive.Picture(t.texture).width, 0) << screen->id << " " << t.texture;
        }
    }
    Archive menu("C_1.T2G");
    LoadedLayout layout(menu, "C_1");
    const char* finished[][2] = {{"btn_menu1_1", "C1_btn_explain_11.tga"},
                                 {"btn_menu1_2", "C1_btn_explain_21.tga"},
                                 {"btn_menu6_1", "C1_btn_problem_11.tga"},
                                 {"btn_menu6_2", "C1_btn_problem_21.tga"}};
    for (const auto& row : finished) ExpectPaneShowsPictureUnscaled(layout, menu, row[0], row[1]);
}

TEST(MenuArt, EveryListedSectionHasItsRowPicture) {
    // The menu lists course 0's 31 sections and swaps their pictures into the five rows.
    const std::span<const int> codes = sa::MenuSectionCodes();
    ASSERT_EQ(codes.size(), 31u);
    Archive menu("C_1.T2G");
    LoadedLayout layout(menu, "C_1");
    char name[32];
    for (int row = 1; row <= 5; ++row) {
        std::snprintf(name, sizeof name, "item_%d", row);
        const TSRect r = layout.Rect(name);
        for (int code : codes) {
            char texture[32];
            std::snprintf(texture, sizeof texture, "C1_%d-%d.tga", code / 10, code % 10);
            const Image image = menu.Picture(texture);
            ASSERT_GT(image.width, 0) << texture;
            EXPECT_EQ(image.width, r.right - r.left) << name << " / " << texture;
            EXPECT_EQ(image.height, r.bottom - r.top) << name << " / " << texture;
        }
    }
}

TEST(MenuArt, HelpPageLinksOnlyToInstalledFiles) {
    const std::filesystem::path help = kImg + "HELP";
    std::ifstream in(help / "help.html");
    ASSERT_TRUE(in) << "DATA/IMG/HELP/help.html is not installed";
    std::stringstream text;
    text << in.rdbuf();
    const std::string page = text.str();
    const std::regex link(R"re((?:href|src)="([^"]*)")re");
    std::set<std::string> anchors;
    const std::regex id(R"re(id="([^"]*)")re");
    for (auto it = std::sregex_iterator(page.begin(), page.end(), id); it != std::sregex_iterator();
         ++it)
        anchors.insert((*it)[1]);
    int files = 0;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), link);
         it != std::sregex_iterator(); ++it) {
        const std::string target = (*it)[1];
        if (target.starts_with("#")) {
            EXPECT_TRUE(anchors.count(target.substr(1))) << "no section " << target;
            continue;
        }
        ++files;
        EXPECT_EQ(target.find(':'), std::string::npos) << "the page must work offline: " << target;
        EXPECT_TRUE(std::filesystem::is_regular_file(help / target)) << target << " missing";
    }
    EXPECT_GE(files, 3);  // the style sheet and the pictures
}
