#include <gtest/gtest.h>

#include <cstring>

#include "Lib/ZIRur/Sound/WavReader.h"
#include "wavsynth/Score.h"
#include "wavsynth/Synth.h"
#include "wavsynth/Wav.h"

// What the synthesiser writes, the program's own WAV reader takes back unchanged.
TEST(WavRoundTrip, ProgramReaderTakesSynthesisedFiles) {
    auto score =
        synth::ParseScore("tempo 240\ninstrument c bell\npart c\nnotes A5:1 E6:2\n", "chime.score");
    auto pcm = synth::Render(score);
    auto wav = synth::EncodeWav(pcm);

    CWavReader reader;
    ASSERT_TRUE(reader.OpenMemory(wav));
    EXPECT_EQ(reader.Format().formatTag, CWavReader::kFormatPcm);
    EXPECT_EQ(reader.Format().channels, 2);
    EXPECT_EQ(reader.Format().sampleRate, 22050u);
    EXPECT_EQ(reader.Format().blockAlign, 4);
    EXPECT_EQ(reader.Format().bitsPerSample, 16);
    EXPECT_EQ(reader.DataSize(), pcm.samples.size() * 2);
    EXPECT_EQ(reader.DataPresent(), pcm.samples.size() * 2);
    std::vector<uint8_t> data(reader.DataSize());
    ASSERT_EQ(reader.Read(data.data(), data.size()), data.size());
    std::vector<int16_t> samples(pcm.samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = int16_t(data[i * 2] | data[i * 2 + 1] << 8);
    }
    EXPECT_EQ(samples, pcm.samples);
}
