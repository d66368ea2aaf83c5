#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/lyt/drawInfo.h"
#include "Lib/lyt/drawable.h"
#include "Lib/lyt/layout.h"
#include "Lib/lyt/material.h"
#include "Lib/lyt/pane.h"
#include "Lib/lyt/picture.h"
#include "Lib/lyt/textBox.h"

using namespace LYRALib::lytmgr;

namespace {

// Records what it was asked to draw, and the order across objects.
class RecordingDrawable : public Drawable {
public:
    RecordingDrawable(std::string name, std::vector<std::string>* order)
        : mName(std::move(name)), mpOrder(order) {}
    void Draw(const DrawRequest& r) override {
        requests.push_back(r);
        if (mpOrder != nullptr) mpOrder->push_back(mName);
    }
    void LoadImageData(const void* data, uint32_t size) override {
        loaded = data;
        loadedSize = size;
    }
    std::vector<DrawRequest> requests;
    const void* loaded = nullptr;
    uint32_t loadedSize = 0;

private:
    std::string mName;
    std::vector<std::string>* mpOrder;
};

Pane* MakePane(const char* name, Pane* parent) {
    auto* p = new Pane();
    p->SetName(name);
    if (parent != nullptr) parent->AppendChild(p);
    return p;
}

Material* MaterialWith(Color16 black, Color16 white) {
    auto* m = new Material();
    m->SetTintColor(0, black);
    m->SetTintColor(1, white);
    return m;
}

TEST(UpdateGlobals, ChildInheritsScaleAndTranslation) {
    Pane root;
    root.SetScale({2, 2});
    root.SetTranslate({10, 0, 0});
    Pane* child = MakePane("child", &root);
    child->SetTranslate({5, 5, 3});
    DrawInfo info;
    root.UpdateGlobals(info);
    EXPECT_FLOAT_EQ(child->GetGlobalTranslate().x, 20);
    EXPECT_FLOAT_EQ(child->GetGlobalTranslate().y, 10);
    EXPECT_FLOAT_EQ(child->GetGlobalScale().x, 2);
    EXPECT_FLOAT_EQ(child->GetGlobalScale().y, 2);

    // The adjust scale needs both the draw-info bit and the pane's flag.
    info.mLocationAdjustScale = {0.5f, 3.0f};
    child->SetLocationAdjust(true);
    root.UpdateGlobals(info);
    EXPECT_FLOAT_EQ(child->GetGlobalScale().x, 2);
    info.SetFlag(DrawInfo::kFlagLocationAdjust, true);
    root.UpdateGlobals(info);
    EXPECT_FLOAT_EQ(child->GetEffectiveScale().x, 0.5f);
    EXPECT_FLOAT_EQ(child->GetGlobalScale().x, 1);
    EXPECT_FLOAT_EQ(child->GetGlobalScale().y, 6);
    EXPECT_FLOAT_EQ(root.GetGlobalScale().x, 2);  // the root has no adjust flag
}

TEST(UpdateGlobals, AlphaPropagatesThroughInfluencingPanes) {
    Pane root;
    Pane* fader = MakePane("fader", &root);
    fader->SetAlpha(128);
    fader->SetInfluencedAlpha(true);
    Pane* child = MakePane("child", fader);
    Pane* grandchild = MakePane("grandchild", child);
    grandchild->SetAlpha(128);
    Pane* sibling = MakePane("sibling", &root);

    DrawInfo info;
    // Record the draw-info alpha the fader sets, as seen by a pane below it.
    root.UpdateGlobals(info);
    EXPECT_EQ(fader->GetGlobalAlpha(), 128);
    EXPECT_EQ(child->GetGlobalAlpha(), 128);
    EXPECT_EQ(grandchild->GetGlobalAlpha(), 64);
    EXPECT_EQ(sibling->GetGlobalAlpha(), 255);
    // The draw info is restored after the subtree.
    EXPECT_FLOAT_EQ(info.mGlobalAlpha, 1.0f);
    EXPECT_FALSE(info.IsMultiplyAlpha());

    DrawInfo half;
    half.mGlobalAlpha = 128 * 0.003921569f;
    EXPECT_NEAR(half.mGlobalAlpha, 0.50196f, 1e-5);

    // Alpha 255 with the flag leaves the descendants alone.
    fader->SetAlpha(255);
    root.UpdateGlobals(info);
    EXPECT_EQ(child->GetGlobalAlpha(), 255);
    EXPECT_EQ(grandchild->GetGlobalAlpha(), 128);
}

TEST(UpdateGlobals, InvisibleSubtreeIsFrozenUnlessAskedFor) {
    Pane root;
    Pane* hidden = MakePane("hidden", &root);
    Pane* child = MakePane("child", hidden);
    DrawInfo info;
    root.UpdateGlobals(info);
    hidden->SetVisible(false);
    child->SetTranslate({7, 8, 0});
    root.UpdateGlobals(info);
    EXPECT_FLOAT_EQ(child->GetGlobalTranslate().x, 0);
    info.SetFlag(DrawInfo::kFlagInvisibleNeedsCalc, true);
    root.UpdateGlobals(info);
    EXPECT_FLOAT_EQ(child->GetGlobalTranslate().x, 7);
}

TEST(Draw, TreeOrderAndInvisibleSubtreesSkipped) {
    std::vector<std::string> order;
    Pane root;
    auto* a = new Picture();
    a->SetMaterial(new Material());
    root.AppendChild(a);
    auto* a1 = new Picture();
    a1->SetMaterial(new Material());
    a->AppendChild(a1);
    auto* b = new Picture();
    b->SetMaterial(new Material());
    root.AppendChild(b);
    auto* hidden = new Pane();
    root.AppendChild(hidden);
    auto* underHidden = new Picture();
    underHidden->SetMaterial(new Material());
    hidden->AppendChild(underHidden);
    RecordingDrawable da("a", &order), da1("a1", &order), db("b", &order), dh("h", &order);
    a->AttachDrawable(&da);
    a1->AttachDrawable(&da1);
    b->AttachDrawable(&db);
    underHidden->AttachDrawable(&dh);
    hidden->SetVisible(false);
    DrawInfo info;
    root.UpdateGlobals(info);
    root.Draw(info);
    EXPECT_EQ(order, (std::vector<std::string>{"a", "a1", "b"}));
    // A picture without material draws nothing.
    auto* bare = new Picture();
    root.AppendChild(bare);
    RecordingDrawable dbare("bare", &order);
    bare->AttachDrawable(&dbare);
    root.Draw(info);
    EXPECT_TRUE(dbare.requests.empty());
}

TEST(Draw, AnchorsRectanglesAndFlooring) {
    Pane root;
    root.SetScale({2, 1});
    auto* pic = new Picture();
    pic->SetMaterial(new Material());
    root.AppendChild(pic);
    pic->SetTranslate({10.7f, -0.5f, 0});
    pic->SetSize({50.5f, 20.9f});
    RecordingDrawable d("p", nullptr);
    pic->AttachDrawable(&d);
    DrawInfo info;
    const struct {
        uint8_t position;
        int anchor;
    } cases[] = {{4, 0x22}, {0, 0x11}, {8, 0x33}, {2, 0x13}, {6, 0x31}};
    for (const auto& c : cases) {
        pic->SetBasePosition(c.position);
        root.UpdateGlobals(info);
        root.Draw(info);
        ASSERT_FALSE(d.requests.empty());
        EXPECT_EQ(d.requests.back().anchor, c.anchor) << int(c.position);
    }
    const DrawRequest& r = d.requests.back();
    EXPECT_EQ(r.x, 21);  // floor(10.7 * 2)
    EXPECT_EQ(r.y, -1);  // floor(-0.5)
    EXPECT_EQ(r.width, 101);
    EXPECT_EQ(r.height, 20);
}

DrawRequest DrawPicture(Color16 black, Color16 white, uint8_t alpha) {
    Picture pic;
    pic.SetMaterial(MaterialWith(black, white));
    pic.SetAlpha(alpha);
    RecordingDrawable d("p", nullptr);
    pic.AttachDrawable(&d);
    DrawInfo info;
    pic.UpdateGlobals(info);
    pic.Draw(info);
    EXPECT_EQ(d.requests.size(), 1u);
    return d.requests.empty() ? DrawRequest{} : d.requests[0];
}

TEST(Draw, PictureColourRules) {
    DrawRequest r = DrawPicture({10, 20, 30, 0}, {255, 255, 255, 255}, 255);
    EXPECT_TRUE(r.hasColor);
    EXPECT_EQ(r.red, 235);
    EXPECT_EQ(r.green, 215);
    EXPECT_EQ(r.blue, 195);
    EXPECT_EQ(r.alpha, 255);

    r = DrawPicture({0, 0, 0, 0}, {255, 255, 255, 255}, 100);
    EXPECT_EQ(r.red, 255);
    EXPECT_EQ(r.blue, 255);
    EXPECT_EQ(r.alpha, 100);

    r = DrawPicture({0, 0, 0, 0}, {200, 100, 50, 128}, 255);
    EXPECT_EQ(r.red, 200);
    EXPECT_EQ(r.green, 100);
    EXPECT_EQ(r.blue, 50);
    EXPECT_EQ(r.alpha, 128);
    // Below 255 the pane's alpha stands.
    r = DrawPicture({0, 0, 0, 0}, {200, 100, 50, 128}, 90);
    EXPECT_EQ(r.alpha, 90);

    // The one black that is taken for plain white.
    r = DrawPicture({9, 0, 0, 0}, {255, 255, 255, 255}, 255);
    EXPECT_EQ(r.red, 255);
    EXPECT_EQ(r.green, 255);
    r = DrawPicture({9, 0, 0, 1}, {255, 255, 255, 255}, 255);
    EXPECT_EQ(r.red, 237);
}

DrawRequest DrawText(Material* material, uint8_t textPosition) {
    TextBox text;
    if (material != nullptr) text.SetMaterial(material);
    text.SetAlpha(77);
    RecordingDrawable d("t", nullptr);
    text.AttachDrawable(&d);
    text.SetTextPosition(textPosition);
    text.SetBasePosition(4);
    DrawInfo info;
    text.UpdateGlobals(info);
    text.Draw(info);
    EXPECT_EQ(d.requests.size(), 1u);
    return d.requests.empty() ? DrawRequest{} : d.requests[0];
}

TEST(Draw, TextColourFormulaMayExceed255) {
    DrawRequest r = DrawText(MaterialWith({0, 0, 0, 0}, {255, 255, 255, 255}), 4);
    EXPECT_TRUE(r.hasColor);
    EXPECT_EQ(r.red, 255);
    EXPECT_EQ(r.green, 255);
    EXPECT_EQ(r.alpha, 77);
    r = DrawText(MaterialWith({255, 0, 0, 0}, {255, 255, 255, 255}), 4);
    EXPECT_EQ(r.red, 509);
    EXPECT_EQ(r.green, 255);
    EXPECT_EQ(r.blue, 255);
    // Truncation toward zero: (1/2 - (255-100)/2) * 2 + 255 = (0 - 77) * 2 + 255.
    r = DrawText(MaterialWith({1, 0, 0, 0}, {100, 255, 255, 255}), 4);
    EXPECT_EQ(r.red, 101);
    r = DrawText(nullptr, 0);
    EXPECT_FALSE(r.hasColor);
    EXPECT_EQ(r.anchor, 0x11);  // from the text anchor, not the pane's position
    EXPECT_EQ(r.alpha, 77);
}

TEST(VertexColours, PictureBytesAndPlainPanes) {
    Picture pic;
    pic.SetVtxColor(1, 0x11223344);
    EXPECT_EQ(pic.GetColorByte(4), 0x11);
    EXPECT_EQ(pic.GetColorByte(7), 0x44);
    pic.SetColorByte(5, 0xAB);
    EXPECT_EQ(pic.GetVtxColor(1), 0x11AB3344u);
    pic.SetColorByte(16, 12);
    EXPECT_EQ(pic.GetAlpha(), 12);
    EXPECT_EQ(pic.GetColorByte(16), 12);

    Pane plain;
    plain.SetColorByte(3, 0);
    EXPECT_EQ(plain.GetColorByte(3), 0xFF);
    TextBox text;
    text.SetColorByte(0, 0);
    EXPECT_EQ(text.GetColorByte(0), 0xFF);
}

TEST(Materials, IndexAndTextureObject) {
    Picture pic;
    auto* mat = new Material();
    TexMap map;
    mat->AppendTexMap(map);
    pic.SetMaterial(mat);
    RecordingDrawable d("p", nullptr);
    pic.AttachDrawable(&d);
    EXPECT_EQ(mat->GetTexMap(0).mpTexObj, &d);
    EXPECT_EQ(pic.GetMaterial(0u), mat);
    dbglog::Capture log;
    EXPECT_EQ(pic.GetMaterial(1u), nullptr);
    EXPECT_NE(log.Text().find("LYRA:AssertMsg\n"), std::string::npos);
    EXPECT_NE(log.Text().find("idx >= GetMaterialNum() : 1 >= 1"), std::string::npos);
    Pane plain;
    EXPECT_EQ(plain.GetMaterialNum(), 0u);

    // A full material takes no more textures.
    for (int i = 1; i < Material::kTexCoordGenCap; ++i) EXPECT_TRUE(pic.AppendTexture(nullptr, 0));
    log.Clear();
    EXPECT_FALSE(pic.AppendTexture(nullptr, 0));
    EXPECT_NE(
        log.Text().find("mpMaterial->GetTextureNum(8) is large. mpMaterial->GetTextureCap(10), "
                        "mpMaterial->GetTexCoordGenCap(8)\n"),
        std::string::npos);
}

TEST(TextBuffer, CopyTextCutsAndChecksTheIndex) {
    TextBox text;
    dbglog::Capture log;
    EXPECT_EQ(text.CopyText(u"abc", 0), 0);
    EXPECT_NE(log.Text().find("mTextBuf is NULL.\n"), std::string::npos);

    text.ReserveText(7);
    EXPECT_EQ(text.GetStringBufferSize(), 16u);
    log.Clear();
    EXPECT_EQ(text.CopyText(u"0123456789", 0, 10), 7);
    EXPECT_NE(log.Text().find("3 character(s) droped.\n"), std::string::npos);
    EXPECT_EQ(std::u16string(text.GetString()), u"0123456");
    EXPECT_EQ(text.GetStringLength(), 7);

    log.Clear();
    EXPECT_EQ(text.CopyText(u"x", 7), 0);
    EXPECT_NE(log.Text().find("dstIdx is out of range.\n"), std::string::npos);

    EXPECT_EQ(text.CopyText(u"xy", 2), 2);
    EXPECT_EQ(std::u16string(text.GetString()), u"01xy");

    // A smaller reservation keeps the buffer; 0 does nothing; a bigger one replaces it.
    const char16_t* before = text.GetString();
    text.ReserveText(3);
    EXPECT_EQ(text.GetString(), before);
    text.ReserveText(0);
    EXPECT_EQ(text.GetStringBufferSize(), 16u);
    log.Clear();
    text.ReserveText(40000);
    EXPECT_NE(log.Text().find("minLen is too large. - 40000\n"), std::string::npos);
    EXPECT_EQ(text.GetStringBufferSize(), 80002u);
    text.ReleaseText();
    EXPECT_EQ(text.GetStringBufferSize(), 0u);
    EXPECT_EQ(text.GetString(), nullptr);
}

}  // namespace
