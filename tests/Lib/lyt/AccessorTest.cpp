#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/lyt/arcResourceAccessor.h"
#include "Lib/lyt/types.h"

using namespace LYRALib::lytmgr;

namespace {

// A short-form archive (little-endian) with the given entries; stored sizes padded to 4.
std::vector<uint8_t> Archive(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::vector<uint8_t> b;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
    };
    for (char c : std::string("T2GF")) b.push_back(uint8_t(c));
    u32(0);
    u32(0);  // short names
    u32(uint32_t(entries.size()));
    for (const auto& [name, data] : entries) {
        u32(0);
        for (size_t i = 0; i < 24; ++i) b.push_back(i < name.size() ? uint8_t(name[i]) : 0);
        const uint32_t stored = uint32_t((data.size() + 3) / 4 * 4);
        u32(uint32_t(data.size()));
        u32(stored);
        for (size_t i = 0; i < stored; ++i) b.push_back(i < data.size() ? uint8_t(data[i]) : 0);
    }
    return b;
}

TEST(ArcResourceAccessor, ServesImagesOnlyAndMapsTexToGtf) {
    auto bytes = Archive({{"A1_VXL_logo.tga", "IMAGE"}, {"button.gtf", "GTF!"}, {"x.lyt", "L"}});
    dbglog::Capture log;  // the archive may log about the buffer's alignment
    CTIGroup group;
    ASSERT_TRUE(group.OpenProcess("test.T2G", bytes));

    ArcResourceAccessor acc;
    uint32_t size = 99;
    EXPECT_EQ(acc.FindResource(MakeTag("imag"), "A1_VXL_logo.tga", &size), nullptr);
    EXPECT_EQ(size, 0u);  // no archive bound yet

    EXPECT_TRUE(acc.Attach(&group));
    void* logo = acc.FindResource(MakeTag("imag"), "a1_vxl_logo.TGA", &size);
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(std::memcmp(logo, "IMAGE", 5), 0);
    EXPECT_EQ(size, 5u);  // the exact size, not the padded 8

    EXPECT_EQ(acc.FindResource(MakeTag("font"), "A1_VXL_logo.tga", &size), nullptr);
    EXPECT_EQ(acc.FindResource(MakeTag("lyt "), "x.lyt", nullptr), nullptr);

    void* gtf = acc.FindResource(MakeTag("imag"), "button.tex", &size);
    ASSERT_NE(gtf, nullptr);
    EXPECT_EQ(std::memcmp(gtf, "GTF!", 4), 0);
    EXPECT_EQ(acc.FindResource(MakeTag("imag"), "missing.tga", &size), nullptr);
    EXPECT_EQ(acc.FindFont("UIGothic-Bold.otf"), nullptr);

    EXPECT_EQ(acc.Detach(), &group);
    EXPECT_EQ(acc.Detach(), nullptr);
    EXPECT_EQ(acc.FindResource(MakeTag("imag"), "button.tex", nullptr), nullptr);
}

}  // namespace
