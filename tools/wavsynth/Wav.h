#pragma once

#include <cstdint>
#include <vector>

#include "wavsynth/Synth.h"

namespace synth {

// A canonical 44-byte-header PCM WAV file: "RIFF" size "WAVE", a 16-byte "fmt " chunk
// (format tag 1, channels, rate, bytes per second, block align, 16 bits), then "data".
std::vector<uint8_t> EncodeWav(const Pcm& pcm);

}  // namespace synth
