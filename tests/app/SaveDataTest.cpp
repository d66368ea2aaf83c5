#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/headless/HeadlessPlatform.h"
#include "progress/SaveData.h"
#include "support/ScratchDir.h"

using testsupport::ReadBytes;
using testsupport::ScratchDir;
using testsupport::WriteBytes;

namespace {

constexpr size_t kSize = 28976;

// A save file built from the format, independent of the save code: six little-endian settings
// words at 0, a lesson-done byte per (course, chapter, section) at 24, and 200 bytes per
// section from 168 whose byte 0 is "all solved" and byte 1 + n problem n. Defaults() has the
// settings of a first run (words 0 to 2 set).
struct Image {
    static Image Defaults() { return Image().Word(0, 1).Word(1, 1).Word(2, 1); }
    std::vector<uint8_t> bytes = std::vector<uint8_t>(kSize, 0);
    Image& Word(int word, uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[size_t(word) * 4 + size_t(i)] = uint8_t(value >> (8 * i));
        return *this;
    }
    Image& Lesson(int course, int chapter, int section) {
        bytes[24 + size_t(course) * 48 + size_t(chapter) * 8 + size_t(section)] = 1;
        return *this;
    }
    Image& Solved(int course, int chapter, int section, int problem) {
        bytes[Offset(course, chapter, section, problem)] = 1;
        return *this;
    }
    static size_t Offset(int course, int chapter, int section, int problem) {
        return 168 + size_t(course) * 9600 + size_t(chapter) * 1600 + size_t(section) * 200 +
               size_t(problem) + 1;
    }
};

// A platform that keeps the save traces.
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

class SaveFileIo : public ::testing::Test {
protected:
    SaveFileIo() { location.primaryDir = dir / "DATA/SAVE"; }
    bool Load() { return file.Load(settings, *progress, location); }
    bool Store() { return file.Store(settings, *progress, location); }
    std::vector<uint8_t> OnDisk(const std::string& name = "DATA/SAVE/setting.dat") const {
        return ReadBytes(dir / name);
    }

    ScratchDir dir;
    savefile::Location location;
    AppSettings settings;
    std::unique_ptr<ProgressState> progress = std::make_unique<ProgressState>();
    savefile::SaveFile file;
};

}  // namespace

TEST(SaveFileLayout, BlocksSitAtTheirOffsetsAndReadBack) {
    AppSettings settings;
    std::tie(settings.m_bgmOn, settings.m_menuPosition, settings.m_listPage, settings.m_word5) =
        std::tuple(0, 7, -2, 9);
    auto progress = std::make_unique<ProgressState>();
    progress->MarkProblemSolved(0, 0, 2, 0);
    progress->MarkProblemSolved(2, 5, 7, 198);
    progress->MarkLessonDone(1, 2, 3);
    Image expected = Image().Word(1, 1).Word(2, 1).Word(3, 7).Word(4, 0xFFFFFFFE).Word(5, 9);
    expected.Solved(0, 0, 2, 0).Solved(2, 5, 7, 198).Lesson(1, 2, 3);
    EXPECT_EQ(savefile::BuildImage(settings, *progress), expected.bytes);

    AppSettings read;
    auto readProgress = std::make_unique<ProgressState>();
    ASSERT_TRUE(savefile::ApplyImage(expected.bytes, read, *readProgress));
    EXPECT_EQ(savefile::BuildImage(read, *readProgress), expected.bytes) << "read back whole";
    EXPECT_FALSE(
        savefile::ApplyImage(std::span(expected.bytes).first(kSize - 1), read, *readProgress));
}

TEST_F(SaveFileIo, OnlyFilesOfAtLeastTheFullSizeAreReadAndOnlyReadOnesStoredOver) {
    const Image learners = Image().Lesson(0, 0, 0).Solved(0, 0, 2, 0);
    ASSERT_TRUE(WriteBytes(dir / "DATA/SAVE/setting.dat", learners.bytes));
    EXPECT_FALSE(Store()) << "exit before the file was read";
    EXPECT_EQ(OnDisk(), learners.bytes);
    const struct {
        size_t size;
        bool read;
    } cases[] = {{0, false}, {kSize - 1, false}, {kSize, true}, {kSize + 100, true}};
    for (const auto& c : cases) {
        Image image = Image().Solved(0, 0, 2, 0);
        image.bytes.resize(c.size, 0xAB);
        ASSERT_TRUE(WriteBytes(dir / "DATA/SAVE/setting.dat", image.bytes));
        settings = {};
        progress = std::make_unique<ProgressState>();
        EXPECT_EQ(Load(), c.read) << c.size;
        EXPECT_EQ(settings.m_bgmOn, c.read ? 0 : 1) << c.size << ": defaults stay when not read";
        EXPECT_EQ(progress->IsProblemSolved(0, 0, 2, 0), c.read) << c.size;
    }
    ASSERT_TRUE(Store());
    EXPECT_EQ(OnDisk().size(), kSize) << "a long file is rewritten at its proper size";
}

