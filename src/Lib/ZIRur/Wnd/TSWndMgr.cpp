#include "Lib/ZIRur/Wnd/TSWndMgr.h"

#include "Lib/ZIRur/Wnd/TSEventWnd.h"

namespace {
CTSWndMgr* g_manager = nullptr;
}

CTSWndMgr::CTSWndMgr() {
    g_manager = this;
}

CTSWndMgr::~CTSWndMgr() {
    ReplaceScreen(nullptr);
    if (g_manager == this) g_manager = nullptr;
}

CTSWndMgr* CTSWndMgr::Instance() {
    return g_manager;
}

void CTSWndMgr::ReplaceScreen(std::unique_ptr<CTSEventWnd> screen) {
    std::lock_guard lock(m_queueLock);
    m_pCurrentWnd = nullptr;
    m_screen = std::move(screen);
    m_pCurrentWnd = m_screen.get();
}

uint32_t CTSWndMgr::RunWindow(CTSEventWnd* window) {
    {
        std::lock_guard lock(m_queueLock);
        m_pCurrentWnd = window;
    }
    window->m_pTopWnd = window;
    window->SendEvent(kEvCreate, 0, 0);
    window->SendEvent(kEvLoad, 0, 0);
    window->SendEvent(kEvActivate, 0, 0);
    window->SendEvent(kEvInit, 0, 0);
    window->PostEvent(kEvStart, 0, 0);
    uint32_t result = window->RunModal();
    window->SendEvent(kEvDeactivate, 0, 0);
    window->SendEvent(kEvClose, 0, 0);
    return result;
}

void CTSWndMgr::RequestQuit(uint32_t result) {
    std::lock_guard lock(m_queueLock);
    if (m_pCurrentWnd != nullptr) m_pCurrentWnd->PostEvent(kEvQuit, result, 0);
}
