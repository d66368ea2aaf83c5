#pragma once

#include <cstdint>

#include "Lib/ZIRur/Util/Geometry.h"

class CTSEventWnd;

enum TSButtonState : int32_t {
    kBtnNormal = 0,
    kBtnFocused = 1,
    kBtnDisabled = 2,
    kBtnPressed = 3,
};

// A rectangle with an id and a visual state; the window turns presses on it into
// notifications. Looks are drawn by derived classes.
class CTSButton {
public:
    CTSButton() = default;
    virtual ~CTSButton();
    CTSButton(const CTSButton&) = delete;
    CTSButton& operator=(const CTSButton&) = delete;

    virtual void DrawNormal() {}
    virtual void DrawFocused() {}
    virtual void DrawDisabled() {}
    virtual void DrawPressed() {}
    virtual bool SetEnabled(bool flag);
    virtual bool SetFocus(bool flag);
    virtual void SetVisible(bool flag) { m_visible = flag ? 1 : 0; }
    virtual bool SetPressed(bool flag);
    virtual void OnPointerMove(int x, int y) { (void)x, (void)y; }
    virtual void SetRect(const TSRect& rect) { m_rect = rect; }
    virtual TSRect GetRect() const { return m_rect; }
    virtual bool RestoresFocus() const { return m_restoreFocus != 0; }
    virtual void SetState(int32_t state);
    // Polls and draws frames (each pass at least 4 ms) while the pressed look plays.
    virtual void WaitAnimation();
    virtual bool IsAnimating() const { return false; }

    // Visible and in state normal, focused or pressed.
    bool IsUsable() const;
    // The window applies a press (1) or release (0).
    void Press(int32_t state);
    // Called each frame for buttons with the drawing flag.
    void UpdateAppearance();

    // Registration with a window (sets the owner); the destructor unregisters.
    void Attach(CTSEventWnd* window, uint16_t id);

    int32_t m_state = kBtnNormal;
    int32_t m_visible = 1;
    TSRect m_rect;
    uint16_t m_id = 0;
    CTSEventWnd* m_pOwner = nullptr;
    // When 0 the window does not draw this button's look.
    int32_t m_drawFlag = 1;
    int32_t m_flagA = 1;
    int32_t m_flagB = 0;
    // When set, the button itself notifies after its animation.
    int32_t m_deferNotify = 0;
    int32_t m_restoreFocus = 1;
    CTSButton* m_pPrevFocus = nullptr;
    // Look drawn while a dialog is in front of the owner: -1 none, 0 normal, 2 disabled.
    int32_t m_coveredLook = -1;
    int32_t m_flagC = 1;
    // 1 between a press and its release.
    int32_t m_pendingPress = 0;
};
