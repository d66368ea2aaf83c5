#include "Lib/ZIRur/Wnd/TSWnd.h"

#include "Lib/ZIRur/Wnd/TSDialog.h"

void CTSWnd::DrawOwnContents() {
    OnBeforeContents();
    OnDraw();
    for (CTSButton* button : m_buttons)
        if (button->m_drawFlag != 0) button->UpdateAppearance();
}

void CTSWnd::DrawContents() {
    DrawOwnContents();
    if (m_pChildDlg != nullptr) m_pChildDlg->DrawOverlay();
}

void CTSWnd::Draw() {
    UpdateLayouts();
    DrawOverlay();
}

void CTSWnd::DrawOverlay() {
    if (m_drawMode == 0) {
        DrawContents();
    } else {
        OnBeforeContents();
        DrawAlternate();
    }
}
