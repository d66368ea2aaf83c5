#include <gtest/gtest.h>
#include <list>
#include <string>
#include <tuple>
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
using lytfix::Named;

namespace {

TEST(Curves, HermiteJumpsAndSteps) {
    using Keys = std::vector<HermiteKey>;
    const Keys ramp = {{0, 0, 0}, {10, 10, 0}}, single = {{4, 7, 1}};
    const Keys line = {{0, 0, 1}, {10, 10, 1}};  // slope 1: exact at the midpoint
    const Keys jump = {{0, 0, 0}, {5, 0, 0}, {5, 10, 0}, {10, 10, 0}};
    const Keys three = {{0, 0, 0}, {5, 3, 0}, {10, 10, 0}};  // a key's own value within 0.001
    const struct {
        const Keys& keys;
        float frame, value;
    } hermite[] = {{ramp, 5, 5},        {ramp, -3, 0},      {ramp, 12, 10},     {single, -100, 7},
                   {single, 100, 7},    {line, 2.5f, 2.5f}, {jump, 4.99f, 0},   {jump, 5, 10},
                   {jump, 5.0005f, 10}, {jump, 7.5f, 10},   {three, 4.9995f, 3}};
    for (const auto& c : hermite)
        EXPECT_FLOAT_EQ(EvalHermite(c.keys.data(), c.keys.size(), c.frame), c.value) << c.frame;
    EXPECT_LT(EvalHermite(ramp.data(), 2, 2.5f), 2.5f);  // ease in with flat slopes
    const StepKey two[] = {{0, 1}, {10, 2}}, many[] = {{0, 0}, {2, 1}, {4, 2}, {6, 3}, {8, 4}};
    std::vector<int> steps;
    for (float frame : {9.99f, 9.9995f, 10.0f, -1.0f}) steps.push_back(EvalStep(two, 2, frame));
    for (float frame : {5.5f, 6.0f}) steps.push_back(EvalStep(many, 5, frame));
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 2, 1, 2, 3}));
}

// root { p1 p2 p3 p4 { p4child } pic } with groups G1 {p1}, G2 {p2 p3}, G4 {p4}; the
// picture's material "mat" has one texture, two texture transforms and a material colour.
class AnimFixture : public ::testing::Test {
protected:
    void SetUp() override {
        FileWriter f;
        lytfix::TextureList(f, {"tex0.tga"});
        lytfix::MaterialList(f, {{.textures = {0}, .texSRTs = 2, .matColor = true}});
        lytfix::Pane(f, Named("root"));
        f.Marker("chbg");
        for (const char* name : {"p1", "p2", "p3", "p4"}) lytfix::Pane(f, Named(name));
        f.Marker("chbg");
        lytfix::Pane(f, Named("p4child"));
        f.Marker("chen");
        lytfix::Picture(f, Named("pic"), 0);
        f.Marker("chen");
        lytfix::GroupSection(f, "RootGroup", {});
        f.Marker("gpbg");
        lytfix::GroupSection(f, "G1", {"p1"});
        lytfix::GroupSection(f, "G2", {"p2", "p3"});
        lytfix::GroupSection(f, "G4", {"p4"});
        f.Marker("gpen");
        mLayoutBuf = f.Finish();
        ASSERT_TRUE(mLayout.Build(mLayoutBuf.data(), mLayoutBuf.size(), nullptr));
    }
    Pane* P(const char* name) { return mLayout.GetRootPane()->FindPane(name, true); }
    Material* Mat() { return P("pic")->GetMaterial(); }
    // Loads an animation (kept alive by the fixture) and binds it enabled at `frame`.
    AnimTransform* Play(const AnimSpec& spec, float frame, ResourceAccessor* acc = nullptr) {
        mAnimBufs.push_back(lytfix::Animation(spec));
        auto& buf = mAnimBufs.back();
        AnimTransform* t = mLayout.CreateAnimTransform(buf.data(), buf.size(), acc);
        EXPECT_NE(t, nullptr);
        if (t == nullptr) return nullptr;
        mLayout.AttachAnim(t);
        Show(t, frame);
        return t;
    }
    void Show(AnimTransform* t, float frame) {
        t->SetFrame(frame);
        mLayout.Animate(0);
    }
    AnimResource& Resource(const AnimSpec& spec) {
        mAnimBufs.push_back(lytfix::Animation(spec));
        mResources.emplace_back();
        EXPECT_TRUE(mResources.back().Set(mAnimBufs.back().data(), mAnimBufs.back().size()));
        return mResources.back();
    }

