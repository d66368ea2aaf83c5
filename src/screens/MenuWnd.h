#pragma once

#include <cstdint>

#include "Lib/ZIRur/Layout/ts_pane.h"
#include "Lib/ZIRur/Wnd/TSBgmWnd.h"
#include "screens/ScreenLayout.h"

// The main menu: the sections of course 0, five rows at a time, each with its picture and
// its lesson and problem buttons; scrolling by buttons, wheel, thumb and flicks; back to the
// title and resetting all progress.
class CMenuWnd : public CTSBgmWnd {
public:
    static constexpr uint16_t kTitle = 5;
    static constexpr uint16_t kReset = 6;
    static constexpr uint16_t kScrollUp = 7;
    static constexpr uint16_t kScrollDown = 8;
    // Lesson buttons of rows 1..5, then problem buttons of rows 1..5.
    static constexpr uint16_t kFirstLesson = 9;
    static constexpr uint16_t kFirstProblem = 14;
    static constexpr int kFadeTicks = 20;

    CMenuWnd();

    void OnLoad() override;
    void OnInit() override;
    void OnStart() override;
    void OnDraw() override;
    void OnTimer(int index) override;
    void OnButton(uint16_t id) override;
    void OnButtonHold(uint16_t id) override;
    void OnWheel(TSPoint point, int16_t delta) override;
    void OnPointerDown(TSPoint point, int device) override;
    void OnPointerMove(TSPoint point, int device) override;
    void OnPointerUp(TSPoint point, int device) override;

    int TopItem() const { return m_topItem; }
    int Leaving() const { return m_leaving; }

private:
    void Tick();
    // Moves the list to `top` (kept within the list), saves the position and redraws the rows.
    void SetTop(int top);
    void RefreshRows();
    void RefreshRow(int row);
    void SetThumb(double y);
    void TopFromThumb();
    void Choose(int row, int leaving);
    void Reset();

    ScreenLayout m_screen;
    CTSPicturePane m_thumb;
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
    // 0 none, 1 to the title, 2 to a lesson, 3 to the problem list.
    int32_t m_leaving = 0;
    int32_t m_fadeCounter = 0;
    float m_alpha = 0.0f;
    // Whether the tick timer drives the screen (own name: the framework's m_active gates
    // every timer event).
    int32_t m_ticking = 0;
};
