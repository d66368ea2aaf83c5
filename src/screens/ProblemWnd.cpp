#include "screens/ProblemWnd.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "Lib/ZIRur/Text/FontMgr.h"
#include "Lib/ZIRur/Text/StrConvert.h"
#include "Lib/ZIRur/Text/Text.h"
#include "Lib/lyt/textBox.h"
#include "lesson/LessonText.h"
#include "platform/Platform.h"
#include "problem/ProblemFile.h"
#include "problem/QuestionWrap.h"
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
// The in-screen menu of the problem screen, and its answers.
constexpr int kMenuVariant = 1;
constexpr int kMenuToList = 0;
constexpr int kMenuToMainMenu = 1;
// "メインメニューへ戻りますか？"
constexpr const char* kBackToMenuQuestion =
    "\x83\x81\x83\x43\x83\x93\x83\x81\x83\x6a\x83\x85\x81\x5b\x82\xd6\x96\xdf\x82\xe8\x82\xdc"
    "\x82\xb7\x82\xa9\x81\x48";
// The correct choice after show-answer: large, in the middle of the board.
constexpr TSPoint kAnswerChoiceAt{361, 383};
constexpr int kAnswerChoiceWidth = 42, kAnswerChoiceHeight = 43;
constexpr int kAnswerTextSize = 26;

// Pane and button drawing order, back to front, after the board sprites.
constexpr const char* kPanesUnderSprites[] = {"background",  "board",      "history",
                                              "chara_1",     "chara_2",    "txt_title",
                                              "txt_problem", "txt_caption"};
// The teacher's balloon lies over everything but the buttons.
constexpr const char* kPanesOverSprites[] = {"text_window", "sel_view", "txt_text",   "txt_select",
                                             "result",      "balloon",  "txt_balloon"};
struct GreyButton {
    const char* greyPane;
    uint16_t id;
};
constexpr GreyButton kButtonOrder[] = {
    {"gray_prev", CProblemWnd::kPrev},
    {"gray_next", CProblemWnd::kNext},
    {"gray_answer", CProblemWnd::kAnswer},
    {"gray_again", CProblemWnd::kAgain},
    {nullptr, CProblemWnd::kMenu},
    {nullptr, CProblemWnd::kDecide},
    {"gray_scroll_up", CProblemWnd::kScrollUp},
    {"gray_scroll_down", CProblemWnd::kScrollDown},
    {"gray_hint", CProblemWnd::kHint},
};
}  // namespace

CProblemWnd::CProblemWnd() : m_screen(screen_assets::Problem()) {}

CProblemWnd::~CProblemWnd() {
    // Play talks to this window; it goes before the window's parts do.
    m_play.reset();
}

template <typename F>
void CProblemWnd::WithPlay(F&& operation) {
    if (!m_play) return;
    std::lock_guard lock(SaveDataMutex());
    operation(*m_play);
}

void CProblemWnd::OnLoad() {
    m_screen.Load(this);
}

void CProblemWnd::OnInit() {
    m_screen.Create(this);
    CTSLayout& layout = m_screen.Layout();
    if (!layout.IsLoaded()) return;
    for (const screen_assets::TextName& row : screen_assets::Problem().texts) {
        layout.LoadOneResource(TSTextResource{row.pane, CFontMgr::kArchivePath, row.fontFile,
                                              row.size, "", &m_screen.Group()});
    }
    // The window draws the buttons itself, between the grey looks, in a fixed order.
    for (const GreyButton& b : kButtonOrder)
        if (CPaneButton* button = m_screen.Button(b.id)) button->m_drawFlag = 0;
    if (layout.IsExistPane("txt_select") != 0)
        m_selectionHome = layout.GetPane("txt_select").GetCenter();
    for (const char* pane :
         {"result", "history", "sel_view", "txt_select", "chara_2", "balloon", "txt_balloon"})
        SetPaneVisible(pane, false);
}

