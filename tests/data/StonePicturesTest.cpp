// Stones and everything laid over them are centred on a point, so each must be exactly as
// large as the stone of its board and the stone must fit between its neighbours.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "BuiltImage.h"
#include "Lib/ZIRur/File/TIGroup.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessPlatform.h"
#include "problem/BoardGeometry.h"

namespace {

using builtdata::Image;

std::string Name(const char* format, int size, int n = 0) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, size, n);
    return buf;
}

class StonePicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetPlatform(&m_platform);
        ASSERT_TRUE(m_common.Open(builtdata::DataPath("IMG/COMMON.T2G").c_str()))
            << "build the data first (target stonewell_data)";
    }
    void TearDown() override { platform::SetPlatform(nullptr); }

    Image Load(const std::string& name) { return builtdata::LoadTga(m_common, name.c_str()); }

    platform::HeadlessPlatform m_platform;
    CTIGroup m_common;
};

TEST_F(StonePicturesTest, StonesFitTheirPitchAndCentreOnAPoint) {
    for (int size : {6, 9, 13, 19}) {
        SCOPED_TRACE(size);
        const int pitch = boardgeometry::For(size)->pitch;
        for (const char* format : {"bstone%d.tga", "wstone%d.tga"}) {
            const Image img = Load(Name(format, size));
            ASSERT_GT(img.width, 0) << Name(format, size);
            EXPECT_EQ(img.width, img.height);
            EXPECT_LE(img.width, pitch);
            EXPECT_GE(img.width, pitch - 2);
            // An even size centres the disc on the pixel boundary the lines are centred on.
            EXPECT_EQ(img.width % 2, 0);
            const int c = img.width / 2;
            EXPECT_EQ(img.At(c, c)[3], 255);
            // Neighbouring stones must not touch: the picture's edges stay clear.
            EXPECT_LT(img.At(c, 0)[3], 128);
            EXPECT_LT(img.At(0, c)[3], 128);
            EXPECT_LT(img.At(0, 0)[3], 8);
            EXPECT_LT(img.At(img.width - 1, img.height - 1)[3], 8);
        }
        EXPECT_LT(Load(Name("bstone%d.tga", size)).Luma(pitch / 2, pitch / 2), 90);
        EXPECT_GT(Load(Name("wstone%d.tga", size)).Luma(pitch / 2, pitch / 2), 190);
    }
}

TEST_F(StonePicturesTest, OverlaysMatchTheirStone) {
    for (int size : {6, 9, 13, 19}) {
        SCOPED_TRACE(size);
        const int stone = Load(Name("bstone%d.tga", size)).width;
        auto expectStoneSized = [&](const std::string& name) {
            const Image img = Load(name);
            EXPECT_EQ(img.width, stone) << name;
            EXPECT_EQ(img.height, stone) << name;
        };
        for (int n = 1; n <= 63; ++n) {
            expectStoneSized(Name("COMN_stone%dNumW_%02d.tga", size, n));
            expectStoneSized(Name("COMN_stone%dNumB_%02d.tga", size, n));
        }
        for (int n = 1; n <= 8; ++n) expectStoneSized(Name("COMN_stone%dTextW_%02d.tga", size, n));
        expectStoneSized(Name("COMN_stone%dTextB_%02d.tga", size, 7));
        expectStoneSized(Name("COMN_stone%dTextB_%02d.tga", size, 8));
        for (const char* mark : {"1", "2", "3", "B", "W"})
            expectStoneSized(Name("COMN_mark%d_", size) + mark + ".tga");
        // Arrows span two pitches so they can reach from the point towards its neighbour.
        for (const char* way : {"up", "down", "left", "right"}) {
            const Image img = Load(Name("COMN_arrow%d_", size) + way + ".tga");
            EXPECT_EQ(img.width, 2 * stone) << way;
            EXPECT_EQ(img.height, 2 * stone) << way;
        }
    }
}

TEST_F(StonePicturesTest, NumbersShowInkOfTheOtherColour) {
    // "NumW" is drawn on black stones and "NumB" on white ones: the digits must contrast.
    for (int size : {9, 19}) {
        const Image white = Load(Name("COMN_stone%dNumW_%02d.tga", size, 8));
        const Image black = Load(Name("COMN_stone%dNumB_%02d.tga", size, 8));
        int whiteInk = 0, blackInk = 0;
        for (int y = 0; y < white.height; ++y)
            for (int x = 0; x < white.width; ++x) {
                whiteInk += white.At(x, y)[3] > 200 && white.Luma(x, y) > 200;
                blackInk += black.At(x, y)[3] > 200 && black.Luma(x, y) < 60;
            }
        EXPECT_GT(whiteInk, white.width / 2) << size;
        EXPECT_GT(blackInk, black.width / 2) << size;
    }
}

}  // namespace
