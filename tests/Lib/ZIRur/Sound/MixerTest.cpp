#include <gtest/gtest.h>

#include "Lib/ZIRur/Sound/Sound.h"
#include "Lib/ZIRur/Sound/SoundDevice.h"
#include "WavBytes.h"

using namespace wavtest;

// The device is used unstarted here: nothing pulls, so the test calls Mix itself.
namespace {

std::unique_ptr<CSound> MakeSound(CSoundDevice& device, const Bytes& file) {
    auto reader = std::make_unique<CWavReader>();
    if (!reader->OpenMemory(file)) return nullptr;
    return device.CreateSound(std::move(reader));
}

// A stereo 16-bit sound at the output rate whose left and right are v and -v.
Bytes StereoWav(std::initializer_list<int16_t> values) {
    Bytes data;
    for (int16_t v : values) {
        PutS16(data, v);
        PutS16(data, int16_t(-v));
    }
    return PcmWav(2, 22050, 16, data);
}

std::vector<int16_t> Left(CSoundDevice& device, int frames) {
    std::vector<int16_t> out(size_t(frames) * 2, 0x5555);
    device.Mix(out.data(), frames);
    std::vector<int16_t> left;
    for (int i = 0; i < frames; ++i) {
        // Right mirrors left (saturating at -32768 where left saturates at 32767).
        int16_t l = out[size_t(i) * 2];
        EXPECT_EQ(out[size_t(i) * 2 + 1], l == 32767 ? -32768 : -l) << "channels stay apart";
        left.push_back(l);
    }
    return left;
}

using Samples = std::vector<int16_t>;

}  // namespace

TEST(Mixer, SilenceWhenNothingPlays) {
    CSoundDevice device;
    auto sound = MakeSound(device, StereoWav({1, 2, 3}));
    ASSERT_TRUE(sound);
    EXPECT_EQ(Left(device, 4), Samples(4, 0));
}

TEST(Mixer, LoopWrapsWithoutGapAcrossMixCalls) {
    CSoundDevice device;
    auto music = MakeSound(device, StereoWav({10, 20, 30, 40, 50}));
    ASSERT_TRUE(music->Play(0, true));
    EXPECT_EQ(Left(device, 7), (Samples{10, 20, 30, 40, 50, 10, 20}));
    EXPECT_EQ(Left(device, 9), (Samples{30, 40, 50, 10, 20, 30, 40, 50, 10}));
    EXPECT_TRUE(music->IsSoundPlaying());
}

TEST(Mixer, EffectPlaysOnceThenSilenceAndCanPlayAgain) {
    CSoundDevice device;
    auto effect = MakeSound(device, StereoWav({7, 8, 9}));
    ASSERT_TRUE(effect->Play(0, false));
    EXPECT_EQ(Left(device, 5), (Samples{7, 8, 9, 0, 0}));
    EXPECT_FALSE(effect->IsSoundPlaying());
    EXPECT_EQ(Left(device, 3), Samples(3, 0));
    ASSERT_TRUE(effect->Play(0, false));
    EXPECT_EQ(Left(device, 4), (Samples{7, 8, 9, 0})) << "a finished effect starts over";
}

TEST(Mixer, MusicAndEffectAddUpAndSaturate) {
    CSoundDevice device;
    auto music = MakeSound(device, StereoWav({1000, 30000}));
    auto effect = MakeSound(device, StereoWav({5, 10000, -5, 1}));
    music->Play(0, true);
    effect->Play(0, false);
    EXPECT_EQ(Left(device, 6), (Samples{1005, 32767, 995, 30001, 1000, 30000}));
}

TEST(Mixer, StopSilencesAtOnceAndPlayResumesWhereItStopped) {
    CSoundDevice device;
    auto music = MakeSound(device, StereoWav({1, 2, 3, 4, 5, 6}));
    music->Play(0, true);
    EXPECT_EQ(Left(device, 2), (Samples{1, 2}));
    ASSERT_TRUE(music->Stop());
    EXPECT_FALSE(music->IsSoundPlaying());
    EXPECT_EQ(Left(device, 3), Samples(3, 0));
    music->Play(0, true);
    EXPECT_EQ(Left(device, 3), (Samples{3, 4, 5}));
    music->Stop();
    music->Reset();
    music->Play(0, true);
    EXPECT_EQ(Left(device, 2), (Samples{1, 2}));
}

TEST(Mixer, DestroyedSoundLeavesTheMix) {
    CSoundDevice device;
    auto music = MakeSound(device, StereoWav({3, 3}));
    music->Play(0, true);
    music.reset();
    EXPECT_EQ(Left(device, 2), Samples(2, 0));
}

