#include <gtest/gtest.h>

#include <string>

#include "ToolErrorOf.h"
#include "common/FileIO.h"
#include "support/ScratchDir.h"
#include "svg2tga/Template.h"

using tooltest::ErrorOf;

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
    EXPECT_EQ(images[0].name, "S9NW_09.tga");
    EXPECT_EQ(images[1].name, "S9NB_09.tga");
    EXPECT_EQ(images[2].name, "S9NW_10.tga");
    EXPECT_EQ(images[4].name, "S19NW_09.tga");
    EXPECT_EQ(images[0].svgText, "<svg w='70'>9 #fff</svg>");
    EXPECT_EQ(images[1].svgText, "<svg w='70'>9 #000</svg>");
    EXPECT_EQ(images[4].width, 32);
    EXPECT_EQ(images[4].height, 32);
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
