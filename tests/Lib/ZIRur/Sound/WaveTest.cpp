#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include <unistd.h>

#include "Lib/ZIRur/Sound/SoundPlayers.h"
#include "Lib/ZIRur/Sound/Wave.h"
#include "WavBytes.h"
#include "platform/headless/HeadlessPlatform.h"

using namespace wavtest;

namespace {

// Counts how the players open and close the output; can refuse to open it.
class AudioPlatform : public platform::HeadlessPlatform {
public:
    bool StartAudio(platform::AudioSource* source) override {
        (source != nullptr ? m_starts : m_stops)++;
        if (m_refuse) return false;
        return HeadlessPlatform::StartAudio(source);
    }
    bool m_refuse = false;
    int m_starts = 0;
    int m_stops = 0;
};

// A stereo 16-bit file at the output rate holding `frames` frames of `value` (left and
// right), or of the frame index when `value` is absent.
Bytes ToneWav(int frames, std::optional<int16_t> value) {
    Bytes data;
    for (int i = 0; i < frames; ++i) {
        PutS16(data, value ? *value : int16_t(i));
        PutS16(data, value ? *value : int16_t(i));
    }
    return PcmWav(2, 22050, 16, data);
}

class WaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("stonewell_wave_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
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
        std::filesystem::remove_all(m_dir);
    }

    std::string Write(const std::string& name, const Bytes& bytes) {
        auto path = m_dir / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path.string();
    }

    // Left channel of what was mixed since the last call.
    std::vector<int16_t> TakeLeft() {
        std::vector<int16_t> all = m_platform.TakeAudio();
        std::vector<int16_t> left;
        for (size_t i = 0; i < all.size(); i += 2) left.push_back(all[i]);
        return left;
    }

    std::filesystem::path m_dir;
    AudioPlatform m_platform;
    std::vector<std::string> m_trace;
};

}  // namespace

TEST_F(WaveTest, MusicLoopsSeamlesslyOnTheOutputClock) {
    std::string path = Write("music.wav", ToneWav(441, std::nullopt));  // 20 ms
    CWave bgm(SoundRole::Bgm);
    ASSERT_TRUE(bgm.Load(path));
    EXPECT_FALSE(bgm.IsPlaying());
    ASSERT_TRUE(bgm.Play(true));
    m_platform.Sleep(100);
    std::vector<int16_t> left = TakeLeft();
    ASSERT_EQ(left.size(), 2205u);
    for (size_t i = 0; i < left.size(); ++i) ASSERT_EQ(left[i], int16_t(i % 441)) << i;
    EXPECT_TRUE(bgm.IsPlaying());
    EXPECT_EQ(m_trace, (std::vector<std::string>{"0 bgm " + path}));
}

TEST_F(WaveTest, SecondEffectCutsTheFirstAndEffectsPlayOnce) {
    std::string first = Write("a.wav", ToneWav(22050, 1000));
    std::string second = Write("b.wav", ToneWav(50, -2000));
    CWave se(SoundRole::Se);
    ASSERT_TRUE(se.Load(first));
    ASSERT_TRUE(se.Play(false));
    m_platform.Sleep(10);
    ASSERT_TRUE(se.Load(second));
    EXPECT_FALSE(se.IsPlaying()) << "loading stops the effect still playing";
    ASSERT_TRUE(se.Play(false));
    m_platform.Sleep(100);
    std::vector<int16_t> left = TakeLeft();
    ASSERT_EQ(left.size(), 220u + 2205u);
    std::vector<int16_t> expected(220, 1000);
    expected.insert(expected.end(), 50, -2000);
    expected.resize(left.size(), 0);
    EXPECT_EQ(left, expected);
    EXPECT_FALSE(se.IsPlaying());
    EXPECT_EQ(m_trace, (std::vector<std::string>{"0 se " + first, "10 se " + second}))
        << "effects report no stop";
}

TEST_F(WaveTest, StopSilencesAtOnceAndReleaseDropsTheSound) {
    std::string path = Write("music.wav", ToneWav(22050, 500));
    CWave bgm(SoundRole::Bgm);
    ASSERT_TRUE(bgm.Load(path));
    bgm.Play(true);
    m_platform.Sleep(10);
    ASSERT_TRUE(bgm.Stop());
    m_platform.Sleep(10);
    std::vector<int16_t> expected(220, 500);
    expected.resize(441, 0);
    EXPECT_EQ(TakeLeft(), expected);
    EXPECT_FALSE(bgm.IsPlaying());

    ASSERT_TRUE(bgm.Play(true)) << "a stopped sound is kept";
    m_platform.Sleep(10);
    ASSERT_TRUE(bgm.Release());
    EXPECT_FALSE(bgm.Play(true));
    EXPECT_FALSE(bgm.Stop());
    EXPECT_FALSE(bgm.Release());
    EXPECT_TRUE(bgm.Path().empty());
    m_platform.Sleep(10);
    expected.assign(220, 500);
    expected.resize(441, 0);
    EXPECT_EQ(TakeLeft(), expected);
    EXPECT_EQ(m_trace, (std::vector<std::string>{"0 bgm " + path, "10 bgm stop", "20 bgm " + path,
                                                 "30 bgm stop"}));
}

