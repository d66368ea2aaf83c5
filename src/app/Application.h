#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/BankoView.h"
#include "app/DataRoot.h"
#include "app/GSIgoWndMgr.h"
#include "app/WorkerThread.h"

class CTSFont;

// Start-up and exit of the program, shared by the windowed and the headless executables.
// The platform must be set before Start.
class Application {
public:
    Application();
    ~Application();

    // Makes `root` the working directory, checks that DATA/ is there (a message names the
    // expected path otherwise), creates the manager and the view and starts the worker.
    // `onSceneLoopEnd` is called on the worker once the scene loop has ended.
    // A root shared with other users (dataroot::IsShared) keeps progress in the per-user data
    // folder only.
    bool Start(const dataroot::DataRoot& dataRoot, std::function<void()> onSceneLoopEnd = {});
    // A root of one's own: a build tree, a test's copy.
    bool Start(const std::string& root, std::function<void()> onSceneLoopEnd = {}) {
        return Start(dataroot::DataRoot{root, false}, std::move(onSceneLoopEnd));
    }
    // Replaces the scene table's screens (tests); call before Start.
    void SetSceneFactory(std::function<std::unique_ptr<CTSEventWnd>(int)> factory) {
        m_sceneFactory = std::move(factory);
    }
    CBankoView& View() { return *m_view; }
    CGSIgoWndMgr& Manager() { return *m_manager; }

    // True once the scene loop has ended.
    bool SceneLoopEnded() const;
    // Asks the running screens to end, waits for the worker and runs the exit processing.
    // Returns the process exit code.
    int Shutdown();

private:
    static constexpr const char* kSystemFontFile = "UIGothic-Bold.otf";
    static constexpr int kSystemFontSize = 12;

    void ExitProcessing();

    std::unique_ptr<CGSIgoWndMgr> m_manager;
    std::unique_ptr<CBankoView> m_view;
    std::unique_ptr<CPS3Thread> m_worker;
    // Owned through the font manager's reference count; null when the font is missing.
    CTSFont* m_systemFont = nullptr;
    bool m_started = false;
    std::function<std::unique_ptr<CTSEventWnd>(int)> m_sceneFactory;
};