TEST(Mixer, ShortEightBitDataPlaysSilenceForTheMissingPart) {
    // Stated 6 frames, 3 present. Missing 8-bit samples are silence (128), which is 0 out.
    Bytes file = Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 8)), Chunk("data", {0, 255, 129}, 6)});
    file.pop_back();  // drop the pad byte: the file really ends after the third sample
    CSoundDevice device;
    auto sound = MakeSound(device, file);
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->BufferSize(), 6u);
    sound->Play(0, true);
    std::vector<int16_t> out(16, 0x5555);
    device.Mix(out.data(), 8);
    EXPECT_EQ(out, (Samples{-32768, -32768, 32512, 32512, 256, 256, 0, 0, 0, 0, 0, 0, -32768,
                            -32768, 32512, 32512}))
        << "the loop spans the stated length";
}

TEST(Mixer, ConvertedSoundHasTheOutputLength) {
    // 4 mono frames at 11025 Hz last 8 output frames; at 44100 Hz stereo, 2.
    CSoundDevice device;
    auto slow = MakeSound(device, PcmWav(1, 11025, 16, Pcm16({100, 200, 300, 400})));
    ASSERT_TRUE(slow);
    slow->Play(0, false);
    std::vector<int16_t> out(20, 0);
    device.Mix(out.data(), 10);
    EXPECT_EQ(out, (Samples{100, 100, 150, 150, 200, 200, 250, 250, 300, 300,
                            350, 350, 400, 400, 400, 400, 0,   0,   0,   0}));

    auto fast = MakeSound(device, PcmWav(2, 44100, 16, Pcm16({1, 2, 3, 4, 5, 6, 7, 8})));
    ASSERT_TRUE(fast);
    fast->Play(0, false);
    out.assign(8, 0);
    device.Mix(out.data(), 4);
    EXPECT_EQ(out, (Samples{1, 2, 5, 6, 0, 0, 0, 0}));
}

TEST(Mixer, RefusesSoundsItCannotPlay) {
    CSoundDevice device;
    EXPECT_FALSE(MakeSound(device, PcmWav(1, 22050, 16, {}))) << "empty data";
    EXPECT_FALSE(MakeSound(device, PcmWav(2, 22050, 16, {1, 2}))) << "less than one frame";
    EXPECT_FALSE(MakeSound(device, PcmWav(7, 22050, 16, Bytes(28, 0)))) << "7 channels";
    EXPECT_FALSE(MakeSound(device, PcmWav(1, 22050, 32, Bytes(8, 0)))) << "32-bit";
    EXPECT_FALSE(MakeSound(device, PcmWav(1, 5, 8, Bytes(8, 0)))) << "5 Hz";
    Bytes adpcm = FmtBody(2, 1, 22050, 4);
    PutU16(adpcm, 2);
    PutU16(adpcm, 0x1234);
    EXPECT_FALSE(MakeSound(device, Riff({Chunk("fmt ", adpcm), Chunk("data", {1, 2})})))
        << "a non-PCM format is read but cannot be played";
    Bytes huge = Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 8)), Chunk("data", {1}, 0x10000000)});
    EXPECT_FALSE(MakeSound(device, huge)) << "larger than any sound buffer";
    EXPECT_FALSE(device.CreateSound(std::make_unique<CWavReader>())) << "reader not open";
    EXPECT_FALSE(device.CreateSound("/nonexistent/stonewell.wav"));
}

TEST(Mixer, ExtensiblePcmPlays) {
    Bytes fmt = FmtBody(0xFFFE, 1, 22050, 16);
    PutU16(fmt, 22);
    PutU16(fmt, 16);
    PutU32(fmt, 4);
    for (uint8_t b : {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00,
                      0x38, 0x9B, 0x71}) {
        fmt.push_back(b);
    }
    CSoundDevice device;
    auto sound = MakeSound(device, Riff({Chunk("fmt ", fmt), Chunk("data", Pcm16({-9, 9}))}));
    ASSERT_TRUE(sound);
    sound->Play(0, false);
    std::vector<int16_t> out(4, 0);
    device.Mix(out.data(), 2);
    EXPECT_EQ(out, (Samples{-9, -9, 9, 9}));
}

TEST(Mixer, SecondPlayTakesAFreeBufferOfAMultiBufferSound) {
    CSoundDevice device;
    auto reader = std::make_unique<CWavReader>();
    ASSERT_TRUE(reader->OpenMemory(StereoWav({10, 20, 30})));
    auto sound = device.CreateSound(std::move(reader), 0, 2);
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->NumBuffers(), 2);
    sound->Play(0, false);
    EXPECT_EQ(Left(device, 1), (Samples{10}));
    sound->Play(0, false);  // the first buffer plays, so the second starts
    EXPECT_TRUE(sound->GetBuffer(0)->IsPlaying());
    EXPECT_TRUE(sound->GetBuffer(1)->IsPlaying());
    EXPECT_EQ(Left(device, 3), (Samples{30, 50, 30}));
    EXPECT_FALSE(sound->IsSoundPlaying());
    EXPECT_EQ(sound->GetBuffer(2), nullptr);
}
