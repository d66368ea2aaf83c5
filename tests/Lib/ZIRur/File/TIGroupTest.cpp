#include "Lib/ZIRur/File/TIGroup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Lib/ZIRur/Util/DebugLog.h"
#include "support/T2gWriter.h"

using testsupport::BuildT2g;
using testsupport::T2gEntrySpec;

namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

std::string EntryText(const CTIGroup& group, const char* name) {
    const uint8_t* data = group.GetT2IBuffer(name);
    if (data == nullptr) return "<null>";
    return std::string(reinterpret_cast<const char*>(data), group.GetT2ISize(name));
}

class TIGroupFileTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir = testsupport::MakeTempDir("t2g"); }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::string path = m_dir + "/" + name;
        EXPECT_TRUE(testsupport::WriteFile(path, bytes));
        return path;
    }
    std::string m_dir;
};

}  // namespace

// --- Lookups ---

TEST(TIGroupLookup, FoldsCaseBothWays) {
    auto archive = BuildT2g({{"comn_bg.tga", Bytes("lower")}, {"A1_VXL_LOGO.TGA", Bytes("upper")}});
    CTIGroup group;
    ASSERT_TRUE(group.OpenProcess("mem", archive));
    EXPECT_EQ(EntryText(group, "COMN_BG.TGA"), "lower");
    EXPECT_EQ(EntryText(group, "Comn_Bg.tga"), "lower");
    EXPECT_EQ(EntryText(group, "a1_vxl_logo.tga"), "upper");
    EXPECT_EQ(group.GetT2ISize("a1_vxl_logo.TGA"), 5u);
    EXPECT_EQ(group.GetT2IStoredSize("a1_vxl_logo.TGA"), 8u);
    EXPECT_EQ(group.GetT2IBuffer("missing.tga"), nullptr);
    EXPECT_EQ(group.GetT2ISize("missing.tga"), 0u);
    EXPECT_EQ(group.GetT2IStoredSize("missing.tga"), 0u);
}

TEST(TIGroupLookup, NameWidthLimitsInShortAndLongForm) {
    const std::string name23(23, 'a');
    const std::string name24(24, 'b');
    const std::string name51(51, 'c');
    {
        auto archive = BuildT2g({{name23, Bytes("23")}});
        CTIGroup group;
        ASSERT_TRUE(group.OpenProcess("short", archive));
        EXPECT_EQ(group.NameWidth(), 24);
        EXPECT_EQ(EntryText(group, name23.c_str()), "23");
        dbglog::Capture log;
        EXPECT_EQ(group.GetT2IBuffer(name24.c_str()), nullptr);
        EXPECT_EQ(group.GetT2ISize(name24.c_str()), 0u);
        EXPECT_EQ(group.GetT2IStoredSize(name24.c_str()), 0u);
        const std::string line = "CTIGroup::GetT2IBuffer() File Name is too long! " + name24 + "\n";
        EXPECT_EQ(log.Text(), line + line + line);
    }
    {
        auto archive = BuildT2g({{name51, Bytes("51")}, {name24, Bytes("24")}}, true);
        CTIGroup group;
        ASSERT_TRUE(group.OpenProcess("long", archive));
        EXPECT_EQ(group.NameWidth(), 52);
        EXPECT_EQ(EntryText(group, name51.c_str()), "51");
        EXPECT_EQ(EntryText(group, name24.c_str()), "24");
        dbglog::Capture log;
        EXPECT_EQ(group.GetT2IBuffer((name51 + "x").c_str()), nullptr);
        EXPECT_NE(log.Text().find("File Name is too long!"), std::string::npos);
    }
}

TEST(TIGroupLookup, LaterDuplicateWins) {
    auto archive = BuildT2g({{"Same.lyt", Bytes("first")}, {"SAME.LYT", Bytes("second!")}});
    CTIGroup group;
    ASSERT_TRUE(group.OpenProcess("dup", archive));
    EXPECT_EQ(group.EntryCount(), 2);
    EXPECT_EQ(EntryText(group, "same.lyt"), "second!");
}

TEST(TIGroupLookup, GimEntryIsListedWithoutBuffer) {
    auto archive = BuildT2g({{"pic.GiM", Bytes("gimdata")}, {"pic.tga", Bytes("tga")}});
    CTIGroup group;
    ASSERT_TRUE(group.OpenProcess("gim", archive));
    EXPECT_EQ(group.GetT2IBuffer("PIC.GIM"), nullptr);
    EXPECT_EQ(group.GetT2ISize("PIC.GIM"), 7u);
    EXPECT_EQ(EntryText(group, "pic.tga"), "tga");
}

