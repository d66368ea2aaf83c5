#include "app/BankoView.h"

#include <mutex>
#include <optional>

#include "Lib/ZIRur/Wnd/TSEventWnd.h"
#include "Lib/ZIRur/Wnd/TSWndMgr.h"
#include "screens/Messages.h"

CBankoView::CBankoView(CTSWndMgr& manager) : m_manager(manager) {}

bool CBankoView::Scale(int x, int y, int clientWidth, int clientHeight, int& vx, int& vy) {
    // A minimised window has no client area to scale by; such input is dropped.
    if (clientWidth <= 0 || clientHeight <= 0) return false;
    vx = x * 1024 / clientWidth;
    vy = y * 768 / clientHeight;
    return true;
}

bool CBankoView::Deliver(int x, int y, const std::function<void(CTSEventWnd&, int, int)>& report) {
    int width = 0, height = 0;
    platform::GetPlatform().ClientSize(width, height);
    int vx, vy;
    if (!Scale(x, y, width, height, vx, vy)) return false;
    std::lock_guard lock(m_manager.QueueLock());
    CTSEventWnd* window = m_manager.CurrentWindow();
    if (window == nullptr) return false;
    report(*window, vx, vy);
    return true;
}

void CBankoView::OnLeftDown(int x, int y, bool doubleClick) {
    bool delivered = Deliver(x, y, [&](CTSEventWnd& w, int vx, int vy) {
        w.ReportPress(0, 1, {vx, vy});
        m_pressX = vx;
        m_pressY = vy;
    });
    if (!delivered) return;
    m_held = true;
    m_pressTime = platform::GetPlatform().TickCount();
    platform::GetPlatform().StartWindowTimer(kHoldTimerId, kHoldPeriodMs);
    if (!doubleClick) platform::GetPlatform().SleepWindowThread(50);
}

void CBankoView::OnLeftUp(int x, int y) {
    Deliver(x, y, [](CTSEventWnd& w, int vx, int vy) { w.ReportPress(0, 0, {vx, vy}); });
    m_held = false;
    m_pressX = m_pressY = 0;
    m_pressTime = 0;
    platform::GetPlatform().StopWindowTimer(kHoldTimerId);
}

void CBankoView::OnRightDown(int x, int y) {
    Deliver(x, y, [](CTSEventWnd& w, int vx, int vy) { w.ReportSecondary(0, {vx, vy}); });
}

void CBankoView::OnMouseMove(int x, int y) {
    Deliver(x, y, [](CTSEventWnd& w, int vx, int vy) { w.ReportMove(0, {vx, vy}); });
}

void CBankoView::OnWheel(int delta, int x, int y) {
    Deliver(x, y, [delta](CTSEventWnd& w, int vx, int vy) {
        w.ReportWheel(0, int16_t(delta), {vx, vy});
    });
}

void CBankoView::OnKey(bool down, int key) {
    std::lock_guard lock(m_manager.QueueLock());
    if (CTSEventWnd* window = m_manager.CurrentWindow()) window->ReportKey(0, down ? 1 : 0, key);
}

void CBankoView::OnWindowTimer(int id) {
    if (id != kHoldTimerId) return;
    if (!m_held || (m_pressX == 0 && m_pressY == 0)) return;
    if (platform::GetPlatform().TickCount() - m_pressTime < kHoldDelayMs) return;
    std::lock_guard lock(m_manager.QueueLock());
    if (CTSEventWnd* window = m_manager.CurrentWindow())
        window->ReportHold(0, {m_pressX, m_pressY});
}

bool CBankoView::OnCloseRequest() {
    // Where no question can be shown, the close button must still close: everything is
    // stored on the way out, and otherwise the window could never be closed.
    const std::optional<bool> yes =
        platform::GetPlatform().AskYesNo(msg::kConfirmExit, msg::kAppTitle);
    if (yes.has_value() && !*yes) return false;
    if (m_onClose) m_onClose();
    return true;
}
