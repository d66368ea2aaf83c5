#include "screens/MenuWnd.h"

#include <cstdio>
#include <mutex>
#include <utility>

#include "progress/ProgressState.h"
#include "screens/ChapterTitleTable.h"
#include "screens/MenuScroll.h"
#include "screens/MsgBox.h"
#include "screens/Scene.h"

namespace {
constexpr const char* kMenuMusic = sound_files::kBgmMainMenu;
using sound_files::kSeCursor;
constexpr const char* kThumb = "btn_scroll_bar";
constexpr const char* kThumbIdle = "COMN_btn_scroll_bar_1.tga";
constexpr const char* kThumbHeld = "COMN_btn_scroll_bar_2.tga";
// 進捗履歴を初期化しますか？
constexpr const char* kResetQuestion =
    "\x90\x69\x92\xbb\x97\x9a\x97\xf0\x82\xf0\x8f\x89\x8a\xfa\x89\xbb\x82\xb5\x82\xdc\x82\xb7"
    "\x82\xa9\x81\x48";

struct SectionOf {
    int chapter;
    int section;
};
SectionOf FromCode(int code) {
    return SectionOf{code / 10 - 1, code % 10 - 1};
}
}  // namespace

CMenuWnd::CMenuWnd() : CFadeScreen(screen_assets::MainMenu(), ScreenFade::Opening::FadeIn) {}

void CMenuWnd::OnStart() {
    CFadeScreen::OnStart();
    PlayBgm(kMenuMusic);
    m_course = 0;
    m_itemCount = menuscroll::kItems;
    m_visibleRows = menuscroll::kRows;
    int saved = 0;
    {
        std::lock_guard lock(SaveDataMutex());
        saved = TheSettings().m_menuPosition;
    }
    SetTop(saved);
    m_dragging = 0;
}

void CMenuWnd::SetTop(int top) {
    m_topItem = menuscroll::ClampTop(top);
    {
        std::lock_guard lock(SaveDataMutex());
        TheSettings().m_menuPosition = m_topItem;
    }
    RefreshRows();
}

void CMenuWnd::RefreshRow(int row) {
    const int code = ChapterTitleTable::SectionCode(m_course, m_topItem + row);
    const SectionOf at = FromCode(code);
    char itemPane[32], picture[48];
    std::snprintf(itemPane, sizeof itemPane, "item_%d", row + 1);
    std::snprintf(picture, sizeof picture, "C1_%d-%d.tga", at.chapter + 1, at.section + 1);
    m_screen.SetPicture(itemPane, screen_assets::Source::Screen, picture);

    int lessons = 0, problems = 0;
    bool lessonDone = false, allSolved = false;
    {
        std::lock_guard lock(SaveDataMutex());
        const ProgressState& p = TheProgress();
        if (curriculum::InRange(m_course, at.chapter, at.section)) {
            lessons = p.m_lessonCounts[m_course][at.chapter][at.section];
            problems = p.m_problemCounts[m_course][at.chapter][at.section];
        }
        lessonDone = p.IsLessonDone(m_course, at.chapter, at.section);
        allSolved = p.IsSectionSolved(m_course, at.chapter, at.section);
    }
    // The finished looks (…_11 / …_21) replace both looks of a row's buttons.
    auto setLooks = [&](int paneNo, const char* kind, bool finished) {
        char pane[32], texture[48];
        for (int look = 1; look <= 2; ++look) {
            std::snprintf(pane, sizeof pane, "btn_menu%d_%d", paneNo, look);
            std::snprintf(texture, sizeof texture, "C1_btn_%s_%d%s.tga", kind, look,
                          finished ? "1" : "");
            m_screen.SetPicture(pane, screen_assets::Source::Screen, texture);
        }
    };
    const bool hasLesson = lessons > 0;
    const bool hasProblems = problems > 0;
    if (hasLesson) setLooks(row + 1, "explain", lessonDone);
    if (hasProblems) setLooks(row + 6, "problem", allSolved);
    m_screen.ShowButton(uint16_t(kFirstLesson + row), hasLesson);
    m_screen.ShowButton(uint16_t(kFirstProblem + row), hasProblems);
}

void CMenuWnd::RefreshRows() {
    for (int row = 0; row < m_visibleRows; ++row) RefreshRow(row);
    m_thumbY = menuscroll::ThumbY(m_topItem);
    m_screen.MoveCenterTo(kThumb, TSPoint{menuscroll::kThumbX, int(m_thumbY)});
    m_screen.ShowButton(kScrollUp, m_topItem >= 1);
    m_screen.ShowButton(kScrollDown, m_topItem < menuscroll::kMaxTop);
}