TEST(TIGroupLookup, UnalignedStoredSizeRoundsDownForTheNextEntry) {
    // Stored size 6: the next entry header starts 4 bytes into the data.
    auto archive = BuildT2g({{"a.bin", Bytes("abcdef"), 6}, {"b.bin", Bytes("next")}});
    // Cross-check the writer against the table: second header at 16 + 36 + 4.
    ASSERT_EQ(std::memcmp(archive.data() + 16 + 36 + 4 + 4, "b.bin", 5), 0);
    CTIGroup group;
    ASSERT_TRUE(group.OpenProcess("unaligned", archive));
    EXPECT_EQ(group.GetT2IStoredSize("a.bin"), 6u);
    EXPECT_EQ(EntryText(group, "b.bin"), "next");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(group.GetT2IBuffer("a.bin")), 4), "abcd");
}

// --- Opening ---

TEST(TIGroupOpen, RejectsBadHeaders) {
    for (int32_t count : {0, -1, -100}) {
        auto archive = BuildT2g({{"x.bin", Bytes("data")}}, false, count);
        CTIGroup group;
        EXPECT_FALSE(group.OpenProcess("count", archive)) << count;
        EXPECT_FALSE(group.IsOpen());
        EXPECT_EQ(group.EntryCount(), 0);
    }
    auto archive = BuildT2g({{"x.bin", Bytes("data")}});
    archive[3] = 'X';
    CTIGroup group;
    EXPECT_FALSE(group.OpenProcess("magic", archive));
    dbglog::Capture log;
    EXPECT_FALSE(group.OpenProcess(nullptr));
    EXPECT_EQ(log.Text(), "CTIGroup::OpenProcess() --- input filename is NULL.\n");
}

TEST(TIGroupOpen, RefusesArchivesRunningPastTheirEnd) {
    auto good = BuildT2g({{"one.bin", Bytes("12345678")}, {"two.bin", Bytes("abcd")}});
    {
        CTIGroup group;
        ASSERT_TRUE(group.OpenProcess("good", good));
    }
    // Truncated anywhere: inside the header, an entry header or entry data.
    for (size_t cut : {size_t(10), size_t(16 + 20), size_t(16 + 36 + 3), good.size() - 1}) {
        std::vector<uint8_t> shortened(good.begin(), good.begin() + long(cut));
        CTIGroup group;
        EXPECT_FALSE(group.OpenProcess("cut", shortened)) << cut;
        EXPECT_EQ(group.GetT2IBuffer("one.bin"), nullptr);
    }
    // A count promising more entries than the file holds.
    auto lying = BuildT2g({{"one.bin", Bytes("12345678")}}, false, 3);
    CTIGroup group;
    EXPECT_FALSE(group.OpenProcess("lying", lying));
    // A data size past the end.
    auto huge = good;
    huge[16 + 4 + 24] = 0xFF;
    huge[16 + 4 + 24 + 3] = 0x7F;
    EXPECT_FALSE(group.OpenProcess("huge", huge));
}

TEST_F(TIGroupFileTest, ReadsFromFileAndLogsTheRead) {
    std::vector<uint8_t> big(3000, 'z');
    std::string path = Write("A_1.T2G", BuildT2g({{"big.bin", big}}));
    CTIGroup group;
    dbglog::Capture log;
    ASSERT_TRUE(group.Open(path.c_str()));
    EXPECT_EQ(log.Text(), "CTIGroup::ReadFile()\tSize =    2KB,\tRead =    2KB,\t" + path + "\n");
    EXPECT_EQ(group.FileSize(), 3000u + 16 + 36);
    EXPECT_EQ(group.GetT2ISize("BIG.BIN"), 3000u);
}

TEST_F(TIGroupFileTest, MissingFileFailsAfterEveryAttempt) {
    std::string path = m_dir + "/NONE.T2G";
    CTIGroup group;
    dbglog::Capture log;
    EXPECT_FALSE(group.Open(path.c_str()));
    const std::string text = log.Text();
    size_t blocks = 0;
    for (size_t at = 0; (at = text.find("ReadFile() is error! " + path, at)) != std::string::npos;
         ++at)
        ++blocks;
    EXPECT_EQ(blocks, 101u);
    EXPECT_EQ(text.rfind("Waring\n\tm_pBuf(=0) is not valid value.\n\tLib/ZIRur/File/TIGroup(", 0),
              0u);
    // A zero-length file reads as nothing.
    std::string empty = Write("EMPTY.T2G", {});
    EXPECT_FALSE(group.OpenProcess(empty.c_str()));
}

