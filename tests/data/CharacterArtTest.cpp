// The teacher's faces and the title's eyelids against where the screens put them: a face that
// moves when it is swapped, or an overlay (talking mouth, eyelids) that misses its spot, shows
// a jumping teacher, a second mouth or open eyes through closed lids. And the help page.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "BuiltImage.h"
#include "problem/ProblemControls.h"

namespace {

using builtdata::Image;
using CharacterArt = builtdata::BuiltDataTest;

// Opaque and dark: ink of eyes and mouths (skin, hair and the kimono are all lighter).
bool IsInk(const Image& img, int x, int y) {
    const uint8_t* p = img.At(x, y);
    return p[3] > 200 && p[0] + p[1] + p[2] < 240;
}

// A picture with its top-left corner on the screen.
struct Placed {
    const Image& image;
    int left;
    int top;
};

// Where a picture lands when the screen centres a pane of its size on (x, y).
Placed CentredOn(const Image& image, int x, int y) {
    return {image, x - image.width / 2, y - image.height / 2};
}

// The ink pixels of `base` under `overlay`, by the overlay's row, with whether the overlay
// hides them with a nearly opaque pixel; and how many overlay pixels fall off the base.
struct Coverage {
    struct Ink {
        int row;
        bool hidden;
    };
    std::vector<Ink> ink;
    int outsideBase = 0;
    int Hidden() const {
        return int(std::count_if(ink.begin(), ink.end(), [](const Ink& i) { return i.hidden; }));
    }
};
Coverage Cover(const Placed& base, const Placed& overlay) {
    Coverage c;
    for (int y = 0; y < overlay.image.height; ++y)
        for (int x = 0; x < overlay.image.width; ++x) {
            const int bx = overlay.left + x - base.left, by = overlay.top + y - base.top;
            const int a = overlay.image.Alpha(x, y);
            if (a > 0 && base.image.Alpha(bx, by) < 255) ++c.outsideBase;
            if (IsInk(base.image, bx, by)) c.ink.push_back({y, a >= 200});
        }
    return c;
}

TEST_F(CharacterArt, FacesHaveTheirPaneSizesAndKeepTheTeacherInPlace) {
    // Faces of different sizes are centred on different points; the teacher must stay put,
    // so every face starts at the same left edge and ends on the same bottom row.
    std::vector<int> lefts, bottoms;
    for (int face = 0; face < 4; ++face) {
        const problemcontrols::FaceLook& look = problemcontrols::LookOf(face);
        SCOPED_TRACE(look.texture);
        const Image image = Picture("COMMON", look.texture);
        ASSERT_EQ(std::pair(image.width, image.height), std::pair(look.width, look.height));
        const Placed placed = CentredOn(image, look.x, look.y);
        lefts.push_back(placed.left);
        bottoms.push_back(placed.top + image.height);
        // The figure stands on the bottom edge of its picture.
        int opaque = 0;
        for (int x = 0; x < image.width; ++x) opaque += image.Alpha(x, image.height - 1) == 255;
        EXPECT_GT(opaque, image.width / 2);
    }
    EXPECT_EQ(lefts, std::vector<int>(4, lefts[0]));
    EXPECT_EQ(bottoms, std::vector<int>(4, bottoms[0]));
}

TEST_F(CharacterArt, TalkingMouthsCoverTheMouthOfTheirFace) {
    // The lesson screen shows the front face where the problem screen does.
    const problemcontrols::FaceLook& front = problemcontrols::LookOf(0);
    const TSRect body = Rect("D_1", "chara_1"), talk = Rect("D_1", "chara_2");
    EXPECT_EQ(std::tuple((body.left + body.right) / 2, (body.top + body.bottom) / 2,
                         talk.right - talk.left, talk.bottom - talk.top),
              std::tuple(front.x, front.y, front.talking.width, front.talking.height));
    for (int face = 0; face < 4; ++face) {
        const problemcontrols::FaceLook& look = problemcontrols::LookOf(face);
        SCOPED_TRACE(look.talking.texture);
        const Image base = Picture("COMMON", look.texture);
        const Image mouth = Picture("COMMON", look.talking.texture);
        ASSERT_EQ(std::pair(mouth.width, mouth.height),
                  std::pair(look.talking.width, look.talking.height));
        const Coverage c = Cover(CentredOn(base, look.x, look.y),
                                 CentredOn(mouth, look.talking.x, look.talking.y));
        EXPECT_GT(c.ink.size(), 20u) << "not over the face's mouth";
        EXPECT_EQ(c.Hidden(), int(c.ink.size())) << "the face's mouth shows through";
        // The verdict faces' patches reach a few pixels onto the soft outline of the face;
        // the two faces that talk while the teacher explains must stay inside it.
        EXPECT_TRUE(face >= 2 || c.outsideBase == 0) << "sticks out of the face";
    }
}

TEST_F(CharacterArt, TitleEyelidsCoverTheOpenEyes) {
    const Image body = Picture("B_1", "B1_chara_0.tga");
    const Image half = Picture("B_1", "B1_chara_1.tga");
    const Image shut = Picture("B_1", "B1_chara_2.tga");
    ASSERT_GT(body.width * half.width * shut.width, 0);
    const TSRect b = Rect("B_1", "chara_0"), h = Rect("B_1", "chara_1"), s = Rect("B_1", "chara_2");
    const Placed base{body, b.left, b.top};
    const Coverage shutCover = Cover(base, {shut, s.left, s.top});
    EXPECT_GT(shutCover.ink.size(), 40u) << "the shut eyelids are not over the eyes";
    EXPECT_EQ(shutCover.Hidden(), int(shutCover.ink.size())) << "an eye shows through";
    // Half shut, from the same spot: the rows above the eyes' middle are hidden, those below
    // (clear of the lid's own edge line) still show.
    EXPECT_EQ(std::pair(h.left, h.top), std::pair(s.left, s.top));
    const Coverage halfCover = Cover(base, {half, h.left, h.top});
    EXPECT_EQ(std::pair(shutCover.outsideBase, halfCover.outsideBase), std::pair(0, 0));
    ASSERT_FALSE(halfCover.ink.empty());
    const auto [lo, hi] = std::minmax_element(
        halfCover.ink.begin(), halfCover.ink.end(),
        [](const Coverage::Ink& p, const Coverage::Ink& q) { return p.row < q.row; });
    const int middle = (lo->row + hi->row) / 2;
    // Ink pixels and hidden ones, above and below the middle.
    int upper[2] = {}, lower[2] = {};
    for (const Coverage::Ink& p : halfCover.ink) {
        if (int* count = p.row < middle - 1 ? upper : p.row > middle + 3 ? lower : nullptr) {
            ++count[0];
            count[1] += p.hidden;
        }
    }
    EXPECT_TRUE(upper[0] > 10 && lower[0] > 10) << upper[0] << " " << lower[0];
    EXPECT_EQ(upper[1], upper[0]) << "an eye shows above the half lid";
    EXPECT_EQ(lower[1], 0) << "the half lid hides the lower eye";
}

TEST(HelpPage, LinksOnlyToInstalledFilesAndItsOwnSections) {
    const std::filesystem::path help = builtdata::DataPath("IMG/HELP");
    std::ifstream in(help / "help.html");
    ASSERT_TRUE(in) << "DATA/IMG/HELP/help.html is not installed";
    std::stringstream text;
    text << in.rdbuf();
    const std::string page = text.str();
    auto all = [&](const char* pattern) {
        std::vector<std::string> out;
        const std::regex re(pattern);
        for (auto it = std::sregex_iterator(page.begin(), page.end(), re);
             it != std::sregex_iterator(); ++it)
            out.push_back((*it)[1]);
        return out;
    };
    const std::vector<std::string> ids = all(R"re(id="([^"]*)")re");
    const std::set<std::string> anchors(ids.begin(), ids.end());
    int files = 0;
    for (const std::string& target : all(R"re((?:href|src)="([^"]*)")re")) {
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

}  // namespace
