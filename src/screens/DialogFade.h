#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Layout/PaneButton.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Wnd/TSDialog.h"
#include "progress/SoundFiles.h"
#include "screens/ScreenAssets.h"

// The alpha of a dialog fading in or out over 30 ticks; the dimming picture behind the
// dialog follows at 37 % of it.
class DialogFade {
public:
    static constexpr int kTicks = 30;
    static constexpr float kDimFactor = 0.37f;

    // Counter -30, alpha 0.
    void Begin();
    // One fade-in tick: while the counter is negative, alpha = (counter + 30) / 30 x 255 and
    // the counter moves on; true then. False (alpha untouched) once the counter is 0.
    bool StepIn();
    // One fade-out tick: alpha = (1 - (counter + 30) / 30) x 255; false once the counter is 0.
    bool StepOut();

    // Alpha truncated to a whole number.
    uint8_t Alpha() const { return uint8_t(m_alpha); }
    // The dimming picture's alpha, truncated.
    uint8_t DimAlpha() const { return uint8_t(m_alpha * kDimFactor); }
    int Counter() const { return m_counter; }

private:
    int m_counter = 0;
    float m_alpha = 0.0f;
};

// Sound effects the dialogs play.
using sound_files::kSeCancel;
using sound_files::kSeMenu;
using sound_files::kSeSet;

// A modal dialog over the current screen: opens its own archive and layout, binds its
// pictures and buttons, dims the screen behind it with the "background" picture and fades
// in on timer 3. Its panes are drawn by the dialog ("background", "window", then the extra
// panes in order); button looks are drawn by the buttons.
class CFadeDialog : public CTSDialog {
public:
    // Stops both fade timers.
    ~CFadeDialog() override;

    void OnLoad() override;
    void OnInit() override;
    void OnStart() override;
    void OnTimer(int index) override;
    void OnDraw() override;
    // A quit that ends the dialog is no answer: the dialog then ends with its do-nothing
    // value, as when it cannot be shown.
    uint32_t DoModal(CTSEventWnd* parent) override;

    // The value the dialog ended (or will end) with.
    int Result() const { return m_result; }
    const DialogFade& Fade() const { return m_fade; }
    bool IsLoaded() const { return m_layout.IsLoaded(); }
    CTSLayout& Layout() { return m_layout; }
    CTIGroup& Group() { return m_group; }
    // The button of an id (ids are those of the dialog's table), or null.
    CPaneButton* Button(uint16_t id);

protected:
    // `failureResult` is what the dialog ends with when it has nothing to click.
    CFadeDialog(const screen_assets::ScreenNames& names, int failureResult);

    // Plays `sound` (when given), stores the result and ends the dialog with it.
    void Finish(int result, const char* sound);
    // The texture the dialog's table binds to `pane` ("" when it binds none).
    const char* TextureOfPane(const char* pane) const;
    // Shows `texture` of the dialog's archive in the picture pane `pane` (a missing pane or
    // texture is logged and leaves the pane empty). 1 when the picture loaded.
    int BindTexture(const char* pane, const char* texture);
    // Panes drawn after "window" and faded with it (labels, the message text).
    void AddDrawnPane(const char* name);
    // Alpha of everything but the dimming picture; extend for looks outside the buttons.
    virtual void ApplyAlpha(uint8_t alpha, uint8_t dimAlpha);

    // The answer stored by Finish (the failure value until then).
    int m_result;

private:
    // True when at least one button has a place on the screen to be clicked.
    bool HasClickableButton() const;

    // The dialog's table of names (static data).
    const screen_assets::ScreenNames& m_names;
    // Answer when the dialog cannot be shown or is ended by a quit.
    const int m_failureResult;
    // The dialog's own archive and layout, released with the dialog.
    CTIGroup m_group;
    CTSLayout m_layout;
    // The dimming picture, at 37 % of the dialog's alpha.
    CTSPane m_background;
    // "window" first, then the extra panes, drawn in this order at the dialog's alpha.
    std::vector<CTSPane> m_drawn;
    // The table's buttons, registered with the dialog.
    std::vector<std::unique_ptr<CPaneButton>> m_buttons;
    DialogFade m_fade;
};

// The window a dialog opens over when the caller names none: the current window.
CTSEventWnd* DialogParent(CTSEventWnd* parent);
