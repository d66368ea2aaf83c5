// The board pictures must put their grid exactly where the screens draw stones: the board
// pane's place in the lesson and problem layouts plus a line's place in the picture has to
// equal the pixel centre the code gives each point. These tests read the built archives.
#include <gtest/gtest.h>

#include <string>

#include "BuiltImage.h"
#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "Lib/ZIRur/Wnd/TSButton.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessPlatform.h"
#include "problem/BoardGeometry.h"

namespace {

using builtdata::Image;

// Board line ink, however it is anti-aliased onto the wood.
bool IsInk(const Image& img, int x, int y) {
    return img.At(x, y)[3] == 255 && img.Luma(x, y) < 110;
}

// Bare board wood: light and clearly warm.
bool IsWood(const Image& img, int x, int y) {
    const uint8_t* p = img.At(x, y);
    return p[3] == 255 && img.Luma(x, y) > 140 && p[0] - p[2] > 50;
}

const char* BoardName(int size) {
    switch (size) {
        case 6:
            return "COMN_board6.tga";
        case 9:
            return "COMN_board9.tga";
        case 13:
            return "COMN_board19trim.tga";
        default:
            return "COMN_board19.tga";
    }
}

class BoardPicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetPlatform(&m_platform);
        ASSERT_TRUE(m_common.Open(builtdata::DataPath("IMG/COMMON.T2G").c_str()))
            << "build the data first (target stonewell_data)";
        ASSERT_TRUE(m_problem.Open(builtdata::DataPath("IMG/F_1.T2G").c_str()));
        ASSERT_TRUE(m_lesson.Open(builtdata::DataPath("IMG/D_1.T2G").c_str()));
    }
    void TearDown() override {
        TSingleton<CTSLytMgr>::DestroyInstance();
        platform::SetPlatform(nullptr);
    }

    // The screen rectangle of the "board" pane of a screen's layout.
    TSRect BoardPane(CTIGroup& group, const char* layoutName) {
        CTSLayout layout;
        EXPECT_EQ(layout.Load(&group, layoutName, nullptr), 1) << layoutName;
        return layout.GetPane("board").GetPaneRect();
    }

    // Checks the grid of one board size against the code's point centres, with the picture's
    // top-left corner on screen at `origin`.
    void ExpectGridMatchesCode(int size, const TSRect& pane) {
        SCOPED_TRACE(BoardName(size));
        const Image img = builtdata::LoadTga(m_common, BoardName(size));
        ASSERT_EQ(img.width, pane.right - pane.left);
        ASSERT_EQ(img.height, pane.bottom - pane.top);
        const boardgeometry::Geometry* g = boardgeometry::For(size);
        ASSERT_NE(g, nullptr);
        const int lines = size;
        const int half = g->pitch / 2;
        auto px = [&](int col) { return g->originX + col * g->pitch - pane.left; };
        auto py = [&](int row) { return g->originY + row * g->pitch - pane.top; };

        // Every miss is counted; the first one is named, so a shifted grid fails once per
        // board instead of once per line.
        int misses = 0;
        std::string first;
        auto expect = [&](bool ok, const char* what, int index) {
            if (ok) return;
            if (misses++ == 0) first = std::string(what) + " " + std::to_string(index);
        };
        for (int i = 0; i < lines; ++i) {
            for (int j = 0; j + 1 < lines; ++j) {
                // Halfway between two points only the line itself is drawn: it covers the two
                // pixels either side of the point's centre, and the wood shows close by.
                const int x = px(i), y = py(j) + half;
                expect(IsInk(img, x - 1, y) && IsInk(img, x, y), "no line at column", i);
                expect(IsWood(img, x - 3, y) && IsWood(img, x + 2, y), "wide line at column", i);
                const int hx = px(j) + half, hy = py(i);
                expect(IsInk(img, hx, hy - 1) && IsInk(img, hx, hy), "no line at row", i);
                expect(IsWood(img, hx, hy - 3) && IsWood(img, hx, hy + 2), "wide line at row", i);
                if (i + 1 < lines) expect(IsWood(img, x + half, y), "no wood after column", i);
            }
        }
        EXPECT_EQ(misses, 0) << "first: " << first;
        // Nothing outside the first lines; the last ones end the grid except on the corner
        // window, whose lines run on past its right and bottom edges.
        const int mid = py(0) + half;
        EXPECT_TRUE(IsWood(img, px(0) - 6, mid));
        EXPECT_TRUE(IsWood(img, px(0) + half, py(0) - 6));
        if (size == 13) {
            EXPECT_TRUE(IsInk(img, img.width - 1, py(0)));
            EXPECT_TRUE(IsInk(img, px(0), img.height - 1));
        } else {
            EXPECT_TRUE(IsWood(img, px(lines - 1) + 6, mid));
            EXPECT_TRUE(IsWood(img, px(0) + half, py(lines - 1) + 6));
        }
    }

    // True when a star point is drawn at (col, row): the dot fills the pixel diagonal to
    // the intersection, which the two lines alone leave bare.
    bool HasStar(int size, int col, int row, const TSRect& pane) {
        const Image img = builtdata::LoadTga(m_common, BoardName(size));
        const boardgeometry::Geometry* g = boardgeometry::For(size);
        const int x = g->originX + col * g->pitch - pane.left;
        const int y = g->originY + row * g->pitch - pane.top;
        return IsInk(img, x + 1, y + 1) && IsInk(img, x - 2, y - 2);
    }

    platform::HeadlessPlatform m_platform;
    CTIGroup m_common;
    CTIGroup m_problem;
    CTIGroup m_lesson;
};

