#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "common/ToolError.h"
#include "t2gpack/Extract.h"
#include "t2gpack/PackInputs.h"
#include "t2gpack/T2GArchive.h"

namespace {

using Bytes = std::vector<uint8_t>;

// --- An independent writer and reader, straight from the archive format table -------------

void U32(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
    b.push_back(uint8_t(v >> 16));
    b.push_back(uint8_t(v >> 24));
}

// Header: "T2GF", reserved, long flag, count (+48 reserved bytes in the long form).
Bytes Header(bool longForm, uint32_t count) {
    Bytes b = {'T', '2', 'G', 'F'};
    U32(b, 0);
    U32(b, longForm ? 1 : 0);
    U32(b, count);
    if (longForm) b.resize(64, 0);
    return b;
}

// Entry: reserved, name field (24 or 52 bytes), data size, stored size, data (+ padding).
void Entry(Bytes& b, bool longForm, const std::string& name, const Bytes& data) {
    U32(b, 0);
    size_t width = longForm ? 52 : 24;
    size_t at = b.size();
    b.resize(at + width, 0);
    std::memcpy(b.data() + at, name.data(), name.size());
    uint32_t stored = uint32_t((data.size() + 3) / 4 * 4);
    U32(b, uint32_t(data.size()));
    U32(b, stored);
    b.insert(b.end(), data.begin(), data.end());
    b.resize(b.size() + (stored - data.size()), 0);
}

uint32_t Get32(const Bytes& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

struct Seen {
    std::string name;
    Bytes data;
    uint32_t storedSize;
};

// Walks an archive as the program's reader would: next entry at data + stored rounded down.
std::vector<Seen> IndependentRead(const Bytes& b) {
    std::vector<Seen> out;
    EXPECT_GE(b.size(), 16u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "T2GF");
    bool longForm = Get32(b, 8) != 0;
    int32_t count = int32_t(Get32(b, 12));
    size_t width = longForm ? 52 : 24;
    size_t pos = longForm ? 64 : 16;
    for (int32_t i = 0; i < count; ++i) {
        Seen s;
        const char* name = reinterpret_cast<const char*>(b.data() + pos + 4);
        s.name.assign(name, strnlen(name, width));
        uint32_t dataSize = Get32(b, pos + 4 + width);
        s.storedSize = Get32(b, pos + 8 + width);
        size_t data = pos + 12 + width;
        s.data.assign(b.begin() + long(data), b.begin() + long(data + dataSize));
        out.push_back(s);
        pos = data + (s.storedSize & ~3u);
    }
    EXPECT_EQ(pos, b.size());
    return out;
}

t2g::PackEntry Pack(const std::string& name, const Bytes& data) {
    t2g::PackEntry e;
    e.name = name;
    e.data = data;
    e.originFile = "test.pack";
    e.originLine = 7;
    return e;
}

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const tools::ToolError& e) {
        return e.Describe();
    }
    return "(no error)";
}

}  // namespace

TEST(T2GPack, ShortFormMatchesTheFormatByteForByte) {
    Bytes five = {1, 2, 3, 4, 5};
    Bytes eight = {9, 9, 9, 9, 8, 8, 8, 8};
    Bytes expected = Header(false, 2);
    Entry(expected, false, "COMN_BG.tga", five);
    Entry(expected, false, "a.lyt", eight);

    Bytes built = t2g::BuildArchive({Pack("COMN_BG.tga", five), Pack("a.lyt", eight)});
    EXPECT_EQ(built, expected);
    // 16 header + (4+24+8+8) + (4+24+8+8)
    EXPECT_EQ(built.size(), 16u + 44u + 44u);
    auto seen = IndependentRead(built);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].name, "COMN_BG.tga");
    EXPECT_EQ(seen[0].data, five);
    EXPECT_EQ(seen[0].storedSize, 8u);
    EXPECT_EQ(seen[1].data, eight);
    EXPECT_EQ(seen[1].storedSize, 8u);
}

TEST(T2GPack, PaddingAndReservedWordsAreZero) {
    Bytes built = t2g::BuildArchive({Pack("x", {0xFF})});
    EXPECT_EQ(Get32(built, 4), 0u);   // header reserved
    EXPECT_EQ(Get32(built, 16), 0u);  // entry reserved
    ASSERT_EQ(built.size(), 16u + 4 + 24 + 8 + 4);
    EXPECT_EQ(built[built.size() - 4], 0xFF);
    EXPECT_EQ(built[built.size() - 3], 0);
    EXPECT_EQ(built[built.size() - 2], 0);
    EXPECT_EQ(built[built.size() - 1], 0);
    // The rest of the name field after the NUL is zero too.
    for (size_t i = 16 + 4 + 1; i < 16 + 4 + 24; ++i) EXPECT_EQ(built[i], 0) << i;
}

