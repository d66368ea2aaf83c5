#include "wavsynth/Wav.h"

#include "common/ToolError.h"

namespace synth {
namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void PutTag(std::vector<uint8_t>& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(tag[i]));
}

}  // namespace

std::vector<uint8_t> EncodeWav(const Pcm& pcm) {
    const uint64_t dataBytes = uint64_t(pcm.samples.size()) * 2;
    if (dataBytes > 0xFFFFFFFFull - 36) throw tools::ToolError("sound too long for a WAV file");
    const uint16_t blockAlign = uint16_t(pcm.channels * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + size_t(dataBytes));
    PutTag(out, "RIFF");
    Put32(out, uint32_t(36 + dataBytes));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, uint16_t(pcm.channels));
    Put32(out, uint32_t(pcm.rate));
    Put32(out, uint32_t(pcm.rate) * blockAlign);
    Put16(out, blockAlign);
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, uint32_t(dataBytes));
    for (int16_t s : pcm.samples) Put16(out, uint16_t(s));
    return out;
}

}  // namespace synth
