#include "Lib/ZIRur/Wnd/TSButton.h"

#include "Lib/ZIRur/Wnd/TSEventWnd.h"
#include "platform/Platform.h"

CTSButton::~CTSButton() {
    if (m_pOwner != nullptr) m_pOwner->UnregisterButton(this);
}

void CTSButton::Attach(CTSEventWnd* window, uint16_t id) {
    m_id = id;
    if (id >= 65535) m_restoreFocus = 1;
    if (window != nullptr) window->RegisterButton(this);
}

bool CTSButton::IsUsable() const {
    return m_visible != 0 &&
           (m_state == kBtnNormal || m_state == kBtnFocused || m_state == kBtnPressed);
}

void CTSButton::SetState(int32_t state) {
    if (m_pendingPress != 0 && state == kBtnNormal) state = kBtnPressed;
    if (state == kBtnDisabled) m_pendingPress = 0;
    m_state = state;
}

bool CTSButton::SetEnabled(bool flag) {
    if (flag) {
        if (m_state != kBtnDisabled) return false;
        SetState(kBtnNormal);
        return true;
    }
    SetState(kBtnDisabled);
    return true;
}

bool CTSButton::SetFocus(bool flag) {
    if (m_state == kBtnDisabled) return false;
    SetState(flag ? kBtnFocused : kBtnNormal);
    return true;
}

bool CTSButton::SetPressed(bool flag) {
    if (m_visible == 0 || m_state == kBtnDisabled) return false;
    SetState(flag ? kBtnPressed : kBtnNormal);
    return true;
}

void CTSButton::WaitAnimation() {
    if (m_pOwner == nullptr) return;
    while (IsAnimating()) {
        uint32_t start = platform::GetPlatform().TickCount();
        m_pOwner->PollDevices();
        m_pOwner->DrawFrame();
        uint32_t spent = platform::GetPlatform().TickCount() - start;
        if (spent < 4) platform::GetPlatform().Sleep(4 - spent);
    }
}

void CTSButton::Press(int32_t state) {
    if (m_pOwner == nullptr) return;
    m_pendingPress = state;
    m_pPrevFocus = m_pOwner->FocusedButton();
    if (IsUsable()) SetPressed(true);
    if (m_deferNotify == 0) {
        WaitAnimation();
        if (RestoresFocus()) {
            if (m_pPrevFocus != nullptr && m_pPrevFocus != this && m_pPrevFocus->IsUsable())
                m_pPrevFocus->SetFocus(true);
            if (state == 0) SetPressed(false);
        } else {
            SetFocus(true);
        }
    } else {
        m_pOwner->PollDevices();
        m_pOwner->DrawFrame();
    }
}

void CTSButton::UpdateAppearance() {
    if (m_visible == 0) return;
    if (m_pOwner != nullptr && m_pOwner->m_pFrontDlg != nullptr &&
        (m_coveredLook == kBtnDisabled || m_coveredLook == kBtnNormal)) {
        if (m_coveredLook == kBtnDisabled)
            DrawDisabled();
        else
            DrawNormal();
        return;
    }
    switch (m_state) {
        case kBtnNormal:
            DrawNormal();
            break;
        case kBtnFocused:
            DrawFocused();
            break;
        case kBtnDisabled:
            DrawDisabled();
            break;
        case kBtnPressed:
            DrawPressed();
            break;
        default:
            return;
    }
    if (m_state == kBtnPressed && m_deferNotify != 0 && !IsAnimating()) {
        if (RestoresFocus()) {
            if (m_pPrevFocus != nullptr && m_pPrevFocus != this && m_pPrevFocus->IsUsable())
                m_pPrevFocus->SetFocus(true);
            SetPressed(false);
        } else {
            SetFocus(true);
        }
    }
}
