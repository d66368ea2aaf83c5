#include "screens/MsgBox.h"

#include "Lib/ZIRur/Text/FontMgr.h"

namespace {
constexpr uint16_t kIdNo = 1;
constexpr uint16_t kIdOk = 2;
constexpr int kOk = 0;
constexpr int kNo = 1;
}  // namespace

CMsgBox::CMsgBox(const char* message)
    : CFadeDialog(screen_assets::MsgBox(), kNo), m_message(message != nullptr ? message : "") {}

void CMsgBox::OnInit() {
    CFadeDialog::OnInit();
    if (!IsLoaded()) return;
    // The glyph size itself comes from the text box; the row only has to name a font.
    for (const screen_assets::TextName& row : screen_assets::MsgBox().texts) {
        Layout().LoadOneResource(TSTextResource{row.pane, CFontMgr::kArchivePath, row.fontFile,
                                                row.size, m_message.c_str(), &Group()});
        AddDrawnPane(row.pane);
    }
}

void CMsgBox::OnButton(uint16_t id) {
    if (id == kIdOk) Finish(kOk, kSeSet);
    if (id == kIdNo) Finish(kNo, kSeCancel);
}

int RunMessageBox(const char* question, CTSEventWnd* parent) {
    parent = DialogParent(parent);
    if (parent == nullptr) return kNo;
    CMsgBox box(question);
    return int(box.DoModal(parent));
}
