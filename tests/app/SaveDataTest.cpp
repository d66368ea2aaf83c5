#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/headless/HeadlessPlatform.h"
#include "progress/SaveData.h"
#include "support/ScratchDir.h"

using testsupport::ReadBytes;
using testsupport::ScratchDir;
using testsupport::WriteBytes;

namespace {

constexpr size_t kSize = 28976;

// Reads a little-endian word straight from file bytes, independent of the save code.
uint32_t WordAt(const std::vector<uint8_t>& file, size_t offset) {
    return uint32_t(file[offset]) | uint32_t(file[offset + 1]) << 8 |
           uint32_t(file[offset + 2]) << 16 | uint32_t(file[offset + 3]) << 24;
}

// Offset of a solved byte as the file format lays it out.
size_t SolvedOffset(int course, int chapter, int section, int problemIndex) {
    return 168 + size_t(course) * 9600 + size_t(chapter) * 1600 + size_t(section) * 200 +
           size_t(problemIndex) + 1;
}

// A platform that counts save traces and keeps the last one.
struct TracingPlatform {
    platform::HeadlessPlatform headless;
    std::vector<std::string> saves;
    TracingPlatform() {
        headless.SetTraceSink([this](uint64_t, platform::TraceKind kind, const std::string& d) {
            if (kind == platform::TraceKind::Save) saves.push_back(d);
        });
        platform::SetPlatform(&headless);
    }
    ~TracingPlatform() { platform::SetPlatform(nullptr); }
};

struct State {
    AppSettings settings;
    std::unique_ptr<ProgressState> progress = std::make_unique<ProgressState>();
};

savefile::Location PrimaryOnly(const ScratchDir& dir) {
    savefile::Location location;
    location.primaryDir = dir / "DATA/SAVE";
    return location;
}

}  // namespace

TEST(SaveFileLayout, BlocksSitAtTheirOffsets) {
    State s;
    s.settings.m_bgmOn = 0;
    s.settings.m_menuPosition = 7;
    s.settings.m_listPage = -2;
    s.progress->MarkProblemSolved(0, 0, 2, 0);
    s.progress->MarkProblemSolved(2, 5, 7, 198);
    s.progress->MarkLessonDone(1, 2, 3);
    std::vector<uint8_t> image = savefile::BuildImage(s.settings, *s.progress);
    ASSERT_EQ(image.size(), kSize);
    EXPECT_EQ(WordAt(image, 0), 0u);
    EXPECT_EQ(WordAt(image, 4), 1u);
    EXPECT_EQ(WordAt(image, 8), 1u);
    EXPECT_EQ(WordAt(image, 12), 7u);
    EXPECT_EQ(WordAt(image, 16), 0xFFFFFFFEu);
    EXPECT_EQ(image[569], 1) << "course 0, chapter index 0, section index 2, problem 0";
    EXPECT_EQ(image[SolvedOffset(2, 5, 7, 198)], 1);
    EXPECT_EQ(image[24 + 1 * 48 + 2 * 8 + 3], 1);
    int nonZero = 0;
    for (size_t i = 24; i < kSize; ++i) nonZero += image[i] != 0;
    EXPECT_EQ(nonZero, 3) << "nothing else is set";
}

TEST(SaveFileLayout, ApplyReadsTheBlocksBack) {
    std::vector<uint8_t> file(kSize, 0);
    file[0] = 0;
    file[4] = 1;
    file[12] = 3;
    file[20] = 9;
    file[24 + 47] = 1;
    file[SolvedOffset(1, 3, 0, 4)] = 1;
    State s;
    ASSERT_TRUE(savefile::ApplyImage(file, s.settings, *s.progress));
    EXPECT_EQ(s.settings.m_bgmOn, 0);
    EXPECT_EQ(s.settings.m_menuPosition, 3);
    EXPECT_EQ(s.settings.m_word5, 9);
    EXPECT_TRUE(s.progress->IsLessonDone(0, 5, 7));
    EXPECT_TRUE(s.progress->IsProblemSolved(1, 3, 0, 4));
    EXPECT_FALSE(s.progress->IsProblemSolved(1, 3, 0, 3));
}

