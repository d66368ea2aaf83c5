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
#include "screens/Scene.h"

namespace {
// The in-screen menu of the problem screen, and its answers.
constexpr int kMenuVariant = 1;
constexpr int kMenuToList = 0;
constexpr int kMenuToMainMenu = 1;
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

CProblemWnd::CProblemWnd() : CFadeScreen(screen_assets::Problem(), ScreenFade::Opening::AtOnce) {}

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

void CProblemWnd::OnInit() {
    CFadeScreen::OnInit();
    if (!m_screen.IsLoaded()) return;
    // The window draws the buttons itself, between the grey looks, in a fixed order.
    for (const GreyButton& b : kButtonOrder)
        if (CPaneButton* button = m_screen.Button(b.id)) button->m_drawFlag = 0;
    if (m_screen.Has("txt_select")) m_selectionHome = m_screen.Pane("txt_select").GetCenter();
    for (const char* pane :
         {"result", "history", "sel_view", "txt_select", "chara_2", "balloon", "txt_balloon"})
        m_screen.SetVisible(pane, false);
}

void CProblemWnd::OnStart() {
    CFadeScreen::OnStart();
    PlayBgm(sound_files::kBgmGame);
    const CurrentSection& at = Section();
    if (!m_board) {
        m_board = std::make_unique<ProblemBoard>();
        std::lock_guard lock(SaveDataMutex());
        LoadProblemSet(*m_board, at.chapter, at.section);
        m_explanations =
            explanations::Load(at.course, at.chapter + 1, at.section + 1, problemfile::kDefaultDir);
    }
    m_screen.SetText("txt_title", ChapterTitleTable::Title(at.course, at.chapter, at.section));
    m_play = std::make_unique<ProblemPlay>(*m_board, TheProgress(), *this);
    WithPlay([](ProblemPlay& play) { play.Start(); });
}

// --- Clock and fade ---

void CProblemWnd::OnTimer(int index) {
    if (index == kTickTimer) {
        CFadeScreen::OnTimer(index);
    } else if (index == ProblemPlay::kVerdictTimer) {
        WithPlay([](ProblemPlay& play) { play.VerdictTimer(); });
    } else if (index == ProblemPlay::kReplyTimer) {
        WithPlay([](ProblemPlay& play) { play.ReplyTimer(); });
    }
}

void CProblemWnd::OnTick() {
    WithPlay([](ProblemPlay& play) { play.Tick(); });
    if (m_talking.Running()) {
        const explain::Mouth mouth = m_talking.Advance();
        if (mouth != explain::Mouth::Unchanged)
            m_screen.SetVisible("chara_2", mouth == explain::Mouth::Open);
    }
    if (m_balloonOpen) TypeBalloon();
}

void CProblemWnd::Pause(uint32_t ms) {
    if (platform::HasPlatform()) platform::GetPlatform().Sleep(ms);
}

void CProblemWnd::LeaveScreen(int scene) {
    if (Leave(scene)) CloseBalloon();
}

void CProblemWnd::ApplyAlpha(uint8_t alpha) {
    for (const char* pane : kPanesUnderSprites) m_screen.SetPaneAlpha(pane, alpha);
    for (const char* pane : kPanesOverSprites) m_screen.SetPaneAlpha(pane, alpha);
    for (const GreyButton& b : kButtonOrder) {
        if (b.greyPane != nullptr) m_screen.SetPaneAlpha(b.greyPane, alpha);
        if (CPaneButton* button = m_screen.Button(b.id)) button->SetAlpha(alpha);
    }
}

// --- Input ---

void CProblemWnd::OnButton(uint16_t id) {
    m_pressOnBoard = false;
    switch (id) {
        case kMenu: {
            WithPlay([](ProblemPlay& play) { play.PauseSteppers(); });
            const int choice = RunMenuDialog(kMenuVariant, this);
            if (choice == kMenuToList) {
                LeaveScreen(kSceneProblemList);
            } else if (choice == kMenuToMainMenu && ConfirmBackToMenu()) {
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
    if (!m_play || delta == 0) return;
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
    CFadeScreen::OnPointerDown(point, device);
    m_pressOnBoard = true;
    if (!m_play) return;
    m_cursor.Begin(m_play->BoardSize(), point.x, point.y);
}

void CProblemWnd::OnPointerMove(TSPoint point, int device) {
    CFadeScreen::OnPointerMove(point, device);
    m_cursor.Move(point.x, point.y);
}

void CProblemWnd::OnPointerUp(TSPoint point, int) {
    m_cursor.End();
    // The release of a press that began on a button (hidden by its own action since) is not a
    // click on the board.
    const bool pressOnBoard = std::exchange(m_pressOnBoard, false);
    if (!pressOnBoard) return;
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
    const CPaneButton* again = m_screen.Button(kAgain);
    if (again == nullptr || again->m_visible == 0 || again->m_state != kBtnNormal) return;
    WithPlay([](ProblemPlay& play) { play.Again(); });
}

// --- What play shows ---

void CProblemWnd::PlaySe(const std::string& path) {
    CFadeScreen::PlaySe(path.c_str());
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
    if (!m_screen.Has("chara_1")) return;
    const problemcontrols::FaceLook& look = problemcontrols::LookOf(face);
    CTSPicturePane chara = m_screen.PicturePane("chara_1");
    chara.SetTexture(m_screen.GroupFor(screen_assets::Source::Common), look.texture);
    chara.SetSize(look.width, look.height);
    chara.MoveCenterTo(TSPoint{look.x, look.y});
}

void CProblemWnd::ShowPane(Pane pane, bool shown) {
    switch (pane) {
        case Pane::QuestionWindow:
            m_screen.SetVisible("text_window", shown);
            m_screen.SetVisible("txt_text", shown);
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
            m_screen.SetVisible("sel_view",
                                shown && !(m_play && m_play->Phase() == PlayPhase::AnswerShown));
            m_screen.SetVisible("txt_select", shown);
            break;
        case Pane::ClearedStamp:
            m_screen.SetVisible("history", shown);
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
    if (shown)
        m_screen.SetPicture("result", screen_assets::Source::Screen,
                            correct ? "F1_correct.tga" : "F1_incorrect.tga");
    m_screen.SetVisible("result", shown);
}

void CProblemWnd::SetText(Text which, const std::string& text) {
    switch (which) {
        case Text::Caption:
            m_screen.SetText("txt_caption", text);
            break;
        case Text::Question:
            m_screen.SetText("txt_text", questionwrap::Wrap(text));
            break;
        case Text::Counter:
            m_screen.SetText("txt_problem", text);
            break;
        case Text::Selection: {
            const bool answerShown = m_play && m_play->Phase() == PlayPhase::AnswerShown;
            PlaceSelectionText(answerShown);
            m_screen.SetText("txt_select", text);
            if (m_play && m_play->DecideAnimating()) {
                // Each redraw of a decision being shown flips the chosen value on or off.
                m_selectionBlinkOn = !m_selectionBlinkOn;
                m_screen.SetVisible("txt_select", m_selectionBlinkOn);
            } else {
                m_screen.SetVisible("txt_select", m_selectionShown || answerShown);
            }
            break;
        }
    }
}

void CProblemWnd::PlaceSelectionText(bool answerShown) {
    CText* text = m_screen.TextObject("txt_select");
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
    m_screen.SetPicture("board", screen_assets::Source::Common, m_boardTexture.c_str());
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
    if (explanation == nullptr) m_screen.SetVisible("gray_hint", false);
    const std::vector<BoardSprite> entries = m_play->BoardSprites();
    m_sprites = problemsprites::BoardSprites(entries, m_play->BoardSize());
    if (!IsChoiceType(m_play->Type())) ShowPane(Pane::SelectionPane, false);
    m_screen.SetVisible("history", m_play->IsSolved());
    m_screen.SetVisible("result", m_play->VerdictShown());
}

void CProblemWnd::SetButtonUsable(uint16_t id, const char* greyPane, bool usable) {
    m_screen.ShowButton(id, usable);
    if (greyPane != nullptr) m_screen.SetVisible(greyPane, !usable);
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
    m_screen.SetVisible("balloon", true);
    m_screen.SetVisible("txt_balloon", true);
    ShowBalloonText();
}

void CProblemWnd::CloseBalloon() {
    m_balloonOpen = false;
    m_balloonText.clear();
    m_balloonTyped = 0;
    SetMouth(0);
    m_screen.SetVisible("balloon", false);
    m_screen.SetVisible("txt_balloon", false);
    m_screen.SetText("txt_balloon", "");
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
    CText* text = m_screen.TextObject("txt_balloon");
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
        m_screen.SetVisible("chara_2", false);
    } else {
        PlaceTalkingMouth();
        m_talking.Start();
    }
}

void CProblemWnd::PlaceTalkingMouth() {
    if (!m_screen.Has("chara_2") || m_face.Current() < 0) return;
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
    for (const char* pane : kPanesUnderSprites) m_screen.DrawPane(pane);
    DrawSprites();
    for (const char* pane : kPanesOverSprites) m_screen.DrawPane(pane);
    for (const GreyButton& b : kButtonOrder) {
        if (b.greyPane != nullptr) m_screen.DrawPane(b.greyPane);
        DrawButton(b.id);
    }
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
        picture->SetAlpha(Fade().Alpha());
        picture->Draw();
    }
}
