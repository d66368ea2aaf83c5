// Mixing one second of output while the music loops and an effect plays over it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "Lib/ZIRur/Sound/Sound.h"
#include "Lib/ZIRur/Sound/SoundDevice.h"
#include "Lib/ZIRur/Sound/WavReader.h"

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A PCM file of `frames` stereo 16-bit frames of a sawtooth at `rate`.
std::vector<uint8_t> Wav(uint32_t rate, uint32_t frames) {
    std::vector<uint8_t> b;
    for (char c : std::string("RIFF")) b.push_back(uint8_t(c));
    Put32(b, 36 + frames * 4);
    for (char c : std::string("WAVEfmt ")) b.push_back(uint8_t(c));
    Put32(b, 16);
    Put16(b, 1);
    Put16(b, 2);
    Put32(b, rate);
    Put32(b, rate * 4);
    Put16(b, 4);
    Put16(b, 16);
    for (char c : std::string("data")) b.push_back(uint8_t(c));
    Put32(b, frames * 4);
    for (uint32_t i = 0; i < frames; ++i) {
        Put16(b, (i * 97) & 0xFFFF);
        Put16(b, (i * 89) & 0xFFFF);
    }
    return b;
}

std::unique_ptr<CSound> Make(CSoundDevice& device, std::vector<uint8_t> file) {
    auto reader = std::make_unique<CWavReader>();
    reader->OpenMemory(std::move(file));
    return device.CreateSound(std::move(reader));
}

void BM_MixOneSecondMusicAndEffect(benchmark::State& state) {
    CSoundDevice device;
    // Half a second of music (wraps twice per second) and a two-second effect, replayed
    // whenever it ends, so both voices mix all the time.
    auto music = Make(device, Wav(22050, 11025));
    auto effect = Make(device, Wav(44100, 88200));
    music->Play(0, true);
    std::vector<int16_t> out(22050 * 2);
    for (auto _ : state) {
        if (!effect->IsSoundPlaying()) effect->Play(0, false);
        // The output pulls in device-sized blocks.
        for (int done = 0; done < 22050; done += 1024) {
            int frames = std::min(1024, 22050 - done);
            device.Mix(out.data() + size_t(done) * 2, frames);
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * 22050);
}
BENCHMARK(BM_MixOneSecondMusicAndEffect)->Unit(benchmark::kMicrosecond);

void BM_LoadAndConvertOneSecondAt44100(benchmark::State& state) {
    CSoundDevice device;
    std::vector<uint8_t> file = Wav(44100, 44100);
    for (auto _ : state) {
        auto sound = Make(device, file);
        benchmark::DoNotOptimize(sound.get());
    }
}
BENCHMARK(BM_LoadAndConvertOneSecondAt44100)->Unit(benchmark::kMicrosecond);

}  // namespace
