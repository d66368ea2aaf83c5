#include <gtest/gtest.h>

#include "Lib/ZIRur/Sound/PcmConvert.h"
#include "WavBytes.h"

using namespace wavtest;

namespace {
WavFormat Format(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1) {
    WavFormat f;
    f.formatTag = tag;
    f.channels = channels;
    f.sampleRate = rate;
    f.bitsPerSample = bits;
    f.blockAlign = uint16_t(channels * bits / 8);
    f.bytesPerSecond = rate * f.blockAlign;
    return f;
}

std::vector<int16_t> Convert(const WavFormat& f, const Bytes& data) {
    return pcm::ConvertToOutput(f, {}, data);
}
}  // namespace

TEST(PcmConvert, OutputFormatPassesThrough) {
    EXPECT_EQ(Convert(Format(2, 22050, 16), Pcm16({1, -2, 32767, -32768})),
              (std::vector<int16_t>{1, -2, 32767, -32768}));
}

TEST(PcmConvert, EightBitMonoCentresOn128AndFillsBothChannels) {
    EXPECT_EQ(Convert(Format(1, 22050, 8), {0, 128, 255}),
              (std::vector<int16_t>{-32768, -32768, 0, 0, 32512, 32512}));
}

TEST(PcmConvert, LowerRateInterpolatesLinearlyAndHoldsTheLastFrame) {
    EXPECT_EQ(
        Convert(Format(1, 11025, 16), Pcm16({0, 1000, -2000})),
        (std::vector<int16_t>{0, 0, 500, 500, 1000, 1000, -500, -500, -2000, -2000, -2000, -2000}));
}

TEST(PcmConvert, HigherRateKeepsEveryOtherFrameOfStereo) {
    Bytes data = Pcm16({0, 10, 1, 11, 2, 12, 3, 13, 4, 14});
    EXPECT_EQ(Convert(Format(2, 44100, 16), data), (std::vector<int16_t>{0, 10, 2, 12, 4, 14}));
}

TEST(PcmConvert, OneSecondAtAnyRateIsOneSecondOut) {
    for (uint32_t rate : {8000u, 11025u, 16000u, 22050u, 32000u, 44100u, 48000u, 96000u}) {
        EXPECT_EQ(pcm::OutputFrameCount(rate, rate), 22050u) << rate;
        Bytes data(rate, 128);
        EXPECT_EQ(Convert(Format(1, rate, 8), data).size(), 2u * 22050) << rate;
    }
    EXPECT_EQ(pcm::OutputFrameCount(1, 44100), 1u) << "any sound lasts at least one frame";
}

TEST(PcmConvert, RateConversionValuesAtThreeToOne) {
    // 7350 Hz is a third of the output rate: two interpolated frames between source frames.
    std::vector<int16_t> out = Convert(Format(1, 7350, 16), Pcm16({0, 300}));
    ASSERT_EQ(out.size(), 12u);
    std::vector<int16_t> left;
    for (size_t i = 0; i < out.size(); i += 2) left.push_back(out[i]);
    EXPECT_EQ(left, (std::vector<int16_t>{0, 100, 200, 300, 300, 300}));
}

TEST(PcmConvert, TrailingPartialFrameIsDropped) {
    Bytes data = Pcm16({5, 6});
    data.push_back(0x7F);
    EXPECT_EQ(Convert(Format(2, 22050, 16), data), (std::vector<int16_t>{5, 6}));
    EXPECT_TRUE(Convert(Format(2, 22050, 16), {1, 2, 3}).empty());
}

TEST(PcmConvert, AcceptsOnlyFormatsItCanConvert) {
    EXPECT_TRUE(pcm::IsPlayableFormat(Format(1, 8000, 8), {}));
    EXPECT_TRUE(pcm::IsPlayableFormat(Format(2, 48000, 16), {}));
    EXPECT_FALSE(pcm::IsPlayableFormat(Format(0, 22050, 16), {}));
    EXPECT_FALSE(pcm::IsPlayableFormat(Format(3, 22050, 16), {}));
    EXPECT_FALSE(pcm::IsPlayableFormat(Format(2, 22050, 24), {}));
    EXPECT_FALSE(pcm::IsPlayableFormat(Format(2, 22050, 12), {}));
    EXPECT_FALSE(pcm::IsPlayableFormat(Format(1, 99, 16), {}));
    EXPECT_FALSE(pcm::IsPlayableFormat(Format(1, 0, 16), {}));
    EXPECT_FALSE(pcm::IsPlayableFormat(Format(1, 200001, 16), {}));
    EXPECT_FALSE(pcm::IsPlayableFormat(Format(1, 0xFFFFFFFF, 16), {}));
    WavFormat badAlign = Format(2, 22050, 16);
    badAlign.blockAlign = 2;
    EXPECT_FALSE(pcm::IsPlayableFormat(badAlign, {}));
    EXPECT_FALSE(pcm::IsPlayableFormat(Format(1, 22050, 16, 2), {})) << "ADPCM";
    EXPECT_TRUE(Convert(Format(1, 22050, 16, 3), Pcm16({1, 2})).empty()) << "float";

    // The extensible format plays when its sub-format is PCM.
    Bytes extra;
    PutU16(extra, 16);  // valid bits
    PutU32(extra, 3);   // channel mask
    Bytes guid = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                  0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    extra.insert(extra.end(), guid.begin(), guid.end());
    EXPECT_TRUE(pcm::IsPlayableFormat(Format(2, 22050, 16, 0xFFFE), extra));
    EXPECT_EQ(pcm::ConvertToOutput(Format(2, 22050, 16, 0xFFFE), extra, Pcm16({7, 8})),
              (std::vector<int16_t>{7, 8}));
    extra[6] = 0x03;  // IEEE float sub-format
    EXPECT_FALSE(pcm::IsPlayableFormat(Format(2, 22050, 16, 0xFFFE), extra));
    EXPECT_FALSE(pcm::IsPlayableFormat(Format(2, 22050, 16, 0xFFFE), std::span(extra).first(10)));
}
