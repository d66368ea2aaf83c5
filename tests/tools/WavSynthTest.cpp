#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <tuple>

#include "Lib/ZIRur/Sound/WavReader.h"
#include "ToolErrorOf.h"
#include "wavsynth/Score.h"
#include "wavsynth/Synth.h"
#include "wavsynth/Wav.h"

namespace {

uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}
synth::Pcm RenderText(const std::string& text) {
    return synth::Render(synth::ParseScore(text, "test.score"));
}

// The pad's last chord ends on the loop's last beat; its release runs over the seam.
const char kLoop[] =
    "rate 22050\nchannels 2\ntempo 120\nloop 8\n"
    "instrument pad tone partials=1:1,2:0.3 attack=0.2 release=1.5\ninstrument str pluck\n"
    "part pad\nnotes r:6 A3+E4:2\npart str\nrepeat 2\nnotes C4:1 E4:1/2 G4:1/2 r:2\nend\n";

}  // namespace

// What the synthesiser writes, the program's own WAV reader takes back unchanged.
TEST(WavSynth, ProgramReaderTakesSynthesisedFilesUnchanged) {
    for (const auto& [score, channels, rate] :
         {std::tuple{"channels 2\ntempo 240\ninstrument c bell\npart c\nnotes A5:1 E6:2\n", 2,
                     22050u},
          std::tuple{"channels 1\nrate 11025\ninstrument t tone\npart t\nnotes C4:1\n", 1,
                     11025u}}) {
        SCOPED_TRACE(score);
        const synth::Pcm pcm = RenderText(score);
        const std::vector<uint8_t> wav = synth::EncodeWav(pcm);
        // The sizes the reader does not need: the RIFF size and the bytes per second.
        EXPECT_EQ(Get32(wav, 4), wav.size() - 8);
        EXPECT_EQ(Get32(wav, 28), rate * 2 * uint32_t(channels));
        CWavReader reader;
        ASSERT_TRUE(reader.OpenMemory(wav));
        const auto& f = reader.Format();
        EXPECT_EQ(std::tuple(f.formatTag, f.channels, f.sampleRate, f.blockAlign, f.bitsPerSample),
                  std::tuple(CWavReader::kFormatPcm, channels, rate, 2 * channels, 16));
        ASSERT_EQ(reader.DataSize(), pcm.samples.size() * 2);
        std::vector<uint8_t> data(reader.DataSize());
        ASSERT_EQ(reader.Read(data.data(), data.size()), data.size());
        std::vector<int16_t> samples(pcm.samples.size());
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = int16_t(data[i * 2] | data[i * 2 + 1] << 8);
        EXPECT_EQ(samples, pcm.samples);
    }
}

TEST(WavSynth, SameScoreSameBytes) {
    EXPECT_EQ(synth::EncodeWav(RenderText(kLoop)), synth::EncodeWav(RenderText(kLoop)));
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
    // beat/beats/velocity of each note: the part starts at beat 2; a chord's notes share
    // their beat; a duration carries over to the next note; the repeat plays three times.
    std::ostringstream notes;
    for (const auto& n : s.notes) notes << n.beat << '/' << n.beats << '/' << n.velocity << ' ';
    EXPECT_EQ(notes.str(),
              "2/1/0.5 3.5/1.5/0.4 3.5/1.5/0.4 5/1.5/0.5 6.5/1/0.5 7.5/1/0.5 8.5/1/0.5 ");
    EXPECT_NEAR(s.notes[0].frequency, 523.25, 0.01);  // C4 an octave up
    EXPECT_NEAR(s.notes[6].frequency, 880, 1e-9);
    EXPECT_NE(s.notes[4].seed, s.notes[5].seed);
    double f = 0;
    EXPECT_TRUE(synth::ParsePitch("Bb2", f));
    EXPECT_NEAR(f, 116.54, 0.01);
    EXPECT_TRUE(synth::ParsePitch("440hz", f));
    EXPECT_FALSE(synth::ParsePitch("C-", f));
}

TEST(Score, EachClassOfFaultNamesItsLine) {
    const std::pair<const char*, const char*> faults[] = {
        {"tempo 90\nvolum 1\n", "s.score:2: unknown statement \"volum\""},
        {"tempo fast\n", "s.score:1: tempo: 'fast' is not a number"},
        {"\nrate 100\n", "s.score:2: rate must be between 8000 and 48000, got 100"},
        {"channels 3\n", "s.score:1: channels must be 1 or 2"},
        {"tempo\n", "s.score:1: \"tempo\" takes 1 value(s)"},
        {"instrument x organ\n",
         "s.score:1: unknown instrument kind \"organ\" (pluck, bell, tone or modal)"},
        {"instrument x pluck ratio=2\n",
         "s.score:1: instrument kind \"pluck\" has no parameter \"ratio\""},
        {"instrument x tone partials=1:1,2\n", "s.score:1: a partial is RATIO:AMP, got '2'"},
        {"instrument x tone\ninstrument x bell\n", "s.score:2: instrument \"x\" defined twice"},
        {"instrument x tone\npart y\n", "s.score:2: unknown instrument \"y\""},
        {"notes C4\n", "s.score:1: \"notes\" outside a part (start one with \"part\")"},
        {"instrument x tone\npart x\nnotes C4:1 Q4:1\n",
         "s.score:3: 'Q4' is not a pitch (like C4, F#3, Bb2, m60 or 440hz)"},
        {"instrument x tone\npart x\nnotes C4:0\n",
         "s.score:3: duration in beats must be between 0.001 and 10000, got 0"},
        {"instrument x tone\npart x\nend\n", "s.score:3: \"end\" without \"repeat\""},
        {"instrument x tone\npart x\nrepeat 2\nnotes C4\n\n",
         "s.score:3: \"repeat\" is not closed by \"end\""},
        {"loop 4\nlength 1s\n", "s.score:2: a score has either \"loop\" or \"length\""},
        {"instrument x tone\n", "s.score: the score has no notes"},
        {"instrument x tone\npart x speed=2\n", "s.score:2: unknown part option \"speed=2\""},
    };
    for (const auto& [score, message] : faults)
        EXPECT_EQ(tooltest::ErrorOf([&] { synth::ParseScore(score, "s.score"); }), message);
}

TEST(Score, CommentsNeedASpaceBeforeTheHash) {
    auto s = synth::ParseScore("instrument x tone # a comment\npart x\nnotes F#4:1 # ends\n", "c");
    ASSERT_EQ(s.notes.size(), 1u);
    EXPECT_NEAR(s.notes[0].frequency, 369.99, 0.01);
}
