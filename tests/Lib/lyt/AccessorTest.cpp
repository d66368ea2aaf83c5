#include <gtest/gtest.h>
#include <cstring>
#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/lyt/arcResourceAccessor.h"
#include "Lib/lyt/types.h"
#include "support/T2gWriter.h"

using namespace LYRALib::lytmgr;

namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

TEST(ArcResourceAccessor, ServesImagesOnlyAndMapsTexToGtf) {
    auto bytes = testsupport::BuildT2g({{"A1_VXL_logo.tga", Bytes("IMAGE")},
                                        {"button.gtf", Bytes("GTF!")},
                                        {"x.lyt", Bytes("L")}});
    dbglog::Capture log;  // the archive may log about the buffer's alignment
    CTIGroup group;
    ASSERT_TRUE(group.OpenProcess("test.T2G", bytes));
    const uint32_t imag = MakeTag("imag");
    ArcResourceAccessor acc;
    uint32_t size = 99;
    EXPECT_EQ(acc.FindResource(imag, "A1_VXL_logo.tga", &size), nullptr);
    EXPECT_EQ(size, 0u);  // no archive bound yet
    EXPECT_TRUE(acc.Attach(&group));
    void* logo = acc.FindResource(imag, "a1_vxl_logo.TGA", &size);
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(std::memcmp(logo, "IMAGE", 5), 0);
    EXPECT_EQ(size, 5u);  // the exact size, not the padded 8
    EXPECT_FALSE(acc.FindResource(MakeTag("font"), "A1_VXL_logo.tga", &size) ||
                 acc.FindResource(MakeTag("lyt "), "x.lyt", nullptr));
    void* gtf = acc.FindResource(imag, "button.tex", &size);
    ASSERT_NE(gtf, nullptr);
    EXPECT_EQ(std::memcmp(gtf, "GTF!", 4), 0);
    EXPECT_EQ(acc.FindResource(imag, "missing.tga", &size), nullptr);
    EXPECT_EQ(acc.FindFont("UIGothic-Bold.otf"), nullptr);
    EXPECT_EQ(acc.Detach(), &group);
    EXPECT_EQ(acc.Detach(), nullptr);
    EXPECT_EQ(acc.FindResource(imag, "button.tex", nullptr), nullptr);
}

}  // namespace
