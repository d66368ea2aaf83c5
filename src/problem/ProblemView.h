#pragma once

#include <cstdint>
#include <string>

// What problem play needs from the screen that shows it. The screen draws; play only tells it
// what to switch on and off, so play can run without graphics.
class ProblemView {
public:
    // Panes that play shows and hides.
    enum class Pane {
        QuestionWindow,  // the text window with the question
        SelectionPane,   // the choice display of types 2, 7 and 8
        ClearedStamp,    // the stamp of a solved problem
        AnswerButton,    // the show-answer button (enabled or grayed)
    };
    // Texts that play sets, all Shift_JIS.
    enum class Text { Caption, Question, Counter, Selection };

    virtual ~ProblemView() = default;
    // Plays a sound effect file such as "DATA/SOUND/SE/Set.wav".
    virtual void PlaySe(const std::string& path) = 0;
    // Arms screen timer `id` to fire every `ms` milliseconds until stopped.
    virtual void StartTimer(int id, int ms) = 0;
    virtual void StopTimer(int id) = 0;
    // Shows a character face: 0 normal, 1 aside, 2 correct, 3 incorrect.
    virtual void ShowFace(int face) = 0;
    virtual void ShowPane(Pane pane, bool shown) = 0;
    // Shows the verdict picture ("F1_correct.tga" or "F1_incorrect.tga") or hides it.
    virtual void ShowResultPicture(bool shown, bool correct) = 0;
    virtual void SetText(Text which, const std::string& text) = 0;
    // The board size changed (the screen changes its board texture and geometry).
    virtual void SetBoardSize(int size) = 0;
    // Holds the screen's thread still for `ms` milliseconds (the beat before a board verdict,
    // between replayed moves); the screen's clock moves on meanwhile.
    virtual void Pause(uint32_t ms) = 0;
    // Ends the screen with a fade-out, going to `scene`.
    virtual void LeaveScreen(int scene) = 0;
    // Called after every operation; the screen redraws buttons, faces and sprites from the
    // play's state.
    virtual void Refresh() = 0;
};
