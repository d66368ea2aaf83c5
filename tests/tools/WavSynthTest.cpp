#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>

#include "common/ToolError.h"
#include "wavsynth/Score.h"
#include "wavsynth/Synth.h"
#include "wavsynth/Wav.h"

namespace {

uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}
uint16_t Get16(const std::vector<uint8_t>& b, size_t at) {
    return uint16_t(b[at] | b[at + 1] << 8);
}
std::string Tag(const std::vector<uint8_t>& b, size_t at) {
    return std::string(b.begin() + long(at), b.begin() + long(at) + 4);
}

synth::Pcm RenderText(const std::string& text) {
    return synth::Render(synth::ParseScore(text, "test.score"));
}

std::string ErrorOf(const std::string& score) {
    try {
        synth::ParseScore(score, "s.score");
    } catch (const tools::ToolError& e) {
        return e.Describe();
    }
    return "(no error)";
}

const char kLoop[] =
    "rate 22050\n"
    "channels 2\n"
    "tempo 120\n"
    "loop 8\n"
    "instrument pad tone partials=1:1,2:0.3 attack=0.2 release=1.5\n"
    "instrument str pluck\n"
    "part pad\n"
    "notes r:6 A3+E4:2\n"  // ends on the loop's last beat; its release runs over the seam
    "part str\n"
    "repeat 2\n"
    "notes C4:1 E4:1/2 G4:1/2 r:2\n"
    "end\n";

}  // namespace

TEST(WavSynth, WavHeaderIsCanonicalPcm) {
    auto pcm = RenderText("channels 2\ntempo 60\ninstrument b bell\npart b\nnotes A4:0.1\n");
    auto wav = synth::EncodeWav(pcm);
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(Tag(wav, 0), "RIFF");
    EXPECT_EQ(Get32(wav, 4), wav.size() - 8);
    EXPECT_EQ(Tag(wav, 8), "WAVE");
    EXPECT_EQ(Tag(wav, 12), "fmt ");
    EXPECT_EQ(Get32(wav, 16), 16u);
    EXPECT_EQ(Get16(wav, 20), 1);  // PCM
    EXPECT_EQ(Get16(wav, 22), 2);
    EXPECT_EQ(Get32(wav, 24), 22050u);
    EXPECT_EQ(Get32(wav, 28), 22050u * 4);
    EXPECT_EQ(Get16(wav, 32), 4);
    EXPECT_EQ(Get16(wav, 34), 16);
    EXPECT_EQ(Tag(wav, 36), "data");
    EXPECT_EQ(Get32(wav, 40), wav.size() - 44);
    EXPECT_EQ(Get32(wav, 40), pcm.samples.size() * 2);
    // Samples are little-endian.
    size_t i = 100;
    EXPECT_EQ(int16_t(Get16(wav, 44 + i * 2)), pcm.samples[i]);
}

TEST(WavSynth, MonoHalvesTheBlock) {
    auto pcm = RenderText("channels 1\nrate 11025\ninstrument t tone\npart t\nnotes C4:1\n");
    auto wav = synth::EncodeWav(pcm);
    EXPECT_EQ(Get16(wav, 22), 1);
    EXPECT_EQ(Get32(wav, 24), 11025u);
    EXPECT_EQ(Get32(wav, 28), 11025u * 2);
    EXPECT_EQ(Get16(wav, 32), 2);
}

TEST(WavSynth, SameScoreSameBytes) {
    auto a = synth::EncodeWav(RenderText(kLoop));
    auto b = synth::EncodeWav(RenderText(kLoop));
    EXPECT_EQ(a, b);
    // Different seeds make different noise: two plucks of the same note differ.
    auto pcm = RenderText("tempo 60\nchannels 1\ninstrument s pluck\npart s\nnotes C4:1 C4:1\n");
    const size_t second = 22050;
    int same = 0;
    for (size_t i = 0; i < 200; ++i) same += pcm.samples[i] == pcm.samples[second + i];
    EXPECT_LT(same, 100);
}

