// svg2tga: placeholders and image families, the renderer's pixels and the Targa encoder's
// bytes written from the format table.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "ToolErrorOf.h"
#include "common/FileIO.h"
#include "common/ToolError.h"
#include "support/ScratchDir.h"
#include "svg2tga/SvgRender.h"
#include "svg2tga/Targa.h"
#include "svg2tga/Template.h"

using tooltest::ErrorOf;

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
    // Half-transparent blue keeps its full colour with straight alpha.
    const auto img = svg::RenderSvg(kSquare, "square.svg");
    ASSERT_EQ(std::tuple(img.width, img.height), std::tuple(4, 4));
    EXPECT_EQ((std::vector<Bytes>{Pixel(img, 0, 0), Pixel(img, 1, 1), Pixel(img, 2, 2),
                                  Pixel(img, 3, 2), Pixel(img, 0, 3)}),
              (std::vector<Bytes>{kClear, kOrange, kOrange, kClear, {0, 0, 255, 128}}));
    const auto big = svg::RenderSvg(kSquare, "square.svg", 8, 8);
    ASSERT_EQ(big.width, 8);
    EXPECT_EQ((std::vector<Bytes>{Pixel(big, 1, 1), Pixel(big, 2, 2), Pixel(big, 5, 5),
                                  Pixel(big, 6, 6)}),
              (std::vector<Bytes>{kClear, kOrange, kOrange, kClear}));
    EXPECT_EQ(ErrorOf([] {
                  svg::RenderSvg("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1 1\"/>",
                                 "n.svg");
              }),
              "n.svg:1: the SVG states no size in pixels; give the size explicitly");
    EXPECT_EQ(ErrorOf([] {
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

TEST(Placeholders, FillVariablesPadNumbersAndNameTheLineOfAFault) {
    const svg::Vars v = {{"n", "7"}, {"ink", "#fff"}};
    EXPECT_EQ(svg::ExpandPlaceholders("a{{n}}b{{ ink }}c{{n:03}}{{n:01}}", v, "t"), "a7b#fffc0077");
    EXPECT_EQ(svg::ExpandPlaceholders("no braces } { here", v, "t"), "no braces } { here");
    const std::pair<const char*, const char*> faults[] = {
        {"<a/>\n<b>{{m}}</b>", "s.svg:2: no value for placeholder \"{{m}}\""},
        {"\n\n{{n\n}}", "s.svg:3: placeholder \"{{\" is not closed by \"}}\""},
        {"{{a-b}}", "s.svg:1: malformed placeholder \"{{a-b}}\""},
        {"{{n:x2}}", "s.svg:1: malformed placeholder \"{{n:x2}}\""},
    };
    for (const auto& [text, message] : faults)
        EXPECT_EQ(ErrorOf([&] { svg::ExpandPlaceholders(text, v, "s.svg"); }), message);
}

TEST(Family, ExpandsLoopsTimesEachSets) {
    testsupport::ScratchDir tmp;
    tools::WriteText(tmp / "t.svg", "<svg w='{{px}}'>{{n}} {{ink}}</svg>");
    const std::string json = R"({
  "template": "t.svg",
  "vars": {"ink": "#000"},
  "images": [
    {"name": "S{{board}}N{{c}}_{{n:02}}.tga",
     "size": ["{{px}}", "{{px}}"],
     "for": {"n": {"from": 9, "to": 10},
             "board": [{"board": 9, "px": 70}, {"board": 19, "px": 32}]},
     "each": [{"c": "W", "ink": "#fff"}, {"c": "B"}]}
  ]
})";
    auto images = svg::ExpandFamilyText(json, "f.json", tmp.Path());
    ASSERT_EQ(images.size(), 8u);  // 2 numbers x 2 boards x 2 colours
    // Loops nest in key order (board, then n), "each" innermost.
    EXPECT_EQ(std::tuple(images[0].name, images[1].name, images[2].name, images[4].name),
              std::tuple("S9NW_09.tga", "S9NB_09.tga", "S9NW_10.tga", "S19NW_09.tga"));
    EXPECT_EQ(std::tuple(images[0].svgText, images[1].svgText, images[4].width, images[4].height),
              std::tuple("<svg w='70'>9 #fff</svg>", "<svg w='70'>9 #000</svg>", 32, 32));
}

TEST(Family, FaultsNameTheDescriptionLine) {
    testsupport::ScratchDir tmp;
    tools::WriteText(tmp / "t.svg", "<svg>{{n}}</svg>\n");
    const std::string img = "\"images\": [";
    const std::pair<std::string, std::string> faults[] = {
        {"{\n  \"template\": \"t.svg\",\n  \"imagez\": []\n}", "f.json:3: unknown key \"imagez\""},
        {"{\"template\": \"t.svg\",\n" + img + "\n{\"name\": \"a.tga\", \"vars\": {\"n\": 1}},\n" +
             "{\"name\": \"A.TGA\", \"vars\": {\"n\": 2}}]}",
         "f.json:4: image name \"A.TGA\" is made twice (first at line 3)"},
        {"{\"template\": \"t.svg\",\n" + img + "\n {\"vars\": {}}]}",
         "f.json:3: an image needs a \"name\" pattern"},
        {"{\"template\": \"t.svg\", \"size\": [0, 4],\n" + img +
             "{\"name\": \"a\", \"vars\": {\"n\": 1}}]}",
         "f.json:1: size \"0\" is not a whole number of pixels 1..4096"},
        {"{\"template\": \"missing.svg\",\n" + img + "{\"name\": \"a\"}]}",
         "f.json:1: cannot read template " + (tmp / "missing.svg")},
        {"{\"template\": \"t.svg\",\n" + img + "{\"name\": \"a/b.tga\", \"vars\": {\"n\": 1}}]}",
         "f.json:2: image name \"a/b.tga\" is not a plain file name of 1..51 ASCII characters"},
        {"{\"template\": \"t.svg\",\n" + img +
             "\n{\"name\": \"a\",\n \"for\": {\"n\": " + "{\"from\": 3, \"to\": 1}}}]}",
         "f.json:4: \"to\" must be >= \"from\""},
        // The template's own placeholders are checked against the image's variables.
        {"{\"template\": \"t.svg\", " + img + "{\"name\": \"a\"}]}",
         tmp / "t.svg:1: no value for placeholder \"{{n}}\""},
    };
    for (const auto& [json, message] : faults) {
        SCOPED_TRACE(json);
        EXPECT_EQ(ErrorOf([&] { svg::ExpandFamilyText(json, "f.json", tmp.Path()); }), message);
    }
    EXPECT_EQ(ErrorOf([&] {
                  svg::ExpandFamilyText("{\n\"images\": [,]\n}", "f.json", tmp.Path());
              }).rfind("f.json:2: invalid JSON", 0),
              0u);
}
