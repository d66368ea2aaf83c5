#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "wavsynth/Score.h"

namespace synth {

// Rendered sound: interleaved 16-bit samples.
struct Pcm {
    int rate = 22050;
    int channels = 2;
    std::vector<int16_t> samples;
    // Samples that had to be clipped to the 16-bit range.
    size_t clipped = 0;

    size_t frames() const { return channels ? samples.size() / size_t(channels) : 0; }
};

// Number of frames a note of the instrument sounds for: its length plus its release.
size_t NoteFrames(const Score& score, const NoteEvent& note);

// Renders the score. Looping scores are exactly loopBeats long and every sound that runs past
// the end continues from the start, so playing the file on repeat has no seam. One-shot
// scores end at their stated length (with a 5 ms fade if that cuts a sound) or when the last
// sound has died away. Same score, same bytes: all noise comes from per-note seeds.
// `progress` (may be empty) is called with (notes done, notes total).
Pcm Render(const Score& score, const std::function<void(size_t, size_t)>& progress = {});

}  // namespace synth