TEST(T2GPack, LongFormOnlyWhenANameNeedsIt) {
    const std::string name23(23, 'n');
    const std::string name24 = std::string(20, 'm') + ".tga";
    Bytes shortOne = t2g::BuildArchive({Pack(name23, {1, 2})});
    EXPECT_EQ(Get32(shortOne, 8), 0u);

    Bytes expected = Header(true, 2);
    Entry(expected, true, name23, {1, 2});
    Entry(expected, true, name24, {3});
    Bytes longOne = t2g::BuildArchive({Pack(name23, {1, 2}), Pack(name24, {3})});
    EXPECT_EQ(longOne, expected);
    auto seen = IndependentRead(longOne);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].name, name24);

    // Forced long form with short names.
    Bytes forced = t2g::BuildArchive({Pack("a", {1})}, true);
    EXPECT_EQ(Get32(forced, 8), 1u);
    EXPECT_EQ(forced.size(), 64u + 64u + 4u);
}

TEST(T2GPack, EmptyDataMakesAnEmptyEntry) {
    Bytes built = t2g::BuildArchive({Pack("empty.txt", {}), Pack("b", {7})});
    auto seen = IndependentRead(built);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].data.empty());
    EXPECT_EQ(seen[1].data, Bytes{7});
}

TEST(T2GPack, RefusesBadEntryListsAtTheirOrigin) {
    EXPECT_NE(ErrorOf([] { t2g::BuildArchive({}); }).find("nothing to pack"), std::string::npos);
    EXPECT_EQ(ErrorOf([] {
                  t2g::BuildArchive({Pack("A.tga", {1}), Pack("a.TGA", {2})});
              }),
              "test.pack:7: duplicate entry name 'a.TGA' (same as 'A.tga' from test.pack:7)");
    EXPECT_EQ(
        ErrorOf([] { t2g::BuildArchive({Pack(std::string(52, 'x'), {1})}); }),
        "test.pack:7: entry name '" + std::string(52, 'x') + "' is longer than 51 characters");
    EXPECT_EQ(ErrorOf([] { t2g::BuildArchive({Pack("caf\xc3\xa9", {1})}); }),
              "test.pack:7: entry name 'caf\xc3\xa9' is not printable ASCII");
    EXPECT_EQ(ErrorOf([] { t2g::BuildArchive({Pack("", {1})}); }), "test.pack:7: empty entry name");
}

TEST(T2GPack, ListingReadsWhatWasPacked) {
    Bytes built = t2g::BuildArchive({Pack("one.tga", {1, 2, 3}), Pack("two.otf", Bytes(9, 4))});
    auto info = t2g::ReadArchive(built, "x.T2G");
    EXPECT_FALSE(info.longForm);
    ASSERT_EQ(info.entries.size(), 2u);
    EXPECT_EQ(info.entries[1].name, "two.otf");
    EXPECT_EQ(info.entries[1].dataSize, 9u);
    EXPECT_EQ(info.entries[1].storedSize, 12u);
    EXPECT_EQ(built[info.entries[1].dataOffset], 4);
    EXPECT_NE(t2g::FormatListing(info).find("9         12  two.otf"), std::string::npos);
}

TEST(T2GPack, ListingFollowsStoredSizeRoundedDown) {
    // Hand-made archive whose first stored size (6) is not a multiple of 4: the second entry
    // starts 4 bytes after the first entry's data.
    Bytes b = Header(false, 2);
    U32(b, 0);
    b.resize(b.size() + 24, 0);
    b[20] = 'a';
    U32(b, 4);
    U32(b, 6);
    b.insert(b.end(), {1, 2, 3, 4});
    Entry(b, false, "b", {5, 6, 7, 8});
    auto info = t2g::ReadArchive(b, "odd.T2G");
    ASSERT_EQ(info.entries.size(), 2u);
    EXPECT_EQ(info.entries[1].name, "b");
    EXPECT_EQ(b[info.entries[1].dataOffset], 5);
}

TEST(T2GPack, ListingRejectsBrokenArchives) {
    Bytes good = t2g::BuildArchive({Pack("a", {1, 2, 3, 4})});
    Bytes magic = good;
    magic[0] = 'X';
    EXPECT_NE(ErrorOf([&] { t2g::ReadArchive(magic, "m.T2G"); }).find("m.T2G: not an archive"),
              std::string::npos);
    Bytes zero = Header(false, 0);
    EXPECT_NE(ErrorOf([&] { t2g::ReadArchive(zero, "z"); }).find("count 0 is not positive"),
              std::string::npos);
    Bytes negative = Header(false, 0xFFFFFFFF);
    EXPECT_NE(ErrorOf([&] { t2g::ReadArchive(negative, "n"); }).find("count -1"),
              std::string::npos);
    Bytes truncated(good.begin(), good.end() - 2);
    EXPECT_NE(ErrorOf([&] { t2g::ReadArchive(truncated, "t"); }).find("past the end"),
              std::string::npos);
    Bytes moreEntries = good;
    moreEntries[12] = 2;  // claims a second entry that is not there
    EXPECT_NE(ErrorOf([&] { t2g::ReadArchive(moreEntries, "e"); }).find("entry 1"),
              std::string::npos);
    Bytes storedSmall = good;
    storedSmall[16 + 4 + 24 + 4] = 2;  // stored size 2 < data size 4
    EXPECT_NE(ErrorOf([&] { t2g::ReadArchive(storedSmall, "s"); }).find("smaller than data size"),
              std::string::npos);
    EXPECT_NE(ErrorOf([&] {
                  t2g::ReadArchive(Bytes{'T', '2'}, "short");
              }).find("too short"),
              std::string::npos);
}

