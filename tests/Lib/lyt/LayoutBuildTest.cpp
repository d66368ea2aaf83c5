#include <gtest/gtest.h>
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/lyt/bounding.h"
#include "Lib/lyt/layout.h"
#include "Lib/lyt/material.h"
#include "Lib/lyt/pane.h"
#include "Lib/lyt/picture.h"
#include "Lib/lyt/resourceAccessor.h"
#include "Lib/lyt/textBox.h"
#include "LytFixture.h"

using namespace LYRALib::lytmgr;
using lytfix::FileWriter;
using lytfix::Named;

namespace {

std::vector<uint8_t> SimpleLayout(uint16_t version) {
    FileWriter f("SLYT", version);
    lytfix::LayoutInfo(f, 640, 480);
    lytfix::Pane(f, Named("RootPane"));
    return f.Finish();
}

// The names of a pane's children, walked through the sibling links, checked against the count
// and each child's parent link.
std::vector<std::string> Children(Pane* parent) {
    std::vector<std::string> names;
    for (Pane* c = parent->GetFirstChild(); c != nullptr; c = c->GetNextSibling())
        names.push_back(c->GetParent() == parent ? c->GetName() : "?");
    EXPECT_EQ(parent->GetChildCount(), names.size());
    return names;
}

TEST(LayoutBuild, AcceptsMinorEightToTenOfMajorZeroOnly) {
    const struct {
        uint16_t version;
        const char* fileVer;  // nullptr: accepted
    } cases[] = {{0x0008, nullptr}, {0x0009, nullptr},  {0x000A, nullptr},
                 {0x0007, "'0.7'"}, {0x000B, "'0.11'"}, {0x0108, "'1.8'"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        auto buf = SimpleLayout(c.version);
        dbglog::Capture log;
        Layout layout;
        EXPECT_EQ(layout.Build(buf.data(), buf.size(), nullptr), c.fileVer == nullptr);
        if (c.fileVer != nullptr) {
            EXPECT_EQ(layout.GetRootPane(), nullptr);
            EXPECT_NE(log.Text().find(std::string("LYRA:Waring\n")), std::string::npos);
            EXPECT_NE(log.Text().find(std::string("Version check failed. library ver. '0.8', ") +
                                      "file ver. " + c.fileVer + ".\n"),
                      std::string::npos)
                << log.Text();
            continue;
        }
        ASSERT_NE(layout.GetRootPane(), nullptr);
        EXPECT_STREQ(layout.GetRootPane()->GetName(), "RootPane");
        const Rect r = layout.GetLayoutRect();
        EXPECT_EQ(
            (std::vector<float>{layout.GetLayoutSize().width, r.left, r.top, r.right, r.bottom}),
            (std::vector<float>{640, -320, 240, 320, -240}));
        // Converted in place, the buffer no longer reads as a layout; nor does a built layout
        // take another.
        Layout second;
        EXPECT_FALSE(second.Build(buf.data(), buf.size(), nullptr) || second.GetRootPane());
        EXPECT_NE(log.Text().find("not layout file.\n"), std::string::npos);
        auto other = SimpleLayout(c.version);
        EXPECT_FALSE(layout.Build(other.data(), other.size(), nullptr));
    }
}

// root { a { a1 a2+usrd } b(window) ABCDEFGHIJKLMNOP }, then stray top-level panes; groups
// G1 { a1 ghost a2 } (Nested inside it ignored), G2 { a2 }.
TEST(LayoutBuild, TreeNamesUserDataAndGroups) {
    FileWriter f;
    lytfix::Pane(f, Named("root"));
    f.Marker("chbg");
    lytfix::Pane(f, Named("a"));
    f.Marker("chbg");
    lytfix::Pane(f, Named("a1"));
    lytfix::Pane(f, Named("a2"));
    const size_t s = f.Begin("usrd");
    // Two 12-byte entries; names follow, offsets counted from each entry.
    f.w.U16(2), f.w.U16(0), f.w.U32(24), f.w.Zero(8), f.w.U32(12 + 6), f.w.Zero(8);
    f.w.CStr("speed"), f.w.CStr("color"), f.w.Align4();
    f.End(s);
    f.Marker("chen");
    // A window: four inflation floats, frame count, flags, two offsets (unused).
    lytfix::PaneSection(f, Named("b"), "wndw", [](lytfix::BeWriter& w) {
        for (int i = 0; i < 4; ++i) w.F32(2);
        w.U32(0), w.U32(0), w.U32(0);
    });
    lytfix::Pane(f, {.name = "ABCDEFGHIJKLMNOP", .userStr = "12345678"});
    f.Marker("chen");
    lytfix::Pane(f, Named("stray"), "bndg");
    f.Marker("chbg");
    lytfix::Pane(f, Named("strayChild"));
    f.Marker("chen");
    f.Marker("chen");  // unmatched: ignored
    lytfix::GroupSection(f, "RootGroup", {});
    f.Marker("gpbg");
    lytfix::GroupSection(f, "G1", {"a1", "ghost", "a2"});
    f.Marker("gpbg");
    lytfix::GroupSection(f, "Nested", {"a1"});
    f.Marker("gpen");
    lytfix::GroupSection(f, "G2", {"a2"});
    f.Marker("gpen");
    auto buf = f.Finish();
    Layout layout;
    ASSERT_TRUE(layout.Build(buf.data(), buf.size(), nullptr));
    Pane* root = layout.GetRootPane();
    Pane *a = root->FindPane("a", true), *b = root->FindPane("b", true);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(Children(root), (std::vector<std::string>{"a", "b", "ABCDEFGHIJKLMNOP"}));
    EXPECT_EQ(Children(a), (std::vector<std::string>{"a1", "a2"}));
    EXPECT_EQ(b->GetParent(), root);
    EXPECT_EQ(typeid(*b), typeid(Pane));  // a window section builds a plain pane
    EXPECT_FALSE(root->FindPane("a1", false) || root->FindPane("stray", true) ||
                 root->FindPane("strayChild", true));
    // Names fill all 16 bytes; a longer query matches on its first 16.
    Pane* p = root->FindPane("ABCDEFGHIJKLMNOP", true);
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(p->GetName(), "ABCDEFGHIJKLMNOP");
    EXPECT_STREQ(p->GetUserString(), "12345678");
    EXPECT_EQ(root->FindPane("ABCDEFGHIJKLMNOPQRS", true), p);
    EXPECT_EQ(root->FindPane("ABCDEFGHIJKLMNO", true), nullptr);
    // User data belongs to the pane read last.
    Pane *a1 = root->FindPane("a1", true), *a2 = root->FindPane("a2", true);
    EXPECT_EQ(std::tuple(a1->GetExtUserDataNum(), a2->GetExtUserDataNum()), std::tuple(0, 2));
    EXPECT_EQ(a1->FindExtUserDataByName("speed"), nullptr);
    const uint8_t* speed = a2->FindExtUserDataByName("speed");
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(a2->FindExtUserDataByName("color") - speed, 12);
    EXPECT_EQ(a2->FindExtUserDataByName("none"), nullptr);
    // Groups at depth one only; names of missing panes are skipped.
    GroupContainer* groups = layout.GetGroupContainer();
    ASSERT_NE(groups, nullptr);
    EXPECT_EQ(groups->GetGroups().size(), 2u);
    EXPECT_FALSE(groups->FindGroupByName("RootGroup") || groups->FindGroupByName("Nested"));
    ASSERT_NE(groups->FindGroupByName("G2"), nullptr);
    Group* g1 = groups->FindGroupByName("G1");
    ASSERT_NE(g1, nullptr);
    EXPECT_EQ(g1->GetPaneList(), (std::vector<Pane*>{a1, a2}));
}

// Records every lookup and answers for known names.
class RecordingAccessor : public ResourceAccessor {
public:
    void* FindResource(uint32_t type, const char* name, uint32_t* size) override {
        calls.emplace_back(type, name);
        if (size != nullptr) *size = 4;
        return std::string(name) == "missing.tga" ? nullptr : image;
    }
    std::vector<std::pair<uint32_t, std::string>> calls;
    uint8_t image[4] = {1, 2, 3, 4};
};

TEST(LayoutBuild, MaterialKeepsTenOfTwelveTextureMapsAndLooksThemUp) {
    FileWriter f;
    lytfix::TextureList(f, {"A1_VXL_logo.tga", "missing.tga"});
    lytfix::MaterialList(f, {{.name = "LongMaterialName_20c",
                              .textures = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                              .texSRTs = 2,
                              .matColor = true}});
    lytfix::Picture(f, Named("pic"), 0);
    auto buf = f.Finish();
    RecordingAccessor acc;
    Layout layout;
    ASSERT_TRUE(layout.Build(buf.data(), buf.size(), &acc));
    Material* mat = layout.GetRootPane()->GetMaterial();
    ASSERT_NE(mat, nullptr);
    EXPECT_STREQ(mat->GetName(), "LongMaterialName_20c");
    // The blocks after the cut maps are still found at their full offsets.
    ASSERT_TRUE(mat->HasMatColor());
    EXPECT_EQ((std::vector<float>{float(mat->GetTextureNum()), float(mat->GetTexSRTNum()),
                                  mat->GetTexSRT(1).mScale.x, float(mat->GetMatColor()[2])}),
              (std::vector<float>{10, 2, 1, 30}));
    const TexMap& map = mat->GetTexMap(0);
    EXPECT_EQ(std::tuple(map.mpImage, mat->GetTexMap(1).mpImage),
              std::tuple((void*)acc.image, (void*)nullptr));
    EXPECT_EQ((std::vector<int>{map.mWrapS, map.mMinFilter, map.mWrapT, map.mMagFilter}),
              (std::vector<int>{1, 1, 2, 1}));
    ASSERT_EQ(acc.calls.size(), 10u);
    EXPECT_EQ(acc.calls[0], (std::pair<uint32_t, std::string>{MakeTag("imag"), "A1_VXL_logo.tga"}));
    EXPECT_EQ(acc.calls[1].second, "missing.tga");
    EXPECT_EQ(layout.GetRootPane()->FindMaterial("LongMaterialName_20c", true), mat);
    EXPECT_EQ(layout.GetRootPane()->GetMaterialNum(), 1u);
}

TEST(LayoutBuild, TextBoxReadsItsFieldsAndCutsALongInitialString) {
    FileWriter f;
    lytfix::MaterialList(f, {lytfix::MaterialSpec{}});
    lytfix::Pane(f, Named("root"));
    f.Marker("chbg");
    lytfix::TextBox(f, Named("txt_title"), 0, 16, u"Hello", 8);
    lytfix::TextBox(f, Named("txt_long"), 0, 8, u"0123456789");
    f.Marker("chen");
    auto buf = f.Finish();
    Layout layout;
    ASSERT_TRUE(layout.Build(buf.data(), buf.size(), nullptr));
    auto* title = dynamic_cast<TextBox*>(layout.GetRootPane()->FindPane("txt_title", true));
    auto* cut = dynamic_cast<TextBox*>(layout.GetRootPane()->FindPane("txt_long", true));
    ASSERT_TRUE(title && cut);
    EXPECT_EQ(std::u16string(title->GetString()) + u"|" + cut->GetString(), u"Hello|012");
    EXPECT_EQ(std::tuple(title->GetStringBufferSize(), title->GetTextColor(0),
                         title->GetTextColor(1), title->GetFontSize().height,
                         int(title->GetTextPosition()), int(title->GetTextAlignment())),
              std::tuple(16u, 0x11223344u, 0x55667788u, 26.f, 8, 1));
}

// Every broken file fails with a warning block and leaves no pane and no groups.
TEST(LayoutBuild, BrokenFilesFailCleanly) {
    FileWriter f;
    lytfix::TextureList(f, {"a.tga"});
    lytfix::MaterialList(f, {{.textures = {0}}});
    lytfix::Pane(f, Named("root"));
    f.Marker("chbg");
    lytfix::Picture(f, Named("pic"), 0);
    f.Marker("chen");
    const auto good = f.Finish();
    using lytfix::WithU32;
    const size_t texl = lytfix::FindSection(good, "texl"), matl = lytfix::FindSection(good, "matl"),
                 pict = lytfix::FindSection(good, "pict");
    std::vector<std::pair<std::string, std::vector<uint8_t>>> cases = {
        {"section size past the end", WithU32(good, texl + 4, 0x7FFFFFF0)},
        {"section smaller than its header", WithU32(good, texl + 4, 4)},
        {"texture name offset past the end", WithU32(good, texl + 12, 0x1000)},
        {"material offset past the end", WithU32(good, matl + 12, 0xFFFFFF00)},
        {"material count past the table", WithU32(good, matl + 8, 0x00070000)},
        {"material index beyond the list", WithU32(good, pict + 92, 0x00050000)},
        // Two material offsets at one record would convert it twice.
        {"shared record", WithU32(WithU32(good, matl + 8, 0x00020000), matl + 16, 16)},
        {"more sections than the file holds", WithU32(good, 12, lytfix::U32At(good, 12) | 0xFF00)}};
    FileWriter deep;
    for (int i = 0; i <= Layout::kMaxNestDepth; ++i)
        lytfix::Pane(deep, Named("p")), deep.Marker("chbg");
    cases.emplace_back("nesting", deep.Finish());
    FileWriter text;
    lytfix::MaterialList(text, {lytfix::MaterialSpec{}});
    const size_t txtb = text.w.Pos();
    lytfix::TextBox(text, Named("t"), 0, 16, u"abc");
    text.w.Bytes()[txtb + 88] = 0x7F;  // the string offset
    cases.emplace_back("string offset", text.Finish());
    auto copy = good;
    ASSERT_TRUE(Layout().Build(copy.data(), copy.size(), nullptr));
    for (auto& [what, buf] : cases) {
        SCOPED_TRACE(what);
        dbglog::Capture log;
        Layout layout;
        EXPECT_FALSE(layout.Build(buf.data(), buf.size(), nullptr) || layout.GetRootPane() ||
                     layout.GetGroupContainer());
        EXPECT_NE(log.Text().find("LYRA:Waring\n"), std::string::npos);
    }
}

}  // namespace
