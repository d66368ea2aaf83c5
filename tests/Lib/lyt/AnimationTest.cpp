#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/lyt/animation.h"
#include "Lib/lyt/drawable.h"
#include "Lib/lyt/layout.h"
#include "Lib/lyt/material.h"
#include "Lib/lyt/pane.h"
#include "Lib/lyt/picture.h"
#include "Lib/lyt/resourceAccessor.h"
#include "LytFixture.h"

using namespace LYRALib::lytmgr;
using lytfix::AnimSpec;
using lytfix::ContentSpec;
using lytfix::FileWriter;

namespace {

// ---- curves ----

TEST(Curves, HermiteBetweenKeysAndAtTheEnds) {
    const HermiteKey ramp[] = {{0, 0, 0}, {10, 10, 0}};
    EXPECT_FLOAT_EQ(EvalHermite(ramp, 2, 5), 5.0f);
    EXPECT_FLOAT_EQ(EvalHermite(ramp, 2, -3), 0.0f);
    EXPECT_FLOAT_EQ(EvalHermite(ramp, 2, 12), 10.0f);
    EXPECT_LT(EvalHermite(ramp, 2, 2.5f), 2.5f);  // ease in with flat slopes
    const HermiteKey single[] = {{4, 7, 1}};
    EXPECT_FLOAT_EQ(EvalHermite(single, 1, -100), 7.0f);
    EXPECT_FLOAT_EQ(EvalHermite(single, 1, 100), 7.0f);
    // Slopes: a straight line with slope 1 is reproduced exactly at the midpoint.
    const HermiteKey line[] = {{0, 0, 1}, {10, 10, 1}};
    EXPECT_FLOAT_EQ(EvalHermite(line, 2, 2.5f), 2.5f);
}

TEST(Curves, JumpKeysTakeTheLaterValueFromTheirFrame) {
    const HermiteKey jump[] = {{0, 0, 0}, {5, 0, 0}, {5, 10, 0}, {10, 10, 0}};
    EXPECT_FLOAT_EQ(EvalHermite(jump, 4, 4.99f), 0.0f);
    EXPECT_FLOAT_EQ(EvalHermite(jump, 4, 5.0f), 10.0f);
    EXPECT_FLOAT_EQ(EvalHermite(jump, 4, 5.0005f), 10.0f);
    EXPECT_FLOAT_EQ(EvalHermite(jump, 4, 7.5f), 10.0f);
    // At a key's frame (within 0.001) the key's own value.
    const HermiteKey three[] = {{0, 0, 0}, {5, 3, 0}, {10, 10, 0}};
    EXPECT_FLOAT_EQ(EvalHermite(three, 3, 4.9995f), 3.0f);
}

TEST(Curves, StepHoldsUntilTheNextKey) {
    const StepKey steps[] = {{0, 1}, {10, 2}};
    EXPECT_EQ(EvalStep(steps, 2, 9.99f), 1);
    EXPECT_EQ(EvalStep(steps, 2, 9.9995f), 2);
    EXPECT_EQ(EvalStep(steps, 2, 10.0f), 2);
    EXPECT_EQ(EvalStep(steps, 2, -1.0f), 1);
    const StepKey many[] = {{0, 0}, {2, 1}, {4, 2}, {6, 3}, {8, 4}};
    EXPECT_EQ(EvalStep(many, 5, 5.5f), 2);
    EXPECT_EQ(EvalStep(many, 5, 6.0f), 3);
}

// ---- fixture layout: root { p1 p2 p3 p4 pic } with groups G1 {p1} and G2 {p2 p3} ----

std::vector<uint8_t> FixtureLayout() {
    FileWriter f;
    lytfix::TextureList(f, {"tex0.tga"});
    lytfix::MaterialSpec m;
    m.name = "mat";
    m.textures = {0};
    m.texSRTs = 2;
    m.matColor = true;
    lytfix::MaterialList(f, {m});
    lytfix::Pane(f, lytfix::Named("root"));
    f.Marker("chbg");
    for (const char* name : {"p1", "p2", "p3", "p4"}) lytfix::Pane(f, lytfix::Named(name));
    f.Marker("chbg");
    lytfix::Pane(f, lytfix::Named("p4child"));
    f.Marker("chen");
    lytfix::Picture(f, lytfix::Named("pic"), 0);
    f.Marker("chen");
    lytfix::GroupSection(f, "RootGroup", {});
    f.Marker("gpbg");
    lytfix::GroupSection(f, "G1", {"p1"});
    lytfix::GroupSection(f, "G2", {"p2", "p3"});
    lytfix::GroupSection(f, "G4", {"p4"});
    f.Marker("gpen");
    return f.Finish();
}

class AnimFixture : public ::testing::Test {
protected:
    void SetUp() override {
        mLayoutBuf = FixtureLayout();
        ASSERT_TRUE(mLayout.Build(mLayoutBuf.data(), mLayoutBuf.size(), nullptr));
    }
    Pane* P(const char* name) { return mLayout.GetRootPane()->FindPane(name, true); }
    Material* Mat() { return P("pic")->GetMaterial(); }
    // Loads an animation (kept alive by the fixture) and binds it enabled at `frame`.
    AnimTransform* Play(const AnimSpec& spec, float frame) {
        mAnimBufs.push_back(lytfix::Animation(spec));
        auto& buf = mAnimBufs.back();
        AnimTransform* t = mLayout.CreateAnimTransform(buf.data(), buf.size(), nullptr);
        EXPECT_NE(t, nullptr);
        if (t == nullptr) return nullptr;
        mLayout.AttachAnim(t);
        t->SetFrame(frame);
        mLayout.Animate(0);
        return t;
    }

