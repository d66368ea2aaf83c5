#pragma once

#include "Lib/ZIRur/Wnd/TSLytWnd.h"

// A screen window that draws: layouts first, then its contents, buttons and child dialog.
class CTSWnd : public CTSLytWnd {
public:
    void OnStart() override { OnShowHide(1, 0); }
    void OnClose() override { OnShowHide(0, 0); }
    void DrawContents() override;
    void Draw() override;
    void DrawOverlay() override;

    // 0 draws through DrawContents; 1 through DrawAlternate.
    int32_t m_drawMode = 0;

protected:
    // Steps shared with dialogs: hook, OnDraw, then each drawn button's look.
    void DrawOwnContents();
};
