#pragma once

#include <SDL.h>

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/sdl/FrameReplayer.h"
#include "platform/sdl/SdlHandles.h"

namespace platform {

// The real backend: one fixed 1024 x 768 window, SDL's renderer and SDL audio. The thread
// that calls Init and RunWindowLoop owns the window; the worker hands it frames.
class SdlPlatform : public Platform {
public:
    SdlPlatform();
    ~SdlPlatform() override;

    // Initialises SDL video. False (with the reason logged) when no display is available.
    bool Init();
    // Creates and shows the window and its renderer.
    bool CreateMainWindow();
    bool HasWindow() const { return m_window != nullptr; }
    // Runs the window's message loop until the close question is answered Yes
    // (`events.OnCloseRequest` returns true) or `stop` becomes true; the loop sleeps until
    // an event comes, so whoever sets `stop` calls Wake afterwards.
    void RunWindowLoop(WindowEvents& events, const std::atomic<bool>& stop);
    // Wakes the window loop from any thread.
    void Wake();

    uint32_t TickCount() override;
    void Sleep(uint32_t ms) override;
    void SubmitFrame(DrawList&& frame) override;
    void ReleaseTexture(uint64_t textureId) override;
    bool RendererReady() override { return m_rendererReady; }
    void ClientSize(int& width, int& height) override;
    void StartWindowTimer(int id, uint32_t periodMs) override;
    void StopWindowTimer(int id) override;
    void SleepWindowThread(uint32_t ms) override { SDL_Delay(ms); }
    void ShowMessage(const std::string& text, const std::string& title) override;
    std::optional<bool> AskYesNo(const std::string& text, const std::string& title) override;
    bool OpenUrl(const std::string& path) override;
#ifdef _WIN32
    // Beside the executable, and the per-user folder SDL names (%APPDATA%\Stonewell).
    std::string ExecutableDir() override;
    std::string UserConfigDir() override;
    std::string UserDataDir() override;
#endif
    bool StartAudio(AudioSource* source) override;
    void LockAudio() override;
    void UnlockAudio() override;

    // Frames replayed and frames skipped because they equalled the previous one.
    uint64_t ReplayedFrames() const {
        return m_replayed;
    }
    uint64_t SkippedFrames() const {
        return m_skipped;
    }

private:
    struct DialogRequest;
    bool OnWindowThread() const;
    // The chosen button's id, or kNoMessageBox when the box could not be shown.
    int RunMessageBox(const std::string& text, const std::string& title, bool yesNo);
    static constexpr int kNoMessageBox = -1;
    void PumpEvents(WindowEvents& events, const std::atomic<bool>& stop);
    void ServeDialogs();
    // Shows a message box on the window thread on behalf of any thread; the chosen button.
    int AskWindowThread(const std::string& text, const std::string& title, bool yesNo);
    // Answers every waiting request with No and refuses further ones.
    void EndDialogs();
    void ReplayLatest(bool force);
    void LoadPlacement(int& x, int& y);
    void SavePlacement();
    static void AudioCallback(void* self, Uint8* stream, int len);

    bool m_videoReady = false;
    bool m_rendererReady = false;
    sdl::WindowPtr m_window;
    sdl::RendererPtr m_renderer;
    std::unique_ptr<sdl::FrameReplayer> m_replayer;
    SDL_threadID m_windowThread = 0;
    Uint32 m_frameEvent = 0;

    std::mutex m_frameMutex;
    std::optional<DrawList> m_pending;
    std::vector<uint64_t> m_released;
    std::atomic<bool> m_frameEventQueued{false};
    DrawList m_shown;
    uint64_t m_replayed = 0;
    uint64_t m_skipped = 0;

    std::map<int, SDL_TimerID> m_timers;

    std::mutex m_dialogMutex;
    std::condition_variable m_dialogDone;
    std::vector<DialogRequest*> m_dialogs;
    bool m_loopEnded = false;

    SDL_AudioDeviceID m_audioDevice = 0;
    std::atomic<AudioSource*> m_audioSource{nullptr};
};

}  // namespace platform
