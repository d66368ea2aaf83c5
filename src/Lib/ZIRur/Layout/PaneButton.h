#pragma once

#include <array>
#include <cstdint>

#include "Lib/ZIRur/Layout/ts_pane.h"
#include "Lib/ZIRur/Wnd/TSButton.h"

class CTIGroup;
class CTSLayout;

// A button whose looks are layout panes (one per state, plus an optional second pane per
// state) and/or textures switched into one picture pane. A press shows the pressed look for
// a number of frames (10 by default) before the window is notified.
//
// Typical use in a screen's OnInit, with panes "btn_ok_1" (normal) and "btn_ok_2" (pressed):
//     m_ok.Create(this, kIdOk, &m_layout, "btn_ok_1", "btn_ok_2");
// which is Init (this, kIdOk) and SetPanes (&m_layout, "btn_ok_1", "", "", "btn_ok_2").
// The screen then must not draw those panes itself: the window draws each button's look
// after the screen's OnDraw. Disable with SetEnabled (false) to show the greyed pane.
class CPaneButton : public CTSButton {
public:
    static constexpr int kStates = 4;
    static constexpr int kTextureNameLen = 127;
    static constexpr int kSoundPathLen = 100;
    static constexpr int kDefaultPressFrames = 10;

    CPaneButton() = default;
    ~CPaneButton() override = default;

    // Registers with `window` (empty rectangle) under `id`; keeps the offset and shift flag
    // that SetPanes applies. A second call moves the button to the new window.
    void Init(CTSEventWnd* window, uint16_t id, int drawFlag = 1, int offsetX = 0, int offsetY = 0,
              int shift = 0);
    // Init (window, id), then SetPanes with the normal, pressed and (optional) greyed panes.
    void Create(CTSEventWnd* window, uint16_t id, CTSLayout* layout, const char* normalPane,
                const char* pressedPane, const char* greyPane = nullptr);
    // Looks and rectangles from panes; an empty or null name leaves that state without a pane.
    // pane0 also becomes the picture pane whose texture SetTextures switches. Ends unfocused.
    void SetPanes(CTSLayout* layout, const char* pane0, const char* pane1, const char* pane2,
                  const char* pane3);
    // Second panes drawn with each state's look (they give no rectangle).
    void SetSecondPanes(CTSLayout* layout, const char* pane0, const char* pane1, const char* pane2,
                        const char* pane3);
    // Hit rectangle taken from this pane instead of the state rectangles.
    void SetHitPane(CTSLayout* layout, const char* name, bool apply);
    // Texture names per state (truncated to 127 characters) from `group`; the picture pane
    // shows the current state's texture at once when the archive holds it.
    void SetTextures(CTIGroup* group, const char* tex0, const char* tex1, const char* tex2,
                     const char* tex3);
    // Sounds played through the owner's effect player: on entering the pressed state.
    void SetSounds(const char* focusSound, const char* pressSound);
    void SetSoundsEnabled(int flag) { m_soundsEnabled = flag; }
    // Frames the pressed look lasts before the notification (default 10).
    void SetPressFrames(int frames) { m_pressFrames = frames; }
    // Moves the button so that its anchor corner lands on (x, y); alignment low nibble 2
    // centres, 3 right-aligns; high nibble 0x20 centres, 0x30 bottom-aligns.
    void MoveTo(int x, int y, int alignment);
    // Alpha of every pane the button draws (for screen fades).
    void SetAlpha(uint8_t alpha);

    void DrawNormal() override { DrawLook(kBtnNormal); }
    void DrawFocused() override { DrawLook(kBtnFocused); }
    void DrawDisabled() override { DrawLook(kBtnDisabled); }
    // Also counts one pressed frame.
    void DrawPressed() override;
    // Moves every state rectangle by the change of the top-left corner.
    void SetRect(const TSRect& rect) override;
    // Also true when the button has no focused look.
    bool RestoresFocus() const override;
    // Base rule, then rectangle, pressed-frame counter and picture texture of the new state.
    void SetState(int32_t state) override;
    // True while a drawn pressed look has been shown fewer frames than its length.
    bool IsAnimating() const override;

    // Button rectangle from the hit pane, or from the current state's rectangle.
    virtual void UpdateRect();
    virtual bool UsesStateRect(int32_t state) const {
        (void)state;
        return true;
    }
    bool UsesStateRectNow() const { return UsesStateRect(m_state); }

    // True when state `s` has a pane, a second pane or a texture the archive holds.
    bool HasLook(int32_t s) const;
    // True when the archive holds the texture named for state `s`.
    bool HasTexture(int32_t s) const;
    TSRect StateRect(int32_t s) const { return ValidState(s) ? m_stateRect[s] : TSRect{}; }
    const char* TextureName(int32_t s) const { return ValidState(s) ? m_szTexture[s] : ""; }
    int PressedFramesDrawn() const { return m_pressedDrawn; }
    CTSPicturePane& PicturePane() { return m_picturePane; }

private:
    static bool ValidState(int32_t s) { return s >= 0 && s < kStates; }
    void DrawLook(int32_t s);

    // Screen rectangle of each state's pane (empty without one); moved by SetRect.
    std::array<TSRect, kStates> m_stateRect{};
    // When valid, the hit rectangle in every state.
    CTSPane m_hitPane;
    // Each state's look and its optional second pane (empty handles draw nothing).
    std::array<CTSPane, kStates> m_statePane{};
    std::array<CTSPane, kStates> m_statePane2{};
    // Archive the texture names are looked up in (not owned).
    CTIGroup* m_pGroup = nullptr;
    // Texture per state, "" for none; always NUL-terminated.
    char m_szTexture[kStates][kTextureNameLen + 1] = {};
    // The normal state's pane, whose picture shows the current state's texture.
    CTSPicturePane m_picturePane;
    // Frames the pressed look lasts, and how many were drawn since the state last changed.
    int32_t m_pressFrames = kDefaultPressFrames;
    int32_t m_pressedDrawn = 0;
    // Offset SetPanes moves the panes back by when m_shift is set.
    int32_t m_offsetX = 0;
    int32_t m_offsetY = 0;
    int32_t m_shift = 0;
    // Effect paths ("" for none); the press sound plays on entering the pressed state.
    char m_szFocusSound[kSoundPathLen] = {};
    char m_szPressSound[kSoundPathLen] = {};
    int32_t m_soundsEnabled = 1;
};
