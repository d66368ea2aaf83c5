#include "Lib/ZIRur/File/TIGroup.h"

#include <gtest/gtest.h>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>
#include "Lib/ZIRur/Util/DebugLog.h"
#include "support/ScratchDir.h"
#include "support/T2gWriter.h"

using testsupport::BuildT2g;

namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

std::string EntryText(const CTIGroup& group, const std::string& name) {
    const uint8_t* data = group.GetT2IBuffer(name.c_str());
    if (data == nullptr) return "<null>";
    return std::string(reinterpret_cast<const char*>(data), group.GetT2ISize(name.c_str()));
}

class TIGroupFileTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        EXPECT_TRUE(testsupport::WriteBytes(m_dir / name, bytes));
        return m_dir / name;
    }
    testsupport::ScratchDir m_dir;
};

// Stored size 6 of "a.bin": the next entry header starts 4 bytes into its data.
TEST(TIGroupLookup, FoldsCaseLaterDuplicateWinsGimHasNoBuffer) {
    auto archive = BuildT2g({{"comn_bg.tga", Bytes("lower")},
                             {"A1_VXL_LOGO.TGA", Bytes("upper")},
                             {"Same.lyt", Bytes("first")},
                             {"SAME.LYT", Bytes("second!")},
                             {"pic.GiM", Bytes("gimdata")},
                             {"a.bin", Bytes("abcdef"), 6},
                             {"b.bin", Bytes("next")}});
    CTIGroup group;
    ASSERT_TRUE(group.OpenProcess("mem", archive));
    EXPECT_EQ(group.EntryCount(), 7);
    EXPECT_EQ((std::vector<std::string>{
                  EntryText(group, "COMN_BG.TGA"), EntryText(group, "Comn_Bg.tga"),
                  EntryText(group, "a1_vxl_logo.tga"), EntryText(group, "same.lyt"),
                  EntryText(group, "PIC.GIM"), EntryText(group, "missing.tga"),
                  EntryText(group, "b.bin") + EntryText(group, "a.bin").substr(0, 4)}),
              (std::vector<std::string>{"lower", "lower", "upper", "second!", "<null>", "<null>",
                                        "nextabcd"}));
    EXPECT_EQ((std::vector<uint32_t>{
                  group.GetT2ISize("a1_vxl_logo.TGA"), group.GetT2IStoredSize("a1_vxl_logo.TGA"),
                  group.GetT2ISize("PIC.GIM"), group.GetT2ISize("missing.tga"),
                  group.GetT2IStoredSize("missing.tga"), group.GetT2IStoredSize("a.bin")}),
              (std::vector<uint32_t>{5, 8, 7, 0, 0, 6}));
}

TEST(TIGroupLookup, NameWidthLimitsInShortAndLongForm) {
    const std::string name23(23, 'a'), name24(24, 'b'), name51(51, 'c');
    CTIGroup group;
    auto shortForm = BuildT2g({{name23, Bytes("23")}});
    ASSERT_TRUE(group.OpenProcess("short", shortForm));
    EXPECT_EQ(group.NameWidth(), 24);
    EXPECT_EQ(EntryText(group, name23), "23");
    {
        dbglog::Capture log;
        EXPECT_EQ(group.GetT2IBuffer(name24.c_str()), nullptr);
        EXPECT_EQ(group.GetT2ISize(name24.c_str()) + group.GetT2IStoredSize(name24.c_str()), 0u);
        const std::string line = "CTIGroup::GetT2IBuffer() File Name is too long! " + name24 + "\n";
        EXPECT_EQ(log.Text(), line + line + line);
    }
    auto longForm = BuildT2g({{name51, Bytes("51")}, {name24, Bytes("24")}}, true);
    ASSERT_TRUE(group.OpenProcess("long", longForm));
    EXPECT_EQ(group.NameWidth(), 52);
    EXPECT_EQ(EntryText(group, name51), "51");
    EXPECT_EQ(EntryText(group, name24), "24");
    EXPECT_EQ(group.GetT2IBuffer((name51 + "x").c_str()), nullptr);
}

