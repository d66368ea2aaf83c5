#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "ToolErrorOf.h"
#include "common/FileIO.h"
#include "support/ScratchDir.h"
#include "support/T2gWriter.h"
#include "t2gpack/Extract.h"
#include "t2gpack/PackInputs.h"
#include "t2gpack/T2GArchive.h"

namespace {

using tooltest::ErrorOf;
using Bytes = std::vector<uint8_t>;
using testsupport::BuildT2g;

t2g::PackEntry Pack(const std::string& name, const Bytes& data) {
    return {name, data, "test.pack", 7};
}

}  // namespace

// The short form is what every built archive is, read by the program in every script case.
TEST(T2GPack, LongFormOnlyWhenANameNeedsItOrWhenAskedFor) {
    const std::string name23(23, 'n'), name24 = std::string(20, 'm') + ".tga";
    EXPECT_EQ(t2g::BuildArchive({Pack(name23, {1, 2})})[8], 0);
    EXPECT_EQ(t2g::BuildArchive({Pack(name23, {1, 2}), Pack(name24, {3})}),
              BuildT2g({{name23, {1, 2}}, {name24, {3}}}, true));
    EXPECT_EQ(t2g::BuildArchive({Pack("a", {1})}, true), BuildT2g({{"a", {1}}}, true));
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
    ASSERT_EQ(info.entries.size(), 2u);
    const auto& two = info.entries[1];
    EXPECT_EQ(
        std::tuple(info.longForm, two.name, two.dataSize, two.storedSize, built[two.dataOffset]),
        std::tuple(false, "two.otf", 9u, 12u, 4));
    EXPECT_NE(t2g::FormatListing(info).find("9         12  two.otf"), std::string::npos);

    // A first stored size (6) that is not a multiple of 4: the next entry starts 4 bytes on.
    const Bytes odd = BuildT2g({{"a", {1, 2, 3, 4}, 6}, {"b", {5, 6, 7, 8}}});
    info = t2g::ReadArchive(odd, "odd.T2G");
    ASSERT_EQ(info.entries.size(), 2u);
    EXPECT_EQ(std::tuple(info.entries[1].name, odd[info.entries[1].dataOffset]),
              std::tuple("b", 5));

    const Bytes good = t2g::BuildArchive({Pack("a", {1, 2, 3, 4})});
    const auto spoilt = [&](size_t at, uint8_t value) {
        Bytes b = good;
        b[at] = value;
        return b;
    };
    const std::pair<Bytes, std::string> broken[] = {
        {spoilt(0, 'X'), "b.T2G: not an archive"},
        {BuildT2g({}, false, 0), "count 0 is not positive"},
        {BuildT2g({}, false, -1), "count -1"},
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

    const Bytes evil = BuildT2g({{"../evil.bin", {1}}});
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
    EXPECT_EQ(std::tuple(entries[0].name, entries[0].data, entries[0].originLine, entries[1].name,
                         entries[2].name),
              std::tuple("UIGothic-Bold.otf", Bytes{'F', 'O', 'N', 'T'}, 2, "a.tga", "b.tga"));

    write("dup.bin", "1");
    const std::pair<std::string, std::string> faults[] = {
        {"# x\n\nnot-there.tga\n", ":3: no such file: " + (tmp / "not-there.tga")},
        {" = a.tga\n", ":1: missing name before '='"},
        {"\nA.tga =\n", ":2: missing path after '='"},
        {"dup.bin\nDUP.BIN = dup.bin\n",
         ":2: duplicate entry name 'DUP.BIN' (same as 'dup.bin' from @:1)"},
    };
    for (const auto& [text, message] : faults) {
        const std::string path = write("m.pack", text);
        std::string want = path + message;
        if (const size_t at = want.find('@'); at != std::string::npos) want.replace(at, 1, path);
        EXPECT_EQ(ErrorOf([&] { t2g::BuildArchive(t2g::ReadManifest(path)); }), want);
    }
    const std::string cycle = write("a.pack", "b.pack\n");
    write("b.pack", "\na.pack\n");
    EXPECT_NE(ErrorOf([&] { t2g::ReadManifest(cycle); }).find("nested too deeply"),
              std::string::npos);
}
