#pragma once

#include <cstdint>

#include "Lib/ZIRur/Layout/ts_pane.h"
#include "Lib/ZIRur/Wnd/TSBgmWnd.h"
#include "screens/ScreenLayout.h"

// The title screen: the title, the teacher blinking now and then, and three buttons — start
// (fades out to the main menu), options and help.
class CTitleWnd : public CTSBgmWnd {
public:
    static constexpr uint16_t kStart = 2;
    static constexpr uint16_t kOption = 3;
    static constexpr uint16_t kHelp = 4;
    // Ticks of the fade in and of the fade out.
    static constexpr int kFadeTicks = 20;

    CTitleWnd();

    void OnLoad() override;
    void OnInit() override;
    void OnStart() override;
    void OnDraw() override;
    void OnTimer(int index) override;
    void OnButton(uint16_t id) override;

    int FadeCounter() const { return m_fadeCounter; }

private:
    void Tick();
    void ApplyFadeAlpha(uint8_t alpha);
    void Blink(int phase);
    void RunOptions();
    void OpenHelp();

    ScreenLayout m_screen;
    // title_a, title_b, copyright, chara_0, chara_1, chara_2.
    CTSPane m_panes[6];
    // Whether the tick timer drives the screen (own name: the framework's m_active gates
    // every timer event).
    int32_t m_ticking = 0;
    int32_t m_dialogOpen = 0;
    // −20..−1 while fading, then 0, 1, 2, … (the idle animation's clock).
    int32_t m_fadeCounter = 0;
    int32_t m_leaving = 0;
    float m_alpha = 0.0f;
};
