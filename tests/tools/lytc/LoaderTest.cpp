// Compiled layouts and animations, read by the program's own loader, are what their sources
// describe. How a bound animation then moves its panes is the layout library's own test.
#include <gtest/gtest.h>

#include <map>

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
    EXPECT_FLOAT_EQ(layout.GetLayoutSize().width, 1024);
    EXPECT_FLOAT_EQ(layout.GetLayoutSize().height, 768);
    Pane* root = layout.GetRootPane();
    ASSERT_NE(root, nullptr);
    EXPECT_FLOAT_EQ(root->GetSize().width, 1024);
    // The root's children in source order: Board, Title, Hit, Frame.
    std::vector<Pane*> kids;
    for (Pane* p = root->GetFirstChild(); p != nullptr; p = p->GetNextSibling()) kids.push_back(p);
    ASSERT_EQ(kids.size(), 4u);
    auto* board = dynamic_cast<Picture*>(kids[0]);
    auto* title = dynamic_cast<TextBox*>(kids[1]);
    ASSERT_TRUE(board != nullptr && title != nullptr);
    EXPECT_STREQ(title->GetName(), "Title");
    EXPECT_NE(dynamic_cast<Bounding*>(kids[2]), nullptr);
    EXPECT_EQ(dynamic_cast<Picture*>(kids[3]), nullptr);  // a window is built as a plain pane
    ASSERT_EQ(board->GetChildCount(), 1u);
    auto* stone = static_cast<Picture*>(board->GetFirstChild());
    EXPECT_STREQ(stone->GetName(), "Stone");

    // Screen (612, 284) under an unmoved root: 100 right of centre, 100 above it. Screen
    // (300, 200) is layout (-212, 184); relative to Board at (100, 100).
    EXPECT_FLOAT_EQ(board->GetTranslate().x, 100);
    EXPECT_FLOAT_EQ(board->GetTranslate().y, 100);
    EXPECT_FLOAT_EQ(stone->GetTranslate().x, -312);
    EXPECT_FLOAT_EQ(stone->GetTranslate().y, 84);
    EXPECT_EQ(stone->GetBasePosition(), 0);  // top-left
    EXPECT_FLOAT_EQ(title->GetTranslate().y, 300);
    EXPECT_FLOAT_EQ(title->GetTranslate().z, 1.5f);

    EXPECT_FLOAT_EQ(board->GetSize().height, 480);
    EXPECT_EQ(board->GetAlpha(), 200);
    EXPECT_TRUE(board->IsVisible());
    EXPECT_FALSE(title->IsVisible());
    EXPECT_STREQ(title->GetUserString(), "title");
    EXPECT_TRUE(kids[2]->IsInfluencedAlpha());
    EXPECT_TRUE(kids[2]->IsLocationAdjust());
    EXPECT_FLOAT_EQ(kids[2]->GetScale().x, 1.5f);
    EXPECT_FLOAT_EQ(kids[2]->GetRotate().z, 45);
    EXPECT_EQ(kids[3]->GetBasePosition(), 8);  // bottom-right

    Material* m = board->GetMaterial();
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->GetTextureNum(), 2);
    EXPECT_EQ(m->GetTexMap(0).mpImage, images.ImageOf("board.tga"));
    EXPECT_EQ(m->GetTexMap(1).mpImage, images.ImageOf("grid.tex"));
    EXPECT_EQ(m->GetTexMap(1).mWrapS, 1);
    EXPECT_EQ(m->GetTexMap(1).mWrapT, 2);
    EXPECT_EQ(m->GetTexMap(1).mMagFilter, 1);
    EXPECT_EQ(m->GetTexSRTNum(), 1);
    EXPECT_FLOAT_EQ(m->GetTexSRT(0).mRotate, 90);
    EXPECT_EQ(m->GetMatColor()[0], 0x80);
    EXPECT_EQ(m->GetTintColor(2)[0], -5);
    EXPECT_EQ(m->GetConstColor(3)[1], 0x34);
    EXPECT_EQ(board->GetVtxColor(3), 0xFFFFFF80u);
    EXPECT_EQ(board->GetTexCoordNum(), 1);
    EXPECT_EQ(stone->GetTexCoordNum(), 2);
    EXPECT_EQ(title->GetMaterial()->GetTexMap(0).mpImage, images.ImageOf("font.tga"));

    EXPECT_EQ(std::u16string(title->GetString()), u"はじめての囲碁 \U0002000B");
    EXPECT_EQ(title->GetStringBufferSize(), 82u);
    EXPECT_FLOAT_EQ(title->GetFontSize().width, 32);
    EXPECT_FLOAT_EQ(title->GetLineSpace(), 0.1f);
    EXPECT_EQ(title->GetTextPosition(), 1);  // top
    EXPECT_EQ(title->GetTextAlignment(), 1);
    EXPECT_EQ(title->GetTextColor(1), 0x333333FFu);

    const auto& groups = layout.GetGroupContainer()->GetGroups();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_STREQ(groups[0]->GetName(), "G_all");
    EXPECT_EQ(groups[0]->GetPaneList(), (std::vector<Pane*>{kids[0], kids[1]}));
    EXPECT_TRUE(groups[1]->GetPaneList().empty());
    EXPECT_EQ(root->GetExtUserDataNum(), 2);
    const uint8_t* level = root->FindExtUserDataByName("level");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level[7], 3);
    EXPECT_EQ(level[11], 4);
    EXPECT_NE(root->FindExtUserDataByName("id"), nullptr);
    const uint8_t* x = kids[3]->FindExtUserDataByName("x");
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x[4], 255);
}