TEST(WavSynth, LoopIsExactlyItsLengthAndSeamless) {
    auto pcm = RenderText(kLoop);
    ASSERT_EQ(pcm.frames(), size_t(8 * 0.5 * 22050));  // 8 beats at 120 bpm
    const size_t n = pcm.frames();
    auto left = [&](size_t i) { return double(pcm.samples[i * 2]); };
    // Largest step between neighbouring samples away from note starts.
    double typical = 0;
    for (size_t i = n / 2; i + 1 < n; ++i)
        typical = std::max(typical, std::abs(left(i + 1) - left(i)));
    const double seam = std::abs(left(0) - left(n - 1));
    // The pad's tail is still sounding across the seam, so the test is not trivially silent.
    EXPECT_GT(std::abs(left(0)), 100.0);
    EXPECT_LE(seam, typical);
}

TEST(WavSynth, OneShotEndsInSilenceAndStatedLengthFades) {
    auto pcm =
        RenderText("tempo 60\nchannels 1\ninstrument b bell release=0.2\npart b\nnotes A4:0.1\n");
    EXPECT_EQ(pcm.frames(), 6615u);  // 0.1 s of note + 0.2 s of release
    // The release has brought the last sample down to (nearly) nothing.
    EXPECT_LE(std::abs(pcm.samples.back()), 8);
    auto cut =
        RenderText("tempo 60\nchannels 1\nlength 0.05s\ninstrument t tone\npart t\nnotes A4:1\n");
    EXPECT_EQ(cut.frames(), size_t(0.05 * 22050 + 0.5));
    EXPECT_EQ(cut.samples.back(), 0);
    EXPECT_LT(std::abs(cut.samples[cut.samples.size() - 3]), 2000);
}

TEST(WavSynth, PluckIsInTune) {
    // A5 = 880 Hz: an integer delay line alone would be a quarter-tone out.
    auto pcm =
        RenderText("tempo 60\nchannels 1\ninstrument s pluck feedback=0.999\npart s\nnotes A5:1\n");
    // Estimate the period from upward zero crossings over a stretch where the tone is steady.
    std::vector<double> crossings;
    for (size_t i = 4000; i < 12000; ++i) {
        int a = pcm.samples[i], b = pcm.samples[i + 1];
        if (a < 0 && b >= 0) crossings.push_back(double(i) + double(-a) / double(b - a));
    }
    ASSERT_GT(crossings.size(), 100u);
    double period = (crossings.back() - crossings.front()) / double(crossings.size() - 1);
    double cents = 1200 * std::log2((22050 / period) / 880.0);
    EXPECT_LT(std::abs(cents), 5.0) << "period " << period;
}

TEST(WavSynth, LoudScoresClipAndCount) {
    auto pcm = RenderText("volume 8\nchannels 1\ninstrument t tone gain=2\npart t\nnotes A4:1\n");
    EXPECT_GT(pcm.clipped, 0u);
    EXPECT_EQ(*std::max_element(pcm.samples.begin(), pcm.samples.end()), 32767);
}

TEST(Score, NotesChordsRestsAndRepeats) {
    auto s = synth::ParseScore(
        "tempo 100\ninstrument p pluck\npart p at=2 vel=0.5 transpose=12\n"
        "notes C4:1 r:1/2 E4+G4:3/2@0.8 A4\nrepeat 3\nnotes m69:1\nend\n",
        "x");
    ASSERT_EQ(s.notes.size(), 4u + 3u);
    EXPECT_DOUBLE_EQ(s.notes[0].beat, 2);
    EXPECT_NEAR(s.notes[0].frequency, 523.25, 0.01);  // C4 an octave up
    EXPECT_DOUBLE_EQ(s.notes[1].beat, 3.5);
    EXPECT_DOUBLE_EQ(s.notes[2].beat, 3.5);  // chord
    EXPECT_DOUBLE_EQ(s.notes[1].beats, 1.5);
    EXPECT_DOUBLE_EQ(s.notes[1].velocity, 0.4);
    EXPECT_DOUBLE_EQ(s.notes[3].beats, 1.5);  // duration carries over
    EXPECT_DOUBLE_EQ(s.notes[3].beat, 5);
    EXPECT_DOUBLE_EQ(s.notes[4].beat, 6.5);
    EXPECT_DOUBLE_EQ(s.notes[6].beat, 8.5);  // third repeat
    EXPECT_NEAR(s.notes[6].frequency, 880, 1e-9);
    EXPECT_NE(s.notes[4].seed, s.notes[5].seed);
    double f = 0;
    EXPECT_TRUE(synth::ParsePitch("Bb2", f));
    EXPECT_NEAR(f, 116.54, 0.01);
    EXPECT_TRUE(synth::ParsePitch("440hz", f));
    EXPECT_FALSE(synth::ParsePitch("H4", f));
    EXPECT_FALSE(synth::ParsePitch("C-", f));
}

