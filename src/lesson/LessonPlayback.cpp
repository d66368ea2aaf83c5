#include "lesson/LessonPlayback.h"

#include "lesson/LessonBoardOps.h"
#include "lesson/LessonExceptions.h"
#include "progress/ProgressState.h"

namespace lesson {

LessonPlayback::LessonPlayback(LessonView& view, ProgressState& progress, std::string directory)
    : m_view(view),
      m_progress(progress),
      m_directory(std::move(directory)),
      m_page(std::make_unique<LessonPage>()) {}

LessonId LessonPlayback::Lesson() const {
    return LessonId{m_progress.m_course, m_progress.m_chapter, m_progress.m_section};
}

void LessonPlayback::ResetState() {
    m_timers.StopAll();
    m_typedLength = 0;
    m_mouthPhase = 0;
    m_blinkPhase = 1;
    m_stepPlaybackOn = false;
    m_typingOn = false;
    m_firstEntry = true;
    m_stonePageStepPeriod = 20;
    m_otherPageStepPeriod = 3;
}

void LessonPlayback::Start() {
    ResetState();
    *m_page = LessonPage{};
    m_sprites.clear();
    LoadPage();
}

void LessonPlayback::Enter() {
    m_stonePageStepPeriod = kStonePagePeriod;
    if (!m_firstEntry) {
        ResumeTimers();
        ShowTypedText();
    }
    m_view.ShowCaption(m_page->caption);
    ShowBoardPicture();
    m_view.ApplyWindowMode(TextWindowMode(m_page->header.windowMode));
    SetupCharacter();
    if (m_firstEntry) {
        m_timers.Set(kBlinkTimer, kBlinkPeriod);
        // A first page that opens on its last step needs its step buttons at once.
        UpdateStepButtons();
        if (m_page->header.showFinal != 1) {
            if (m_page->header.textFirst == 1) {
                m_timers.Set(kTypingTimer, kTypingPeriod);
                m_typingOn = true;
            } else {
                m_timers.Set(kStepTimer, m_otherPageStepPeriod);
                m_stepPlaybackOn = true;
            }
        }
        m_firstEntry = false;
    }
}

void LessonPlayback::Tick() {
    m_timers.Serve([this](int timer) {
        switch (timer) {
            case kStepTimer:
                AutomaticStep();
                break;
            case kTypingTimer:
                TypingTick();
                break;
            default:
                BlinkTick();
                break;
        }
    });
}

void LessonPlayback::LoadPage() {
    LoadLessonPage(*m_page, Lesson(), m_directory);
}

bool LessonPlayback::Rebuild() {
    return RebuildBoard(*m_page, Lesson(), m_page->currentStep, m_page->board);
}

void LessonPlayback::RedrawBoard() {
    SpriteScene scene;
    scene.board = &m_page->board;
    scene.boardSize = m_page->boardSize;
    scene.blinkPhase = m_blinkPhase;
    scene.lesson = Lesson();
    scene.page = m_page->currentPage;
    m_sprites = BuildSprites(scene);
    m_view.ShowSprites(m_sprites);
}

void LessonPlayback::ShowTypedText() {
    if (m_typedLength == 0) return;
    m_view.ShowBodyText(m_page->body, m_typedLength / 2);
}

void LessonPlayback::ShowBoardPicture() {
    if (m_page->boardSize == m_boardSizeShown) return;
    m_boardSizeShown = m_page->boardSize;
    m_view.SetBoardPicture(BoardPictureName(m_boardSizeShown));
}

void LessonPlayback::SetupCharacter() {
    m_view.SetupCharacter(m_page->header.characterPose, m_mouthPhase);
}

bool LessonPlayback::HasStepButtons() const {
    return m_page->header.showFinal == 1 && m_page->header.stepCount >= 1;
}

void LessonPlayback::UpdateStepButtons() {
    StepButtonLooks looks;
    if (HasStepButtons()) {
        looks.greyShown = true;
        looks.backUsable = m_page->currentStep > 0;
        looks.forwardUsable = m_page->currentStep < m_page->header.stepCount - 1;
    }
    m_view.SetStepButtons(looks);
}

bool LessonPlayback::OnBlinkCyclePage() const {
    return HasQuirk(Lesson(), m_page->currentPage, LessonQuirk::BlinkCyclesSteps);
}

void LessonPlayback::StopPageTimers() {
    m_timers.Stop(kBlinkTimer);
    if (m_stepPlaybackOn) {
        m_timers.Stop(kStepTimer);
        m_stepPlaybackOn = false;
    }
    m_timers.Stop(kTypingTimer);
    m_typingOn = false;
}

void LessonPlayback::StartPageTimers() {
    m_mouthPhase = 0;
    m_blinkPhase = 1;
    m_timers.Set(kBlinkTimer, kBlinkPeriod);
    UpdateStepButtons();
    m_typedLength = 0;
    ShowTypedText();
    m_view.ShowCaption(m_page->caption);
    ShowBoardPicture();
    SetupCharacter();
    m_view.ApplyWindowMode(TextWindowMode(m_page->header.windowMode));
    if (m_page->header.showFinal == 1) return;
    if (OnBlinkCyclePage() || m_page->header.textFirst == 1) {
        m_timers.Set(kTypingTimer, kTypingPeriod);
        m_typingOn = true;
        return;
    }
    m_timers.Set(kStepTimer, m_page->stoneMovePage ? kStonePagePeriod : m_otherPageStepPeriod);
    m_stepPlaybackOn = true;
}

void LessonPlayback::NextPage() {
    if (m_view.IsClosing()) return;
    if (int64_t(m_page->currentPage) < int64_t(m_page->pageCount) - 1) {
        StopPageTimers();
        ++m_page->currentPage;
        LoadPage();
        StartPageTimers();
        return;
    }
    const LessonId id = Lesson();
    m_progress.MarkLessonDone(id.course, id.chapter, id.section);
    m_view.BeginClosing();
    m_timers.StopAll();
}

void LessonPlayback::PreviousPage() {
    if (m_page->currentPage <= 1) return;
    m_view.PlaySe(kCancelSound);
    m_view.ClearBodyText();
    StopPageTimers();
    // Pages that run on by themselves are passed over backwards.
    do {
        --m_page->currentPage;
        LoadPage();
    } while (m_page->header.autoAdvance == 1 && m_page->currentPage > 0);
    StartPageTimers();
}

// The steps have all played: the text follows, or the page ends.
void LessonPlayback::FinishSteps() {
    m_timers.Stop(kStepTimer);
    m_stepPlaybackOn = false;
}

void LessonPlayback::AutomaticStep() {
    if (OnBlinkCyclePage()) return;
    ++m_page->currentStep;
    if (Rebuild()) m_view.PlaySe(kStoneSound);
    if (m_page->currentStep >= m_page->header.stepCount) {
        FinishSteps();
        AfterLastStep();
        return;
    }
    RedrawBoard();
}

void LessonPlayback::AfterLastStep() {
    if (m_page->header.textFirst == 0) {
        // The text waited for the steps: its typing starts now.
        m_timers.Set(kTypingTimer, kTypingPeriod);
        m_typingOn = true;
    } else if (m_page->header.autoAdvance == 1) {
        NextPage();
    }
    RedrawBoard();
}

void LessonPlayback::TypingTick() {
    if (m_typedLength < m_page->bodyLength) {
        m_typedLength += 2;
        ShowTypedText();
        if (TextWindowMode(m_page->header.windowMode) == TextWindowMode::Shown) {
            const int32_t phase = MouthPhaseAt(m_typedLength);
            if (phase != m_mouthPhase) {
                m_mouthPhase = phase;
                SetupCharacter();
            }
        }
        return;
    }
    if (m_mouthPhase != 0) {
        m_mouthPhase = 0;
        SetupCharacter();
    }
    m_timers.Stop(kTypingTimer);
    m_typingOn = false;
    if (m_page->header.textFirst == 1) {
        m_timers.Set(kStepTimer, m_otherPageStepPeriod);
        m_stepPlaybackOn = true;
    } else if (m_page->header.autoAdvance == 1) {
        NextPage();
    }
    RedrawBoard();
}

void LessonPlayback::BlinkTick() {
    m_blinkPhase = m_blinkPhase ? 0 : 1;
    if (OnBlinkCyclePage()) {
        // These pages show their four steps in a loop instead of playing them once.
        if (++m_page->currentStep >= 5) m_page->currentStep = 1;
        if (Rebuild()) m_view.PlaySe(kStoneSound);
    }
    RedrawBoard();
}

void LessonPlayback::Advance() {
    if (m_typedLength < m_page->bodyLength) {
        m_typedLength = m_page->bodyLength;
        ShowTypedText();
        return;
    }
    if (!m_stepPlaybackOn || m_page->currentStep >= m_page->header.stepCount) {
        NextPage();
        return;
    }
    // Steps still playing: jump to the final position.
    m_page->currentStep = m_page->header.stepCount;
    FinishSteps();
    Rebuild();
    AfterLastStep();
}

void LessonPlayback::StepForward() {
    if (!HasStepButtons() || m_page->currentStep >= m_page->header.stepCount - 1) return;
    m_view.PlaySe(kStoneSound);
    ++m_page->currentStep;
    Rebuild();
    RedrawBoard();
    UpdateStepButtons();
}

void LessonPlayback::StepBack() {
    if (!HasStepButtons() || m_page->currentStep <= 0) return;
    m_view.PlaySe(kCursorSound);
    --m_page->currentStep;
    Rebuild();
    RedrawBoard();
    UpdateStepButtons();
}

void LessonPlayback::PauseTimers() {
    m_timers.StopAll();
    m_mouthPhase = 0;
    SetupCharacter();
}

void LessonPlayback::ResumeTimers() {
    if (m_stepPlaybackOn) {
        m_timers.Set(kStepTimer,
                     m_page->stoneMovePage ? m_stonePageStepPeriod : m_otherPageStepPeriod);
    }
    if (m_typingOn) m_timers.Set(kTypingTimer, kTypingPeriod);
    m_timers.Set(kBlinkTimer, kBlinkPeriod);
}

void LessonPlayback::StartOver() {
    ResetState();
    // Later pages start through NextPage, never through a first entry.
    m_firstEntry = false;
    m_stonePageStepPeriod = kStonePagePeriod;
    m_page->header.characterPose = 2;
    m_page->header.windowMode = int32_t(TextWindowMode::SlideOut);
    m_page->caption.clear();
    m_page->body.clear();
    m_page->bodyLength = 0;
    m_page->board.Clear();
    m_page->currentPage = -1;
    m_view.ShowCaption(m_page->caption);
    ShowBoardPicture();
    m_view.ApplyWindowMode(TextWindowMode(m_page->header.windowMode));
    SetupCharacter();
    NextPage();
}

}  // namespace lesson
