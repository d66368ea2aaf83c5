#include "screens/MsgBox.h"

#include "Lib/ZIRur/Text/FontMgr.h"

namespace {
constexpr DialogPicture kPictures[] = {
    {"background", "MSG_nullBlack.tga"}, {"window", "MSG_window.tga"}, {"btn_no_1", "btn_no_1.tga"},
    {"btn_no_2", "btn_no_2.tga"},        {"btn_ok_1", "btn_ok_1.tga"}, {"btn_ok_2", "btn_ok_2.tga"},
};
constexpr uint16_t kIdNo = 1;
constexpr uint16_t kIdOk = 2;
constexpr DialogButton kButtons[] = {
    {kIdNo, "btn_no_1", "btn_no_2"},
    {kIdOk, "btn_ok_1", "btn_ok_2"},
};
constexpr DialogNames kNames{"DATA/IMG/MSG.T2G", "MSG", kPictures, kButtons};
constexpr const char* kMessagePane = "txt_message";
constexpr const char* kMessageFont = "UIRounded-DemiBold.otf";
// Any positive value: the glyph size itself comes from the text box.
constexpr int kMessageSize = 36;
constexpr int kOk = 0;
constexpr int kNo = 1;
}  // namespace

CMsgBox::CMsgBox(const char* message)
    : CFadeDialog(kNames, kNo), m_message(message != nullptr ? message : "") {}

void CMsgBox::OnInit() {
    CFadeDialog::OnInit();
    if (!IsLoaded()) return;
    Layout().LoadOneResource(TSTextResource{kMessagePane, CFontMgr::kArchivePath, kMessageFont,
                                            kMessageSize, m_message.c_str(), &Group()});
    AddDrawnPane(kMessagePane);
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
