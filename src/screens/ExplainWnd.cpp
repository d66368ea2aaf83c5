#include "screens/ExplainWnd.h"

#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Sound/SoundPlayers.h"
#include "progress/ProgressState.h"
#include "progress/SoundFiles.h"
#include "screens/ChapterTitleTable.h"
#include "screens/ExplainText.h"
#include "screens/MenuDlg.h"
#include "screens/Scene.h"

namespace {
constexpr const char* kLessonMusic = sound_files::kBgmLesson;

// Where the text window, its text and the grey close picture sit when the window is up;
// a window about to slide in waits 100 pixels lower.
constexpr int kWindowX = 512;
constexpr int kWindowUpY = 609;
constexpr int kTextUpY = 614;
constexpr int kCloseX = 703;
constexpr int kCloseUpY = 542;
constexpr int kSlideDistance = explain::kSlideStepPixels * explain::kSlideSteps;

// The character's pictures by pose, and where the talking picture sits over the face.
struct CharacterLook {
    const char* base;
    const char* talking;
    TSPoint mouth;
};
constexpr CharacterLook kFrontLook{"COMN_chara_normal_1.tga", "COMN_chara_normal_2.tga",
                                   TSPoint{831, 460}};
constexpr CharacterLook kLeftLook{"COMN_chara_left_1.tga", "COMN_chara_left_2.tga",
                                  TSPoint{818, 461}};

// Menu dialog results.
constexpr int kStartOver = 0;
constexpr int kBackToMenu = 1;
// The screen's panes.
constexpr const char* kBackground = "background";
constexpr const char* kBoard = "board";
constexpr const char* kTextWindow = "text_window";
constexpr const char* kChara1 = "chara_1";
constexpr const char* kChara2 = "chara_2";
constexpr const char* kGrayClose = "gray_close";
constexpr const char* kGrayStepBack = "gray_kifu_return";
constexpr const char* kGrayStepForward = "gray_kifu_next";
constexpr const char* kGrayPageBack = "gray_scrn_return";
constexpr const char* kGrayPageForward = "gray_scrn_next";
constexpr const char* kBodyText = "txt_text";
constexpr const char* kTitleText = "txt_title";
constexpr const char* kCaptionText = "txt_caption";
// The text window and what slides with it.
constexpr const char* kSlidingPanes[] = {kTextWindow, kBodyText, kGrayClose};
// Everything the fade covers besides the buttons (the background stays).
constexpr const char* kFadedPanes[] = {
    kBoard,           kTextWindow,   kChara1,          kChara2,   kGrayClose, kGrayStepBack,
    kGrayStepForward, kGrayPageBack, kGrayPageForward, kBodyText, kTitleText, kCaptionText};
// Overlay pictures are centred on their board points.
constexpr int kOverlayAnchor = 0x22;
}  // namespace

CExplainWnd::CExplainWnd(std::string lessonDirectory)
    : CFadeScreen(screen_assets::Lesson(), ScreenFade::Opening::FirstTick),
      m_playback(*this, TheProgress(), std::move(lessonDirectory)) {}

CExplainWnd::~CExplainWnd() = default;

void CExplainWnd::OnInit() {
    CFadeScreen::OnInit();
    if (!m_screen.IsLoaded()) return;
    // The screen draws the buttons itself, between its panes, in its own order.
    for (const screen_assets::ButtonName& b : screen_assets::Lesson().buttons)
        if (CPaneButton* button = m_screen.Button(uint16_t(b.id))) button->m_drawFlag = 0;
}

void CExplainWnd::OnStart() {
    CFadeScreen::OnStart();
    for (const char* hidden :
         {kTextWindow, kBodyText, kChara2, kGrayStepBack, kGrayStepForward, kGrayClose})
        m_screen.SetVisible(hidden, false);
    m_windowShown = false;
    m_slideIn.Cancel();
    m_slideOut.Cancel();
    m_talking.Stop();
    m_restarting = false;
    m_playback.Start();
    Enter();
}

