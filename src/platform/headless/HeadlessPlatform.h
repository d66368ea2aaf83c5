#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace platform {

// No display, no audio device, a virtual clock. Sleeping advances the clock at once (after
// letting the driver deliver whatever falls due in between), so runs are fast and the same
// input gives the same frames on any machine. Tests use it directly as the platform.
class HeadlessPlatform : public Platform {
public:
    HeadlessPlatform();
    ~HeadlessPlatform() override;

    uint32_t TickCount() override;
    void Sleep(uint32_t ms) override;

    void SubmitFrame(DrawList&& frame) override;
    void ReleaseTexture(uint64_t textureId) override;

    void StartWindowTimer(int id, uint32_t periodMs) override;
    void StopWindowTimer(int id) override;
    // The driver plays the window thread; its pauses take no virtual time.
    void SleepWindowThread(uint32_t) override {}

    void ShowMessage(const std::string& text, const std::string& title) override;
    std::optional<bool> AskYesNo(const std::string& text, const std::string& title) override;
    bool OpenUrl(const std::string& path) override;

    bool StartAudio(AudioSource* source) override;
    void LockAudio() override { m_audioLock.lock(); }
    void UnlockAudio() override { m_audioLock.unlock(); }

    void Trace(TraceKind kind, const std::string& detail) override;

    // --- Driver side ---
    // Called by Sleep before the clock moves to `until`; it may deliver input at times up to
    // `until` (setting the clock with SetNow as it goes). Runs on the sleeping thread.
    using SleepHook = std::function<void(uint64_t until)>;
    void SetSleepHook(SleepHook hook) { m_sleepHook = std::move(hook); }
    uint64_t Now() const;
    void SetNow(uint64_t ms);

    // The earliest firing of a running window timer at or before `until`: its id and time.
    bool NextWindowTimer(uint64_t until, int& id, uint64_t& at) const;
    // Records that timer `id` fired at `at` (its next firing is one period later).
    void WindowTimerFired(int id, uint64_t at);

    // How message boxes are answered (Yes by default) and whether opening a URL succeeds.
    void SetAnswer(bool yes) { m_answer = yes; }
    void SetOpenUrlResult(bool ok) { m_openUrlResult = ok; }

    // Texture ids released since the last call.
    std::vector<uint64_t> TakeReleased();

    // The latest presented frame, and how many frames were presented.
    DrawList LatestFrame() const;
    uint64_t FrameCount() const;

    using TraceSink = std::function<void(uint64_t ms, TraceKind kind, const std::string& detail)>;
    void SetTraceSink(TraceSink sink) { m_traceSink = std::move(sink); }
    static std::string TraceName(TraceKind kind);

    // Mixed audio of the virtual clock so far, interleaved stereo at 22050 Hz, as pulled.
    std::vector<int16_t> TakeAudio();
    // Keep (true) or discard the mixed samples; discarded by default to bound memory.
    void SetKeepAudio(bool keep) { m_keepAudio = keep; }

private:
    void AdvanceTo(uint64_t ms);

    mutable std::mutex m_mutex;
    uint64_t m_now = 0;
    SleepHook m_sleepHook;
    bool m_answer = true;
    bool m_openUrlResult = true;
    struct WindowTimer {
        uint32_t period = 0;
        uint64_t next = 0;
    };
    std::map<int, WindowTimer> m_windowTimers;
    DrawList m_latest;
    std::vector<uint64_t> m_released;
    uint64_t m_frames = 0;
    TraceSink m_traceSink;

    std::recursive_mutex m_audioLock;
    AudioSource* m_audio = nullptr;
    uint64_t m_audioFramesPulled = 0;
    bool m_keepAudio = false;
    std::vector<int16_t> m_samples;
};

}  // namespace platform
