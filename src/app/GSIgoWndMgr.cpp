#include "app/GSIgoWndMgr.h"

#include <mutex>
#include <string>

#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Sound/SoundPlayers.h"
#include "Lib/ZIRur/Wnd/TSEventWnd.h"
#include "app/SceneTable.h"
#include "platform/Platform.h"
#include "screens/Messages.h"

CGSIgoWndMgr::CGSIgoWndMgr() : m_sceneFactory(CreateSceneScreen) {}
CGSIgoWndMgr::~CGSIgoWndMgr() = default;

CGSIgoWndMgr* CGSIgoWndMgr::App() {
    return dynamic_cast<CGSIgoWndMgr*>(CTSWndMgr::Instance());
}

void CGSIgoWndMgr::OnFrameBegin() {
    platform::GetPlatform().ClientSize(m_clientWidth, m_clientHeight);
}

void CGSIgoWndMgr::RequestExit() {
    // Under the lock that also guards the screen swap, so the quit reaches either the running
    // screen or stops the next one from starting.
    std::lock_guard lock(QueueLock());
    m_exitRequested = true;
    RequestQuit(0);
}

int CGSIgoWndMgr::RunScene(int scene) {
    auto screen = m_sceneFactory(scene);
    if (!screen) return 0;
    CTSEventWnd* window = screen.get();
    {
        std::lock_guard lock(QueueLock());
        if (m_exitRequested) return 0;
        ReplaceScreen(std::move(screen));
    }
    platform::GetPlatform().Trace(platform::TraceKind::Scene, std::to_string(scene));
    return int(RunWindow(window));
}

void CGSIgoWndMgr::Run() {
    platform::Platform& host = platform::GetPlatform();
    gfx::RenderDevice& device = gfx::RenderDevice::Instance();
    if (!host.RendererReady()) {
        host.ShowMessage(msg::kRendererContextFailed, msg::kAppTitle);
    } else if (!device.Create()) {
        host.ShowMessage(msg::kRendererDeviceFailed, msg::kAppTitle);
    }
    OnFrameBegin();
    CreateSoundPlayers();

    for (int scene = kSceneLogo; IsScene(scene);) {
        scene = RunScene(scene);
        if (m_onSceneEnd) m_onSceneEnd();
    }

    ReplaceScreen(nullptr);
    CommonGroup().Close();
    DeleteSoundPlayers();
    device.Release();
    if (m_onLoopEnd) m_onLoopEnd();
}
