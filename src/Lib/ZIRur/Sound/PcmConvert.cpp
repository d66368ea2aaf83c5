#include "Lib/ZIRur/Sound/PcmConvert.h"

#include <algorithm>
#include <cstring>

#include "Lib/ZIRur/Util/ByteReader.h"

namespace pcm {

namespace {

constexpr uint16_t kFormatExtensible = 0xFFFE;
// The PCM sub-format of the extensible format, as its 16 bytes are stored in the file.
constexpr uint8_t kPcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                       0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

bool IsPcmTag(uint16_t tag, std::span<const uint8_t> extra) {
    if (tag == CWavReader::kFormatPcm) return true;
    // Extensible: valid bits (2), channel mask (4), then the sub-format.
    return tag == kFormatExtensible && extra.size() >= 22 &&
           std::memcmp(extra.data() + 6, kPcmSubFormat, sizeof kPcmSubFormat) == 0;
}

struct Frame {
    int32_t left;
    int32_t right;
};

Frame LoadFrame(const uint8_t* p, int channels, int bits) {
    auto sample = [bits](const uint8_t* s) -> int32_t {
        if (bits == 8) return (int32_t(s[0]) - 128) * 256;
        return int16_t(bytes::LoadU16LE(s));
    };
    int32_t left = sample(p);
    int32_t right = channels == 2 ? sample(p + bits / 8) : left;
    return {left, right};
}

}  // namespace

bool IsPlayableFormat(const WavFormat& format, std::span<const uint8_t> extra) {
    if (!IsPcmTag(format.formatTag, extra)) return false;
    if (format.channels != 1 && format.channels != 2) return false;
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16) return false;
    if (format.blockAlign != format.channels * format.bitsPerSample / 8) return false;
    return format.sampleRate >= kMinRate && format.sampleRate <= kMaxRate;
}

uint64_t OutputFrameCount(uint64_t sourceFrames, uint32_t rate) {
    if (rate == 0) return 0;
    return (sourceFrames * kOutputRate + rate - 1) / rate;
}

std::vector<int16_t> ConvertToOutput(const WavFormat& format, std::span<const uint8_t> extra,
                                     std::span<const uint8_t> data) {
    std::vector<int16_t> out;
    if (!IsPlayableFormat(format, extra)) return out;
    const size_t block = format.blockAlign;
    const uint64_t frames = data.size() / block;
    if (frames == 0) return out;
    const uint64_t outFrames = OutputFrameCount(frames, format.sampleRate);
    out.resize(size_t(outFrames) * kOutputChannels);

    // Source position of output frame i is i * rate / 22050: `index` whole frames plus
    // `phase` / 22050 of the next, stepped without division.
    uint64_t index = 0;
    uint32_t phase = 0;
    const int channels = format.channels;
    const int bits = format.bitsPerSample;
    for (uint64_t i = 0; i < outFrames; ++i) {
        Frame a = LoadFrame(data.data() + index * block, channels, bits);
        Frame b =
            index + 1 < frames ? LoadFrame(data.data() + (index + 1) * block, channels, bits) : a;
        const int32_t num = int32_t(phase);
        out[i * 2] = int16_t(a.left + (b.left - a.left) * num / int32_t(kOutputRate));
        out[i * 2 + 1] = int16_t(a.right + (b.right - a.right) * num / int32_t(kOutputRate));
        phase += format.sampleRate;
        index += phase / kOutputRate;
        phase %= kOutputRate;
    }
    return out;
}

}  // namespace pcm
