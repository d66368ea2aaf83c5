#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "../../../tools/common/JsonSource.h"
#include "../../../tools/common/ToolError.h"
#include "../../../tools/lytc/AnimationSource.h"

namespace anim_test {

// Compiles animation source text as if read from "a.json".
inline std::vector<uint8_t> Compile(const std::string& text) {
    return lytc::CompileAnimation(tools::JsonSource("a.json", text));
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

// The diagnostic the decompiler prints for `bytes`, or "decompiled".
inline std::string DecompileErrorOf(const std::vector<uint8_t>& bytes) {
    try {
        lytc::DecompileAnimation(bytes, "a.anm");
    } catch (const tools::ToolError& e) {
        return e.Describe();
    }
    return "decompiled";
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
