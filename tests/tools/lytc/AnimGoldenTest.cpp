// A small source compiles to exactly the bytes the animation format lays down, written here
// field by field with the offsets worked out by hand.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "LytcSupport.h"

namespace {

class Expected {
public:
    void U8(uint32_t v) { bytes.push_back(uint8_t(v)); }
    void U16(uint32_t v) {
        U8(v >> 8);
        U8(v & 0xFF);
    }
    void U32(uint32_t v) {
        U16(v >> 16);
        U16(v & 0xFFFF);
    }
    void F32(float f) { U32(std::bit_cast<uint32_t>(f)); }
    void Chars(const char* s, size_t width) {
        const size_t n = std::strlen(s);
        for (size_t i = 0; i < width; ++i) U8(i < n ? uint8_t(s[i]) : 0);
    }
    std::vector<uint8_t> bytes;
};

TEST(AnimGolden, SmallSourceGivesTheseBytes) {
    const char* source = R"({"frames": 20, "textures": ["a.tga"], "contents": [
      {"pane": "P", "curves": [
        {"kind": "transform", "element": "translate-y", "keys": [[0, 1], [10, 2, 0.5]]},
        {"kind": "visibility", "keys": [[0, 1]]}]},
      {"material": "M", "curves": [{"kind": "texture-pattern", "keys": [[0, "a.tga"]]}]}],
     "tag": {"name": "T", "groups": ["G"]},
     "shares": [{"pane": "P", "group": "G"}]})";

    Expected e;
    // Header: magic, byte-order mark, version 0.10, file size, header size, three sections.
    e.Chars("SANM", 4), e.U16(0xFEFF), e.U16(0x000A), e.U32(332), e.U16(16), e.U16(3);
    // "ainf" at 16, 212 bytes.
    e.Chars("ainf", 4), e.U32(212);
    e.U16(20), e.U8(0), e.U8(0), e.U16(1), e.U16(2), e.U32(32);  // content table at +32
    e.U32(4);                                                    // "a.tga" at +20+4
    e.Chars("a.tga", 6), e.U16(0);                               // padding to +32
    e.U32(40), e.U32(152);                                       // the two contents
    // Content "P" at +40: two infos at +32 and +80 from the content.
    e.Chars("P", 20), e.U8(2), e.U8(0), e.U16(0), e.U32(32), e.U32(80);
    // APSR info: one target 12 bytes on; target: index 0, element 1, two keys 12 bytes on.
    e.Chars("APSR", 4), e.U8(1), e.U8(0), e.U16(0), e.U32(12);
    e.U8(0), e.U8(1), e.U8(0), e.U8(0), e.U16(2), e.U16(0), e.U32(12);
    e.F32(0), e.F32(1), e.F32(0), e.F32(10), e.F32(2), e.F32(0.5f);
    // AVIS info with one step key.
    e.Chars("AVIS", 4), e.U8(1), e.U8(0), e.U16(0), e.U32(12);
    e.U8(0), e.U8(0), e.U8(0), e.U8(0), e.U16(1), e.U16(0), e.U32(12);
    e.F32(0), e.U16(1), e.U16(0);
    // Content "M" at +152 (a material): one info 28 bytes on.
    e.Chars("M", 20), e.U8(1), e.U8(1), e.U16(0), e.U32(28);
    e.Chars("ATPT", 4), e.U8(1), e.U8(0), e.U16(0), e.U32(12);
    e.U8(0), e.U8(0), e.U8(0), e.U8(0), e.U16(1), e.U16(0), e.U32(12);
    e.F32(0), e.U16(0), e.U16(0);
    ASSERT_EQ(e.bytes.size(), 228u);
    // "atag" at 228, 52 bytes: order 0, one group, name at +28, groups at +32, frames 0..20.
    e.Chars("atag", 4), e.U32(52), e.U16(0), e.U16(1), e.U32(28), e.U32(32);
    e.U16(0), e.U16(20), e.U8(0), e.U8(0), e.U16(0);
    e.Chars("T", 4), e.Chars("G", 20);
    // "ashr" at 280, 52 bytes: entries at +16, one entry of 17 + 17 + 2 bytes.
    e.Chars("ashr", 4), e.U32(52), e.U32(16), e.U16(1), e.U16(0);
    e.Chars("P", 17), e.Chars("G", 17), e.U16(0);
    ASSERT_EQ(e.bytes.size(), 332u);

    EXPECT_EQ(anim_test::Compile(source), e.bytes);
}

}  // namespace
