#include "screens/ExplainWnd.h"

#include "Lib/ZIRur/Layout/ts_layout.h"
#include "Lib/ZIRur/Sound/SoundPlayers.h"
#include "Lib/ZIRur/Text/FontMgr.h"
#include "Lib/ZIRur/Text/Text.h"
#include "progress/ProgressState.h"
#include "progress/SoundFiles.h"
#include "screens/ChapterTitleTable.h"
#include "screens/ExplainText.h"
#include "screens/MenuDlg.h"
#include "screens/MsgBox.h"
#include "screens/Scene.h"

namespace {
constexpr int kTickTimer = 0;
constexpr uint32_t kTickMs = 10;
constexpr const char* kLessonMusic = sound_files::kBgmLesson;
// メインメニューへ戻りますか？
constexpr const char* kBackQuestion =
    "\x83\x81\x83\x43\x83\x93\x83\x81\x83\x6a\x83\x85\x81\x5b\x82\xd6\x96\xdf\x82\xe8\x82\xdc"
    "\x82\xb7\x82\xa9\x81\x48";

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
// Message box: OK.
constexpr int kOk = 0;
// Overlay pictures are centred on their board points.
constexpr int kOverlayAnchor = 0x22;
}  // namespace

CExplainWnd::CExplainWnd(std::string lessonDirectory)
    : m_screen(screen_assets::Lesson()),
      m_playback(*this, TheProgress(), std::move(lessonDirectory)) {}

CExplainWnd::~CExplainWnd() = default;

void CExplainWnd::OnLoad() {
    m_screen.Load(this);
}

void CExplainWnd::OnInit() {
    m_screen.Create(this);
    if (!m_screen.Layout().IsLoaded()) return;
    BindTexts();
    FindPanes();
    // The screen draws the buttons itself, between its panes, in its own order.
    for (const screen_assets::ButtonName& b : screen_assets::Lesson().buttons)
        if (CPaneButton* button = m_screen.Button(uint16_t(b.id))) button->m_drawFlag = 0;
}

void CExplainWnd::BindTexts() {
    for (const screen_assets::TextName& row : screen_assets::Lesson().texts)
        m_screen.Layout().LoadOneResource(TSTextResource{
            row.pane, CFontMgr::kArchivePath, row.fontFile, row.size, "", &m_screen.Group()});
}

void CExplainWnd::FindPanes() {
    auto picture = [this](const char* name) {
        return m_screen.Layout().IsExistPane(name) != 0 ? m_screen.PicturePane(name)
                                                        : CTSPicturePane{};
    };
    auto pane = [this](const char* name) {
        return m_screen.Layout().IsExistPane(name) != 0 ? m_screen.Pane(name) : CTSPane{};
    };
    m_background = picture("background");
    m_board = picture("board");
    m_textWindow = picture("text_window");
    m_chara1 = picture("chara_1");
    m_chara2 = picture("chara_2");
    m_grayClose = picture("gray_close");
    m_grayStepBack = picture("gray_kifu_return");
    m_grayStepForward = picture("gray_kifu_next");
    m_grayPageBack = picture("gray_scrn_return");
    m_grayPageForward = picture("gray_scrn_next");
    m_bodyText = pane("txt_text");
    m_titleText = pane("txt_title");
    m_captionText = pane("txt_caption");
}

void CExplainWnd::OnStart() {
    CTSBgmWnd::OnStart();
    ApplyAlpha(0);
    for (CTSPane* hidden :
         {static_cast<CTSPane*>(&m_textWindow), &m_bodyText, static_cast<CTSPane*>(&m_chara2),
          static_cast<CTSPane*>(&m_grayStepBack), static_cast<CTSPane*>(&m_grayStepForward),
          static_cast<CTSPane*>(&m_grayClose)})
        Show(*hidden, false);
    m_windowShown = false;
    m_slideIn.Cancel();
    m_slideOut.Cancel();
    m_talking.Stop();
    m_playback.Start();
    m_phase.Set(explain::Phase::Opening, 0);
    StartTimer(kTickTimer, kTickMs);
    m_ticking = 1;
    Enter();
}

void CExplainWnd::Enter() {
    PlayBgm(kLessonMusic);
    int course = 0, chapter = 0, section = 0;
    {
        std::lock_guard lock(SaveDataMutex());
        const ProgressState& progress = TheProgress();
        course = progress.m_course;
        chapter = progress.m_chapter;
        section = progress.m_section;
    }
    SetText("txt_title", ChapterTitleTable::Title(course, chapter, section));
    m_playback.Enter();
}

// ---- drawing ----

