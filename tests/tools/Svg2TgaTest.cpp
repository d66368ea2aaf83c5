// svg2tga: placeholders, faults of image families and of the renderer, and the Targa
// encoder's packet limits, written from the format table. What the families expand to and how
// the pictures look, the built data shows: datacheck, BuiltDataTest and exact screenshots.
#include <gtest/gtest.h>

#include <string>

#include "ToolErrorOf.h"
#include "common/FileIO.h"
#include "common/ToolError.h"
#include "support/ScratchDir.h"
#include "svg2tga/SvgRender.h"
#include "svg2tga/Targa.h"
#include "svg2tga/Template.h"

using tooltest::ErrorOf;
using Bytes = std::vector<uint8_t>;

TEST(SvgRender, FaultsNameTheSourceAndItsLine) {
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

TEST(Targa, DepthFollowsAlphaAndPacketsStopAt128AndAtEachRow) {
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

    // Opaque pictures, most of them, leave the alpha bytes out.
    for (size_t i = 3; i < img.pixels.size(); i += 4) img.pixels[i] = 255;
    EXPECT_EQ(svg::EncodeTarga(img)[16], 24);

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
