#include "screens/CopyrightWnd.h"

#include "Lib/ZIRur/Util/DebugLog.h"
#include "platform/Platform.h"
#include "progress/SaveData.h"
#include "screens/Scene.h"
#include "screens/ScreenMgr.h"

namespace {
constexpr int kShowTimer = 0;
constexpr uint16_t kEnterKey = 13;
}  // namespace

void CCopyrightWnd::OnLoad() {
    // Every later screen draws from the common archive, so it comes in first.
    if (CScreenMgr* app = CScreenMgr::Current()) app->CommonGroup().Open("DATA/IMG/COMMON.T2G");
    LoadSaveData();
    m_group.Open("DATA/IMG/A_1.T2G");
    m_layout.Load(&m_group, "A_1", this);
}

void CCopyrightWnd::OnInit() {
    const TSPictureResource logo{"VXL_logo", "A1_VXL_logo.tga", &m_group};
    m_layout.LoadOneResource(logo);
    m_shownAt = platform::GetPlatform().TickCount();
    StartTimer(kShowTimer, kShowMs);
}

void CCopyrightWnd::OnDraw() {
    m_layout.Draw();
}

void CCopyrightWnd::OnTimer(int index) {
    if (index == kShowTimer) Leave();
}

void CCopyrightWnd::OnKeyDown(uint16_t key, int) {
    if (key == kEnterKey) Leave();
}

void CCopyrightWnd::OnButton(uint16_t) {
    Leave();
}

void CCopyrightWnd::Leave() {
    KillTimer(kShowTimer);
    dbglog::Printf("TimeDiff = %d\n", int(platform::GetPlatform().TickCount() - m_shownAt));
    EndModal(kSceneTitle);
}
