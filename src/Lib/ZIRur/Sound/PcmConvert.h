#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "Lib/ZIRur/Sound/WavReader.h"

// Conversion of WAV sample data to the one format the mixer plays: interleaved stereo,
// signed 16-bit, 22050 frames per second.
namespace pcm {

constexpr uint32_t kOutputRate = 22050;
constexpr int kOutputChannels = 2;
// Source rates outside this range are refused (the range a sound buffer accepts).
constexpr uint32_t kMinRate = 100;
constexpr uint32_t kMaxRate = 200000;

// True for formats that can be converted: PCM (plain, or the extensible format with the PCM
// sub-format), 1 or 2 channels, 8 or 16 bits, a block align that matches, a sane rate.
bool IsPlayableFormat(const WavFormat& format, std::span<const uint8_t> extra);

// Output frames for `sourceFrames` frames at `rate`: the source duration rounded up.
uint64_t OutputFrameCount(uint64_t sourceFrames, uint32_t rate);

// Converts the whole frames of `data` (a trailing partial frame is dropped) to the output
// format. Mono is copied to both channels, 8-bit samples are unsigned around 128, and other
// rates are resampled linearly (past the last frame the last frame holds). The format must
// be playable; otherwise the result is empty.
std::vector<int16_t> ConvertToOutput(const WavFormat& format, std::span<const uint8_t> extra,
                                     std::span<const uint8_t> data);

}  // namespace pcm
