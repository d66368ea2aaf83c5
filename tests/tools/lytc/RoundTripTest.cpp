// Compiled layouts and animations, read by the program's own loader, are what their sources
// describe (how a bound animation moves its panes is the layout library's own test);
// decompiled files recompile to the same bytes (any source: the layout source fuzz target);
// what the source cannot say is refused; tiny sources give exactly the format tables' bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "../../../tools/common/FileIO.h"
#include "../../Lib/lyt/LytFixture.h"
#include "Lib/lyt/animation.h"
#include "Lib/lyt/bounding.h"
#include "Lib/lyt/layout.h"
#include "Lib/lyt/material.h"
#include "Lib/lyt/pane.h"
#include "Lib/lyt/picture.h"
#include "Lib/lyt/resourceAccessor.h"
#include "Lib/lyt/textBox.h"
#include "LytcSupport.h"

using namespace LYRALib::lytmgr;
using std::tuple;

namespace {

// Serves a distinct one-byte image per name.
class NameAccessor : public ResourceAccessor {
public:
    void* FindResource(uint32_t, const char* name, uint32_t* size) override {
        if (size != nullptr) *size = 1;
        return &mImages[name];
    }
    const void* ImageOf(const std::string& name) { return &mImages[name]; }

private:
    std::map<std::string, uint8_t> mImages;
};

uint32_t Tag(const char* t) {
    return uint32_t(uint8_t(t[0])) << 24 | uint32_t(uint8_t(t[1])) << 16 |
           uint32_t(uint8_t(t[2])) << 8 | uint8_t(t[3]);
}

// The json example of a format document.
std::string DocumentedExample(const std::string& doc) {
    const std::string text =
        tools::ReadText(std::string(STONEWELL_SOURCE_DIR) + "/docs/formats/" + doc);
    const size_t start = text.find("```json\n") + 8;
    return text.substr(start, text.find("```", start) - start);
}

TEST(LytcRoundTrip, EveryTruncationIsRefusedAndAFlippedFileThatDecompilesRoundTrips) {
    const std::vector<uint8_t> layout = lytc_test::Compile(lytc_test::kRichSource);
    EXPECT_EQ(lytc_test::Compile(lytc::DecompileLayout(layout, "a.lyt")), layout);
    // The format documents' examples compile and come back unchanged too.
    const std::vector<uint8_t> doc = lytc_test::Compile(DocumentedExample("layout-source.md"));
    EXPECT_EQ(lytc_test::Compile(lytc::DecompileLayout(doc, "d.lyt")), doc);
    const std::vector<uint8_t> anim = anim_test::Compile(DocumentedExample("animation-source.md"));
    EXPECT_EQ(anim_test::Compile(lytc::DecompileAnimation(anim, "d.anm")), anim);
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
    const auto section = [&f](const char* tag, auto body) {
        const size_t start = f.Begin(tag);
        body(f.w);
        f.End(start);
    };
    using W = lytfix::BeWriter&;
    section("linf", [](W w) { w.Zero(4), w.F32(640), w.F32(480); });
    // The name right after the one entry.
    section("texl",
            [](W w) { w.U16(1), w.U16(0), w.U32(8), w.U32(0), w.CStr("a.tga"), w.Align4(); });
    section("fntl", [](W w) { w.U16(0), w.U16(0); });
    section("matl", [](W w) {
        w.U16(1), w.U16(0), w.U32(16), w.Fixed("mat", 20);
        for (int16_t v : {0, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0}) w.S16(v);
        for (int i = 0; i < 4; ++i) w.U32(0xFFFFFFFF);
        // One texture map: wrap S 1 + min filter 1, mag filter 1.
        w.U32(1), w.U16(0), w.U8(0x05), w.U8(0x04);
    });
    lytfix::PaneSpec root = lytfix::Named("RootPane");
    root.width = 640, root.height = 480;
    lytfix::Pane(f, root);
    // The name follows the single entry, 12 bytes from it.
    section("usrd",
            [](W w) { w.U16(1), w.U16(0), w.U32(12), w.Zero(8), w.CStr("id"), w.Align4(); });
    f.Marker("chbg");
    lytfix::PaneSpec pic = lytfix::Named("Pic");
    pic.tx = -320, pic.ty = 240;  // screen (0, 0) on a 640x480 layout
    pic.alpha = 128, pic.basePosition = 0, pic.width = 32, pic.height = 16;
    lytfix::Picture(f, pic, 0);
    f.Marker("chen");
    section("grup", [](W w) { w.Fixed("RootGroup", 16), w.U16(0), w.U16(0); });
    f.Marker("gpbg");
    section("grup", [](W w) { w.Fixed("G", 16), w.U16(1), w.U16(0), w.Fixed("Pic", 16); });
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

// The offsets of the animation format worked out by hand.
TEST(LytcBytes, SmallAnimationSourceGivesTheseBytes) {
    const char* source = R"({"frames": 20, "textures": ["a.tga"], "contents": [
      {"pane": "P", "curves": [
        {"kind": "transform", "element": "translate-y", "keys": [[0, 1], [10, 2, 0.5]]},
        {"kind": "visibility", "keys": [[0, 1]]}]},
      {"material": "M", "curves": [{"kind": "texture-pattern", "keys": [[0, "a.tga"]]}]}],
     "tag": {"name": "T", "groups": ["G"]},
     "shares": [{"pane": "P", "group": "G"}]})";

    lytfix::BeWriter e;
    // Header: magic, byte-order mark, version 0.10, file size, header size, three sections.
    e.Fixed("SANM", 4), e.U16(0xFEFF), e.U16(0x000A), e.U32(332), e.U16(16), e.U16(3);
    // "ainf" at 16, 212 bytes.
    e.Fixed("ainf", 4), e.U32(212);
    e.U16(20), e.U8(0), e.U8(0), e.U16(1), e.U16(2), e.U32(32);  // content table at +32
    e.U32(4);                                                    // "a.tga" at +20+4
    e.Fixed("a.tga", 6), e.U16(0);                               // padding to +32
    e.U32(40), e.U32(152);                                       // the two contents
    // Content "P" at +40: two infos at +32 and +80 from the content.
    e.Fixed("P", 20), e.U8(2), e.U8(0), e.U16(0), e.U32(32), e.U32(80);
    // APSR info: one target 12 bytes on; target: index 0, element 1, two keys 12 bytes on.
    e.Fixed("APSR", 4), e.U8(1), e.U8(0), e.U16(0), e.U32(12);
    e.U8(0), e.U8(1), e.U8(0), e.U8(0), e.U16(2), e.U16(0), e.U32(12);
    e.F32(0), e.F32(1), e.F32(0), e.F32(10), e.F32(2), e.F32(0.5f);
    // AVIS info with one step key.
    e.Fixed("AVIS", 4), e.U8(1), e.U8(0), e.U16(0), e.U32(12);
    e.U8(0), e.U8(0), e.U8(0), e.U8(0), e.U16(1), e.U16(0), e.U32(12);
    e.F32(0), e.U16(1), e.U16(0);
    // Content "M" at +152 (a material): one info 28 bytes on.
    e.Fixed("M", 20), e.U8(1), e.U8(1), e.U16(0), e.U32(28);
    e.Fixed("ATPT", 4), e.U8(1), e.U8(0), e.U16(0), e.U32(12);
    e.U8(0), e.U8(0), e.U8(0), e.U8(0), e.U16(1), e.U16(0), e.U32(12);
    e.F32(0), e.U16(0), e.U16(0);
    ASSERT_EQ(e.Bytes().size(), 228u);
    // "atag" at 228, 52 bytes: order 0, one group, name at +28, groups at +32, frames 0..20.
    e.Fixed("atag", 4), e.U32(52), e.U16(0), e.U16(1), e.U32(28), e.U32(32);
    e.U16(0), e.U16(20), e.U8(0), e.U8(0), e.U16(0);
    e.Fixed("T", 4), e.Fixed("G", 20);
    // "ashr" at 280, 52 bytes: entries at +16, one entry of 17 + 17 + 2 bytes.
    e.Fixed("ashr", 4), e.U32(52), e.U32(16), e.U16(1), e.U16(0);
    e.Fixed("P", 17), e.Fixed("G", 17), e.U16(0);
    ASSERT_EQ(e.Bytes().size(), 332u);

    EXPECT_EQ(anim_test::Compile(source), e.Bytes());
}

