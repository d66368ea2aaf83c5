// Each class of fault in a layout or animation source is reported at its line, naming the fault.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "LytcSupport.h"

namespace {

// The tables write JSON and messages with ' for ", to stay readable.
std::string Q(std::string s) {
    for (char& c : s)
        if (c == '\'') c = '"';
    return s;
}

// One curve of a pane or material content, the curve on line 3.
std::string P(const std::string& curve) {
    return "{'frames': 10, 'contents': [\n{'pane': 'P', 'curves': [\n" + curve + "]}]}";
}
std::string M(const std::string& curve) {
    return "{'frames': 10, 'contents': [\n{'material': 'M', 'curves': [\n" + curve + "]}]}";
}

using Cases = std::vector<std::pair<std::string, std::string>>;

// Where a syntax error is reported is the JSON reader's own test.
void ExpectErrors(const Cases& cases, std::string (*errorOf)(const std::string&)) {
    for (const auto& [source, message] : cases) EXPECT_EQ(errorOf(Q(source)), Q(message)) << source;
}

TEST(LytcSourceError, EachFaultOfALayoutSource) {
    const std::string head =
        "{'fonts': ['f.otf'], 'materials': [{'name': 'm'}], 'root': {'name': 'R', "
        "'kind': 'textbox', 'material': 'm',\n";
    ExpectErrors(
        {
            {"{}", "t.json:1: missing 'root' pane"},
            {"[]", "t.json:1: a layout source is a JSON object"},
            {"{\n'root': {'name': 'R'},\n'colour': 1}", "t.json:3: unknown key 'colour'"},
            {"{'root': {'name': 'R',\n'material': 'm'}}",
             "t.json:2: unknown key 'material' for a pane"},
            {"{'root': {\n'size': [1, 1]}}", "t.json:1: pane without 'name'"},
            {"{'root': {\n'name': 'ABCDEFGHIJKLMNOPQ'}}",
             "t.json:2: 'ABCDEFGHIJKLMNOPQ' is longer than 16 characters"},
            {"{'root': {'name': 'R', 'children': [\n{'name': 'R'}]}}",
             "t.json:2: pane name 'R' used twice"},
            {"{'root': {'name': 'R',\n'userString': '123456789'}}",
             "t.json:2: '123456789' is longer than 8 characters"},
            {"{'root': {'name': 'R',\n'kind': 'image'}}",
             "t.json:2: unknown kind 'image'; use pane, picture, textbox, bounding or window"},
            {"{'root': {'name': 'R',\n'anchor': 'middle'}}",
             "t.json:2: unknown anchor; use one of top-left, top, top-right, left, centre, right, "
             "bottom-left, bottom, bottom-right"},
            {"{'root': {'name': 'R',\n'alpha': 256}}", "t.json:2: 256 is outside 0..255"},
            {"{'root': {'name': 'R',\n'alpha': 0.5}}", "t.json:2: expected a whole number 0..255"},
            {"{'root': {'name': 'R', 'size': [\n1, '2']}}", "t.json:2: expected a number"},
            {"{'root': {'name': 'R',\n'size': [1]}}", "t.json:2: expected 2 values, got 1"},
            {"{'root': {'name': 'R',\n'visible': 0}}", "t.json:2: expected true or false"},
            {"{'root': {'name': 'R',\n'position': [1e39, 0]}}", "t.json:2: number out of range"},
            {"{'materials': [{'name': 'm'}], 'root': {'name': 'R', 'kind': 'picture', 'material': "
             "'m',\n'vertexColours': ['#FFFFFFFF', '#FFF', '#FFFFFFFF', '#FFFFFFFF']}}",
             "t.json:2: expected a colour '#RRGGBBAA'"},
            {"{'root': {'name': 'R',\n'kind': 'picture'}}",
             "t.json:1: a picture needs a 'material'"},
            {"{'root': {'name': 'R', 'kind': 'textbox',\n'material': 'm'}}",
             "t.json:2: no material named 'm'"},
            {"{'materials': [{'name': 'm'},\n{'name': 'm'}], 'root': {'name': 'R'}}",
             "t.json:2: material 'm' defined twice"},
            {"{'materials': [{'name': 'm',\n'textures': ['a', 'a', 'a', 'a', 'a', 'a', 'a', 'a', "
             "'a', 'a', 'a']}], 'root': {'name': 'R'}}",
             "t.json:2: at most 10 textures are allowed"},
            {head + "'text': 'abc', 'maxLength': 2}}",
             "t.json:2: text has 3 UTF-16 units, more than maxLength 2"},
            {head + "'font': 'g.otf'}}", "t.json:2: font 'g.otf' is not in 'fonts'"},
            {head + "'alignment': 'justify'}}",
             "t.json:2: unknown alignment; use one of left, centre, right"},
            {"{'root': {'name': 'R', 'position': [0, 0],\n'screen': [0, 0]}}",
             "t.json:2: give 'position' or 'screen', not both"},
            {"{'root': {'name': 'R', 'scale': [2, 2], 'children': [{'name': 'C',\n'screen': [0, "
             "0]}]}}",
             "t.json:2: 'screen' needs every enclosing pane unscaled and unrotated"},
            {"{'root': {'name': 'R',\n'position': [1]}}", "t.json:2: expected [x, y] or [x, y, z]"},
            {"{'root': {'name': 'R'}, 'groups': [{'name': 'G', 'panes': [\n'Nope']}]}",
             "t.json:2: no pane named 'Nope'"},
            {"{'root': {'name': 'R'}, 'groups': [{'name': 'G'},\n{'name': 'G'}]}",
             "t.json:2: group 'G' defined twice"},
        },
        lytc_test::ErrorOf);
}

TEST(AnimSourceError, EachFaultOfAnAnimationSource) {
    const std::string curve = "'curves': [{'kind': 'visibility', 'keys': [[0, 1]]}]";
    const std::string two = "{'frames': 1, 'contents': [{'pane': 'P', " + curve + "},\n";
    ExpectErrors(
        {
            {two + "{'pane': 'P', " + curve + "}]}",
             "a.json:2: pane 'P' is animated by two contents"},
            // A pane and a material may share a name.
            {two + "{'material': 'P', 'curves': [{'kind': 'texture-pattern', 'keys': [[0, 1]]}]}]}",
             "compiled"},
            {"[]", "a.json:1: an animation source is a JSON object"},
            {"{'contents': []}", "a.json:1: missing 'frames'"},
            {"{'frames': 1}", "a.json:1: missing 'contents'"},
            {"{'frames': 1, 'contents': [],\n'speed': 2}", "a.json:2: unknown key 'speed'"},
            {"{'contents': [],\n'frames': 65536}", "a.json:2: 65536 is outside 0..65535"},
            {"{'frames': 1, 'contents': [\n{'curves': []}]}",
             "a.json:2: a content names either a 'pane' or a 'material'"},
            {"{'frames': 1, 'contents': [{\n'pane': 'ABCDEFGHIJKLMNOPQ'}]}",
             "a.json:2: 'ABCDEFGHIJKLMNOPQ' is longer than 16 characters"},
            {"{'frames': 1, 'contents': [{\n'material': 'ABCDEFGHIJKLMNOPQRSTU'}]}",
             "a.json:2: 'ABCDEFGHIJKLMNOPQRSTU' is longer than 20 characters"},
            {"{'frames': 1, 'contents': [{\n'pane': '\u00e9'}]}",
             "a.json:2: '\u00e9' is not printable ASCII"},
            {"{'frames': 1, 'contents': [\n{'pane': 'P'}]}", "a.json:2: missing 'curves'"},
            {"{'frames': 1, 'contents': [{'pane': 'P',\n'curves': []}]}",
             "a.json:2: a content needs at least one curve"},
            {P("{'keys': [[0, 1]]}"), "a.json:3: missing 'kind'"},
            {P("{'kind': 'spin', 'keys': [[0, 1]]}"), "a.json:3: unknown curve kind 'spin'"},
            {M("{'kind': 'visibility', 'keys': [[0, 1]]}"),
             "a.json:3: a material cannot have a 'visibility' curve"},
            {P("{'kind': 'texture-pattern', 'keys': [[0, 1]]}"),
             "a.json:3: a pane cannot have a 'texture-pattern' curve"},
            {P("{'kind': 'transform', 'keys': [[0, 1]]}"),
             "a.json:3: missing 'element' for a 'transform' curve"},
            {M("{'kind': 'texture-transform', 'element': 'skew', 'keys': [[0, 1]]}"),
             "a.json:3: 'skew' is not an element of 'texture-transform' (one of: translate-x, "
             "translate-y, rotate, scale-x, scale-y)"},
            {P("{'kind': 'visibility', 'index': 1, 'keys': [[0, 1]]}"),
             "a.json:3: pane curves have no index"},
            {M("{'kind': 'texture-pattern', 'index': 256, 'keys': [[0, 1]]}"),
             "a.json:3: 256 is outside 0..255"},
            {P("{'kind': 'visibility', 'keys': [[0, 1]]},\n{'kind': 'visibility', 'keys': [[0, "
               "0]]}"),
             "a.json:4: this value is already animated by an earlier curve"},
            {P("{'kind': 'visibility'}"), "a.json:3: missing 'keys'"},
            {P("{'kind': 'visibility', 'keys': []}"), "a.json:3: a curve needs at least one key"},
            {P("{'kind': 'transform', 'element': 'width', 'keys': [\n[0]]}"),
             "a.json:4: a key is [frame, value] or [frame, value, slope]"},
            {P("{'kind': 'visibility', 'keys': [\n[0, 1, 0]]}"),
             "a.json:4: a step key is [frame, value]"},
            {P("{'kind': 'transform', 'element': 'width', 'keys': [[5, 1],\n[4, 2]]}"),
             "a.json:4: keys must be in ascending frame order"},
            {P("{'kind': 'visibility', 'keys': [[0,\n70000]]}"),
             "a.json:4: 70000 is outside 0..65535"},
            {"{'frames': 1, 'contents': [], 'textures': ['a.tga',\n'a.tga']}",
             "a.json:2: texture 'a.tga' is listed twice"},
            {"{'frames': 1, 'contents': [], 'textures': [\n'']}", "a.json:2: must not be empty"},
            {"{'frames': 1, 'contents': [],\n'tag': {}}", "a.json:2: missing 'name'"},
            {"{'frames': 1, 'contents': [], 'tag': {'name': 'T', 'start': 5,\n'end': 4}}",
             "a.json:2: the tag ends before it starts"},
            {"{'frames': 1, 'contents': [], 'shares': [\n{'pane': 'P'}]}",
             "a.json:2: a share names a 'pane' and a 'group'"},
            {"{'frames': 1, 'contents': [], 'shares': {}}", "a.json:1: expected an array"},
        },
        anim_test::ErrorOf);
}

}  // namespace
