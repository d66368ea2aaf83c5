#pragma once

#include <array>
#include <cstdint>

#include "screens/FadeScreen.h"
#include "screens/ListGrid.h"
#include "screens/ProblemNumberButton.h"

// The problem list: the problems of the chosen section as numbered cells, ten to a row and
// five rows at a time, solved ones checked; scrolling by buttons, wheel, thumb and flicks;
// a click on a number opens that problem, the back button returns to the main menu.
class CListWnd : public CFadeScreen {
public:
    static constexpr uint16_t kBack = 25;
    static constexpr uint16_t kScrollUp = 26;
    static constexpr uint16_t kScrollDown = 27;

    CListWnd();

    void OnInit() override;
    void OnStart() override;
    void OnDraw() override;
    void OnButton(uint16_t id) override;
    void OnButtonHold(uint16_t id) override;
    void OnWheel(TSPoint point, int16_t delta) override;
    void OnPointerDown(TSPoint point, int device) override;
    void OnPointerMove(TSPoint point, int device) override;
    void OnPointerUp(TSPoint point, int device) override;

    int FirstRow() const { return m_firstRow; }
    int RowCount() const { return m_rowCount; }
    int ProblemCount() const { return m_problemCount; }
    bool IsDragging() const { return m_dragging; }
    double ThumbY() const { return m_thumbY; }
    // Cell k (0..49) of the grid.
    const ProblemNumberButton& Cell(int k) const { return m_cells[size_t(k)]; }

private:
    // The fade covers the whole screen, cells included.
    void ApplyAlpha(uint8_t alpha) override;
    // Moves the list to `row` (kept within range), saves it and lays the cells out again.
    void SetFirstRow(int row);
    // Numbers, digits and checks of every cell, the thumb and the scroll buttons' looks.
    void LayOut();
    void PlaceThumb(double y);
    void SetThumbTexture(const char* texture);
    // Ends a thumb drag: the first row follows the thumb's place.
    void EndDrag();
    // Fades out towards `scene` with the choice sound.
    void LeaveFor(int scene);

    std::array<ProblemNumberButton, listgrid::kCells> m_cells;
    // The section on show and its problem count.
    int32_t m_course = 0;
    int32_t m_chapter = 0;
    int32_t m_section = 0;
    int32_t m_problemCount = 0;
    int32_t m_rowCount = 0;
    // Top visible row; always within 0..MaxFirstRow(m_rowCount).
    int32_t m_firstRow = 0;
    bool m_dragging = false;
    double m_lastY = 0;
    double m_thumbY = listgrid::kThumbRestY;
    // Where the current press started; only valid while m_pressed (a press that landed on a
    // button never reaches the screen, so an older position must not be taken for it).
    TSPoint m_press{-1, -1};
    bool m_pressed = false;
};