void CProblemWnd::OnStart() {
    CTSBgmWnd::OnStart();
    PlayBgm(sound_files::kBgmGame);
    int course = 0, chapter = 0, section = 0;
    {
        std::lock_guard lock(SaveDataMutex());
        const ProgressState& progress = TheProgress();
        course = progress.m_course;
        chapter = progress.m_chapter;
        section = progress.m_section;
    }
    if (!m_board) {
        m_board = std::make_unique<ProblemBoard>();
        std::lock_guard lock(SaveDataMutex());
        LoadProblemSet(*m_board, chapter, section);
        m_explanations =
            explanations::Load(course, chapter + 1, section + 1, problemfile::kDefaultDir);
    }
    SetPaneText("txt_title", ChapterTitleTable::Title(course, chapter, section));
    m_play = std::make_unique<ProblemPlay>(*m_board, TheProgress(), *this);
    m_fadeCounter = 0;
    m_leavingFor = 0;
    ApplyAlpha(255);
    WithPlay([](ProblemPlay& play) { play.Start(); });
    StartTimer(kTickTimer, kTickMs);
}

// --- Clock and fade ---

void CProblemWnd::OnTimer(int index) {
    if (index == kTickTimer) {
        Tick();
    } else if (index == ProblemPlay::kVerdictTimer) {
        WithPlay([](ProblemPlay& play) { play.VerdictTimer(); });
    } else if (index == ProblemPlay::kReplyTimer) {
        WithPlay([](ProblemPlay& play) { play.ReplyTimer(); });
    }
}

void CProblemWnd::Tick() {
    WithPlay([](ProblemPlay& play) { play.Tick(); });
    if (m_talking.Running()) {
        const explain::Mouth mouth = m_talking.Advance();
        if (mouth != explain::Mouth::Unchanged)
            SetPaneVisible("chara_2", mouth == explain::Mouth::Open);
    }
    if (m_balloonOpen) TypeBalloon();
    if (m_fadeCounter >= 0) return;
    ApplyAlpha(uint8_t(255 * -m_fadeCounter / kFadeTicks));
    if (++m_fadeCounter == 0) {
        KillTimer(kTickTimer);
        EndModal(uint32_t(m_leavingFor));
    }
}

void CProblemWnd::Pause(uint32_t ms) {
    if (platform::HasPlatform()) platform::GetPlatform().Sleep(ms);
}

void CProblemWnd::LeaveScreen(int scene) {
    if (m_leavingFor != 0) return;
    m_leavingFor = scene;
    m_fadeCounter = -kFadeTicks;
    CloseBalloon();
}

void CProblemWnd::ApplyAlpha(uint8_t alpha) {
    m_alpha = alpha;
    for (const char* pane : kPanesUnderSprites)
        if (m_screen.Layout().IsExistPane(pane) != 0) m_screen.Pane(pane).SetAlpha(alpha);
    for (const char* pane : kPanesOverSprites)
        if (m_screen.Layout().IsExistPane(pane) != 0) m_screen.Pane(pane).SetAlpha(alpha);
    for (const GreyButton& b : kButtonOrder) {
        if (b.greyPane != nullptr && m_screen.Layout().IsExistPane(b.greyPane) != 0)
            m_screen.Pane(b.greyPane).SetAlpha(alpha);
        if (CPaneButton* button = m_screen.Button(b.id)) button->SetAlpha(alpha);
    }
}

// --- Input ---

void CProblemWnd::OnButton(uint16_t id) {
    m_pressOnBoard = false;
    if (m_leavingFor != 0) return;
    switch (id) {
        case kMenu: {
            WithPlay([](ProblemPlay& play) { play.PauseSteppers(); });
            const int choice = RunMenuDialog(kMenuVariant, this);
            if (choice == kMenuToList) {
                LeaveScreen(kSceneProblemList);
            } else if (choice == kMenuToMainMenu && RunMessageBox(kBackToMenuQuestion, this) == 0) {
                LeaveScreen(kSceneMenu);
            } else {
                ResumeAfterMenu();
            }
            break;
        }
        case kPrev:
            WithPlay([](ProblemPlay& play) { play.PrevProblem(); });
            break;
        case kNext:
            WithPlay([](ProblemPlay& play) { play.NextProblem(); });
            break;
        case kAnswer:
            WithPlay([](ProblemPlay& play) { play.ShowAnswer(); });
            break;
        case kDecide:
            WithPlay([](ProblemPlay& play) { play.Decide(); });
            break;
        case kAgain:
            WithPlay([](ProblemPlay& play) { play.Again(); });
            break;
        case kScrollUp:
            WithPlay([](ProblemPlay& play) { play.SelectionUp(); });
            break;
        case kScrollDown:
            WithPlay([](ProblemPlay& play) { play.SelectionDown(); });
            break;
        case kHint:
            if (const explanations::ProblemExplanation* explanation = Explanation()) {
                PlaySe(sound_files::kSeCursor);
                Say(explanation->hint);
            }
            break;
        default:
            break;
    }
}

