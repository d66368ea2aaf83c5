#pragma once

#include <array>

#include "Lib/ZIRur/Layout/ts_pane.h"

class CTIGroup;
class CTSLayout;

// One cell of the problem list: the tile pane "btn_problemNN", three digit panes "NN_num1..3"
// and the check mark "NN_check". The screen draws it; the selection is made from the release
// point, so the cell is no window button and only keeps an enabled state of its own.
class ProblemNumberButton {
public:
    // Digit 1, 2 and 3 (most significant first), then the check mark.
    static constexpr int kParts = 4;
    static constexpr int kCheck = 3;

    // Finds the five panes of cell `cellNo` (1..50); missing panes stay empty handles.
    void Bind(CTSLayout* layout, int cellNo);
    // Shows `number` in grid cell `cell` (0..49): digit textures from `group`, each digit
    // centred on its place, the check mark only when `solved`. Clears and sets the hidden
    // flags; the panes' visibility follows only at the next Show.
    void Arrange(CTIGroup* group, int number, int cell, bool solved);
    // Shows the tile and every part whose hidden flag is clear, or hides all five panes.
    void Show(bool show);
    // Alpha of all five panes.
    void SetAlpha(uint8_t alpha);
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    bool IsEnabled() const { return m_enabled; }
    // Draws the tile, digits and check (hidden panes draw nothing); a disabled cell has no look.
    void Draw();

    // The number last arranged (0 before the first).
    int Number() const { return m_number; }
    bool IsPartHidden(int part) const { return part >= 0 && part < kParts && m_hidden[part]; }
    const CTSPicturePane& Tile() const { return m_tile; }
    const CTSPicturePane& Part(int part) const { return part == kCheck ? m_check : m_digit[part]; }

private:
    CTSPicturePane m_tile;
    std::array<CTSPicturePane, 3> m_digit;
    CTSPicturePane m_check;
    // Parts that stay hidden when the cell is shown.
    std::array<bool, kParts> m_hidden{};
    bool m_enabled = true;
    int m_number = 0;
};