void CMenuWnd::Choose(int row, int scene) {
    m_selected = m_topItem + row;
    Leave(scene);
    PlaySe(kSeSet);
    const SectionOf at = FromCode(ChapterTitleTable::SectionCode(m_course, m_selected));
    std::lock_guard lock(SaveDataMutex());
    ProgressState& p = TheProgress();
    p.m_course = m_course;
    p.m_chapter = at.chapter;
    p.m_section = at.section;
    if (curriculum::InRange(m_course, at.chapter, at.section)) {
        p.m_lessonCount = p.m_lessonCounts[m_course][at.chapter][at.section];
        p.m_problemCount = p.m_problemCounts[m_course][at.chapter][at.section];
    }
}

void CMenuWnd::Reset() {
    if (RunMessageBox(kResetQuestion, this) != 0) return;
    {
        std::lock_guard lock(SaveDataMutex());
        TheProgress().ResetProblemProgress();
        TheProgress().ResetLessonProgress();
    }
    RefreshRows();
}

void CMenuWnd::OnButton(uint16_t id) {
    if (id == kTitle) {
        Leave(kSceneTitle);
        PlaySe(kSeSet);
    } else if (id == kReset) {
        Reset();
    } else if (id == kScrollUp) {
        if (m_topItem > 0) SetTop(m_topItem - 1);
        PlaySe(kSeCursor);
    } else if (id == kScrollDown) {
        if (m_topItem < menuscroll::kMaxTop) SetTop(m_topItem + 1);
        PlaySe(kSeCursor);
    } else if (id >= kFirstLesson && id < kFirstProblem) {
        Choose(id - kFirstLesson, kSceneLesson);
    } else if (id >= kFirstProblem && id < kFirstProblem + 5) {
        Choose(id - kFirstProblem, kSceneProblemList);
    }
}

void CMenuWnd::OnButtonHold(uint16_t id) {
    if (id == kScrollUp || id == kScrollDown) OnButton(id);
}

void CMenuWnd::OnWheel(TSPoint, int16_t delta) {
    const int top = delta < 1 ? m_topItem + 1 : m_topItem - 1;
    if (top < 0 || top > menuscroll::kMaxTop) return;
    SetTop(top);
    PlaySe(kSeCursor);
}

void CMenuWnd::SetThumb(double y) {
    m_thumbY = y;
    m_screen.MoveCenterTo(kThumb, TSPoint{menuscroll::kThumbX, int(y)});
}

void CMenuWnd::TopFromThumb() {
    SetTop(menuscroll::TopForThumbY(m_thumbY));
    m_screen.SetPicture(kThumb, screen_assets::Source::Common,
                        m_dragging != 0 ? kThumbHeld : kThumbIdle);
}

void CMenuWnd::OnPointerDown(TSPoint point, int device) {
    CFadeScreen::OnPointerDown(point, device);
    m_pressPoint[0] = point.x;
    m_pressPoint[1] = point.y;
    m_pressSeen = true;
    if (!menuscroll::PressGrabsThumb(point.x, point.y, int(m_thumbY))) return;
    m_dragging = 1;
    m_lastY = point.y;
    m_screen.SetPicture(kThumb, screen_assets::Source::Common, kThumbHeld);
}

void CMenuWnd::OnPointerMove(TSPoint point, int device) {
    CFadeScreen::OnPointerMove(point, device);
    if (m_dragging == 0) return;
    if (point.x <= 932.5 || point.x >= 979.5) {
        m_dragging = 0;
        TopFromThumb();
        return;
    }
    double y = m_thumbY + (point.y - m_lastY);
    if (y < menuscroll::kThumbTop) {
        y = menuscroll::kThumbTop;
        m_dragging = 0;
    } else if (y > menuscroll::kThumbBottom) {
        y = menuscroll::kThumbBottom;
        m_dragging = 0;
    }
    SetThumb(y);
    TopFromThumb();
    m_lastY = m_thumbY;
}

void CMenuWnd::OnPointerUp(TSPoint point, int) {
    // The release of a press that a button took (hidden by its own action since, like the
    // scroll buttons at the ends) is no flick: that press never reached the screen, so the
    // recorded press point is an older one.
    const bool pressSeen = std::exchange(m_pressSeen, false);
    const menuscroll::Release effect =
        menuscroll::ReleaseEffect(m_dragging != 0, pressSeen, m_pressPoint[0], m_pressPoint[1],
                                  point.x, point.y, int(m_thumbY));
    if (effect == menuscroll::Release::EndDrag) {
        m_dragging = 0;
        TopFromThumb();
        return;
    }
    if (effect != menuscroll::Release::Page) return;
    const int top = menuscroll::PageTop(m_topItem, int(point.y - m_pressPoint[1]));
    if (top == m_topItem) return;
    SetTop(top);
    PlaySe(kSeCursor);
}
