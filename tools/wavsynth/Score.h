#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace synth {

// The sound of an instrument; see docs/formats/score.md for what each one does.
enum class Kind { Pluck, Bell, Tone, Modal };

// One partial or resonant mode: frequency ratio to the note, amplitude, and (modes only)
// decay time constant in seconds.
struct Partial {
    double ratio = 1;
    double amp = 1;
    double decay = 0;
};

struct Instrument {
    std::string name;
    Kind kind = Kind::Tone;
    // Level and stereo position (-1 left .. 1 right).
    double gain = 1;
    double pan = 0;
    // Envelope in seconds (sustain is a level 0..1); `ring` is an exponential decay time
    // constant applied on top (0 = none).
    double attack = 0.005;
    double decay = 0.0;
    double sustain = 1.0;
    double release = 0.1;
    double ring = 0;
    // Pluck: loss per round trip (0.9..1) and averaging amount (0..1, more = darker).
    double feedback = 0.996;
    double damping = 0.5;
    // Bell: modulator frequency ratio, modulation index and its decay time constant.
    double ratio = 3.5;
    double index = 2;
    double indexDecay = 0.5;
    // Modal: length in seconds and level of the noise burst that strikes the modes.
    double noise = 0.003;
    double noiseGain = 0.5;
    // Tone partials or modal modes.
    std::vector<Partial> partials = {{1, 1, 0}};
};

// One note, in beats from the start of the piece.
struct NoteEvent {
    double beat = 0;
    double beats = 1;
    double frequency = 440;
    double velocity = 1;
    int instrument = 0;
    // Seed of the note's own noise, so renders are identical run after run.
    uint32_t seed = 1;
};

struct Score {
    int rate = 22050;
    int channels = 2;
    double tempo = 120;
    double volume = 1;
    // Loop length in beats; 0 for a one-shot piece.
    double loopBeats = 0;
    // One-shot length in seconds; 0 means until the last note has died away.
    double lengthSeconds = 0;
    std::vector<Instrument> instruments;
    std::vector<NoteEvent> notes;
};

// Parses a score (see docs/formats/score.md). Every fault throws tools::ToolError at
// `sourceName`:line.
Score ParseScore(const std::string& text, const std::string& sourceName);

// Frequency of a note token's pitch part ("C4", "F#3", "Bb2", "m60", "440hz"); false if the
// text is not a pitch.
bool ParsePitch(const std::string& text, double& frequency);

}  // namespace synth
