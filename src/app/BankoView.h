#pragma once

#include <cstdint>
#include <functional>

#include "platform/Platform.h"

class CTSWndMgr;
class CTSEventWnd;

// The main view's input translation: client pixels are scaled to the 1024 x 768 virtual
// screen and delivered, under the manager's queue lock, to device 0 of the current screen.
class CBankoView : public platform::WindowEvents {
public:
    static constexpr int kHoldTimerId = 100;
    static constexpr uint32_t kHoldPeriodMs = 200;
    static constexpr uint32_t kHoldDelayMs = 500;

    explicit CBankoView(CTSWndMgr& manager);

    void OnLeftDown(int x, int y, bool doubleClick) override;
    void OnLeftUp(int x, int y) override;
    void OnRightDown(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void OnWheel(int delta, int x, int y) override;
    void OnKey(bool down, int key) override;
    void OnWindowTimer(int id) override;
    bool OnCloseRequest() override;

    // Client pixels to the virtual screen; false when the client area is empty.
    static bool Scale(int x, int y, int clientWidth, int clientHeight, int& vx, int& vy);

    // Called when the close question was answered Yes (the application then shuts down).
    std::function<void()> m_onClose;

    bool m_held = false;
    int m_pressX = 0;
    int m_pressY = 0;
    uint32_t m_pressTime = 0;

private:
    // Scales and, when there is a current screen, delivers under the queue lock.
    bool Deliver(int x, int y, const std::function<void(CTSEventWnd&, int, int)>& report);

    CTSWndMgr& m_manager;
};