TEST_F(BoardPicturesTest, LessonAndProblemScreensPlaceTheBoardAlike) {
    const TSRect problem = BoardPane(m_problem, "F_1");
    const TSRect lesson = BoardPane(m_lesson, "D_1");
    EXPECT_EQ(problem, lesson);
    // Every board picture is as large as the pane: pictures are drawn unscaled.
    for (const char* name : {"COMN_board.tga", "COMN_board6.tga", "COMN_board9.tga",
                             "COMN_board19trim.tga", "COMN_board19.tga"}) {
        const Image img = builtdata::LoadTga(m_common, name);
        EXPECT_EQ(img.width, problem.right - problem.left) << name;
        EXPECT_EQ(img.height, problem.bottom - problem.top) << name;
    }
}

TEST_F(BoardPicturesTest, GridLinesLieOnTheCodesPointCentres) {
    const TSRect pane = BoardPane(m_problem, "F_1");
    for (int size : {6, 9, 13, 19}) ExpectGridMatchesCode(size, pane);
}

TEST_F(BoardPicturesTest, StarPointsSitOnTheirIntersectionsOnly) {
    const TSRect pane = BoardPane(m_problem, "F_1");
    for (int a : {3, 9, 15})
        for (int b : {3, 9, 15}) EXPECT_TRUE(HasStar(19, a, b, pane)) << a << "," << b;
    EXPECT_FALSE(HasStar(19, 4, 4, pane));
    EXPECT_FALSE(HasStar(19, 9, 10, pane));
    // The corner window shows the full board's stars that fall inside it.
    for (int a : {3, 9})
        for (int b : {3, 9}) EXPECT_TRUE(HasStar(13, a, b, pane)) << a << "," << b;
    EXPECT_FALSE(HasStar(13, 6, 6, pane));
    for (auto [a, b] : {std::pair{2, 2}, {6, 2}, {4, 4}, {2, 6}, {6, 6}})
        EXPECT_TRUE(HasStar(9, a, b, pane)) << a << "," << b;
    EXPECT_FALSE(HasStar(9, 3, 3, pane));
    EXPECT_FALSE(HasStar(6, 2, 2, pane));
}

TEST_F(BoardPicturesTest, PlainBoardHasNoGrid) {
    const Image img = builtdata::LoadTga(m_common, "COMN_board.tga");
    ASSERT_GT(img.width, 0);
    for (int y = 40; y < img.height - 40; y += 37)
        for (int x = 40; x < img.width - 40; x += 23)
            EXPECT_TRUE(IsWood(img, x, y)) << x << "," << y;
}

}  // namespace