TEST(Score, EachClassOfFaultNamesItsLine) {
    EXPECT_EQ(ErrorOf("tempo 90\nvolum 1\n"), "s.score:2: unknown statement \"volum\"");
    EXPECT_EQ(ErrorOf("tempo fast\n"), "s.score:1: tempo: 'fast' is not a number");
    EXPECT_EQ(ErrorOf("\nrate 100\n"), "s.score:2: rate must be between 8000 and 48000, got 100");
    EXPECT_EQ(ErrorOf("channels 3\n"), "s.score:1: channels must be 1 or 2");
    EXPECT_EQ(ErrorOf("tempo\n"), "s.score:1: \"tempo\" takes 1 value(s)");
    EXPECT_EQ(ErrorOf("instrument x organ\n"),
              "s.score:1: unknown instrument kind \"organ\" (pluck, bell, tone or modal)");
    EXPECT_EQ(ErrorOf("instrument x pluck ratio=2\n"),
              "s.score:1: instrument kind \"pluck\" has no parameter \"ratio\"");
    EXPECT_EQ(ErrorOf("instrument x tone partials=1:1,2\n"),
              "s.score:1: a partial is RATIO:AMP, got '2'");
    EXPECT_EQ(ErrorOf("instrument x tone\ninstrument x bell\n"),
              "s.score:2: instrument \"x\" defined twice");
    EXPECT_EQ(ErrorOf("instrument x tone\npart y\n"), "s.score:2: unknown instrument \"y\"");
    EXPECT_EQ(ErrorOf("notes C4\n"),
              "s.score:1: \"notes\" outside a part (start one with \"part\")");
    EXPECT_EQ(ErrorOf("instrument x tone\npart x\nnotes C4:1 Q4:1\n"),
              "s.score:3: 'Q4' is not a pitch (like C4, F#3, Bb2, m60 or 440hz)");
    EXPECT_EQ(ErrorOf("instrument x tone\npart x\nnotes C4:0\n"),
              "s.score:3: duration in beats must be between 0.001 and 10000, got 0");
    EXPECT_EQ(ErrorOf("instrument x tone\npart x\nend\n"), "s.score:3: \"end\" without \"repeat\"");
    EXPECT_EQ(ErrorOf("instrument x tone\npart x\nrepeat 2\nnotes C4\n\n"),
              "s.score:3: \"repeat\" is not closed by \"end\"");
    EXPECT_EQ(ErrorOf("loop 4\nlength 1s\n"),
              "s.score:2: a score has either \"loop\" or \"length\"");
    EXPECT_EQ(ErrorOf("instrument x tone\n"), "s.score: the score has no notes");
    EXPECT_EQ(ErrorOf("instrument x tone\npart x speed=2\n"),
              "s.score:2: unknown part option \"speed=2\"");
}

TEST(Score, CommentsNeedASpaceBeforeTheHash) {
    auto s = synth::ParseScore("instrument x tone # a comment\npart x\nnotes F#4:1 # ends\n", "c");
    ASSERT_EQ(s.notes.size(), 1u);
    EXPECT_NEAR(s.notes[0].frequency, 369.99, 0.01);
}
