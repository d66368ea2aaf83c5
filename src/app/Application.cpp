#include "app/Application.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "Lib/ZIRur/Text/FontMgr.h"
#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/ZIRur/Util/TSingleton.h"
#include "Lib/ZIRur/Wnd/TSBgmWnd.h"
#include "platform/Platform.h"
#include "progress/ProgressState.h"
#include "progress/SaveData.h"
#include "screens/Messages.h"

Application::Application() = default;

Application::~Application() {
    if (m_started) Shutdown();
}

bool Application::Start(const dataroot::DataRoot& dataRoot, std::function<void()> onSceneLoopEnd) {
    dbglog::InitFromEnvironment();
    platform::Platform& host = platform::GetPlatform();
    const std::string& root = dataRoot.root;
    // Decided before moving into the root, which a relative root would otherwise be read from.
    savefile::KeepInUserFolderOnly(dataroot::IsShared(dataRoot));
    std::error_code error;
    // Resolved before moving into the root, which a relative root would otherwise be read from.
    const auto data = std::filesystem::absolute(std::filesystem::path(root) / "DATA", error);
    std::filesystem::current_path(root, error);
    if (error || !std::filesystem::is_directory(data)) {
        host.ShowMessage(std::string(msg::kDataMissing) + data.string(), msg::kAppTitle);
        return false;
    }

    // The view's system font, from the font manager's archive (which opens here).
    m_systemFont = TSingleton<CFontMgr>::GetInstance().GetFont(this, "", kSystemFontFile,
                                                               kSystemFontSize, kSystemFontSize);
    m_manager = std::make_unique<CGSIgoWndMgr>();
    m_manager->m_onLoopEnd = std::move(onSceneLoopEnd);
    if (m_sceneFactory) m_manager->m_sceneFactory = m_sceneFactory;
    // Progress is stored at every scene end, so a crash loses at most the screen in progress.
    m_manager->m_onSceneEnd = [] { StoreSaveData(); };
    SetSoundSettingsSource([] {
        const AppSettings& settings = TheSettings();
        return TSSoundSettings{settings.m_bgmOn, settings.m_seOn};
    });
    m_view = std::make_unique<CBankoView>(*m_manager);
    m_worker = std::make_unique<CPS3Thread>(std::make_unique<CWorkTask>(*m_manager));
    m_worker->SetPriorityBoost(false);
    m_worker->Start();
    m_started = true;
    return true;
}

bool Application::SceneLoopEnded() const {
    return m_worker && !m_worker->IsRunning();
}

int Application::Shutdown() {
    if (!m_started) return 0;
    m_started = false;
    // The quit event ends the current screen (and any dialog over it); a screen that ends
    // with 0 ends the scene loop.
    m_manager->RequestExit();
    if (!m_worker->Join(2000)) {
        // The worker cannot be killed. Keep the learner's progress, then leave without
        // destroying what the worker may still be using.
        dbglog::Printf("Application::Shutdown() : the worker did not end in time.\n");
        ExitProcessing();
        platform::GetPlatform().Trace(platform::TraceKind::Exit, "0");
        std::fflush(nullptr);
        _exit(0);
    }
    ExitProcessing();
    m_worker.reset();
    m_view.reset();
    m_manager.reset();
    if (m_systemFont != nullptr) TSingleton<CFontMgr>::GetInstance().DecReference(m_systemFont);
    m_systemFont = nullptr;
    TSingleton<CFontMgr>::DestroyInstance();
    platform::GetPlatform().Trace(platform::TraceKind::Exit, "0");
    return 0;
}

void Application::ExitProcessing() {
    // Writing sets the last settings word to 0 first.
    StoreSaveData();
}
