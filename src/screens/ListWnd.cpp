#include "screens/ListWnd.h"

#include <algorithm>
#include <mutex>

#include "progress/ProgressState.h"
#include "progress/SoundFiles.h"
#include "screens/Scene.h"

namespace {
constexpr const char* kThumb = "btn_scroll_bar";
constexpr const char* kThumbIdle = "COMN_btn_scroll_bar_1.tga";
constexpr const char* kThumbHeld = "COMN_btn_scroll_bar_2.tga";
constexpr const char* kThumbStill = "COMN_btn_scroll_bar_3.tga";
}  // namespace

CListWnd::CListWnd() : CFadeScreen(screen_assets::ProblemList(), ScreenFade::Opening::FadeIn) {}

void CListWnd::OnInit() {
    CFadeScreen::OnInit();
    CTSLayout& layout = m_screen.Layout();
    if (!layout.IsLoaded()) return;
    for (const screen_assets::GeneratedPicture& row : screen_assets::ProblemListCellPictures())
        layout.LoadOneResource(TSPictureResource{row.pane.c_str(), row.texture.c_str(),
                                                 m_screen.GroupFor(row.source)});
    for (int k = 0; k < listgrid::kCells; ++k) m_cells[size_t(k)].Bind(&layout, k + 1);
}

void CListWnd::OnStart() {
    CFadeScreen::OnStart();
    PlayBgm(sound_files::kBgmMainMenu);
    m_course = Section().course;
    m_chapter = Section().chapter;
    m_section = Section().section;
    // Solved bytes exist for problems 1..199 only; a larger count would list numbers that
    // can never be recorded.
    m_problemCount = std::clamp(Section().problemCount, 0, curriculum::kMaxProblemIndex + 1);
    m_rowCount = listgrid::RowCount(m_problemCount);
    m_dragging = false;
    int saved = 0;
    {
        std::lock_guard lock(SaveDataMutex());
        saved = TheSettings().m_listPage;
    }
    SetFirstRow(listgrid::RestoreFirstRow(saved, m_rowCount));
    SetThumbTexture(listgrid::Scrolls(m_rowCount) ? kThumbIdle : kThumbStill);
}

void CListWnd::OnDraw() {
    m_screen.Draw();
    for (ProblemNumberButton& cell : m_cells) cell.Draw();
}

void CListWnd::ApplyAlpha(uint8_t alpha) {
    m_screen.SetAlpha(alpha);
    for (ProblemNumberButton& cell : m_cells) cell.SetAlpha(alpha);
}

void CListWnd::SetFirstRow(int row) {
    m_firstRow = listgrid::RestoreFirstRow(row, m_rowCount);
    {
        std::lock_guard lock(SaveDataMutex());
        TheSettings().m_listPage = m_firstRow;
    }
    LayOut();
}

void CListWnd::LayOut() {
    CTIGroup* group = &m_screen.Group();
    for (int k = 0; k < listgrid::kCells; ++k) {
        const int number = listgrid::CellNumber(m_firstRow, k);
        bool solved = false;
        {
            std::lock_guard lock(SaveDataMutex());
            solved = TheProgress().IsProblemSolved(m_course, m_chapter, m_section, number - 1);
        }
        ProblemNumberButton& cell = m_cells[size_t(k)];
        const bool inSection = number <= m_problemCount;
        cell.Arrange(group, number, k, solved);
        cell.SetEnabled(inSection);
        cell.Show(inSection);
    }
    PlaceThumb(listgrid::ThumbY(m_firstRow, m_rowCount));
    m_screen.ShowButton(kScrollUp, m_firstRow >= 1);
    m_screen.ShowButton(kScrollDown, m_firstRow < listgrid::MaxFirstRow(m_rowCount));
}

void CListWnd::PlaceThumb(double y) {
    m_thumbY = y;
    m_screen.MoveCenterTo(kThumb, TSPoint{int(listgrid::kThumbX), int(y)});
}

void CListWnd::SetThumbTexture(const char* texture) {
    m_screen.SetPicture(kThumb, screen_assets::Source::Common, texture);
}

void CListWnd::EndDrag() {
    m_dragging = false;
    SetFirstRow(listgrid::FirstRowForThumb(m_thumbY, m_rowCount));
    SetThumbTexture(kThumbIdle);
}

void CListWnd::LeaveFor(int scene) {
    Leave(scene);
    PlaySe(sound_files::kSeSet);
}

void CListWnd::OnButton(uint16_t id) {
    if (id == kBack) {
        LeaveFor(kSceneMenu);
    } else if (id == kScrollUp) {
        if (m_firstRow <= 0) return;
        SetFirstRow(m_firstRow - 1);
        PlaySe(sound_files::kSeCursor);
    } else if (id == kScrollDown) {
        if (m_firstRow >= listgrid::MaxFirstRow(m_rowCount)) return;
        SetFirstRow(m_firstRow + 1);
        PlaySe(sound_files::kSeCursor);
    }
}

void CListWnd::OnButtonHold(uint16_t id) {
    if (id == kScrollUp || id == kScrollDown) OnButton(id);
}

void CListWnd::OnWheel(TSPoint, int16_t delta) {
    if (delta > 0) OnButton(kScrollUp);
    if (delta < 0) OnButton(kScrollDown);
}

void CListWnd::OnPointerDown(TSPoint point, int device) {
    CFadeScreen::OnPointerDown(point, device);
    m_press = point;
    m_pressed = true;
    if (!listgrid::PressGrabsThumb(point.x, point.y, m_thumbY, m_rowCount)) return;
    m_dragging = true;
    m_lastY = point.y;
    SetThumbTexture(kThumbHeld);
}

void CListWnd::OnPointerMove(TSPoint point, int device) {
    CFadeScreen::OnPointerMove(point, device);
    if (!m_dragging) return;
    if (listgrid::LeavesTrackSideways(point.x)) {
        EndDrag();
        return;
    }
    const listgrid::DragStep step = listgrid::DragThumb(m_thumbY, point.y - m_lastY);
    m_lastY = point.y;
    PlaceThumb(step.thumbY);
    if (step.ended) EndDrag();
}

void CListWnd::OnPointerUp(TSPoint point, int) {
    const bool pressed = m_pressed;
    m_pressed = false;
    if (m_dragging) {
        EndDrag();
        return;
    }
    if (pressed && !listgrid::InTrack(m_press.x, m_press.y) &&
        listgrid::NearThumb(point.x, point.y, m_thumbY)) {
        const int row = listgrid::FlickedFirstRow(m_firstRow, m_rowCount, m_press.y, point.y);
        if (row == m_firstRow) return;
        SetFirstRow(row);
        PlaySe(sound_files::kSeCursor);
        return;
    }
    const int number = listgrid::NumberAt(point.x, point.y, m_firstRow, m_problemCount);
    if (number == 0) return;
    {
        std::lock_guard lock(SaveDataMutex());
        TheProgress().m_problemIndex = number - 1;
    }
    LeaveFor(kSceneProblem);
}
