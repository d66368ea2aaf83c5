#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "../../../tools/common/JsonSource.h"
#include "../../../tools/lytc/AnimationSource.h"
#include "../../../tools/lytc/LayoutSource.h"
#include "../ToolErrorOf.h"

namespace lytc_test {

// Compiles source text as if read from "t.json".
inline std::vector<uint8_t> Compile(const std::string& text) {
    return lytc::CompileLayout(tools::JsonSource("t.json", text));
}

// The diagnostic the compiler prints for `text`, or "compiled" when it compiles.
inline std::string ErrorOf(const std::string& text) {
    return tooltest::ErrorOf([&] { Compile(text); }, "compiled");
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

namespace anim_test {

inline std::vector<uint8_t> Compile(const std::string& text) {
    return lytc::CompileAnimation(tools::JsonSource("a.json", text));
}

inline std::string ErrorOf(const std::string& text) {
    return tooltest::ErrorOf([&] { Compile(text); }, "compiled");
}

// The diagnostic the decompiler prints for `bytes`, or "decompiled".
inline std::string DecompileErrorOf(const std::vector<uint8_t>& bytes) {
    return tooltest::ErrorOf([&] { lytc::DecompileAnimation(bytes, "a.anm"); }, "decompiled");
}

// Uses every part of the source format: pane and material contents, all seven kinds, slopes,
// jumps, texture patterns by name and by number, curve types, a tag with groups and shares.
inline const char* const kRichAnimation = R"({
  "frames": 60,
  "loop": true,
  "textures": ["face_a.tga"],
  "contents": [
    {"pane": "chara_1", "curves": [
      {"kind": "transform", "element": "translate-y", "keys": [[0, 0], [30, 20, 0.5], [60, 0]]},
      {"kind": "visibility", "keys": [[0, 1], [10, 0], [20, 1]]},
      {"kind": "transform", "element": "scale-x", "keys": [[0, 1]]},
      {"kind": "vertex-colour", "element": "alpha", "keys": [[0, 0], [10, 255], [10, 128]]},
      {"kind": "vertex-colour", "element": "bottom-right-g", "curveType": 2, "keys": [[5, 12.25]]}
    ]},
    {"material": "board_material", "curves": [
      {"kind": "material-colour", "element": "tint1-a", "keys": [[0, -300], [1, 300]]},
      {"kind": "texture-transform", "index": 1, "element": "rotate", "keys": [[0, 0], [59, 360]]},
      {"kind": "indirect-transform", "element": "scale-y", "keys": [[0, 1.5, -0.25]]},
      {"kind": "texture-pattern", "index": 0, "keys": [[0, "face_a.tga"], [30, "face_b.tga"], [45, 7]]}
    ]}
  ],
  "tag": {"name": "Idle", "order": 3, "start": 5, "end": 50, "descendants": true,
          "groups": ["G_faces", "G_board"]},
  "shares": [{"pane": "chara_1", "group": "G_faces"}]
})";

}  // namespace anim_test
