#pragma once

#include <cstdint>
#include <vector>

// One static sound buffer in the output format (interleaved stereo 16-bit at 22050 Hz): the
// samples the file gave, then a run of silence for the part of "data" the file did not hold.
// The device mixes it while it plays; its play state is changed only under the audio lock.
class CSoundBuffer {
public:
    // `samples` holds whole stereo frames; `totalFrames` counts them plus the silent tail.
    CSoundBuffer(std::vector<int16_t> samples, uint64_t totalFrames);

    // Starts playing from the current position, once or looping; a playing buffer only
    // changes its looping.
    void Play(bool loop);
    // Stops; the position stays where it was.
    void Stop() { m_playing = false; }
    // Moves the position to `frame` (clamped to the end).
    void SetCurrentPosition(uint64_t frame);

    bool IsPlaying() const { return m_playing; }
    bool IsLooping() const { return m_looping; }
    uint64_t CurrentPosition() const { return m_position; }
    uint64_t TotalFrames() const { return m_totalFrames; }
    uint64_t SampleFrames() const { return m_samples.size() / 2; }

    // Adds (saturating) the next `frames` frames to `out` and advances. A looping buffer
    // wraps to its start; a one-shot buffer stops at its end and rewinds to 0.
    void MixInto(int16_t* out, int frames);

private:
    std::vector<int16_t> m_samples;
    uint64_t m_totalFrames;
    uint64_t m_position = 0;
    bool m_playing = false;
    bool m_looping = false;
};