TEST(LytcLoader, RichAnimationLoadsEveryContentCurveAndKey) {
    std::vector<uint8_t> bytes = anim_test::Compile(anim_test::kRichAnimation);
    AnimResource res;
    ASSERT_TRUE(res.Set(bytes.data(), bytes.size()));
    EXPECT_EQ(res.GetFrameSize(), 60);
    EXPECT_TRUE(res.IsLoopData());
    EXPECT_EQ(res.GetTextureNames(), (std::vector<std::string>{"face_a.tga", "face_b.tga"}));
    ASSERT_TRUE(res.HasTag());
    EXPECT_EQ(res.GetTagName(), "Idle");
    EXPECT_EQ(res.GetTagOrder(), 3);
    EXPECT_EQ(res.GetTagStartFrame(), 5);
    EXPECT_EQ(res.GetTagEndFrame(), 50);
    EXPECT_TRUE(res.IsDescendingBind());
    ASSERT_EQ(res.GetGroupNum(), 2);
    EXPECT_STREQ(res.GetGroups()[1].name, "G_board");
    ASSERT_EQ(res.GetShares().size(), 1u);
    EXPECT_STREQ(res.GetShares()[0].srcPaneName, "chara_1");
    EXPECT_STREQ(res.GetShares()[0].targetGroupName, "G_faces");
    ASSERT_EQ(res.GetContents().size(), 2u);
    const AnimContent& pane = res.GetContents()[0];
    EXPECT_EQ(pane.type, kAnimContentPane);
    ASSERT_EQ(pane.infos.size(), 3u);
    EXPECT_EQ(pane.infos[0].kind, Tag("APSR"));
    ASSERT_EQ(pane.infos[0].targets.size(), 2u);
    EXPECT_EQ(pane.infos[0].targets[0].element, 1);  // translate-y
    EXPECT_EQ(pane.infos[0].targets[1].element, 6);  // scale-x
    const auto& keys = pane.infos[0].targets[0].hermiteKeys;
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_FLOAT_EQ(keys[1].frame, 30);
    EXPECT_FLOAT_EQ(keys[1].value, 20);
    EXPECT_FLOAT_EQ(keys[1].slope, 0.5f);
    EXPECT_EQ(pane.infos[1].kind, Tag("AVIS"));
    ASSERT_EQ(pane.infos[1].targets[0].stepKeys.size(), 3u);
    EXPECT_EQ(pane.infos[1].targets[0].stepKeys[1].value, 0);
    EXPECT_EQ(pane.infos[2].kind, Tag("AVCL"));
    EXPECT_EQ(pane.infos[2].targets[0].element, 16);  // alpha
    EXPECT_EQ(pane.infos[2].targets[1].element, 13);  // bottom-right green byte
    EXPECT_EQ(pane.infos[2].targets[1].curveType, 2);
    const AnimContent& mat = res.GetContents()[1];
    EXPECT_EQ(mat.type, kAnimContentMaterial);
    ASSERT_EQ(mat.infos.size(), 4u);
    EXPECT_EQ(mat.infos[0].kind, Tag("AMCL"));
    EXPECT_EQ(mat.infos[0].targets[0].element, 4 + 4 + 3);  // tint 1, alpha
    EXPECT_FLOAT_EQ(mat.infos[0].targets[0].hermiteKeys[0].value, -300);
    EXPECT_EQ(mat.infos[1].kind, Tag("ATSR"));
    EXPECT_EQ(mat.infos[1].targets[0].index, 1);
    EXPECT_EQ(mat.infos[1].targets[0].element, 2);  // rotate
    EXPECT_EQ(mat.infos[2].kind, Tag("AIMT"));
    EXPECT_EQ(mat.infos[2].targets[0].element, 4);  // scale-y
    EXPECT_FLOAT_EQ(mat.infos[2].targets[0].hermiteKeys[0].slope, -0.25f);
    EXPECT_EQ(mat.infos[3].kind, Tag("ATPT"));
    const auto& steps = mat.infos[3].targets[0].stepKeys;
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].value, 0);
    EXPECT_EQ(steps[1].value, 1);
    EXPECT_EQ(steps[2].value, 7);
}

}  // namespace