TEST_F(WaveTest, LoadingOverPlayingMusicStopsIt) {
    std::string a = Write("a.wav", ToneWav(100, 1));
    std::string b = Write("b.wav", ToneWav(100, 2));
    CWave bgm(SoundRole::Bgm);
    bgm.Load(a);
    bgm.Play(true);
    ASSERT_TRUE(bgm.Load(b));
    EXPECT_FALSE(bgm.IsPlaying());
    EXPECT_EQ(bgm.Path(), b);
    EXPECT_EQ(m_trace, (std::vector<std::string>{"0 bgm " + a, "0 bgm stop"}));
}

TEST_F(WaveTest, MissingOrMalformedFilesFailQuietly) {
    std::string good = Write("good.wav", ToneWav(100, 1));
    Bytes broken = ToneWav(100, 1);
    broken[12] = 'x';  // "fmt " is gone
    std::string bad = Write("bad.wav", broken);
    std::string empty = Write("empty.wav", PcmWav(2, 22050, 16, {}));

    CWave se(SoundRole::Se);
    for (const std::string& path : {m_dir.string() + "/none.wav", bad, empty}) {
        ASSERT_TRUE(se.Load(good));
        EXPECT_FALSE(se.Load(path)) << path;
        EXPECT_FALSE(se.Play(false)) << "a failed load leaves no sound: " << path;
        EXPECT_FALSE(se.IsPlaying());
        EXPECT_TRUE(se.Path().empty());
    }
    m_platform.Sleep(20);
    EXPECT_EQ(TakeLeft(), std::vector<int16_t>(441, 0));
    EXPECT_TRUE(m_trace.empty()) << "no message box, no sound";
}

TEST_F(WaveTest, WithoutAudioDeviceEveryOperationFails) {
    m_platform.m_refuse = true;
    std::string path = Write("music.wav", ToneWav(100, 1));
    CWave bgm(SoundRole::Bgm);
    EXPECT_FALSE(bgm.HasDevice());
    EXPECT_FALSE(bgm.Load(path));
    EXPECT_FALSE(bgm.Play(true));
    EXPECT_FALSE(bgm.IsPlaying());
    EXPECT_FALSE(bgm.Stop());
    EXPECT_FALSE(bgm.Release());
    m_platform.Sleep(10);
    EXPECT_TRUE(m_trace.empty());

    m_platform.m_refuse = false;
    CWave later(SoundRole::Se);
    EXPECT_TRUE(later.HasDevice()) << "a later player tries the device again";
}

TEST_F(WaveTest, PlayersShareOneOutputAndCloseItWhenDeleted) {
    std::string music = Write("music.wav", ToneWav(441, 100));
    std::string effect = Write("effect.wav", ToneWav(110, 7));
    EXPECT_EQ(BgmPlayer(), nullptr);
    CreateSoundPlayers();
    CWave* bgm = BgmPlayer();
    CWave* se = SePlayer();
    ASSERT_NE(bgm, nullptr);
    ASSERT_NE(se, nullptr);
    CreateSoundPlayers();
    EXPECT_EQ(BgmPlayer(), bgm) << "a second call keeps the players";
    EXPECT_EQ(bgm->Role(), SoundRole::Bgm);
    EXPECT_EQ(se->Role(), SoundRole::Se);
    EXPECT_EQ(m_platform.m_starts, 1);

    bgm->Load(music);
    bgm->Play(true);
    se->Load(effect);
    se->Play(false);
    m_platform.Sleep(10);
    std::vector<int16_t> expected(110, 107);
    expected.resize(220, 100);
    EXPECT_EQ(TakeLeft(), expected);

    DeleteSoundPlayers();
    EXPECT_EQ(BgmPlayer(), nullptr);
    EXPECT_EQ(SePlayer(), nullptr);
    EXPECT_EQ(m_platform.m_stops, 1);
    m_platform.Sleep(10);
    EXPECT_TRUE(TakeLeft().empty()) << "nothing pulls after the players are gone";
}
