// Compiled layouts and animations, read by the program's own loader, are what their sources
// describe. How a bound animation then moves its panes is the layout library's own test.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

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