TEST_F(SaveFileIo, FirstRunCreatesTheFileAndLaterStoresWriteOnlyChanges) {
    TracingPlatform platform;
    settings.m_word5 = 5;
    EXPECT_FALSE(Load());
    ASSERT_TRUE(Store());
    EXPECT_EQ(OnDisk(), Image::Defaults().bytes) << "word 5 is stored as 0";
    EXPECT_EQ(platform.saves, std::vector<std::string>{dir / "DATA/SAVE/setting.dat 28976"});
    ASSERT_TRUE(Store());  // nothing changed: not written
    progress->MarkLessonDone(0, 0, 0);
    ASSERT_TRUE(Store());
    EXPECT_EQ(platform.saves.size(), 2u);
    ::unlink((dir / "DATA/SAVE/setting.dat").c_str());
    ASSERT_TRUE(Store());
    EXPECT_EQ(platform.saves.size(), 3u) << "a vanished file is written again";
    EXPECT_EQ(OnDisk()[24], 1);
}

TEST_F(SaveFileIo, CrashBetweenWriteAndRenameLeavesTheOldFileIntact) {
    progress->MarkProblemSolved(0, 0, 2, 0);
    ASSERT_FALSE(Load()) << "a first run";
    ASSERT_TRUE(Store());
    const std::vector<uint8_t> before = OnDisk();

    progress->MarkProblemSolved(0, 0, 2, 1);
    std::vector<uint8_t> written;
    location.beforeCommit = [&](const std::string& temp) {
        written = ReadBytes(temp);
        return false;
    };
    EXPECT_FALSE(Store());
    EXPECT_EQ(written, Image::Defaults().Solved(0, 0, 2, 0).Solved(0, 0, 2, 1).bytes)
        << "the new image was complete on disk before the rename";
    EXPECT_EQ(OnDisk(), before);

    location.beforeCommit = nullptr;
    ASSERT_TRUE(Store()) << "the next save completes over the stale temporary file";
    EXPECT_EQ(OnDisk(), written);
}

TEST_F(SaveFileIo, UnwritableInstallFallsBackToTheUserDirectoryAndIsReadFromThere) {
    // Root ignores permission bits, so the install is made unwritable by a file standing where
    // the save directory should be.
    ASSERT_TRUE(WriteBytes(dir / "DATA/SAVE", {1, 2, 3}));
    location.fallbackDir = dir / "user/stonewell";
    settings.m_menuPosition = 9;
    ASSERT_FALSE(Load()) << "a first run";
    ASSERT_TRUE(Store());

    // Once the user file exists it wins over an install file, and it stays the one written.
    ::unlink((dir / "DATA/SAVE").c_str());
    const Image installFile = Image().Word(3, 2);
    ASSERT_TRUE(WriteBytes(dir / "DATA/SAVE/setting.dat", installFile.bytes));
    AppSettings loaded;
    savefile::SaveFile fresh;
    ASSERT_TRUE(fresh.Load(loaded, *progress, location));
    EXPECT_EQ(loaded.m_menuPosition, 9);
    loaded.m_menuPosition = 10;
    ASSERT_TRUE(fresh.Store(loaded, *progress, location));
    EXPECT_EQ(OnDisk("user/stonewell/setting.dat")[12], 10);
    EXPECT_EQ(OnDisk(), installFile.bytes);

    // No writable place at all.
    ASSERT_TRUE(WriteBytes(dir / "other", {1}));
    location.primaryDir = dir / "DATA/SAVE/setting.dat/SAVE";
    location.fallbackDir = dir / "other/stonewell";
    savefile::SaveFile nowhere;
    ASSERT_FALSE(nowhere.Load(loaded, *progress, location)) << "a first run";
    EXPECT_FALSE(nowhere.Store(loaded, *progress, location));
}

TEST_F(SaveFileIo, StoresFromTwoThreadsWhileProgressChangesLeaveAValidFile) {
    ASSERT_FALSE(Load()) << "a first run";
    std::atomic<bool> allStored{true};
    std::thread saver([&] {
        for (int i = 0; i < 20; ++i)
            if (!Store()) allStored = false;
    });
    for (int i = 0; i < 20; ++i) {
        progress->MarkProblemSolved(0, 1, 0, i);
        if (!Store()) allStored = false;
    }
    saver.join();
    EXPECT_TRUE(allStored);
    const std::vector<uint8_t> bytes = OnDisk();
    ASSERT_EQ(bytes.size(), kSize);
    EXPECT_EQ(bytes[Image::Offset(0, 1, 0, 19)], 1) << "the last store saw the last mark";
}
