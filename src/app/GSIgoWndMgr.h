#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "screens/ScreenMgr.h"

class CTSEventWnd;

// The application's window manager: its Run is the scene state machine, executed once on
// the worker thread.
class CGSIgoWndMgr : public CScreenMgr {
public:
    CGSIgoWndMgr();
    ~CGSIgoWndMgr() override;

    void Run() override;
    void OnFrameBegin() override;

    // Runs one scene: replaces the current screen and runs it; returns the next scene.
    int RunScene(int scene);

    // Ends the scene loop: no further scene starts, and the current screen gets the quit event.
    void RequestExit();

    // Makes the screen of a scene; the scene table's screens unless replaced (tests).
    std::function<std::unique_ptr<CTSEventWnd>(int)> m_sceneFactory;

    // Called after every scene ends (the application stores the save data there).
    std::function<void()> m_onSceneEnd;
    // Called once when the scene loop has ended (from the worker thread).
    std::function<void()> m_onLoopEnd;

    // The application's manager, or null when none runs (tests of single screens).
    static CGSIgoWndMgr* App();

    // Client size read at the last frame.
    int m_clientWidth = 0;
    int m_clientHeight = 0;

private:
    std::atomic<bool> m_exitRequested{false};
};