void CProblemWnd::ResumeAfterMenu() {
    WithPlay([](ProblemPlay& play) { play.ResumeSteppers(); });
}

void CProblemWnd::OnButtonHold(uint16_t id) {
    if (id == kPrev || id == kNext || id == kScrollUp || id == kScrollDown) OnButton(id);
}

void CProblemWnd::OnWheel(TSPoint, int16_t delta) {
    if (m_leavingFor != 0 || !m_play || delta == 0) return;
    bool anyNormal = false;
    for (uint16_t id : {kScrollUp, kDecide, kPrev, kNext}) {
        const CPaneButton* button = m_screen.Button(id);
        if (button != nullptr && button->m_state == kBtnNormal) anyNormal = true;
    }
    if (!anyNormal) return;
    // A positive turn is away from the user: up.
    const bool up = delta > 0;
    WithPlay([up](ProblemPlay& play) {
        if (play.QuestionOpen()) {
            if (up)
                play.PrevProblem();
            else
                play.NextProblem();
        } else if (up) {
            play.SelectionUp();
        } else {
            play.SelectionDown();
        }
    });
}

void CProblemWnd::OnPointerDown(TSPoint point, int device) {
    CTSBgmWnd::OnPointerDown(point, device);
    m_pressOnBoard = true;
    if (m_leavingFor != 0 || !m_play) return;
    m_cursor.Begin(m_play->BoardSize(), point.x, point.y);
}

void CProblemWnd::OnPointerMove(TSPoint point, int device) {
    CTSBgmWnd::OnPointerMove(point, device);
    m_cursor.Move(point.x, point.y);
}

void CProblemWnd::OnPointerUp(TSPoint point, int) {
    m_cursor.End();
    // The release of a press that began on a button (hidden by its own action since) is not a
    // click on the board.
    const bool pressOnBoard = std::exchange(m_pressOnBoard, false);
    if (m_leavingFor != 0 || !pressOnBoard) return;
    // A click closes the balloon. After a verdict it also goes on as ever (on to the next
    // problem after a correct one); a hint takes the click, so that no stone lands unseen
    // under it, as the question window takes the click that closes it.
    if (m_balloonOpen) {
        CloseBalloon();
        const bool judged = m_play && IsFinal(m_play->Result());
        if (!judged) return;
    }
    WithPlay([point](ProblemPlay& play) { play.BoardClick(point.x, point.y); });
}

void CProblemWnd::OnSecondaryDown(TSPoint, int) {
    if (m_leavingFor != 0) return;
    const CPaneButton* again = m_screen.Button(kAgain);
    if (again == nullptr || again->m_visible == 0 || again->m_state != kBtnNormal) return;
    WithPlay([](ProblemPlay& play) { play.Again(); });
}

// --- What play shows ---

void CProblemWnd::PlaySe(const std::string& path) {
    CTSBgmWnd::PlaySe(path.c_str());
}

void CProblemWnd::StartTimer(int id, int ms) {
    CTSEventWnd::StartTimer(id, uint32_t(ms > 0 ? ms : 1));
}

void CProblemWnd::StopTimer(int id) {
    KillTimer(id);
}

void CProblemWnd::ShowFace(int face) {
    if (!m_face.Change(face)) return;
    ++m_faceChanges;
    PlaceTalkingMouth();
    if (m_screen.Layout().IsExistPane("chara_1") == 0) return;
    const problemcontrols::FaceLook& look = problemcontrols::LookOf(face);
    CTSPicturePane chara = m_screen.PicturePane("chara_1");
    chara.SetTexture(m_screen.GroupFor(screen_assets::Source::Common), look.texture);
    chara.SetSize(look.width, look.height);
    chara.MoveCenterTo(TSPoint{look.x, look.y});
}

