#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Lib/ZIRur/File/TIGroup.h"
#include "TempFolder.h"
#include "common/FileIO.h"
#include "t2gpack/T2GArchive.h"

namespace {

t2g::PackEntry Pack(const std::string& name, std::vector<uint8_t> data) {
    t2g::PackEntry e;
    e.name = name;
    e.data = std::move(data);
    e.originFile = "test";
    return e;
}

// Packs the entries, writes the archive and opens it with the program's own reader.
void ExpectProgramReadsBack(const std::vector<t2g::PackEntry>& entries, bool longForm,
                            const std::string& tag) {
    TempFolder tmp(tag);
    auto path = (tmp.path() / "pack.T2G").string();
    tools::WriteBytes(path, t2g::BuildArchive(entries, longForm));
    CTIGroup group;
    ASSERT_TRUE(group.Open(path.c_str()));
    EXPECT_EQ(group.EntryCount(), int(entries.size()));
    EXPECT_EQ(group.NameWidth(), longForm ? 52 : 24);
    for (const auto& e : entries) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(group.GetT2ISize(e.name.c_str()), e.data.size());
        EXPECT_EQ(group.GetT2IStoredSize(e.name.c_str()), (e.data.size() + 3) / 4 * 4);
        const uint8_t* data = group.GetT2IBuffer(e.name.c_str());
        if (e.data.empty()) continue;
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(std::memcmp(data, e.data.data(), e.data.size()), 0);
    }
}

}  // namespace

TEST(T2GRoundTrip, ProgramReaderFindsEveryShortFormEntry) {
    std::vector<t2g::PackEntry> entries = {
        Pack("COMN_BG.tga", {1, 2, 3, 4, 5}), Pack("A1_layout.lyt", {6, 7}),
        Pack("UIGothic-Bold.otf", std::vector<uint8_t>(1001, 0xAB)), Pack("empty.bin", {}),
        Pack(std::string(23, 'z'), {9, 9, 9})};
    ExpectProgramReadsBack(entries, false, "roundtrip_short");
}

TEST(T2GRoundTrip, ProgramReaderFindsEveryLongFormEntry) {
    std::vector<t2g::PackEntry> entries = {
        Pack("COMN_stone19NumW_63.tga", {1}),  // 23 characters
        Pack("a_name_that_needs_the_long_form_of_the_archive.tga", {2, 3, 4, 5, 6}),
        Pack("short.tga", {7, 8, 9})};
    ExpectProgramReadsBack(entries, true, "roundtrip_long");
}
