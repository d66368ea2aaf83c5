#include <gtest/gtest.h>
#include "Lib/ZIRur/Sound/Sound.h"
#include "Lib/ZIRur/Sound/SoundDevice.h"
#include "WavBytes.h"

using namespace wavtest;

// The device is used unstarted here: nothing pulls, so the test calls Mix itself.
namespace {

using Samples = std::vector<int16_t>;

std::unique_ptr<CSound> MakeSound(CSoundDevice& device, const Bytes& file, int buffers = 1) {
    auto reader = std::make_unique<CWavReader>();
    if (!reader->OpenMemory(file)) return nullptr;
    return device.CreateSound(std::move(reader), 0, buffers);
}

// A stereo 16-bit sound at the output rate whose left and right are v and -v.
Bytes StereoWav(std::initializer_list<int16_t> values) {
    Bytes data;
    for (int16_t v : values) Put(data, uint16_t(v), 2), Put(data, uint16_t(-v), 2);
    return PcmWav(2, 22050, 16, data);
}

Samples Mix(CSoundDevice& device, int frames) {
    Samples out(size_t(frames) * 2, 0x5555);
    device.Mix(out.data(), frames);
    return out;
}

// Left channel of the next `frames`, checking that right mirrors it (saturating at -32768
// where left saturates at 32767).
Samples Left(CSoundDevice& device, int frames) {
    const Samples out = Mix(device, frames);
    Samples left;
    for (size_t i = 0; i < out.size(); i += 2) {
        EXPECT_EQ(out[i + 1], out[i] == 32767 ? -32768 : -out[i]) << "channels stay apart";
        left.push_back(out[i]);
    }
    return left;
}

TEST(Mixer, MusicLoopsEffectsPlayOnceBothAddUpAndSaturate) {
    CSoundDevice device;
    auto music = MakeSound(device, StereoWav({10, 20, 30, 40, 50}));
    auto effect = MakeSound(device, StereoWav({7, 8, 9}));
    ASSERT_TRUE(music && effect);
    EXPECT_EQ(Left(device, 4), Samples(4, 0)) << "silence while nothing plays";
    ASSERT_TRUE(music->Play(0, true));
    EXPECT_EQ(Left(device, 7), (Samples{10, 20, 30, 40, 50, 10, 20}));
    EXPECT_EQ(Left(device, 9), (Samples{30, 40, 50, 10, 20, 30, 40, 50, 10}));
    EXPECT_TRUE(music->IsSoundPlaying());
    music->Stop();
    ASSERT_TRUE(effect->Play(0, false));
    EXPECT_EQ(Left(device, 5), (Samples{7, 8, 9, 0, 0}));
    EXPECT_FALSE(effect->IsSoundPlaying());
    ASSERT_TRUE(effect->Play(0, false));
    EXPECT_EQ(Left(device, 4), (Samples{7, 8, 9, 0})) << "a finished effect starts over";
    auto loud = MakeSound(device, StereoWav({1000, 30000}));
    auto peak = MakeSound(device, StereoWav({5, 10000, -5, 1}));
    loud->Play(0, true);
    peak->Play(0, false);
    EXPECT_EQ(Left(device, 6), (Samples{1005, 32767, 995, 30001, 1000, 30000}));
}

TEST(Mixer, StopPausesResetRewindsDestroyingLeavesAndSecondPlayTakesAFreeBuffer) {
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
    music.reset();
    EXPECT_EQ(Left(device, 2), Samples(2, 0));
    // A second play takes a free buffer of a multi-buffer sound.
    auto twice = MakeSound(device, StereoWav({10, 20, 30}), 2);
    ASSERT_TRUE(twice);
    twice->Play(0, false);
    EXPECT_EQ(Left(device, 1), (Samples{10}));
    twice->Play(0, false);  // the first buffer plays, so the second starts
    EXPECT_TRUE(twice->GetBuffer(0)->IsPlaying() && twice->GetBuffer(1)->IsPlaying());
    EXPECT_EQ(Left(device, 3), (Samples{30, 50, 30}));
    EXPECT_FALSE(twice->IsSoundPlaying() || twice->GetBuffer(2));
}

// The conversion rules are checked with the converter; here only that sounds go through it.
TEST(Mixer, SoundsAreConvertedToTheOutputOnCreationOrRefused) {
    // Stated 6 frames, 3 present: the missing 8-bit samples are silence and the loop spans
    // the stated length.
    Bytes file = Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 8)), Chunk("data", {0, 255, 129}, 6)});
    file.pop_back();  // drop the pad byte: the file really ends after the third sample
    CSoundDevice device;
    auto eightBit = MakeSound(device, file);
    ASSERT_TRUE(eightBit);
    EXPECT_EQ(eightBit->BufferSize(), 6u);
    eightBit->Play(0, true);
    EXPECT_EQ(Mix(device, 8), (Samples{-32768, -32768, 32512, 32512, 256, 256, 0, 0, 0, 0, 0, 0,
                                       -32768, -32768, 32512, 32512}));
    eightBit.reset();
    // The extensible format's extra bytes reach the conversion.
    Bytes fmt = FmtBody(0xFFFE, 1, 22050, 16);
    const Bytes extra = ExtensiblePcmExtra(16, 4);
    fmt.insert(fmt.end(), extra.begin(), extra.end());
    auto extensible = MakeSound(device, Riff({Chunk("fmt ", fmt), Chunk("data", Pcm16({-9, 9}))}));
    ASSERT_TRUE(extensible);
    extensible->Play(0, false);
    EXPECT_EQ(Mix(device, 2), (Samples{-9, -9, 9, 9}));
    // Sounds it cannot play are refused.
    EXPECT_FALSE(MakeSound(device, PcmWav(1, 22050, 16, {}))) << "empty data";
    EXPECT_FALSE(MakeSound(device, PcmWav(2, 22050, 16, {1, 2}))) << "less than one frame";
    Bytes adpcm = FmtBody(2, 1, 22050, 4);
    Put(adpcm, 0x12340002, 4);  // two extra bytes
    EXPECT_FALSE(MakeSound(device, Riff({Chunk("fmt ", adpcm), Chunk("data", {1, 2})})))
        << "a non-PCM format is read but cannot be played";
    Bytes huge = Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 8)), Chunk("data", {1}, 0x10000000)});
    EXPECT_FALSE(MakeSound(device, huge)) << "larger than any sound buffer";
    EXPECT_FALSE(device.CreateSound(std::make_unique<CWavReader>())) << "reader not open";
    EXPECT_FALSE(device.CreateSound("/nonexistent/stonewell.wav"));
}

}  // namespace
