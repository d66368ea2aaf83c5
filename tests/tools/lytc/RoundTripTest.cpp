// compile -> decompile -> compile gives the same bytes for layouts and animations; what the
// source cannot say is refused; a tiny source gives exactly the bytes the format tables call for.
#include <gtest/gtest.h>

#include <algorithm>

#include "../../../tools/common/FileIO.h"
#include "../../Lib/lyt/LytFixture.h"
#include "LytcSupport.h"

namespace {

// The json example of a format document.
std::string DocumentedExample(const std::string& doc) {
    const std::string text =
        tools::ReadText(std::string(STONEWELL_SOURCE_DIR) + "/docs/formats/" + doc);
    const size_t start = text.find("```json\n") + 8;
    return text.substr(start, text.find("```", start) - start);
}

// Each source with text its printed form must hold.
using Sources = std::vector<std::pair<std::string, std::vector<std::string>>>;

TEST(LytcRoundTrip, LayoutsRecompileByteForByte) {
    const Sources sources = {
        // Screen positions come back as layout positions.
        {lytc_test::kRichSource, {"\"position\": [-312, 84]", "\"lineSpace\": 0.1,"}},
        // "Hint" at screen (300, 200) under "Board" at the centre.
        {DocumentedExample("layout-source.md"), {"\"position\": [-212, 184]"}},
    };
    for (const auto& [source, shown] : sources) {
        const std::vector<uint8_t> first = lytc_test::Compile(source);
        const std::string printed = lytc::DecompileLayout(first, "a.lyt");
        const std::vector<uint8_t> second = lytc_test::Compile(printed);
        EXPECT_EQ(first, second) << printed;
        EXPECT_EQ(lytc::DecompileLayout(second, "b.lyt"), printed);  // the printed text is stable
        for (const std::string& s : shown) EXPECT_NE(printed.find(s), std::string::npos) << s;
    }
}

TEST(LytcRoundTrip, AnimationsRecompileByteForByte) {
    const Sources sources = {
        // Texture pattern keys print names for listed textures, numbers beyond the list; the
        // texture used only by a key joins the list; zero slopes are left out, others kept.
        {anim_test::kRichAnimation,
         {"[[0, \"face_a.tga\"], [30, \"face_b.tga\"], [45, 7]]",
          "\"textures\": [\"face_a.tga\", \"face_b.tga\"]", "[30, 20, 0.5]", "[0, 1.5, -0.25]",
          "[60, 0]]"}},
        {R"({"frames": 1, "contents": []})", {}},
        {DocumentedExample("animation-source.md"), {"\"face_open.tga\", \"face_shut.tga\""}},
    };
    for (const auto& [source, shown] : sources) {
        const std::vector<uint8_t> first = anim_test::Compile(source);
        const std::string printed = lytc::DecompileAnimation(first, "a.anm");
        const std::vector<uint8_t> second = anim_test::Compile(printed);
        EXPECT_EQ(first, second) << printed;
        EXPECT_EQ(lytc::DecompileAnimation(second, "b.anm"), printed);
        for (const std::string& s : shown) EXPECT_NE(printed.find(s), std::string::npos) << s;
        // Curves of one kind are gathered: scale-x follows translate-y, before visibility.
        if (source == anim_test::kRichAnimation) {
            EXPECT_LT(printed.find("\"scale-x\""), printed.find("\"visibility\""));
        }
    }
}

TEST(LytcRoundTrip, EveryTruncationIsRefusedAndAFlippedFileThatDecompilesRoundTrips) {
    const std::vector<uint8_t> layout = lytc_test::Compile(lytc_test::kRichSource);
    for (size_t cut = 0; cut < layout.size(); cut += 7) {
        const std::vector<uint8_t> part(layout.begin(), layout.begin() + long(cut));
        EXPECT_THROW(lytc::DecompileLayout(part, "cut.lyt"), tools::ToolError) << cut;
    }
    const std::vector<uint8_t> good = anim_test::Compile(anim_test::kRichAnimation);
    for (size_t n = 0; n < good.size(); ++n) {
        EXPECT_NE(anim_test::DecompileErrorOf({good.begin(), good.begin() + long(n)}), "decompiled")
            << n;
        auto flipped = good;
        flipped[n] ^= 0xA5;
        std::string text;
        try {
            text = lytc::DecompileAnimation(flipped, "a.anm");
        } catch (const tools::ToolError&) {
            continue;
        }
        EXPECT_EQ(anim_test::Compile(text), flipped) << n;
    }
}

std::string DecompileError(const std::vector<uint8_t>& bytes) {
    return tooltest::ErrorOf([&] { lytc::DecompileLayout(bytes, "f.lyt"); }, "decompiled");
}

// What the source cannot say is refused rather than dropped, so a recompile never loses it.
TEST(LytcRoundTrip, DecompilersRefuseWhatTheSourceCannotExpress) {
    std::vector<uint8_t> bytes = lytc_test::Compile(R"({"root": {"name": "R"}})");
    bytes[16 + 4 + 3] = 0xFF;  // "linf" size now runs past the end
    EXPECT_EQ(DecompileError(bytes), "f.lyt: at byte 16: section \"linf\" runs outside the file");

    lytfix::FileWriter two;
    lytfix::LayoutInfo(two, 640, 480);
    lytfix::Pane(two, lytfix::Named("A"));
    const size_t second = two.w.Pos();
    lytfix::Pane(two, lytfix::Named("B"));
    EXPECT_EQ(DecompileError(two.Finish()),
              "f.lyt: at byte " + std::to_string(second) +
                  ": a second top-level pane cannot be written as source");

    lytfix::FileWriter flags;
    lytfix::PaneSpec odd = lytfix::Named("A");
    odd.flags = 0x81;
    const size_t pane = flags.w.Pos();
    lytfix::Pane(flags, odd);
    EXPECT_EQ(DecompileError(flags.Finish()),
              "f.lyt: at byte " + std::to_string(pane + 8) + ": unknown pane flag bits");

    lytfix::FileWriter unknown;
    lytfix::Pane(unknown, lytfix::Named("A"));
    const size_t extra = unknown.w.Pos();
    unknown.Marker("zzzz");
    EXPECT_EQ(DecompileError(unknown.Finish()),
              "f.lyt: at byte " + std::to_string(extra) + ": unknown section \"zzzz\"");

    const std::vector<uint8_t> good = anim_test::Compile(anim_test::kRichAnimation);
    auto reserved = good;
    reserved[16 + 11] = 1;  // the reserved byte after the loop flag
    EXPECT_NE(anim_test::DecompileErrorOf(reserved).find("cannot express"), std::string::npos);
    auto kind = good;
    const std::string apsr = "APSR";
    auto it = std::search(kind.begin(), kind.end(), apsr.begin(), apsr.end());
    ASSERT_NE(it, kind.end());
    *it = 'X';
    EXPECT_NE(anim_test::DecompileErrorOf(kind).find("unknown curve kind \"XPSR\""),
              std::string::npos);
    EXPECT_EQ(anim_test::DecompileErrorOf({'S', 'L', 'Y', 'T'}),
              "a.anm: at byte 0: not an animation file");
}

// Written from the tables: header, "linf", "texl", "fntl", "matl", the panes, the groups.
std::vector<uint8_t> TinyGolden() {
    lytfix::FileWriter f("SLYT", 0x000A);
    size_t s = f.Begin("linf");
    f.w.Zero(4), f.w.F32(640), f.w.F32(480);
    f.End(s);

    s = f.Begin("texl");
    f.w.U16(1), f.w.U16(0);
    f.w.U32(8), f.w.U32(0);  // name right after the one entry
    f.w.CStr("a.tga");
    f.w.Align4();
    f.End(s);

    s = f.Begin("fntl");
    f.w.U16(0), f.w.U16(0);
    f.End(s);

    s = f.Begin("matl");
    f.w.U16(1), f.w.U16(0);
    f.w.U32(16);
    f.w.Fixed("mat", 20);
    for (int16_t v : {0, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0}) f.w.S16(v);
    for (int i = 0; i < 4; ++i) f.w.U32(0xFFFFFFFF);
    f.w.U32(1);                              // one texture map
    f.w.U16(0), f.w.U8(0x05), f.w.U8(0x04);  // wrap S 1 + min filter 1, mag filter 1
    f.End(s);

    lytfix::PaneSpec root = lytfix::Named("RootPane");
    root.width = 640, root.height = 480;
    lytfix::Pane(f, root);
    s = f.Begin("usrd");
    f.w.U16(1), f.w.U16(0);
    f.w.U32(12);  // from the entry: the name follows the single entry
    f.w.Zero(8);
    f.w.CStr("id");
    f.w.Align4();
    f.End(s);
    f.Marker("chbg");
    lytfix::PaneSpec pic = lytfix::Named("Pic");
    pic.tx = -320, pic.ty = 240;  // screen (0, 0) on a 640x480 layout
    pic.alpha = 128, pic.basePosition = 0, pic.width = 32, pic.height = 16;
    lytfix::Picture(f, pic, 0);
    f.Marker("chen");

    s = f.Begin("grup");
    f.w.Fixed("RootGroup", 16), f.w.U16(0), f.w.U16(0);
    f.End(s);
    f.Marker("gpbg");
    s = f.Begin("grup");
    f.w.Fixed("G", 16), f.w.U16(1), f.w.U16(0);
    f.w.Fixed("Pic", 16);
    f.End(s);
    f.Marker("gpen");
    return f.Finish();
}

TEST(LytcBytes, TinySourceMatchesHandWrittenBytes) {
    const std::vector<uint8_t> got = lytc_test::Compile(R"({
      "layout": {"width": 640, "height": 480},
      "materials": [{"name": "mat", "textures": [
        {"name": "a.tga", "wrapS": 1, "minFilter": 1, "magFilter": 1}]}],
      "root": {"name": "RootPane", "size": [640, 480], "userData": ["id"], "children": [
        {"name": "Pic", "kind": "picture", "material": "mat", "screen": [0, 0],
         "anchor": "top-left", "alpha": 128, "size": [32, 16]}]},
      "groups": [{"name": "G", "panes": ["Pic"]}]
    })");
    EXPECT_EQ(got, TinyGolden());
}

}  // namespace
