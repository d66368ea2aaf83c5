#pragma once

#include <cstdint>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Wnd/TSWnd.h"

// The logo screen: brings in the shared archive and the saved settings and progress, shows
// the logo for two seconds and hands over to the title (Enter skips the wait).
class CCopyrightWnd : public CTSWnd {
public:
    // How long the logo stays, in milliseconds.
    static constexpr uint32_t kShowMs = 2000;

    void OnLoad() override;
    void OnInit() override;
    void OnDraw() override;
    void OnTimer(int index) override;
    void OnKeyDown(uint16_t key, int device) override;
    void OnButton(uint16_t id) override;

private:
    void Leave();

    CTIGroup m_group;
    CTSLayout m_layout;
    // Tick count when the logo appeared.
    uint32_t m_shownAt = 0;
};
