#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Lib/ZIRur/Graphics/Picture.h"
#include "Lib/ZIRur/Layout/ts_pane.h"
#include "problem/BoardCursor.h"
#include "problem/ProblemBoard.h"
#include "problem/ProblemControls.h"
#include "problem/ProblemExplanations.h"
#include "problem/ProblemPlay.h"
#include "problem/ProblemSprites.h"
#include "problem/ProblemView.h"
#include "problem/TeacherComment.h"
#include "screens/ExplainMotion.h"
#include "screens/FadeScreen.h"

// The problem screen: the board with its stones and marks, the question window, the
// character, the counter and section title, and the buttons of problem play. Everything the
// learner does goes to ProblemPlay; play tells the screen what to show through ProblemView.
class CProblemWnd : public CFadeScreen, public ProblemView {
public:
    static constexpr uint16_t kMenu = 28;
    static constexpr uint16_t kPrev = 29;
    static constexpr uint16_t kNext = 30;
    static constexpr uint16_t kAnswer = 31;
    static constexpr uint16_t kDecide = 32;
    static constexpr uint16_t kAgain = 33;
    static constexpr uint16_t kScrollUp = 34;
    static constexpr uint16_t kScrollDown = 35;
    static constexpr uint16_t kHint = 36;

    CProblemWnd();
    ~CProblemWnd() override;

    void OnInit() override;
    void OnStart() override;
    void OnDraw() override;
    void OnTimer(int index) override;
    void OnButton(uint16_t id) override;
    void OnButtonHold(uint16_t id) override;
    void OnWheel(TSPoint point, int16_t delta) override;
    void OnPointerDown(TSPoint point, int device) override;
    void OnPointerMove(TSPoint point, int device) override;
    void OnPointerUp(TSPoint point, int device) override;
    void OnSecondaryDown(TSPoint point, int device) override;

    // --- What play asks of the screen ---
    using CFadeScreen::PlaySe;
    void PlaySe(const std::string& path) override;
    using CTSEventWnd::StartTimer;
    void StartTimer(int id, int ms) override;
    void StopTimer(int id) override;
    void ShowFace(int face) override;
    void ShowPane(Pane pane, bool shown) override;
    void ShowResultPicture(bool shown, bool correct) override;
    void SetText(Text which, const std::string& text) override;
    void SetBoardSize(int size) override;
    void Pause(uint32_t ms) override;
    void LeaveScreen(int scene) override;
    void Refresh() override;

    // --- State for tests ---
    // Null before the screen has started.
    ProblemPlay* Play() { return m_play.get(); }
    const std::vector<problemsprites::Sprite>& Sprites() const { return m_sprites; }
    const problemcontrols::Controls& ControlsShown() const { return m_controls; }
    // The face on show (-1 before the first).
    int FaceShown() const { return m_face.Current(); }
    // How often the character's picture was switched.
    int FaceChanges() const { return m_faceChanges; }
    const BoardCursor& Cursor() const { return m_cursor; }
    const std::string& BoardTexture() const { return m_boardTexture; }
    // The teacher's balloon: open, what it says in full (Shift_JIS) and how much is typed.
    bool BalloonOpen() const { return m_balloonOpen; }
    const std::string& BalloonText() const { return m_balloonText; }
    int BalloonTypedBytes() const { return m_balloonTyped; }
    bool Talking() const { return m_talking.Running(); }

private:
    // Runs a play operation under the save-data lock (play records progress).
    template <typename F>
    void WithPlay(F&& operation);
    void OnTick() override;
    void ApplyAlpha(uint8_t alpha) override;
    void SetButtonUsable(uint16_t id, const char* greyPane, bool usable);
    void PlaceSelectionText(bool answerShown);
    void DrawButton(uint16_t id);
    void DrawSprites();
    void ResumeAfterMenu();
    // What the teacher says about the current problem; null without the side file.
    const explanations::ProblemExplanation* Explanation() const;
    teacher::Attempt AttemptJudged(bool correct) const;
    // Opens the balloon and starts typing `sjis` into it; nothing happens for an empty text.
    void Say(const std::string& sjis);
    void CloseBalloon();
    void TypeBalloon();
    void SetMouth(int phase);
    void PlaceTalkingMouth();
    void ShowBalloonText();

    // The loaded section and the cells moves are resolved on; made when the screen starts.
    std::unique_ptr<ProblemBoard> m_board;
    std::unique_ptr<ProblemPlay> m_play;
    std::vector<problemsprites::Sprite> m_sprites;
    // One loaded picture per sprite texture, drawn wherever a sprite asks for it.
    std::map<std::string, std::unique_ptr<CxPicture>> m_spritePictures;
    problemcontrols::Controls m_controls;
    problemcontrols::FaceSwitch m_face;
    int m_faceChanges = 0;
    BoardCursor m_cursor;
    std::string m_boardTexture;
    // Where the selection text sits normally (its pane's centre in the layout).
    TSPoint m_selectionHome{0, 0};
    bool m_selectionShown = false;
    // While a decision is being shown the chosen value blinks.
    bool m_selectionBlinkOn = true;
    // The last press began off the buttons, so its release is a click on the board.
    bool m_pressOnBoard = false;
    // The section's explanations, one per problem; empty without a readable side file, and
    // then the screen shows neither the balloon nor the hint button.
    std::vector<explanations::ProblemExplanation> m_explanations;
    bool m_balloonOpen = false;
    // Wrapped as a lesson body, and the bytes of it typed so far.
    std::string m_balloonText;
    int m_balloonTyped = 0;
    int m_typingCount = 0;
    int m_mouthPhase = 0;
    explain::Talking m_talking;
};