    std::vector<uint8_t> mLayoutBuf;
    std::list<std::vector<uint8_t>> mAnimBufs;
    std::list<AnimResource> mResources;
    Layout mLayout;
};

lytfix::InfoSpec Info(const char* kind, std::vector<lytfix::TargetSpec> targets) {
    return {kind, std::move(targets)};
}
AnimSpec Of(std::vector<ContentSpec> contents) {
    return {.contents = std::move(contents)};
}
ContentSpec Curve(const char* name, const char* kind, uint8_t element,
                  std::vector<lytfix::KeySpec> keys, uint8_t type = 0) {
    return {name, type, {Info(kind, {{0, element, std::move(keys)}})}};
}

TEST_F(AnimFixture, CurvesReachTheirTargetsRoundedAndClamped) {
    AnimSpec a;
    a.contents = {Curve("p1", "AVCL", 16, {{0, 254.6f}}), Curve("p2", "AVCL", 16, {{0, 127.4f}}),
                  Curve("pic", "AVCL", 5, {{0, 0}, {10, 200}}),
                  Curve("p3", "AVCL", 200, {{0, 999.0f}})};  // no such byte: ignored
    ContentSpec mat{"mat", 1, {}};
    mat.infos.push_back(Info("AMCL", {{0, 0, {{0, 300}}},        // material colour R
                                      {0, 1, {{0, -2000}}},      // material colour G
                                      {0, 4, {{0, 300}}},        // tint 0 R
                                      {0, 5, {{0, -2000}}},      // tint 0 G
                                      {0, 11, {{0, 1e9f}}},      // tint 1 the last component
                                      {0, 17, {{0, 300}}},       // constant 0 G
                                      {0, 31, {{0, 12.5f}}}}));  // constant 3 A
    // Texture transform 2 and element 9 do not exist; nor does an indirect transform.
    mat.infos.push_back(Info("ATSR", {{2, 0, {{0, 77}}}, {1, 2, {{0, 45}}}, {0, 9, {{0, 45}}}}));
    mat.infos.push_back(Info("AIMT", {{0, 0, {{0, 5}}}}));
    a.contents.push_back(mat);
    Play(a, 10);
    Material* m = Mat();
    EXPECT_EQ(static_cast<Picture*>(P("pic"))->GetVtxColor(1), 0xFFC8FFFFu);
    EXPECT_EQ((std::vector<int>{P("p1")->GetAlpha(), P("p2")->GetAlpha(), P("pic")->GetColorByte(5),
                                P("p3")->GetAlpha(), m->GetMatColor()[0], m->GetMatColor()[1],
                                m->GetTintColor(0)[0], m->GetTintColor(0)[1], m->GetTintColor(1)[3],
                                m->GetConstColor(0)[1], m->GetConstColor(3)[3], m->GetTexSRTNum()}),
              (std::vector<int>{255, 127, 200, 255, 255, 0, 300, -1024, 1023, 255, 13, 2}));
    EXPECT_EQ(std::tuple(m->GetTexSRT(1).mRotate, m->GetTexSRT(0).mTranslate.x),
              std::tuple(45.f, 0.f));
}

TEST_F(AnimFixture, PaneSRTVisibilityAndDisabledLinks) {
    const AnimSpec a =
        Of({Curve("p1", "APSR", 0, {{0, 0}, {10, 10}}), Curve("p2", "APSR", 9, {{0, 40}}),
            Curve("p3", "AVIS", 0, {{0, 1}, {10, 0}})});
    AnimTransform* t = Play(a, 5);
    auto seen = [&] { return std::tuple(P("p1")->GetTranslate().x, P("p3")->IsVisible()); };
    EXPECT_EQ(seen(), std::tuple(5.f, true));
    EXPECT_FLOAT_EQ(P("p2")->GetSize().height, 40);
    Show(t, 10);
    EXPECT_EQ(seen(), std::tuple(10.f, false));
    mLayout.EnableAnim(t, false);
    Show(t, 0);
    EXPECT_EQ(seen(), std::tuple(10.f, false));
    mLayout.EnableAnim(t, true);
    mLayout.Animate(0);
    EXPECT_EQ(seen(), std::tuple(0.f, true));
}

