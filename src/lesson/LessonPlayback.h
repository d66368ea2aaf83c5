#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lesson/LessonFileNames.h"
#include "lesson/LessonPage.h"
#include "lesson/LessonSprites.h"
#include "lesson/LessonText.h"
#include "lesson/LessonTickTimers.h"
#include "lesson/LessonView.h"

struct ProgressState;

namespace lesson {

// Plays a lesson: loads its pages, replays their steps onto the board, types their bodies,
// blinks marked points and moves between steps and pages. The lesson screen drives it with
// its update ticks and buttons and shows what it is told through LessonView.
class LessonPlayback {
public:
    // Timers served by Tick().
    static constexpr int kStepTimer = 0;
    static constexpr int kTypingTimer = 1;
    static constexpr int kBlinkTimer = 2;
    // Tick periods.
    static constexpr int32_t kTypingPeriod = kTypingPeriodTicks;
    static constexpr int32_t kBlinkPeriod = 22;
    static constexpr int32_t kStonePagePeriod = 22;

    // The lesson is the one selected in `progress`; files are looked for in `directory`.
    LessonPlayback(LessonView& view, ProgressState& progress,
                   std::string directory = std::string(kLessonDirectory));

    // Resets the playback state and loads page 0 of the selected lesson.
    void Start();
    // The screen is entered: resumes what was running, or starts the first page.
    void Enter();
    // One update tick in the screen's normal state: serves the three timers.
    void Tick();

    // Page forward: completes the text, then the steps, then goes to the next page.
    void Advance();
    // Page back: back to the previous page that does not run on by itself.
    void PreviousPage();
    // The next page, or the end of the lesson after the last one.
    void NextPage();
    // Manual stepping on show-final pages.
    void StepForward();
    void StepBack();

    // The in-screen menu opens: everything stops and the character stops talking.
    void PauseTimers();
    // The menu closed without leaving: restarts what was running.
    void ResumeTimers();
    // The menu's start over: plays the lesson again from page 0.
    void StartOver();

    const LessonPage& Page() const { return *m_page; }
    const std::vector<LessonSprite>& Sprites() const { return m_sprites; }
    const LessonTickTimers& Timers() const { return m_timers; }
    // Bytes of the body shown so far.
    int32_t TypedLength() const { return m_typedLength; }
    int32_t MouthPhase() const { return m_mouthPhase; }
    int32_t BlinkPhase() const { return m_blinkPhase; }
    bool StepPlaybackOn() const { return m_stepPlaybackOn; }
    bool TypingOn() const { return m_typingOn; }
    LessonId Lesson() const;

private:
    void ResetState();
    void LoadPage();
    bool Rebuild();
    void RedrawBoard();
    void ShowTypedText();
    void ShowBoardPicture();
    void SetupCharacter();
    void UpdateStepButtons();
    void StopPageTimers();
    void StartPageTimers();
    void FinishSteps();
    // After the last step: typing starts when the text waited for the steps, or the page
    // moves on by itself; then the board is redrawn.
    void AfterLastStep();
    bool OnBlinkCyclePage() const;
    bool HasStepButtons() const;

    void AutomaticStep();
    void TypingTick();
    void BlinkTick();

    LessonView& m_view;
    ProgressState& m_progress;
    std::string m_directory;
    std::unique_ptr<LessonPage> m_page;
    LessonTickTimers m_timers;
    std::vector<LessonSprite> m_sprites;
    int32_t m_typedLength = 0;
    int32_t m_mouthPhase = 0;
    int32_t m_blinkPhase = 1;
    bool m_stepPlaybackOn = false;
    bool m_typingOn = false;
    bool m_firstEntry = true;
    int32_t m_stonePageStepPeriod = 20;
    int32_t m_otherPageStepPeriod = 3;
    // Board size whose picture the board pane shows (0: the layout's own).
    int32_t m_boardSizeShown = 0;
};

}  // namespace lesson
