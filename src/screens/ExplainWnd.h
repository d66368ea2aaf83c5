#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Lib/ZIRur/Graphics/Picture.h"
#include "Lib/ZIRur/Layout/ts_pane.h"
#include "Lib/ZIRur/Wnd/TSBgmWnd.h"
#include "lesson/LessonPlayback.h"
#include "lesson/LessonView.h"
#include "screens/ExplainMotion.h"
#include "screens/ScreenLayout.h"

class CText;

// The lesson screen: chapter title, page caption, the board with its overlay pictures, a
// text window in which the page body is typed, the character beside it and six buttons. It
// hosts lesson playback, slides the text window, animates the character, runs the in-screen
// menu and returns to the main menu when the lesson ends or the learner leaves.
class CExplainWnd : public CTSBgmWnd, public lesson::LessonView {
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

    void OnLoad() override;
    void OnInit() override;
    void OnStart() override;
    void OnDraw() override;
    void OnTimer(int index) override;
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
    bool IsClosing() const override { return m_phase.IsClosing(); }
    void BeginClosing() override;
    using CTSBgmWnd::PlaySe;

    // --- State, for tests and tools ---
    const lesson::LessonPlayback& Playback() const { return m_playback; }
    const explain::ScreenPhase& Phase() const { return m_phase; }
    bool WindowShown() const { return m_windowShown; }
    const explain::Slide& SlideIn() const { return m_slideIn; }
    const explain::Slide& SlideOut() const { return m_slideOut; }
    const explain::Talking& TalkingMouth() const { return m_talking; }
    bool IsUpdating() const { return m_ticking != 0; }
    // Current fade alpha of the faded panes.
    float Alpha() const { return m_alpha; }
    // The overlay pictures as last shown, in drawing order.
    const std::vector<lesson::LessonSprite>& Overlays() const { return m_overlays; }
    // A pane of the screen's layout by name (empty when missing).
    CTSPane Pane(const char* name) { return m_screen.Pane(name); }
    // The string the text box of that pane holds ("" without one).
    std::string TextOf(const char* pane);

private:
    // A drawn overlay: its picture (shared by name) and where it goes.
    struct Overlay {
        CxPicture* picture;
        int x;
        int y;
    };

    void BindTexts();
    void FindPanes();
    void Enter();
    void Tick();
    void RunSlides();
    void ApplySlide(const explain::SlideTick& tick, bool in);
    void ApplyAlpha(uint8_t alpha);
    void ShowCloseButton(bool show);
    void ToggleTextWindow();
    void OpenMenu();
    void StartOver();
    void SetText(const char* pane, const std::string& text, int reveal = 0);
    CText* TextObject(const char* pane);
    void PlaceWindow(int windowY, int textY, int closeY);
    void MoveBy(CTSPane& pane, int dy);
    static void Show(CTSPane& pane, bool shown);
    static void SetPaneAlpha(CTSPane& pane, uint8_t alpha);

    ScreenLayout m_screen;
    lesson::LessonPlayback m_playback;
    explain::ScreenPhase m_phase;
    explain::Slide m_slideIn{true};
    explain::Slide m_slideOut{false};
    explain::Talking m_talking;
    // 1 while the update tick runs.
    int32_t m_ticking = 0;
    // Alpha of the faded panes during opening and closing.
    float m_alpha = 0.0f;
    // The text window is up (or on its way up).
    bool m_windowShown = false;
    // Pose whose pictures the character panes show (-1 before the first set-up).
    int m_posePictures = -1;

    CTSPicturePane m_background, m_board, m_textWindow, m_chara1, m_chara2;
    CTSPicturePane m_grayClose, m_grayStepBack, m_grayStepForward, m_grayPageBack,
        m_grayPageForward;
    CTSPane m_bodyText, m_titleText, m_captionText;

    // Overlay pictures by texture name, loaded once and reused across redraws.
    std::map<std::string, std::unique_ptr<CxPicture>> m_overlayPictures;
    std::vector<Overlay> m_drawnOverlays;
    std::vector<lesson::LessonSprite> m_overlays;
};
