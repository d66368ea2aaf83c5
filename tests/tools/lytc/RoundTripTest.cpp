// Compiled layouts and animations, read by the program's own loader, are what their sources
// describe (how a bound animation moves its panes is the layout library's own test);
// decompiled files recompile to the same bytes (any source: the layout source fuzz target);
// what the source cannot say is refused.
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

    // What the source leaves out: centred, opaque, white corners, the default tint and
    // constants, and the whole texture once.
    const Material* plain = title->GetMaterial();
    const auto& uv = board->GetTexCoord(0);
    EXPECT_EQ(tuple(title->GetBasePosition(), title->GetAlpha(), stone->GetVtxColor(0)),
              tuple(4, 255, 0xFFFFFFFFu));
    EXPECT_EQ(tuple(plain->GetTintColor(0), plain->GetTintColor(1), plain->GetTintColor(2),
                    plain->GetConstColor(2)),
              tuple(Color16{}, Color16{255, 255, 255, 255}, Color16{}, Color8{255, 255, 255, 255}));
    EXPECT_EQ((std::vector<float>{uv[0].x, uv[0].y, uv[1].x, uv[1].y, uv[2].x, uv[2].y, uv[3].x,
                                  uv[3].y}),
              (std::vector<float>{0, 0, 1, 0, 0, 1, 1, 1}));

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
    // The loader skips the root group; it carries the format's default name all the same.
    const std::vector<uint8_t> fresh = lytc_test::Compile(lytc_test::kRichSource);
    EXPECT_STREQ(reinterpret_cast<const char*>(&fresh[lytfix::FindSection(fresh, "grup") + 8]),
                 "RootGroup");
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
              tuple(kAnimContentPane, MakeTag("APSR"), 1, 6, 30, 20, 0.5f));
    EXPECT_EQ(tuple(pane.infos[1].kind, pane.infos[1].targets[0].stepKeys[1].value,
                    pane.infos[2].kind, pane.infos[2].targets[0].element,
                    pane.infos[2].targets[1].element, pane.infos[2].targets[1].curveType),
              tuple(MakeTag("AVIS"), 0, MakeTag("AVCL"), 16, 13, 2));
    const AnimContent& mat = res.GetContents()[1];
    ASSERT_EQ(mat.infos.size(), 4u);
    // Elements: tint 1 alpha 4 + 4 + 3, rotate 2, scale-y 4.
    EXPECT_EQ(tuple(mat.type, mat.infos[0].kind, mat.infos[0].targets[0].element,
                    mat.infos[0].targets[0].hermiteKeys[0].value),
              tuple(kAnimContentMaterial, MakeTag("AMCL"), 4 + 4 + 3, -300));
    EXPECT_EQ(
        tuple(mat.infos[1].kind, mat.infos[1].targets[0].index, mat.infos[1].targets[0].element,
              mat.infos[2].kind, mat.infos[2].targets[0].element,
              mat.infos[2].targets[0].hermiteKeys[0].slope, mat.infos[3].kind),
        tuple(MakeTag("ATSR"), 1, 2, MakeTag("AIMT"), 4, -0.25f, MakeTag("ATPT")));
    std::vector<int> steps;
    for (const auto& k : mat.infos[3].targets[0].stepKeys) steps.push_back(k.value);
    EXPECT_EQ(steps, (std::vector<int>{0, 1, 7}));

    // Left out, nothing loops and the tag runs over every frame at order 0, alone.
    bytes = anim_test::Compile(R"({"frames": 20, "contents": [], "tag": {"name": "T"}})");
    AnimResource plain;
    ASSERT_TRUE(plain.Set(bytes.data(), bytes.size()));
    EXPECT_EQ(tuple(plain.IsLoopData(), plain.GetTagOrder(), plain.GetTagStartFrame(),
                    plain.GetTagEndFrame(), plain.IsDescendingBind()),
              tuple(false, 0, 0, 20, false));
}

}  // namespace
