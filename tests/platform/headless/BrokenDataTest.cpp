// Broken data folders: each case copies the built DATA, breaks it one way, and runs the tour
// script on it. The program must start, run the whole script and end through its normal exit,
// showing what it can. The breakages act on every file of a kind, so they grow with the data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "HeadlessRun.h"
#include "support/T2gWriter.h"

namespace {

using namespace headless_run;

// One archive entry as read by this test's own reader.
struct Entry {
    std::string name;
    std::vector<uint8_t> data;
};

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

// Archive layout: "T2GF", reserved, long-name flag, count; entries of reserved word, name
// field (24 or 52 bytes), data size, stored size, data; the next entry starts after the
// stored size rounded down to 4. Well-formed input only (these are the build's archives).
bool ReadArchive(const fs::path& path, std::vector<Entry>& entries, bool& longNames) {
    const std::vector<uint8_t> b = testsupport::ReadWholeFile(path.string());
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
        entries.push_back(
            {std::string(name, strnlen(name, width)),
             std::vector<uint8_t>(b.begin() + long(data), b.begin() + long(data + size))});
        at = data + (stored & ~3u);
    }
    return true;
}

bool EndsWith(std::string name, const std::string& suffix) {
    std::transform(name.begin(), name.end(), name.begin(), ::tolower);
    return name.size() >= suffix.size() &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::vector<fs::path> FilesUnder(const fs::path& dir, const std::string& suffix) {
    std::vector<fs::path> files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(dir, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error))
        if (it->is_regular_file() && EndsWith(it->path().filename().string(), suffix))
            files.push_back(it->path());
    return files;
}

// Replaces a (hard-linked) file by a new one, leaving the build's copy alone.
void Replace(const fs::path& path, const std::vector<uint8_t>& bytes) {
    fs::remove(path);
    fs::create_directories(path.parent_path());
    ASSERT_TRUE(testsupport::WriteFile(path.string(), bytes));
}

// Rewrites every archive, changing the entries whose name ends with `suffix`; returns how
// many entries changed. `change` returns false to drop the entry.
int RewriteEntries(const fs::path& data, const std::string& suffix,
                   const std::function<bool(std::vector<uint8_t>&)>& change) {
    int changed = 0;
    for (const fs::path& archive : FilesUnder(data, ".t2g")) {
        std::vector<Entry> entries;
        bool longNames = false;
        if (!ReadArchive(archive, entries, longNames)) {
            ADD_FAILURE() << "cannot read " << archive;
            continue;
        }
        std::vector<testsupport::T2gEntrySpec> specs;
        int here = 0;
        for (Entry& e : entries) {
            if (EndsWith(e.name, suffix)) {
                ++here;
                if (!change(e.data)) continue;
            }
            specs.push_back({e.name, e.data});
        }
        if (here == 0) continue;
        changed += here;
        // An archive must keep one entry to stay an archive; an empty one is a missing one.
        if (specs.empty())
            fs::remove(archive);
        else
            Replace(archive, testsupport::BuildT2g(specs, longNames));
    }
    return changed;
}

struct Breakage {
    std::string name;
    // Breaks the data folder; returns how many files or entries it broke (0: nothing of that
    // kind in the data yet, and the case is skipped).
    std::function<int(const RunFolder&)> apply;
    // Whether the screens keep their layouts, so the tour's clicks still find buttons; with
    // the layouts broken the program only reaches the title and waits there.
    bool buttonsRemain = true;
};

int RemoveAll(const std::vector<fs::path>& files) {
    for (const fs::path& f : files) fs::remove(f);
    return int(files.size());
}

int TruncateAll(const std::vector<fs::path>& files, double keep) {
    for (const fs::path& f : files) {
        std::vector<uint8_t> bytes = testsupport::ReadWholeFile(f.string());
        bytes.resize(size_t(double(bytes.size()) * keep));
        Replace(f, bytes);
    }
    return int(files.size());
}

