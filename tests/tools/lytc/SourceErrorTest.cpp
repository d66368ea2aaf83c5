// Each class of fault in a source is reported at its line with a message naming the fault.
#include <gtest/gtest.h>

#include "LytcSupport.h"

namespace {

using lytc_test::ErrorOf;

TEST(LytcSourceError, Syntax) {
    EXPECT_EQ(ErrorOf("{\n\"root\": {\"name\": \"R\",}\n}").substr(0, 8), "t.json:2");
}

TEST(LytcSourceError, MissingRootAndWrongTopLevel) {
    EXPECT_EQ(ErrorOf("{}"), "t.json:1: missing \"root\" pane");
    EXPECT_EQ(ErrorOf("[]"), "t.json:1: a layout source is a JSON object");
}

TEST(LytcSourceError, UnknownKeys) {
    EXPECT_EQ(ErrorOf("{\n\"root\": {\"name\": \"R\"},\n\"colour\": 1}"),
              "t.json:3: unknown key \"colour\"");
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\",\n\"material\": \"m\"}}"),
              "t.json:2: unknown key \"material\" for a pane");
}

TEST(LytcSourceError, Names) {
    EXPECT_EQ(ErrorOf("{\"root\": {\n\"size\": [1, 1]}}"), "t.json:1: pane without \"name\"");
    EXPECT_EQ(ErrorOf("{\"root\": {\n\"name\": \"ABCDEFGHIJKLMNOPQ\"}}"),
              "t.json:2: \"ABCDEFGHIJKLMNOPQ\" is longer than 16 characters");
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\", \"children\": [\n{\"name\": \"R\"}]}}"),
              "t.json:2: pane name \"R\" used twice");
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\",\n\"userString\": \"123456789\"}}"),
              "t.json:2: \"123456789\" is longer than 8 characters");
}

TEST(LytcSourceError, KindsAnchorsAndAlignment) {
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\",\n\"kind\": \"image\"}}"),
              "t.json:2: unknown kind \"image\"; use pane, picture, textbox, bounding or window");
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\",\n\"anchor\": \"middle\"}}"),
              "t.json:2: unknown anchor; use one of top-left, top, top-right, left, centre, "
              "right, bottom-left, bottom, bottom-right");
}

TEST(LytcSourceError, ValuesOutOfRangeOrOfWrongType) {
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\",\n\"alpha\": 256}}"),
              "t.json:2: 256 is outside 0..255");
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\",\n\"alpha\": 0.5}}"),
              "t.json:2: expected a whole number 0..255");
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\", \"size\": [\n1, \"2\"]}}"),
              "t.json:2: expected a number");
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\",\n\"size\": [1]}}"),
              "t.json:2: expected 2 values, got 1");
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\",\n\"visible\": 0}}"),
              "t.json:2: expected true or false");
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\",\n\"position\": [1e39, 0]}}"),
              "t.json:2: number out of range");
}

TEST(LytcSourceError, Colours) {
    EXPECT_EQ(ErrorOf("{\"materials\": [{\"name\": \"m\"}], \"root\": {\"name\": \"R\","
                      " \"kind\": \"picture\", \"material\": \"m\",\n\"vertexColours\": "
                      "[\"#FFFFFFFF\", \"#FFF\", \"#FFFFFFFF\", \"#FFFFFFFF\"]}}"),
              "t.json:2: expected a colour \"#RRGGBBAA\"");
}

TEST(LytcSourceError, Materials) {
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\",\n\"kind\": \"picture\"}}"),
              "t.json:1: a picture needs a \"material\"");
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\", \"kind\": \"textbox\",\n\"material\": "
                      "\"m\"}}"),
              "t.json:2: no material named \"m\"");
    EXPECT_EQ(ErrorOf("{\"materials\": [{\"name\": \"m\"},\n{\"name\": \"m\"}], \"root\": "
                      "{\"name\": \"R\"}}"),
              "t.json:2: material \"m\" defined twice");
    EXPECT_EQ(ErrorOf("{\"materials\": [{\"name\": \"m\",\n\"textures\": [\"a\", \"a\", \"a\", "
                      "\"a\", \"a\", \"a\", \"a\", \"a\", \"a\", \"a\", \"a\"]}],"
                      " \"root\": {\"name\": \"R\"}}"),
              "t.json:2: at most 10 textures are allowed");
    EXPECT_EQ(ErrorOf("{\"materials\": [{\"name\": \"m\",\n\"blendMode\": [1, 2, 3, 300]}],"
                      " \"root\": {\"name\": \"R\"}}"),
              "t.json:2: 300 is outside 0..255");
}

TEST(LytcSourceError, TextBoxes) {
    const std::string head =
        "{\"fonts\": [\"f.otf\"], \"materials\": [{\"name\": \"m\"}], \"root\": {\"name\": \"R\", "
        "\"kind\": \"textbox\", \"material\": \"m\",\n";
    EXPECT_EQ(ErrorOf(head + "\"text\": \"abc\", \"maxLength\": 2}}"),
              "t.json:2: text has 3 UTF-16 units, more than maxLength 2");
    EXPECT_EQ(ErrorOf(head + "\"font\": \"g.otf\"}}"),
              "t.json:2: font \"g.otf\" is not in \"fonts\"");
    EXPECT_EQ(ErrorOf(head + "\"alignment\": \"justify\"}}"),
              "t.json:2: unknown alignment; use one of left, centre, right");
}

TEST(LytcSourceError, Positions) {
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\", \"position\": [0, 0],\n\"screen\": [0, 0]}}"),
              "t.json:2: give \"position\" or \"screen\", not both");
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\", \"scale\": [2, 2], \"children\": [{\"name\": "
                      "\"C\",\n\"screen\": [0, 0]}]}}"),
              "t.json:2: \"screen\" needs every enclosing pane unscaled and unrotated");
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\",\n\"position\": [1]}}"),
              "t.json:2: expected [x, y] or [x, y, z]");
}

TEST(LytcSourceError, Groups) {
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\"}, \"groups\": [{\"name\": \"G\", \"panes\": "
                      "[\n\"Nope\"]}]}"),
              "t.json:2: no pane named \"Nope\"");
    EXPECT_EQ(ErrorOf("{\"root\": {\"name\": \"R\"}, \"groups\": [{\"name\": \"G\"},\n{\"name\": "
                      "\"G\"}]}"),
              "t.json:2: group \"G\" defined twice");
}

}  // namespace