    std::vector<uint8_t> mLayoutBuf;
    std::vector<std::vector<uint8_t>> mAnimBufs;
    Layout mLayout;
};

ContentSpec PaneCurve(const char* pane, const char* kind, uint8_t element,
                      std::vector<lytfix::KeySpec> keys, uint8_t index = 0, uint8_t type = 0) {
    ContentSpec c;
    c.name = pane;
    c.type = type;
    lytfix::TargetSpec t;
    t.index = index;
    t.element = element;
    t.keys = std::move(keys);
    c.infos.push_back({kind, {t}});
    return c;
}

TEST_F(AnimFixture, VertexColourAndAlphaRoundHalfUp) {
    AnimSpec a;
    a.contents.push_back(PaneCurve("p1", "AVCL", 16, {{0, 254.6f}}));
    a.contents.push_back(PaneCurve("p2", "AVCL", 16, {{0, 127.4f}}));
    a.contents.push_back(PaneCurve("pic", "AVCL", 5, {{0, 0}, {10, 200}}));
    a.contents.push_back(PaneCurve("p3", "AVCL", 200, {{0, 999.0f}}));  // no such byte: ignored
    Play(a, 10);
    EXPECT_EQ(P("p1")->GetAlpha(), 255);
    EXPECT_EQ(P("p2")->GetAlpha(), 127);
    EXPECT_EQ(P("pic")->GetColorByte(5), 200);
    EXPECT_EQ(static_cast<Picture*>(P("pic"))->GetVtxColor(1), 0xFFC8FFFFu);
    EXPECT_EQ(P("p3")->GetAlpha(), 255);
}

TEST_F(AnimFixture, PaneSRTAndVisibility) {
    AnimSpec a;
    a.contents.push_back(PaneCurve("p1", "APSR", 0, {{0, 0}, {10, 10}}));
    a.contents.push_back(PaneCurve("p2", "APSR", 9, {{0, 40}}));
    a.contents.push_back(PaneCurve("p3", "AVIS", 0, {{0, 1}, {10, 0}}));
    AnimTransform* t = Play(a, 5);
    EXPECT_FLOAT_EQ(P("p1")->GetTranslate().x, 5);
    EXPECT_FLOAT_EQ(P("p2")->GetSize().height, 40);
    EXPECT_TRUE(P("p3")->IsVisible());
    t->SetFrame(10);
    mLayout.Animate(0);
    EXPECT_FALSE(P("p3")->IsVisible());
    // Disabled links change nothing.
    mLayout.EnableAnim(t, false);
    t->SetFrame(0);
    mLayout.Animate(0);
    EXPECT_FLOAT_EQ(P("p1")->GetTranslate().x, 10);
    EXPECT_FALSE(P("p3")->IsVisible());
    mLayout.EnableAnim(t, true);
    mLayout.Animate(0);
    EXPECT_FLOAT_EQ(P("p1")->GetTranslate().x, 0);
    EXPECT_TRUE(P("p3")->IsVisible());
}

TEST_F(AnimFixture, InvisiblePaneSkipsItsSubtreeOnlyWithOptionBit0) {
    AnimSpec a;
    a.contents.push_back(PaneCurve("p4child", "APSR", 1, {{0, 33}}));
    AnimTransform* t = Play(a, 0);
    ASSERT_NE(t, nullptr);
    P("p4child")->SetTranslate({0, 0, 0});
    P("p4")->SetVisible(false);
    mLayout.Animate(1);
    EXPECT_FLOAT_EQ(P("p4child")->GetTranslate().y, 0);
    mLayout.Animate(0);
    EXPECT_FLOAT_EQ(P("p4child")->GetTranslate().y, 33);

    // A visibility curve on the pane itself runs first and can bring the subtree back.
    AnimSpec show;
    show.contents.push_back(PaneCurve("p4", "AVIS", 0, {{0, 1}}));
    P("p4child")->SetTranslate({0, 0, 0});
    Play(show, 0);
    P("p4")->SetVisible(false);
    mLayout.Animate(1);
    EXPECT_TRUE(P("p4")->IsVisible());
    EXPECT_FLOAT_EQ(P("p4child")->GetTranslate().y, 33);
}

TEST_F(AnimFixture, MaterialColoursAreClamped) {
    AnimSpec a;
    ContentSpec c;
    c.name = "mat";
    c.type = 1;
    lytfix::InfoSpec info{"AMCL", {}};
    info.targets.push_back({0, 0, {{0, 300}}});     // material colour R
    info.targets.push_back({0, 1, {{0, -2000}}});   // material colour G
    info.targets.push_back({0, 4, {{0, 300}}});     // tint 0 R
    info.targets.push_back({0, 5, {{0, -2000}}});   // tint 0 G
    info.targets.push_back({0, 11, {{0, 1e9f}}});   // tint 1 the last component
    info.targets.push_back({0, 17, {{0, 300}}});    // constant 0 G
    info.targets.push_back({0, 31, {{0, 12.5f}}});  // constant 3 A
    c.infos.push_back(info);
    a.contents.push_back(c);
    Play(a, 0);
    Material* m = Mat();
    EXPECT_EQ(m->GetMatColor()[0], 255);
    EXPECT_EQ(m->GetMatColor()[1], 0);
    EXPECT_EQ(m->GetTintColor(0)[0], 300);
    EXPECT_EQ(m->GetTintColor(0)[1], -1024);
    EXPECT_EQ(m->GetTintColor(1)[3], 1023);
    EXPECT_EQ(m->GetConstColor(0)[1], 255);
    EXPECT_EQ(m->GetConstColor(3)[3], 13);
}

TEST_F(AnimFixture, TextureTransformIndexBeyondTheCountDoesNothing) {
    AnimSpec a;
    ContentSpec c;
    c.name = "mat";
    c.type = 1;
    lytfix::InfoSpec info{"ATSR", {}};
    info.targets.push_back({2, 0, {{0, 77}}});
    info.targets.push_back({1, 2, {{0, 45}}});
    info.targets.push_back({0, 9, {{0, 45}}});  // no such element
    lytfix::InfoSpec ind{"AIMT", {}};
    ind.targets.push_back({0, 0, {{0, 5}}});  // the material has no indirect transform
    c.infos = {info, ind};
    a.contents.push_back(c);
    Play(a, 0);
    EXPECT_FLOAT_EQ(Mat()->GetTexSRT(1).mRotate, 45);
    EXPECT_FLOAT_EQ(Mat()->GetTexSRT(0).mTranslate.x, 0);
    EXPECT_EQ(Mat()->GetTexSRTNum(), 2);
}

class TwoImages : public ResourceAccessor {
public:
    void* FindResource(uint32_t, const char* name, uint32_t* size) override {
        if (size != nullptr) *size = 3;
        if (std::string(name) == "a.tga") return a;
        if (std::string(name) == "b.tga") return b;
        return nullptr;
    }
    char a[3] = {'a', 'a', 'a'};
    char b[3] = {'b', 'b', 'b'};
};

class ImageSink : public Drawable {
public:
    void Draw(const DrawRequest&) override {}
    void LoadImageData(const void* data, uint32_t size) override {
        loaded.push_back(data);
        (void)size;
    }
    std::vector<const void*> loaded;
};

TEST_F(AnimFixture, TexturePatternSwitchesTheImage) {
    AnimSpec a;
    a.textures = {"a.tga", "missing.tga", "b.tga"};
    a.contents.push_back(PaneCurve("mat", "ATPT", 0, {{0, 0}, {5, 1}, {10, 2}, {15, 7}}, 0, 1));
    auto buf = lytfix::Animation(a);
    TwoImages images;
    dbglog::Capture log;
    AnimTransform* t = mLayout.CreateAnimTransform(buf.data(), buf.size(), &images);
    ASSERT_NE(t, nullptr);
    EXPECT_NE(log.Text().find("file not found. - missing.tga"), std::string::npos);
    ImageSink sink;
    P("pic")->AttachDrawable(&sink);
    mLayout.AttachAnim(t);
    for (float frame : {0.f, 5.f, 10.f, 15.f}) {
        t->SetFrame(frame);
        mLayout.Animate(0);
    }
    // Frame 5 names the missing file and frame 15 a number past the list: both ignored.
    ASSERT_EQ(sink.loaded.size(), 2u);
    EXPECT_EQ(sink.loaded[0], images.a);
    EXPECT_EQ(sink.loaded[1], images.b);
    EXPECT_EQ(Mat()->GetTexMap(0).mpImage, images.b);
}

// The framework may switch the picture's image on its own; a key that picks the layout's own
// image must still reach the picture, once per change of key image.
TEST_F(AnimFixture, TexturePatternKeyOnTheLayoutsOwnImageIsHandedOver) {
    AnimSpec a;
    a.textures = {"a.tga", "b.tga"};
    a.contents.push_back(PaneCurve("mat", "ATPT", 0, {{0, 0}, {5, 1}, {10, 0}}, 0, 1));
    auto buf = lytfix::Animation(a);
    TwoImages images;
    AnimTransform* t = mLayout.CreateAnimTransform(buf.data(), buf.size(), &images);
    ASSERT_NE(t, nullptr);
    Mat()->GetTexMap(0).mpImage = images.a;  // as found for the layout's texture at build
    ImageSink sink;
    P("pic")->AttachDrawable(&sink);
    mLayout.AttachAnim(t);
    for (float frame : {0.f, 1.f, 5.f, 10.f, 11.f}) {
        t->SetFrame(frame);
        mLayout.Animate(0);
    }
    EXPECT_EQ(sink.loaded, (std::vector<const void*>{images.a, images.b, images.a}));
}

TEST_F(AnimFixture, ThreeLinksBindAtMostThreeTargets) {
    AnimSpec a;
    for (const char* p : {"p1", "p2", "p3", "p4"})
        a.contents.push_back(PaneCurve(p, "APSR", 0, {{0, 9}}));
    auto buf = lytfix::Animation(a);
    AnimResource res;
    ASSERT_TRUE(res.Set(buf.data(), buf.size()));
    auto* t = static_cast<AnimTransformBasic*>(mLayout.CreateAnimTransform());
    t->AssignResource(&res, nullptr, 3);
    dbglog::Capture log;
    t->AttachToTree(mLayout.GetRootPane(), true, false);
    EXPECT_NE(log.Text().find("all AnimationLink used."), std::string::npos);
    EXPECT_EQ(t->GetUsedLinkNum(), 3);
    mLayout.Animate(0);
    EXPECT_FLOAT_EQ(P("p3")->GetTranslate().x, 9);
    EXPECT_FLOAT_EQ(P("p4")->GetTranslate().x, 0);
    // Binding again adds nothing: every target keeps its one link.
    log.Clear();
    t->AttachToTree(mLayout.GetRootPane(), true, false);
    EXPECT_EQ(t->GetUsedLinkNum(), 3);

    // Unbinding frees the records, so another pane can take one.
    mLayout.GetRootPane()->FindPane("p1", true)->DetachAnim(t, false);
    EXPECT_EQ(t->GetUsedLinkNum(), 2);
    t->AttachToTree(mLayout.GetRootPane(), true, false);
    EXPECT_EQ(t->GetUsedLinkNum(), 3);
    mLayout.DetachAnim(t);
    EXPECT_EQ(t->GetUsedLinkNum(), 0);
    EXPECT_EQ(P("p2")->FindAnimLinkByTransform(t), nullptr);
}

TEST_F(AnimFixture, BindingByGroupsAndShares) {
    AnimSpec a;
    a.withTag = true;
    a.tagGroups = {"G1", "G2"};
    a.contents.push_back(PaneCurve("p1", "APSR", 0, {{0, 11}}));
    a.contents.push_back(PaneCurve("p4", "APSR", 0, {{0, 44}}));  // p4 is not in a tag group
    a.shares = {{"p1", "G2"}};
    auto buf = lytfix::Animation(a);
    AnimResource res;
    ASSERT_TRUE(res.Set(buf.data(), buf.size()));
    ASSERT_EQ(res.GetGroupNum(), 2);
    AnimTransform* t = mLayout.AttachAnimByGroups(res, nullptr);
    ASSERT_NE(t, nullptr);
    EXPECT_NE(P("p1")->FindAnimLinkByTransform(t), nullptr);
    EXPECT_EQ(P("p4")->FindAnimLinkByTransform(t), nullptr);
    ASSERT_NE(P("p2")->FindAnimLinkByTransform(t), nullptr);
    EXPECT_NE(P("p3")->FindAnimLinkByTransform(t), nullptr);
    // Links start disabled.
    mLayout.Animate(0);
    EXPECT_FLOAT_EQ(P("p2")->GetTranslate().x, 0);
    mLayout.EnableAnim(t, true);
    mLayout.Animate(0);
    EXPECT_FLOAT_EQ(P("p1")->GetTranslate().x, 11);
    EXPECT_FLOAT_EQ(P("p2")->GetTranslate().x, 11);
    EXPECT_FLOAT_EQ(P("p3")->GetTranslate().x, 11);
    EXPECT_FLOAT_EQ(P("p4")->GetTranslate().x, 0);

    // Without tag groups the whole tree is bound.
    AnimSpec all;
    all.contents.push_back(PaneCurve("p4", "APSR", 0, {{0, 44}}));
    auto buf2 = lytfix::Animation(all);
    AnimResource res2;
    ASSERT_TRUE(res2.Set(buf2.data(), buf2.size()));
    AnimTransform* t2 = mLayout.AttachAnimByGroups(res2, nullptr);
    ASSERT_NE(t2, nullptr);
    EXPECT_NE(P("p4")->FindAnimLinkByTransform(t2), nullptr);
    EXPECT_EQ(mLayout.GetAnimTransformNum(), 2u);
}

TEST_F(AnimFixture, TransformsAndPanesMayBeDestroyedInEitherOrder) {
    AnimSpec a;
    a.contents.push_back(PaneCurve("p1", "APSR", 0, {{0, 1}}));
    a.contents.push_back(PaneCurve("mat", "AMCL", 4, {{0, 1}}, 0, 1));
    AnimTransform* t = Play(a, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_NE(Mat()->FindAnimLinkByTransform(t), nullptr);
    mLayout.DestroyAnimTransform(t);
    EXPECT_EQ(P("p1")->FindAnimLinkByTransform(t), nullptr);
    EXPECT_EQ(Mat()->GetAnimLinkList().Size(), 0u);
    Play(a, 0);  // this one stays bound while the layout is destroyed
}

// ---- broken animation files ----

AnimSpec SmallAnim() {
    AnimSpec a;
    a.textures = {"x.tga"};
    a.contents.push_back(PaneCurve("p1", "APSR", 0, {{0, 0}, {10, 10}}));
    a.contents.push_back(PaneCurve("p1", "AVIS", 0, {{0, 1}}));
    a.withTag = true;
    a.tagGroups = {"G1"};
    a.shares = {{"p1", "G2"}};
    return a;
}

TEST(AnimationBroken, WrongFilesAreRefusedWithTheirMessages) {
    auto layoutLike = lytfix::Animation(SmallAnim());
    layoutLike[1] = 'L';  // "SLNM"
    dbglog::Capture log;
    AnimResource res;
    EXPECT_FALSE(res.Set(layoutLike.data(), layoutLike.size()));
    EXPECT_NE(log.Text().find("not layout animation file.\n"), std::string::npos);

    log.Clear();
    auto old = lytfix::Animation(SmallAnim(), 0x0007);
    EXPECT_FALSE(res.Set(old.data(), old.size()));
    EXPECT_NE(log.Text().find("Version check failed. library ver. '0.8', file ver. '0.7'.\n"),
              std::string::npos);

    log.Clear();
    FileWriter empty("SANM");
    empty.Marker("xxxx");
    auto emptyBuf = empty.Finish();
    EXPECT_FALSE(res.Set(emptyBuf.data(), emptyBuf.size()));
    EXPECT_NE(log.Text().find("Animation resource is empty.\n"), std::string::npos);
    EXPECT_FALSE(res.IsValid());

    // Converted once, a buffer no longer reads as an animation.
    auto good = lytfix::Animation(SmallAnim());
    EXPECT_TRUE(res.Set(good.data(), good.size()));
    EXPECT_TRUE(res.IsValid());
    EXPECT_EQ(res.GetFrameSize(), 60);
    EXPECT_FALSE(res.Set(good.data(), good.size()));
}

TEST(AnimationBroken, EveryTruncationFailsCleanly) {
    const auto full = lytfix::Animation(SmallAnim());
    for (size_t len = 0; len < full.size(); ++len) {
        std::vector<uint8_t> cut(full.begin(), full.begin() + long(len));
        dbglog::Capture log;
        AnimResource res;
        EXPECT_FALSE(res.Set(cut.data(), cut.size())) << len;
        EXPECT_FALSE(res.IsValid()) << len;
    }
}

TEST(AnimationBroken, OffsetsOutsideOrSharedAreRefused) {
    const auto good = lytfix::Animation(SmallAnim());
    size_t ainf = 0;
    for (size_t i = 16; i + 4 <= good.size(); ++i)
        if (std::string(reinterpret_cast<const char*>(&good[i]), 4) == "ainf") ainf = i;
    ASSERT_NE(ainf, 0u);
    auto patch32 = [](std::vector<uint8_t> b, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (24 - 8 * i));
        return b;
    };
    const size_t table = ainf + (uint32_t(good[ainf + 16]) << 24 | uint32_t(good[ainf + 17]) << 16 |
                                 uint32_t(good[ainf + 18]) << 8 | good[ainf + 19]);
    const std::vector<std::pair<std::vector<uint8_t>, const char*>> cases = {
        {patch32(good, ainf + 16, 0xFFFFFFF0), "content table offset"},
        {patch32(good, table, 0x00FFFFFF), "content offset"},
        {patch32(good, ainf + 20, 0x7FFFFFFF), "texture name offset"},
        // Both contents at one place: the second would be converted again.
        {patch32(good, table + 4, uint32_t(good[table + 3] | good[table + 2] << 8)),
         "shared content"},
    };
    for (const auto& [buf, what] : cases) {
        auto copy = buf;
        dbglog::Capture log;
        AnimResource res;
        EXPECT_FALSE(res.Set(copy.data(), copy.size())) << what;
        EXPECT_NE(log.Text().find("LYRA:Waring\n"), std::string::npos) << what;
    }
}

}  // namespace
