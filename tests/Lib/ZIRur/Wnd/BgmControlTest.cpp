#include <gtest/gtest.h>
#include <algorithm>
#include <tuple>
#include "../Sound/WavBytes.h"
#include "Lib/ZIRur/Sound/SoundPlayers.h"
#include "Lib/ZIRur/Wnd/TSBgmWnd.h"
#include "support/PlatformFixture.h"
#include "support/ScratchDir.h"

namespace {

// Mono 16-bit files at the output rate, of `frames` samples of one value.
class BgmControlTest : public HeadlessTest {
protected:
    BgmControlTest() {
        for (auto [name, frames, value] : {std::tuple{"a.wav", 22050u, 1000},
                                           {"b.wav", 22050u, 2000},
                                           {"se1.wav", 2205u, 3000},
                                           {"se2.wav", 2205u, 4000}}) {
            wavtest::Bytes data;
            for (uint32_t i = 0; i < frames; ++i) wavtest::Put(data, uint16_t(value), 2);
            EXPECT_TRUE(testsupport::WriteBytes(Path(name), wavtest::PcmWav(1, 22050, 16, data)));
        }
        m_platform.SetTraceSink([this](uint64_t ms, platform::TraceKind kind,
                                       const std::string& detail) {
            const std::string file = detail.substr(detail.rfind('/') + 1);
            trace.push_back(std::to_string(ms) + " " + platform::HeadlessPlatform::TraceName(kind) +
                            (file.empty() ? "" : " " + file));
        });
        CreateSoundPlayers();
    }
    ~BgmControlTest() override { DeleteSoundPlayers(); }
    std::string Path(const char* name) const { return m_dir / name; }
    testsupport::ScratchDir m_dir;
    std::vector<std::string> trace;
    CTSBgmWnd screen;
};

TEST_F(BgmControlTest, TheSameTrackKeepsRunningAnotherReplacesItOffStopsAtOnce) {
    screen.PlayBgm(Path("a.wav").c_str());
    m_platform.SetNow(100);
    CTSBgmWnd next;
    next.PlayBgm(Path("a.wav").c_str());
    EXPECT_EQ(trace, (std::vector<std::string>{"0 bgm a.wav"})) << "no restart";
    EXPECT_TRUE(BgmPlayer()->IsPlaying());
    next.PlayBgm(Path("b.wav").c_str());
    EXPECT_EQ(trace.back(), "100 bgm b.wav");
    EXPECT_EQ(CurrentBgmPath(), Path("b.wav"));
    m_platform.SetNow(150);
    next.SetBgmEnabled(0);
    EXPECT_FALSE(BgmPlayer()->IsPlaying());
    EXPECT_EQ(trace.back(), "150 bgm stop");
    next.PlayBgm(Path("a.wav").c_str());
    EXPECT_FALSE(BgmPlayer()->IsPlaying());
    next.SetBgmEnabled(1);
    next.PlayBgm(Path("b.wav").c_str());
    EXPECT_TRUE(BgmPlayer()->IsPlaying()) << "on again, the track starts afresh";
    EXPECT_EQ(trace.back(), "150 bgm b.wav");
}

// That a second effect cuts the first is the player's rule.
TEST_F(BgmControlTest, EffectsOffOnlyPreventsNewOnes) {
    screen.PlaySe(Path("se1.wav").c_str());
    screen.PlaySe(Path("se2.wav").c_str());
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
    EXPECT_EQ(std::tuple(screen.m_bgmEnabled, screen.m_seEnabled), std::tuple(0, 1));
}

}  // namespace
