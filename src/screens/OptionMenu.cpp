#include "screens/OptionMenu.h"

#include "app/ProgressState.h"

namespace {
constexpr uint16_t kIdBgm = 1;
constexpr uint16_t kIdSe = 2;
constexpr uint16_t kIdNo = 3;
constexpr uint16_t kIdOk = 4;
constexpr const char* kBgmNormal = "btn_bgm_on1";
constexpr const char* kBgmPressed = "btn_bgm_on2";
constexpr const char* kSeNormal = "btn_se_on1";
constexpr const char* kSePressed = "btn_se_on2";
constexpr const char* kOnLooks[2] = {"OP1_btn_on_1.tga", "OP1_btn_on_2.tga"};
constexpr const char* kOffLooks[2] = {"OP1_btn_off_1.tga", "OP1_btn_off_2.tga"};

// The switches start with their on looks; OnInit turns the ones that are off.
constexpr DialogPicture kPictures[] = {
    {"background", "OP1_nullBlack.tga"},
    {"window", "OP1_MenuWindow.tga"},
    {"texture_bgm", "OP1_bgm.tga"},
    {"texture_se", "OP1_se.tga"},
    {"btn_ok_1", "OP1_btn_ok_1.tga"},
    {"btn_ok_2", "OP1_btn_ok_2.tga"},
    {"btn_no_1", "OP1_btn_no_1.tga"},
    {"btn_no_2", "OP1_btn_no_2.tga"},
    {kBgmNormal, kOnLooks[0]},
    {kBgmPressed, kOnLooks[1]},
    {kSeNormal, kOnLooks[0]},
    {kSePressed, kOnLooks[1]},
};
constexpr DialogButton kButtons[] = {
    {kIdBgm, kBgmNormal, kBgmPressed},
    {kIdSe, kSeNormal, kSePressed},
    {kIdNo, "btn_no_1", "btn_no_2"},
    {kIdOk, "btn_ok_1", "btn_ok_2"},
};
constexpr DialogNames kNames{"DATA/IMG/OP_1.T2G", "OP_1", kPictures, kButtons};
constexpr int kCancelled = 0;
constexpr int kAccepted = 1;
}  // namespace

COptionMenu::COptionMenu()
    : CFadeDialog(kNames, kCancelled),
      m_workBgm(TheSettings().m_bgmOn != 0 ? 1 : 0),
      m_workSe(TheSettings().m_seOn != 0 ? 1 : 0) {}

void COptionMenu::OnInit() {
    CFadeDialog::OnInit();
    if (!IsLoaded()) return;
    AddDrawnPane("texture_bgm");
    AddDrawnPane("texture_se");
    if (m_workBgm == 0) ShowSwitch(kBgmNormal, kBgmPressed, 0);
    if (m_workSe == 0) ShowSwitch(kSeNormal, kSePressed, 0);
}

void COptionMenu::ShowSwitch(const char* normalPane, const char* pressedPane, int on) {
    const char* const* looks = on != 0 ? kOnLooks : kOffLooks;
    BindTexture(normalPane, looks[0]);
    BindTexture(pressedPane, looks[1]);
}

void COptionMenu::OnButton(uint16_t id) {
    switch (id) {
        case kIdBgm:
            // Sounds follow the effect switch the dialog opened with, not the working one.
            PlaySe(kSeSet);
            m_workBgm = m_workBgm != 0 ? 0 : 1;
            ShowSwitch(kBgmNormal, kBgmPressed, m_workBgm);
            break;
        case kIdSe:
            PlaySe(kSeSet);
            m_workSe = m_workSe != 0 ? 0 : 1;
            ShowSwitch(kSeNormal, kSePressed, m_workSe);
            break;
        case kIdNo:
            Finish(kCancelled, kSeCancel);
            break;
        case kIdOk:
            TheSettings().m_bgmOn = m_workBgm;
            TheSettings().m_seOn = m_workSe;
            Finish(kAccepted, kSeSet);
            break;
        default:
            break;
    }
}

int RunOptionsDialog(CTSEventWnd* parent) {
    parent = DialogParent(parent);
    if (parent == nullptr) return kCancelled;
    COptionMenu dialog;
    return int(dialog.DoModal(parent));
}