TEST_F(TIGroupFileTest, SameNameReparsesResidentBufferAnotherNameCloses) {
    std::string first = Write("A_1.T2G", BuildT2g({{"a.lyt", Bytes("AAAA")}}));
    std::string second = Write("B_1.T2G", BuildT2g({{"b.lyt", Bytes("BBBB")}}));
    CTIGroup group;
    ASSERT_TRUE(group.Open(first.c_str()));
    // Convert in place, as the layout library does, then replace the file on disk as the data
    // tools and the package manager do: a new file renamed over the old one.
    group.GetT2IBuffer("a.lyt")[0] = 'X';
    std::filesystem::rename(Write("new.T2G", BuildT2g({{"other.lyt", Bytes("CCCC")}})), first);
    dbglog::Capture log;
    ASSERT_TRUE(group.Open(first.c_str()));
    EXPECT_EQ(log.Text(), "");  // no read
    EXPECT_EQ(EntryText(group, "a.lyt"), "XAAA");
    EXPECT_EQ(group.GetT2IBuffer("other.lyt"), nullptr);

    ASSERT_TRUE(group.Open(second.c_str()));
    EXPECT_EQ(group.GetT2IBuffer("a.lyt"), nullptr);
    EXPECT_EQ(EntryText(group, "b.lyt"), "BBBB");
    // Closing forgets everything; opening the first name again reads the new file.
    group.Close();
    EXPECT_FALSE(group.IsOpen());
    EXPECT_EQ(group.GetT2IBuffer("b.lyt"), nullptr);
    ASSERT_TRUE(group.Open(first.c_str()));
    EXPECT_EQ(EntryText(group, "other.lyt"), "CCCC");
}

TEST(TIGroupOpen, MisalignedCallerBufferIsLoggedNotRefused) {
    auto archive = BuildT2g({{"x.bin", Bytes("data")}});
    alignas(64) uint8_t storage[256] = {};
    std::memcpy(storage + 4, archive.data(), archive.size());
    CTIGroup group;
    dbglog::Capture log;
    ASSERT_TRUE(group.OpenProcess("misaligned", std::span<uint8_t>(storage + 4, archive.size())));
    EXPECT_NE(log.Text().find("is 64bytes alignment error! misaligned\n"), std::string::npos);
    EXPECT_EQ(EntryText(group, "x.bin"), "data");
    EXPECT_EQ(group.GetT2IBuffer("x.bin"), storage + 4 + 16 + 36);
}

TEST_F(TIGroupFileTest, DroppedEntriesReadAgainFromTheFileLayoutsKeepTheirChanges) {
    // Entries of three pages each, so that whole pages lie inside them.
    const std::vector<uint8_t> image(3 * 4096, 'p');
    const std::vector<uint8_t> layout(3 * 4096, 'l');
    std::string path = Write("C_1.T2G", BuildT2g({{"big.tga", image}, {"C_1.lyt", layout}}));
    CTIGroup group;
    ASSERT_TRUE(group.Open(path.c_str()));
    // A change in place shows whether a page was handed back: it is read again from the file.
    group.GetT2IBuffer("big.tga")[5000] = 'X';
    group.GetT2IBuffer("C_1.lyt")[5000] = 'X';
    group.DropEntryPages("big.tga");
    group.DropEntryPages("C_1.lyt");
    EXPECT_EQ(EntryText(group, "big.tga"), std::string(image.begin(), image.end()));
    EXPECT_EQ(group.GetT2IBuffer("C_1.lyt")[5000], 'X') << "a built layout keeps its conversion";
    // An archive handed in as a buffer has nothing to hand back.
    auto bytes = BuildT2g({{"big.tga", image}});
    CTIGroup inMemory;
    ASSERT_TRUE(inMemory.OpenProcess("mem", bytes));
    inMemory.GetT2IBuffer("big.tga")[5000] = 'X';
    inMemory.DropEntryPages("big.tga");
    EXPECT_EQ(inMemory.GetT2IBuffer("big.tga")[5000], 'X');
}
