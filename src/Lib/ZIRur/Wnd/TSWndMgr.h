#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

class CTSEventWnd;

// Keeps the current window (the one that receives input) and the lock guarding every queue,
// every device write and the swap of the current window. One per process.
class CTSWndMgr {
public:
    CTSWndMgr();
    virtual ~CTSWndMgr();
    CTSWndMgr(const CTSWndMgr&) = delete;
    CTSWndMgr& operator=(const CTSWndMgr&) = delete;

    // The manager of the process (the last one constructed), or null.
    static CTSWndMgr* Instance();

    // The scene loop of the application's manager; empty here.
    virtual void Run() {}
    // Called at the start of every frame drawing (before Clear).
    virtual void OnFrameBegin() {}

    // Runs `window` as the current window until it ends; returns its result.
    uint32_t RunWindow(CTSEventWnd* window);
    // Posts the quit event (24) with `result` to the current window.
    void RequestQuit(uint32_t result = 0);

    std::recursive_mutex& QueueLock() { return m_queueLock; }
    CTSEventWnd* CurrentWindow() const { return m_pCurrentWnd; }
    // Callers hold QueueLock().
    void SetCurrentWindow(CTSEventWnd* window) { m_pCurrentWnd = window; }
    // Under the lock: destroys the owned screen, then makes `screen` owned and current.
    void ReplaceScreen(std::unique_ptr<CTSEventWnd> screen);

    // Set by the platform view at start-up.
    void* m_pViewWnd = nullptr;

private:
    CTSEventWnd* m_pCurrentWnd = nullptr;
    // The scene's screen; dialogs are owned by the screens that open them.
    std::unique_ptr<CTSEventWnd> m_screen;
    std::recursive_mutex m_queueLock;
};
