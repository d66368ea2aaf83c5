#include "Lib/ZIRur/Wnd/TSLytWnd.h"

namespace {
LayoutUpdateHook g_layoutUpdate = nullptr;
}

void SetLayoutUpdateHook(LayoutUpdateHook hook) {
    g_layoutUpdate = hook;
}

void CTSLytWnd::UpdateLayouts() {
    if (g_layoutUpdate != nullptr) g_layoutUpdate();
}

void CTSLytWnd::OnResume() {
    // Rebinding the devices' cursors: no cursor is ever bound, so only the reset remains.
    UpdateCursors();
}

void CTSLytWnd::UpdateCursors() {
    if (!IsActive() || m_cursorEnabled == 0 || m_cursorHidden != 0) return;
    for (int i = 0; i < m_cursorCount && i < 2; ++i) SetCursorPos(i, TSPoint{});
}
