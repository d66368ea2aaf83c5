// A compiled animation, read by the program's own loader and bound to a compiled layout,
// carries exactly what its source says and moves the panes it names.
#include <gtest/gtest.h>

#include "AnimSupport.h"
#include "Lib/lyt/animation.h"
#include "Lib/lyt/layout.h"
#include "Lib/lyt/pane.h"
#include "LytcSupport.h"

using namespace LYRALib::lytmgr;

namespace {

uint32_t Tag(const char* t) {
    return uint32_t(uint8_t(t[0])) << 24 | uint32_t(uint8_t(t[1])) << 16 |
           uint32_t(uint8_t(t[2])) << 8 | uint8_t(t[3]);
}

class RichAnimation : public ::testing::Test {
protected:
    void SetUp() override {
        mBytes = anim_test::Compile(anim_test::kRichAnimation);
        ASSERT_TRUE(mRes.Set(mBytes.data(), mBytes.size()));
    }
    std::vector<uint8_t> mBytes;
    AnimResource mRes;
};

TEST_F(RichAnimation, HeaderTexturesAndTag) {
    EXPECT_EQ(mRes.GetFrameSize(), 60);
    EXPECT_TRUE(mRes.IsLoopData());
    EXPECT_EQ(mRes.GetTextureNames(), (std::vector<std::string>{"face_a.tga", "face_b.tga"}));
    ASSERT_TRUE(mRes.HasTag());
    EXPECT_EQ(mRes.GetTagName(), "Idle");
    EXPECT_EQ(mRes.GetTagOrder(), 3);
    EXPECT_EQ(mRes.GetTagStartFrame(), 5);
    EXPECT_EQ(mRes.GetTagEndFrame(), 50);
    EXPECT_TRUE(mRes.IsDescendingBind());
    ASSERT_EQ(mRes.GetGroupNum(), 2);
    EXPECT_STREQ(mRes.GetGroups()[1].name, "G_board");
    ASSERT_EQ(mRes.GetShares().size(), 1u);
    EXPECT_STREQ(mRes.GetShares()[0].srcPaneName, "chara_1");
    EXPECT_STREQ(mRes.GetShares()[0].targetGroupName, "G_faces");
}

TEST_F(RichAnimation, PaneContentGathersCurvesByKind) {
    ASSERT_EQ(mRes.GetContents().size(), 2u);
    const AnimContent& pane = mRes.GetContents()[0];
    EXPECT_STREQ(pane.name, "chara_1");
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
}

TEST_F(RichAnimation, MaterialContentIndicesAndElements) {
    const AnimContent& mat = mRes.GetContents()[1];
    EXPECT_STREQ(mat.name, "board_material");
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

TEST(AnimLoader, BoundAnimationMovesFadesAndHidesItsPane) {
    auto layoutBytes = lytc_test::Compile(
        R"({"root": {"name": "RootPane", "children": [{"name": "chara_1"}, {"name": "other"}]}})");
    Layout layout;
    ASSERT_TRUE(layout.Build(layoutBytes.data(), layoutBytes.size(), nullptr));
    auto animBytes = anim_test::Compile(R"({"frames": 30, "contents": [
      {"pane": "chara_1", "curves": [
        {"kind": "transform", "element": "translate-y", "keys": [[0, 0], [20, 40]]},
        {"kind": "visibility", "keys": [[0, 1], [25, 0]]},
        {"kind": "vertex-colour", "element": "alpha", "keys": [[0, 0], [10, 254.6], [10, 100]]}]}]})");
    AnimTransform* t = layout.CreateAnimTransform(animBytes.data(), animBytes.size(), nullptr);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetFrameSize(), 30);
    layout.AttachAnim(t);
    Pane* pane = layout.GetRootPane()->FindPane("chara_1", true);
    Pane* other = layout.GetRootPane()->FindPane("other", true);
    ASSERT_NE(pane, nullptr);
    ASSERT_NE(other, nullptr);

    t->SetFrame(10);
    layout.Animate();
    EXPECT_FLOAT_EQ(pane->GetTranslate().y, 20);  // half-way, flat ends
    EXPECT_EQ(pane->GetAlpha(), 100);             // the later of two keys on one frame
    EXPECT_TRUE(pane->IsVisible());

    t->SetFrame(5);
    layout.Animate();
    EXPECT_EQ(pane->GetAlpha(), 127);  // 127.3 + 0.5, truncated

    t->SetFrame(26);
    layout.Animate();
    EXPECT_FLOAT_EQ(pane->GetTranslate().y, 40);
    EXPECT_FALSE(pane->IsVisible());
    EXPECT_TRUE(other->IsVisible());
    EXPECT_FLOAT_EQ(other->GetTranslate().y, 0);
}

}  // namespace
