#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/DataRoot.h"
#include "platform/headless/HeadlessPlatform.h"
#include "progress/ProgressState.h"
#include "progress/SaveData.h"
#include "support/ScratchDir.h"

using testsupport::ReadBytes;
using testsupport::ScratchDir;
using testsupport::WriteBytes;

namespace fs = std::filesystem;

TEST(DataRoot, BesideTheProgramFirstElseTheInstalledOneWhichIsShared) {
    ScratchDir dir;
    fs::create_directories(dir / "build/DATA");
    fs::create_directories(dir / "usr/games");
    fs::create_directories(dir / "usr/share/stonewell/DATA");
    const std::string installed = dir / "usr/share/stonewell";
    const dataroot::DataRoot own = dataroot::Find(dir / "build", installed),
                             system = dataroot::Find(dir / "usr/games", installed);
    EXPECT_EQ(std::tuple(own.root, own.installed), std::tuple(dir / "build", false));
    EXPECT_EQ(std::tuple(system.root, system.installed), std::tuple(installed, true));
    // A program beside the installed data set (reached through a link) still uses it shared.
    fs::create_directory_symlink(installed, dir / "linked");
    EXPECT_TRUE(dataroot::Find(dir / "linked", installed).installed);
    // Nothing installed: the missing folder beside the program is what gets reported.
    EXPECT_EQ(dataroot::Find(dir / "usr/games", "").root, dir / "usr/games");

    EXPECT_FALSE(dataroot::IsShared({dir / "build", false})) << "a first run, no SAVE yet";
    fs::create_directories(dir / "build/DATA/SAVE");
    EXPECT_FALSE(dataroot::IsShared({dir / "build", false}));
    EXPECT_TRUE(dataroot::IsShared({dir / "build", true}));
    // Root ignores permission bits: a file where the folder should be makes it unwritable.
    ASSERT_TRUE(WriteBytes(dir / "other/DATA/SAVE", {1}));
    EXPECT_TRUE(dataroot::IsShared({dir / "other", false}));
}

TEST(DataRoot, ASharedRootsSaveFolderIsNeitherReadNorWritten) {
    ScratchDir dir;
    // A save a run as root once left in the shared data set, with music switched off.
    const std::vector<uint8_t> stray(savefile::kFileSize, 0);
    ASSERT_TRUE(WriteBytes(dir / "share/DATA/SAVE/setting.dat", stray));
    ::setenv("XDG_DATA_HOME", (dir / "home/data").c_str(), 1);
    platform::HeadlessPlatform headless;
    platform::SetPlatform(&headless);
    testsupport::WorkingDirectory inRoot(dir / "share");
    savefile::KeepInUserFolderOnly(true);

    EXPECT_FALSE(LoadSaveData()) << "a new user's first start";
    EXPECT_EQ(TheSettings().m_bgmOn, 1);
    TheProgress().MarkProblemSolved(0, 0, 2, 0);
    EXPECT_TRUE(StoreSaveData());
    const std::vector<uint8_t> stored = ReadBytes(dir / "home/data/stonewell/setting.dat");
    ASSERT_EQ(stored.size(), savefile::kFileSize);
    EXPECT_EQ(stored[569], 1);
    EXPECT_EQ(ReadBytes(dir / "share/DATA/SAVE/setting.dat"), stray);
    savefile::KeepInUserFolderOnly(false);
    TheProgress().ResetProblemProgress();
    platform::SetPlatform(nullptr);
    ::unsetenv("XDG_DATA_HOME");
}
