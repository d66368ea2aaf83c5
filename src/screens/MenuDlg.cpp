#include "screens/MenuDlg.h"

namespace {
constexpr DialogButton kButtons[] = {
    {1, "btn1_1", "btn1_2"},
    {2, "btn2_1", "btn2_2"},
    {3, "btn3_1", "btn3_2"},
};
constexpr DialogPicture kLessonPictures[] = {
    {"background", "M1_nullBlack.tga"}, {"window", "M1_MenuWindow.tga"},
    {"btn1_1", "M1_btn1_1.tga"},        {"btn1_2", "M1_btn1_2.tga"},
    {"btn2_1", "M1_btn2_1.tga"},        {"btn2_2", "M1_btn2_2.tga"},
    {"btn3_1", "M1_btn3_1.tga"},        {"btn3_2", "M1_btn3_2.tga"},
};
// Variant 1: the first button shows the problem screen's choice.
constexpr DialogPicture kProblemPictures[] = {
    {"background", "M1_nullBlack.tga"}, {"window", "M1_MenuWindow.tga"},
    {"btn1_1", "M1_btn4_1.tga"},        {"btn1_2", "M1_btn4_2.tga"},
    {"btn2_1", "M1_btn2_1.tga"},        {"btn2_2", "M1_btn2_2.tga"},
    {"btn3_1", "M1_btn3_1.tga"},        {"btn3_2", "M1_btn3_2.tga"},
};
constexpr DialogNames kLessonNames{"DATA/IMG/M_1.T2G", "M_1", kLessonPictures, kButtons};
constexpr DialogNames kProblemNames{"DATA/IMG/M_1.T2G", "M_1", kProblemPictures, kButtons};
constexpr int kClosed = 2;
}  // namespace

CMenuDlg::CMenuDlg(int variant)
    : CFadeDialog(variant == 1 ? kProblemNames : kLessonNames, kClosed), m_variant(variant) {}

void CMenuDlg::OnButton(uint16_t id) {
    switch (id) {
        case 1:
            Finish(0, kSeSet);
            break;
        case 2:
            // Silent: the question that follows makes the sound.
            Finish(1, nullptr);
            break;
        case 3:
            Finish(2, kSeCancel);
            break;
        default:
            break;
    }
}

int RunMenuDialog(int variant, CTSEventWnd* parent) {
    parent = DialogParent(parent);
    if (parent == nullptr) return kClosed;
    CMenuDlg dialog(variant);
    return int(dialog.DoModal(parent));
}
