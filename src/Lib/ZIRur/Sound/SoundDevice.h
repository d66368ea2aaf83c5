#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

class CSound;
class CSoundBuffer;
class CWavReader;

// The one audio output: 22050 Hz, 2 channels, 16 bits. It hands itself to the platform as
// the audio source and mixes every registered buffer that plays. Buffers change state only
// under Lock(), which is the platform's audio lock once the device is started.
class CSoundDevice : public platform::AudioSource {
public:
    // Largest "data" size a sound may state (the largest sound buffer there can be).
    static constexpr uint32_t kMaxBufferBytes = 0x0FFFFFFF;
    // Largest converted sound kept in memory: 30 minutes of output.
    static constexpr uint64_t kMaxSampleFrames = uint64_t(22050) * 60 * 30;

    // The process's device, shared by the players: the first caller opens it, the last
    // holder closes it. Null when no platform or no audio device is there; a later call
    // tries again.
    static std::shared_ptr<CSoundDevice> Acquire();

    CSoundDevice() = default;
    // Stops the platform pulling from this device (when it was started).
    ~CSoundDevice() override;
    CSoundDevice(const CSoundDevice&) = delete;
    CSoundDevice& operator=(const CSoundDevice&) = delete;

    // Makes this the platform's audio source; false without a platform or audio device.
    bool Start();
    bool IsStarted() const { return m_pPlatform != nullptr; }

    // A static sound filled from an opened reader: `bufferCount` buffers of the stated "data"
    // size, each holding the converted samples. Null (and the reader dropped) for an empty
    // "data", a format that cannot be played, or a size beyond the limits above.
    std::unique_ptr<CSound> CreateSound(std::unique_ptr<CWavReader> reader,
                                        uint32_t creationFlags = 0, int bufferCount = 1);
    // The same from a WAV file; null when the file cannot be read.
    std::unique_ptr<CSound> CreateSound(const std::string& path, uint32_t creationFlags = 0,
                                        int bufferCount = 1);

    // Mixes the playing buffers (silence when none plays). Called with the audio lock held.
    void Mix(int16_t* out, int frames) override;

    // The audio lock (the platform's once started, none before, when nothing pulls).
    void Lock();
    void Unlock();

    // Adds or removes a buffer from the mix; the caller holds Lock().
    void Register(CSoundBuffer* buffer);
    void Unregister(CSoundBuffer* buffer);

private:
    platform::Platform* m_pPlatform = nullptr;
    std::vector<CSoundBuffer*> m_buffers;
};

// Holds a device's audio lock for a scope.
class CSoundLock {
public:
    explicit CSoundLock(CSoundDevice& device) : m_device(device) { m_device.Lock(); }
    ~CSoundLock() { m_device.Unlock(); }
    CSoundLock(const CSoundLock&) = delete;
    CSoundLock& operator=(const CSoundLock&) = delete;

private:
    CSoundDevice& m_device;
};
