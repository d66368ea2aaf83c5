#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Layout/PaneButton.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Layout/ts_pane.h"
#include "screens/ScreenAssets.h"

class CTSEventWnd;

// What every layout screen does with its table of names: open its archive, load its layout,
// bind its pictures (from its own archive or the shared one), make its buttons from their
// look panes, draw its panes in table order and fade them all together.
class ScreenLayout {
public:
    explicit ScreenLayout(const screen_assets::ScreenNames& names) : m_names(names) {}

    // Set-up step: the archive and the layout (a missing one is logged; the screen goes on).
    void Load(CTSEventWnd* window);
    // Create step: binds every picture row and makes every button of the table.
    void Create(CTSEventWnd* window);
    // Draws the panes that are not button looks, in table order (the buttons draw their own).
    void Draw();
    // Alpha of every drawn pane and every button look.
    void SetAlpha(uint8_t alpha);

    CTSLayout& Layout() { return m_layout; }
    CTIGroup& Group() { return m_group; }
    // The button of an id in the table, or null.
    CPaneButton* Button(uint16_t id);
    // Shows and enables a button, or hides and disables it; nothing for an unknown id.
    void ShowButton(uint16_t id, bool show);
    // A pane of the layout by name (an empty handle, logged, when the layout lacks it).
    CTSPane Pane(const char* name) { return m_layout.GetPane(name); }
    CTSPicturePane PicturePane(const char* name) { return m_layout.GetPicturePane(name); }
    // The archive a texture is read from: the shared one for common textures.
    CTIGroup* GroupFor(screen_assets::Source source);

private:
    bool IsButtonLook(const char* pane) const;

    const screen_assets::ScreenNames& m_names;
    CTIGroup m_group;
    CTSLayout m_layout;
    std::vector<CTSPane> m_drawn;
    std::vector<std::unique_ptr<CPaneButton>> m_buttons;
};
