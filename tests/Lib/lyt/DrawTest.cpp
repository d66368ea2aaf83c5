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
    explicit RecordingDrawable(std::string name = "", std::vector<std::string>* order = nullptr)
        : mName(std::move(name)), mpOrder(order) {}
    void Draw(const DrawRequest& r) override {
        requests.push_back(r);
        if (mpOrder != nullptr) mpOrder->push_back(mName);
    }
    void LoadImageData(const void*, uint32_t) override {}
    std::vector<DrawRequest> requests;

private:
    std::string mName;
    std::vector<std::string>* mpOrder;
};

template <class T = Pane>
T* Child(Pane* parent) {
    auto* p = new T();
    parent->AppendChild(p);
    return p;
}

Picture* PictureChild(Pane* parent) {
    auto* p = Child<Picture>(parent);
    p->SetMaterial(new Material());
    return p;
}

TEST(UpdateGlobals, ChildInheritsScaleAndTranslation) {
    Pane root;
    root.SetScale({2, 2});
    root.SetTranslate({10, 0, 0});
    Pane* child = Child(&root);
    child->SetTranslate({5, 5, 3});
    DrawInfo info;
    root.UpdateGlobals(info);
    auto globals = [&](Pane* p) {
        return std::vector<float>{p->GetGlobalTranslate().x, p->GetGlobalTranslate().y,
                                  p->GetGlobalScale().x, p->GetGlobalScale().y};
    };
    EXPECT_EQ(globals(child), (std::vector<float>{20, 10, 2, 2}));
    // The adjust scale needs both the draw-info bit and the pane's flag.
    info.mLocationAdjustScale = {0.5f, 3.0f};
    child->SetLocationAdjust(true);
    root.UpdateGlobals(info);
    EXPECT_FLOAT_EQ(child->GetGlobalScale().x, 2);
    info.SetFlag(DrawInfo::kFlagLocationAdjust, true);
    root.UpdateGlobals(info);
    EXPECT_FLOAT_EQ(child->GetEffectiveScale().x, 0.5f);
    EXPECT_EQ(globals(child), (std::vector<float>{20, 10, 1, 6}));
    EXPECT_FLOAT_EQ(root.GetGlobalScale().x, 2);  // the root has no adjust flag
}

TEST(UpdateGlobals, AlphaPropagatesThroughInfluencingPanesAndInvisibleSubtreesFreeze) {
    Pane root;
    Pane* fader = Child(&root);
    fader->SetAlpha(128);
    fader->SetInfluencedAlpha(true);
    Pane* child = Child(fader);
    Pane* grandchild = Child(child);
    grandchild->SetAlpha(128);
    Pane* sibling = Child(&root);
    DrawInfo info;
    auto alphas = [&] {
        root.UpdateGlobals(info);
        std::vector<int> out;
        for (Pane* p : {fader, child, grandchild, sibling}) out.push_back(p->GetGlobalAlpha());
        return out;
    };
    EXPECT_EQ(alphas(), (std::vector<int>{128, 128, 64, 255}));
    // The draw info is restored after the subtree.
    EXPECT_EQ(std::tuple(info.mGlobalAlpha, info.IsMultiplyAlpha()), std::tuple(1.0f, false));
    // Alpha 255 with the flag leaves the descendants alone.
    fader->SetAlpha(255);
    EXPECT_EQ(alphas(), (std::vector<int>{255, 255, 128, 255}));
    fader->SetVisible(false);
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
    auto* a = PictureChild(&root);
    auto* a1 = PictureChild(a);
    auto* b = PictureChild(&root);
    auto* hidden = Child(&root);
    auto* underHidden = PictureChild(hidden);
    auto* bare = Child<Picture>(&root);  // a picture without material draws nothing
    RecordingDrawable da("a", &order), da1("a1", &order), db("b", &order), dh("h", &order),
        dbare("bare", &order);
    for (auto [pane, d] : {std::pair<Pane*, RecordingDrawable*>{a, &da},
                           {a1, &da1},
                           {b, &db},
                           {underHidden, &dh},
                           {bare, &dbare}})
        pane->AttachDrawable(d);
    hidden->SetVisible(false);
    DrawInfo info;
    root.UpdateGlobals(info);
    root.Draw(info);
    EXPECT_EQ(order, (std::vector<std::string>{"a", "a1", "b"}));
}

TEST(Draw, AnchorsRectanglesAndFlooring) {
    Pane root;
    root.SetScale({2, 1});
    auto* pic = PictureChild(&root);
    pic->SetTranslate({10.7f, -0.5f, 0});
    pic->SetSize({50.5f, 20.9f});
    RecordingDrawable d;
    pic->AttachDrawable(&d);
    DrawInfo info;
    for (auto [position, anchor] :
         {std::pair{4, 0x22}, {0, 0x11}, {8, 0x33}, {2, 0x13}, {6, 0x31}}) {
        pic->SetBasePosition(uint8_t(position));
        root.UpdateGlobals(info);
        root.Draw(info);
        ASSERT_FALSE(d.requests.empty());
        EXPECT_EQ(d.requests.back().anchor, anchor) << position;
    }
    const DrawRequest& r = d.requests.back();
    // floor(10.7 * 2), floor(-0.5), then the scaled size.
    EXPECT_EQ((std::vector<int>{r.x, r.y, r.width, r.height}), (std::vector<int>{21, -1, 101, 20}));
}

