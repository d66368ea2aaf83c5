// The fuzz seeds are written by this test (STONEWELL_WRITE_SEEDS=1) from the same fixture
// writer; every run checks that the committed seeds are still valid inputs and unchanged.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "Lib/lyt/animation.h"
#include "Lib/lyt/layout.h"
#include "LytFixture.h"

using namespace LYRALib::lytmgr;
using lytfix::FileWriter;

namespace {

std::map<std::string, std::vector<uint8_t>> LayoutSeeds() {
    std::map<std::string, std::vector<uint8_t>> seeds;
    {
        FileWriter f;
        lytfix::LayoutInfo(f, 1024, 768);
        lytfix::TextureList(f, {"a.tga", "b.tex"});
        lytfix::MaterialSpec m;
        m.textures = {0, 1};
        m.texSRTs = 1;
        m.matColor = true;
        lytfix::MaterialList(f, {m, lytfix::MaterialSpec{}});
        lytfix::Pane(f, lytfix::Named("RootPane"));
        f.Marker("chbg");
        lytfix::Picture(f, lytfix::Named("pic"), 0);
        lytfix::TextBox(f, lytfix::Named("txt"), 1, 16, u"Go");
        f.Marker("chen");
        seeds["pictures"] = f.Finish();
    }
    {
        FileWriter f("SLYT", 0x000A);
        lytfix::Pane(f, lytfix::Named("RootPane"));
        f.Marker("chbg");
        lytfix::Window(f, lytfix::Named("win"));
        f.Marker("chbg");
        lytfix::Pane(f, lytfix::Named("inner"), "bndg");
        const size_t s = f.Begin("usrd");
        f.w.U16(1), f.w.U16(0);
        f.w.U32(12), f.w.U32(0), f.w.U32(0);
        f.w.CStr("speed");
        f.w.Align4();
        f.End(s);
        f.Marker("chen");
        f.Marker("chen");
        lytfix::GroupSection(f, "RootGroup", {});
        f.Marker("gpbg");
        lytfix::GroupSection(f, "G1", {"win", "inner"});
        f.Marker("gpen");
        seeds["tree_groups"] = f.Finish();
    }
    return seeds;
}

std::map<std::string, std::vector<uint8_t>> AnimationSeeds() {
    std::map<std::string, std::vector<uint8_t>> seeds;
    lytfix::AnimSpec a;
    a.textures = {"a.tga", "missing.tga"};
    lytfix::ContentSpec pane{"pic", 0, {}};
    pane.infos.push_back({"APSR", {{0, 0, {{0, 0, 1}, {10, 10, 0}}}}});
    pane.infos.push_back({"AVCL", {{0, 16, {{0, 0}, {5, 255}}}}});
    pane.infos.push_back({"AVIS", {{0, 0, {{0, 1}, {10, 0}}}}});
    lytfix::ContentSpec mat{"mat", 1, {}};
    mat.infos.push_back({"AMCL", {{0, 4, {{0, 300}}}}});
    mat.infos.push_back({"ATSR", {{1, 2, {{0, 0}, {30, 90}}}}});
    mat.infos.push_back({"ATPT", {{0, 0, {{0, 0}, {10, 1}}}}});
    a.contents = {pane, mat};
    seeds["curves"] = lytfix::Animation(a);
    a.withTag = true;
    a.tagGroups = {"G1"};
    a.descend = true;
    a.shares = {{"pic", "G1"}};
    seeds["tag_share"] = lytfix::Animation(a);
    return seeds;
}

void CheckSeeds(const char* folder, const std::map<std::string, std::vector<uint8_t>>& seeds,
                bool (*accepts)(std::vector<uint8_t>)) {
    const std::filesystem::path dir =
        std::filesystem::path(STONEWELL_SOURCE_DIR) / "tests/fuzz/corpus" / folder;
    const bool write = std::getenv("STONEWELL_WRITE_SEEDS") != nullptr;
    if (write) std::filesystem::create_directories(dir);
    for (const auto& [name, bytes] : seeds) {
        EXPECT_TRUE(accepts(bytes)) << name;
        const auto path = dir / name;
        if (write) {
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        }
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in.good()) << path << " (run with STONEWELL_WRITE_SEEDS=1)";
        std::vector<uint8_t> stored((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(stored, bytes) << path;
    }
}

TEST(SeedCorpus, LayoutSeedsBuild) {
    CheckSeeds("layout", LayoutSeeds(), [](std::vector<uint8_t> b) {
        Layout layout;
        return layout.Build(b.data(), b.size(), nullptr) && layout.GetRootPane() != nullptr;
    });
}

TEST(SeedCorpus, AnimationSeedsLoad) {
    CheckSeeds("animation", AnimationSeeds(), [](std::vector<uint8_t> b) {
        AnimResource res;
        return res.Set(b.data(), b.size()) && res.GetContents().size() == 2;
    });
}

}  // namespace
