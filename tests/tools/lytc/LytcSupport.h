#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "../../../tools/common/JsonSource.h"
#include "../../../tools/common/ToolError.h"
#include "../../../tools/lytc/LayoutSource.h"

namespace lytc_test {

// Compiles source text as if read from "t.json".
inline std::vector<uint8_t> Compile(const std::string& text) {
    return lytc::CompileLayout(tools::JsonSource("t.json", text));
}

// The diagnostic the compiler prints for `text`, or "compiled" when it compiles.
inline std::string ErrorOf(const std::string& text) {
    try {
        Compile(text);
    } catch (const tools::ToolError& e) {
        return e.Describe();
    }
    return "compiled";
}

// Uses every part of the source format: all pane kinds, nesting, screen positions, every
// material block, text with characters outside the BMP, user data and groups.
inline const char* const kRichSource = R"({
  "layout": {"width": 1024, "height": 768},
  "fonts": ["UIGothic-Bold.otf"],
  "materials": [
    {"name": "board",
     "textures": ["board.tga", {"name": "grid.tex", "wrapS": 1, "wrapT": 2, "minFilter": 1, "magFilter": 1}],
     "transforms": [{"translate": [0.5, 0], "rotate": 90, "scale": [2, 2]}],
     "colour": "#80FF00FF", "tint": [[0, 0, 0, 0], [255, 200, 100, 255], [-5, 0, 1023, 7]],
     "constants": ["#01020304", "#FFFFFFFF", "#00000000", "#12345678"],
     "texCoordGens": [[1, 2, 3, 4]], "channelControl": [9, 9, 9, 9], "swapTable": [1, 1, 2, 2],
     "indirectStages": [[3, 3, 3, 3], [4, 4, 4, 4]],
     "blendMode": [1, 4, 5, 0], "alphaTest": [7, 0, 0, 0],
     "combinerStages": [[1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16]],
     "indirectTransforms": [{"scale": [0.25, 3]}]},
    {"name": "label", "textures": ["font.tga"]}
  ],
  "root": {
    "name": "RootPane", "size": [1024, 768],
    "userData": ["id", {"name": "level", "data": [0, 0, 0, 3, 1, 2, 3, 4]}],
    "children": [
      {"name": "Board", "kind": "picture", "material": "board", "screen": [612, 284],
       "size": [480, 480], "alpha": 200,
       "vertexColours": ["#FF0000FF", "#00FF00FF", "#0000FFFF", "#FFFFFF80"],
       "children": [
         {"name": "Stone", "kind": "picture", "material": "board", "screen": [300, 200],
          "anchor": "top-left",
          "texCoords": [[[0, 0], [0.5, 0], [0, 0.5], [0.5, 0.5]], [[0, 0], [1, 0], [0, 1], [1, 1]]]}
       ]},
      {"name": "Title", "kind": "textbox", "material": "label", "font": "UIGothic-Bold.otf",
       "position": [0, 300, 1.5], "fontSize": [32, 30], "charSpace": 1.25, "lineSpace": 0.1,
       "textAnchor": "top", "alignment": "centre", "textColours": ["#000000FF", "#333333FF"],
       "text": "はじめての囲碁 \ud840\udc0b", "maxLength": 40, "visible": false, "userString": "title"},
      {"name": "Hit", "kind": "bounding", "size": [100, 50], "rotation": [0, 0, 45],
       "scale": [1.5, 0.5], "propagateAlpha": true, "scaleAdjust": true},
      {"name": "Frame", "kind": "window", "inflation": [1, 2, 3, 4.5], "anchor": "bottom-right",
       "userData": [{"name": "x", "data": [255, 0, 0, 0, 0, 0, 0, 1]}]}
    ]
  },
  "groups": [{"name": "G_all", "panes": ["Board", "Title"]}, {"name": "G_empty"}]
})";

}  // namespace lytc_test
