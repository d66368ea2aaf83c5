#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
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
enum class TraceKind { Scene, Bgm, BgmStop, Se, MsgBox, Url, Save, Exit, Pane, Memory, Say };

// Window messages, turned into calls on the window thread. Implemented by the main view.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    // Positions are client pixels.
    virtual void OnLeftDown(int x, int y, bool doubleClick) = 0;
    virtual void OnLeftUp(int x, int y) = 0;
    virtual void OnRightDown(int x, int y) = 0;
    virtual void OnMouseMove(int x, int y) = 0;
    virtual void OnWheel(int delta, int x, int y) = 0;
    virtual void OnKey(bool down, int key) = 0;
    virtual void OnWindowTimer(int id) = 0;
    // The user asked to close the window; true lets it close.
    virtual bool OnCloseRequest() = 0;
};

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

    // False when the backend could not make anything to draw with.
    virtual bool RendererReady() { return true; }
    // Current client area of the main window in pixels (0 x 0 while minimised).
    virtual void ClientSize(int& width, int& height) { width = 1024, height = 768; }

    // Window-thread services: a periodic timer reported through WindowEvents::OnWindowTimer,
    // and a pause of the window thread itself.
    virtual void StartWindowTimer(int id, uint32_t periodMs) = 0;
    virtual void StopWindowTimer(int id) = 0;
    virtual void SleepWindowThread(uint32_t ms) = 0;

    // A modal message box with an OK button (UTF-8 text).
    virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
    // A modal Yes/No question, No the default; true for Yes, empty when no question could be
    // shown (a desktop without the fonts or windows a message box needs).
    virtual std::optional<bool> AskYesNo(const std::string& text, const std::string& title) = 0;
    // Opens a local file in the system's browser; false when that failed.
    virtual bool OpenUrl(const std::string& path) = 0;

    // Starts pulling audio from `source` (null stops). False when no device could be opened.
    virtual bool StartAudio(AudioSource* source) = 0;
    // Held while the mixer runs; players take it to change what the mixer reads.
    virtual void LockAudio() = 0;
    virtual void UnlockAudio() = 0;

    virtual void Trace(TraceKind kind, const std::string& detail) { (void)kind, (void)detail; }

    // Folder of the running executable.
    virtual std::string ExecutableDir();
    // Per-user folders for settings and a writable save file (created on demand by callers).
    virtual std::string UserConfigDir();
    virtual std::string UserDataDir();
};

// The process's platform. Set once at start-up before the worker thread starts.
Platform& GetPlatform();
void SetPlatform(Platform* platform);
bool HasPlatform();

// A UTF-8 path as the system's path type, for std::filesystem and file streams: on Windows
// they then take it as UTF-16, so folders such as "C:\\Users\\太郎" work.
std::filesystem::path NativePath(const std::string& utf8);

// std::fopen for a UTF-8 path (through its UTF-16 form on Windows).
std::FILE* OpenFile(const std::string& utf8, const char* mode);

// The file: URL of an absolute path, Windows ("C:\\a b") or POSIX ("/a b"), with every byte
// that is not a plain URL character written as %XX ("file:///C:/a%20b", "file:///a%20b").
std::string FileUrl(const std::string& absolutePath);

// Whether an executable file `name` stands in one of the ':'-separated folders of `searchPath`
// (null or empty: none).
bool OnSearchPath(const std::string& name, const char* searchPath);

}  // namespace platform