void CExplainWnd::OnDraw() {
    auto draw = [](CTSPane& pane) {
        if (pane.IsValid()) pane.DrawAnimated();
    };
    auto button = [this](uint16_t id) {
        if (CPaneButton* b = m_screen.Button(id)) b->UpdateAppearance();
    };
    draw(m_background);
    draw(m_board);
    const uint8_t overlayAlpha = uint8_t(m_alpha);
    for (const Overlay& overlay : m_drawnOverlays) {
        overlay.picture->SetBox(overlay.x, overlay.y, -1, -1, kOverlayAnchor);
        overlay.picture->SetAlpha(overlayAlpha);
        overlay.picture->Draw();
    }
    draw(m_textWindow);
    draw(m_bodyText);
    draw(m_chara1);
    draw(m_chara2);
    draw(m_grayClose);
    draw(m_grayStepBack);
    draw(m_grayStepForward);
    button(kStepBack);
    button(kStepForward);
    button(kMenu);
    draw(m_titleText);
    draw(m_captionText);
    button(kClose);
    draw(m_grayPageBack);
    button(kPageBack);
    draw(m_grayPageForward);
    button(kPageForward);
}

// ---- update tick ----

void CExplainWnd::OnTimer(int index) {
    if (index == kTickTimer && m_ticking != 0) Tick();
}

void CExplainWnd::Tick() {
    if (m_talking.Running()) {
        // A slide waits while the character talks.
        const explain::Mouth mouth = m_talking.Advance();
        if (mouth != explain::Mouth::Unchanged) Show(m_chara2, mouth == explain::Mouth::Open);
    } else {
        RunSlides();
    }
    if (m_phase.IsNormal()) m_playback.Tick();
    const explain::PhaseTick phase = m_phase.Advance();
    if (phase.applyAlpha) ApplyAlpha(phase.alpha);
    if (phase.restartMusic) PlayBgm(kLessonMusic);
    if (phase.leave) {
        KillTimer(kTickTimer);
        m_ticking = 0;
        EndModal(uint32_t(kSceneMenu));
    }
}

void CExplainWnd::RunSlides() {
    if (m_slideIn.Running()) ApplySlide(m_slideIn.Advance(), true);
    if (m_slideOut.Running()) ApplySlide(m_slideOut.Advance(), false);
}

void CExplainWnd::ApplySlide(const explain::SlideTick& tick, bool in) {
    if (tick.moved) {
        for (CTSPane* pane : {static_cast<CTSPane*>(&m_textWindow), &m_bodyText,
                              static_cast<CTSPane*>(&m_grayClose)}) {
            MoveBy(*pane, tick.dy);
            SetPaneAlpha(*pane, tick.alpha);
        }
    }
    if (!tick.finished) return;
    if (in) {
        Show(m_grayClose, false);
        ShowCloseButton(true);
        m_windowShown = true;
    } else {
        Show(m_textWindow, false);
        Show(m_bodyText, false);
        Show(m_grayClose, false);
        m_windowShown = false;
    }
}

void CExplainWnd::ApplyAlpha(uint8_t alpha) {
    m_alpha = float(alpha);
    for (CTSPane* pane :
         {static_cast<CTSPane*>(&m_board), static_cast<CTSPane*>(&m_textWindow),
          static_cast<CTSPane*>(&m_chara1), static_cast<CTSPane*>(&m_chara2),
          static_cast<CTSPane*>(&m_grayClose), static_cast<CTSPane*>(&m_grayStepBack),
          static_cast<CTSPane*>(&m_grayStepForward), static_cast<CTSPane*>(&m_grayPageBack),
          static_cast<CTSPane*>(&m_grayPageForward), &m_bodyText, &m_titleText, &m_captionText})
        SetPaneAlpha(*pane, alpha);
    for (const screen_assets::ButtonName& b : screen_assets::Lesson().buttons)
        if (CPaneButton* button = m_screen.Button(uint16_t(b.id))) button->SetAlpha(alpha);
}

// ---- input ----

void CExplainWnd::OnButton(uint16_t id) {
    if (m_phase.IsClosing()) return;
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
    if (m_phase.IsClosing()) return;
    if (delta < 1)
        m_playback.Advance();
    else
        m_playback.PreviousPage();
}

void CExplainWnd::OnPointerDown(TSPoint point, int device) {
    CTSBgmWnd::OnPointerDown(point, device);
    if (m_phase.IsClosing() || m_slideIn.Running() || m_slideOut.Running() || m_windowShown) return;
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
        Show(m_textWindow, true);
        Show(m_bodyText, true);
        Show(m_grayClose, true);
        m_windowShown = true;
    } else {
        m_slideIn.Cancel();
        m_slideOut.Start();
        ShowCloseButton(false);
        Show(m_grayClose, true);
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
        if (RunMessageBox(kBackQuestion, this) == kOk)
            m_phase.Set(explain::Phase::Closing, -explain::ScreenPhase::kFadeTicks);
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
    m_phase.Set(explain::Phase::Restarting, 0);
}

// ---- what playback asks for ----

void CExplainWnd::PlaySe(const std::string& path) {
    PlaySe(path.c_str(), -1, 0);
}

CText* CExplainWnd::TextObject(const char* pane) {
    if (!m_screen.Layout().IsLoaded()) return nullptr;
    return dynamic_cast<CText*>(m_screen.Layout().GetPaneObject(pane));
}

