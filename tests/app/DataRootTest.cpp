#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/DataRoot.h"
#include "platform/headless/HeadlessPlatform.h"
#include "progress/ProgressState.h"
#include "progress/SaveData.h"
#include "support/ScratchDir.h"

using testsupport::ReadBytes;
using testsupport::ScratchDir;
using testsupport::WorkingDirectory;
using testsupport::WriteBytes;

namespace {

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

}  // namespace

TEST(DataRoot, BesideTheProgramFirstElseTheInstalledOne) {
    ScratchDir dir;
    std::filesystem::create_directories(dir / "build/DATA");
    std::filesystem::create_directories(dir / "usr/games");
    std::filesystem::create_directories(dir / "usr/share/stonewell/DATA");
    const std::string installed = dir / "usr/share/stonewell";

    const dataroot::DataRoot own = dataroot::Find(dir / "build", installed);
    EXPECT_EQ(own.root, dir / "build");
    EXPECT_FALSE(own.installed);

    const dataroot::DataRoot system = dataroot::Find(dir / "usr/games", installed);
    EXPECT_EQ(system.root, installed);
    EXPECT_TRUE(system.installed);

    // A program beside the installed data set (reached through a link) still uses it shared.
    std::filesystem::create_directory_symlink(installed, dir / "linked");
    EXPECT_TRUE(dataroot::Find(dir / "linked", installed).installed);

    // Nothing installed: the missing folder beside the program is what gets reported.
    EXPECT_EQ(dataroot::Find(dir / "usr/games", "").root, dir / "usr/games");
}

TEST(DataRoot, InstalledOrUnwritableRootsAreShared) {
    ScratchDir dir;
    std::filesystem::create_directories(dir / "own/DATA");
    EXPECT_FALSE(dataroot::IsShared({dir / "own", false})) << "a first run, no SAVE yet";
    std::filesystem::create_directories(dir / "own/DATA/SAVE");
    EXPECT_FALSE(dataroot::IsShared({dir / "own", false}));
    EXPECT_TRUE(dataroot::IsShared({dir / "own", true}));
    // Root ignores permission bits, so a file standing where the folder should be makes the
    // save folder unwritable.
    ASSERT_TRUE(WriteBytes(dir / "other/DATA/SAVE", {1}));
    EXPECT_TRUE(dataroot::IsShared({dir / "other", false}));
}

TEST(DataRoot, ASharedRootsSaveFolderIsNeitherReadNorWritten) {
    ScratchDir dir;
    // A save a run as root once left in the shared data set, with music switched off.
    std::vector<uint8_t> stray(savefile::kFileSize, 0);
    stray[savefile::kSettingsOffset + 12] = 5;
    ASSERT_TRUE(WriteBytes(dir / "share/DATA/SAVE/setting.dat", stray));
    ScopedEnv dataHome("XDG_DATA_HOME", dir / "home/data");
    platform::HeadlessPlatform headless;
    platform::SetPlatform(&headless);
    WorkingDirectory inRoot(dir / "share");
    savefile::KeepInUserFolderOnly(true);

    EXPECT_FALSE(LoadSaveData()) << "a new user's first start";
    EXPECT_EQ(TheSettings().m_bgmOn, 1);
    EXPECT_EQ(TheSettings().m_menuPosition, 0);
    TheProgress().MarkProblemSolved(0, 0, 2, 0);
    EXPECT_TRUE(StoreSaveData());
    const std::vector<uint8_t> stored = ReadBytes(dir / "home/data/stonewell/setting.dat");
    ASSERT_EQ(stored.size(), savefile::kFileSize);
    EXPECT_EQ(stored[569], 1);
    EXPECT_EQ(ReadBytes(dir / "share/DATA/SAVE/setting.dat"), stray);

    savefile::KeepInUserFolderOnly(false);
    platform::SetPlatform(nullptr);
}
