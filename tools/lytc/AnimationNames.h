#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lytc {

// A curve kind: its source name, its tag in the file, whether it animates a material (else a
// pane), whether its keys are step keys (else Hermite), and its element names by number.
struct AnimKind {
    const char* name;
    const char* tag;
    bool material;
    bool step;
    std::vector<std::string> elements;
};

// Every kind the animation file knows, in tag order of the format table.
const std::array<AnimKind, 7>& AnimKinds();
// The kind with source name `name`, or null.
const AnimKind* FindAnimKindByName(const std::string& name);
// The kind with file tag `tag`, or null.
const AnimKind* FindAnimKindByTag(const std::string& tag);

// Longest target names: panes have 16 significant characters, materials 20.
inline constexpr size_t kAnimPaneNameMax = 16;
inline constexpr size_t kAnimMaterialNameMax = 20;
// Group and share names have 16 significant characters.
inline constexpr size_t kAnimGroupNameMax = 16;
// Texture and tag names: NUL-terminated, kept short enough for archive entry names.
inline constexpr size_t kAnimFileNameMax = 51;

}  // namespace lytc
