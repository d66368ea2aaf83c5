#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "ToolErrorOf.h"
#include "common/FileIO.h"
#include "support/ScratchDir.h"
#include "t2gpack/Extract.h"
#include "t2gpack/PackInputs.h"
#include "t2gpack/T2GArchive.h"

namespace {

using tooltest::ErrorOf;
using Bytes = std::vector<uint8_t>;

// An independent writer, straight from the archive format table.
void U32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
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
    const size_t at = b.size();
    b.resize(at + (longForm ? 52 : 24), 0);
    std::memcpy(b.data() + at, name.data(), name.size());
    const uint32_t stored = uint32_t((data.size() + 3) / 4 * 4);
    U32(b, uint32_t(data.size()));
    U32(b, stored);
    b.insert(b.end(), data.begin(), data.end());
    b.resize(b.size() + (stored - data.size()), 0);
}

t2g::PackEntry Pack(const std::string& name, const Bytes& data) {
    t2g::PackEntry e;
    e.name = name;
    e.data = data;
    e.originFile = "test.pack";
    e.originLine = 7;
    return e;
}

}  // namespace

TEST(T2GPack, ArchivesMatchTheFormatByteForByte) {
    const Bytes five = {1, 2, 3, 4, 5}, eight = {9, 9, 9, 9, 8, 8, 8, 8};
    Bytes expected = Header(false, 2);
    Entry(expected, false, "COMN_BG.tga", five);
    Entry(expected, false, "a.lyt", eight);
    EXPECT_EQ(t2g::BuildArchive({Pack("COMN_BG.tga", five), Pack("a.lyt", eight)}), expected);

    // The long form only when a name needs it, or when asked for.
    const std::string name23(23, 'n'), name24 = std::string(20, 'm') + ".tga";
    EXPECT_EQ(t2g::BuildArchive({Pack(name23, {1, 2})})[8], 0);
    expected = Header(true, 2);
    Entry(expected, true, name23, {1, 2});
    Entry(expected, true, name24, {3});
    EXPECT_EQ(t2g::BuildArchive({Pack(name23, {1, 2}), Pack(name24, {3})}), expected);
    expected = Header(true, 1);
    Entry(expected, true, "a", {1});
    EXPECT_EQ(t2g::BuildArchive({Pack("a", {1})}, true), expected);
}

TEST(T2GPack, RefusesBadEntryListsAtTheirOrigin) {
    EXPECT_NE(ErrorOf([] { t2g::BuildArchive({}); }).find("nothing to pack"), std::string::npos);
    const std::pair<std::vector<t2g::PackEntry>, std::string> faults[] = {
        {{Pack("A.tga", {1}), Pack("a.TGA", {2})},
         "duplicate entry name 'a.TGA' (same as 'A.tga' from test.pack:7)"},
        {{Pack(std::string(52, 'x'), {1})},
         "entry name '" + std::string(52, 'x') + "' is longer than 51 characters"},
        {{Pack("caf\xc3\xa9", {1})}, "entry name 'caf\xc3\xa9' is not printable ASCII"},
        {{Pack("", {1})}, "empty entry name"},
    };
    for (const auto& [entries, message] : faults)
        EXPECT_EQ(ErrorOf([&] { t2g::BuildArchive(entries); }), "test.pack:7: " + message);
}

TEST(T2GPack, ListingFollowsStoredSizeRoundedDownAndRejectsBrokenArchives) {
    const Bytes built =
        t2g::BuildArchive({Pack("one.tga", {1, 2, 3}), Pack("two.otf", Bytes(9, 4))});
    auto info = t2g::ReadArchive(built, "x.T2G");
    EXPECT_FALSE(info.longForm);
    ASSERT_EQ(info.entries.size(), 2u);
    EXPECT_EQ(info.entries[1].name, "two.otf");
    EXPECT_EQ(info.entries[1].dataSize, 9u);
    EXPECT_EQ(info.entries[1].storedSize, 12u);
    EXPECT_EQ(built[info.entries[1].dataOffset], 4);
    EXPECT_NE(t2g::FormatListing(info).find("9         12  two.otf"), std::string::npos);

    // A first stored size (6) that is not a multiple of 4: the next entry starts 4 bytes on.
    Bytes odd = Header(false, 2);
    Entry(odd, false, "a", {1, 2, 3, 4});
    odd[16 + 4 + 24 + 4] = 6;
    Entry(odd, false, "b", {5, 6, 7, 8});
    info = t2g::ReadArchive(odd, "odd.T2G");
    ASSERT_EQ(info.entries.size(), 2u);
    EXPECT_EQ(info.entries[1].name, "b");
    EXPECT_EQ(odd[info.entries[1].dataOffset], 5);

    const Bytes good = t2g::BuildArchive({Pack("a", {1, 2, 3, 4})});
    const auto spoilt = [&](size_t at, uint8_t value) {
        Bytes b = good;
        b[at] = value;
        return b;
    };
    const std::pair<Bytes, std::string> broken[] = {
        {spoilt(0, 'X'), "b.T2G: not an archive"},
        {Header(false, 0), "count 0 is not positive"},
        {Header(false, 0xFFFFFFFF), "count -1"},
        {Bytes(good.begin(), good.end() - 2), "past the end"},
        {spoilt(12, 2), "entry 1"},  // claims a second entry that is not there
        {spoilt(16 + 4 + 24 + 4, 2), "smaller than data size"},
        {Bytes{'T', '2'}, "too short"},
    };
    for (const auto& [bytes, message] : broken)
        EXPECT_NE(ErrorOf([&] { t2g::ReadArchive(bytes, "b.T2G"); }).find(message),
                  std::string::npos)
            << message;
}