TEST(LytcLoader, RichLayoutBuildsTheTreeItsSourceDescribes) {
    std::vector<uint8_t> bytes = lytc_test::Compile(lytc_test::kRichSource);
    NameAccessor images;
    Layout layout;
    ASSERT_TRUE(layout.Build(bytes.data(), bytes.size(), &images));
    Pane* root = layout.GetRootPane();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(
        tuple(layout.GetLayoutSize().width, layout.GetLayoutSize().height, root->GetSize().width),
        tuple(1024, 768, 1024));
    std::vector<Pane*> kids;  // in source order: Board, Title, Hit, Frame
    for (Pane* p = root->GetFirstChild(); p != nullptr; p = p->GetNextSibling()) kids.push_back(p);
    ASSERT_EQ(kids.size(), 4u);
    auto* board = dynamic_cast<Picture*>(kids[0]);
    auto* title = dynamic_cast<TextBox*>(kids[1]);
    ASSERT_TRUE(board != nullptr && title != nullptr && board->GetChildCount() == 1);
    auto* stone = static_cast<Picture*>(board->GetFirstChild());
    EXPECT_EQ(tuple(std::string(title->GetName()), std::string(stone->GetName())),
              tuple("Title", "Stone"));
    EXPECT_NE(dynamic_cast<Bounding*>(kids[2]), nullptr);
    EXPECT_EQ(dynamic_cast<Picture*>(kids[3]), nullptr);  // a window is built as a plain pane

    // Screen (612, 284) under an unmoved root: 100 right of centre, 100 above it. Screen
    // (300, 200) is layout (-212, 184); relative to Board at (100, 100). Base 0 is top-left.
    EXPECT_EQ(tuple(board->GetTranslate().x, board->GetTranslate().y, stone->GetTranslate().x,
                    stone->GetTranslate().y, stone->GetBasePosition()),
              tuple(100, 100, -312, 84, 0));
    EXPECT_EQ(tuple(title->GetTranslate().y, title->GetTranslate().z), tuple(300, 1.5f));
    EXPECT_EQ(tuple(board->GetSize().height, board->GetAlpha(), board->IsVisible(),
                    title->IsVisible(), std::string(title->GetUserString())),
              tuple(480, 200, true, false, "title"));
    EXPECT_EQ(tuple(kids[2]->IsInfluencedAlpha(), kids[2]->IsLocationAdjust(),
                    kids[2]->GetScale().x, kids[2]->GetRotate().z, kids[3]->GetBasePosition()),
              tuple(true, true, 1.5f, 45, 8));  // 8: bottom-right

    Material* m = board->GetMaterial();
    ASSERT_TRUE(m != nullptr && m->GetTextureNum() == 2);
    EXPECT_EQ(
        tuple(m->GetTexMap(0).mpImage, m->GetTexMap(1).mpImage,
              title->GetMaterial()->GetTexMap(0).mpImage),
        tuple(images.ImageOf("board.tga"), images.ImageOf("grid.tex"), images.ImageOf("font.tga")));
    EXPECT_EQ(tuple(m->GetTexMap(1).mWrapS, m->GetTexMap(1).mWrapT, m->GetTexMap(1).mMagFilter,
                    m->GetTexSRTNum(), m->GetTexSRT(0).mRotate),
              tuple(1, 2, 1, 1, 90));
    EXPECT_EQ(tuple(m->GetMatColor()[0], m->GetTintColor(2)[0], m->GetConstColor(3)[1],
                    board->GetVtxColor(3), board->GetTexCoordNum(), stone->GetTexCoordNum()),
              tuple(0x80, -5, 0x34, 0xFFFFFF80u, 1, 2));

    EXPECT_EQ(std::u16string(title->GetString()), u"はじめての囲碁 \U0002000B");
    EXPECT_EQ(tuple(title->GetStringBufferSize(), title->GetFontSize().width, title->GetLineSpace(),
                    title->GetTextPosition(), title->GetTextAlignment(), title->GetTextColor(1)),
              tuple(82u, 32, 0.1f, 1, 1, 0x333333FFu));  // position 1: top

    const auto& groups = layout.GetGroupContainer()->GetGroups();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_STREQ(groups[0]->GetName(), "G_all");
    EXPECT_EQ(groups[0]->GetPaneList(), (std::vector<Pane*>{kids[0], kids[1]}));
    EXPECT_TRUE(groups[1]->GetPaneList().empty());
    EXPECT_EQ(root->GetExtUserDataNum(), 2);
    EXPECT_NE(root->FindExtUserDataByName("id"), nullptr);
    const uint8_t* level = root->FindExtUserDataByName("level");
    const uint8_t* x = kids[3]->FindExtUserDataByName("x");
    ASSERT_TRUE(level != nullptr && x != nullptr);
    EXPECT_EQ(tuple(level[7], level[11], x[4]), tuple(3, 4, 255));
}

