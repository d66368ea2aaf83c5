// compile -> decompile -> compile gives the same bytes; a tiny source gives exactly the bytes
// the format tables call for.
#include <gtest/gtest.h>

#include "../../../tools/common/FileIO.h"
#include "../../Lib/lyt/LytFixture.h"
#include "LytcSupport.h"

namespace {

TEST(LytcBytes, RichSourceSurvivesDecompileAndRecompile) {
    const std::vector<uint8_t> first = lytc_test::Compile(lytc_test::kRichSource);
    const std::string printed = lytc::DecompileLayout(first, "a.lyt");
    const std::vector<uint8_t> second = lytc_test::Compile(printed);
    EXPECT_EQ(first, second) << printed;
    // The printed source is itself stable.
    EXPECT_EQ(lytc::DecompileLayout(second, "b.lyt"), printed);
    // Screen positions come back as layout positions.
    EXPECT_NE(printed.find("\"position\": [-312, 84]"), std::string::npos) << printed;
    EXPECT_NE(printed.find("\"lineSpace\": 0.1,"), std::string::npos) << printed;
}

TEST(LytcBytes, EverySectionTruncationIsRefusedNotMisread) {
    const std::vector<uint8_t> bytes = lytc_test::Compile(lytc_test::kRichSource);
    for (size_t cut = 0; cut < bytes.size(); cut += 7) {
        const std::vector<uint8_t> part(bytes.begin(), bytes.begin() + long(cut));
        EXPECT_THROW(lytc::DecompileLayout(part, "cut.lyt"), tools::ToolError) << cut;
    }
}

TEST(LytcBytes, DecompileNamesTheFileAndByte) {
    std::vector<uint8_t> bytes = lytc_test::Compile(R"({"root": {"name": "R"}})");
    bytes[16 + 4 + 3] = 0xFF;  // "linf" size now runs past the end
    try {
        lytc::DecompileLayout(bytes, "bad.lyt");
        FAIL() << "decompiled";
    } catch (const tools::ToolError& e) {
        EXPECT_EQ(e.Describe(), "bad.lyt: at byte 16: section \"linf\" runs outside the file");
    }
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
    const std::vector<uint8_t> want = TinyGolden();
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) ASSERT_EQ(got[i], want[i]) << "byte " << i;
}

}  // namespace

namespace {

// The example in the format documentation compiles, builds the same bytes again after a
// decompile, and keeps its screen positions.
TEST(LytcBytes, DocumentedExampleCompilesAndRoundTrips) {
    const std::string doc =
        tools::ReadText(std::string(STONEWELL_SOURCE_DIR) + "/docs/formats/layout-source.md");
    const size_t start = doc.find("```json\n");
    ASSERT_NE(start, std::string::npos);
    const size_t end = doc.find("```", start + 8);
    ASSERT_NE(end, std::string::npos);
    const std::string example = doc.substr(start + 8, end - start - 8);
    const std::vector<uint8_t> first = lytc_test::Compile(example);
    const std::string printed = lytc::DecompileLayout(first, "example.lyt");
    EXPECT_EQ(lytc_test::Compile(printed), first);
    // "Hint" at screen (300, 200) under "Board" at the centre.
    EXPECT_NE(printed.find("\"position\": [-212, 184]"), std::string::npos) << printed;
}

}  // namespace

namespace {

std::string DecompileError(const std::vector<uint8_t>& bytes) {
    try {
        lytc::DecompileLayout(bytes, "f.lyt");
    } catch (const tools::ToolError& e) {
        return e.Describe();
    }
    return "decompiled";
}

// What the source cannot say is refused rather than dropped, so a recompile never loses it.
TEST(LytcBytes, DecompileRefusesWhatTheSourceCannotExpress) {
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
}

}  // namespace
