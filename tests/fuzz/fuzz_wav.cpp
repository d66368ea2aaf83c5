// Feeds arbitrary bytes to the WAV reader and, when it accepts them, reads the data and
// converts it the way a sound is filled.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Lib/ZIRur/Sound/PcmConvert.h"
#include "Lib/ZIRur/Sound/SoundBuffer.h"
#include "Lib/ZIRur/Sound/WavReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CWavReader reader;
    if (!reader.OpenMemory(std::vector<uint8_t>(data, data + size))) return 0;
    const WavFormat& format = reader.Format();
    std::vector<uint8_t> pcm(reader.DataPresent());
    pcm.resize(reader.Read(pcm.data(), pcm.size()));
    if (!pcm::IsPlayableFormat(format, reader.ExtraFormat())) return 0;
    std::vector<int16_t> samples = pcm::ConvertToOutput(format, reader.ExtraFormat(), pcm);
    uint64_t total =
        pcm::OutputFrameCount(reader.DataSize() / format.blockAlign, format.sampleRate);
    CSoundBuffer buffer(std::move(samples), total);
    buffer.Play(true);
    int16_t out[2 * 256] = {};
    buffer.MixInto(out, 256);
    return 0;
}