TEST_F(AnimFixture, InvisiblePaneSkipsItsSubtreeOnlyWithOptionBit0) {
    ASSERT_NE(Play(Of({Curve("p4child", "APSR", 1, {{0, 33}})}), 0), nullptr);
    P("p4child")->SetTranslate({0, 0, 0});
    P("p4")->SetVisible(false);
    mLayout.Animate(1);
    EXPECT_FLOAT_EQ(P("p4child")->GetTranslate().y, 0);
    mLayout.Animate(0);
    EXPECT_FLOAT_EQ(P("p4child")->GetTranslate().y, 33);
    // A visibility curve on the pane itself runs first and can bring the subtree back.
    P("p4child")->SetTranslate({0, 0, 0});
    Play(Of({Curve("p4", "AVIS", 0, {{0, 1}})}), 0);
    P("p4")->SetVisible(false);
    mLayout.Animate(1);
    EXPECT_EQ(std::tuple(P("p4")->IsVisible(), P("p4child")->GetTranslate().y),
              std::tuple(true, 33.f));
}

class TwoImages : public ResourceAccessor {
public:
    void* FindResource(uint32_t, const char* name, uint32_t* size) override {
        if (size != nullptr) *size = 3;
        return std::string(name) == "a.tga" ? a : std::string(name) == "b.tga" ? b : nullptr;
    }
    char a[3] = {'a', 'a', 'a'};
    char b[3] = {'b', 'b', 'b'};
};

class ImageSink : public Drawable {
public:
    void Draw(const DrawRequest&) override {}
    void LoadImageData(const void* data, uint32_t) override { loaded.push_back(data); }
    std::vector<const void*> loaded;
};

// The framework may switch the picture's image on its own, so a key on the layout's own image
// is still handed over, once per change of key image. A missing file and a number past the
// list are ignored.
TEST_F(AnimFixture, TexturePatternSwitchesTheImage) {
    const AnimSpec a{
        .textures = {"a.tga", "missing.tga", "b.tga"},
        .contents = {Curve("mat", "ATPT", 0, {{0, 0}, {5, 1}, {10, 2}, {15, 7}, {20, 0}}, 1)}};
    TwoImages images;
    Mat()->GetTexMap(0).mpImage = images.a;  // as found for the layout's texture at build
    ImageSink sink;
    P("pic")->AttachDrawable(&sink);
    dbglog::Capture log;
    AnimTransform* t = Play(a, 0, &images);
    ASSERT_NE(t, nullptr);
    EXPECT_NE(log.Text().find("file not found. - missing.tga"), std::string::npos);
    for (float frame : {1.f, 5.f, 10.f, 11.f, 15.f}) Show(t, frame);
    EXPECT_EQ(Mat()->GetTexMap(0).mpImage, images.b);
    for (float frame : {20.f, 21.f}) Show(t, frame);
    EXPECT_EQ(sink.loaded, (std::vector<const void*>{images.a, images.b, images.a}));
}

TEST_F(AnimFixture, ThreeLinksBindAtMostThreeTargetsAndAreFreedByUnbindingOrDestroying) {
    AnimSpec a;
    for (const char* p : {"p1", "p2", "p3", "p4"})
        a.contents.push_back(Curve(p, "APSR", 0, {{0, 9}}));
    AnimResource& res = Resource(a);
    auto* t = static_cast<AnimTransformBasic*>(mLayout.CreateAnimTransform());
    t->AssignResource(&res, nullptr, 3);
    dbglog::Capture log;
    t->AttachToTree(mLayout.GetRootPane(), true, false);
    EXPECT_NE(log.Text().find("all AnimationLink used."), std::string::npos);
    EXPECT_EQ(t->GetUsedLinkNum(), 3);
    mLayout.Animate(0);
    EXPECT_EQ(std::tuple(P("p3")->GetTranslate().x, P("p4")->GetTranslate().x),
              std::tuple(9.f, 0.f));
    t->AttachToTree(mLayout.GetRootPane(), true, false);
    EXPECT_EQ(t->GetUsedLinkNum(), 3) << "binding again: every target keeps its one link";
    // Unbinding frees the records, so another pane can take one.
    P("p1")->DetachAnim(t, false);
    EXPECT_EQ(t->GetUsedLinkNum(), 2);
    t->AttachToTree(mLayout.GetRootPane(), true, false);
    EXPECT_EQ(t->GetUsedLinkNum(), 3);
    mLayout.DetachAnim(t);
    EXPECT_EQ(t->GetUsedLinkNum(), 0);
    EXPECT_EQ(P("p2")->FindAnimLinkByTransform(t), nullptr);
    // Transforms and panes may be destroyed in either order.
    const AnimSpec both =
        Of({Curve("p1", "APSR", 0, {{0, 1}}), Curve("mat", "AMCL", 4, {{0, 1}}, 1)});
    AnimTransform* bound = Play(both, 0);
    ASSERT_NE(bound, nullptr);
    EXPECT_NE(Mat()->FindAnimLinkByTransform(bound), nullptr);
    mLayout.DestroyAnimTransform(bound);
    EXPECT_EQ(P("p1")->FindAnimLinkByTransform(bound), nullptr);
    EXPECT_EQ(Mat()->GetAnimLinkList().Size(), 0u);
    Play(both, 0);  // this one stays bound while the layout is destroyed
}

