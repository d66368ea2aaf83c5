#include "problem/ProblemControls.h"

#include "problem/ProblemPlay.h"

namespace problemcontrols {
namespace {

constexpr FaceLook kFaces[] = {
    {"COMN_chara_normal_1.tga", 238, 468, 838, 534},
    {"COMN_chara_left_1.tga", 238, 468, 838, 534},
    {"COMN_chara_correct.tga", 290, 469, 864, 533},
    {"COMN_chara_incorrect.tga", 266, 471, 852, 532},
};

bool IsChoiceType(int type) {
    return type == 2 || type == 7 || type == 8;
}

// The highest selection of a choice type (○/× two, three texts, numbers 1..99).
int MaxSelection(int type) {
    return type == 2 ? 1 : type == 8 ? 2 : 98;
}

}  // namespace

Controls ControlsFor(const ProblemPlay& play) {
    Controls c;
    c.face = play.Face();
    if (!play.HasProblem()) return c;
    const bool animating = play.DecideAnimating();
    c.prev = play.ProblemIndex() > 0 && !animating;
    c.next = play.ProblemIndex() < play.ProblemCount() - 1 && !animating;
    const bool judged = play.Result() == 1 || play.Result() == 2;
    if (IsChoiceType(play.Type()) && !judged && play.Phase() != 2) {
        c.scrollUp = play.Selection() < MaxSelection(play.Type());
        c.scrollDown = play.Selection() > 0;
    }
    c.decide = IsChoiceType(play.Type()) && play.Phase() == 0 && !play.QuestionOpen() && !judged &&
               !animating;
    c.answer = play.Phase() == 1 && play.Result() == 1 && play.VerdictShown();
    return c;
}

const FaceLook& LookOf(int face) {
    return kFaces[face >= 0 && face < 4 ? face : 0];
}

bool FaceSwitch::Change(int face) {
    if (face == m_face) return false;
    m_face = face;
    return true;
}

}  // namespace problemcontrols
