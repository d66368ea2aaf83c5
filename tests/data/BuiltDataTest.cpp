// What the data checker does not check about the screens' layouts and pictures: pictures are
// drawn at their own size from the pane's anchor, so a pane of another size stretches its
// picture; text windows must hold the lines the code wraps. The board pictures must put their
// grid exactly where the code centres each point (the board pane's place in the layouts plus a
// line's place in the picture), and stones and all that is laid over them are centred on a
// point, so each must be as large as the stone of its board. (Click areas: the script cases.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Graphics/ImageDecoder.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "Lib/ZIRur/Wnd/TSButton.h"
#include "Lib/lyt/textBox.h"
#include "lesson/LessonExceptions.h"
#include "lesson/LessonPage.h"
#include "platform/headless/HeadlessPlatform.h"
#include "problem/BoardGeometry.h"
#include "problem/ProblemControls.h"
#include "screens/ScreenAssets.h"
#include "support/Built.h"
#include "support/ScratchDir.h"

namespace {

using testsupport::BuiltData;

// One decoded picture of a built archive, rows top first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
    // The pixel's R, G, B, A; zeros outside the picture.
    const uint8_t* At(int x, int y) const {
        static const uint8_t kNone[4] = {0, 0, 0, 0};
        if (x < 0 || y < 0 || x >= width || y >= height) return kNone;
        return rgba.data() + (size_t(y) * size_t(width) + size_t(x)) * 4;
    }
    int Alpha(int x, int y) const { return At(x, y)[3]; }
    // Perceived brightness 0..255 of an opaque pixel.
    int Luma(int x, int y) const {
        const uint8_t* p = At(x, y);
        return (p[0] * 299 + p[1] * 587 + p[2] * 114) / 1000;
    }
};

// Tests on the archives and layouts the build made; archives are named as under DATA/IMG
// without ".T2G" ("COMMON", "F_1").
class BuiltDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetPlatform(&m_platform);
        ASSERT_TRUE(Archive("COMMON").IsOpen()) << "build the data first (target stonewell_data)";
    }
    void TearDown() override {
        m_layouts.clear();
        TSingleton<CTSLytMgr>::DestroyInstance();
        platform::SetPlatform(nullptr);
    }
    CTIGroup& Archive(const std::string& name) {
        auto& slot = m_archives[name];
        if (!slot) {
            slot = std::make_unique<CTIGroup>();
            EXPECT_TRUE(slot->Open((BuiltData() / "IMG" / (name + ".T2G")).string().c_str()))
                << name;
        }
        return *slot;
    }
    // A Targa entry decoded as the program does; width 0 when missing or undecodable.
    Image Picture(const std::string& archive, const std::string& name) {
        const CTIGroup& group = Archive(archive);
        const uint8_t* data = group.GetT2IBuffer(name.c_str());
        gfx::DecodedImage decoded;
        Image image;
        if (data == nullptr || !gfx::DecodeImage(gfx::kImageTypeTarga,
                                                 {data, group.GetT2ISize(name.c_str())}, decoded))
            return image;
        image.width = decoded.width;
        image.height = decoded.height;
        const size_t row = size_t(decoded.width) * 4;
        image.rgba.resize(row * size_t(decoded.height));
        // Decoded bottom row first; kept top row first.
        for (int y = 0; y < decoded.height; ++y)
            std::copy_n(decoded.rgba.get() + size_t(decoded.height - 1 - y) * row, row,
                        image.rgba.data() + size_t(y) * row);
        return image;
    }
    CTSLayout& Layout(const std::string& archive) {
        auto& slot = m_layouts[archive];
        if (!slot) {
            slot = std::make_unique<CTSLayout>();
            EXPECT_EQ(slot->Load(&Archive(archive), archive.c_str(), nullptr), 1) << archive;
        }
        return *slot;
    }
    // The screen rectangle of a pane of the archive's layout of the same name.
    TSRect Rect(const std::string& archive, const char* pane) {
        return Layout(archive).GetPane(pane).GetPaneRect();
    }

private:
    platform::HeadlessPlatform m_platform;
    std::map<std::string, std::unique_ptr<CTIGroup>> m_archives;
    std::map<std::string, std::unique_ptr<CTSLayout>> m_layouts;
};

namespace sa = screen_assets;
using BoardPictures = BuiltDataTest;
using ScreenData = BuiltDataTest;
using CharacterArt = BuiltDataTest;

