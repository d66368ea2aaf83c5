#pragma once

#include "Lib/ZIRur/Wnd/TSEventWnd.h"

// Adds the cursor settings (no cursor object is ever bound in this program) and the per-frame
// update of the registered layouts.
class CTSLytWnd : public CTSEventWnd {
public:
    void UpdateLayouts() override;
    void OnResume() override;
    void SetCursorPos(int index, TSPoint point) { (void)index, (void)point; }
    void UpdateCursors();

    int32_t m_cursorCount = 1;
    int32_t m_cursorEnabled = 1;
    int32_t m_cursorHidden = 1;
};

// Brings every registered layout up to date; installed by the layout manager.
using LayoutUpdateHook = void (*)();
void SetLayoutUpdateHook(LayoutUpdateHook hook);
