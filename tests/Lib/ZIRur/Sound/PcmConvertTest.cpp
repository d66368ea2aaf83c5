#include "Lib/ZIRur/Sound/PcmConvert.h"

#include <gtest/gtest.h>
#include "WavBytes.h"

using namespace wavtest;

namespace {
WavFormat Format(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1) {
    const auto align = uint16_t(channels * bits / 8);
    return {tag, channels, rate, rate * align, align, bits};
}
using Samples = std::vector<int16_t>;
}  // namespace

// Output is 22050 Hz stereo 16-bit.
TEST(PcmConvert, SamplesOutAndOneSecondAtAnyRateIsOneSecond) {
    struct Case {
        const char* what;
        WavFormat format;
        Bytes data;
        Samples out;
    };
    const Case cases[] = {
        {"output format",
         Format(2, 22050, 16),
         Pcm16({1, -2, 32767, -32768}),
         {1, -2, 32767, -32768}},
        {"8-bit mono centres on 128",
         Format(1, 22050, 8),
         {0, 128, 255},
         {-32768, -32768, 0, 0, 32512, 32512}},
        {"half rate interpolates, holds the last frame",
         Format(1, 11025, 16),
         Pcm16({0, 1000, -2000}),
         {0, 0, 500, 500, 1000, 1000, -500, -500, -2000, -2000, -2000, -2000}},
        {"third rate",
         Format(1, 7350, 16),
         Pcm16({0, 300}),
         {0, 0, 100, 100, 200, 200, 300, 300, 300, 300, 300, 300}},
        {"double rate keeps every other frame",
         Format(2, 44100, 16),
         Pcm16({0, 10, 1, 11, 2, 12, 3, 13, 4, 14}),
         {0, 10, 2, 12, 4, 14}},
        {"partial frame dropped", Format(2, 22050, 16), {5, 0, 6, 0, 0x7F}, {5, 6}},
        {"less than a frame", Format(2, 22050, 16), {1, 2, 3}, {}},
        {"float", Format(1, 22050, 16, 3), Pcm16({1, 2}), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pcm::ConvertToOutput(c.format, {}, c.data), c.out) << c.what;
    // One second at any rate is one second out.
    for (uint32_t rate : {8000u, 11025u, 16000u, 32000u, 44100u, 48000u, 96000u}) {
        EXPECT_EQ(pcm::OutputFrameCount(rate, rate), 22050u) << rate;
        EXPECT_EQ(pcm::ConvertToOutput(Format(1, rate, 8), {}, Bytes(rate, 128)).size(), 2u * 22050)
            << rate;
    }
    EXPECT_EQ(pcm::OutputFrameCount(1, 44100), 1u) << "any sound lasts at least one frame";
}

TEST(PcmConvert, AcceptsOnlyFormatsItCanConvert) {
    WavFormat badAlign = Format(2, 22050, 16);
    badAlign.blockAlign = 2;
    // The last is ADPCM.
    const std::pair<WavFormat, bool> cases[] = {{Format(1, 8000, 8), true},
                                                {Format(2, 48000, 16), true},
                                                {Format(0, 22050, 16), false},
                                                {Format(3, 22050, 16), false},
                                                {Format(2, 22050, 24), false},
                                                {Format(2, 22050, 12), false},
                                                {Format(1, 99, 16), false},
                                                {Format(1, 0, 16), false},
                                                {Format(1, 200001, 16), false},
                                                {Format(1, 0xFFFFFFFF, 16), false},
                                                {badAlign, false},
                                                {Format(1, 22050, 16, 2), false}};
    for (const auto& [format, playable] : cases)
        EXPECT_EQ(pcm::IsPlayableFormat(format, {}), playable)
            << format.channels << " ch, " << format.sampleRate << " Hz, " << format.bitsPerSample
            << " bits, tag " << format.formatTag;
    // The extensible format plays when its sub-format is PCM (extra bytes after the size).
    const WavFormat extensible = Format(2, 22050, 16, 0xFFFE);
    Bytes extra = ExtensiblePcmExtra(16, 3);
    extra.erase(extra.begin(), extra.begin() + 2);
    EXPECT_TRUE(pcm::IsPlayableFormat(extensible, extra));
    EXPECT_EQ(pcm::ConvertToOutput(extensible, extra, Pcm16({7, 8})), (Samples{7, 8}));
    EXPECT_FALSE(pcm::IsPlayableFormat(extensible, std::span(extra).first(10)));
    extra[6] = 0x03;  // IEEE float sub-format
    EXPECT_FALSE(pcm::IsPlayableFormat(extensible, extra));
}