// Board line ink, however it is anti-aliased onto the wood.
bool IsInk(const Image& img, int x, int y) {
    return img.Alpha(x, y) == 255 && img.Luma(x, y) < 110;
}

// Bare board wood: light and clearly warm.
bool IsWood(const Image& img, int x, int y) {
    const uint8_t* p = img.At(x, y);
    return p[3] == 255 && img.Luma(x, y) > 140 && p[0] - p[2] > 50;
}

std::string Name(const char* format, int size, int n = 0) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, size, n);
    return buf;
}

TEST_F(BoardPictures, GridLinesLieOnTheCodesPointCentres) {
    const TSRect pane = Rect("F_1", "board");
    EXPECT_EQ(pane, Rect("D_1", "board")) << "the lesson and problem screens place it alike";
    for (int size : sa::kBoardSizes) {
        SCOPED_TRACE(size);
        const Image img = Picture("COMMON", sa::BoardTexture(size));
        const boardgeometry::Geometry* g = boardgeometry::For(size);
        ASSERT_TRUE(g != nullptr && img.width == pane.right - pane.left &&
                    img.height == pane.bottom - pane.top);
        const int half = g->pitch / 2;
        auto px = [&](int col) { return g->originX + col * g->pitch - pane.left; };
        auto py = [&](int row) { return g->originY + row * g->pitch - pane.top; };
        // Misses are counted and the first is named, so a shifted grid fails once.
        int misses = 0;
        std::string first;
        auto expect = [&](bool ok, const char* what, int index) {
            if (!ok && misses++ == 0) first = what + std::to_string(index);
        };
        for (int i = 0; i < size; ++i) {
            for (int j = 0; j + 1 < size; ++j) {
                // Halfway between two points only the line is drawn: it covers the two pixels
                // either side of the point's centre, and the wood shows close by.
                const int x = px(i), y = py(j) + half;
                expect(IsInk(img, x - 1, y) && IsInk(img, x, y), "no line at column ", i);
                expect(IsWood(img, x - 3, y) && IsWood(img, x + 2, y), "wide column ", i);
                const int hx = px(j) + half, hy = py(i);
                expect(IsInk(img, hx, hy - 1) && IsInk(img, hx, hy), "no line at row ", i);
                expect(IsWood(img, hx, hy - 3) && IsWood(img, hx, hy + 2), "wide row ", i);
                if (i + 1 < size) expect(IsWood(img, x + half, y), "no wood after column ", i);
            }
        }
        EXPECT_EQ(misses, 0) << "first: " << first;
        // Nothing outside the outer lines, except on the corner window, whose lines run on
        // past its right and bottom edges.
        const int mid = py(0) + half;
        EXPECT_TRUE(IsWood(img, px(0) - 6, mid) && IsWood(img, px(0) + half, py(0) - 6));
        const bool edges =
            size == 13
                ? IsInk(img, img.width - 1, py(0)) && IsInk(img, px(0), img.height - 1)
                : IsWood(img, px(size - 1) + 6, mid) && IsWood(img, px(0) + half, py(size - 1) + 6);
        EXPECT_TRUE(edges);
    }
}

TEST_F(BoardPictures, StarPointsSitOnTheirIntersectionsOnly) {
    const TSRect pane = Rect("F_1", "board");
    // A star fills the pixels diagonal to the intersection, which the lines alone leave bare.
    auto hasStar = [&](int size, int col, int row) {
        const Image img = Picture("COMMON", sa::BoardTexture(size));
        const boardgeometry::Geometry* g = boardgeometry::For(size);
        const int x = g->originX + col * g->pitch - pane.left;
        const int y = g->originY + row * g->pitch - pane.top;
        return IsInk(img, x + 1, y + 1) && IsInk(img, x - 2, y - 2);
    };
    // The corner window shows the full board's stars that fall inside it.
    for (int a : {3, 9, 15})
        for (int b : {3, 9, 15})
            EXPECT_TRUE(hasStar(19, a, b) && (a == 15 || b == 15 || hasStar(13, a, b))) << a << b;
    for (auto [a, b] : {std::pair{2, 2}, {6, 2}, {4, 4}, {2, 6}, {6, 6}})
        EXPECT_TRUE(hasStar(9, a, b)) << a << "," << b;
    for (auto [size, a, b] : {std::tuple{19, 4, 4}, {19, 9, 10}, {13, 6, 6}, {9, 3, 3}, {6, 2, 2}})
        EXPECT_FALSE(hasStar(size, a, b)) << size << ": " << a << "," << b;
}

