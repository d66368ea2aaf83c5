#pragma once

#include <array>

namespace lytc {

// Anchor names by stored value: horizontal = value mod 3, vertical = value div 3.
inline constexpr std::array<const char*, 9> kAnchorNames = {
    "top-left", "top",         "top-right", "left",        "centre",
    "right",    "bottom-left", "bottom",    "bottom-right"};
// Text alignment names by stored value.
inline constexpr std::array<const char*, 3> kAlignNames = {"left", "centre", "right"};

// A pane kind: its source name and the tag of its section.
struct PaneKind {
    const char* name;
    const char* tag;
};
inline constexpr std::array<PaneKind, 5> kPaneKinds = {{{"pane", "panl"},
                                                        {"picture", "pict"},
                                                        {"textbox", "txtb"},
                                                        {"bounding", "bndg"},
                                                        {"window", "wndw"}}};

// A material block kept as raw bytes: its source key, bytes per entry, the most entries the
// program keeps, and where its count (or presence bit) sits in the material flags.
struct RawBlock {
    const char* key;
    int size;
    int max;
    int shift;
    int bits;  // 1: a presence bit and a single entry in the source (no list)
};

// Texture maps, texture transforms, material colour and indirect transforms are written out
// field by field; the rest stays as bytes, in file order with those.
inline constexpr RawBlock kTexCoordGens{"texCoordGens", 4, 8, 8, 4};
inline constexpr RawBlock kChannelControl{"channelControl", 4, 1, 25, 1};
inline constexpr RawBlock kSwapTable{"swapTable", 4, 1, 12, 1};
inline constexpr RawBlock kIndirectStages{"indirectStages", 4, 4, 15, 3};
inline constexpr RawBlock kCombinerStages{"combinerStages", 16, 16, 18, 5};
inline constexpr RawBlock kAlphaTest{"alphaTest", 4, 1, 23, 1};
inline constexpr RawBlock kBlendMode{"blendMode", 4, 1, 24, 1};

}  // namespace lytc
