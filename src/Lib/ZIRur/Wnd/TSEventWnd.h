#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "Lib/ZIRur/Wnd/EventQueue.h"
#include "Lib/ZIRur/Wnd/PointerDevice.h"
#include "Lib/ZIRur/Wnd/TSButton.h"
#include "Lib/ZIRur/Wnd/TSEvent.h"

class CTSDialog;

// Ids whose buttons notify on press rather than on release (they act while held down).
bool IsPressNotifiedId(uint16_t id);

// Base of every screen and dialog: private event queue, two input devices, eight timers,
// registered buttons and the run loop.
class CTSEventWnd {
public:
    struct Timer {
        uint8_t m_running = 0;
        uint32_t m_interval = 0;
        uint32_t m_lastFire = 0;
        int m_callback = 0;
        CTSEventWnd* m_pOwner = nullptr;
    };

    CTSEventWnd();
    virtual ~CTSEventWnd();
    CTSEventWnd(const CTSEventWnd&) = delete;
    CTSEventWnd& operator=(const CTSEventWnd&) = delete;

    // --- Virtual operations ---
    // Nonzero lets DispatchEvent handle the event.
    virtual int FilterEvent(uint32_t code, uint32_t p1, uint32_t p2);
    virtual void DispatchEvent(uint32_t code, uint32_t p1, uint32_t p2);
    // The run loop; returns the result of the end event.
    virtual uint32_t RunModal();
    virtual void OnCreate() {}
    virtual void OnLoad() {}
    virtual void OnInit() {}
    virtual void OnStart() {}
    virtual void OnActivate() {}
    virtual void OnDeactivate() {}
    virtual void OnButton(uint16_t id) { (void)id; }
    virtual void OnButtonHold(uint16_t id) { (void)id; }
    virtual void OnClose() {}
    virtual void DrawContents() {}
    virtual void OnDraw() {}
    virtual void Draw() {}
    virtual void DrawOverlay() {}
    virtual void UpdateLayouts() {}
    virtual void OnKeyDown(uint16_t key, int device) { (void)key, (void)device; }
    virtual void OnPadRelease(uint16_t mask, int device) { (void)mask, (void)device; }
    virtual void OnPadHold(uint16_t mask, int device) { (void)mask, (void)device; }
    // Reads the device states; nonzero goes on to GenerateEvents.
    virtual int PollDevices() { return 1; }
    virtual void OnPointerDown(TSPoint point, int device);
    virtual void OnPointerUp(TSPoint point, int device) { (void)point, (void)device; }
    virtual void OnSecondaryDown(TSPoint point, int device) { (void)point, (void)device; }
    virtual void OnPointerHold(TSPoint point, int device) { (void)point, (void)device; }
    virtual void OnPointerMove(TSPoint point, int device);
    virtual void OnWheel(TSPoint point, int16_t delta) { (void)point, (void)delta; }
    virtual void OnTimer(int index) { (void)index; }
    virtual int TestAnyInput(int flag);
    virtual void OnSuspend() {}
    virtual void OnResume() {}
    virtual void Step();
    virtual void GenerateEvents();
    // Hooks run after Draw each frame.
    virtual void OnAfterDraw() {}
    virtual void OnAfterDraw2() {}
    virtual void OnFrameEnd();
    // Called first by DrawContents.
    virtual void OnBeforeContents() {}
    virtual void PlaySe(const char* path, int arg1 = 0, int arg2 = 0) {
        (void)path, (void)arg1, (void)arg2;
    }
    virtual int MoveFocus(int forward, int count, int firstId);
    virtual void OnShowHide(int show, int arg) { (void)show, (void)arg; }
    // Drawn instead of DrawContents in drawing mode 1.
    virtual void DrawAlternate() {}
    virtual void PlayBgm(const char* path, int arg = 0) { (void)path, (void)arg; }
    virtual void StopSe() {}

    // --- Events ---
    int SendEvent(uint32_t code, uint32_t p1, uint32_t p2);
    int PostEvent(uint32_t code, uint32_t p1, uint32_t p2) { return PostEventPri(code, p1, p2, 2); }
    int PostEventPri(uint32_t code, uint32_t p1, uint32_t p2, uint8_t priority);
    int EndModal(uint32_t result) { return PostEvent(kEvEnd, result, 0); }
    // Whether the last run loop ended on a quit rather than on its own end event; its result
    // then is the quit's, not an answer of this window.
    bool EndedByQuit() const { return m_endedByQuit; }

    // --- Timers (index 0-7) ---
    void StartTimer(int index, uint32_t intervalMs);
    void KillTimer(int index);
    bool IsTimerRunning(int index) const;
    // Refreshes the window clock and calls every due timer.
    void RunTimers();
    uint32_t WindowTime() const { return m_elapsed; }
    void UpdateClock();

    int SetActive(int flag);
    bool IsActive() const { return m_active != 0; }

    // --- Buttons ---
    void RegisterButton(CTSButton* button);
    void UnregisterButton(CTSButton* button);
    CTSButton* FindButton(uint16_t id) const;
    CTSButton* HitTest(TSPoint point) const;
    CTSButton* FocusedButton() const;
    const std::vector<CTSButton*>& Buttons() const { return m_buttons; }
    CTSButton* CapturedButton() const { return m_pCapturedButton; }

    // --- Device input (platform layer, under the queue lock) ---
    void ReportPress(int device, int down, TSPoint point);
    void ReportSecondary(int device, TSPoint point);
    void ReportHold(int device, TSPoint point);
    void ReportMove(int device, TSPoint point);
    void ReportWheel(int device, int16_t delta, TSPoint point);
    void ReportKey(int device, int down, int key);

    // Draws one frame under the device lock and presents it.
    void DrawFrame();
    // Queue introspection for tests.
    int QueuedEvents() const;

    // The window currently running over this one (itself while it runs).
    CTSEventWnd* m_pTopWnd = nullptr;
    // Dialog opened over this window with Open.
    CTSDialog* m_pChildDlg = nullptr;
    // Dialog most recently brought up over this window, modal or not.
    CTSDialog* m_pFrontDlg = nullptr;
    CTSEventWnd* m_pParent = nullptr;

protected:
    // Raises the button event: press or release on the button, then the notification rule.
    void ButtonEvent(uint16_t id, int state);
    void LongPress(uint16_t id);
    // The device of an index, or null (a window without devices ignores reports).
    PointerDevice* DeviceAt(int device);
    // Sleeps what is left of a 10 ms pass that started at `start`.
    static void PaceFrom(uint32_t start);

    std::vector<CTSButton*> m_buttons;
    std::vector<std::unique_ptr<PointerDevice>> m_devices;
    EventQueue m_queue;
    int32_t m_active = 1;
    CTSButton* m_pCapturedButton = nullptr;
    std::array<Timer, 8> m_timers{};
    uint32_t m_startTick = 0;
    uint32_t m_elapsed = 0;
    bool m_endedByQuit = false;
};

// Frames drawn by all windows since start.
uint32_t TSFrameCounter();
