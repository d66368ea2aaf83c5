#include <gtest/gtest.h>

#include <cstring>

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
using lytfix::PaneSpec;

namespace {

std::vector<uint8_t> SimpleLayout(uint16_t version) {
    FileWriter f("SLYT", version);
    lytfix::LayoutInfo(f, 640, 480);
    lytfix::Pane(f, lytfix::Named("RootPane"));
    return f.Finish();
}

PaneSpec WithUserStr(const char* name, const char* userStr) {
    PaneSpec p = lytfix::Named(name);
    p.userStr = userStr;
    return p;
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(LayoutVersion, AcceptsMinorEightToTenOfMajorZero) {
    for (uint16_t version : {0x0008, 0x0009, 0x000A}) {
        auto buf = SimpleLayout(version);
        Layout layout;
        EXPECT_TRUE(layout.Build(buf.data(), buf.size(), nullptr)) << version;
        ASSERT_NE(layout.GetRootPane(), nullptr);
        EXPECT_STREQ(layout.GetRootPane()->GetName(), "RootPane");
        EXPECT_FLOAT_EQ(layout.GetLayoutSize().width, 640);
        const Rect r = layout.GetLayoutRect();
        EXPECT_FLOAT_EQ(r.left, -320);
        EXPECT_FLOAT_EQ(r.top, 240);
        EXPECT_FLOAT_EQ(r.right, 320);
        EXPECT_FLOAT_EQ(r.bottom, -240);
    }
}

TEST(LayoutVersion, RejectsOtherVersionsNamingLibraryVersion) {
    const struct {
        uint16_t version;
        const char* fileVer;
    } cases[] = {{0x0007, "'0.7'"}, {0x000B, "'0.11'"}, {0x0108, "'1.8'"}};
    for (const auto& c : cases) {
        auto buf = SimpleLayout(c.version);
        dbglog::Capture log;
        Layout layout;
        EXPECT_FALSE(layout.Build(buf.data(), buf.size(), nullptr));
        EXPECT_EQ(layout.GetRootPane(), nullptr);
        const std::string expected =
            std::string("Version check failed. library ver. '0.8', file ver. ") + c.fileVer + ".\n";
        EXPECT_NE(log.Text().find(expected), std::string::npos) << log.Text();
        EXPECT_NE(log.Text().find("LYRA:Waring\n"), std::string::npos);
    }
}

TEST(LayoutBuild, SameBufferTwiceFailsAsNotLayout) {
    auto buf = SimpleLayout(0x0008);
    Layout first;
    ASSERT_TRUE(first.Build(buf.data(), buf.size(), nullptr));
    // The conversion is in place: the magic now reads backwards.
    EXPECT_EQ(buf[0], 'T');
    dbglog::Capture log;
    Layout second;
    EXPECT_FALSE(second.Build(buf.data(), buf.size(), nullptr));
    EXPECT_EQ(second.GetRootPane(), nullptr);
    EXPECT_NE(log.Text().find("not layout file.\n"), std::string::npos);
    // A layout that already has a tree refuses another build.
    auto other = SimpleLayout(0x0008);
    EXPECT_FALSE(first.Build(other.data(), other.size(), nullptr));
}

TEST(LayoutBuild, ChildrenEndMakesNextPaneASiblingOfTheClosedParent) {
    FileWriter f;
    lytfix::Pane(f, lytfix::Named("root"));
    f.Marker("chbg");
    lytfix::Pane(f, lytfix::Named("a"));
    f.Marker("chbg");
    lytfix::Pane(f, lytfix::Named("a1"));
    lytfix::Pane(f, lytfix::Named("a2"));
    f.Marker("chen");
    lytfix::Window(f, lytfix::Named("b"));
    f.Marker("chen");
    auto buf = f.Finish();
    Layout layout;
    ASSERT_TRUE(layout.Build(buf.data(), buf.size(), nullptr));
    Pane* root = layout.GetRootPane();
    Pane* a = root->FindPane("a", true);
    Pane* b = root->FindPane("b", true);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->GetParent(), root);
    EXPECT_EQ(b->GetParent(), root);
    EXPECT_EQ(a->GetNextSibling(), b);
    EXPECT_EQ(a->GetChildCount(), 2u);
    EXPECT_STREQ(a->GetFirstChild()->GetName(), "a1");
    EXPECT_STREQ(a->GetFirstChild()->GetNextSibling()->GetName(), "a2");
    // A window section builds a plain pane.
    EXPECT_EQ(typeid(*b), typeid(Pane));
    EXPECT_EQ(root->FindPane("a1", false), nullptr);
}

TEST(LayoutBuild, NamesOfSixteenCharactersAndLongerQueries) {
    FileWriter f;
    lytfix::Pane(f, lytfix::Named("root"));
    f.Marker("chbg");
    lytfix::Pane(f, WithUserStr("ABCDEFGHIJKLMNOP", "12345678"));
    f.Marker("chen");
    auto buf = f.Finish();
    Layout layout;
    ASSERT_TRUE(layout.Build(buf.data(), buf.size(), nullptr));
    Pane* p = layout.GetRootPane()->FindPane("ABCDEFGHIJKLMNOP", true);
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(p->GetName(), "ABCDEFGHIJKLMNOP");
    EXPECT_STREQ(p->GetUserString(), "12345678");
    EXPECT_EQ(layout.GetRootPane()->FindPane("ABCDEFGHIJKLMNOPQRS", true), p);
    EXPECT_EQ(layout.GetRootPane()->FindPane("ABCDEFGHIJKLMNO", true), nullptr);
}

TEST(LayoutBuild, GroupsAtDepthOneOnlyAndMissingPanesSkipped) {
    FileWriter f;
    lytfix::Pane(f, lytfix::Named("root"));
    f.Marker("chbg");
    lytfix::Pane(f, lytfix::Named("p1"));
    lytfix::Pane(f, lytfix::Named("p2"));
    f.Marker("chen");
    lytfix::GroupSection(f, "RootGroup", {});
    f.Marker("gpbg");
    lytfix::GroupSection(f, "G1", {"p1", "ghost", "p2"});
    f.Marker("gpbg");
    lytfix::GroupSection(f, "Nested", {"p1"});
    f.Marker("gpen");
    lytfix::GroupSection(f, "G2", {"p2"});
    f.Marker("gpen");
    auto buf = f.Finish();
    Layout layout;
    ASSERT_TRUE(layout.Build(buf.data(), buf.size(), nullptr));
    GroupContainer* groups = layout.GetGroupContainer();
    ASSERT_NE(groups, nullptr);
    ASSERT_EQ(groups->GetGroups().size(), 2u);
    EXPECT_EQ(groups->FindGroupByName("RootGroup"), nullptr);
    EXPECT_EQ(groups->FindGroupByName("Nested"), nullptr);
    Group* g1 = groups->FindGroupByName("G1");
    ASSERT_NE(g1, nullptr);
    ASSERT_EQ(g1->GetPaneList().size(), 2u);
    EXPECT_STREQ(g1->GetPaneList()[0]->GetName(), "p1");
    EXPECT_STREQ(g1->GetPaneList()[1]->GetName(), "p2");
    ASSERT_NE(groups->FindGroupByName("G2"), nullptr);
}

TEST(LayoutBuild, UserDataBelongsToThePaneReadLast) {
    FileWriter f;
    lytfix::Pane(f, lytfix::Named("root"));
    f.Marker("chbg");
    lytfix::Pane(f, lytfix::Named("first"));
    lytfix::Pane(f, lytfix::Named("second"));
    const size_t s = f.Begin("usrd");
    f.w.U16(2);
    f.w.U16(0);
    // Two 12-byte entries; names follow, offsets counted from each entry.
    f.w.U32(24), f.w.U32(0), f.w.U32(0);
    f.w.U32(12 + 6), f.w.U32(0), f.w.U32(0);
    f.w.CStr("speed");
    f.w.CStr("color");
    f.w.Align4();
    f.End(s);
    f.Marker("chen");
    auto buf = f.Finish();
    Layout layout;
    ASSERT_TRUE(layout.Build(buf.data(), buf.size(), nullptr));
    Pane* first = layout.GetRootPane()->FindPane("first", true);
    Pane* second = layout.GetRootPane()->FindPane("second", true);
    EXPECT_EQ(first->GetExtUserDataNum(), 0);
    EXPECT_EQ(first->FindExtUserDataByName("speed"), nullptr);
    EXPECT_EQ(second->GetExtUserDataNum(), 2);
    const uint8_t* speed = second->FindExtUserDataByName("speed");
    const uint8_t* color = second->FindExtUserDataByName("color");
    ASSERT_NE(speed, nullptr);
    ASSERT_NE(color, nullptr);
    EXPECT_EQ(color - speed, 12);
    EXPECT_EQ(second->FindExtUserDataByName("none"), nullptr);
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
    lytfix::MaterialSpec m;
    m.name = "LongMaterialName_20c";
    m.textures = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    m.texSRTs = 2;
    m.matColor = true;
    lytfix::MaterialList(f, {m});
    lytfix::Picture(f, lytfix::Named("pic"), 0);
    auto buf = f.Finish();
    RecordingAccessor acc;
    Layout layout;
    ASSERT_TRUE(layout.Build(buf.data(), buf.size(), &acc));
    Material* mat = layout.GetRootPane()->GetMaterial();
    ASSERT_NE(mat, nullptr);
    EXPECT_STREQ(mat->GetName(), "LongMaterialName_20c");
    EXPECT_EQ(mat->GetTextureNum(), 10);
    // The blocks after the cut maps are still found at their full offsets.
    EXPECT_EQ(mat->GetTexSRTNum(), 2);
    EXPECT_FLOAT_EQ(mat->GetTexSRT(1).mScale.x, 1.0f);
    ASSERT_TRUE(mat->HasMatColor());
    EXPECT_EQ(mat->GetMatColor()[2], 30);
    EXPECT_EQ(mat->GetTexMap(0).mpImage, acc.image);
    EXPECT_EQ(mat->GetTexMap(1).mpImage, nullptr);
    EXPECT_EQ(mat->GetTexMap(0).mWrapS, 1);
    EXPECT_EQ(mat->GetTexMap(0).mMinFilter, 1);
    EXPECT_EQ(mat->GetTexMap(0).mWrapT, 2);
    EXPECT_EQ(mat->GetTexMap(0).mMagFilter, 1);
    ASSERT_EQ(acc.calls.size(), 10u);
    EXPECT_EQ(acc.calls[0].first, MakeTag("imag"));
    EXPECT_EQ(acc.calls[0].second, "A1_VXL_logo.tga");
    EXPECT_EQ(acc.calls[1].second, "missing.tga");
    EXPECT_EQ(layout.GetRootPane()->FindMaterial("LongMaterialName_20c", true), mat);
    EXPECT_EQ(layout.GetRootPane()->GetMaterialNum(), 1u);
}

TEST(LayoutBuild, TextBoxReadsItsFieldsAndCutsALongInitialString) {
    FileWriter f;
    lytfix::MaterialList(f, {lytfix::MaterialSpec{}});
    lytfix::Pane(f, lytfix::Named("root"));
    f.Marker("chbg");
    lytfix::TextBox(f, lytfix::Named("txt_title"), 0, 16, u"Hello", 8);
    lytfix::TextBox(f, lytfix::Named("txt_long"), 0, 8, u"0123456789");
    f.Marker("chen");
    auto buf = f.Finish();
    Layout layout;
    ASSERT_TRUE(layout.Build(buf.data(), buf.size(), nullptr));
    auto* title = dynamic_cast<TextBox*>(layout.GetRootPane()->FindPane("txt_title", true));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(std::u16string(title->GetString()), u"Hello");
    EXPECT_EQ(title->GetStringBufferSize(), 16u);
    EXPECT_EQ(title->GetTextColor(0), 0x11223344u);
    EXPECT_EQ(title->GetTextColor(1), 0x55667788u);
    EXPECT_FLOAT_EQ(title->GetFontSize().height, 26);
    EXPECT_EQ(title->GetTextPosition(), 8);
    EXPECT_EQ(title->GetTextAlignment(), 1);
    auto* cut = dynamic_cast<TextBox*>(layout.GetRootPane()->FindPane("txt_long", true));
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(std::u16string(cut->GetString()), u"012");
}

TEST(LayoutBuild, TopLevelPanesAfterTheRootAreKeptOutOfTheTree) {
    FileWriter f;
    lytfix::Pane(f, lytfix::Named("root"));
    lytfix::Pane(f, lytfix::Named("stray"), "bndg");
    f.Marker("chbg");
    lytfix::Pane(f, lytfix::Named("strayChild"));
    f.Marker("chen");
    f.Marker("chen");  // unmatched: ignored
    auto buf = f.Finish();
    Layout layout;
    ASSERT_TRUE(layout.Build(buf.data(), buf.size(), nullptr));
    EXPECT_EQ(layout.GetRootPane()->GetChildCount(), 0u);
    EXPECT_EQ(layout.GetRootPane()->FindPane("stray", true), nullptr);
}

// ---- broken files: each fails with a warning block and leaves no pane ----

void ExpectBroken(std::vector<uint8_t> buf, const char* what) {
    dbglog::Capture log;
    Layout layout;
    EXPECT_FALSE(layout.Build(buf.data(), buf.size(), nullptr)) << what;
    EXPECT_EQ(layout.GetRootPane(), nullptr) << what;
    EXPECT_EQ(layout.GetGroupContainer(), nullptr) << what;
    EXPECT_GE(Count(log.Text(), "LYRA:Waring\n"), 1u) << what;
}

std::vector<uint8_t> PictureLayout() {
    FileWriter f;
    lytfix::TextureList(f, {"a.tga"});
    lytfix::MaterialSpec m;
    m.textures = {0};
    lytfix::MaterialList(f, {m});
    lytfix::Pane(f, lytfix::Named("root"));
    f.Marker("chbg");
    lytfix::Picture(f, lytfix::Named("pic"), 0);
    f.Marker("chen");
    return f.Finish();
}

TEST(LayoutBroken, TruncatedFilesFailAtEveryLength) {
    const auto full = PictureLayout();
    {
        auto copy = full;
        Layout layout;
        ASSERT_TRUE(layout.Build(copy.data(), copy.size(), nullptr));
    }
    for (size_t len = 0; len < full.size(); ++len) {
        std::vector<uint8_t> cut(full.begin(), full.begin() + long(len));
        dbglog::Capture log;
        Layout layout;
        EXPECT_FALSE(layout.Build(cut.data(), cut.size(), nullptr)) << len;
        EXPECT_EQ(layout.GetRootPane(), nullptr) << len;
    }
}

TEST(LayoutBroken, OffsetsAndCountsPointingOutsideFail) {
    const auto good = PictureLayout();
    // Locate sections by tag to corrupt their fields.
    auto find = [&](const char* tag) {
        for (size_t i = 16; i + 4 <= good.size(); ++i)
            if (std::memcmp(&good[i], tag, 4) == 0) return i;
        return size_t(0);
    };
    auto patch32 = [](std::vector<uint8_t> b, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (24 - 8 * i));
        return b;
    };
    const size_t texl = find("texl"), matl = find("matl"), pict = find("pict");
    ExpectBroken(patch32(good, texl + 4, 0x7FFFFFF0), "section size past the end");
    ExpectBroken(patch32(good, texl + 4, 4), "section smaller than its header");
    ExpectBroken(patch32(good, texl + 12, 0x1000), "texture name offset past the end");
    ExpectBroken(patch32(good, matl + 12, 0xFFFFFF00), "material offset past the end");
    ExpectBroken(patch32(good, matl + 8, 0x00070000), "material count past the table");
    ExpectBroken(patch32(good, pict + 92, 0x00050000), "material index beyond the list");
    // Two material offsets at one record would convert it twice.
    ExpectBroken(patch32(patch32(good, matl + 8, 0x00020000), matl + 16, 16), "shared record");
    auto manySections = good;
    manySections[14] = 0xFF;
    ExpectBroken(manySections, "more sections than the file holds");
}

TEST(LayoutBroken, DeepNestingIsRefused) {
    FileWriter f;
    for (int i = 0; i <= Layout::kMaxNestDepth; ++i) {
        lytfix::Pane(f, lytfix::Named("p"));
        f.Marker("chbg");
    }
    ExpectBroken(f.Finish(), "nesting");
}

TEST(LayoutBroken, TextStringOutsideTheFileFails) {
    FileWriter f;
    lytfix::MaterialList(f, {lytfix::MaterialSpec{}});
    lytfix::TextBox(f, lytfix::Named("t"), 0, 16, u"abc");
    auto buf = f.Finish();
    // The string offset lives at section + 88; the txtb section starts after "matl".
    for (size_t i = 16; i + 4 <= buf.size(); ++i)
        if (std::memcmp(&buf[i], "txtb", 4) == 0) {
            buf[i + 88] = 0x7F;
            break;
        }
    ExpectBroken(buf, "string offset");
}

}  // namespace