void CExplainWnd::Enter() {
    PlayBgm(kLessonMusic);
    const CurrentSection& at = Section();
    m_screen.SetText(kTitleText, ChapterTitleTable::Title(at.course, at.chapter, at.section));
    m_playback.Enter();
}

// ---- drawing ----

void CExplainWnd::OnDraw() {
    auto button = [this](uint16_t id) {
        if (CPaneButton* b = m_screen.Button(id)) b->UpdateAppearance();
    };
    m_screen.DrawPane(kBackground);
    m_screen.DrawPane(kBoard);
    const uint8_t overlayAlpha = Fade().Alpha();
    for (const Overlay& overlay : m_drawnOverlays) {
        overlay.picture->SetBox(overlay.x, overlay.y, -1, -1, kOverlayAnchor);
        overlay.picture->SetAlpha(overlayAlpha);
        overlay.picture->Draw();
    }
    m_screen.DrawPane(kTextWindow);
    m_screen.DrawPane(kBodyText);
    m_screen.DrawPane(kChara1);
    m_screen.DrawPane(kChara2);
    m_screen.DrawPane(kGrayClose);
    m_screen.DrawPane(kGrayStepBack);
    m_screen.DrawPane(kGrayStepForward);
    button(kStepBack);
    button(kStepForward);
    button(kMenu);
    m_screen.DrawPane(kTitleText);
    m_screen.DrawPane(kCaptionText);
    button(kClose);
    m_screen.DrawPane(kGrayPageBack);
    button(kPageBack);
    m_screen.DrawPane(kGrayPageForward);
    button(kPageForward);
}

// ---- update tick ----

void CExplainWnd::OnTick() {
    if (m_talking.Running()) {
        // A slide waits while the character talks.
        const explain::Mouth mouth = m_talking.Advance();
        if (mouth != explain::Mouth::Unchanged)
            m_screen.SetVisible(kChara2, mouth == explain::Mouth::Open);
    } else {
        RunSlides();
    }
    // Playback waits while the screen opens, restarts or closes.
    if (Fade().IsSettled() && !m_restarting) m_playback.Tick();
    if (m_restarting) {
        m_restarting = false;
        PlayBgm(kLessonMusic);
    }
}

void CExplainWnd::RunSlides() {
    if (m_slideIn.Running()) ApplySlide(m_slideIn.Advance(), true);
    if (m_slideOut.Running()) ApplySlide(m_slideOut.Advance(), false);
}

void CExplainWnd::ApplySlide(const explain::SlideTick& tick, bool in) {
    if (tick.moved) {
        for (const char* pane : kSlidingPanes) {
            MoveBy(pane, tick.dy);
            m_screen.SetPaneAlpha(pane, tick.alpha);
        }
    }
    if (!tick.finished) return;
    if (in) {
        m_screen.SetVisible(kGrayClose, false);
        ShowCloseButton(true);
        m_windowShown = true;
    } else {
        m_screen.SetVisible(kTextWindow, false);
        m_screen.SetVisible(kBodyText, false);
        m_screen.SetVisible(kGrayClose, false);
        m_windowShown = false;
    }
}

void CExplainWnd::ApplyAlpha(uint8_t alpha) {
    for (const char* pane : kFadedPanes) m_screen.SetPaneAlpha(pane, alpha);
    for (const screen_assets::ButtonName& b : screen_assets::Lesson().buttons)
        if (CPaneButton* button = m_screen.Button(uint16_t(b.id))) button->SetAlpha(alpha);
}

// ---- input ----

void CExplainWnd::OnButton(uint16_t id) {
    switch (id) {
        case kMenu:
            OpenMenu();
            break;
        case kStepBack:
            m_playback.StepBack();
            break;
        case kStepForward:
            m_playback.StepForward();
            break;
        case kPageBack:
            m_playback.PreviousPage();
            break;
        case kPageForward:
            m_playback.Advance();
            break;
        case kClose:
            ToggleTextWindow();
            break;
        default:
            break;
    }
}

