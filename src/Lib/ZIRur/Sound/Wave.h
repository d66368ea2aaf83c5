#pragma once

#include <memory>
#include <string>

#include "Lib/ZIRur/Sound/Sound.h"
#include "Lib/ZIRur/Sound/SoundDevice.h"

// Which of the two players a CWave is; it decides what the run trace calls its starts and
// stops.
enum class SoundRole { Bgm, Se };

// A player of one WAV sound at a time. Without an audio device every operation returns
// false and nothing else happens.
class CWave {
public:
    // Takes the shared audio device (opening it when it is the first player).
    explicit CWave(SoundRole role);
    // Stops and drops the sound, then lets go of the device.
    virtual ~CWave();
    CWave(const CWave&) = delete;
    CWave& operator=(const CWave&) = delete;

    // Stops and drops the current sound, then loads `path`. True if a sound now exists.
    bool Load(const std::string& path);
    // Plays the loaded sound, looping or once; false without a sound.
    bool Play(bool loop);
    // Stops the sound and keeps it (a later Play goes on from where it stopped).
    bool Stop();
    // Stops and drops the sound.
    bool Release();
    // True while the sound plays.
    bool IsPlaying();

    SoundRole Role() const { return m_role; }
    // The path of the loaded sound; empty without one.
    const std::string& Path() const { return m_path; }
    // False when no audio device could be opened.
    bool HasDevice() const { return m_pDevice != nullptr; }

private:
    // Stops a playing sound, reporting the stop of music to the trace when `trace` is set.
    void StopPlaying(bool trace);

    SoundRole m_role;
    std::shared_ptr<CSoundDevice> m_pDevice;
    std::unique_ptr<CSound> m_pSound;
    std::string m_path;
};