TEST(TIGroupOpen, RefusesBrokenArchivesAndLogsAMisalignedBuffer) {
    auto good = BuildT2g({{"one.bin", Bytes("12345678")}, {"two.bin", Bytes("abcd")}});
    std::vector<std::pair<std::string, std::vector<uint8_t>>> cases;
    for (int32_t count : {0, -1, -100}) {
        cases.emplace_back("count " + std::to_string(count),
                           BuildT2g({{"one.bin", Bytes("data")}}, false, count));
    }
    cases.emplace_back("count past the end", BuildT2g({{"one.bin", Bytes("12345678")}}, false, 3));
    cases.emplace_back("magic", good);
    cases.back().second[3] = 'X';
    cases.emplace_back("data size past the end", good);
    cases.back().second[16 + 4 + 24] = 0xFF, cases.back().second[16 + 4 + 24 + 3] = 0x7F;
    // Cut inside the header, an entry header or entry data.
    for (size_t cut : {size_t(10), size_t(16 + 20), size_t(16 + 36 + 3), good.size() - 1})
        cases.emplace_back("cut at " + std::to_string(cut),
                           std::vector<uint8_t>(good.begin(), good.begin() + long(cut)));
    for (auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        CTIGroup group;
        EXPECT_FALSE(group.OpenProcess("broken", bytes) || group.IsOpen() ||
                     group.GetT2IBuffer("one.bin"));
        EXPECT_EQ(group.EntryCount(), 0);
    }
    CTIGroup group;
    ASSERT_TRUE(group.OpenProcess("good", good));
    dbglog::Capture log;
    EXPECT_FALSE(group.OpenProcess(nullptr));
    EXPECT_EQ(log.Text(), "CTIGroup::OpenProcess() --- input filename is NULL.\n");
    // A misaligned caller buffer is logged, not refused.
    auto archive = BuildT2g({{"x.bin", Bytes("data")}});
    alignas(64) uint8_t storage[256] = {};
    std::memcpy(storage + 4, archive.data(), archive.size());
    log.Clear();
    ASSERT_TRUE(group.OpenProcess("misaligned", std::span<uint8_t>(storage + 4, archive.size())));
    EXPECT_NE(log.Text().find("is 64bytes alignment error! misaligned\n"), std::string::npos);
    EXPECT_EQ(group.GetT2IBuffer("x.bin"), storage + 4 + 16 + 36);
    EXPECT_EQ(EntryText(group, "x.bin"), "data");
}

TEST_F(TIGroupFileTest, ReadsFromFileAndLogsTheReadMissingFilesFail) {
    std::string path = Write("A_1.T2G", BuildT2g({{"big.bin", std::vector<uint8_t>(3000, 'z')}}));
    CTIGroup group;
    dbglog::Capture log;
    ASSERT_TRUE(group.Open(path.c_str()));
    EXPECT_EQ(log.Text(), "CTIGroup::ReadFile()\tSize =    2KB,\tRead =    2KB,\t" + path + "\n");
    EXPECT_EQ(std::tuple(group.FileSize(), group.GetT2ISize("BIG.BIN")),
              std::tuple(3000u + 16 + 36, 3000u));
    log.Clear();
    const std::string none = m_dir / "NONE.T2G";
    EXPECT_FALSE(group.Open(none.c_str()));
    const std::string text = log.Text();
    size_t blocks = 0;
    for (size_t at = 0; (at = text.find("ReadFile() is error! " + none, at)) != std::string::npos;
         ++at)
        ++blocks;
    EXPECT_EQ(blocks, 101u);
    EXPECT_EQ(text.rfind("Waring\n\tm_pBuf(=0) is not valid value.\n\tLib/ZIRur/File/TIGroup(", 0),
              0u);
    // A zero-length file reads as nothing.
    EXPECT_FALSE(group.OpenProcess(Write("EMPTY.T2G", {}).c_str()));
}

TEST_F(TIGroupFileTest, SameNameReparsesResidentBufferAnotherNameCloses) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows refuses to replace a mapped file; its installer replaces the "
                    "archives while the program is closed";
#endif
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
    EXPECT_EQ(EntryText(group, "a.lyt") + EntryText(group, "other.lyt"), "XAAA<null>");
    ASSERT_TRUE(group.Open(second.c_str()));
    EXPECT_EQ(EntryText(group, "a.lyt") + EntryText(group, "b.lyt"), "<null>BBBB");
    // Closing forgets everything; opening the first name again reads the new file.
    group.Close();
    EXPECT_FALSE(group.IsOpen() || group.GetT2IBuffer("b.lyt"));
    ASSERT_TRUE(group.Open(first.c_str()));
    EXPECT_EQ(EntryText(group, "other.lyt"), "CCCC");
}

TEST_F(TIGroupFileTest, DroppedEntriesReadAgainFromTheFileLayoutsKeepTheirChanges) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps a changed page of a copy-on-write view when it leaves the "
                    "working set, so the change this test watches for stays; the program drops "
                    "only pages it never changed";
#endif
    // Entries of three pages each, so that whole pages lie inside them. A change in place
    // shows whether a page was handed back: it is read again from the file.
    const std::vector<uint8_t> image(3 * 4096, 'p'), layout(3 * 4096, 'l');
    std::string path = Write("C_1.T2G", BuildT2g({{"big.tga", image}, {"C_1.lyt", layout}}));
    CTIGroup group, inMemory;
    auto bytes = BuildT2g({{"big.tga", image}});
    ASSERT_TRUE(group.Open(path.c_str()));
    ASSERT_TRUE(inMemory.OpenProcess("mem", bytes));
    for (CTIGroup* g : {&group, &inMemory})
        for (const char* name : {"big.tga", "C_1.lyt"})
            if (uint8_t* data = g->GetT2IBuffer(name)) data[5000] = 'X', g->DropEntryPages(name);
    EXPECT_EQ(EntryText(group, "big.tga"), std::string(image.begin(), image.end()));
    EXPECT_EQ(group.GetT2IBuffer("C_1.lyt")[5000], 'X') << "a built layout keeps its conversion";
    EXPECT_EQ(inMemory.GetT2IBuffer("big.tga")[5000], 'X') << "a buffer has nothing to hand back";
}

}  // namespace