void CProblemWnd::ShowPane(Pane pane, bool shown) {
    switch (pane) {
        case Pane::QuestionWindow:
            SetPaneVisible("text_window", shown);
            SetPaneVisible("txt_text", shown);
            // Nothing is chosen while the question is read; closing it shows the choices of
            // the problem now on the board, never those of the one before.
            if (shown) {
                m_cursor.Clear();
                ShowPane(Pane::SelectionPane, false);
            }
            break;
        case Pane::SelectionPane:
            m_selectionShown = shown;
            m_selectionBlinkOn = true;
            // The shown answer stands on the board; its empty frame below stays away.
            SetPaneVisible("sel_view",
                           shown && !(m_play && m_play->Phase() == PlayPhase::AnswerShown));
            SetPaneVisible("txt_select", shown);
            break;
        case Pane::ClearedStamp:
            SetPaneVisible("history", shown);
            break;
        case Pane::AnswerButton:
            // Follows from play's state at every refresh.
            break;
    }
}

void CProblemWnd::ShowResultPicture(bool shown, bool correct) {
    // The teacher explains every verdict; a new attempt or problem closes what was said.
    if (shown) {
        if (const explanations::ProblemExplanation* explanation = Explanation())
            Say(teacher::Says(*explanation, AttemptJudged(correct)));
    } else {
        CloseBalloon();
    }
    if (shown && m_screen.Layout().IsExistPane("result") != 0)
        m_screen.PicturePane("result").SetTexture(&m_screen.Group(),
                                                  correct ? "F1_correct.tga" : "F1_incorrect.tga");
    SetPaneVisible("result", shown);
}

void CProblemWnd::SetText(Text which, const std::string& text) {
    switch (which) {
        case Text::Caption:
            SetPaneText("txt_caption", text);
            break;
        case Text::Question:
            SetPaneText("txt_text", questionwrap::Wrap(text));
            break;
        case Text::Counter:
            SetPaneText("txt_problem", text);
            break;
        case Text::Selection: {
            const bool answerShown = m_play && m_play->Phase() == PlayPhase::AnswerShown;
            PlaceSelectionText(answerShown);
            SetPaneText("txt_select", text);
            if (m_play && m_play->DecideAnimating()) {
                // Each redraw of a decision being shown flips the chosen value on or off.
                m_selectionBlinkOn = !m_selectionBlinkOn;
                SetPaneVisible("txt_select", m_selectionBlinkOn);
            } else {
                SetPaneVisible("txt_select", m_selectionShown || answerShown);
            }
            break;
        }
    }
}

void CProblemWnd::PlaceSelectionText(bool answerShown) {
    CText* text = TextObject("txt_select");
    if (text == nullptr) return;
    CTSPane pane = m_screen.Pane("txt_select");
    int width = kAnswerChoiceWidth, height = kAnswerChoiceHeight;
    if (answerShown && m_play && m_play->Type() == ProblemType::Choice)
        width = height = kAnswerTextSize;
    if (!answerShown) {
        auto* box = dynamic_cast<LYRALib::lytmgr::TextBox*>(pane.GetLytPane());
        if (box == nullptr) return;
        width = int(box->GetFontSize().width);
        height = int(box->GetFontSize().height);
    }
    text->Init(&m_screen.Group(), CFontMgr::kArchivePath, screen_assets::kRoundedFont, width,
               height);
    pane.MoveCenterTo(answerShown ? kAnswerChoiceAt : m_selectionHome);
}

void CProblemWnd::SetBoardSize(int size) {
    m_cursor.Clear();
    m_boardTexture = screen_assets::BoardTexture(size);
    if (m_screen.Layout().IsExistPane("board") == 0) return;
    m_screen.PicturePane("board").SetTexture(m_screen.GroupFor(screen_assets::Source::Common),
                                             m_boardTexture.c_str());
}

