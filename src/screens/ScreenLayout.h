#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Lib/ZIRur/File/TIGroup.h"
#include "Lib/ZIRur/Layout/PaneButton.h"
#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Layout/ts_pane.h"
#include "screens/ScreenAssets.h"

class CTSEventWnd;
class CText;

// What every layout screen does with its table of names: open its archive, load its layout,
// bind its pictures (from its own archive or the shared one) and its text boxes, make its
// buttons from their look panes, draw its panes in table order and fade them all together.
// Panes a layout may lack are reached through the helpers below, which do nothing (and log
// nothing) for a missing pane, so screens need no guard of their own.
class ScreenLayout {
public:
    explicit ScreenLayout(const screen_assets::ScreenNames& names) : m_names(names) {}

    // Set-up step: the archive and the layout (a missing one is logged; the screen goes on).
    void Load(CTSEventWnd* window);
    // Create step: binds every picture row, makes every button and binds every text row.
    void Create(CTSEventWnd* window);
    // Draws the panes that are not button looks, in table order (the buttons draw their own).
    void Draw();
    // Alpha of every drawn pane and every button look.
    void SetAlpha(uint8_t alpha);

    bool IsLoaded() const { return m_layout.IsLoaded(); }
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

    // --- Panes the layout may lack ---
    // The layout is loaded and has the pane.
    bool Has(const char* name);
    // The pane, or an empty handle without a log.
    CTSPane OptionalPane(const char* name) { return Has(name) ? Pane(name) : CTSPane{}; }
    CTSPicturePane OptionalPicture(const char* name) {
        return Has(name) ? PicturePane(name) : CTSPicturePane{};
    }
    void SetVisible(const char* name, bool shown);
    // False for a missing pane.
    bool IsShown(const char* name);
    void SetPaneAlpha(const char* name, uint8_t alpha);
    void MoveCenterTo(const char* name, TSPoint centre);
    void DrawPane(const char* name);
    // Shows `texture` from `source` in the picture pane `name`.
    void SetPicture(const char* name, screen_assets::Source source, const char* texture);
    // The text object bound to a text pane, or null.
    CText* TextObject(const char* name);
    // Sets a text pane's string; a positive `reveal` shows only that many glyphs of it.
    void SetText(const char* name, const std::string& text, int reveal = 0);
    // The string a text pane shows ("" without one).
    std::string Text(const char* name);

private:
    bool IsButtonLook(const char* pane) const;

    const screen_assets::ScreenNames& m_names;
    CTIGroup m_group;
    CTSLayout m_layout;
    std::vector<CTSPane> m_drawn;
    std::vector<std::unique_ptr<CPaneButton>> m_buttons;
};
