#pragma once

#include <cstdint>

#include "Lib/ZIRur/Wnd/TSBgmWnd.h"
#include "screens/ScreenLayout.h"

// The fade every screen opens and leaves with, counted in ticks: -20..-1 while fading, 0 at
// the end of a fade, then counting up (restarting at 1 above 100000) while the screen is
// settled. A screen leaves on the tick after its fade-out reached alpha 12, so the last
// faded frame is drawn.
class ScreenFade {
public:
    static constexpr int kTicks = 20;
    static constexpr int kWrapAbove = 100000;

    // How a screen appears: fading in over kTicks, whole on its first tick, or whole at once.
    enum class Opening : uint8_t { FadeIn, FirstTick, AtOnce };

    // What one tick asks of the screen.
    struct Tick {
        // Apply `alpha` to everything faded.
        bool applyAlpha = false;
        uint8_t alpha = 0;
        // End the screen with this scene (0: stay).
        int endScene = 0;
    };

    // Starts the screen's opening; Alpha() is then the alpha to show first.
    void Open(Opening opening);
    // Starts the fade-out towards `scene` (nonzero); false, changing nothing, when the
    // screen is already leaving.
    bool Leave(int scene);
    Tick Advance();

    bool IsLeaving() const { return m_scene != 0; }
    // The scene the fade-out leads to; 0 while staying.
    int LeavingFor() const { return m_scene; }
    // Opened and not leaving: the screen's own animations run.
    bool IsSettled() const { return m_counter > 0 && m_scene == 0; }
    int Counter() const { return m_counter; }
    uint8_t Alpha() const { return m_alpha; }

private:
    int m_counter = 0;
    int m_scene = 0;
    uint8_t m_alpha = 255;
};

// The chosen course, chapter and section as the screen found them when it started.
struct CurrentSection {
    int course = 0;
    int chapter = 0;
    int section = 0;
    int problemCount = 0;
};

// A layout screen: owns its ScreenLayout, runs a 10 ms tick while it is shown, opens and
// leaves through one ScreenFade, and takes no input once it is leaving. Each screen adds
// only its own behaviour: OnTick for its animations, ApplyAlpha for what its fade covers.
class CFadeScreen : public CTSBgmWnd {
public:
    // The framework timer the tick runs on.
    static constexpr int kTickTimer = 0;
    static constexpr uint32_t kTickMs = 10;

    void OnLoad() override;
    void OnInit() override;
    // Reads the current section, shows the opening's first alpha and starts the tick;
    // screens extend it with their own start.
    void OnStart() override;
    void OnTimer(int index) override;
    void OnDraw() override;
    // Nothing reaches the screen once it is leaving: no pointer, key or button event is
    // generated or dispatched.
    void Step() override;
    int FilterEvent(uint32_t code, uint32_t p1, uint32_t p2) override;

    ScreenLayout& Screen() { return m_screen; }
    const ScreenFade& Fade() const { return m_fade; }
    bool IsLeaving() const { return m_fade.IsLeaving(); }
    bool IsTicking() const { return IsTimerRunning(kTickTimer); }

protected:
    CFadeScreen(const screen_assets::ScreenNames& names, ScreenFade::Opening opening);

    // Fades out and ends the screen with `scene`; false (nothing done) when already leaving.
    bool Leave(int scene);
    // The screen's own work in each tick, before the fade's step.
    virtual void OnTick() {}
    // Applies the fade's alpha; by default to every drawn pane and button of the layout.
    virtual void ApplyAlpha(uint8_t alpha);
    // Asks "back to the main menu?" in the message box; true on the affirmative answer.
    bool ConfirmBackToMenu();

    const CurrentSection& Section() const { return m_section; }

    ScreenLayout m_screen;

private:
    const ScreenFade::Opening m_opening;
    ScreenFade m_fade;
    CurrentSection m_section;
};