TEST(LytcLoader, RichAnimationLoadsEveryContentCurveAndKey) {
    std::vector<uint8_t> bytes = anim_test::Compile(anim_test::kRichAnimation);
    AnimResource res;
    ASSERT_TRUE(res.Set(bytes.data(), bytes.size()));
    EXPECT_EQ(res.GetTextureNames(), (std::vector<std::string>{"face_a.tga", "face_b.tga"}));
    ASSERT_TRUE(res.HasTag() && res.GetGroupNum() == 2 && res.GetShares().size() == 1);
    EXPECT_EQ(tuple(res.GetFrameSize(), res.IsLoopData(), res.GetTagName(), res.GetTagOrder(),
                    res.GetTagStartFrame(), res.GetTagEndFrame(), res.IsDescendingBind()),
              tuple(60, true, "Idle", 3, 5, 50, true));
    EXPECT_EQ(
        tuple(std::string(res.GetGroups()[1].name), std::string(res.GetShares()[0].srcPaneName),
              std::string(res.GetShares()[0].targetGroupName)),
        tuple("G_board", "chara_1", "G_faces"));
    ASSERT_EQ(res.GetContents().size(), 2u);
    const AnimContent& pane = res.GetContents()[0];
    ASSERT_EQ(pane.infos.size(), 3u);
    ASSERT_EQ(pane.infos[0].targets.size(), 2u);
    const auto& keys = pane.infos[0].targets[0].hermiteKeys;
    ASSERT_EQ(keys.size(), 3u);
    ASSERT_EQ(pane.infos[1].targets[0].stepKeys.size(), 3u);
    // Elements: translate-y 1, scale-x 6, alpha 16, bottom-right green byte 13.
    EXPECT_EQ(tuple(pane.type, pane.infos[0].kind, pane.infos[0].targets[0].element,
                    pane.infos[0].targets[1].element, keys[1].frame, keys[1].value, keys[1].slope),
              tuple(kAnimContentPane, Tag("APSR"), 1, 6, 30, 20, 0.5f));
    EXPECT_EQ(tuple(pane.infos[1].kind, pane.infos[1].targets[0].stepKeys[1].value,
                    pane.infos[2].kind, pane.infos[2].targets[0].element,
                    pane.infos[2].targets[1].element, pane.infos[2].targets[1].curveType),
              tuple(Tag("AVIS"), 0, Tag("AVCL"), 16, 13, 2));
    const AnimContent& mat = res.GetContents()[1];
    ASSERT_EQ(mat.infos.size(), 4u);
    // Elements: tint 1 alpha 4 + 4 + 3, rotate 2, scale-y 4.
    EXPECT_EQ(tuple(mat.type, mat.infos[0].kind, mat.infos[0].targets[0].element,
                    mat.infos[0].targets[0].hermiteKeys[0].value),
              tuple(kAnimContentMaterial, Tag("AMCL"), 4 + 4 + 3, -300));
    EXPECT_EQ(
        tuple(mat.infos[1].kind, mat.infos[1].targets[0].index, mat.infos[1].targets[0].element,
              mat.infos[2].kind, mat.infos[2].targets[0].element,
              mat.infos[2].targets[0].hermiteKeys[0].slope, mat.infos[3].kind),
        tuple(Tag("ATSR"), 1, 2, Tag("AIMT"), 4, -0.25f, Tag("ATPT")));
    std::vector<int> steps;
    for (const auto& k : mat.infos[3].targets[0].stepKeys) steps.push_back(k.value);
    EXPECT_EQ(steps, (std::vector<int>{0, 1, 7}));
}

}  // namespace