// Lesson and problem data live in DATA/DATA/{EXPLAIN,PROBLEM}.
std::vector<fs::path> FilesIn(const fs::path& dir) {
    std::vector<fs::path> files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(dir, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error))
        if (it->is_regular_file()) files.push_back(it->path());
    return files;
}

int WriteSave(const RunFolder& run, const std::vector<uint8_t>& bytes) {
    Replace(run.SaveFile(), bytes);
    return 1;
}

std::vector<Breakage> Breakages() {
    return {
        {"MissingArchives",
         [](const RunFolder& r) { return RemoveAll(FilesUnder(r.Data(), ".t2g")); }, false},
        {"TruncatedArchives",
         [](const RunFolder& r) { return TruncateAll(FilesUnder(r.Data(), ".t2g"), 0.5); }, false},
        {"ArchivesOfGarbage",
         [](const RunFolder& r) {
             const auto files = FilesUnder(r.Data(), ".t2g");
             for (const fs::path& f : files) {
                 std::vector<uint8_t> bytes = testsupport::ReadWholeFile(f.string());
                 // Keep the magic, scramble the count and the first entry's sizes.
                 for (size_t i = 12; i < bytes.size() && i < 96; ++i) bytes[i] = uint8_t(0xF7 - i);
                 Replace(f, bytes);
             }
             return int(files.size());
         },
         false},
        {"TruncatedLayouts",
         [](const RunFolder& r) {
             return RewriteEntries(r.Data(), ".lyt", [](std::vector<uint8_t>& d) {
                 d.resize(d.size() / 2);
                 return true;
             });
         },
         false},
        {"LayoutsWithLyingSizes",
         [](const RunFolder& r) {
             return RewriteEntries(r.Data(), ".lyt", [](std::vector<uint8_t>& d) {
                 // Every big-endian section size after the header claims far more than is there.
                 for (size_t i = 16; i + 4 <= d.size(); i += 4)
                     if (d[i] == 0 && d[i + 1] == 0) d[i] = 0x7F;
                 return true;
             });
         },
         false},
        {"CorruptImages",
         [](const RunFolder& r) {
             return RewriteEntries(r.Data(), ".tga",
                                   [](std::vector<uint8_t>& d) {
                                       for (size_t i = 0; i < d.size(); i += 3)
                                           d[i] = uint8_t(d[i] ^ 0xA5);
                                       return true;
                                   }) +
                    TruncateAll(FilesUnder(r.Data(), ".tga"), 0.3);
         }},
        {"MissingImages",
         [](const RunFolder& r) {
             return RewriteEntries(r.Data(), ".tga", [](std::vector<uint8_t>&) { return false; });
         }},
        {"MissingFonts",
         [](const RunFolder& r) {
             return RewriteEntries(r.Data(), ".otf", [](std::vector<uint8_t>&) { return false; });
         }},
        {"FontsThatAreNotFonts",
         [](const RunFolder& r) {
             return RewriteEntries(r.Data(), ".otf", [](std::vector<uint8_t>& d) {
                 d.resize(std::min<size_t>(d.size(), 4096));
                 for (size_t i = 12; i < d.size(); ++i) d[i] = uint8_t(i * 7);
                 return true;
             });
         }},
        {"MissingSounds",
         [](const RunFolder& r) { return RemoveAll(FilesUnder(r.Data(), ".wav")); }},
        {"TruncatedSounds",
         [](const RunFolder& r) { return TruncateAll(FilesUnder(r.Data(), ".wav"), 0.02); }},
        {"MissingLessonFiles",
         [](const RunFolder& r) { return RemoveAll(FilesIn(r.Data() / "DATA" / "EXPLAIN")); }},
        {"TruncatedLessonFiles",
         [](const RunFolder& r) {
             return TruncateAll(FilesIn(r.Data() / "DATA" / "EXPLAIN"), 0.5);
         }},
        {"MissingProblemFiles",
         [](const RunFolder& r) { return RemoveAll(FilesIn(r.Data() / "DATA" / "PROBLEM")); }},
        {"TruncatedProblemFiles",
         [](const RunFolder& r) {
             return TruncateAll(FilesIn(r.Data() / "DATA" / "PROBLEM"), 0.5);
         }},
        {"ShortSaveFile",
         [](const RunFolder& r) { return WriteSave(r, std::vector<uint8_t>(1000, 1)); }},
        {"EmptySaveFile", [](const RunFolder& r) { return WriteSave(r, {}); }},
        {"OversizedGarbageSaveFile",
         [](const RunFolder& r) {
             std::vector<uint8_t> bytes(40000);
             for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 131 + 7);
             return WriteSave(r, bytes);
         }},
        {"SaveFileIsAFolder",
         [](const RunFolder& r) {
             fs::create_directories(r.SaveFile() / "inside");
             return 1;
         }},
        {"SaveFolderIsAFile",
         [](const RunFolder& r) {
             fs::remove_all(r.SaveFile().parent_path());
             std::ofstream(r.SaveFile().parent_path()) << "not a folder";
             return 1;
         }},
        {"SaveFileIsADanglingLink",
         [](const RunFolder& r) {
             fs::create_directories(r.SaveFile().parent_path());
             fs::create_symlink(r.Path() / "nowhere" / "setting.dat", r.SaveFile());
             return 1;
         }},
    };
}

