#include "screens/OptionMenu.h"

#include <mutex>

#include "progress/ProgressState.h"

namespace {
constexpr uint16_t kIdBgm = 1;
constexpr uint16_t kIdSe = 2;
constexpr uint16_t kIdNo = 3;
constexpr uint16_t kIdOk = 4;
constexpr int kCancelled = 0;
constexpr int kAccepted = 1;
}  // namespace

COptionMenu::COptionMenu()
    : CFadeDialog(screen_assets::Options(), kCancelled),
      m_workBgm(TheSettings().m_bgmOn != 0 ? 1 : 0),
      m_workSe(TheSettings().m_seOn != 0 ? 1 : 0) {}

void COptionMenu::OnInit() {
    CFadeDialog::OnInit();
    if (!IsLoaded()) return;
    AddDrawnPane("texture_bgm");
    AddDrawnPane("texture_se");
    if (m_workBgm == 0) ShowSwitch(kIdBgm, 0);
    if (m_workSe == 0) ShowSwitch(kIdSe, 0);
}

void COptionMenu::ShowSwitch(uint16_t id, int on) {
    // The table binds the on looks; the off looks are its switched textures.
    const screen_assets::ScreenNames& names = screen_assets::Options();
    for (const screen_assets::ButtonName& row : names.buttons) {
        if (row.id != id) continue;
        const bool offKnown = names.switched.size() >= 2;
        BindTexture(row.normalPane, on != 0 || !offKnown ? TextureOfPane(row.normalPane)
                                                         : names.switched[0].texture);
        BindTexture(row.pressedPane, on != 0 || !offKnown ? TextureOfPane(row.pressedPane)
                                                          : names.switched[1].texture);
    }
}

void COptionMenu::OnButton(uint16_t id) {
    switch (id) {
        case kIdBgm:
            // Sounds follow the effect switch the dialog opened with, not the working one.
            PlaySe(kSeSet);
            m_workBgm = m_workBgm != 0 ? 0 : 1;
            ShowSwitch(kIdBgm, m_workBgm);
            break;
        case kIdSe:
            PlaySe(kSeSet);
            m_workSe = m_workSe != 0 ? 0 : 1;
            ShowSwitch(kIdSe, m_workSe);
            break;
        case kIdNo:
            Finish(kCancelled, kSeCancel);
            break;
        case kIdOk: {
            {
                // A save may be building its image on the other thread.
                std::lock_guard lock(SaveDataMutex());
                TheSettings().m_bgmOn = m_workBgm;
                TheSettings().m_seOn = m_workSe;
            }
            Finish(kAccepted, kSeSet);
            break;
        }
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
