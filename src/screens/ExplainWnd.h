#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Lib/ZIRur/Graphics/Picture.h"
#include "Lib/ZIRur/Layout/ts_pane.h"
#include "lesson/LessonPlayback.h"
#include "lesson/LessonView.h"
#include "screens/ExplainMotion.h"
#include "screens/FadeScreen.h"

// The lesson screen: chapter title, page caption, the board with its overlay pictures, a
// text window in which the page body is typed, the character beside it and six buttons. It
// hosts lesson playback, slides the text window, animates the character, runs the in-screen
// menu and returns to the main menu when the lesson ends or the learner leaves.
class CExplainWnd : public CFadeScreen, public lesson::LessonView {
public:
    static constexpr uint16_t kMenu = 19;
    static constexpr uint16_t kStepBack = 20;
    static constexpr uint16_t kStepForward = 21;
    static constexpr uint16_t kPageBack = 22;
    static constexpr uint16_t kPageForward = 23;
    static constexpr uint16_t kClose = 24;

    // Lesson files are read from `lessonDirectory` (the program's own folder by default).
    explicit CExplainWnd(std::string lessonDirectory = std::string(lesson::kLessonDirectory));
    ~CExplainWnd() override;

    void OnInit() override;
    void OnStart() override;
    void OnDraw() override;
    void OnButton(uint16_t id) override;
    void OnButtonHold(uint16_t id) override;
    void OnWheel(TSPoint point, int16_t delta) override;
    void OnPointerDown(TSPoint point, int device) override;

    // --- What playback asks of the screen ---
    void PlaySe(const std::string& path) override;
    void ShowBodyText(const std::string& body, int characters) override;
    void ClearBodyText() override;
    void ShowCaption(const std::string& caption) override;
    void SetBoardPicture(const std::string& texture) override;
    void ShowSprites(std::span<const lesson::LessonSprite> sprites) override;
    void SetStepButtons(const lesson::StepButtonLooks& looks) override;
    void SetupCharacter(int characterPose, int mouthPhase) override;
    void ApplyWindowMode(lesson::TextWindowMode mode) override;
    bool IsClosing() const override { return IsLeaving(); }
    void BeginClosing() override;
    using CFadeScreen::PlaySe;

    // --- State, for tests and tools ---
    const lesson::LessonPlayback& Playback() const { return m_playback; }
    bool WindowShown() const { return m_windowShown; }
    const explain::Slide& SlideIn() const { return m_slideIn; }
    const explain::Slide& SlideOut() const { return m_slideOut; }
    const explain::Talking& TalkingMouth() const { return m_talking; }
    // The overlay pictures as last shown, in drawing order.
    const std::vector<lesson::LessonSprite>& Overlays() const { return m_overlays; }

private:
    // A drawn overlay: its picture (shared by name) and where it goes.
    struct Overlay {
        CxPicture* picture;
        int x;
        int y;
    };

    void Enter();
    void OnTick() override;
    void RunSlides();
    void ApplySlide(const explain::SlideTick& tick, bool in);
    void ApplyAlpha(uint8_t alpha) override;
    void ShowCloseButton(bool show);
    void ToggleTextWindow();
    void OpenMenu();
    void StartOver();
    void PlaceWindow(int windowY, int textY, int closeY);
    void MoveBy(const char* pane, int dy);

    lesson::LessonPlayback m_playback;
    explain::Slide m_slideIn{true};
    explain::Slide m_slideOut{false};
    explain::Talking m_talking;
    // After a start over the music begins again on the next tick.
    bool m_restarting = false;
    // The text window is up (or on its way up).
    bool m_windowShown = false;
    // Pose whose pictures the character panes show (-1 before the first set-up).
    int m_posePictures = -1;

    // Overlay pictures by texture name, loaded once and reused across redraws.
    std::map<std::string, std::unique_ptr<CxPicture>> m_overlayPictures;
    std::vector<Overlay> m_drawnOverlays;
    std::vector<lesson::LessonSprite> m_overlays;
};