TEST(SaveFileIo, FirstRunCreatesTheDirectoryAndAFileOfExactSize) {
    ScratchDir dir;
    TracingPlatform platform;
    State s;
    s.settings.m_word5 = 5;
    savefile::SaveFile file;
    EXPECT_FALSE(file.Load(s.settings, *s.progress, PrimaryOnly(dir)));
    EXPECT_EQ(s.settings.m_bgmOn, 1);
    EXPECT_EQ(s.settings.m_seOn, 1);
    ASSERT_TRUE(file.Store(s.settings, *s.progress, PrimaryOnly(dir)));
    std::vector<uint8_t> bytes = ReadBytes(dir / "DATA/SAVE/setting.dat");
    ASSERT_EQ(bytes.size(), kSize);
    EXPECT_EQ(WordAt(bytes, 0), 1u);
    EXPECT_EQ(WordAt(bytes, 4), 1u);
    EXPECT_EQ(WordAt(bytes, 20), 0u) << "word 5 is stored as 0";
    ASSERT_EQ(platform.saves.size(), 1u);
    EXPECT_EQ(platform.saves[0], dir / "DATA/SAVE/setting.dat 28976");
}

TEST(SaveFileIo, NothingIsStoredOverAFileThatWasNotLoaded) {
    ScratchDir dir;
    std::vector<uint8_t> learners(kSize, 0);
    learners[24] = 1;
    learners[569] = 1;
    ASSERT_TRUE(WriteBytes(dir / "DATA/SAVE/setting.dat", learners));
    State defaults;
    savefile::SaveFile file;
    EXPECT_FALSE(file.Store(defaults.settings, *defaults.progress, PrimaryOnly(dir)))
        << "exit before the file was read";
    EXPECT_EQ(ReadBytes(dir / "DATA/SAVE/setting.dat"), learners);
}

TEST(SaveFileIo, ShortFileCountsAsMissingAndLongFileIsReadForItsFirstBlocks) {
    ScratchDir dir;
    std::vector<uint8_t> file(kSize - 1, 0);
    file[569] = 1;
    ASSERT_TRUE(WriteBytes(dir / "DATA/SAVE/setting.dat", file));
    State s;
    savefile::SaveFile saveFile;
    EXPECT_FALSE(saveFile.Load(s.settings, *s.progress, PrimaryOnly(dir)));
    EXPECT_EQ(s.settings.m_bgmOn, 1) << "defaults stay";
    EXPECT_FALSE(s.progress->IsProblemSolved(0, 0, 2, 0));

    file.assign(kSize + 100, 0xAB);
    std::fill(file.begin(), file.begin() + kSize, 0);
    file[569] = 1;
    ASSERT_TRUE(WriteBytes(dir / "DATA/SAVE/setting.dat", file));
    ASSERT_TRUE(saveFile.Load(s.settings, *s.progress, PrimaryOnly(dir)));
    EXPECT_EQ(s.settings.m_bgmOn, 0);
    EXPECT_TRUE(s.progress->IsProblemSolved(0, 0, 2, 0));
    EXPECT_TRUE(saveFile.Store(s.settings, *s.progress, PrimaryOnly(dir)));
    EXPECT_EQ(ReadBytes(dir / "DATA/SAVE/setting.dat").size(), kSize)
        << "a long file is rewritten at its proper size";
}

