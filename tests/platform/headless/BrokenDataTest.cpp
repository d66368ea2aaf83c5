// Broken data folders: each case breaks every file (or archive entry) of a kind in a copy of
// the built data and runs the tour case on it. The program must run the whole script, or,
// where no button is left to click, at least reach the title, and end through its normal
// exit with a whole save file.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "support/HeadlessRun.h"
#include "support/T2gWriter.h"

namespace {

using namespace testsupport;
using Bytes = std::vector<uint8_t>;

uint32_t U32(const Bytes& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

// The entries of a (well-formed) archive, read by the format table: "T2GF", reserved,
// long-name flag, count; entries of reserved word, name (24 or 52 bytes), data size, stored
// size, data; the next entry starts at the stored size rounded down to 4.
bool ReadArchive(const fs::path& path, std::vector<T2gEntrySpec>& entries, bool& longNames) {
    const Bytes b = ReadBytes(path.string());
    if (b.size() < 16 || std::memcmp(b.data(), "T2GF", 4) != 0) return false;
    longNames = U32(b, 8) != 0;
    const size_t width = longNames ? 52 : 24;
    size_t at = longNames ? 64 : 16;
    for (uint32_t i = 0, n = U32(b, 12); i < n; ++i) {
        if (at + 12 + width > b.size()) return false;
        const char* name = reinterpret_cast<const char*>(&b[at + 4]);
        const uint32_t size = U32(b, at + 4 + width), stored = U32(b, at + 8 + width);
        const size_t data = at + 12 + width;
        if (data + size > b.size()) return false;
        entries.push_back({std::string(name, strnlen(name, width)),
                           Bytes(b.begin() + long(data), b.begin() + long(data + size))});
        at = data + (stored & ~3u);
    }
    return true;
}

bool EndsWith(std::string name, const std::string& suffix) {
    for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
    return name.size() >= suffix.size() && name.ends_with(suffix);
}

std::vector<fs::path> Files(const fs::path& dir, const std::string& suffix = "") {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (!entry.is_directory() && EndsWith(entry.path().filename().string(), suffix))
            files.push_back(entry.path());
    return files;
}

// Replaces a file (a link into the build's data) by a new one.
void Replace(const fs::path& path, const Bytes& bytes) {
    fs::remove(path);
    ASSERT_TRUE(WriteBytes(path.string(), bytes));
}

using Apply = std::function<int(const HeadlessRun&)>;  // how many files or entries it broke

struct Breakage {
    std::string name;
    Apply apply;
    bool buttonsRemain = true;  // false: the layouts are gone, the tour stops at the title
};

// Every file under DATA/`dir` named with `suffix` removed (`keep` 0) or cut to `keep` of itself.
Apply CutFiles(const std::string& dir, const std::string& suffix, double keep) {
    return [=](const HeadlessRun& r) {
        const std::vector<fs::path> files = Files(r.Data() / dir, suffix);
        for (const fs::path& f : files) {
            Bytes bytes = ReadBytes(f.string());
            bytes.resize(size_t(double(bytes.size()) * keep));
            if (keep > 0) Replace(f, bytes);
            if (keep == 0) fs::remove(f);
        }
        return int(files.size());
    };
}

// Every archive rewritten, the entries whose name ends with `suffix` changed (dropped where
// `change` says false).
Apply ChangeEntries(const std::string& suffix, const std::function<bool(Bytes&)>& change) {
    return [=](const HeadlessRun& r) {
        int changed = 0;
        for (const fs::path& archive : Files(r.Data(), ".t2g")) {
            std::vector<T2gEntrySpec> entries, kept;
            bool longNames = false;
            EXPECT_TRUE(ReadArchive(archive, entries, longNames)) << archive;
            int here = 0;
            for (T2gEntrySpec& e : entries)
                if (!EndsWith(e.name, suffix) || (++here, change(e.data))) kept.push_back(e);
            changed += here;
            // An archive without entries is a missing one.
            if (here > 0 && kept.empty()) fs::remove(archive);
            if (here > 0 && !kept.empty()) Replace(archive, BuildT2g(kept, longNames));
        }
        return changed;
    };
}

// Ways to break an archive entry (false: drop it). Which bytes a reader refuses is the fuzz
// targets' part: here one breakage per way the program meets a refused file (a truncated
// archive is refused whole, as a missing one; a missing problem file is a script case's).
const auto kDrop = [](Bytes&) { return false; };
const auto kHalve = [](Bytes& d) { return d.resize(d.size() / 2), true; };
bool Scramble(Bytes& d) {
    for (size_t i = 0; i < d.size(); i += 3) d[i] = uint8_t(d[i] ^ 0xA5);
    return true;
}
bool NotAFont(Bytes& d) {
    d.resize(std::min<size_t>(d.size(), 4096));
    for (size_t i = 12; i < d.size(); ++i) d[i] = uint8_t(i * 7);
    return true;
}

std::vector<Breakage> Breakages() {
    return {
        {"MissingArchives", CutFiles("", ".t2g", 0), false},
        {"TruncatedLayouts", ChangeEntries(".lyt", kHalve), false},
        {"CorruptImages",
         [](const HeadlessRun& r) {
             return ChangeEntries(".tga", Scramble)(r) + CutFiles("", ".tga", 0.3)(r);
         }},
        {"MissingImages", ChangeEntries(".tga", kDrop)},
        {"MissingFonts", ChangeEntries(".otf", kDrop)},
        {"FontsThatAreNotFonts", ChangeEntries(".otf", NotAFont)},
        {"MissingSounds", CutFiles("", ".wav", 0)},
        {"TruncatedSounds", CutFiles("", ".wav", 0.02)},
        {"MissingLessonFiles", CutFiles("DATA/EXPLAIN", "", 0)},
        {"TruncatedLessonFiles", CutFiles("DATA/EXPLAIN", "", 0.5)},
        {"TruncatedProblemFiles", CutFiles("DATA/PROBLEM", "", 0.5)},
        // The save folder's odd states; a short or long file is the save file's own test's.
        {"SaveFileIsAFolder",
         [](const HeadlessRun& r) { return int(fs::create_directories(r.SaveFile() / "in")); }},
        {"SaveFolderIsAFile",
         [](const HeadlessRun& r) {
             fs::remove_all(r.SaveFile().parent_path());
             return int(WriteBytes(r.SaveFile().parent_path().string(), {1, 2, 3}));
         }},
        {"SaveFileIsADanglingLink",
         [](const HeadlessRun& r) {
             fs::create_symlink(r.Path() / "nowhere", r.SaveFile());
             return 1;
         }},
    };
}

class BrokenData : public ::testing::TestWithParam<Breakage> {};

TEST_P(BrokenData, TheTourRunsToTheNormalExitAndTheSaveFileEndsWhole) {
    const HeadlessRun run;
    ASSERT_TRUE(DataBuilt());
    ASSERT_GT(GetParam().apply(run), 0) << "nothing of this kind was broken";
    if (HasFatalFailure()) return;

    const Outcome out =
        run.Run(ReadText(fs::path(STONEWELL_SOURCE_DIR) / "tests/e2e/cases/tour.script"));
    ASSERT_EQ(out.signal, 0) << out.errors;
    EXPECT_EQ(out.exitCode, 0) << out.errors;
    EXPECT_GE(ScenesIn(out.trace).size(), GetParam().buttonsRemain ? 6u : 2u) << out.trace;
    EXPECT_GT(ExitTimeIn(out.trace), 5000) << out.trace;
    // The exit stored the save file: the install's, or the per-user one where the install's
    // folder cannot take it.
    EXPECT_TRUE(WholeSave(run.SaveFile()) || WholeSave(run.UserSaveFile())) << out.trace;
}

INSTANTIATE_TEST_SUITE_P(Cases, BrokenData, ::testing::ValuesIn(Breakages()),
                         [](const auto& param) { return param.param.name; });

}  // namespace
