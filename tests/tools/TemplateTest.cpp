#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "TempFolder.h"
#include "common/ToolError.h"
#include "svg2tga/Template.h"

namespace {

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const tools::ToolError& e) {
        return e.Describe();
    }
    return "(no error)";
}

}  // namespace

TEST(Placeholders, FillVariablesAndPadNumbers) {
    svg::Vars v = {{"n", "7"}, {"ink", "#fff"}};
    EXPECT_EQ(svg::ExpandPlaceholders("a{{n}}b{{ ink }}c{{n:03}}", v, "t"), "a7b#fffc007");
    EXPECT_EQ(svg::ExpandPlaceholders("{{n:01}}", v, "t"), "7");
    EXPECT_EQ(svg::ExpandPlaceholders("no braces } { here", v, "t"), "no braces } { here");
}

TEST(Placeholders, FaultsGiveTheirLine) {
    svg::Vars v = {{"n", "1"}};
    EXPECT_EQ(ErrorOf([&] { svg::ExpandPlaceholders("<a/>\n<b>{{m}}</b>", v, "s.svg"); }),
              "s.svg:2: no value for placeholder \"{{m}}\"");
    EXPECT_EQ(ErrorOf([&] { svg::ExpandPlaceholders("\n\n{{n\n}}", v, "s.svg"); }),
              "s.svg:3: placeholder \"{{\" is not closed by \"}}\"");
    EXPECT_EQ(ErrorOf([&] { svg::ExpandPlaceholders("{{a-b}}", v, "s.svg"); }),
              "s.svg:1: malformed placeholder \"{{a-b}}\"");
    EXPECT_EQ(ErrorOf([&] { svg::ExpandPlaceholders("{{n:x2}}", v, "s.svg"); }),
              "s.svg:1: malformed placeholder \"{{n:x2}}\"");
}

TEST(Family, ExpandsLoopsTimesEachSets) {
    TempFolder tmp("family");
    tmp.Write("t.svg", "<svg w='{{px}}'>{{n}} {{ink}}</svg>");
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
    auto images = svg::ExpandFamilyText(json, "f.json", tmp.path().string());
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
    TempFolder tmp("family_err");
    tmp.Write("t.svg", "<svg>{{n}}</svg>\n");
    auto expand = [&](const std::string& json) {
        return ErrorOf([&] { svg::ExpandFamilyText(json, "f.json", tmp.path().string()); });
    };
    EXPECT_EQ(expand("{\n  \"template\": \"t.svg\",\n  \"imagez\": []\n}"),
              "f.json:3: unknown key \"imagez\"");
    EXPECT_EQ(
        expand("{\n \"template\": \"t.svg\",\n \"images\": [\n  {\"name\": \"a.tga\", \"vars\": "
               "{\"n\": 1}},\n  {\"name\": \"A.TGA\", \"vars\": {\"n\": 2}}\n ]\n}"),
        "f.json:5: image name \"A.TGA\" is made twice (first at line 4)");
    EXPECT_EQ(expand("{\"template\": \"t.svg\",\n \"images\": [\n {\"vars\": {}}]}"),
              "f.json:3: an image needs a \"name\" pattern");
    EXPECT_EQ(expand("{\"template\": \"t.svg\", \"size\": [0, 4],\n \"images\": [{\"name\": \"a\", "
                     "\"vars\": {\"n\": 1}}]}"),
              "f.json:1: size \"0\" is not a whole number of pixels 1..4096");
    EXPECT_EQ(expand("{\"template\": \"missing.svg\",\n \"images\": [{\"name\": \"a\"}]}"),
              "f.json:1: cannot read template " + (tmp.path() / "missing.svg").string());
    EXPECT_EQ(
        expand("{\"template\": \"t.svg\",\n \"images\": [{\"name\": \"a/b.tga\", \"vars\": {\"n\": "
               "1}}]}"),
        "f.json:2: image name \"a/b.tga\" is not a plain file name of 1..51 ASCII characters");
    EXPECT_EQ(expand("{\"template\": \"t.svg\",\n \"images\": [\n {\"name\": \"a\",\n  \"for\": "
                     "{\"n\": {\"from\": 3, \"to\": 1}}}]}"),
              "f.json:4: \"to\" must be >= \"from\"");
    // The template's own placeholders are checked against the image's variables.
    EXPECT_EQ(expand("{\"template\": \"t.svg\", \"images\": [{\"name\": \"a\"}]}"),
              (tmp.path() / "t.svg").string() + ":1: no value for placeholder \"{{n}}\"");
    // JSON syntax errors give the line of the fault.
    EXPECT_EQ(expand("{\n\"template\": \"t.svg\",\n\"images\": [,]\n}")
                  .rfind("f.json:3: invalid JSON", 0),
              0u);
}
