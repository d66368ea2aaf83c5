#pragma once

class ProblemPlay;

// What the problem screen's buttons and character show for a state of play.
namespace problemcontrols {

// Which buttons can be used (an unusable one shows its grey look or nothing), and the face.
struct Controls {
    bool prev = false;
    bool next = false;
    bool answer = false;
    bool decide = false;
    bool scrollUp = false;
    bool scrollDown = false;
    // 0 normal, 1 aside, 2 correct, 3 incorrect.
    int face = 0;
    friend bool operator==(const Controls&, const Controls&) = default;
};

// The rules applied after every operation of play:
// - prev is unusable on the first problem and while a decision is being shown, next likewise
//   on the last problem;
// - the selection buttons work only for the choice types (2, 7, 8) before a judgement, up
//   not at the highest choice and down not at the first;
// - decide only while answering a choice type with the question window closed;
// - answer only once an incorrect verdict is on show.
Controls ControlsFor(const ProblemPlay& play);

// One picture of the character: texture, pane size and pane centre.
struct CharacterPicture {
    const char* texture;
    int width, height;
    int x, y;
};
// One face of the character, and the picture of its mouth while it talks.
struct FaceLook {
    const char* texture;
    int width, height;
    int x, y;
    CharacterPicture talking;
};
// The look of face 0..3 (anything else as 0).
const FaceLook& LookOf(int face);

// The face on show; a change is reported only when the face differs, so the pane is not
// reloaded for every refresh.
class FaceSwitch {
public:
    // True (and remembered) when `face` differs from the face on show.
    bool Change(int face);
    // The face on show; -1 before the first change.
    int Current() const { return m_face; }

private:
    int m_face = -1;
};

}  // namespace problemcontrols
