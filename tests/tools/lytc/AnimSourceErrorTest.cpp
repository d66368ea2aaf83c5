// Each class of fault in an animation source is reported at its line, naming the fault.
#include <gtest/gtest.h>

#include "AnimSupport.h"

namespace {

using anim_test::ErrorOf;

// Wraps one curve of a pane content, the curve on line 3.
std::string PaneCurve(const std::string& curve) {
    return "{\"frames\": 10, \"contents\": [\n{\"pane\": \"P\", \"curves\": [\n" + curve + "]}]}";
}

std::string MaterialCurve(const std::string& curve) {
    return "{\"frames\": 10, \"contents\": [\n{\"material\": \"M\", \"curves\": [\n" + curve +
           "]}]}";
}

TEST(AnimSourceError, SyntaxAndTopLevel) {
    EXPECT_EQ(ErrorOf("{\n\"frames\": 1,\n}").substr(0, 8), "a.json:3");
    EXPECT_EQ(ErrorOf("[]"), "a.json:1: an animation source is a JSON object");
    EXPECT_EQ(ErrorOf("{\"contents\": []}"), "a.json:1: missing \"frames\"");
    EXPECT_EQ(ErrorOf("{\"frames\": 1}"), "a.json:1: missing \"contents\"");
    EXPECT_EQ(ErrorOf("{\"frames\": 1, \"contents\": [],\n\"speed\": 2}"),
              "a.json:2: unknown key \"speed\"");
}

TEST(AnimSourceError, FrameSizeAndLoop) {
    EXPECT_EQ(ErrorOf("{\"contents\": [],\n\"frames\": 65536}"),
              "a.json:2: 65536 is outside 0..65535");
    EXPECT_EQ(ErrorOf("{\"contents\": [],\n\"frames\": 1.5}"),
              "a.json:2: expected a whole number 0..65535");
    EXPECT_EQ(ErrorOf("{\"frames\": 1, \"contents\": [],\n\"loop\": 1}"),
              "a.json:2: expected true or false");
}

TEST(AnimSourceError, ContentTargets) {
    EXPECT_EQ(ErrorOf("{\"frames\": 1, \"contents\": [\n{\"curves\": []}]}"),
              "a.json:2: a content names either a \"pane\" or a \"material\"");
    EXPECT_EQ(ErrorOf("{\"frames\": 1, \"contents\": [\n{\"pane\": \"A\", \"material\": \"B\", "
                      "\"curves\": []}]}"),
              "a.json:2: a content names either a \"pane\" or a \"material\"");
    EXPECT_EQ(ErrorOf("{\"frames\": 1, \"contents\": [{\n\"pane\": \"ABCDEFGHIJKLMNOPQ\"}]}"),
              "a.json:2: \"ABCDEFGHIJKLMNOPQ\" is longer than 16 characters");
    EXPECT_EQ(ErrorOf("{\"frames\": 1, \"contents\": [{\n\"material\": "
                      "\"ABCDEFGHIJKLMNOPQRSTU\"}]}"),
              "a.json:2: \"ABCDEFGHIJKLMNOPQRSTU\" is longer than 20 characters");
    EXPECT_EQ(ErrorOf("{\"frames\": 1, \"contents\": [{\n\"pane\": \"\u00e9\"}]}"),
              "a.json:2: \"\u00e9\" is not printable ASCII");
    EXPECT_EQ(ErrorOf("{\"frames\": 1, \"contents\": [\n{\"pane\": \"P\"}]}"),
              "a.json:2: missing \"curves\"");
    EXPECT_EQ(ErrorOf("{\"frames\": 1, \"contents\": [{\"pane\": \"P\",\n\"curves\": []}]}"),
              "a.json:2: a content needs at least one curve");
}

TEST(AnimSourceError, TwoContentsForOneTarget) {
    const char* curve = "\"curves\": [{\"kind\": \"visibility\", \"keys\": [[0, 1]]}]";
    EXPECT_EQ(ErrorOf(std::string("{\"frames\": 1, \"contents\": [{\"pane\": \"P\", ") + curve +
                      "},\n{\"pane\": \"P\", " + curve + "}]}"),
              "a.json:2: pane \"P\" is animated by two contents");
    // A pane and a material may share a name.
    EXPECT_EQ(ErrorOf(std::string("{\"frames\": 1, \"contents\": [{\"pane\": \"P\", ") + curve +
                      "},\n{\"material\": \"P\", \"curves\": [{\"kind\": \"texture-pattern\", "
                      "\"keys\": [[0, 1]]}]}]}"),
              "compiled");
}

TEST(AnimSourceError, Kinds) {
    EXPECT_EQ(ErrorOf(PaneCurve("{\"keys\": [[0, 1]]}")), "a.json:3: missing \"kind\"");
    EXPECT_EQ(ErrorOf(PaneCurve("{\"kind\": \"spin\", \"keys\": [[0, 1]]}")),
              "a.json:3: unknown curve kind \"spin\"");
    EXPECT_EQ(ErrorOf(MaterialCurve("{\"kind\": \"visibility\", \"keys\": [[0, 1]]}")),
              "a.json:3: a material cannot have a \"visibility\" curve");
    EXPECT_EQ(ErrorOf(PaneCurve("{\"kind\": \"texture-pattern\", \"keys\": [[0, 1]]}")),
              "a.json:3: a pane cannot have a \"texture-pattern\" curve");
}

TEST(AnimSourceError, ElementsAndIndices) {
    EXPECT_EQ(ErrorOf(PaneCurve("{\"kind\": \"transform\", \"keys\": [[0, 1]]}")),
              "a.json:3: missing \"element\" for a \"transform\" curve");
    EXPECT_EQ(
        ErrorOf(PaneCurve("{\"kind\": \"texture-transform\", \"element\": \"x\", \"keys\": []}")),
        "a.json:3: a pane cannot have a \"texture-transform\" curve");
    EXPECT_EQ(ErrorOf(MaterialCurve(
                  "{\"kind\": \"texture-transform\", \"element\": \"skew\", \"keys\": [[0, 1]]}")),
              "a.json:3: \"skew\" is not an element of \"texture-transform\" (one of: "
              "translate-x, translate-y, rotate, scale-x, scale-y)");
    EXPECT_EQ(ErrorOf(PaneCurve("{\"kind\": \"visibility\", \"index\": 1, \"keys\": [[0, 1]]}")),
              "a.json:3: pane curves have no index");
    EXPECT_EQ(ErrorOf(MaterialCurve(
                  "{\"kind\": \"texture-pattern\", \"index\": 256, \"keys\": [[0, 1]]}")),
              "a.json:3: 256 is outside 0..255");
    EXPECT_EQ(ErrorOf(PaneCurve("{\"kind\": \"visibility\", \"keys\": [[0, 1]]},\n"
                                "{\"kind\": \"visibility\", \"keys\": [[0, 0]]}")),
              "a.json:4: this value is already animated by an earlier curve");
}

TEST(AnimSourceError, Keys) {
    EXPECT_EQ(ErrorOf(PaneCurve("{\"kind\": \"visibility\"}")), "a.json:3: missing \"keys\"");
    EXPECT_EQ(ErrorOf(PaneCurve("{\"kind\": \"visibility\", \"keys\": []}")),
              "a.json:3: a curve needs at least one key");
    EXPECT_EQ(ErrorOf(PaneCurve("{\"kind\": \"transform\", \"element\": \"width\", \"keys\": "
                                "[\n[0]]}")),
              "a.json:4: a key is [frame, value] or [frame, value, slope]");
    EXPECT_EQ(ErrorOf(PaneCurve("{\"kind\": \"visibility\", \"keys\": [\n[0, 1, 0]]}")),
              "a.json:4: a step key is [frame, value]");
    EXPECT_EQ(ErrorOf(PaneCurve("{\"kind\": \"transform\", \"element\": \"width\", \"keys\": "
                                "[[5, 1],\n[4, 2]]}")),
              "a.json:4: keys must be in ascending frame order");
    EXPECT_EQ(ErrorOf(PaneCurve("{\"kind\": \"visibility\", \"keys\": [[0,\n70000]]}")),
              "a.json:4: 70000 is outside 0..65535");
    EXPECT_EQ(ErrorOf(PaneCurve("{\"kind\": \"visibility\", \"keys\": [[0,\n\"on\"]]}")),
              "a.json:4: expected a whole number 0..65535");
    EXPECT_EQ(ErrorOf(PaneCurve("{\"kind\": \"transform\", \"element\": \"width\", \"keys\": "
                                "[[\n\"a\", 1]]}")),
              "a.json:4: expected a number");
    EXPECT_EQ(ErrorOf(PaneCurve("{\"kind\": \"transform\", \"element\": \"width\", \"keys\": "
                                "[[0,\n1e300]]}")),
              "a.json:4: number out of range");
}

TEST(AnimSourceError, Textures) {
    EXPECT_EQ(ErrorOf("{\"frames\": 1, \"contents\": [], \"textures\": [\"a.tga\",\n\"a.tga\"]}"),
              "a.json:2: texture \"a.tga\" is listed twice");
    EXPECT_EQ(ErrorOf("{\"frames\": 1, \"contents\": [], \"textures\": [\n\"\"]}"),
              "a.json:2: must not be empty");
}

TEST(AnimSourceError, TagAndShares) {
    EXPECT_EQ(ErrorOf("{\"frames\": 1, \"contents\": [],\n\"tag\": {}}"),
              "a.json:2: missing \"name\"");
    EXPECT_EQ(ErrorOf("{\"frames\": 1, \"contents\": [], \"tag\": {\"name\": \"T\", \"start\": "
                      "5,\n\"end\": 4}}"),
              "a.json:2: the tag ends before it starts");
    EXPECT_EQ(ErrorOf("{\"frames\": 1, \"contents\": [], \"tag\": {\"name\": \"T\", \"groups\": "
                      "[\n\"ABCDEFGHIJKLMNOPQ\"]}}"),
              "a.json:2: \"ABCDEFGHIJKLMNOPQ\" is longer than 16 characters");
    EXPECT_EQ(ErrorOf("{\"frames\": 1, \"contents\": [], \"shares\": [\n{\"pane\": \"P\"}]}"),
              "a.json:2: a share names a \"pane\" and a \"group\"");
    EXPECT_EQ(ErrorOf("{\"frames\": 1, \"contents\": [], \"shares\": {}}"),
              "a.json:1: expected an array");
}

}  // namespace