TEST(SaveFileIo, ResetKeepsSettingsAndMenuPositionsThroughARoundTrip) {
    ScratchDir dir;
    State s;
    s.settings.m_bgmOn = 0;
    s.settings.m_seOn = 0;
    s.settings.m_menuPosition = 12;
    s.settings.m_listPage = 4;
    s.progress->MarkProblemSolved(0, 1, 0, 3);
    s.progress->MarkLessonDone(0, 1, 0);
    s.progress->ResetProblemProgress();
    s.progress->ResetLessonProgress();
    savefile::SaveFile file;
    ASSERT_FALSE(file.Load(s.settings, *s.progress, PrimaryOnly(dir))) << "a first run";
    ASSERT_TRUE(file.Store(s.settings, *s.progress, PrimaryOnly(dir)));
    State loaded;
    ASSERT_TRUE(file.Load(loaded.settings, *loaded.progress, PrimaryOnly(dir)));
    EXPECT_EQ(loaded.settings.m_bgmOn, 0);
    EXPECT_EQ(loaded.settings.m_seOn, 0);
    EXPECT_EQ(loaded.settings.m_menuPosition, 12);
    EXPECT_EQ(loaded.settings.m_listPage, 4);
    std::vector<uint8_t> bytes = ReadBytes(dir / "DATA/SAVE/setting.dat");
    for (size_t i = 24; i < kSize; ++i) ASSERT_EQ(bytes[i], 0) << "offset " << i;
}

TEST(SaveFileIo, CrashBetweenWriteAndRenameLeavesTheOldFileIntact) {
    ScratchDir dir;
    State s;
    s.progress->MarkProblemSolved(0, 0, 2, 0);
    savefile::SaveFile file;
    ASSERT_FALSE(file.Load(s.settings, *s.progress, PrimaryOnly(dir))) << "a first run";
    ASSERT_TRUE(file.Store(s.settings, *s.progress, PrimaryOnly(dir)));
    const std::vector<uint8_t> before = ReadBytes(dir / "DATA/SAVE/setting.dat");

    s.progress->MarkProblemSolved(0, 0, 2, 1);
    savefile::Location crashing = PrimaryOnly(dir);
    std::vector<uint8_t> written;
    crashing.beforeCommit = [&](const std::string& temp) {
        written = ReadBytes(temp);
        return false;
    };
    EXPECT_FALSE(file.Store(s.settings, *s.progress, crashing));
    EXPECT_EQ(written.size(), kSize) << "the new image was complete on disk before the rename";
    EXPECT_EQ(written[570], 1);
    EXPECT_EQ(ReadBytes(dir / "DATA/SAVE/setting.dat"), before);

    // The next save completes over the stale temporary file.
    ASSERT_TRUE(file.Store(s.settings, *s.progress, PrimaryOnly(dir)));
    EXPECT_EQ(ReadBytes(dir / "DATA/SAVE/setting.dat")[570], 1);
}

TEST(SaveFileIo, UnwritableInstallFallsBackToTheUserDirectoryAndIsReadFromThere) {
    ScratchDir dir;
    // Root ignores permission bits, so the install is made unwritable by a file standing where
    // the save directory should be.
    ASSERT_TRUE(WriteBytes(dir / "DATA/SAVE", {1, 2, 3}));
    savefile::Location location = PrimaryOnly(dir);
    location.fallbackDir = dir / "user/stonewell";
    State s;
    s.settings.m_menuPosition = 9;
    savefile::SaveFile file;
    ASSERT_FALSE(file.Load(s.settings, *s.progress, location)) << "a first run";
    ASSERT_TRUE(file.Store(s.settings, *s.progress, location));
    EXPECT_EQ(ReadBytes(dir / "user/stonewell/setting.dat").size(), kSize);

    // Once the user file exists it wins over an install file, and it stays the one written.
    ::unlink((dir / "DATA/SAVE").c_str());
    std::vector<uint8_t> installFile(kSize, 0);
    installFile[12] = 2;
    ASSERT_TRUE(WriteBytes(dir / "DATA/SAVE/setting.dat", installFile));
    State loaded;
    savefile::SaveFile fresh;
    ASSERT_TRUE(fresh.Load(loaded.settings, *loaded.progress, location));
    EXPECT_EQ(loaded.settings.m_menuPosition, 9);
    loaded.settings.m_menuPosition = 10;
    ASSERT_TRUE(fresh.Store(loaded.settings, *loaded.progress, location));
    EXPECT_EQ(ReadBytes(dir / "user/stonewell/setting.dat")[12], 10);
    EXPECT_EQ(ReadBytes(dir / "DATA/SAVE/setting.dat"), installFile);
}