TEST(T2GPack, ExtractWritesDataAndRefusesPathsInNames) {
    TempFolder tmp("extract");
    Bytes built = t2g::BuildArchive({Pack("a.bin", {1, 2, 3}), Pack("b.bin", {4})});
    auto info = t2g::ReadArchive(built, "x");
    EXPECT_EQ(t2g::ExtractArchive(built, info, tmp.path().string(), "x"), 2u);
    EXPECT_EQ(std::filesystem::file_size(tmp.path() / "a.bin"), 3u);

    Bytes evil = Header(false, 1);
    Entry(evil, false, "../evil.bin", {1});
    auto evilInfo = t2g::ReadArchive(evil, "evil.T2G");
    EXPECT_NE(ErrorOf([&] {
                  t2g::ExtractArchive(evil, evilInfo, tmp.path().string(), "evil.T2G");
              }).find("cannot be used as a file name"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(tmp.path().parent_path() / "evil.bin"));
    EXPECT_FALSE(t2g::IsSafeFileName(".."));
    EXPECT_FALSE(t2g::IsSafeFileName("a\\b"));
    EXPECT_TRUE(t2g::IsSafeFileName("COMN_BG.tga"));
}

TEST(T2GPack, ManifestNamesFilesAndFolders) {
    TempFolder tmp("manifest");
    tmp.Write("img/b.tga", "BB");
    tmp.Write("img/a.tga", "A");
    tmp.Write("img/.hidden", "x");
    tmp.Write("font.ttf", "FONT");
    std::string manifest = tmp.Write("list.pack",
                                     "# fonts first\n"
                                     "UIGothic-Bold.otf = font.ttf   # renamed\n"
                                     "\n"
                                     "img\n");
    auto entries = t2g::ReadManifest(manifest);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "UIGothic-Bold.otf");
    EXPECT_EQ(entries[0].data, (Bytes{'F', 'O', 'N', 'T'}));
    EXPECT_EQ(entries[0].originLine, 2);
    EXPECT_EQ(entries[1].name, "a.tga");
    EXPECT_EQ(entries[2].name, "b.tga");

    auto fromArgs = t2g::CollectInputs({"X.bin=" + (tmp.path() / "font.ttf").string(), manifest});
    ASSERT_EQ(fromArgs.size(), 4u);
    EXPECT_EQ(fromArgs[0].name, "X.bin");
}

TEST(T2GPack, ManifestFaultsNameTheirLine) {
    TempFolder tmp("manifest_err");
    std::string missing = tmp.Write("m1.pack", "# x\n\nnot-there.tga\n");
    EXPECT_EQ(ErrorOf([&] { t2g::ReadManifest(missing); }),
              missing + ":3: no such file: " + (tmp.path() / "not-there.tga").string());
    std::string noName = tmp.Write("m2.pack", " = a.tga\n");
    EXPECT_EQ(ErrorOf([&] { t2g::ReadManifest(noName); }), noName + ":1: missing name before '='");
    std::string noPath = tmp.Write("m3.pack", "\nA.tga =\n");
    EXPECT_EQ(ErrorOf([&] { t2g::ReadManifest(noPath); }), noPath + ":2: missing path after '='");
    tmp.Write("dup.bin", "1");
    std::string dup = tmp.Write("m4.pack", "dup.bin\nDUP.BIN = dup.bin\n");
    EXPECT_EQ(ErrorOf([&] { t2g::BuildArchive(t2g::ReadManifest(dup)); }),
              dup + ":2: duplicate entry name 'DUP.BIN' (same as 'dup.bin' from " + dup + ":1)");
}

TEST(T2GPack, ManifestCyclesAreCaught) {
    TempFolder tmp("manifest_cycle");
    std::string a = tmp.Write("a.pack", "b.pack\n");
    tmp.Write("b.pack", "\na.pack\n");
    EXPECT_NE(ErrorOf([&] { t2g::ReadManifest(a); }).find("nested too deeply"), std::string::npos);
}