void CProblemWnd::Refresh() {
    if (!m_play) return;
    m_controls = problemcontrols::ControlsFor(*m_play);
    ShowFace(m_controls.face);
    SetButtonUsable(kPrev, "gray_prev", m_controls.prev);
    SetButtonUsable(kNext, "gray_next", m_controls.next);
    SetButtonUsable(kAnswer, "gray_answer", m_controls.answer);
    SetButtonUsable(kAgain, "gray_again", m_play->HasProblem());
    SetButtonUsable(kDecide, nullptr, m_controls.decide);
    SetButtonUsable(kScrollUp, "gray_scroll_up", m_controls.scrollUp);
    SetButtonUsable(kScrollDown, "gray_scroll_down", m_controls.scrollDown);
    // Without explanations the hint button is not there at all, so the screen is as it was.
    const explanations::ProblemExplanation* explanation = Explanation();
    const bool hintUsable = explanation != nullptr && !explanation->hint.empty();
    SetButtonUsable(kHint, explanation != nullptr ? "gray_hint" : nullptr, hintUsable);
    if (explanation == nullptr) SetPaneVisible("gray_hint", false);
    const std::vector<BoardSprite> entries = m_play->BoardSprites();
    m_sprites = problemsprites::BoardSprites(entries, m_play->BoardSize());
    if (!IsChoiceType(m_play->Type())) ShowPane(Pane::SelectionPane, false);
    SetPaneVisible("history", m_play->IsSolved());
    SetPaneVisible("result", m_play->VerdictShown());
}

void CProblemWnd::SetButtonUsable(uint16_t id, const char* greyPane, bool usable) {
    CPaneButton* button = m_screen.Button(id);
    if (button != nullptr) {
        button->SetVisible(usable);
        button->SetEnabled(usable);
    }
    if (greyPane != nullptr) SetPaneVisible(greyPane, !usable);
}

// --- The teacher's balloon ---

const explanations::ProblemExplanation* CProblemWnd::Explanation() const {
    if (!m_play || !m_play->HasProblem()) return nullptr;
    const int index = m_play->ProblemIndex();
    if (index < 0 || size_t(index) >= m_explanations.size()) return nullptr;
    return &m_explanations[size_t(index)];
}

teacher::Attempt CProblemWnd::AttemptJudged(bool correct) const {
    teacher::Attempt attempt;
    if (!m_play || m_play->Record() == nullptr) return attempt;
    const ProblemPlay& play = *m_play;
    attempt.type = int(play.Type());
    attempt.question = play.Record()->question;
    attempt.correct = correct;
    attempt.rightLine = play.MatchedBranch();
    auto add = [&attempt](const StoneEntry& e) { attempt.moves.push_back({e.x, e.y}); };
    if (attempt.type == 3) {
        // The picked letter is the last mark of the entry list.
        for (int i = play.EntryCount() - 1; i >= 0; --i) {
            if (play.Entries()[i].kind == 7) {
                add(play.Entries()[i]);
                break;
            }
        }
    } else {
        for (const StoneEntry& e : play.Moves()) add(e);
    }
    if (attempt.type == 8) {
        const int slot = play.Selection();
        if (slot >= 0 && slot < 3)
            attempt.chosenText = problemfile::ChoiceOrder(play.ProblemIndex())[slot];
    }
    return attempt;
}

void CProblemWnd::Say(const std::string& sjis) {
    if (sjis.empty()) return;
    std::string line = SjisToUtf8(sjis);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    platform::GetPlatform().Trace(platform::TraceKind::Say, line);
    m_balloonText = lesson::WrapBody(sjis);
    m_balloonTyped = 0;
    m_typingCount = 0;
    m_balloonOpen = true;
    SetPaneVisible("balloon", true);
    SetPaneVisible("txt_balloon", true);
    ShowBalloonText();
}

void CProblemWnd::CloseBalloon() {
    m_balloonOpen = false;
    m_balloonText.clear();
    m_balloonTyped = 0;
    SetMouth(0);
    SetPaneVisible("balloon", false);
    SetPaneVisible("txt_balloon", false);
    if (CText* text = TextObject("txt_balloon")) text->SetString("");
}

// One tick of typing, at the lesson's pace and with its mouth.
void CProblemWnd::TypeBalloon() {
    const int count = m_typingCount;
    m_typingCount = (m_typingCount + 1) % lesson::kTypingPeriodTicks;
    if (count != 0) return;
    if (m_balloonTyped < int(m_balloonText.size())) {
        m_balloonTyped += 2;
        ShowBalloonText();
        SetMouth(lesson::MouthPhaseAt(m_balloonTyped));
    } else {
        SetMouth(0);
    }
}