void CExplainWnd::OnButtonHold(uint16_t id) {
    if (id >= kStepBack && id <= kPageForward) OnButton(id);
}

void CExplainWnd::OnWheel(TSPoint, int16_t delta) {
    if (delta < 1)
        m_playback.Advance();
    else
        m_playback.PreviousPage();
}

void CExplainWnd::OnPointerDown(TSPoint point, int device) {
    CFadeScreen::OnPointerDown(point, device);
    if (m_slideIn.Running() || m_slideOut.Running() || m_windowShown) return;
    // A click anywhere brings a hidden text window back.
    ToggleTextWindow();
}

void CExplainWnd::ToggleTextWindow() {
    PlaySe(sound_files::kSeSet);
    if (lesson::TextWindowMode(m_playback.Page().header.windowMode) !=
        lesson::TextWindowMode::Shown)
        return;
    if (!m_windowShown) {
        m_slideOut.Cancel();
        m_slideIn.Start();
        m_screen.SetVisible(kTextWindow, true);
        m_screen.SetVisible(kBodyText, true);
        m_screen.SetVisible(kGrayClose, true);
        m_windowShown = true;
    } else {
        m_slideIn.Cancel();
        m_slideOut.Start();
        ShowCloseButton(false);
        m_screen.SetVisible(kGrayClose, true);
        m_windowShown = false;
    }
}

// ---- in-screen menu ----

void CExplainWnd::OpenMenu() {
    m_playback.PauseTimers();
    const int choice = RunMenuDialog(0, this);
    if (choice == kStartOver) {
        StartOver();
    } else if (choice == kBackToMenu) {
        if (ConfirmBackToMenu())
            Leave(kSceneMenu);
        else
            m_playback.ResumeTimers();
    } else {
        m_playback.ResumeTimers();
    }
}

void CExplainWnd::StartOver() {
    if (CWave* music = BgmPlayer()) music->Release();
    ClearBodyText();
    m_windowShown = false;
    m_playback.StartOver();
    // The music starts again from its beginning on the next tick.
    m_restarting = true;
}

// ---- what playback asks for ----

void CExplainWnd::PlaySe(const std::string& path) {
    PlaySe(path.c_str(), -1, 0);
}

void CExplainWnd::ShowBodyText(const std::string& body, int characters) {
    const explain::TypedText typed = explain::TypedBodyText(body, characters);
    // Nothing typed yet but line breaks: the box stays empty (a reveal of 0 shows all).
    if (typed.glyphs == 0)
        m_screen.SetText(kBodyText, "");
    else
        m_screen.SetText(kBodyText, typed.text, typed.glyphs);
}

void CExplainWnd::ClearBodyText() {
    m_screen.SetText(kBodyText, "");
}

void CExplainWnd::ShowCaption(const std::string& caption) {
    m_screen.SetText(kCaptionText, explain::WithoutCarriageReturns(caption));
}

void CExplainWnd::SetBoardPicture(const std::string& texture) {
    m_screen.SetPicture(kBoard, screen_assets::Source::Common, texture.c_str());
}

void CExplainWnd::ShowSprites(std::span<const lesson::LessonSprite> sprites) {
    m_overlays.assign(sprites.begin(), sprites.end());
    m_drawnOverlays.clear();
    CTIGroup* common = m_screen.GroupFor(screen_assets::Source::Common);
    for (const lesson::LessonSprite& sprite : sprites) {
        std::unique_ptr<CxPicture>& picture = m_overlayPictures[sprite.texture];
        if (!picture) {
            picture = std::make_unique<CxPicture>();
            if (common != nullptr) picture->Load(common, sprite.texture.c_str());
        }
        if (picture->IsLoaded()) m_drawnOverlays.push_back({picture.get(), sprite.x, sprite.y});
    }
}

