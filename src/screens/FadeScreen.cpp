#include "screens/FadeScreen.h"

#include <mutex>

#include "progress/ProgressState.h"
#include "screens/MsgBox.h"

namespace {
// "メインメニューへ戻りますか？"
constexpr const char* kBackToMenuQuestion =
    "\x83\x81\x83\x43\x83\x93\x83\x81\x83\x6a\x83\x85\x81\x5b\x82\xd6\x96\xdf\x82\xe8\x82\xdc"
    "\x82\xb7\x82\xa9\x81\x48";
// The affirmative answer of the message box.
constexpr int kOk = 0;

bool IsInput(uint32_t code) {
    switch (code) {
        case kEvButton:
        case kEvPointerDown:
        case kEvPointerUp:
        case kEvPointerHold:
        case kEvPointerMove:
        case kEvKeyDown:
        case kEvPadRelease:
        case kEvPadHold:
        case kEvButtonNotify:
        case kEvWheel:
        case kEvButtonHold:
        case kEvSecondaryDown:
            return true;
        default:
            return false;
    }
}
}  // namespace

void ScreenFade::Open(Opening opening) {
    m_scene = 0;
    switch (opening) {
        case Opening::FadeIn:
            m_counter = -kTicks;
            m_alpha = 0;
            break;
        case Opening::FirstTick:
            m_counter = 0;
            m_alpha = 0;
            break;
        case Opening::AtOnce:
            m_counter = 1;
            m_alpha = 255;
            break;
    }
}

bool ScreenFade::Leave(int scene) {
    if (IsLeaving() || scene == 0) return false;
    m_scene = scene;
    m_counter = -kTicks;
    return true;
}

ScreenFade::Tick ScreenFade::Advance() {
    Tick tick;
    if (m_counter < 0) {
        const int step = IsLeaving() ? -m_counter : m_counter + kTicks;
        m_alpha = uint8_t(step * 255 / kTicks);
        tick.applyAlpha = true;
        tick.alpha = m_alpha;
    } else if (m_counter == 0) {
        if (IsLeaving()) {
            tick.endScene = m_scene;
            return tick;
        }
        m_alpha = 255;
        tick.applyAlpha = true;
        tick.alpha = m_alpha;
    }
    if (++m_counter > kWrapAbove) m_counter = 1;
    return tick;
}

CFadeScreen::CFadeScreen(const screen_assets::ScreenNames& names, ScreenFade::Opening opening)
    : m_screen(names), m_opening(opening) {}

void CFadeScreen::OnLoad() {
    m_screen.Load(this);
}

void CFadeScreen::OnInit() {
    m_screen.Create(this);
}

void CFadeScreen::OnStart() {
    CTSBgmWnd::OnStart();
    {
        std::lock_guard lock(SaveDataMutex());
        const ProgressState& progress = TheProgress();
        m_section = CurrentSection{progress.m_course, progress.m_chapter, progress.m_section,
                                   progress.m_problemCount};
    }
    m_fade.Open(m_opening);
    ApplyAlpha(m_fade.Alpha());
    StartTimer(kTickTimer, kTickMs);
}

void CFadeScreen::OnTimer(int index) {
    if (index != kTickTimer) return;
    OnTick();
    const ScreenFade::Tick tick = m_fade.Advance();
    if (tick.applyAlpha) ApplyAlpha(tick.alpha);
    if (tick.endScene != 0) {
        KillTimer(kTickTimer);
        EndModal(uint32_t(tick.endScene));
    }
}

void CFadeScreen::OnDraw() {
    m_screen.Draw();
}

void CFadeScreen::Step() {
    if (!IsLeaving()) CTSBgmWnd::Step();
}

int CFadeScreen::FilterEvent(uint32_t code, uint32_t p1, uint32_t p2) {
    if (IsLeaving() && IsInput(code)) return 0;
    return CTSBgmWnd::FilterEvent(code, p1, p2);
}

bool CFadeScreen::Leave(int scene) {
    return m_fade.Leave(scene);
}

void CFadeScreen::ApplyAlpha(uint8_t alpha) {
    m_screen.SetAlpha(alpha);
}

bool CFadeScreen::ConfirmBackToMenu() {
    return RunMessageBox(kBackToMenuQuestion, this) == kOk;
}
