#include "Lib/ZIRur/Sound/Wave.h"

#include <gtest/gtest.h>
#include "Lib/ZIRur/Sound/SoundPlayers.h"
#include "WavBytes.h"
#include "platform/headless/HeadlessPlatform.h"
#include "support/ScratchDir.h"

using namespace wavtest;

namespace {

using Samples = std::vector<int16_t>;
using Lines = std::vector<std::string>;

// Counts how the players open and close the output; can refuse to open it.
class AudioPlatform : public platform::HeadlessPlatform {
public:
    bool StartAudio(platform::AudioSource* source) override {
        (source != nullptr ? m_starts : m_stops)++;
        return !m_refuse && HeadlessPlatform::StartAudio(source);
    }
    bool m_refuse = false;
    int m_starts = 0, m_stops = 0;
};

class WaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_platform.SetKeepAudio(true);
        m_platform.SetTraceSink(
            [this](uint64_t ms, platform::TraceKind kind, const std::string& d) {
                m_trace.push_back(std::to_string(ms) + " " +
                                  platform::HeadlessPlatform::TraceName(kind) +
                                  (d.empty() ? "" : " " + d));
            });
        platform::SetPlatform(&m_platform);
    }
    void TearDown() override {
        DeleteSoundPlayers();
        platform::SetPlatform(nullptr);
    }

    // A stereo file at the output rate of `frames` frames of `value` (of the frame index with
    // `ramp`), written to the scratch folder.
    std::string Tone(const std::string& name, int frames, int16_t value, bool ramp = false) {
        Bytes data;
        for (int i = 0; i < frames; ++i)
            for (int channel = 0; channel < 2; ++channel)
                Put(data, uint16_t(ramp ? int16_t(i) : value), 2);
        EXPECT_TRUE(testsupport::WriteBytes(m_dir / name, PcmWav(2, 22050, 16, data)));
        return m_dir / name;
    }

    // Left channel of what was mixed since the last call.
    Samples TakeLeft() {
        const Samples all = m_platform.TakeAudio();
        Samples left;
        for (size_t i = 0; i < all.size(); i += 2) left.push_back(all[i]);
        return left;
    }

    testsupport::ScratchDir m_dir;
    AudioPlatform m_platform;
    Lines m_trace;
};

}  // namespace

TEST_F(WaveTest, SecondEffectCutsTheFirstEffectsPlayOnceAFailedLoadKeepsNothing) {
    const std::string first = Tone("a.wav", 22050, 1000);
    const std::string second = Tone("b.wav", 50, -2000);
    CWave se(SoundRole::Se);
    ASSERT_TRUE(se.Load(first));
    ASSERT_TRUE(se.Play(false));
    m_platform.Sleep(10);
    ASSERT_TRUE(se.Load(second));
    EXPECT_FALSE(se.IsPlaying()) << "loading stops the effect still playing";
    ASSERT_TRUE(se.Play(false));
    m_platform.Sleep(100);
    Samples expected(220, 1000);
    expected.insert(expected.end(), 50, -2000);
    expected.resize(220 + 2205, 0);
    EXPECT_EQ(TakeLeft(), expected);
    EXPECT_FALSE(se.IsPlaying());
    EXPECT_FALSE(se.Load(m_dir / "none.wav") || se.Play(false)) << "a failed load keeps nothing";
    EXPECT_TRUE(se.Path().empty());
    EXPECT_EQ(m_trace, (Lines{"0 se " + first, "10 se " + second})) << "effects report no stop";
}

TEST_F(WaveTest, StopLoadAndReleaseSilenceMusicAtOnce) {
    const std::string path = Tone("music.wav", 22050, 500);
    const std::string other = Tone("other.wav", 100, 2);
    Samples tenMsThenSilence(220, 500);  // 10 ms of the music, then 10 ms of silence
    tenMsThenSilence.resize(441, 0);
    CWave bgm(SoundRole::Bgm);
    ASSERT_TRUE(bgm.Load(path));
    bgm.Play(true);
    m_platform.Sleep(10);
    ASSERT_TRUE(bgm.Stop());
    m_platform.Sleep(10);
    EXPECT_EQ(TakeLeft(), tenMsThenSilence);
    EXPECT_FALSE(bgm.IsPlaying());
    ASSERT_TRUE(bgm.Play(true)) << "a stopped sound is kept";
    m_platform.Sleep(10);
    ASSERT_TRUE(bgm.Release());
    EXPECT_FALSE(bgm.Play(true) || bgm.Stop() || bgm.Release());
    EXPECT_TRUE(bgm.Path().empty());
    m_platform.Sleep(10);
    EXPECT_EQ(TakeLeft(), tenMsThenSilence);
    bgm.Load(path);
    bgm.Play(true);
    ASSERT_TRUE(bgm.Load(other));
    EXPECT_FALSE(bgm.IsPlaying()) << "loading over playing music stops it";
    EXPECT_EQ(bgm.Path(), other);
    EXPECT_EQ(m_trace, (Lines{"0 bgm " + path, "10 bgm stop", "20 bgm " + path, "30 bgm stop",
                              "40 bgm " + path, "40 bgm stop"}));
}

// Which files the reader and the device refuse is checked with them.
TEST_F(WaveTest, NoDeviceLeavesNoSoundAndNoMessage) {
    const std::string good = Tone("good.wav", 100, 1);
    m_platform.m_refuse = true;
    CWave bgm(SoundRole::Bgm);
    EXPECT_FALSE(bgm.HasDevice());
    EXPECT_FALSE(bgm.Load(good) || bgm.Play(true) || bgm.IsPlaying() || bgm.Stop() ||
                 bgm.Release());
    m_platform.Sleep(10);
    EXPECT_TRUE(m_trace.empty()) << "no message box, no sound";
    m_platform.m_refuse = false;
    EXPECT_TRUE(CWave(SoundRole::Se).HasDevice()) << "a later player tries the device again";
}

TEST_F(WaveTest, PlayersShareOneOutputAndCloseItWhenDeleted) {
    const std::string music = Tone("music.wav", 100, 0, true);
    const std::string effect = Tone("effect.wav", 110, 7);
    EXPECT_EQ(BgmPlayer(), nullptr);
    CreateSoundPlayers();
    CWave *bgm = BgmPlayer(), *se = SePlayer();
    ASSERT_TRUE(bgm && se && bgm->Role() == SoundRole::Bgm && se->Role() == SoundRole::Se);
    CreateSoundPlayers();
    EXPECT_EQ(BgmPlayer(), bgm) << "a second call keeps the players";
    EXPECT_EQ(m_platform.m_starts, 1);
    bgm->Load(music);
    bgm->Play(true);
    se->Load(effect);
    se->Play(false);
    m_platform.Sleep(10);
    // The music loops after 100 frames; the effect adds 7 over its 110.
    Samples expected(220);
    for (size_t i = 0; i < expected.size(); ++i) expected[i] = int16_t(i % 100 + (i < 110 ? 7 : 0));
    EXPECT_EQ(TakeLeft(), expected) << "both players mix into the one output";
    EXPECT_TRUE(bgm->IsPlaying());
    DeleteSoundPlayers();
    EXPECT_TRUE(BgmPlayer() == nullptr && SePlayer() == nullptr);
    EXPECT_EQ(m_platform.m_stops, 1);
    m_platform.Sleep(10);
    EXPECT_TRUE(TakeLeft().empty()) << "nothing pulls after the players are gone";
}