TEST_F(BoardPictures, StonesAndTheirOverlaysFitThePitch) {
    for (int size : sa::kBoardSizes) {
        SCOPED_TRACE(size);
        const int pitch = boardgeometry::For(size)->pitch;
        for (const char* format : {sa::kBlackStoneFormat, sa::kWhiteStoneFormat}) {
            const Image img = Picture("COMMON", Name(format, size));
            const int w = img.width, c = w / 2;
            // An even size centres the disc on the pixel boundary the lines are centred on.
            EXPECT_TRUE(w == img.height && w <= pitch && w >= pitch - 2 && w % 2 == 0) << w;
            // Neighbouring stones must not touch: the picture's edges stay clear.
            EXPECT_TRUE(img.Alpha(c, c) == 255 && img.Alpha(c, 0) < 128 && img.Alpha(0, c) < 128 &&
                        img.Alpha(0, 0) < 8 && img.Alpha(w - 1, w - 1) < 8)
                << format;
            const int luma = img.Luma(pitch / 2, pitch / 2);
            EXPECT_TRUE(format == sa::kBlackStoneFormat ? luma < 90 : luma > 190) << luma;
        }
        const int stone = Picture("COMMON", Name(sa::kBlackStoneFormat, size)).width;
        auto expectSized = [&](const std::string& name, int side) {
            const Image img = Picture("COMMON", name);
            EXPECT_EQ(std::pair(img.width, img.height), std::pair(side, side)) << name;
        };
        for (int n = 1; n <= sa::kMaxStoneNumber; ++n) {
            expectSized(Name(sa::kNumberOnBlackFormat, size, n), stone);
            expectSized(Name(sa::kNumberOnWhiteFormat, size, n), stone);
        }
        // Numbers on black stones are drawn white, on white stones black.
        const Image onBlack = Picture("COMMON", Name(sa::kNumberOnBlackFormat, size, 8));
        const Image onWhite = Picture("COMMON", Name(sa::kNumberOnWhiteFormat, size, 8));
        int whiteInk = 0, blackInk = 0;
        for (int y = 0; y < stone; ++y)
            for (int x = 0; x < stone; ++x) {
                whiteInk += onBlack.Alpha(x, y) > 200 && onBlack.Luma(x, y) > 200;
                blackInk += onWhite.Alpha(x, y) > 200 && onWhite.Luma(x, y) < 60;
            }
        EXPECT_TRUE(whiteInk > stone / 2 && blackInk > stone / 2);
        for (int n = 1; n <= 8; ++n) expectSized(Name(sa::kWhiteLetterFormat, size, n), stone);
        for (int n : {7, 8}) expectSized(Name(sa::kBlackLetterFormat, size, n), stone);
        for (const char* mark : {"1", "2", "3", "B", "W"})
            expectSized(Name("COMN_mark%d_", size) + mark + ".tga", stone);
        // Arrows span two pitches so they can reach from the point towards its neighbour.
        for (const char* way : {"up", "down", "left", "right"})
            expectSized(Name("COMN_arrow%d_", size) + way + ".tga", 2 * stone);
    }
}

