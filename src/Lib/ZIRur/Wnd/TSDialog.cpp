#include "Lib/ZIRur/Wnd/TSDialog.h"

#include "Lib/ZIRur/Wnd/TSWndMgr.h"

namespace {
// Values displaced by the open modeless child, restored by Close.
CTSDialog* g_savedChild = nullptr;
CTSDialog* g_savedFront = nullptr;

void SetCurrent(CTSEventWnd* window) {
    if (CTSWndMgr* mgr = CTSWndMgr::Instance()) {
        std::lock_guard lock(mgr->QueueLock());
        mgr->SetCurrentWindow(window);
    }
}
}  // namespace

CTSDialog::~CTSDialog() {
    if (m_notAttached == 0) Close();
}

void CTSDialog::DrawContents() {
    DrawOwnContents();
}

void CTSDialog::DrawOverlay() {
    if (m_notAttached != 0 && m_pParent != nullptr) m_pParent->DrawContents();
    DrawContents();
}

void CTSDialog::UpdateLayouts() {
    if (m_notAttached != 0 && m_pParent != nullptr) m_pParent->UpdateLayouts();
}

uint32_t CTSDialog::DoModal(CTSEventWnd* parent) {
    m_notAttached = 1;
    SetCurrent(this);
    m_pParent = parent;
    const int parentActive = parent->SetActive(0);
    CTSEventWnd* previousTop = parent->m_pTopWnd;
    parent->m_pTopWnd = this;
    if (previousTop != nullptr) previousTop->OnSuspend();
    m_pTopWnd = this;
    CTSDialog* previousFront = parent->m_pFrontDlg;
    parent->m_pFrontDlg = this;

    SendEvent(kEvCreate, 0, 0);
    SendEvent(kEvLoad, 0, 0);
    SendEvent(kEvInit, 0, 0);
    SendEvent(kEvStart, 0, 0);
    const uint32_t result = RunModal();

    SetCurrent(previousTop);
    SendEvent(kEvClose, 0, 0);
    parent->m_pFrontDlg = previousFront;
    if (previousTop != nullptr) previousTop->OnResume();
    parent->m_pTopWnd = previousTop;
    parent->SetActive(parentActive);
    return result;
}

void CTSDialog::Open(CTSEventWnd* parent) {
    m_notAttached = 0;
    m_pParent = parent;
    g_savedChild = parent->m_pChildDlg;
    g_savedFront = parent->m_pFrontDlg;
    parent->m_pChildDlg = this;
    parent->m_pFrontDlg = this;
    SendEvent(kEvCreate, 0, 0);
    SendEvent(kEvLoad, 0, 0);
    SendEvent(kEvInit, 0, 0);
    SendEvent(kEvStart, 0, 0);
    parent->PollDevices();
    parent->DrawFrame();
}

void CTSDialog::Close() {
    m_notAttached = 1;
    if (m_pParent != nullptr) {
        m_pParent->m_pFrontDlg = g_savedFront;
        m_pParent->m_pChildDlg = g_savedChild;
    }
    g_savedFront = g_savedChild = nullptr;
    SendEvent(kEvClose, 0, 0);
}
