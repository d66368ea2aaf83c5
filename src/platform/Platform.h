#pragma once

#include <cstdint>
#include <string>

#include "platform/DrawList.h"

namespace platform {

// Pulls mixed audio: the device asks for interleaved stereo 16-bit frames at 22050 Hz.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual void Mix(int16_t* out, int frames) = 0;
};

// Events that a run can be checked by (the headless program writes them as trace lines;
// the windowed program ignores them).
enum class TraceKind { Scene, Bgm, BgmStop, Se, MsgBox, Url, Save, Exit };

// Everything the core needs from the operating system, behind one interface. The worker
// thread calls these; a backend makes them safe to call from it.
class Platform {
public:
    virtual ~Platform() = default;

    // Milliseconds since an arbitrary start; wraps like a 32-bit tick count.
    virtual uint32_t TickCount() = 0;
    virtual void Sleep(uint32_t ms) = 0;

    // Hands over a complete frame; the backend shows the latest one it has.
    virtual void SubmitFrame(DrawList&& frame) = 0;
    // A texture id that no later frame will name; the backend frees what it made for it.
    virtual void ReleaseTexture(uint64_t textureId) = 0;
    // Size of the back buffer the frames are drawn for.
    virtual int BackBufferWidth() { return 1024; }
    virtual int BackBufferHeight() { return 768; }

    // A modal message box with an OK button (UTF-8 text).
    virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
    // A modal Yes/No question, No the default; true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& title) = 0;
    // Opens a local file in the system's browser; false when that failed.
    virtual bool OpenUrl(const std::string& path) = 0;

    // Starts pulling audio from `source` (null stops). False when no device could be opened.
    virtual bool StartAudio(AudioSource* source) = 0;
    // Held while the mixer runs; players take it to change what the mixer reads.
    virtual void LockAudio() = 0;
    virtual void UnlockAudio() = 0;

    virtual void Trace(TraceKind kind, const std::string& detail) { (void)kind, (void)detail; }

    // Per-user folders for settings and a writable save file (created on demand by callers).
    virtual std::string UserConfigDir();
    virtual std::string UserDataDir();
};

// The process's platform. Set once at start-up before the worker thread starts.
Platform& GetPlatform();
void SetPlatform(Platform* platform);
bool HasPlatform();

}  // namespace platform
