#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "Lib/ZIRur/Sound/SoundBuffer.h"
#include "Lib/ZIRur/Sound/WavReader.h"

class CSoundDevice;

// A static sound: its buffers (one in this program) filled from a WAV reader, which it keeps
// so that a buffer can be filled again. Its buffers are mixed by the device that made it.
class CSound {
public:
    // Opens nothing itself: the reader must be open. Null for an empty "data", a format that
    // cannot be played or a size beyond the device's limits.
    static std::unique_ptr<CSound> Create(CSoundDevice& device, std::unique_ptr<CWavReader> reader,
                                          uint32_t creationFlags, int bufferCount);

    // Takes its buffers out of the mix.
    virtual ~CSound();
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;

    // Starts a free buffer (the first that is not playing, else any), once or looping.
    // `priority` is accepted for callers' sake; one output has nothing to rank.
    bool Play(uint32_t priority, bool loop);
    // Stops every buffer; their positions stay.
    bool Stop();
    // Moves every buffer back to its start.
    bool Reset();
    // True while any buffer plays.
    bool IsSoundPlaying();

    // Size of each buffer in the file's bytes: the stated "data" size.
    uint32_t BufferSize() const { return m_bufferSize; }
    int NumBuffers() const { return int(m_buffers.size()); }
    uint32_t CreationFlags() const { return m_creationFlags; }
    // The buffer at `index`, or null.
    CSoundBuffer* GetBuffer(int index);
    const CWavReader& WaveFile() const { return *m_pWaveFile; }

private:
    CSound(CSoundDevice& device, std::unique_ptr<CWavReader> reader, uint32_t bufferSize,
           uint32_t creationFlags);
    // The buffer's contents: the file's samples converted, then the silent tail's length.
    bool ReadSamples(std::vector<int16_t>& samples, uint64_t& totalFrames);
    CSoundBuffer* GetFreeBuffer();

    CSoundDevice& m_device;
    std::vector<std::unique_ptr<CSoundBuffer>> m_buffers;
    uint32_t m_bufferSize;
    std::unique_ptr<CWavReader> m_pWaveFile;
    uint32_t m_creationFlags;
    std::minstd_rand m_random;
};
