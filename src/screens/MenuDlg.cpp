#include "screens/MenuDlg.h"

namespace {
constexpr int kClosed = 2;
}  // namespace

CMenuDlg::CMenuDlg(int variant)
    : CFadeDialog(screen_assets::MenuDialog(), kClosed), m_variant(variant) {}

void CMenuDlg::OnInit() {
    CFadeDialog::OnInit();
    if (!IsLoaded() || m_variant != 1) return;
    // Variant 1: the first button shows the problem screen's choice.
    const screen_assets::ScreenNames& names = screen_assets::MenuDialog();
    if (names.buttons.empty() || names.switched.size() < 2) return;
    BindTexture(names.buttons[0].normalPane, names.switched[0].texture);
    BindTexture(names.buttons[0].pressedPane, names.switched[1].texture);
}

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
