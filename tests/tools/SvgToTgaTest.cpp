#include <gtest/gtest.h>

#include <string>

#include "ToolErrorOf.h"
#include "common/ToolError.h"
#include "svg2tga/SvgRender.h"
#include "svg2tga/Targa.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Pixel(const svg::RgbaImage& img, int x, int y) {
    const uint8_t* p = img.at(x, y);
    return {p[0], p[1], p[2], p[3]};
}

const char kSquare[] =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\">\n"
    "  <rect x=\"1\" y=\"1\" width=\"2\" height=\"2\" fill=\"#ff8000\"/>\n"
    "  <rect x=\"0\" y=\"3\" width=\"1\" height=\"1\" fill=\"#0000ff\" fill-opacity=\"0.5\"/>\n"
    "</svg>\n";

const Bytes kOrange = {255, 128, 0, 255}, kClear = {0, 0, 0, 0};

}  // namespace

TEST(SvgRender, ShapesGiveExactPixelsAtTheirSizeOrAnExplicitOne) {
    auto img = svg::RenderSvg(kSquare, "square.svg");
    ASSERT_EQ(img.width, 4);
    ASSERT_EQ(img.height, 4);
    EXPECT_EQ(Pixel(img, 0, 0), kClear);
    EXPECT_EQ(Pixel(img, 1, 1), kOrange);
    EXPECT_EQ(Pixel(img, 2, 2), kOrange);
    EXPECT_EQ(Pixel(img, 3, 2), kClear);
    // Half-transparent blue keeps its full colour with straight alpha.
    EXPECT_EQ(Pixel(img, 0, 3), (Bytes{0, 0, 255, 128}));

    auto big = svg::RenderSvg(kSquare, "square.svg", 8, 8);
    ASSERT_EQ(big.width, 8);
    EXPECT_EQ(Pixel(big, 1, 1)[3], 0);
    EXPECT_EQ(Pixel(big, 2, 2), kOrange);
    EXPECT_EQ(Pixel(big, 5, 5), kOrange);
    EXPECT_EQ(Pixel(big, 6, 6)[3], 0);

    EXPECT_EQ(tooltest::ErrorOf([] {
                  svg::RenderSvg("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1 1\"/>",
                                 "n.svg");
              }),
              "n.svg:1: the SVG states no size in pixels; give the size explicitly");
    EXPECT_EQ(tooltest::ErrorOf([] {
                  svg::RenderSvg("<svg xmlns=\"http://www.w3.org/2000/svg\">\n<rect", "b.svg", 4,
                                 4);
              }).rfind("b.svg:2: cannot read SVG", 0),
              0u);
}

TEST(Targa, OpaquePicturesAre24BitRunsAndLiteralsBottomRowFirst) {
    // Top row A A A B C, bottom row five D; every pixel opaque.
    const uint8_t a[4] = {10, 20, 30, 255}, b[4] = {40, 50, 60, 255}, c[4] = {70, 80, 90, 255},
                  d[4] = {1, 2, 3, 255};
    svg::RgbaImage img;
    img.width = 5;
    img.height = 2;
    for (const uint8_t* p : {a, a, a, b, c, d, d, d, d, d})
        img.pixels.insert(img.pixels.end(), p, p + 4);
    const Bytes want = {
        0,    0,  10, 0,  0,  0,  0,  0, 0, 0, 0, 0, 5, 0, 2, 0, 24, 0,  // type 10, 5 x 2
        0x84, 3,  2,  1,                                                 // bottom row: D x 5
        0x82, 30, 20, 10,                                                // top row: A x 3
        0x01, 60, 50, 40, 90, 80, 70,                                    // B and C as they are
    };
    EXPECT_EQ(svg::EncodeTarga(img), want);
}

TEST(Targa, AlphaKeeps32BitsAndPacketsStopAt128AndAtEachRow) {
    svg::RgbaImage img;
    img.width = 130;
    img.height = 2;
    for (int i = 0; i < 130 * 2; ++i) img.pixels.insert(img.pixels.end(), {9, 8, 7, 128});
    const Bytes tga = svg::EncodeTarga(img);
    ASSERT_EQ(tga.size(), 18u + 4u * 5u);
    EXPECT_EQ(tga[16], 32);
    EXPECT_EQ(tga[17], 0x08);
    // Per row: 128 then 2 of the same pixel, B G R A.
    const Bytes rows = {0xFF, 7, 8, 9, 128, 0x81, 7, 8, 9, 128,
                        0xFF, 7, 8, 9, 128, 0x81, 7, 8, 9, 128};
    EXPECT_EQ(Bytes(tga.begin() + 18, tga.end()), rows);

    img.pixels.resize(4);  // fewer pixels than the size says
    EXPECT_THROW(svg::EncodeTarga(img), tools::ToolError);
    EXPECT_THROW(svg::EncodeTarga(svg::RgbaImage{}), tools::ToolError);
}
