#pragma once

#include "Lib/ZIRur/Wnd/TSBgmWnd.h"

// A window run modally over a parent (DoModal) or shown as a modeless child (Open/Close).
class CTSDialog : public CTSBgmWnd {
public:
    ~CTSDialog() override;

    void OnClose() override {}
    void DrawContents() override;
    void DrawOverlay() override;
    void UpdateLayouts() override;

    // Runs the dialog's loop over `parent`; the parent is inactive meanwhile.
    virtual uint32_t DoModal(CTSEventWnd* parent);
    virtual void Open(CTSEventWnd* parent);
    virtual void Close();

    // 1 while not shown as a modeless child (also while modal).
    int32_t m_notAttached = 1;
};
