#pragma once

#include <cstdint>

#include "screens/FadeScreen.h"

// The main menu: the sections of course 0, five rows at a time, each with its picture and
// its lesson and problem buttons; scrolling by buttons, wheel, thumb and flicks; back to the
// title and resetting all progress.
class CMenuWnd : public CFadeScreen {
public:
    static constexpr uint16_t kTitle = 5;
    static constexpr uint16_t kReset = 6;
    static constexpr uint16_t kScrollUp = 7;
    static constexpr uint16_t kScrollDown = 8;
    // Lesson buttons of rows 1..5, then problem buttons of rows 1..5.
    static constexpr uint16_t kFirstLesson = 9;
    static constexpr uint16_t kFirstProblem = 14;

    CMenuWnd();

    void OnStart() override;
    void OnButton(uint16_t id) override;
    void OnButtonHold(uint16_t id) override;
    void OnWheel(TSPoint point, int16_t delta) override;
    void OnPointerDown(TSPoint point, int device) override;
    void OnPointerMove(TSPoint point, int device) override;
    void OnPointerUp(TSPoint point, int device) override;

    int TopItem() const { return m_topItem; }

private:
    // Moves the list to `top` (kept within the list), saves the position and redraws the rows.
    void SetTop(int top);
    void RefreshRows();
    void RefreshRow(int row);
    void SetThumb(double y);
    void TopFromThumb();
    void Choose(int row, int scene);
    void Reset();

    int32_t m_course = 0;
    int32_t m_itemCount = 31;
    int32_t m_visibleRows = 5;
    int32_t m_selected = 0;
    int32_t m_topItem = 0;
    int32_t m_dragging = 0;
    double m_lastY = 0;
    double m_thumbY = 0;
    double m_pressPoint[2] = {0, 0};
    // A press reached the screen since the last release.
    bool m_pressSeen = false;
};