class BrokenData : public ::testing::TestWithParam<Breakage> {};

TEST_P(BrokenData, TheTourRunsToTheNormalExitAndTheSaveFileEndsWhole) {
    RunFolder run("broken-" + GetParam().name);
    run.CopyBuiltData();
    const int broken = GetParam().apply(run);
    if (::testing::Test::HasFatalFailure()) return;
    if (broken == 0) GTEST_SKIP() << "the built data has nothing of this kind yet";

    const Outcome out = run.Run(ReadText(ScriptsDir() / "tour.txt"));
    ASSERT_EQ(out.signal, 0) << "killed by signal " << out.signal << "\n" << out.errors;
    EXPECT_EQ(out.exitCode, 0) << out.errors;
    // It ran the whole tour (the scenes and the exit after the last click are traced), or,
    // where no button is left to click, at least moved from the logo to the title.
    EXPECT_GE(ScenesIn(out.trace).size(), GetParam().buttonsRemain ? 6u : 2u) << out.trace;
    EXPECT_GT(ExitTimeIn(out.trace), 5000) << out.trace;

    // The exit stored the save file: the install's, or the per-user one when the install's
    // folder cannot take it.
    const bool installWhole = ReadWholeSave(run.SaveFile()).has_value();
    const bool userWhole = ReadWholeSave(run.UserSaveFile()).has_value();
    EXPECT_TRUE(installWhole || userWhole) << out.trace;
    EXPECT_FALSE(SaveSizesIn(out.trace).empty()) << out.trace;
    for (long size : SaveSizesIn(out.trace)) EXPECT_EQ(size, 28976);
}

INSTANTIATE_TEST_SUITE_P(Cases, BrokenData, ::testing::ValuesIn(Breakages()),
                         [](const auto& param) { return param.param.name; });

TEST(BrokenDataReader, ReadsTheBuiltArchives) {
    // The test's own archive reader must understand every archive the build makes, or the
    // entry breakages above would silently break nothing.
    const auto archives = FilesUnder(BuiltDataDir(), ".t2g");
    ASSERT_FALSE(archives.empty());
    for (const fs::path& archive : archives) {
        std::vector<Entry> entries;
        bool longNames = false;
        ASSERT_TRUE(ReadArchive(archive, entries, longNames)) << archive;
        EXPECT_FALSE(entries.empty()) << archive;
        const auto rebuilt = testsupport::BuildT2g(
            [&] {
                std::vector<testsupport::T2gEntrySpec> specs;
                for (const Entry& e : entries) specs.push_back({e.name, e.data});
                return specs;
            }(),
            longNames);
        EXPECT_EQ(rebuilt.size(), fs::file_size(archive)) << archive;
    }
}

}  // namespace