void CProblemWnd::ShowBalloonText() {
    CText* text = TextObject("txt_balloon");
    if (text == nullptr) return;
    const explain::TypedText typed = explain::TypedBodyText(m_balloonText, m_balloonTyped / 2);
    // A reveal count of 0 would show everything: nothing typed is an empty box.
    if (typed.glyphs == 0) {
        text->SetString("");
        return;
    }
    text->SetRevealCount(typed.glyphs);
    text->SetString(typed.text.c_str());
}

void CProblemWnd::SetMouth(int phase) {
    if (phase == m_mouthPhase) return;
    m_mouthPhase = phase;
    if (phase == 0) {
        m_talking.Stop();
        SetPaneVisible("chara_2", false);
    } else {
        PlaceTalkingMouth();
        m_talking.Start();
    }
}

void CProblemWnd::PlaceTalkingMouth() {
    if (m_screen.Layout().IsExistPane("chara_2") == 0 || m_face.Current() < 0) return;
    const problemcontrols::CharacterPicture& mouth =
        problemcontrols::LookOf(m_face.Current()).talking;
    CTSPicturePane pane = m_screen.PicturePane("chara_2");
    pane.SetTexture(m_screen.GroupFor(screen_assets::Source::Common), mouth.texture);
    pane.SetSize(mouth.width, mouth.height);
    pane.MoveCenterTo(TSPoint{mouth.x, mouth.y});
}

// --- Drawing ---

void CProblemWnd::OnDraw() {
    if (!m_screen.Layout().IsLoaded()) return;
    for (const char* pane : kPanesUnderSprites) DrawPane(pane);
    DrawSprites();
    for (const char* pane : kPanesOverSprites) DrawPane(pane);
    for (const GreyButton& b : kButtonOrder) {
        if (b.greyPane != nullptr) DrawPane(b.greyPane);
        DrawButton(b.id);
    }
}

void CProblemWnd::DrawPane(const char* pane) {
    if (m_screen.Layout().IsExistPane(pane) == 0) return;
    m_screen.Pane(pane).DrawAnimated();
}

void CProblemWnd::DrawButton(uint16_t id) {
    if (CPaneButton* button = m_screen.Button(id)) button->UpdateAppearance();
}

void CProblemWnd::DrawSprites() {
    CTIGroup* common = m_screen.GroupFor(screen_assets::Source::Common);
    if (common == nullptr) return;
    for (const problemsprites::Sprite& sprite : m_sprites) {
        std::unique_ptr<CxPicture>& picture = m_spritePictures[sprite.texture];
        if (!picture) {
            picture = std::make_unique<CxPicture>();
            picture->Load(common, sprite.texture.c_str());
        }
        if (!picture->IsLoaded()) continue;
        picture->SetBox(sprite.x, sprite.y, -1, -1, 0x22);
        picture->SetAlpha(m_alpha);
        picture->Draw();
    }
}

// --- Panes ---

CText* CProblemWnd::TextObject(const char* pane) {
    if (!m_screen.Layout().IsLoaded() || m_screen.Layout().IsExistPane(pane) == 0) return nullptr;
    return dynamic_cast<CText*>(m_screen.Layout().GetPaneObject(pane));
}

void CProblemWnd::SetPaneText(const char* pane, const std::string& text) {
    if (CText* object = TextObject(pane)) object->SetString(text.c_str());
}

std::string CProblemWnd::PaneText(const char* pane) {
    CText* object = TextObject(pane);
    return object != nullptr ? object->String() : std::string();
}

void CProblemWnd::SetPaneVisible(const char* pane, bool shown) {
    if (!m_screen.Layout().IsLoaded() || m_screen.Layout().IsExistPane(pane) == 0) return;
    m_screen.Pane(pane).SetVisible(shown);
}

bool CProblemWnd::PaneShown(const char* pane) {
    if (!m_screen.Layout().IsLoaded() || m_screen.Layout().IsExistPane(pane) == 0) return false;
    return m_screen.Pane(pane).IsVisible();
}
