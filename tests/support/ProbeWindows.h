#pragma once

#include <string>
#include <vector>

#include "Lib/ZIRur/Wnd/TSDialog.h"

// A screen that records what reaches it, one readable line per call.
class ProbeWnd : public CTSBgmWnd {
public:
    std::vector<std::string> log;

    void OnButton(uint16_t id) override { log.push_back("button " + std::to_string(id)); }
    void OnButtonHold(uint16_t id) override { log.push_back("hold " + std::to_string(id)); }
    void OnTimer(int index) override { log.push_back("timer " + std::to_string(index)); }
    void OnPointerUp(TSPoint p, int d) override { log.push_back(Pt("up", p, d)); }
    void OnSecondaryDown(TSPoint p, int d) override { log.push_back(Pt("second", p, d)); }
    void OnPointerDown(TSPoint p, int d) override {
        log.push_back(Pt("down", p, d));
        CTSBgmWnd::OnPointerDown(p, d);
    }
    void OnKeyDown(uint16_t key, int d) override {
        log.push_back("key " + std::to_string(key) + " dev " + std::to_string(d));
    }
    void OnWheel(TSPoint p, int16_t delta) override {
        log.push_back("wheel " + std::to_string(delta) + Pt("", p, 0));
    }

    // Direct access to the input devices, as the platform layer writes them.
    PointerDevice& Device(int i) { return *m_devices[size_t(i)]; }
    // Pops and dispatches every queued event, as the run loop would.
    void DispatchQueued() {
        TSEvent ev;
        while (PopForTest(ev)) DispatchEvent(ev.code, ev.p1, ev.p2);
    }
    bool PopForTest(TSEvent& ev) { return m_queue.Pop(ev); }

private:
    static std::string Pt(const char* what, TSPoint p, int device) {
        return std::string(what) + " " + std::to_string(p.x) + "," + std::to_string(p.y) + " dev " +
               std::to_string(device);
    }
};

// A plain button with a rectangle.
class RectButton : public CTSButton {
public:
    RectButton(CTSEventWnd& window, uint16_t id, TSRect rect) {
        Attach(&window, id);
        SetRect(rect);
    }
};