// Draws one picture, or with `text` a text box with alpha 77 and text anchor `textPosition`.
std::vector<int> Colour(Material* material, uint8_t alpha, bool text = false,
                        uint8_t textPosition = 4, int* anchor = nullptr) {
    Picture pic;
    TextBox box;
    Pane& pane = text ? static_cast<Pane&>(box) : pic;
    if (material != nullptr) text ? box.SetMaterial(material) : pic.SetMaterial(material);
    pane.SetAlpha(alpha);
    box.SetTextPosition(textPosition);
    RecordingDrawable d;
    pane.AttachDrawable(&d);
    DrawInfo info;
    pane.UpdateGlobals(info);
    pane.Draw(info);
    EXPECT_EQ(d.requests.size(), 1u);
    if (d.requests.empty()) return {};
    const DrawRequest& r = d.requests[0];
    if (anchor != nullptr) *anchor = r.anchor;
    return {r.hasColor, r.red, r.green, r.blue, r.alpha};
}

TEST(Draw, PictureAndTextColourRules) {
    const Color16 white = {255, 255, 255, 255};
    const struct {
        Color16 black, white;
        uint8_t alpha;
        bool text;
        std::vector<int> expected;  // has colour, red, green, blue, alpha
    } cases[] = {
        {{10, 20, 30, 0}, white, 255, false, {1, 235, 215, 195, 255}},
        {{0, 0, 0, 0}, white, 100, false, {1, 255, 255, 255, 100}},
        {{0, 0, 0, 0}, {200, 100, 50, 128}, 255, false, {1, 200, 100, 50, 128}},
        {{0, 0, 0, 0}, {200, 100, 50, 128}, 90, false, {1, 200, 100, 50, 90}},  // below 255
        {{9, 0, 0, 0}, white, 255, false, {1, 255, 255, 255, 255}},  // the black taken for white
        {{9, 0, 0, 1}, white, 255, false, {1, 237, 255, 255, 255}},
        // A text box's formula may exceed 255 and truncates toward zero:
        // (1/2 - (255-100)/2) * 2 + 255 = (0 - 77) * 2 + 255.
        {{0, 0, 0, 0}, white, 77, true, {1, 255, 255, 255, 77}},
        {{255, 0, 0, 0}, white, 77, true, {1, 509, 255, 255, 77}},
        {{1, 0, 0, 0}, {100, 255, 255, 255}, 77, true, {1, 101, 255, 255, 77}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.expected));
        auto* material = new Material();
        material->SetTintColor(0, c.black);
        material->SetTintColor(1, c.white);
        EXPECT_EQ(Colour(material, c.alpha, c.text), c.expected);
    }
    int anchor = 0;
    EXPECT_EQ(Colour(nullptr, 77, true, 0, &anchor), (std::vector<int>{0, 255, 255, 255, 77}));
    EXPECT_EQ(anchor, 0x11);  // from the text anchor, not the pane's position
}

TEST(Draw, VertexColourBytesOfPicturesAndPlainPanes) {
    Picture pic;
    pic.SetVtxColor(1, 0x11223344);
    EXPECT_EQ(std::tuple(pic.GetColorByte(4), pic.GetColorByte(7)), std::tuple(0x11, 0x44));
    pic.SetColorByte(5, 0xAB);
    EXPECT_EQ(pic.GetVtxColor(1), 0x11AB3344u);
    pic.SetColorByte(16, 12);
    EXPECT_EQ(std::tuple(pic.GetAlpha(), pic.GetColorByte(16)), std::tuple(12, 12));
    // Plain panes and text boxes have no vertex colours to set.
    Pane plain;
    TextBox text;
    plain.SetColorByte(3, 0), text.SetColorByte(0, 0);
    EXPECT_EQ(std::tuple(plain.GetColorByte(3), text.GetColorByte(0)), std::tuple(0xFF, 0xFF));
}

TEST(TextBuffer, CopyTextCutsAndChecksTheIndex) {
    TextBox text;
    dbglog::Capture log;
    auto logged = [&](const char* line) { return log.Text().find(line) != std::string::npos; };
    EXPECT_EQ(text.CopyText(u"abc", 0), 0);
    EXPECT_TRUE(logged("mTextBuf is NULL.\n"));
    text.ReserveText(7);
    EXPECT_EQ(text.GetStringBufferSize(), 16u);
    EXPECT_EQ(text.CopyText(u"0123456789", 0, 10), 7);
    EXPECT_TRUE(logged("3 character(s) droped.\n"));
    EXPECT_EQ(std::u16string(text.GetString()), u"0123456");
    EXPECT_EQ(text.GetStringLength(), 7);
    EXPECT_EQ(text.CopyText(u"x", 7), 0);
    EXPECT_TRUE(logged("dstIdx is out of range.\n"));
    EXPECT_EQ(text.CopyText(u"xy", 2), 2);
    EXPECT_EQ(std::u16string(text.GetString()), u"01xy");
    // A smaller reservation keeps the buffer; 0 does nothing; a bigger one replaces it.
    const char16_t* before = text.GetString();
    text.ReserveText(3);
    EXPECT_EQ(text.GetString(), before);
    text.ReserveText(0);
    EXPECT_EQ(text.GetStringBufferSize(), 16u);
    text.ReserveText(40000);
    EXPECT_TRUE(logged("minLen is too large. - 40000\n"));
    EXPECT_EQ(text.GetStringBufferSize(), 80002u);
    text.ReleaseText();
    EXPECT_TRUE(text.GetStringBufferSize() == 0 && text.GetString() == nullptr);
}

}  // namespace