TEST(T2GPack, ExtractWritesDataAndRefusesPathsInNames) {
    testsupport::ScratchDir tmp;
    const Bytes built = t2g::BuildArchive({Pack("a.bin", {1, 2, 3}), Pack("b.bin", {4})});
    EXPECT_EQ(t2g::ExtractArchive(built, t2g::ReadArchive(built, "x"), tmp.Path(), "x"), 2u);
    EXPECT_EQ(std::filesystem::file_size(tmp / "a.bin"), 3u);

    Bytes evil = Header(false, 1);
    Entry(evil, false, "../evil.bin", {1});
    const auto evilInfo = t2g::ReadArchive(evil, "evil.T2G");
    EXPECT_NE(ErrorOf([&] {
                  t2g::ExtractArchive(evil, evilInfo, tmp.Path(), "evil.T2G");
              }).find("cannot be used as a file name"),
              std::string::npos);
    EXPECT_FALSE(
        std::filesystem::exists(std::filesystem::path(tmp.Path()).parent_path() / "evil.bin"));
    EXPECT_FALSE(t2g::IsSafeFileName(".."));
    EXPECT_FALSE(t2g::IsSafeFileName("a\\b"));
}

TEST(T2GPack, ManifestNamesFilesAndFoldersAndItsFaultsTheirLine) {
    testsupport::ScratchDir tmp;
    const auto write = [&](const std::string& name, const std::string& text) {
        tools::WriteText(tmp / name, text);
        return tmp / name;
    };
    write("img/b.tga", "BB");
    write("img/a.tga", "A");
    write("img/.hidden", "x");
    write("font.ttf", "FONT");
    const std::string manifest =
        write("list.pack", "# fonts first\nUIGothic-Bold.otf = font.ttf   # renamed\n\nimg\n");
    auto entries = t2g::ReadManifest(manifest);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "UIGothic-Bold.otf");
    EXPECT_EQ(entries[0].data, (Bytes{'F', 'O', 'N', 'T'}));
    EXPECT_EQ(entries[0].originLine, 2);
    EXPECT_EQ(entries[1].name, "a.tga");
    EXPECT_EQ(entries[2].name, "b.tga");
    auto fromArgs = t2g::CollectInputs({"X.bin=" + (tmp / "font.ttf"), manifest});
    ASSERT_EQ(fromArgs.size(), 4u);
    EXPECT_EQ(fromArgs[0].name, "X.bin");

    const std::string missing = write("m1.pack", "# x\n\nnot-there.tga\n");
    EXPECT_EQ(ErrorOf([&] { t2g::ReadManifest(missing); }),
              missing + ":3: no such file: " + (tmp / "not-there.tga"));
    const std::string noName = write("m2.pack", " = a.tga\n");
    EXPECT_EQ(ErrorOf([&] { t2g::ReadManifest(noName); }), noName + ":1: missing name before '='");
    const std::string noPath = write("m3.pack", "\nA.tga =\n");
    EXPECT_EQ(ErrorOf([&] { t2g::ReadManifest(noPath); }), noPath + ":2: missing path after '='");
    write("dup.bin", "1");
    const std::string dup = write("m4.pack", "dup.bin\nDUP.BIN = dup.bin\n");
    EXPECT_EQ(ErrorOf([&] { t2g::BuildArchive(t2g::ReadManifest(dup)); }),
              dup + ":2: duplicate entry name 'DUP.BIN' (same as 'dup.bin' from " + dup + ":1)");
    const std::string cycle = write("a.pack", "b.pack\n");
    write("b.pack", "\na.pack\n");
    EXPECT_NE(ErrorOf([&] { t2g::ReadManifest(cycle); }).find("nested too deeply"),
              std::string::npos);
}