std::string CExplainWnd::TextOf(const char* pane) {
    CText* text = TextObject(pane);
    return text != nullptr ? text->String() : std::string();
}

void CExplainWnd::SetText(const char* pane, const std::string& text, int reveal) {
    CText* object = TextObject(pane);
    if (object == nullptr) return;
    object->SetRevealCount(reveal);
    object->SetString(text.c_str());
}

void CExplainWnd::ShowBodyText(const std::string& body, int characters) {
    const explain::TypedText typed = explain::TypedBodyText(body, characters);
    // Nothing typed yet but line breaks: the box stays empty (a reveal of 0 shows all).
    if (typed.glyphs == 0)
        SetText("txt_text", "");
    else
        SetText("txt_text", typed.text, typed.glyphs);
}

void CExplainWnd::ClearBodyText() {
    SetText("txt_text", "");
}

void CExplainWnd::ShowCaption(const std::string& caption) {
    SetText("txt_caption", explain::WithoutCarriageReturns(caption));
}

void CExplainWnd::SetBoardPicture(const std::string& texture) {
    if (m_board.IsValid())
        m_board.SetTexture(m_screen.GroupFor(screen_assets::Source::Common), texture.c_str());
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
    Show(m_grayStepBack, looks.greyShown);
    Show(m_grayStepForward, looks.greyShown);
    m_screen.ShowButton(kStepBack, looks.backUsable);
    m_screen.ShowButton(kStepForward, looks.forwardUsable);
}

void CExplainWnd::SetupCharacter(int characterPose, int mouthPhase) {
    const CharacterLook& look = characterPose == 2 ? kFrontLook : kLeftLook;
    const int pose = characterPose == 2 ? 2 : 0;
    if (pose != m_posePictures) {
        m_posePictures = pose;
        CTIGroup* common = m_screen.GroupFor(screen_assets::Source::Common);
        if (m_chara1.IsValid()) m_chara1.SetTexture(common, look.base);
        if (m_chara2.IsValid()) m_chara2.SetTexture(common, look.talking);
    }
    // The window never moves on this platform, so the screen offset is always zero.
    if (m_chara2.IsValid()) m_chara2.MoveCenterTo(look.mouth);
    if (mouthPhase == 0) {
        m_talking.Stop();
        Show(m_chara2, false);
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
            Show(m_textWindow, false);
            Show(m_bodyText, false);
            ShowCloseButton(false);
            m_windowShown = false;
            break;
        case lesson::TextWindowMode::Shown:
            if (sliding) return;
            PlaceWindow(kWindowUpY, kTextUpY, kCloseUpY);
            ClearBodyText();
            m_windowShown = true;
            Show(m_textWindow, true);
            Show(m_bodyText, true);
            SetPaneAlpha(m_textWindow, 255);
            SetPaneAlpha(m_bodyText, 255);
            ShowCloseButton(true);
            break;
        case lesson::TextWindowMode::SlideIn:
            if (m_windowShown) return;
            PlaceWindow(kWindowUpY + kSlideDistance, kTextUpY + kSlideDistance,
                        kCloseUpY + kSlideDistance);
            Show(m_textWindow, true);
            Show(m_bodyText, true);
            Show(m_grayClose, true);
            ShowCloseButton(false);
            // A slide-out still running would hide the window under the new slide.
            m_slideOut.Cancel();
            m_slideIn.Start();
            break;
        case lesson::TextWindowMode::SlideOut:
            if (!m_windowShown) return;
            PlaceWindow(kWindowUpY, kTextUpY, kCloseUpY);
            ShowCloseButton(false);
            Show(m_grayClose, true);
            m_slideIn.Cancel();
            m_slideOut.Start();
            break;
        default:
            break;
    }
}

void CExplainWnd::BeginClosing() {
    m_phase.Set(explain::Phase::Closing, -explain::ScreenPhase::kFadeTicks);
}

// ---- pane helpers ----

void CExplainWnd::PlaceWindow(int windowY, int textY, int closeY) {
    if (m_textWindow.IsValid()) m_textWindow.MoveCenterTo(TSPoint{kWindowX, windowY});
    if (m_bodyText.IsValid()) m_bodyText.MoveCenterTo(TSPoint{kWindowX, textY});
    if (m_grayClose.IsValid()) m_grayClose.MoveCenterTo(TSPoint{kCloseX, closeY});
}

void CExplainWnd::MoveBy(CTSPane& pane, int dy) {
    if (!pane.IsValid()) return;
    const TSPoint centre = pane.GetCenter();
    pane.MoveCenterTo(TSPoint{centre.x, centre.y + dy});
}

void CExplainWnd::Show(CTSPane& pane, bool shown) {
    if (pane.IsValid()) pane.SetVisible(shown);
}

void CExplainWnd::SetPaneAlpha(CTSPane& pane, uint8_t alpha) {
    if (pane.IsValid()) pane.SetAlpha(alpha);
}

void CExplainWnd::ShowCloseButton(bool show) {
    m_screen.ShowButton(kClose, show);
}