TEST_F(ScreenData, EveryPictureIsAsLargeAsItsPaneAndTextWindowsHoldNineteenCharacters) {
    auto expectFits = [&](const std::string& archive, const std::string& pane,
                          const std::string& source, const std::string& texture) {
        const Image img = Picture(source, texture);
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
    for (int row = 1; row <= 5; ++row)
        for (int code : sa::MenuSectionCodes())
            expectFits("C_1", Name("item_%d", row), "C_1",
                       Name(sa::kSectionPictureFormat, code / 10, code % 10));
    // Page bodies and questions are wrapped at 18 full-width characters; a closing mark may
    // make 19.
    for (const sa::ScreenNames* screen : {&sa::Lesson(), &sa::Problem()}) {
        auto* box = dynamic_cast<LYRALib::lytmgr::TextBox*>(
            Layout(screen->id).GetLayout().GetRootPane()->FindPane("txt_text", true));
        ASSERT_NE(box, nullptr) << screen->id;
        EXPECT_GE(box->GetSize().width, 19 * box->GetFontSize().width) << screen->id;
    }
}

// The teacher's faces and the title's eyelids against where the screens put them: a face that
// moves when it is swapped, or an overlay (talking mouth, eyelids) that misses its spot, shows
// a jumping teacher, a second mouth or open eyes through closed lids. And the help page.

// Opaque and dark: ink of eyes and mouths (skin, hair and the kimono are all lighter).
bool IsFaceInk(const Image& img, int x, int y) {
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

// For each ink pixel of `base` under `overlay`, whether the overlay hides it with a nearly
// opaque pixel; and how many overlay pixels fall off the base.
struct Coverage {
    std::vector<bool> ink;
    int outsideBase = 0;
    int Hidden() const { return int(std::count(ink.begin(), ink.end(), true)); }
};
Coverage Cover(const Placed& base, const Placed& overlay) {
    Coverage c;
    for (int y = 0; y < overlay.image.height; ++y)
        for (int x = 0; x < overlay.image.width; ++x) {
            const int bx = overlay.left + x - base.left, by = overlay.top + y - base.top;
            const int a = overlay.image.Alpha(x, y);
            if (a > 0 && base.image.Alpha(bx, by) < 255) ++c.outsideBase;
            if (IsFaceInk(base.image, bx, by)) c.ink.push_back(a >= 200);
        }
    return c;
}

TEST_F(CharacterArt, FacesKeepTheTeacherInPlaceAndTalkingMouthsCoverTheirs) {
    // The lesson screen shows the front face where the problem screen does.
    const problemcontrols::FaceLook& front = problemcontrols::LookOf(0);
    const TSRect body = Rect("D_1", "chara_1"), talk = Rect("D_1", "chara_2");
    EXPECT_EQ(std::tuple((body.left + body.right) / 2, (body.top + body.bottom) / 2,
                         talk.right - talk.left, talk.bottom - talk.top),
              std::tuple(front.x, front.y, front.talking.width, front.talking.height));
    // Faces of different sizes are centred on different points; the teacher must stay put,
    // so every face starts at the same left edge and ends on the same bottom row.
    std::vector<int> lefts, bottoms;
    for (int face = 0; face < 4; ++face) {
        const problemcontrols::FaceLook& look = problemcontrols::LookOf(face);
        SCOPED_TRACE(look.texture);
        const Image image = Picture("COMMON", look.texture);
        const Image mouth = Picture("COMMON", look.talking.texture);
        ASSERT_EQ(std::pair(image.width, image.height), std::pair(look.width, look.height));
        ASSERT_EQ(std::pair(mouth.width, mouth.height),
                  std::pair(look.talking.width, look.talking.height));
        const Placed placed = CentredOn(image, look.x, look.y);
        lefts.push_back(placed.left);
        bottoms.push_back(placed.top + image.height);
        // The figure stands on the bottom edge of its picture.
        int opaque = 0;
        for (int x = 0; x < image.width; ++x) opaque += image.Alpha(x, image.height - 1) == 255;
        EXPECT_GT(opaque, image.width / 2);
        const Coverage c = Cover(placed, CentredOn(mouth, look.talking.x, look.talking.y));
        EXPECT_GT(c.ink.size(), 20u) << "not over the face's mouth";
        EXPECT_EQ(c.Hidden(), int(c.ink.size())) << "the face's mouth shows through";
        // The verdict faces' patches reach a few pixels onto the soft outline of the face;
        // the two faces that talk while the teacher explains must stay inside it.
        EXPECT_TRUE(face >= 2 || c.outsideBase == 0) << "sticks out of the face";
    }
    EXPECT_EQ(lefts, std::vector<int>(4, lefts[0]));
    EXPECT_EQ(bottoms, std::vector<int>(4, bottoms[0]));
}

// The half-shut lids are in the title's reviewed screenshot; the shut ones must lie on the same
// spot and hide every eye pixel.
TEST_F(CharacterArt, TitleEyelidsCoverTheOpenEyes) {
    const Image body = Picture("B_1", "B1_chara_0.tga");
    const Image shut = Picture("B_1", "B1_chara_2.tga");
    ASSERT_GT(body.width * shut.width, 0);
    const TSRect b = Rect("B_1", "chara_0"), h = Rect("B_1", "chara_1"), s = Rect("B_1", "chara_2");
    EXPECT_EQ(std::pair(h.left, h.top), std::pair(s.left, s.top));
    const Coverage shutCover = Cover({body, b.left, b.top}, {shut, s.left, s.top});
    EXPECT_GT(shutCover.ink.size(), 40u) << "the shut eyelids are not over the eyes";
    EXPECT_EQ(shutCover.Hidden(), int(shutCover.ink.size())) << "an eye shows through";
    EXPECT_EQ(shutCover.outsideBase, 0);
}

TEST(HelpPage, LinksOnlyToInstalledFilesAndItsOwnSections) {
    const std::filesystem::path help = BuiltData() / "IMG/HELP";
    const std::vector<uint8_t> bytes = testsupport::ReadBytes((help / "help.html").string());
    const std::string page(bytes.begin(), bytes.end());
    ASSERT_FALSE(page.empty()) << "DATA/IMG/HELP/help.html is not installed";
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

// The pages the playback treats specially (its quirk table) must hold, in the built lessons,
// what that special treatment needs. Playing every lesson to its end is the e2e suite's part.
using lesson::LessonPage;
using lesson::LessonQuirk;
using Points = std::set<std::pair<int, int>>;

const std::string kLessonDir = (BuiltData() / "DATA/EXPLAIN/").string();

// The points of the page's step entries that satisfy `want`.
Points EntriesWhere(const LessonPage& p,
                    const std::function<bool(const lesson::StepEntry&)>& want) {
    Points out;
    for (int s = 0; s < p.header.stepCount; ++s)
        for (const lesson::StepEntry& e : p.StepEntries(s))
            if (want(e)) out.insert({e.x, e.y});
    return out;
}

int Stone(const LessonPage& p, int x, int y) {
    return p.board.At(x, y) & 0x000F;
}

// Runs `check` on every page of lesson `id` that has `quirk`; there must be one.
void ForQuirkPages(lesson::LessonId id, LessonQuirk quirk,
                   const std::function<void(const LessonPage&)>& check) {
    LessonPage first;
    ASSERT_EQ(lesson::LoadLessonPage(first, id, kLessonDir), lesson::PageLoadResult::Loaded);
    int quirkPages = 0;
    for (int page = 0; page < first.pageCount; ++page) {
        if (!lesson::HasQuirk(id, page, quirk)) continue;
        SCOPED_TRACE("page " + std::to_string(page));
        ++quirkPages;
        LessonPage p;
        p.currentPage = page;
        ASSERT_EQ(lesson::LoadLessonPage(p, id, kLessonDir), lesson::PageLoadResult::Loaded);
        check(p);
    }
    EXPECT_GT(quirkPages, 0) << "the lesson has no page the quirk names";
}

TEST(CurriculumLessons, QuirkPagesHoldWhatTheirQuirkNeeds) {
    // 1-1-1: each blink tick shows steps 1, 2, 3, 4, 1, ...: a start and four changes.
    ForQuirkPages({0, 0, 0}, LessonQuirk::BlinkCyclesSteps, [](const LessonPage& p) {
        EXPECT_EQ(std::pair(p.header.stepCount, p.header.showFinal), std::pair(5, 0));
        for (int s = 1; s < 5; ++s) EXPECT_GT(p.entryCounts[size_t(s)], 0) << "step " << s;
    });
    // 1-1-2: the nigiri picture is drawn over the middle of the board: nothing may lie there.
    ForQuirkPages({0, 0, 1}, LessonQuirk::NigiriPicture, [](const LessonPage& p) {
        EXPECT_TRUE(EntriesWhere(p, [](const auto&) { return true; }).empty());
    });
    // 1-1-2: arrow value 2 is the letter ア here and blinking hides the point whole: one
    // letter, blinking, on an empty point.
    ForQuirkPages({0, 0, 1}, LessonQuirk::LabelArrowAndWholePointBlink, [](const LessonPage& p) {
        const Points letters =
            EntriesWhere(p, [](const auto& e) { return (e.code & 0x00F0) == 0x0020; });
        ASSERT_EQ(letters.size(), 1u);
        EXPECT_EQ(letters, EntriesWhere(p, [](const auto& e) { return e.code == 0x8000; }));
        EXPECT_EQ(Stone(p, letters.begin()->first, letters.begin()->second), 0);
    });
    // 1-2-1: the Left arrow of column 4 and the Right arrow of column 6 on the top row are
    // drawn at column 5, on a stone that can run both ways.
    ForQuirkPages({0, 1, 0}, LessonQuirk::SideArrowsMeetOnTopRow, [](const LessonPage& p) {
        auto arrowAt = [&](int x, int code) {
            return !EntriesWhere(p, [&](const auto& e) {
                        return e.y == 0 && e.x == x && (e.code & 0x00F0) == code;
                    }).empty();
        };
        EXPECT_TRUE(arrowAt(4, 0x0040) && arrowAt(6, 0x0060));
        EXPECT_EQ(std::tuple(Stone(p, 5, 0), Stone(p, 4, 0), Stone(p, 6, 0)), std::tuple(2, 0, 0));
    });
}

}  // namespace
