#include "problem/ProblemControls.h"

#include "problem/ProblemPlay.h"

namespace problemcontrols {
namespace {

// The talking mouths lie right over each face's own mouth (the verdict faces' patches are
// opaque, so the laugh or the puzzled mouth under them does not show through).
constexpr FaceLook kFaces[] = {
    {"COMN_chara_normal_1.tga", 238, 468, 838, 534, {"COMN_chara_normal_2.tga", 32, 24, 831, 460}},
    {"COMN_chara_left_1.tga", 238, 468, 838, 534, {"COMN_chara_left_2.tga", 32, 24, 818, 461}},
    {"COMN_chara_correct.tga", 290, 469, 864, 533, {"COMN_chara_correct_2.tga", 44, 32, 831, 460}},
    {"COMN_chara_incorrect.tga",
     266,
     471,
     852,
     532,
     {"COMN_chara_incorrect_2.tga", 44, 32, 828, 460}},
};

// The highest selection of a choice type (○/× two, three texts, numbers 1..99).
int MaxSelection(ProblemType type) {
    return type == ProblemType::YesNo ? 1 : type == ProblemType::Choice ? 2 : 98;
}

}  // namespace

Controls ControlsFor(const ProblemPlay& play) {
    Controls c;
    c.face = play.Face();
    if (!play.HasProblem()) return c;
    const bool animating = play.DecideAnimating();
    c.prev = play.ProblemIndex() > 0 && !animating;
    c.next = play.ProblemIndex() < play.ProblemCount() - 1 && !animating;
    const bool judged = IsFinal(play.Result());
    if (IsChoiceType(play.Type()) && !judged && play.Phase() != PlayPhase::AnswerShown) {
        c.scrollUp = play.Selection() < MaxSelection(play.Type());
        c.scrollDown = play.Selection() > 0;
    }
    c.decide = IsChoiceType(play.Type()) && play.Phase() == PlayPhase::Answering &&
               !play.QuestionOpen() && !judged && !animating;
    c.answer = play.Phase() == PlayPhase::Judged && play.Result() == Verdict::Incorrect &&
               play.VerdictShown();
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