TEST(SaveFileIo, NoWritablePlaceReturnsFalse) {
    ScratchDir dir;
    ASSERT_TRUE(WriteBytes(dir / "DATA/SAVE", {1}));
    ASSERT_TRUE(WriteBytes(dir / "user", {1}));
    savefile::Location location = PrimaryOnly(dir);
    location.fallbackDir = dir / "user/stonewell";
    State s;
    savefile::SaveFile file;
    ASSERT_FALSE(file.Load(s.settings, *s.progress, location)) << "a first run";
    EXPECT_FALSE(file.Store(s.settings, *s.progress, location));
}

TEST(SaveFileIo, RepeatedStoresTouchTheDiskOnlyWhenSomethingChanged) {
    ScratchDir dir;
    TracingPlatform platform;
    State s;
    savefile::SaveFile file;
    ASSERT_FALSE(file.Load(s.settings, *s.progress, PrimaryOnly(dir))) << "a first run";
    ASSERT_TRUE(file.Store(s.settings, *s.progress, PrimaryOnly(dir)));
    ASSERT_TRUE(file.Store(s.settings, *s.progress, PrimaryOnly(dir)));
    EXPECT_EQ(platform.saves.size(), 1u);
    s.progress->MarkLessonDone(0, 0, 0);
    ASSERT_TRUE(file.Store(s.settings, *s.progress, PrimaryOnly(dir)));
    EXPECT_EQ(platform.saves.size(), 2u);
    ::unlink((dir / "DATA/SAVE/setting.dat").c_str());
    ASSERT_TRUE(file.Store(s.settings, *s.progress, PrimaryOnly(dir)));
    EXPECT_EQ(platform.saves.size(), 3u) << "a vanished file is written again";
    EXPECT_EQ(ReadBytes(dir / "DATA/SAVE/setting.dat")[24], 1);
}

TEST(SaveFileIo, StoresFromTwoThreadsWhileProgressChangesLeaveAValidFile) {
    ScratchDir dir;
    State s;
    savefile::SaveFile file;
    ASSERT_FALSE(file.Load(s.settings, *s.progress, PrimaryOnly(dir))) << "a first run";
    std::atomic<bool> allStored{true};
    std::thread saver([&] {
        for (int i = 0; i < 20; ++i) {
            if (!file.Store(s.settings, *s.progress, PrimaryOnly(dir))) allStored = false;
        }
    });
    for (int i = 0; i < 20; ++i) {
        s.progress->MarkProblemSolved(0, 1, 0, i);
        if (!file.Store(s.settings, *s.progress, PrimaryOnly(dir))) allStored = false;
    }
    saver.join();
    EXPECT_TRUE(allStored);
    std::vector<uint8_t> bytes = ReadBytes(dir / "DATA/SAVE/setting.dat");
    ASSERT_EQ(bytes.size(), kSize);
    EXPECT_EQ(bytes[SolvedOffset(0, 1, 0, 19)], 1) << "the last store saw the last mark";
}

TEST(SaveFileIo, ProcessWideFunctionsUseTheWorkingDirectory) {
    ScratchDir dir;
    TracingPlatform platform;
    testsupport::WorkingDirectory cwd(dir.Path());
    ::setenv("XDG_DATA_HOME", (dir / "xdg").c_str(), 1);
    EXPECT_FALSE(LoadSaveData());
    TheProgress().MarkProblemSolved(0, 0, 2, 0);
    ASSERT_TRUE(StoreSaveData());
    EXPECT_EQ(ReadBytes(dir / "DATA/SAVE/setting.dat").size(), kSize);
    EXPECT_EQ(ReadBytes(dir / "DATA/SAVE/setting.dat")[569], 1);
    TheProgress().ResetProblemProgress();
    ASSERT_TRUE(LoadSaveData());
    EXPECT_TRUE(TheProgress().IsProblemSolved(0, 0, 2, 0));
    TheProgress().ResetProblemProgress();
    ::unsetenv("XDG_DATA_HOME");
}