TEST_F(AnimFixture, BindingByGroupsAndShares) {
    // p4 is not in a tag group.
    AnimResource& res = Resource(
        {.contents = {Curve("p1", "APSR", 0, {{0, 11}}), Curve("p4", "APSR", 0, {{0, 44}})},
         .withTag = true,
         .tagGroups = {"G1", "G2"},
         .shares = {{"p1", "G2"}}});
    ASSERT_EQ(res.GetGroupNum(), 2);
    AnimTransform* t = mLayout.AttachAnimByGroups(res, nullptr);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(P("p4")->FindAnimLinkByTransform(t), nullptr);
    mLayout.Animate(0);
    EXPECT_FLOAT_EQ(P("p2")->GetTranslate().x, 0) << "links start disabled";
    mLayout.EnableAnim(t, true);
    mLayout.Animate(0);
    std::vector<float> xs;
    for (const char* p : {"p1", "p2", "p3", "p4"}) xs.push_back(P(p)->GetTranslate().x);
    EXPECT_EQ(xs, (std::vector<float>{11, 11, 11, 0}));
    // Without tag groups the whole tree is bound.
    AnimTransform* t2 =
        mLayout.AttachAnimByGroups(Resource(Of({Curve("p4", "APSR", 0, {{0, 44}})})), nullptr);
    ASSERT_NE(t2, nullptr);
    EXPECT_NE(P("p4")->FindAnimLinkByTransform(t2), nullptr);
    EXPECT_EQ(mLayout.GetAnimTransformNum(), 2u);
}

// Every broken file is refused with its message and leaves the resource invalid.
TEST(AnimationBroken, WrongFilesAreRefusedWithTheirMessages) {
    const AnimSpec small{
        .textures = {"x.tga"},
        .contents = {Curve("p1", "APSR", 0, {{0, 0}, {10, 10}}), Curve("p1", "AVIS", 0, {{0, 1}})},
        .withTag = true,
        .tagGroups = {"G1"},
        .shares = {{"p1", "G2"}}};
    const auto good = lytfix::Animation(small);
    const size_t ainf = lytfix::FindSection(good, "ainf");
    ASSERT_NE(ainf, 0u);
    const size_t table = ainf + lytfix::U32At(good, ainf + 16);
    auto patched = [&](size_t at, uint32_t v) { return lytfix::WithU32(good, at, v); };
    const std::string warning = "LYRA:Waring\n";
    std::vector<std::tuple<std::string, std::vector<uint8_t>, std::string>> cases = {
        {"layout magic", patched(0, 0x534C4E4D), "not layout animation file.\n"},  // "SLNM"
        {"version", lytfix::Animation(small, 0x0007),
         "Version check failed. library ver. '0.8', file ver. '0.7'.\n"},
        {"content table offset", patched(ainf + 16, 0xFFFFFFF0), warning},
        {"content offset", patched(table, 0x00FFFFFF), warning},
        {"texture name offset", patched(ainf + 20, 0x7FFFFFFF), warning},
        // Both contents at one place: the second would be converted again.
        {"shared content", patched(table + 4, lytfix::U32At(good, table) & 0xFFFF), warning}};
    FileWriter empty("SANM");
    empty.Marker("xxxx");
    cases.emplace_back("empty", empty.Finish(), "Animation resource is empty.\n");
    for (auto& [what, buf, message] : cases) {
        SCOPED_TRACE(what);
        dbglog::Capture log;
        AnimResource res;
        EXPECT_FALSE(res.Set(buf.data(), buf.size()));
        EXPECT_FALSE(res.IsValid());
        EXPECT_NE(log.Text().find(message), std::string::npos) << log.Text();
    }
    // Converted once, a buffer no longer reads as an animation.
    auto once = good;
    AnimResource res;
    EXPECT_TRUE(res.Set(once.data(), once.size()) && res.IsValid());
    EXPECT_EQ(res.GetFrameSize(), 60);
    EXPECT_FALSE(res.Set(once.data(), once.size()));
}

}  // namespace
