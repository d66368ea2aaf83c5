#include "Lib/ZIRur/Sound/SoundBuffer.h"

#include <algorithm>

CSoundBuffer::CSoundBuffer(std::vector<int16_t> samples, uint64_t totalFrames)
    : m_samples(std::move(samples)),
      m_totalFrames(std::max<uint64_t>(totalFrames, m_samples.size() / 2)) {}

void CSoundBuffer::Play(bool loop) {
    m_looping = loop;
    m_playing = m_totalFrames > 0;
}

void CSoundBuffer::SetCurrentPosition(uint64_t frame) {
    m_position = std::min(frame, m_totalFrames);
}

void CSoundBuffer::MixInto(int16_t* out, int frames) {
    const uint64_t sampleFrames = SampleFrames();
    uint64_t left = frames > 0 ? uint64_t(frames) : 0;
    while (m_playing && left > 0) {
        uint64_t count;
        if (m_position < sampleFrames) {
            count = std::min(left, sampleFrames - m_position);
            const int16_t* src = m_samples.data() + m_position * 2;
            for (uint64_t i = 0; i < count * 2; ++i) {
                int32_t sum = int32_t(out[i]) + int32_t(src[i]);
                out[i] = int16_t(std::clamp(sum, -32768, 32767));
            }
        } else {
            // The silent tail adds nothing; it only takes time.
            count = std::min(left, m_totalFrames - m_position);
        }
        out += count * 2;
        left -= count;
        m_position += count;
        if (m_position >= m_totalFrames) {
            m_position = 0;
            if (!m_looping) m_playing = false;
        }
    }
}
