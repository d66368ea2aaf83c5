#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "Lib/ZIRur/Sound/SoundPlayers.h"
#include "Lib/ZIRur/Wnd/TSBgmWnd.h"
#include "support/PlatformFixture.h"

namespace {

namespace fs = std::filesystem;

// A mono 16-bit PCM WAV of `frames` samples of one value, written from the RIFF layout.
void WriteWav(const fs::path& path, int frames, int16_t value) {
    auto u32 = [](std::ofstream& o, uint32_t v) {
        for (int i = 0; i < 4; ++i) o.put(char(v >> (8 * i)));
    };
    auto u16 = [](std::ofstream& o, uint16_t v) {
        o.put(char(v));
        o.put(char(v >> 8));
    };
    std::ofstream o(path, std::ios::binary);
    o.write("RIFF", 4);
    u32(o, uint32_t(36 + frames * 2));
    o.write("WAVEfmt ", 8);
    u32(o, 16);
    u16(o, 1);
    u16(o, 1);
    u32(o, 22050);
    u32(o, 44100);
    u16(o, 2);
    u16(o, 16);
    o.write("data", 4);
    u32(o, uint32_t(frames * 2));
    for (int i = 0; i < frames; ++i) u16(o, uint16_t(value));
}

class BgmControlTest : public HeadlessTest {
protected:
    BgmControlTest() {
        m_dir = fs::temp_directory_path() /
                ("sw-bgm-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(m_dir);
        WriteWav(m_dir / "a.wav", 22050, 1000);
        WriteWav(m_dir / "b.wav", 22050, 2000);
        WriteWav(m_dir / "se1.wav", 2205, 3000);
        WriteWav(m_dir / "se2.wav", 2205, 4000);
        m_platform.SetTraceSink([this](uint64_t ms, platform::TraceKind kind,
                                       const std::string& detail) {
            std::string d = detail;
            if (size_t slash = d.rfind('/'); slash != std::string::npos) d = d.substr(slash + 1);
            trace.push_back(std::to_string(ms) + " " + platform::HeadlessPlatform::TraceName(kind) +
                            (d.empty() ? "" : " " + d));
        });
        CreateSoundPlayers();
    }
    ~BgmControlTest() override {
        DeleteSoundPlayers();
        fs::remove_all(m_dir);
    }
    std::string Path(const char* name) const { return (m_dir / name).string(); }

    fs::path m_dir;
    std::vector<std::string> trace;
    CTSBgmWnd screen;
};

TEST_F(BgmControlTest, TheSameTrackKeepsRunningAndAnotherReplacesIt) {
    screen.PlayBgm(Path("a.wav").c_str());
    m_platform.SetNow(100);
    CTSBgmWnd next;
    next.PlayBgm(Path("a.wav").c_str());
    EXPECT_EQ(trace, (std::vector<std::string>{"0 bgm a.wav"})) << "no restart";
    EXPECT_TRUE(BgmPlayer()->IsPlaying());
    next.PlayBgm(Path("b.wav").c_str());
    ASSERT_GE(trace.size(), 2u);
    EXPECT_EQ(trace.back(), "100 bgm b.wav");
    EXPECT_EQ(CurrentBgmPath(), Path("b.wav"));
}

TEST_F(BgmControlTest, SwitchingMusicOffStopsItAtOnceAndPlaysNothingNew) {
    screen.PlayBgm(Path("a.wav").c_str());
    m_platform.SetNow(50);
    screen.SetBgmEnabled(0);
    EXPECT_FALSE(BgmPlayer()->IsPlaying());
    EXPECT_EQ(trace.back(), "50 bgm stop");
    screen.PlayBgm(Path("b.wav").c_str());
    EXPECT_FALSE(BgmPlayer()->IsPlaying());
    screen.SetBgmEnabled(1);
    screen.PlayBgm(Path("a.wav").c_str());
    EXPECT_TRUE(BgmPlayer()->IsPlaying()) << "on again, the track starts afresh";
}

TEST_F(BgmControlTest, ASecondEffectCutsTheFirstAndEffectsOffOnlyPreventsNewOnes) {
    screen.PlaySe(Path("se1.wav").c_str());
    screen.PlaySe(Path("se2.wav").c_str());
    EXPECT_EQ(SePlayer()->Path(), Path("se2.wav"));
    EXPECT_TRUE(SePlayer()->IsPlaying());
    screen.SetSeEnabled(0);
    EXPECT_TRUE(SePlayer()->IsPlaying()) << "the effect already playing goes on";
    screen.PlaySe(Path("se1.wav").c_str());
    EXPECT_EQ(SePlayer()->Path(), Path("se2.wav"));
    EXPECT_EQ(
        std::count_if(trace.begin(), trace.end(),
                      [](const std::string& t) { return t.find(" se ") != std::string::npos; }),
        2);
}

TEST_F(BgmControlTest, LoadAppliesTheSavedSwitches) {
    SetSoundSettingsSource([] { return TSSoundSettings{0, 1}; });
    screen.SendEvent(kEvLoad, 0, 0);
    SetSoundSettingsSource(nullptr);
    EXPECT_EQ(screen.m_bgmEnabled, 0);
    EXPECT_EQ(screen.m_seEnabled, 1);
}

}  // namespace
