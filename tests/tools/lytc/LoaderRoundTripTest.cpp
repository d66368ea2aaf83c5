// A compiled layout, built by the program's own loader, is the tree its source describes.
#include <gtest/gtest.h>

#include <map>

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

// Serves a distinct one-byte image per name and remembers which names were asked for.
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

Pane* Child(Pane* parent, size_t index) {
    Pane* p = parent->GetFirstChild();
    for (size_t i = 0; p != nullptr && i < index; ++i) p = p->GetNextSibling();
    return p;
}

class RichLayout : public ::testing::Test {
protected:
    void SetUp() override {
        mBytes = lytc_test::Compile(lytc_test::kRichSource);
        ASSERT_TRUE(mLayout.Build(mBytes.data(), mBytes.size(), &mAccessor));
        mRoot = mLayout.GetRootPane();
        ASSERT_NE(mRoot, nullptr);
        ASSERT_EQ(mRoot->GetChildCount(), 4u);
        for (size_t i = 0; i < 4; ++i) {
            mKids[i] = Child(mRoot, i);
            ASSERT_NE(mKids[i], nullptr);
        }
        mStone = mKids[0]->GetFirstChild();
        ASSERT_NE(mStone, nullptr);
    }
    std::vector<uint8_t> mBytes;
    NameAccessor mAccessor;
    Layout mLayout;
    Pane* mRoot = nullptr;
    // The root's children in source order: Board, Title, Hit, Frame.
    Pane* mKids[4] = {};
    // Board's only child.
    Pane* mStone = nullptr;
};

TEST_F(RichLayout, TreeHasNamesKindsAndParents) {
    EXPECT_FLOAT_EQ(mLayout.GetLayoutSize().width, 1024);
    EXPECT_FLOAT_EQ(mLayout.GetLayoutSize().height, 768);
    EXPECT_STREQ(mRoot->GetName(), "RootPane");
    const char* names[] = {"Board", "Title", "Hit", "Frame"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_STREQ(mKids[i]->GetName(), names[i]);
        EXPECT_EQ(mKids[i]->GetParent(), mRoot);
    }
    Pane* board = mKids[0];
    EXPECT_NE(dynamic_cast<Picture*>(board), nullptr);
    EXPECT_NE(dynamic_cast<TextBox*>(mKids[1]), nullptr);
    EXPECT_NE(dynamic_cast<Bounding*>(mKids[2]), nullptr);
    // A window is built as a plain pane.
    EXPECT_EQ(dynamic_cast<Picture*>(mKids[3]), nullptr);
    ASSERT_EQ(board->GetChildCount(), 1u);
    EXPECT_STREQ(mStone->GetName(), "Stone");
    EXPECT_EQ(mStone->GetParent(), board);
}

TEST_F(RichLayout, ScreenPositionsBecomeCentredRelativeTranslations) {
    Pane* board = mKids[0];
    // Screen (612, 284) under an unmoved root: 100 right of centre, 100 above it.
    EXPECT_FLOAT_EQ(board->GetTranslate().x, 100);
    EXPECT_FLOAT_EQ(board->GetTranslate().y, 100);
    // Screen (300, 200) is layout (-212, 184); relative to Board at (100, 100).
    Pane* stone = mStone;
    EXPECT_FLOAT_EQ(stone->GetTranslate().x, -312);
    EXPECT_FLOAT_EQ(stone->GetTranslate().y, 84);
    EXPECT_EQ(stone->GetBasePosition(), 0);  // top-left
    Pane* title = mKids[1];
    EXPECT_FLOAT_EQ(title->GetTranslate().y, 300);
    EXPECT_FLOAT_EQ(title->GetTranslate().z, 1.5f);
}

TEST_F(RichLayout, SizesAlphaVisibilityAndFlags) {
    EXPECT_FLOAT_EQ(mRoot->GetSize().width, 1024);
    Pane* board = mKids[0];
    EXPECT_FLOAT_EQ(board->GetSize().height, 480);
    EXPECT_EQ(board->GetAlpha(), 200);
    EXPECT_TRUE(board->IsVisible());
    Pane* title = mKids[1];
    EXPECT_FALSE(title->IsVisible());
    EXPECT_STREQ(title->GetUserString(), "title");
    Pane* hit = mKids[2];
    EXPECT_TRUE(hit->IsInfluencedAlpha());
    EXPECT_TRUE(hit->IsLocationAdjust());
    EXPECT_FLOAT_EQ(hit->GetScale().x, 1.5f);
    EXPECT_FLOAT_EQ(hit->GetRotate().z, 45);
    EXPECT_EQ(mKids[3]->GetBasePosition(), 8);  // bottom-right
}

TEST_F(RichLayout, MaterialsNameTheirTextures) {
    auto* board = dynamic_cast<Picture*>(mKids[0]);
    ASSERT_NE(board, nullptr);
    Material* m = board->GetMaterial();
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->GetName(), "board");
    ASSERT_EQ(m->GetTextureNum(), 2);
    EXPECT_EQ(m->GetTexMap(0).mpImage, mAccessor.ImageOf("board.tga"));
    EXPECT_EQ(m->GetTexMap(1).mpImage, mAccessor.ImageOf("grid.tex"));
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
    EXPECT_EQ(static_cast<Picture*>(mStone)->GetTexCoordNum(), 2);

    auto* title = dynamic_cast<TextBox*>(mKids[1]);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title->GetMaterial()->GetName(), "label");
    EXPECT_EQ(title->GetMaterial()->GetTexMap(0).mpImage, mAccessor.ImageOf("font.tga"));
}

TEST_F(RichLayout, TextBoxKeepsTextAndStyle) {
    auto* title = dynamic_cast<TextBox*>(mKids[1]);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(std::u16string(title->GetString()), u"はじめての囲碁 \U0002000B");
    EXPECT_EQ(title->GetStringBufferSize(), 82u);
    EXPECT_FLOAT_EQ(title->GetFontSize().width, 32);
    EXPECT_FLOAT_EQ(title->GetLineSpace(), 0.1f);
    EXPECT_EQ(title->GetTextPosition(), 1);  // top
    EXPECT_EQ(title->GetTextAlignment(), 1);
    EXPECT_EQ(title->GetTextColor(1), 0x333333FFu);
}

TEST_F(RichLayout, GroupsAndUserData) {
    const auto& groups = mLayout.GetGroupContainer()->GetGroups();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_STREQ(groups[0]->GetName(), "G_all");
    ASSERT_EQ(groups[0]->GetPaneList().size(), 2u);
    EXPECT_EQ(groups[0]->GetPaneList()[0], mKids[0]);
    EXPECT_EQ(groups[0]->GetPaneList()[1], mKids[1]);
    EXPECT_TRUE(groups[1]->GetPaneList().empty());

    EXPECT_EQ(mRoot->GetExtUserDataNum(), 2);
    const uint8_t* level = mRoot->FindExtUserDataByName("level");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level[7], 3);
    EXPECT_EQ(level[11], 4);
    EXPECT_NE(mRoot->FindExtUserDataByName("id"), nullptr);
    const uint8_t* x = mKids[3]->FindExtUserDataByName("x");
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x[4], 255);
}

}  // namespace