void CExplainWnd::SetStepButtons(const lesson::StepButtonLooks& looks) {
    m_screen.SetVisible(kGrayStepBack, looks.greyShown);
    m_screen.SetVisible(kGrayStepForward, looks.greyShown);
    m_screen.ShowButton(kStepBack, looks.backUsable);
    m_screen.ShowButton(kStepForward, looks.forwardUsable);
}

void CExplainWnd::SetupCharacter(int characterPose, int mouthPhase) {
    const CharacterLook& look = characterPose == 2 ? kFrontLook : kLeftLook;
    const int pose = characterPose == 2 ? 2 : 0;
    if (pose != m_posePictures) {
        m_posePictures = pose;
        m_screen.SetPicture(kChara1, screen_assets::Source::Common, look.base);
        m_screen.SetPicture(kChara2, screen_assets::Source::Common, look.talking);
    }
    // The window never moves on this platform, so the screen offset is always zero.
    m_screen.MoveCenterTo(kChara2, look.mouth);
    if (mouthPhase == 0) {
        m_talking.Stop();
        m_screen.SetVisible(kChara2, false);
    } else {
        m_talking.Start();
    }
}

void CExplainWnd::ApplyWindowMode(lesson::TextWindowMode mode) {
    const bool sliding = m_slideIn.Running() || m_slideOut.Running();
    switch (mode) {
        case lesson::TextWindowMode::Hidden:
            if (sliding) return;
            ClearBodyText();
            m_screen.SetVisible(kTextWindow, false);
            m_screen.SetVisible(kBodyText, false);
            ShowCloseButton(false);
            m_windowShown = false;
            break;
        case lesson::TextWindowMode::Shown:
            if (sliding) return;
            PlaceWindow(kWindowUpY, kTextUpY, kCloseUpY);
            ClearBodyText();
            m_windowShown = true;
            m_screen.SetVisible(kTextWindow, true);
            m_screen.SetVisible(kBodyText, true);
            m_screen.SetPaneAlpha(kTextWindow, 255);
            m_screen.SetPaneAlpha(kBodyText, 255);
            ShowCloseButton(true);
            break;
        case lesson::TextWindowMode::SlideIn:
            if (m_windowShown) return;
            PlaceWindow(kWindowUpY + kSlideDistance, kTextUpY + kSlideDistance,
                        kCloseUpY + kSlideDistance);
            m_screen.SetVisible(kTextWindow, true);
            m_screen.SetVisible(kBodyText, true);
            m_screen.SetVisible(kGrayClose, true);
            ShowCloseButton(false);
            // A slide-out still running would hide the window under the new slide.
            m_slideOut.Cancel();
            m_slideIn.Start();
            break;
        case lesson::TextWindowMode::SlideOut:
            if (!m_windowShown) return;
            PlaceWindow(kWindowUpY, kTextUpY, kCloseUpY);
            ShowCloseButton(false);
            m_screen.SetVisible(kGrayClose, true);
            m_slideIn.Cancel();
            m_slideOut.Start();
            break;
        default:
            break;
    }
}

void CExplainWnd::BeginClosing() {
    Leave(kSceneMenu);
}

// ---- pane helpers ----

void CExplainWnd::PlaceWindow(int windowY, int textY, int closeY) {
    m_screen.MoveCenterTo(kTextWindow, TSPoint{kWindowX, windowY});
    m_screen.MoveCenterTo(kBodyText, TSPoint{kWindowX, textY});
    m_screen.MoveCenterTo(kGrayClose, TSPoint{kCloseX, closeY});
}

void CExplainWnd::MoveBy(const char* pane, int dy) {
    if (!m_screen.Has(pane)) return;
    const TSPoint centre = m_screen.Pane(pane).GetCenter();
    m_screen.MoveCenterTo(pane, TSPoint{centre.x, centre.y + dy});
}

void CExplainWnd::ShowCloseButton(bool show) {
    m_screen.ShowButton(kClose, show);
}
